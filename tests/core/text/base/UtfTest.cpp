#include "core/text/base/Utf.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velquor::text
