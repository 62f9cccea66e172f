// One full sheet of window labels (2 × 5, five films each, with play times
// and symbols) laid out and painted into an A4 page at 600 dpi, against the
// same drawing written straight in QPainter calls: the price of laying out
// into values first and painting them with the one painter.
#include "app/settings.h"
#include "print/labelformat.h"
#include "print/labellayout.h"
#include "print/labelsymbols.h"
#include "print/labeltext.h"
#include "print/sheetlayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

class MemoryArt : public TLabelArtProvider
{
public:
    MemoryArt()
    {
        m_symbol = QImage(64, 64, QImage::Format_RGB32);
        m_symbol.fill(Qt::darkGray);
    }
    QImage symbol(const QString &) override { return m_symbol; }
    QString categoryName(int) override { return QStringLiteral("Spielfilm"); }
    QImage categorySymbol(int) override { return m_symbol; }
    std::optional<QFont> categoryFont(int) override { return std::nullopt; }
    bool freeFieldIsFileLink(int) override { return false; }
    QString expandLinkPath(const QString &v) override { return v; }
    QImage loadPicture(const QString &) override { return m_symbol; }
    QImage m_symbol;
};

struct Sheet
{
    TLabelFormat format;
    TLabelMedium medium;
    TLabelSettings options;
    MemoryArt art;
    TLabelScale scale = DpiLabelScale(600, 600);
    QImage page{4961, 7016, QImage::Format_RGB32};
    QFont font{QStringLiteral("Liberation Sans")};
    TFilmTextSizes sizes{10, 9, 7};

    Sheet()
    {
        ApplyBuiltInLabelKind(format, lkWindow, false, TZFSheetLayout());
        medium.Medium = QStringLiteral("VHS-SB");
        medium.Nr = 417;
        for (int i = 0; i < 5; ++i) {
            TLabelFilm f;
            f.Titel = QStringLiteral("Der Film Nummer %1 mit langem Titel").arg(i + 1);
            f.Untertitel = QStringLiteral("Teil %1").arg(i + 1);
            f.Len = 90 + i * 7;
            f.Kateg = QStringLiteral("1");
            f.Ton = QStringLiteral("S");
            f.Wide = i % 2;
            f.Wertung = i;
            medium.Films.push_back(f);
        }
        options.PrintLen = options.PrintEndPos = true;
        options.PrintTon = options.PrintSterne = true;
        options.FormatSymbMode = 1;
    }
};

// Our path: every label laid out into values, then painted by the one painter.
void BM_WindowSheet_LayoutAndPaint(benchmark::State &state)
{
    Sheet s;
    for (auto _ : state) {
        s.page.fill(Qt::white);
        TLabelLayout out;
        const int n = 5;
        const int pitch = int(std::lround(((s.format.Hoehe / 10.0 - 4) * s.scale.yPerMm()) / n));
        const int extra = int(std::lround(0.33 * pitch));
        const int symbol = std::min(extra, s.scale.px(s.options.MaxSizeSymb * 10));
        const TFilmFonts fonts = FilmFonts(s.font, s.sizes, s.scale.yPerMm(), false);
        for (int p = 0; p < LabelsPerSheet(s.format); ++p) {
            const QRect r = LabelRectOnSheet(s.format, p, s.scale, false, TZFSheetLayout());
            out.rect(r);
            TFilmLinesState lines;
            for (int k = 1; k <= n; ++k) {
                const int top = r.top() + s.scale.py(20) + (k - 1) * pitch;
                const QRect first(r.left() + r.width() - s.scale.px(20) - symbol, top + pitch - extra, symbol,
                                  extra);
                DrawFilmSymbols(out, s.medium.Films[size_t(k - 1)], first, symbol / 4, false,
                                {true, true, false, false}, s.options, s.art);
                const TFilmLabelLines l = BuildFilmLabelLines(s.medium, k, ptWindow, s.options, s.art, lines);
                DrawWindowFilmLines(out, l, fonts, r.left() + s.scale.px(20), top, pitch, extra,
                                    r.width() - s.scale.px(50) - extra);
            }
        }
        QPainter painter(&s.page);
        PaintLabelLayout(painter, out);
        painter.end();
        benchmark::DoNotOptimize(s.page.constBits());
    }
}
BENCHMARK(BM_WindowSheet_LayoutAndPaint)->Unit(benchmark::kMillisecond);

// The plain baseline: the same rectangles, texts and symbols drawn at once.
void BM_WindowSheet_PlainQPainter(benchmark::State &state)
{
    Sheet s;
    const QFont title = LabelFontAtPoints(s.font, 10, s.scale.yPerMm());
    const QFont sub = LabelFontAtPoints(s.font, 9, s.scale.yPerMm());
    const QFont extraFont = LabelFontAtPoints(s.font, 7, s.scale.yPerMm());
    const QFontMetrics tm(title), em(extraFont);
    for (auto _ : state) {
        s.page.fill(Qt::white);
        QPainter p(&s.page);
        const double mm = 600 / 25.4;
        const int pitch = int(std::lround((46.5 - 4) * mm / 5));
        const int extra = int(std::lround(0.33 * pitch));
        const int symbol = std::min(extra, int(std::lround(5 * mm)));
        for (int pos = 0; pos < 10; ++pos) {
            const int x = int(std::lround((10 + (pos % 2) * 82.7) * mm));
            const int y = int(std::lround((10 + (pos / 2) * 50.5) * mm));
            const int w = int(std::lround(78.7 * mm)), h = int(std::lround(46.5 * mm));
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(x, y, w - 1, h - 1);
            int end = 0;
            for (int k = 0; k < 5; ++k) {
                const TLabelFilm &f = s.medium.Films[size_t(k)];
                const int top = y + int(std::lround(2 * mm)) + k * pitch;
                int sx = x + w - int(std::lround(2 * mm)) - symbol;
                for (int i = 0; i < 3; ++i, sx -= symbol + symbol / 4)
                    p.drawImage(QRect(sx, top + pitch - extra, symbol, extra), s.art.m_symbol);
                p.drawImage(QRect(sx + symbol - 5 * symbol, top + pitch - extra, 5 * symbol, extra), s.art.m_symbol);
                const int tx = x + int(std::lround(2 * mm));
                p.setFont(title);
                p.drawText(QPoint(tx, top + tm.ascent()), f.Titel);
                p.setFont(sub);
                p.drawText(QPoint(tx, top + pitch - extra - 2), *f.Untertitel);
                end += *f.Len;
                p.setFont(extraFont);
                p.drawText(QPoint(tx, top + pitch - em.descent()),
                           QStringLiteral("(ca. %1 min bis: %2 min)").arg(*f.Len).arg(end));
            }
        }
        p.end();
        benchmark::DoNotOptimize(s.page.constBits());
    }
}
BENCHMARK(BM_WindowSheet_PlainQPainter)->Unit(benchmark::kMillisecond);

// The floor both share: clearing the 600-dpi page.
void BM_WindowSheet_PageClearOnly(benchmark::State &state)
{
    Sheet s;
    for (auto _ : state) {
        s.page.fill(Qt::white);
        benchmark::DoNotOptimize(s.page.constBits());
    }
}
BENCHMARK(BM_WindowSheet_PageClearOnly)->Unit(benchmark::kMillisecond);

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
