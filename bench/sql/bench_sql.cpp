// The local SQL dialect on a collection of 100,000 films: the quick search's
// UNION and title searches (UPPER(..) LIKE UPPER(..), and LIKE) through the
// query object, each against the same query written by hand for plain
// SQLite; and the translation of a 20-line statement on its own.
#include "bench/common/collection.h"
#include "data/tableschemas.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/sqldialect.h"
#include "engine/sqlfunctions.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

benchdata::Collection &collection()
{
    static benchdata::Collection c = benchdata::makeCollection(benchdata::benchMedia());
    return c;
}

QString quoted(const QString &path)
{
    return u'"' + path + u'"';
}

// The quick search over films (both halves of the UNION).
QStringList quickSearchLines(const QString &filmPath)
{
    QStringList cond = {"WHERE (((:AuchInt = TRUE) AND (KassNr = :W OR FilmNr = :W OR Len = :W))",
                        "OR UPPER(Medium) LIKE UPPER(:N1) OR UPPER(Titel) LIKE UPPER(:N1)",
                        "OR UPPER(Untertitel) LIKE UPPER(:N1)"};
    for (int i = 1; i <= 15; ++i)
        cond << QStringLiteral("OR UPPER(Free%1) LIKE UPPER(:N1)").arg(i);
    cond << "OR Memo LIKE :N1" << "OR ((:Kategsuche = TRUE) AND (Kateg = :Kateg)))";
    QStringList q = {"SELECT Titel + \" - \" + Untertitel AS Titel, Medium, KassNr, FilmNr", "FROM " + quoted(filmPath)};
    q << cond << "AND Untertitel IS NOT NULL AND SUBSTRING(Untertitel FROM 1 FOR 1) <> \">\"" << "UNION"
      << "SELECT CAST(Titel + SUBSTRING(Untertitel FROM 2) AS CHAR(83)), Medium, KassNr, FilmNr"
      << "FROM " + quoted(filmPath) << cond << "AND (Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1) = \">\")";
    return q;
}

QString rawQuickSearch()
{
    QString cond = QStringLiteral("WHERE ((?1 = 1 AND (KassNr = ?2 OR FilmNr = ?2 OR Len = ?2)) "
                                  "OR upper(Medium) LIKE upper(?3) OR upper(Titel) LIKE upper(?3) "
                                  "OR upper(Untertitel) LIKE upper(?3)");
    for (int i = 1; i <= 15; ++i)
        cond += QStringLiteral(" OR upper(Free%1) LIKE upper(?3)").arg(i);
    cond += QStringLiteral(" OR Memo GLOB ?5 OR (?4 = 1 AND Kateg = ?6))");
    return QStringLiteral("SELECT coalesce(Titel,'') || ' - ' || coalesce(Untertitel,''), Medium, KassNr, FilmNr "
                          "FROM f.data %1 AND Untertitel IS NOT NULL AND substr(Untertitel,1,1) <> '>' "
                          "UNION SELECT substr(coalesce(Titel,'') || coalesce(substr(Untertitel,2),''),1,83), "
                          "Medium, KassNr, FilmNr FROM f.data %1 AND (Untertitel IS NULL OR substr(Untertitel,1,1) = '>') "
                          "ORDER BY 1 COLLATE TARVO_DE, 2 COLLATE TARVO_DE, 3, 4")
        .arg(cond);
}

sqlite3 *rawOpen(const QString &filmPath)
{
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    engine::registerCollations(db);
    const QString attach = QStringLiteral("ATTACH '%1' AS f").arg(filmPath);
    sqlite3_exec(db, attach.toUtf8().constData(), nullptr, nullptr, nullptr);
    return db;
}

// The collection's tables open on a session, as the program has them while
// queries run (attached, their pages cached).
struct OpenTables {
    engine::Table films, media;
    explicit OpenTables(engine::Session &s) : films(&s), media(&s)
    {
        films.setTableName(collection().filmPath);
        media.setTableName(collection().mediaPath);
        films.open();
        media.open();
    }
};

