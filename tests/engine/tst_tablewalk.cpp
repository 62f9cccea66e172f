// A table cursor walked forward over many rows: the rows, their order and
// numbers, bookmarks, edits and deletes in the middle of the walk, another
// cursor's and another session's changes, and a walk that control leaves for
// the event loop in between; a walk that reads only some fields.
#include "fixtureschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "enginetest.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <random>
#include <thread>
#include <sqlite3.h>

using namespace engine;
using namespace enginetest;

namespace {

constexpr int kMedia = 600; // "DVD" 2, 4, ..., 1200 with Len = 10 * Nr

// Media and films stored out of key order, so that row ids, key order and
// title order all differ; medium "DVD" n has one film, titled by titleOf.
struct Files
{
    QTemporaryDir dir;
    QString media, films;

    Files()
    {
        makeShuffledMedia(dir, media, films, kMedia, 11, titleOf, [](Table &f, int nr) {
            f.edit();
            f.fieldByName(QStringLiteral("Untertitel"))->setAsString(subtitleOf(nr));
            f.post();
        });
    }

    // Media 2 and 4 share "Titel 0001", 6 and 8 "Titel 0002", ...; the
    // subtitle puts the higher number first: "A" for 4, "B" for 2.
    static QString titleOf(int nr) { return QStringLiteral("Titel %1").arg((nr + 2) / 4, 4, 10, QLatin1Char('0')); }
    static QString subtitleOf(int nr) { return nr % 4 == 0 ? QStringLiteral("A") : QStringLiteral("B"); }
};

int lenOf(DataSet &t) { return t.fieldByName(QStringLiteral("Len"))->asInteger(); }
int kassNrOf(DataSet &t) { return t.fieldByName(QStringLiteral("KassNr"))->asInteger(); }

// The media of the title pairs fromPair..toPair in title order: 4, 2, 8, 6, ...
QList<int> titleOrder(int fromPair, int toPair)
{
    QList<int> out;
    for (int p = fromPair; p <= toPair; ++p)
        out << 4 * p << 4 * p - 2;
    return out;
}

// A write through a connection of its own, as another program does it; the
// SQLite result code (SQLITE_BUSY while a read lock is held on the file).
int writeBehind(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return -1;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

// A walking cursor, another cursor of its session and one of another session
// (another user), all open on the table file.
struct Cursors
{
    Session s, b;
    Table walker{&s}, same{&s}, other{&b};

    explicit Cursors(const QString &path)
    {
        b.setBusyTimeout(300);
        for (Table *t : {&walker, &same, &other})
            openTable(*t, path);
    }
};

} // namespace

class TstTableWalk : public QObject
{
    Q_OBJECT
private slots:
    void walkReadsEveryRowInOrderWithRangeAndIndex()
    {
        Files files;
        Session s;
        Table m(&s), f(&s);
        openTable(m, files.media);
        QCOMPARE(walkOn(m), evens(2, 1200));
        QCOMPARE(m.recNo(), kMedia);
        QVERIFY(m.eof());
        // Every field of every row, not only the first ones.
        m.first();
        QCOMPARE(walkOn(m, lenOf), [] {
            QList<int> l;
            for (int nr = 2; nr <= 1200; nr += 2)
                l << 10 * nr;
            return l;
        }());
        // A range over many rows, walked twice.
        m.setRange({QStringLiteral("DVD"), 100}, {QStringLiteral("DVD"), 1000});
        QCOMPARE(walkOn(m), evens(100, 1000));
        m.first();
        QCOMPARE(walkOn(m), evens(100, 1000));
        QCOMPARE(m.recordCount(), 451);
        m.cancelRange();
        QCOMPARE(m.recordCount(), kMedia);

        // The title index: the pairs in title order, within a pair by subtitle.
        openTable(f, files.films);
        f.setIndexName(QStringLiteral("iTitel"));
        f.first();
        QCOMPARE(walkOn(f, kassNrOf), titleOrder(1, 300));
        // A range on its first field; the walk starts where it was left.
        f.setRange({QStringLiteral("Titel 0050")}, {QStringLiteral("Titel 0250")});
        QCOMPARE(kassNrOf(f), 200);
        QCOMPARE(walkOn(f, kassNrOf), titleOrder(50, 250));
        QCOMPARE(f.recordCount(), 402);
        // Back on the primary index, inside the range no more.
        f.setIndexName(QString());
        f.first();
        QCOMPARE(walkOn(f, kassNrOf), evens(2, 1200));
    }

