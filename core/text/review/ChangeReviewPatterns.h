#pragma once

#include "core/text/regex/PatternRule.h"

#include <array>

namespace velquor::text {

// The patterns the change review locates changes with; all are matched case-insensitively.
struct ChangeReviewPatterns {
    // Leading or trailing spaces and tabs of a line, and runs of two or more.
    PatternRule whitespaceRuns;
    // A whole URL that has at least one of the named tracking parameters.
    PatternRule trackingUrl;
    // Bold, a heading start, a fenced block, a link and a table row, in this order.
    std::array<PatternRule, 5> markdown;
};

const ChangeReviewPatterns& changeReviewPatterns();

}  // namespace velquor::text
