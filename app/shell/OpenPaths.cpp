#include "app/shell/OpenPaths.h"

#include "app/AppModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <vector>

namespace velquor::shell {

namespace {

bool isTextDocument(const QString& path) {
    static constexpr std::array<QStringView, 3> suffixes{u"txt", u"md", u"markdown"};
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    for (const auto text : suffixes) {
        if (suffix.compare(text, Qt::CaseInsensitive) == 0) return !info.isDir();
    }
    return false;
}

}  // namespace

void openPaths(app::AppModel& model, const QStringList& paths) {
    std::vector<std::filesystem::path> selection;
    QStringList accepted;
    for (const QString& path : paths) {
        if (path.isEmpty() || !QDir::isAbsolutePath(path)) continue;
        accepted.push_back(path);
        selection.emplace_back(QFile::encodeName(path).toStdString());
    }
    if (selection.empty()) return;
    if (selection.size() == 1 && isTextDocument(accepted.front())) {
        model.setSelectedTab(app::WorkspaceTab::text);
        model.loadTextFile(selection.front());
        return;
    }
    model.setSelectedTab(app::WorkspaceTab::files);
    model.inspectSelection(selection);
}

}  // namespace velquor::shell
