#include "ui/common/RowButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace velquor::ui {

RowButton::RowButton(QWidget* parent) : QAbstractButton(parent), row_(new QHBoxLayout(this)) {
    row_->setContentsMargins(6, 5, 6, 5);
    row_->setSpacing(10);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

QSize RowButton::sizeHint() const { return row_->sizeHint(); }

QSize RowButton::minimumSizeHint() const { return row_->minimumSize(); }

void RowButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (hovered_ || isDown()) {
        QColor shade = palette().color(QPalette::Highlight);
        shade.setAlphaF(isDown() ? 0.18F : 0.08F);
        painter.fillRect(rect(), shade);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void RowButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void RowButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace velquor::ui
