#pragma once

class QWidget;

namespace velquor::app {
class AppModel;
}

namespace velquor::shell {

// The main window's one central widget: the workspace views over the model.
QWidget* makeWorkspaceContent(app::AppModel& model, QWidget* parent);

}  // namespace velquor::shell
