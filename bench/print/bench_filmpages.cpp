// 1,000 film description pages (header, title with time text, six field
// lines, a rule and a memo of twelve wrapped lines each) laid out by the
// page writer and drawn by the one painter into a PDF at 600 dpi, against
// the same texts and rule written straight in QPainter calls into a
// QPdfWriter, the memo wrapped by hand at blanks.
#include "print/descriptionpage.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "noart.h"

namespace {

const QString kFont = QStringLiteral("Liberation Sans");

std::vector<TFilmPageData> thousandFilms()
{
    const QString memo = QStringLiteral(
        "Ein Raumfrachter empfängt auf dem Heimweg ein Notsignal von einem unbekannten Planeten. Die Besatzung "
        "landet, findet ein fremdes Schiff und bringt ohne es zu wissen einen Gast an Bord, der sich bald als "
        "tödlich erweist. Einer nach dem anderen verschwindet, bis nur noch die Offizierin Ripley übrig ist.\r\n"
        "Der Film gilt als Meilenstein des Genres; Ausstattung und Kreatur stammen von H. R. Giger, die Musik von "
        "Jerry Goldsmith. Die Fassung auf diesem Band ist die Kinofassung mit deutschem Ton.");
    std::vector<TFilmPageData> films;
    for (int i = 1; i <= 1000; ++i) {
        TFilmPageData d;
        d.header = QStringLiteral("Band-Nr. %1, Film-Nr. 1").arg(i);
        d.film.Titel = QStringLiteral("Alien %1").arg(i);
        d.film.Untertitel = QStringLiteral("Das unheimliche Wesen aus einer fremden Welt");
        d.film.Len = 117;
        d.categoryText = QStringLiteral("Anderer Spielfilm");
        for (int k = 0; k < 15; ++k)
            d.freeCaptions[k] = QStringLiteral("Feld %1").arg(k + 1);
        for (int k = 0; k < 5; ++k)
            d.film.Free[k] = QStringLiteral("Wert %1 des Films %2").arg(k + 1).arg(i);
        d.film.Memo = memo;
        films.push_back(d);
    }
    return films;
}

void pdfWriter(QPdfWriter &w)
{
    w.setResolution(600);
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
}

TPageMetrics metrics600()
{
    // A4 at 600 dpi: 4961 × 7016 pixels over 210 × 297 mm.
    return SetUpPageMetrics(4961, 210, 7016, 297);
}

void BM_FilmPagesPdf_PageWriter(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::vector<TFilmPageData> films = thousandFilms();
    NoArt art;
    TPageOptions o;
    o.fontName = kFont;
    for (auto _ : state) {
        TPageDocument doc;
        TPageWriter pw(metrics600(), o, doc);
        for (const TFilmPageData &d : films)
            PrintFilmPageRecord(pw, d, TLabelSettings(), art);
        QPdfWriter w(dir.filePath(QStringLiteral("ours.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        for (size_t i = 0; i < doc.sheets.size(); ++i) {
            if (i > 0)
                w.newPage();
            PaintLabelLayout(p, doc.sheets[i].layout);
        }
        p.end();
        state.counters["pages"] = double(doc.sheets.size());
    }
}
BENCHMARK(BM_FilmPagesPdf_PageWriter)->Unit(benchmark::kMillisecond);

void BM_FilmPagesPdf_PlainQPainter(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::vector<TFilmPageData> films = thousandFilms();
    const double mm = 600 / 25.4;
    const double pt = 25.4 / 72.0 * mm;
    auto font = [&](int points, bool italic) {
        QFont f(kFont);
        f.setPixelSize(int(points * pt + 0.5));
        f.setItalic(italic);
        return f;
    };
    const QFont f10 = font(10, false), f12 = font(12, false), f12i = font(12, true), f13 = font(13, false),
                f16 = font(16, false);
    const QFontMetrics m10(f10), m12(f12), m12i(f12i), m13(f13), m16(f16);
    const int left = int(17 * mm), right = 4961 - int(10 * mm), top = int(12 * mm);
    for (auto _ : state) {
        QPdfWriter w(dir.filePath(QStringLiteral("plain.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        bool firstPage = true;
        for (const TFilmPageData &d : films) {
            if (!firstPage)
                w.newPage();
            firstPage = false;
            p.setFont(f10);
            p.drawText(QPoint(left, top + m10.ascent()), d.header);
            int y = top + m10.height() + int(mm);
            const int base = y + 2 * m16.height() / 3;
            int x = left;
            p.setFont(f16);
            p.drawText(QPoint(x, base), d.film.Titel);
            x += m16.horizontalAdvance(d.film.Titel);
            const QString sub = QStringLiteral(" - ") + *d.film.Untertitel;
            p.setFont(f13);
            p.drawText(QPoint(x, base), sub);
            x += m13.horizontalAdvance(sub);
            p.setFont(f10);
            p.drawText(QPoint(x, base), QStringLiteral("  (ca. 117 min)"));
            y += m16.height() + int(4 * mm);
            const int lh = m12i.height() + int(0.7 * mm);
            QStringList caps{QStringLiteral("Kategorie")}, vals{d.categoryText};
            for (int k = 0; k < 15; ++k)
                if (!d.film.Free[k].isEmpty()) {
                    caps << d.freeCaptions[k];
                    vals << d.film.Free[k];
                }
            int widest = 0;
            for (const QString &c : caps)
                widest = std::max(widest, m12i.horizontalAdvance(c));
            for (int k = 0; k < caps.size(); ++k) {
                p.setFont(f12i);
                p.drawText(QPoint(left, y + k * lh + m12i.ascent()), caps[k]);
                p.setFont(f12);
                p.drawText(QPoint(left + widest + int(2 * mm), y + k * lh + m12.ascent()), vals[k]);
            }
            y += int(caps.size()) * lh + int(3 * mm);
            p.drawLine(left, y, right, y);
            y += int(3 * mm);
            // The memo, wrapped at blanks and line breaks.
            p.setFont(f12);
            for (const QString &para : d.film.Memo.split(QStringLiteral("\r\n"))) {
                QString line;
                for (const QString &word : para.split(QLatin1Char(' '))) {
                    const QString next = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
                    if (!line.isEmpty() && m12.horizontalAdvance(next) > right - left) {
                        p.drawText(QPoint(left, y + m12.ascent()), line);
                        y += m12.height();
                        line = word;
                    } else {
                        line = next;
                    }
                }
                p.drawText(QPoint(left, y + m12.ascent()), line);
                y += m12.height();
            }
        }
        p.end();
    }
}
BENCHMARK(BM_FilmPagesPdf_PlainQPainter)->Unit(benchmark::kMillisecond);

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
