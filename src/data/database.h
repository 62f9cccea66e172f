// Opening and switching the collection database: the data sets over the open
// database's tables, pointing them at a database, creating a new database and
// opening another one, and the repair of a missing primary index of the
// media table.
#pragma once

#include <QString>

namespace engine {
class Table;
}

// The data sets over the open database. They belong to the windows that show
// them (the main window's Table1, Table11 and Table2, the film card's and the
// person card's table, the attachment window's caption table); each window
// registers its own here when it is created. A null entry is skipped.
struct TDatabaseTables
{
    engine::Table *Table1 = nullptr;    // media: the medium card
    engine::Table *Table11 = nullptr;   // media: second cursor
    engine::Table *Table2 = nullptr;    // films: the main window's read-only cursor
    engine::Table *FilmTable = nullptr; // films: the film card
    engine::Table *PersTable = nullptr; // persons: the person card
    engine::Table *TableLAB = nullptr;  // free-field captions
};
extern TDatabaseTables DBTables;


// Path helpers of the open database (DBBase with a trailing separator).
QString MediaTablePath(const QString &base);
QString FilmTablePath(const QString &base);

// Points every data set at the database base / person base and opens them;
// any failure closes them all and empties their names, silently (start-up),
// except a wrong password: that is said, and the user may give it again.
bool OpenDatabaseTablesAtStart(const QString &base, const QString &persBase);

// Makes a new database at ExpandDBPath(name) from the templates and switches
// to it with editing unlocked. False when the files cannot be made or the new
// tables do not open; then the previous database is open as before.
bool CreateAndOpenDatabase(const QString &name, bool copyCategories, bool copyCaptions);

// The open command after the file dialog: opens (or imports, then opens) the
// chosen file. True when a database is open afterwards from this command.
enum class TOpenResult { Cancelled, Failed, SameAgain, Opened, Imported };
TOpenResult OpenDatabaseFile(const QString &fileName);

// The main window's after-open step of the media table: the primary-index
// repair (once, never recursing) — numbering detection and controls follow
// in their own parts.
void RepairMediaPrimaryIndex();
// The same for the film table after it opens (the main window's film cursor
// Table2 is closed while the index is rebuilt over the three key fields).
void RepairFilmPrimaryIndex();
// After the film table opens: while the media table is numbered across all
// media (index "iNrExcl"), the films follow that order too.
void FollowMediaNumberingIndex();

// What the start says when the password given for the database at base is
// wrong (it offers to ask again).
QString WrongPasswordAtStartText(const QString &base);

// Closes every data set, pending edits of the record tables posted first.
void CloseDatabaseTables();
// Opens again every data set that has a table name (the caption table too),
// after CloseDatabaseTables; the engine's messages, empty when all opened.
QString ReopenDatabaseTables();

// The engine's password event (the main window binds it): asks for the
// password; false (the table stays closed) for an empty entry, else the
// password is added to the session's list.
bool AskEnginePassword(const QString &tablePath, QString &password);

// Packs the open tables chosen, the user told to wait meanwhile; engine
// errors are shown once the table is open again.
void PackDatabaseTables(bool media, bool films, bool persons);

// The user's commands "Neu" and "Öffnen" with their dialogs and questions.
void NewDatabaseCommand();
void OpenDatabaseCommand();
