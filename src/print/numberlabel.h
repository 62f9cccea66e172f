// The medium number on a label: in a separate small box beside the spine,
// turned on the spine itself, or alone filling a number label; with the
// remaining tape time beside it.
#pragma once

#include "print/labeldata.h"
#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

// The separate number's box, in tenths of a millimetre from the label's
// left edge: DVD 10 × 8 mm, others 16 × 11 mm; the number centred at
// 5 mm or 8 mm, at most 10 mm or 15 mm wide.
struct TNumberBox
{
    int left = 0, width = 0, height = 0;
    int centreX = 0;
    int maxTextWidth = 0;
};
TNumberBox SeparateNumberBox(bool isDVD, int offsetTenths);

// Target height of the number, tenths: 7.5 mm for a DVD on the spine kind
// or with the remaining time, else 10 mm.
int NumberTargetHeight(bool isDVD, bool spineKind, bool withRest);

// A font size fitted by whole points: grown one point at a time while the
// measured height is below growHeight, then shrunk one point at a time
// until the height is within fitHeight and the width within maxWidth.
// Never below 1 point; both loops are capped.
int FitFontPoints(int startPoints, int growHeight, int fitHeight, int maxWidth,
                  const std::function<int(int points)> &height, const std::function<int(int points)> &width);
int FitFontPoints(int startPoints, int growHeight, int fitHeight, int maxWidth,
                  const std::function<QSize(int points)> &measure);

// The remaining time beside the number, when it is to be printed:
// FormatPlayTime of "brest" ("----" without one), " *" when the label has a
// free area. None for user formats, DVDs and bought cassettes, and when a
// counted film has no length.
std::optional<QString> RemainingTimeText(const TLabelMedium &m, const TLabelSettings &o, int labelKind,
                                         int maxFAnz, bool hasFreeArea);

struct TNumberLabelInput
{
    QRect label;              // the label, device pixels
    int labelHeightTenths = 200;
    int number = 0;
    bool isDVD = false;
    bool separate = false;    // a separate number label beside the spine
    bool spineKind = false;
    bool readsDownwards = true; // the orientation flag
    std::optional<QString> rest;
    QFont font;               // the number-label font
    int fontPoints = 10;
};

// DrawNumberLabel at x offset (tenths from the label's left edge).
void DrawNumberLabel(TLabelLayout &out, const TNumberLabelInput &in, int offsetTenths, const TLabelScale &scale);
// The number alone, as large as the label (less 1 mm margins) allows, centred.
void DrawNumberOnlyLabel(TLabelLayout &out, const QRect &label, int number, const QFont &font, int fontPoints,
                         const TLabelScale &scale);
