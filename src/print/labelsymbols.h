// The row of small pictures beside a film's label line: sound, picture
// format and colour, category, attachment and rating stars, right to left.
#pragma once

#include "print/labeldata.h"
#include "print/labellayout.h"

#include <QRect>
#include <QString>
#include <vector>

// One position of the symbol row.
struct TSymbolSlot
{
    enum Kind { Sound, Format, Category, Attachment, Stars };
    Kind kind = Sound;
    QString file;     // Format, Attachment, Stars: the picture file
    QChar code;       // Sound: the sound code
};

// Which symbols a film gets, in drawing order (right to left). A sound
// code always takes its position, even when it draws nothing.
struct TSymbolSwitches
{
    bool sound = false;    // sound and picture-format symbols
    bool stars = false;
    bool category = false;
    bool compactStars = false;
};
std::vector<TSymbolSlot> FilmSymbolSlots(const TLabelFilm &film, const TLabelSettings &o, const TSymbolSwitches &sw,
                                         bool haveAttachmentPicture, bool categoryHasSymbol);

// The picture-format symbols of mode 0..3 (FormatSymbMode) for a film.
QStringList FormatSymbolFiles(int mode, bool wide, bool blackWhite);

// Draws the film's symbols into out, the first in `first`, each further one
// a width plus `gap` to the left. Returns the left edge of the last one drawn
// (first.left() + first.width() when none).
int DrawFilmSymbols(TLabelLayout &out, const TLabelFilm &film, const QRect &first, int gap,
                    bool haveAttachmentPicture, const TSymbolSwitches &sw, const TLabelSettings &o,
                    TLabelArtProvider &art);

// A sound symbol: the letter's bitmap stretched into r, or ellipses inside
// the inner rectangle (r less a quarter of its size on each side).
void DrawSoundSymbol(TLabelLayout &out, const QRect &r, QChar code, TLabelArtProvider &art);

// The rectangle's diagonals.
void DrawCross(TLabelLayout &out, const QRect &r);
