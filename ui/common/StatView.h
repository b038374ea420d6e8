#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace velquor::ui {

// One statistic: the value above in digits of equal width, the label below in a caption, at a
// fixed width. The value's accessible name is the label, so "Applied changes" reads its number.
class StatView : public QWidget {
    Q_OBJECT

public:
    StatView(const QString& label, int width, QWidget* parent = nullptr);

    void setValue(const QString& value);
    QString value() const;
    QString label() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColors();

    QLabel* value_;
    QLabel* label_;
};

}  // namespace velquor::ui
