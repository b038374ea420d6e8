#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::text {

// Æ, Ø, Å and their lower-case forms spelled out, which transliteration would leave as they are.
std::u16string foldScandinavianCharacters(std::u16string_view text);

struct AsciiConversion {
    std::u16string text;
    std::int64_t replacements = 0;  // scalars still outside ASCII afterwards, made "?" or a space
};

// The text in ASCII: Scandinavian letters folded, everything transliterated to Latin script
// and stripped of combining marks, and whatever is still outside ASCII replaced by a space
// (white space) or "?" (anything else). Should transliteration be unavailable, the replacement
// alone applies to the text as given.
AsciiConversion convertToAscii(std::u16string_view text);

}  // namespace velquor::text
