#include "ui/text/TextWorkspace.h"

#include "app/AppModel.h"
#include "ui/report/StatsPanel.h"
#include "ui/text/TextActionRow.h"
#include "ui/text/TextBeforeAfterView.h"

#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr int margin = 20;
constexpr int panesMinimumHeight = 260;
constexpr int panesIdealHeight = 460;
constexpr int reportIdealHeight = 340;

}  // namespace

TextWorkspace::TextWorkspace(app::AppModel& model, QWidget* parent)
    : QWidget(parent),
      actionRow_(new TextActionRow(model, this)),
      beforeAfter_(new TextBeforeAfterView(model)),
      statsPanel_(new StatsPanel(model)),
      split_(new QSplitter(Qt::Vertical, this)) {
    beforeAfter_->setMinimumHeight(panesMinimumHeight);
    split_->addWidget(beforeAfter_);
    split_->addWidget(statsPanel_);
    split_->setChildrenCollapsible(false);
    split_->setSizes({panesIdealHeight, reportIdealHeight});
    split_->setStretchFactor(0, 4);
    split_->setStretchFactor(1, 3);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(12);
    column->addWidget(actionRow_);
    column->addWidget(split_, 1);

    auto* copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
    connect(copy, &QShortcut::activated, &model, &app::AppModel::copyCleanedText);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* apply = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(apply, &QShortcut::activated, &model, [&model] {
            if (model.textSummary().contentChanged) model.replaceTextWithCleaned();
        });
    }
}

}  // namespace velquor::ui