    void walkReadingSomeFieldsKeepsRowsOrderAndValues()
    {
        Files files;
        Cursors c(files.films);
        Table &f = c.walker, &same = c.same, &other = c.other;
        f.setIndexName(QStringLiteral("iTitel"));
        f.setRange({QStringLiteral("Titel 0050")}, {QStringLiteral("Titel 0250")});
        // The filter reads a field the walk does not name.
        f.onFilterRecord = [](DataSet &d) { return d.fieldByName(QStringLiteral("Untertitel"))->asString() != QLatin1String("X"); };
        f.setFiltered(true);
        Field *titel = f.fieldByName(QStringLiteral("Titel"));
        Field *subtitle = f.fieldByName(QStringLiteral("Untertitel"));
        f.first();
        f.limitReading({f.fieldByName(QStringLiteral("KassNr"))->index(), titel->index()});
        QList<int> seen;
        int wrongTitles = 0, unread = 0;
        for (; !f.eof(); f.next()) {
            const int nr = kassNrOf(f);
            seen << nr;
            wrongTitles += titel->asString() != Files::titleOf(nr);
            unread += subtitle->isNull();
            if (nr == 500) {
                // Ahead of the walk: a record leaves the range, one is
                // filtered out, and another user deletes one.
                QVERIFY(same.findKey({QStringLiteral("DVD"), 800, 1}));
                same.edit();
                same.fieldByName(QStringLiteral("Titel"))->setAsString(QStringLiteral("Titel 0300"));
                same.post();
                QVERIFY(same.findKey({QStringLiteral("DVD"), 702, 1}));
                same.edit();
                same.fieldByName(QStringLiteral("Untertitel"))->setAsString(QStringLiteral("X"));
                same.post();
                QVERIFY(other.findKey({QStringLiteral("DVD"), 900, 1}));
                other.deleteRecord();
            }
        }
        QList<int> expected = titleOrder(50, 250);
        for (int gone : {800, 702, 900})
            expected.removeOne(gone);
        QCOMPARE(seen, expected);
        QCOMPARE(wrongTitles, 0);
        // The walk did leave the other fields unread, so the rows above came
        // from it.
        QVERIFY(unread > 0);
        // Named no more: the record the walk ended on is whole again.
        f.limitReading({});
        QCOMPARE(kassNrOf(f), 998);
        QCOMPARE(subtitle->asString(), Files::subtitleOf(998));

        // Whole records again in the middle of a limited walk: the record
        // shown and the next ones.
        const int kassNr = f.fieldByName(QStringLiteral("KassNr"))->index();
        const auto walkTo = [&](int nr) {
            while (!f.eof() && kassNrOf(f) != nr)
                f.next();
        };
        f.limitReading({kassNr});
        f.first();
        walkTo(600);
        f.limitReading({});
        QCOMPARE(subtitle->asString(), Files::subtitleOf(600));
        f.next();
        QCOMPARE(kassNrOf(f), 598);
        QCOMPARE(subtitle->asString(), Files::subtitleOf(598));
        // An edit begun in a limited walk starts from the whole record and
        // keeps what was not named.
        f.limitReading({kassNr});
        walkTo(760);
        f.edit();
        QCOMPARE(subtitle->asString(), Files::subtitleOf(760));
        f.fieldByName(QStringLiteral("Len"))->setAsInteger(5);
        f.post();
        QVERIFY(same.findKey({QStringLiteral("DVD"), 760, 1}));
        QCOMPARE(same.fieldByName(QStringLiteral("Untertitel"))->asString(), Files::subtitleOf(760));
        QCOMPARE(same.fieldByName(QStringLiteral("Len"))->asInteger(), 5);
        QCOMPARE(titel->asString(), Files::titleOf(760));
    }

