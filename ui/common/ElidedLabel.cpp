#include "ui/common/ElidedLabel.h"

#include <QFontMetrics>

namespace velquor::ui {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    // One line: line breaks in a status (a file name may hold one) would not fit it.
    QString line = text;
    line.replace(QChar(u'\n'), QChar(u' ')).replace(QChar(u'\r'), QChar(u' '));
    fullText_ = line;
    setToolTip(line);
    elide();
}

QSize ElidedLabel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

QSize ElidedLabel::sizeHint() const {
    return {QFontMetrics(font()).horizontalAdvance(fullText_) + 2, QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() { setText(QFontMetrics(font()).elidedText(fullText_, Qt::ElideMiddle, width())); }

}  // namespace velquor::ui
