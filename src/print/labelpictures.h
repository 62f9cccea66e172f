// The films' own pictures on a label (print type "Bild(er) aus Film-Anhang"):
// where a film's picture comes from, the cells of the picture area and how
// a picture is fitted into its cell.
#pragma once

#include "print/labeldata.h"
#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <vector>

struct TFilmPicture
{
    bool HasBlob = false; // the film's stored picture is not empty
    QImage File;          // the picture of a linked file or folder; null when none
    QString Path;         // where File came from
};

// Has-BLOB, then free fields 1..15: a file link that names an existing file
// is loaded; one that names a folder gives its first "cover*.*", else its
// first "*.jp*", else its first "*.bmp".
TFilmPicture FindFilmPicture(const TLabelFilm &film, TLabelArtProvider &art);

// The picture that goes on the label: the stored one when there is no file
// picture or the format prefers it.
QImage ChooseFilmPicture(const TLabelFilm &film, const TFilmPicture &found, bool preferBlob);

// The size a picture of `picture` pixels gets in a cell: limited by the cell
// and, with maxZoom > 0, by maxZoom percent of the picture; grown by ×1.1
// while both sides stay below their limits, then shrunk by ×0.98 until both
// are within them. Each step moves at least one pixel; the loops are capped
// and never go below 1 pixel.
QSize FitFilmPicture(const QSize &picture, const QSize &cell, int maxZoom);

// The picture area split into count cells with 1 mm between them: side by
// side when the area is at least as wide as high, else one above the other.
std::vector<QRect> PictureCells(const QRect &area, int count, const TLabelScale &scale);

// A quarter turn clockwise: target width = source height; source pixel
// (row y, column x) goes to (row x, column height - 1 - y).
QImage RotateBitmap90(const QImage &source);

// Turns the picture `turns` quarter turns, corrects its width for unequal
// axis scales, fits it into the cell and centres it there.
void DrawFilmPicture(TLabelLayout &out, const QImage &picture, const QRect &cell, int turns, int maxZoom,
                     const TLabelScale &scale);
