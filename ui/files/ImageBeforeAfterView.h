#pragma once

#include <QWidget>

#include <functional>

class QMimeData;

namespace velquor::ui {

class ImagePreviewPanel;

// The "Before" and "After" panels side by side, and the workspace's only drop target: a drag
// that carries file URLs lights up "Before", and the drop goes to the handler.
class ImageBeforeAfterView : public QWidget {
    Q_OBJECT

public:
    // Returns whether the drop is taken.
    using DropHandler = std::function<bool(const QMimeData&)>;

    explicit ImageBeforeAfterView(DropHandler onDrop, QWidget* parent = nullptr);

    ImagePreviewPanel* before() const { return before_; }
    ImagePreviewPanel* after() const { return after_; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    DropHandler onDrop_;
    ImagePreviewPanel* before_;
    ImagePreviewPanel* after_;
};

// Whether a drag carries at least one file URL.
bool offersFileUrls(const QMimeData& data);

}  // namespace velquor::ui
