#include "app/shell/MainWindow.h"

#include "app/AppModel.h"
#include "app/Desktop.h"
#include "app/ReleaseUpdate.h"
#include "app/shell/ClipboardMenu.h"
#include "app/shell/SettingsWindow.h"
#include "ui/ContentView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace velquor::shell {

MainWindow::MainWindow(app::AppModel& model, app::Desktop& desktop, QWidget* parent)
    : QMainWindow(parent), model_(model), desktop_(desktop), settings_(new SettingsWindow(model, desktop, this)) {
    setWindowTitle(QStringLiteral("Velquor"));
    setMinimumSize(1120, 720);
    addFileMenu();
    addClipboardMenu();
    addHelpMenu();
    setCentralWidget(new ui::ContentView(model_, this));
}

void MainWindow::addFileMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Open Text…"), QKeySequence::Open, &model_, &app::AppModel::chooseTextFile);
    file->addAction(QStringLiteral("Open Files…"), &model_, &app::AppModel::chooseFile);
    file->addAction(QStringLiteral("Save Cleaned…"), QKeySequence::Save, &model_, &app::AppModel::saveCleanedText);
    file->addSeparator();
    file->addAction(QStringLiteral("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                    &MainWindow::showSettings);
    file->addSeparator();
    file->addAction(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QApplication::quit);
}

void MainWindow::addClipboardMenu() {
    QMenu* clipboard = menuBar()->addMenu(QStringLiteral("&Clipboard"));
    addClipboardActions(*clipboard, model_, [this] { showVelquorWindow(); });
}

void MainWindow::addHelpMenu() {
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("Check for Updates..."), &model_, [this] { model_.checkForUpdates(true); });
    help->addAction(QStringLiteral("About Velquor"), this, &MainWindow::showAbout);
}

void MainWindow::showVelquorWindow() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::showSettings() {
    settings_->show();
    settings_->raise();
    settings_->activateWindow();
}

void MainWindow::showAbout() {
    desktop_.showAlert({
        .message = QStringLiteral("Velquor %1").arg(app::runningVersion()),
        .informativeText = QStringLiteral("Privacy hygiene for text and files. Everything runs on this "
                                          "machine: inspected content never leaves it."),
        .buttons = {QStringLiteral("OK")},
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (keepsRunningInTray_) {
        hide();
        settings_->hide();
        event->ignore();
        return;
    }
    settings_->close();
    QMainWindow::closeEvent(event);
}

// The views take their colours from the palette as they are built, so a switch between light and
// dark rebuilds them; what they show comes back from the model.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) setCentralWidget(new ui::ContentView(model_, this));
}

}  // namespace velquor::shell
