#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velquor::app {

// Everything the clipboard held before the model cleaned it: per item, each format with its
// bytes. The desktop clipboard here has one item, so the limit of 32 items cannot be reached.
struct ClipboardSnapshot {
    using Item = std::vector<std::pair<QString, QByteArray>>;
    std::vector<Item> items;

    friend bool operator==(const ClipboardSnapshot&, const ClipboardSnapshot&) = default;
};

inline constexpr std::size_t snapshotEntryLimit = 64;
inline constexpr qsizetype snapshotEntryByteLimit = 16'777'216;
inline constexpr qsizetype snapshotTotalByteLimit = 33'554'432;

// Every format that has data, or nothing when the clipboard offers more than 64 formats, exceeds
// any other limit or holds no data at all: a snapshot is whole or absent, never partial.
std::optional<ClipboardSnapshot> snapshotClipboard(const QMimeData* data);

// The clipboard contents a snapshot recorded, ready to be written back.
std::unique_ptr<QMimeData> restoredMimeData(const ClipboardSnapshot& snapshot);

}  // namespace velquor::app
