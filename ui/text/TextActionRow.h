#pragma once

#include <QWidget>

class QAbstractButton;
class QAction;
class QMenu;
class QPushButton;
class QToolButton;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class ElidedLabel;

// The row above the panes: choose a text, the clipboard actions, the "Options" menu, Apply,
// Revert, Copy and Save cleaned, and the status at the trailing edge.
class TextActionRow : public QWidget {
    Q_OBJECT

public:
    explicit TextActionRow(app::AppModel& model, QWidget* parent = nullptr);

    QMenu* optionsMenu() const { return optionsMenu_; }
    ElidedLabel* status() const { return status_; }

private:
    QPushButton* addButton(const char* symbol, const QString& label);
    void addOption(const QString& label, bool (app::AppModel::*read)() const, void (app::AppModel::*write)(bool),
                   void (app::AppModel::*changed)());
    void refresh();

    app::AppModel& model_;
    QToolButton* restore_;
    QMenu* optionsMenu_;
    QPushButton* apply_;
    QPushButton* revert_;
    QPushButton* copy_;
    QPushButton* save_;
    ElidedLabel* status_;
};

}  // namespace velquor::ui
