// The film list of 100,000 films (TARVO_BENCH_FILMS to change it) laid out
// page by page by TTablePrinter and drawn into a PDF by the one painter,
// against the same titles, numbers and rules written straight in QPainter
// calls. The counters give the pages and the growth of the resident memory
// over the run, which stays flat: one page is held at a time.
#include "print/tableprint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

class NoArt : public TLabelArtProvider
{
public:
    QImage symbol(const QString &) override { return QImage(); }
    QString categoryName(int) override { return QStringLiteral("Spielfilm"); }
    QImage categorySymbol(int) override { return QImage(); }
    std::optional<QFont> categoryFont(int) override { return std::nullopt; }
    bool freeFieldIsFileLink(int) override { return false; }
    QString expandLinkPath(const QString &v) override { return v; }
    QImage loadPicture(const QString &) override { return QImage(); }
};

int filmCount()
{
    const int n = qEnvironmentVariableIntValue("TARVO_BENCH_FILMS");
    return n > 0 ? n : 100000;
}

TListRow row(int i)
{
    TListRow r;
    r.medium = QStringLiteral("VHS-SB");
    r.nr = i / 4 + 1;
    TLabelFilm f;
    f.Titel = QStringLiteral("Der Film Nummer %1 über Öl").arg(i);
    f.Len = 90 + i % 60;
    f.LP = i % 3 == 0;
    f.Kateg = QStringLiteral("1");
    r.films = {f};
    return r;
}

long maxRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void pdfWriter(QPdfWriter &w)
{
    w.setResolution(600);
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
}

TTablePrintGeometry geometry(QPdfWriter &w)
{
    return PrinterTableGeometry(w.width(), 210, w.height(), 297, false);
}

void BM_FilmListPdf_TablePrinter(benchmark::State &state)
{
    QTemporaryDir dir;
    NoArt art;
    const int n = filmCount();
    int pages = 0;
    const long before = maxRssKb();
    for (auto _ : state) {
        QPdfWriter w(dir.filePath(QStringLiteral("ours.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        TTablePrintStyle s;
        s.fontName = QStringLiteral("Liberation Sans");
        s.filmList = true;
        s.filmsHaveKateg = true;
        const TTablePrintGeometry g = geometry(w);
        s.linesPerPage = TablePrintLinesPerPage(0, g.heightMm, false);
        bool first = true;
        TTablePrinter printer(g, s, art, [&](const TLabelLayout &page) {
            if (!first)
                w.newPage();
            first = false;
            PaintLabelLayout(p, page);
            return true;
        });
        printer.begin(QStringLiteral("Liste der Filme"));
        for (int i = 0; i < n; ++i)
            printer.listRow(row(i));
        printer.finish();
        p.end();
        pages = printer.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_mb"] = double(maxRssKb() - before) / 1024.0;
}
BENCHMARK(BM_FilmListPdf_TablePrinter)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same page: heading, per row the number, the title, the length and
// category texts and the row's rules, drawn as they come.
void BM_FilmListPdf_PlainQPainter(benchmark::State &state)
{
    QTemporaryDir dir;
    const int n = filmCount();
    const long before = maxRssKb();
    for (auto _ : state) {
        QPdfWriter w(dir.filePath(QStringLiteral("plain.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        const double mm = w.width() / 210.0;
        const QFont base(QStringLiteral("Liberation Sans"));
        const QFont t10 = LabelFontAtPoints(base, 10, mm);
        QFont b10 = t10;
        b10.setBold(true);
        const QFont t6 = LabelFontAtPoints(base, 6, mm);
        const int H = int(5 * mm), x0 = int(10 * mm), b0 = int(20 * mm), r = b0 + int(180 * mm), f = r - int(50 * mm);
        const int lines = (297 - 13) / 5;
        int y = int(10 * mm), c = 1;
        p.setFont(LabelFontAtPoints(base, 12, mm));
        p.drawText(QPoint(x0, y + H / 2), QStringLiteral("Liste der Filme"));
        y += H;
        for (int i = 0; i < n; ++i) {
            if (++c > lines) {
                p.drawLine(x0, y, r, y);
                w.newPage();
                y = int(10 * mm);
                c = 1;
            }
            const TListRow rw = row(i);
            const TLabelFilm &film = rw.films[0];
            p.setFont(t6);
            p.drawText(QPoint(int(12 * mm), y + int(2 * mm)), rw.medium);
            p.setFont(b10);
            p.drawText(QPoint(int(12 * mm), y + int(4.5 * mm)), QString::number(rw.nr));
            p.drawLine(b0, y, b0, y + H);
            p.drawLine(x0, y, x0, y + H);
            p.drawLine(x0, y, r, y);
            p.setFont(t10);
            p.drawText(QPoint(b0 + int(mm), y + int(4 * mm)), film.Titel);
            p.drawLine(r, y, r, y + H);
            p.setFont(t6);
            p.drawText(QPoint(f + int(mm), y + int(4.5 * mm)), QString::number(*film.Len) + (film.LP ? QStringLiteral(" LP") : QString()));
            p.drawText(QPoint(f + int(mm), y + int(2 * mm)), QStringLiteral("Min."));
            p.drawText(QPoint(f + int(10 * mm), y + int(2 * mm)), QStringLiteral("Kategorie"));
            p.drawText(QPoint(f + int(10 * mm), y + int(4.5 * mm)), QStringLiteral("Spielfilm"));
            y += H;
        }
        p.drawLine(x0, y, r, y);
        p.end();
    }
    state.counters["rss_growth_mb"] = double(maxRssKb() - before) / 1024.0;
}
BENCHMARK(BM_FilmListPdf_PlainQPainter)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
