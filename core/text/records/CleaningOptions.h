#pragma once

namespace velquor::text {

// The seven cleaning options, one per TextChangeCategory, and edge trimming, which takes
// effect only together with normalizeWhitespace. Name the ones you switch on:
// sanitizer.cleanPlainTextResult(text, {.removeUnsafeUnicode = true, .normalizeWhitespace = true}).
struct CleaningOptions {
    bool asciiOnly = false;
    bool flattenMarkdown = false;
    bool unwrapParagraphs = false;
    bool normalizePunctuation = false;
    bool removeUnsafeUnicode = false;
    bool normalizeWhitespace = false;
    bool stripTrackingParameters = false;
    bool trimWhitespace = true;
};

// The hygiene a text gets before it is rewritten: unsafe Unicode, white space and URL tracking,
// trimmed.
inline constexpr CleaningOptions rewriteHygieneOptions{
    .removeUnsafeUnicode = true, .normalizeWhitespace = true, .stripTrackingParameters = true, .trimWhitespace = true};

}  // namespace velquor::text
