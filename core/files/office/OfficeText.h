#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::files {

// A scan over part text that ran out of its step budget: the inspection cannot vouch for what it
// did not read, so it fails as archiveResourceLimitExceeded instead of reporting less.
[[noreturn]] void throwIncompleteScan();

// Bytes of a part as text: UTF-8, with anything invalid (a part cut at the read cap included)
// replaced by U+FFFD.
std::u16string partText(std::string_view bytes);

// Every matched substring of a case-insensitive pattern in which "." also matches line breaks.
// A pattern that does not compile matches nothing; a scan that runs out of budget throws.
std::vector<std::u16string> regexMatches(std::u16string_view text, std::u16string_view pattern);

// "&amp;", "&lt;", "&gt;", "&quot;" and "&apos;" decoded in one pass from left to right.
std::u16string decodedPredefinedEntities(std::u16string_view text);

// The text of the first element with this name (its markup removed, the five predefined
// entities decoded, surrounding whitespace trimmed); nothing when there is no such element.
std::optional<std::u16string> xmlValue(std::u16string_view elementName, std::u16string_view xml);

}  // namespace velquor::files
