// What a query result allows: which print, go-to and list commands it
// enables (by its field names), which charts it can be drawn as (by its
// shown columns and its row count), and the saved widths of hidden columns.
#pragma once

#include <QString>
#include <QStringList>
#include <QList>

namespace query {

enum class ResultKind { Medium, Person, Other };

// A medium result has Nr or KassNr and Medium; else a person result has Name.
ResultKind ClassifyResult(const QStringList &fieldNames);

struct ResultCommands {
    bool printMenu = false;      // the print menu instead of the plain print button
    bool printMediaList = false; // "Als Tabelle oder &Medienliste drucken"
    bool printFilmList = false;  // "Als Tabelle oder &Filmliste drucken"
    bool pagePrint = false;      // film pages or person pages
    QString pagePrintCaption;
    bool addToCollection = false;
    bool printPersons = false;   // "Personen-Tabelle drucken..."
    bool gotoMedium = false;
    bool mediaList = false;
    bool filmList = false;
    bool labelList = false;
    bool lists() const { return mediaList || filmList; }
};
ResultCommands CommandsForResult(const QStringList &fieldNames);

// One grid column as the chart rule sees it.
struct ChartColumn {
    QString name;
    bool numeric = false;
    bool string = false;
    bool shown = true;
};

struct ChartPlan {
    int labelColumn = -1;       // the first shown string column
    int valueColumn = -1;       // the first shown numeric column
    int pieColumn = -1;         // the first shown COUNT... column, else valueColumn
    QList<int> valueColumns;    // every shown numeric column, in order
    bool pie = false;
    bool bar = false;
    bool line = false;
};
ChartPlan PlanChart(const QList<ChartColumn> &columns, int rowCount);

// The saved width of each grid column: -1 while it is shown.
struct TColInfo {
    qint32 SavedWidth = -1;
};

// Hides column col (width into its saved width, width 0); returns the new
// selected column: moved left past hidden columns while its index is >= 1.
int HideColumn(QList<int> &widths, QList<TColInfo> &info, int col);
// Shows the column again with its saved width.
void ShowColumn(QList<int> &widths, QList<TColInfo> &info, int col);
// The user moved a column: the saved widths follow their columns.
void MoveColInfo(QList<TColInfo> &info, int from, int to);

} // namespace query
