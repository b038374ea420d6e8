#include "app/shell/ShellTray.h"

#include "app/shell/ClipboardMenu.h"
#include "app/shell/MainWindow.h"
#include "app/shell/ShellSymbols.h"

#include <QApplication>

namespace velquor::shell {

ShellTray::ShellTray(app::AppModel& model, MainWindow& window, QObject* parent) : QObject(parent) {
    menu_.setTitle(QStringLiteral("Velquor"));
    fillTrayMenu(
        menu_, model, [&window] { window.showVelquorWindow(); }, [] { QApplication::quit(); });
    icon_.setIcon(symbolIcon("checkmark.shield"));
    icon_.setToolTip(QStringLiteral("Velquor"));
    icon_.setContextMenu(&menu_);
    connect(&icon_, &QSystemTrayIcon::activated, &window, [&window](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) window.showVelquorWindow();
    });
    icon_.show();
}

}  // namespace velquor::shell
