// Long texts in the shapes that cost the most (a sentence every two characters, an address every
// few bytes, a hidden scalar every third character) give exactly what their short forms predict,
// and the walks that replaced whole-text lists agree with the scans they stand for.
#include "core/text/TextSanitizer.h"
#include "core/text/base/ParallelIndices.h"
#include "core/text/base/Whitespace.h"
#include "core/text/privacy/PrivacyCatalogue.h"
#include "core/text/regex/PatternRule.h"
#include "core/text/style/StyleMatching.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace velquor::text {
namespace {

std::u16string repeated(std::u16string_view unit, std::size_t times) {
    std::u16string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += unit;
    return text;
}

const StyleSignal* signalLabelled(const StyleReport& report, std::u16string_view label) {
    for (const auto& signal : report.signals) {
        if (signal.label == label) return &signal;
    }
    return nullptr;
}

// What the sentence pattern finds, trimmed: the located sentences must be exactly these.
std::vector<MatchDetail> sentencesByPattern(std::u16string_view text) {
    std::vector<MatchDetail> expected;
    for (const auto& match : regexMatchDetails(text, u"[^.!?]+(?:[.!?]+|$)").matches) {
        const auto trimmed = trimmedWhitespaceAndNewlines(match.text);
        if (trimmed.empty()) continue;
        const auto skipped = static_cast<std::int64_t>(trimmed.data() - match.text.data());
        expected.push_back({trimmed, {match.location.utf16Location + skipped, std::ssize(trimmed)}});
    }
    return expected;
}

TEST(LongTextShapesTest, LocatedSentencesAreWhatTheSentencePatternFinds) {
    std::vector<std::u16string> fixed = {
        u"",
        u".",
        u"...",
        u"a",
        u"a.",
        u" a . b ",
        u"One. Two!!\n ?Three\n",
        u"!?x",
        u"x\n",
        u"\n\n",
        u"a.\n",
        u"\u00A0Hi\u2003.\U0001F600!",
        u"end without stop  ",
    };
    // Lone surrogates, which the pattern's negated class takes as code points of their own.
    fixed.push_back(std::u16string{u'a', char16_t{0xD800}, u'.', u' ', char16_t{0xDC00}});
    for (const auto& text : fixed) EXPECT_EQ(sentenceMatchDetails(text).matches, sentencesByPattern(text));

    std::mt19937 random(17);
    const std::u16string alphabet = u"ab .!?\n\t\u00A0\u2028\u200B";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 30);
    for (int round = 0; round < 3'000; ++round) {
        std::u16string text;
        for (auto n = length(random); n > 0; --n) text.push_back(alphabet[pick(random)]);
        ASSERT_EQ(sentenceMatchDetails(text).matches, sentencesByPattern(text)) << "round " << round;
    }
}

