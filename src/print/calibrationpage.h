// The printer calibration's test page: a horizontal line 20 mm below the
// page's top (to 10 mm before the right edge), a vertical line 20 mm from
// the left edge (to half the page's height) and the instructions. A line
// the printer puts in the right place measures 200 tenths of a millimetre.
#pragma once

#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QSize>

void DrawCalibrationTestPage(TLabelLayout &out, const QSize &pagePixels, const TLabelScale &scale);
