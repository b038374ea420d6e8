#pragma once

#include <QStringList>

class QTableWidget;
class QWidget;

namespace velquor::ui {

// The read-only tables of the file workspace: the given columns, whole rows selected, cells on
// one line shortened in the middle, in a rounded frame with a separator border.
QTableWidget* reportTable(const QStringList& columns, const QString& name, QWidget* parent);

// Puts `text` into a cell, with the whole text as its tooltip.
void setCell(QTableWidget& table, int row, int column, const QString& text);

}  // namespace velquor::ui
