#include "ui/common/OutlinedBox.h"

#include <QPainter>

namespace velquor::ui {

OutlinedBox::OutlinedBox(QWidget* parent) : QFrame(parent) { setContentsMargins(10, 8, 10, 8); }

void OutlinedBox::setColors(const QColor& border, const QColor& fill) {
    border_ = border;
    fill_ = fill;
    update();
}

void OutlinedBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(border_, 1));
    painter.setBrush(fill_);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

}  // namespace velquor::ui
