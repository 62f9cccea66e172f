// The size of the label preview's paint box, in screen pixels.
#pragma once

#include "print/labelformat.h"

#include <QSize>

// Width round(Breite * 3.2 / 10) + 4, or 552 on the spine kind when the
// number goes on a separate label (NrEtiSeparate, or a medium other than
// "VHS-SB"); height round(Hoehe * 24/7 / 10) + 4.
QSize PreviewPaintBoxSize(const TLabelFormat &f, quint8 kind, bool nrEtiSeparate, const QString &mediumKind);
