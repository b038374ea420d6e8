// The style pass replaces several ICU scans with faster equivalents: a hand-written word scan, one
// automaton for every literal, and scans attempted only where a match can start. Each is held
// here to the plain ICU scan it stands for, over every code point where that is possible and over
// generated text elsewhere.
#include "core/text/base/Ascii.h"
#include "core/text/base/Utf.h"
#include "core/text/regex/Regex.h"
#include "core/text/style/StyleLiterals.h"
#include "core/text/style/StyleMatching.h"
#include "core/text/style/StylePatterns.h"
#include "core/text/style/StylePhraseLists.h"
#include "core/text/style/StylePhraseScanner.h"
#include "core/text/style/StyleText.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace velquor::text {
namespace {

constexpr char32_t lastScalar = 0x10FFFF;

// Every code point, each followed by U+0001, which no class under test contains.
std::u16string everyCodePoint() {
    std::u16string text;
    text.reserve(3 * (lastScalar + 1));
    for (char32_t scalar = 1; scalar <= lastScalar; ++scalar) {
        appendScalar(text, scalar);  // a surrogate code point stays a lone surrogate, as ICU sees it
        text.push_back(u'\u0001');
    }
    return text;
}

std::set<char32_t> scalarsMatchedByIcu(std::u16string_view text, std::u16string_view pattern) {
    std::set<char32_t> matched;
    const auto regex = caseInsensitivePattern(pattern);
    const auto scan = regex->allMatches(text);
    EXPECT_TRUE(scan.complete);
    for (const auto& match : scan.matches) {
        matched.insert(scalarAt(text, static_cast<std::size_t>(match.range.utf16Location)).scalar);
    }
    return matched;
}

template <class Predicate>
std::set<char32_t> scalarsAccepted(Predicate accepts) {
    std::set<char32_t> accepted;
    for (char32_t scalar = 1; scalar <= lastScalar; ++scalar) {
        if (accepts(scalar)) accepted.insert(scalar);
    }
    return accepted;
}

TEST(StyleScanEquivalenceTest, WordClassesAreIcusCaseInsensitiveClassesForEveryCodePoint) {
    const auto text = everyCodePoint();
    EXPECT_EQ(scalarsAccepted(startsStyleWord), scalarsMatchedByIcu(text, u"[A-Za-zÀ-ÖØ-öø-ÿ]"));
    EXPECT_EQ(scalarsAccepted(continuesStyleWord), scalarsMatchedByIcu(text, u"[A-Za-zÀ-ÖØ-öø-ÿ'’-]"));
    const auto asciiLetters = scalarsAccepted(isCaseInsensitiveAsciiLetter);
    EXPECT_EQ(asciiLetters, scalarsMatchedByIcu(text, u"[A-Za-z]"));
    EXPECT_TRUE(asciiLetters.contains(0x017F));
    EXPECT_TRUE(asciiLetters.contains(0x212A));
}

TEST(StyleScanEquivalenceTest, WordScanFindsTheWordPatternsMatches) {
    const std::vector<std::u16string> pool = {
        u"word",   u"W",      u"'",          u"\u2019", u"-",       u"--",     u" ",
        u"\n",     u"\u00E9", u"\u00D7",     u"\u00F7", u"\u017F",  u"\u212A", u"\u1E9E",
        u"\u0178", u"\u0444", u"\U0001D400", u"7",      u"e\u0301", u"\xD800", u"\xDC00",
    };
    const auto regex = caseInsensitivePattern(styleWordPattern);
    std::mt19937 random(11);
    for (int round = 0; round < 500; ++round) {
        std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
        std::u16string text;
        for (int i = 0; i < 30; ++i) text += pool[pick(random)];
        std::vector<TextLocation> words;
        forEachStyleWord(text, [&](TextLocation word) { words.push_back(word); });
        std::vector<TextLocation> icu;
        for (const auto& match : regex->allMatches(text).matches) icu.push_back(match.range);
        ASSERT_EQ(words, icu) << encodeUtf8(text);
        ASSERT_EQ(styleWordCount(text), static_cast<std::int64_t>(icu.size()));
    }
}

TEST(StyleScanEquivalenceTest, AsciiBearingFoldingsAreEveryScalarWhoseFoldingHoldsAscii) {
    for (char32_t scalar = 0x80; scalar <= lastScalar; ++scalar) {
        if (isSurrogate(scalar)) continue;
        std::u16string source;
        appendScalar(source, scalar);
        char16_t folded[8] = {};
        UErrorCode status = U_ZERO_ERROR;
        const auto length = u_strFoldCase(folded, 8, source.data(), static_cast<std::int32_t>(source.size()),
                                          U_FOLD_CASE_DEFAULT, &status);
        ASSERT_TRUE(U_SUCCESS(status));
        const std::u16string_view folding(folded, static_cast<std::size_t>(length));
        const bool holdsAscii = std::any_of(folding.begin(), folding.end(), isAscii);
        const auto* known = asciiBearingFolding(scalar);
        ASSERT_EQ(known != nullptr, holdsAscii) << std::hex << static_cast<std::uint32_t>(scalar);
        if (known) {
            EXPECT_EQ(*known, folding);
        }
    }
    EXPECT_EQ(*asciiBearingFolding(0xDF), u"ss");
    EXPECT_EQ(*asciiBearingFolding(0xFB01), u"fi");
}

// Random text from fragments: the literals themselves in several cases, pieces of them, their
// near misses and the scalars whose case folding reaches ASCII.
std::u16string randomText(std::mt19937& random, const std::vector<std::u16string>& pool, std::size_t fragments) {
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::u16string text;
    for (std::size_t i = 0; i < fragments; ++i) text += pool[pick(random)];
    return text;
}

std::vector<std::u16string> allStyleLiterals() {
    std::vector<std::u16string> literals;
    const auto add = [&](std::u16string_view literal) {
        if (std::find(literals.begin(), literals.end(), literal) == literals.end()) literals.emplace_back(literal);
    };
    for (const auto& list : stylePhraseLists()) {
        for (const auto phrase : list.phrases) add(phrase);
    }
    for (const auto phrase : structuralBoilerplatePhrases()) add(phrase);
    for (const auto* pattern : allStylePatterns()) {
        for (const auto anchor : pattern->anchors) add(anchor);
    }
    return literals;
}

std::u16string upperCased(std::u16string_view text) {
    std::u16string upper(text);
    for (auto& unit : upper) {
        if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - (u'a' - u'A'));
    }
    return upper;
}

