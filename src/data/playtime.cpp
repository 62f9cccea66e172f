#include "data/playtime.h"

QString FormatPlayTime(int minutes, int format)
{
    int h = 0;
    int mm = minutes;
    while (mm > 59) {
        mm -= 60;
        ++h;
    }
    QString mmText = QString::number(mm);
    if (mmText.size() == 1)
        mmText.prepend(QLatin1Char('0'));
    const bool negative = minutes < 0;
    switch (format) {
    case 0:
        return QString::number(minutes) + QStringLiteral(" min");
    case 1:
        return QString::number(minutes) + QLatin1Char('\'');
    case 2:
        if (negative || h == 0)
            return (negative ? QString::number(mm) : mmText) + QLatin1Char('\'');
        return QString::number(h) + QLatin1Char('h') + mmText + QLatin1Char('\'');
    case 3:
        if (negative)
            return QString::number(mm) + QLatin1Char('\'');
        return QString::number(h) + QLatin1Char('h') + mmText + QLatin1Char('\'');
    case 4:
        if (negative)
            return QString::number(mm) + QStringLiteral(" min");
        return QString::number(h) + QLatin1Char(':') + mmText;
    default:
        return QString();
    }
}
