#pragma once

#include <functional>

class QMenu;

namespace velquor::app {
class AppModel;
}

namespace velquor::shell {

// The clipboard's three actions, in the menu order: inspect (then `showWindow`), clean in
// place, restore; "Restore Previous Clipboard" is enabled exactly while the model can restore.
void addClipboardActions(QMenu& menu, app::AppModel& model, const std::function<void()>& showWindow);

// The tray's menu: the clipboard actions, a divider, "Show Velquor", a divider, "Quit".
void fillTrayMenu(QMenu& menu, app::AppModel& model, const std::function<void()>& showWindow,
                  const std::function<void()>& quit);

}  // namespace velquor::shell
