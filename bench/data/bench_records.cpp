// The record rules on a collection of 20,000 media with 100,000 films: the
// calculated fields of one medium (run for every row a grid or the
// remaining-time filter looks at), the gap search for the next free number,
// and a medium's key change with the rename of its films.
#include "data/locate.h"
#include "data/mediumrecords.h"
#include "data/recordsql.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kMedia = 20000;
constexpr int kFilmsPerMedium = 5;

struct Big {
    QTemporaryDir dir;
    engine::Session session;
    engine::Table Table1{&session}, Table11{&session}, Table2{&session}, filmTable{&session};
    std::unique_ptr<MediumRecords> rec;

    explicit Big(bool acrossAll)
    {
        const QString med = QDir(dir.path()).filePath(MediaTableFile);
        const QString film = QDir(dir.path()).filePath(FilmTableFile);
        engine::createTableFile(med, MediaTableDef(acrossAll));
        engine::createTableFile(film, FilmTableDef(acrossAll));
        engine::Table m(&session), f(&session);
        m.setTableName(med);
        f.setTableName(film);
        m.open();
        f.open();
        engine::Session::Transaction tx(session);
        // Media 1..kMedia alternate between two kinds, each numbered from 1;
        // near the top a medium is missing (a gap the search has to find).
        recordsql::change(m, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                                            "FROM n WHERE x < %1) INSERT INTO %2 (Medium, Nr, Len) "
                                            "SELECT CASE WHEN x % 2 THEN 'VHS-SB' ELSE 'DVD' END, "
                                            "(x + 1) / 2, 240 FROM n WHERE x <> %1 - 100")
                                 .arg(kMedia)
                                 .arg(recordsql::tableRef(m)));
        recordsql::change(f, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 "
                                            "FROM n WHERE x < %1) INSERT INTO %2 (Medium, KassNr, "
                                            "FilmNr, Titel, Len, LP, Frei) SELECT CASE WHEN (x / %3 + 1) % 2 "
                                            "THEN 'VHS-SB' ELSE 'DVD' END, (x / %3 + 2) / 2, x % %3 + 1, "
                                            "'Film ' || x, 30 + x % 50, x % 3 = 0, x % 7 = 0 FROM n")
                                 .arg(kMedia * kFilmsPerMedium - 1)
                                 .arg(recordsql::tableRef(f))
                                 .arg(kFilmsPerMedium));
        tx.commit();
        m.close();
        f.close();

        rec = std::make_unique<MediumRecords>(MainDataSets{&Table1, &Table11, &Table2, &filmTable});
        Table1.setTableName(med);
        Table11.setTableName(med);
        Table2.setTableName(film);
        filmTable.setTableName(film);
        MediumRecords::DeclareMediaCalcFields(Table1);
        MediumRecords::DeclareMediaCalcFields(Table11);
        rec->installEvents();
        Table1.open();
        Table2.open();
        filmTable.open();
        Table11.open();
    }
};

Big &perKind()
{
    static Big b(false);
    return b;
}

void BM_CalcRestAndMaxFree(benchmark::State &state)
{
    Big &b = perKind();
    LocateMedium(MainDataSets{&b.Table1, &b.Table11, &b.Table2, &b.filmTable}, QStringLiteral("VHS-SB"),
                 1234, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.rec->CalcRestAndMaxFree(true));
}
BENCHMARK(BM_CalcRestAndMaxFree);

void BM_RemainingTimeOfEveryMedium(benchmark::State &state)
{
    Big &b = perKind();
    const int col = b.Table11.fieldByName(QStringLiteral("bRest"))->index();
    const int n = b.Table11.recordCount();
    for (auto _ : state)
        for (int row = 0; row < n; ++row)
            benchmark::DoNotOptimize(b.Table11.valueAt(row, col));
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RemainingTimeOfEveryMedium)->Unit(benchmark::kMillisecond);

void BM_GapSearchPerKind(benchmark::State &state)
{
    Big &b = perKind();
    for (auto _ : state) {
        b.rec->gapCache.clear();
        benchmark::DoNotOptimize(b.rec->NextFreeNumber(QStringLiteral("DVD")));
    }
}
BENCHMARK(BM_GapSearchPerKind)->Unit(benchmark::kMillisecond);

void BM_GapSearchAcrossAll(benchmark::State &state)
{
    static Big b(true);
    for (auto _ : state) {
        b.rec->gapCache.clear();
        benchmark::DoNotOptimize(b.rec->NextFreeNumber(QStringLiteral("DVD")));
    }
}
BENCHMARK(BM_GapSearchAcrossAll)->Unit(benchmark::kMillisecond);

void BM_KeyChangeWithFilms(benchmark::State &state)
{
    Big &b = perKind();
    const MainDataSets ds{&b.Table1, &b.Table11, &b.Table2, &b.filmTable};
    LocateMedium(ds, QStringLiteral("DVD"), 2, true);
    int nr = 2; // 2 <-> 30000, with its five films
    for (auto _ : state) {
        const int to = nr == 2 ? 30000 : 2;
        b.Table1.edit();
        b.Table1.fieldByName(QStringLiteral("Nr"))->setAsInteger(to);
        b.Table1.post();
        nr = to;
    }
}
BENCHMARK(BM_KeyChangeWithFilms)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
