// The record rules of the media table on the main window's data sets: the
// numbering mode and its switches, the next free number with its gap cache,
// the checks of Table1 when a medium is inserted, edited, posted or deleted,
// the remaining time and largest free area of every medium record, and the
// tape operations on the films of the shown medium.
//
// Every multi-row change runs in one transaction of the session together with
// the change of the medium record that causes it: a medium's new key and its
// films' rename, a medium's delete and its films' delete, every renumbering of
// films. A failure or a killed process leaves the old state. In network mode
// the film table is locked for the whole change and released on every way out.
//
// The main window owns one MediumRecords, hands it its data sets, and calls
// installEvents() once; what it shows comes through the doors the main window
// fills (UpwardDoors.Records, or a test's own).
#pragma once

#include "data/filmtablelock.h"
#include "data/maindatasets.h"
#include "data/mediumnumbering.h"
#include "data/recordsql.h"
#include "data/tapearithmetic.h"
#include "data/upwarddoors.h"
#include "engine/signal.h"

#include <QString>
#include <functional>
#include <optional>

namespace engine {
class DataSet;
class Field;
class Session;
class Table;
}

class MediumRecords
{
public:
    // The doors must outlive this object.
    explicit MediumRecords(const MainDataSets &sets, TMediumRecordDoors &doors = UpwardDoors.Records);

    const MainDataSets &dataSets() const { return m_sets; }
    TMediumRecordDoors &doors() const { return m_doors; }

    // Settings the main window keeps in step with its globals.
    bool dvdKkNur1Film = true;   // dvd_kk_nur1film
    bool rest1to5 = false;       // bRest1bis4
    bool networkMode = false;

    // Set while Table1BeforePost writes values of its own (a key put back, a
    // lending date cleared), so the window does not take them for the user's.
    bool *programWrites = nullptr;

    // Subscribes to the events of Table1, Table11 and Table2 (after the
    // subscribers already there; dropped with this object): a media data set opens on its primary index and,
    // after every open, gets the kind check and the numbering-mode detection.
    void installEvents();

    // ---- numbering ----
    NumberingMode numberingMode() const { return m_acrossAll ? NumberingMode::AcrossAll : NumberingMode::PerKind; }
    // After each open of Table1 or Table11.
    void DetectNumberingMode(engine::Table &t);
    // The next free number of the kind; a box and a silent abort when the
    // numbers are used up.
    int NextFreeNumber(const QString &kind);
    NextNumber NextFreeNumberOrError(const QString &kind);
    GapCache gapCache;
    bool MediumKeyUnused();
    void RenameMediumFilms();
    void MenNumAlleMedienClick();
    void MenNumProMedTypClick();
    void Men_dvd_kk_nur1filmClick();

    // ---- events of Table1 ----
    void Table1BeforeInsert(engine::DataSet &);
    void Table1NewRecord(engine::DataSet &);
    void Table1BeforeEdit(engine::DataSet &);
    void Table1BeforePost(engine::DataSet &);
    void Table1BeforeCancel(engine::DataSet &);
    void Table1BeforeDelete(engine::DataSet &);
    void TableAfterPost(engine::DataSet &);
    void TableAfterDelete(engine::DataSet &);
    void Table1MediumValidate(engine::Field &);
    // The kind edit's text changed.
    void DBMedChange(const QString &text);

    // Edit and insert memory.
    QString OldKind;
    int OldNr = 0;
    bool editing = false;
    QString NewKind;
    int NewNr = 0;

    // ---- tape arithmetic ----
    // The remaining time and largest free area of the medium in Table1 (on
    // the card) or Table11, read through a statement of its own: no cursor
    // the user sees moves.
    RestAndMaxFree CalcRestAndMaxFree(bool onCard);
    RestAndMaxFree CalcRestAndMaxFreeOf(engine::DataSet &media);
    void Table1CalcFields(engine::DataSet &media);
    // Declares bRest and bMaxFree on a closed media data set.
    static void DeclareMediaCalcFields(engine::DataSet &media);

    // The tape operations on the medium shown in Table1; each returns whether
    // it changed anything.
    bool SplitFreeArea(int filmNr, int area);
    bool JoinFreeArea(int filmNr);                 // SpBJoinFreeClick with its film number
    bool SpB5PushDownClick();
    bool SpBFinalizeClick();
    bool RenumberFilmUp(int filmNr);
    bool RenumberFilmDown(int filmNr);

private:
    engine::Session &session() const;
    QString mediaRef() const;
    QString filmRef() const;
    engine::Table &mediaTable() const;   // Table1, else Table11: whichever is open
    engine::Table &filmsTable() const;   // the film window's table, else Table2
    engine::Table *filmLockTable() const;
    void setMenu(NumberingMenuState s);
    bool shownMedium(QString *kind, int *nr) const;
    // The shown medium and, in network mode, the film table locked for the
    // operation; false when there is no medium or the lock was refused.
    bool beginTapeOperation(QString *kind, int *nr, std::optional<FilmTableLock> &lock);
    // Applies steps to the films of the shown medium in one transaction and
    // brings the data sets up to date; with redraw also the medium card.
    void applyToShownMedium(const QString &kind, int nr, const FilmSteps &steps, bool redraw);
    void refreshFilmSets();
    bool moveFilm(int from, int to);
    void restoreOldKey(engine::DataSet &ds);

    MainDataSets m_sets;
    TMediumRecordDoors &m_doors;
    bool m_acrossAll = false;
    bool m_restoringKey = false;
    recordsql::FilmReader m_filmReader;
    engine::Subscriptions m_events;      // first to go: no event reaches a dying object
};
