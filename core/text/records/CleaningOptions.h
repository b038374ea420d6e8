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

}  // namespace velquor::text
