#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velquor::text {

// Typographic dashes, quotes, primes, the ellipsis and the bullet, and their plain replacements.
bool isFoldablePunctuation(char32_t scalar);

// The number of scalars of the text that folding replaces.
std::int64_t foldablePunctuationCount(std::u16string_view text);

// Every foldable scalar replaced by its plain equivalent; everything else unchanged.
std::u16string foldPunctuation(std::u16string_view text);

}  // namespace velquor::text
