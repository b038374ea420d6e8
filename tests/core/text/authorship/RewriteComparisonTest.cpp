#include "tests/core/text/style/StyleTestSupport.h"

#include "core/text/TextSanitizer.h"
#include "core/text/authorship/RewriteAnchors.h"
#include "core/text/authorship/RewriteTokenDiff.h"
#include "core/text/authorship/RewriteWarnings.h"
#include "core/text/base/Utf.h"
#include "core/text/regex/Regex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velquor::text {
namespace {

using style_test::plainWords;
using style_test::textAt;
using Strings = std::vector<std::u16string>;

RewriteComparisonReport compared(std::u16string_view original, std::u16string_view rewritten) {
    auto report = TextSanitizer().compareRewrite(original, rewritten);
    EXPECT_TRUE(report.timedOutScans.empty());
    return report;
}

const RewriteAnchorChange* changeIn(const RewriteComparisonReport& report, std::u16string_view category) {
    for (const auto& change : report.anchorChanges) {
        if (change.category == category) return &change;
    }
    return nullptr;
}

struct AnchorCase {
    std::u16string original;
    std::u16string rewritten;
    std::u16string_view category;
    Strings removed;
    Strings added;
};

TEST(RewriteComparisonTest, AnchorsLostAndGainedPerCategory) {
    const std::vector<AnchorCase> cases = {
        // A single capitalized word is not a name.
        {u"Ada Lovelace wrote it.", u"Lovelace wrote it.", u"Names", {u"Ada Lovelace"}, {}},
        {u"We met Grace Brewster Murray Hopper Jr today.",
         u"We met Grace Hopper today.",
         u"Names",
         {u"Grace Brewster Murray Hopper"},
         {u"Grace Hopper"}},
        {u"Due 2024-03-01 or 1/2/24.", u"Due 2024-03-02 or 1/2/24.", u"Dates", {u"2024-03-01"}, {u"2024-03-02"}},
        {u"Rose 3.5% in 1999.", u"Rose 3,5% in 1999.", u"Numbers", {u"3.5%"}, {u"3,5%"}},
        {u"Read https://a.example/x.",
         u"Read https://a.example/y",
         u"URLs",
         {u"https://a.example/x"},
         {u"https://a.example/y"}},
        {u"She said \u201Cnever again\u201D.",
         u"She said \u201Cnot again\u201D.",
         u"Quotations",
         {u"\u201Cnever again\u201D"},
         {u"\u201Cnot again\u201D"}},
        {u"As shown [1, 2] and (Smith et al., 2020).",
         u"As shown [1] and (Smith, 2020).",
         u"Citations",
         {u"(Smith et al., 2020)", u"[1, 2]"},
         {u"(Smith, 2020)", u"[1]"}},
        {u"See doi:10.1000/xyz123 now.", u"See it now.", u"Citations", {u"doi:10.1000/xyz123"}, {}},
    };
    for (const auto& [original, rewritten, category, removed, added] : cases) {
        SCOPED_TRACE(encodeUtf8(original));
        const auto report = compared(original, rewritten);
        const auto* change = changeIn(report, category);
        ASSERT_NE(change, nullptr);
        EXPECT_EQ(change->id, category);
        EXPECT_EQ(change->removed, removed);
        EXPECT_EQ(change->added, added);
    }
}

TEST(RewriteComparisonTest, SameAnchorsInOtherPositionsOrCountsAreNoChange) {
    const std::pair<std::u16string_view, std::u16string_view> unchanged[] = {
        {u"Visit https://a.example/x.", u"(see https://a.example/x)"},  // punctuation around a link
        {u"We sold 12 units.", u"Units: 12, and again 12."},
        {u"Ada Lovelace and Alan Turing", u"Alan Turing and Ada Lovelace"},
    };
    for (const auto& [original, rewritten] : unchanged) {
        EXPECT_TRUE(compared(original, rewritten).anchorChanges.empty()) << encodeUtf8(rewritten);
    }
}

TEST(RewriteComparisonTest, AnchorCategoriesKeepTheirOrder) {
    const auto report = compared(u"Ada Lovelace, 1943, 42 https://a.example", u"");
    Strings categories;
    for (const auto& change : report.anchorChanges) categories.push_back(change.category);
    EXPECT_EQ(categories, (Strings{u"Names", u"Dates", u"Numbers", u"URLs"}));
}

struct LengthCase {
    std::size_t originalWords;
    std::size_t rewrittenWords;
    std::u16string warning;  // empty: none
};

TEST(RewriteComparisonTest, LengthWarningsTruncateThePercentage) {
    const std::vector<LengthCase> cases = {
        {200, 310, u"The rewrite is 55% longer; check for invented detail or scope expansion."},
        {200, 300, u""},  // exactly 1.5
        {200, 301, u"The rewrite is 50% longer; check for invented detail or scope expansion."},
        {200, 130, u""},  // exactly 0.65
        {200, 129, u"The rewrite is 35% shorter; check for lost qualifications or examples."},
        {3, 1, u"The rewrite is 66% shorter; check for lost qualifications or examples."},
        {100, 229, u"The rewrite is 129% longer; check for invented detail or scope expansion."},
        {0, 500, u""},
    };
    for (const auto& [originalWords, rewrittenWords, warning] : cases) {
        const auto report = compared(plainWords(originalWords), plainWords(rewrittenWords));
        EXPECT_EQ(report.originalWordCount, static_cast<std::int64_t>(originalWords));
        EXPECT_EQ(report.rewrittenWordCount, static_cast<std::int64_t>(rewrittenWords));
        EXPECT_EQ(report.warnings, warning.empty() ? Strings{} : Strings{warning})
            << originalWords << " -> " << rewrittenWords;
    }
}

TEST(RewriteComparisonTest, ParagraphAndNegationWarnings) {
    EXPECT_TRUE(compared(u"One paragraph.", u"Still one paragraph.").warnings.empty());
    EXPECT_EQ(compared(u"One.\n\nTwo.\n\nThree.", u"One.\n\nTwo and three.").warnings,
              Strings{u"Paragraph count fell from 3 to 2; check for omitted material."});
    EXPECT_EQ(compared(u"The claim is not true.", u"The claim is true.").warnings,
              Strings{u"Negation markers changed from 1 to 0; verify that claims did not reverse."});
    // Whole words only, in any case; "nothing" and "note" are not negations.
    EXPECT_TRUE(compared(u"Note nothing. It isn't so.", u"NOTE NOTHING. IT ISN'T SO.").warnings.empty());
}

TEST(RewriteComparisonTest, AnEmptyRewriteWarnsInRuleOrder) {
    const auto report = compared(u"First part is not here.\n\nSecond part.", u" \n ");
    EXPECT_EQ(report.warnings, (Strings{u"The rewritten text is empty.",
                                        u"Paragraph count fell from 2 to 0; check for omitted material.",
                                        u"The rewrite is 100% shorter; check for lost qualifications or examples.",
                                        u"Negation markers changed from 1 to 0; verify that claims did not reverse."}));
    EXPECT_TRUE(report.hasConcerns());
}

TEST(RewriteComparisonTest, ParagraphsAreSeparatedByBlankLinesOfSpacesAndTabs) {
    const std::pair<std::u16string_view, std::int64_t> cases[] = {
        {u"", 0},
        {u" \n\n \n", 0},
        {u"a", 1},
        {u"a\nb", 1},
        {u"a\n\nb", 2},
        {u"a\n \t\n  \nb", 2},
        {u"a\n\n\n\nb\n\n", 2},
        {u"a\n \n b", 2},
        {u"---\n\n***", 2},
        {u"a\r\n\r\nb", 1},
    };
    for (const auto& [text, paragraphs] : cases) EXPECT_EQ(paragraphCount(text), paragraphs) << encodeUtf8(text);
}

// Collapsing breaks with the expression and splitting at double line feeds, as the rule reads.
std::int64_t paragraphsByRule(std::u16string_view text) {
    const auto collapsed = Regex::compile(u"\n[ \t]*\n+")->replaceAll(text, u"\n\n").text;
    std::int64_t count = 0;
    for (std::size_t start = 0;;) {
        const auto end = collapsed.find(u"\n\n", start);
        const auto piece =
            std::u16string_view(collapsed).substr(start, end == std::u16string::npos ? end : end - start);
        if (piece.find_first_not_of(u" \t\n\r\u00A0") != std::u16string_view::npos) ++count;
        if (end == std::u16string::npos) return count;
        start = end + 2;
    }
}

TEST(RewriteComparisonTest, ParagraphCountAgreesWithTheRuleOnRandomText) {
    std::mt19937 random(17);
    const std::u16string_view pieces[] = {u"a", u" ", u"\t", u"\n", u"\n\n", u"\r", u"\u00A0", u"b c"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        ASSERT_EQ(paragraphCount(text), paragraphsByRule(text)) << encodeUtf8(text);
    }
}

TEST(RewriteComparisonTest, CitationListsAreScannedLikeTheirRule) {
    const auto& citations = anchorCategories().back();
    ASSERT_EQ(citations.category, u"Citations");
    const auto rule = Regex::compile(citations.rule.pattern, {.caseInsensitive = true});
    const CompiledPatternRule scanned(citations.rule, {.caseInsensitive = true});
    ASSERT_TRUE(rule.has_value());
    std::mt19937 random(29);
    const std::u16string_view pieces[] = {u"[",       u"]",     u"1",    u"23",        u" ",     u",",
                                          u";",       u"-",     u"x",    u"(",         u")",     u"Lee",
                                          u" et al.", u" 2021", u"doi:", u"10.1234/a", u"\u0663"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 14);
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        const auto expected = rule->allMatches(text);
        const auto actual = scanned.allMatches(text);
        ASSERT_TRUE(expected.complete && actual.complete);
        ASSERT_EQ(actual.matches, expected.matches) << encodeUtf8(text);
    }
    // An unclosed list of numbers makes the rule's nested repetition backtrack exponentially.
    std::u16string unclosed = u"[";
    for (int i = 0; i < 2000; ++i) unclosed += u"12 34 ";
    EXPECT_TRUE(scanned.allMatches(unclosed).complete);
}

