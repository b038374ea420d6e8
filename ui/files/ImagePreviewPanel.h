#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

class QLabel;
class QMimeData;
class QStackedLayout;

namespace velquor::ui {

class SymbolLabel;

// One panel of the preview pair: a title, and a box that shows the image, else a card for the
// file (its icon, name and what it is), else an empty document symbol. A panel that is a drag
// source hands its file to a drag, so that the file can go into a browser upload or a mail.
class ImagePreviewPanel : public QWidget {
    Q_OBJECT

public:
    // `fileCaption` says what the file card shows: the original, or the verified copy.
    ImagePreviewPanel(const QString& title, const QString& fileCaption, QWidget* parent = nullptr);

    void setContent(const QImage& image, const std::optional<std::filesystem::path>& file);
    void setDropTargeted(bool targeted);
    bool isDropTargeted() const { return dropTargeted_; }
    void setDragSource(bool enabled) { dragSource_ = enabled; }
    // What a drag from this panel carries: the shown file's URL, or nothing when the panel is no
    // drag source or shows no file.
    std::unique_ptr<QMimeData> dragData() const;

    // What the box shows, for tests and accessibility: "image", "file" or "empty".
    QString contentKind() const;
    QString fileName() const;
    QString caption() const;

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    class Box;
    class ImageView;

    void applyColors();
    void startDrag();

    SymbolLabel* dropHint_;
    Box* box_;
    QStackedLayout* layers_;
    ImageView* imageView_;
    QWidget* card_;
    QLabel* cardIcon_;
    QLabel* cardName_;
    QLabel* cardCaption_;
    QLabel* emptySymbol_;
    std::optional<std::filesystem::path> file_;
    bool dropTargeted_ = false;
    bool dragSource_ = false;
    QPoint pressPosition_;
};

}  // namespace velquor::ui
