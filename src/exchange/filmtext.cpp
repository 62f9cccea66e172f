#include "exchange/filmtext.h"

#include "data/playtime.h"

QString FilmTitleText(const QString &title, const QString &subtitle)
{
    if (subtitle.isEmpty())
        return title;
    if (subtitle.startsWith(QLatin1Char('>')))
        return title + subtitle.mid(1);
    return title + QStringLiteral(" - ") + subtitle;
}

QString FilmPlayTimeText(int minutes, bool lp, bool mw, int playTimeFormat)
{
    QString t = FormatPlayTime(minutes, playTimeFormat);
    if (lp)
        t.prepend(QStringLiteral("LP "));
    if (mw)
        t.prepend(QStringLiteral("mW "));
    return t;
}
