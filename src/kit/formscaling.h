// Scaling a window and everything on it by a factor (the zoom of the metal
// frame). All sizes are rounded half to even in exact integer arithmetic.
#pragma once

#include "platform/rounding.h"

#include <QFont>
#include <QRect>

class QWidget;

// The two zoom steps: 1.2 in, 0.833 out (so a window zoomed in and out again
// ends slightly smaller than it began).
constexpr platform::Ratio ZoomInFactor{6, 5};
constexpr platform::Ratio ZoomOutFactor{833, 1000};

// A factor given as a double, taken as the decimal number it prints as
// (1.2 -> 6/5, 0.833 -> 833/1000).
platform::Ratio RatioFromFactor(double f);

// One control's bounds scaled: sizes by F, the top-left corner by
// (value - 1) * F + 1.
QRect ScaleBounds(const QRect &r, const platform::Ratio &f);

// A font's height as the program counts it: negative for a character height
// in pixels (point sizes are converted at the given resolution).
int FontHeight(const QFont &font, int dpi = 96);
QFont FontWithHeight(QFont font, int height, int dpi = 96);

// Whether a control's font is scaled with it: labels (also mark-up labels),
// buttons, edits and combo boxes.
bool ScalesFont(const QWidget *w);

// Whether a control lays out its own parts (combo and spin boxes, grids and
// lists, text edits, anything with a layout): they are not scaled one by one.
bool PlacesOwnParts(const QWidget *w);

// Scales w and then, depth first in child order, every control on it. The
// window's own constraints are not touched (the frame does that).
void ScaleWidgetTree(QWidget *w, const platform::Ratio &f);

// A size constraint scaled; 0 (none) and Qt's "no maximum" stay.
int ScaleConstraint(int value, const platform::Ratio &f);
