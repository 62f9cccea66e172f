// Every statement of the translator's seed corpus: the program's own
// statements translate and the SQLite text they give prepares; the broken
// ones give a message, never a crash.
#include "sqlsample.h"

#include <QDir>
#include <QFile>
#include <QtTest>

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
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
        const bool bad = QFileInfo(file).fileName().startsWith(QLatin1String("bad-"));

        const QList<engine::sql::TableInfo> tables = sampleTables(QStringLiteral("/corpus"));
        sqlite3 *db = openSampleDatabase(tables);
        engine::sql::TranslateContext ctx;
        ctx.databaseFolder = QStringLiteral("/corpus");
        ctx.resolver = [&](const QString &p) -> const engine::sql::TableInfo * {
            for (const auto &t : tables)
                if (t.filePath == p)
                    return &t;
            return nullptr;
        };
        ctx.paramType = sampleParamType;
        ctx.textCollation = QStringLiteral("TARVO_DE");
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
};

QTEST_GUILESS_MAIN(TstSqlCorpus)
#include "tst_sqlcorpus.moc"
