#include "ui/style/RewriteComparisonView.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/StatView.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <numeric>

namespace velquor::ui {

namespace {

constexpr int statisticWidth = 110;

template <typename Records>
std::int64_t totalCount(const Records& records) {
    return std::accumulate(records.begin(), records.end(), std::int64_t{0},
                           [](std::int64_t sum, const auto& record) { return sum + record.count; });
}

QString joined(const std::vector<std::u16string>& values) {
    QStringList parts;
    for (const auto& value : values) parts << app::qtString(value);
    return parts.join(QStringLiteral(", "));
}

QLabel* selectableLine(const QString& text, QWidget* parent) {
    auto* label = styledLabel(text, TextStyle::body, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

}  // namespace

RewriteComparisonView::RewriteComparisonView(QWidget* parent) : QWidget(parent), sections_(new QVBoxLayout) {
    const std::array<QString, 7> labels{tr("Original words"),     tr("Rewrite words"), tr("Original paragraphs"),
                                        tr("Rewrite paragraphs"), tr("Style signals"), tr("Privacy findings"),
                                        tr("Unicode issues")};
    auto* row = new QHBoxLayout;
    row->setSpacing(12);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        statistics_[i] = new StatView(labels[i], statisticWidth, this);
        row->addWidget(statistics_[i]);
    }
    row->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addLayout(row);
    sections_->setSpacing(4);
    column->addLayout(sections_);
}

void RewriteComparisonView::setReport(const text::RewriteComparisonReport& report) {
    const auto& rewritten = report.rewrittenReport;
    const std::array<std::int64_t, 7> values{report.originalWordCount,
                                             report.rewrittenWordCount,
                                             report.originalParagraphCount,
                                             report.rewrittenParagraphCount,
                                             static_cast<std::int64_t>(rewritten.styleReport.signals.size()),
                                             totalCount(rewritten.privacyReport.findings),
                                             totalCount(rewritten.issues)};
    for (std::size_t i = 0; i < values.size(); ++i) statistics_[i]->setValue(QString::number(values[i]));

    clearLayout(*sections_);
    addAnchorChanges(report);
    if (report.hygieneCleanup.summary.contentChanged) addHygiene(report.hygieneCleanup.summary);
    addFindings(rewritten);
}

void RewriteComparisonView::addAnchorChanges(const text::RewriteComparisonReport& report) {
    const auto colors = ViewColors::of(palette());
    if (report.anchorChanges.empty() && report.warnings.empty()) {
        auto* none = new SymbolLabel("checkmark.circle", tr("No concrete factual-anchor or structural changes found."),
                                     TextStyle::body, this);
        none->setColor(colors.green);
        sections_->addWidget(none);
        return;
    }
    for (const auto& change : report.anchorChanges) {
        addHeading(app::qtString(change.category));
        if (!change.removed.empty()) {
            auto* removed = selectableLine(tr("Removed: ") + joined(change.removed), this);
            setForeground(*removed, colors.orange);
            sections_->addWidget(removed);
        }
        if (!change.added.empty()) {
            auto* added = selectableLine(tr("Added: ") + joined(change.added), this);
            setForeground(*added, colors.orange);
            sections_->addWidget(added);
        }
    }
    for (const auto& warning : report.warnings) {
        auto* line = new SymbolLabel("exclamationmark.triangle", app::qtString(warning), TextStyle::body, this);
        line->setColor(colors.orange);
        sections_->addWidget(line);
    }
}

void RewriteComparisonView::addHygiene(const text::TextChangeSummary& summary) {
    addHeading(tr("Removable hygiene residue"));
    for (const auto& row : summary.displayedRows()) {
        addLine(app::qtString(row.label) + QStringLiteral(": ") + QString::number(row.count));
    }
    auto* note =
        styledLabel(tr("Clean Hygiene does not redact secrets, alter punctuation, flatten Markdown, or rewrite prose."),
                    TextStyle::body, this);
    note->setWordWrap(true);
    setForeground(*note, ViewColors::of(palette()).secondaryText);
    sections_->addWidget(note);
}

void RewriteComparisonView::addFindings(const text::TextReport& rewritten) {
    if (!rewritten.privacyReport.findings.empty()) {
        addHeading(tr("Privacy"));
        for (const auto& finding : rewritten.privacyReport.findings) {
            addLine(app::qtString(finding.label) + QStringLiteral(": ") + QString::number(finding.count));
        }
    }
    if (!rewritten.issues.empty()) {
        addHeading(tr("Unicode"));
        const std::size_t shown = std::min(rewritten.issues.size(), reportRowLimit);
        for (std::size_t i = 0; i < shown; ++i) {
            const auto& issue = rewritten.issues[i];
            addLine(app::qtString(text::rawValue(issue.kind)) + QLatin1Char(' ') + app::qtString(issue.codePoint) +
                    QStringLiteral(": ") + QString::number(issue.count));
        }
        if (rewritten.issues.size() > shown) sections_->addWidget(moreRowsLabel(rewritten.issues.size(), this));
    }
    if (rewritten.styleReport.hasSignals()) {
        addHeading(tr("Templated writing signals"));
        for (const auto& signal : rewritten.styleReport.topContributors()) {
            addLine(app::qtString(signal.label) + QStringLiteral(": ") + QString::number(signal.count));
        }
    }
}

void RewriteComparisonView::addHeading(const QString& title) {
    auto* heading = styledLabel(title, TextStyle::headline, this);
    heading->setTextFormat(Qt::PlainText);
    sections_->addSpacing(4);
    sections_->addWidget(heading);
}

void RewriteComparisonView::addLine(const QString& text) { sections_->addWidget(selectableLine(text, this)); }

}  // namespace velquor::ui
