#pragma once

#include "core/text/records/TextChangeSummary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::text {

// The result of one cleaning pass.
struct TextCleanResult {
    std::u16string text;
    TextChangeSummary summary;
    // Grapheme-cluster offsets in `text` that are new or changed, ascending and without repeats.
    std::vector<std::int64_t> changedOutputOffsets;

    friend bool operator==(const TextCleanResult&, const TextCleanResult&) = default;
};

}  // namespace velquor::text
