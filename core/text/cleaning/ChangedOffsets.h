#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velquor::text {

struct ChangedCharacters {
    std::int64_t inputCharacters = 0;
    std::int64_t outputCharacters = 0;
    // Grapheme-cluster offsets into the output, ascending: the insertions of a diff over the two
    // texts' clusters. Removals leave no trace; identical texts give none.
    std::vector<std::int64_t> offsets;
};

// The characters (grapheme clusters) of `output` that are new or changed relative to `input`,
// with both texts' character counts, which the comparison finds on the way.
ChangedCharacters changedOutputOffsets(std::u16string_view input, std::u16string_view output);

}  // namespace velquor::text