int readAll(sqlite3_stmt *st)
{
    int rows = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i)
            benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
        ++rows;
    }
    return rows;
}

int readAll(engine::Query &q)
{
    int rows = 0;
    for (q.first(); !q.eof(); q.next()) {
        for (int i = 0; i < q.fieldCount(); ++i)
            benchmark::DoNotOptimize(q.field(i)->asString());
        ++rows;
    }
    return rows;
}

void openAndReadAll(benchmark::State &state, engine::Query &q)
{
    int rows = 0;
    for (auto _ : state) {
        q.open();
        rows = readAll(q);
        q.close();
    }
    state.counters["rows"] = rows;
}

void BM_QuickSearchQuery(benchmark::State &state)
{
    const auto &c = collection();
    engine::Session s;
    engine::Query q(&s);
    q.setSql(quickSearchLines(c.filmPath));
    q.paramByName("AuchInt").setAsBoolean(false);
    q.paramByName("W").setAsInteger(0);
    q.paramByName("N1").setAsString("%Zorro 7%");
    q.paramByName("Kategsuche").setAsBoolean(false);
    q.paramByName("Kateg").setAsString("");
    openAndReadAll(state, q);
}
BENCHMARK(BM_QuickSearchQuery)->Unit(benchmark::kMillisecond);

void BM_QuickSearchRaw(benchmark::State &state)
{
    const auto &c = collection();
    sqlite3 *db = rawOpen(c.filmPath);
    const QByteArray sql = rawQuickSearch().toUtf8();
    int rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        sqlite3_bind_int(st, 1, 0);
        sqlite3_bind_int(st, 2, 0);
        sqlite3_bind_text(st, 3, "%Zorro 7%", -1, SQLITE_STATIC);
        sqlite3_bind_int(st, 4, 0);
        sqlite3_bind_text(st, 5, "*Zorro 7*", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, "", -1, SQLITE_STATIC);
        rows = readAll(st);
        sqlite3_finalize(st);
    }
    state.counters["rows"] = rows;
    sqlite3_close(db);
}
BENCHMARK(BM_QuickSearchRaw)->Unit(benchmark::kMillisecond);

// The query window's join of films and media, opened and its first screen
// of rows read, as the grid shows it.
void BM_JoinFirstScreen(benchmark::State &state)
{
    const auto &c = collection();
    engine::Session s;
    OpenTables open(s);
    engine::Query q(&s);
    q.setSql({"SELECT * FROM", quoted(c.filmPath) + " F, " + quoted(c.mediaPath) + " M", "WHERE",
              "M.Medium = F.Medium AND M.Nr = F.KassNr", " "});
    int rows = 0;
    for (auto _ : state) {
        q.open();
        rows = q.recordCount();
        for (int i = 0; i < 40 && !q.eof(); ++i, q.next())
            for (int f = 0; f < q.fieldCount(); ++f)
                benchmark::DoNotOptimize(q.field(f)->asString());
        q.close();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_JoinFirstScreen)->Unit(benchmark::kMillisecond);

// Films as "f" and media as "m" on a plain connection.
sqlite3 *rawOpenWithMedia(const benchdata::Collection &c)
{
    sqlite3 *db = rawOpen(c.filmPath);
    const QByteArray attach = QStringLiteral("ATTACH '%1' AS m").arg(c.mediaPath).toUtf8();
    sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr);
    return db;
}

