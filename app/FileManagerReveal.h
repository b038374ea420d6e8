#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace velquor::app {

// Asks the desktop's file manager, through the org.freedesktop.FileManager1 interface on `bus`,
// to show a folder window with `file` selected. When no file manager answers (the bus is not
// connected, nobody owns or can start the service, or the call fails), `openFolder` is called
// instead with the folder that holds the file. Returns at once; the answer arrives through the
// event loop.
void revealInFileManager(const QString& file, const QDBusConnection& bus,
                         std::function<void(const QString& folder)> openFolder);

// The same on the session bus, opening the folder with the desktop's default application.
void revealInFileManager(const QString& file);

}  // namespace velquor::app
