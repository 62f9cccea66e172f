// Exporting 100,000 films in each format, paired with a plain loop that reads
// the same rows with the SQLite API and writes the same bytes with fwrite.
#include "bench/common/collection.h"
#include "engine/field.h"
#include "engine/session.h"
#include "engine/table.h"
#include "exchange/exportoutput.h"
#include "exchange/tableexport.h"
#include "kit/textconv.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

namespace {

benchdata::Collection &collection()
{
    static benchdata::Collection c = benchdata::makeCollection();
    return c;
}

QTemporaryDir &outDir()
{
    static QTemporaryDir d;
    return d;
}

const QList<ExportColumn> kColumns{{QStringLiteral("Medium"), QStringLiteral("Medium")},
                                   {QStringLiteral("KassNr"), QStringLiteral("KassNr")},
                                   {QStringLiteral("FilmNr"), QStringLiteral("FilmNr")},
                                   {QStringLiteral("Titel"), QStringLiteral("Titel")},
                                   {QStringLiteral("Untertitel"), QStringLiteral("Untertitel")},
                                   {QStringLiteral("Len"), QStringLiteral("Len")},
                                   {QStringLiteral("LP"), QStringLiteral("LP")}};

QString target(int format)
{
    static const char *ext[] = {"dif", "htm", "txt", "xml"};
    return outDir().filePath(QStringLiteral("films.") + QLatin1String(ext[format]));
}

void BM_Export(benchmark::State &state)
{
    const int format = int(state.range(0));
    engine::Session s;
    engine::Table films(&s);
    films.setTableName(collection().filmPath);
    films.open();
    TableExportOptions opt;
    opt.fileName = target(format);
    opt.xmlMemos = false;
    TableExportContext ctx;
    ctx.sourceTitle = QStringLiteral("/daten/DB/Film.DB");
    for (auto _ : state)
        if (!ExportTable(films, kColumns, ExportSource::FilmGrid, opt, ctx))
            state.SkipWithError("export failed");
    state.counters["bytes"] = double(QFile(opt.fileName).size());
}

// The cursor walk alone (first to last, the seven fields read as text): the
// part of the export that the table engine does.
void BM_CursorWalk(benchmark::State &state)
{
    engine::Session s;
    engine::Table films(&s);
    films.setTableName(collection().filmPath);
    films.open();
    QList<engine::Field *> fields;
    for (const ExportColumn &c : kColumns)
        fields << films.fieldByName(c.fieldName);
    for (auto _ : state) {
        qsizetype n = 0;
        for (films.first(); !films.eof(); films.next())
            for (engine::Field *f : fields)
                n += f->asString().size();
        benchmark::DoNotOptimize(n);
    }
}

// ---- the plain loop ----

struct Row {
    QString text[5]; // Medium, KassNr, FilmNr, Titel, Untertitel
    bool lenNull;
    QString len;
    bool lp;
};

void put(FILE *f, const QByteArray &b)
{
    fwrite(b.constData(), 1, size_t(b.size()), f);
}

QString col(sqlite3_stmt *st, int i)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, i)) : QString();
}

// The same values the export writes, straight from the statement.
template <typename Body>
void plainRows(Body body)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(collection().filmPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Medium, KassNr, FilmNr, Titel, Untertitel, Len, LP FROM data ORDER BY Medium, KassNr, FilmNr",
                       -1, &st, nullptr);
    Row r;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < 5; ++i)
            r.text[i] = col(st, i);
        r.lenNull = sqlite3_column_type(st, 5) == SQLITE_NULL;
        r.len = r.lenNull ? QString() : QString::number(sqlite3_column_int64(st, 5));
        r.lp = sqlite3_column_int(st, 6) != 0;
        body(r);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

