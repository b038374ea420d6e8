#pragma once

#include <QWidget>

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class PlainTextPreview;
class SelectableTextEditor;
class TextPane;

// "Original Text", the editor over the model's text, beside "New Text", the cleaned text with
// its changes highlighted. Takes drops of text (which win) or of a text file.
class TextBeforeAfterView : public QWidget {
    Q_OBJECT

public:
    explicit TextBeforeAfterView(app::AppModel& model, QWidget* parent = nullptr);

    SelectableTextEditor* originalEditor() const { return editor_; }
    PlainTextPreview* newTextPreview() const { return preview_; }
    TextPane* originalPane() const { return original_; }
    TextPane* newTextPane() const { return cleaned_; }
    bool isDropTargeted() const { return isDropTargeted_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showInputText();
    void showCleanedText();
    void showVerification();
    void setDropTargeted(bool targeted);
    void layoutPanes();

    app::AppModel& model_;
    SelectableTextEditor* editor_;
    PlainTextPreview* preview_;
    TextPane* original_;
    TextPane* cleaned_;
    bool isDropTargeted_ = false;
};

}  // namespace velquor::ui
