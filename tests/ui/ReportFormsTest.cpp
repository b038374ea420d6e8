// How values of the reports are shown: the examples of changes and the highlighted characters
// of the cleaned text.
#include "ui/common/ViewColors.h"
#include "ui/report/PreviewValueDisplay.h"
#include "ui/text/PlainTextPreview.h"

#include <gtest/gtest.h>

namespace velquor::ui {
namespace {

struct DisplayCase {
    const char16_t* value;
    const char16_t* shown;
};

TEST(DisplayPreviewValue, NamesWhatCannotBeSeen) {
    const DisplayCase cases[] = {
        {u"\u200B", u"<U+200B>"},
        {u"  ", u"<space><space>"},
        {u"\r\n", u"<carriage return><line break>"},
        {u"a\tb", u"a<tab>b"},
        {u"\U000E0041", u"<U+E0041>"},
        {u"\uFE0F", u"<U+FE0F>"},
        {u"\U000E0100", u"<U+E0100>"},
        {u"\uE000", u"<U+E000>"},
        {u"\u0007", u"<U+0007>"},
        {u"\u202E", u"<U+202E>"},
        {u"\xD800", u"<U+D800>"},
        {u"\u00E9\U0001F600\u2014", u"\u00E9\U0001F600\u2014"},
        {u"", u""},
    };
    for (const auto& [value, shown] : cases) {
        EXPECT_EQ(displayPreviewValue(QString::fromUtf16(value)), QString::fromUtf16(shown))
            << QString::fromUtf16(shown).toStdString();
    }
}

struct RangeCase {
    const char* name;
    const char16_t* text;
    std::vector<std::int64_t> offsets;
    std::vector<text::TextLocation> ranges;
};

TEST(HighlightedRanges, OneRangePerRunOfCharacters) {
    const RangeCase cases[] = {
        {"empty text", u"", {0}, {}},
        {"no offsets", u"abc", {}, {}},
        {"a run and a single", u"abcdef", {1, 2, 4}, {{1, 2}, {4, 1}}},
        {"emoji are two units", u"a\U0001F600b", {1}, {{1, 2}}},
        {"a family emoji is one character", u"x\U0001F468\u200D\U0001F469yz", {1, 3}, {{1, 5}, {7, 1}}},
        {"CRLF is one character", u"a\r\nb", {1}, {{1, 2}}},
        {"offsets past the end are dropped", u"ab", {1, 2, 7, -1}, {{1, 1}}},
        {"unsorted and repeated offsets", u"abcd", {3, 0, 3, 1}, {{0, 2}, {3, 1}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(highlightedRanges(QString::fromUtf16(c.text), c.offsets), c.ranges) << c.name;
    }
}

QPalette paletteOn(const QColor& window, const QColor& text) {
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, window);
    return palette;
}

TEST(ViewColors, StatusColoursReadOnLightAndDarkWindows) {
    for (const auto& palette :
         {paletteOn(Qt::white, Qt::black), paletteOn(QColor(30, 30, 30), QColor(235, 235, 235))}) {
        const auto colors = ViewColors::of(palette);
        const int window = palette.color(QPalette::Window).lightness();
        // Each status colour stands apart from the window it is drawn on.
        for (const QColor& status : {colors.green, colors.orange, colors.red}) {
            EXPECT_GT(std::abs(status.lightness() - window), 60) << status.name().toStdString();
        }
        EXPECT_NEAR(colors.highlight.alphaF(), 0.32, 0.01);
        EXPECT_NEAR(colors.boxBackground.alphaF(), 0.08, 0.01);
        EXPECT_NEAR(colors.boxBorder.alphaF(), 0.35, 0.01);
        EXPECT_EQ(colors.highlight.rgb(), colors.orange.rgb());
        // Secondary text lies between the text and the window, tertiary further towards the window.
        const int text = palette.color(QPalette::WindowText).lightness();
        EXPECT_LT(std::abs(colors.secondaryText.lightness() - text), std::abs(colors.tertiaryText.lightness() - text));
        EXPECT_LT(std::abs(colors.tertiaryText.lightness() - window), std::abs(text - window));
    }
}

}  // namespace
}  // namespace velquor::ui
