#pragma once

#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace velquor::text {

// Greek and Cyrillic letters that look like Latin ones, each with the Latin letter it imitates.
// All lie in the Basic Multilingual Plane, so replacing them keeps every UTF-16 offset.
std::span<const std::pair<char16_t, char16_t>> styleConfusables();

// The text with every lookalike replaced by its Latin letter; locations found in it are valid in
// the original text.
std::u16string lookalikeNormalized(std::u16string_view text);

// Words are what the case-insensitive ICU pattern below matches; words of other scripts are not
// counted, which confines the style pass to Latin-script prose. The scan is a hand-written
// equivalent of the pattern (a test compares the two over every code point).
inline constexpr std::u16string_view styleWordPattern = u"[A-Za-zÀ-ÖØ-öø-ÿ][A-Za-zÀ-ÖØ-öø-ÿ'’-]*";

bool startsStyleWord(char32_t scalar);
bool continuesStyleWord(char32_t scalar);

// The class [A-Za-z] as ICU matches it case-insensitively: the ASCII letters and the two
// scalars that fold onto them, U+017F LATIN SMALL LETTER LONG S and U+212A KELVIN SIGN.
bool isCaseInsensitiveAsciiLetter(char32_t scalar);

// The next word that starts at or after `index`, which moves past it; nothing when none is left.
std::optional<TextLocation> nextStyleWord(std::u16string_view text, std::size_t& index);

// Calls visit(TextLocation) for each word, left to right.
template <class Visit>
void forEachStyleWord(std::u16string_view text, Visit visit) {
    std::size_t index = 0;
    while (const auto word = nextStyleWord(text, index)) visit(*word);
}

std::int64_t styleWordCount(std::u16string_view text);

// The first word, or nothing.
std::u16string_view firstStyleWord(std::u16string_view text);

// The divisor of every rate, which is also the report's word count: never 0.
inline std::int64_t styleRateDivisor(std::int64_t words) { return words == 0 ? 1 : words; }

}  // namespace velquor::text
