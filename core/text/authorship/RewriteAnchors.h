#pragma once

#include "core/text/records/RewriteComparisonReport.h"
#include "core/text/regex/PatternRule.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One kind of factual anchor a rewrite must keep: names, dates, numbers, links, quotations or
// citations, found by a fixed pattern.
struct AnchorCategory {
    std::u16string_view category;
    PatternRule rule;
    bool caseInsensitive;
    bool trimsLinkPunctuation;  // links lose the sentence punctuation around them
};

// In report order.
std::span<const AnchorCategory> anchorCategories();

struct AnchorComparison {
    std::vector<RewriteAnchorChange> changes;  // only categories with a difference, in order
    std::vector<std::u16string> timedOutScans;
};

// The anchors of each category that only one of the texts has, compared as exact strings;
// repetitions and positions do not matter.
AnchorComparison compareAnchors(std::u16string_view original, std::u16string_view rewritten);

}  // namespace velquor::text
