// A medium's key change with its films' rename, a medium's delete with its
// films' delete, and a renumbering of films are each one transaction: a child
// process (this test program, started with "--child") begins the change on a
// medium with many films and is killed with SIGKILL in the middle of the
// multi-row statement; the old state must be there afterwards.
#include "data/locate.h"
#include "data/recordsql.h"
#include "kit/scriptedpresenter.h"
#include "program/programdialogs.h"
#include "data/tableschemas.h"
#include "recordfixture.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

using fixture::Collection;

namespace {

constexpr int kFilms = 3000;

// Called by SQLite every few instructions: once a statement of the change
// (its text holds `marker`) has been running for a while, the child says so
// and waits to be killed.
struct Stall {
    sqlite3 *db = nullptr;
    const char *marker = nullptr;
    int ticks = 0;
    int stallAt = 40;
};

int stallInChange(void *p)
{
    auto *s = static_cast<Stall *>(p);
    for (sqlite3_stmt *st = sqlite3_next_stmt(s->db, nullptr); st; st = sqlite3_next_stmt(s->db, st)) {
        if (!sqlite3_stmt_busy(st) || !std::strstr(sqlite3_sql(st), s->marker)
            || !std::strstr(sqlite3_sql(st), "KassNr"))
            continue;
        if (++s->ticks == s->stallAt) {
            std::fputs("READY\n", stdout);
            std::fflush(stdout);
            for (;;)
                ::pause();
        }
    }
    return 0;
}

int runChild(const QString &folder, const QString &what)
{
    if (what.startsWith(QLatin1String("holdopen"))) {
        // Another client with the media (or the film) table open.
        engine::Session s;
        engine::Table media(&s);
        media.setTableName(QDir(folder).filePath(what.endsWith(QLatin1String("film")) ? FilmTableFile
                                                                                      : MediaTableFile));
        media.open();
        std::fputs("READY\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    if (what == QLatin1String("holdlock")) {
        // Another client working on the film table.
        engine::Session s;
        engine::Table films(&s);
        films.setTableName(QDir(folder).filePath(FilmTableFile));
        films.open();
        films.lockTable();
        std::fputs("READY\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    Collection c(folder);
    MediumRecords &r = c.open();
    if (!LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true))
        return 2;
    static Stall stall;
    stall.db = c.session.handle();
    stall.marker = what == QLatin1String("rename") ? "SET Medium = ?1, KassNr = ?2"
        : what == QLatin1String("delete")          ? "DELETE FROM"
                                                   : "SET FilmNr = ?4";
    if (what != QLatin1String("renumber")) {
        // One multi-row statement: stalled in the middle of it.
        sqlite3_progress_handler(stall.db, 100, stallInChange, &stall);
    } else {
        // Many one-row statements: stalled when the 300th begins.
        stall.stallAt = 300;
        sqlite3_trace_v2(
            stall.db, SQLITE_TRACE_STMT,
            [](unsigned, void *ctx, void *, void *) -> int { return stallInChange(ctx); }, &stall);
    }

    kit::ScriptedPresenter p;
    if (what == QLatin1String("rename")) {
        c.Table1.edit();
        c.Table1.fieldByName(QStringLiteral("Nr"))->setAsInteger(2);
        c.Table1.post();
    } else if (what == QLatin1String("delete")) {
        c.Table1.deleteRecord();
    } else {
        // Films 5 and following move one number down, one statement each.
        p.answer(mrOk);
        r.SpB5PushDownClick();
    }
    std::fputs("DONE\n", stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace

class TstRecordTransactions : public QObject
{
    Q_OBJECT

    // A collection with VHS-SB 1 holding kFilms films and VHS-SB 3 with one.
    static std::unique_ptr<Collection> makeCollection()
    {
        auto c = std::make_unique<Collection>();
        c->addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 10}});
        c->addMedium(QStringLiteral("VHS-SB"), 3, 240, {{1, 20}});
        engine::Table f(&c->session);
        f.setTableName(c->filmPath());
        f.open();
        engine::Session::Transaction tx(c->session);
        recordsql::change(f,
                          QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 2 UNION ALL SELECT x + 1 "
                                         "FROM n WHERE x < %1) INSERT INTO %2 (Medium, KassNr, FilmNr, "
                                         "Titel, Len) SELECT 'VHS-SB', 1, x, 'Film ' || x, 10 FROM n")
                              .arg(kFilms)
                              .arg(recordsql::tableRef(f)));
        tx.commit();
        f.close();
        return c;
    }

    static qint64 count(Collection &c, const QString &table, const QString &where)
    {
        engine::Table t(&c.session);
        t.setTableName(table);
        t.open();
        const qint64 n = recordsql::count(
            c.session, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(recordsql::tableRef(t), where));
        t.close();
        return n;
    }

    // Starts this program as a child on the collection and waits until it
    // says it is where it should be.
    static void startChild(QProcess &child, const QString &folder, const QString &what)
    {
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--child"), folder, what});
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start();
        QVERIFY(child.waitForStarted());
        QByteArray out;
        while (!out.contains("READY") && !out.contains("DONE") && child.state() == QProcess::Running) {
            child.waitForReadyRead(20000);
            out += child.readAllStandardOutput();
        }
        QVERIFY2(out.contains("READY"), out.constData());
    }

    static void killChildInTheMiddle(const QString &folder, const QString &what)
    {
        QProcess child;
        startChild(child, folder, what);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    }

private slots:
    void lockRefusedChangesNothing()
    {
        std::unique_ptr<Collection> c = makeCollection();
        c->addFilms(QStringLiteral("VHS-SB"), 3, {{2, 60, false, true}});
        MediumRecords &r = c->open();
        r.networkMode = true;
        c->session.setBusyTimeout(50);
        QProcess other;
        startChild(other, c->folder, QStringLiteral("holdlock"));
        kit::ScriptedPresenter p;

        QVERIFY(LocateMedium(c->sets(), QStringLiteral("VHS-SB"), 1, true));
        c->Table1.edit();
        c->Table1.fieldByName(QStringLiteral("Nr"))->setAsInteger(2);
        QVERIFY(!fixture::runs([&] { c->Table1.post(); }));
        QCOMPARE(p.last().caption, QStringLiteral("Konnte Filmtabelle nicht sperren"));
        QVERIFY(p.last().text.startsWith(QStringLiteral("Um den Schlüssel dieses Mediums zu ändern")));
        QVERIFY(p.last().text.contains(QStringLiteral("[Das Datenbanksystem meldete:\n")));
        QCOMPARE(c->Table1.state(), engine::DataSetState::Edit);
        QVERIFY(r.editing);
        c->Table1.cancel();

        QVERIFY(!fixture::runs([&] { c->Table1.deleteRecord(); }));
        QVERIFY(p.last().text.startsWith(QStringLiteral("Um dieses Medium löschen zu können")));

        bool asked = false;
        r.doors().execSplitFreeDialog = [&](int &, bool &) { return asked = true; };
        QVERIFY(LocateMedium(c->sets(), QStringLiteral("VHS-SB"), 3, true));
        QVERIFY(!r.SplitFreeArea(2, 60));
        QVERIFY(!asked);
        QVERIFY(p.last().text.startsWith(QStringLiteral("Um diese Aktion durchführen zu können")));

        ::kill(pid_t(other.processId()), SIGKILL);
        QVERIFY(other.waitForFinished(20000));
        QCOMPARE(c->media(), (QStringList{"VHS-SB/1", "VHS-SB/3"}));
        QCOMPARE(count(*c, c->filmPath(), QStringLiteral("KassNr = 1")), qint64(kFilms));
        QCOMPARE(count(*c, c->filmPath(), QStringLiteral("KassNr = 3")), qint64(2));
        // With the other client gone the change goes through.
        QVERIFY(LocateMedium(c->sets(), QStringLiteral("VHS-SB"), 1, true));
        QVERIFY(fixture::runs([&] { c->Table1.deleteRecord(); }));
        QCOMPARE(c->media(), (QStringList{"VHS-SB/3"}));
    }


    void modeSwitchWhileAnotherClientHasTheTable()
    {
        Collection c;
        c.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}});
        MediumRecords &r = c.open();
        QProcess other;
        startChild(other, c.folder, QStringLiteral("holdopen"));
        kit::ScriptedPresenter p;
        r.MenNumAlleMedienClick();
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
        // Everything open again as before, numbering unchanged.
        QVERIFY(c.Table1.active() && c.Table11.active() && c.Table2.active() && c.filmTable.active());
        QCOMPARE(r.numberingMode(), NumberingMode::PerKind);
        QVERIFY(LocateMedium(c.sets(), QStringLiteral("VHS-SB"), 1, true));
        ::kill(pid_t(other.processId()), SIGKILL);
        QVERIFY(other.waitForFinished(20000));

        // The film table held: the media table gets its index, the film
        // table's step fails and every table is open again.
        QProcess filmClient;
        startChild(filmClient, c.folder, QStringLiteral("holdopenfilm"));
        p.clear();
        r.MenNumAlleMedienClick();
        QCOMPARE(p.shown().size(), 1);
        QVERIFY(c.Table1.active() && c.Table11.active() && c.Table2.active() && c.filmTable.active());
        QVERIFY(c.Table2.readOnly());
        QVERIFY(!c.Table2.indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive));
        ::kill(pid_t(filmClient.processId()), SIGKILL);
        QVERIFY(filmClient.waitForFinished(20000));

        r.MenNumAlleMedienClick();
        QCOMPARE(r.numberingMode(), NumberingMode::AcrossAll);
        QVERIFY(c.Table2.indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive));
    }

    void killedRenameLeavesTheOldKey()
    {
        std::unique_ptr<Collection> c = makeCollection();
        killChildInTheMiddle(c->folder, QStringLiteral("rename"));
        // A fresh look at the files, as the next program run has.
        Collection after(c->folder);
        QCOMPARE(after.media(), (QStringList{"VHS-SB/1", "VHS-SB/3"}));
        QCOMPARE(count(after, after.filmPath(), QStringLiteral("KassNr = 1")), qint64(kFilms));
        QCOMPARE(count(after, after.filmPath(), QStringLiteral("KassNr = 2")), qint64(0));

        // Unkilled, the same change goes through whole.
        Collection again(c->folder);
        again.open();
        QVERIFY(LocateMedium(again.sets(), QStringLiteral("VHS-SB"), 1, true));
        again.Table1.edit();
        again.Table1.fieldByName(QStringLiteral("Nr"))->setAsInteger(2);
        again.Table1.post();
        again.Table1.close();
        QCOMPARE(count(again, again.filmPath(), QStringLiteral("KassNr = 2")), qint64(kFilms));
        QCOMPARE(count(again, again.mediaPath(), QStringLiteral("Nr = 2")), qint64(1));
    }

    void killedDeleteLeavesMediumAndFilms()
    {
        std::unique_ptr<Collection> c = makeCollection();
        killChildInTheMiddle(c->folder, QStringLiteral("delete"));
        Collection after(c->folder);
        QCOMPARE(after.media(), (QStringList{"VHS-SB/1", "VHS-SB/3"}));
        QCOMPARE(count(after, after.filmPath(), QStringLiteral("KassNr = 1")), qint64(kFilms));
    }

    void killedRenumberingLeavesTheOldNumbers()
    {
        std::unique_ptr<Collection> c = makeCollection();
        killChildInTheMiddle(c->folder, QStringLiteral("renumber"));
        Collection after(c->folder);
        QCOMPARE(count(after, after.filmPath(), QStringLiteral("KassNr = 1 AND FilmNr <= %1").arg(kFilms)),
                 qint64(kFilms));
        QCOMPARE(count(after, after.filmPath(), QStringLiteral("KassNr = 1 AND FilmNr > %1").arg(kFilms)),
                 qint64(0));
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        QApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QApplication app(argc, argv);
    TstRecordTransactions t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_recordtransactions.moc"

// The record rules' boxes reach the scripted presenters through the program's dialogs.
static ProgramDialogs programDialogs;
