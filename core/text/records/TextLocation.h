#pragma once

#include <cstdint>

namespace velquor::text {

// A range in one exact text, counted in UTF-16 code units: the unit of editor selections and of
// regular-expression matches. A scalar above U+FFFF is two units long.
struct TextLocation {
    std::int64_t utf16Location = 0;
    std::int64_t utf16Length = 0;

    std::int64_t end() const { return utf16Location + utf16Length; }

    friend bool operator==(const TextLocation&, const TextLocation&) = default;
};

}  // namespace velquor::text
