#include "print/labelscale.h"

#include <algorithm>

TLabelScale PreviewLabelScale()
{
    TLabelScale s;
    s.x = {16, 5};
    s.y = {24, 7};
    return s;
}

TLabelScale PrinterLabelScale(int horzRes, int horzSizeMm, int vertRes, int vertSizeMm)
{
    TLabelScale s;
    s.x = {horzRes, std::max(1, horzSizeMm)};
    s.y = {vertRes, std::max(1, vertSizeMm)};
    return s;
}

TLabelScale DpiLabelScale(int dpiX, int dpiY)
{
    // An inch is 25.4 mm: dpi / 25.4 = dpi * 10 / 254.
    TLabelScale s;
    s.x = {std::int64_t(dpiX) * 10, 254};
    s.y = {std::int64_t(dpiY) * 10, 254};
    return s;
}
