#pragma once

#include "core/text/regex/Regex.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace velquor::text {

// Scans that attempt a pattern only where a match can start, and give exactly the matches of an
// ordinary scan: ICU's own scan tries every position, which is quadratic for some patterns and
// dominates others on long text.

// Some patterns start with a greedy run (blank lines before a key, the rest of a URL) that an
// ordinary scan re-reads from every later start inside it. For such a pattern a failed attempt
// at one start also decides every start inside its run, so the scan may skip them.
struct StartPruning {
    // Finds where an attempt can begin; every match of the pattern starts with a match of this.
    Regex candidateStart;
    // Matched at a start whose attempt failed: every candidate inside this span, its end
    // included, fails as well.
    Regex ruledOutSpan;
};

// The matches of `pattern` over the whole text, identical to pattern.allMatches(text).
RegexScan prunedMatches(const Regex& pattern, std::u16string_view text, const StartPruning& pruning);
// The same matches handed to `sink` in order; false when the scan ran out of budget.
bool forEachPrunedMatch(const Regex& pattern, std::u16string_view text, const StartPruning& pruning,
                        const RegexMatchSink& sink);

// The matches of `pattern` attempted only at the candidates, ascending positions that include
// every position where a match can start: the leftmost match at or after each position, as an
// ordinary scan finds it.
RegexScan matchesAtCandidates(const Regex& pattern, std::u16string_view text, std::span<const std::int64_t> candidates);

}  // namespace velquor::text
