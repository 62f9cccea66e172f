// Zooming a large window: the film card carries a few hundred controls, and
// the zoom button scales every one of them (and the frame) in one go.
#include "kit/oberformmetal.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {
class BigForm : public tOzoFormMetal
{
public:
    explicit BigForm(int controls)
    {
        BorderStyle = bsSizeable;
        resize(1000, 700);
        for (int i = 0; i < controls; ++i) {
            QWidget *w = i % 2 ? static_cast<QWidget *>(new QLabel(QStringLiteral("Feld"), this))
                               : static_cast<QWidget *>(new QLineEdit(this));
            w->setGeometry(10 + (i % 10) * 95, 10 + (i / 10) * 24, 90, 21);
        }
    }
};
} // namespace

static void BM_ZoomInAndOut(benchmark::State &state)
{
    BigForm *f = CreateForm<BigForm>(int(state.range(0)));
    for (auto _ : state) {
        f->SetZoomed(true);
        f->SetZoomed(false);
    }
    delete f;
}
BENCHMARK(BM_ZoomInAndOut)->Arg(50)->Arg(300)->Unit(benchmark::kMicrosecond);

static void BM_ResizeStep(benchmark::State &state)
{
    QRect g(100, 100, 800, 600);
    int i = 0;
    for (auto _ : state) {
        const int d = (i++ % 7) - 3;
        g = FrameResizeStep(g, TFramePiece::TopLeft, QPoint(d, d), QPoint(0, 0));
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(BM_ResizeStep);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
