#include "core/text/TextSanitizer.h"
#include "core/text/base/Ascii.h"
#include "core/text/base/GraphemeClusters.h"
#include "core/text/base/Utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace velquor::text {
namespace {

// Pieces of hostile and ordinary text: joiners and marks in and out of their scripts, tags,
// flags, selectors, every kind of space and line break, URLs with tracking, typographic
// punctuation, Markdown, private use, controls, combining and prepended marks.
const std::u16string_view fragments[] = {
    u"a",
    u"Z",
    u"1",
    u" ",
    u"  ",
    u"\t",
    u"\n",
    u"\n\n",
    u"\r",
    u"\r\n",
    u"\u00A0",
    u"\u202F",
    u"\u2007",
    u"\u3000",
    u"\u2028",
    u"\u0085",
    u"\u000B",
    u"\u000C",
    u"\u200B",
    u"\u200C",
    u"\u200D",
    u"\u200E",
    u"\u200F",
    u"\u202E",
    u"\u2066",
    u"\u061C",
    u"\uFEFF",
    u"\u00AD",
    u"\u2060",
    u"\uFE0F",
    u"\uFE0E",
    u"\U000E0100",
    u"\U000E0041",
    u"\U000E007F",
    u"\U0001F3F4\U000E0067\U000E0062\U000E0077\U000E006C\U000E0073\U000E007F",
    u"\U0001F3F4",
    u"\U0001F44D",
    u"\U0001F468",
    u"\u2764",
    u"#",
    u"*",
    u"0",
    u"\u20E3",
    u"\u0628",
    u"\u0644",
    u"\u05E9",
    u"\u0600",
    u"\u0661",
    u"\u0915",
    u"\u094D",
    u"\u1780",
    u"\u17B4",
    u"\u1100",
    u"\u1160",
    u"\u115F",
    u"\u1820",
    u"\u180B",
    u"\u180E",
    u"\uE000",
    u"\U000F0000",
    u"\u0007",
    u"\u0000",
    u"\u001B",
    u"\u0301",
    u"\u0903",
    u"https://x.test/?utm_source=a&id=1",
    u"http://y.test/p?ref=2",
    u"?gclid=3",
    u"&fbclid=4",
    u"https://z.test/",
    u".",
    u")",
    u"\"",
    u"'",
    u"<",
    u"\u201C",
    u"\u201D",
    u"\u2019",
    u"\u2014",
    u"\u2026",
    u"\u2022",
    u"- ",
    u"# ",
    u"**",
    u"*",
    u"_",
    u"`",
    u"```",
    u"[t](u)",
    u"|",
    u"\u00C6",
    u"\u00E9",
    u"\u4E2D",
};

// A few pieces only, so that their every arrangement around a spared joiner comes up.
const std::u16string_view joinerFragments[] = {
    u"\U0001F44D", u"\u0628", u"\u05E9", u"\u200D", u"\u200C",
    u"\u200F",     u"\t",     u" ",      u"\u00A0", u"\n",
    u"\u0000",     u"\uE000", u"x",      u"?ref=1", u"https://x.test/?a=",
};

template <std::size_t N>
std::u16string randomText(std::mt19937& random, const std::u16string_view (&pieces)[N], std::size_t maxPieces) {
    std::uniform_int_distribution<std::size_t> length(0, maxPieces);
    std::uniform_int_distribution<std::size_t> pick(0, N - 1);
    std::u16string text;
    for (auto n = length(random); n > 0; --n) text += pieces[pick(random)];
    return text;
}

std::u16string randomText(std::mt19937& random) {
    return random() % 2 == 0 ? randomText(random, fragments, 24) : randomText(random, joinerFragments, 10);
}

std::string hex(std::u16string_view text) {
    std::string shown;
    for (const auto& [scalar, offset, length] : scalarsOf(text)) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(scalar));
        shown += buffer;
    }
    return shown;
}

void expectConsistent(std::u16string_view input, const TextCleanResult& result) {
    EXPECT_EQ(result.summary.inputCharacters, graphemeClusterCount(input));
    EXPECT_EQ(result.summary.outputCharacters, graphemeClusterCount(result.text));
    EXPECT_TRUE(std::is_sorted(result.changedOutputOffsets.begin(), result.changedOutputOffsets.end()));
    EXPECT_TRUE(std::adjacent_find(result.changedOutputOffsets.begin(), result.changedOutputOffsets.end()) ==
                result.changedOutputOffsets.end());
    if (!result.changedOutputOffsets.empty()) {
        EXPECT_GE(result.changedOutputOffsets.front(), 0);
        EXPECT_LT(result.changedOutputOffsets.back(), result.summary.outputCharacters);
    }
    EXPECT_EQ(result.summary.contentChanged, result.text != input);
}

