#include "core/text/style/StylePatterns.h"

#include "core/text/base/Whitespace.h"
#include "core/text/style/StyleText.h"

namespace velquor::text {

namespace {

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
    : rule_(pattern.rule, {.caseInsensitive = pattern.caseInsensitive}),
      lineLeads_(pattern.lineLeads),
      candidates_(pattern.candidates) {}

MatchDetails CompiledStylePattern::matchDetails(std::u16string_view text) const {
    if (!lineLeads_.empty()) return matchDetails(text, lineStartsLedBy(text, lineLeads_));
    if (candidates_) return matchDetails(text, candidates_(text));
    return matchDetailsOf(text, rule_.allMatches(text));
}

MatchDetails CompiledStylePattern::matchDetails(std::u16string_view text,
                                                std::span<const std::int64_t> candidates) const {
    return matchDetailsOf(text, rule_.matchesAtCandidates(text, candidates));
}

}  // namespace velquor::text
