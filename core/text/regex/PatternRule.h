#pragma once

#include "core/text/regex/PrunedRegexScan.h"
#include "core/text/regex/Regex.h"
#include "core/text/regex/RequiredPartScan.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace velquor::text {

// A fixed pattern as its rule reads, with the equivalent forms it is scanned with. ICU keeps one
// backtracking entry per repetition of X{n,} and overflows on long runs, so a rule may name a
// stack-safe equivalent (X{n}X*); a rule whose failed attempts an ordinary scan would re-read
// quadratically names where attempts begin and the span a failed attempt rules out (see
// StartPruning). Tests check every equivalent against its rule.
struct PatternRule {
    std::u16string_view pattern;
    std::u16string_view scanPattern = {};     // empty: the rule is scanned as written
    std::u16string_view candidateStart = {};  // empty: an ordinary scan
    std::u16string_view ruledOutSpan = {};
    // Empty, or literals in lower-case ASCII separated by "|", one of which every match holds in
    // some mix of cases. An ASCII text that holds none of them needs no scan at all: a long text
    // of "a." would otherwise have the pattern tried at every letter.
    std::u16string_view requiredLiterals = {};

    std::u16string_view patternToScan() const { return scanPattern.empty() ? pattern : scanPattern; }
};

// For a rule that may start almost anywhere but whose every match holds a rarer part a bounded
// distance from its start (see RequiredPart): the part's pattern and the bounds, in code units.
struct RequiredPartRule {
    std::u16string_view part;  // empty: no such part
    std::int64_t minimumLead = 0;
    std::int64_t maximumLead = 0;
    std::int64_t maximumMatchLength = 0;
};

// A rule compiled once; cheap to share between threads. A rule that does not compile has no
// matches.
class CompiledPatternRule {
public:
    CompiledPatternRule(const PatternRule& rule, RegexOptions options, const RequiredPartRule& requiredPart = {});

    // Every match, as an ordinary scan of the rule finds them.
    RegexScan allMatches(std::u16string_view text) const;
    // The same matches handed to `sink` in order; false when the scan ran out of budget.
    bool forEachMatch(std::u16string_view text, const RegexMatchSink& sink) const;

    // The same matches, attempted only at the given positions (ascending), which must include
    // every position where a match can start.
    RegexScan matchesAtCandidates(std::u16string_view text, std::span<const std::int64_t> candidates) const;

private:
    std::optional<Regex> regex_;
    std::optional<StartPruning> pruning_;
    std::optional<RequiredPart> requiredPart_;
    std::vector<std::u16string_view> requiredLiterals_;
};

}  // namespace velquor::text
