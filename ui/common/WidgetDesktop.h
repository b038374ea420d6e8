#pragma once

#include "app/Desktop.h"

class QWidget;

namespace velquor::ui {

// The desktop seam with the desktop's own dialogs, services and alerts, modal over `parent`.
class WidgetDesktop : public app::Desktop {
public:
    explicit WidgetDesktop(QWidget* parent = nullptr) : parent_(parent) {}

    std::optional<QString> chooseTextFile() override;
    std::optional<QString> chooseSavePath(const QString& proposedName) override;
    std::optional<QString> chooseFolder(const app::FolderRequest& request) override;
    QStringList chooseFiles(const app::FileFilter& filter) override;
    // Through the file manager's D-Bus interface, or by opening the folder that holds the file.
    void reveal(const QString& path) override;
    void openAddress(const QUrl& address) override;
    int showAlert(const app::Alert& alert) override;

private:
    QWidget* parent_;
};

}  // namespace velquor::ui
