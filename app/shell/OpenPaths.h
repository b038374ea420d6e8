#pragma once

#include <QStringList>

namespace velquor::app {
class AppModel;
}

namespace velquor::shell {

// What `velquor PATH…` and the bus's Open do: one .txt, .md or .markdown file goes into the text
// workspace, anything else to the file workspace. Relative paths are ignored, since the caller's
// folder is not known here; with none left nothing happens.
void openPaths(app::AppModel& model, const QStringList& paths);

}  // namespace velquor::shell
