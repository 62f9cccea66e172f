// The message mark-up of the program's labels, as pure functions: expanding
// the escapes into the coded form, and laying the coded text out into lines.
//
// Mark-up: "\\" a backslash; "\B" "\b" bold on/off, "\I" "\i" italic, "\U"
// "\u" underline (exact case); "\N" the label's own style, "\cBlack" ...
// "\cWhite" a colour, "\cN" the label's own colour, "\lb" a line break (any
// case); CR LF, LF CR, CR and LF break lines too. Anything else after a
// backslash shows as typed.
//
// Coded form: each escape with a code becomes the marker U+0001 followed by
// the code character (100 "d" to 125 "}"); every line break a single LF.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

enum TPZHorzAlignment { haLeft, haRight, haCenter };
enum TPZVertAlignment { vaTop, vaBottom, vaCenter };

constexpr QChar kMarkupMarker = QChar(1);

// Replaces every occurrence of oldText in s by newText, searching again from
// the start after each replacement; with ignoreCase only the letters a-z are
// folded. newText must not contain oldText.
void StringReplaceAll(QString &s, const QString &oldText, const QString &newText, bool ignoreCase);

// Turns marked-up text into the coded form, in place.
void ExpandMarkup(QString &s);

// The caption without any mark-up: what a plain text field can show of it
// (styles and colours dropped, line breaks as LF).
QString StripMarkup(const QString &caption);

// The text style that mark-up switches: the font's style bits and a colour.
struct MarkupStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;

    bool operator==(const MarkupStyle &o) const
    {
        return bold == o.bold && italic == o.italic && underline == o.underline && strikeOut == o.strikeOut
            && color == o.color;
    }
    bool operator!=(const MarkupStyle &o) const { return !(*this == o); }

    static MarkupStyle of(const QFont &font, const QColor &color);
    QFont applied(QFont font) const;
};

// Applies one internal code (100 to 125) to the current style; base is the
// label's own style and colour (codes 106 and 125).
void ApplyMarkupCode(MarkupStyle &current, ushort code, const MarkupStyle &base);
// The colour of the codes 107 to 124.
QColor MarkupCodeColor(ushort code);

// Measures text as the label's canvas would.
class MarkupMeasurer
{
public:
    virtual ~MarkupMeasurer() = default;
    // Width of a run of text (no markers, no LF) in the given style.
    virtual int textWidth(const QString &run, const MarkupStyle &style) const = 0;
    // Height of a text line ("A") in the given style.
    virtual int textHeight(const MarkupStyle &style) const = 0;
};

// The measurer over a real font.
class FontMeasurer : public MarkupMeasurer
{
public:
    explicit FontMeasurer(const QFont &font) : m_font(font) {}
    int textWidth(const QString &run, const MarkupStyle &style) const override;
    int textHeight(const MarkupStyle &style) const override;

private:
    const QFontMetrics &metrics(const MarkupStyle &style) const;
    QFont m_font;
    mutable std::array<std::optional<QFontMetrics>, 16> m_metrics; // by style bits
};

// Width of a piece of coded text, starting in style: runs between markers and
// LFs summed, each marker applied on the way (base as for ApplyMarkupCode).
int MarkupWidth(const QString &coded, const MarkupStyle &style, const MarkupStyle &base,
                const MarkupMeasurer &m);

struct MarkupRun {
    QString text;
    int x = 0;        // from the line's left edge
    int width = 0;
    MarkupStyle style;
};

struct MarkupLine {
    QString coded;        // the line's coded text, trailing blank or LF cut
    QVector<MarkupRun> runs;
    int width = 0;        // width of the line as drawn
    int measuredWidth = 0; // width before the trailing blank or LF was cut
    int x = 0;            // left edge and top, once placed
    int top = 0;
};

struct MarkupLayout {
    QVector<MarkupLine> lines;
    int lineHeight = 0;
    QRect block; // (0, 0, widest line measured before its cut, lines * lineHeight) until placed
};

// Breaks the caption into lines no wider than width (a word wider than that
// is broken by characters; a word of which not even one character fits stands
// alone on its line). base is the label's own style.
MarkupLayout LayoutMarkup(const QString &caption, int width, const MarkupStyle &base, const MarkupMeasurer &m);

// Places the laid-out block in a client area of the given size: the block by
// both alignments, each line by the horizontal one inside the block.
void PlaceMarkup(MarkupLayout &layout, const QSize &client, TPZHorzAlignment h, TPZVertAlignment v);
