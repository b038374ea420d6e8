#include "ui/text/EditorOffsetMap.h"

#include <algorithm>

namespace velquor::ui {

namespace {

constexpr char16_t blockSeparator = u'\u2029';
// Qt's frame markers, which a plain-text insertion also turns into block separators.
constexpr char16_t beginningOfFrame = u'\uFDD0';
constexpr char16_t endOfFrame = u'\uFDD1';

}  // namespace

bool isDocumentLineBreak(char16_t unit) {
    return unit == u'\r' || unit == u'\n' || unit == blockSeparator || unit == beginningOfFrame || unit == endOfFrame;
}

QString modelTextFromDocument(QStringView documentText) {
    QString text = documentText.toString();
    text.replace(QChar(blockSeparator), QChar(u'\n'));
    return text;
}

EditorOffsetMap EditorOffsetMap::forText(QStringView modelText) {
    EditorOffsetMap map;
    for (qsizetype i = 0; i + 1 < modelText.size(); ++i) {
        if (modelText[i] == u'\r' && modelText[i + 1] == u'\n') {
            map.pairs_.push_back(i);
            ++i;
        }
    }
    return map;
}

std::size_t EditorOffsetMap::pairsBefore(qsizetype modelOffset, bool wholePair) const {
    const qsizetype span = wholePair ? 2 : 1;
    const auto end =
        std::partition_point(pairs_.begin(), pairs_.end(), [&](qsizetype pair) { return pair + span <= modelOffset; });
    return static_cast<std::size_t>(end - pairs_.begin());
}

qsizetype EditorOffsetMap::modelOffset(qsizetype documentOffset) const {
    // Pair i sits at document offset pairs_[i] - i, which grows with i.
    std::size_t low = 0;
    std::size_t high = pairs_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (pairs_[middle] - static_cast<qsizetype>(middle) < documentOffset) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return documentOffset + static_cast<qsizetype>(low);
}

qsizetype EditorOffsetMap::documentStart(qsizetype modelOffset) const {
    return modelOffset - static_cast<qsizetype>(pairsBefore(modelOffset, false));
}

qsizetype EditorOffsetMap::documentEnd(qsizetype modelOffset) const {
    return modelOffset - static_cast<qsizetype>(pairsBefore(modelOffset, true));
}

void EditorOffsetMap::replace(qsizetype modelStart, qsizetype modelEnd, qsizetype addedLength,
                              const EditorOffsetMap& added) {
    const auto first = std::lower_bound(pairs_.begin(), pairs_.end(), modelStart);
    const auto last = std::lower_bound(first, pairs_.end(), modelEnd);
    const qsizetype shift = addedLength - (modelEnd - modelStart);
    std::for_each(last, pairs_.end(), [shift](qsizetype& pair) { pair += shift; });
    std::vector<qsizetype> inserted;
    inserted.reserve(added.pairs_.size());
    for (const qsizetype pair : added.pairs_) inserted.push_back(modelStart + pair);
    const auto at = pairs_.erase(first, last);
    pairs_.insert(at, inserted.begin(), inserted.end());
}

EditorOffsetMap EditorOffsetMap::slice(qsizetype modelStart, qsizetype modelEnd) const {
    EditorOffsetMap part;
    const auto first = std::lower_bound(pairs_.begin(), pairs_.end(), modelStart);
    for (auto pair = first; pair != pairs_.end() && *pair + 1 < modelEnd; ++pair)
        part.pairs_.push_back(*pair - modelStart);
    return part;
}

QString EditorOffsetMap::documentText(QStringView modelText, qsizetype modelStart, qsizetype modelEnd) const {
    QString text;
    text.reserve(modelEnd - modelStart);
    auto pair = std::lower_bound(pairs_.begin(), pairs_.end(), modelStart);
    for (qsizetype i = modelStart; i < modelEnd; ++i) {
        const char16_t unit = modelText[i].unicode();
        if (pair != pairs_.end() && *pair == i) {
            text.append(QChar(blockSeparator));
            ++i;
            ++pair;
        } else {
            text.append(QChar(isDocumentLineBreak(unit) ? blockSeparator : unit));
        }
    }
    return text;
}

}  // namespace velquor::ui
