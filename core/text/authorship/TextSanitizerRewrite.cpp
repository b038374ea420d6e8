#include "core/text/TextSanitizer.h"
#include "core/text/authorship/RewriteAnchors.h"
#include "core/text/authorship/RewriteTokenDiff.h"
#include "core/text/authorship/RewriteWarnings.h"
#include "core/text/base/Whitespace.h"
#include "core/text/style/StyleText.h"

namespace velquor::text {

RewriteAnchorChange::RewriteAnchorChange(std::u16string anchorCategory, std::vector<std::u16string> lost,
                                         std::vector<std::u16string> introduced)
    : id(anchorCategory), category(std::move(anchorCategory)), removed(std::move(lost)), added(std::move(introduced)) {}

RewriteComparisonReport TextSanitizer::compareRewrite(std::u16string_view original,
                                                      std::u16string_view rewritten) const {
    RewriteComparisonReport report;
    report.rewrittenText = std::u16string(rewritten);
    report.originalWordCount = styleWordCount(original);
    report.rewrittenWordCount = styleWordCount(rewritten);
    report.originalParagraphCount = paragraphCount(original);
    report.rewrittenParagraphCount = paragraphCount(rewritten);

    auto anchors = compareAnchors(original, rewritten);
    report.anchorChanges = std::move(anchors.changes);
    report.timedOutScans = std::move(anchors.timedOutScans);

    const RewriteMeasures measures{
        .rewriteIsBlank = trimmedWhitespaceAndNewlines(rewritten).empty(),
        .originalWords = report.originalWordCount,
        .rewrittenWords = report.rewrittenWordCount,
        .originalParagraphs = report.originalParagraphCount,
        .rewrittenParagraphs = report.rewrittenParagraphCount,
        .originalNegations = negationMarkerCount(original),
        .rewrittenNegations = negationMarkerCount(rewritten),
    };
    if (!measures.originalNegations || !measures.rewrittenNegations)
        report.timedOutScans.emplace_back(u"Comparison: Negation markers");
    report.warnings = rewriteWarnings(measures);

    report.rewrittenReport = inspect(rewritten);
    report.hygieneCleanup = cleanRewriteHygiene(rewritten);
    report.textDiff = rewriteTextDiff(original, rewritten);
    return report;
}

}  // namespace velquor::text
