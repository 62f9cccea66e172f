// Printing the media, film and person tables and query results: the
// one-to-one table of a grid's visible columns, or the standard media and
// film lists; and a row of the list window painted with the list layout.
#pragma once

#include "print/tableprint.h"

class QPainter;
class QPrinter;
class QWidget;
namespace dbui { class DbGrid; }
namespace engine { class DataSet; }

// True while a job of PrintDataSetTable runs (or the list window paints a row).
extern bool PrintLock;

// Holds PrintLock for its life, so that every way out of a job releases it.
class PrintLockGuard
{
public:
    PrintLockGuard();
    ~PrintLockGuard();
    PrintLockGuard(const PrintLockGuard &) = delete;
    PrintLockGuard &operator=(const PrintLockGuard &) = delete;
    // False when another job held the lock already (this guard holds nothing).
    bool acquired() const { return m_acquired; }

private:
    bool m_acquired = false;
};

// Prints set: with a grid the one-to-one table of its columns, else the
// standard list. standard: the database's own tables (films, persons or
// media); else a query result, read from a copy of its query. fromStart
// false starts at the current record. oneLine: one line per medium.
// Prints on ProgramPrinter(). True when a job went out.
bool PrintDataSetTable(engine::DataSet &set, const dbui::DbGrid *grid, bool standard, bool films, bool persons,
                       bool fromStart, bool oneLine);

// The row of the set's current record as the lists take it (media lists read
// the films of the medium).
TListRow ReadListRow(engine::DataSet &set, bool standard, bool films);
// The same for row n (0-based) of the set, read without moving it.
TListRow ReadListRowAt(engine::DataSet &set, int row, bool standard, bool films);

// The settings of the list printing as a style (the lines per page given).
TTablePrintStyle TablePrintStyleFromSettings(int linesPerPage, bool twoLines, bool films);

// "Tabelle / Liste drucken": table allowed, table forced, film list; gives
// the choice. True on OK.
bool ExecTablePrintKindDialog(bool tableAllowed, bool tableForced, bool filmList, bool &tableChosen, bool &oneLine,
                              QWidget *owner = nullptr);
// "Einstellungen für Listen-/Tabellen-Druck"; on OK the settings are stored.
bool ExecListPrintSettings(QWidget *owner = nullptr);

// The main window's "&Medien-Liste drucken ..." (films false) and
// "&Film-Liste drucken ..." (films true).
void PrintMainList(bool films, QWidget *owner = nullptr);

// The query window's print commands over its result: as a table or media
// list, as a table or film list, the person table, and the one-to-one
// table of the grid.
enum class TQueryPrintKind { MediaList, FilmList, Persons, OneToOne };
void PrintQueryResult(engine::DataSet &result, const dbui::DbGrid &grid, TQueryPrintKind kind, QWidget *owner = nullptr);
