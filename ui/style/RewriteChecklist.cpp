#include "ui/style/RewriteChecklist.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace velquor::ui {

QString findingCount(std::int64_t count) {
    return QString::number(count) + (count == 1 ? QObject::tr(" finding") : QObject::tr(" findings"));
}

RewriteChecklist::RewriteChecklist(Select onSelect, QWidget* parent)
    : QWidget(parent), onSelect_(std::move(onSelect)), rows_(new QVBoxLayout) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto* title = new SymbolLabel("checklist", tr("Rewrite checklist"), TextStyle::headline, this);
    column->addWidget(title);
    rows_->setSpacing(4);
    column->addLayout(rows_);
}

void RewriteChecklist::setSignals(const std::vector<text::StyleSignal>& signals) {
    clearLayout(*rows_);
    for (const auto& signal : signals) rows_->addWidget(checklistRow(signal));
}

QWidget* RewriteChecklist::checklistRow(const text::StyleSignal& signal) {
    const QString label = app::qtString(signal.label);
    auto* row = new QWidget(this);
    auto* icon = new QLabel(row);
    icon->setPixmap(symbolIcon("square.and.pencil").pixmap(QFontMetrics(font()).height()));
    auto* suggestion = styledLabel(app::qtString(signal.suggestion), TextStyle::body, row);
    suggestion->setWordWrap(true);
    suggestion->setTextFormat(Qt::PlainText);
    auto* caption = styledLabel(label + QStringLiteral(" | ") + findingCount(signal.count), TextStyle::caption, row);
    caption->setTextFormat(Qt::PlainText);
    setForeground(*caption, ViewColors::of(palette()).secondaryText);
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(suggestion);
    text->addWidget(caption);

    auto* select = new QToolButton(row);
    select->setIcon(symbolIcon("scope"));
    select->setAutoRaise(true);
    select->setToolTip(tr("Select this signal in Original Text"));
    select->setAccessibleName(tr("Select ") + label + tr(" in Original Text"));
    select->setFocusPolicy(Qt::StrongFocus);
    const auto selected = signal;
    connect(select, &QToolButton::clicked, this, [this, selected] { onSelect_(selected); });

    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(icon, 0, Qt::AlignTop);
    line->addLayout(text, 1);
    line->addWidget(select, 0, Qt::AlignTop);
    return row;
}

}  // namespace velquor::ui
