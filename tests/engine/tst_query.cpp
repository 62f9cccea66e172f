// The query object over real table files: typed result fields and their
// names, parameters, ExecSQL with its transaction, the read-only path for
// SELECTs, and the live result over one table.
#include "fixtureschemas.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "enginetest.h"

#include <QFile>
#include <unistd.h>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;
using enginetest::errorCode;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Db
{
    QTemporaryDir dir;
    Session session;

    Db()
    {
        createTableFile(path("Med"), enginetest::mediaDef());
        createTableFile(path("Film"), enginetest::filmDef());
        createTableFile(path("Pers"), enginetest::personDef());
        createTableFile(path("LAB"), enginetest::captionDef());
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len, Verliehen, Verleihdatum, Free1) VALUES (\"VHS-SB\", 1, 240, \"Meier\", \"01/10/2024\", \"Regal\")"});
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len, Gedruckt) VALUES (\"DVD\", 2, 0, TRUE)"});
        exec({"INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"DVD\", 1, 0)"});
        exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel, Len, Free1) VALUES (\"VHS-SB\", 1, 2, \"Zorro\", 90, \"Alain Delon\")"});
        exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel, Len) VALUES (\"VHS-SB\", 1, 1, \"Ärger\", 100)"});
        exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel, Untertitel, Len) VALUES (\"DVD\", 1, 1, \"Der Pate\", \"Teil 1\", 175)"});
        exec({"INSERT INTO \"Pers\" (Name, MF) VALUES (\"Alain Delon\", \"M\")"});
    }

    QString folder() const { return dir.path(); }
    QString path(const char *table) const { return dir.filePath(QLatin1String(table) + QStringLiteral(".DB")); }
    QString quoted(const char *table) const { return u'"' + path(table) + u'"'; }

    int exec(const QStringList &lines)
    {
        Query q(&session);
        q.setDatabaseFolder(folder());
        q.setSql(lines);
        return q.execSQL();
    }

    QStringList column(Query &q, const QString &field)
    {
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.fieldByName(field)->asString();
        return out;
    }
};

} // namespace

class TstQuery : public QObject
{
    Q_OBJECT

private slots:
    void typedFieldsAndNames()
    {
        Db db;
        Query q(&db.session);
        q.setSql({"SELECT * FROM " + db.quoted("Med") + " WHERE", "Verleihdatum <= \"01/31/2024\""});
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName("Nr")->dataType(), FieldType::SmallInt);
        QCOMPARE(q.fieldByName("Verleihdatum")->asDate(), QDate(2024, 1, 10));
        QCOMPARE(q.fieldByName("Free1")->displayLabel(), QStringLiteral("Free1"));
        QCOMPARE(q.fieldByName("Medium")->size(), 6);
        q.fieldByName("Free1")->setDisplayLabel("Standort");
        QCOMPARE(q.fieldByName("Free1")->displayLabel(), QStringLiteral("Standort"));
        QVERIFY(!q.canModify());
        QVERIFY_THROWS_EXCEPTION(EngineError, q.edit());
        q.close();

        q.setSql({"SELECT Medium, COUNT(*), SUM(Len), AVG(Len) FROM " + db.quoted("Film"), "GROUP BY Medium"});
        q.open();
        QCOMPARE(q.fieldCount(), 4);
        QCOMPARE(q.field(1)->fieldName(), QStringLiteral("COUNT(*)"));
        QCOMPARE(q.field(1)->dataType(), FieldType::LargeInt);
        QCOMPARE(q.field(3)->dataType(), FieldType::Float);
        QCOMPARE(db.column(q, "Medium"), QStringList({"DVD", "VHS-SB"}));
        q.last();
        QCOMPARE(q.field(1)->asInteger(), 2);
        QCOMPARE(q.field(2)->asInteger(), 190);
        QCOMPARE(q.field(3)->asFloat(), 95.0);
        q.close();

