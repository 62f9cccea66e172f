// Query by example on a collection of 100,000 films: the statement the
// example grid builds, opened through the query object and read to the end,
// beside the same statement written by hand for SQLite (the dialect sorts a
// DISTINCT result by its columns after the ORDER BY list, in the German
// collation, and its UPPER knows every letter; the hand-written one does the
// same).
#include "bench/common/collection.h"
#include "engine/query.h"
#include "engine/sqlfunctions.h"
#include "engine/tablefile.h"
#include "query/qbe.h"
#include "query/querytext.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

benchdata::Collection &collection()
{
    static benchdata::Collection c = benchdata::makeCollection(benchdata::benchMedia());
    return c;
}

// Titles from "M" on or films of exactly 100 minutes, sorted by length.
QStringList qbeLines()
{
    const auto &c = collection();
    query::TQbeGrid g = query::NewQbeGrid(1, {"Medium", "KassNr", "FilmNr", "Titel", "Len", "Kateg"});
    for (QString &s : g.selection)
        s.clear();
    g.selection[3] = "X";
    g.selection[4] = ">";
    g.selection[5] = "X";
    g.rows[1][3] = ">= m";
    g.rows[2][4] = "100";
    return query::BuildQBESelect(g, true, {c.filmPath, c.mediaPath, c.personPath}, {}).lines;
}

void BM_QbeQuery(benchmark::State &state)
{
    engine::Query q;
    q.setSql(qbeLines());
    int rows = 0;
    for (auto _ : state) {
        q.open();
        rows = 0;
        for (q.first(); !q.eof(); q.next(), ++rows)
            for (int i = 0; i < q.fieldCount(); ++i)
                benchmark::DoNotOptimize(q.field(i)->asString());
        q.close();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_QbeQuery)->Unit(benchmark::kMillisecond);

void BM_QbeQueryRaw(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    engine::registerCollations(db);
    // Upper case of every letter (SQLite's own upper() knows only ASCII), as
    // the example grid's statement asks for it.
    engine::sql::registerSqlFunctions(db);
    const QString attach = QStringLiteral("ATTACH '%1' AS f").arg(collection().filmPath);
    sqlite3_exec(db, attach.toUtf8().constData(), nullptr, nullptr, nullptr);
    int rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT DISTINCT Titel, Len, Kateg FROM f.data "
                           "WHERE (tarvo_upper(Titel) COLLATE TARVO_DE >= 'M') OR (Len = 100) "
                           "ORDER BY 2, 1 COLLATE TARVO_DE, 3 COLLATE TARVO_DE",
                           -1, &st, nullptr);
        rows = 0;
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i)
                benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            ++rows;
        }
        sqlite3_finalize(st);
    }
    state.counters["rows"] = rows;
    sqlite3_close(db);
}
BENCHMARK(BM_QbeQueryRaw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
