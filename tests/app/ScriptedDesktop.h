#pragma once

#include "app/Desktop.h"

#include <QStringList>
#include <QUrl>

#include <deque>
#include <vector>

namespace velquor::testing {

// The desktop seam as a script: each choice returns the next prepared answer (nothing once
// they run out) and every request is recorded.
class ScriptedDesktop : public app::Desktop {
public:
    std::deque<QString> paths;            // answers for the file, save and folder pickers; an empty one cancels
    std::deque<QStringList> fileChoices;  // answers for the files picker, which picks several
    std::vector<app::FileFilter> fileFilters;
    std::vector<QString> revealed;
    std::vector<QString> proposedNames;
    std::vector<app::FolderRequest> folderRequests;
    std::vector<app::Alert> alerts;
    std::vector<QUrl> opened;
    int alertAnswer = 0;  // the button every alert is answered with
    int pickerCalls = 0;

    std::optional<QString> chooseTextFile() override { return next(); }
    std::optional<QString> chooseSavePath(const QString& proposedName) override {
        proposedNames.push_back(proposedName);
        return next();
    }
    std::optional<QString> chooseFolder(const app::FolderRequest& request) override {
        folderRequests.push_back(request);
        return next();
    }
    QStringList chooseFiles(const app::FileFilter& filter) override {
        ++pickerCalls;
        fileFilters.push_back(filter);
        if (fileChoices.empty()) return {};
        QStringList files = fileChoices.front();
        fileChoices.pop_front();
        return files;
    }
    void reveal(const QString& path) override { revealed.push_back(path); }
    void openAddress(const QUrl& address) override { opened.push_back(address); }
    int showAlert(const app::Alert& alert) override {
        alerts.push_back(alert);
        return alertAnswer;
    }

private:
    QString nextPath() {
        ++pickerCalls;
        if (paths.empty()) return {};
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
    std::optional<QString> next() {
        QString path = nextPath();
        if (path.isEmpty()) return std::nullopt;
        return path;
    }
};

}  // namespace velquor::testing
