#pragma once

#include "core/text/regex/PatternRule.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::text {

// One Markdown construct: the rule that finds it and the template it becomes ($1, $2 insert
// the captured text). A rule no pruning keeps linear has a hand-written scanner that finds
// exactly its matches; a test holds the two together.
struct MarkdownRewrite {
    PatternRule rule;
    std::u16string_view replacement;
    std::vector<RegexMatch> (*scanner)(std::u16string_view text) = nullptr;
};

// The matches of the link rule, in linear time.
std::vector<RegexMatch> markdownLinkMatches(std::u16string_view text);

// The ten rewrites, in the order they apply.
const std::array<MarkdownRewrite, 10>& markdownRewrites();

struct FlattenedMarkdown {
    std::u16string text;
    std::int64_t replacements = 0;
};

// Headings, quotes, rules, fences, links, emphasis, strike-through and inline code rewritten as
// plain text; table rows stay as they are. Each rewrite's matches count as replacements.
FlattenedMarkdown flattenMarkdownArtifacts(std::u16string_view text);

}  // namespace velquor::text