    void rowNumbersBookmarksAndBackwardSteps()
    {
        Files files;
        Session s;
        Table m(&s);
        openTable(m, files.media);
        Bookmark at250 = InvalidBookmark;
        for (int i = 1; i < 400; ++i) {
            if (m.recNo() == 250)
                at250 = m.bookmark();
            m.next();
        }
        QCOMPARE(m.recNo(), 400);
        QCOMPARE(nrOf(m), 800);
        // Backwards from the middle of the walk.
        for (int i = 0; i < 100; ++i)
            m.prior();
        QCOMPARE(m.recNo(), 300);
        QCOMPARE(nrOf(m), 600);
        QCOMPARE(lenOf(m), 6000);
        // Forwards again, past where the walk had been.
        QCOMPARE(m.moveBy(1), 1);
        QCOMPARE(walkOn(m), evens(602, 1200));
        m.gotoBookmark(at250);
        QCOMPARE(nrOf(m), 500);
        QCOMPARE(m.recNo(), 250);
        QCOMPARE(walkOn(m), evens(500, 1200));
    }

    void editPostAndDeleteInTheMiddleOfAWalk()
    {
        Files files;
        Session s;
        Table m(&s);
        openTable(m, files.media);
        QList<int> seen;
        QList<int> lens;
        for (; !m.eof(); m.next()) {
            seen << nrOf(m);
            const int nr = nrOf(m);
            if (nr == 300) {
                m.edit();
                m.fieldByName(QStringLiteral("Len"))->setAsInteger(7);
                m.post();
                QCOMPARE(m.recNo(), 150);
            }
            if (nr == 500) {
                // The key moves the record beyond the end: the cursor
                // follows it to its new place, the last one.
                m.edit();
                m.fieldByName(QStringLiteral("Nr"))->setAsInteger(1301);
                m.post();
                QCOMPARE(m.recNo(), kMedia);
                break;
            }
        }
        QCOMPARE(seen, evens(2, 500));
        QCOMPARE(nrOf(m), 1301);
        m.first();
        // A delete in the middle: the walk goes on with the next record.
        QList<int> rest;
        for (; !m.eof(); m.next()) {
            if (nrOf(m) == 700) {
                m.deleteRecord();
                QCOMPARE(nrOf(m), 702);
            }
            rest << nrOf(m);
            lens << lenOf(m);
        }
        QList<int> expected = evens(2, 498) + evens(502, 698) + evens(702, 1200);
        expected << 1301;
        QCOMPARE(rest, expected);
        QCOMPARE(lens.at(rest.indexOf(300)), 7);
        QCOMPARE(lens.at(rest.indexOf(1301)), 5000);
        QCOMPARE(m.recordCount(), kMedia - 1);
        // Every record changed as the walk reaches it, then read back.
        int edits = 0;
        for (m.first(); !m.eof(); m.next()) {
            m.edit();
            m.fieldByName(QStringLiteral("Len"))->setAsInteger(nrOf(m) + 1);
            m.post();
            ++edits;
        }
        QCOMPARE(edits, kMedia - 1);
        m.first();
        QList<int> plusOne;
        for (int nr : expected)
            plusOne << nr + 1;
        QCOMPARE(walkOn(m, lenOf), plusOne);
    }