        // A join names the second of two equal columns with "_1".
        q.setSql({"SELECT * FROM", db.quoted("Film") + " F, " + db.quoted("Med") + " M", "WHERE",
                  "M.Medium = F.Medium AND M.Nr = F.KassNr", " "});
        q.open();
        QCOMPARE(q.recordCount(), 3);
        QVERIFY(q.findField("Free1_1"));
        QVERIFY(q.findField("Medium_1"));
        QCOMPARE(q.fieldByName("Free1_1")->size(), 40);
        // Without ORDER BY a join comes in no promised order.
        QStringList titles = db.column(q, "Titel");
        titles.sort();
        QCOMPARE(titles, QStringList({"Der Pate", "Zorro", "Ärger"}));
        q.close();
        q.setSql({"SELECT * FROM", db.quoted("Film") + " F, " + db.quoted("Med") + " M", "WHERE",
                  "M.Medium = F.Medium AND M.Nr = F.KassNr", "ORDER BY M.Medium"});
        q.open();
        // ORDER BY first, then the keys of the tables in turn.
        QCOMPARE(db.column(q, "Titel"), QStringList({"Der Pate", "Ärger", "Zorro"}));
        q.first();
        QCOMPARE(q.fieldByName("Free1_1")->asString(), QString());
        q.next();
        QCOMPARE(q.fieldByName("Free1_1")->asString(), QStringLiteral("Regal"));
        q.close();
        // The empty side of a LEFT JOIN reads as empty fields.
        q.setSql({"SELECT M.Medium, M.Nr, F.Titel FROM " + db.quoted("Med") + " M LEFT JOIN " + db.quoted("Film") + " F",
                  "ON F.Medium = M.Medium AND F.KassNr = M.Nr", "ORDER BY M.Medium, M.Nr"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), QStringList({"Der Pate", "", "Ärger", "Zorro"}));
        QCOMPARE(db.column(q, "Nr"), QStringList({"1", "2", "1", "1"}));
        QVERIFY(q.locate("Nr", 2));
        QVERIFY(q.fieldByName("Titel")->isNull());
    }

    void parameters()
    {
        Db db;
        Query q(&db.session);
        q.setSql({"SELECT Titel FROM " + db.quoted("Film") + " WHERE UPPER(Titel) LIKE UPPER(:N1)",
                  "OR Len = :Zahl% OR (:Alle? = TRUE) OR Free1 = \"x:y\""});
        QCOMPARE(q.paramCount(), 3);
        QCOMPARE(q.param(0).name(), QStringLiteral("N1"));
        QCOMPARE(q.param(1).dataType(), ParamType::Unknown);
        // A parameter without a value stops the query with a message.
        try {
            q.open();
            QFAIL("opened with unset parameters");
        } catch (const EngineError &e) {
            QVERIFY(e.message().contains("\"N1\""));
        }
        QVERIFY(!q.active());
        q.paramByName("n1").setAsString("%ÄR%");
        q.paramByName("Zahl%").setAsInteger(175);
        q.paramByName("Alle?").setAsBoolean(false);
        q.open();
        QCOMPARE(db.column(q, "Titel"), QStringList({"Der Pate", "Ärger"}));
        // Changing the text keeps the values of the names that stay.
        q.setSql(q.sql() << "OR Titel = :Neu$");
        QVERIFY(!q.active());
        QCOMPARE(q.paramByName("N1").asString(), QStringLiteral("%ÄR%"));
        q.paramByName("Neu$").setValue(QStringLiteral("Zorro"));
        q.open();
        QCOMPARE(q.recordCount(), 3);
        QVERIFY_THROWS_EXCEPTION(EngineError, q.paramByName("Gibtsnicht"));
        q.close();
        // A string parameter compared with a date field reads MM/DD/YYYY.
        q.setSql({"SELECT * FROM " + db.quoted("Med") + " WHERE Verleihdatum = :D"});
        q.paramByName("D").setAsString("01/10/2024");
        q.open();
        QCOMPARE(q.recordCount(), 1);
        q.close();
        q.paramByName("D").setAsDate(QDate(2024, 1, 10));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        q.close();
        // A string that is no number, used as one, is refused.
        q.setSql({"SELECT * FROM " + db.quoted("Med") + " WHERE Nr = :W"});
        q.paramByName("W").setAsString("zwei");
        QVERIFY_THROWS_EXCEPTION(EngineError, q.open());
        q.paramByName("W").setAsString("2");
        q.open();
        QCOMPARE(q.recordCount(), 1);
    }

    void execSqlAndTransactions()
    {
        Db db;
        Table med(&db.session);
        med.setTableName(db.path("Med"));
        med.open();
        QCOMPARE(db.exec({"UPDATE " + db.quoted("Med"), "SET Gedruckt = True", "WHERE", "(Medium = \"DVD\" AND Nr=\"1\")",
                          "OR", "(Medium = \"VHS-SB\" AND Nr=\"1\")"}),
                 2);
        // An open table sees the change.
        med.first();
        QCOMPARE(med.fieldByName("Gedruckt")->asBoolean(), true);
        QCOMPARE(db.exec({"DELETE FROM " + db.quoted("Film") + " WHERE", "Medium = \"VHS-SB\"", "AND KassNr = 1"}), 2);
        // Two DVDs cannot both become number 5: the key violation comes back
        // and neither row changed.
        try {
            db.exec({"UPDATE " + db.quoted("Med") + " SET Nr = 5 WHERE Medium = \"DVD\""});
            QFAIL("key violation not reported");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrKeyViolation));
        }
        Query q(&db.session);
        q.setSql({"SELECT Nr FROM " + db.quoted("Med") + " WHERE Medium = \"DVD\""});
        q.open();
        QCOMPARE(db.column(q, "Nr"), QStringList({"1", "2"}));
        q.close();
        med.close();

        // ALTER TABLE with several ADDs; the fields exist afterwards.
        QCOMPARE(db.exec({"ALTER TABLE " + db.quoted("Pers"), "ADD Free8 CHARACTER(100)", ",", "ADD Alter2 SMALLINT", ",",
                          "ADD Aktiv BOOLEAN", ",", "ADD Seit DATE", ",", "ADD Zahl INTEGER"}),
                 0);
        const TableDef def = readTableDef(db.session, db.path("Pers"));
        QCOMPARE(def.fields[def.fieldIndex("Free8")].size, 100);
        QCOMPARE(def.fields[def.fieldIndex("Alter2")].type, FieldType::SmallInt);
        QCOMPARE(def.fields[def.fieldIndex("Aktiv")].type, FieldType::Boolean);
        QCOMPARE(def.fields[def.fieldIndex("Seit")].type, FieldType::Date);
        QCOMPARE(def.fields[def.fieldIndex("Zahl")].type, FieldType::Integer);
        QCOMPARE(db.exec({"UPDATE " + db.quoted("Pers") + " SET Seit = \"12/24/2026\", Aktiv = TRUE"}), 1);
        q.setSql({"SELECT Seit, Aktiv FROM " + db.quoted("Pers")});
        q.open();
        QCOMPARE(q.fieldByName("Seit")->asDate(), QDate(2026, 12, 24));
        QCOMPARE(q.fieldByName("Aktiv")->asBoolean(), true);
        q.close();
        // A field that exists already: nothing of the statement is done.
        QVERIFY_THROWS_EXCEPTION(EngineError, db.exec({"ALTER TABLE " + db.quoted("Pers"), "ADD Neu1 SMALLINT", ",", "ADD Memo SMALLINT"}));
        QCOMPARE(readTableDef(db.session, db.path("Pers")).fieldIndex("Neu1"), -1);
        QCOMPARE(db.session.attachedCount(), 0);
    }

    void readOnlyPath()
    {
        Db db;
        Query q(&db.session);
        // Open runs only what returns rows.
        q.setSql({"DELETE FROM " + db.quoted("Film")});
        try {
            q.open();
            QFAIL("a DELETE was opened");
        } catch (const EngineError &e) {
            QVERIFY(e.message().contains("muss als Änderung ausgeführt werden"));
        }
        q.setSql({"SELECT * FROM " + db.quoted("Film") + "; DELETE FROM " + db.quoted("Film")});
        QVERIFY_THROWS_EXCEPTION(EngineError, q.open());
        q.setSql({"SELECT COUNT(*) FROM " + db.quoted("Film")});
        q.open();
        QCOMPARE(q.field(0)->asInteger(), 3);
        q.close();
    }

    void writeProtectedFile()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        Db db;
        // A write-protected table file can be read, not changed.
        QFile::setPermissions(db.path("Film"), QFile::ReadOwner | QFile::ReadGroup);
        Session other;
        Query r(&other);
        r.setSql({"SELECT * FROM " + db.quoted("Film")});
        r.open();
        QCOMPARE(r.recordCount(), 3);
        r.close();
        r.setSql({"UPDATE " + db.quoted("Film") + " SET Len = 1"});
        try {
            r.execSQL();
            QFAIL("changed a write-protected table");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrReadOnly));
        }
        QFile::setPermissions(db.path("Film"), QFile::ReadOwner | QFile::WriteOwner);
    }

    void liveResult()
    {
        Db db;
        Query q(&db.session);
        q.setSql({"SELECT * FROM " + db.quoted("Film") + " WHERE", "KassNr = 1 AND", "Medium = \"VHS-SB\""});
        q.setRequestLive(true);
        q.open();
        QVERIFY(q.isLive());
        QVERIFY(q.canModify());
        QCOMPARE(db.column(q, "Titel"), QStringList({"Ärger", "Zorro"}));
        q.first();
        q.edit();
        q.fieldByName("Titel")->setValue(QStringLiteral("Ärger im Paradies"));
        q.post();
        QCOMPARE(q.fieldByName("Titel")->asString(), QStringLiteral("Ärger im Paradies"));
        q.append();
        q.fieldByName("Medium")->setValue(QStringLiteral("VHS-SB"));
        q.fieldByName("KassNr")->setValue(1);
        q.fieldByName("FilmNr")->setValue(3);
        q.fieldByName("Titel")->setValue(QStringLiteral("FREIER BEREICH"));
        q.post();
        QCOMPARE(q.recordCount(), 3);
        q.first();
        q.deleteRecord();
        QCOMPARE(q.recordCount(), 2);
        // A key taken already is refused.
        q.first();
        q.edit();
        q.fieldByName("FilmNr")->setValue(3);
        QVERIFY_THROWS_EXCEPTION(EngineError, q.post());
        q.cancel();
        // A record another user deleted meanwhile cannot be changed.
        Session other;
        Query del(&other);
        del.setSql({"DELETE FROM " + db.quoted("Film") + " WHERE Titel = \"Zorro\""});
        QCOMPARE(del.execSQL(), 1);
        q.first();
        q.edit();
        q.fieldByName("Len")->setValue(1);
        try {
            q.post();
            QFAIL("a deleted record was written");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrRecordGone));
        }
        q.cancel();
        q.close();
        Query back(&other);
        back.setSql({"INSERT INTO " + db.quoted("Film") + " (Medium, KassNr, FilmNr, Titel, Len) VALUES (\"VHS-SB\", 1, 2, \"Zorro\", 90)"});
        QCOMPARE(back.execSQL(), 1);

        Query check(&db.session);
        check.setSql({"SELECT Titel FROM " + db.quoted("Film") + " WHERE Medium = \"VHS-SB\""});
        check.open();
        QCOMPARE(db.column(check, "Titel"), QStringList({"Zorro", "FREIER BEREICH"}));
        check.close();

        // Without RequestLive, or over a join, the result stays read-only.
        q.setRequestLive(false);
        q.open();
        QVERIFY(!q.canModify());
        q.close();
        q.setRequestLive(true);
        q.setSql({"SELECT * FROM " + db.quoted("Film") + " F, " + db.quoted("Med") + " M WHERE F.Medium = M.Medium"});
        q.open();
        QVERIFY(!q.canModify());
        q.close();
        q.setSql({"SELECT Titel, Len * 2 FROM " + db.quoted("Film")});
        q.open();
        QVERIFY(!q.canModify());
    }

    void refreshAndEmptyTexts()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Untertitel IS NULL"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), QStringList({"Ärger", "Zorro"}));
        // A text emptied through a record counts as an empty field.
        Table film(&db.session);
        film.setTableName(db.path("Film"));
        film.open();
        QVERIFY(film.locate("Titel", QStringLiteral("Der Pate")));
        film.edit();
        film.fieldByName("Untertitel")->setValue(QString());
        film.post();
        film.close();
        // A one-table result follows the table's committed changes.
        QCOMPARE(db.column(q, "Titel"), QStringList({"Der Pate", "Ärger", "Zorro"}));
        struct Counter : DataSetObserver {
            int rows = 0;
            void rowsChanged(DataSet &) override { ++rows; }
        } seen;
        q.addObserver(&seen);
        QCOMPARE(db.exec({"DELETE FROM \"Film\" WHERE Titel = \"Zorro\""}), 1);
        QVERIFY(seen.rows > 0); // the grid hears of it at once
        QCOMPARE(q.recordCount(), 2);
        q.removeObserver(&seen);
        // Any other result is read once, until it is read again.
        Query sum(&db.session);
        sum.setSql({"SELECT COUNT(*) FROM " + db.quoted("Film")});
        sum.open();
        QCOMPARE(sum.field(0)->asInteger(), 2);
        QCOMPARE(db.exec({"INSERT INTO " + db.quoted("Film") + " (Medium, KassNr, FilmNr, Titel) VALUES (\"DVD\", 7, 1, \"Zorro\")"}), 1);
        QCOMPARE(sum.field(0)->asInteger(), 2);
        sum.refresh();
        QCOMPARE(sum.field(0)->asInteger(), 3);
        QCOMPARE(db.column(q, "Titel"), QStringList({"Der Pate", "Zorro", "Ärger"}));
        QVERIFY(q.locate("Titel", QStringLiteral("Ärger")));
        QCOMPARE(q.recNo(), 3);
    }

    void badInput()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT *", "FROM \"Film\"", "WHERE Titel = = 1"});
        try {
            q.open();
            QFAIL("a malformed statement opened");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrSql));
            QVERIFY2(e.message().contains("(Zeile 3, Spalte 15)"), qPrintable(e.message()));
        }
        q.setSql({"SELECT * FROM \"Kassetten\""});
        QVERIFY_THROWS_EXCEPTION(EngineError, q.open());
        // A file that is no table gives the store's message.
        QFile junk(db.dir.filePath("Junk.DB"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is not a table at all, just some text of sufficient length to look like a file");
        junk.close();
        q.setSql({"SELECT * FROM \"Junk\""});
        try {
            q.open();
            QFAIL("opened a foreign file");
        } catch (const EngineError &e) {
            QVERIFY(e.code() == ErrNotATable || e.code() == ErrGeneral);
        }
        // Nothing stays attached after failures.
        QCOMPARE(db.session.attachedCount(), 0);
        // Relative paths, with or without ".DB".
        q.setSql({"SELECT * FROM \"Film.DB\" F WHERE F.Len > 95"});
        q.open();
        QCOMPARE(q.recordCount(), 2);
    }

    void resultsOfManyRowsReadInBlocks()
    {
        // 300 films on 100 media: a join and a live one-table result read
        // across blocks of rows, in sequence, backwards and at random.
        Db db;
        Table film(&db.session), med(&db.session);
        film.setTableName(db.path("Film"));
        med.setTableName(db.path("Med"));
        film.open();
        med.open();
        {
            Session::Transaction tx(db.session);
            for (int m = 10; m < 110; ++m) {
                enginetest::appendMedium(med, "DVD-R", m, 120);
                for (int f = 1; f <= 3; ++f)
                    enginetest::appendFilm(film, "DVD-R", m, f, QStringLiteral("Film %1-%2").arg(m).arg(f));
            }
            tx.commit();
        }
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT F.Titel, F.FilmNr, M.Nr FROM \"Film\" F, \"Med\" M",
                  "WHERE M.Medium = F.Medium AND M.Nr = F.KassNr AND M.Medium = \"DVD-R\"",
                  "ORDER BY M.Nr DESC, F.FilmNr"});
        q.open();
        // Read on from the first screen of rows before anything counts them.
        for (int r : {0, 47, 48, 49, 127, 128}) {
            const int m = 109 - r / 3, f = 1 + r % 3;
            QCOMPARE(q.valueAt(r, 0).toString(), QStringLiteral("Film %1-%2").arg(m).arg(f));
        }
        QCOMPARE(q.recordCount(), 300);
        int row = 0;
        for (q.first(); !q.eof(); q.next(), ++row) {
            const int m = 109 - row / 3, f = 1 + row % 3;
            QCOMPARE(q.fieldByName("Titel")->asString(), QStringLiteral("Film %1-%2").arg(m).arg(f));
            QCOMPARE(q.fieldByName("Nr")->asInteger(), m);
        }
        for (int r : {299, 0, 128, 127, 256, 255, 1, 47, 48, 49}) {
            const int m = 109 - r / 3, f = 1 + r % 3;
            QCOMPARE(q.valueAt(r, 0).toString(), QStringLiteral("Film %1-%2").arg(m).arg(f));
            QCOMPARE(q.valueAt(r, 1).toInt(), f);
        }
        // Live: an edit in the second block is read back, the row numbers
        // stay (the result is in key order).
        Query live(&db.session);
        live.setDatabaseFolder(db.folder());
        live.setRequestLive(true);
        live.setSql({"SELECT * FROM \"Film\" WHERE Medium = \"DVD-R\""});
        live.open();
        QCOMPARE(live.recordCount(), 300);
        live.setRecNo(200); // DVD-R 76, film 2
        QCOMPARE(live.fieldByName("Titel")->asString(), QStringLiteral("Film 76-2"));
        live.edit();
        live.fieldByName("Titel")->setValue("Geändert");
        live.post();
        QCOMPARE(live.recNo(), 200);
        QCOMPARE(live.valueAt(199, live.fieldByName("Titel")->index()).toString(), QStringLiteral("Geändert"));
        QCOMPARE(live.valueAt(200, live.fieldByName("Titel")->index()).toString(), QStringLiteral("Film 76-3"));
        q.refresh();
        QCOMPARE(q.valueAt(100, 0).toString(), QStringLiteral("Geändert")); // 109 - 100/3 = 76, film 2
    }

    void sqlWritesKeepTheFieldRules_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        // Len and Nr of a medium are 16-bit and required, SN is 32-bit,
        // Wertung of a film is a 16-bit whole number.
        QTest::newRow("16 bit") << QStringList{"UPDATE \"Med\" SET Len = 70000"} << int(ErrInvalidValue)
                                << "Der Wert 70000 liegt außerhalb des zulässigen Bereichs des Feldes \"Len\" (-32768 bis 32767).";
        QTest::newRow("16 bit negative") << QStringList{"UPDATE \"Med\" SET Nr = -40000 WHERE Nr = 2"} << int(ErrInvalidValue)
                                         << "Der Wert -40000 liegt außerhalb des zulässigen Bereichs des Feldes \"Nr\"";
        QTest::newRow("32 bit") << QStringList{"UPDATE \"Med\" SET SN = 3000000000"} << int(ErrInvalidValue)
                                << "Der Wert 3000000000 liegt außerhalb des zulässigen Bereichs des Feldes \"SN\" (-2147483648 bis 2147483647).";
        QTest::newRow("required set empty") << QStringList{"UPDATE \"Med\" SET Len = NULL WHERE Medium = \"DVD\""}
                                            << int(ErrRequired) << "Das Feld \"Len\" muss einen Wert haben.";
        QTest::newRow("required left out") << QStringList{"INSERT INTO \"Med\" (Medium, Nr) VALUES (\"VHS-KK\", 7)"}
                                           << int(ErrRequired) << "Das Feld \"Len\" muss einen Wert haben.";
        QTest::newRow("fraction") << QStringList{"UPDATE \"Film\" SET Wertung = 2.7"} << int(ErrInvalidValue)
                                  << "\"2.7\" ist kein gültiger Wert für das Feld \"Wertung\" (erwartet: eine ganze Zahl).";
        QTest::newRow("computed overflow") << QStringList{"UPDATE \"Film\" SET KassNr = KassNr + 32767"}
                                           << int(ErrInvalidValue) << "Der Wert 32768 liegt außerhalb";
    }

    void sqlWritesKeepTheFieldRules()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, code);
        QFETCH(QString, message);
        Db db;
        const QByteArray medBefore = readBytes(db.path("Med"));
        const QByteArray filmBefore = readBytes(db.path("Film"));
        try {
            db.exec(lines);
            QFAIL("a value against the field rules was stored");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), code);
            QVERIFY2(e.message().startsWith(message), qPrintable(e.message()));
            QVERIFY2(e.message().contains("nichts geändert"), qPrintable(e.message()));
        }
        // Refused whole: the files are as they were.
        QCOMPARE(readBytes(db.path("Med")), medBefore);
        QCOMPARE(readBytes(db.path("Film")), filmBefore);
        // Values inside the rules still go in.
        QCOMPARE(db.exec({"UPDATE \"Med\" SET Len = 32767, SN = -2147483648"}), 3);
        QCOMPARE(db.exec({"UPDATE \"Film\" SET Wertung = 5.0 WHERE Titel = \"Zorro\""}), 1);
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT Wertung * 10 AS W FROM \"Film\" WHERE Titel = \"Zorro\""});
        q.open();
        QCOMPARE(q.fieldByName("W")->asInteger(), 50);
    }

    void textComparesInGermanOrder()
    {
        Db db;
        db.exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel) VALUES (\"DVD\", 2, 1, \"Ödipussi\")"});
        db.exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel) VALUES (\"DVD\", 3, 1, \"Über den Dächern von Nizza\")"});
        db.exec({"INSERT INTO \"Film\" (Medium, KassNr, FilmNr, Titel) VALUES (\"DVD\", 4, 1, \"Urlaub 1998\")"});
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        // Titles: Ärger, Der Pate, Ödipussi, Über den Dächern..., Urlaub 1998, Zorro.
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Titel < \"P\" ORDER BY Titel"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), (QStringList{"Ärger", "Der Pate", "Ödipussi"}));
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Titel BETWEEN \"A\" AND \"E\" ORDER BY Titel"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), (QStringList{"Ärger", "Der Pate"}));
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Titel >= \"U\" ORDER BY Titel"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), (QStringList{"Über den Dächern von Nizza", "Urlaub 1998", "Zorro"}));
        q.setSql({"SELECT MIN(Titel) AS Erster, MAX(Titel) AS Letzter FROM \"Film\" WHERE Titel < \"V\""});
        q.open();
        QCOMPARE(q.fieldByName("Erster")->asString(), QStringLiteral("Ärger"));
        QCOMPARE(q.fieldByName("Letzter")->asString(), QStringLiteral("Urlaub 1998"));
        // Equality stays exact.
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Titel = \"ärger\""});
        q.open();
        QCOMPARE(q.recordCount(), 0);
    }

    void subQueryAsValueGivesOneRow()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Len = (SELECT Len FROM \"Film\" WHERE Titel = \"Zorro\")"});
        q.open();
        QCOMPARE(db.column(q, "Titel"), QStringList{"Zorro"});
        // No row: an empty value.
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Len = (SELECT Len FROM \"Film\" WHERE Titel = \"Nichts\")"});
        q.open();
        QCOMPARE(q.recordCount(), 0);
        // Three films: an error, not the first of them.
        q.setSql({"SELECT Titel FROM \"Film\" WHERE Len = (SELECT Len FROM \"Film\")"});
        try {
            q.open();
            QFAIL("a sub-query of several rows was cut to one");
        } catch (const EngineError &e) {
            QCOMPARE(e.message(), QStringLiteral("Die Unterabfrage liefert mehr als eine Zeile, wo nur ein Wert stehen kann."));
        }
        QCOMPARE(errorCode([&] { db.exec({"UPDATE \"Med\" SET Len = (SELECT Len FROM \"Film\")"}); }), int(ErrSql));
    }

    void messagesSayWhatIsWrong()
    {
        Db db;
        const auto messageOf = [&](const QStringList &lines, bool open) {
            Query q(&db.session);
            q.setDatabaseFolder(db.folder());
            q.setSql(lines);
            try {
                open ? q.open() : void(q.execSQL());
            } catch (const EngineError &e) {
                return e.message();
            }
            return QString();
        };
        QString m = messageOf({"SELECT * FROM"}, true);
        QCOMPARE(m.count("gefunden: Ende der Anweisung"), 1);
        for (const char *word : {"ATTACH", "PRAGMA", "WITH", "DROP"}) {
            m = messageOf({QString::fromLatin1(word) + " \"Med\""}, false);
            QVERIFY2(m.contains(QStringLiteral("Unbekannte Anweisung \"%1\"").arg(QLatin1String(word))), qPrintable(m));
        }
        m = messageOf({"DELETE FROM \"Med\""}, true);
        QCOMPARE(m, QStringLiteral("Diese Anweisung ändert Daten und liefert keine Ergebnismenge; sie muss als Änderung ausgeführt werden, nicht als Abfrage."));
        {
            Query all(&db.session);
            all.setDatabaseFolder(db.folder());
            all.setSql({"SELECT * FROM \"Med\""});
            all.open();
            QCOMPARE(all.recordCount(), 3); // the DELETE given to open deleted nothing
        }
        m = messageOf({"INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"DVD\", 2, 5)"}, false);
        QVERIFY2(m.startsWith("Schlüsselverletzung") && m.contains("(Medium, Nr)"), qPrintable(m));
        // The table cursor names the values.
        Table t(&db.session);
        t.setTableName(db.path("Med"));
        t.open();
        t.append();
        t.fieldByName("Medium")->setValue("DVD");
        t.fieldByName("Nr")->setValue(2);
        t.fieldByName("Len")->setValue(0);
        try {
            t.post();
            QFAIL("a second medium DVD 2 was stored");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrKeyViolation));
            QVERIFY2(e.message().contains("Medium = \"DVD\", Nr = 2"), qPrintable(e.message()));
        }
        t.cancel();
    }

    void sqliteLimitsAndManyNames()
    {
        Db db;
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        // 1,500 columns of one name: Nr, Nr_1, ... Nr_1499, in linear time.
        QStringList cols;
        for (int i = 0; i < 1500; ++i)
            cols << "Nr";
        q.setSql({"SELECT " + cols.join(", ") + " FROM \"Med\""});
        q.open();
        QCOMPARE(q.fieldCount(), 1500);
        QCOMPARE(q.field(1)->fieldName(), QStringLiteral("Nr_1"));
        QCOMPARE(q.field(1499)->fieldName(), QStringLiteral("Nr_1499"));
        q.close();
        // More columns than SQLite can give.
        cols.clear();
        for (int i = 0; i < 2001; ++i)
            cols << "Nr";
        q.setSql({"SELECT " + cols.join(", ") + " FROM \"Med\""});
        QVERIFY_THROWS_EXCEPTION(EngineError, q.open());
        try {
            q.open();
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith("Die Abfrage liefert 2001 Spalten; mehr als"), qPrintable(e.message()));
        }
        // Many parameters: each found by name.
        QStringList terms;
        for (int i = 0; i < 900; ++i)
            terms << QStringLiteral("Nr = :P%1").arg(i);
        q.setSql({"SELECT Nr FROM \"Med\" WHERE " + terms.join(" OR ")});
        QCOMPARE(q.paramCount(), 900);
        for (int i = 0; i < 900; ++i)
            q.paramByName(QStringLiteral("p%1").arg(i)).setAsInteger(i == 899 ? 2 : 100 + i);
        q.open();
        QCOMPARE(q.recordCount(), 1);
        terms.clear();
        for (int i = 0; i < 33000; ++i)
            terms << QStringLiteral("Nr = :P%1").arg(i);
        q.setSql({"SELECT Nr FROM \"Med\" WHERE " + terms.join(" OR ")});
        for (int i = 0; i < q.paramCount(); ++i)
            q.param(i).setAsInteger(i);
        try {
            q.open();
            QFAIL("33,000 parameters were accepted");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith("Die Abfrage hat 33000 verschiedene Parameter; mehr als"), qPrintable(e.message()));
        }
        // More UNION terms than SQLite joins.
        QStringList parts;
        for (int i = 0; i < 501; ++i)
            parts << QStringLiteral("SELECT Nr FROM \"Med\" WHERE Nr = %1").arg(i);
        q.setSql({parts.join(" UNION ")});
        try {
            q.open();
            QFAIL("501 UNION terms were accepted");
        } catch (const EngineError &e) {
            QVERIFY2(e.message().startsWith("Die Abfrage verbindet 501 Teilabfragen mit UNION; mehr als"), qPrintable(e.message()));
        }
    }

    void oneTableComesInTheCursorsKeyOrder()
    {
        // Kinds whose exact order differs from the German one: the rows of a
        // SELECT over one table come as the table cursor shows them (exact
        // order, capitals before small letters, "_" after "Z").
        Db db;
        for (const char *kind : {"dvd", "_X", "Öl", "VHS-KK", "DVD-R"})
            db.exec({QStringLiteral("INSERT INTO \"Med\" (Medium, Nr, Len) VALUES (\"%1\", 1, 0)").arg(QString::fromUtf8(kind))});
        const QStringList expected{"DVD/1", "DVD/2", "DVD-R/1", "VHS-KK/1", "VHS-SB/1", "_X/1", "dvd/1", "Öl/1"};
        Table t(&db.session);
        t.setTableName(db.path("Med"));
        t.open();
        QStringList cursor;
        for (t.first(); !t.eof(); t.next())
            cursor << t.fieldByName("Medium")->asString() + u'/' + t.fieldByName("Nr")->asString();
        QCOMPARE(cursor, expected);
        Query q(&db.session);
        q.setDatabaseFolder(db.folder());
        q.setSql({"SELECT Medium, Nr FROM \"Med\""});
        q.open();
        QStringList rows;
        for (q.first(); !q.eof(); q.next())
            rows << q.fieldByName("Medium")->asString() + u'/' + q.fieldByName("Nr")->asString();
        QCOMPARE(rows, expected);
        // An ORDER BY on a text still sorts in German; the key breaks ties.
        q.setSql({"SELECT Medium, Nr FROM \"Med\" ORDER BY Len"});
        q.open();
        QCOMPARE(db.column(q, "Medium").first(), QStringLiteral("DVD"));
        q.setSql({"SELECT Medium FROM \"Med\" ORDER BY Medium"});
        q.open();
        QCOMPARE(db.column(q, "Medium"), (QStringList{"_X", "dvd", "DVD", "DVD", "DVD-R", "Öl", "VHS-KK", "VHS-SB"}));
    }
};

QTEST_GUILESS_MAIN(TstQuery)
#include "tst_query.moc"