std::vector<TextLocation> tokensByPattern(std::u16string_view text) {
    static const auto pattern = Regex::compile(rewriteTokenPattern);
    std::vector<TextLocation> tokens;
    for (const auto& match : pattern->allMatches(text).matches) tokens.push_back(match.range);
    return tokens;
}

TEST(RewriteComparisonTest, TokensAreThePatternsMatchesForEveryCodePoint) {
    // Each code point between two letters and two spaces, so that runs must join or break.
    for (char32_t scalar = 0; scalar <= 0x10FFFF; ++scalar) {
        std::u16string text = u"ab";
        appendScalar(text, scalar);
        text += u"  ";
        appendScalar(text, scalar);
        ASSERT_EQ(rewriteTokens(text), tokensByPattern(text)) << std::hex << static_cast<std::uint32_t>(scalar);
    }
    std::mt19937 random(31);
    const std::u16string_view pieces[] = {u"a",          u"\u0301", u"7",      u"\u0663", u"_", u" ",
                                          u"\n",         u"\r\n",   u"\u2028", u"\u00A0", u".", u"-",
                                          u"\U0001F600", u"\xD800", u"\xDC00", u"\u200B"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(0, 20);
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        ASSERT_EQ(rewriteTokens(text), tokensByPattern(text)) << encodeUtf8(text);
    }
}

