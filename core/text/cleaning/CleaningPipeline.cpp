#include "core/text/cleaning/CleaningPipeline.h"

#include "core/text/cleaning/AsciiConversion.h"
#include "core/text/cleaning/MarkdownFlattening.h"
#include "core/text/cleaning/ParagraphUnwrapping.h"
#include "core/text/cleaning/PunctuationFold.h"
#include "core/text/cleaning/ScalarCleaning.h"
#include "core/text/cleaning/UrlTracking.h"
#include "core/text/cleaning/WhitespaceNormalization.h"

namespace velquor::text {

namespace {

std::u16string normalizedWhitespace(std::u16string_view text, bool trim, TextChangeSummary& summary) {
    auto normalized = normalizeLines(text, trim, summary);
    return trim ? trimTextEdges(normalized, summary) : normalized;
}

}  // namespace

CleanedText runCleaningSteps(std::u16string_view input, const CleaningOptions& options) {
    CleanedText cleaned;
    auto& summary = cleaned.summary;
    auto& text = cleaned.text;
    if (options.normalizeWhitespace) summary.normalizedLineEndings = input.find(u'\r') != std::u16string_view::npos;
    if (options.normalizePunctuation) summary.punctuationReplacementScalars = foldablePunctuationCount(input);

    text = options.normalizeWhitespace ? normalizedLineEndings(input) : std::u16string(input);
    if (options.removeUnsafeUnicode || options.normalizeWhitespace) {
        text = cleanScalars(text, options.removeUnsafeUnicode, options.normalizeWhitespace, summary);
    }
    if (options.normalizePunctuation) text = foldPunctuation(text);
    if (options.unwrapParagraphs) {
        auto unwrapped = unwrapHardWrappedParagraphs(text);
        text = std::move(unwrapped.text);
        summary.unwrappedLineBreaks = unwrapped.removedBreaks;
    }
    if (options.flattenMarkdown) {
        auto flattened = flattenMarkdownArtifacts(text);
        text = std::move(flattened.text);
        summary.markdownArtifactsFlattened = flattened.replacements;
    }
    if (options.stripTrackingParameters) {
        auto stripped = stripURLTracking(text);
        text = std::move(stripped.text);
        summary.strippedURLTrackingParameters = stripped.strippedParameters;
    }
    if (options.asciiOnly) {
        auto converted = convertToAscii(text);
        text = std::move(converted.text);
        summary.asciiReplacementScalars = converted.replacements;
    }
    if (options.normalizeWhitespace) text = normalizedWhitespace(text, options.trimWhitespace, summary);
    // Settling can leave two spaces side by side or a space at an edge, and normalising white
    // space again can strand another spared scalar: repeat until neither changes anything.
    while (options.removeUnsafeUnicode) {
        const auto length = text.size();
        text = settleInvisibleScalars(std::move(text), summary);
        if (text.size() == length) break;
        if (options.normalizeWhitespace) text = normalizedWhitespace(text, options.trimWhitespace, summary);
    }
    summary.contentChanged = text != input;
    return cleaned;
}

}  // namespace velquor::text
