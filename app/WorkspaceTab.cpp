#include "app/WorkspaceTab.h"

namespace velquor::app {

QString rawValue(WorkspaceTab tab) {
    switch (tab) {
        case WorkspaceTab::text:
            return QStringLiteral("Text");
        case WorkspaceTab::files:
            return QStringLiteral("Files");
    }
    return {};
}

}  // namespace velquor::app
