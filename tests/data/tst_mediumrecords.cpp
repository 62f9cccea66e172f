#include "app/settingsfixture.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "data/recordsql.h"
#include "kit/scriptedpresenter.h"
#include "program/programdialogs.h"
#include "recordfixture.h"

#include <QtTest>
#include <sqlite3.h>

using fixture::Collection;
using fixture::Film;
using fixture::runs;

namespace {

QString kindOf(engine::Table &t)
{
    return t.fieldByName(QStringLiteral("Medium"))->asString();
}
int nrOf(engine::Table &t)
{
    return t.fieldByName(QStringLiteral("Nr"))->asInteger();
}
void setField(engine::Table &t, const char *name, const QVariant &v)
{
    t.fieldByName(QString::fromLatin1(name))->setValue(v);
}

} // namespace

class TstMediumRecords : public QObject
{
    Q_OBJECT
private slots:
    void locatePerKind()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 60}});
        c.addMedium(QStringLiteral("DVD"), 1, 0, {{1, 120}});
        c.addMedium(QStringLiteral("VHS-KK"), 2, 0, {{1, 100}});
        c.open();
        const MainDataSets ds = c.sets();

        QVERIFY(LocateMedium(ds, QStringLiteral("DVD"), 1, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        // Cut to six characters, then exact; letter case counts; a failed
        // locate leaves the card where it was.
        QVERIFY(LocateMedium(ds, QStringLiteral("VHS-SBxyz"), 1, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        QVERIFY(!LocateMedium(ds, QStringLiteral("dvd"), 1, true));
        QVERIFY(!LocateMedium(ds, QStringLiteral("DVD"), 2, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        // Per kind the number alone is not enough.
        QVERIFY(!LocateMedium(ds, QStringLiteral("Hi8"), 1, false));

        QVERIFY(LocateMediumByKind(ds, 2, true, true, false)); // bought wins over DVD
        QCOMPARE(kindOf(c.Table11), QStringLiteral("VHS-KK"));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB")); // the card did not move
        QVERIFY(LocateMediumByKind(ds, 1, false, true, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        QVERIFY(LocateMediumByNr(ds, 2));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-KK"));

        QVERIFY(LocateFilm(ds, QStringLiteral("VHS-SB"), 1, 2, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Len"))->asInteger(), 60);
        QVERIFY(LocateFilmByKind(ds, 2, true, true, 1, false));
        QCOMPARE(kindOf(c.Table2), QStringLiteral("VHS-KK"));
        QVERIFY(!LocateFilm(ds, QStringLiteral("VHS-SB"), 1, 3, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);

        QVERIFY(LocateMediumOfCurrentFilm(ds)); // film window on VHS-SB 1
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        QCOMPARE(nrOf(c.Table1), 1);
        QVERIFY(LocateMedium(ds, QStringLiteral("DVD"), 1, false));
        QVERIFY(LocateFilmOfCurrentMedium(ds, 1, false, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Len"))->asInteger(), 120);
        QVERIFY(LocateFilmOfCurrentMedium(ds, 2, true, false));
        QCOMPARE(c.Table2.fieldByName(QStringLiteral("Len"))->asInteger(), 60);
    }

    void locateAcrossAllMedia()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1);
        c.addMedium(QStringLiteral("DVD"), 2);
        // Numbers are not forced unique across kinds: 3 twice.
        c.addMedium(QStringLiteral("DVD"), 3);
        c.addMedium(QStringLiteral("VHS-SB"), 3);
        c.open(true);
        QCOMPARE(c.rec->numberingMode(), NumberingMode::AcrossAll);
        const MainDataSets ds = c.sets();

        // Found by its number whatever kind is passed...
        QVERIFY(LocateMedium(ds, QStringLiteral("Hi8"), 2, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        // ...but of two media with the number, the kind asked for wins.
        QVERIFY(LocateMedium(ds, QStringLiteral("VHS-SB"), 3, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        QVERIFY(LocateMedium(ds, QStringLiteral("DVD"), 3, true));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        QVERIFY(!LocateMedium(ds, QStringLiteral("DVD"), 4, true));
    }

    void nextFreeNumberOnTheTables()
    {
        Collection c;
        for (int n : {1, 2, 3, 5})
            c.addMedium(QStringLiteral("DVD"), n, 0);
        c.addMedium(QStringLiteral("VHS-SB"), 4);
        MediumRecords &r = c.open();
        QCOMPARE(r.NextFreeNumber(QStringLiteral("DVD")), 4);
        QCOMPARE(r.NextFreeNumber(QStringLiteral("VHS-SB")), 1);
        QCOMPARE(r.NextFreeNumber(QStringLiteral("Laserdisc")), 1);
        c.addMedium(QStringLiteral("DVD"), 4, 0);
        QCOMPARE(r.NextFreeNumber(QStringLiteral("DVD")), 6);
        c.addMedium(QStringLiteral("DVD"), -3, 0); // below 1: no gap there
        r.gapCache.clear();
        QCOMPARE(r.NextFreeNumber(QStringLiteral("DVD")), 6);

        Collection all;
        all.addMedium(QStringLiteral("VHS-SB"), 1);
        all.addMedium(QStringLiteral("DVD"), 2, 0);
        MediumRecords &a = all.open(true);
        QCOMPARE(a.NextFreeNumber(QStringLiteral("Hi8")), 3);

        // The top of the 16-bit range: refused with a message, nothing wraps.
        Collection full;
        full.addMedium(QStringLiteral("DVD"), 1, 0);
        full.addMedium(QStringLiteral("DVD"), 32767, 0);
        MediumRecords &f = full.open();
        QCOMPARE(f.NextFreeNumber(QStringLiteral("DVD")), 2);
        full.addMedium(QStringLiteral("Hi8"), 1, 0);
        full.addMedium(QStringLiteral("Hi8"), 0, 0);
        {
            // Fill Hi8 2..32767 in one statement.
            engine::Session::Transaction tx(full.session);
            recordsql::change(full.Table1,
                              QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 2 UNION ALL SELECT x + 1 "
                                             "FROM n WHERE x < 32767) INSERT INTO %1 (Medium, Nr, Len) "
                                             "SELECT 'Hi8', x, 0 FROM n")
                                  .arg(recordsql::tableRef(full.Table1)));
            tx.commit();
        }
        kit::ScriptedPresenter p;
        QVERIFY(!runs([&] { f.NextFreeNumber(QStringLiteral("Hi8")); }));
        QCOMPARE(p.shown().size(), 1);
        QVERIFY(p.last().text.contains(QStringLiteral("32767")));
    }

    void insertTakesTheNextNumber()
    {
        Collection c;
        c.addMedium(QStringLiteral("DVD"), 1, 0);
        c.addMedium(QStringLiteral("DVD"), 3, 0);
        c.addMedium(QStringLiteral("VHS-SB"), 1);
        c.open();
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("DVD"), 3, true));
        c.Table1.insert();
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        QCOMPARE(nrOf(c.Table1), 2);
        // A change of the kind edit while inserting renumbers.
        setField(c.Table1, "Medium", QStringLiteral("VHS-SB"));
        c.rec->DBMedChange(QStringLiteral("VHS-SB"));
        QCOMPARE(nrOf(c.Table1), 2);
        setField(c.Table1, "Medium", QStringLiteral("Hi8"));
        c.rec->DBMedChange(QStringLiteral("Hi8"));
        QCOMPARE(nrOf(c.Table1), 1);
        setField(c.Table1, "Len", 180);
        c.Table1.post();
        QVERIFY(c.media().contains(QStringLiteral("Hi8/1")));
        // Outside an insert the kind edit leaves the number alone.
        c.Table1.edit();
        c.rec->DBMedChange(QStringLiteral("DVD"));
        QCOMPARE(nrOf(c.Table1), 1);
        c.Table1.cancel();
        QVERIFY(!c.rec->editing);
    }

    void keyChangeRenamesTheFilms()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 60}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, 30}});
        c.open();
        kit::ScriptedPresenter p;
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        c.Table1.edit();
        QCOMPARE(c.rec->OldNr, 1);
        QVERIFY(c.rec->editing);
        setField(c.Table1, "Nr", 7);
        c.Table1.post();
        QVERIFY(!c.rec->editing);
        QCOMPARE(p.shown().size(), 0); // a number change asks nothing
        QCOMPARE(c.media(), (QStringList{"VHS-SB/2", "VHS-SB/7"}));
        QCOMPARE(c.films(), (QStringList{"VHS-SB/2/1 Film 1", "VHS-SB/7/1 Film 1", "VHS-SB/7/2 Film 2"}));
        QCOMPARE(nrOf(c.Table1), 7);
    }

    void takenKeysAreRefused()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, 30}});
        // Orphan film rows of a medium that no longer exists.
        c.addFilms(QStringLiteral("VHS-SB"), 5, {{1, 10}});
        c.open();
        kit::ScriptedPresenter p;
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        for (int taken : {2, 5}) {
            p.clear();
            c.Table1.edit();
            setField(c.Table1, "Nr", taken);
            QVERIFY(!runs([&] { c.Table1.post(); }));
            QCOMPARE(p.shown().size(), 1);
            QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
            QVERIFY(p.last().text.contains(QStringLiteral("(die Mediennummer)")));
            // Still in edit with the old key back.
            QCOMPARE(c.Table1.state(), engine::DataSetState::Edit);
            QCOMPARE(nrOf(c.Table1), 1);
            QVERIFY(c.rec->editing);
            c.Table1.cancel();
        }
        QCOMPARE(c.films(), (QStringList{"VHS-SB/1/1 Film 1", "VHS-SB/2/1 Film 1", "VHS-SB/5/1 Film 1"}));
        // Both parts changed, onto a taken key.
        c.addMedium(QStringLiteral("DVD"), 9, 0);
        c.Table1.refresh();
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("DVD"));
        setField(c.Table1, "Nr", 9);
        p.clear();
        QVERIFY(!runs([&] { c.Table1.post(); }));
        QVERIFY(p.last().text.contains(QStringLiteral("(den Medientyp und die Mediennummer)")));
        c.Table1.cancel();
    }

    void kindChangeIsConfirmed()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 60}, {3, 30}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        c.open();
        kit::ScriptedPresenter p;
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));

        // Three films may not become a DVD while the one-film rule is on.
        c.Table1.edit();
        QVERIFY(!runs([&] { setField(c.Table1, "Medium", QStringLiteral("DVD")); }));
        QCOMPARE(p.last().text, OneFilmRuleText());
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        c.Table1.cancel();

        // No: the old key stays and the post goes on.
        c.rec->dvdKkNur1Film = false;
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("DVD"));
        setField(c.Table1, "Free1", QStringLiteral("Notiz"));
        p.clear();
        p.answer(mrNo);
        c.Table1.post();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Sind Sie sicher?"));
        QCOMPARE(p.last().kind, QStringLiteral("MessageBox"));
        QCOMPARE(p.last().buttons.size(), 2);
        QCOMPARE(p.last().text, KindChangeQuestion(QStringLiteral("VHS-SB"), QStringLiteral("DVD")));
        QCOMPARE(c.media(), (QStringList{"VHS-SB/1", "VHS-SB/2"}));
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("Free1"))->asString(), QStringLiteral("Notiz"));
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("Len"))->asInteger(), 240);

        // Yes: renamed with its films; a DVD keeps no capacity.
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("DVD"));
        p.answer(mrYes);
        c.Table1.post();
        QCOMPARE(c.media(), (QStringList{"DVD/1", "VHS-SB/2"}));
        QCOMPARE(c.films(), (QStringList{"DVD/1/1 Film 1", "DVD/1/2 Film 2", "DVD/1/3 Film 3"}));
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("Len"))->asInteger(), 0);

        // Back from a DVD with three films, answered No, with the rule on:
        // the old kind comes back without the one-film refusal.
        c.rec->dvdKkNur1Film = true;
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("VHS-SB"));
        setField(c.Table1, "Nr", 5);
        p.clear();
        p.answer(mrNo);
        c.Table1.post();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(c.Table1.state(), engine::DataSetState::Browse);
        QCOMPARE(c.media(), (QStringList{"DVD/1", "VHS-SB/2"}));
        // Onto a taken key: refused, the old kind back, still in edit.
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("VHS-SB"));
        setField(c.Table1, "Nr", 2);
        QVERIFY(!runs([&] { c.Table1.post(); }));
        QCOMPARE(kindOf(c.Table1), QStringLiteral("DVD"));
        QCOMPARE(c.Table1.state(), engine::DataSetState::Edit);
        c.Table1.cancel();

        // A medium with one film may become a bought cassette with the rule on.
        c.rec->dvdKkNur1Film = true;
        c.addFilms(QStringLiteral("VHS-SB"), 2, {{1, 100}});
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 2, true));
        c.Table1.edit();
        setField(c.Table1, "Medium", QStringLiteral("VHS-KK"));
        p.answer(mrYes);
        c.Table1.post();
        QVERIFY(c.media().contains(QStringLiteral("VHS-KK/2")));
    }

    void oneFilmRuleMenuToggles()
    {
        // The setting follows and is saved at once, in a store of the test's own.
        SettingsFixture settings;
        settings.setUp();
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1);
        MediumRecords &r = c.open();
        int redraws = 0;
        bool shownSetting = true;
        r.doors().filmsChanged = [&] { ++redraws; shownSetting = dvd_kk_nur1film; };
        QVERIFY(r.dvdKkNur1Film);
        QVERIFY(dvd_kk_nur1film);
        r.Men_dvd_kk_nur1filmClick();
        QVERIFY(!r.dvdKkNur1Film);
        QVERIFY(!dvd_kk_nur1film);
        QCOMPARE(redraws, 1);
        QVERIFY(!shownSetting);   // the redraw reads the new setting
        platform::Registry reg;
        QVERIFY(reg.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QVERIFY(reg.valueExists(QStringLiteral("dvd_kk_nur1film")));
        QVERIFY(!reg.readBool(QStringLiteral("dvd_kk_nur1film")));
    }

    void lendingDateWithoutBorrower()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1);
        c.open();
        kit::ScriptedPresenter p;
        c.Table1.edit();
        setField(c.Table1, "Verleihdatum", QDate(2026, 12, 1));
        c.Table1.post();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Korrektur!"));
        QCOMPARE(p.last().kind, QStringLiteral("TWMsgBoxMetal"));
        QVERIFY(c.Table1.fieldByName(QStringLiteral("Verleihdatum"))->isNull());
        QCOMPARE(c.Table1.state(), engine::DataSetState::Browse);

        p.clear();
        c.Table1.edit();
        setField(c.Table1, "Verliehen", QStringLiteral("Anna"));
        setField(c.Table1, "Verleihdatum", QDate(2026, 12, 1));
        c.Table1.post();
        QCOMPARE(p.shown().size(), 0);
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("Verleihdatum"))->asDate(), QDate(2026, 12, 1));
    }

    void deleteRemovesTheFilms()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 60}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, 30}});
        MediumRecords &r = c.open();
        r.NextFreeNumber(QStringLiteral("VHS-SB"));
        QVERIFY(r.gapCache.valid);
        int refreshed = 0;
        r.doors().afterDeleteRefresh = [&] { ++refreshed; };
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        c.Table1.deleteRecord();
        QCOMPARE(c.media(), (QStringList{"VHS-SB/2"}));
        QCOMPARE(c.films(), (QStringList{"VHS-SB/2/1 Film 1"}));
        QVERIFY(!r.gapCache.valid);
        QCOMPARE(refreshed, 1);

        // The last medium stays, with its film.
        try {
            c.Table1.deleteRecord();
            QFAIL("the last medium was deleted");
        } catch (const engine::EngineError &e) {
            QCOMPARE(e.message(), QString::fromUtf8(kLastMediumText));
        }
        QCOMPARE(c.media(), (QStringList{"VHS-SB/2"}));
        QCOMPARE(c.films(), (QStringList{"VHS-SB/2/1 Film 1"}));
    }

    void lastMediumCountsTheWholeTable()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}});
        c.addMedium(QStringLiteral("DVD"), 1, 0, {{1, 100}});
        c.open();
        // A filter that lets only one medium through does not make it the last.
        c.Table1.onFilterRecord = [](engine::DataSet &ds) {
            return ds.fieldByName(QStringLiteral("Medium"))->asString() == QLatin1String("DVD");
        };
        c.Table1.setFiltered(true);
        QCOMPARE(c.Table1.recordCount(), 1);
        c.Table1.first();
        c.Table1.deleteRecord();
        QCOMPARE(c.media(), (QStringList{"VHS-SB/1"}));
        QCOMPARE(c.films(), (QStringList{"VHS-SB/1/1 Film 1"}));
    }

    void networkLockIsReleasedOnEveryPath()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90, false, true}, {2, 30}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        MediumRecords &r = c.open();
        r.networkMode = true;
        kit::ScriptedPresenter p;
        bool sawLock = false;
        // Cancel of the split dialog.
        r.doors().execSplitFreeDialog = [&](int &, bool &) {
            sawLock = c.filmTable.tableLocked();
            return false;
        };
        QVERIFY(!r.SplitFreeArea(1, 90));
        QVERIFY(sawLock);
        QVERIFY(!c.filmTable.tableLocked());
        // "Unmöglich".
        r.doors().execSplitFreeDialog = [](int &m, bool &lp) {
            m = 95;
            lp = false;
            return true;
        };
        QVERIFY(!r.SplitFreeArea(1, 90));
        QCOMPARE(p.last().caption, QStringLiteral("Unmöglich"));
        QVERIFY(!c.filmTable.tableLocked());
        // An error on the way.
        r.doors().execSplitFreeDialog = [](int &, bool &) -> bool {
            engine::raise(engine::ErrIo, QStringLiteral("Lesefehler"));
        };
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, r.SplitFreeArea(1, 90));
        QVERIFY(!c.filmTable.tableLocked());
        // Push down answered with Cancel.
        p.answer(mrCancel);
        QVERIFY(!r.SpB5PushDownClick());
        QVERIFY(!c.filmTable.tableLocked());
        // An error inside the key change (taken key) and a successful one.
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        c.Table1.edit();
        setField(c.Table1, "Nr", 2);
        QVERIFY(!runs([&] { c.Table1.post(); }));
        QVERIFY(!c.filmTable.tableLocked());
        setField(c.Table1, "Nr", 3);
        c.Table1.post();
        QVERIFY(!c.filmTable.tableLocked());
        // Delete.
        c.Table1.deleteRecord();
        QVERIFY(!c.filmTable.tableLocked());
        QCOMPARE(c.films(), QStringList());
    }

    // More media than are read one by one: the rest are served by one pass
    // over all films, with the same values as the statement per medium.
    void remainingTimeFilterOverManyMedia()
    {
        Collection c;
        // Medium i: film 1 of 2i minutes, film 2 of 30 in long play (15):
        // rest 225 - 2i, and with no free film the largest area is the rest.
        for (int i = 1; i <= 60; ++i)
            c.addMedium(QStringLiteral("VHS-SB"), i, 240, {{1, 2 * i}, {2, 30, true}});
        c.addMedium(QStringLiteral("VHS-SB"), 61, 240, {{2, 100}});   // no film 1: 240
        c.addMedium(QStringLiteral("VHS-SB"), 62, 240, {{1, 0}});     // unknown length: 0
        // Films stored out of order: rest 240 - 70 = 170, free 40 + 170 = 210.
        c.addMedium(QStringLiteral("VHS-SB"), 63, 240, {{3, 40, false, true}, {1, 20}, {2, 10}});
        c.addMedium(QStringLiteral("DVD"), 1, 240, {{1, 50}});         // no tape arithmetic
        c.open();
        const auto expectedRest = [](const QString &kind, int nr) {
            if (kind == QLatin1String("DVD") || nr == 62)
                return 0;
            return nr == 61 ? 240 : nr == 63 ? 170 : 225 - 2 * nr;
        };
        int minRest = 150;
        bool onMaxFree = false;
        c.Table1.onFilterRecord = [&](engine::DataSet &ds) {
            return RemainingTimeFilterAccepts(ds.fieldByName(QStringLiteral("bRest"))->asInteger(),
                                              ds.fieldByName(QStringLiteral("bMaxFree"))->asInteger(), minRest,
                                              onMaxFree);
        };
        const auto filteredCount = [&] {
            c.Table1.setFiltered(false);
            c.Table1.setFiltered(true);
            return c.Table1.recordCount();
        };
        // 1..37, 61 and 63.
        QCOMPARE(filteredCount(), 39);
        const int rest = c.Table1.fieldByName(QStringLiteral("bRest"))->index();
        const int maxFree = c.Table1.fieldByName(QStringLiteral("bMaxFree"))->index();
        const int nrField = c.Table1.fieldByName(QStringLiteral("Nr"))->index();
        const int kindField = c.Table1.fieldByName(QStringLiteral("Medium"))->index();
        for (int row = 0; row < c.Table1.recordCount(); ++row) {
            const QString kind = c.Table1.valueAt(row, kindField).toString();
            const int nr = c.Table1.valueAt(row, nrField).toInt();
            QCOMPARE(c.Table1.valueAt(row, rest).toInt(), expectedRest(kind, nr));
        }
        // The largest free area: 1..12, 61 (240) and 63 (210).
        minRest = 200;
        onMaxFree = true;
        QCOMPARE(filteredCount(), 14);
        c.Table1.setFiltered(false);
        for (int row = 0; row < c.Table1.recordCount(); ++row)
            if (c.Table1.valueAt(row, nrField).toInt() == 63)
                QCOMPARE(c.Table1.valueAt(row, maxFree).toInt(), 210);
        // A film changed meanwhile counts at once: medium 5 now has 240 - 100 - 15.
        QVERIFY(c.filmTable.locate(QStringLiteral("Medium;KassNr;FilmNr"),
                                   QVariantList{QStringLiteral("VHS-SB"), 5, 1}));
        c.filmTable.edit();
        c.filmTable.fieldByName(QStringLiteral("Len"))->setAsInteger(100);
        c.filmTable.post();
        minRest = 150;
        onMaxFree = false;
        QCOMPARE(filteredCount(), 38);
        // Back in the event loop the films are read afresh, with the same result.
        QCoreApplication::processEvents();
        QCOMPARE(filteredCount(), 38);
    }

    void calculatedFieldsLeaveTheCursorsAlone()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                    {{1, 90, true}, {2, 60, false, true}, {3, 30, false, true}});
        c.addMedium(QStringLiteral("DVD"), 1, 0, {{1, 120, false, true}});
        c.addMedium(QStringLiteral("VHS-SB"), 2, 180);
        MediumRecords &r = c.open();
        QVERIFY(LocateFilm(c.sets(), QStringLiteral("DVD"), 1, 1, false));
        QVERIFY(LocateFilm(c.sets(), QStringLiteral("VHS-SB"), 2, 1, true) == false);
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("bRest"))->asInteger(), 105);
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("bMaxFree"))->asInteger(), 195);
        RestAndMaxFree x = r.CalcRestAndMaxFree(true);
        QCOMPARE(x.rest, 105);
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 2, false));
        QCOMPARE(c.Table11.fieldByName(QStringLiteral("bRest"))->asInteger(), 180);
        QCOMPARE(r.CalcRestAndMaxFree(false).maxFree, 180);
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("DVD"), 1, false));
        QCOMPARE(c.Table11.fieldByName(QStringLiteral("bMaxFree"))->asInteger(), 0);
        // Table2 is still on the DVD's film.
        QCOMPARE(kindOf(c.Table2), QStringLiteral("DVD"));
        // Every row of a grid gets its values without moving anything.
        for (int row = 0; row < c.Table1.recordCount(); ++row)
            c.Table1.valueAt(row, c.Table1.fieldByName(QStringLiteral("bRest"))->index());
        QCOMPARE(kindOf(c.Table2), QStringLiteral("DVD"));
        QCOMPARE(nrOf(c.Table1), 1);
        QCOMPARE(kindOf(c.Table1), QStringLiteral("VHS-SB"));
        // With the film cursor closed there is nothing to compute.
        c.Table2.close();
        QCOMPARE(r.CalcRestAndMaxFree(true).rest, 0);
        // The kept statement does not hold the film file: it can go and come back.
        c.filmTable.close();
        QCOMPARE(c.session.attachedCount(), 1);
        c.Table2.open();
        QCOMPARE(r.CalcRestAndMaxFree(true).rest, 105);
    }

    void tapeOperations()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                    {{1, 30}, {2, 60, false, true, QStringLiteral("Frei")}, {3, 20}, {4, 10}});
        MediumRecords &r = c.open();
        kit::ScriptedPresenter p;
        int redraws = 0;
        QList<int> cards;
        r.doors().filmsChanged = [&] { ++redraws; };
        r.doors().showFilmWindow = [&](int n) { cards << n; };
        r.doors().execSplitFreeDialog = [](int &m, bool &lp) {
            m = 100;
            lp = true;
            return true;
        };
        QVERIFY(r.SplitFreeArea(2, 60));
        QCOMPARE(p.last().caption, QStringLiteral("Bereich geteilt"));
        QCOMPARE(redraws, 1);
        QCOMPARE(cards, QList<int>{2}); // the card on the first part
        QCOMPARE(c.films(), (QStringList{"VHS-SB/1/1 Film 1", "VHS-SB/1/2 Freier Bereich 1",
                                         "VHS-SB/1/3 Freier Bereich 2", "VHS-SB/1/4 Film 3",
                                         "VHS-SB/1/5 Film 4"}));
        QVERIFY(LocateFilm(c.sets(), QStringLiteral("VHS-SB"), 1, 3, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Len"))->asInteger(), 10);
        QVERIFY(c.filmTable.fieldByName(QStringLiteral("Frei"))->asBoolean());
        QVERIFY(LocateFilm(c.sets(), QStringLiteral("VHS-SB"), 1, 2, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Len"))->asInteger(), 100);
        QVERIFY(c.filmTable.fieldByName(QStringLiteral("LP"))->asBoolean());
        // The remaining time is unchanged by the split.
        QCOMPARE(r.CalcRestAndMaxFree(true).rest, 120);

        // Joining them again: one area in standard play of 50 + 10 minutes.
        QVERIFY(r.JoinFreeArea(3));
        QCOMPARE(c.films(), (QStringList{"VHS-SB/1/1 Film 1", "VHS-SB/1/2 Freier Bereich 1",
                                         "VHS-SB/1/3 Film 3", "VHS-SB/1/4 Film 4"}));
        QVERIFY(LocateFilm(c.sets(), QStringLiteral("VHS-SB"), 1, 2, true));
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Len"))->asInteger(), 60);
        QVERIFY(!c.filmTable.fieldByName(QStringLiteral("LP"))->asBoolean());
        QCOMPARE(c.filmTable.fieldByName(QStringLiteral("Untertitel"))->asString(),
                 QStringLiteral(" + Freier Bereich 2"));

        // Push down from film 5.
        c.addFilms(QStringLiteral("VHS-SB"), 1, {{5, 15}, {6, 15}, {8, 5}});
        p.answer(mrOk);
        QVERIFY(r.SpB5PushDownClick());
        QCOMPARE(p.last().caption, QStringLiteral("Achtung!"));
        QCOMPARE(p.last().buttons.size(), 2);
        const QStringList films = c.films();
        QCOMPARE(films.mid(4), (QStringList{"VHS-SB/1/6 Film 5", "VHS-SB/1/7 Film 6", "VHS-SB/1/8 Film 8"}));

        // Renumbering single films.
        QVERIFY(r.RenumberFilmDown(6));
        QVERIFY(!r.RenumberFilmDown(9));
        QVERIFY(r.RenumberFilmUp(5));
        QCOMPARE(c.films().mid(4), (QStringList{"VHS-SB/1/6 Film 5", "VHS-SB/1/7 Film 6", "VHS-SB/1/8 Film 8"}));

        // Finalise: no remaining time left.
        r.rest1to5 = false;
        QVERIFY(r.CalcRestAndMaxFree(true).rest > 0);
        QVERIFY(r.SpBFinalizeClick());
        QCOMPARE(c.Table1.state(), engine::DataSetState::Browse);
        QCOMPARE(r.CalcRestAndMaxFree(true).rest, 0);
        QCOMPARE(c.Table1.fieldByName(QStringLiteral("bRest"))->asInteger(), 0);
    }

    void numberingModeSwitches()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}});
        c.addMedium(QStringLiteral("DVD"), 1, 0, {{1, 90}});
        MediumRecords &r = c.open();
        QList<NumberingMenuState> menus;
        int focusResets = 0;
        r.doors().onNumberingMenu = [&](NumberingMenuState s) { menus << s; };
        r.doors().resetInsertFocus = [&] { ++focusResets; };
        QCOMPARE(r.numberingMode(), NumberingMode::PerKind);
        QVERIFY(c.Table1.indexName().isEmpty());

        r.MenNumAlleMedienClick();
        QCOMPARE(focusResets, 1);
        QCOMPARE(r.numberingMode(), NumberingMode::AcrossAll);
        QCOMPARE(menus.last(), NumberingMenuState::AcrossAll);
        QCOMPARE(c.Table1.indexName(), QStringLiteral("iNrExcl"));
        QVERIFY(c.Table1.active() && c.Table11.active() && c.Table2.active() && c.filmTable.active());
        QVERIFY(c.Table2.readOnly());
        QVERIFY(c.Table2.indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive));
        QCOMPARE(r.NextFreeNumber(QStringLiteral("Hi8")), 2);
        // Switching again when the index is there changes nothing on disk.
        r.MenNumAlleMedienClick();
        QCOMPARE(r.numberingMode(), NumberingMode::AcrossAll);

        r.MenNumProMedTypClick();
        QCOMPARE(focusResets, 3);
        QCOMPARE(r.numberingMode(), NumberingMode::PerKind);
        QCOMPARE(menus.last(), NumberingMenuState::PerKind);
        QVERIFY(c.Table1.indexName().isEmpty());
        QVERIFY(!c.Table1.indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive));
        QVERIFY(!c.Table2.indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive));
        QVERIFY(c.Table1.active() && c.Table11.active() && c.Table2.active() && c.filmTable.active());
        QCOMPARE(r.NextFreeNumber(QStringLiteral("Hi8")), 1);
    }

    void damagedNumberingIndex()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1);
        c.open(true);
        c.Table11.close();
        c.Table1.close();
        c.filmTable.close();
        c.Table2.close();
        // The index is registered in the file but its tree is gone.
        {
            sqlite3 *db = nullptr;
            QCOMPARE(sqlite3_open(c.mediaPath().toUtf8().constData(), &db), SQLITE_OK);
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE '%NrExcl%'",
                               -1, &st, nullptr);
            QCOMPARE(sqlite3_step(st), SQLITE_ROW);
            const QByteArray name = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
            QCOMPARE(sqlite3_exec(db, ("DROP INDEX \"" + name + "\"").constData(), nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
        }
        QList<NumberingMenuState> menus;
        c.rec->doors().onNumberingMenu = [&](NumberingMenuState s) { menus << s; };
        kit::ScriptedPresenter p;
        c.Table1.open();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Indexfehler"));
        QVERIFY(p.last().text.startsWith(QStringLiteral("BDE meldet Fehler \"")));
        QCOMPARE(menus, QList<NumberingMenuState>{NumberingMenuState::None});
        QCOMPARE(c.rec->numberingMode(), NumberingMode::PerKind);
        // On the second cursor the same error only means "per kind".
        c.Table11.open();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(menus.last(), NumberingMenuState::PerKind);
    }

    void afterPostAndFilmDeletes()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 30}});
        c.addMedium(QStringLiteral("VHS-SB"), 2);
        MediumRecords &r = c.open();
        int refreshed = 0;
        r.doors().afterPostRefresh = [&] { ++refreshed; };
        c.Table1.edit();
        setField(c.Table1, "Free1", QStringLiteral("x"));
        c.Table1.post();
        QCOMPARE(refreshed, 1);
        c.Table2.close();
        c.Table1.edit();
        setField(c.Table1, "Free1", QStringLiteral("y"));
        c.Table1.post();
        QCOMPARE(refreshed, 1); // only with both tables open
        // A film deleted through the main window's film cursor clears the gap cache.
        c.Table2.setReadOnly(false);
        c.Table2.open();
        r.NextFreeNumber(QStringLiteral("VHS-SB"));
        QVERIFY(r.gapCache.valid);
        c.Table2.last();
        c.Table2.deleteRecord();
        QVERIFY(!r.gapCache.valid);
    }
};

QTEST_MAIN(TstMediumRecords)
#include "tst_mediumrecords.moc"

// The record rules' boxes reach the scripted presenters through the program's dialogs.
static ProgramDialogs programDialogs;
