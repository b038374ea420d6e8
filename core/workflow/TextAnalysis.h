#pragma once

#include "core/text/records/CleaningOptions.h"
#include "core/text/records/TextChangeReview.h"
#include "core/text/records/TextChangeSummary.h"
#include "core/text/records/TextReport.h"
#include "core/text/records/WritingStyleBaseline.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::workflow {

// Text from the editor, a file, a drop or the clipboard is at most this many UTF-8 bytes
// (16 MiB), a quarter of what the engine itself accepts: the window analyses the whole text
// after each pause in typing.
inline constexpr std::int64_t applicationTextByteLimit = 16'777'216;

// The cleaning a new window starts with: the three hygiene cleanings on, the writing changes
// off, edges trimmed.
inline constexpr text::CleaningOptions applicationCleaningDefaults{
    .removeUnsafeUnicode = true, .normalizeWhitespace = true, .stripTrackingParameters = true, .trimWhitespace = true};

// Everything the text workspace shows about one text under one set of options.
struct TextAnalysis {
    text::TextReport report;
    std::u16string cleanedText;
    std::vector<std::int64_t> cleanedChangedOffsets;  // grapheme-cluster offsets in cleanedText
    text::TextChangeSummary summary;
    std::vector<text::TextChangeReviewItem> changes;           // what cleaning with every option would change
    std::vector<text::WritingStyleDeviation> styleDeviations;  // empty without a baseline
    bool cleanedOutputVerified = true;  // whether a second cleaning pass left cleanedText as it was

    friend bool operator==(const TextAnalysis&, const TextAnalysis&) = default;
};

// Validates the text against applicationTextByteLimit, inspects it, compares its style with the
// baseline when there is one, cleans it with `options` (always trimmed), reviews every category
// of change and verifies the cleaned text by cleaning it again. A text over the limit throws
// TextInputError, whose description is the status to show, and nothing is analysed.
TextAnalysis analyzeText(std::u16string_view text, const text::CleaningOptions& options,
                         const std::optional<text::WritingStyleBaseline>& baseline = std::nullopt);

// The analysis of the empty text: what is shown before any text and after a text was refused.
TextAnalysis emptyTextAnalysis();

}  // namespace velquor::workflow
