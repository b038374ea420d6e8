#include "tests/app/ModelTestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

using app::AppModel;

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

TEST(ClipboardWorkflowTest, HtmlOnlyClipboardYieldsItsVisibleTextAndNothingThatCouldRun) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) {
        data.setData(
            "text/html",
            "Version:0.9\r\nSourceURL:https://example.com/page\r\n<html><head><title>Secret title</title>"
            "</head><body><style>p{color:red}</style><script>alert('x')</script><p onclick=\"x()\">Hello"
            "\xc2\xa0world</p><img src=\"file:///etc/passwd\"><!-- hidden note --><p>Second</p></body></html>");
    });
    model.setSelectedTab(app::WorkspaceTab::files);
    model.inspectClipboard();
    EXPECT_EQ(model.inputText(), qs(u"Hello\u00A0world\nSecond"));
    EXPECT_EQ(model.textStatus(), "Loaded clipboard plain text. Extra paste flavors found.");
    EXPECT_EQ(model.clipboardFindings(),
              (QStringList{"HTML flavor present", "HTML carries source or editor attributes"}));
    EXPECT_FALSE(model.textReport().issues.empty());
}

TEST(ClipboardWorkflowTest, AnEmptyClipboardOrOversizedHtmlHasNoReadableText) {
    ModelFixture fixture;
    auto& model = fixture.model;
    model.inspectClipboard();
    EXPECT_EQ(model.textStatus(), "Clipboard does not contain readable text.");
    model.sanitizeClipboardInPlace();
    EXPECT_EQ(model.textStatus(), "Clipboard does not contain readable text.");
    EXPECT_TRUE(model.clipboardFindings().isEmpty());

    putOnClipboard([](QMimeData& data) { data.setData("text/html", QByteArray(17 << 20, 'a')); });
    model.inspectClipboard();
    EXPECT_EQ(model.clipboardFindings(),
              (QStringList{"HTML flavor present", "HTML flavor exceeds the detailed inspection limit"}));
    EXPECT_EQ(model.textStatus(), "Clipboard does not contain readable text.");
    EXPECT_TRUE(model.inputText().isEmpty());
}

TEST(ClipboardWorkflowTest, RtfOnlyClipboardYieldsItsText) {
    ModelFixture fixture;
    putOnClipboard([](QMimeData& data) {
        data.setData("text/rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Dear Ms\\'e9\\par Body\\u8203?}");
    });
    fixture.model.inspectClipboard();
    EXPECT_EQ(fixture.model.inputText(), qs(u"Dear Ms\u00E9\nBody\u200B"));
    EXPECT_EQ(fixture.model.clipboardFindings(), QStringList{"RTF flavor present"});
}

TEST(ClipboardWorkflowTest, CleaningInPlaceWritesPlainTextAndOffersRestore) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) {
        data.setText(qs(u"Pay\u200B me"));
        data.setHtml("<b>Pay me</b>");
    });
    QSignalSpy restorable(&model, &AppModel::canRestoreClipboardChanged);
    model.setSelectedTab(app::WorkspaceTab::files);
    model.sanitizeClipboardInPlace();
    EXPECT_EQ(model.textStatus(), "Sanitized clipboard in place. Restore is available.");
    EXPECT_EQ(model.selectedTab(), app::WorkspaceTab::text);
    EXPECT_EQ(model.inputText(), qs(u"Pay\u200B me"));
    EXPECT_EQ(model.cleanedText(), "Pay me");
    EXPECT_EQ(clipboard().mimeData()->formats(), QStringList{"text/plain"});
    EXPECT_EQ(clipboard().text(), "Pay me");
    EXPECT_TRUE(model.canRestoreClipboard());
    EXPECT_EQ(restorable.count(), 1);

    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), "Restored previous clipboard contents.");
    EXPECT_EQ(clipboard().text(), qs(u"Pay\u200B me"));
    EXPECT_TRUE(clipboard().mimeData()->hasHtml());
    EXPECT_FALSE(model.canRestoreClipboard());
    EXPECT_EQ(restorable.count(), 2);

    const auto status = model.textStatus();
    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), status);
}

TEST(ClipboardWorkflowTest, CleanTextWithAnRtfFlavourLosesOnlyTheFlavour) {
    ModelFixture fixture;
    putOnClipboard([](QMimeData& data) {
        data.setText("Plain words");
        data.setData("text/rtf", "{\\rtf1 Plain words}");
    });
    fixture.model.sanitizeClipboardInPlace();
    EXPECT_EQ(fixture.model.textStatus(), "Removed extra clipboard formats. Restore is available.");
    EXPECT_EQ(clipboard().mimeData()->formats(), QStringList{"text/plain"});
}

