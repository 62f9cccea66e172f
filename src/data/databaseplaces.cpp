#include "data/databaseplaces.h"

#include "app/apppaths.h"
#include "data/databasefiles.h"
#include "platform/paths.h"

TDatabasePlaces TDatabasePlaces::fromName(const QString &name)
{
    return fromPath(ExpandDBPath(StripTarvoExtensions(name)));
}

TDatabasePlaces TDatabasePlaces::fromPath(const QString &path)
{
    TDatabasePlaces p;
    QString n = platform::toNativeSeparators(path);
    while (n.size() > 1 && n.endsWith(u'/'))
        n.chop(1);
    if (n.isEmpty())
        return p;
    p.Name = n;
    p.MainFile = n + QStringLiteral(".tarvo");
    p.Base = n + QLatin1Char('/');
    p.DBDir = p.Base + QStringLiteral("DB/");
    p.LinkDir = p.Base + QStringLiteral("LNK/");
    p.MediaTable = p.tablePath(QStringLiteral("Med"));
    p.FilmTable = p.tablePath(QStringLiteral("Film"));
    p.PersBase = p.DBDir + QStringLiteral("Pers");
    p.Categories = p.DBDir + QStringLiteral("KAT");
    p.PersCaptions = p.DBDir + QStringLiteral("Pers.LAB");
    return p;
}

TDatabasePlaces TDatabasePlaces::fromBase(const QString &base)
{
    return fromPath(base);
}
