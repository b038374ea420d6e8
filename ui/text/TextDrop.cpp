#include "ui/text/TextDrop.h"

#include "app/DroppedFileURL.h"

#include <QMimeData>
#include <QStringDecoder>
#include <QUrl>
#include <QVariant>

namespace velquor::ui {

bool offersTextDrop(const QMimeData& data) { return data.hasText() || data.hasUrls(); }

TextDropContent textDropContent(const QMimeData& data) {
    if (data.hasFormat(QStringLiteral("text/plain"))) {
        // Bytes that are not UTF-8 are no text; such a drop is ignored.
        const QByteArray bytes = data.data(QStringLiteral("text/plain"));
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (decoder.hasError()) return std::monostate{};
        return text;
    }
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty()) return std::monostate{};
    if (auto path = app::decodeDroppedFileURL(QVariant(urls.front()))) return *path;
    return std::monostate{};
}

}  // namespace velquor::ui
