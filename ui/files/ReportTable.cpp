#include "ui/files/ReportTable.h"

#include "ui/common/ViewColors.h"

#include <QHeaderView>
#include <QTableWidget>

namespace velquor::ui {

QTableWidget* reportTable(const QStringList& columns, const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTextElideMode(Qt::ElideMiddle);
    table->setWordWrap(false);
    table->setMinimumHeight(180);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    table->setFocusPolicy(Qt::StrongFocus);
    const auto colors = ViewColors::of(parent->palette());
    table->setStyleSheet(
        QStringLiteral("QTableWidget { border: 1px solid %1; border-radius: 6px; }").arg(colors.separator.name()));
    return table;
}

void setCell(QTableWidget& table, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    table.setItem(row, column, item);
}

}  // namespace velquor::ui
