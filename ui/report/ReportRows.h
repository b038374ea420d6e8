#pragma once

#include <QString>

class QVBoxLayout;
class QWidget;

namespace velquor::ui {

// A hostile text can hold tens of thousands of distinct unusual scalars; a report shows at most
// this many rows and says how many more there are, so that the window stays responsive.
inline constexpr std::size_t reportRowLimit = 1000;

// Removes and deletes every widget and nested layout of `layout`.
void clearLayout(QVBoxLayout& layout);

// "N more not shown." for the rows over the limit, in a caption.
QWidget* moreRowsLabel(std::size_t total, QWidget* parent);

// A thin horizontal line between rows.
QWidget* rowDivider(QWidget* parent);

}  // namespace velquor::ui
