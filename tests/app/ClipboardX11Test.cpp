// On a real X11 clipboard, with another process (xclip) as the other writer: the model notices
// that process's writes, and what it writes or restores is what other processes read.
#include "app/AppModel.h"
#include "tests/app/ScriptedDesktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

QClipboard& clipboard() { return *QGuiApplication::clipboard(); }

// Runs xclip on the clipboard selection with the event loop running, so that this process can
// answer xclip's requests while it waits.
QByteArray xclip(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    if (input.isNull()) process.setStandardInputFile(QProcess::nullDevice());
    QSignalSpy finished(&process, &QProcess::finished);
    process.start("xclip", QStringList{"-selection", "clipboard"} + arguments);
    if (!process.waitForStarted(5000)) {
        ADD_FAILURE() << "xclip did not start";
        return {};
    }
    if (!input.isNull()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!finished.wait(10000)) ADD_FAILURE() << "xclip did not finish";
    return process.readAllStandardOutput();
}

// Another process takes the clipboard; returns once this process has been told.
void writeFromAnotherProcess(const QString& format, const QByteArray& bytes) {
    QSignalSpy changed(&clipboard(), &QClipboard::dataChanged);
    xclip({"-t", format, "-i"}, bytes);
    ASSERT_TRUE(changed.count() > 0 || changed.wait(5000)) << "no change notice for " << format.toStdString();
}

TEST(ClipboardX11Test, ChangesFromAnotherProcessAreSeenAndRestoreWorksAcrossProcesses) {
    ScriptedDesktop desktop;
    app::AppModel model(desktop);

    writeFromAnotherProcess("text/html", "<p>Pay\xe2\x80\x8b now<script>steal()</script></p>");
    model.sanitizeClipboardInPlace();
    EXPECT_EQ(model.textStatus(), "Sanitized clipboard in place. Restore is available.");
    EXPECT_EQ(xclip({"-o", "-t", "UTF8_STRING"}), "Pay now");
    EXPECT_TRUE(model.canRestoreClipboard());

    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), "Restored previous clipboard contents.");
    EXPECT_EQ(xclip({"-o", "-t", "text/html"}), "<p>Pay\xe2\x80\x8b now<script>steal()</script></p>");

    model.sanitizeClipboardInPlace();
    ASSERT_TRUE(model.canRestoreClipboard());
    QSignalSpy restorable(&model, &app::AppModel::canRestoreClipboardChanged);
    writeFromAnotherProcess("UTF8_STRING", "written elsewhere");
    EXPECT_FALSE(model.canRestoreClipboard());
    EXPECT_EQ(restorable.count(), 1);
    model.restorePreviousClipboard();
    EXPECT_EQ(model.textStatus(), "Clipboard changed elsewhere, so the previous contents were not restored.");
    EXPECT_EQ(xclip({"-o", "-t", "UTF8_STRING"}), "written elsewhere");

    model.inspectClipboard();
    EXPECT_EQ(model.inputText(), "written elsewhere");
    EXPECT_EQ(model.textStatus(), "Loaded clipboard plain text.");
}

}  // namespace
}  // namespace velquor::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
