// The data grid: a table view over a GridModel. The selected row follows
// the data set's cursor and moving the selection moves the cursor. Columns
// show and hide, keep their widths and can be dragged to a new place (the
// model's column order changes, so a stored layout reads it back). Options
// as in record windows: read-only or editable cells, whole-row selection,
// selection of several rows (read back as bookmarks). The fixed cells (the
// title row and the record indicator) take the window's frame colour.
#pragma once

#include "dbui/gridmodel.h"

#include <QColor>
#include <QTableView>

class QHeaderView;

namespace dbui {

class DbGrid : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(QColor fixedColor READ fixedColor WRITE setFixedColor)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(bool rowSelect READ rowSelect WRITE setRowSelect)
    Q_PROPERTY(bool multiSelect READ multiSelect WRITE setMultiSelect)

public:
    explicit DbGrid(QWidget *parent = nullptr);

    GridModel *gridModel() const { return m_model; }
    void setDataSource(DataSource *source) { m_model->setDataSource(source); }
    DataSource *dataSource() const { return m_model->dataSource(); }

    // Columns, as the model keeps them (see GridModel).
    void setColumns(const QList<GridColumn> &columns) { m_model->setColumns(columns); }
    const QList<GridColumn> &columns() const { return m_model->columns(); }
    int columnCount() const { return m_model->columnCount(); }
    // Width 0 hides a column and keeps the width it had; a width above 0
    // shows it with that width.
    int gridColumnWidth(int col) const;
    void setGridColumnWidth(int col, int width);
    void moveGridColumn(int from, int to) { m_model->moveColumn(from, to); }
    // The selected column (the one of the current cell); -1 none.
    int selectedColumn() const;
    void setSelectedColumn(int col);

    QColor fixedColor() const { return m_fixedColor; }
    void setFixedColor(const QColor &color);

    bool isReadOnly() const { return m_model->isReadOnly(); }
    void setReadOnly(bool on);
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);
    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on);

    // The selected rows in row order; with no multiple selection, none.
    QList<int> selectedRows() const;
    // Their records as bookmarks of the data set.
    QList<engine::Bookmark> selectedBookmarks() const;
    void clearRowSelection();
    // Every record, also those the grid has not shown yet.
    void selectAll() override;

    void setBoolSymbolStyle(const BoolSymbolStyle &style) { m_model->setBoolSymbolStyle(style); }

    using QTableView::edit;

signals:
    // An edit was attempted while the set is write-protected.
    void editRefused();
    // The user dragged a column from one place to another.
    void columnMoved(int from, int to);
    // The selected cell changed its column (the column tools follow it).
    void selectedColumnChanged(int col);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void followCursor(int row);
    void applyColumns();
    void onSectionMoved(int logical, int oldVisual, int newVisual);
    void onSectionResized(int logical, int oldSize, int newSize);
    void applySelectionMode();
    int defaultWidth(int col) const;
    int headingWidth(const QString &title) const;

    GridModel *m_model;
    QColor m_fixedColor;
    bool m_rowSelect = false;
    bool m_multiSelect = false;
    bool m_syncing = false;
    bool m_applying = false;
};

// The width a column of the header needs to show its title whole.
int headingWidth(QHeaderView &header, const QString &title);

} // namespace dbui
