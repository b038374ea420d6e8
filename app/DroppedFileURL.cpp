#include "app/DroppedFileURL.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace velquor::app {

namespace {

std::optional<std::filesystem::path> localPathOf(const QUrl& url) {
    if (!url.isValid() || url.scheme() != QStringLiteral("file")) return std::nullopt;
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) != 0) return std::nullopt;
    // Decoded from the escaped form, so that a name that is not UTF-8 keeps its bytes.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!bytes.startsWith('/') || bytes.contains('\0')) return std::nullopt;
    auto path = std::filesystem::path(bytes.toStdString()).lexically_normal();
    if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
    return path;
}

}  // namespace

std::optional<std::filesystem::path> decodeDroppedFileURL(const QVariant& item) {
    switch (item.typeId()) {
        case QMetaType::QUrl:
            return localPathOf(item.toUrl());
        case QMetaType::QByteArray:
            return localPathOf(QUrl::fromEncoded(item.toByteArray().trimmed(), QUrl::StrictMode));
        case QMetaType::QString:
            return localPathOf(QUrl(item.toString().trimmed(), QUrl::StrictMode));
        default:
            return std::nullopt;
    }
}

}  // namespace velquor::app
