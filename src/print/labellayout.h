// A label (or a sheet, or a preview picture) as a list of things to draw, in
// device pixels. The layout routines of this folder compute such a list;
// PaintLabelLayout is the one routine that draws it, onto any painter: the
// preview, a printer page, a PDF or an image.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <vector>

struct TLabelItem
{
    enum Kind { Rect, RoundRect, Line, Ellipse, Text, Image };
    Kind kind = Rect;
    QRect rect;              // Rect, RoundRect, Ellipse, Image (target, stretched)
    QPoint p1, p2;           // Line; Text: p1 is the start of the baseline
    QColor pen = Qt::black;  // invalid: no outline
    QColor brush;            // invalid: not filled
    int penWidth = 1;
    Qt::PenStyle penStyle = Qt::SolidLine; // Line, Rect: a dotted rule
    int radius = 0;          // RoundRect corner
    QFont font;              // Text (pixel-sized)
    QString text;
    int rotation = 0;        // Text: degrees clockwise about p1 (90 reads downwards)
    QImage image;
    QRect clip;              // not null: drawn only inside it (a frame's part of a label)
};

struct TLabelLayout
{
    std::vector<TLabelItem> items;

    void rect(const QRect &r, const QColor &pen = Qt::black, const QColor &brush = QColor(), int penWidth = 1);
    void roundRect(const QRect &r, int radius, const QColor &pen, const QColor &brush);
    void line(const QPoint &a, const QPoint &b, const QColor &pen = Qt::black, int penWidth = 1);
    void ellipse(const QRect &r, const QColor &pen = Qt::black);
    void text(const QPoint &baselineStart, const QFont &font, const QString &text, int rotation = 0,
              const QColor &color = Qt::black);
    void image(const QRect &target, const QImage &img);
    // The rectangle's two diagonals (a picture that could not be loaded).
    void cross(const QRect &r);
    void append(const TLabelLayout &other);
    // Items from index `first` on are drawn only inside r.
    void clipFrom(size_t first, const QRect &r);
};

// Draws every item in order. The painter's own transformation and clip are
// kept, so a caller may offset, scale or clip the whole layout; an item's
// own clip narrows the painter's.
void PaintLabelLayout(class QPainter &painter, const TLabelLayout &layout);

// The label font at a size in points on a device of the given vertical
// scale (pixels per millimetre): pixel-sized, so that measuring needs no
// device and gives what the device shows.
QFont LabelFontAtPoints(const QFont &base, int points, double pixelsPerMmY);
// Height of "Pp" in the font: the text height the label rules measure.
int TextHeightPp(const QFont &font);
int TextWidth(const QFont &font, const QString &text);
