#pragma once

#include <cstdint>
#include <string_view>

namespace velquor::files {

// 64-bit FNV-1a over the UTF-16 code units, each taken as one value. The same text hashes the
// same on every run and machine, which is all the ids built from it need.
std::uint64_t stableHash(std::u16string_view text);

}  // namespace velquor::files
