#include "core/text/cleaning/UrlComponents.h"

#include "core/text/base/TextConversions.h"
#include "core/text/base/Utf.h"

#include <algorithm>

namespace velquor::text {

namespace {

std::optional<std::uint8_t> hexValue(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') return static_cast<std::uint8_t>(unit - u'0');
    if (unit >= u'a' && unit <= u'f') return static_cast<std::uint8_t>(unit - u'a' + 10);
    if (unit >= u'A' && unit <= u'F') return static_cast<std::uint8_t>(unit - u'A' + 10);
    return std::nullopt;
}

std::optional<std::u16string> percentDecoded(std::u16string_view text) {
    if (text.find(u'%') == std::u16string_view::npos) return std::u16string(text);
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == u'%') {
            const auto high = i + 1 < text.size() ? hexValue(text[i + 1]) : std::nullopt;
            const auto low = i + 2 < text.size() ? hexValue(text[i + 2]) : std::nullopt;
            if (!high || !low) return std::nullopt;
            bytes.push_back(static_cast<char>((*high << 4) | *low));
            i += 3;
        } else {
            const auto escape = std::min(text.find(u'%', i), text.size());
            bytes += encodeUtf8(text.substr(i, escape - i));
            i = escape;
        }
    }
    return decodeUtf8(bytes);
}

}  // namespace

UrlParts splitUrl(std::u16string_view url) {
    const auto hash = url.find(u'#');
    const auto beforeFragment = url.substr(0, hash);
    const auto fragment = hash == std::u16string_view::npos ? std::u16string_view() : url.substr(hash);
    const auto question = beforeFragment.find(u'?');
    if (question == std::u16string_view::npos) return {beforeFragment, std::nullopt, fragment};
    return {beforeFragment.substr(0, question), beforeFragment.substr(question + 1), fragment};
}

std::vector<std::u16string_view> queryItems(std::u16string_view query) {
    std::vector<std::u16string_view> items;
    if (query.empty()) return items;
    for (std::size_t start = 0;;) {
        const auto end = query.find(u'&', start);
        items.push_back(
            query.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    return items;
}

std::u16string comparableQueryItemName(std::u16string_view item) {
    const auto name = item.substr(0, item.find(u'='));
    const auto decoded = percentDecoded(name);
    return lowercased(decoded ? std::u16string_view(*decoded) : name);
}

}  // namespace velquor::text
