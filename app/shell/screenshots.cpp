// `./dev screenshots`: the application's window and its settings window, built from the same
// shell library as `velquor`, shown on the X server of xvfb-run and saved as PNG files.
#include "app/AppModel.h"
#include "app/shell/AppIconLoader.h"
#include "app/shell/MainWindow.h"
#include "app/shell/SettingsWindow.h"

#include "ui/common/WidgetDesktop.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& path) {
    if (widget.grab().save(path, "PNG")) {
        std::printf("%s\n", qUtf8Printable(path));
        return true;
    }
    std::fprintf(stderr, "velquor_screenshots: could not write %s\n", qUtf8Printable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velquor;
    if (argc != 2) {
        std::fputs("usage: velquor_screenshots FOLDER\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Velquor"));
    if (const auto icon = shell::AppIconLoader::image()) QApplication::setWindowIcon(*icon);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) return 1;

    ui::WidgetDesktop desktop;
    app::AppModel model(desktop);
    shell::MainWindow window(model, desktop);
    window.resize(window.minimumSize());
    window.showVelquorWindow();
    shell::SettingsWindow& settings = window.settingsWindow();
    settings.show();

    int status = 0;
    // Once the windows have been laid out and painted.
    QTimer::singleShot(500, [&] {
        if (!save(window, folder.filePath(QStringLiteral("main-window.png")))) status = 1;
        if (!save(settings, folder.filePath(QStringLiteral("settings.png")))) status = 1;
        QApplication::quit();
    });
    QApplication::exec();
    return status;
}
