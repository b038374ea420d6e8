#pragma once

#include "core/text/records/TextLocation.h"

#include <QString>
#include <QUuid>

#include <cstdint>

namespace velquor::app {

// Asks the editor to select and reveal one range. The id is fresh for every request, so the
// editor applies each request once even when two requests name the same range.
struct TextSelectionRequest {
    QUuid id;
    QString sourceID;             // "unicode-" + issue id, "change-" + category, "privacy-...", "style-..."
    std::int64_t occurrence = 0;  // zero-based index within the source's locations
    text::TextLocation range;     // UTF-16 range in inputText

    friend bool operator==(const TextSelectionRequest&, const TextSelectionRequest&) = default;
};

}  // namespace velquor::app
