// Importing a generation-C database of 100,000 films (and 20,000 media; the
// layout of those versions: the current one less the fields added on import),
// paired with reading the same old tables with pxlib alone, field by field.
#include "../tests/exchange/paradoxwriter.h"

#include "app/settings.h"
#include "data/tableschemas.h"
#include "exchange/oldimport.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFilms = 100000;
constexpr int kMedia = 20000;

struct OldDatabase
{
    QTemporaryDir dir;
    QString base;

    OldDatabase()
    {
        InitSettingsDefaults(dir.filePath(QStringLiteral("prog")));
        QDir().mkpath(ProgDir);
        QDir().mkpath(DBsDir);
        CreateTemplateTables(ProgDir);
        for (const char *f : {"Def60.KAT", "Def60.Pers.LAB"}) {
            QFile file(ProgDir + QLatin1String(f));
            file.open(QIODevice::WriteOnly);
        }
        QDir().mkpath(dir.filePath(QStringLiteral("alt")));
        base = dir.filePath(QStringLiteral("alt/Videos"));
        QList<QVariantList> films;
        films.reserve(kFilms);
        for (int i = 0; i < kFilms; ++i)
            films.append({QStringLiteral("VHS-SB"), i / 5 + 1, i % 5 + 1, QStringLiteral("Film Nr. %1 über Größe").arg(i),
                          QStringLiteral("Teil %1").arg(i % 7), 90 + i % 60, i % 2 == 0, false, false, i % 3 == 0, false,
                          QStringLiteral("S"), QStringLiteral("2"), QStringLiteral("Müller")});
        WriteParadoxTable(base + QStringLiteral(".Film.DB"),
                          {{"Medium", pxfAlpha, 6}, {"KassNr", pxfShort, 2}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40},
                           {"Untertitel", pxfAlpha, 60}, {"Len", pxfShort, 2}, {"LP", pxfLogical, 1}, {"MW", pxfLogical, 1},
                           {"SW", pxfLogical, 1}, {"Wide", pxfLogical, 1}, {"Frei", pxfLogical, 1}, {"Ton", pxfAlpha, 1},
                           {"Kateg", pxfAlpha, 1}, {"Free1", pxfAlpha, 40}, {"Free2", pxfAlpha, 40}, {"Free3", pxfAlpha, 40},
                           {"Free4", pxfAlpha, 40}, {"Free5", pxfAlpha, 40}, {"Free6", pxfAlpha, 40}, {"Memo", pxfMemoBLOb, 11},
                           {"Grafik", pxfBLOb, 10}},
                          films);
        QList<QVariantList> media;
        for (int i = 0; i < kMedia; ++i)
            media.append({QStringLiteral("VHS-SB"), i + 1, 240, i % 10 == 0 ? QStringLiteral("Jürgen") : QString()});
        WriteParadoxTable(base + QStringLiteral(".Kass.DB"),
                          {{"Medium", pxfAlpha, 6}, {"Nr", pxfShort, 2}, {"Len", pxfShort, 2}, {"Verliehen", pxfAlpha, 40},
                           {"Verleihdatum", pxfDate, 4}, {"Free1", pxfAlpha, 40}, {"Free2", pxfAlpha, 40}, {"Free3", pxfAlpha, 40},
                           {"Free4", pxfAlpha, 40}, {"Memo", pxfMemoBLOb, 11}},
                          media);
        for (const char *side : {".KAT", ".LAB"}) {
            QFile file(base + QLatin1String(side));
            file.open(QIODevice::WriteOnly);
        }
    }
};

OldDatabase &oldDatabase()
{
    static OldDatabase d;
    return d;
}

void BM_ImportGenerationC(benchmark::State &state)
{
    OldDatabase &d = oldDatabase();
    for (auto _ : state) {
        state.PauseTiming();
        QDir(DBsDir + QStringLiteral("Videos")).removeRecursively();
        QFile::remove(DBsDir + QStringLiteral("Videos.tarvo"));
        state.ResumeTiming();
        if (ImportOldDatabaseFile(d.base, false).isEmpty())
            state.SkipWithError("import failed");
    }
}

// The baseline: every record and field of both tables through pxlib.
void readAll(const QString &path, benchmark::State &state)
{
    pxdoc_t *doc = PX_new();
    if (PX_open_file(doc, QFile::encodeName(path).constData()) < 0) {
        state.SkipWithError("open failed");
        return;
    }
    QByteArray buffer(PX_get_recordsize(doc), '\0');
    const int n = PX_get_num_records(doc);
    const int fields = PX_get_num_fields(doc);
    pxfield_t *f = PX_get_fields(doc);
    long sum = 0;
    for (int r = 0; r < n; ++r) {
        PX_get_record(doc, r, buffer.data());
        char *p = buffer.data();
        for (int i = 0; i < fields; ++i) {
            if (f[i].px_ftype == pxfAlpha) {
                char *s = nullptr;
                if (PX_get_data_alpha(doc, p, f[i].px_flen, &s) > 0 && s) {
                    sum += platform::fromCp1252(QByteArrayView(s, qsizetype(std::strlen(s)))).size();
                    doc->free(doc, s);
                }
            } else if (f[i].px_ftype == pxfShort) {
                short v = 0;
                PX_get_data_short(doc, p, f[i].px_flen, &v);
                sum += v;
            } else if (f[i].px_ftype == pxfLogical) {
                char v = 0;
                PX_get_data_byte(doc, p, f[i].px_flen, &v);
                sum += v;
            }
            p += f[i].px_flen;
        }
    }
    benchmark::DoNotOptimize(sum);
    PX_close(doc);
    PX_delete(doc);
}

void BM_ReadWithPxlib(benchmark::State &state)
{
    OldDatabase &d = oldDatabase();
    for (auto _ : state) {
        readAll(d.base + QStringLiteral(".Film.DB"), state);
        readAll(d.base + QStringLiteral(".Kass.DB"), state);
    }
}

} // namespace

BENCHMARK(BM_ReadWithPxlib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportGenerationC)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
