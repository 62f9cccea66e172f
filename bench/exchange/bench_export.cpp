// Exporting 100,000 films in each format, paired with a plain loop that reads
// the same rows with the SQLite API and writes the same bytes with fwrite.
// Before the first timed run of a format both are run once and their files
// compared byte for byte, and again after the timed runs; a difference skips
// the benchmark with the place where they part.
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
#include <map>
#include <string>
#include <unistd.h>
#include <sqlite3.h>

namespace {

benchdata::Collection &collection()
{
    static benchdata::Collection c = [] {
        benchdata::Collection made = benchdata::makeCollection();
        // The files just written reach the disk now, not while a run is timed.
        ::sync();
        return made;
    }();
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

// One export of the film table in the format, as the table window does it.
struct FilmExport {
    engine::Session session;
    engine::Table films{&session};
    TableExportOptions options;
    TableExportContext context;

    explicit FilmExport(int format)
    {
        films.setTableName(collection().filmPath);
        films.open();
        options.fileName = target(format);
        options.xmlMemos = false;
        context.sourceTitle = QStringLiteral("/daten/DB/Film.DB");
    }
    bool run() { return ExportTable(films, kColumns, ExportSource::FilmGrid, options, context); }
};

bool exportOnce(int format)
{
    FilmExport e(format);
    return e.run();
}

const std::string &checked(int format);
std::string difference(const QString &a, const QString &b);
QString plainTarget(int format);

void BM_Export(benchmark::State &state)
{
    const int format = int(state.range(0));
    if (const std::string &e = checked(format); !e.empty()) {
        state.SkipWithError(e.c_str());
        return;
    }
    FilmExport e(format);
    for (auto _ : state)
        if (!e.run())
            state.SkipWithError("export failed");
    state.counters["bytes"] = double(QFile(e.options.fileName).size());
    static std::string after[4];
    after[format] = difference(target(format), plainTarget(format));
    if (!after[format].empty())
        state.SkipWithError(after[format].c_str());
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

// A row as the export writes it: the values' texts (empty for NULL) and
// whether they were NULL.
struct Row {
    QString text[7]; // Medium, KassNr, FilmNr, Titel, Untertitel, Len, LP
    bool null[7];
    bool lp;
};

constexpr bool kNumber[7] = {false, true, true, false, false, true, false};

QString col(sqlite3_stmt *st, int i)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, i)) : QString();
}

sqlite3 *plainOpen()
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(collection().filmPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    return db;
}

int plainCount(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM data", -1, &st, nullptr);
    const int n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    return n;
}

// The same values the export writes, straight from the statement.
template <typename Body>
void plainRows(sqlite3 *db, Body body)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Medium, KassNr, FilmNr, Titel, Untertitel, Len, LP FROM data ORDER BY Medium, KassNr, FilmNr",
                       -1, &st, nullptr);
    Row r;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < 6; ++i) {
            r.null[i] = sqlite3_column_type(st, i) == SQLITE_NULL;
            r.text[i] = r.null[i] ? QString() : kNumber[i] ? QString::number(sqlite3_column_int64(st, i)) : col(st, i);
        }
        r.null[6] = sqlite3_column_type(st, 6) == SQLITE_NULL;
        r.lp = sqlite3_column_int(st, 6) != 0;
        r.text[6] = r.lp ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
        body(r);
    }
    sqlite3_finalize(st);
}

