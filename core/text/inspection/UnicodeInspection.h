#pragma once

#include "core/text/base/UnicodeScalarRules.h"
#include "core/text/records/TextIssue.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// What kind of issue the scalar at `offset` is, if any; preserved scalars are none.
std::optional<TextIssue::Kind> issueKind(char32_t scalar, InvisibleScalarRules& rules, std::size_t offset);

// How an issue names its scalar: "variation selector", "invisible", "control", "space", or the
// scalar itself.
std::u16string printableScalar(char32_t scalar);

// One issue per distinct unusual scalar with every UTF-16 location, sorted by kind label and
// then by code point text, both compared as strings.
std::vector<TextIssue> unicodeIssues(std::u16string_view text);

}  // namespace velquor::text
