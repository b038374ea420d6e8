// The map between the model's text and the editor's document, checked against what a real
// QTextDocument makes of a text.
#include "ui/text/EditorOffsetMap.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace velquor::ui {
namespace {

QString rawDocumentText(const QString& modelText) {
    QPlainTextEdit view;
    view.setPlainText(modelText);
    return view.document()->toRawText();
}

struct MapCase {
    const char* name;
    QString text;
};

class DocumentFormTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(DocumentFormTest, DocumentTextIsWhatQtStores) {
    const QString& text = GetParam().text;
    const auto map = EditorOffsetMap::forText(text);
    EXPECT_EQ(map.documentText(text, 0, text.size()), rawDocumentText(text));
    EXPECT_EQ(map.documentEnd(text.size()), rawDocumentText(text).size());
}

TEST_P(DocumentFormTest, OffsetsRoundTripOutsideMergedPairs) {
    const QString& text = GetParam().text;
    const auto map = EditorOffsetMap::forText(text);
    const qsizetype documentLength = map.documentEnd(text.size());
    for (qsizetype d = 0; d <= documentLength; ++d) {
        const qsizetype m = map.modelOffset(d);
        EXPECT_EQ(map.documentStart(m), d) << "document offset " << d;
        EXPECT_EQ(map.documentEnd(m), d) << "document offset " << d;
    }
    EXPECT_EQ(map.modelOffset(documentLength), text.size());
}

QString allBmpUnits() {
    QString text;
    for (char16_t unit = 1; unit != 0; ++unit) text.append(QChar(unit));
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DocumentFormTest,
    ::testing::Values(MapCase{"empty", QString()}, MapCase{"lone_cr", QStringLiteral("a\rb")},
                      MapCase{"crlf", QStringLiteral("a\r\nb")}, MapCase{"cr_cr_lf", QStringLiteral("\r\r\n\n\r")},
                      MapCase{"lf_cr", QStringLiteral("x\n\ry")},
                      MapCase{"separators", QString::fromUtf16(u"a\u2028b\u2029c\u00A0d\te")},
                      MapCase{"frame_markers", QString::fromUtf16(u"a\uFDD0b\uFDD1c")},
                      MapCase{"tags_and_emoji", QString::fromUtf16(u"Hi\U000E006E\U000E006F \U0001F600\r\n")},
                      MapCase{"lone_surrogates", QString::fromUtf16(u"a\xD800"
                                                                    u"b\xDC00")},
                      MapCase{"every_bmp_unit", allBmpUnits()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditorOffsetMap, OffsetsInsideAPairRoundOutward) {
    const QString text = QStringLiteral("ab\r\ncd");
    const auto map = EditorOffsetMap::forText(text);
    EXPECT_EQ(map.documentStart(3), 2);  // between CR and LF: the range starts at the separator
    EXPECT_EQ(map.documentEnd(3), 3);    // and ends after it
    EXPECT_EQ(map.modelOffset(3), 4);    // after the separator is after the LF
}

TEST(EditorOffsetMap, ReplaceKeepsLaterPairsAndAddsInsertedOnes) {
    // "a\r\nb\r\nc" -> replace "b" with "X\r\nY" : pairs at 1, 4 become 1, 3, 7.
    QString text = QStringLiteral("a\r\nb\r\nc");
    auto map = EditorOffsetMap::forText(text);
    const QString inserted = QStringLiteral("X\r\nY");
    text.replace(3, 1, inserted);
    map.replace(3, 4, inserted.size(), EditorOffsetMap::forText(inserted));
    EXPECT_EQ(map.mergedPairs(), (std::vector<qsizetype>{1, 4, 7}));
    EXPECT_EQ(map.documentText(text, 0, text.size()), rawDocumentText(text));
}

TEST(EditorOffsetMap, RemovingAPairDropsItAndShiftsTheRest) {
    QString text = QStringLiteral("a\r\nb\r\nc");
    auto map = EditorOffsetMap::forText(text);
    text.remove(1, 2);
    map.replace(1, 3, 0, EditorOffsetMap());
    EXPECT_EQ(map.mergedPairs(), (std::vector<qsizetype>{2}));
}

TEST(EditorOffsetMap, ModelTextFromDocumentTurnsSeparatorsIntoLineFeeds) {
    EXPECT_EQ(modelTextFromDocument(QString::fromUtf16(u"a\u2029b\u2028c\u00A0")),
              QString::fromUtf16(u"a\nb\u2028c\u00A0"));
}

}  // namespace
}  // namespace velquor::ui
