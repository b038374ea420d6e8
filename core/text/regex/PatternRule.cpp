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
    if (!regex_) return {};
    if (pruning_) return prunedMatches(*regex_, text, *pruning_);
    if (requiredPart_) return matchesNearRequiredPart(*regex_, text, *requiredPart_);
    return regex_->allMatches(text);
}

RegexScan CompiledPatternRule::matchesAtCandidates(std::u16string_view text,
                                                   std::span<const std::int64_t> candidates) const {
    if (!regex_) return {};
    return velquor::text::matchesAtCandidates(*regex_, text, candidates);
}

}  // namespace velquor::text
