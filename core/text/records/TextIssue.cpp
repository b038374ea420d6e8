#include "core/text/records/TextIssue.h"

#include <utility>

namespace velquor::text {

TextIssue::TextIssue(Kind issueKind, std::u16string printable, std::u16string codePointName, std::int64_t occurrences,
                     std::vector<TextLocation> issueLocations)
    : id(std::u16string(rawValue(issueKind)) + u"-" + codePointName),
      kind(issueKind),
      scalar(std::move(printable)),
      codePoint(std::move(codePointName)),
      count(occurrences),
      locations(std::move(issueLocations)) {}

std::u16string codePointText(char32_t scalar) {
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string hex;
    for (auto value = static_cast<std::uint32_t>(scalar); value != 0; value >>= 4) {
        hex.insert(hex.begin(), digits[value & 0xF]);
    }
    if (hex.size() < 4) hex.insert(0, 4 - hex.size(), u'0');
    return u"U+" + hex;
}

}  // namespace velquor::text
