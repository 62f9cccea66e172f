// Two processes on one database folder: the whole-table lock and its release
// when the holder dies, a busy table, exclusive use, refresh, and a change
// spanning two tables killed mid-way (old or new state, never half).
#include "enginetest.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace engine;
using namespace enginetest;

namespace {

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void waitForever()
{
    for (;;)
        ::pause();
}

// Moves medium (VHS-SB, from) with its films to number `to` in one transaction.
void renumber(Session &s, Table &med, Table &film, int from, int to, bool pauseBeforeCommit)
{
    Session::Transaction tx(s);
    if (!med.findKey({QStringLiteral("VHS-SB"), from}))
        throw EngineError(ErrGeneral, QStringLiteral("Medium %1 fehlt").arg(from));
    med.edit();
    med.fieldByName(QStringLiteral("Nr"))->setValue(to);
    med.post();
    film.setRange({QStringLiteral("VHS-SB"), from}, {QStringLiteral("VHS-SB"), from});
    while (!film.isEmpty()) {
        film.first();
        film.edit();
        film.fieldByName(QStringLiteral("KassNr"))->setValue(to);
        film.post();
    }
    film.cancelRange();
    if (pauseBeforeCommit) {
        say("inside");
        waitForever();
    }
    tx.commit();
}

int child(const QStringList &args)
{
    const QString what = args.value(0);
    const QString dir = args.value(1);
    Session s;
    try {
        if (what == QLatin1String("lock")) {
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.open();
            t.lockTable();
            say("locked");
            waitForever();
        } else if (what == QLatin1String("exclusive")) {
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.setExclusive(true);
            t.open();
            say("open");
            waitForever();
        } else if (what == QLatin1String("busy")) {
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.open();
            s.startTransaction();
            t.edit();
            t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("in Arbeit"));
            t.post();
            say("writing");
            waitForever();
        } else if (what == QLatin1String("write")) {
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.open();
            t.edit();
            t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Neu"));
            t.post();
            appendFilm(t, QStringLiteral("DVD"), 99, 1, QStringLiteral("Neu dazu"));
            say("done");
        } else if (what == QLatin1String("retitle")) {
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.open();
            if (!t.findKey({QStringLiteral("VHS-SB"), 1, 1}))
                return 3;
            t.edit();
            t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Neu"));
            t.post();
            say("done");
        } else if (what == QLatin1String("count")) {
            // Adds one to the first film's length, 60 times, trying again
            // when the other counter changed it between edit and post.
            Table t(&s);
            t.setTableName(dir + QStringLiteral("/Film.DB"));
            t.open();
            say("counting");
            for (int done = 0; done < 60;) {
                t.first();
                t.edit();
                Field *len = t.fieldByName(QStringLiteral("Len"));
                len->setValue(len->asInteger() + 1);
                try {
                    t.post();
                    ++done;
                } catch (const EngineError &e) {
                    if (e.code() != ErrRecordChanged && e.code() != ErrLocked)
                        throw;
                    t.cancel();
                }
            }
            say("counted");
        } else if (what == QLatin1String("renumber") || what == QLatin1String("churn")) {
            Table med(&s), film(&s);
            med.setTableName(dir + QStringLiteral("/Med.DB"));
            film.setTableName(dir + QStringLiteral("/Film.DB"));
            med.open();
            film.open();
            if (what == QLatin1String("renumber")) {
                renumber(s, med, film, 1, 2, true);
            } else {
                say("started");
                for (int i = 0;; ++i)
                    renumber(s, med, film, 1 + i % 2, 1 + (i + 1) % 2, false);
            }
        }
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    return 0;
}

void makeDatabase(const QString &dir, int films)
{
    createTableFile(dir + QStringLiteral("/Med.DB"), mediaDef());
    createTableFile(dir + QStringLiteral("/Film.DB"), filmDef());
    Session s;
    Table med(&s), film(&s);
    med.setTableName(dir + QStringLiteral("/Med.DB"));
    film.setTableName(dir + QStringLiteral("/Film.DB"));
    med.open();
    film.open();
    Session::Transaction tx(s);
    appendMedium(med, QStringLiteral("VHS-SB"), 1, 240);
    for (int i = 1; i <= films; ++i)
        appendFilm(film, QStringLiteral("VHS-SB"), 1, i, QStringLiteral("Film %1").arg(i));
    tx.commit();
}

struct Child {
    QProcess p;
    Child(const QString &what, const QString &dir)
    {
        p.setProgram(QCoreApplication::applicationFilePath());
        p.setArguments({QStringLiteral("--child"), what, dir});
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start();
    }
    bool waitFor(const QByteArray &line)
    {
        QElapsedTimer timer;
        timer.start();
        QByteArray got;
        while (timer.elapsed() < 20000) {
            if (p.canReadLine() || p.waitForReadyRead(200)) {
                got += p.readLine();
                if (got.contains(line))
                    return true;
            }
            if (p.state() == QProcess::NotRunning && !p.canReadLine())
                return got.contains(line);
        }
        return false;
    }
    qint64 pid = 0;
    void kill()
    {
        pid = p.processId();
        ::kill(pid_t(pid), SIGKILL);
        p.waitForFinished(10000);
    }
    ~Child()
    {
        if (p.state() != QProcess::NotRunning)
            kill();
        // A killed session leaves its anchor file and perhaps a super-journal;
        // once its tables were opened again (and rolled back) both are stale.
        QDir dir(Session::sessionFolder(QString()));
        for (const QString &f : dir.entryList({QStringLiteral("tarvo-%1-*").arg(pid)}, QDir::Files))
            dir.remove(f);
    }
};

// Runs a child to its end; true when it said "done".
bool runChild(const QString &what, const QString &dir)
{
    Child c(what, dir);
    const bool done = c.waitFor("done");
    c.p.waitForFinished();
    return done;
}

// The medium's number and the numbers its films carry must agree.
void checkConsistent(const QString &dir, int films, int *mediumNr = nullptr)
{
    Session s;
    Table med(&s), film(&s);
    med.setTableName(dir + QStringLiteral("/Med.DB"));
    film.setTableName(dir + QStringLiteral("/Film.DB"));
    med.open();
    film.open();
    QCOMPARE(med.recordCount(), 1);
    int nr = med.fieldByName(QStringLiteral("Nr"))->asInteger();
    QCOMPARE(film.recordCount(), films);
    for (film.first(); !film.eof(); film.next())
        QCOMPARE(film.fieldByName(QStringLiteral("KassNr"))->asInteger(), nr);
    if (mediumNr)
        *mediumNr = nr;
}

} // namespace