void BM_PlainLoop(benchmark::State &state)
{
    const int format = int(state.range(0));
    const QString path = target(format) + QStringLiteral(".plain");
    const QByteArray crlf("\r\n");
    for (auto _ : state) {
        FILE *f = fopen(QFile::encodeName(path).constData(), "wb");
        auto line = [&](const QString &s, bool utf8 = false) {
            put(f, utf8 ? s.toUtf8() : platform::toCp1252(s));
            put(f, crlf);
        };
        const QStringList labels{"Medium", "KassNr", "FilmNr", "Titel", "Untertitel", "Len", "LP"};
        const QString boolText[2] = {QStringLiteral("Falsch"), QStringLiteral("Wahr")};
        switch (format) {
        case efText:
            line(labels.join(QLatin1Char(';')));
            plainRows([&](const Row &r) {
                line(r.text[0] + ';' + r.text[1] + ';' + r.text[2] + ';' + r.text[3] + ';' + r.text[4] + ';' + r.len
                     + ';' + boolText[r.lp]);
            });
            break;
        case efHtml:
            line(QStringLiteral("<TABLE>"));
            for (const QString &l : labels)
                line(QStringLiteral("      <TH>") + l + QStringLiteral("</TH>"));
            plainRows([&](const Row &r) {
                line(QStringLiteral("    <TR VALIGN=\"TOP\">"));
                for (int i = 0; i < 5; ++i)
                    line(QStringLiteral("      <TD ALIGN=\"LEFT\">") + AnsiToHtmlEntities(HtmlEscape(r.text[i]))
                         + QStringLiteral("</TD>"));
                line(QStringLiteral("      <TD ALIGN=\"RIGHT\">") + r.len + QStringLiteral("</TD>"));
                line(QStringLiteral("      <TD ALIGN=\"CENTER\">") + boolText[r.lp] + QStringLiteral("</TD>"));
                line(QStringLiteral("    </TR>"));
            });
            break;
        case efXml:
            line(QStringLiteral("<TARVO-FILMTABELLE>"));
            plainRows([&](const Row &r) {
                static const char *names[] = {"MEDIUM", "KASSNR", "FILMNR", "TITEL", "UNTERTITEL"};
                line(QStringLiteral("  <FILM>"));
                for (int i = 0; i < 5; ++i) {
                    const QString n = QLatin1String(names[i]);
                    line(r.text[i].isEmpty() ? QStringLiteral("    <") + n + QStringLiteral(" />")
                                             : QStringLiteral("    <") + n + '>' + XmlEscape(r.text[i]) + QStringLiteral("</") + n + '>',
                         true);
                }
                line(r.lenNull ? QStringLiteral("    <LEN />") : QStringLiteral("    <LEN>") + r.len + QStringLiteral("</LEN>"));
                line(QStringLiteral("    <LP>") + boolText[r.lp] + QStringLiteral("</LP>"));
                line(QStringLiteral("  </FILM>"));
            });
            break;
        case efDif:
            line(QStringLiteral("TABLE"));
            plainRows([&](const Row &r) {
                line(QStringLiteral("-1,0"));
                line(QStringLiteral("BOT"));
                for (int i = 0; i < 5; ++i) {
                    const bool number = i == 1 || i == 2;
                    line(number ? QStringLiteral("0,") + r.text[i] : QStringLiteral("1,0"));
                    line(number ? QStringLiteral("V") : QLatin1Char('"') + QString(r.text[i]).replace('"', "\"\"") + '"');
                }
                line(r.lenNull ? QStringLiteral("1,0") : QStringLiteral("0,") + r.len);
                line(r.lenNull ? QStringLiteral("\"\"") : QStringLiteral("V"));
                line(r.lp ? QStringLiteral("0,1") : QStringLiteral("0,0"));
                line(r.lp ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
            });
            break;
        }
        fclose(f);
    }
    state.counters["bytes"] = double(QFile(path).size());
}

} // namespace

BENCHMARK(BM_Export)->DenseRange(0, 3)->ArgName("format")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop)->DenseRange(0, 3)->ArgName("format")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
