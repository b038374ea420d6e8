#pragma once

#include "core/text/base/RawValueTable.h"
#include "core/text/records/TextLocation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One distinct unusual scalar found by inspection, with every place it occurs.
struct TextIssue {
    enum class Kind { invisible, bidirectionalControl, unusualWhitespace, nonASCII, privateUse };

    TextIssue(Kind issueKind, std::u16string printable, std::u16string codePointName, std::int64_t occurrences,
              std::vector<TextLocation> issueLocations);

    std::u16string id;  // kind's raw value + "-" + code point, e.g. "Invisible-U+200B"
    Kind kind;
    std::u16string scalar;     // printable form: "invisible", "space", ... or the scalar itself
    std::u16string codePoint;  // "U+00A0", "U+1F600"
    std::int64_t count;
    std::vector<TextLocation> locations;

    friend bool operator==(const TextIssue&, const TextIssue&) = default;
};

inline constexpr RawValueTable<TextIssue::Kind, 5> textIssueKinds{{{
    {TextIssue::Kind::invisible, u"Invisible"},
    {TextIssue::Kind::bidirectionalControl, u"Bidi control"},
    {TextIssue::Kind::unusualWhitespace, u"Whitespace"},
    {TextIssue::Kind::nonASCII, u"Non-ASCII"},
    {TextIssue::Kind::privateUse, u"Private use"},
}}};

inline std::u16string_view rawValue(TextIssue::Kind kind) { return textIssueKinds.rawValue(kind); }

// "U+" and the scalar value in upper-case hexadecimal, at least four digits.
std::u16string codePointText(char32_t scalar);

}  // namespace velquor::text