TEST(LongTextShapesTest, AMillionTinySentencesCountAsTheirShortForm) {
    const std::size_t sentences = 1'000'000;
    const auto report = TextSanitizer().inspect(repeated(u"a.", sentences));
    EXPECT_TRUE(report.timedOutScans.empty());
    EXPECT_EQ(report.characters, 2'000'000);
    EXPECT_EQ(report.styleReport.wordCount, 1'000'000);
    const auto* openers = signalLabelled(report.styleReport, u"Low sentence-opener variety");
    ASSERT_NE(openers, nullptr);
    EXPECT_EQ(openers->count, 999'999);
    EXPECT_EQ(openers->examples, std::vector<std::u16string>{u"1 distinct openers across 1000000 sentences"});
    EXPECT_NE(signalLabelled(report.styleReport, u"Low sentence burstiness"), nullptr);
    EXPECT_TRUE(report.privacyReport.findings.empty());
}

TEST(LongTextShapesTest, EveryAddressOfALongListIsFoundAndRedacted) {
    std::u16string text;
    const std::size_t addresses = 200'000;
    for (std::size_t i = 0; i < addresses; ++i) {
        const auto address = "10." + std::to_string(i >> 16) + "." + std::to_string((i >> 8) & 0xFF) + "." +
                             std::to_string(i & 0xFF) + " ";
        text.append(address.begin(), address.end());
    }
    const TextSanitizer sanitizer;
    const auto report = sanitizer.inspect(text);
    ASSERT_EQ(report.privacyReport.findings.size(), 1u);
    const auto& finding = report.privacyReport.findings.front();
    EXPECT_EQ(finding.label, u"Private IP address");
    EXPECT_EQ(finding.count, static_cast<std::int64_t>(addresses));
    ASSERT_EQ(finding.locations.size(), addresses);
    EXPECT_EQ(finding.locations[1], (TextLocation{9, 8}));
    EXPECT_EQ(finding.examples, (std::vector<std::u16string>{u"10.0.0.0", u"10.0.0.1", u"10.0.0.2"}));

    const auto prompt = sanitizer.authorshipRewritePrompt(text, std::nullopt);
    EXPECT_EQ(prompt.redactedFindings, static_cast<std::int64_t>(addresses));
    auto expected = repeated(u"[REDACTED: Private IP address] ", addresses);
    expected.pop_back();  // the hygiene cleaning trims the final space
    EXPECT_EQ(prompt.sourceText, expected);
    EXPECT_TRUE(prompt.prompt.ends_with(u"SOURCE_TEXT_BEGIN\n" + expected + u"\nSOURCE_TEXT_END"));
}

TEST(LongTextShapesTest, AHiddenScalarEveryThirdCharacterIsCleanedAway) {
    const std::size_t pairs = 300'000;
    const auto text = repeated(u"ab\u200B", pairs);
    const auto cleaned = TextSanitizer().cleanPlainTextResult(text, {.removeUnsafeUnicode = true});
    EXPECT_EQ(cleaned.text, repeated(u"ab", pairs));
    EXPECT_EQ(cleaned.summary.removedFormatControls + cleaned.summary.removedInvisibleScalars,
              static_cast<std::int64_t>(pairs));
    EXPECT_EQ(cleaned.summary.inputCharacters, static_cast<std::int64_t>(3 * pairs));
    EXPECT_EQ(cleaned.summary.outputCharacters, static_cast<std::int64_t>(2 * pairs));
    // After the common "ab" no stretch of the two texts agrees for long enough to anchor a diff
    // on, so every later output character counts as new, as for any text changed throughout.
    ASSERT_EQ(cleaned.changedOutputOffsets.size(), 2 * pairs - 2);
    EXPECT_EQ(cleaned.changedOutputOffsets.front(), 2);
    EXPECT_EQ(cleaned.changedOutputOffsets.back(), static_cast<std::int64_t>(2 * pairs - 1));
}

TEST(LongTextShapesTest, StreamedMatchesAreTheCollectedOnes) {
    std::u16string text;
    for (int i = 0; i < 2'000; ++i) {
        text += u"DB_HOST=10.0.0." + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                u"5\nsee https://x.io/?utm_source=a and build.corp or sk-abcdefghijklmnopqrstuvwxyz ";
    }
    for (const auto& row : privacyCatalogue()) {
        const CompiledPatternRule rule(row.rule, {.caseInsensitive = true}, row.requiredPart);
        const auto collected = rule.allMatches(text);
        std::vector<RegexMatch> streamed;
        const bool complete = rule.forEachMatch(text, [&](RegexMatch&& match) { streamed.push_back(match); });
        EXPECT_EQ(streamed, collected.matches) << std::string(row.label.begin(), row.label.end());
        EXPECT_EQ(complete, collected.complete);
    }
}

TEST(LongTextShapesTest, ParallelIndicesVisitEachOnceAndPassOnAFailure) {
    for (const unsigned workers : {0u, 1u, 2u, 7u}) {
        std::vector<std::atomic<int>> visits(500);
        forEachIndexInParallel(visits.size(), workers, [&](std::size_t index) { ++visits[index]; });
        for (const auto& visited : visits) ASSERT_EQ(visited.load(), 1) << workers;
    }
    forEachIndexInParallel(0, 2, [](std::size_t) { FAIL() << "no index to visit"; });
    EXPECT_THROW(forEachIndexInParallel(100, 2,
                                        [](std::size_t index) {
                                            if (index == 37) throw std::runtime_error("sample 37 failed");
                                        }),
                 std::runtime_error);
}

}  // namespace
}  // namespace velquor::text
