#include "core/text/TextSanitizer.h"

#include <gtest/gtest.h>

#include <optional>

namespace velquor::text {
namespace {

using Category = TextChangeCategory;

std::vector<TextChangeReviewItem> review(std::u16string_view text) { return TextSanitizer().reviewChanges(text); }

const TextChangeReviewItem* itemFor(const std::vector<TextChangeReviewItem>& items, Category category) {
    for (const auto& item : items) {
        if (item.category == category) return &item;
    }
    return nullptr;
}

std::vector<Category> categoriesOf(const std::vector<TextChangeReviewItem>& items) {
    std::vector<Category> categories;
    for (const auto& item : items) categories.push_back(item.category);
    return categories;
}

TEST(ChangeReviewTest, NothingToChangeGivesNoItems) {
    EXPECT_TRUE(review(u"").empty());
    EXPECT_TRUE(review(u"Plain words. Another sentence? No: a paragraph.\n\nNext one.").empty());
}

// Every category in its fixed order, and after hygiene cleaning exactly the ones that are not
// hygiene: the hygiene variants apply those three and leave the writing alone.
TEST(ChangeReviewTest, HygieneCleaningLeavesExactlyTheWritingCategories) {
    const std::u16string text =
        u"## Title\n\u201Cquoted\u201D \u200Btext  with https://x.test/?utm_source=a\nwrapped \u00C6";
    const auto before = review(text);
    const auto all = allTextChangeCategories();
    EXPECT_EQ(categoriesOf(before), std::vector<Category>(all.begin(), all.end()));
    std::vector<Category> writing;
    for (const auto category : all) {
        if (!info(category).isHygiene) writing.push_back(category);
    }
    EXPECT_EQ(categoriesOf(review(TextSanitizer().cleanRewriteHygiene(text).text)), writing);
    EXPECT_EQ(categoriesOf(review(TextSanitizer().cleanSelectedTextHygiene(text).text)), writing);
}

TEST(ChangeReviewTest, ZeroWidthSpaceIsUnsafeAndNonAscii) {
    const auto items = review(u"ab\u200Bcd");
    ASSERT_EQ(categoriesOf(items), (std::vector<Category>{Category::unsafeUnicode, Category::ascii}));
    EXPECT_EQ(items[0].count, 1);
    EXPECT_EQ(items[0].locations, (std::vector<TextLocation>{{2, 1}}));
    EXPECT_EQ(items[0].preview, (TextChangePreview{u"\u200B", u""}));
    EXPECT_EQ(items[1].count, 1);
    EXPECT_EQ(items[1].preview, (TextChangePreview{u"\u200B", u"?"}));
}

struct WhitespaceCase {
    std::u16string_view text;
    std::int64_t count;
    std::vector<TextLocation> locations;
    TextChangePreview preview;
};

TEST(ChangeReviewTest, WhitespaceCountsLocationsAndPreviews) {
    const WhitespaceCase cases[] = {
        {u"two  spaces", 1, {{3, 2}}, {u"  ", u" "}},
        {u"trailing \n\nx", 1, {{8, 1}}, {u" ", u""}},
        {u"a\r\nb\r\nc", 1, {{1, 1}, {4, 1}}, {u"\r", u"\n"}},
        {u"no\u00A0break", 1, {{2, 1}}, {u"\u00A0", u" "}},
    };
    for (const auto& testCase : cases) {
        const auto items = review(testCase.text);
        const auto* item = itemFor(items, Category::whitespace);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->count, testCase.count);
        EXPECT_EQ(item->locations, testCase.locations);
        EXPECT_EQ(item->preview, testCase.preview);
    }
}

TEST(ChangeReviewTest, TrackingItemNamesWholeUrlsButCountsParameters) {
    const auto items = review(u"see https://x.test/a?utm_source=n&utm_medium=m&id=1 now");
    const auto* item = itemFor(items, Category::trackingURLs);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->count, 2);
    EXPECT_EQ(item->locations, (std::vector<TextLocation>{{4, 47}}));
    EXPECT_EQ(item->preview,
              (TextChangePreview{u"https://x.test/a?utm_source=n&utm_medium=m&id=1", u"https://x.test/a?id=1"}));
    // The cleaner strips ga_source, which the review's pattern does not name: a count, nothing to show.
    const auto unnamedItems = review(u"https://x.test/?ga_source=1");
    const auto* unnamed = itemFor(unnamedItems, Category::trackingURLs);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->count, 1);
    EXPECT_TRUE(unnamed->locations.empty());
    EXPECT_FALSE(unnamed->preview.has_value());
}

TEST(ChangeReviewTest, HardWrapsPointAtTheFirstSingleBreaks) {
    const auto simpleItems = review(u"one\ntwo");
    const auto* simple = itemFor(simpleItems, Category::paragraphWrapping);
    ASSERT_NE(simple, nullptr);
    EXPECT_EQ(simple->count, 1);
    EXPECT_EQ(simple->locations, (std::vector<TextLocation>{{3, 1}}));
    EXPECT_EQ(simple->preview, (TextChangePreview{u"\n", u" "}));
    // A list first: its own single break comes first, though only the paragraph is joined.
    const auto listItems = review(u"- a\n- b\n\nwrapped\nline");
    const auto* afterList = itemFor(listItems, Category::paragraphWrapping);
    ASSERT_NE(afterList, nullptr);
    EXPECT_EQ(afterList->count, 1);
    EXPECT_EQ(afterList->locations, (std::vector<TextLocation>{{3, 1}}));
}

TEST(ChangeReviewTest, PunctuationMarkdownAndAsciiItems) {
    const auto items = review(u"## Title\n\u201Cq\u201D **bold** [a](https://x.test) \u00C6r\u00F8");
    ASSERT_EQ(categoriesOf(items), (std::vector<Category>{Category::punctuation, Category::markdown, Category::ascii}));
    EXPECT_EQ(items[0].count, 2);
    EXPECT_EQ(items[0].preview, (TextChangePreview{u"\u201C", u"\""}));
    EXPECT_EQ(items[1].count, 3);
    EXPECT_EQ(items[1].locations, (std::vector<TextLocation>{{0, 4}, {13, 8}, {22, 19}}));
    EXPECT_EQ(items[1].preview, (TextChangePreview{u"## T", u"T"}));
    // Every non-ASCII scalar is a location, letters that transliterate cleanly included; the
    // example is the ASCII step alone, which has no plain form for a curly quote.
    EXPECT_EQ(items[2].count, 4);
    EXPECT_EQ(items[2].preview, (TextChangePreview{u"\u201C", u"?"}));
    const auto letterItems = review(u"\u00C6r\u00F8");
    const auto* letters = itemFor(letterItems, Category::ascii);
    ASSERT_NE(letters, nullptr);
    EXPECT_EQ(letters->preview, (TextChangePreview{u"\u00C6", u"AE"}));
}

TEST(ChangeReviewTest, ReviewDoesNotSpareSmuggledTags) {
    const auto items = review(u"ok \U0001F44D\U000E0068\U000E0069");
    const auto* unsafe = itemFor(items, Category::unsafeUnicode);
    ASSERT_NE(unsafe, nullptr);
    EXPECT_EQ(unsafe->count, 2);
    EXPECT_EQ(unsafe->locations, (std::vector<TextLocation>{{5, 2}, {7, 2}}));
    const auto flag = review(u"\U0001F3F4\U000E0067\U000E0062\U000E0077\U000E006C\U000E0073\U000E007F");
    EXPECT_EQ(itemFor(flag, Category::unsafeUnicode), nullptr);
}

}  // namespace
}  // namespace velquor::text
