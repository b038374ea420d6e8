#include "ui/report/ClipboardFindingsList.h"

#include "ui/common/Labels.h"
#include "ui/common/ViewColors.h"
#include "ui/report/ReportRows.h"

#include <QVBoxLayout>

namespace velquor::ui {

ClipboardFindingsList::ClipboardFindingsList(QWidget* parent) : OutlinedBox(parent), rows_(new QVBoxLayout) {
    const auto colors = ViewColors::of(palette());
    setColors(colors.boxBorder, colors.boxBackground);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    auto* title = new SymbolLabel("clipboard", tr("Clipboard flavors"), TextStyle::body, this);
    title->setColor(colors.orange);
    column->addWidget(title);
    rows_->setSpacing(3);
    column->addLayout(rows_);
}

void ClipboardFindingsList::setFindings(const QStringList& findings) {
    clearLayout(*rows_);
    for (const QString& finding : findings) {
        auto* line = styledLabel(finding, TextStyle::body, this);
        line->setWordWrap(true);
        rows_->addWidget(line);
    }
}

}  // namespace velquor::ui
