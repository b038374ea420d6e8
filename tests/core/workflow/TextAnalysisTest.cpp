#include "core/text/TextSanitizer.h"
#include "core/text/base/Utf.h"
#include "core/text/input/TextInputError.h"
#include "core/workflow/TextAnalysis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velquor::workflow {
namespace {

using text::CleaningOptions;
using text::TextInputError;

TEST(TextAnalysisTest, TheEmptyTextHasNothingToShowAndIsVerified) {
    const auto empty = emptyTextAnalysis();
    EXPECT_EQ(empty.report, text::TextSanitizer().inspect(u""));
    EXPECT_EQ(empty.cleanedText, u"");
    EXPECT_THAT(empty.cleanedChangedOffsets, ::testing::IsEmpty());
    EXPECT_EQ(empty.summary, text::TextChangeSummary{});
    EXPECT_THAT(empty.changes, ::testing::IsEmpty());
    EXPECT_THAT(empty.styleDeviations, ::testing::IsEmpty());
    EXPECT_TRUE(empty.cleanedOutputVerified);
    // Every option on changes nothing about the empty text.
    const CleaningOptions everything{true, true, true, true, true, true, true, true};
    EXPECT_EQ(analyzeText(u"", everything), empty);
    // A text that cleans to nothing is verified as well.
    EXPECT_TRUE(analyzeText(u" \u200B\n\t ", applicationCleaningDefaults).cleanedOutputVerified);
    EXPECT_EQ(analyzeText(u" \u200B\n\t ", applicationCleaningDefaults).cleanedText, u"");
}

TEST(TextAnalysisTest, ATextOverTheApplicationLimitIsRefusedWithTheLimitInTheMessage) {
    // One byte over in UTF-8 while its UTF-16 length is exactly the limit: the limit counts bytes.
    std::u16string text(applicationTextByteLimit - 2, u'a');
    text += u"\u00E9";
    ASSERT_EQ(static_cast<std::int64_t>(text.size()), applicationTextByteLimit - 1);
    text += u'a';
    try {
        analyzeText(text, applicationCleaningDefaults);
        FAIL() << "a text of 16,777,217 bytes was analysed";
    } catch (const TextInputError& error) {
        EXPECT_EQ(error.errorCase(), TextInputError::Case::tooLarge);
        EXPECT_STREQ(error.what(), "Text input exceeds the 16.8 MB safety limit.");
    }
}

TEST(TextAnalysisTest, EachOptionChangesTheCleanedTextAndOnlyWhenOn) {
    struct Case {
        bool CleaningOptions::*option;
        std::u16string input;
        std::u16string cleaned;
    };
    const Case cases[] = {
        {&CleaningOptions::removeUnsafeUnicode, u"pay\u200Bment", u"payment"},
        {&CleaningOptions::normalizeWhitespace, u"a\u00A0b", u"a b"},
        {&CleaningOptions::stripTrackingParameters, u"https://example.com/a?utm_source=news&id=7",
         u"https://example.com/a?id=7"},
        {&CleaningOptions::normalizePunctuation, u"\u201Cyes\u201D", u"\"yes\""},
        {&CleaningOptions::asciiOnly, u"caf\u00E9", u"cafe"},
        {&CleaningOptions::flattenMarkdown, u"**bold** move", u"bold move"},
        {&CleaningOptions::unwrapParagraphs, u"one line\nwrapped here", u"one line wrapped here"},
    };
    for (const auto& [option, input, cleaned] : cases) {
        CleaningOptions on;
        on.*option = true;
        const auto withOption = analyzeText(input, on);
        const auto without = analyzeText(input, CleaningOptions{});
        EXPECT_EQ(withOption.cleanedText, cleaned) << text::encodeUtf8(input);
        EXPECT_TRUE(withOption.summary.changed()) << text::encodeUtf8(input);
        EXPECT_EQ(without.cleanedText, input) << text::encodeUtf8(input);
        EXPECT_FALSE(without.summary.changed()) << text::encodeUtf8(input);
        // The review lists what every option would change, whichever are on.
        EXPECT_EQ(withOption.changes, without.changes) << text::encodeUtf8(input);
        EXPECT_THAT(without.changes, ::testing::Not(::testing::IsEmpty())) << text::encodeUtf8(input);
    }
}

TEST(TextAnalysisTest, EdgesAreTrimmedWhateverTheOptionSays) {
    const CleaningOptions untrimmed{.normalizeWhitespace = true, .trimWhitespace = false};
    const std::u16string text = u"  a\u00A0b  \n";
    ASSERT_NE(text::TextSanitizer().cleanPlainTextResult(text, untrimmed).text, u"a b");
    EXPECT_EQ(analyzeText(text, untrimmed).cleanedText, u"a b");
}

TEST(TextAnalysisTest, VerificationFailsWhenASecondPassWouldChangeTheOutput) {
    const std::u16string stable = u"Plain words with a link https://example.com/?utm_medium=x and \u201Cquotes\u201D.";
    EXPECT_TRUE(analyzeText(stable, applicationCleaningDefaults).cleanedOutputVerified);

    // Flattening takes one level of quoting away at a time.
    const auto nested = analyzeText(u"> > quoted twice", {.flattenMarkdown = true});
    EXPECT_EQ(nested.cleanedText, u"> quoted twice");
    EXPECT_FALSE(nested.cleanedOutputVerified);
    EXPECT_TRUE(analyzeText(u"> quoted once", {.flattenMarkdown = true}).cleanedOutputVerified);
}

TEST(TextAnalysisTest, StyleDeviationsNeedABaseline) {
    const text::TextSanitizer sanitizer;
    const std::vector<std::u16string> ownWriting{
        u"We met on Tuesday and went through the numbers. Most of them looked fine.",
        u"The budget is tight this year, so the trip waits until spring.",
    };
    const auto baseline = sanitizer.writingStyleBaseline(ownWriting);
    const std::u16string draft =
        u"In today's fast-paced world, it's important to note that we must delve into the rich tapestry of "
        u"synergy. Moreover, it's worth noting that this is a testament to our journey. In conclusion, let's "
        u"dive in and unlock the potential.";
    const auto compared = analyzeText(draft, applicationCleaningDefaults, baseline);
    EXPECT_THAT(compared.styleDeviations, ::testing::Not(::testing::IsEmpty()));
    EXPECT_EQ(compared.styleDeviations, sanitizer.compareWritingStyle(draft, baseline));
    EXPECT_THAT(analyzeText(draft, applicationCleaningDefaults).styleDeviations, ::testing::IsEmpty());
    EXPECT_EQ(compared.report, sanitizer.inspect(draft));
}

}  // namespace
}  // namespace velquor::workflow
