#pragma once

#include <string_view>

namespace velquor::text {

// White space in the Unicode sense (the White_Space property): spaces, tabs, line breaks,
// U+0085, U+2028, U+2029 and the typographic spaces.
bool isWhitespaceOrNewline(char32_t scalar);

// The text without white space and line breaks at either end.
std::u16string_view trimmedWhitespaceAndNewlines(std::u16string_view text);

}  // namespace velquor::text
