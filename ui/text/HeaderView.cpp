#include "ui/text/HeaderView.h"

#include "app/AppModel.h"
#include "ui/common/Labels.h"
#include "ui/common/SegmentedPicker.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr int iconSize = 34;

QIcon applicationIcon() {
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? symbolIcon("text.page") : icon;
}

}  // namespace

HeaderView::HeaderView(app::AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      picker_(new SegmentedPicker(tr("Mode"),
                                  {{app::rawValue(app::WorkspaceTab::text), "text.alignleft"},
                                   {app::rawValue(app::WorkspaceTab::files), "photo"}},
                                  220, this)) {
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(iconSize));
    icon->setFixedSize(iconSize, iconSize);
    auto* title = styledLabel(tr("Velquor"), TextStyle::headline, this);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    title->setFont(titleFont);
    auto* subtitle =
        styledLabel(tr("Privacy hygiene and authorship support. It does not erase or falsify AI origin signals."),
                    TextStyle::caption, this);
    setForeground(*subtitle, ViewColors::of(palette()).secondaryText);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(1);
    titles->addWidget(title);
    titles->addWidget(subtitle);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(20, 12, 20, 12);
    row->setSpacing(12);
    row->addWidget(icon);
    row->addLayout(titles);
    row->addStretch(1);
    row->addWidget(picker_);

    const auto showTab = [this] { picker_->setSelected(model_.selectedTab() == app::WorkspaceTab::text ? 0 : 1); };
    connect(&model_, &app::AppModel::selectedTabChanged, this, showTab);
    connect(picker_, &SegmentedPicker::selectedChanged, &model_,
            [this](int index) { model_.setSelectedTab(app::allWorkspaceTabs[static_cast<std::size_t>(index)]); });
    showTab();
}

}  // namespace velquor::ui
