#pragma once

#include <string_view>

namespace velquor::text {

// White space in the Unicode sense (the White_Space property): spaces, tabs, line breaks,
// U+0085, U+2028, U+2029 and the typographic spaces.
bool isWhitespaceOrNewline(char32_t scalar);

// The line terminators of ICU's regular expressions, after which a multi-line "^" holds and
// before which "$" does: LF, VT, FF, CR, U+0085, U+2028 and U+2029.
constexpr bool isLineTerminator(char32_t unit) {
    return (unit >= 0x0A && unit <= 0x0D) || unit == 0x85 || unit == 0x2028 || unit == 0x2029;
}

// The text without white space and line breaks at either end.
std::u16string_view trimmedWhitespaceAndNewlines(std::u16string_view text);

}  // namespace velquor::text
