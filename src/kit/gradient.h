// Colour gradients and tiled pictures for the coloured page control and
// the settings dialogs. A gradient is first worked out as a list of bands
// (shape, rectangle, colour), then painted in one go.
#pragma once

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QRect>

class QPainter;

struct GradientBand {
    enum class Shape { Rect, Ellipse };
    Shape shape = Shape::Rect;
    QRect rect;
    QColor colour;
};

// Step i of n between two colours, per channel start + i × d ÷ n in
// integers; n of 0 gives the start colour.
QColor GradientStep(const QColor &from, const QColor &to, int i, int n);

// The bands of style 0 (vertical bands left to right), 1 (horizontal bands
// top to bottom), 2 (concentric ellipses), 3 (nested rectangles to the
// centre), 4 (mirrored about the horizontal middle) or 5 (mirrored about the
// vertical middle). Other styles and empty rectangles give no bands.
QList<GradientBand> GradientBands(const QRect &rect, const QColor &from, const QColor &to, int style);

// Paints the bands clipped to the rectangle; the painter's clipping and pen
// come back as they were.
void PaintGradient(QPainter &p, const QRect &rect, const QList<GradientBand> &bands);
void FillGradient(QPainter &p, const QRect &rect, const QColor &from, const QColor &to, int style);

// Copies the picture again and again from the rectangle's top-left corner
// to its right and bottom edges, clipped to the rectangle.
void TileBitmap(QPainter &p, const QRect &rect, const QPixmap &bitmap);
