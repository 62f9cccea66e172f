// Device pixels of label geometry. Lengths are tenths of a millimetre; a
// scale holds the device pixels per millimetre of each axis as an exact
// ratio (a printer gives whole pixels over whole millimetres), so a length
// becomes pixels with one half-to-even rounding and no drift.
#pragma once

#include "platform/rounding.h"

struct TLabelScale
{
    platform::Ratio x{1, 1}; // pixels per millimetre, horizontal
    platform::Ratio y{1, 1}; // pixels per millimetre, vertical

    // round(tenths / 10 * scale), halves to even.
    int px(int tenths) const { return int(platform::mulDivRoundHalfEven(tenths, x.num, x.den * 10)); }
    int py(int tenths) const { return int(platform::mulDivRoundHalfEven(tenths, y.num, y.den * 10)); }
    double xPerMm() const { return double(x.num) / double(x.den); }
    double yPerMm() const { return double(y.num) / double(y.den); }
};

// The preview's fixed scales: 3.2 and 24/7 pixels per millimetre.
TLabelScale PreviewLabelScale();
// A printer's scales from its resolution and size (HORZRES / HORZSIZE ...).
TLabelScale PrinterLabelScale(int horzRes, int horzSizeMm, int vertRes, int vertSizeMm);
// A device of dpiX × dpiY dots per inch (an image, a PDF page).
TLabelScale DpiLabelScale(int dpiX, int dpiY);
