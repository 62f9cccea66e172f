#include "dbui/boolsymbols.h"

namespace dbui {

BoolSymbolStyle boolSymbolStyleFromFlags(int flags)
{
    BoolSymbolStyle s;
    s.bothSymbols = (flags & 1) != 0;
    s.trueSymbolOnly = (flags & 2) != 0;
    s.tickStyle = (flags & 4) != 0;
    return s;
}

int boolSymbolStyleToFlags(const BoolSymbolStyle &style)
{
    return (style.bothSymbols ? 1 : 0) | (style.trueSymbolOnly ? 2 : 0) | (style.tickStyle ? 4 : 0);
}

QString boolSymbolText(bool value, const BoolSymbolStyle &style)
{
    if (value) {
        if (style.bothSymbols)
            return style.tickStyle ? QStringLiteral("\u2611") : QStringLiteral("\u2612");
        if (style.trueSymbolOnly)
            return style.tickStyle ? QStringLiteral("\u2713") : QStringLiteral("\u2717");
        return QStringLiteral("X");
    }
    return style.bothSymbols ? QStringLiteral("\u2610") : QString();
}

QString boolSymbolText(const QVariant &value, const BoolSymbolStyle &style)
{
    if (!value.isValid() || value.isNull())
        return QString();
    return boolSymbolText(value.toBool(), style);
}

} // namespace dbui
