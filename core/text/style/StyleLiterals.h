#pragma once

#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::text {

// Every literal the style pass looks for, found in one pass over the normalized text: the phrase
// lists, the boilerplate phrases, and the anchors of the patterns that are attempted only where
// an anchor occurs.
class StyleLiteralOccurrences {
public:
    explicit StyleLiteralOccurrences(std::u16string_view text);

    // Every occurrence of a literal the pass knows, overlapping ones included, left to right.
    const std::vector<TextLocation>& of(std::u16string_view literal) const;

    // The ascending, distinct positions where any of the literals starts.
    std::vector<std::int64_t> startsOf(std::span<const std::u16string_view> literals) const;

private:
    std::vector<std::vector<TextLocation>> occurrences_;
};

}  // namespace velquor::text
