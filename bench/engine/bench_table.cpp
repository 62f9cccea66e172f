// Table cursor speed on a collection of 25,000 media and 100,000 films, with
// the same reads done by plain SQLite statements for comparison.
#include "bench/common/collection.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <random>
#include <sqlite3.h>

namespace {

benchdata::Collection &collection()
{
    static benchdata::Collection c = benchdata::makeCollection(benchdata::benchMedia());
    return c;
}

// Time per operation of a benchmark that does `ops` of them per iteration.
benchmark::Counter perOp(int ops)
{
    return benchmark::Counter(ops, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The collection's film table, open on its primary index.
struct Films {
    engine::Session session;
    engine::Table table{&session};
    Films()
    {
        table.setTableName(collection().filmPath);
        table.open();
    }
};

sqlite3 *rawOpen(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    engine::registerCollations(db);
    return db;
}

// Every column of the row a plain statement stands on, read as the cursor
// reads a record (texts decoded); a sum, so that nothing is left out.
qint64 readRow(sqlite3_stmt *st)
{
    qint64 sum = 0;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) {
        switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER: sum += sqlite3_column_int64(st, i); break;
        case SQLITE_TEXT: {
            auto p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
            sum += QString::fromUtf8(p, sqlite3_column_bytes(st, i)).size();
            break;
        }
        case SQLITE_BLOB: sum += sqlite3_column_bytes(st, i); break;
        default: break;
        }
    }
    return sum;
}

void BM_OpenFirstFilm(benchmark::State &state)
{
    const auto &c = collection();
    for (auto _ : state) {
        engine::Session s;
        engine::Table t(&s);
        t.setTableName(c.filmPath);
        t.open();
        benchmark::DoNotOptimize(t.fieldByName(QStringLiteral("Titel"))->asString());
    }
}
BENCHMARK(BM_OpenFirstFilm)->Unit(benchmark::kMillisecond);

void BM_OpenFirstFilmRaw(benchmark::State &state)
{
    const auto &c = collection();
    for (auto _ : state) {
        sqlite3 *db = rawOpen(c.filmPath);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM data ORDER BY Medium, KassNr, FilmNr LIMIT 1", -1, &st, nullptr);
        sqlite3_step(st);
        benchmark::DoNotOptimize(sqlite3_column_text(st, 3));
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
}
BENCHMARK(BM_OpenFirstFilmRaw)->Unit(benchmark::kMillisecond);

void BM_WalkAllFilms(benchmark::State &state)
{
    const auto &c = collection();
    Films films;
    engine::Table &t = films.table;
    engine::Field *titel = t.fieldByName(QStringLiteral("Titel"));
    engine::Field *len = t.fieldByName(QStringLiteral("Len"));
    for (auto _ : state) {
        qint64 sum = 0;
        for (t.first(); !t.eof(); t.next()) {
            sum += titel->asString().size() + len->asInteger();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = c.films;
}
BENCHMARK(BM_WalkAllFilms)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WalkAllFilmsRaw(benchmark::State &state)
{
    const auto &c = collection();
    sqlite3 *db = rawOpen(c.filmPath);
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM data ORDER BY Medium, KassNr, FilmNr", -1, &st, nullptr);
        qint64 sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            sum += readRow(st);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_WalkAllFilmsRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SetRangeMediumFilms(benchmark::State &state)
{
    const auto &c = collection();
    Films films;
    engine::Table &t = films.table;
    engine::Field *titel = t.fieldByName(QStringLiteral("Titel"));
    std::mt19937 rng(1);
    for (auto _ : state) {
        int seen = 0;
        for (int i = 0; i < 1000; ++i) {
            int m = int(rng() % unsigned(c.media));
            QVariantList key{benchdata::kindOf(m), benchdata::numberOf(m)};
            t.setRange(key, key);
            for (t.first(); !t.eof(); t.next()) {
                benchmark::DoNotOptimize(titel->asString());
                ++seen;
            }
        }
        if (seen != 4000)
            state.SkipWithError("wrong number of films in the ranges");
    }
    state.counters["per_range_us"] = perOp(1000);
}
BENCHMARK(BM_SetRangeMediumFilms)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LocateRandomFilms(benchmark::State &state)
{
    const auto &c = collection();
    Films films;
    engine::Table &t = films.table;
    std::mt19937 rng(2);
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < 1000; ++i) {
            int m = int(rng() % unsigned(c.media));
            found += t.locate(QStringLiteral("Medium;KassNr;FilmNr"),
                              {benchdata::kindOf(m), benchdata::numberOf(m), int(1 + rng() % 4)});
        }
        if (found != 1000)
            state.SkipWithError("film not found");
    }
    state.counters["per_locate_us"] = perOp(1000);
}
BENCHMARK(BM_LocateRandomFilms)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same films found by their keys on plain SQLite, each record read.
void BM_LocateRandomFilmsRaw(benchmark::State &state)
{
    const auto &c = collection();
    sqlite3 *db = rawOpen(c.filmPath);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM data WHERE Medium = ?1 AND KassNr = ?2 AND FilmNr = ?3", -1, &st,
                       nullptr);
    std::mt19937 rng(2);
    for (auto _ : state) {
        int found = 0;
        qint64 sum = 0;
        for (int i = 0; i < 1000; ++i) {
            int m = int(rng() % unsigned(c.media));
            const QByteArray kind = benchdata::kindOf(m).toUtf8();
            sqlite3_bind_text(st, 1, kind.constData(), int(kind.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, benchdata::numberOf(m));
            sqlite3_bind_int(st, 3, int(1 + rng() % 4));
            if (sqlite3_step(st) == SQLITE_ROW) {
                ++found;
                sum += readRow(st);
            }
            sqlite3_reset(st);
        }
        benchmark::DoNotOptimize(sum);
        if (found != 1000)
            state.SkipWithError("film not found");
    }
    state.counters["per_locate_us"] = perOp(1000);
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_LocateRandomFilmsRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

// Titles of films spread evenly over the key order, for searches by title.
QStringList spreadTitles(int n)
{
    const auto &c = collection();
    sqlite3 *db = rawOpen(c.filmPath);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Titel FROM data ORDER BY Medium, KassNr, FilmNr LIMIT 1 OFFSET ?1", -1, &st,
                       nullptr);
    QStringList titles;
    for (int i = 1; i <= n; ++i) {
        sqlite3_bind_int(st, 1, c.films / (n + 1) * i);
        if (sqlite3_step(st) == SQLITE_ROW)
            titles << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return titles;
}

// Locate on a field without an index, the cursor on the primary order.
void BM_LocateTitle(benchmark::State &state)
{
    Films films;
    engine::Table &t = films.table;
    const QStringList titles = spreadTitles(10);
    t.first();
    for (auto _ : state) {
        int found = 0;
        for (const QString &title : titles)
            found += t.locate(QStringLiteral("Titel"), title);
        if (found != titles.size())
            state.SkipWithError("title not found");
    }
    state.counters["per_locate_us"] = perOp(int(titles.size()));
}
BENCHMARK(BM_LocateTitle)->Unit(benchmark::kMillisecond);

// The first film of a title in key order on plain SQLite, its record read.
void BM_LocateTitleRaw(benchmark::State &state)
{
    sqlite3 *db = rawOpen(collection().filmPath);
    const QStringList titles = spreadTitles(10);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM data WHERE Titel = ?1 ORDER BY Medium, KassNr, FilmNr LIMIT 1", -1,
                       &st, nullptr);
    for (auto _ : state) {
        int found = 0;
        qint64 sum = 0;
        for (const QString &title : titles) {
            const QByteArray t = title.toUtf8();
            sqlite3_bind_text(st, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) == SQLITE_ROW) {
                ++found;
                sum += readRow(st);
            }
            sqlite3_reset(st);
        }
        benchmark::DoNotOptimize(sum);
        if (found != titles.size())
            state.SkipWithError("title not found");
    }
    state.counters["per_locate_us"] = perOp(int(titles.size()));
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_LocateTitleRaw)->Unit(benchmark::kMillisecond);

void BM_RandomRowForGrid(benchmark::State &state)
{
    const auto &c = collection();
    Films films;
    engine::Table &t = films.table;
    std::mt19937 rng(3);
    const int titel = t.fieldByName(QStringLiteral("Titel"))->index();
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(t.valueAt(int(rng() % unsigned(c.films)), titel));
    state.counters["per_row_us"] = perOp(1000);
}
BENCHMARK(BM_RandomRowForGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PostEdits(benchmark::State &state)
{
    const int edits = int(state.range(0));
    const bool oneTransaction = state.range(1) != 0;
    Films films;
    engine::Session &s = films.session;
    engine::Table &t = films.table;
    engine::Field *len = t.fieldByName(QStringLiteral("Len"));
    for (auto _ : state) {
        if (oneTransaction)
            s.startTransaction();
        t.first();
        for (int i = 0; i < edits; ++i) {
            t.edit();
            len->setValue(len->asInteger() + 1);
            t.post();
            t.next();
        }
        if (oneTransaction)
            s.commit();
    }
    state.counters["per_post_us"] = perOp(edits);
}
BENCHMARK(BM_PostEdits)->Args({10000, 1})->Args({100, 0})->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_InsertMediaOneTransaction(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("Med.DB"));
        engine::createTableFile(path, MediaTableDef());
        engine::Session s;
        engine::Table t(&s);
        t.setTableName(path);
        t.open();
        engine::Field *kind = t.fieldByName(QStringLiteral("Medium"));
        engine::Field *nr = t.fieldByName(QStringLiteral("Nr"));
        engine::Field *len = t.fieldByName(QStringLiteral("Len"));
        state.ResumeTiming();
        s.startTransaction();
        for (int m = 0; m < 25000; ++m) {
            t.append();
            kind->setValue(benchdata::kindOf(m));
            nr->setValue(benchdata::numberOf(m));
            len->setValue(240);
            t.post();
        }
        s.commit();
        if (t.recordCount() != 25000)
            state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_InsertMediaOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