TEST(RewriteComparisonTest, WordDiffLocatesChangedTokensInUtf16) {
    const std::u16string original = u"\U0001F600 The cat sat.";
    const std::u16string rewritten = u"\U0001F600 The black dog sat.";
    const auto diff = compared(original, rewritten).textDiff;
    ASSERT_EQ(diff.removed.size(), 1U);
    EXPECT_EQ(textAt(original, diff.removed[0]), u"cat");
    EXPECT_EQ(diff.removed[0].utf16Location, 7);
    // Which of the two spaces counts as new is the script's choice; either is as short.
    Strings added;
    for (const auto& location : diff.added) added.push_back(textAt(rewritten, location));
    std::sort(added.begin(), added.end());
    EXPECT_EQ(added, (Strings{u" ", u"black", u"dog"}));
}

TEST(RewriteComparisonTest, IdenticalTextsDependOnTheRewritesOwnFindings) {
    const auto clean = compared(u"Plain words here.", u"Plain words here.");
    EXPECT_TRUE(clean.anchorChanges.empty());
    EXPECT_TRUE(clean.warnings.empty());
    EXPECT_EQ(clean.textDiff, RewriteTextDiff{});
    EXPECT_FALSE(clean.hasConcerns());

    const auto hidden = compared(u"Plain\u200B words.", u"Plain\u200B words.");
    EXPECT_TRUE(hidden.anchorChanges.empty() && hidden.warnings.empty());
    EXPECT_TRUE(hidden.hasConcerns());
    EXPECT_EQ(hidden.hygieneCleanup.text, u"Plain words.");
    EXPECT_EQ(hidden.hygieneCleanup.summary.removedFormatControls, 1);

    const auto secret = compared(u"Host 10.0.0.15", u"Host 10.0.0.15");
    EXPECT_TRUE(secret.hasConcerns());
    EXPECT_EQ(secret.rewrittenText, u"Host 10.0.0.15");
    EXPECT_EQ(secret.rewrittenReport.privacyReport.findings.size(), 1U);
}

}  // namespace
}  // namespace velquor::text
