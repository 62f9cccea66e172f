// Query by example: a grid of one column per field, a selection row and
// criteria rows, turned into one SELECT statement. Plain values: the dialog
// holds a TQbeGrid and calls these rules.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace query {

struct QueryTables;

// What a column's field name makes of its cells (several may apply).
struct QbeColumnKind {
    bool text = false;
    bool boolean = false;
    bool memo = false;
    bool memoOrPicture = false;
    bool sound = false;
    bool category = false;
    bool sex = false;
    bool mediumKind = false; // the name holds "Medium": the kinds cycle
};
QbeColumnKind QbeKindOf(const QString &field);

struct TQbeGrid {
    int source = 1;           // 1 film, 2 media, 3 join, 4 persons
    QStringList fields;       // row 0 from column 1 on
    bool aggregate = false;   // selection row "Aggreg." instead of "Auswahl"
    QStringList selection;    // row 1, one cell per field
    QStringList rowOps;       // column 0 of the criteria rows
    QList<QStringList> rows;  // criteria cells, one list per row, one cell per field
    bool caseSensitive = false; // ChkGKS

    int rowCount() const { return int(rows.size()); }
};

// A new grid: three criteria rows, "X" in every selection cell but memo and
// picture columns.
TQbeGrid NewQbeGrid(int source, const QStringList &fields);
// The fields of row 0: film with "F." then media with "M." for the join.
QStringList QbeFields(int source, const QStringList &mediaFields, const QStringList &filmFields,
                      const QStringList &personFields);
// A new criteria row: "OR" and empty cells.
void AddQbeRow(TQbeGrid &grid);

// Column 0 clicks: the selection row's mode, the operators of the rows
// (criteria row index 0 is the grid's row 2).
void ToggleQbeMode(TQbeGrid &grid);
QString NextRowOperator(int criteriaRow, const QString &op);
// A double click on a cell: its next value.
QString NextSelectionValue(const QString &value, bool aggregate, const QbeColumnKind &kind);
QString NextCriteriaValue(const QString &value, const QbeColumnKind &kind);

// One criteria cell: the SQL condition (operator and value), and the
// message for an invalid value (empty when it is valid). gridRow is the
// row's number as the grid shows it (2 for the first criteria row).
struct QbeCell {
    QString condition;
    QString error;
};
QbeCell CheckQBECell(const QString &field, const QString &cell, int gridRow, bool caseSensitive,
                     const QStringList &categoryNames);

// The statement. With usePaths the tables are their paths in double
// quotes, else the table words Film, Med and Pers. ok is false (with the
// message) when no column is selected; messages holds every cell's error.
struct QbeStatement {
    bool ok = false;
    QStringList lines;
    QStringList messages;
};
QbeStatement BuildQBESelect(const TQbeGrid &grid, bool usePaths, const QueryTables &tables,
                            const QStringList &categoryNames);

} // namespace query