std::vector<std::u16string> literalFragments() {
    std::vector<std::u16string> pool = {
        u" ",      u"\n",     u"'",      u"\u2019", u"-",          u"s",      u"t",       u"ss",
        u"st",     u"fi",     u"k",      u"\u00DF", u"\u1E9E",     u"\u017F", u"\u212A",  u"\uFB01",
        u"\uFB05", u"\uFB06", u"\u0130", u"\u0149", u"\U0001F600", u"\u00E9", u"e\u0301", u"\u043E",
    };
    for (const auto& literal : allStyleLiterals()) {
        pool.push_back(literal);
        pool.push_back(upperCased(literal));
        pool.push_back(literal.substr(0, literal.size() / 2));
        pool.push_back(literal.substr(literal.size() / 2));
    }
    return pool;
}

void expectScannerMatchesIcu(std::u16string_view text, const std::vector<std::u16string>& literals) {
    const StyleLiteralOccurrences occurrences(text);
    for (const auto& literal : literals) {
        const auto icu = literalMatchLocations(text, literal);
        ASSERT_TRUE(icu.complete);
        ASSERT_EQ(nonOverlapping(occurrences.of(literal)), icu.locations)
            << "literal \"" << encodeUtf8(literal) << "\" in \"" << encodeUtf8(text) << "\"";
    }
}

TEST(StyleScanEquivalenceTest, LiteralAutomatonFindsWhatIcuFindsForEachLiteral) {
    const auto literals = allStyleLiterals();
    const auto pool = literalFragments();
    std::mt19937 random(20260807);
    for (int round = 0; round < 300; ++round) expectScannerMatchesIcu(randomText(random, pool, 40), literals);
}

// Each scalar whose folding holds ASCII, put in place of that folding inside every literal that
// contains it: at the start, in the middle and at the end of a match.
TEST(StyleScanEquivalenceTest, LiteralAutomatonFoldsLikeIcuInsideEveryLiteral) {
    const auto literals = allStyleLiterals();
    std::vector<std::pair<char32_t, std::u16string>> foldings;
    for (char32_t scalar = 0x80; scalar <= 0xFFFF; ++scalar) {
        if (const auto* folding = asciiBearingFolding(scalar)) foldings.emplace_back(scalar, *folding);
    }
    ASSERT_GT(foldings.size(), 10u);
    for (const auto& literal : literals) {
        for (const auto& [scalar, folding] : foldings) {
            for (auto at = literal.find(folding); at != std::u16string::npos; at = literal.find(folding, at + 1)) {
                std::u16string spelled = literal.substr(0, at);
                appendScalar(spelled, scalar);
                spelled += literal.substr(at + folding.size());
                expectScannerMatchesIcu(u"x " + spelled + u" " + spelled + spelled + u".", literals);
            }
        }
    }
}

