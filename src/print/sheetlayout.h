// Where the labels sit on a sheet, in device pixels, and the small sheet
// picture of the label dialogs.
#pragma once

#include "print/labelformat.h"
#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QColor>
#include <QRect>

struct TZFSheetLayout;

// The self-adhesive layout is in force: the switch is on and the kind is
// not the case top, or is the case top with printHZF.
bool SelfAdhesiveLayout(bool zfSwitch, quint8 kind, bool printHZF);

// The label at 0-based sheet position p: row p div columns, column p mod
// columns, from the margins, one pitch (size + gap) per step. With
// `calibrated` (printing with the self-adhesive layout) the printer's
// calibration is added to the margins before they are scaled.
QRect LabelRectOnSheet(const TLabelFormat &f, int position, const TLabelScale &scale, bool calibrated,
                       const TZFSheetLayout &sheet);

// The sheet at 1/20 (a tenth of a millimetre / 20 = a pixel) from origin:
// the page, every label a rounded rectangle, the 1-based start label navy,
// the next count - 1 silver, the others white; each label's frames outlined
// (R1 navy, R2 green, R3 maroon). A start of 0 marks none.
void DrawSheetPreview(TLabelLayout &out, const TLabelFormat &f, int start, int count, const QColor &outline,
                      const QPoint &origin = QPoint());
// The size of that picture (the page, A4, landscape with Quer).
QSize SheetPreviewSize(const TLabelFormat &f);
