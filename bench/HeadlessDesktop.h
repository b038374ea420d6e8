#pragma once

// The desktop seam for the model benchmarks, which never open a dialog.
#include "app/Desktop.h"

namespace velquor::bench {

class HeadlessDesktop : public app::Desktop {
public:
    std::optional<QString> chooseTextFile() override { return std::nullopt; }
    std::optional<QString> chooseSavePath(const QString&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const app::FolderRequest&) override { return std::nullopt; }
    QStringList chooseFiles(const app::FileFilter&) override { return {}; }
    void reveal(const QString&) override {}
    void openAddress(const QUrl&) override {}
    int showAlert(const app::Alert&) override { return 0; }
};

}  // namespace velquor::bench
