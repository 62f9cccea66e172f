// The size of the label preview's paint box, in screen pixels.
#pragma once

#include "print/labelformat.h"

#include <QSize>

// Width round(Breite * 3.2 / 10) + 4, or 552 on the spine kind when the
// number goes on a separate label (NrEtiSeparate, or a medium other than
// "VHS-SB"); height round(Hoehe * 24/7 / 10) + 4.
QSize PreviewPaintBoxSize(const TLabelFormat &f, quint8 kind, bool nrEtiSeparate, const QString &mediumKind);

// The format as the preview and the label list draw it: from the label's
// own top-left corner, the sheet's margins left out (the box is sized for
// the label alone). Its frames keep their places inside the label.
TLabelFormat PreviewLabelFormat(const TLabelFormat &f);
// Where that label sits in the paint box: 2 pixels in, the middle of the
// 4 pixels the box has beyond the label.
constexpr int PreviewLabelInset = 2;
