#include "platform/tcolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

struct Named {
    const char *name;
    TColor value;
};

constexpr Named kNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},
    {"clMedGray", clMedGray}, {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clNone", clNone}, {"clDefault", clDefault},
};

QColor systemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0: return pal.color(QPalette::Button);
    case 1: return pal.color(QPalette::Window);
    case 2: return pal.color(QPalette::Active, QPalette::Highlight);
    case 3: return pal.color(QPalette::Inactive, QPalette::Mid);
    case 4: return pal.color(QPalette::Window);
    case 5: return pal.color(QPalette::Base);
    case 6: return pal.color(QPalette::Shadow);
    case 7: return pal.color(QPalette::WindowText);
    case 8: return pal.color(QPalette::Text);
    case 9: return pal.color(QPalette::Active, QPalette::HighlightedText);
    case 10: case 11: return pal.color(QPalette::Button);
    case 12: return pal.color(QPalette::Dark);
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);
    case 16: return pal.color(QPalette::Dark);
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);
    case 18: return pal.color(QPalette::ButtonText);
    case 19: return pal.color(QPalette::Inactive, QPalette::WindowText);
    case 20: return pal.color(QPalette::Light);
    case 21: return pal.color(QPalette::Shadow);
    case 22: return pal.color(QPalette::Midlight);
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return pal.color(QPalette::Button);
    }
}

} // namespace

QColor toQColor(TColor c)
{
    if (c == clNone)
        return QColor(Qt::transparent);
    if (c == clDefault)
        return systemColor(5);
    if (c < 0)
        return systemColor(c & 0xFF);
    const auto u = static_cast<std::uint32_t>(c);
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

TColor fromQColor(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return TColor(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

bool identToTColor(const QString &ident, TColor *out)
{
    const QString t = ident.trimmed();
    for (const Named &n : kNames) {
        if (t.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            if (out)
                *out = n.value;
            return true;
        }
    }
    bool ok = false;
    qint64 v = 0;
    if (t.startsWith(u'$'))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return false;
    if (out)
        *out = static_cast<TColor>(static_cast<std::uint32_t>(v));
    return true;
}

QString tColorToIdent(TColor c)
{
    for (const Named &n : kNames)
        if (n.value == c)
            return QLatin1String(n.name);
    return QStringLiteral("$%1").arg(static_cast<std::uint32_t>(c), 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace platform
