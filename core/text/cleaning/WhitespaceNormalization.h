#pragma once

#include "core/text/records/TextChangeSummary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquor::text {

// Line by line: every run of white space becomes one plain space, and with `trim` each line
// loses the spaces at its ends. Blank lines stay. Counts go to the summary.
std::u16string normalizeLines(std::u16string_view text, bool trim, TextChangeSummary& summary);

// The text without white space and line breaks at its ends, the characters removed counted.
std::u16string trimTextEdges(std::u16string_view text, TextChangeSummary& summary);

// Characters (grapheme clusters) lost when `removed`, white space and line breaks only, is cut
// from the start of a text that goes on with `next`, or from the end of one that has `previous`
// before it. Usually one per scalar; a space that carried a combining mark, or followed a
// prepended mark, was no character of its own.
std::int64_t charactersRemovedAtStart(std::u16string_view removed, std::optional<char32_t> next);
std::int64_t charactersRemovedAtEnd(std::optional<char32_t> previous, std::u16string_view removed);

}  // namespace velquor::text