    void anotherCursorsAndSessionsChangesAreSeen()
    {
        Files files;
        Cursors c(files.media);
        Table &walker = c.walker, &same = c.same, &other = c.other;
        for (int i = 1; i < 200; ++i)
            walker.next();
        QCOMPARE(nrOf(walker), 400);
        // A cursor of the same session changes a record ahead and adds one.
        QVERIFY(same.findKey({QStringLiteral("DVD"), 600}));
        same.edit();
        same.fieldByName(QStringLiteral("Len"))->setAsInteger(1);
        same.post();
        appendMedium(same, QStringLiteral("DVD"), 601, 2);
        for (int i = 0; i < 100; ++i)
            walker.next();
        QCOMPARE(nrOf(walker), 600);
        QCOMPARE(lenOf(walker), 1);
        walker.next();
        QCOMPARE(nrOf(walker), 601);
        QCOMPARE(walker.recNo(), 301);
        // Another session (another user) deletes a record behind the walk,
        // changes one ahead of it and adds one at the end, while the walk
        // stands in the middle: its read lock must not keep them waiting.
        QVERIFY(other.findKey({QStringLiteral("DVD"), 100}));
        other.deleteRecord();
        QVERIFY(other.findKey({QStringLiteral("DVD"), 900}));
        other.edit();
        other.fieldByName(QStringLiteral("Len"))->setAsInteger(3);
        other.post();
        appendMedium(other, QStringLiteral("DVD"), 1202, 9);
        QList<int> nrs, lens;
        for (walker.next(); !walker.eof(); walker.next()) {
            nrs << nrOf(walker);
            lens << lenOf(walker);
        }
        QCOMPARE(nrs, evens(602, 1202));
        QCOMPARE(lens.at(nrs.indexOf(900)), 3);
        QCOMPARE(lens.last(), 9);
        QCOMPARE(walker.recordCount(), kMedia + 1);
        QCOMPARE(walker.recNo(), kMedia + 1);
    }

    void slowWalkLetsAnotherProgramWrite()
    {
        Files files;
        Session s;
        Table m(&s);
        openTable(m, files.media);
        for (int i = 1; i < 100; ++i)
            m.next();
        QCOMPARE(nrOf(m), 200);
        // Another program changes a record ahead while this walk reads on
        // slowly, without the event loop, for longer than that program waits
        // for the lock (1 s): the walk lets go of the file now and then.
        int rc = -1;
        std::thread writer([&] {
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(files.media).constData(), &db);
            sqlite3_busy_timeout(db, 1000);
            rc = sqlite3_exec(db, "UPDATE data SET Len = 4 WHERE Nr = 1100", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        QList<int> nrs, lens;
        for (m.next(); !m.eof(); m.next()) {
            nrs << nrOf(m);
            lens << lenOf(m);
            if (nrs.size() <= 300)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        writer.join();
        QCOMPARE(rc, SQLITE_OK);
        QCOMPARE(nrs, evens(202, 1200));
        QCOMPARE(lens.at(nrs.indexOf(1100)), 4);
        QCOMPARE(lens.at(nrs.indexOf(1098)), 10980);
    }

    void walkLeftForTheEventLoopGoesOn()
    {
        Files files;
        Session s;
        Table m(&s);
        openTable(m, files.media);
        for (int i = 1; i < 300; ++i)
            m.next();
        QCOMPARE(nrOf(m), 600);
        // Back in the event loop the file is free for another program, which
        // changes a record ahead of the walk.
        QCoreApplication::processEvents();
        QCOMPARE(writeBehind(files.media, "UPDATE data SET Len = 4 WHERE Nr = 700"), SQLITE_OK);
        QList<int> nrs, lens;
        for (m.next(); !m.eof(); m.next()) {
            nrs << nrOf(m);
            lens << lenOf(m);
        }
        QCOMPARE(nrs, evens(602, 1200));
        QCOMPARE(lens.at(nrs.indexOf(700)), 4);
        QCOMPARE(lens.at(nrs.indexOf(702)), 7020);
        // A walk run to its end leaves the file free without the event loop.
        QCOMPARE(writeBehind(files.media, "UPDATE data SET Len = 5 WHERE Nr = 700"), SQLITE_OK);
        // Each of several walks interrupted by the event loop goes on where
        // it stood.
        m.first();
        QList<int> all;
        for (; !m.eof(); m.next()) {
            all << nrOf(m);
            if (all.size() % 97 == 0)
                QCoreApplication::processEvents();
        }
        QCOMPARE(all, evens(2, 1200));
        // Closed in the middle of a walk: nothing holds the file.
        m.first();
        for (int i = 0; i < 200; ++i)
            m.next();
        m.close();
        QCOMPARE(writeBehind(files.media, "UPDATE data SET Len = 6 WHERE Nr = 700"), SQLITE_OK);
    }
};

QTEST_GUILESS_MAIN(TstTableWalk)
#include "tst_tablewalk.moc"
