#include "core/text/authorship/RewriteAnchors.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <set>

namespace velquor::text {

namespace {

constexpr std::array<AnchorCategory, 6> categories{{
    {u"Names", {uR"(\b[A-ZÆØÅ][\p{L}'’-]+(?:\s+[A-ZÆØÅ][\p{L}'’-]+){1,3}\b)"}, false, false},
    {u"Dates", {uR"(\b(?:\d{4}-\d{2}-\d{2}|\d{1,2}[./-]\d{1,2}[./-]\d{2,4}|(?:19|20)\d{2})\b)"}, false, false},
    {u"Numbers", {uR"((?<![\d./-])\d+(?:[.,]\d+)*%?(?![\d./-]))"}, false, false},
    {u"URLs", {uR"(https?://[^\s<>\"']+)"}, true, true},
    {u"Quotations", {uR"(“[^”\n]+”|‘[^’\n]+’|"[^"\n]+")"}, false, false},
    // A bracketed list is a digit followed by digits and separators; the rule's nested repetition
    // says the same but backtracks exponentially on an unclosed "[12 34 56 ...".
    {u"Citations",
     {uR"(\[(?:\d+[ ,;-]*)+\]|\([A-Z][\p{L}'’-]+(?:\s+et\s+al\.)?,?\s+(?:19|20)\d{2}[a-z]?\)|\bdoi:\s*10\.\d{4,9}/\S+)",
      uR"(\[\d[\d ,;-]*\]|\([A-Z][\p{L}'’-]+(?:\s+et\s+al\.)?,?\s+(?:19|20)\d{2}[a-z]?\)|\bdoi:\s*10\.\d{4,9}/\S+)"},
     true,
     false},
}};

const std::vector<CompiledPatternRule>& compiledCategories() {
    static const std::vector<CompiledPatternRule> compiled = [] {
        std::vector<CompiledPatternRule> rules;
        for (const auto& category : categories)
            rules.emplace_back(category.rule, RegexOptions{.caseInsensitive = category.caseInsensitive});
        return rules;
    }();
    return compiled;
}

bool isLinkPunctuation(char16_t unit) {
    return unit == u'.' || unit == u',' || unit == u')' || unit == u';' || unit == u']';
}

std::u16string_view withoutLinkPunctuation(std::u16string_view link) {
    while (!link.empty() && isLinkPunctuation(link.front())) link.remove_prefix(1);
    while (!link.empty() && isLinkPunctuation(link.back())) link.remove_suffix(1);
    return link;
}

struct AnchorSet {
    std::set<std::u16string> anchors;
    bool complete = true;
};

AnchorSet anchorsIn(std::u16string_view text, const AnchorCategory& category, const CompiledPatternRule& rule) {
    const auto scan = rule.allMatches(text);
    AnchorSet found;
    found.complete = scan.complete;
    for (const auto& match : scan.matches) {
        auto anchor = text.substr(static_cast<std::size_t>(match.range.utf16Location),
                                  static_cast<std::size_t>(match.range.utf16Length));
        if (category.trimsLinkPunctuation) anchor = withoutLinkPunctuation(anchor);
        found.anchors.emplace(anchor);
    }
    return found;
}

std::vector<std::u16string> onlyInFirst(const std::set<std::u16string>& first, const std::set<std::u16string>& second) {
    std::vector<std::u16string> difference;
    std::set_difference(first.begin(), first.end(), second.begin(), second.end(), std::back_inserter(difference));
    return difference;
}

}  // namespace

std::span<const AnchorCategory> anchorCategories() { return categories; }

AnchorComparison compareAnchors(std::u16string_view original, std::u16string_view rewritten) {
    AnchorComparison comparison;
    for (std::size_t i = 0; i < categories.size(); ++i) {
        const auto& category = categories[i];
        const auto& rule = compiledCategories()[i];
        const auto before = anchorsIn(original, category, rule);
        const auto after = anchorsIn(rewritten, category, rule);
        if (!before.complete || !after.complete) {
            comparison.timedOutScans.push_back(u"Comparison: " + std::u16string(category.category));
        }
        auto removed = onlyInFirst(before.anchors, after.anchors);
        auto added = onlyInFirst(after.anchors, before.anchors);
        if (removed.empty() && added.empty()) continue;
        comparison.changes.emplace_back(std::u16string(category.category), std::move(removed), std::move(added));
    }
    return comparison;
}

}  // namespace velquor::text
