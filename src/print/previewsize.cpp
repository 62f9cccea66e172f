#include "print/previewsize.h"

#include "print/labelscale.h"

QSize PreviewPaintBoxSize(const TLabelFormat &f, quint8 kind, bool nrEtiSeparate, const QString &mediumKind)
{
    const TLabelScale s = PreviewLabelScale();
    int width = s.px(f.Breite) + 4;
    if (kind == lkSpine && (nrEtiSeparate || mediumKind.left(6) != QLatin1String("VHS-SB")))
        width = 552;
    return QSize(width, s.py(f.Hoehe) + 4);
}

TLabelFormat PreviewLabelFormat(const TLabelFormat &f)
{
    TLabelFormat g = f;
    g.RandL = 0;
    g.RandO = 0;
    return g;
}
