#include "app/clipboard/ClipboardSnapshot.h"

namespace velquor::app {

std::optional<ClipboardSnapshot> snapshotClipboard(const QMimeData* data) {
    if (!data) return std::nullopt;
    // Each format of another program's clipboard is a round trip to it: more formats than a
    // snapshot may hold are refused before any is read, so a hostile owner cannot make the
    // window wait on thousands of them.
    const QStringList formats = data->formats();
    if (static_cast<std::size_t>(formats.size()) > snapshotEntryLimit) return std::nullopt;
    ClipboardSnapshot::Item item;
    qsizetype totalBytes = 0;
    for (const auto& format : formats) {
        QByteArray bytes = data->data(format);
        if (bytes.isEmpty()) continue;
        if (item.size() + 1 > snapshotEntryLimit || bytes.size() > snapshotEntryByteLimit ||
            totalBytes + bytes.size() > snapshotTotalByteLimit) {
            return std::nullopt;
        }
        totalBytes += bytes.size();
        item.emplace_back(format, std::move(bytes));
    }
    if (item.empty()) return std::nullopt;
    return ClipboardSnapshot{{std::move(item)}};
}

std::unique_ptr<QMimeData> restoredMimeData(const ClipboardSnapshot& snapshot) {
    auto data = std::make_unique<QMimeData>();
    for (const auto& item : snapshot.items) {
        for (const auto& [format, bytes] : item) data->setData(format, bytes);
    }
    return data;
}

}  // namespace velquor::app
