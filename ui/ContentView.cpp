#include "ui/ContentView.h"

#include "app/AppModel.h"
#include "ui/common/ViewColors.h"
#include "ui/files/FileWorkspace.h"
#include "ui/text/HeaderView.h"
#include "ui/text/TextWorkspace.h"

#include <QFrame>
#include <QShortcut>
#include <QVBoxLayout>

namespace velquor::ui {

ContentView::ContentView(app::AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), header_(new HeaderView(model, this)) {
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    setForeground(*divider, ViewColors::of(palette()).separator);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addWidget(divider);

    const std::array<Qt::Key, 2> keys{Qt::Key_1, Qt::Key_2};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | keys[i]), this);
        connect(shortcut, &QShortcut::activated, &model_,
                [this, i] { model_.setSelectedTab(app::allWorkspaceTabs[i]); });
    }
    connect(&model_, &app::AppModel::selectedTabChanged, this, &ContentView::showSelectedTab);
    showSelectedTab();
}

TextWorkspace* ContentView::textWorkspace() const { return qobject_cast<TextWorkspace*>(workspace_); }

void ContentView::showSelectedTab() {
    QWidget* next = makeWorkspace(model_.selectedTab());
    if (workspace_) {
        layout()->replaceWidget(workspace_, next);
        workspace_->hide();
        workspace_->deleteLater();
    } else {
        static_cast<QVBoxLayout*>(layout())->addWidget(next, 1);
    }
    workspace_ = next;
}

QWidget* ContentView::makeWorkspace(app::WorkspaceTab tab) {
    switch (tab) {
        case app::WorkspaceTab::text:
            return new TextWorkspace(model_, this);
        case app::WorkspaceTab::files:
            break;
    }
    return new FileWorkspace(model_, this);
}

}  // namespace velquor::ui
