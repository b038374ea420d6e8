#include "ui/common/WidgetDesktop.h"

#include "app/FileManagerReveal.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace velquor::ui {

namespace {

// Markdown is plain text too; the desktop's type database knows both by their MIME names.
const QStringList plainTextTypes{QStringLiteral("text/plain"), QStringLiteral("text/markdown")};

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace

std::optional<QString> WidgetDesktop::chooseTextFile() {
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setMimeTypeFilters(plainTextTypes);
    return chosenFile(dialog);
}

std::optional<QString> WidgetDesktop::chooseSavePath(const QString& proposedName) {
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setMimeTypeFilters({QStringLiteral("text/plain")});
    dialog.selectFile(proposedName);
    return chosenFile(dialog);
}

std::optional<QString> WidgetDesktop::chooseFolder(const app::FolderRequest& request) {
    QFileDialog dialog(parent_, request.message);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, request.prompt);
    return chosenFile(dialog);
}

QStringList WidgetDesktop::chooseFiles(const app::FileFilter& filter) {
    QFileDialog dialog(parent_);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(filter.description + QStringLiteral(" (") + filter.patterns.join(u' ') + u')');
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

void WidgetDesktop::reveal(const QString& path) { app::revealInFileManager(path); }

void WidgetDesktop::openAddress(const QUrl& address) { QDesktopServices::openUrl(address); }

int WidgetDesktop::showAlert(const app::Alert& alert) {
    QMessageBox box(parent_);
    box.setText(alert.message);
    box.setInformativeText(alert.informativeText);
    QList<QAbstractButton*> buttons;
    for (const auto& label : alert.buttons) buttons.append(box.addButton(label, QMessageBox::AcceptRole));
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

}  // namespace velquor::ui
