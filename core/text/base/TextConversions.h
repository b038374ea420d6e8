#pragma once

#include <concepts>
#include <string>
#include <string_view>

namespace velquor::text {

// Small conversions every part of the engine needs when it builds report texts.

// An integer in decimal digits, as engine text.
template <std::integral Integer>
std::u16string decimalText(Integer value) {
    const auto digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// ASCII bytes (names, keys, numbers a library hands over) as engine text.
std::u16string widenedAscii(std::string_view text);

// A-Z to a-z and nothing else: for keys, extensions and part names, which compare as ASCII.
std::string asciiLowercased(std::string_view text);
std::u16string asciiLowercased(std::u16string_view text);

// Full Unicode lower-casing in the root locale, with a fast path for ASCII text.
std::u16string lowercased(std::u16string_view text);

}  // namespace velquor::text
