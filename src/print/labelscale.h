// Device pixels of label geometry. Lengths are tenths of a millimetre; a
// scale holds the device pixels per millimetre of each axis as an exact
// ratio (a printer gives whole pixels over whole millimetres), so a length
// becomes pixels with one half-to-even rounding and no drift.
#pragma once

#include "platform/rounding.h"

#include <algorithm>

// A 64-bit pixel count held to ±2^29: far beyond any page, and a corner
// plus a size plus an offset of such counts still fits an int (a QRect adds
// them), so that no value of a format can make a position wrap.
inline int SaturatedInt(std::int64_t v)
{
    constexpr std::int64_t limit = std::int64_t(1) << 29;
    return int(std::clamp<std::int64_t>(v, -limit, limit));
}

struct TLabelScale
{
    platform::Ratio x{1, 1}; // pixels per millimetre, horizontal
    platform::Ratio y{1, 1}; // pixels per millimetre, vertical

    // round(tenths / 10 * scale), halves to even.
    int px(std::int64_t tenths) const { return SaturatedInt(platform::mulDivRoundHalfEven(tenths, x.num, x.den * 10)); }
    int py(std::int64_t tenths) const { return SaturatedInt(platform::mulDivRoundHalfEven(tenths, y.num, y.den * 10)); }
    double xPerMm() const { return double(x.num) / double(x.den); }
    double yPerMm() const { return double(y.num) / double(y.den); }
};

// The preview's fixed scales: 3.2 and 24/7 pixels per millimetre.
TLabelScale PreviewLabelScale();
// A printer's scales from its resolution and size (HORZRES / HORZSIZE ...).
TLabelScale PrinterLabelScale(int horzRes, int horzSizeMm, int vertRes, int vertSizeMm);
// A device of dpiX × dpiY dots per inch (an image, a PDF page).
TLabelScale DpiLabelScale(int dpiX, int dpiY);
