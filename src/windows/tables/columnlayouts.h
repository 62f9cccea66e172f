// The four stored column layouts: the media (K), film (F) and person (P)
// grids of the table view and the main window's film list (MF). The
// settings keep each as two arrays (SPBreiten*, SPReihenfolge*); an order
// entry is the field's number in the table's own field list as the program
// defines it, so a table whose fields stand in another order keeps its
// layout, and an entry that names no field is passed over.
#pragma once

#include "dbui/columnlayout.h"

#include <QString>
#include <QStringList>

namespace dbui { class DbGrid; }

enum class TLayoutGrid { K, F, P, MF };

// Set when the arrays hold a layout (loaded complete or stored once).
bool LayoutsStored();
void SetLayoutsStored(bool on);

// The fields the order entries of a layout count in.
const QStringList &LayoutFieldNames(TLayoutGrid which);
// The stored layout as widths and field names.
dbui::ColumnLayout StoredColumnLayout(TLayoutGrid which);
// Copies the grid's widths and fields into the arrays (a hidden column
// keeps its negative width).
void StoreColumnLayout(TLayoutGrid which, const dbui::DbGrid &grid);
// Puts a layout back into the arrays (after a column tool changed it).
void SetStoredColumnLayout(TLayoutGrid which, const dbui::ColumnLayout &layout);
// Moves the grid's columns to the stored order and gives them the stored widths.
void ApplyColumnLayout(TLayoutGrid which, dbui::DbGrid &grid);
