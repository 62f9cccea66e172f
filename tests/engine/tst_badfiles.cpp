// Files that are not (or no longer) our tables: each gives an EngineError with
// a German text, never a crash, and the file stays byte for byte as it was.
#include "enginetest.h"
#include "platform/textfile.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <unistd.h>

using namespace engine;
using namespace enginetest;

namespace {

QByteArray readAll(const QString &path) { return platform::readFileBytes(path).value_or(QByteArray()); }
void writeAll(const QString &path, const QByteArray &bytes) { QVERIFY(platform::writeFileBytes(path, bytes)); }

QString goodTable(const QTemporaryDir &dir, int rows)
{
    QString path = newTable(dir, QStringLiteral("Gut.DB"), filmDef());
    Session s;
    Table t(&s);
    openTable(t, path);
    Session::Transaction tx(s);
    for (int i = 1; i <= rows; ++i) {
        appendFilm(t, QStringLiteral("VHS-SB"), i, 1, QStringLiteral("Titel %1").arg(i));
        t.edit();
        t.fieldByName(QStringLiteral("Memo"))->setValue(QString(300, QLatin1Char('m')));
        t.post();
    }
    tx.commit();
    t.close();
    QFile::remove(TableFile::lockFilePath(path));
    return path;
}

} // namespace

