#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace velquor::text {

// User-perceived characters (extended grapheme clusters) through ICU's character break rules.

std::int64_t graphemeClusterCount(std::u16string_view text);

// The UTF-16 offsets where clusters start, followed by the text's length; empty text gives {0}.
std::vector<std::int64_t> graphemeClusterBoundaries(std::u16string_view text);

// Calls `visit` with the end offset of every cluster, in text order.
void forEachGraphemeClusterEnd(std::u16string_view text, const std::function<void(std::size_t)>& visit);

}  // namespace velquor::text
