#include "tests/core/text/style/StyleTestSupport.h"

#include <gmock/gmock.h>

namespace velquor::text {
namespace {

using namespace style_test;
using ::testing::ElementsAre;

TEST(StylePhraseSignalsTest, EachListFiresOnItsPhrasesAndNotOnNearMisses) {
    expectSignalCases({
        {u"In today's fast-paced world we ship.", u"Cliche openers", 1},
        {u"In today\u2019s fast-paced world we ship.", u"Cliche openers", 0},
        {u"Whether you're new or not.", u"Cliche openers", 1},
        {u"It's worth noting that it works.", u"Hedging and disclaimers", 1},
        {u"It\u2019s worth noting that it works.", u"Hedging and disclaimers", 0},
        {u"Results can vary; reasonable people may disagree.", u"Hedging and disclaimers", 2},
        {u"We delve into the tapestry.", u"Generic LLM vocabulary", 2},
        {u"We dig into the fabric.", u"Generic LLM vocabulary", 0},
        {u"Unlocked doors, unlocking potential.", u"Generic LLM vocabulary", 2},
        {u"Our journeys begin.", u"Generic LLM vocabulary", 1},
        {u"Furthermore, ultimately, in conclusion.", u"Formula transitions", 3},
        {u"Further more, ultimate conclusions.", u"Formula transitions", 0},
        {u"I hope this helps! Let me know if you need more.", u"Generic assistant outro", 2},
        {u"I hope this helped. Let me know whether it did.", u"Generic assistant outro", 0},
        {u"Your mileage may vary.", u"Both-sides disclaimer", 1},
        {u"Your mileage may differ.", u"Both-sides disclaimer", 0},
    });
}

TEST(StylePhraseSignalsTest, ExampleIsThePhraseWithTwentyFourCharactersOfContext) {
    const auto report = styleOf(u"In today's fast-paced world, teams ship weekly.");
    const auto* cliche = signalNamed(report, u"Cliche openers");
    ASSERT_NE(cliche, nullptr);
    EXPECT_EQ(cliche->examples, std::vector<std::u16string>{u"In today's fast-paced world, teams ship weekl"});
    EXPECT_EQ(cliche->locations, (std::vector<TextLocation>{{0, 21}}));
    const auto* vocabulary = signalNamed(report, u"Generic LLM vocabulary");
    ASSERT_NE(vocabulary, nullptr);
    EXPECT_EQ(vocabulary->count, 1);
    EXPECT_EQ(vocabulary->examples, std::vector<std::u16string>{u"In today's fast-paced world, teams ship weekl"});
    EXPECT_EQ(vocabulary->rationale, u"");
    EXPECT_EQ(vocabulary->suggestion,
              u"Replace generic promotional language with the exact action, object, or consequence you mean.");
}

// Context counts user-perceived characters, turns line feeds into spaces and is trimmed.
TEST(StylePhraseSignalsTest, ExampleContextCountsGraphemeClustersAndFlattensLines) {
    std::u16string accents;
    for (int i = 0; i < 30; ++i) accents += u"e\u0301";
    const auto text = accents + u"\n delve\n" + u"\U0001F600\U0001F600 tail text that runs on and on";
    const auto report = styleOf(text);
    const auto* vocabulary = signalNamed(report, u"Generic LLM vocabulary");
    ASSERT_NE(vocabulary, nullptr);
    std::u16string before;
    for (int i = 0; i < 22; ++i) before += u"e\u0301";
    EXPECT_EQ(vocabulary->examples,
              std::vector<std::u16string>{before + u"  delve \U0001F600\U0001F600 tail text that runs"});
}

TEST(StylePhraseSignalsTest, RepeatedPhraseCountsEveryOccurrenceButGivesOneExample) {
    const std::u16string text = u"Delve. delve. DELVE. dElVe. delve.";
    const auto report = styleOf(text);
    const auto* vocabulary = signalNamed(report, u"Generic LLM vocabulary");
    ASSERT_NE(vocabulary, nullptr);
    EXPECT_EQ(vocabulary->count, 5);
    EXPECT_EQ(vocabulary->locations.size(), 5u);
    EXPECT_EQ(vocabulary->examples.size(), 1u);
    EXPECT_EQ(vocabulary->ratePer100Words, 100.0);
}

// Phrases count in each list they belong to, in list order, at most three examples per signal.
TEST(StylePhraseSignalsTest, SharedPhrasesCountInEachListInListOrder) {
    const std::u16string text = u"That being said, robust journeys foster a mindset. First and foremost, it works.";
    const auto report = styleOf(text);
    const auto* vocabulary = signalNamed(report, u"Generic LLM vocabulary");
    ASSERT_NE(vocabulary, nullptr);
    std::vector<std::u16string> found;
    for (const auto location : vocabulary->locations) found.push_back(textAt(text, location));
    EXPECT_THAT(found,
                ElementsAre(u"robust", u"foster", u"First and foremost", u"That being said", u"journey", u"mindset"));
    EXPECT_EQ(vocabulary->examples.size(), 3u);
    const auto* transitions = signalNamed(report, u"Formula transitions");
    ASSERT_NE(transitions, nullptr);
    EXPECT_EQ(transitions->count, 2);
}

// Lookalike letters are read as the Latin ones they imitate, and ICU's full case folding applies:
// the locations are the input's own spellings.
TEST(StylePhraseSignalsTest, LookalikesAndCaseFoldedSpellingsMatchWithInputLocations) {
    const std::u16string text =
        u"A r\u043Ebust plan. Harne\u00DF the power of \uFB01rst and foremost. \u017Feamlessly.";
    const auto report = styleOf(text);
    const auto* vocabulary = signalNamed(report, u"Generic LLM vocabulary");
    ASSERT_NE(vocabulary, nullptr);
    std::vector<std::u16string> found;
    for (const auto location : vocabulary->locations) found.push_back(textAt(text, location));
    EXPECT_THAT(
        found, ElementsAre(u"\u017Feamlessly", u"r\u043Ebust", u"Harne\u00DF the power of", u"\uFB01rst and foremost"));
}

TEST(StylePatternSignalsTest, MarkdownResidueCollectsEachShapeInOrder) {
    const std::u16string text = u"| a | b |\n# Title\n**bold** and [a link](https://x.test) and ```code```\n";
    const auto report = styleOf(text);
    const auto* markdown = signalNamed(report, u"Markdown artifact residue");
    ASSERT_NE(markdown, nullptr);
    EXPECT_EQ(markdown->count, 5);
    EXPECT_THAT(markdown->examples, ElementsAre(u"**bold**", u"# T", u"```code```"));
    EXPECT_EQ(textAt(text, markdown->locations[3]), u"[a link](https://x.test)");
    EXPECT_EQ(textAt(text, markdown->locations[4]), u"| a | b |");
    EXPECT_EQ(
        markdown->rationale,
        u"Plain text that still contains Markdown scaffolding often came from a generated or copied rich-text draft.");
    expectSignalCases({
        {u"**split\nbold** #tag [a] (b) ``two`` a | b", u"Markdown artifact residue", 0},
        {u"**" + std::u16string(101, u'x') + u"**", u"Markdown artifact residue", 0},
        {u"**" + std::u16string(100, u'x') + u"**", u"Markdown artifact residue", 1},
    });
}

TEST(StylePatternSignalsTest, AuthorityClaimsWithoutCitationsAreFlaggedAtThePhrase) {
    const std::u16string text = u"It ships. Studies suggest this works.";
    const auto report = styleOf(text);
    const auto* authority = signalNamed(report, u"Vague authority claims");
    ASSERT_NE(authority, nullptr);
    EXPECT_EQ(authority->examples, std::vector<std::u16string>{u"Studies suggest this works."});
    EXPECT_EQ(authority->locations, (std::vector<TextLocation>{{10, 15}}));
    expectSignalCases({
        {u"Studies suggest this works (Smith, 2020).", u"Vague authority claims", 0},
        {u"Research shows it, see https://x.test/paper.", u"Vague authority claims", 0},
        // Citations that their own full stops cut into several sentences still count.
        {u"Experts say so: doi.org/10.1/x here.", u"Vague authority claims", 0},
        {u"Data suggests so per Smith et al. 2019 indeed.", u"Vague authority claims", 0},
        {u"According to one report it works. Experts say otherwise! Evidence suggests more?", u"Vague authority claims",
         3},
        {u"According to the report it works. Studies suggested it.", u"Vague authority claims", 0},
        {u"Studies suggest it. See https://x.test later.", u"Vague authority claims", 1},
    });
}

TEST(StylePatternSignalsTest, BalancedConclusionNeedsBalanceAndNoStanceAnywhere) {
    const std::u16string balanced = u"While X is true, it's also Y.";
    const auto report = styleOf(balanced);
    const auto* signal = signalNamed(report, u"Balanced conclusion without stance");
    ASSERT_NE(signal, nullptr);
    EXPECT_EQ(signal->examples, std::vector<std::u16string>{u"While X is true, it's also"});
    expectSignalCases({
        {balanced + u" We should act.", u"Balanced conclusion without stance", 0},
        {u"I recommend it. " + balanced, u"Balanced conclusion without stance", 0},
        {u"While X is true. It's also Y.", u"Balanced conclusion without stance", 0},
        {u"Although costly, on the other hand it lasts. To be fair, it is slow; however it works.",
         u"Balanced conclusion without stance", 2},
    });
}

TEST(StylePatternSignalsTest, NegationReversalAndSynonymTriples) {
    expectSignalCases({
        {u"It's not just a tool \u2014 it's a mindset.", u"Negation reversal", 1},
        {u"This isn't just code, it's craft.", u"Negation reversal", 1},
        {u"It's not just a tool. It's a mindset.", u"Negation reversal", 0},
        {u"We want it fast, robust, and simple.", u"Synonym triples", 1},
        {u"Colours: red, green, and blue.", u"Synonym triples", 0},
        {u"Crucial, vital and essential.", u"Synonym triples", 1},
        {u"robust,and simple", u"Synonym triples", 0},
    });
}

TEST(StylePatternSignalsTest, LineShapesBulletsAndDiscourseMarkers) {
    expectSignalCases({
        {u"- **Focus:** one goal\n  * **Cadence:** weekly\n", u"Bold-lead bullet pattern", 2},
        {u"- **Focus** one goal\n-**Cadence:** weekly\n", u"Bold-lead bullet pattern", 0},
        {u"Additionally, it works.\n  **Moreover** it scales.\nIn conclusion, done.", u"Discourse-marker paragraphs",
         3},
        {u"It additionally works.\nAdditionallyx not a marker.\n", u"Discourse-marker paragraphs", 0},
    });
}

TEST(StylePatternSignalsTest, HedgeStackingCountsSubstringsPerSentence) {
    const std::u16string text = u"It works. Some results may suggest that it can help.";
    const auto report = styleOf(text);
    const auto* hedging = signalNamed(report, u"Hedge stacking");
    ASSERT_NE(hedging, nullptr);
    EXPECT_EQ(hedging->count, 1);
    EXPECT_EQ(hedging->locations, (std::vector<TextLocation>{{10, 42}}));
    expectSignalCases({
        {u"It may help. It can help. Some help.", u"Hedge stacking", 0},
        {u"Something cannot typically help.", u"Hedge stacking", 1},
    });
}

TEST(StylePatternSignalsTest, BoldConclusionLabelCountsInThreeSignals) {
    const auto report = styleOf(u"**In conclusion**\nA comprehensive guide.");
    const auto* boilerplate = signalNamed(report, u"Structural boilerplate");
    ASSERT_NE(boilerplate, nullptr);
    EXPECT_EQ(boilerplate->count, 2);
    EXPECT_EQ(boilerplate->locations, (std::vector<TextLocation>{{20, 19}, {0, 17}}));
    EXPECT_TRUE(boilerplate->examples.empty());
    EXPECT_EQ(signalNamed(report, u"Markdown artifact residue")->count, 1);
    EXPECT_EQ(signalNamed(report, u"Formula transitions")->count, 1);
    expectSignalCases({{u"A comprehensive, guided tour in conclusion.", u"Structural boilerplate", 0}});
}

}  // namespace
}  // namespace velquor::text
