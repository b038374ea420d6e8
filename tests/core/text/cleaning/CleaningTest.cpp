#include "core/text/TextSanitizer.h"
#include "core/text/cleaning/UrlTracking.h"

#include <gtest/gtest.h>

#include <string>

namespace velquor::text {
namespace {

const CleaningOptions hygiene{
    .removeUnsafeUnicode = true, .normalizeWhitespace = true, .stripTrackingParameters = true};

TextCleanResult clean(std::u16string_view text, const CleaningOptions& options) {
    return TextSanitizer().cleanPlainTextResult(text, options);
}

// The summary's eleven counted rows, as (label, count) for the non-zero ones.
std::vector<std::pair<std::u16string, std::int64_t>> countsOf(const TextChangeSummary& summary) {
    std::vector<std::pair<std::u16string, std::int64_t>> counts;
    for (const auto& row : summary.rows()) {
        if (row.count != 0) counts.emplace_back(row.label, row.count);
    }
    return counts;
}

using Counts = std::vector<std::pair<std::u16string, std::int64_t>>;

struct CleaningCase {
    std::u16string_view name;
    std::u16string input;
    CleaningOptions options;
    std::u16string output;
    Counts counts;
};

TEST(CleaningTest, EachStepCleansAndCountsAsDocumented) {
    const CleaningCase cases[] = {
        {u"zero-width joiner of a family survives, zero-width space does not",
         u"\U0001F468\u200D\U0001F469 a\u200Bb",
         {.removeUnsafeUnicode = true},
         u"\U0001F468\u200D\U0001F469 ab",
         {{u"Format controls removed", 1}}},
        {u"selector after a letter, private use, bell; tab and line feed stay",
         u"x\uFE0F\uE000\u0007\t\n",
         {.removeUnsafeUnicode = true},
         u"x\t\n",
         {{u"Invisible scalars removed", 1}, {u"Private-use scalars removed", 1}, {u"Control characters removed", 1}}},
        {u"carriage returns are controls without white-space normalisation",
         u"a\r\nb\rc",
         {.removeUnsafeUnicode = true},
         u"a\nbc",
         {{u"Control characters removed", 2}}},
        {u"no-break space between words",
         u"a\u00A0b",
         {.normalizeWhitespace = true},
         u"a b",
         {{u"Whitespace normalized", 1}}},
        {u"two spaces and a tab between words",
         u"a  b\tc",
         {.normalizeWhitespace = true},
         u"a b c",
         {{u"Whitespace normalized", 2}}},
        {u"a line that starts with two spaces",
         u"x\n  y",
         {.normalizeWhitespace = true},
         u"x\ny",
         {{u"Whitespace normalized", 1}, {u"Trimmed edge characters", 1}}},
        {u"edge blank lines go with trimming",
         u"\n\n  lead\n\ntrail  \n\n",
         {.normalizeWhitespace = true},
         u"lead\n\ntrail",
         {{u"Whitespace normalized", 2}, {u"Trimmed edge characters", 6}}},
        {u"edge blank lines stay without trimming",
         u"\n\n  lead\n",
         {.normalizeWhitespace = true, .trimWhitespace = false},
         u"\n\n lead\n",
         {{u"Whitespace normalized", 1}}},
        {u"trimming needs white-space normalisation", u"  a  ", {.removeUnsafeUnicode = true}, u"  a  ", {}},
        {u"curly quotes, em dash and ellipsis",
         u"\u201Cword\u201D \u2014 and\u2026",
         {.normalizePunctuation = true},
         u"\"word\" - and...",
         {{u"Punctuation replaced", 4}}},
        {u"hard-wrapped lines join, paragraphs stay",
         u"one\ntwo\n\nthree",
         {.unwrapParagraphs = true},
         u"one two\n\nthree",
         {{u"Hard wraps removed", 1}}},
        {u"list items, table rows, hard breaks and fences keep their lines",
         u"- a\n- b\n|x|\n|y|\nhard  \nbreak\n```\ncode\nhere\n```",
         {.unwrapParagraphs = true},
         u"- a\n- b\n|x|\n|y|\nhard  \nbreak\n```\ncode\nhere\n```",
         {}},
        {u"heading marker", u"# Title", {.flattenMarkdown = true}, u"Title", {{u"Markdown artifacts flattened", 1}}},
        {u"link with a title",
         u"see [docs](https://x.test \"The docs\")",
         {.flattenMarkdown = true},
         u"see docs (https://x.test)",
         {{u"Markdown artifacts flattened", 1}}},
        {u"bold then emphasis",
         u"**bold** and *em*",
         {.flattenMarkdown = true},
         u"bold and em",
         {{u"Markdown artifacts flattened", 2}}},
        {u"a multiplication loses its asterisks",
         u"a * b * c",
         {.flattenMarkdown = true},
         u"a  b  c",
         {{u"Markdown artifacts flattened", 1}}},
        {u"utm parameter before a full stop",
         u"Read https://x.test/a?utm_source=a&id=7.",
         {.stripTrackingParameters = true},
         u"Read https://x.test/a?id=7.",
         {{u"URL tracking params stripped", 1}}},
        {u"a lone click id takes the question mark along",
         u"https://x.test/?gclid=1 ok",
         {.stripTrackingParameters = true},
         u"https://x.test/ ok",
         {{u"URL tracking params stripped", 1}}},
        {u"Danish, an accent, a snowman and an ideographic space",
         u"\u00C6r\u00F8 caf\u00E9 \u2603\u3000!",
         {.asciiOnly = true},
         u"AEro cafe ? !",
         {{u"ASCII replacements", 2}}},
        {u"Greek, Cyrillic and Chinese in Latin letters",
         u"\u03B1\u03B8\u03AE\u03BD\u03B1 \u041C\u043E\u0441\u043A\u0432\u0430 \u5317\u4EAC\u5E02!",
         {.asciiOnly = true},
         u"athena Moskva bei jing shi!",
         {}},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(std::string(testCase.name.begin(), testCase.name.end()));
        const auto result = clean(testCase.input, testCase.options);
        EXPECT_EQ(result.text, testCase.output);
        EXPECT_EQ(countsOf(result.summary), testCase.counts);
        EXPECT_EQ(result.summary.contentChanged, testCase.input != testCase.output);
    }
}

TEST(CleaningTest, NothingSwitchedOnChangesNothing) {
    const std::u16string text = u"  \u200B\r\n# x \u2014 https://x.test/?utm_source=1 \u00C6  ";
    const auto result = clean(text, {.trimWhitespace = false});
    EXPECT_EQ(result.text, text);
    EXPECT_EQ(result.summary.activeChangeCount(), 0);
    EXPECT_FALSE(result.summary.changed());
    EXPECT_TRUE(result.changedOutputOffsets.empty());
    EXPECT_EQ(result.summary.inputCharacters, result.summary.outputCharacters);
}

TEST(CleaningTest, CrlfNormalisationIsCountedOnceAndNotAsWhitespace) {
    const auto result = clean(u"a\r\nb\rc", {.normalizeWhitespace = true});
    EXPECT_EQ(result.text, u"a\nb\nc");
    EXPECT_TRUE(result.summary.normalizedLineEndings);
    EXPECT_EQ(result.summary.normalizedWhitespaceScalars, 0);
    EXPECT_EQ(result.summary.activeChangeCount(), 1);
    EXPECT_EQ(result.summary.inputCharacters, 5);  // CR LF is one character
    EXPECT_EQ(result.changedOutputOffsets, (std::vector<std::int64_t>{1, 3}));
}

// What every display of a summary lists: the counted rows that are not zero, in row order, then
// the line endings; the total adds them all.
TEST(CleaningTest, SummaryDisplaysItsNonZeroRowsThenTheLineEndings) {
    const auto result = clean(u"a\r\n\u200Bb  c\u00A0d https://x.test/?utm_source=1&fbclid=2", hygiene);
    EXPECT_EQ(result.text, u"a\nb c d https://x.test/");
    EXPECT_EQ(result.summary.displayedRows(), (std::vector<TextChangeRow>{{u"Format controls removed", 1},
                                                                          {u"Whitespace normalized", 2},
                                                                          {u"URL tracking params stripped", 2},
                                                                          {u"Line endings normalized", 1}}));
    EXPECT_EQ(result.summary.activeChangeCount(), 6);
    const auto lineEndings = clean(u"a\rb", {.normalizeWhitespace = true});
    EXPECT_EQ(lineEndings.summary.displayedRows(), (std::vector<TextChangeRow>{{u"Line endings normalized", 1}}));
}

TEST(CleaningTest, ChangedOffsetsCountCharactersOfTheOutput) {
    // The family emoji is one character, so the replaced space is the third.
    const auto result = clean(u"\U0001F468\u200D\U0001F469 a\u00A0b", hygiene);
    EXPECT_EQ(result.text, u"\U0001F468\u200D\U0001F469 a b");
    EXPECT_EQ(result.changedOutputOffsets, std::vector<std::int64_t>{3});
    EXPECT_EQ(result.summary.outputCharacters, 5);
}

TEST(CleaningTest, SmuggledTagsAfterAnEmojiAreRemovedAndAFlagIsKept) {
    const std::u16string smuggled = u"\U0001F44D\U000E0068\U000E0069";
    const std::u16string flag = u"\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F";
    const auto result = clean(smuggled + u" " + flag, {.removeUnsafeUnicode = true});
    EXPECT_EQ(result.text, u"\U0001F44D " + flag);
    EXPECT_EQ(result.summary.removedFormatControls, 2);
}

// A joiner spared next to an emoji loses its reason when the space after it is trimmed away or a
// private-use scalar between two joiners goes; the finished text must not keep it, or a second
// pass would change the text.
TEST(CleaningTest, InvisibleScalarsLeftWithoutTheirNeighboursAreSettled) {
    const auto trimmed = clean(u"x \U0001F44D\u200D ", hygiene);
    EXPECT_EQ(trimmed.text, u"x \U0001F44D");
    EXPECT_EQ(trimmed.summary.removedFormatControls, 1);
    const auto merged = clean(u"\U0001F44D\u200D\uE000\u200D\U0001F44D", hygiene);
    EXPECT_EQ(merged.text, u"\U0001F44D\U0001F44D");
    EXPECT_EQ(merged.summary.removedFormatControls, 2);
    EXPECT_EQ(merged.summary.removedPrivateUseScalars, 1);
    const auto url = clean(u"https://x.test/?a=\U0001F44D\u200D&utm_source=z", hygiene);
    EXPECT_EQ(url.text, u"https://x.test/?a=\U0001F44D");
    // The tab between emoji and joiner becomes a space, the joiner goes, and so does the double space.
    const auto tab = clean(u"\U0001F44D\t\u200D x", hygiene);
    EXPECT_EQ(tab.text, u"\U0001F44D x");
    EXPECT_EQ(tab.summary.normalizedWhitespaceScalars, 2);
}

TEST(CleaningTest, TheVariantsFixTheirOptions) {
    const std::u16string text = u"  \u201Ca\u201D\u00A0**b** https://x.test/?ref=1\n";
    EXPECT_EQ(TextSanitizer().cleanRewriteHygiene(text).text, u"\u201Ca\u201D **b** https://x.test/");
    EXPECT_EQ(TextSanitizer().cleanSelectedTextHygiene(text).text, u" \u201Ca\u201D **b** https://x.test/\n");
    EXPECT_EQ(TextSanitizer().cleanPlainText(
                  text, {.normalizePunctuation = true, .normalizeWhitespace = true, .trimWhitespace = false}),
              u"\"a\" **b** https://x.test/?ref=1");
}

// Unwrapping, Markdown flattening and ASCII conversion can leave work for a second pass, which is
// what the verification label then reports.
TEST(CleaningTest, WritingOptionsAreNotIdempotentByDesign) {
    const CleaningOptions options{.asciiOnly = true, .stripTrackingParameters = true};
    const auto first = clean(u"https://x.test/?gcl\u00EDd=1", options);
    EXPECT_EQ(first.text, u"https://x.test/?gclid=1");
    EXPECT_EQ(first.summary.strippedURLTrackingParameters, 0);
    EXPECT_EQ(clean(first.text, options).text, u"https://x.test/");

    const CleaningOptions markdown{.flattenMarkdown = true, .unwrapParagraphs = true};
    const auto heading = clean(u"# Title\nbody", markdown);
    EXPECT_EQ(heading.text, u"Title\nbody");
    EXPECT_EQ(clean(heading.text, markdown).text, u"Title body");
}

struct TrackingCase {
    std::u16string_view url;
    std::u16string_view sanitized;
    std::int64_t stripped;
};

TEST(CleaningTest, TrackingRemovalKeepsEveryOtherByte) {
    const TrackingCase cases[] = {
        {u"https://x.test/p?id=7&utm_medium=mail&q=a%20b+c", u"https://x.test/p?id=7&q=a%20b+c", 1},
        {u"HTTPS://X.test/?REF=1&Ref_Src=2&spm=3", u"HTTPS://X.test/", 3},
        {u"https://x.test/?%75tm_source=1&k", u"https://x.test/?k", 1},
        {u"https://x.test/?a=1&&fbclid=2#top", u"https://x.test/?a=1&#top", 1},
        {u"https://x.test/#frag?utm_source=1", u"https://x.test/#frag?utm_source=1", 0},
        {u"https://x.test/wiki/Foo_(bar)?vero_id=1);", u"https://x.test/wiki/Foo_(bar));", 1},
        {u"https://x.test/?ga_source=a&ga_medium=b&page=2", u"https://x.test/?page=2", 2},
        {u"https://x.test/?reference=1&utm=2", u"https://x.test/?reference=1&utm=2", 0},
        {u"https://x.test/?", u"https://x.test/?", 0},
        {u"https://\u00E9x.test/\u00FC?utm_id=\u00E9&\u00E4=1", u"https://\u00E9x.test/\u00FC?\u00E4=1", 1},
    };
    for (const auto& testCase : cases) {
        const auto result = sanitizedURL(testCase.url);
        EXPECT_EQ(result.url, testCase.sanitized);
        EXPECT_EQ(result.strippedParameters, testCase.stripped);
    }
    const auto text = stripURLTracking(u"<https://a.test/?ref=1>, \"http://b.test/?utm_x=1\" https://c.test/");
    EXPECT_EQ(text.text, u"<https://a.test/>, \"http://b.test/\" https://c.test/");
    EXPECT_EQ(text.strippedParameters, 2);
}

}  // namespace
}  // namespace velquor::text
