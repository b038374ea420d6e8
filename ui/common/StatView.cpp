#include "ui/common/StatView.h"

#include "ui/common/Labels.h"
#include "ui/common/ViewColors.h"

#include <QEvent>
#include <QVBoxLayout>

namespace velquor::ui {

StatView::StatView(const QString& label, int width, QWidget* parent)
    : QWidget(parent), value_(new QLabel(this)), label_(styledLabel(label, TextStyle::caption, this)) {
    QFont valueFont = digitsFont(TextStyle::headline);
    valueFont.setPointSizeF(valueFont.pointSizeF() * 1.2);
    value_->setFont(valueFont);
    value_->setTextFormat(Qt::PlainText);
    value_->setAccessibleName(label);
    setFixedWidth(width);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    column->addWidget(value_);
    column->addWidget(label_);
    applyColors();
}

void StatView::setValue(const QString& value) { value_->setText(value); }

QString StatView::value() const { return value_->text(); }

QString StatView::label() const { return label_->text(); }

void StatView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) applyColors();
}

void StatView::applyColors() { setForeground(*label_, ViewColors::of(palette()).secondaryText); }

}  // namespace velquor::ui
