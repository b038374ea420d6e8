// The engine's own character classes, held to ICU where ICU is the reference: the ASCII tests
// and lower-casing that skip Unicode lookups, and the line terminators that multi-line patterns
// and the hand-written line scans agree on.
#include "core/text/base/Ascii.h"
#include "core/text/base/Whitespace.h"
#include "core/text/regex/Regex.h"

#include <unicode/uchar.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace velquor::text {
namespace {

TEST(CharacterClassesTest, AsciiTestsAndLowerCasingAgreeWithIcuOnEveryUnit) {
    for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
        const char32_t unit = value;
        const auto codePoint = static_cast<UChar32>(value);
        const bool ascii = unit < 0x80;
        ASSERT_EQ(isAscii(unit), ascii) << value;
        ASSERT_EQ(isAsciiLetter(unit), ascii && u_isalpha(codePoint)) << value;
        const auto lowered = asciiLowered(static_cast<char16_t>(unit));
        ASSERT_EQ(lowered, ascii ? static_cast<char16_t>(u_tolower(codePoint)) : static_cast<char16_t>(unit)) << value;
        ASSERT_EQ(isWhitespaceOrNewline(unit), static_cast<bool>(u_isUWhiteSpace(codePoint))) << value;
    }
}

// Bytes of UTF-8 text above 0x7F are negative as char: they are neither ASCII nor changed.
TEST(CharacterClassesTest, BytesAboveAsciiStayAsTheyAre) {
    for (int value = 0x80; value <= 0xFF; ++value) {
        const auto byte = static_cast<char>(value);
        EXPECT_FALSE(isAscii(byte)) << value;
        EXPECT_FALSE(isAsciiLetter(byte)) << value;
        EXPECT_EQ(asciiLowered(byte), byte) << value;
    }
    EXPECT_EQ(asciiLowered('Q'), 'q');
    EXPECT_EQ(asciiLowered(std::uint8_t{'Z'}), std::uint8_t{'z'});
}

// "x" followed by each unit in turn: ICU's multi-line "$" holds after the "x" exactly when the
// unit is a line terminator.
TEST(CharacterClassesTest, LineTerminatorsAreTheOnesIcuPatternsEndLinesAt) {
    std::u16string text;
    for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
        text += u'x';
        text += static_cast<char16_t>(value);
        text += u'y';
    }
    const auto lineEnd = Regex::compile(u"(?m)x$");
    ASSERT_TRUE(lineEnd);
    const auto scan = lineEnd->allMatches(text);
    ASSERT_TRUE(scan.complete);
    std::set<char32_t> endingLines;
    for (const auto& match : scan.matches) {
        endingLines.insert(text[static_cast<std::size_t>(match.range.utf16Location) + 1]);
    }
    for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
        ASSERT_EQ(isLineTerminator(value), endingLines.contains(value)) << value;
    }
}

}  // namespace
}  // namespace velquor::text
