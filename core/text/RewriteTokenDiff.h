#pragma once

#include "RewriteComparisonReport.h"

#include <string_view>

namespace velquor::text {

struct TokenDiff {
    RewriteTextDiff diff;
    bool complete = true;  // false when tokenizing ran out of budget: the diff covers a prefix only
};

// A word-level diff: both texts are cut into runs of white space, runs of letters, marks, digits
// and underscores, and single other characters, and an edit script over those tokens gives the
// removed ranges of the original and the added ranges of the rewrite. The script is Myers'
// shortest one when the texts differ in a few hundred tokens at most; beyond that the diff
// anchors on stretches the texts share and runs Myers between them, and a stretch still too
// costly counts as removed and added whole. So its work stays near-linear in the length of the
// texts, and the script stays valid: the tokens it leaves unmarked are common to both, in order.
TokenDiff rewriteTextDiff(std::u16string_view original, std::u16string_view rewritten);

}  // namespace velquor::text
