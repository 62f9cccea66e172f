#include "platform/rounding.h"

#include <cmath>

namespace platform {

std::int64_t mulDivRoundHalfEven(std::int64_t value, std::int64_t num, std::int64_t den)
{
    if (den == 0)
        return 0;
    if (den < 0) {
        den = -den;
        num = -num;
    }
    // 128-bit intermediate so large values cannot overflow.
    const __int128 p = static_cast<__int128>(value) * num;
    __int128 q = p / den;
    __int128 r = p % den;
    if (r < 0) { // floor division
        r += den;
        q -= 1;
    }
    const __int128 twice = r * 2;
    if (twice > den || (twice == den && (q & 1)))
        q += 1;
    return static_cast<std::int64_t>(q);
}

std::int64_t roundHalfEven(double value)
{
    const double fl = std::floor(value);
    const double diff = value - fl;
    std::int64_t r = static_cast<std::int64_t>(fl);
    if (diff > 0.5 || (diff == 0.5 && (r & 1)))
        ++r;
    return r;
}

bool parseDecimalRatio(const QString &text, Ratio *out)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    if (t.isEmpty())
        return false;
    bool neg = false;
    if (t.startsWith(u'-')) {
        neg = true;
        t.remove(0, 1);
    }
    const qsizetype dot = t.indexOf(u'.');
    const QString whole = dot < 0 ? t : t.left(dot);
    const QString frac = dot < 0 ? QString() : t.mid(dot + 1);
    if ((whole + frac).isEmpty() || frac.size() > 9 || whole.size() > 9)
        return false;
    for (QChar c : whole + frac)
        if (!c.isDigit() || c.unicode() > '9')
            return false;
    std::int64_t den = 1;
    for (int i = 0; i < frac.size(); ++i)
        den *= 10;
    const std::int64_t num = (whole.isEmpty() ? 0 : whole.toLongLong()) * den
                             + (frac.isEmpty() ? 0 : frac.toLongLong());
    if (out)
        *out = Ratio{neg ? -num : num, den};
    return true;
}

} // namespace platform
