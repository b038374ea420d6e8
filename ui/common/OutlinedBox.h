#pragma once

#include <QColor>
#include <QFrame>

namespace velquor::ui {

// A box with a 1-point border and an optional fill: the empty states, the clipboard findings
// and the hidden payloads sit in one.
class OutlinedBox : public QFrame {
    Q_OBJECT

public:
    explicit OutlinedBox(QWidget* parent = nullptr);

    void setColors(const QColor& border, const QColor& fill = Qt::transparent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_;
    QColor fill_ = Qt::transparent;
};

}  // namespace velquor::ui