TEST(CleaningPropertyTest, HygieneCleaningIsIdempotentAloneAndWithPunctuation) {
    const CleaningOptions optionSets[] = {
        {.removeUnsafeUnicode = true, .normalizeWhitespace = true, .stripTrackingParameters = true},
        {.removeUnsafeUnicode = true,
         .normalizeWhitespace = true,
         .stripTrackingParameters = true,
         .trimWhitespace = false},
        {.normalizePunctuation = true,
         .removeUnsafeUnicode = true,
         .normalizeWhitespace = true,
         .stripTrackingParameters = true},
        {.normalizePunctuation = true,
         .removeUnsafeUnicode = true,
         .normalizeWhitespace = true,
         .stripTrackingParameters = true,
         .trimWhitespace = false},
    };
    std::mt19937 random(20240611);
    const TextSanitizer sanitizer;
    for (int round = 0; round < 3000; ++round) {
        const auto text = randomText(random);
        for (const auto& options : optionSets) {
            const auto first = sanitizer.cleanPlainTextResult(text, options);
            const auto second = sanitizer.cleanPlainTextResult(first.text, options);
            ASSERT_EQ(second.text, first.text) << hex(text);
            ASSERT_FALSE(second.summary.changed()) << hex(text);
            ASSERT_EQ(second.summary.activeChangeCount(), 0) << hex(text);
            expectConsistent(text, first);
        }
    }
}

TEST(CleaningPropertyTest, EveryOptionCombinationKeepsItsResultsConsistent) {
    std::mt19937 random(7);
    const TextSanitizer sanitizer;
    for (int round = 0; round < 1500; ++round) {
        const auto text = randomText(random);
        const unsigned bits = random();
        const CleaningOptions options{
            .asciiOnly = (bits & 1) != 0,
            .flattenMarkdown = (bits & 2) != 0,
            .unwrapParagraphs = (bits & 4) != 0,
            .normalizePunctuation = (bits & 8) != 0,
            .removeUnsafeUnicode = (bits & 16) != 0,
            .normalizeWhitespace = (bits & 32) != 0,
            .stripTrackingParameters = (bits & 64) != 0,
            .trimWhitespace = (bits & 128) != 0,
        };
        const auto result = sanitizer.cleanPlainTextResult(text, options);
        expectConsistent(text, result);
        if (options.asciiOnly) {
            EXPECT_TRUE(std::all_of(result.text.begin(), result.text.end(), isAscii));
        }
        EXPECT_EQ(sanitizer.cleanPlainText(text, options),
                  sanitizer
                      .cleanPlainTextResult(text, {.asciiOnly = options.asciiOnly,
                                                   .flattenMarkdown = options.flattenMarkdown,
                                                   .unwrapParagraphs = options.unwrapParagraphs,
                                                   .normalizePunctuation = options.normalizePunctuation,
                                                   .removeUnsafeUnicode = options.removeUnsafeUnicode,
                                                   .normalizeWhitespace = options.normalizeWhitespace,
                                                   .stripTrackingParameters = options.stripTrackingParameters,
                                                   .trimWhitespace = true})
                      .text);
    }
}

// Input shaped to make a pattern, a walk or the diff go quadratic. The scans must finish
// with the right answer; how fast is the benchmarks' business.
struct HostileCase {
    std::u16string_view name;
    std::u16string text;
};

std::u16string repeated(std::u16string_view piece, std::size_t bytes) {
    std::u16string text;
    text.reserve(bytes);
    while (text.size() < bytes) text += piece;
    return text;
}

void expectEveryPassCompletes(const HostileCase& testCase) {
    SCOPED_TRACE(std::string(testCase.name.begin(), testCase.name.end()));
    const TextSanitizer sanitizer;
    const CleaningOptions everything{.asciiOnly = true,
                                     .flattenMarkdown = true,
                                     .unwrapParagraphs = true,
                                     .normalizePunctuation = true,
                                     .removeUnsafeUnicode = true,
                                     .normalizeWhitespace = true,
                                     .stripTrackingParameters = true};
    const auto report = sanitizer.inspect(testCase.text);
    EXPECT_TRUE(report.timedOutScans.empty());
    expectConsistent(testCase.text, sanitizer.cleanPlainTextResult(testCase.text, everything));
    for (const auto& item : sanitizer.reviewChanges(testCase.text)) {
        for (const auto& location : item.locations) {
            EXPECT_GE(location.utf16Location, 0);
            EXPECT_LE(location.end(), std::ssize(testCase.text));
        }
    }
}

