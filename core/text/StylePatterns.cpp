#include "StylePatterns.h"

namespace velquor::text {

const std::array<const StylePattern*, 18>& allStylePatterns() {
    using namespace style_patterns;
    static const std::array<const StylePattern*, 18> patterns{
        &markdownBold, &markdownHeading, &markdownFence, &markdownLink, &markdownTableRow,
        &authorityClaim, &citation, &balance, &stance, &negationReversal,
        &synonymTriple, &boldLeadBullet, &discourseMarker, &line, &mixedScriptWord,
        &doubleSpacedBreak, &structureMarker, &properNoun,
    };
    return patterns;
}

CompiledStylePattern::CompiledStylePattern(const StylePattern& pattern) {
    const RegexOptions options{.caseInsensitive = pattern.caseInsensitive};
    regex_ = Regex::compile(pattern.patternToScan(), options);
    if (pattern.candidateStart.empty()) return;
    auto start = Regex::compile(pattern.candidateStart, options);
    auto span = Regex::compile(pattern.ruledOutSpan, options);
    if (start && span) pruning_ = StartPruning{*start, *span};
}

MatchDetails CompiledStylePattern::matchDetails(std::u16string_view text) const {
    if (!regex_) return {};
    if (!pruning_) return regexMatchDetails(text, *regex_);
    return matchDetailsOf(text, prunedMatches(*regex_, text, *pruning_));
}

}  // namespace velquor::text
