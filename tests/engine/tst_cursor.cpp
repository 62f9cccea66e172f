// Cursor movement, states, the order of events, silent abort, locate,
// ranges, filters with calculated fields, key violation and read-only refusal.
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

// Media table with a few media; returns its path.
QString makeMedia(const QTemporaryDir &dir, const QList<QPair<QString, int>> &keys)
{
    QString path = dir.filePath(QStringLiteral("Med.DB"));
    createTableFile(path, MediaTableDef());
    Session s;
    Table t(&s);
    t.setTableName(path);
    t.open();
    for (const auto &k : keys) {
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(k.first);
        t.fieldByName(QStringLiteral("Nr"))->setValue(k.second);
        t.fieldByName(QStringLiteral("Len"))->setValue(k.second * 10);
        t.post();
    }
    return path;
}

QStringList keysOf(Table &t)
{
    QStringList out;
    t.first();
    while (!t.eof()) {
        out << t.fieldByName(QStringLiteral("Medium"))->asString() + QLatin1Char('/') + t.fieldByName(QStringLiteral("Nr"))->asString();
        t.next();
    }
    return out;
}

} // namespace

class TstCursor : public QObject
{
    Q_OBJECT
private slots:
    void movementFollowsThePrimaryKey()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 3}, {"DVD", 2}, {"VHS-SB", 1}, {"DVD", 10}});
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        QCOMPARE(t.recordCount(), 4);
        QVERIFY(t.bof());
        QVERIFY(!t.eof());
        QCOMPARE(keysOf(t), (QStringList{"DVD/2", "DVD/10", "VHS-SB/1", "VHS-SB/3"}));
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 4); // stays on the last record
        t.prior();
        QCOMPARE(t.recNo(), 3);
        t.first();
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(t.moveBy(10), 3);
        QVERIFY(t.eof());
        QCOMPARE(t.moveBy(-2), -2);
        QCOMPARE(t.fieldByName(QStringLiteral("medium"))->asString(), QStringLiteral("DVD"));
        QCOMPARE(t.fieldByName(QStringLiteral("NR"))->asInteger(), 10);
        t.setRecNo(4);
        Bookmark b = t.bookmark();
        t.first();
        t.gotoBookmark(b);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        // Reading rows without moving.
        QCOMPARE(t.valueAt(1, 1).toInt(), 10);
        QCOMPARE(t.recNo(), 4);
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Nope")));
    }

    void eventOrderOfInsertEditPostCancelDelete()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        QStringList log;
        auto rec = [&log](const char *name) { return [&log, name](DataSet &) { log << QLatin1String(name); }; };
        t.beforeOpen = rec("BeforeOpen");
        t.afterOpen = rec("AfterOpen");
        t.beforeClose = rec("BeforeClose");
        t.afterClose = rec("AfterClose");
        t.beforeInsert = rec("BeforeInsert");
        t.afterInsert = rec("AfterInsert");
        t.onNewRecord = rec("OnNewRecord");
        t.beforeEdit = rec("BeforeEdit");
        t.afterEdit = rec("AfterEdit");
        t.beforePost = rec("BeforePost");
        t.afterPost = rec("AfterPost");
        t.beforeCancel = rec("BeforeCancel");
        t.afterCancel = rec("AfterCancel");
        t.beforeDelete = rec("BeforeDelete");
        t.afterDelete = rec("AfterDelete");
        t.beforeScroll = rec("BeforeScroll");
        t.afterScroll = rec("AfterScroll");
        t.setTableName(path);
        t.open();
        QCOMPARE(log, (QStringList{"BeforeOpen", "AfterOpen", "AfterScroll"}));
        log.clear();
        Field *len = t.fieldByName(QStringLiteral("Len"));
        len->onValidate = [&log](Field &) { log << "Validate"; };
        len->onChange = [&log](Field &) { log << "Change"; };
        t.insert();
        QCOMPARE(t.state(), DataSetState::Insert);
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(7);
        len->setValue(0);
        t.post();
        QCOMPARE(log, (QStringList{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll",
                                   "Validate", "Change", "BeforePost", "AfterPost"}));
        QCOMPARE(t.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("DVD"));
        QCOMPARE(t.recNo(), 1);
        log.clear();
        t.edit();
        len->setValue(5);
        t.cancel();
        QCOMPARE(log, (QStringList{"BeforeEdit", "AfterEdit", "Validate", "Change", "BeforeCancel", "AfterCancel"}));
        QCOMPARE(len->asInteger(), 0);
        log.clear();
        t.deleteRecord();
        QCOMPARE(log, (QStringList{"BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
        QCOMPARE(t.recordCount(), 2);
        log.clear();
        // Moving away from a modified edit posts it; an unmodified one is cancelled.
        t.edit();
        len->setValue(33);
        t.next();
        QCOMPARE(log, (QStringList{"BeforeEdit", "AfterEdit", "Validate", "Change", "BeforePost", "AfterPost",
                                   "BeforeScroll", "AfterScroll"}));
        t.first();
        QCOMPARE(len->asInteger(), 33);
        log.clear();
        t.close();
        QCOMPARE(log, (QStringList{"BeforeClose", "AfterClose"}));
    }

    void silentAbortKeepsTheStateAndTheData()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        t.beforePost = [](DataSet &ds) {
            if (ds.fieldByName(QStringLiteral("Len"))->asInteger() > 500)
                abortSilently();
        };
        t.beforeDelete = [](DataSet &) { abortSilently(); };
        t.edit();
        t.fieldByName(QStringLiteral("Len"))->setValue(999);
        QVERIFY_THROWS_EXCEPTION(Abort, t.post());
        QCOMPARE(t.state(), DataSetState::Edit);
        t.cancel();
        QCOMPARE(t.fieldByName(QStringLiteral("Len"))->asInteger(), 10);
        QVERIFY_THROWS_EXCEPTION(Abort, t.deleteRecord());
        QCOMPARE(t.recordCount(), 2);
        // A field validator refusing a value keeps the old one.
        Field *m = t.fieldByName(QStringLiteral("Medium"));
        m->onValidate = [](Field &f) {
            if (f.asString() == QLatin1String("DVD"))
                abortSilently();
        };
        t.edit();
        QVERIFY_THROWS_EXCEPTION(Abort, m->setValue(QStringLiteral("DVD")));
        QCOMPARE(m->asString(), QStringLiteral("VHS-SB"));
        QVERIFY(!t.modified());
    }

    void failedLocateLeavesTheCursor()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"DVD", 2}, {"dvd", 3}, {"VHS-KK", 4}});
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        QStringList scrolls;
        t.afterScroll = [&](DataSet &) { scrolls << "after"; };
        t.setRecNo(3); // DVD/2, VHS-KK/4, VHS-SB/1, dvd/3: case counts in the key order
        scrolls.clear();
        QVERIFY(!t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("DVD"), 3}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        QVERIFY(scrolls.isEmpty());
        QVERIFY(t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("dvd"), 3}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        QVERIFY(t.locate(QStringLiteral("Medium"), QStringLiteral("DVD")));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 2);
        LocateOptions ci;
        ci.caseInsensitive = true;
        QVERIFY(t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("DvD"), 3}, ci));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 3);
        LocateOptions partial;
        partial.partialKey = true;
        QVERIFY(t.locate(QStringLiteral("Medium"), QStringLiteral("VHS-K"), partial));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 4);
        QVERIFY(!t.locate(QStringLiteral("Nr"), QStringLiteral("keine Zahl")));
        QVERIFY(scrolls.size() == 4);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 4);
        QVERIFY(t.findKey({QStringLiteral("VHS-SB"), 1}));
        QVERIFY(!t.findKey({QStringLiteral("VHS-SB"), 9}));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        t.findNearest({QStringLiteral("VHS-KK")});
        QCOMPARE(t.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("VHS-KK"));
        t.setKey();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        QVERIFY(t.gotoKey());
        QCOMPARE(t.state(), DataSetState::Browse);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 2);
    }

    void keyViolationAndReadOnlyRefusal()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}, {"VHS-SB", 2}});
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        t.fieldByName(QStringLiteral("Len"))->setValue(1);
        try {
            t.post();
            QFAIL("no key violation");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrKeyViolation));
        }
        QCOMPARE(t.state(), DataSetState::Insert);
        t.cancel();
        QCOMPARE(t.recordCount(), 2);
        // Case counts in keys.
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("vhs-sb"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(2);
        t.fieldByName(QStringLiteral("Len"))->setValue(1);
        t.post();
        QCOMPARE(t.recordCount(), 3);
        // Required fields.
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        try {
            t.post();
            QFAIL("required field not checked");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrRequired));
        }
        t.cancel();
        t.close();
        t.setReadOnly(true);
        t.open();
        for (auto op : {&DataSet::edit, &DataSet::insert, &DataSet::append, &DataSet::deleteRecord}) {
            try {
                (t.*op)();
                QFAIL("read-only table changed");
            } catch (const EngineError &e) {
                QCOMPARE(e.code(), int(ErrReadOnly));
            }
        }
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Len"))->setValue(3));
        QVERIFY_THROWS_EXCEPTION(EngineError, t.setReadOnly(false)); // only while closed
    }

    void valuesAreCheckedAndEmptyTextIsNull()
    {
        QTemporaryDir dir;
        QString path = makeMedia(dir, {{"VHS-SB", 1}});
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        t.edit();
        Field *kind = t.fieldByName(QStringLiteral("Medium"));
        kind->setValue(QStringLiteral("VHS-SB-LONG"));
        QCOMPARE(kind->asString(), QStringLiteral("VHS-SB"));
        Field *borrower = t.fieldByName(QStringLiteral("Verliehen"));
        borrower->setValue(QString());
        QVERIFY(borrower->isNull());
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Nr"))->setValue(70000));
        QVERIFY_THROWS_EXCEPTION(EngineError, t.fieldByName(QStringLiteral("Verleihdatum"))->setValue(QStringLiteral("31.02.2001")));
        t.fieldByName(QStringLiteral("Verleihdatum"))->setValue(QStringLiteral("1.3.2001"));
        t.fieldByName(QStringLiteral("Memo"))->setValue(QStringLiteral("Notiz äöü"));
        t.post();
        t.refresh();
        QCOMPARE(t.fieldByName(QStringLiteral("Verleihdatum"))->asDate(), QDate(2001, 3, 1));
        QCOMPARE(t.fieldByName(QStringLiteral("Verleihdatum"))->displayText(), QStringLiteral("01.03.2001"));
        QCOMPARE(t.fieldByName(QStringLiteral("Memo"))->asString(), QStringLiteral("Notiz äöü"));
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
    }
};

QTEST_GUILESS_MAIN(TstCursor)
#include "tst_cursor.moc"
