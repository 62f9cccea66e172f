// Every statement of the translator's seed corpus: the program's own
// statements translate and the SQLite text they give prepares; the broken
// ones give a message, never a crash.
#include "sqlsample.h"

#include "fixtureschemas.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/tablefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A corpus file: one statement, its lines separated by line feeds.
bool readStatement(const QString &file, QStringList *lines)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    *lines = QString::fromUtf8(in.readAll()).split(u'\n');
    return true;
}

} // namespace

class TstSqlCorpus : public QObject
{
    Q_OBJECT

private slots:
    void statements_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(TARVO_SOURCE_DIR "/tests/engine/corpus/sqldialect"));
        const QStringList files = dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 50);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }

    void statements()
    {
        QFETCH(QString, file);
        QStringList lines;
        QVERIFY(readStatement(file, &lines));
        const bool bad = QFileInfo(file).fileName().startsWith(QLatin1String("bad-"));

        const QList<engine::sql::TableInfo> tables = sampleTables(QStringLiteral("/corpus"));
        sqlite3 *db = openSampleDatabase(tables);
        const engine::sql::TranslateContext ctx = sampleContext(tables, QStringLiteral("/corpus"));
        QString error;
        engine::sql::Translation t;
        try {
            t = engine::sql::translate(lines, ctx);
        } catch (const engine::sql::SqlError &e) {
            error = e.message();
        }
        if (bad) {
            QVERIFY2(!error.isEmpty(), "a broken statement translated");
            QVERIFY(error.contains(QLatin1String("Zeile")) || error.contains(QLatin1String("leer")));
        } else {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            if (!t.sql.isEmpty()) {
                sqlite3_stmt *st = nullptr;
                const int rc = sqlite3_prepare_v2(db, t.sql.toUtf8().constData(), -1, &st, nullptr);
                QVERIFY2(rc == SQLITE_OK, qPrintable(t.sql + QStringLiteral("\n") + QString::fromUtf8(sqlite3_errmsg(db))));
                QCOMPARE(sqlite3_bind_parameter_count(st), int(t.params.size()));
                if (t.kind == engine::sql::StatementKind::Select)
                    QVERIFY(sqlite3_stmt_readonly(st));
                sqlite3_finalize(st);
            }
        }
        sqlite3_close(db);
    }

    // The same statements through the query object on the program's own
    // table files.
    void throughQuery_data() { statements_data(); }

    void throughQuery()
    {
        QFETCH(QString, file);
        QStringList lines;
        QVERIFY(readStatement(file, &lines));
        const bool bad = QFileInfo(file).fileName().startsWith(QLatin1String("bad-"));
        QTemporaryDir dir;
        engine::createTableFile(dir.filePath("Med.DB"), enginetest::mediaDef());
        engine::createTableFile(dir.filePath("Film.DB"), enginetest::filmDef());
        engine::createTableFile(dir.filePath("Pers.DB"), enginetest::personDef());
        engine::createTableFile(dir.filePath("LAB.DB"), enginetest::captionDef());
        engine::Session session;
        engine::Query q(&session);
        q.setDatabaseFolder(dir.path());
        q.setSql(lines);
        for (int i = 0; i < q.paramCount(); ++i) {
            engine::Param &p = q.param(i);
            switch (sampleParamType(p.name())) {
            case ValueType::Boolean: p.setAsBoolean(false); break;
            case ValueType::Integer: p.setAsInteger(1); break;
            case ValueType::Date: p.setAsDate(QDate(2024, 2, 1)); break;
            default: p.setAsString(QStringLiteral("%a%")); break;
            }
        }
        try {
            if (engine::sql::statementKind(lines) == engine::sql::StatementKind::Select) {
                q.open();
                QVERIFY(q.recordCount() <= 1); // empty tables: at most the row of an aggregate
                q.close();
            } else {
                QVERIFY(q.execSQL() <= 1);
            }
            QVERIFY2(!bad, "a broken statement ran");
        } catch (const engine::EngineError &e) {
            QVERIFY2(bad, qPrintable(e.message()));
        }
        QCOMPARE(session.attachedCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TstSqlCorpus)
#include "tst_sqlcorpus.moc"