// In double quotes, inner ones doubled.
QString quoted(const QString &s)
{
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The plain loop's file: one buffer written out in blocks, as a hand-written
// loop would do it; every line ends with CR LF.
class PlainOut
{
public:
    explicit PlainOut(const QString &path) : m_file(fopen(QFile::encodeName(path).constData(), "wb"))
    {
        m_buf.reserve((1 << 16) + 4096);
    }
    ~PlainOut()
    {
        flush();
        fclose(m_file);
    }
    // Mark-up of the program's own.
    PlainOut &operator<<(const char *s)
    {
        m_buf.append(s);
        return *this;
    }
    PlainOut &operator<<(const QByteArray &b)
    {
        m_buf.append(b);
        return *this;
    }
    // Text in the Windows code page ('?' for what it lacks).
    void cp1252(QStringView s)
    {
        for (QChar c : s) {
            const char16_t u = c.unicode();
            if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
                m_buf.append(char(u));
            } else {
                const int b = platform::unicodeToCp1252(u);
                m_buf.append(b < 0 ? '?' : char(b));
            }
        }
    }
    // HTML text: ASCII as it is, anything else as entities in the Windows set.
    void html(const QString &s)
    {
        for (QChar c : s)
            if (c.unicode() >= 0x80) {
                m_buf.append(platform::toCp1252(AnsiToHtmlEntities(s)));
                return;
            }
        cp1252(s);
    }
    // XML text: UTF-8 without the control characters XML 1.0 forbids.
    void xml(QString s)
    {
        s.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n'; });
        m_buf.append(s.toUtf8());
    }
    void end()
    {
        m_buf.append("\r\n", 2);
        if (m_buf.size() >= (1 << 16))
            flush();
    }
    void line(const char *s)
    {
        m_buf.append(s);
        end();
    }

private:
    void flush()
    {
        fwrite(m_buf.constData(), 1, size_t(m_buf.size()), m_file);
        m_buf.resize(0);
    }
    FILE *m_file;
    QByteArray m_buf;
};

