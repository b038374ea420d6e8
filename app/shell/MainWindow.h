#pragma once

#include <QMainWindow>

namespace velquor::app {
class AppModel;
class Desktop;
}  // namespace velquor::app

namespace velquor::shell {

class SettingsWindow;

// The window titled "Velquor": the menu bar over the workspace. Closing it hides it while a
// tray icon keeps Velquor reachable, and quits otherwise.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(app::AppModel& model, app::Desktop& desktop, QWidget* parent = nullptr);

    void setKeepsRunningInTray(bool keeps) { keepsRunningInTray_ = keeps; }
    // Shows the window, restores it when minimised and brings it to the front.
    void showVelquorWindow();
    SettingsWindow& settingsWindow() { return *settings_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void addFileMenu();
    void addClipboardMenu();
    void addHelpMenu();
    void showSettings();
    void showAbout();

    app::AppModel& model_;
    app::Desktop& desktop_;
    SettingsWindow* settings_;
    bool keepsRunningInTray_ = false;
};

}  // namespace velquor::shell