// The same statement on plain SQLite: run to its end (the row count the grid
// needs) and the first screen read.
void BM_JoinFirstScreenRaw(benchmark::State &state)
{
    const auto &c = collection();
    sqlite3 *db = rawOpenWithMedia(c);
    int rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM f.data F, m.data M WHERE M.Medium = F.Medium AND M.Nr = F.KassNr", -1,
                           &st, nullptr);
        const int n = sqlite3_column_count(st);
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            if (rows < 40)
                for (int i = 0; i < n; ++i)
                    benchmark::DoNotOptimize(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            ++rows;
        }
        sqlite3_finalize(st);
    }
    state.counters["rows"] = rows;
    sqlite3_close(db);
}
BENCHMARK(BM_JoinFirstScreenRaw)->Unit(benchmark::kMillisecond);

// Every row of a query result read in sequence (exports, printing, the walk
// of the query window), against the same statement on plain SQLite.
QStringList joinLines(const benchdata::Collection &c, const QString &order)
{
    QStringList q{"SELECT * FROM", quoted(c.filmPath) + " F, " + quoted(c.mediaPath) + " M", "WHERE",
                  "M.Medium = F.Medium AND M.Nr = F.KassNr"};
    if (!order.isEmpty())
        q << order;
    return q;
}

// prepare, when given, registers what the statement calls.
void rawReadAll(benchmark::State &state, const char *sql, void (*prepare)(sqlite3 *) = nullptr)
{
    const auto &c = collection();
    sqlite3 *db = rawOpenWithMedia(c);
    if (prepare)
        prepare(db);
    int rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        rows = readAll(st);
        sqlite3_finalize(st);
    }
    state.counters["rows"] = rows;
    sqlite3_close(db);
}

void queryReadAll(benchmark::State &state, const QStringList &lines)
{
    engine::Session s;
    OpenTables open(s);
    engine::Query q(&s);
    q.setSql(lines);
    openAndReadAll(state, q);
}

