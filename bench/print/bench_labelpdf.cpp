// 100 media on spine labels (13 to a sheet, three films each) drawn into a
// PDF through DrawLabel and the one painter, against the same rectangles,
// titles and numbers written straight in QPainter calls into a QPdfWriter.
#include "print/labeldraw.h"
#include "print/labelformat.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "noart.h"

namespace {

std::vector<TLabelMedium> hundredMedia()
{
    std::vector<TLabelMedium> media;
    for (int i = 1; i <= 100; ++i) {
        TLabelMedium m;
        m.Medium = QStringLiteral("VHS-SB");
        m.Nr = i;
        for (int k = 1; k <= 5; ++k) {
            TLabelFilm f;
            f.Exists = k <= 3;
            f.Titel = QStringLiteral("Film %1 des Mediums %2").arg(k).arg(i);
            m.Films.push_back(f);
        }
        media.push_back(m);
    }
    return media;
}

void pdfWriter(QPdfWriter &w)
{
    w.setResolution(600);
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
}

void BM_SpineLabelsPdf_DrawLabel(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::vector<TLabelMedium> media = hundredMedia();
    NoArt art;
    TLabelFormat f;
    TLabelSettings s;
    s.LabelFont.Name = QStringLiteral("Liberation Sans");
    s.NrEtiFont = s.LabelFont;
    const TLabelScale scale = DpiLabelScale(600, 600);
    for (auto _ : state) {
        QPdfWriter w(dir.filePath(QStringLiteral("ours.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        int pos = 0;
        for (const TLabelMedium &m : media) {
            if (pos == 13) {
                w.newPage();
                pos = 0;
            }
            PaintLabelLayout(p, DrawLabel(m, true, f, pos++, TLabelTarget{lkSpine}, s, scale, art).Layout);
        }
        p.end();
    }
}
BENCHMARK(BM_SpineLabelsPdf_DrawLabel)->Unit(benchmark::kMillisecond);

void BM_SpineLabelsPdf_PlainQPainter(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::vector<TLabelMedium> media = hundredMedia();
    const double mm = 600 / 25.4;
    const QFont title = LabelFontAtPoints(QFont(QStringLiteral("Liberation Sans")), 10, mm);
    const QFontMetrics fm(title);
    for (auto _ : state) {
        QPdfWriter w(dir.filePath(QStringLiteral("plain.pdf")));
        pdfWriter(w);
        QPainter p(&w);
        int pos = 0;
        for (const TLabelMedium &m : media) {
            if (pos == 13) {
                w.newPage();
                pos = 0;
            }
            const int y = int(pos++ * 20 * mm), h = int(20 * mm), wd = int(147.3 * mm);
            p.setPen(Qt::black);
            p.drawRect(0, y, wd - 1, h - 1);
            p.setFont(title);
            const int pitch = int(17 * mm / 3);
            for (int k = 0; k < 3; ++k)
                p.drawText(QPoint(int(13 * mm), y + int(0.3 * fm.height() + (k * 0.5 + 1) * mm + pitch * (k + 0.5))),
                           m.Films[size_t(k)].Titel);
            p.save();
            p.translate(int(1 * mm) + fm.descent(), y + h / 2);
            p.rotate(90);
            p.drawText(QPoint(0, 0), QString::number(m.Nr));
            p.restore();
        }
        p.end();
    }
}
BENCHMARK(BM_SpineLabelsPdf_PlainQPainter)->Unit(benchmark::kMillisecond);

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