class TstBadFiles : public QObject
{
    Q_OBJECT
private slots:
    void openingIsRefusedAndTheFileUntouched_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::newRow("leer") << QByteArray() << int(ErrNotATable);
        QTest::newRow("Textdatei") << QByteArray("Medium;Nr\r\nVHS-SB;1\r\n") << int(ErrNotATable);
        QByteArray px(2048 + 2048, '\0');
        px[0] = char(0x2A);
        px[2] = 0x00;
        px[3] = 0x08;  // header of 0x800 bytes
        px[4] = 0x00;  // indexed table
        px[0x39] = 0x0C;
        QTest::newRow("Paradox") << px << int(ErrOldParadox);
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("Zufallsbytes") << noise << int(ErrPassword);
        QTest::newRow("nur Kopf") << QByteArray("SQLite format 3\0", 16) << int(ErrNotATable);
        // A text of 2 KB is no protected table: no password is asked for it.
        QByteArray text;
        while (text.size() < 2048)
            text += "Medium;Nr;Len\r\n";
        QTest::newRow("Text von 2 KB") << text.left(2048) << int(ErrNotATable);
    }

    void openingIsRefusedAndTheFileUntouched()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("Film.DB"));
        writeAll(path, bytes);
        Session s;
        Table t(&s);
        t.setTableName(path);
        try {
            t.open();
            QFAIL("opened");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), code);
            QVERIFY(e.message().contains(QStringLiteral("Film.DB")));
        }
        QVERIFY(!t.active());
        QCOMPARE(readAll(path), bytes);
        QCOMPARE(s.attachedCount(), 0);
    }

    void filesThatAreNoTablesAreNamedForWhatTheyAre()
    {
        QTemporaryDir dir;
        Session s;
        Table t(&s);
        const auto messageOf = [&](const QString &path) {
            t.setTableName(path);
            try {
                t.open();
            } catch (const EngineError &e) {
                return e.message();
            }
            return QString();
        };
        const QString device = dir.filePath(QStringLiteral("Null.DB"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), device));
        QVERIFY2(messageOf(device).contains(QStringLiteral("ist keine gewöhnliche Datei")), qPrintable(messageOf(device)));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Ordner.DB")));
        QVERIFY(messageOf(dir.filePath(QStringLiteral("Ordner.DB"))).contains(QStringLiteral("ist keine gewöhnliche Datei")));
        bool password = false;
        s.onPassword = [&](const QString &, QString &) { return password = true, false; };
        const QString text = dir.filePath(QStringLiteral("Text.DB"));
        writeAll(text, QByteArray(1024, 'x'));
        QVERIFY(messageOf(text).contains(QStringLiteral("keine Tarvo-Tabelle")));
        QVERIFY(!password);
        if (::geteuid() != 0) { // the super-user reads everything
            const QString locked = goodTable(dir, 3);
            QFile::setPermissions(locked, QFileDevice::WriteOwner);
            QCOMPARE(messageOf(locked), QStringLiteral("Die Tabelle \"%1\" lässt sich nicht lesen: es fehlt die Leseberechtigung.").arg(locked));
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }

    void missingTable()
    {
        QTemporaryDir dir;
        Session s;
        Table t(&s);
        t.setTableName(dir.filePath(QStringLiteral("Fehlt.DB")));
        QCOMPARE(errorCode([&] { t.open(); }), int(ErrNotFound));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Fehlt.DB"))));
    }

    void foreignSqliteDatabase()
    {
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("Fremd.DB"));
        {
            Session s;
            // A valid SQLite file that is not one of our tables.
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            sqlite3_exec(db, "CREATE TABLE data(x); INSERT INTO data VALUES(1);", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        QByteArray before = readAll(path);
        Session s;
        Table t(&s);
        t.setTableName(path);
        QCOMPARE(errorCode([&] { t.open(); }), int(ErrNotATable));
        QCOMPARE(readAll(path), before);
    }

    void tableCarryingCodeIsRefused_data()
    {
        QTest::addColumn<QByteArray>("schema");
        QTest::newRow("trigger") << QByteArray("CREATE TRIGGER wipe AFTER UPDATE ON data BEGIN DELETE FROM data; END;");
        QTest::newRow("view") << QByteArray("CREATE VIEW alles AS SELECT * FROM data;");
        QTest::newRow("foreign table") << QByteArray("CREATE TABLE notiz(x);");
        QTest::newRow("index on a foreign table") << QByteArray("CREATE TABLE notiz(x); CREATE INDEX ix_notiz ON notiz(x);");
    }

    void tableCarryingCodeIsRefused()
    {
        QFETCH(QByteArray, schema);
        QTemporaryDir dir;
        const QString path = goodTable(dir, 20);
        {
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            QCOMPARE(sqlite3_exec(db, schema.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        const QByteArray before = readAll(path);
        Session s;
        Table t(&s);
        t.setTableName(path);
        try {
            t.open();
            QFAIL("a table file with foreign parts was opened");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrNotATable));
            QVERIFY2(e.message().contains(QStringLiteral("beschädigt: die Datei enthält fremde Bestandteile")),
                     qPrintable(e.message()));
        }
        QCOMPARE(s.attachedCount(), 0);
        QCOMPARE(readAll(path), before);
    }

    void truncatedTable()
    {
        QTemporaryDir dir;
        QString path = goodTable(dir, 400);
        QByteArray whole = readAll(path);
        QByteArray half = whole.left(whole.size() / 2);
        writeAll(path, half);
        Session s;
        Table t(&s);
        t.setTableName(path);
        try {
            t.open();
            QFAIL("opened");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), int(ErrNotATable));
            QVERIFY(e.message().contains(QStringLiteral("beschädigt")));
        }
        QCOMPARE(readAll(path), half);
    }

    void damagedPagesGiveErrorsNotCrashes()
    {
        QTemporaryDir dir;
        QString path = goodTable(dir, 400);
        QByteArray bytes = readAll(path);
        // Overwrite pages in the middle with garbage, keeping the size.
        for (qint64 i = bytes.size() / 3; i < bytes.size() * 2 / 3; ++i)
            bytes[i] = char(i * 31 % 256);
        writeAll(path, bytes);
        Session s;
        Table t(&s);
        t.setTableName(path);
        int errors = 0;
        try {
            t.open();
            for (t.first(); !t.eof(); t.next())
                t.fieldByName(QStringLiteral("Memo"))->asString();
            t.setIndexName(QStringLiteral("iTitel"));
            t.locate(QStringLiteral("Titel"), QStringLiteral("Titel 300"));
        } catch (const EngineError &e) {
            ++errors;
            QVERIFY(!e.message().isEmpty());
        }
        QVERIFY(errors > 0);
        QCOMPARE(readAll(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TstBadFiles)
#include "tst_badfiles.moc"
