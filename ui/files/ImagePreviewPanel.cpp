#include "ui/files/ImagePreviewPanel.h"

#include "ui/common/Labels.h"
#include "ui/common/Symbols.h"
#include "ui/common/ViewColors.h"

#include <QApplication>
#include <QDrag>
#include <QEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

namespace velquor::ui {

namespace {

constexpr double cornerRadius = 6;
constexpr int cardIconSize = 64;
constexpr int cardNameWidth = 280;

QString pathText(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The name in at most two lines of `width`, shortened in the middle when it needs more.
QString twoLineName(const QString& name, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(name) <= 2 * width) return name;
    return metrics.elidedText(name, Qt::ElideMiddle, 2 * width - metrics.averageCharWidth() * 2);
}

}  // namespace

// The content box: control background, a rounded border, and the drop overlay while a drag hovers.
class ImagePreviewPanel::Box : public QFrame {
public:
    explicit Box(QWidget* parent) : QFrame(parent) {}

    void setTargeted(bool targeted) {
        targeted_ = targeted;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const auto colors = ViewColors::of(palette());
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
        painter.fillPath(shape, colors.textBackground);
        painter.setPen(QPen(targeted_ ? colors.accent : colors.separator, 1));
        painter.drawPath(shape);
        if (targeted_) {
            QPainterPath overlay;
            overlay.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius, cornerRadius);
            painter.fillPath(overlay, colors.dropFill);
            painter.setPen(QPen(colors.accent, 2));
            painter.drawPath(overlay);
        }
    }

private:
    bool targeted_ = false;
};

// An image scaled to fit its area, keeping its proportions.
class ImagePreviewPanel::ImageView : public QWidget {
public:
    explicit ImageView(QWidget* parent) : QWidget(parent) {}

    void setImage(const QImage& image) {
        image_ = image;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (image_.isNull()) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
        painter.drawImage(target, image_);
    }

private:
    QImage image_;
};

ImagePreviewPanel::ImagePreviewPanel(const QString& title, const QString& fileCaption, QWidget* parent)
    : QWidget(parent),
      dropHint_(new SymbolLabel("arrow.down.doc", tr("Drop here"), TextStyle::caption, this)),
      box_(new Box(this)),
      layers_(new QStackedLayout),
      imageView_(new ImageView(box_)),
      card_(new QWidget(box_)),
      cardIcon_(new QLabel(card_)),
      cardName_(styledLabel({}, TextStyle::headline, card_)),
      cardCaption_(styledLabel(fileCaption, TextStyle::caption, card_)),
      emptySymbol_(new QLabel(box_)) {
    setAccessibleName(title);
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(styledLabel(title, TextStyle::headline, this));
    header->addWidget(dropHint_);
    header->addStretch(1);
    dropHint_->hide();

    imageView_->setAccessibleName(title + tr(" image"));
    cardIcon_->setFixedSize(cardIconSize, cardIconSize);
    cardIcon_->setAlignment(Qt::AlignCenter);
    cardName_->setAccessibleName(title + tr(" file name"));
    cardName_->setTextFormat(Qt::PlainText);
    cardName_->setWordWrap(true);
    cardName_->setAlignment(Qt::AlignCenter);
    cardName_->setMaximumWidth(cardNameWidth);
    cardCaption_->setAccessibleName(title + tr(" file"));
    auto* cardColumn = new QVBoxLayout(card_);
    cardColumn->setContentsMargins(16, 16, 16, 16);
    cardColumn->setSpacing(10);
    cardColumn->addStretch(1);
    cardColumn->addWidget(cardIcon_, 0, Qt::AlignHCenter);
    cardColumn->addWidget(cardName_, 0, Qt::AlignHCenter);
    cardColumn->addWidget(cardCaption_, 0, Qt::AlignHCenter);
    cardColumn->addStretch(1);

    emptySymbol_->setAlignment(Qt::AlignCenter);
    emptySymbol_->setAccessibleName(title + tr(" empty"));
    emptySymbol_->setPixmap(symbolIcon("doc").pixmap(40, 40, QIcon::Disabled));

    auto* boxLayout = new QVBoxLayout(box_);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    boxLayout->addLayout(layers_);
    layers_->addWidget(imageView_);
    layers_->addWidget(card_);
    layers_->addWidget(emptySymbol_);
    layers_->setCurrentWidget(emptySymbol_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    column->addLayout(header);
    column->addWidget(box_, 1);
    applyColors();
}

void ImagePreviewPanel::setContent(const QImage& image, const std::optional<std::filesystem::path>& file) {
    file_ = file;
    imageView_->setImage(image);
    if (!image.isNull()) {
        layers_->setCurrentWidget(imageView_);
    } else if (file) {
        const QString path = pathText(*file);
        const QString name = QString::fromStdString(file->filename().string());
        cardIcon_->setPixmap(QFileIconProvider().icon(QFileInfo(path)).pixmap(cardIconSize, cardIconSize));
        cardName_->setText(twoLineName(name, cardName_->fontMetrics(), cardNameWidth));
        cardName_->setToolTip(name);
        layers_->setCurrentWidget(card_);
    } else {
        layers_->setCurrentWidget(emptySymbol_);
    }
    setCursor(dragSource_ && file_ ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void ImagePreviewPanel::setDropTargeted(bool targeted) {
    dropTargeted_ = targeted;
    dropHint_->setVisible(targeted);
    box_->setTargeted(targeted);
}

QString ImagePreviewPanel::contentKind() const {
    if (layers_->currentWidget() == imageView_) return QStringLiteral("image");
    if (layers_->currentWidget() == card_) return QStringLiteral("file");
    return QStringLiteral("empty");
}

QString ImagePreviewPanel::fileName() const {
    return file_ ? QString::fromStdString(file_->filename().string()) : QString();
}

QString ImagePreviewPanel::caption() const { return cardCaption_->text(); }

void ImagePreviewPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) applyColors();
}

void ImagePreviewPanel::mousePressEvent(QMouseEvent* event) {
    pressPosition_ = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void ImagePreviewPanel::mouseMoveEvent(QMouseEvent* event) {
    const bool dragging =
        (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPosition_).manhattanLength() >= QApplication::startDragDistance();
    if (dragging && dragData()) startDrag();
    QWidget::mouseMoveEvent(event);
}

std::unique_ptr<QMimeData> ImagePreviewPanel::dragData() const {
    if (!dragSource_ || !file_) return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(pathText(*file_))});
    return data;
}

void ImagePreviewPanel::startDrag() {
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData().release());
    drag->setPixmap(QFileIconProvider().icon(QFileInfo(pathText(*file_))).pixmap(cardIconSize, cardIconSize));
    drag->exec(Qt::CopyAction);
}

void ImagePreviewPanel::applyColors() {
    const auto colors = ViewColors::of(palette());
    dropHint_->setColor(colors.accent);
    setForeground(*cardCaption_, colors.secondaryText);
}

}  // namespace velquor::ui
