// The grid over the 100,000-film table: the first screen after the model
// is put over the open table, and a jump from the top to the last row with
// the screen there filled. Each must stay under 20 ms.
#include "common/collection.h"
#include "dbui/dbgrid.h"
#include "engine/table.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kFilms = 100000; // the collection's default
constexpr int kScreenRows = 40;

const QString &filmTable()
{
    static const benchdata::Collection c = benchdata::makeCollection();
    return c.filmPath;
}

// Reads what the view reads for a screen: every cell's text of the rows.
void showRows(dbui::GridModel &model, int first)
{
    for (int r = first; r < first + kScreenRows && r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            benchmark::DoNotOptimize(model.data(model.index(r, c)));
}

} // namespace

static void BM_GridFirstScreen(benchmark::State &state)
{
    const QString path = filmTable();
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<engine::Table>();
        table->setTableName(path);
        table->setReadOnly(true);
        if (state.range(0) == 1)
            table->setIndexName(QStringLiteral("iTitel"));
        state.ResumeTiming();

        table->open();
        dbui::DataSource source(table.get());
        dbui::GridModel model;
        model.setDataSource(&source);
        showRows(model, 0);
        if (model.rowCount() < kScreenRows || model.allRowsKnown())
            state.SkipWithError("the first screen counted the table");

        state.PauseTiming();
        model.setDataSource(nullptr);
        table.reset();
        state.ResumeTiming();
    }
}
// Argument 0: primary order; 1: title order (the German collation).
BENCHMARK(BM_GridFirstScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

static void BM_GridJumpToLast(benchmark::State &state)
{
    const QString path = filmTable();
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<engine::Table>();
        table->setTableName(path);
        table->setReadOnly(true);
        if (state.range(0) == 1)
            table->setIndexName(QStringLiteral("iTitel"));
        table->open();
        dbui::DataSource source(table.get());
        dbui::GridModel model;
        model.setDataSource(&source);
        showRows(model, 0);
        state.ResumeTiming();

        table->last();
        showRows(model, model.currentRow() - kScreenRows + 1);
        if (model.currentRow() != kFilms - 1)
            state.SkipWithError("not on the last row");

        state.PauseTiming();
        model.setDataSource(nullptr);
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridJumpToLast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first screen through the grid widget over the open table: the grid
// made, bound and painted into an image (most of it is Qt's text drawing).
static void BM_GridViewFirstScreen(benchmark::State &state)
{
    const QString path = filmTable();
    QImage screen(900, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<engine::Table>();
        table->setTableName(path);
        table->setReadOnly(true);
        table->open();
        state.ResumeTiming();

        dbui::DataSource source(table.get());
        dbui::DbGrid grid;
        grid.resize(screen.size());
        grid.setDataSource(&source);
        grid.render(&screen);

        state.PauseTiming();
        grid.setDataSource(nullptr);
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridViewFirstScreen)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    filmTable();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
