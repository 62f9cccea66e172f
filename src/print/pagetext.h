// What film pages, person pages and attachment cards share: the page's
// pixels per millimetre and margins, the fonts at a size in points, the
// time text after a film's title and the wrapping of a memo into lines.
#pragma once

#include "print/labelscale.h"

#include <QFont>
#include <QString>
#include <optional>

// One page of a job in device pixels, from the printable size in pixels and
// millimetres. The margins are those of a front page; a back side swaps
// left and right.
struct TPageMetrics
{
    TLabelScale scale;
    int ML = 0, MR = 0; // left and right margin of a front page
    int PW = 0, PH = 0; // printable width and height
    int T = 0, B = 0;   // top and bottom of the writing area

    int px(int tenths) const { return scale.px(tenths); }
    int py(int tenths) const { return scale.py(tenths); }
};
// 17 mm left, 10 mm right, 12 mm top, 10 mm bottom.
TPageMetrics SetUpPageMetrics(int widthPx, int widthMm, int heightPx, int heightMm);

// The page font: the name, "Arial" when it is empty, at a size in points on
// a device of the given vertical pixels per millimetre.
QFont PageFont(const QString &name, int points, const TLabelScale &scale, bool italic = false, bool bold = false);
// The device's text height of the font ("Pp", "Xy" and "pP" measure alike).
int PageTextHeight(const QFont &font);
int PageAscent(const QFont &font);

// "(ca. 95 min LP m.W.)" after a title: "(ca. " + play time, or "(" for a
// length of 0; " LP", " m.W."; ")"; "()" is no time text at all, any other
// gets two blanks in front.
QString FilmTimeText(std::optional<int> len, bool lp, bool mw, int playTimeFormat);

// One line of the text from position pos (0-based): characters are taken
// while the line stays within width pixels and no line break comes. A line
// that became too wide goes back to its last blank or "-"; a word with
// neither is broken hard at the width, and a line always takes at least one
// character, so that wrapping always ends. A line break (CR LF, CR or LF)
// after the line is passed over. pos moves past what the line took.
QString WrapTextLine(int &pos, const QString &text, const QFont &font, int width);
