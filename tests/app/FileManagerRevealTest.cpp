// The reveal call against a file manager of our own on a private session bus: the test runs
// under dbus-run-session with a bus that starts no services, so nothing real answers.
#include "app/FileManagerReveal.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

namespace velquor::testing {
namespace {

const QString serviceName = QStringLiteral("org.freedesktop.FileManager1");
const QString objectPath = QStringLiteral("/org/freedesktop/FileManager1");
const QString fakeConnection = QStringLiteral("fake-file-manager");

class FakeFileManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QList<QStringList> shownItems;
    QStringList startupIds;
    bool failing = false;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId) {
        if (failing) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("no window can be opened"));
            return;
        }
        shownItems << uris;
        startupIds << startupId;
    }
};

// The file manager owns its name on a connection of its own, so that calls to it go through
// the bus like calls to another process.
class FileManagerService {
public:
    FileManagerService() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, fakeConnection)) {
        registered_ = bus_.registerObject(objectPath, &manager, QDBusConnection::ExportAllSlots) &&
                      bus_.registerService(serviceName);
    }
    ~FileManagerService() {
        bus_.unregisterService(serviceName);
        bus_.unregisterObject(objectPath);
        QDBusConnection::disconnectFromBus(fakeConnection);
    }

    bool registered() const { return registered_; }
    FakeFileManager manager;

private:
    QDBusConnection bus_;
    bool registered_ = false;
};

// Reveals the file and waits until either the file manager showed it or the folder was opened.
struct Reveal {
    QStringList openedFolders;

    // Whether anything happened.
    bool of(const QString& file, const QDBusConnection& bus, const FakeFileManager* manager = nullptr) {
        app::revealInFileManager(file, bus, [this](const QString& folder) { openedFolders << folder; });
        const bool answered = QTest::qWaitFor(
            [&] { return !openedFolders.isEmpty() || (manager && !manager->shownItems.isEmpty()); }, 10000);
        // A reply that would still open a folder has arrived by now.
        QTest::qWait(100);
        return answered;
    }
};

class FileManagerRevealTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no session bus";
    }
};

TEST_F(FileManagerRevealTest, TheFileManagerShowsTheOneFileSelected) {
    FileManagerService service;
    ASSERT_TRUE(service.registered());
    Reveal reveal;
    ASSERT_TRUE(
        reveal.of(QStringLiteral("/tmp/a b/\u00E9t\u00E9#1.jpg"), QDBusConnection::sessionBus(), &service.manager));
    ASSERT_EQ(service.manager.shownItems.size(), 1);
    EXPECT_EQ(service.manager.shownItems[0], QStringList{QStringLiteral("file:///tmp/a%20b/%C3%A9t%C3%A9%231.jpg")});
    EXPECT_EQ(service.manager.startupIds, QStringList{QString()});
    EXPECT_TRUE(reveal.openedFolders.isEmpty());
}

TEST_F(FileManagerRevealTest, WithoutAnAnsweringFileManagerTheFolderIsOpened) {
    Reveal withoutService;
    ASSERT_TRUE(withoutService.of(QStringLiteral("/tmp/a b/photo.jpg"), QDBusConnection::sessionBus()));
    EXPECT_EQ(withoutService.openedFolders, QStringList{QStringLiteral("/tmp/a b")});

    FileManagerService service;
    ASSERT_TRUE(service.registered());
    service.manager.failing = true;
    Reveal refused;
    ASSERT_TRUE(refused.of(QStringLiteral("/tmp/photo.jpg"), QDBusConnection::sessionBus(), &service.manager));
    EXPECT_EQ(refused.openedFolders, QStringList{QStringLiteral("/tmp")});
}

TEST_F(FileManagerRevealTest, WithoutABusTheFolderIsOpenedAtOnce) {
    QStringList opened;
    app::revealInFileManager(QStringLiteral("/tmp/photo.jpg"), QDBusConnection(QStringLiteral("never-connected")),
                             [&](const QString& folder) { opened << folder; });
    EXPECT_EQ(opened, QStringList{QStringLiteral("/tmp")});
}

}  // namespace
}  // namespace velquor::testing

#include "FileManagerRevealTest.moc"
