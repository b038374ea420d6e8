#include "core/workflow/TextAnalysis.h"

#include "core/text/TextSanitizer.h"
#include "core/text/input/TextInputSafety.h"

namespace velquor::workflow {

namespace {

// An empty output has nothing a second pass could change.
bool cleansToItself(const text::TextSanitizer& sanitizer, const std::u16string& cleaned,
                    const text::CleaningOptions& options) {
    return cleaned.empty() || sanitizer.cleanPlainText(cleaned, options) == cleaned;
}

}  // namespace

TextAnalysis analyzeText(std::u16string_view text, const text::CleaningOptions& options,
                         const std::optional<text::WritingStyleBaseline>& baseline) {
    text::TextInputSafety::validateText(text, applicationTextByteLimit);
    const text::TextSanitizer sanitizer;
    auto cleaning = options;
    cleaning.trimWhitespace = true;

    TextAnalysis analysis;
    analysis.report = sanitizer.inspect(text);
    if (baseline) analysis.styleDeviations = sanitizer.compareWritingStyle(text, *baseline);
    auto cleaned = sanitizer.cleanPlainTextResult(text, cleaning);
    analysis.cleanedText = std::move(cleaned.text);
    analysis.cleanedChangedOffsets = std::move(cleaned.changedOutputOffsets);
    analysis.summary = cleaned.summary;
    analysis.changes = sanitizer.reviewChanges(text);
    analysis.cleanedOutputVerified = cleansToItself(sanitizer, analysis.cleanedText, cleaning);
    return analysis;
}

TextAnalysis emptyTextAnalysis() {
    static const TextAnalysis empty = analyzeText({}, applicationCleaningDefaults);
    return empty;
}

}  // namespace velquor::workflow
