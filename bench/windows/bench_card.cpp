// The medium card on a collection of 20,000 media with 100,000 films: moving
// to the next medium (the card redraws its slots, percentage bar and status
// line), the wheel, and switching the remaining-time filter on and off.
#include "app/settings.h"
#include "data/database.h"
#include "data/recordsql.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "platform/registry.h"
#include "windows/main/mainform.h"
#include "windows/cards/wfilm.h"
#include "windows/tables/tabform.h"
#include "dbui/dbgrid.h"
#include "dbui/dbcombobox.h"
#include "engine/sqlutil.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kMedia = 20000;
constexpr int kFilmsPerMedium = 5;

struct Card {
    QTemporaryDir dir;
    kit::ScriptedPresenter presenter;
    QString base;
    TMainform *form = nullptr;

    Card()
    {
        platform::setUserRegistryFile(dir.filePath(QStringLiteral("config/user.reg")));
        platform::setMachineRegistryFiles(dir.filePath(QStringLiteral("nosys/machine.reg")),
                                          dir.filePath(QStringLiteral("config/machine.reg")));
        InitSettingsDefaults(dir.filePath(QStringLiteral("prog")) + QLatin1Char('/'));
        base = dir.filePath(QStringLiteral("db")) + QLatin1Char('/');
        QDir().mkpath(base + QStringLiteral("DB"));
        engine::createTableFile(MediaTablePath(base), MediaTableDef());
        engine::createTableFile(FilmTablePath(base), FilmTableDef());
        engine::createTableFile(base + QStringLiteral("DB/Pers.DB"), PersonTableDef());
        {
            engine::Table m, f;
            m.setTableName(MediaTablePath(base));
            f.setTableName(FilmTablePath(base));
            m.open();
            f.open();
            engine::Session::Transaction tx(engine::Session::instance());
            recordsql::change(m, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 "
                                                "FROM n WHERE x < %1) INSERT INTO %2 (Medium, Nr, Len) "
                                                "SELECT 'VHS-SB', x, 240 FROM n")
                                     .arg(kMedia)
                                     .arg(recordsql::tableRef(m)));
            recordsql::change(f, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 "
                                                "FROM n WHERE x < %1) INSERT INTO %2 (Medium, KassNr, "
                                                "FilmNr, Titel, Len, LP, Frei) SELECT 'VHS-SB', x / %3 + 1, "
                                                "x % %3 + 1, 'Film ' || x, 30 + x % 20, x % 3 = 0, x % 7 = 0 FROM n")
                                     .arg(kMedia * kFilmsPerMedium - 1)
                                     .arg(recordsql::tableRef(f))
                                     .arg(kFilmsPerMedium));
            tx.commit();
            m.close();
            f.close();
        }
        form = CreateForm<TMainform>();
        Mainform = form;
        OpenDatabaseTablesAtStart(base, base + QStringLiteral("DB/Pers"));
    }
    ~Card()
    {
        CloseDatabaseTables();
        delete form;
    }
};

std::unique_ptr<Card> g_card;

Card &card()
{
    if (!g_card)
        g_card = std::make_unique<Card>();
    return *g_card;
}

void BM_NextMedium(benchmark::State &state)
{
    TMainform &m = *card().form;
    auto *film1 = m.Component<TPZSpeedButton>(QStringLiteral("Film1"));
    m.Table1->first();
    for (auto _ : state) {
        m.Table1->next();
        if (m.Table1->eof())
            m.Table1->first();
        benchmark::DoNotOptimize(film1->Caption());
    }
}
BENCHMARK(BM_NextMedium)->Unit(benchmark::kMicrosecond);

void BM_ShowMediumFilms(benchmark::State &state)
{
    TMainform &m = *card().form;
    m.Table1->first();
    for (auto _ : state)
        m.ShowMediumFilms();
}
BENCHMARK(BM_ShowMediumFilms)->Unit(benchmark::kMicrosecond);

void BM_FilterOnAndCount(benchmark::State &state)
{
    TMainform &m = *card().form;
    m.FilterMinRest = 100;
    m.FilterOnMaxFree = true;
    for (auto _ : state) {
        // Each time from the event loop, as the user switches it: nothing
        // read for the filter before is kept.
        QCoreApplication::processEvents();
        m.Table1->setFiltered(true);
        benchmark::DoNotOptimize(m.Table1->recordCount());
        m.Table1->setFiltered(false);
    }
}
BENCHMARK(BM_FilterOnAndCount)->Unit(benchmark::kMillisecond)->Iterations(3);

