#include "CleaningPipeline.h"

#include "AsciiConversion.h"
#include "ChangedOffsets.h"
#include "GraphemeClusters.h"
#include "MarkdownFlattening.h"
#include "ParagraphUnwrapping.h"
#include "PunctuationFold.h"
#include "ScalarCleaning.h"
#include "UrlTracking.h"
#include "WhitespaceNormalization.h"

namespace velquor::text {

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
        auto converted = convertToASCII(text);
        text = std::move(converted.text);
        summary.asciiReplacementScalars = converted.replacements;
    }
    if (options.normalizeWhitespace) {
        text = normalizeLines(text, options.trimWhitespace, summary);
        if (options.trimWhitespace) text = trimTextEdges(text, summary);
    }
    if (options.removeUnsafeUnicode) text = settleInvisibleScalars(std::move(text), summary);
    summary.contentChanged = text != input;
    return cleaned;
}

TextCleanResult TextSanitizer::cleanPlainTextResult(std::u16string_view text, const CleaningOptions& options) const {
    auto cleaned = runCleaningSteps(text, options);
    cleaned.summary.inputCharacters = graphemeClusterCount(text);
    cleaned.summary.outputCharacters = graphemeClusterCount(cleaned.text);
    auto offsets = changedOutputOffsets(text, cleaned.text);
    return {std::move(cleaned.text), cleaned.summary, std::move(offsets)};
}

std::u16string TextSanitizer::cleanPlainText(std::u16string_view text, CleaningOptions options) const {
    options.trimWhitespace = true;
    return runCleaningSteps(text, options).text;
}

TextCleanResult TextSanitizer::cleanRewriteHygiene(std::u16string_view text) const {
    return cleanPlainTextResult(text, {.removeUnsafeUnicode = true,
                                       .normalizeWhitespace = true,
                                       .stripTrackingParameters = true,
                                       .trimWhitespace = true});
}

TextCleanResult TextSanitizer::cleanSelectedTextHygiene(std::u16string_view text) const {
    return cleanPlainTextResult(text, {.removeUnsafeUnicode = true,
                                       .normalizeWhitespace = true,
                                       .stripTrackingParameters = true,
                                       .trimWhitespace = false});
}

}  // namespace velquor::text
