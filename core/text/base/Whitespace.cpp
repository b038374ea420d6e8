#include "core/text/base/Whitespace.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"

#include <unicode/uchar.h>

namespace velquor::text {

bool isWhitespaceOrNewline(char32_t scalar) {
    // In ASCII exactly tab, line feed, vertical tab, form feed, carriage return and space.
    if (isAscii(scalar)) return scalar == U' ' || (scalar >= U'\t' && scalar <= U'\r');
    return u_isUWhiteSpace(static_cast<UChar32>(scalar));
}

std::u16string_view trimmedWhitespaceAndNewlines(std::u16string_view text) {
    const auto start = scalarRunEnd(text, 0, isWhitespaceOrNewline);
    std::size_t end = text.size();
    while (end > start) {
        // Every white-space scalar lies in the Basic Multilingual Plane, so one unit is one scalar.
        if (!isWhitespaceOrNewline(text[end - 1])) break;
        --end;
    }
    return text.substr(start, end - start);
}

}  // namespace velquor::text
