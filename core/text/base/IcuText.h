#pragma once

#include <unicode/unistr.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace velquor::text {

// A read-only ICU view of engine text, without copying. ICU counts in 32-bit units, so a text
// beyond that is refused rather than silently truncated; input limits keep real texts far below.
inline icu::UnicodeString aliasOf(std::u16string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::length_error("text is too long for ICU");
    }
    return icu::UnicodeString(false, text.data(), static_cast<std::int32_t>(text.size()));
}

}  // namespace velquor::text
