#pragma once

#include <array>

#include <optional>
#include <string_view>

namespace velquor::text {

// The seven kinds of change cleaning makes, each tied to one cleaning option.
enum class TextChangeCategory {
    unsafeUnicode,
    whitespace,
    trackingURLs,
    punctuation,
    markdown,
    paragraphWrapping,
    ascii
};

struct TextChangeCategoryInfo {
    TextChangeCategory category;
    std::u16string_view rawValue;
    std::u16string_view title;
    std::u16string_view detail;
    std::u16string_view optionName;
    bool isHygiene;  // applied by the hygiene-only cleaning variants; the others change the writing itself
};

inline constexpr std::array<TextChangeCategoryInfo, 7> textChangeCategoryTable{{
    {TextChangeCategory::unsafeUnicode, u"unsafeUnicode", u"Hidden and control Unicode",
     u"Remove invisible, private-use, bidi, and unsafe control scalars.", u"removeUnsafeUnicode", true},
    {TextChangeCategory::whitespace, u"whitespace", u"Whitespace and line endings",
     u"Normalize unusual spaces, repeated spacing, edges, and line endings.", u"normalizeWhitespace", true},
    {TextChangeCategory::trackingURLs, u"trackingURLs", u"URL tracking parameters",
     u"Remove utm_*, click IDs, and common referral parameters from URLs.", u"stripTrackingParameters", true},
    {TextChangeCategory::punctuation, u"punctuation", u"Punctuation style",
     u"Replace em/en dashes, curly quotes, and ellipses with plain equivalents.", u"normalizePunctuation", false},
    {TextChangeCategory::markdown, u"markdown", u"Markdown scaffolding",
     u"Flatten headings, emphasis, links, fences, and table scaffolding to plain text.", u"flattenMarkdown", false},
    {TextChangeCategory::paragraphWrapping, u"paragraphWrapping", u"Hard-wrapped paragraphs",
     u"Join single line breaks while preserving paragraph and list boundaries.", u"unwrapParagraphs", false},
    {TextChangeCategory::ascii, u"ascii", u"ASCII conversion",
     u"Transliterate non-ASCII text and replace unsupported scalars.", u"asciiOnly", false},
}};

const TextChangeCategoryInfo& info(TextChangeCategory category);
inline std::u16string_view rawValue(TextChangeCategory category) { return info(category).rawValue; }
std::optional<TextChangeCategory> textChangeCategory(std::u16string_view rawValue);
std::array<TextChangeCategory, 7> allTextChangeCategories();

}  // namespace velquor::text
