// The editor applies each edit to the bound text as the change it is: what the person did not
// touch stays unit for unit, including what the document cannot tell apart.
#include "ui/text/SelectableTextEditor.h"

#include "ui/text/EditorFindBar.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QUuid>

#include <gtest/gtest.h>

namespace velquor::ui {
namespace {

// NBSP, CR, CRLF, U+2028, U+2029, tabs, a zero-width space and tag characters.
const QString hostileText = QString::fromUtf16(
    u"one\u00A0two\rthree\r\nfour\u2028five\u2029six\tseven\u200Beight\U000E0041\U000E0042\r\n\tend");

struct EditorFixture {
    EditorFixture() {
        editor.resize(500, 300);
        editor.setEditable(true);
        editor.setText(hostileText);
        editor.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
        editor.textView()->setFocus();
        QObject::connect(&editor, &SelectableTextEditor::textEdited, [this] { ++edits; });
    }

    void moveTo(qsizetype modelOffset) {
        const auto map = EditorOffsetMap::forText(editor.text());
        QTextCursor cursor(editor.textView()->document());
        cursor.setPosition(static_cast<int>(map.documentStart(modelOffset)));
        editor.textView()->setTextCursor(cursor);
    }

    SelectableTextEditor editor;
    int edits = 0;
};

struct TypingCase {
    const char* name;
    qsizetype modelOffset;  // where the character is typed
};

class TypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingTest, OneTypedCharacterIsTheOnlyChange) {
    EditorFixture fixture;
    fixture.moveTo(GetParam().modelOffset);
    QTest::keyClicks(fixture.editor.textView(), QStringLiteral("X"));
    QString expected = hostileText;
    expected.insert(GetParam().modelOffset, QChar(u'X'));
    EXPECT_EQ(fixture.editor.text(), expected);
    EXPECT_EQ(fixture.edits, 1);
}

INSTANTIATE_TEST_SUITE_P(Positions, TypingTest,
                         ::testing::Values(TypingCase{"start", 0}, TypingCase{"after_nbsp", 4},
                                           TypingCase{"after_cr", 8}, TypingCase{"after_crlf", 15},
                                           TypingCase{"after_line_separator", 20},
                                           TypingCase{"after_paragraph_separator", 25},
                                           TypingCase{"after_tag_characters", 47},
                                           TypingCase{"end", hostileText.size()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectableTextEditor, BackspaceOverCrLfRemovesBothUnitsAndReturnTypesALineFeed) {
    EditorFixture fixture;
    fixture.moveTo(15);  // after "three\r\n"
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Backspace);
    QString expected = hostileText;
    expected.remove(13, 2);
    EXPECT_EQ(fixture.editor.text(), expected);

    fixture.moveTo(3);
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Return);
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Return, Qt::ShiftModifier);
    expected.insert(3, QStringLiteral("\n\n"));
    EXPECT_EQ(fixture.editor.text(), expected);
}

TEST(SelectableTextEditor, UndoRestoresTheTextUnitForUnit) {
    EditorFixture fixture;
    fixture.moveTo(15);
    QTest::keyClicks(fixture.editor.textView(), QStringLiteral("abc"));
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Backspace);
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Backspace);
    fixture.editor.textView()->selectAll();
    QTest::keyClick(fixture.editor.textView(), Qt::Key_Delete);
    EXPECT_TRUE(fixture.editor.text().isEmpty());
    while (fixture.editor.textView()->document()->isUndoAvailable()) fixture.editor.textView()->undo();
    EXPECT_EQ(fixture.editor.text(), hostileText);
}

TEST(SelectableTextEditor, APasteKeepsItsOwnLineBreaksAndSpaces) {
    EditorFixture fixture;
    fixture.moveTo(3);
    const QString pasted = QString::fromUtf16(u"[a\r\nb\rc\u2029d\u00A0e]");
    QApplication::clipboard()->setText(pasted);
    fixture.editor.textView()->paste();
    QString expected = hostileText;
    expected.insert(3, pasted);
    EXPECT_EQ(fixture.editor.text(), expected);
    // Later edits still land where the person put them.
    QTest::keyClicks(fixture.editor.textView(), QStringLiteral("Z"));
    expected.insert(3 + pasted.size(), QChar(u'Z'));
    EXPECT_EQ(fixture.editor.text(), expected);
}

TEST(SelectableTextEditor, AStraightQuoteStaysStraight) {
    EditorFixture fixture;
    fixture.editor.setText(QString());
    QTest::keyClicks(fixture.editor.textView(), QStringLiteral("\"it's\" -- ..."));
    EXPECT_EQ(fixture.editor.text(), QStringLiteral("\"it's\" -- ..."));
}

TEST(SelectableTextEditor, ASelectionAfterLineBreaksLandsOnTheRequestedCharacters) {
    EditorFixture fixture;
    for (const auto& [start, length] : std::vector<std::pair<qsizetype, qsizetype>>{
             {15, 4}, {26, 3}, {37, 1}, {13, 2}, {42, 4}, {0, hostileText.size()}}) {
        fixture.editor.setSelectionRequest(
            app::TextSelectionRequest{QUuid::createUuid(), QStringLiteral("test"), 0, {start, length}});
        const QTextCursor cursor = fixture.editor.textView()->textCursor();
        const auto map = EditorOffsetMap::forText(hostileText);
        EXPECT_EQ(map.modelOffset(cursor.selectionStart()), start) << start;
        EXPECT_EQ(map.modelOffset(cursor.selectionEnd()), start + length) << start;
    }
    EXPECT_TRUE(fixture.editor.textView()->hasFocus());
}

