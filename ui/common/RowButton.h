#pragma once

#include <QAbstractButton>

class QHBoxLayout;

namespace velquor::ui {

// A plain, borderless button that holds a row of labels: a report row a person clicks to select
// what it names. It takes focus with Tab and clicks with Space like any button.
class RowButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit RowButton(QWidget* parent = nullptr);

    QHBoxLayout* row() const { return row_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QHBoxLayout* row_;
    bool hovered_ = false;
};

}  // namespace velquor::ui
