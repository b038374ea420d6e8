// The session bus service as other programs see it: calls arrive over a second connection to a
// private bus, the primary selection is set by another process (xclip) on a private X server,
// and a second `velquor` hands its paths to the one that owns the name.
#include "app/shell/SessionBus.h"
#include "app/shell/VelquorService.h"
#include "tests/app/ModelTestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>

namespace velquor::testing {
namespace {

struct CallResult {
    bool ok = false;
    QString value;
    QString errorName;
    QString errorMessage;
};

// A call from another connection, with this thread's event loop running so that the service
// can answer it.
CallResult callService(const QString& method, const QVariantList& arguments = {}) {
    static QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "client");
    QDBusMessage message =
        QDBusMessage::createMethodCall(shell::serviceName, shell::objectPath, shell::interfaceName, method);
    message.setArguments(arguments);
    QDBusPendingCallWatcher watcher(client.asyncCall(message, 10000));
    waitFor([&] { return watcher.isFinished(); });
    const QDBusMessage reply = watcher.reply();
    if (reply.type() == QDBusMessage::ErrorMessage) return {false, {}, reply.errorName(), reply.errorMessage()};
    return {true, reply.arguments().value(0).toString(), {}, {}};
}

struct BusFixture {
    BusFixture() : model(desktop), service(model, [this] { ++shown; }) {
        if (!QDBusConnection::sessionBus().isConnected()) return;
        registered = service.registerOn(QDBusConnection::sessionBus());
    }
    ~BusFixture() {
        QDBusConnection::sessionBus().unregisterObject(shell::objectPath);
        QDBusConnection::sessionBus().unregisterService(shell::serviceName);
    }
    ScriptedDesktop desktop;
    app::AppModel model;
    int shown = 0;
    shell::VelquorService service;
    bool registered = false;
};

// Sets the primary selection from another process, as selecting text in another program does.
// xclip stays behind to serve the selection until someone else takes it.
void selectInAnotherProcess(const QString& type, const QByteArray& bytes) {
    QProcess xclip;
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start("xclip", {"-selection", "primary", "-t", type, "-i"});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(bytes);
    xclip.closeWriteChannel();
    QSignalSpy finished(&xclip, &QProcess::finished);
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_TRUE(waitFor([&] {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
        return data && data->formats().contains(type == "UTF8_STRING" ? "text/plain" : type);
    })) << "the selection never showed "
        << type.toStdString();
}

TEST(ShellBusTest, CleanSelectedTextIsTheSelectionHygieneWhateverTheWindowSays) {
    BusFixture fixture;
    ASSERT_TRUE(fixture.registered);
    auto& model = fixture.model;
    model.setNormalizePunctuation(true);
    model.setAsciiOnly(true);
    model.setFlattenMarkdown(true);
    model.setUnwrapParagraphs(true);
    model.setInputText("window text");
    const QString statusBefore = model.textStatus();
    QGuiApplication::clipboard()->setText("clipboard stays");

    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"a\u200Bb", u"ab"},
        {u"see https://x.org/p?utm_source=z&id=7 now", u"see https://x.org/p?id=7 now"},
        {u"\u201Cquoted\u201D \u2014 kept", u"\u201Cquoted\u201D \u2014 kept"},
        {u"# Title\n\n**bold** and `code`", u"# Title\n\n**bold** and `code`"},
        {u"a hard\nwrapped line\n", u"a hard\nwrapped line\n"},
        {u" edge spaces stay ", u" edge spaces stay "},
        {u"\tdouble  spaces\u00A0go ", u" double spaces go "},
        {u" a\u200Bb https://x.org/?utm_source=z ", u" ab https://x.org/ "},
        {u"", u""},
    };
    for (const auto& [input, expected] : cases) {
        const auto result = callService("CleanSelectedText", {qs(input)});
        ASSERT_TRUE(result.ok) << result.errorMessage.toStdString();
        EXPECT_EQ(result.value, qs(expected)) << QString(qs(input)).toStdString();
    }
    EXPECT_EQ(model.inputText(), "window text");
    EXPECT_EQ(model.textStatus(), statusBefore);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "clipboard stays");
    EXPECT_FALSE(model.canRestoreClipboard());
    EXPECT_EQ(fixture.shown, 0);
}

