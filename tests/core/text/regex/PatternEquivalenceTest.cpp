// The fast forms of fixed rules (stack-safe patterns, pruned scans, hand-written matchers, the
// ASCII shortcut of the character breaks) against the rules themselves, on random text built
// from the pieces each rule is sensitive to.
#include "core/text/base/GraphemeClusters.h"
#include "core/text/base/IcuText.h"
#include "core/text/base/Utf.h"
#include "core/text/base/Whitespace.h"
#include "core/text/cleaning/MarkdownFlattening.h"
#include "core/text/cleaning/ParagraphUnwrapping.h"
#include "core/text/cleaning/WhitespaceNormalization.h"
#include "core/text/privacy/PrivacyCatalogue.h"
#include "core/text/regex/PatternRule.h"
#include "core/text/review/ChangeReviewPatterns.h"

#include <gtest/gtest.h>

#include <unicode/brkiter.h>
#include <unicode/locid.h>

#include <memory>
#include <random>

namespace velquor::text {
namespace {

const std::vector<std::u16string_view> markdownPieces = {
    u"a",      u"b",
    u" ",      u"\t",
    u"\n",     u"\r",
    u"\r\n",   u"\u2028",
    u"\u0085", u"\u000B",
    u"\u00A0", u"\u180E",
    u"[",      u"]",
    u"(",      u")",
    u"!",      u"\"",
    u"*",      u"**",
    u"_",      u"__",
    u"~~",     u"`",
    u"```",    u"#",
    u"## ",    u">",
    u"-",      u"---",
    u"|",      u"1",
    u"\u0661", u".",
    u"+",      u"\U0001F600",
    u"[t](u)", u"[t](u \"x\")",
    u"](",     u"x\"",
};

std::u16string randomText(std::mt19937& random, const std::vector<std::u16string_view>& pieces, std::size_t maxPieces) {
    std::uniform_int_distribution<std::size_t> length(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::u16string text;
    for (auto n = length(random); n > 0; --n) text += pieces[pick(random)];
    return text;
}

void expectSameMatches(const PatternRule& rule, RegexOptions options, const std::vector<std::u16string>& texts) {
    const auto plain = Regex::compile(rule.pattern, options);
    ASSERT_TRUE(plain.has_value()) << "the rule compiles";
    const CompiledPatternRule scanned(rule, options);
    for (const auto& text : texts) {
        const auto expected = plain->allMatches(text);
        const auto actual = scanned.allMatches(text);
        ASSERT_TRUE(expected.complete && actual.complete);
        ASSERT_EQ(actual.matches, expected.matches) << std::string(rule.pattern.begin(), rule.pattern.end());
    }
}

std::vector<std::u16string> randomTexts(const std::vector<std::u16string_view>& pieces, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::u16string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(randomText(random, pieces, 30));
    return texts;
}

// Pieces of every privacy rule's material in several cases, near misses, and characters whose
// case folding reaches ASCII letters (the Kelvin sign, the long s, the ff ligature).
const std::vector<std::u16string_view> privacyPieces = {
    u"AKIA",
    u"akia",
    u"AsIa",
    u"IOSFODNN7EXAMPLE",
    u"sk-",
    u"SK-",
    u"abcdefghij0123456789",
    u"eyJ",
    u"EYJ",
    u"hbGciOiJ",
    u".",
    u"-----BEGIN ",
    u"RSA ",
    u"PRIVATE KEY-----",
    u"DB_HOST",
    u"=",
    u" ",
    u"\n",
    u"10.",
    u"172.",
    u"16.",
    u"192.168.",
    u"1",
    u"255",
    u"build",
    u".corp",
    u".LOCAL",
    u".lan",
    u".intranet",
    u".internal",
    u"https://",
    u"http://",
    u"x.io/?",
    u"utm_source=",
    u"&ref=",
    u"a",
    u"\u212A",
    u"\u017F",
    u"\uFB00",
    u"\u0130",
};

TEST(PatternEquivalenceTest, PrivacyRulesFindWhatTheirPatternsFind) {
    const auto texts = randomTexts(privacyPieces, 4'000, 23);
    for (const auto& row : privacyCatalogue()) {
        const RegexOptions options{.caseInsensitive = true};
        const auto plain = Regex::compile(row.rule.pattern, options);
        ASSERT_TRUE(plain.has_value());
        const CompiledPatternRule scanned(row.rule, options, row.requiredPart);
        std::size_t matched = 0;
        for (const auto& text : texts) {
            const auto expected = plain->allMatches(text);
            matched += expected.matches.size();
            ASSERT_EQ(scanned.allMatches(text).matches, expected.matches)
                << std::string(row.label.begin(), row.label.end());
        }
        EXPECT_GT(matched, 0u) << "the texts exercise " << std::string(row.label.begin(), row.label.end());
    }
}

TEST(PatternEquivalenceTest, MarkdownRewritesFindWhatTheirRulesFind) {
    const auto texts = randomTexts(markdownPieces, 4000, 11);
    for (const auto& rewrite : markdownRewrites()) {
        if (!rewrite.scanner) {
            expectSameMatches(rewrite.rule, {}, texts);
            continue;
        }
        const auto rule = Regex::compile(rewrite.rule.pattern);
        ASSERT_TRUE(rule.has_value());
        for (const auto& text : texts) ASSERT_EQ(rewrite.scanner(text), rule->allMatches(text).matches);
    }
}

TEST(PatternEquivalenceTest, ReviewPatternsFindWhatTheirRulesFind) {
    const auto& patterns = changeReviewPatterns();
    const RegexOptions caseInsensitive{.caseInsensitive = true};
    const auto markdown = randomTexts(markdownPieces, 4000, 12);
    expectSameMatches(patterns.whitespaceRuns, caseInsensitive, markdown);
    for (const auto& rule : patterns.markdown) expectSameMatches(rule, caseInsensitive, markdown);
    const std::vector<std::u16string_view> urlPieces = {
        u"http://", u"HTTPS://", u"a", u"?",  u"&", u"utm_source=", u"UTM_x=", u"ref=", u"ref_src=",
        u"fbclid=", u"=",        u"<", u"\"", u"'", u" ",           u"\n",     u"/",    u"\u017F"};
    expectSameMatches(patterns.trackingUrl, caseInsensitive, randomTexts(urlPieces, 4000, 13));
}

TEST(PatternEquivalenceTest, StructuralLineMatcherAgreesWithItsPattern) {
    const auto pattern = Regex::compile(structuralLinePattern);
    ASSERT_TRUE(pattern.has_value());
    const std::vector<std::u16string_view> pieces = {u"-",      u"*",      u"+",      u"_",      u" ",  u"1",  u"23",
                                                     u"\u0663", u"\uFF11", u".",      u")",      u"a",  u"\r", u"\n",
                                                     u"\r\n",   u"\u2028", u"\u0085", u"\u000C", u"\t", u"#"};
    std::mt19937 random(14);
    for (int i = 0; i < 20'000; ++i) {
        const auto line = randomText(random, pieces, 8);
        const bool expected = !pattern->allMatches(line).matches.empty();
        ASSERT_EQ(matchesStructuralLinePattern(line), expected) << i;
    }
}

// ICU's character breaks over the whole text at once, without the ASCII shortcut.
std::vector<std::int64_t> plainIcuBoundaries(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    const auto source = aliasOf(text);
    iterator->setText(source);
    std::vector<std::int64_t> boundaries;
    for (auto b = iterator->first(); b != icu::BreakIterator::DONE; b = iterator->next()) boundaries.push_back(b);
    return boundaries;
}

const std::vector<std::u16string_view> clusterPieces = {
    u"a",          u" ",
    u"\r",         u"\n",
    u"\r\n",       u"\t",
    u"\u0301",     u"\u0903",
    u"\u0600",     u"\u200D",
    u"\U0001F468", u"\U0001F3FD",
    u"\U0001F1E9", u"\U0001F1F0",
    u"\u1100",     u"\u1161",
    u"\u11A8",     u"\uAC00",
    u"\uFE0F",     u"\U000E0067",
    u"\u0915",     u"\u094D",
    u"#",          u"\u20E3",
    u"\u00A0",     std::u16string_view(u"\xD800", 1),
};

TEST(PatternEquivalenceTest, CharacterBreaksAgreeWithIcuOverTheWholeText) {
    std::mt19937 random(15);
    for (int i = 0; i < 20'000; ++i) {
        const auto text = randomText(random, clusterPieces, 20);
        const auto expected = text.empty() ? std::vector<std::int64_t>{0} : plainIcuBoundaries(text);
        ASSERT_EQ(graphemeClusterBoundaries(text), expected) << i;
        ASSERT_EQ(graphemeClusterCount(text), static_cast<std::int64_t>(expected.size()) - 1);
    }
}

char32_t firstScalar(std::u16string_view text) { return scalarAt(text, 0).scalar; }
char32_t lastScalar(std::u16string_view text) { return scalarBefore(text, text.size()).scalar; }

// The removed edge is white space; what is kept starts and ends with anything else.
TEST(PatternEquivalenceTest, TrimmedCharacterCountsAgreeWithCharacterBreaks) {
    const std::vector<std::u16string_view> edges = {u" ",    u"\t",     u"\n",     u"\r",
                                                    u"\r\n", u"\u3000", u"\u2028", u"\u0085"};
    std::mt19937 random(16);
    int checked = 0;
    for (int i = 0; i < 40'000; ++i) {
        const auto removed = randomText(random, edges, 3);
        const auto kept = randomText(random, clusterPieces, 3);
        if (kept.empty() || isWhitespaceOrNewline(firstScalar(kept)) || isWhitespaceOrNewline(lastScalar(kept)))
            continue;
        ++checked;
        ASSERT_EQ(charactersRemovedAtStart(removed, firstScalar(kept)),
                  graphemeClusterCount(removed + kept) - graphemeClusterCount(kept))
            << i;
        ASSERT_EQ(charactersRemovedAtEnd(lastScalar(kept), removed),
                  graphemeClusterCount(kept + removed) - graphemeClusterCount(kept))
            << i;
    }
    EXPECT_GT(checked, 10'000);
}

}  // namespace
}  // namespace velquor::text
