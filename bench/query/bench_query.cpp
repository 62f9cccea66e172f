// The query window and the quick search on a collection of 100,000 films:
// the window's join opened with its first screen drawn, beside the query
// object alone and the same join written by hand for SQLite; the quick
// search's four statements, beside the same four written by hand.
#include "app/settings.h"
#include "bench/common/collection.h"
#include "data/database.h"
#include "dbui/dbgrid.h"
#include "engine/query.h"
#include "engine/sqlfunctions.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/scriptedpresenter.h"
#include "query/querytext.h"
#include "query/quicksearch.h"
#include "windows/queries/queryform.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct World {
    benchdata::Collection c = benchdata::makeCollection();
    engine::Table media, films, persons;
    kit::ScriptedPresenter presenter;
    World()
    {
        media.setTableName(c.mediaPath);
        films.setTableName(c.filmPath);
        persons.setTableName(c.personPath);
        DBTables.Table1 = &media;
        DBTables.Table2 = &films;
        DBTables.PersTable = &persons;
        DBBase = c.folder.left(c.folder.lastIndexOf(u'/') + 1);
        kit::setPresenter(&presenter);
        // As in the program, the collection's tables are open while queries run.
        media.open();
        films.open();
        persons.open();
    }
    ~World()
    {
        DBTables = {};
        kit::setPresenter(nullptr);
    }
};

World &world()
{
    static World w;
    return w;
}

const QStringList kJoin = {"SELECT * FROM FILM F, MED M", "WHERE M.Medium = F.Medium AND M.Nr = F.KassNr"};

