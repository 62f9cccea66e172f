// The table export: what a grid shows (the media, film or person grid of the
// table window, or a query result) written as DIF, an HTML 4.01 table, XML or
// delimited text. The format follows from the file name (ExportFormatOf).
#pragma once

#include "data/categories.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace engine {
class DataSet;
}

enum class ExportSource { QueryResult, FilmGrid, MediaGrid, PersonGrid };

// One grid column: its field, its title and whether it is hidden (a
// column of width 0). The window hands its grid's columns over in grid order.
struct ExportColumn {
    QString fieldName;
    QString title;
    bool hidden = false;
};

struct ExportCategory {
    QString name;
    QString symbol; // symbol file
};

// The categories of a category table (the database's "KAT" file), in order.
QList<ExportCategory> ExportCategoriesOf(const TCategoryTable &table);

// The dialog's choices.
struct TableExportOptions {
    QString fileName;
    bool dosCharset = false;      // "ASCII (DOS)" (DIF and text)
    bool useFieldNames = false;   // "interne Datenbank-Feldbezeichner"
    int boolStyle = 0;            // ExportBoolStyle
    QChar separator = QLatin1Char(';'); // text; '\t' for "Tabulator"
    bool htmlEmptyBr = false;
    bool difBoolAsText = false;
    bool xmlCombined = false;     // media grid: the films inside their media
    bool xmlMemos = true;
    bool htmlWebSearch = false;
};

// What the export reads besides the source; every member may stay empty.
struct TableExportContext {
    // For the HTML title and the DIF table name: the table file's path, or
    // "Abfrageergebnisse" (see ExportSourceTitle).
    QString sourceTitle;
    // The main window's caption; its first nine characters name the generator.
    QString generator;
    // Categories 1..62 (index 0 is category 1), for the KATEG element.
    QList<ExportCategory> categories;
    // The caption table (ANH, FreeNr, Label) for the media grid's free fields.
    engine::DataSet *captions = nullptr;
    // Combined XML: the film table and the film grid's columns.
    engine::DataSet *films = nullptr;
    QList<ExportColumn> filmColumns;
    // Film grid: the film window's index, used for the time of the export.
    QString filmIndex;
    // The web-search links of a record ("Film", "Med", "Pers" or "-"); without
    // it the HTML export has no web-search column.
    std::function<QStringList(const QString &kind, engine::DataSet &record)> webSearchLinks;
};

// "Abfrageergebnisse" for a query result, else the table's path in the
// database's "DB" folder (dbBase ends with a separator).
QString ExportSourceTitle(ExportSource source, const QString &dbBase);

// Reads the set from its first record to its last and writes the file of the
// options. False with a German message when the file cannot be written;
// then no file (or the file that was there before) is left.
bool ExportTable(engine::DataSet &set, const QList<ExportColumn> &columns, ExportSource source,
                 const TableExportOptions &options, const TableExportContext &context,
                 QString *error = nullptr);
