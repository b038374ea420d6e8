#include "core/files/office/OfficeText.h"

#include "core/files/FileSanitizerError.h"

#include "core/text/regex/Regex.h"
#include "core/text/base/Whitespace.h"

#include <unicode/unistr.h>

namespace velquor::files {

namespace {

std::u16string substringAt(std::u16string_view text, const text::TextLocation& range) {
    return std::u16string(
        text.substr(static_cast<std::size_t>(range.utf16Location), static_cast<std::size_t>(range.utf16Length)));
}

}  // namespace

void throwIncompleteScan() { throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded); }

std::u16string partText(std::string_view bytes) {
    const auto text = icu::UnicodeString::fromUTF8(icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())));
    return std::u16string(text.getBuffer(), static_cast<std::size_t>(text.length()));
}

std::vector<std::u16string> regexMatches(std::u16string_view text, std::u16string_view pattern) {
    const auto regex = text::Regex::compile(pattern, {.caseInsensitive = true, .dotMatchesLineSeparators = true});
    if (!regex) return {};
    const auto scan = regex->allMatches(text);
    if (!scan.complete) throwIncompleteScan();
    std::vector<std::u16string> matches;
    matches.reserve(scan.matches.size());
    for (const auto& match : scan.matches) matches.push_back(substringAt(text, match.range));
    return matches;
}

// One pass, so that "&amp;lt;" reads as the text "&lt;".
std::u16string decodedPredefinedEntities(std::u16string_view text) {
    static constexpr std::pair<std::u16string_view, char16_t> entities[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&apos;", u'\''},
    };
    std::u16string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, character] : entities) {
            if (text.substr(i, entity.size()) == entity) {
                decoded.push_back(character);
                i += entity.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) decoded.push_back(text[i++]);
    }
    return decoded;
}

std::optional<std::u16string> xmlValue(std::u16string_view elementName, std::u16string_view xml) {
    const auto name = text::Regex::escapedPattern(elementName);
    const auto matches = regexMatches(xml, u"<" + name + u"(?:\\s[^>]*)?>(.*?)</" + name + u">");
    if (matches.empty()) return std::nullopt;
    static const auto markup = text::Regex::compile(u"<[^>]+>");
    auto replaced = markup->replaceAll(matches.front(), u"");
    if (!replaced.complete) throwIncompleteScan();
    const auto value = decodedPredefinedEntities(replaced.text);
    return std::u16string(text::trimmedWhitespaceAndNewlines(value));
}

}  // namespace velquor::files
