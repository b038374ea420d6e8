#include "tests/core/text/style/StyleTestSupport.h"

#include "core/text/TextSanitizer.h"

#include <gtest/gtest.h>

namespace velquor::text {
namespace {

using style_test::plainWords;

constexpr std::u16string_view vocabulary = u"Generic LLM vocabulary";
constexpr std::u16string_view emDashes = u"Em dash as parenthetical";

// `words` words in all, two of them stock vocabulary, and a digit so that the text is not
// flagged for lacking specifics.
std::u16string withTwoStockWords(std::size_t words) { return plainWords(words - 2) + u" delve tapestry 7"; }

// `words` plain words with `dashes` em dashes between them (no spaces around, no alternatives).
std::u16string withEmDashes(std::size_t words, std::size_t dashes) {
    std::u16string text = u"7";
    for (std::size_t i = 0; i < words; ++i) text += i > 0 && i <= dashes ? u"\u2014word" : u" word";
    return text;
}

WritingStyleBaseline baselineWith(std::u16string_view label, double rate) {
    return {1, 100, {{std::u16string(label), rate}}};
}

TEST(WritingBaselineTest, RatesAreTotalCountsPer100WordsOfTheKeptDocuments) {
    const TextSanitizer sanitizer;
    const std::vector<std::u16string> documents = {withTwoStockWords(100), u"", u" \n\t \u00A0",
                                                   withTwoStockWords(300)};
    const auto baseline = sanitizer.writingStyleBaseline(documents);
    EXPECT_EQ(baseline.documentCount, 2);
    EXPECT_EQ(baseline.wordCount, 400);
    EXPECT_EQ(baseline.signalRates, (decltype(baseline.signalRates){{std::u16string(vocabulary), 1.0}}));
    EXPECT_EQ(baseline.rate(vocabulary), 1.0);
    EXPECT_EQ(baseline.rate(emDashes), 0.0);
}

TEST(WritingBaselineTest, DocumentsWithoutWordsStillCountOneWordEach) {
    const TextSanitizer sanitizer;
    EXPECT_EQ(sanitizer.writingStyleBaseline(std::vector<std::u16string>{u"42", u"!!"}),
              (WritingStyleBaseline{2, 2, {}}));
    EXPECT_EQ(sanitizer.writingStyleBaseline({}), (WritingStyleBaseline{0, 0, {}}));
    // A once-per-text verdict counts once per document, however long.
    const auto unspecific =
        sanitizer.writingStyleBaseline(std::vector<std::u16string>{plainWords(100), plainWords(400)});
    EXPECT_EQ(unspecific.rate(u"Zero specificity"), 2.0 * 100.0 / 500.0);
}

struct MaterialityCase {
    std::u16string text;
    double baselineRate;  // negative: the baseline never saw the signal
    bool deviates;
};

TEST(WritingBaselineTest, OnlyMaterialExcessesAreDeviations) {
    const TextSanitizer sanitizer;
    const std::vector<MaterialityCase> cases = {
        {withEmDashes(100, 3), 2.0, false},  // 3.0 against 2.0: ratio 1.5
        {withEmDashes(100, 3), 1.5, true},   // difference 1.5, ratio 2.0
        {withEmDashes(200, 7), 2.0, true},   // 3.5 against 2.0: ratio exactly 1.75
        {withEmDashes(500, 3), 0.3, false},  // 0.6 against 0.3: ratio 2.0 but difference 0.3
        {withEmDashes(400, 2), -1, true},    // 0.5 with no habit at all
        {withEmDashes(500, 2), -1, false},   // 0.4 with no habit at all
        {withEmDashes(100, 2), 0.0, true},   // a stored rate of 0 is no habit either
    };
    for (const auto& [text, baselineRate, deviates] : cases) {
        const auto baseline =
            baselineRate < 0 ? WritingStyleBaseline{1, 100, {}} : baselineWith(emDashes, baselineRate);
        const auto deviations = sanitizer.compareWritingStyle(text, baseline);
        SCOPED_TRACE(baselineRate);
        ASSERT_EQ(deviations.size(), deviates ? 1U : 0U) << encodeUtf8(text);
        if (deviates) {
            EXPECT_EQ(deviations[0].label, emDashes);
            EXPECT_EQ(deviations[0].id, emDashes);
            EXPECT_EQ(deviations[0].baselineRate, std::max(baselineRate, 0.0));
        }
    }
}

TEST(WritingBaselineTest, ASignalThatFiresOnceIsNeverADeviation) {
    const auto deviations = TextSanitizer().compareWritingStyle(u"We delve into it.", WritingStyleBaseline{});
    EXPECT_TRUE(deviations.empty());
    EXPECT_TRUE(TextSanitizer().compareWritingStyle(u"", WritingStyleBaseline{}).empty());
}

TEST(WritingBaselineTest, LargestExcessFirstAndEqualExcessesByLabel) {
    const TextSanitizer sanitizer;
    // Two em dashes and two stock words in the same 100 words: the same excess over an empty
    // baseline, so the labels decide.
    const auto text = withEmDashes(98, 2) + u" delve tapestry";
    const auto tied = sanitizer.compareWritingStyle(text, WritingStyleBaseline{});
    ASSERT_EQ(tied.size(), 2U);
    EXPECT_EQ(tied[0].label, emDashes);
    EXPECT_EQ(tied[1].label, vocabulary);
    EXPECT_EQ(tied[0].count, 2);
    EXPECT_EQ(tied[0].currentRate, 2.0);

    // A habit of stock words leaves them the smaller excess, whatever the labels say.
    const auto ordered = sanitizer.compareWritingStyle(text + u" delve", baselineWith(emDashes, 0.5));
    ASSERT_EQ(ordered.size(), 2U);
    EXPECT_EQ(ordered[0].label, vocabulary);
    EXPECT_EQ(ordered[1].label, emDashes);
}

}  // namespace
}  // namespace velquor::text
