#include "kit/textconv.h"

#include "platform/cp1252.h"

namespace {

struct DosPair {
    unsigned char ansi;
    unsigned char dos;
};

constexpr DosPair kDos[] = {
    {252, 129}, {233, 130}, {226, 131}, {228, 132}, {224, 133}, {231, 135}, {234, 136}, {235, 137},
    {232, 138}, {196, 142}, {246, 148}, {214, 153}, {220, 154}, {225, 160}, {223, 225},
};

QByteArray mapBytes(const QByteArray &in, bool toDos)
{
    QByteArray out = in;
    for (char &c : out) {
        const auto b = static_cast<unsigned char>(c);
        for (const DosPair &p : kDos) {
            if ((toDos ? p.ansi : p.dos) == b) {
                c = static_cast<char>(toDos ? p.dos : p.ansi);
                break;
            }
        }
    }
    return out;
}

} // namespace

const char *HtmlEntityOf(char16_t ch)
{
    switch (ch) {
    case 192: return "&Agrave;";
    case 193: return "&Aacute;";
    case 194: return "&Acirc;";
    case 196: return "&Auml;";
    case 199: return "&Ccedil;";
    case 200: return "&Egrave;";
    case 201: return "&Eacute;";
    case 202: return "&Ecirc;";
    case 203: return "&Euml;";
    case 214: return "&Ouml;";
    case 220: return "&Uuml;";
    case 223: return "&szlig;";
    case 224: return "&agrave;";
    case 225: return "&aacute;";
    case 226: return "&acirc;";
    case 228: return "&auml;";
    case 231: return "&ccedil;";
    case 232: return "&egrave;";
    case 233: return "&eacute;";
    case 234: return "&ecirc;";
    case 235: return "&euml;";
    case 246: return "&ouml;";
    case 252: return "&uuml;";
    default: return nullptr;
    }
}

namespace {

QString escapeMarkup(const QString &s, bool apostrophe)
{
    // Most texts have nothing to escape: they are handed back as they are.
    const auto plain = [&] {
        for (QChar c : s)
            switch (c.unicode()) {
            case '&': case '<': case '>': case '"': return false;
            case '\'': if (apostrophe) return false; break;
            default: break;
            }
        return true;
    };
    if (plain())
        return s;
    QString out;
    out.reserve(s.size() + s.size() / 8);
    for (QChar c : s) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'':
            if (apostrophe)
                out += QLatin1String("&apos;");
            else
                out += c;
            break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

QByteArray AnsiToDos(const QByteArray &ansi)
{
    return mapBytes(ansi, true);
}

QByteArray DosToAnsi(const QByteArray &dos)
{
    return mapBytes(dos, false);
}

QString AnsiToHtmlEntities(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (const char *e = HtmlEntityOf(c.unicode()))
            out += QLatin1String(e);
        else
            out += c;
    }
    return out;
}

QString HtmlEscape(const QString &s)
{
    return escapeMarkup(s, false);
}

QString XmlEscape(const QString &s)
{
    return escapeMarkup(s, true);
}

QByteArray AnsiToUtf8(const QString &s)
{
    return s.toUtf8();
}

QString UrlEncode(const QString &s)
{
    static const QByteArray reserved = QByteArrayLiteral("\"#%&+./:;<=>?[\\]^_{|}~");
    QString out;
    out.reserve(s.size() * 3);
    const QByteArray bytes = platform::toCp1252(s);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == ' ')
            out += u'+';
        else if (b >= 128 || reserved.contains(ch))
            out += QStringLiteral("%%1").arg(uint(b), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QChar(b);
    }
    return out;
}

QString EscapeAmpersands(const QString &s)
{
    QString out = s;
    out.replace(u'&', QLatin1String("&amp;"));
    return out;
}
