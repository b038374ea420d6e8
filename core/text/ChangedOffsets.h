#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velquor::text {

// The characters (grapheme clusters) of `output` that are new or changed relative to `input`,
// as ascending cluster offsets into `output`: the insertions of a diff over the two texts'
// clusters. Identical texts give none.
std::vector<std::int64_t> changedOutputOffsets(std::u16string_view input, std::u16string_view output);

}  // namespace velquor::text