TEST(SelectableTextEditor, SelectionRequestsOutsideTheTextOrSeenBeforeAreIgnored) {
    EditorFixture fixture;
    const QUuid id = QUuid::createUuid();
    fixture.editor.setSelectionRequest(app::TextSelectionRequest{id, QStringLiteral("s"), 0, {0, 3}});
    fixture.moveTo(5);
    fixture.editor.setSelectionRequest(app::TextSelectionRequest{id, QStringLiteral("s"), 0, {0, 3}});
    EXPECT_FALSE(fixture.editor.textView()->textCursor().hasSelection()) << "the same id is carried out once";
    for (const text::TextLocation range :
         {text::TextLocation{hostileText.size(), 1}, text::TextLocation{hostileText.size() - 1, 2},
          text::TextLocation{-1, 2}, text::TextLocation{2, -1}}) {
        fixture.editor.setSelectionRequest(
            app::TextSelectionRequest{QUuid::createUuid(), QStringLiteral("s"), 0, range});
        EXPECT_FALSE(fixture.editor.textView()->textCursor().hasSelection()) << range.utf16Location;
    }
}

bool isHighlighted(const SelectableTextEditor& editor, qsizetype documentOffset) {
    for (const auto& selection : editor.textView()->extraSelections()) {
        if (selection.cursor.selectionStart() <= documentOffset && documentOffset < selection.cursor.selectionEnd()) {
            return true;
        }
    }
    return false;
}

TEST(SelectableTextEditor, TextTypedRightAfterAHighlightIsNotHighlighted) {
    EditorFixture fixture;
    fixture.editor.setText(QStringLiteral("abc def"));
    const std::vector<text::TextLocation> ranges{{0, 3}, {4, 3}};
    fixture.editor.setHighlights(ranges, Qt::yellow);
    fixture.moveTo(3);
    QTest::keyClicks(fixture.editor.textView(), QStringLiteral("XY"));
    EXPECT_EQ(fixture.editor.text(), QStringLiteral("abcXY def"));
    EXPECT_TRUE(isHighlighted(fixture.editor, 2));
    EXPECT_FALSE(isHighlighted(fixture.editor, 3));
    EXPECT_FALSE(isHighlighted(fixture.editor, 4));
    EXPECT_TRUE(isHighlighted(fixture.editor, 6)) << "the later range moved with the text";
    EXPECT_FALSE(fixture.editor.textView()->document()->isUndoAvailable() &&
                 fixture.editor.textView()->document()->availableUndoSteps() > 1)
        << "highlights are not edits";
}

TEST(SelectableTextEditor, HighlightsOutsideTheTextAreLeftOut) {
    EditorFixture fixture;
    fixture.editor.setText(QStringLiteral("a\r\nbc"));
    const std::vector<text::TextLocation> ranges{{-1, 2}, {0, 0}, {4, 2}, {1, 2}, {3, 2}};
    fixture.editor.setHighlights(ranges, Qt::yellow);
    EXPECT_EQ(fixture.editor.highlights(), (std::vector<DocumentRange>{{1, 2}, {2, 4}}));
}

TEST(RangesAfterEdit, MovesCutsAndNeverGrows) {
    const std::vector<DocumentRange> ranges{{0, 3}, {5, 8}, {10, 12}};
    // Insert 2 at 3 (right after the first): nothing grows, later ranges move.
    EXPECT_EQ(rangesAfterEdit(ranges, 3, 0, 2), (std::vector<DocumentRange>{{0, 3}, {7, 10}, {12, 14}}));
    // Insert inside the second: it splits around the insertion.
    EXPECT_EQ(rangesAfterEdit(ranges, 6, 0, 1), (std::vector<DocumentRange>{{0, 3}, {5, 6}, {7, 9}, {11, 13}}));
    // Delete [2, 11): the first is cut, the second goes, the third keeps its tail.
    EXPECT_EQ(rangesAfterEdit(ranges, 2, 9, 0), (std::vector<DocumentRange>{{0, 2}, {2, 3}}));
}

TEST(SelectableTextEditor, FindBarOpensOnCtrlFAndSelectsWithoutEditing) {
    EditorFixture fixture;
    QTest::keyClick(fixture.editor.textView(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(fixture.editor.findBar()->isVisible());
    auto* field = fixture.editor.findBar()->findChild<QLineEdit*>();
    QTest::keyClicks(field, QStringLiteral("five"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(fixture.editor.textView()->textCursor().selectedText(), QStringLiteral("five"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(fixture.editor.findBar()->isVisible());
    EXPECT_EQ(fixture.editor.text(), hostileText);
    EXPECT_EQ(fixture.edits, 0);
}

}  // namespace
}  // namespace velquor::ui
