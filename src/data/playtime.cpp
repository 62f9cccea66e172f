#include "data/playtime.h"

QString FormatPlayTime(int minutes, int format)
{
    // Hours are taken off while the rest is above 59; a negative time keeps
    // no hours and shows its minutes as they are.
    int h = 0;
    int mm = minutes;
    while (mm > 59) {
        mm -= 60;
        ++h;
    }
    QString mmText = QString::number(mm);
    if (mmText.size() == 1)
        mmText.prepend(QLatin1Char('0'));
    const QString quote = QStringLiteral("'");
    switch (format) {
    case 0:
        return QString::number(minutes) + QStringLiteral(" min");
    case 1:
        return QString::number(minutes) + quote;
    case 2:
        if (minutes < 0 || h == 0)
            return mmText + quote;
        return QString::number(h) + QLatin1Char('h') + mmText + quote;
    case 3:
        if (minutes < 0)
            return mmText + quote;
        return QString::number(h) + QLatin1Char('h') + mmText + quote;
    case 4:
        if (minutes < 0)
            return mmText + QStringLiteral(" min");
        return QString::number(h) + QLatin1Char(':') + mmText;
    default:
        return QString();
    }
}
