#include "ui/style/PersonalBaselineView.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velquor::ui {

PersonalBaselineView::PersonalBaselineView(QWidget* parent)
    : QWidget(parent), size_(styledLabel({}, TextStyle::caption, this)), rows_(new QVBoxLayout) {
    size_->setAccessibleName(tr("Baseline size"));
    setForeground(*size_, ViewColors::of(palette()).secondaryText);
    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(
        new SymbolLabel("person.text.rectangle", tr("Personal writing comparison"), TextStyle::headline, this));
    header->addWidget(size_);
    header->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(header);
    rows_->setSpacing(2);
    column->addLayout(rows_);
}

void PersonalBaselineView::setBaseline(const text::WritingStyleBaseline& baseline,
                                       const std::vector<text::WritingStyleDeviation>& deviations) {
    size_->setText(QString::number(baseline.documentCount) + tr(" docs · ") + QString::number(baseline.wordCount) +
                   tr(" words"));
    clearLayout(*rows_);
    if (deviations.empty()) {
        auto* none = new SymbolLabel("checkmark.circle", tr("No substantial signal-rate deviations found."),
                                     TextStyle::body, this);
        none->setColor(ViewColors::of(palette()).secondaryText);
        rows_->addWidget(none);
        return;
    }
    for (const auto& deviation : deviations) {
        auto* row = new QWidget(this);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* label = styledLabel(app::qtString(deviation.label), TextStyle::body, row);
        label->setTextFormat(Qt::PlainText);
        auto* rates =
            new QLabel(QString::asprintf("%.1f vs %.1f / 100w", deviation.currentRate, deviation.baselineRate), row);
        rates->setFont(digitsFont(TextStyle::body));
        rates->setAccessibleName(app::qtString(deviation.label) + tr(" rates"));
        line->addWidget(label, 1);
        line->addWidget(rates);
        rows_->addWidget(row);
    }
}

}  // namespace velquor::ui
