#include "core/text/TextSanitizer.h"

#include "core/text/cleaning/ChangedOffsets.h"
#include "core/text/cleaning/CleaningPipeline.h"

namespace velquor::text {

TextCleanResult TextSanitizer::cleanPlainTextResult(std::u16string_view text, const CleaningOptions& options) const {
    auto cleaned = runCleaningSteps(text, options);
    auto changed = changedOutputOffsets(text, cleaned.text);
    cleaned.summary.inputCharacters = changed.inputCharacters;
    cleaned.summary.outputCharacters = changed.outputCharacters;
    return {std::move(cleaned.text), cleaned.summary, std::move(changed.offsets)};
}

std::u16string TextSanitizer::cleanPlainText(std::u16string_view text, CleaningOptions options) const {
    options.trimWhitespace = true;
    return runCleaningSteps(text, options).text;
}

TextCleanResult TextSanitizer::cleanRewriteHygiene(std::u16string_view text) const {
    return cleanPlainTextResult(text, rewriteHygieneOptions);
}

TextCleanResult TextSanitizer::cleanSelectedTextHygiene(std::u16string_view text) const {
    return cleanPlainTextResult(text, {.removeUnsafeUnicode = true,
                                       .normalizeWhitespace = true,
                                       .stripTrackingParameters = true,
                                       .trimWhitespace = false});
}

}  // namespace velquor::text
