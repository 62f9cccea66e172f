#include "kit/markup.h"

#include <QFontMetrics>

namespace {

QString upperAscii(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        const ushort u = c.unicode();
        if (u >= 'a' && u <= 'z')
            c = QChar(u - ('a' - 'A'));
    }
    return out;
}

QString markerPair(ushort code)
{
    return QString(kMarkupMarker) + QChar(code);
}

struct Escape {
    const char *text;
    ushort code;
};

constexpr Escape kExactEscapes[] = {
    {"\\B", 100}, {"\\b", 101}, {"\\I", 102}, {"\\i", 103}, {"\\U", 104}, {"\\u", 105},
};

// In the order they are replaced: "\cNavy" before "\cN", so the longer name wins.
constexpr Escape kAnyCaseEscapes[] = {
    {"\\N", 106},       {"\\cBlack", 107}, {"\\cMaroon", 108}, {"\\cGreen", 109},  {"\\cOlive", 110},
    {"\\cNavy", 111},   {"\\cPurple", 112}, {"\\cTeal", 113},  {"\\cGray", 114},   {"\\cSilver", 115},
    {"\\cRed", 116},    {"\\cLime", 117},  {"\\cYellow", 118}, {"\\cBlue", 119},   {"\\cFuchsia", 120},
    {"\\cAqua", 121},   {"\\cLtGray", 122}, {"\\cDkGray", 123}, {"\\cWhite", 124}, {"\\cN", 125},
};

constexpr QRgb kCodeColors[] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(128, 128, 128),
    qRgb(192, 192, 192), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 255, 255),
};

bool isMarker(QChar c)
{
    return c == kMarkupMarker;
}

// Calls run(text, style) for each run of the coded piece and applies the
// markers between them; returns the style at the end of the piece.
template <typename RunFn>
MarkupStyle walkRuns(const QString &coded, MarkupStyle style, const MarkupStyle &base, RunFn run)
{
    int start = 0;
    const int n = coded.size();
    int i = 0;
    while (i < n) {
        const QChar c = coded.at(i);
        if (c == QLatin1Char('\n') || isMarker(c)) {
            if (i > start)
                run(coded.mid(start, i - start), style);
            if (isMarker(c)) {
                if (i + 1 < n)
                    ApplyMarkupCode(style, coded.at(i + 1).unicode(), base);
                i += 2;
            } else {
                i += 1;
            }
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        run(coded.mid(start), style);
    return style;
}

// The next word of the coded text: up to and including the first blank or
// LF, or the whole rest.
QString takeWord(const QString &text, int &pos)
{
    if (pos >= text.size())
        return QString();
    int end = pos;
    while (end < text.size() && text.at(end) != QLatin1Char(' ') && text.at(end) != QLatin1Char('\n'))
        ++end;
    if (end < text.size())
        ++end;
    const QString word = text.mid(pos, end - pos);
    pos = end;
    return word;
}

} // namespace

void StringReplaceAll(QString &s, const QString &oldText, const QString &newText, bool ignoreCase)
{
    if (oldText.isEmpty())
        return;
    QString work = ignoreCase ? upperAscii(s) : s;
    const QString needle = ignoreCase ? upperAscii(oldText) : oldText;
    // Everything before the last replacement is free of the needle, so the
    // search from the start can begin where a new occurrence could overlap it.
    int from = 0;
    for (;;) {
        const int pos = work.indexOf(needle, from);
        if (pos < 0)
            break;
        s.replace(pos, oldText.size(), newText);
        work.replace(pos, needle.size(), ignoreCase ? upperAscii(newText) : newText);
        from = qMax(0, pos - int(needle.size()) + 1);
    }
}

void ExpandMarkup(QString &s)
{
    // The marker and the placeholder cannot be typed into a caption; should
    // stored text carry them, they would be taken for codes.
    s.remove(QChar(0));
    s.remove(kMarkupMarker);

    StringReplaceAll(s, QStringLiteral("\\\\"), QString(QChar(0)), false);
    for (const Escape &e : kExactEscapes)
        StringReplaceAll(s, QString::fromLatin1(e.text), markerPair(e.code), false);
    for (const Escape &e : kAnyCaseEscapes)
        StringReplaceAll(s, QString::fromLatin1(e.text), markerPair(e.code), true);
    StringReplaceAll(s, QStringLiteral("\r\n"), QStringLiteral("\n"), false);
    StringReplaceAll(s, QStringLiteral("\n\r"), QStringLiteral("\n"), false);
    StringReplaceAll(s, QStringLiteral("\r"), QStringLiteral("\n"), false);
    StringReplaceAll(s, QStringLiteral("\\lb"), QStringLiteral("\n"), true);
    s.replace(QChar(0), QLatin1Char('\\'));
}

QString StripMarkup(const QString &caption)
{
    QString coded = caption;
    ExpandMarkup(coded);
    QString out;
    out.reserve(coded.size());
    for (int i = 0; i < coded.size(); ++i) {
        if (isMarker(coded.at(i)))
            ++i;
        else
            out.append(coded.at(i));
    }
    return out;
}

MarkupStyle MarkupStyle::of(const QFont &font, const QColor &color)
{
    MarkupStyle s;
    s.bold = font.bold();
    s.italic = font.italic();
    s.underline = font.underline();
    s.strikeOut = font.strikeOut();
    s.color = color;
    return s;
}

QFont MarkupStyle::applied(QFont font) const
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
    return font;
}

