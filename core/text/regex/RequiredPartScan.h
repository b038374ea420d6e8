#pragma once

#include "core/text/regex/Regex.h"

#include <cstdint>
#include <string_view>

namespace velquor::text {

// Some patterns may start almost anywhere (a host name starts with any letter) but every match
// holds a rarer part (".corp", ".local") a bounded distance from its start. An ordinary scan
// tries the whole pattern at every letter of the text; this scan tries it only in the windows
// where a match could reach such a part, and gives exactly the ordinary scan's matches.
struct RequiredPart {
    // Finds every occurrence of the part; its occurrences never overlap one another.
    Regex part;
    // Code units from a match's start to the start of its part: at least `minimumLead`, at most
    // `maximumLead`.
    std::int64_t minimumLead = 0;
    std::int64_t maximumLead = 0;
    // No match is longer than this, in code units.
    std::int64_t maximumMatchLength = 0;
};

// The ordinary scan's matches, handed to `sink` in order; false when the scan ran out of budget.
bool forEachMatchNearRequiredPart(const Regex& pattern, std::u16string_view text, const RequiredPart& required,
                                  const RegexMatchSink& sink);

}  // namespace velquor::text
