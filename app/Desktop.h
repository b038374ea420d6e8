#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace velquor::app {

// A folder picker's texts: the confirm button and the line that says what to pick.
struct FolderRequest {
    QString prompt;
    QString message;
};

// A file picker's filter: what it offers is named by `description` and matches any of
// `patterns` ("*.jpg"), in any letter case.
struct FileFilter {
    QString description;
    QStringList patterns;
};

// A modal alert; showAlert returns the index of the button chosen.
struct Alert {
    QString message;
    QString informativeText;
    QStringList buttons;
};

// What the model needs from a person or the desktop. The window implements it with the
// desktop's dialogs and services; tests script it. Paths are local file paths; a cancelled
// choice is nothing (or an empty list).
class Desktop {
public:
    virtual ~Desktop() = default;

    // One plain-text file, no folders.
    virtual std::optional<QString> chooseTextFile() = 0;
    // Where to save a plain-text file, proposing `proposedName`; the user may create folders.
    virtual std::optional<QString> chooseSavePath(const QString& proposedName) = 0;
    virtual std::optional<QString> chooseFolder(const FolderRequest& request) = 0;
    // Any number of existing files that match the filter.
    virtual QStringList chooseFiles(const FileFilter& filter) = 0;
    // Shows the file selected in the file manager.
    virtual void reveal(const QString& path) = 0;
    virtual void openAddress(const QUrl& address) = 0;
    virtual int showAlert(const Alert& alert) = 0;
};

}  // namespace velquor::app
