#pragma once

#include "core/text/records/TextCleanResult.h"
#include "core/text/records/TextLocation.h"
#include "core/text/records/TextReport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velquor::text {

// Factual anchors of one category that a rewrite lost or gained.
struct RewriteAnchorChange {
    RewriteAnchorChange(std::u16string anchorCategory, std::vector<std::u16string> lost,
                        std::vector<std::u16string> introduced);

    std::u16string id;                    // always the category
    std::u16string category;              // "Names", "Dates", "Numbers", "URLs", "Quotations" or "Citations"
    std::vector<std::u16string> removed;  // in the earlier text only, ascending
    std::vector<std::u16string> added;    // in the rewrite only, ascending

    friend bool operator==(const RewriteAnchorChange&, const RewriteAnchorChange&) = default;
};

// Word-level differences for highlighting.
struct RewriteTextDiff {
    std::vector<TextLocation> removed;  // in the earlier text, ascending
    std::vector<TextLocation> added;    // in the rewrite, ascending

    friend bool operator==(const RewriteTextDiff&, const RewriteTextDiff&) = default;
};

// Concrete, checkable differences between a text and its rewrite. It points at what to check;
// it does not judge meaning.
struct RewriteComparisonReport {
    std::u16string rewrittenText;
    std::int64_t originalWordCount = 0;
    std::int64_t rewrittenWordCount = 0;
    std::int64_t originalParagraphCount = 0;
    std::int64_t rewrittenParagraphCount = 0;
    std::vector<RewriteAnchorChange> anchorChanges;  // only categories with a difference, in category order
    std::vector<std::u16string> warnings;
    TextReport rewrittenReport;      // the full inspection of the rewrite as given
    TextCleanResult hygieneCleanup;  // what a hygiene cleaning of the rewrite gives
    RewriteTextDiff textDiff;
    // Comparison scans that ran out of budget (the rewrite's own inspection lists its own in
    // rewrittenReport).
    std::vector<std::u16string> timedOutScans;

    // Anything to look at before accepting the rewrite. A scan that could not finish is no proof
    // that nothing changed, so it counts too.
    bool hasConcerns() const {
        return !anchorChanges.empty() || !warnings.empty() || !rewrittenReport.issues.empty() ||
               rewrittenReport.privacyReport.hasFindings() || !timedOutScans.empty() ||
               !rewrittenReport.timedOutScans.empty();
    }

    friend bool operator==(const RewriteComparisonReport&, const RewriteComparisonReport&) = default;
};

}  // namespace velquor::text
