#include "PatternRule.h"

namespace velquor::text {

CompiledPatternRule::CompiledPatternRule(const PatternRule& rule, RegexOptions options)
    : regex_(Regex::compile(rule.patternToScan(), options)) {
    if (rule.candidateStart.empty()) return;
    auto start = Regex::compile(rule.candidateStart, options);
    auto span = Regex::compile(rule.ruledOutSpan, options);
    if (start && span) pruning_ = StartPruning{*start, *span};
}

RegexScan CompiledPatternRule::allMatches(std::u16string_view text) const {
    if (!regex_) return {};
    return pruning_ ? prunedMatches(*regex_, text, *pruning_) : regex_->allMatches(text);
}

}  // namespace velquor::text
