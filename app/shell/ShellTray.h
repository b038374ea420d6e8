#pragma once

#include <QMenu>
#include <QSystemTrayIcon>

namespace velquor::app {
class AppModel;
}

namespace velquor::shell {

class MainWindow;

// Velquor in the desktop's tray, with the clipboard actions in its menu.
class ShellTray : public QObject {
    Q_OBJECT

public:
    ShellTray(app::AppModel& model, MainWindow& window, QObject* parent = nullptr);

    QMenu& menu() { return menu_; }

private:
    QMenu menu_;
    QSystemTrayIcon icon_;
};

}  // namespace velquor::shell
