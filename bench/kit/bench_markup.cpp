// Laying out a message: every message box lays its text out on each paint.
// A typical message is a few hundred characters; an error message may carry
// a long unbroken value (a path, a data line), which is broken by characters.
#include "kit/markup.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

static QFont messageFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    return f;
}

static void BM_LayoutMessage(benchmark::State &state)
{
    const QString text = QStringLiteral(
        "Die Datenbank \\B\"Sammlung\"\\b konnte nicht geöffnet werden.\\lb\\lbDie Tabelle \\cRed"
        "Film.DB\\cN ist beschädigt oder wird von einem anderen Programm benutzt. Bitte schließen "
        "Sie alle anderen Programme und versuchen Sie es noch einmal; hilft das nicht, reparieren "
        "Sie die Tabelle mit den Tabellenwerkzeugen im Menü \\IDatei\\i.");
    const FontMeasurer m(messageFont());
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutMarkup(text, 401, MarkupStyle(), m));
}
BENCHMARK(BM_LayoutMessage);

static void BM_LayoutUnbrokenValue(benchmark::State &state)
{
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text.append(QChar('a' + i % 26));
    const FontMeasurer m(messageFont());
    for (auto _ : state)
        benchmark::DoNotOptimize(LayoutMarkup(text, 401, MarkupStyle(), m));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LayoutUnbrokenValue)->Arg(200)->Arg(2000)->Arg(20000);

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