TEST(ClipboardWorkflowTest, AlreadyCleanClipboardIsLeftAloneAndWithdrawsAnEarlierOffer) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) { data.setText(qs(u"dirty\u200B")); });
    model.sanitizeClipboardInPlace();
    ASSERT_TRUE(model.canRestoreClipboard());

    const QMimeData* before = clipboard().mimeData();
    model.sanitizeClipboardInPlace();
    EXPECT_EQ(model.textStatus(), "Clipboard text was already clean.");
    EXPECT_EQ(clipboard().mimeData(), before);
    EXPECT_FALSE(model.canRestoreClipboard());
}

TEST(ClipboardWorkflowTest, ClipboardsBeyondTheSnapshotLimitsAreCleanedWithoutRestore) {
    const std::vector<std::pair<const char*, std::function<void(QMimeData&)>>> cases{
        {"65 formats",
         [](QMimeData& data) {
             for (int i = 0; i < 64; ++i) data.setData(QStringLiteral("application/x-part-%1").arg(i), "x");
         }},
        {"one 17 MiB format", [](QMimeData& data) { data.setData("application/x-big", QByteArray(17 << 20, 'b')); }},
        {"33 MiB in all",
         [](QMimeData& data) {
             data.setData("application/x-first", QByteArray(16 << 20, 'a'));
             data.setData("application/x-second", QByteArray(16 << 20, 'b'));
         }},
    };
    for (const auto& [name, fill] : cases) {
        SCOPED_TRACE(name);
        ModelFixture fixture;
        putOnClipboard([&](QMimeData& data) {
            data.setText(qs(u"hidden\u200B"));
            fill(data);
        });
        fixture.model.sanitizeClipboardInPlace();
        EXPECT_EQ(fixture.model.textStatus(), "Sanitized clipboard in place.");
        EXPECT_FALSE(fixture.model.canRestoreClipboard());
        fixture.model.restorePreviousClipboard();
        EXPECT_EQ(clipboard().text(), "hidden");
    }
}

TEST(ClipboardWorkflowTest, RestoreNeverOverwritesWhatAnotherWriterPutThere) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) { data.setText(qs(u"mine\u200B")); });
    model.sanitizeClipboardInPlace();
    QSignalSpy restorable(&model, &AppModel::canRestoreClipboardChanged);
    clipboard().setText("someone else");
    EXPECT_FALSE(model.canRestoreClipboard());
    EXPECT_EQ(restorable.count(), 1);
    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), "Clipboard changed elsewhere, so the previous contents were not restored.");
    EXPECT_EQ(clipboard().text(), "someone else");

    model.sanitizeClipboardInPlace();
    clipboard().setText(qs(u"third\u200B"));
    model.inspectClipboard();
    EXPECT_EQ(model.textStatus(), "Loaded clipboard plain text.");
    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), "Loaded clipboard plain text.");
}

TEST(ClipboardWorkflowTest, TheRestoreOfferExpires) {
    ModelFixture fixture;
    auto& model = fixture.model;
    putOnClipboard([](QMimeData& data) { data.setText(qs(u"old\u200B")); });
    model.sanitizeClipboardInPlace();
    ASSERT_TRUE(model.canRestoreClipboard());
    QTest::qWait(200);
    model.sanitizeClipboardInPlace();  // already clean: withdraws the first offer with its expiry
    putOnClipboard([](QMimeData& data) { data.setText(qs(u"new\u200B")); });
    model.sanitizeClipboardInPlace();
    QTest::qWait(200);
    EXPECT_TRUE(model.canRestoreClipboard());
    EXPECT_TRUE(waitFor([&] { return !model.canRestoreClipboard(); }, 2000));
    const auto status = model.textStatus();
    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), status);
    EXPECT_EQ(clipboard().text(), "new");
}

TEST(ClipboardWorkflowTest, CopiesWithdrawTheRestoreOffer) {
    const std::vector<std::pair<const char*, std::function<void(AppModel&)>>> copies{
        {"cleaned text", [](AppModel& model) { model.copyCleanedText(); }},
        {"prompt", [](AppModel& model) { model.copyAuthorshipPrompt("prompt", 0); }},
        {"rewrite", [](AppModel& model) { model.copyRewrite("rewrite"); }},
    };
    for (const auto& [name, copy] : copies) {
        SCOPED_TRACE(name);
        ModelFixture fixture;
        putOnClipboard([](QMimeData& data) { data.setText(qs(u"text\u200B")); });
        fixture.model.sanitizeClipboardInPlace();
        copy(fixture.model);
        EXPECT_FALSE(fixture.model.canRestoreClipboard());
        fixture.model.restorePreviousClipboard();
        EXPECT_NE(clipboard().text(), qs(u"text\u200B"));
    }
}

}  // namespace
}  // namespace velquor::testing