// The filter on the remaining time alone, against its SQL form on the same
// connection: every film of a medium from film 1 on, long play at half its
// length, a film of unknown length making the rest 0; media without tape
// arithmetic never pass.
void BM_FilterOnRestAndCount(benchmark::State &state)
{
    TMainform &m = *card().form;
    m.FilterMinRest = 100;
    m.FilterOnMaxFree = false;
    int n = 0;
    for (auto _ : state) {
        QCoreApplication::processEvents();
        m.Table1->setFiltered(true);
        n = m.Table1->recordCount();
        m.Table1->setFiltered(false);
    }
    state.counters["media"] = n;
}
BENCHMARK(BM_FilterOnRestAndCount)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FilterOnRestAndCountPlainSqlite(benchmark::State &state)
{
    TMainform &m = *card().form;
    sqlite3 *db = m.Table1->session().handle();
    const QString sql = QStringLiteral(
        "SELECT count(*) FROM %1 M LEFT JOIN (SELECT Medium, KassNr, "
        "sum(CASE WHEN LP THEN Len / 2 ELSE Len END) AS used, min(coalesce(Len, 0) > 0) AS ok "
        "FROM %2 WHERE FilmNr >= 1 GROUP BY Medium, KassNr) F ON F.Medium = M.Medium AND F.KassNr = M.Nr "
        "WHERE substr(M.Medium, 1, 6) NOT IN ('VHS-KK', 'DVD') "
        "AND CASE WHEN coalesce(F.ok, 1) THEN M.Len - coalesce(F.used, 0) ELSE 0 END >= ?1")
                            .arg(recordsql::tableRef(*m.Table1), recordsql::tableRef(*m.FilmTable));
    int n = 0;
    for (auto _ : state) {
        engine::Stmt st(db, sql);
        st.bind(1, 100);
        st.step();
        n = sqlite3_column_int(st.get(), 0);
    }
    state.counters["media"] = n;
}
BENCHMARK(BM_FilterOnRestAndCountPlainSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening the film card on a film of slot 1 with the title drop-down
// filled (300 of the 100,000 titles start with "Film 1").
void BM_OpenFilmCard(benchmark::State &state)
{
    TMainform &m = *card().form;
    int nr = 1;
    for (auto _ : state) {
        m.Table1->locate(QStringLiteral("Medium;Nr"), QVariantList{QStringLiteral("VHS-SB"), nr});
        m.ShowFilmCard(1, true, false);
        WFilm->DBETitel->setText(QStringLiteral("Film 1"));
        WFilm->DBETitelDropDown();
        benchmark::DoNotOptimize(WFilm->DBETitel->count());
        nr = nr % kMedia + 1;
    }
}
BENCHMARK(BM_OpenFilmCard)->Unit(benchmark::kMillisecond);

// The same reads hand-written on the SQLite connection: the film's row by
// its key and the first 300 matching titles.
void BM_OpenFilmCardPlainSqlite(benchmark::State &state)
{
    TMainform &m = *card().form;
    const QString films = recordsql::tableRef(*m.FilmTable);
    sqlite3 *db = m.FilmTable->session().handle();
    int nr = 1;
    for (auto _ : state) {
        engine::Stmt row(db, QStringLiteral("SELECT * FROM %1 WHERE Medium = ?1 AND KassNr = ?2 AND FilmNr = 1").arg(films));
        row.bind(1, QStringLiteral("VHS-SB"));
        row.bind(2, nr);
        row.step();
        benchmark::DoNotOptimize(row.text(3));
        engine::Stmt titles(db, QStringLiteral("SELECT DISTINCT Titel FROM %1 WHERE UPPER(Titel) LIKE UPPER(?1)").arg(films));
        titles.bind(1, QStringLiteral("Film 1%"));
        QStringList l;
        while (l.size() < 300 && titles.step() == SQLITE_ROW)
            l << titles.text(0);
        benchmark::DoNotOptimize(l.size());
        nr = nr % kMedia + 1;
    }
}
BENCHMARK(BM_OpenFilmCardPlainSqlite)->Unit(benchmark::kMillisecond);

// The table view over the 100,000 films: created on its film page, shown,
// and its first screen of rows painted.
void BM_OpenTableView(benchmark::State &state)
{
    card();
    for (auto _ : state) {
        TTabForm *v = ShowTableView(TTabForm::PageFilms);
        v->DBGrid2->viewport()->repaint();
        benchmark::DoNotOptimize(v->DBGrid2->gridModel()->cachedRowCount());
        delete v;
    }
}
BENCHMARK(BM_OpenTableView)->Unit(benchmark::kMillisecond);

// The same first screen read by hand: the row count and 30 rows of the
// film table in key order.
void BM_OpenTableViewPlainSqlite(benchmark::State &state)
{
    TMainform &m = *card().form;
    const QString films = recordsql::tableRef(*m.FilmTable);
    sqlite3 *db = m.FilmTable->session().handle();
    for (auto _ : state) {
        engine::Stmt count(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(films));
        count.step();
        benchmark::DoNotOptimize(count.text(0));
        engine::Stmt rows(db, QStringLiteral("SELECT * FROM %1 ORDER BY Medium, KassNr, FilmNr LIMIT 30").arg(films));
        QStringList l;
        while (rows.step() == SQLITE_ROW)
            l << rows.text(3);
        benchmark::DoNotOptimize(l.size());
    }
}
BENCHMARK(BM_OpenTableViewPlainSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_card.reset(); // while the application still exists
    return 0;
}