// Writes by hand, line by line, what the export writes for the format.
void plainExport(int format, const QString &path)
{
    PlainOut out(path);
    sqlite3 *db = plainOpen();
    static const char *labels[] = {"Medium", "KassNr", "FilmNr", "Titel", "Untertitel", "Len", "LP"};
    const QString title = QStringLiteral("Tabellen-Export aus Tarvo: /daten/DB/Film.DB");
    switch (format) {
    case efText:
        for (int i = 0; i < 7; ++i)
            out << (i ? ";" : "") << labels[i];
        out.end();
        plainRows(db, [&](const Row &r) {
            for (int i = 0; i < 7; ++i) {
                if (i)
                    out << ";";
                const QString &t = r.text[i];
                bool quote = false;
                for (QChar c : t)
                    quote = quote || c == u';' || c == u'"' || c == u'\r' || c == u'\n';
                out.cp1252(quote ? quoted(t) : t);
            }
            out.end();
        });
        break;
    case efHtml:
        out.line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
        out.line("<HTML>");
        out.line("<HEAD>");
        out.line("  <meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">");
        out.line("  <meta http-equiv=\"Content-Style-Type\" content=\"text/css\">");
        out << "  <TITLE>";
        out.html(title);
        out.line("</TITLE>");
        out.line("  <META NAME=\"GENERATOR\" CONTENT=\"\">");
        out.line("<STYLE type=\"text/css\">");
        out.line("\t<!--");
        out.line("\tbody { font-family:\"Arial\"; font-size:2; }");
        out.line("   table { empty-cells:show; }");
        out.line("\t -->");
        out.line("</STYLE>");
        out.line("</HEAD>");
        out.line("<BODY>");
        out.line("<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=\"4\" CELLSPACING=\"0\">");
        out.line("  <THEAD>");
        out.line("    <TR VALIGN=\"BOTTOM\">");
        for (const char *l : labels) {
            out << "      <TH>" << l;
            out.line("</TH>");
        }
        out.line("    </TR>");
        out.line("  </THEAD>");
        out.line("  <TBODY>");
        plainRows(db, [&](const Row &r) {
            out.line("    <TR VALIGN=\"TOP\">");
            for (int i = 0; i < 7; ++i) {
                out << (kNumber[i] ? "      <TD ALIGN=\"RIGHT\">" : i == 6 ? "      <TD ALIGN=\"CENTER\">" : "      <TD ALIGN=\"LEFT\">");
                const QString t = HtmlEscape(r.text[i]);
                const bool link = t.startsWith(QLatin1String("HTTP:"), Qt::CaseInsensitive);
                if (link) {
                    out << "<A HREF=\"";
                    out.html(t);
                    out << "\" TARGET=\"_blank\">";
                }
                out.html(t);
                out << (link ? "</A></TD>" : "</TD>");
                out.end();
            }
            out.line("    </TR>");
        });
        out.line("  </TBODY>");
        out.line("</TABLE>");
        out.line("</BODY>");
        out.line("</HTML>");
        break;
    case efXml:
        out.line("<?xml version=\"1.0\" standalone=\"yes\" ?>");
        out.line("<TARVO-FILMTABELLE>");
        plainRows(db, [&](const Row &r) {
            static const char *names[] = {"MEDIUM", "KASSNR", "FILMNR", "TITEL", "UNTERTITEL", "LEN", "LP"};
            out.line("  <FILM>");
            for (int i = 0; i < 7; ++i) {
                out << "    <" << names[i];
                if (r.text[i].isEmpty()) {
                    out << " />";
                } else {
                    out << ">";
                    out.xml(XmlEscape(r.text[i]));
                    out << "</" << names[i] << ">";
                }
                out.end();
            }
            out.line("  </FILM>");
        });
        out.line("</TARVO-FILMTABELLE>");
        break;
    case efDif:
        out.line("TABLE");
        out.line("0,1");
        out.cp1252(quoted(title));
        out.end();
        out.line("VECTORS");
        out << "0," << QByteArray::number(7);
        out.end();
        out.line("\"\"");
        out.line("TUPLES");
        out << "0," << QByteArray::number(plainCount(db) + 1);
        out.end();
        out.line("\"\"");
        out.line("DATA");
        out.line("0,0");
        out.line("\"\"");
        out.line("-1,0");
        out.line("BOT");
        for (const char *l : labels) {
            out.line("1,0");
            out << "\"" << l;
            out.line("\"");
        }
        plainRows(db, [&](const Row &r) {
            out.line("-1,0");
            out.line("BOT");
            for (int i = 0; i < 6; ++i) {
                if (kNumber[i] && !r.null[i]) {
                    out << "0,";
                    out.cp1252(r.text[i]);
                    out.end();
                    out.line("V");
                } else {
                    out.line("1,0");
                    out.cp1252(quoted(r.text[i]));
                    out.end();
                }
            }
            out.line(r.lp ? "0,1" : "0,0");
            out.line("V");
        });
        out.line("-1,0");
        out.line("EOD");
        break;
    }
    sqlite3_close(db);
}

QString plainTarget(int format)
{
    return target(format) + QStringLiteral(".plain");
}

// Empty when the two files are equal byte for byte, else where they part.
std::string difference(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return "an output file is missing";
    const QByteArray x = fa.readAll(), y = fb.readAll();
    if (x == y)
        return {};
    qsizetype at = 0;
    while (at < x.size() && at < y.size() && x[at] == y[at])
        ++at;
    return QStringLiteral("export and plain loop write different bytes: %1 against %2 bytes, first difference at byte %3")
        .arg(x.size())
        .arg(y.size())
        .arg(at)
        .toStdString();
}

// Once per format, untimed: the export and the plain loop are run and their
// files compared, so that no figure compares unequal work; the runs also
// bring the collection into the cache, so that the first timed run does
// not pay for it.
const std::string &checked(int format)
{
    static std::map<int, std::string> done;
    auto it = done.find(format);
    if (it != done.end())
        return it->second;
    std::string &result = done[format];
    if (!exportOnce(format))
        result = "export failed";
    plainExport(format, plainTarget(format));
    if (result.empty())
        result = difference(target(format), plainTarget(format));
    return result;
}

void BM_PlainLoop(benchmark::State &state)
{
    const int format = int(state.range(0));
    if (const std::string &e = checked(format); !e.empty()) {
        state.SkipWithError(e.c_str());
        return;
    }
    for (auto _ : state)
        plainExport(format, plainTarget(format));
    state.counters["bytes"] = double(QFile(plainTarget(format)).size());
    static std::string after[4];
    after[format] = difference(target(format), plainTarget(format));
    if (!after[format].empty())
        state.SkipWithError(after[format].c_str());
}

} // namespace

BENCHMARK(BM_Export)->DenseRange(0, 3)->ArgName("format")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CursorWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainLoop)->DenseRange(0, 3)->ArgName("format")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
