// A person at a real window: types into "Original Text", waits for the pause after typing and
// reads "New Text", its badge and the reports by their accessible names. Runs on an X server
// (xvfb-run), where the window is mapped like any other.
#include "tests/ui/ViewTestSupport.h"

#include <QAbstractButton>
#include <QPlainTextEdit>

namespace velquor::testing {
namespace {

// Types each character as a key press; those beyond ASCII come as the text of a key that has
// no key code, as an input method delivers them.
void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, units);
        if (character[0].unicode() < 0x80) {
            QTest::keyClick(widget, character[0].toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
        }
        i += units - 1;
    }
}

TEST(TypingUnderXvfb, TypedTextIsCleanedVerifiedAndReported) {
    WindowFixture window;
    auto* original = window.named<QPlainTextEdit>(QStringLiteral("Original Text"));
    auto* cleaned = window.named<QPlainTextEdit>(QStringLiteral("New Text"));
    ASSERT_NE(original, nullptr);
    ASSERT_NE(cleaned, nullptr);
    QTest::mouseClick(original->viewport(), Qt::LeftButton);
    typeText(original, QString::fromUtf16(u"Read\u200B https://example.org/a?utm_source=mail&id=7 now"));

    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.model.cleanedText().isEmpty(); }, 5000));
    EXPECT_EQ(cleaned->toPlainText(), QStringLiteral("Read https://example.org/a?id=7 now"));
    EXPECT_TRUE(window.shows(QStringLiteral("Verified")));
    EXPECT_EQ(window.model.inputText(),
              QString::fromUtf16(u"Read\u200B https://example.org/a?utm_source=mail&id=7 now"));

    window.named<QAbstractButton>(QStringLiteral("Unicode"))->click();
    EXPECT_TRUE(window.shows(QStringLiteral("Invisible, U+200B, 1 occurrences")));
    window.named<QAbstractButton>(QStringLiteral("Privacy"))->click();
    EXPECT_TRUE(window.shows(QStringLiteral("Tracked URL, Info, 1 occurrences")));
    window.named<QAbstractButton>(QStringLiteral("Tracked URL, Info, 1 occurrences"))->click();
    EXPECT_EQ(original->textCursor().selectedText(), QStringLiteral("https://example.org/a?utm_source=mail&id=7"));
}

}  // namespace
}  // namespace velquor::testing
