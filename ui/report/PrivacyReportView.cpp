#include "ui/report/PrivacyReportView.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/OutlinedBox.h"
#include "ui/common/RowButton.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

QColor severityColor(text::PrivacyFinding::Severity severity, const ViewColors& colors) {
    switch (severity) {
        case text::PrivacyFinding::Severity::high:
            return colors.red;
        case text::PrivacyFinding::Severity::medium:
            return colors.orange;
        case text::PrivacyFinding::Severity::info:
            break;
    }
    return colors.secondaryText;
}

}  // namespace

PrivacyReportView::PrivacyReportView(Select onSelect, QWidget* parent)
    : QWidget(parent), onSelect_(std::move(onSelect)), highCount_(new QLabel(this)), rows_(new QVBoxLayout) {
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(styledLabel(tr("Privacy"), TextStyle::headline, this));
    highCount_->setFont(digitsFont(TextStyle::caption));
    highCount_->setAccessibleName(tr("High-risk matches"));
    header->addWidget(highCount_);
    header->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addLayout(header);
    rows_->setSpacing(4);
    column->addLayout(rows_);
}

void PrivacyReportView::setReport(const text::TextPrivacyReport& report) {
    const auto colors = ViewColors::of(palette());
    const auto high = report.highRiskCount();
    highCount_->setVisible(high > 0);
    highCount_->setText(QString::number(high) + tr(" high"));
    setForeground(*highCount_, colors.red);
    clearLayout(*rows_);
    if (report.findings.empty()) {
        auto* box = new OutlinedBox(this);
        box->setColors(colors.separator);
        auto* label =
            new SymbolLabel("checkmark.circle", tr("No obvious secrets or tracking URLs found."), TextStyle::body, box);
        label->setColor(colors.secondaryText);
        (new QHBoxLayout(box))->addWidget(label);
        rows_->addWidget(box);
        return;
    }
    const std::size_t shown = std::min(report.findings.size(), reportRowLimit);
    for (std::size_t i = 0; i < shown; ++i) rows_->addWidget(findingRow(report.findings[i]));
    if (report.findings.size() > shown) rows_->addWidget(moreRowsLabel(report.findings.size(), this));
}

QWidget* PrivacyReportView::findingRow(const text::PrivacyFinding& finding) {
    const auto colors = ViewColors::of(palette());
    auto* row = new RowButton(this);
    row->setToolTip(tr("Select this finding in Original Text"));
    const QString label = app::qtString(finding.label);
    const QString severity = app::qtString(text::rawValue(finding.severity));
    row->setAccessibleName(label + QStringLiteral(", ") + severity + QStringLiteral(", ") +
                           QString::number(finding.count) + tr(" occurrences"));

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    auto* titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    titleLine->addWidget(styledLabel(label, TextStyle::body, row));
    auto* severityLabel = styledLabel(severity, TextStyle::caption, row);
    setForeground(*severityLabel, severityColor(finding.severity, colors));
    titleLine->addWidget(severityLabel);
    titleLine->addStretch(1);
    text->addLayout(titleLine);
    auto* rationale = styledLabel(app::qtString(finding.rationale), TextStyle::caption, row);
    rationale->setWordWrap(true);
    setForeground(*rationale, colors.secondaryText);
    text->addWidget(rationale);
    QStringList examples;
    for (const auto& example : finding.examples) examples << app::qtString(example);
    if (!examples.isEmpty()) {
        auto* masked = styledLabel(examples.join(QStringLiteral("   ")), TextStyle::caption, row);
        setForeground(*masked, colors.tertiaryText);
        text->addWidget(masked);
    }
    row->row()->addLayout(text, 1);
    auto* count = new QLabel(QString::number(finding.count), row);
    count->setFont(digitsFont(TextStyle::body));
    row->row()->addWidget(count, 0, Qt::AlignTop);

    const auto selected = finding;
    connect(row, &RowButton::clicked, this, [this, selected] { onSelect_(selected); });
    return row;
}

}  // namespace velquor::ui
