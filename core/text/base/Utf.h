#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velquor::text {

// UTF-8 exists only at the edges (files, terminals); inside the engine text is UTF-16.

// Strict UTF-8 to UTF-16: no overlong forms, no surrogates, nothing above U+10FFFF. A byte-order
// mark is kept as U+FEFF so that inspection can report it.
std::optional<std::u16string> decodeUtf8(std::span<const std::uint8_t> bytes);
std::optional<std::u16string> decodeUtf8(std::string_view bytes);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string encodeUtf8(std::u16string_view text);

// The number of bytes encodeUtf8 would produce, without producing them.
std::int64_t utf8ByteCount(std::u16string_view text);

// The scalar that starts at `index` and its length in code units (1 or 2). An unpaired
// surrogate is returned as itself with length 1.
struct ScalarAt {
    char32_t scalar;
    std::size_t length;
};
ScalarAt scalarAt(std::u16string_view text, std::size_t index);

void appendScalar(std::u16string& text, char32_t scalar);

}  // namespace velquor::text
