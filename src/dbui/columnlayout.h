// A grid's column layout as the settings keep it: per column position the
// width in pixels (negative: a hidden column, its width before hiding as the
// absolute value) and the name of the field shown there. Names, not field
// positions: a table whose fields were reordered (an import) keeps its
// layout.
#pragma once

#include <QList>
#include <QStringList>

namespace dbui {

class DbGrid;

struct ColumnLayout
{
    QList<int> widths;
    QStringList fields; // empty: no field stored for the position
};

// Copies each column's width and field name into the layout. A hidden
// column (width 0) leaves its stored entry as it is, so it stays negative.
// The lists grow to the grid's column count when shorter.
void storeColumnLayout(const DbGrid &grid, ColumnLayout &layout);

// For each position in turn: when the column there does not show the
// field the layout names, the column showing it further right is moved
// there; then the stored width is set, or the column hidden for a negative
// one. Entries beyond the grid's columns, and fields no column further right
// shows, are passed over.
void applyColumnLayout(DbGrid &grid, const ColumnLayout &layout);

// Hides the column at a position: stores the layout first, then hides the
// column and makes its stored width negative.
void hideColumn(DbGrid &grid, ColumnLayout &layout, int col);
// Shows a hidden column again with its width from before.
void showColumn(DbGrid &grid, ColumnLayout &layout, int col);

} // namespace dbui
