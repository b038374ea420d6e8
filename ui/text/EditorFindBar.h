#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace velquor::ui {

// The editor's find bar: a search field with previous and next, shown on Ctrl+F, hidden on
// Escape or "Done". It only moves the selection; it never changes the text.
class EditorFindBar : public QWidget {
    Q_OBJECT

public:
    explicit EditorFindBar(QPlainTextEdit& view, QWidget* parent = nullptr);

    void open();
    void close();
    // Selects the next (or previous) match after the selection, wrapping around; false when the
    // text holds none.
    bool findNext(bool backwards = false);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit& view_;
    QLineEdit* field_;
    QLabel* result_;
};

}  // namespace velquor::ui
