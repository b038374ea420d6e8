#pragma once

#include "core/text/records/AuthorshipPromptResult.h"
#include "core/text/records/CleaningOptions.h"
#include "core/text/records/PrivacyFinding.h"
#include "core/text/records/RewriteComparisonReport.h"
#include "core/text/records/StyleReport.h"
#include "core/text/records/TextChangeReview.h"
#include "core/text/records/TextCleanResult.h"
#include "core/text/records/TextReport.h"
#include "core/text/records/WritingStyleBaseline.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// The stateless text analyser and cleaner. Every operation is a pure function of its
// arguments and safe on any thread.
class TextSanitizer {
public:
    // The read-only analysis of a text; it never changes the text.
    TextReport inspect(std::u16string_view text) const;

    // The style pass on its own, as inspect runs it: templated-writing signals, score and level.
    // Names of scans that ran out of budget are appended to `timedOutScans`.
    StyleReport styleReport(std::u16string_view text, std::vector<std::u16string>& timedOutScans) const;

    // The privacy pass on its own, as inspect runs it. Names of scans that ran out of budget
    // are appended to `timedOutScans`.
    TextPrivacyReport privacyReport(std::u16string_view text, std::vector<std::u16string>& timedOutScans) const;

    // One cleaning pass: the cleaned text, what changed, and which output characters are new.
    TextCleanResult cleanPlainTextResult(std::u16string_view text, const CleaningOptions& options) const;

    // Only the cleaned text, always trimmed (trimWhitespace is ignored).
    std::u16string cleanPlainText(std::u16string_view text, CleaningOptions options) const;

    // Unsafe Unicode, white space and URL tracking, trimmed: for text about to be rewritten.
    TextCleanResult cleanRewriteHygiene(std::u16string_view text) const;

    // The same hygiene without trimming, so that a selection keeps its edge spacing and its
    // final line break.
    TextCleanResult cleanSelectedTextHygiene(std::u16string_view text) const;

    // What a full cleaning pass would change, per category in category order, with where and
    // one example; categories with nothing to change are left out.
    std::vector<TextChangeReviewItem> reviewChanges(std::u16string_view text) const;

    // How often each style signal fires per 100 words in a writer's own documents; documents
    // that are empty or only white space are left out.
    WritingStyleBaseline writingStyleBaseline(std::span<const std::u16string> documents) const;

    // The signals that fire materially more often in the text than in the baseline: the largest
    // excess first, equal excesses by label.
    std::vector<WritingStyleDeviation> compareWritingStyle(std::u16string_view text,
                                                           const WritingStyleBaseline& baseline) const;

    // A prompt asking an outside assistant to revise the text in the author's voice: revision
    // priorities from the style signals (deviations from the baseline first), fixed requirements
    // and the hygiene-cleaned text with every High and Medium privacy finding redacted.
    AuthorshipPromptResult authorshipRewritePrompt(std::u16string_view text,
                                                   const std::optional<WritingStyleBaseline>& baseline) const;

    // Checkable differences between a text and its rewrite: lost or new factual anchors, length,
    // paragraph and negation warnings, the rewrite's own inspection and hygiene cleaning, and a
    // word-level diff.
    RewriteComparisonReport compareRewrite(std::u16string_view original, std::u16string_view rewritten) const;

private:
    static std::vector<WritingStyleDeviation> deviationsOf(const StyleReport& report,
                                                           const WritingStyleBaseline& baseline);
};

}  // namespace velquor::text
