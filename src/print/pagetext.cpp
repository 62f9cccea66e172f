#include "print/pagetext.h"

#include "data/playtime.h"
#include "print/labellayout.h"

#include <QFontMetrics>

TPageMetrics SetUpPageMetrics(int widthPx, int widthMm, int heightPx, int heightMm)
{
    TPageMetrics m;
    m.scale = PrinterLabelScale(widthPx, widthMm, heightPx, heightMm);
    m.PW = widthPx;
    m.PH = heightPx;
    m.ML = m.px(170);
    m.MR = m.px(100);
    m.T = m.py(120);
    m.B = m.py((heightMm - 10) * 10);
    return m;
}

QFont PageFont(const QString &name, int points, const TLabelScale &scale, bool italic, bool bold)
{
    QFont base(name.isEmpty() ? QStringLiteral("Arial") : name);
    base.setItalic(italic);
    base.setBold(bold);
    return LabelFontAtPoints(base, points, scale.yPerMm());
}

int PageTextHeight(const QFont &font)
{
    return QFontMetrics(font).height();
}

int PageAscent(const QFont &font)
{
    return QFontMetrics(font).ascent();
}

QString FilmTimeText(std::optional<int> len, bool lp, bool mw, int playTimeFormat)
{
    const int minutes = len.value_or(0);
    QString t = minutes == 0 ? QStringLiteral("(") : QStringLiteral("(ca. ") + FormatPlayTime(minutes, playTimeFormat);
    if (lp)
        t += QStringLiteral(" LP");
    if (mw)
        t += QStringLiteral(" m.W.");
    t += QLatin1Char(')');
    if (t == QLatin1String("()"))
        return QString();
    return QStringLiteral("  ") + t;
}

namespace {
bool isBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

QString WrapTextLine(int &pos, const QString &text, const QFont &font, int width)
{
    const QFontMetrics fm(font);
    const int n = int(text.size());
    const int start = pos;
    int end = start; // the paragraph ends at the next line break
    while (end < n && !isBreak(text.at(end)))
        ++end;
    // The longest start of the paragraph that fits, found by halving (a
    // line is measured whole, as it is drawn).
    int lo = 0, hi = end - start;
    if (fm.horizontalAdvance(text.mid(start, hi)) > width) {
        --hi;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (fm.horizontalAdvance(text.mid(start, mid)) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
    } else {
        lo = hi;
    }
    pos = start + lo;
    const bool tooWide = pos < end;
    if (tooWide) {
        if (pos < n && text.at(pos) == QLatin1Char(' ')) {
            ++pos; // the break falls on a blank: it ends this line
        } else {
            int k = pos - 1;
            while (k >= start && text.at(k) != QLatin1Char(' ') && text.at(k) != QLatin1Char('-'))
                --k;
            if (k >= start)
                pos = k + 1;
            else if (pos == start)
                ++pos; // not even one character fits: it goes on a line of its own
        }
    }
    QString line = text.mid(start, pos - start);
    if (pos < n && text.at(pos) == QLatin1Char('\r')) {
        ++pos;
        if (pos < n && text.at(pos) == QLatin1Char('\n'))
            ++pos;
    } else if (pos < n && text.at(pos) == QLatin1Char('\n')) {
        ++pos;
    }
    return line;
}
