#include "core/text/regex/Regex.h"

#include <gtest/gtest.h>

namespace velquor::text {
namespace {

std::vector<TextLocation> rangesOf(const RegexScan& scan) {
    std::vector<TextLocation> ranges;
    for (const auto& match : scan.matches) ranges.push_back(match.range);
    return ranges;
}

std::vector<TextLocation> matchRanges(std::u16string_view pattern, std::u16string_view text,
                                      RegexOptions options = {}) {
    const auto regex = Regex::compile(pattern, options);
    if (!regex) {
        ADD_FAILURE() << "pattern does not compile";
        return {};
    }
    const auto scan = regex->allMatches(text);
    EXPECT_TRUE(scan.complete);
    return rangesOf(scan);
}

TEST(RegexTest, PatternsThatDoNotCompileYieldNothing) {
    EXPECT_FALSE(Regex::compile(u"("));
    EXPECT_FALSE(Regex::compile(u"[a-"));
    EXPECT_FALSE(Regex::compile(u"a{2,1}"));
    EXPECT_TRUE(Regex::compile(u"(?im)^\\s*x"));
}

TEST(RegexTest, RangesAreUtf16UnitsOfTheSearchedText) {
    using Ranges = std::vector<TextLocation>;
    EXPECT_EQ(matchRanges(u"abc", u"\U0001F600 abc abc"), (Ranges{{3, 3}, {7, 3}}));
    EXPECT_EQ(matchRanges(u"\\p{So}", u"a\U0001F600b"), (Ranges{{1, 2}}));
    EXPECT_EQ(matchRanges(u"x*", u"ab"), (Ranges{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(RegexTest, CaseInsensitiveMatchingFoldsLikeIcu) {
    using Ranges = std::vector<TextLocation>;
    const RegexOptions insensitive{.caseInsensitive = true};
    EXPECT_EQ(matchRanges(u"[A-Z]+", u"abc DEF", insensitive), (Ranges{{0, 3}, {4, 3}}));
    EXPECT_EQ(matchRanges(u"[A-Z]+", u"abc", {}), Ranges{});
    // Full case folding: the match is longer or shorter than the phrase.
    EXPECT_EQ(matchRanges(u"harness the power of", u"harne\u00DF the power of", insensitive), (Ranges{{0, 19}}));
    EXPECT_EQ(matchRanges(u"seamlessly", u"\u017Feamlessly", insensitive), (Ranges{{0, 10}}));
}

TEST(RegexTest, DotMatchesLineSeparatorsOnlyWhenAsked) {
    using Ranges = std::vector<TextLocation>;
    EXPECT_EQ(matchRanges(u"a.b", u"a\nb"), Ranges{});
    EXPECT_EQ(matchRanges(u"a.b", u"a\nb", {.dotMatchesLineSeparators = true}), (Ranges{{0, 3}}));
}

TEST(RegexTest, GroupsThatTookNoPartAreEmpty) {
    const auto regex = Regex::compile(u"(a)|(b)");
    ASSERT_TRUE(regex);
    const auto scan = regex->allMatches(u"xb");
    ASSERT_EQ(scan.matches.size(), 1u);
    const auto& groups = scan.matches[0].groups;
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_FALSE(groups[0]);
    EXPECT_EQ(groups[1], (TextLocation{1, 1}));
}

TEST(RegexTest, ReplaceAllExpandsGroupsAndKeepsEscapedDollars) {
    const auto regex = Regex::compile(u"(\\w+)@(\\w+)");
    ASSERT_TRUE(regex);
    EXPECT_EQ(regex->replaceAll(u"ada@example and bob@host", u"$2 at $1").text, u"example at ada and host at bob");
    EXPECT_EQ(regex->replaceAll(u"ada@example", u"\\$1").text, u"$1");
    const auto none = regex->replaceAll(u"no address", u"$1");
    EXPECT_TRUE(none.complete);
    EXPECT_EQ(none.text, u"no address");
}

TEST(RegexTest, EscapedPatternMatchesOnlyTheLiteral) {
    const std::u16string_view literals[] = {u"a.b*c(d)?", u"[x]{2}", u"back\\Eslash\\Q", u"$1 ^ |", u"\\"};
    for (const auto literal : literals) {
        const auto regex = Regex::compile(Regex::escapedPattern(literal));
        ASSERT_TRUE(regex) << testing::PrintToString(std::u16string(literal));
        const std::u16string text = u"zz" + std::u16string(literal) + u"zz";
        const auto scan = regex->allMatches(text);
        ASSERT_EQ(scan.matches.size(), 1u);
        EXPECT_EQ(scan.matches[0].range, (TextLocation{2, static_cast<std::int64_t>(literal.size())}));
    }
    EXPECT_EQ(Regex::compile(Regex::escapedPattern(u"a.b"))->allMatches(u"axb").matches.size(), 0u);
}

TEST(RegexTest, ScanThatRunsOutOfStepsSaysSoInsteadOfReportingNoMatches) {
    // Each line start re-reads every blank line after it: quadratic in an ordinary scan.
    const auto regex =
        Regex::compile(uR"((?m)^\s*[A-Z][A-Z0-9_]{2,}\s*=\s*['"]?[^'"\s#]{8,})", {.caseInsensitive = true});
    ASSERT_TRUE(regex);
    const std::u16string blankLines(80'000, u'\n');
    EXPECT_FALSE(regex->allMatches(blankLines).complete);

    const auto replaced = regex->replaceAll(blankLines, u"x");
    EXPECT_FALSE(replaced.complete);
    EXPECT_EQ(replaced.text, blankLines);
}

TEST(RegexTest, StepBudgetGrowsWithTheText) {
    EXPECT_EQ(Regex::stepLimit(0), 1000);
    EXPECT_GT(Regex::stepLimit(16'000'000), Regex::stepLimit(100'000));
    EXPECT_EQ(Regex::stepLimit(std::size_t{1} << 62), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace velquor::text
