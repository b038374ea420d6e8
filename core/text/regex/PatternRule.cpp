#include "core/text/regex/PatternRule.h"

#include "core/text/base/Ascii.h"

#include <stdexcept>

namespace velquor::text {

namespace {

std::vector<std::u16string_view> literalsOf(std::u16string_view list) {
    std::vector<std::u16string_view> literals;
    while (!list.empty()) {
        const auto bar = list.find(u'|');
        const auto literal = list.substr(0, bar);
        if (literal.empty() ||
            literal.find_first_not_of(u"abcdefghijklmnopqrstuvwxyz0123456789.-_ =:/") != std::u16string_view::npos) {
            throw std::logic_error("a required literal must be lower-case ASCII");
        }
        literals.push_back(literal);
        list = bar == std::u16string_view::npos ? std::u16string_view{} : list.substr(bar + 1);
    }
    return literals;
}

bool holdsAt(std::u16string_view text, std::size_t index, std::u16string_view literal) {
    if (text.size() - index < literal.size()) return false;
    for (std::size_t k = 0; k < literal.size(); ++k) {
        if (asciiLowered(text[index + k]) != literal[k]) return false;
    }
    return true;
}

// Only an ASCII text can be ruled out: under case folding one other character may stand for
// several ASCII letters (U+FB00 for "ff"), so any such character leaves the decision to the scan.
bool ruledOut(std::u16string_view text, const std::vector<std::u16string_view>& literals) {
    if (literals.empty()) return false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (!isAscii(text[index])) return false;
        const auto lower = asciiLowered(text[index]);
        for (const auto literal : literals) {
            if (lower == literal.front() && holdsAt(text, index, literal)) return false;
        }
    }
    return true;
}

}  // namespace

CompiledPatternRule::CompiledPatternRule(const PatternRule& rule, RegexOptions options,
                                         const RequiredPartRule& requiredPart)
    : regex_(Regex::compile(rule.patternToScan(), options)), requiredLiterals_(literalsOf(rule.requiredLiterals)) {
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
    if (!regex_ || ruledOut(text, requiredLiterals_)) return true;
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
