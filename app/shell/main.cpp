// The desktop application: one model for the whole run, its window, the tray and the session
// bus service; a second start hands its paths to the first and exits.
#include "app/AppModel.h"
#include "app/ReleaseUpdate.h"
#include "app/shell/AppIconLoader.h"
#include "app/shell/CommandLine.h"
#include "app/shell/MainWindow.h"
#include "app/shell/OpenPaths.h"
#include "app/shell/QuitOnSignals.h"
#include "app/shell/RunningInstance.h"
#include "app/shell/ShellTray.h"
#include "app/shell/VelquorService.h"

#include "ui/common/WidgetDesktop.h"

#include <QApplication>
#include <QDBusConnection>
#include <QSystemTrayIcon>
#include <QThreadPool>

#include <cstdio>
#include <memory>

namespace {

// Qt aborts without a display; say what to do instead.
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The model, its window, the bus service and the tray for one run of the event loop. Leaving here
// asks the model's background work to stop between files.
int runWindow(const velquor::shell::CommandLine& command) {
    using namespace velquor;
    ui::WidgetDesktop desktop;
    app::AppModel model(desktop);
    shell::MainWindow window(model, desktop);

    shell::VelquorService service(model, [&window] { window.showVelquorWindow(); });
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // Without a session bus Velquor still runs, on its own.
    if (bus.isConnected() && !service.registerOn(bus)) return shell::handOverToRunningInstance(command.paths);

    std::unique_ptr<shell::ShellTray> tray;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray = std::make_unique<shell::ShellTray>(model, window);
        window.setKeepsRunningInTray(true);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    if (!command.service) window.showVelquorWindow();
    shell::openPaths(model, command.paths);
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velquor;
    const shell::ParsedCommandLine parsed = shell::parseCommandLine(argc, argv);
    if (!parsed.command) return parsed.exitStatus;
    const shell::CommandLine& command = *parsed.command;
    if (command.cleanSelection) {
        const QCoreApplication caller(argc, argv);
        return shell::cleanSelectionInRunningInstance();
    }
    if (!hasDisplay()) {
        std::fputs(
            "velquor: no display to open a window on. Run it on a desktop, under xvfb-run, or use "
            "velquor-cli in a terminal.\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velquor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velquor"));
    QApplication::setApplicationVersion(app::runningVersion());
    QApplication::setDesktopFileName(QStringLiteral("org.velquor.Velquor"));

    if (const auto icon = shell::AppIconLoader::image()) QApplication::setWindowIcon(*icon);
    const shell::QuitOnSignals quitOnSignals;
    const int status = runWindow(command);
    // The copy in hand is finished, or its staged file removed, before the process ends.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