// Fragments for the patterns with a scan formulation of their own.
const std::vector<std::u16string> patternFragments = {
    u" ",
    u"  ",
    u"\n",
    u"\n\n",
    u"\r\n",
    u"\t",
    u"\u2028",
    u"\u0085",
    u"\u000B",
    u"x",
    u"Word",
    u"\u017F",
    u"\u212A",
    u"\u00C6r\u00F8",
    u"\u00D8st",
    u"Oslo",
    u"abc",
    u"\U0001F600",
    u"\u00E9",
    u".",
    u",",
    u"!",
    u"?",
    u":",
    u";",
    u"*",
    u"**",
    u"#",
    u"## ",
    u"- ",
    u"-",
    u"|",
    u"| a |",
    u"[",
    u"]",
    u"(",
    u")",
    u"[a](b)",
    u"](",
    u"`",
    u"'",
    u"\u2014",
    u"while",
    u"WHILE",
    u"although",
    u"on one hand",
    u"to be fair",
    u"it's also",
    u"its also",
    u"however",
    u"studies suggest",
    u"Studies Suggest",
    u"according to a study",
    u"according to some report",
    u"experts say",
    u"therefore",
    u"must",
    u"I recommend",
    u"not just",
    u"isn't just",
    u"isnt just",
    u"more than just",
    u"not about",
    u"it's",
    u"its",
    u"robust",
    u"fast",
    u"and",
    u" and ",
    u"red",
    u"1999",
    u"2020",
    u"Smith",
    u"et al",
    u"http://x.y",
    u"doi.org/1",
    u"10.1234/abc",
    u"Additionally",
    u"**In conclusion",
    u"furthermore",
    u"Ultimately",
    u"that being said",
    u"moreover",
};

RegexScan plainScan(const StylePattern& pattern, std::u16string_view text) {
    return Regex::compile(pattern.rule.pattern, {.caseInsensitive = pattern.caseInsensitive})->allMatches(text);
}

MatchDetails formulatedScan(const StylePattern& pattern, std::u16string_view text) {
    const CompiledStylePattern compiled(pattern);
    if (pattern.anchors.empty()) return compiled.matchDetails(text);
    return compiled.matchDetails(text, StyleLiteralOccurrences(text).startsOf(pattern.anchors));
}

std::vector<TextLocation> locationsOf(const MatchDetails& details) {
    std::vector<TextLocation> locations;
    for (const auto& match : details.matches) locations.push_back(match.location);
    return locations;
}

std::vector<TextLocation> locationsOf(const RegexScan& scan) {
    std::vector<TextLocation> locations;
    for (const auto& match : scan.matches) locations.push_back(match.range);
    return locations;
}

TEST(StyleScanEquivalenceTest, EveryScanFormulationFindsTheRulesMatches) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const auto text = randomText(random, patternFragments, 60);
        for (const auto* pattern : allStylePatterns()) {
            const auto plain = plainScan(*pattern, text);
            const auto formulated = formulatedScan(*pattern, text);
            ASSERT_TRUE(plain.complete && formulated.complete);
            ASSERT_EQ(locationsOf(formulated), locationsOf(plain))
                << encodeUtf8(pattern->rule.pattern) << " in \"" << encodeUtf8(text) << "\"";
        }
    }
}

// The shapes that make these patterns backtrack: the formulations finish them within their
// budget, with the rule's matches where the rule's own scan finishes too.
TEST(StyleScanEquivalenceTest, WorstCaseShapesFinishWithTheRulesMatches) {
    std::u16string longLine;
    while (longLine.size() < (1u << 20)) longLine += u"aGVsbG8gd29ybGQ/*[|";
    std::u16string capitalized = u"A" + std::u16string(1u << 20, u'a');
    std::u16string openLinks;
    while (openLinks.size() < 200'000) openLinks += u"[a](b [c](d ";
    const std::u16string shapes[] = {
        longLine,  std::u16string(80u << 10, u'\n'), std::u16string(80u << 10, u' ') + u"\n|", capitalized,
        openLinks, std::u16string(100'000, u'['),
    };
    for (const auto& text : shapes) {
        for (const auto* pattern : allStylePatterns()) {
            const auto formulated = formulatedScan(*pattern, text);
            EXPECT_TRUE(formulated.complete) << encodeUtf8(pattern->rule.pattern);
            const auto plain = plainScan(*pattern, text);
            if (plain.complete) {
                EXPECT_EQ(locationsOf(formulated), locationsOf(plain)) << encodeUtf8(pattern->rule.pattern);
            }
        }
    }
}

}  // namespace
}  // namespace velquor::text
