#pragma once

namespace velquor::text {

// ASCII tests and case mapping of one code unit, byte or scalar: for keys, names and extensions
// that compare as ASCII, and for the fast paths that spare ASCII text the Unicode lookups. A
// negative char converts to a value far above ASCII, so bytes of UTF-8 text are never ASCII here.

constexpr bool isAscii(char32_t unit) { return unit < 0x80; }
constexpr bool isAsciiUppercase(char32_t unit) { return unit >= U'A' && unit <= U'Z'; }
constexpr bool isAsciiLowercase(char32_t unit) { return unit >= U'a' && unit <= U'z'; }
constexpr bool isAsciiLetter(char32_t unit) { return isAsciiUppercase(unit) || isAsciiLowercase(unit); }

// A-Z to a-z; every other unit as it is.
template <class Unit>
constexpr Unit asciiLowered(Unit unit) {
    return isAsciiUppercase(static_cast<char32_t>(unit)) ? static_cast<Unit>(unit + ('a' - 'A')) : unit;
}

}  // namespace velquor::text
