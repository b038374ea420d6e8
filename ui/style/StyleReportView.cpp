#include "ui/style/StyleReportView.h"

#include "app/AppModel.h"
#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/StatView.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"
#include "ui/style/PersonalBaselineView.h"
#include "ui/style/PromptReviewSheet.h"
#include "ui/style/RewriteChecklist.h"
#include "ui/style/RewriteResultReviewSheet.h"
#include "ui/style/StyleSignalRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr int statisticWidth = 110;

QPushButton* headerButton(const char* symbol, const QString& label, QWidget* parent) {
    auto* button = new QPushButton(symbolIcon(symbol), label, parent);
    button->setAccessibleName(label);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

StyleReportView::StyleReportView(app::AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      baselineBusy_(new QProgressBar(this)),
      baselineMenu_(new QToolButton(this)),
      baselineStatus_(styledLabel({}, TextStyle::caption, this)),
      checklist_(new RewriteChecklist([this](const text::StyleSignal& signal) { selectSignal(signal); }, this)),
      signalRows_(new QVBoxLayout),
      baselineView_(new PersonalBaselineView(this)) {
    const auto colors = ViewColors::of(palette());
    baselineBusy_->setRange(0, 0);
    baselineBusy_->setFixedWidth(80);
    baselineBusy_->setMaximumHeight(12);
    baselineBusy_->setTextVisible(false);
    baselineBusy_->setToolTip(tr("Loading personal writing baseline"));
    baselineBusy_->setAccessibleName(tr("Loading personal writing baseline"));

    auto* menu = new QMenu(baselineMenu_);
    QAction* choose = menu->addAction(tr("Choose Writing Folder…"));
    clearBaseline_ = menu->addAction(tr("Clear Baseline"));
    connect(choose, &QAction::triggered, &model_, &app::AppModel::chooseWritingBaselineFolder);
    connect(clearBaseline_, &QAction::triggered, &model_, &app::AppModel::clearWritingBaseline);
    baselineMenu_->setMenu(menu);
    baselineMenu_->setPopupMode(QToolButton::InstantPopup);
    baselineMenu_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    baselineMenu_->setToolTip(tr("Compare style signals with your own local writing"));
    baselineMenu_->setFocusPolicy(Qt::StrongFocus);

    auto* promptButton = headerButton("doc.text.magnifyingglass", tr("Review Rewrite Prompt"), this);
    auto* resultButton = headerButton("arrow.left.arrow.right", tr("Review Result"), this);
    connect(promptButton, &QPushButton::clicked, this, &StyleReportView::regeneratePrompt);
    connect(resultButton, &QPushButton::clicked, this, &StyleReportView::reviewRewriteResult);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(styledLabel(tr("Templated writing signals"), TextStyle::headline, this));
    header->addStretch(1);
    header->addWidget(baselineBusy_);
    header->addWidget(baselineMenu_);
    header->addWidget(promptButton);
    header->addWidget(resultButton);

    baselineStatus_->setAccessibleName(tr("Baseline status"));
    baselineStatus_->setTextFormat(Qt::PlainText);
    setForeground(*baselineStatus_, colors.secondaryText);

    const std::array<QString, 3> labels{tr("Signal level"), tr("Signals"), tr("Words")};
    auto* statistics = new QHBoxLayout;
    statistics->setSpacing(12);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        statistics_[i] = new StatView(labels[i], statisticWidth, this);
        statistics->addWidget(statistics_[i]);
    }
    statistics->addStretch(1);

    auto* note = new SymbolLabel("exclamationmark.circle",
                                 tr("English prose only. These patterns can make writing sound templated; they do "
                                    "not prove AI authorship. Calibrated for default LLM style circa 2026-08."),
                                 TextStyle::caption, this);
    note->setColor(colors.secondaryText);
    note->setWordWrap(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addLayout(header);
    column->addWidget(baselineStatus_);
    column->addLayout(statistics);
    column->addWidget(note);
    column->addWidget(checklist_);
    signalRows_->setSpacing(2);
    column->addLayout(signalRows_);
    column->addWidget(baselineView_);

    promptSheet_ = new PromptReviewSheet(
        [this] { return model_.authorshipRewritePrompt(); },
        [this](const QString& prompt, std::int64_t redacted) { model_.copyAuthorshipPrompt(prompt, redacted); }, this);
    rewriteSheet_ = new RewriteResultReviewSheet(
        {.compare = [this](const QString& rewrite) { return model_.compareRewrite(rewrite); },
         .copy = [this](const QString& rewrite) { model_.copyRewrite(rewrite); },
         .accept = [this](const QString& rewrite) { model_.acceptRewrite(rewrite); }},
        this);

    using M = app::AppModel;
    connect(&model_, &M::textReportChanged, this, &StyleReportView::refreshReport);
    connect(&model_, &M::writingBaselineChanged, this, &StyleReportView::refreshBaseline);
    connect(&model_, &M::styleDeviationsChanged, this, &StyleReportView::refreshBaseline);
    connect(&model_, &M::baselineStatusChanged, this, &StyleReportView::refreshBaseline);
    connect(&model_, &M::isLoadingWritingBaselineChanged, this, &StyleReportView::refreshBaseline);
    refreshReport();
    refreshBaseline();
}

void StyleReportView::regeneratePrompt() {
    promptSheet_->regenerate();
    promptSheet_->open();
}

void StyleReportView::reviewRewriteResult() {
    rewriteSheet_->reset(model_.inputText());
    rewriteSheet_->open();
}

void StyleReportView::refreshReport() {
    const auto& report = model_.textReport().styleReport;
    // Typing moves every signal's locations; the rows are rebuilt only when what they show changed.
    if (shownReport_ && *shownReport_ == report) return;
    shownReport_ = report;
    statistics_[0]->setValue(app::qtString(text::rawValue(report.level)));
    statistics_[1]->setValue(QString::number(report.signals.size()));
    statistics_[2]->setValue(QString::number(report.wordCount));
    checklist_->setVisible(report.hasSignals());
    checklist_->setSignals(report.topContributors());

    clearLayout(*signalRows_);
    if (!report.hasSignals()) {
        auto* none = new SymbolLabel("checkmark.circle", tr("No strong default-LLM style signals found."),
                                     TextStyle::body, this);
        none->setColor(ViewColors::of(palette()).secondaryText);
        signalRows_->addWidget(none);
        return;
    }
    for (std::size_t i = 0; i < report.signals.size(); ++i) {
        if (i > 0) signalRows_->addWidget(rowDivider(this));
        signalRows_->addWidget(new StyleSignalRow(
            report.signals[i], [this](const text::StyleSignal& signal) { selectSignal(signal); }, this));
    }
}

void StyleReportView::refreshBaseline() {
    const bool loading = model_.isLoadingWritingBaseline();
    const bool hasBaseline = model_.writingBaseline().has_value();
    baselineBusy_->setVisible(loading);
    baselineMenu_->setVisible(!loading);
    const QString label = hasBaseline ? tr("My Baseline") : tr("My Writing");
    baselineMenu_->setText(label);
    baselineMenu_->setAccessibleName(label);
    baselineMenu_->setIcon(symbolIcon(hasBaseline ? "person.crop.circle.badge.checkmark" : "person.text.rectangle"));
    clearBaseline_->setVisible(hasBaseline);
    baselineStatus_->setText(model_.baselineStatus());
    baselineStatus_->setVisible(!model_.baselineStatus().isEmpty());
    baselineView_->setVisible(hasBaseline);
    if (hasBaseline) baselineView_->setBaseline(*model_.writingBaseline(), model_.styleDeviations());
}

void StyleReportView::selectSignal(const text::StyleSignal& signal) {
    model_.selectTextLocation(QStringLiteral("style-") + app::qtString(signal.id),
                              app::qtString(signal.label).toLower(), signal.locations);
}

}  // namespace velquor::ui