void BM_JoinAllRows(benchmark::State &state)
{
    queryReadAll(state, joinLines(collection(), QString()));
}
BENCHMARK(BM_JoinAllRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_JoinAllRowsRaw(benchmark::State &state)
{
    rawReadAll(state, "SELECT * FROM f.data F, m.data M WHERE M.Medium = F.Medium AND M.Nr = F.KassNr");
}
BENCHMARK(BM_JoinAllRowsRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_JoinByTitleAllRows(benchmark::State &state)
{
    queryReadAll(state, joinLines(collection(), "ORDER BY F.Titel"));
}
BENCHMARK(BM_JoinByTitleAllRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_JoinByTitleAllRowsRaw(benchmark::State &state)
{
    rawReadAll(state, "SELECT * FROM f.data F, m.data M WHERE M.Medium = F.Medium AND M.Nr = F.KassNr "
                      "ORDER BY F.Titel COLLATE TARVO_DE");
}
BENCHMARK(BM_JoinByTitleAllRowsRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FilmsAllRows(benchmark::State &state)
{
    queryReadAll(state, {"SELECT * FROM " + quoted(collection().filmPath)});
}
BENCHMARK(BM_FilmsAllRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FilmsAllRowsRaw(benchmark::State &state)
{
    // The dialect promises key order for one table.
    rawReadAll(state, "SELECT * FROM f.data ORDER BY Medium, KassNr, FilmNr");
}
BENCHMARK(BM_FilmsAllRowsRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

// Searches by title with the film table open, as the query window runs
// them: in any letter case (German letters included), against the same
// upper-casing registered on plain SQLite. The plain twins read the table
// straight through and sort what they find (NOT INDEXED): the fastest plain
// statement for the same rows in the same order.
void BM_TitleSearchQuery(benchmark::State &state)
{
    queryReadAll(state, {"SELECT * FROM " + quoted(collection().filmPath) + " WHERE",
                         "UPPER(Titel) LIKE UPPER(\"%zorro 7%\")"});
}
BENCHMARK(BM_TitleSearchQuery)->Unit(benchmark::kMillisecond);

// The dialect's upper-casing (German letters, one character for one) as a
// plain function of the twin's connection.
void germanUpper(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray up = engine::sql::upperUtf8(
        QByteArrayView(reinterpret_cast<const char *>(sqlite3_value_text(argv[0])), sqlite3_value_bytes(argv[0])));
    sqlite3_result_text(ctx, up.constData(), int(up.size()), SQLITE_TRANSIENT);
}

void BM_TitleSearchRaw(benchmark::State &state)
{
    rawReadAll(state,
               "SELECT * FROM f.data NOT INDEXED WHERE german_upper(Titel) LIKE german_upper('%zorro 7%') "
               "ORDER BY Medium, KassNr, FilmNr",
               [](sqlite3 *db) {
                   sqlite3_create_function_v2(db, "german_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                              germanUpper, nullptr, nullptr, nullptr);
               });
}
BENCHMARK(BM_TitleSearchRaw)->Unit(benchmark::kMillisecond);

// The dialect's LIKE, letter case counting, against GLOB on plain SQLite:
// the same rows in key order.
void BM_TitleLikeQuery(benchmark::State &state)
{
    queryReadAll(state, {"SELECT * FROM " + quoted(collection().filmPath) + " WHERE Titel LIKE \"%Zorro 7%\""});
}
BENCHMARK(BM_TitleLikeQuery)->Unit(benchmark::kMillisecond);

void BM_TitleLikeRaw(benchmark::State &state)
{
    rawReadAll(state, "SELECT * FROM f.data NOT INDEXED WHERE Titel GLOB '*Zorro 7*' ORDER BY Medium, KassNr, FilmNr");
}
BENCHMARK(BM_TitleLikeRaw)->Unit(benchmark::kMillisecond);

// Translation alone: the person card's films of a person, 21 lines.
void BM_Translate20Lines(benchmark::State &state)
{
    engine::sql::TableInfo film;
    film.filePath = QStringLiteral("/db/Film.DB");
    film.schema = QStringLiteral("t1");
    film.table = QStringLiteral("data");
    const engine::TableDef def = FilmTableDef();
    for (const engine::FieldDef &f : def.fields)
        film.fields.append({f.name,
                            f.type == engine::FieldType::String ? engine::sql::ValueType::Text
                            : f.type == engine::FieldType::Memo  ? engine::sql::ValueType::Memo
                            : f.type == engine::FieldType::Boolean ? engine::sql::ValueType::Boolean
                            : f.type == engine::FieldType::Graphic ? engine::sql::ValueType::Blob
                                                                   : engine::sql::ValueType::Integer,
                            f.size});
    film.primaryKey = QStringList{"Medium", "KassNr", "FilmNr"};
    const QStringList lines = {
        "SELECT Titel + \" - \" + Untertitel,Medium,KassNr,FilmNr", "FROM \"/db/Film.DB\"", "WHERE",
        "(Untertitel<>\"\" AND SUBSTRING ( Untertitel FROM 1 FOR 1) <> \">\")", "AND", "(",
        "UPPER(Free1) LIKE UPPER( :N )", "OR", "UPPER(Free2) LIKE UPPER( :N )", ")", "UNION",
        "SELECT CAST(Titel+SUBSTRING( Untertitel FROM 2 ) as CHAR(83)) , Medium, KassNr, FilmNr", "FROM \"/db/Film.DB\"",
        "WHERE", "( Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1)=\">\")", "AND", "(",
        "UPPER(Free1) LIKE UPPER( :N )", "OR", "UPPER(Free2) LIKE UPPER( :N )", ")"};
    engine::sql::TranslateContext ctx;
    ctx.databaseFolder = QStringLiteral("/db");
    ctx.resolver = [&](const QString &) { return &film; };
    ctx.paramType = [](const QString &) { return engine::sql::ValueType::Text; };
    ctx.textCollation = QStringLiteral("TARVO_DE");
    for (auto _ : state)
        benchmark::DoNotOptimize(engine::sql::translate(lines, ctx));
}
BENCHMARK(BM_Translate20Lines)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
