#include "core/text/style/StylePatterns.h"

#include "core/text/style/StyleText.h"
#include "core/text/base/Utf.h"

#include <chrono>

namespace velquor::text {

namespace {

// Each attempt has its own step budget; this bounds the whole walk as well, generously.
std::chrono::steady_clock::time_point walkDeadline(std::size_t textLength) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(4 * std::int64_t{Regex::stepLimit(textLength)});
}

// The leftmost match at or after each position, as ICU's own scan finds it, provided no match can
// start anywhere but at a candidate.
RegexScan candidateMatches(const Regex& regex, std::u16string_view text, std::span<const std::int64_t> candidates) {
    RegexCursor attempts(regex, text);
    const auto deadline = walkDeadline(text.size());
    RegexScan scan;
    std::int64_t position = 0;
    for (const auto candidate : candidates) {
        if (candidate < position) continue;
        if (std::chrono::steady_clock::now() > deadline) {
            scan.complete = false;
            return scan;
        }
        auto match = attempts.matchAt(candidate);
        if (!match) {
            if (attempts.exhausted()) break;
            continue;
        }
        const auto range = match->range;
        scan.matches.push_back(std::move(*match));
        position =
            range.utf16Length > 0
                ? range.end()
                : candidate + static_cast<std::int64_t>(candidate < static_cast<std::int64_t>(text.size())
                                                            ? scalarAt(text, static_cast<std::size_t>(candidate)).length
                                                            : 1);
    }
    scan.complete = !attempts.exhausted();
    return scan;
}

bool isLineTerminator(char16_t unit) {
    return (unit >= 0x0A && unit <= 0x0D) || unit == 0x85 || unit == 0x2028 || unit == 0x2029;
}

// Where ICU's multi-line "^" can hold (the start, and after every line terminator, between CR and
// LF too) and the line's first character after spaces and tabs is one of the leads.
std::vector<std::int64_t> lineStartsLedBy(std::u16string_view text, std::u16string_view leads) {
    std::vector<std::int64_t> starts;
    for (std::size_t start = 0; start < text.size(); ++start) {
        if (start > 0 && !isLineTerminator(text[start - 1])) continue;
        auto first = start;
        while (first < text.size() && (text[first] == u' ' || text[first] == u'\t')) ++first;
        if (first < text.size() && leads.find(text[first]) != std::u16string_view::npos) {
            starts.push_back(static_cast<std::int64_t>(start));
        }
    }
    return starts;
}

}  // namespace

const std::array<const StylePattern*, 18>& allStylePatterns() {
    using namespace style_patterns;
    static const std::array<const StylePattern*, 18> patterns{
        &markdownBold,      &markdownHeading, &markdownFence,   &markdownLink, &markdownTableRow,
        &authorityClaim,    &citation,        &balance,         &stance,       &negationReversal,
        &synonymTriple,     &boldLeadBullet,  &discourseMarker, &line,         &mixedScriptWord,
        &doubleSpacedBreak, &structureMarker, &properNoun,
    };
    return patterns;
}

std::vector<std::int64_t> synonymTripleCandidates(std::u16string_view text) {
    std::vector<std::int64_t> starts;
    for (auto comma = text.find(u','); comma != std::u16string_view::npos; comma = text.find(u',', comma + 1)) {
        auto start = comma;
        while (start > 0 && isCaseInsensitiveAsciiLetter(text[start - 1])) --start;
        if (start < comma) starts.push_back(static_cast<std::int64_t>(start));
    }
    return starts;
}

CompiledStylePattern::CompiledStylePattern(const StylePattern& pattern)
    : lineLeads_(pattern.lineLeads), candidates_(pattern.candidates) {
    const RegexOptions options{.caseInsensitive = pattern.caseInsensitive};
    regex_ = Regex::compile(pattern.patternToScan(), options);
    if (pattern.candidateStart.empty()) return;
    auto start = Regex::compile(pattern.candidateStart, options);
    auto span = Regex::compile(pattern.ruledOutSpan, options);
    if (start && span) pruning_ = StartPruning{*start, *span};
}

MatchDetails CompiledStylePattern::matchDetails(std::u16string_view text) const {
    if (!regex_) return {};
    if (pruning_) return matchDetailsOf(text, prunedMatches(*regex_, text, *pruning_));
    if (!lineLeads_.empty()) return matchDetails(text, lineStartsLedBy(text, lineLeads_));
    if (candidates_) return matchDetails(text, candidates_(text));
    return regexMatchDetails(text, *regex_);
}

MatchDetails CompiledStylePattern::matchDetails(std::u16string_view text,
                                                std::span<const std::int64_t> candidates) const {
    if (!regex_) return {};
    return matchDetailsOf(text, candidateMatches(*regex_, text, candidates));
}

}  // namespace velquor::text
