#pragma once

#include <QString>

#include <array>

namespace velquor::app {

// Which workspace the window shows.
enum class WorkspaceTab { text, files };

inline constexpr std::array<WorkspaceTab, 2> allWorkspaceTabs{WorkspaceTab::text, WorkspaceTab::files};

// "Text" or "Files": the tab's label and identifier.
QString rawValue(WorkspaceTab tab);

}  // namespace velquor::app
