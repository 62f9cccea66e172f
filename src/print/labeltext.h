// The text of a film's label line: three parts (title, subtitle, extra),
// each in its own size, built from the film's values and drawn on one
// baseline, or on the window label on up to three lines.
#pragma once

#include "print/labeldata.h"
#include "print/labellayout.h"

#include <QFont>
#include <QString>
#include <optional>

class TLabelArtProvider;

struct TFilmLabelLines
{
    QString Title, Sub, Extra;
    bool StrikeOut = false;
    std::optional<QFont> CategoryFont;
};

// Running state over the films of one label.
struct TFilmLinesState
{
    int EndPos = 0;          // sum of the film lengths so far, minutes
    bool HasFreeArea = false; // a film of the label is a free area
};

// The parts of film n (1-based) of the medium for a label of print type t.
TFilmLabelLines BuildFilmLabelLines(const TLabelMedium &medium, int n, int printType, const TLabelSettings &o,
                                    TLabelArtProvider &art, TFilmLinesState &state);

// Sizes in points of the three parts.
struct TFilmTextSizes
{
    int Title = 10, Sub = 10, Extra = 10;
    bool operator==(const TFilmTextSizes &) const = default;
};

// The fonts of the three parts on a device (vertical pixels per millimetre).
struct TFilmFonts
{
    QFont Title, Sub, Extra;
};
TFilmFonts FilmFonts(const QFont &base, const TFilmTextSizes &sizes, double pixelsPerMmY, bool strikeOut);

// Width of the whole line: the three parts, each at its size.
int FilmLineWidth(const TFilmLabelLines &l, const TFilmFonts &f);
// Window label: width of title, " - " and subtitle on one line (the title
// alone when the subtitle is empty).
int WindowTitleLineWidth(const TFilmLabelLines &l, const TFilmFonts &f);

// One baseline: title, subtitle directly after it, extra part after that;
// strike-out for title and subtitle only.
void DrawFilmLine(TLabelLayout &out, const TFilmLabelLines &l, const TFilmFonts &f, int x, int baseline);

// The window label's film in a slot of the given top and pitch: title and
// subtitle on one baseline when they fit availWidth, else on two lines; a
// non-empty extra part on the extra line (extraHeight pixels at the slot's
// bottom).
void DrawWindowFilmLines(TLabelLayout &out, const TFilmLabelLines &l, const TFilmFonts &f, int x, int top,
                         int pitch, int extraHeight, int availWidth);
