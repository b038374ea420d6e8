#include "app/FileManagerReveal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace velquor::app {

namespace {

const QString fileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString fileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");

}  // namespace

void revealInFileManager(const QString& file, const QDBusConnection& bus,
                         std::function<void(const QString& folder)> openFolder) {
    const QString folder = QFileInfo(file).absolutePath();
    if (!bus.isConnected()) {
        openFolder(folder);
        return;
    }
    auto message = QDBusMessage::createMethodCall(fileManagerService, fileManagerPath, fileManagerService,
                                                  QStringLiteral("ShowItems"));
    // The items as URIs, and an empty startup notification id: there is no launch to finish.
    message << QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [watcher, folder, openFolder = std::move(openFolder)] {
                         watcher->deleteLater();
                         if (watcher->isError()) openFolder(folder);
                     });
}

void revealInFileManager(const QString& file) {
    revealInFileManager(file, QDBusConnection::sessionBus(),
                        [](const QString& folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); });
}

}  // namespace velquor::app
