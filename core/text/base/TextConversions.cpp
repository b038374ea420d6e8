#include "core/text/base/TextConversions.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/IcuText.h"

#include <unicode/locid.h>

#include <algorithm>

namespace velquor::text {

std::u16string widenedAscii(std::string_view text) { return {text.begin(), text.end()}; }

std::string asciiLowercased(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), asciiLowered<char>);
    return lower;
}

std::u16string asciiLowercased(std::u16string_view text) {
    std::u16string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), asciiLowered<char16_t>);
    return lower;
}

std::u16string lowercased(std::u16string_view text) {
    if (std::all_of(text.begin(), text.end(), isAscii)) return asciiLowercased(text);
    icu::UnicodeString lower(aliasOf(text));
    lower.toLower(icu::Locale::getRoot());
    return std::u16string(lower.getBuffer(), static_cast<std::size_t>(lower.length()));
}

}  // namespace velquor::text
