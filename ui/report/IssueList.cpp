#include "ui/report/IssueList.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/RowButton.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velquor::ui {

IssueList::IssueList(Select onSelect, QWidget* parent)
    : QWidget(parent), onSelect_(std::move(onSelect)), rows_(new QVBoxLayout) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addWidget(styledLabel(tr("Unicode"), TextStyle::headline, this));
    rows_->setSpacing(2);
    column->addLayout(rows_);
}

void IssueList::setIssues(const std::vector<text::TextIssue>& issues) {
    clearLayout(*rows_);
    if (issues.empty()) {
        auto* label = new SymbolLabel("checkmark.circle", tr("No hidden Unicode or unusual spacing found."),
                                      TextStyle::body, this);
        label->setColor(ViewColors::of(palette()).secondaryText);
        rows_->addWidget(label);
        return;
    }
    const std::size_t shown = std::min(issues.size(), reportRowLimit);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) rows_->addWidget(rowDivider(this));
        rows_->addWidget(issueRow(issues[i]));
    }
    if (issues.size() > shown) rows_->addWidget(moreRowsLabel(issues.size(), this));
}

QWidget* IssueList::issueRow(const text::TextIssue& issue) {
    auto* row = new RowButton(this);
    row->setToolTip(tr("Select this character in Original Text"));
    const QString kind = app::qtString(text::rawValue(issue.kind));
    const QString codePoint = app::qtString(issue.codePoint);
    row->setAccessibleName(kind + QStringLiteral(", ") + codePoint + QStringLiteral(", ") +
                           QString::number(issue.count) + tr(" occurrences"));

    auto* kindLabel = styledLabel(kind, TextStyle::body, row);
    kindLabel->setFixedWidth(90);
    auto* codeLabel = styledLabel(codePoint, TextStyle::body, row);
    codeLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    codeLabel->setFixedWidth(72);
    auto* printable = styledLabel(app::qtString(issue.scalar), TextStyle::body, row);
    setForeground(*printable, ViewColors::of(palette()).secondaryText);
    auto* count = new QLabel(QString::number(issue.count), row);
    count->setFont(digitsFont(TextStyle::body));
    row->row()->addWidget(kindLabel);
    row->row()->addWidget(codeLabel);
    row->row()->addWidget(printable, 1);
    row->row()->addWidget(count);

    const auto selected = issue;
    connect(row, &RowButton::clicked, this, [this, selected] { onSelect_(selected); });
    return row;
}

}  // namespace velquor::ui
