#include "dbui/columnlayout.h"

#include "dbui/dbgrid.h"

#include <cstdlib>

namespace dbui {

void storeColumnLayout(const DbGrid &grid, ColumnLayout &layout)
{
    const int n = grid.columnCount();
    while (layout.widths.size() < n)
        layout.widths.append(0);
    while (layout.fields.size() < n)
        layout.fields.append(QString());
    for (int i = 0; i < n; ++i) {
        const int w = grid.gridColumnWidth(i);
        if (w != 0)
            layout.widths[i] = w;
        layout.fields[i] = grid.columns().at(i).fieldName;
    }
}

void applyColumnLayout(DbGrid &grid, const ColumnLayout &layout)
{
    GridModel *model = grid.gridModel();
    const int n = grid.columnCount();
    auto shows = [&](int col, const QString &field) {
        return model->column(col).fieldName.compare(field, Qt::CaseInsensitive) == 0;
    };
    for (int i = 0; i < n && i < layout.fields.size(); ++i) {
        const QString &field = layout.fields[i];
        if (!field.isEmpty() && !shows(i, field)) {
            for (int j = i + 1; j < n; ++j) {
                if (shows(j, field)) {
                    grid.moveGridColumn(j, i);
                    break;
                }
            }
        }
    }
    for (int i = 0; i < n && i < layout.widths.size(); ++i) {
        const int w = layout.widths[i];
        if (w < 0) {
            // Hidden, but keeping the width it will come back with.
            grid.setGridColumnWidth(i, -w);
            grid.setGridColumnWidth(i, 0);
        } else if (w > 0) {
            grid.setGridColumnWidth(i, w);
        }
    }
}

void hideColumn(DbGrid &grid, ColumnLayout &layout, int col)
{
    if (col < 0 || col >= grid.columnCount() || grid.gridColumnWidth(col) == 0)
        return;
    storeColumnLayout(grid, layout);
    grid.setGridColumnWidth(col, 0);
    layout.widths[col] = -std::abs(layout.widths[col]);
}

void showColumn(DbGrid &grid, ColumnLayout &layout, int col)
{
    if (col < 0 || col >= grid.columnCount() || col >= layout.widths.size())
        return;
    const int w = std::abs(layout.widths[col]);
    layout.widths[col] = w;
    if (w > 0)
        grid.setGridColumnWidth(col, w);
    else
        grid.gridModel()->setColumnVisible(col, true); // at its default width
}

} // namespace dbui
