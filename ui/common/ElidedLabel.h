#pragma once

#include <QLabel>
#include <QString>

namespace velquor::ui {

// A one-line label that shortens its text in the middle when it is too narrow, keeping the
// start and the end (a status names a file at its end). text() is always the whole text, and
// so is the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString fullText_;
};

}  // namespace velquor::ui