TEST(CleaningPropertyTest, BlankLinesBackToBackUrlsAndALongLineCompleteEveryPass) {
    const HostileCase cases[] = {
        {u"blank lines", repeated(u"\n", 80'000)},
        {u"back-to-back URLs", repeated(u"http://a", 320'000)},
        {u"a line without spaces", repeated(u"abcdefghij", 1'000'000)},
    };
    for (const auto& testCase : cases) expectEveryPassCompletes(testCase);
}

// Each of these makes one pattern, walk or diff re-read its input from every start when done
// naively; at this size that would take minutes.
TEST(CleaningPropertyTest, PatternTrapsCompleteEveryPass) {
    const HostileCase cases[] = {
        {u"blank lines with spaces", repeated(u" \n", 80'000)},
        {u"unclosed link texts", repeated(u"[a](x", 256'000)},
        {u"unclosed brackets", repeated(u"[", 256'000)},
        {u"table pipes", repeated(u"|", 256'000)},
        {u"rule dashes", repeated(u"-", 256'000)},
        {u"emphasis asterisks", repeated(u"*a", 256'000)},
        {u"spaces", u"a" + repeated(u" ", 256'000) + u"b"},
        {u"joiners", u"\u0628" + repeated(u"\u200D", 256'000) + u"\u0628"},
        {u"combining marks", u"a" + repeated(u"\u0301", 100'000)},
    };
    for (const auto& testCase : cases) expectEveryPassCompletes(testCase);
}

TEST(CleaningPropertyTest, HostileInputGivesTheRightAnswers) {
    const TextSanitizer sanitizer;
    const auto blank = sanitizer.cleanPlainTextResult(repeated(u"\n", 80'000), {.normalizeWhitespace = true});
    EXPECT_EQ(blank.text, u"");
    EXPECT_EQ(blank.summary.trimmedCharacters, 80'000);

    const auto urls = repeated(u"http://a", 320'000);
    EXPECT_EQ(sanitizer.cleanPlainTextResult(urls, {.stripTrackingParameters = true}).text, urls);
    EXPECT_TRUE(sanitizer.reviewChanges(urls).empty());

    const auto tracked = repeated(u"http://a?ref=1", 320'000);
    const auto strippedUrls = sanitizer.cleanPlainTextResult(tracked, {.stripTrackingParameters = true});
    EXPECT_EQ(strippedUrls.text, u"http://a");  // one URL whose only parameter has a very long value
    EXPECT_EQ(strippedUrls.summary.strippedURLTrackingParameters, 1);

    const auto line = repeated(u"abcdefghij", 1'000'000);
    const auto sameLine = sanitizer.cleanPlainTextResult(
        line,
        {.flattenMarkdown = true, .unwrapParagraphs = true, .removeUnsafeUnicode = true, .normalizeWhitespace = true});
    EXPECT_EQ(sameLine.text, line);
    EXPECT_TRUE(sameLine.changedOutputOffsets.empty());

    const auto links = repeated(u"[a](x", 1'000'000) + u" [b](y)";
    const auto flattened = sanitizer.cleanPlainTextResult(links, {.flattenMarkdown = true});
    EXPECT_EQ(flattened.summary.markdownArtifactsFlattened, 1);
    EXPECT_TRUE(flattened.text.ends_with(u" b (y)"));
}

// Every cleaned character away from the edits is left alone in the highlight, however many
// edits a large text has.
TEST(CleaningPropertyTest, ManySpreadChangesAreHighlightedWhereTheyAre) {
    std::u16string text;
    std::vector<std::int64_t> expected;
    for (int paragraph = 0; paragraph < 20'000; ++paragraph) {
        text += u"Paragraph " + std::u16string(1, static_cast<char16_t>(u'A' + paragraph % 26)) +
                u" goes on with\u00A0words and words.\n";
    }
    const auto result = TextSanitizer().cleanPlainTextResult(text, {.normalizeWhitespace = true});
    ASSERT_EQ(result.changedOutputOffsets.size(), 20'000u);
    const auto lineLength =
        static_cast<std::int64_t>(std::u16string_view(u"Paragraph A goes on with words and words.\n").size());
    for (std::size_t i = 0; i < result.changedOutputOffsets.size(); ++i) {
        ASSERT_EQ(result.changedOutputOffsets[i], static_cast<std::int64_t>(i) * lineLength + 24);
    }
}

}  // namespace
}  // namespace velquor::text
