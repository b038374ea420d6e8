#include "core/text/regex/PatternRule.h"

namespace velquor::text {

CompiledPatternRule::CompiledPatternRule(const PatternRule& rule, RegexOptions options,
                                         const RequiredPartRule& requiredPart)
    : regex_(Regex::compile(rule.patternToScan(), options)) {
    if (!rule.candidateStart.empty()) {
        auto start = Regex::compile(rule.candidateStart, options);
        auto span = Regex::compile(rule.ruledOutSpan, options);
        if (start && span) pruning_ = StartPruning{*start, *span};
    }
    if (!requiredPart.part.empty()) {
        if (auto part = Regex::compile(requiredPart.part, options)) {
            requiredPart_ = RequiredPart{*part, requiredPart.minimumLead, requiredPart.maximumLead,
                                         requiredPart.maximumMatchLength};
        }
    }
}

RegexScan CompiledPatternRule::allMatches(std::u16string_view text) const {
    RegexScan scan;
    scan.complete = forEachMatch(text, [&](RegexMatch&& match) { scan.matches.push_back(std::move(match)); });
    return scan;
}

bool CompiledPatternRule::forEachMatch(std::u16string_view text, const RegexMatchSink& sink) const {
    if (!regex_) return true;
    if (pruning_) return forEachPrunedMatch(*regex_, text, *pruning_, sink);
    if (requiredPart_) return forEachMatchNearRequiredPart(*regex_, text, *requiredPart_, sink);
    return regex_->forEachMatch(text, sink);
}

RegexScan CompiledPatternRule::matchesAtCandidates(std::u16string_view text,
                                                   std::span<const std::int64_t> candidates) const {
    if (!regex_) return {};
    return velquor::text::matchesAtCandidates(*regex_, text, candidates);
}

}  // namespace velquor::text
