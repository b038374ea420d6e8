#pragma once

#include "ui/common/OutlinedBox.h"

#include <QStringList>

class QVBoxLayout;

namespace velquor::ui {

// What the clipboard's other flavours carry, one line per finding under "Clipboard flavors",
// on an orange box.
class ClipboardFindingsList : public OutlinedBox {
    Q_OBJECT

public:
    explicit ClipboardFindingsList(QWidget* parent = nullptr);

    void setFindings(const QStringList& findings);

private:
    QVBoxLayout* rows_;
};

}  // namespace velquor::ui
