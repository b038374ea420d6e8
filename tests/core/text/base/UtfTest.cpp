#include "core/text/base/Utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velquor::text {
namespace {

TEST(UtfTest, DecodesWellFormedUtf8IncludingAstralScalarsAndTheByteOrderMark) {
    EXPECT_EQ(decodeUtf8(std::string_view("A\xC3\xA9\xE2\x80\x8B\xF0\x9F\x98\x80")), u"A\u00E9\u200B\U0001F600");
    EXPECT_EQ(decodeUtf8(std::string_view("\xEF\xBB\xBFhi")), u"\uFEFFhi");
    EXPECT_EQ(decodeUtf8(std::string_view("")), u"");
}

TEST(UtfTest, RefusesEveryIllFormedSequence) {
    const std::string_view cases[] = {
        "\xE9",              // Latin-1 on its own
        "\xC0\xAF",          // overlong slash
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xED\xA0\x80",      // UTF-16 surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF0\x9F\x98",      // truncated at the end
        "\x80",              // lone continuation byte
        "\xC3\x28",          // lead without continuation
        "\xFF",
    };
    for (const auto bytes : cases) EXPECT_FALSE(decodeUtf8(bytes)) << testing::PrintToString(std::string(bytes));
}

TEST(UtfTest, EncodingRoundTripsAndReplacesUnpairedSurrogates) {
    const std::u16string text = u"a\u00E9\u20AC\U0001F468\u200D\U0001F469";
    EXPECT_EQ(decodeUtf8(encodeUtf8(text)), text);
    EXPECT_EQ(utf8ByteCount(text), static_cast<std::int64_t>(encodeUtf8(text).size()));
    const std::u16string lone{u'x', char16_t(0xD800), u'y'};
    EXPECT_EQ(encodeUtf8(lone), "x\xEF\xBF\xBDy");
    EXPECT_EQ(utf8ByteCount(lone), 5);
}

TEST(UtfTest, ScalarAtReadsSurrogatePairsAsOneScalar) {
    const std::u16string text = u"\U0001F600x";
    EXPECT_EQ(scalarAt(text, 0).scalar, U'\U0001F600');
    EXPECT_EQ(scalarAt(text, 0).length, 2u);
    EXPECT_EQ(scalarAt(text, 2).scalar, U'x');
    const std::u16string trailOnly{char16_t(0xDE00)};
    EXPECT_EQ(scalarAt(trailOnly, 0).scalar, char32_t(0xDE00));
}

struct ScalarWalk {
    std::u16string text;
    std::vector<TextScalar> scalars;
};

// Every unit is covered exactly once; an unpaired surrogate is a scalar of its own, so a walk
// over hostile text never stalls or skips.
TEST(UtfTest, ScalarsOfCoverEveryUnitOnceAndReadUnpairedSurrogatesAsThemselves) {
    const char16_t lead = 0xD83D;
    const char16_t trail = 0xDE00;
    const ScalarWalk walks[] = {
        {u"", {}},
        {u"a\U0001F600b", {{U'a', 0, 1}, {U'\U0001F600', 1, 2}, {U'b', 3, 1}}},
        {{lead}, {{lead, 0, 1}}},
        {{trail, lead}, {{trail, 0, 1}, {lead, 1, 1}}},
        {{u'x', lead, u'y', trail}, {{U'x', 0, 1}, {lead, 1, 1}, {U'y', 2, 1}, {trail, 3, 1}}},
        {{lead, lead, trail}, {{lead, 0, 1}, {U'\U0001F600', 1, 2}}},
    };
    for (const auto& [text, expected] : walks) {
        std::vector<TextScalar> walked;
        for (const auto& scalar : scalarsOf(text)) walked.push_back(scalar);
        ASSERT_EQ(walked.size(), expected.size()) << testing::PrintToString(text);
        for (std::size_t i = 0; i < walked.size(); ++i) {
            EXPECT_EQ(walked[i].scalar, expected[i].scalar);
            EXPECT_EQ(walked[i].offset, expected[i].offset);
            EXPECT_EQ(walked[i].length, expected[i].length);
        }
        // Read backwards from each scalar's end, the same scalars come back.
        for (const auto& scalar : expected) {
            const auto before = scalarBefore(text, scalar.end());
            EXPECT_EQ(before.scalar, scalar.scalar);
            EXPECT_EQ(before.length, scalar.length);
        }
    }
}

TEST(UtfTest, ScalarRunsEndAtTheFirstScalarThatFailsOrAtTheEnd) {
    const std::u16string text = u"ab\U0001F600\U0001F600c";
    const auto isEmoji = [](char32_t scalar) { return scalar == U'\U0001F600'; };
    EXPECT_EQ(scalarRunEnd(text, 2, isEmoji), 6u);
    EXPECT_EQ(scalarRunEnd(text, 0, isEmoji), 0u);
    EXPECT_EQ(scalarRunEnd(text, 6, [](char32_t) { return true; }), text.size());
    EXPECT_EQ(scalarRunEnd(text, text.size(), isEmoji), text.size());
    EXPECT_EQ(scalarRunEnd(u"", 0, isEmoji), 0u);
    // A walk may start in the middle, at a scalar boundary.
    const auto fromEmoji = scalarsOf(text, 4);
    EXPECT_EQ(std::ranges::count_if(fromEmoji, isEmoji, &TextScalar::scalar), 1);
}

}  // namespace
}  // namespace velquor::text
