// The doors upward: what the data layer (and the main window's start) asks of
// the layers above it, which it cannot call. One registry, `UpwardDoors`; the
// main window fills it in TMainform::FillUpwardDoors (windows/main/mainformdoors.cpp)
// when it is created and empties it when it goes; only the update check at
// start is the program's own (StartTarvo). Each door is skipped while unset.
#pragma once

#include <QString>
#include <functional>

// What the numbering menu entries show: MenNumAlleMedien, MenNumProMedTyp or
// neither (the numbering index could not be opened).
enum class NumberingMenuState { AcrossAll, PerKind, None };

// What the windows do when a database is switched.
struct TDatabaseDoors
{
    std::function<void()> CreateCategoryDialog;   // creates it, which loads "KAT"
    std::function<void()> FreeCategoryDialog;
    std::function<void()> LoadFreeFieldCaptions;
    // Editing unlocked (true) or locked: lock button, menu check, the record
    // windows. The tables' read-only state is set here before it is called.
    std::function<void(bool)> SetEditing;
    std::function<void()> AdjustLabelPreview;
    // Imports an older database (oldest = the format of V1.x/V2.x, else a
    // ".Kass.DB" one); returns the new database's main file or empty.
    std::function<QString(const QString &name, bool oldest)> ImportOldDatabase;
    // The main window's pointing hints: the tour after a new database, the
    // tour after an import, the hint at the lock button after a first open.
    std::function<void()> NewDatabaseTour;
    std::function<void()> ImportTour;
    std::function<void()> LockButtonHint;
    // Before each command: the quick search collapses.
    std::function<void()> BeforeDatabaseCommand;
};

// What the main window shows when the media records' rules change something.
struct TMediumRecordDoors
{
    std::function<void(NumberingMenuState)> onNumberingMenu; // check marks
    std::function<void()> resetInsertFocus;                  // insert-focus field := "-"
    std::function<void()> afterPostRefresh;                  // TableAfterPost's window steps
    std::function<void()> afterDeleteRefresh;                // status line, list window
    std::function<void()> filmsChanged;                      // film slots, preview, Table1 shown
    std::function<void(int filmNr)> showFilmWindow;          // after a split: the card on its first part
    // The split dialog: minutes of the first part and long play; false = Cancel.
    std::function<bool(int &minutes, bool &longPlay)> execSplitFreeDialog;
};

struct TUpwardDoors
{
    TDatabaseDoors Database;
    TMediumRecordDoors Records;   // the main window's MediumRecords uses these
    // The update check when the main window is first shown (the program's).
    std::function<void()> AutoUpdateCheck;
};
extern TUpwardDoors UpwardDoors;

// Who fills a door: the main window (FillUpwardDoors) or the program's start.
enum class TDoorFiller { MainWindow, Program };

// Every door by name, in one list: a test walks it to find a door that
// nothing fills. A door added above must be added here too; the count below
// refuses to compile until it is.
template <class Visit>
void ForEachUpwardDoor(TUpwardDoors &d, Visit &&visit)
{
    constexpr TDoorFiller w = TDoorFiller::MainWindow;
    TDatabaseDoors &db = d.Database;
    visit("Database.CreateCategoryDialog", w, db.CreateCategoryDialog);
    visit("Database.FreeCategoryDialog", w, db.FreeCategoryDialog);
    visit("Database.LoadFreeFieldCaptions", w, db.LoadFreeFieldCaptions);
    visit("Database.SetEditing", w, db.SetEditing);
    visit("Database.AdjustLabelPreview", w, db.AdjustLabelPreview);
    visit("Database.ImportOldDatabase", w, db.ImportOldDatabase);
    visit("Database.NewDatabaseTour", w, db.NewDatabaseTour);
    visit("Database.ImportTour", w, db.ImportTour);
    visit("Database.LockButtonHint", w, db.LockButtonHint);
    visit("Database.BeforeDatabaseCommand", w, db.BeforeDatabaseCommand);
    TMediumRecordDoors &rec = d.Records;
    visit("Records.onNumberingMenu", w, rec.onNumberingMenu);
    visit("Records.resetInsertFocus", w, rec.resetInsertFocus);
    visit("Records.afterPostRefresh", w, rec.afterPostRefresh);
    visit("Records.afterDeleteRefresh", w, rec.afterDeleteRefresh);
    visit("Records.filmsChanged", w, rec.filmsChanged);
    visit("Records.showFilmWindow", w, rec.showFilmWindow);
    visit("Records.execSplitFreeDialog", w, rec.execSplitFreeDialog);
    visit("AutoUpdateCheck", TDoorFiller::Program, d.AutoUpdateCheck);
}
inline constexpr int UpwardDoorCount = 18;
// Every door is one std::function, whatever it takes and gives.
static_assert(sizeof(std::function<void()>) == sizeof(std::function<bool(int &, bool &)>));
static_assert(sizeof(TUpwardDoors) == UpwardDoorCount * sizeof(std::function<void()>),
              "a new door must join ForEachUpwardDoor and UpwardDoorCount");

// Calls a door that takes nothing, when it is set.
inline void CallDoor(const std::function<void()> &door)
{
    if (door)
        door();
}
