#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace velquor::app {
class AppModel;
class Desktop;
}  // namespace velquor::app

namespace velquor::shell {

// The settings window: what Velquor does with your data, the version and the update check, and
// the maker's pages.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    SettingsWindow(app::AppModel& model, app::Desktop& desktop, QWidget* parent = nullptr);

private:
    QWidget* makePrivacySection();
    QWidget* makeAboutSection();
    QWidget* makeUpdateRow();
    void showUpdateState();
    void updateButtonClicked();

    app::AppModel& model_;
    app::Desktop& desktop_;
    QProgressBar* updateProgress_ = nullptr;
    QLabel* updateSymbol_ = nullptr;
    QLabel* updateText_ = nullptr;
    QPushButton* updateButton_ = nullptr;
};

}  // namespace velquor::shell