QColor MarkupCodeColor(ushort code)
{
    if (code < 107 || code > 124)
        return QColor();
    return QColor(kCodeColors[code - 107]);
}

void ApplyMarkupCode(MarkupStyle &current, ushort code, const MarkupStyle &base)
{
    switch (code) {
    case 100: current.bold = true; break;
    case 101: current.bold = false; break;
    case 102: current.italic = true; break;
    case 103: current.italic = false; break;
    case 104: current.underline = true; break;
    case 105: current.underline = false; break;
    case 106:
        current.bold = base.bold;
        current.italic = base.italic;
        current.underline = base.underline;
        current.strikeOut = base.strikeOut;
        break;
    case 125: current.color = base.color; break;
    default:
        if (code >= 107 && code <= 124)
            current.color = MarkupCodeColor(code);
        break;
    }
}

const QFontMetrics &FontMeasurer::metrics(const MarkupStyle &style) const
{
    const int key = (style.bold ? 1 : 0) | (style.italic ? 2 : 0) | (style.underline ? 4 : 0)
        | (style.strikeOut ? 8 : 0);
    auto &slot = m_metrics[size_t(key)];
    if (!slot)
        slot.emplace(style.applied(m_font));
    return *slot;
}

int FontMeasurer::textWidth(const QString &run, const MarkupStyle &style) const
{
    return metrics(style).horizontalAdvance(run);
}

int FontMeasurer::textHeight(const MarkupStyle &style) const
{
    return metrics(style).height();
}

int MarkupWidth(const QString &coded, const MarkupStyle &style, const MarkupStyle &base, const MarkupMeasurer &m)
{
    int width = 0;
    walkRuns(coded, style, base, [&](const QString &run, const MarkupStyle &s) { width += m.textWidth(run, s); });
    return width;
}

MarkupLayout LayoutMarkup(const QString &caption, int width, const MarkupStyle &base, const MarkupMeasurer &m)
{
    MarkupLayout layout;
    QString text = caption;
    ExpandMarkup(text);
    layout.lineHeight = m.textHeight(base);
    const int W = width;

    // The style the lines are drawn in; switches carry over into later lines.
    MarkupStyle current = base;
    auto widthOf = [&](const QString &piece) { return MarkupWidth(piece, current, base, m); };

    auto emitLine = [&](QString line) {
        MarkupLine out;
        out.measuredWidth = widthOf(line);
        if (out.measuredWidth > layout.block.width())
            layout.block.setWidth(out.measuredWidth);
        if (!line.isEmpty() && (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char(' '))))
            line.chop(1);
        out.coded = line;
        int x = 0;
        current = walkRuns(line, current, base, [&](const QString &run, const MarkupStyle &s) {
            MarkupRun r;
            r.text = run;
            r.x = x;
            r.width = m.textWidth(run, s);
            r.style = s;
            x += r.width;
            out.runs.append(r);
        });
        out.width = x;
        out.top = int(layout.lines.size()) * layout.lineHeight;
        layout.lines.append(out);
    };

    // The longest prefix of s that fits, found by doubling and halving rather
    // than by dropping one character after the other, so that a long
    // unbroken value costs about as much as the lines it fills.
    auto fitLength = [&](const QString &s) {
        const int n = int(s.size());
        int good = 0;
        int bad = n;
        for (int probe = qMin(n, 64);; probe = qMin(n, probe * 2)) {
            if (widthOf(s.left(probe)) > W) {
                bad = probe;
                break;
            }
            good = probe;
            if (probe == n)
                return n;
        }
        while (bad - good > 1) {
            const int mid = good + (bad - good) / 2;
            if (widthOf(s.left(mid)) <= W)
                good = mid;
            else
                bad = mid;
        }
        return good;
    };

    int pos = 0;
    QString word = takeWord(text, pos);
    while (!word.isEmpty()) {
        QString line;
        const int fit = fitLength(word);
        if (fit < word.size()) {
            // An over-wide word: as much of it as fits, never ending the line
            // between a marker and its code.
            int cut = fit;
            while (cut > 0 && isMarker(word.at(cut - 1)))
                --cut;
            if (cut == 0) {
                line = word;
                word = takeWord(text, pos);
            } else {
                line = word.left(cut);
                word = word.mid(cut);
            }
        } else {
            while (!word.isEmpty()) {
                if (widthOf(line + word) > W || line.contains(QLatin1Char('\n')))
                    break;
                line += word;
                word = takeWord(text, pos);
            }
        }
        emitLine(line);
    }
    layout.block.setHeight(int(layout.lines.size()) * layout.lineHeight);
    return layout;
}

void PlaceMarkup(MarkupLayout &layout, const QSize &client, TPZHorzAlignment h, TPZVertAlignment v)
{
    const int bw = layout.block.width();
    const int bh = layout.block.height();
    int dx = 0;
    if (h == haRight)
        dx = client.width() - bw;
    else if (h == haCenter)
        dx = client.width() / 2 - bw / 2;
    int dy = 0;
    if (v == vaBottom)
        dy = client.height() - bh;
    else if (v == vaCenter)
        dy = client.height() / 2 - bh / 2;
    layout.block.moveTo(dx, dy);
    for (int i = 0; i < layout.lines.size(); ++i) {
        MarkupLine &line = layout.lines[i];
        int x = 0;
        if (h == haRight)
            x = bw - line.width;
        else if (h == haCenter)
            x = bw / 2 - line.width / 2;
        line.x = dx + x;
        line.top = dy + i * layout.lineHeight;
    }
}
