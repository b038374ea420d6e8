#include "TextIssue.h"

#include <utility>

namespace velquor::text {

TextIssue::TextIssue(Kind kind, std::u16string scalar, std::u16string codePoint, std::int64_t count,
                     std::vector<TextLocation> locations)
    : id(std::u16string(rawValue(kind)) + u"-" + codePoint),
      kind(kind),
      scalar(std::move(scalar)),
      codePoint(std::move(codePoint)),
      count(count),
      locations(std::move(locations)) {}

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
