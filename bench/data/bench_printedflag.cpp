// Marking 10,000 media printed in one step (the labels of a large query
// result), and asking whether all of them are marked: our key-set statements
// on the table store beside the same work hand-written on plain SQLite, a
// prepared UPDATE per key inside one transaction. The target is under 200 ms
// a step.
#include "data/printedflag.h"
#include "data/recordsql.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kMedia = 10000;

struct Store {
    QTemporaryDir dir;
    engine::Session session;
    engine::Table media{&session};
    TMediumNrPairCollection pairs;

    Store()
    {
        const QString path = QDir(dir.path()).filePath(MediaTableFile);
        engine::createTableFile(path, MediaTableDef());
        media.setTableName(path);
        media.open();
        engine::Session::Transaction tx(session);
        recordsql::change(media, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                                                "WHERE x < %1) INSERT INTO %2 (Medium, Nr, Len, Gedruckt) SELECT "
                                                "CASE WHEN x % 2 THEN 'VHS-SB' ELSE 'DVD' END, (x + 1) / 2, 240, 0 "
                                                "FROM n")
                                     .arg(kMedia)
                                     .arg(recordsql::tableRef(media)));
        tx.commit();
        for (int x = 1; x <= kMedia; ++x)
            pairs.AddPair(x % 2 ? QStringLiteral("VHS-SB") : QStringLiteral("DVD"), (x + 1) / 2);
    }
};

Store &store()
{
    static Store s;
    return s;
}

struct Plain {
    QTemporaryDir dir;
    sqlite3 *db = nullptr;
    Plain()
    {
        sqlite3_open(QDir(dir.path()).filePath(QStringLiteral("plain.db")).toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE Med (Medium TEXT, Nr INTEGER, Len INTEGER, Gedruckt INTEGER, "
                     "PRIMARY KEY (Medium, Nr));"
                     "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 10000) "
                     "INSERT INTO Med SELECT CASE WHEN x % 2 THEN 'VHS-SB' ELSE 'DVD' END, (x + 1) / 2, 240, 0 FROM n;",
                     nullptr, nullptr, nullptr);
    }
    ~Plain() { sqlite3_close(db); }
};

Plain &plain()
{
    static Plain p;
    return p;
}

void BM_MarkPrinted_KeySet(benchmark::State &state)
{
    Store &s = store();
    bool value = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SetPrintedFlag(s.media, {&s.pairs, {}}, value));
        value = !value;
    }
    state.SetItemsProcessed(state.iterations() * kMedia);
}
BENCHMARK(BM_MarkPrinted_KeySet)->Unit(benchmark::kMillisecond);

void BM_MarkPrinted_PlainSqlite(benchmark::State &state)
{
    Plain &p = plain();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(p.db, "UPDATE Med SET Gedruckt = ?1 WHERE Medium = ?2 AND Nr = ?3", -1, &st, nullptr);
    int value = 1;
    for (auto _ : state) {
        sqlite3_exec(p.db, "BEGIN", nullptr, nullptr, nullptr);
        for (int x = 1; x <= kMedia; ++x) {
            sqlite3_bind_int(st, 1, value);
            sqlite3_bind_text(st, 2, x % 2 ? "VHS-SB" : "DVD", -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 3, (x + 1) / 2);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_exec(p.db, "COMMIT", nullptr, nullptr, nullptr);
        value = 1 - value;
    }
    sqlite3_finalize(st);
    state.SetItemsProcessed(state.iterations() * kMedia);
}
BENCHMARK(BM_MarkPrinted_PlainSqlite)->Unit(benchmark::kMillisecond);

void BM_TestAllPrinted_KeySet(benchmark::State &state)
{
    Store &s = store();
    for (auto _ : state)
        benchmark::DoNotOptimize(TestPrintedFlag(s.media, {&s.pairs, {}}, true));
}
BENCHMARK(BM_TestAllPrinted_KeySet)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
