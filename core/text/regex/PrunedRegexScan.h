#pragma once

#include "core/text/regex/Regex.h"

#include <string_view>

namespace velquor::text {

// Some patterns start with a greedy run (blank lines before a key, the rest of a URL) that an
// ordinary scan re-reads from every later start inside it, which is quadratic. For such a
// pattern a failed attempt at one start also decides every start inside its run, so the scan
// may skip them and give exactly the ordinary scan's matches in linear time.
struct StartPruning {
    // Finds where an attempt can begin; every match of the pattern starts with a match of this.
    Regex candidateStart;
    // Matched at a start whose attempt failed: every candidate inside this span, its end
    // included, fails as well.
    Regex ruledOutSpan;
};

// The matches of `pattern` over the whole text, identical to pattern.allMatches(text).
RegexScan prunedMatches(const Regex& pattern, std::u16string_view text, const StartPruning& pruning);

}  // namespace velquor::text
