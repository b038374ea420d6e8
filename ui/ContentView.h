#pragma once

#include "app/WorkspaceTab.h"

#include <QWidget>

class QStackedWidget;

namespace velquor::app {
class AppModel;
}

namespace velquor::ui {

class HeaderView;
class TextWorkspace;

// The main window's central widget: the header, a divider, then the workspace of the selected
// tab. Ctrl+1 and Ctrl+2 switch workspaces. A workspace is created each time its tab is
// selected, so the text workspace starts again at its first report after a visit to Files.
class ContentView : public QWidget {
    Q_OBJECT

public:
    explicit ContentView(app::AppModel& model, QWidget* parent = nullptr);

    HeaderView* header() const { return header_; }
    // The text workspace while the Text tab is selected, else null.
    TextWorkspace* textWorkspace() const;
    QWidget* workspace() const { return workspace_; }

private:
    void showSelectedTab();
    QWidget* makeWorkspace(app::WorkspaceTab tab);

    app::AppModel& model_;
    HeaderView* header_;
    QWidget* workspace_ = nullptr;
};

}  // namespace velquor::ui
