#include "tests/core/text/style/StyleTestSupport.h"

#include <gmock/gmock.h>

namespace velquor::text {
namespace {

using namespace style_test;
using ::testing::ElementsAre;

TEST(StyleStructureSignalsTest, RepeatedSentenceOpeners) {
    const auto report = styleOf(u"This works. This helps. This ships. This scales. This lasts. This sells.");
    const auto* openers = signalNamed(report, u"Low sentence-opener variety");
    ASSERT_NE(openers, nullptr);
    EXPECT_EQ(openers->count, 11);
    EXPECT_EQ(openers->examples, std::vector<std::u16string>{u"1 distinct openers across 6 sentences"});
    EXPECT_TRUE(openers->locations.empty());
    EXPECT_EQ(openers->falsePositive, u"Instructional writing can intentionally repeat sentence forms for clarity.");
    expectSignalCases({
        {u"However it works. Additionally it helps. Ultimately it ships. In time it scales. Cats purr. Dogs bark. "
         u"Birds sing.",
         u"Low sentence-opener variety", 4},
        {u"It a. This b. By c. While d. Cats e. Dogs f. Birds g. Fish h.", u"Low sentence-opener variety", 4},
        {u"It a. This b. By c. Owls d. Cats e. Dogs f. Birds g. Fish h.", u"Low sentence-opener variety", 0},
        {u"Cats purr. Dogs bark. Birds sing. Fish swim. Cows moo. Owls hoot.", u"Low sentence-opener variety", 0},
        {u"This works. This helps. This ships. This scales. This lasts. 42.", u"Low sentence-opener variety", 0},
    });
}

std::u16string sandwich(std::size_t middleWords, std::u16string_view closing) {
    return u"Remote teams deliver better software when planning happens openly every week.\n\n" +
           plainWords(middleWords, u"filler") + u".\n\n---\n\n" + std::u16string(closing) +
           u" remote teams deliver better software when planning happens openly.";
}

TEST(StyleStructureSignalsTest, IntroConclusionSandwich) {
    const auto report = styleOf(sandwich(98, u"In conclusion,"));
    ASSERT_EQ(report.wordCount, 120);
    const auto* signal = signalNamed(report, u"Intro/conclusion sandwich");
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ(signal->count, 1);
    EXPECT_EQ(signal->examples,
              std::vector<std::u16string>{u"9 repeated content words between first and last paragraph"});
    expectSignalCases({
        {sandwich(97, u"In conclusion,"), u"Intro/conclusion sandwich", 0},
        {sandwich(98, u"Overall,"), u"Intro/conclusion sandwich", 0},
        {plainWords(130, u"conclusion"), u"Intro/conclusion sandwich", 0},
    });
}

TEST(StyleStructureSignalsTest, MixedScriptWordsAreReadInTheInputText) {
    const std::u16string text =
        u"Pay with p\u0430ypal or \u03B1\u03B2\u03B3a, not \u043F\u0440\u0438\u0432\u0435\u0442.";
    const auto report = styleOf(text);
    const auto* mixed = signalNamed(report, u"Mixed-script words");
    ASSERT_NE(mixed, nullptr);
    EXPECT_EQ(mixed->count, 2);
    EXPECT_THAT(mixed->examples, ElementsAre(u"Latin host with Cyrillic/Greek: p\u0430ypal",
                                             u"Non-Latin host with stray Latin: \u03B1\u03B2\u03B3a"));
    EXPECT_EQ(textAt(text, mixed->locations[0]), u"p\u0430ypal");
    expectSignalCases(
        {{u"\u043F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440 and plain words", u"Mixed-script words", 0}});
}

TEST(StyleStructureSignalsTest, UniformEmDashSpacing) {
    const std::u16string text = u"A \u2014 b. C \u2014 d. E \u2014 f.";
    const auto report = styleOf(text);
    const auto* spacing = signalNamed(report, u"Uniform punctuation spacing");
    ASSERT_NE(spacing, nullptr);
    EXPECT_EQ(spacing->count, 3);
    EXPECT_EQ(spacing->examples,
              std::vector<std::u16string>{
                  u"3 em dashes all use identical surrounding spaces; 0 double-spaced sentence breaks"});
    EXPECT_EQ(spacing->locations, (std::vector<TextLocation>{{2, 1}, {9, 1}, {16, 1}}));
    expectSignalCases({
        {u"A \u2014 b. C \u2014 d. E\u2014f.", u"Uniform punctuation spacing", 0},
        {u"A \u2014 b.  c \u2014 d. E \u2014 f.", u"Uniform punctuation spacing", 0},
        {u"A \u2014 b. C \u2014 d.", u"Uniform punctuation spacing", 0},
    });
}

TEST(StyleStructureSignalsTest, StructureToBodyRatio) {
    const std::u16string text = u"# Intro\nOne. Two. Three. Four.\n# Next\nFive.";
    const auto report = styleOf(text);
    const auto* structure = signalNamed(report, u"High structure-to-body ratio");
    ASSERT_NE(structure, nullptr);
    EXPECT_EQ(structure->count, 2);
    EXPECT_EQ(structure->examples, std::vector<std::u16string>{u"2 structural markers across 5 sentences"});
    EXPECT_THAT(structure->locations, ElementsAre(TextLocation{0, 7}, TextLocation{31, 6}));
    expectSignalCases({
        {u"# Intro\nOne. Two. Three.\n# Next\nFour.", u"High structure-to-body ratio", 0},
        {u"**Summary**\n- **Cost:** low\nOne. Two. Three. Four. Five. Six.", u"High structure-to-body ratio", 2},
        {u"#Intro\nOne. Two. Three. Four. Five.", u"High structure-to-body ratio", 0},
    });
}

TEST(StyleStructureSignalsTest, EmojiEndingLines) {
    const std::u16string text = u"Launch day \U0001F389\n  We shipped \U0001F389  \nQuietly done.";
    const auto report = styleOf(text);
    const auto* emoji = signalNamed(report, u"Emoji as punctuation");
    ASSERT_NE(emoji, nullptr);
    EXPECT_EQ(emoji->count, 2);
    EXPECT_THAT(emoji->examples, ElementsAre(u"Launch day \U0001F389", u"We shipped \U0001F389"));
    ASSERT_EQ(emoji->locations.size(), 2u);
    for (const auto location : emoji->locations) EXPECT_EQ(textAt(text, location), u"\U0001F389");
    expectSignalCases({
        {u"Love \u2764\uFE0F\nMore \u2764\uFE0F\n", u"Emoji as punctuation", 0},
        {u"Love \u2764\nMore \u2764\n", u"Emoji as punctuation", 2},
        {u"One \U0001F389\nno emoji here \U0001F389 at the end.", u"Emoji as punctuation", 0},
    });
}

TEST(StyleStructureSignalsTest, EmDashesWithoutOtherParentheticals) {
    const auto report = styleOf(u"Plans \u2014 bold ones \u2014 work.");
    const auto* dashes = signalNamed(report, u"Em dash as parenthetical");
    ASSERT_NE(dashes, nullptr);
    EXPECT_EQ(dashes->count, 2);
    EXPECT_EQ(dashes->examples, std::vector<std::u16string>{u"2 em dashes vs 0 parens, 0 semicolons, 0 colons"});
    expectSignalCases({
        {u"Plans \u2014 bold ones \u2014 work: yes.", u"Em dash as parenthetical", 0},
        {u"A\u2014b\u2014c\u2014d (e) f.", u"Em dash as parenthetical", 3},
        {u"One \u2014 dash.", u"Em dash as parenthetical", 0},
    });
}

TEST(StyleStatisticsSignalsTest, ZeroSpecificityNeedsLengthAndNoConcreteDetail) {
    const auto report = styleOf(plainWords(120));
    const auto* zero = signalNamed(report, u"Zero specificity");
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->examples, std::vector<std::u16string>{u"0 digits, 0 years, 0 likely proper nouns"});
    expectSignalCases({
        {plainWords(99), u"Zero specificity", 0},
        {plainWords(100), u"Zero specificity", 1},
        {plainWords(120) + u" \u0667", u"Zero specificity", 0},
        {u"Oslo " + plainWords(120), u"Zero specificity", 0},
        {u"Here " + plainWords(60) + u". Furthermore " + plainWords(60), u"Zero specificity", 1},
        {u"AB " + plainWords(120), u"Zero specificity", 1},
    });
}

std::u16string evenSentences(std::size_t sentences, std::size_t words, std::size_t lastWords) {
    std::u16string text;
    for (std::size_t i = 0; i < sentences; ++i) text += plainWords(i + 1 == sentences ? lastWords : words) + u". ";
    return text;
}

TEST(StyleStatisticsSignalsTest, EvenSentenceLengths) {
    expectSignalCases({
        {evenSentences(4, 30, 30), u"Low sentence burstiness", 1},
        {evenSentences(4, 30, 29), u"Low sentence burstiness", 0},
        {evenSentences(3, 40, 40), u"Low sentence burstiness", 0},
        {plainWords(10) + u". " + plainWords(50) + u". " + plainWords(20) + u". " + plainWords(40) + u".",
         u"Low sentence burstiness", 0},
    });
}

TEST(StyleStatisticsSignalsTest, ChatPasteFingerprintNeedsAllThreeMarks) {
    const std::u16string text = u"He said \u201Cyes\u201D \u2014 done\u00A0now, it\u2019s \u2014 fine.";
    const auto report = styleOf(text);
    const auto* paste = signalNamed(report, u"Chat paste encoding fingerprint");
    ASSERT_NE(paste, nullptr);
    EXPECT_EQ(paste->count, 1);
    EXPECT_EQ(paste->examples, std::vector<std::u16string>{u"curly quotes + em dash + NBSP"});
    std::vector<std::u16string> marks;
    for (const auto location : paste->locations) marks.push_back(textAt(text, location));
    EXPECT_THAT(marks, ElementsAre(u"\u2014", u"\u2014", u"\u201C", u"\u201D", u"\u2019", u"\u00A0"));
    expectSignalCases({
        {u"He said \u201Cyes\u201D \u2014 done now.", u"Chat paste encoding fingerprint", 0},
        {u"He said \"yes\" \u2014 done\u00A0now.", u"Chat paste encoding fingerprint", 0},
    });
}

TEST(StyleStatisticsSignalsTest, EmojiSeasoningCountsEveryEmojiScalarInBothRanges) {
    const std::u16string text = u"Nice \U0001F44D and \u2600 sun";
    const auto report = styleOf(text);
    const auto* seasoning = signalNamed(report, u"Emoji seasoning");
    ASSERT_NE(seasoning, nullptr);
    EXPECT_EQ(seasoning->count, 2);
    EXPECT_EQ(seasoning->locations, (std::vector<TextLocation>{{5, 2}, {12, 1}}));
    EXPECT_TRUE(seasoning->examples.empty());
    expectSignalCases({
        {u"\u00A9 2024 \u2122 \U0001FB00 \u27C0", u"Emoji seasoning", 0},
        {u"\U0001FAFF\U0001F000\u27BF", u"Emoji seasoning", 3},
    });
}

}  // namespace
}  // namespace velquor::text
