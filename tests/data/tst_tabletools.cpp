// Validity defaults, packing, password protection, the primary index and
// the numbering index, with the table always open again afterwards.
#include "data/tableschemas.h"
#include "data/tampertable.h"
#include "engine/enginetest.h"
#include "data/tabletools.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using namespace engine;
using namespace enginetest;

namespace {

void addMedia(Table &t, const QString &kind, int from, int to, const QString &memo = QString())
{
    Session::Transaction tx(t.session());
    for (int nr = from; nr <= to; ++nr)
        appendMedium(t, kind, nr, 180, memo);
    tx.commit();
}


} // namespace

class TstTableTools : public QObject
{
    Q_OBJECT
private slots:
    void validityDefaultsTravelWithTheFile()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Med.DB"), MediaTableDef());
        Session s;
        Table t(&s);
        openTable(t, path);
        addMedia(t, QStringLiteral("VHS-SB"), 1, 1);
        const QVariant no(false);
        SetFieldValidity(t, QStringLiteral("Gedruckt"), &no, false, false);
        SetFieldValidity(t, QStringLiteral("Verliehen"), nullptr, true, false);
        QVERIFY(t.active());
        t.append();
        QCOMPARE(t.fieldByName(QStringLiteral("Gedruckt"))->isNull(), false);
        QCOMPARE(t.fieldByName(QStringLiteral("Gedruckt"))->asBoolean(), false);
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(1);
        t.fieldByName(QStringLiteral("Len"))->setValue(0);
        QCOMPARE(errorCode([&] { t.post(); }), int(ErrRequired));
        t.fieldByName(QStringLiteral("Verliehen"))->setValue(QStringLiteral("Anna"));
        t.post();
        t.close();
        QString copy = dir.filePath(QStringLiteral("Kopie.DB"));
        QVERIFY(QFile::copy(path, copy));
        Table c(&s);
        c.setTableName(copy);
        c.open();
        c.append();
        QVERIFY(!c.fieldByName(QStringLiteral("Gedruckt"))->isNull());
        c.cancel();
        SetFieldValidity(c, QStringLiteral("Gedruckt"), nullptr, false, true);
        c.append();
        QVERIFY(c.fieldByName(QStringLiteral("Gedruckt"))->isNull());
        c.cancel();
        QCOMPARE(errorCode([&] { SetFieldValidity(c, QStringLiteral("Gibtsnicht"), nullptr, false, false); }), int(ErrFieldNotFound));
        QVERIFY(c.active());
    }

    void packingFreesSpaceAndKeepsRecords()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Med.DB"), MediaTableDef());
        Session s;
        Table t(&s);
        openTable(t, path);
        addMedia(t, QStringLiteral("VHS-SB"), 1, 300, QString(2000, QLatin1Char('x')));
        t.first();
        {
            Session::Transaction tx(s);
            while (t.recordCount() > 10)
                t.deleteRecord();
            tx.commit();
        }
        qint64 before = QFileInfo(path).size();
        t.setRecNo(4);
        PackTable(t);
        QVERIFY(t.active());
        QVERIFY(QFileInfo(path).size() < before / 4);
        QCOMPARE(t.recordCount(), 10);
        QCOMPARE(t.fieldByName(QStringLiteral("Memo"))->asString().size(), 2000);
        // Another cursor of the program on the table lets go of it for the
        // packing and is open again afterwards.
        Table other(&s);
        other.setTableName(path);
        other.open();
        QCOMPARE(errorCode([&] { PackTable(t); }), 0);
        QVERIFY(t.active());
        QVERIFY(other.active());
        QCOMPARE(other.recordCount(), 10);
    }

    void protectionEncryptsAndCanBeRemoved()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Med.DB"), MediaTableDef());
        {
            Session s;
            Table t(&s);
            openTable(t, path);
            addMedia(t, QStringLiteral("GEHEIM"), 1, 3);
            SetTablePassword(t, QStringLiteral("Sesam"));
            QVERIFY(t.active());
            QCOMPARE(t.recordCount(), 3);
        }
        QByteArray raw = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QVERIFY(!raw.contains("GEHEIM"));
        QVERIFY(!raw.startsWith("SQLite format 3"));
        {
            Session s; // no password, no callback
            Table t(&s);
            t.setTableName(path);
            QCOMPARE(errorCode([&] { t.open(); }), int(ErrPassword));
            QVERIFY(!t.active());
            int asked = 0;
            s.onPassword = [&](const QString &, QString &pw) { ++asked; pw = QStringLiteral("falsch"); return true; };
            QCOMPARE(errorCode([&] { t.open(); }), int(ErrPassword));
            QVERIFY(!t.active());
            s.onPassword = [&](const QString &, QString &pw) { ++asked; pw.clear(); return true; };
            QCOMPARE(errorCode([&] { t.open(); }), int(ErrPassword));
            s.onPassword = [&](const QString &, QString &pw) { ++asked; pw = QStringLiteral("Sesam"); return true; };
            t.open();
            QCOMPARE(asked, 3);
            QCOMPARE(t.recordCount(), 3);
            QVERIFY(s.passwords().contains(QStringLiteral("Sesam")));
            // Writing works on the protected table, and protection is removed again.
            t.edit();
            t.fieldByName(QStringLiteral("Len"))->setValue(1);
            t.post();
            SetTablePassword(t, QString());
            QVERIFY(t.active());
        }
        Session plain;
        Table t(&plain);
        t.setTableName(path);
        t.open();
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.fieldByName(QStringLiteral("Len"))->asInteger(), 1);
    }

    void primaryIndexPresenceAndRebuild()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Med.DB"), MediaTableDef());
        Session s;
        {
            Table t(&s);
            openTable(t, path);
            addMedia(t, QStringLiteral("VHS-SB"), 1, 3);
        }
        tamper(path, "DROP INDEX pk");
        Table t(&s);
        t.setTableName(path);
        QVERIFY(!t.hasPrimaryIndex());
        t.open();
        QVERIFY(!HasPrimaryIndex(t));
        RebuildPrimaryIndex(t, 2);
        QVERIFY(t.active());
        QVERIFY(HasPrimaryIndex(t));
        QVERIFY(t.findKey({QStringLiteral("VHS-SB"), 2}));
        // Duplicate keys: refused, the table is open again.
        tamper(path, "DROP INDEX pk");
        t.close();
        tamper(path, "INSERT INTO data(Medium, Nr, Len) VALUES('VHS-SB', 2, 1)");
        t.open();
        QCOMPARE(errorCode([&] { RebuildPrimaryIndex(t, 2); }), int(ErrKeyViolation));
        QVERIFY(t.active());
        QVERIFY(!t.hasPrimaryIndex());
    }

    void numberingIndexCodesAndExclusiveUse()
    {
        QTemporaryDir dir;
        QString path = newTable(dir, QStringLiteral("Med.DB"), MediaTableDef());
        Session s;
        Table t(&s);
        openTable(t, path);
        addMedia(t, QStringLiteral("VHS-SB"), 1, 2);
        addMedia(t, QStringLiteral("DVD"), 3, 3);
        // Missing index: its own code, not 0x2F02.
        int missing = errorCode([&] { t.setIndexName(NrExclIndexName); });
        QVERIFY(missing != 0 && missing != 0x2F02);
        QCOMPARE(missing, int(ErrIndexNotFound));
        QCOMPARE(t.indexName(), QString());
        // Adding it needs exclusive use.
        try {
            CreateNrExclIndex(t);
            QFAIL("index added without exclusive use");
        } catch (const EngineError &e) {
            QCOMPARE(e.message(), QStringLiteral("TTable.Exclusive must be set to true in order to add an index to the table"));
        }
        t.close();
        t.setExclusive(true);
        t.open();
        CreateNrExclIndex(t);
        t.close();
        t.setExclusive(false);
        t.open();
        t.setIndexName(NrExclIndexName);
        QVERIFY(t.findKey({3}));
        QCOMPARE(t.fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("DVD"));
        t.close();
        // A registered index that cannot be used: 0x2F02.
        tamper(path, "DROP INDEX ix_iNrExcl");
        t.setIndexName(QString());
        t.open();
        QCOMPARE(errorCode([&] { t.setIndexName(NrExclIndexName); }), 0x2F02);
        t.close();
        t.setIndexName(NrExclIndexName);
        QCOMPARE(errorCode([&] { t.open(); }), 0x2F02);
        QVERIFY(!t.active());
        // Deleting it (exclusive), then it is simply missing.
        t.setIndexName(QString());
        t.setExclusive(true);
        t.open();
        t.deleteIndex(NrExclIndexName);
        QCOMPARE(errorCode([&] { t.deleteIndex(NrExclIndexName); }), int(ErrIndexNotFound));
        QCOMPARE(errorCode([&] { t.setIndexName(NrExclIndexName); }), int(ErrIndexNotFound));
    }
};

QTEST_GUILESS_MAIN(TstTableTools)
#include "tst_tabletools.moc"
