#include "tests/core/text/style/StyleTestSupport.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/TextConversions.h"
#include "core/text/style/StyleMatching.h"
#include "core/text/style/StyleScore.h"
#include "core/text/style/StyleSignalTexts.h"
#include "core/text/style/StyleText.h"

#include <gmock/gmock.h>

namespace velquor::text {
namespace {

using namespace style_test;
using ::testing::ElementsAre;
using Level = StyleReport::Level;

StyleSignal signalOf(std::u16string_view label, std::int64_t count) {
    return StyleSignal(std::u16string(label), count, 0.0, {}, u"", u"", u"", {});
}

TEST(StyleScoreTest, WeightsCapsAndLevelThresholds) {
    struct Case {
        std::vector<StyleSignal> signals;
        std::int64_t score;
        std::u16string_view level;  // as reports show it
    };
    const Case cases[] = {
        {{}, 0, u"Low"},
        {{signalOf(u"Generic assistant outro", 2), signalOf(u"Emoji seasoning", 7)}, 76, u"High"},
        {{signalOf(u"Generic assistant outro", 1)}, 18, u"Low"},
        {{signalOf(u"Generic assistant outro", 2)}, 36, u"Medium"},
        {{signalOf(u"Synonym triples", 3)}, 24, u"Low"},
        {{signalOf(u"Generic assistant outro", 1), signalOf(u"Synonym triples", 1)}, 26, u"Medium"},
        {{signalOf(u"Emoji seasoning", 9)}, 40, u"Medium"},
        {{signalOf(u"Generic assistant outro", 1), signalOf(u"Hedge stacking", 5)}, 58, u"Medium"},
        {{signalOf(u"Generic assistant outro", 2), signalOf(u"Hedge stacking", 3)}, 60, u"High"},
        {{signalOf(u"Emoji seasoning", 5), signalOf(u"Hedge stacking", 6)}, 80, u"High"},
        {{signalOf(u"Generic assistant outro", 9), signalOf(u"Emoji seasoning", 5)}, 100, u"High"},
    };
    for (const auto& [signals, score, level] : cases) {
        const auto scored = styleScore(signals);
        EXPECT_EQ(scored.score, score);
        EXPECT_EQ(rawValue(scored.level), level) << score;
    }
}

TEST(StyleReportTest, RankingPutsHigherCountsFirstThenLabels) {
    StyleReport report;
    report.signals = {signalOf(u"Generic LLM vocabulary", 2), signalOf(u"Emoji seasoning", 1),
                      signalOf(u"Formula transitions", 2), signalOf(u"Hedge stacking", 4)};
    std::vector<std::u16string> ranked;
    for (const auto& signal : report.rankedSignals()) ranked.push_back(signal.label);
    EXPECT_THAT(ranked,
                ElementsAre(u"Hedge stacking", u"Formula transitions", u"Generic LLM vocabulary", u"Emoji seasoning"));
    EXPECT_EQ(report.topContributors().size(), 3u);
    EXPECT_EQ(report.topContributors().back().label, u"Generic LLM vocabulary");
    EXPECT_TRUE(report.hasSignals());
    EXPECT_FALSE(StyleReport().hasSignals());
}

TEST(StyleReportTest, EmptyTextHasNoSignalsAndCountsOneWord) {
    const auto report = styleOf(u"");
    EXPECT_EQ(report, StyleReport());
    EXPECT_EQ(report.wordCount, 1);
    EXPECT_EQ(report.level, Level::low);
    EXPECT_EQ(TextSanitizer().inspect(u"").styleReport, report);
}

TEST(StyleReportTest, CountSignalCarriesRateAndTableTextsAndSkipsZero) {
    std::vector<StyleSignal> signals;
    appendCountSignal(u"Generic assistant outro", 0, 10, {}, {}, signals);
    EXPECT_TRUE(signals.empty());
    appendCountSignal(u"Generic assistant outro", 3, 8, {u"example"}, {{1, 2}}, signals);
    ASSERT_EQ(signals.size(), 1u);
    const auto& outro = signals.front();
    EXPECT_EQ(outro.id, u"Generic assistant outro");
    EXPECT_EQ(outro.ratePer100Words, 37.5);
    EXPECT_EQ(outro.rationale, u"Assistant sign-offs are workflow residue, not normal final prose.");
    EXPECT_EQ(outro.falsePositive, u"Email templates and support macros can use similar closing language.");
    EXPECT_EQ(outro.suggestion, u"Delete the assistant sign-off and end on the document's actual final point.");
    // A label the catalogue lacks gets the default advice and nothing else.
    appendCountSignal(u"Unknown", 1, 10, {}, {}, signals);
    EXPECT_EQ(signals.back().suggestion, defaultStyleSuggestion);
    EXPECT_EQ(signals.back().rationale, u"");
    EXPECT_EQ(signals.back().falsePositive, u"");
}

TEST(StyleMatchingTest, SentenceSplittingAndLocatedSentences) {
    EXPECT_THAT(sentences(u"  One. Two!! \n?Three"), ElementsAre(u"One", u"Two", u"Three"));
    const std::u16string text = u"  One. Two!!\n ?Three\n";
    const auto located = sentenceMatchDetails(text);
    // A run of punctuation after white space is a sentence of its own here, unlike in sentences().
    ASSERT_EQ(located.matches.size(), 4u);
    EXPECT_EQ(located.matches[0].text, u"One.");
    EXPECT_EQ(located.matches[0].location, (TextLocation{2, 4}));
    EXPECT_EQ(located.matches[1].text, u"Two!!");
    EXPECT_EQ(located.matches[2].text, u"?");
    EXPECT_EQ(located.matches[3].text, u"Three");
    EXPECT_EQ(located.matches[3].location, (TextLocation{15, 5}));
    EXPECT_TRUE(regexMatchDetails(u"text", u"(unclosed").matches.empty());
}

TEST(StyleTextTest, LookalikesBecomeLatinWithoutMovingAnything) {
    const auto confusables = styleConfusables();
    std::u16string lookalikes;
    for (const auto& [from, to] : confusables) {
        EXPECT_TRUE(isAsciiLetter(to));
        lookalikes.push_back(from);
    }
    const auto normalized = lookalikeNormalized(lookalikes + u"\u0444\U0001F600");
    ASSERT_EQ(normalized.size(), lookalikes.size() + 3);
    for (std::size_t i = 0; i < confusables.size(); ++i) EXPECT_EQ(normalized[i], confusables[i].second);
    EXPECT_EQ(normalized.substr(lookalikes.size()), u"\u0444\U0001F600");
}

TEST(StyleTextTest, WordsAreLatinScriptRunsWithApostrophesAndHyphens) {
    const std::u16string text = u"--don't stop\u2019n co-op 42 \u00E9t\u00E9 \u017Fo \u0444\u0444 'x";
    std::vector<std::u16string> words;
    forEachStyleWord(text, [&](TextLocation word) { words.push_back(textAt(text, word)); });
    EXPECT_THAT(words, ElementsAre(u"don't", u"stop\u2019n", u"co-op", u"\u00E9t\u00E9", u"\u017Fo", u"x"));
    EXPECT_EQ(lowercased(u"K\u212A\u00C9"), u"kk\u00E9");
}

// A text written the way a default assistant writes fires many signals at once; they come in
// evaluation order and every location is a range of whole scalars inside the text.
TEST(StyleReportTest, SignalsComeInEvaluationOrderWithLocationsInsideTheText) {
    const std::u16string text =
        u"## Key takeaways\n\n"
        u"In today's fast-paced world, it's important to note that we delve into a robust, seamless, and "
        u"powerful journey \u2014 first and foremost. Studies suggest this works.\n\n"
        u"- **Focus:** one goal \U0001F389\n- **Cadence:** weekly \U0001F680\n\n"
        u"Additionally, while it is slow, it's also cheap. It's not just a tool \u2014 it's a mindset.\n"
        u"Some results may potentially suggest that it can help. I hope this helps! A comprehensive guide "
        u"in p\u0430ypal style.";
    const auto report = styleOf(text);
    EXPECT_GE(report.signals.size(), 15u);
    std::size_t next = 0;
    const auto& catalogue = styleSignalCatalogue();
    for (const auto& signal : report.signals) {
        while (next < catalogue.size() && catalogue[next].label != signal.label) ++next;
        ASSERT_LT(next, catalogue.size()) << "out of order: " << encodeUtf8(signal.label);
        EXPECT_EQ(signal.rationale.empty(), signal.falsePositive.empty()) << encodeUtf8(signal.label);
        for (const auto location : signal.locations) {
            ASSERT_GE(location.utf16Location, 0);
            ASSERT_GT(location.utf16Length, 0);
            ASSERT_LE(location.end(), static_cast<std::int64_t>(text.size()));
            EXPECT_FALSE(isTrailSurrogate(text[static_cast<std::size_t>(location.utf16Location)]));
        }
    }
    EXPECT_EQ(report.level, Level::high);
    EXPECT_EQ(report.score, 100);
    EXPECT_EQ(TextSanitizer().inspect(text).styleReport, report);
}

// Long lines without spaces and long runs of blank lines are where regular expressions
// backtrack; the pass finishes them with every scan complete.
TEST(StyleReportTest, HostileShapesFinishWithEveryScanComplete) {
    std::u16string longLine;
    while (longLine.size() < (1u << 20)) longLine += u"aGVsbG8gd29ybGQ/*[|(";
    const std::u16string shapes[] = {longLine, std::u16string(80u << 10, u'\n'),
                                     std::u16string(200'000, u'*') + u"\n" + std::u16string(200'000, u'#')};
    for (const auto& text : shapes) {
        const auto report = TextSanitizer().inspect(text);
        EXPECT_TRUE(report.timedOutScans.empty()) << encodeUtf8(report.timedOutScans.front());
    }
}

// A citation check that runs out of budget cannot tell whether the claim is cited: the scan is
// named as timed out and the sentence is not flagged on a guess.
TEST(StyleReportTest, ScanThatRunsOutIsNamedAndFlagsNothing) {
    std::u16string sentence = u"Studies suggest it (Smith";
    for (int i = 0; i < 40'000; ++i) sentence += u" 1999";
    std::vector<std::u16string> timedOut;
    const auto report = TextSanitizer().styleReport(sentence + u".", timedOut);
    EXPECT_THAT(timedOut, ElementsAre(u"Style: Vague authority claims"));
    EXPECT_EQ(signalNamed(report, u"Vague authority claims"), nullptr);
    EXPECT_NE(signalNamed(report, u"Hedging and disclaimers"), nullptr);
}

}  // namespace
}  // namespace velquor::text
