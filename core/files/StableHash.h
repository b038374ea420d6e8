#pragma once

#include <cstdint>
#include <string_view>

namespace velquor::files {

// 64-bit FNV-1a hashes of text, for entry ids. The same text hashes the same on every run and
// machine, which is all an id needs; the two forms give different numbers, and each family keeps
// the one its ids are built with.

// Each UTF-16 code unit taken as one value (PDF and Office ids).
std::uint64_t stableHash(std::u16string_view text);

// Each UTF-16 code unit taken as its two bytes, low byte first (media ids).
std::uint64_t stableByteHash(std::u16string_view text);

}  // namespace velquor::files
