#include "data/upwarddoors.h"
#include "data/tampertable.h"
#include "app/settingsfixture.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/databasefiles.h"
#include "data/templatefixture.h"
#include "windows/tables/tablemaintenancedialogs.h"
#include "kit/help.h"
#include "kit/waitbox.h"
#include "platform/registry.h"
#include "data/tabletools.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/session.h"
#include "engine/table.h"

#include <QFile>
#include <QDialog>
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>
#include <sqlite3.h>

class TstDatabase : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    std::unique_ptr<engine::Table> t1, t11, t2, film, pers;
    engine::Subscriptions subs;
    engine::Subscription repairOnOpen;
    int filmOpens = 0;
    int editing = -1;

    QString dbs() const { return fx.path(QStringLiteral("dbs/")); }
    QStringList captions() const { return fx.captions(); }

private slots:
    void init()
    {
        fx.setUp();
        WriteTestTemplates();
        QDir().mkpath(dbs());
        DBsDir = dbs();
        DBTables = TDatabaseTables();
        subs.clear();
        repairOnOpen.reset();
        t1 = std::make_unique<engine::Table>();
        t11 = std::make_unique<engine::Table>();
        t2 = std::make_unique<engine::Table>();
        film = std::make_unique<engine::Table>();
        pers = std::make_unique<engine::Table>();
        DBTables.Table1 = t1.get();
        DBTables.Table11 = t11.get();
        DBTables.Table2 = t2.get();
        DBTables.FilmTable = film.get();
        DBTables.PersTable = pers.get();
        filmOpens = 0;
        subs.push_back(film->afterOpen.subscribe([this](engine::DataSet &) { ++filmOpens; }));
        repairOnOpen = t1->afterOpen.subscribe([](engine::DataSet &) { RepairMediaPrimaryIndex(); });
        editing = -1;
        UpwardDoors.Database = TDatabaseDoors();
        UpwardDoors.Database.SetEditing = [this](bool on) { editing = on; };
        engine::Session::instance().onPassword = AskEnginePassword;
        engine::Session::instance().removeAllPasswords();
    }

    void cleanup()
    {
        subs.clear();
        repairOnOpen.reset();
        CloseDatabaseTables();
        DBTables = TDatabaseTables();
        t1.reset();
        t11.reset();
        t2.reset();
        film.reset();
        pers.reset();
    }

    void createAndOpen()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("Neu.tarvo.tarvo"), true, true));
        QCOMPARE(DBBase, dbs() + QStringLiteral("Neu/"));
        QVERIFY(QFile::exists(dbs() + QStringLiteral("Neu.tarvo")));
        QVERIFY(!QFile::exists(dbs() + QStringLiteral("Neu.tarvo.tarvo")));
        QVERIFY(QFileInfo(dbs() + QStringLiteral("Neu/LNK")).isDir());
        for (engine::Table *t : {t1.get(), t11.get(), t2.get(), film.get(), pers.get()})
            QVERIFY(t->active());
        QCOMPARE(t1->tableName(), dbs() + QStringLiteral("Neu/DB/Med.DB"));
        QCOMPARE(pers->tableName(), dbs() + QStringLiteral("Neu/DB/Pers.DB"));
        QCOMPARE(PersBase, dbs() + QStringLiteral("Neu/DB/Pers"));
        // Editing is unlocked; the main window's film cursor stays read-only.
        QVERIFY(!t1->readOnly() && !film->readOnly() && !pers->readOnly());
        QVERIFY(t2->readOnly());
        QCOMPARE(editing, 1);
        QCOMPARE(t1->recordCount(), 1);
        QCOMPARE(fx.presenter->shown().size(), 0);
    }

    void createFailuresLeaveTheOpenDatabase()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        // A template missing: its message, the open database stays.
        QFile::rename(ProgDir + QStringLiteral("Def60.Film.DB"), ProgDir + QStringLiteral("weg"));
        QVERIFY(!CreateAndOpenDatabase(QStringLiteral("B"), true, true));
        QCOMPARE(fx.presenter->last().text, QStringLiteral("Fehler beim Schreiben der Dateien!"));
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QVERIFY(t1->active() && film->active());
        QCOMPARE(t1->tableName(), dbs() + QStringLiteral("A/DB/Med.DB"));
        // A template that is no table: made, but its tables do not open — reported,
        // and the previous database is back.
        QFile bad(ProgDir + QStringLiteral("Def60.Film.DB"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("kein Tabellenformat");
        bad.close();
        fx.presenter->clear();
        QVERIFY(!CreateAndOpenDatabase(QStringLiteral("C"), true, true));
        QCOMPARE(captions(), QStringList{QStringLiteral("Datenbank-Fehler")});
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QCOMPARE(film->tableName(), dbs() + QStringLiteral("A/DB/Film.DB"));
        QVERIFY(t1->active() && film->active() && t2->active() && pers->active());
        // The same name again: an existing database is not overwritten.
        fx.presenter->clear();
        QVERIFY(!CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QCOMPARE(captions(), QStringList{QStringLiteral("Fehler")});
    }

    void openAnotherAndTheSameAgain()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("B"), true, true));
        // A relative main-file name resolves against DBsDir; "Yes" to auto-open.
        fx.presenter->answer(mrYes);
        QCOMPARE(OpenDatabaseFile(QStringLiteral("A.tarvo")), TOpenResult::Opened);
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QCOMPARE(DBFile, DBBase);
        QCOMPARE(DBsDir, dbs());
        QCOMPARE(film->tableName(), dbs() + QStringLiteral("A/DB/Film.DB"));
        QCOMPARE(t2->tableName(), film->tableName());
        QCOMPARE(t11->tableName(), t1->tableName());
        QCOMPARE(pers->tableName(), dbs() + QStringLiteral("A/DB/Pers.DB"));
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Wollen Sie diese Datei beim Programmstart automatisch öffnen lassen?"));
        // The same database again: only the media table is reopened; the
        // question is still asked.
        const int opens = filmOpens;
        fx.presenter->clear();
        fx.presenter->answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.tarvo")), TOpenResult::SameAgain);
        QCOMPARE(filmOpens, opens);
        QVERIFY(t1->active() && film->active());
        QCOMPARE(fx.presenter->shown().size(), 1);
        // An unknown ending: nothing happens.
        fx.presenter->clear();
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.txt")), TOpenResult::Cancelled);
        QVERIFY(t1->active());
        QCOMPARE(fx.presenter->shown().size(), 0);
        // No import in this build: an older database fails and the open one stays.
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("Alt.Kass.DB")), TOpenResult::Failed);
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QVERIFY(t1->active());
    }

    void failedImportKeepsCategoriesAndCaptions()
    {
        engine::Table lab;
        DBTables.TableLAB = &lab;
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        lab.setTableName(DBBase + QStringLiteral("DB/LAB.DB"));
        lab.open();
        int created = 0, freed = 0;
        UpwardDoors.Database.CreateCategoryDialog = [&] { ++created; };
        UpwardDoors.Database.FreeCategoryDialog = [&] { ++freed; };
        // An unknown ending: nothing is touched.
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.mdb")), TOpenResult::Cancelled);
        QCOMPARE(created + freed, 0);
        QVERIFY(lab.active());
        // An import that fails: the category dialog and the caption table come back.
        UpwardDoors.Database.ImportOldDatabase = [](const QString &, bool) { return QString(); };
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("Uralt.DB")), TOpenResult::Failed);
        QCOMPARE(freed, 1);
        QCOMPARE(created, 1);
        QVERIFY(lab.active());
        QVERIFY(t1->active());
        CloseDatabaseTables();
        DBTables.TableLAB = nullptr;
    }

    void sharedPersonTableIsKept()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("B"), true, true));
        PersDBFile = dbs() + QStringLiteral("B/DB/Pers");
        fx.presenter->answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.tarvo")), TOpenResult::Opened);
        QCOMPARE(pers->tableName(), dbs() + QStringLiteral("B/DB/Pers.DB"));
    }

    void missingPersonTableIsOffered()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("B"), true, true));
        fx.presenter->answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.tarvo")), TOpenResult::Opened);
        // Cancel: the previous database comes back.
        QFile::remove(dbs() + QStringLiteral("B/DB/Pers.DB"));
        fx.presenter->clear();
        fx.presenter->answer(mrCancel);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("B.tarvo")), TOpenResult::Failed);
        QCOMPARE(fx.presenter->shown().first().caption, QStringLiteral("WICHTIG!!!"));
        QCOMPARE(fx.presenter->shown().first().buttons.size(), 2);
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QCOMPARE(t1->tableName(), dbs() + QStringLiteral("A/DB/Med.DB"));
        QVERIFY(t1->active() && pers->active() && film->active());
        // OK: a new, empty person table from the template.
        fx.presenter->clear();
        fx.presenter->answer(mrOk).answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("B.tarvo")), TOpenResult::Opened);
        QVERIFY(QFile::exists(dbs() + QStringLiteral("B/DB/Pers.DB")));
        QVERIFY(pers->active());
        QCOMPARE(pers->tableName(), dbs() + QStringLiteral("B/DB/Pers.DB"));
    }

    void missingFilmTableGoesBack()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("B"), true, true));
        fx.presenter->answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("A.tarvo")), TOpenResult::Opened);
        QFile::remove(dbs() + QStringLiteral("B/DB/Film.DB"));
        fx.presenter->clear();
        int categoryDialogs = 0;
        UpwardDoors.Database.CreateCategoryDialog = [&] { ++categoryDialogs; };
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("B.tarvo")), TOpenResult::Failed);
        QCOMPARE(captions(), QStringList{QStringLiteral("Fehler")});
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Zu der Medien-Datenbankdatei %1B/DB/Med.DB existiert keine Film-Datenbankdatei!!")
                     .arg(dbs()));
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QCOMPARE(t1->tableName(), dbs() + QStringLiteral("A/DB/Med.DB"));
        QCOMPARE(film->tableName(), dbs() + QStringLiteral("A/DB/Film.DB"));
        QVERIFY(t1->active() && film->active() && t2->active() && t11->active() && pers->active());
        QCOMPARE(categoryDialogs, 2); // for B, then back for A
    }

    void failedOpenWithoutPreviousDatabase()
    {
        QDir().mkpath(dbs() + QStringLiteral("Kaputt/DB"));
        QFile bad(dbs() + QStringLiteral("Kaputt/DB/Med.DB"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("Müll");
        bad.close();
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("Kaputt.tarvo")), TOpenResult::Failed);
        QCOMPARE(captions(), QStringList{QStringLiteral("Fehler!")}); // no auto-open question
        QVERIFY(fx.presenter->last().text.startsWith(QStringLiteral("Die Datei lässt sich nicht öffnen.")));
        QVERIFY(!t1->active());
        QVERIFY(DBBase.isEmpty());
        QVERIFY(DBFile.isEmpty());
    }

    void mainFileWithoutItsFolderKeepsTheOpenDatabase()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        QFile orphan(dbs() + QStringLiteral("Waise.tarvo"));
        QVERIFY(orphan.open(QIODevice::WriteOnly));
        orphan.close();
        fx.presenter->answer(mrOk).answer(mrNo);
        QCOMPARE(OpenDatabaseFile(dbs() + QStringLiteral("Waise.tarvo")), TOpenResult::SameAgain);
        QCOMPARE(captions(), (QStringList{QStringLiteral("Fehler!"), QStringLiteral("Bestätigen")}));
        QCOMPARE(DBBase, dbs() + QStringLiteral("A/"));
        QVERIFY(t1->active() && film->active() && pers->active());
        QCOMPARE(t1->tableName(), dbs() + QStringLiteral("A/DB/Med.DB"));
    }

    void startOpensOrStaysWithoutDatabase()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        CloseDatabaseTables();
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(t1->active() && t1->readOnly() && film->readOnly() && pers->readOnly());
        CloseDatabaseTables();
        QFile::remove(dbs() + QStringLiteral("A/DB/Film.DB"));
        QVERIFY(!OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(t1->tableName().isEmpty() && film->tableName().isEmpty() && !t1->active());
        QCOMPARE(fx.presenter->shown().size(), 0);
    }

    // A restore killed after the old folder stepped aside: the start puts
    // the complete copy in place, says so, and opens it.
    void startFinishesAnInterruptedSwap()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        CloseDatabaseTables();
        QString error;
        QVERIFY2(CopyDatabaseFiles(dbs() + QStringLiteral("A"), dbs() + QStringLiteral("B"), {}, &error), qPrintable(error));
        const QString tag = QStringLiteral(".tarvo-kopie-1234abcd");
        QVERIFY(QDir().rename(dbs() + QStringLiteral("B"), dbs() + QStringLiteral("A") + tag));
        QVERIFY(QFile::rename(dbs() + QStringLiteral("B.tarvo"), dbs() + QStringLiteral("A") + tag + QStringLiteral(".tarvo")));
        QVERIFY(QDir().rename(dbs() + QStringLiteral("A"), dbs() + QStringLiteral("A") + tag + QStringLiteral("-alt")));
        QFile marker(dbs() + QStringLiteral("A.tarvo-tausch"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.write(tag.toUtf8());
        marker.close();
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(t1->active() && film->active() && pers->active());
        QCOMPARE(captions(), QStringList({QStringLiteral("Hinweis")}));
        QCOMPARE(QDir(dbs()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({QStringLiteral("A"), QStringLiteral("A.tarvo")}));
    }

    void primaryIndexRepair()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        const QString med = t1->tableName();
        CloseDatabaseTables();
        tamper(med, "DROP INDEX pk");
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QCOMPARE(captions(), (QStringList{QStringLiteral("Nicht-schwerer Fehler"), QStringLiteral("Erfolg")}));
        QVERIFY(HasPrimaryIndex(*t1));
        QVERIFY(t1->active() && t11->active());
        // The rebuild fails (two media with one key): reported once, no loop.
        CloseDatabaseTables();
        tamper(med, "DROP INDEX pk");
        tamper(med, "INSERT INTO data(Medium, Nr, Len) SELECT Medium, Nr, Len FROM data");
        fx.presenter->clear();
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QCOMPARE(captions(), (QStringList{QStringLiteral("Nicht-schwerer Fehler"), QStringLiteral("Datenbank-Fehler")}));
        QVERIFY(fx.presenter->last().text.startsWith(
            QStringLiteral("Der Primärindex der Medientabelle konnte leider nicht automatisch neu erzeugt werden!")));
        QVERIFY(t1->active());
    }

    void protectedDatabaseStaysClosedOnAnEmptyEntry()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        t11->close();
        SetTablePassword(*t1, QStringLiteral("geheim"));
        CloseDatabaseTables();
        engine::Session::instance().removeAllPasswords();
        fx.presenter->answerDialog([](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->clear(); });
        QVERIFY(!OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(!t1->active());
        QCOMPARE(fx.presenter->shown().first().objectName, QStringLiteral("DPwd"));
        QCOMPARE(fx.presenter->shown().size(), 1); // declined: nothing more to say
        // A wrong password is said, with the offer to give it again; the
        // second try may succeed, or the user gives up.
        auto give = [](const QString &pwd) {
            return [pwd](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(pwd); };
        };
        fx.presenter->clear();
        fx.presenter->answerDialog(give(QStringLiteral("falsch"))).answer(mrCancel);
        QVERIFY(!OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(!t1->active() && t1->tableName().isEmpty());
        QCOMPARE(fx.presenter->shown().size(), 2);
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Falsches Passwort"));
        QCOMPARE(fx.presenter->last().buttons, (QStringList{QStringLiteral("&Wiederholen"), QStringLiteral("Abbrechen")}));
        fx.presenter->clear();
        fx.presenter->answerDialog(give(QStringLiteral("falsch"))).answer(mrRetry).answerDialog(give(QStringLiteral("geheim")));
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(t1->active() && t11->active());
        QCOMPARE(fx.presenter->shown().size(), 3);
        CloseDatabaseTables();
        engine::Session::instance().removeAllPasswords();
        // The right password opens it, and the session keeps it.
        fx.presenter->clear();
        fx.presenter->answerDialog(
            [](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("geheim")); });
        QVERIFY(OpenDatabaseTablesAtStart(dbs() + QStringLiteral("A/"), dbs() + QStringLiteral("A/DB/Pers")));
        QVERIFY(t1->active());
        QVERIFY(engine::Session::instance().passwords().contains(QStringLiteral("geheim")));
    }

    void newAndOpenCommands()
    {
        int helpTopic = -1;
        kit::HelpHook old = kit::setHelpHook([&](int c) { helpTopic = c; });
        QDir().mkpath(fx.path(QStringLiteral("anderswo")));
        // No database yet: the note first, then the file, then the question.
        fx.presenter->answer(mrOk)
            .answerFile(fx.path(QStringLiteral("anderswo/Sammlung.tarvo.tarvo")))
            .answer(mrYes);
        NewDatabaseCommand();
        QCOMPARE(captions(), (QStringList{QStringLiteral("Hinweis"), QStringLiteral("Neue Datenbank"),
                                          QStringLiteral("Bestätigen")}));
        QCOMPARE(DBBase, fx.path(QStringLiteral("anderswo/Sammlung/")));
        QCOMPARE(DBFile, DBBase);
        QCOMPARE(DBsDir, fx.path(QStringLiteral("anderswo/")));
        QCOMPARE(helpTopic, 84);
        platform::Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readString(QStringLiteral("DBFile")), DBBase);
        // With a database open there is no note; a cancelled file dialog ends it.
        fx.presenter->clear();
        fx.presenter->answerFile(QString());
        NewDatabaseCommand();
        QCOMPARE(fx.presenter->shown().size(), 1);
        // Open: the file dialog starts in DBsDir.
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("Zweite"), true, true));
        fx.presenter->clear();
        fx.presenter->answerFile(fx.path(QStringLiteral("anderswo/Sammlung.tarvo"))).answer(mrNo);
        OpenDatabaseCommand();
        QCOMPARE(fx.presenter->shown().at(0).caption, QStringLiteral("Datei öffnen"));
        QCOMPARE(DBBase, fx.path(QStringLiteral("anderswo/Sammlung/")));
        QCOMPARE(fx.presenter->shown().size(), 2);
        kit::setHelpHook(old);
    }

    void packing()
    {
        QVERIFY(CreateAndOpenDatabase(QStringLiteral("A"), true, true));
        // OK with no box checked: nothing, and no wait box.
        fx.presenter->answer(mrOk);
        bool waitBoxSeen = false;
        ExecPackDialog();
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("DPack"));
        QVERIFY(!Waitbox);
        // Media and films: packed, every cursor open again, the records kept.
        fx.presenter->clear();
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox2"))->setChecked(true);
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->setChecked(true);
        });
        repairOnOpen = t1->afterOpen.subscribe([&](engine::DataSet &) { waitBoxSeen = waitBoxSeen || Waitbox; });
        ExecPackDialog();
        QVERIFY(waitBoxSeen);
        QVERIFY(!Waitbox);
        QCOMPARE(fx.presenter->shown().size(), 1);
        for (engine::Table *t : {t1.get(), t11.get(), t2.get(), film.get(), pers.get()})
            QVERIFY(t->active());
        QCOMPARE(t1->recordCount(), 1);
        QCOMPARE(film->recordCount(), 1);
        // Cancel: nothing.
        fx.presenter->clear();
        waitBoxSeen = false;
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<QCheckBox *>(QStringLiteral("CheckBox1"))->setChecked(true);
        }, mrCancel);
        ExecPackDialog();
        QVERIFY(!waitBoxSeen);
    }
};

QTEST_MAIN(TstDatabase)
#include "tst_database.moc"
