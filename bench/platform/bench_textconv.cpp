// Conversions run once per exported field: a 100,000-film export calls them
// about two million times.
#include "kit/textconv.h"
#include "platform/cp1252.h"

#include <benchmark/benchmark.h>

static void BM_Cp1252RoundTrip(benchmark::State &state)
{
    QByteArray bytes;
    for (int i = 0; i < 40; ++i)
        bytes.append(char(32 + (i * 7) % 224));
    for (auto _ : state) {
        const QString s = platform::fromCp1252(bytes);
        benchmark::DoNotOptimize(platform::toCp1252(s));
    }
}
BENCHMARK(BM_Cp1252RoundTrip);

static void BM_XmlEscapeTitle(benchmark::State &state)
{
    const QString title = QStringLiteral("Tom & Jerry's \"Abenteuer\" <Teil 2> für Groß und Klein");
    for (auto _ : state)
        benchmark::DoNotOptimize(XmlEscape(title));
}
BENCHMARK(BM_XmlEscapeTitle);

BENCHMARK_MAIN();
