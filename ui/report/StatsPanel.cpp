#include "ui/report/StatsPanel.h"

#include "app/AppModel.h"
#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/OutlinedBox.h"
#include "ui/common/SegmentedPicker.h"
#include "ui/common/StatView.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ClipboardFindingsList.h"
#include "ui/report/HiddenPayloadList.h"
#include "ui/report/IssueList.h"
#include "ui/report/PrivacyReportView.h"
#include "ui/report/TextChangeReviewView.h"
#include "ui/style/StyleReportView.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr std::array<TextReportTab, 4> reportTabs{TextReportTab::changes, TextReportTab::privacy, TextReportTab::style,
                                                  TextReportTab::unicode};

QWidget* emptyStatsView(QWidget* parent) {
    auto* box = new OutlinedBox(parent);
    const auto colors = ViewColors::of(parent->palette());
    box->setColors(colors.separator);
    auto* label = new SymbolLabel(
        "text.page", QObject::tr("Paste or drop text to inspect cleaning, privacy, Unicode, and style signals."),
        TextStyle::body, box);
    label->setColor(colors.secondaryText);
    auto* row = new QHBoxLayout(box);
    row->addStretch(1);
    row->addWidget(label);
    row->addStretch(1);
    return box;
}

}  // namespace

QString rawValue(TextReportTab tab) {
    switch (tab) {
        case TextReportTab::changes:
            return QObject::tr("Changes");
        case TextReportTab::privacy:
            return QObject::tr("Privacy");
        case TextReportTab::style:
            return QObject::tr("Style");
        case TextReportTab::unicode:
            return QObject::tr("Unicode");
    }
    return {};
}

StatsPanel::StatsPanel(app::AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), states_(new QStackedWidget(this)), reports_(new QStackedWidget) {
    setMinimumHeight(240);
    review_ = new QWidget;
    auto* header = new QHBoxLayout;
    header->setSpacing(18);
    header->addWidget(styledLabel(tr("Review"), TextStyle::headline, review_));
    const std::array<std::pair<QString, int>, 4> statistics{{{tr("Applied changes"), 105},
                                                             {tr("Privacy findings"), 105},
                                                             {tr("Style signals"), 95},
                                                             {tr("Unicode issues"), 95}}};
    for (std::size_t i = 0; i < statistics.size(); ++i) {
        statistics_[i] = new StatView(statistics[i].first, statistics[i].second, review_);
        header->addWidget(statistics_[i]);
    }
    header->addStretch(1);
    std::vector<SegmentedPicker::Segment> segments;
    for (const auto tab : reportTabs) segments.push_back({rawValue(tab), {}});
    picker_ = new SegmentedPicker(tr("Report"), segments, 390, review_);
    header->addWidget(picker_);

    privacy_ = new PrivacyReportView([this](const text::PrivacyFinding& finding) {
        model_.selectTextLocation(QStringLiteral("privacy-") + app::qtString(finding.id),
                                  app::qtString(finding.label).toLower(), finding.locations);
    });
    clipboardFindings_ = new ClipboardFindingsList;
    auto* privacyPage = new QWidget;
    auto* privacyColumn = new QVBoxLayout(privacyPage);
    privacyColumn->setContentsMargins(0, 0, 0, 0);
    privacyColumn->setSpacing(12);
    privacyColumn->addWidget(privacy_);
    privacyColumn->addWidget(clipboardFindings_);

    stylePage_ = new StyleReportView(model_);
    stylePage_->setAccessibleName(rawValue(TextReportTab::style));

    payloads_ = new HiddenPayloadList;
    issues_ = new IssueList([this](const text::TextIssue& issue) { model_.selectIssue(issue); });
    auto* unicodePage = new QWidget;
    auto* unicodeColumn = new QVBoxLayout(unicodePage);
    unicodeColumn->setContentsMargins(0, 0, 0, 0);
    unicodeColumn->setSpacing(12);
    unicodeColumn->addWidget(payloads_);
    unicodeColumn->addWidget(issues_);

    for (QWidget* page : {static_cast<QWidget*>(new TextChangeReviewView(model_)), privacyPage,
                          static_cast<QWidget*>(stylePage_), unicodePage}) {
        reports_->addWidget(reportPage(page));
    }
    auto* reviewColumn = new QVBoxLayout(review_);
    reviewColumn->setContentsMargins(0, 0, 0, 0);
    reviewColumn->setSpacing(10);
    reviewColumn->addLayout(header);
    reviewColumn->addWidget(reports_, 1);

    states_->addWidget(emptyStatsView(this));
    states_->addWidget(review_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 10, 0, 0);
    column->addWidget(states_);

    connect(picker_, &SegmentedPicker::selectedChanged, this,
            [this](int index) { setSelectedTab(reportTabs[static_cast<std::size_t>(index)]); });
    using M = app::AppModel;
    connect(&model_, &M::inputTextChanged, this, &StatsPanel::refreshEmptyState);
    connect(&model_, &M::textReportChanged, this, &StatsPanel::refreshStatistics);
    connect(&model_, &M::textSummaryChanged, this, &StatsPanel::refreshStatistics);
    connect(&model_, &M::textReportChanged, this, &StatsPanel::refreshPrivacy);
    connect(&model_, &M::clipboardFindingsChanged, this, &StatsPanel::refreshPrivacy);
    connect(&model_, &M::textReportChanged, this, &StatsPanel::refreshUnicode);
    refreshEmptyState();
    refreshStatistics();
    refreshPrivacy();
    refreshUnicode();
}

QWidget* StatsPanel::reportPage(QWidget* content) {
    auto* holder = new QWidget;
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 8, 0);
    column->addWidget(content);
    column->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(holder);
    return scroll;
}

void StatsPanel::setSelectedTab(TextReportTab tab) {
    selectedTab_ = tab;
    const int index = static_cast<int>(tab);
    picker_->setSelected(index);
    reports_->setCurrentIndex(index);
}

void StatsPanel::refreshEmptyState() { states_->setCurrentIndex(model_.inputText().isEmpty() ? 0 : 1); }

void StatsPanel::refreshStatistics() {
    const auto& report = model_.textReport();
    const auto& summary = model_.textSummary();
    std::int64_t applied = summary.normalizedLineEndings ? 1 : 0;
    for (const auto& row : summary.rows()) applied += row.count;
    statistics_[0]->setValue(QString::number(applied));
    statistics_[1]->setValue(QString::number(report.privacyReport.findings.size()));
    statistics_[2]->setValue(QString::number(report.styleReport.signals.size()));
    statistics_[3]->setValue(QString::number(report.issues.size()));
}

void StatsPanel::refreshPrivacy() {
    // Typing moves the locations of every finding; the rows are rebuilt only when what they show changed.
    if (!shownPrivacy_ || *shownPrivacy_ != model_.textReport().privacyReport) {
        shownPrivacy_ = model_.textReport().privacyReport;
        privacy_->setReport(*shownPrivacy_);
    }
    clipboardFindings_->setFindings(model_.clipboardFindings());
    clipboardFindings_->setVisible(!model_.clipboardFindings().isEmpty());
}

void StatsPanel::refreshUnicode() {
    const auto& report = model_.textReport();
    if (!shownPayloads_ || *shownPayloads_ != report.hiddenPayloads) {
        shownPayloads_ = report.hiddenPayloads;
        payloads_->setPayloads(report.hiddenPayloads);
    }
    payloads_->setVisible(!report.hiddenPayloads.empty());
    if (!shownIssues_ || *shownIssues_ != report.issues) {
        shownIssues_ = report.issues;
        issues_->setIssues(report.issues);
    }
}

}  // namespace velquor::ui
