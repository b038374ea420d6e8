#include "ui/files/ImageBeforeAfterView.h"

#include "ui/files/ImagePreviewPanel.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QUrl>

namespace velquor::ui {

bool offersFileUrls(const QMimeData& data) {
    if (!data.hasUrls()) return false;
    const auto urls = data.urls();
    return std::any_of(urls.begin(), urls.end(),
                       [](const QUrl& url) { return url.scheme() == QStringLiteral("file"); });
}

ImageBeforeAfterView::ImageBeforeAfterView(DropHandler onDrop, QWidget* parent)
    : QWidget(parent),
      onDrop_(std::move(onDrop)),
      before_(new ImagePreviewPanel(tr("Before"), tr("Original file"), this)),
      after_(new ImagePreviewPanel(tr("After"), tr("Verified privacy copy"), this)) {
    setAcceptDrops(true);
    setMinimumHeight(230);
    after_->setDragSource(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    row->addWidget(before_, 1);
    row->addWidget(after_, 1);
}

void ImageBeforeAfterView::dragEnterEvent(QDragEnterEvent* event) {
    if (!offersFileUrls(*event->mimeData())) return;
    event->acceptProposedAction();
    before_->setDropTargeted(true);
}

void ImageBeforeAfterView::dragLeaveEvent(QDragLeaveEvent* event) {
    before_->setDropTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void ImageBeforeAfterView::dropEvent(QDropEvent* event) {
    before_->setDropTargeted(false);
    if (onDrop_(*event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

}  // namespace velquor::ui