sqlite3 *rawOpen()
{
    const auto &c = world().c;
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    engine::registerCollations(db);
    for (const auto &[path, name] : {std::pair{c.filmPath, "f"}, {c.mediaPath, "m"}, {c.personPath, "p"}}) {
        const QString attach = QStringLiteral("ATTACH '%1' AS %2").arg(path, QLatin1String(name));
        sqlite3_exec(db, attach.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    return db;
}

int readRows(sqlite3_stmt *st, int limit)
{
    int rows = 0;
    const int n = sqlite3_column_count(st);
    while ((limit < 0 || rows < limit) && sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
        ++rows;
    }
    return rows;
}

// The query window shown, with an image of its grid's size to draw into.
TQueryForm *shownQueryWindow(QImage &screen)
{
    world();
    TQueryForm *f = EnsureQueryForm();
    f->resize(1000, 700);
    f->show();
    screen = QImage(f->DBGrid1->size(), QImage::Format_ARGB32);
    return f;
}

// The join run in the window and its first screen drawn.
void runJoin(TQueryForm *f, QImage &screen)
{
    f->Query1->close();
    f->Query1->setSql(kJoin);
    f->RunQuery();
    f->DBGrid1->render(&screen);
}

// The query window: macro step, open, the grid's first screen painted.
void BM_QueryWindowJoin(benchmark::State &state)
{
    QImage screen;
    TQueryForm *f = shownQueryWindow(screen);
    for (auto _ : state)
        runJoin(f, screen);
    state.counters["rows"] = f->Query1->recordCount();
    f->close();
    delete QueryForm;
}
BENCHMARK(BM_QueryWindowJoin)->Unit(benchmark::kMillisecond);

// The statement alone through the query object, its first 40 rows read.
void BM_QueryJoinStatement(benchmark::State &state)
{
    world();
    engine::Query q;
    q.setSql(query::ExpandQueryMacros(kJoin, TQueryForm::Tables(), {}));
    for (auto _ : state) {
        q.open();
        for (int i = 0; i < 40 && !q.eof(); ++i, q.next())
            for (int c = 0; c < q.fieldCount(); ++c)
                benchmark::DoNotOptimize(q.field(c)->asString());
        q.close();
    }
}
BENCHMARK(BM_QueryJoinStatement)->Unit(benchmark::kMillisecond);

void BM_QueryJoinRaw(benchmark::State &state)
{
    sqlite3 *db = rawOpen();
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT * FROM f.data F, m.data M WHERE M.Medium = F.Medium AND M.Nr = F.KassNr "
                           "ORDER BY F.Medium, F.KassNr, F.FilmNr",
                           -1, &st, nullptr);
        readRows(st, 40);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_QueryJoinRaw)->Unit(benchmark::kMillisecond);


// Ctrl+End in the window over the join: the grid learns every row and draws
// the last screen.
void BM_QueryWindowJoinToEnd(benchmark::State &state)
{
    QImage screen;
    TQueryForm *f = shownQueryWindow(screen);
    for (auto _ : state) {
        runJoin(f, screen);
        QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::sendEvent(f->DBGrid1, &end);
        f->DBGrid1->render(&screen);
    }
    if (f->Query1->recNo() != f->Query1->recordCount())
        state.SkipWithError("not on the last row");
    f->close();
    delete QueryForm;
}
BENCHMARK(BM_QueryWindowJoinToEnd)->Unit(benchmark::kMillisecond);

// By hand: the statement stepped to its end for the count, then the last 40
// rows read.
void BM_QueryJoinRawToEnd(benchmark::State &state)
{
    sqlite3 *db = rawOpen();
    const char *sql = "SELECT * FROM f.data F, m.data M WHERE M.Medium = F.Medium AND M.Nr = F.KassNr "
                      "ORDER BY F.Medium, F.KassNr, F.FilmNr";
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(st);
        const QByteArray last = QByteArray(sql) + " LIMIT 40 OFFSET " + QByteArray::number(std::max(0, rows - 40));
        sqlite3_prepare_v2(db, last.constData(), -1, &st, nullptr);
        readRows(st, 40);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_QueryJoinRawToEnd)->Unit(benchmark::kMillisecond);

// The quick search: the three lists opened and counted, the details query
// prepared, as the main window does it.
void BM_QuickSearch(benchmark::State &state)
{
    world();
    const query::QueryTables t = TQueryForm::Tables();
    const auto p = query::QuickSearchParamsFor(QStringLiteral("zorro"), {});
    engine::Query film, detail, media, persons;
    film.setSql(query::QuerySSFilmLines(SQLTableRef(t.film)));
    detail.setSql(query::QuerySSFilmDetailLines(SQLTableRef(t.film)));
    media.setSql(query::QuerySSKassLines(SQLTableRef(t.media)));
    persons.setSql(query::QuerySSPersLines(SQLTableRef(t.person)));
    int hits = 0;
    for (auto _ : state) {
        for (engine::Query *q : {&film, &detail, &media, &persons}) {
            query::ApplyQuickSearchParams(*q, p);
            q->open();
            hits += q->recordCount();
            q->close();
        }
    }
    state.counters["hits"] = benchmark::Counter(hits, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_QuickSearch)->Unit(benchmark::kMillisecond);

QString rawFilmCondition(int freeFields)
{
    QString c = QStringLiteral("WHERE ((?1 = 1 AND (KassNr = ?2 OR FilmNr = ?2 OR Len = ?2)) "
                               "OR upper(Medium) LIKE upper(?3) OR upper(Titel) LIKE upper(?3) "
                               "OR upper(Untertitel) LIKE upper(?3)");
    for (int i = 1; i <= freeFields; ++i)
        c += QStringLiteral(" OR upper(Free%1) LIKE upper(?3)").arg(i);
    return c + QStringLiteral(" OR Memo GLOB ?5 OR (?4 = 1 AND Kateg = ?6))");
}

void BM_QuickSearchRaw(benchmark::State &state)
{
    sqlite3 *db = rawOpen();
    const QString cond = rawFilmCondition(15);
    QString media = QStringLiteral("SELECT * FROM m.data WHERE (?1 = 1 AND (Nr = ?2 OR Len = ?2)) "
                                   "OR upper(Medium) LIKE upper(?3) OR upper(Verliehen) LIKE upper(?3)");
    for (int i = 1; i <= 5; ++i)
        media += QStringLiteral(" OR upper(Free%1) LIKE upper(?3)").arg(i);
    media += QStringLiteral(" OR Memo GLOB ?5 ORDER BY Medium COLLATE TARVO_DE, Nr");
    QString persons = QStringLiteral("SELECT * FROM p.data WHERE upper(Name) LIKE upper(?3)");
    for (int i = 1; i <= 7; ++i)
        persons += QStringLiteral(" OR upper(Free%1) LIKE upper(?3)").arg(i);
    persons += QStringLiteral(" OR upper(MF) = upper(?3) OR Memo GLOB ?5 ORDER BY Name COLLATE TARVO_DE");
    const QList<QByteArray> sql = {
        QStringLiteral("SELECT coalesce(Titel,'') || ' - ' || coalesce(Untertitel,''), Medium, KassNr, FilmNr "
                       "FROM f.data %1 AND Untertitel IS NOT NULL AND substr(Untertitel,1,1) <> '>' "
                       "UNION SELECT substr(coalesce(Titel,'') || coalesce(substr(Untertitel,2),''),1,83), "
                       "Medium, KassNr, FilmNr FROM f.data %1 AND (Untertitel IS NULL OR substr(Untertitel,1,1) = '>') "
                       "ORDER BY 1 COLLATE TARVO_DE, 2 COLLATE TARVO_DE, 3, 4")
            .arg(cond)
            .toUtf8(),
        QStringLiteral("SELECT * FROM f.data %1 ORDER BY Medium COLLATE TARVO_DE, KassNr, FilmNr")
            .arg(rawFilmCondition(12))
            .toUtf8(),
        media.toUtf8(), persons.toUtf8()};
    int hits = 0;
    for (auto _ : state) {
        for (const QByteArray &s : sql) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
            const int n = sqlite3_bind_parameter_count(st);
            if (n >= 1)
                sqlite3_bind_int(st, 1, 0);
            if (n >= 2)
                sqlite3_bind_int(st, 2, 0);
            sqlite3_bind_text(st, 3, "%zorro%", -1, SQLITE_STATIC);
            if (n >= 4)
                sqlite3_bind_int(st, 4, 0);
            sqlite3_bind_text(st, 5, "*zorro*", -1, SQLITE_STATIC);
            if (n >= 6)
                sqlite3_bind_text(st, 6, "", -1, SQLITE_STATIC);
            // The window counts the rows of each list: all are read.
            hits += readRows(st, -1);
            sqlite3_finalize(st);
        }
    }
    state.counters["hits"] = benchmark::Counter(hits, benchmark::Counter::kAvgIterations);
    sqlite3_close(db);
}
BENCHMARK(BM_QuickSearchRaw)->Unit(benchmark::kMillisecond);

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
