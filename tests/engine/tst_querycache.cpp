// Opening the same statement again reuses its translation: these cases
// prove that a reused translation never outlives what it was made from (a
// table's fields, the file under a path, the parameters' types, the session
// and the database folder).
#include "fixtureschemas.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/tablefile.h"
#include "enginetest.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

struct Db
{
    QTemporaryDir dir;
    Session session;

    Db()
    {
        createTableFile(path("Med"), enginetest::mediaDef());
        createTableFile(path("Pers"), enginetest::personDef());
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"DVD\", 1, 0)"});
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"DVD\", 2, 0)"});
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"VHS-SB\", 1, 240)"});
        exec({"INSERT INTO \"Pers\" (Name, MF) VALUES (\"Alain Delon\", \"M\")"});
    }

    QString folder() const { return dir.path(); }
    QString path(const char *table) const { return dir.filePath(QLatin1String(table) + QStringLiteral(".DB")); }

    int exec(const QStringList &lines)
    {
        Query q(&session);
        q.setDatabaseFolder(folder());
        q.setSql(lines);
        return q.execSQL();
    }
};

QStringList fieldNames(Query &q)
{
    QStringList out;
    for (int i = 0; i < q.fieldCount(); ++i)
        out << q.field(i)->fieldName();
    return out;
}

} // namespace

class TstQueryCache : public QObject
{
    Q_OBJECT

private slots:
    void changedTableStructureTranslatesAfresh()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT * FROM \"Med\""});
        q.open();
        const int before = q.fieldCount();
        QVERIFY(!q.findField("Extra"));
        q.close();
        db.exec({"ALTER TABLE \"Med\"", "ADD Extra CHARACTER(10)"});
        db.exec({"UPDATE \"Med\" SET Extra = \"neu\" WHERE Nr = 2"});
        q.open();
        QCOMPARE(q.fieldCount(), before + 1);
        QVERIFY(q.findField("Extra"));
        QVERIFY(q.locate("Nr", 2));
        QCOMPARE(q.fieldByName("Extra")->asString(), QStringLiteral("neu"));
        // A field named in the text but missing before now translates.
        q.close();
        q.setSql({"SELECT Extra FROM \"Med\" WHERE Extra = \"neu\""});
        q.open();
        QCOMPARE(q.recordCount(), 1);
    }

    void droppedAndRecreatedTableIsReadAnew()
    {
        Db db;
        {
            Query q(&db.session);
            q.setDatabaseFolder(db.folder());
            q.setSql({"SELECT * FROM \"Med\""});
            q.open();
            QCOMPARE(q.recordCount(), 3);
            QVERIFY(q.findField("Nr"));
        }
        QCOMPARE(db.session.attachedCount(), 0);
        // The same path now holds a table of quite other fields.
        QVERIFY(QFile::remove(db.path("Med")));
        createTableFile(db.path("Med"), enginetest::personDef());
        db.exec({"INSERT INTO \"Med\" (Name, MF) VALUES (\"Romy Schneider\", \"W\")"});
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT * FROM \"Med\""});
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QVERIFY(!q.findField("Nr"));
        QCOMPARE(q.fieldByName("Name")->asString(), QStringLiteral("Romy Schneider"));
        // A text naming a field that is gone is refused, not run on an old translation.
        q.close();
        q.setSql({"SELECT Nr FROM \"Med\""});
        QVERIFY_THROWS_EXCEPTION(EngineError, q.open());
    }

    void linkedPathsNameTheirFile()
    {
        Db db;
        const QString link = db.dir.filePath(QStringLiteral("Link.DB"));
        QVERIFY(QFile::link(db.path("Med"), link));
        {
            // One file under two names is one table.
            Query a(&db.session), b(&db.session);
            for (Query *q : {&a, &b})
                q->setDatabaseFolder(db.folder());
            a.setSql({"SELECT * FROM \"Link\""});
            b.setSql({"SELECT * FROM \"Med\""});
            a.open();
            b.open();
            QCOMPARE(db.session.attachedCount(), 1);
            QCOMPARE(a.recordCount(), 3);
            QCOMPARE(b.recordCount(), 3);
        }
        QCOMPARE(db.session.attachedCount(), 0);
        // The name pointed at another file meanwhile: that file is read.
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(db.path("Pers"), link));
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT * FROM \"Link\""});
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName("Name")->asString(), QStringLiteral("Alain Delon"));
    }

    void parametersBoundAnewAndRetyped()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT Medium, Nr FROM \"Med\" WHERE Medium = :Art"});
        q.paramByName("Art").setAsString("DVD");
        q.open();
        QCOMPARE(q.recordCount(), 2);
        q.close();
        q.paramByName("Art").setAsString("VHS-SB");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName("Nr")->asInteger(), 1);
        q.close();
        // Another type for the same text: a column showing the parameter
        // takes the new type.
        Query shown(&db.session);
        shown.setDatabaseFolder(db.folder());
        shown.setSql({"SELECT Nr, :Wert FROM \"Med\""});
        shown.paramByName("Wert").setAsString("7");
        shown.open();
        QCOMPARE(shown.field(1)->dataType(), FieldType::String);
        shown.close();
        shown.paramByName("Wert").setAsInteger(7);
        shown.open();
        QCOMPARE(shown.field(1)->dataType(), FieldType::LargeInt);
        QCOMPARE(shown.field(1)->asInteger(), 7);
        shown.close();
        // A second query of the same text keeps its own values.
        q.paramByName("Art").setAsString("DVD");
        Query other(&db.session);
        other.setDatabaseFolder(db.folder());
        other.setSql({"SELECT Medium, Nr FROM \"Med\" WHERE Medium = :Art"});
        other.paramByName("Art").setAsString("VHS-SB");
        other.open();
        q.open();
        QCOMPARE(other.recordCount(), 1);
        QCOMPARE(q.recordCount(), 2);
    }

    void twoSessionsAndTwoFolders()
    {
        Db a;
        Db b;
        b.exec({"DELETE FROM \"Med\" WHERE Nr = 2"});
        // The other session attaches a table first, so the same file goes
        // by other attached names in the two sessions.
        Query warm(&b.session);
        warm.setDatabaseFolder(b.folder());
        warm.setSql({"SELECT * FROM \"Pers\""});
        warm.open();
        for (Db *db : {&a, &b, &a}) {
            Query q(&db->session);
            q.setDatabaseFolder(db->folder());
            q.setSql({"SELECT Medium, Nr FROM \"Med\""});
            q.open();
            QCOMPARE(q.recordCount(), db == &a ? 3 : 2);
        }
        // One session, the same file through two folders' texts.
        Query q(&a.session);
        q.setDatabaseFolder(a.folder());
        q.setSql({"SELECT Medium, Nr FROM \"Med\""});
        q.open();
        QCOMPARE(q.recordCount(), 3);
        q.close();
        q.setDatabaseFolder(b.folder());
        q.open();
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(fieldNames(q), QStringList({"Medium", "Nr"}));
    }

    void nameOfOtherLetterCaseIsLookedUpEachTime()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT * FROM \"med\""});
        q.open();
        QCOMPARE(q.recordCount(), 3);
        q.close();
        // Now a file of exactly that name exists: the text means it.
        createTableFile(db.dir.filePath("med.DB"), enginetest::personDef());
        q.open();
        QCOMPARE(q.recordCount(), 0);
        QVERIFY(q.findField("Name"));
    }
};

QTEST_GUILESS_MAIN(TstQueryCache)
#include "tst_querycache.moc"
