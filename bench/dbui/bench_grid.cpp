// The grid over the 100,000-film table: the first screen after the model
// is put over the open table, and a jump from the top to the last row with
// the screen there filled. Each must stay under 20 ms.
#include "data/tableschemas.h"
#include "dbui/gridmodel.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace {

constexpr int kFilms = 100000;
constexpr int kScreenRows = 40;

// The collection, written once straight through SQL (the data sets would
// post film by film).
struct Collection
{
    QTemporaryDir dir;
    QString path;

    Collection()
    {
        path = dir.filePath(FilmTableFile);
        engine::createTableFile(path, FilmTableDef());
        engine::Session &s = engine::Session::instance();
        auto file = s.attach(path);
        const QString table = engine::Session::sqlTableName(*file);
        s.startTransaction();
        const QByteArray sql =
            QStringLiteral("INSERT INTO %1 (Medium, KassNr, FilmNr, Titel, Untertitel, Len, LP, MW, Frei, "
                           "Ton, Kateg, Wertung, Free1, Free2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                .arg(table)
                .toUtf8();
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(s.handle(), sql.constData(), int(sql.size()), &st, nullptr);
        static const char *kinds[] = {"VHS-SB", "VHS-KK", "DVD"};
        for (int i = 0; i < kFilms; ++i) {
            const QByteArray kind = kinds[i % 3];
            const QByteArray title = QStringLiteral("Film Nummer %1 der Sammlung").arg(i).toUtf8();
            const QByteArray sub = QStringLiteral("Teil %1").arg(i % 7).toUtf8();
            const QByteArray free1 = QStringLiteral("Regie %1").arg(i % 500).toUtf8();
            const QByteArray free2 = QStringLiteral("Darsteller %1").arg(i % 900).toUtf8();
            sqlite3_bind_text(st, 1, kind.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, i / 5 + 1);
            sqlite3_bind_int(st, 3, i % 5 + 1);
            sqlite3_bind_text(st, 4, title.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 5, sub.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 6, 60 + i % 120);
            sqlite3_bind_int(st, 7, i % 2);
            sqlite3_bind_int(st, 8, i % 3 == 0);
            sqlite3_bind_int(st, 9, 0);
            sqlite3_bind_text(st, 10, "S", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 11, "1", -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 12, i % 6);
            sqlite3_bind_text(st, 13, free1.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 14, free2.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        s.commit();
        s.release(file);
    }
};

Collection &collection()
{
    static Collection c;
    return c;
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
    const QString path = collection().path;
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
        if (model.rowCount() != kFilms)
            state.SkipWithError("wrong row count");

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
    const QString path = collection().path;
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

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    collection();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
