// What the BeforePost and BeforeDelete handlers change in other tables
// commits with the record, or is undone with it.
#include "enginetest.h"

#include <QtTest>

using namespace engine;
using namespace enginetest;

namespace {

struct Pair {
    QTemporaryDir dir;
    Session s;
    Table media{&s};
    Table films{&s};
    Pair()
    {
        openTable(media, newTable(dir, QStringLiteral("Med.DB"), mediaDef()));
        openTable(films, newTable(dir, QStringLiteral("Film.DB"), filmDef()));
        appendMedium(media, QStringLiteral("DVD"), 1, 90);
        appendMedium(media, QStringLiteral("DVD"), 2, 90);
        appendFilm(films, QStringLiteral("DVD"), 1, 1, QStringLiteral("Eins"));
    }
    // A change of the film table made on the side, as record rules do.
    void renameFilmsOf(int from, int to)
    {
        s.exec(QStringLiteral("UPDATE %1 SET KassNr=%2 WHERE KassNr=%3")
                   .arg(Session::sqlTableName(*s.attached(films.tableName())))
                   .arg(to)
                   .arg(from));
    }
    int filmsOf(int nr)
    {
        films.refresh();
        int n = 0;
        for (films.first(); !films.eof(); films.next())
            n += films.fieldByName(QStringLiteral("KassNr"))->asInteger() == nr;
        return n;
    }
};

} // namespace

class TstPostTransaction : public QObject
{
    Q_OBJECT
private slots:
    void failedWriteUndoesTheHandlersChanges()
    {
        Pair p;
        engine::Subscriptions subs;
        subs.push_back(p.media.beforePost.subscribe([&](DataSet &) { p.renameFilmsOf(1, 2); }));
        p.media.first();
        p.media.edit();
        p.media.fieldByName(QStringLiteral("Nr"))->setValue(2); // DVD 2 exists: key violation
        QVERIFY(errorCode([&] { p.media.post(); }) != 0);
        QCOMPARE(p.filmsOf(1), 1);
        QCOMPARE(p.filmsOf(2), 0);
        p.media.cancel();
    }

    void successfulWriteKeepsThem()
    {
        Pair p;
        engine::Subscriptions subs;
        subs.push_back(p.media.beforePost.subscribe([&](DataSet &) { p.renameFilmsOf(1, 7); }));
        p.media.first();
        p.media.edit();
        p.media.fieldByName(QStringLiteral("Nr"))->setValue(7);
        p.media.post();
        QCOMPARE(p.filmsOf(7), 1);
        QVERIFY(!p.s.inTransaction());
    }

    void failedDeleteKeepsTheFilms()
    {
        Pair p;
        p.media.first();
        engine::Subscriptions subs;
        subs.push_back(p.media.beforeDelete.subscribe([&](DataSet &) {
            p.renameFilmsOf(1, 9);
            throw EngineError(ErrGeneral, QStringLiteral("nein"));
        }));
        QVERIFY(errorCode([&] { p.media.deleteRecord(); }) != 0);
        QCOMPARE(p.filmsOf(1), 1);
        QCOMPARE(p.media.recordCount(), 2);
        QVERIFY(!p.s.inTransaction());
    }
};

QTEST_MAIN(TstPostTransaction)
#include "tst_posttransaction.moc"
