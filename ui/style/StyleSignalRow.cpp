#include "ui/style/StyleSignalRow.h"

#include "app/QtText.h"
#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = styledLabel(text, TextStyle::body, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

QString ratePer100Words(double rate) { return QString::asprintf("%.1f / 100w", rate); }

StyleSignalRow::StyleSignalRow(const text::StyleSignal& signal, Select onSelect, QWidget* parent)
    : QWidget(parent), disclosure_(new QToolButton(this)) {
    const QString label = app::qtString(signal.label);
    disclosure_->setCheckable(true);
    disclosure_->setAutoRaise(true);
    disclosure_->setIcon(symbolIcon("chevron.right"));
    disclosure_->setText(label);
    disclosure_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure_->setAccessibleName(label);
    disclosure_->setFocusPolicy(Qt::StrongFocus);
    disclosure_->setFont(styledFont(TextStyle::headline, font()));

    auto* count = new QLabel(QString::number(signal.count), this);
    count->setFont(digitsFont(TextStyle::body));
    count->setAccessibleName(label + tr(" count"));
    auto* rate = new QLabel(ratePer100Words(signal.ratePer100Words), this);
    rate->setFont(digitsFont(TextStyle::caption));
    rate->setAccessibleName(label + tr(" rate"));
    setForeground(*rate, ViewColors::of(palette()).secondaryText);

    auto* select = new QToolButton(this);
    select->setIcon(symbolIcon("scope"));
    select->setAutoRaise(true);
    select->setToolTip(tr("Select this signal in Original Text"));
    select->setAccessibleName(tr("Select ") + label + tr(" in Original Text"));
    select->setFocusPolicy(Qt::StrongFocus);
    const auto selected = signal;
    connect(select, &QToolButton::clicked, this, [onSelect = std::move(onSelect), selected] { onSelect(selected); });

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    header->addWidget(disclosure_);
    header->addStretch(1);
    header->addWidget(count);
    header->addWidget(rate);
    header->addWidget(select);

    details_ = details(signal);
    details_->hide();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addLayout(header);
    column->addWidget(details_);
    connect(disclosure_, &QToolButton::toggled, this, &StyleSignalRow::setExpanded);
}

QWidget* StyleSignalRow::details(const text::StyleSignal& signal) {
    const auto colors = ViewColors::of(palette());
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(26, 0, 0, 6);
    column->setSpacing(4);
    for (const auto& example : signal.examples) {
        auto* line = wrappedLabel(app::qtString(example), box);
        setForeground(*line, colors.secondaryText);
        column->addWidget(line);
    }
    if (!signal.rationale.empty()) column->addWidget(wrappedLabel(app::qtString(signal.rationale), box));
    if (!signal.falsePositive.empty()) {
        auto* caveat = wrappedLabel(tr("False positive: ") + app::qtString(signal.falsePositive), box);
        setForeground(*caveat, colors.secondaryText);
        column->addWidget(caveat);
    }
    column->addWidget(wrappedLabel(tr("Try: ") + app::qtString(signal.suggestion), box));
    return box;
}

bool StyleSignalRow::isExpanded() const { return details_->isVisibleTo(this); }

void StyleSignalRow::setExpanded(bool expanded) {
    disclosure_->setChecked(expanded);
    disclosure_->setIcon(symbolIcon(expanded ? "chevron.down" : "chevron.right"));
    details_->setVisible(expanded);
}

}  // namespace velquor::ui
