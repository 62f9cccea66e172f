// The table model behind the data grid: rows are the records of a data set
// in its order, columns are chosen fields. Rows are read by number when the
// view asks for them and kept in a small cache, so showing a screen of a
// 100,000-film table reads one screen of rows. The records are not counted
// up front either: the model knows a first block of rows and learns further
// blocks (each as large as all before it) as the view scrolls towards its
// end (canFetchMore/fetchMore), when the cursor goes beyond them, or all at
// once on fetchAllRows (the last record, Ctrl+End). The record the data set
// stands on is the current row; it follows the cursor, and setCurrentRow
// moves the cursor. While a record is edited or inserted its row shows the
// edit buffer; an inserted record has a row of its own until it is posted.
#pragma once

#include "dbui/boolsymbols.h"
#include "dbui/datasource.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <vector>

namespace dbui {

struct GridColumn
{
    QString fieldName;
    QString title;       // empty: the field's display label
    int width = 0;       // pixels; 0: from the field's display width
    bool visible = true; // a hidden column keeps its width for showing again
    bool readOnly = false;

    GridColumn() = default;
    GridColumn(QString field, QString caption = {}, int w = 0)
        : fieldName(std::move(field)), title(std::move(caption)), width(w) {}
    bool operator==(const GridColumn &) const = default;
};

class GridModel : public QAbstractTableModel
{
    Q_OBJECT
    Q_PROPERTY(bool gridBoolBothSymbols READ gridBoolBothSymbols WRITE setGridBoolBothSymbols)
    Q_PROPERTY(bool gridBoolTrueSymbolOnly READ gridBoolTrueSymbolOnly WRITE setGridBoolTrueSymbolOnly)
    Q_PROPERTY(bool gridBoolTickStyle READ gridBoolTickStyle WRITE setGridBoolTickStyle)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)

public:
    // Role with the raw field value (null for an empty field; a picture
    // column gives true for a picture instead of its bytes).
    static constexpr int ValueRole = Qt::UserRole + 1;

    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    engine::DataSet *dataSet() const;

    // Columns. Without designed columns every visible field of the set is a
    // column, in field order (rebuilt whenever the set opens).
    void setColumns(const QList<GridColumn> &columns);
    void resetColumns(); // back to the fields of the set
    bool hasDesignedColumns() const { return m_designed; }
    const QList<GridColumn> &columns() const { return m_columns; }
    const GridColumn &column(int col) const { return m_columns.at(col); }
    void moveColumn(int from, int to);
    void setColumnVisible(int col, bool visible);
    void setColumnWidth(int col, int width);
    void setColumnTitle(int col, const QString &title);
    engine::Field *fieldOfColumn(int col) const;
    // Position of the column's field in the set's field list; -1 unknown.
    int fieldIndexOfColumn(int col) const;
    // The first column showing the field; -1 none.
    int columnOfField(const QString &fieldName) const;
    QString columnTitle(int col) const;
    // Titles read again (after a window changed fields' display labels).
    void refreshTitles();

    // Boolean symbols, passed in by the window from the settings.
    BoolSymbolStyle boolSymbolStyle() const { return m_boolStyle; }
    void setBoolSymbolStyle(const BoolSymbolStyle &style);
    bool gridBoolBothSymbols() const { return m_boolStyle.bothSymbols; }
    bool gridBoolTrueSymbolOnly() const { return m_boolStyle.trueSymbolOnly; }
    bool gridBoolTickStyle() const { return m_boolStyle.tickStyle; }
    void setGridBoolBothSymbols(bool on);
    void setGridBoolTrueSymbolOnly(bool on);
    void setGridBoolTickStyle(bool on);

    // The grid's own editing switch; cells are editable only when it is off
    // and the set takes changes.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    // Cells could be edited but for the set's write lock.
    bool isLockedCell(const QModelIndex &index) const;

    // The row of the data set's current record; -1 when there is none.
    int currentRow() const { return m_currentRow; }
    // Moves the data set to the record of a row (posting a pending edit
    // first). False when the data set refused (the error was reported).
    bool setCurrentRow(int row);
    // The row of an inserted record not yet posted; -1 when none.
    int insertRow() const { return m_insertRow; }

    // How many rows are cached at most (for the benchmark and tests).
    int cachedRowCount() const { return int(m_cache.size()); }

    // Whether every record of the set is a row yet (the scroll bar has its
    // true length); until then rowCount() counts the records known so far.
    bool allRowsKnown() const { return m_allKnown; }
    // Learns the records up to record row `row` (0-based), or all there are.
    void fetchRowsTo(int row);
    // Learns every record: the set counts them.
    void fetchAllRows();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    void currentRowChanged(int row);
    void columnsChanged();
    // The user tried to change a cell of a write-protected set.
    void editRefused();

private:
    static constexpr int kCacheRows = 512;
    // The records known when the set opens: a screen and more, and the
    // query engine's first block of rows.
    static constexpr int kFirstRows = 128;

    void rebuild();
    void onDataChange(engine::Field *field);
    void onStateChange();
    void updateCurrent(bool force = false);
    void buildDefaultColumns();
    void resolveColumns();
    int knownRecords(engine::DataSet &ds, int want, bool &all) const;
    void placeInsertRow(engine::DataSet &ds, int before, int knownBefore);
    void learnRecords(int want);
    int recordRowOf(int row) const; // model row -> data set row (0-based)
    const std::vector<QVariant> &rowValues(int row) const;
    QVariant cellValue(int row, int col) const;
    bool rowIsBuffer(int row) const;

    QPointer<DataSource> m_source;
    QList<GridColumn> m_columns;
    std::vector<int> m_fieldIndex; // per column; -1 when the field is unknown
    bool m_designed = false;
    BoolSymbolStyle m_boolStyle;
    bool m_readOnly = false;

    int m_recordCount = 0;   // records known so far
    bool m_allKnown = true;  // m_recordCount is the set's record count
    int m_currentRow = -1;
    int m_insertRow = -1;
    engine::DataSetState m_state = engine::DataSetState::Inactive;
    bool m_moving = false;
    mutable QHash<int, std::vector<QVariant>> m_cache;
};

} // namespace dbui
