#pragma once

#include "core/text/records/RewriteComparisonReport.h"

#include <string_view>
#include <vector>

namespace velquor::text {

// Texts are compared as the tokens this ICU pattern finds: a run of white space, a run of
// letters, marks, digits and underscores, or any other single character. The scan is a
// hand-written equivalent that cannot run out of budget (a test compares the two).
inline constexpr std::u16string_view rewriteTokenPattern = uR"(\s+|[\p{L}\p{M}\p{N}_]+|.)";

// The tokens of a text, left to right; together they cover the whole text.
std::vector<TextLocation> rewriteTokens(std::u16string_view text);

// A word-level diff: both texts are cut into runs of white space, runs of letters, marks, digits
// and underscores, and single other characters, and an edit script over those tokens gives the
// removed ranges of the original and the added ranges of the rewrite. The script is Myers'
// shortest one when the texts differ in a few hundred tokens at most; beyond that the diff
// anchors on stretches the texts share and runs Myers between them, and a stretch still too
// costly counts as removed and added whole. So its work stays near-linear in the length of the
// texts, and the script stays valid: the tokens it leaves unmarked are common to both, in order.
RewriteTextDiff rewriteTextDiff(std::u16string_view original, std::u16string_view rewritten);

}  // namespace velquor::text