class TstProcesses : public QObject
{
    Q_OBJECT
private slots:
    void tableLockIsReleasedWhenItsProcessDies()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 3);
        Child holder(QStringLiteral("lock"), dir.path());
        QVERIFY(holder.waitFor("locked"));
        Session s;
        s.setBusyTimeout(200);
        Table t(&s);
        openTable(t, dir.filePath(QStringLiteral("Film.DB"))); // reading stays possible
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(errorCode([&] { t.lockTable(); }), int(ErrLocked));
        t.edit();
        t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Gesperrt?"));
        QCOMPARE(errorCode([&] { t.post(); }), int(ErrLocked));
        QCOMPARE(t.state(), DataSetState::Edit);
        holder.kill();
        t.post();
        t.lockTable();
        QVERIFY(t.tableLocked());
        t.unlockTable();
    }

    void busyTableWaitsThenFails()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 2);
        Child writer(QStringLiteral("busy"), dir.path());
        QVERIFY(writer.waitFor("writing"));
        Session s;
        s.setBusyTimeout(300);
        Table t(&s);
        openTable(t, dir.filePath(QStringLiteral("Film.DB")));
        t.last();
        t.edit();
        t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Zweiter"));
        QElapsedTimer timer;
        timer.start();
        int code = errorCode([&] { t.post(); });
        QCOMPARE(code, int(ErrLocked));
        QVERIFY(timer.elapsed() >= 250);
        writer.kill();
        t.post();
        t.refresh();
        QCOMPARE(t.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Zweiter"));
        t.first();
        QCOMPARE(t.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Film 1")); // child's change rolled back
    }

    void exclusiveUseAcrossProcesses()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 1);
        Child holder(QStringLiteral("exclusive"), dir.path());
        QVERIFY(holder.waitFor("open"));
        Session s;
        Table t(&s);
        t.setTableName(dir.filePath(QStringLiteral("Film.DB")));
        QCOMPARE(errorCode([&] { t.open(); }), int(ErrInUse));
        holder.kill();
        t.open();
    }

    void refreshShowsTheOtherProcessesChanges()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 2);
        Session s;
        Table t(&s);
        openTable(t, dir.filePath(QStringLiteral("Film.DB")));
        QCOMPARE(t.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Film 1"));
        Child writer(QStringLiteral("write"), dir.path());
        QVERIFY(writer.waitFor("done"));
        writer.p.waitForFinished();
        QCOMPARE(t.recordCount(), 2); // not before a refresh
        t.refresh();
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Neu"));
        QCOMPARE(t.recNo(), 2); // DVD/99 sorts first; the position stays on the record
    }

    void postOverAnotherProcessesChangeIsRefused()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 2);
        Session s;
        Table a(&s);
        openTable(a, dir.filePath(QStringLiteral("Film.DB")));
        // A edits the title and the length of film 1 while B (the child)
        // changes its title to "Neu".
        a.edit();
        a.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Meins"));
        QVERIFY(runChild(QStringLiteral("retitle"), dir.path()));
        QCOMPARE(errorCode([&] { a.post(); }), int(ErrRecordChanged));
        QCOMPARE(a.state(), DataSetState::Edit);
        QCOMPARE(a.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Meins")); // the input stays
        {
            Session other;
            Table check(&other);
            openTable(check, dir.filePath(QStringLiteral("Film.DB")));
            QVERIFY(check.findKey({QStringLiteral("VHS-SB"), 1, 1}));
            QCOMPARE(check.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Neu"));
        }
        // A second post is the user's decision: it writes.
        a.post();
        a.refresh();
        a.first();
        QVERIFY(a.findKey({QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(a.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Meins"));

        // A change of another field of the record does not stand in the way,
        // nor is it overwritten.
        a.edit();
        a.fieldByName(QStringLiteral("Len"))->setValue(77);
        QVERIFY(runChild(QStringLiteral("retitle"), dir.path()));
        a.post();
        a.refresh();
        QVERIFY(a.findKey({QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(a.fieldByName(QStringLiteral("Len"))->asInteger(), 77);
        QCOMPARE(a.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Neu"));

        // B retitles the film while A still shows "Neu"; an edit begun only
        // then reads B's record, but what A types over the title it saw does
        // not overwrite B's title unseen.
        a.edit();
        a.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Alt"));
        a.post();
        QVERIFY(runChild(QStringLiteral("retitle"), dir.path()));
        QCOMPARE(a.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Alt"));
        a.edit();
        a.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Meins"));
        QCOMPARE(errorCode([&] { a.post(); }), int(ErrRecordChanged));
        QCOMPARE(a.fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Meins"));
    }

    void twoCountersLoseNoIncrement()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 1);
        {
            Session s;
            Table t(&s);
            openTable(t, dir.filePath(QStringLiteral("Film.DB")));
            t.edit();
            t.fieldByName(QStringLiteral("Len"))->setValue(0);
            t.post();
        }
        {
            Child a(QStringLiteral("count"), dir.path());
            Child b(QStringLiteral("count"), dir.path());
            QVERIFY(a.waitFor("counted"));
            QVERIFY(b.waitFor("counted"));
            a.p.waitForFinished();
            b.p.waitForFinished();
            QCOMPARE(a.p.exitCode(), 0);
            QCOMPARE(b.p.exitCode(), 0);
        }
        Session s;
        Table t(&s);
        openTable(t, dir.filePath(QStringLiteral("Film.DB")));
        QCOMPARE(t.fieldByName(QStringLiteral("Len"))->asInteger(), 120);
    }

    void staleSessionFilesAreRemoved()
    {
        QTemporaryDir dir;
        // No process has a number this high (above the kernel's pid_max).
        const QString dead = QStringLiteral("tarvo-999999999-0-1f");
        const QString own = QStringLiteral("tarvo-%1-0-2f").arg(::getpid());
        const QString tableJournal = dir.filePath(QStringLiteral("Film.DB-journal"));
        const auto write = [&](const QString &name, const QByteArray &bytes) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(dead + ".ses", "x");
        write(dead + ".ses-journal", "x");
        write(dead + ".ses-mj1A2B3C4D5", QByteArray("/nirgends/Med.DB-journal") + '\0');
        write(dead + ".ses-mj0F0F0F0F0", QFile::encodeName(tableJournal) + '\0');
        write(QStringLiteral("Film.DB-journal"), "hot");
        write(own + ".ses", "x");
        write(QStringLiteral("tarvo-notes.txt"), "x");
        QCOMPARE(Session::removeStaleSessionFiles(dir.path()), 3);
        QStringList left = QDir(dir.path()).entryList(QDir::Files);
        left.sort();
        // The super-journal a table's journal still names stays for its
        // roll-back; the live process's file and foreign files stay.
        QStringList expected{QStringLiteral("Film.DB-journal"), dead + ".ses-mj0F0F0F0F0", own + ".ses",
                             QStringLiteral("tarvo-notes.txt")};
        expected.sort();
        QCOMPARE(left, expected);
    }

    void killedMidTransactionLeavesTheOldState()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 4);
        Child c(QStringLiteral("renumber"), dir.path());
        QVERIFY(c.waitFor("inside"));
        c.kill();
        int nr = 0;
        checkConsistent(dir.path(), 4, &nr);
        QCOMPARE(nr, 1);
    }

    void killedAtRandomMomentsNeverLeavesHalfAChange()
    {
        QTemporaryDir dir;
        makeDatabase(dir.path(), 5);
        for (int round = 0; round < 8; ++round) {
            Child c(QStringLiteral("churn"), dir.path());
            QVERIFY(c.waitFor("started"));
            QTest::qSleep(30 + round * 17);
            c.kill();
            checkConsistent(dir.path(), 5); // rolls back what the child left
        }
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() > 1 && args[1] == QLatin1String("--child"))
        return child(args.mid(2));
    TstProcesses t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_processes.moc"
