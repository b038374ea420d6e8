#include "app/shell/ClipboardMenu.h"

#include "app/AppModel.h"
#include "app/shell/ShellSymbols.h"

#include <QAction>
#include <QMenu>

namespace velquor::shell {

void addClipboardActions(QMenu& menu, app::AppModel& model, const std::function<void()>& showWindow) {
    menu.addAction(symbolIcon("doc.text.magnifyingglass"), QStringLiteral("Inspect Clipboard"), &model,
                   [&model, showWindow] {
                       model.inspectClipboard();
                       showWindow();
                   });
    menu.addAction(symbolIcon("wand.and.sparkles"), QStringLiteral("Clean Clipboard"), &model,
                   &app::AppModel::sanitizeClipboardInPlace);
    QAction* restore = menu.addAction(symbolIcon("arrow.uturn.backward"), QStringLiteral("Restore Previous Clipboard"),
                                      &model, &app::AppModel::restorePreviousClipboard);
    restore->setEnabled(model.canRestoreClipboard());
    QObject::connect(&model, &app::AppModel::canRestoreClipboardChanged, restore,
                     [restore, &model] { restore->setEnabled(model.canRestoreClipboard()); });
}

void fillTrayMenu(QMenu& menu, app::AppModel& model, const std::function<void()>& showWindow,
                  const std::function<void()>& quit) {
    addClipboardActions(menu, model, showWindow);
    menu.addSeparator();
    menu.addAction(symbolIcon("macwindow"), QStringLiteral("Show Velquor"), &menu, showWindow);
    menu.addSeparator();
    menu.addAction(symbolIcon("power"), QStringLiteral("Quit"), &menu, quit);
}

}  // namespace velquor::shell
