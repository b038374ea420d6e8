#include "app/shell/WorkspaceContent.h"

#include <QWidget>

namespace velquor::shell {

// An empty frame until the workspace views take its place.
QWidget* makeWorkspaceContent(app::AppModel&, QWidget* parent) {
    auto* content = new QWidget(parent);
    content->setObjectName(QStringLiteral("workspaceContent"));
    return content;
}

}  // namespace velquor::shell