// The cleaned selection goes to the clipboard; a selection without plain text fails with its
// error and leaves the clipboard alone.
TEST(ShellBusTest, CleanSelectionPutsTheCleanedSelectionOnTheClipboardOrFailsWithItsError) {
    BusFixture fixture;
    ASSERT_TRUE(fixture.registered);
    selectInAnotherProcess("UTF8_STRING", "Pay\xe2\x80\x8b here: https://shop.example/?fbclid=abc ");
    const auto cleaned = callService("CleanSelection");
    ASSERT_TRUE(cleaned.ok) << cleaned.errorMessage.toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Pay here: https://shop.example/ ");
    EXPECT_TRUE(fixture.model.inputText().isEmpty());
    EXPECT_EQ(fixture.shown, 0);

    QGuiApplication::clipboard()->setText("untouched");
    selectInAnotherProcess("image/png", QByteArray("\x89PNG\r\n\x1a\n", 8));
    const auto refused = callService("CleanSelection");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorName, "org.velquor.Velquor1.Error.NoReadableText");
    EXPECT_EQ(refused.errorMessage, "The selection does not contain readable plain text.");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "untouched");
}

TEST(ShellBusTest, TheClipboardCallsShowAndOpenReachTheModelAndTheWindow) {
    BusFixture fixture;
    ASSERT_TRUE(fixture.registered);
    QGuiApplication::clipboard()->setText(qs(u"x\u200By"));
    ASSERT_TRUE(callService("CleanClipboard").ok);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "xy");
    EXPECT_EQ(fixture.shown, 0);
    ASSERT_TRUE(callService("RestorePreviousClipboard").ok);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), qs(u"x\u200By"));
    ASSERT_TRUE(callService("InspectClipboard").ok);
    EXPECT_EQ(fixture.model.inputText(), qs(u"x\u200By"));
    EXPECT_EQ(fixture.shown, 1);
    ASSERT_TRUE(callService("Show").ok);
    EXPECT_EQ(fixture.shown, 2);

    // Relative paths sent over the bus are ignored.
    fixture.model.setInputText({});
    ASSERT_TRUE(callService("Open", {QStringList{"../../etc/passwd.txt"}}).ok);
    EXPECT_TRUE(fixture.model.inputText().isEmpty());
    EXPECT_FALSE(fixture.model.selectedFile());
}

TEST(ShellBusTest, OnlyOneServiceOwnsTheName) {
    BusFixture first;
    ASSERT_TRUE(first.registered);
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second");
    ScriptedDesktop desktop;
    app::AppModel model(desktop);
    shell::VelquorService second(model, [] {});
    EXPECT_FALSE(second.registerOn(other));
    QDBusConnection::disconnectFromBus("second");
}

// The real executable as the second instance: it hands its relative path, made absolute in its
// own folder, to this process, which owns the name, and exits.
TEST(ShellBusTest, ASecondVelquorHandsItsPathsToTheFirst) {
    BusFixture fixture;
    ASSERT_TRUE(fixture.registered);
    QTemporaryDir folder;
    QFile file(folder.filePath("handed over.md"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# from the second instance\n");
    file.close();

    QProcess second;
    second.setWorkingDirectory(folder.path());
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QSignalSpy finished(&second, &QProcess::finished);
    second.start(VELQUOR_SHELL_PATH, {"handed over.md"});
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(fixture.model.inputText(), "# from the second instance\n");
    EXPECT_EQ(fixture.model.selectedTab(), app::WorkspaceTab::text);
    EXPECT_EQ(fixture.shown, 1);
}

// A closed terminal or a stop from the session quits the window through its event loop, so that
// the copy in hand is finished or removed, rather than ending the process where it stands.
TEST(ShellBusTest, AHangUpOrATerminateQuitsTheRunningWindowCleanly) {
    for (const int signal : {SIGHUP, SIGTERM}) {
        QProcess velquor;
        velquor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QSignalSpy finished(&velquor, &QProcess::finished);
        velquor.start(VELQUOR_SHELL_PATH, {});
        ASSERT_TRUE(velquor.waitForStarted(10000));
        ASSERT_TRUE(waitFor([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(shell::serviceName).value();
        })) << "the window never came up";
        ASSERT_EQ(::kill(static_cast<pid_t>(velquor.processId()), signal), 0);
        ASSERT_TRUE(finished.wait(20000));
        EXPECT_EQ(velquor.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(velquor.exitCode(), 0) << signal;
    }
}

}  // namespace
}  // namespace velquor::testing
