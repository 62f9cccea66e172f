#include "data/locate.h"

#include "data/tapearithmetic.h"
#include "engine/table.h"

QString KindFromFlags(bool bought, bool dvd)
{
    if (bought)
        return QStringLiteral("VHS-KK");
    return dvd ? QStringLiteral("DVD") : QStringLiteral("VHS-SB");
}

static bool usable(engine::Table *t)
{
    return t && t->active();
}

bool LocateMedium(const MainDataSets &ds, const QString &kind, int nr, bool onCard)
{
    engine::Table *t = onCard ? ds.Table1 : ds.Table11;
    if (!usable(t))
        return false;
    const QString k = CutKind(kind);
    if (t->indexName().isEmpty())
        return t->locate(QStringLiteral("Medium;Nr"), QVariantList{k, nr});
    // Numbers are not forced unique across kinds: try the kind asked for first.
    return t->locate(QStringLiteral("Medium;Nr"), QVariantList{k, nr})
        || t->locate(QStringLiteral("Nr"), QVariant(nr));
}

bool LocateMediumByNr(const MainDataSets &ds, int nr)
{
    return usable(ds.Table1) && ds.Table1->locate(QStringLiteral("Nr"), QVariant(nr));
}

bool LocateMediumByKind(const MainDataSets &ds, int nr, bool bought, bool dvd, bool onCard)
{
    return LocateMedium(ds, KindFromFlags(bought, dvd), nr, onCard);
}

bool LocateMediumOfCurrentFilm(const MainDataSets &ds)
{
    if (!usable(ds.filmTable) || ds.filmTable->isEmpty())
        return false;
    const int nr = ds.filmTable->fieldByName(QStringLiteral("KassNr"))->asInteger();
    const QString kind = ds.filmTable->fieldByName(QStringLiteral("Medium"))->asString();
    return LocateMedium(ds, kind, nr, true);
}

bool LocateFilm(const MainDataSets &ds, const QString &kind, int mediumNr, int filmNr,
                bool inFilmWindow)
{
    engine::Table *t = inFilmWindow ? ds.filmTable : ds.Table2;
    return usable(t)
        && t->locate(QStringLiteral("Medium;KassNr;FilmNr"),
                     QVariantList{CutKind(kind), mediumNr, filmNr});
}

bool LocateFilmByKind(const MainDataSets &ds, int mediumNr, bool bought, bool dvd, int filmNr,
                      bool inFilmWindow)
{
    return LocateFilm(ds, KindFromFlags(bought, dvd), mediumNr, filmNr, inFilmWindow);
}

bool LocateFilmOfCurrentMedium(const MainDataSets &ds, int filmNr, bool fromCard,
                               bool inFilmWindow)
{
    engine::Table *m = fromCard ? ds.Table1 : ds.Table11;
    if (!usable(m) || m->isEmpty())
        return false;
    const QString kind = m->fieldByName(QStringLiteral("Medium"))->asString();
    const int nr = m->fieldByName(QStringLiteral("Nr"))->asInteger();
    return LocateFilm(ds, kind, nr, filmNr, inFilmWindow);
}
