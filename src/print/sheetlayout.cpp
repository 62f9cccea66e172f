#include "print/sheetlayout.h"

#include "app/settings.h"
#include "platform/rounding.h"

namespace {

int twentieth(qint64 tenths)
{
    return SaturatedInt(platform::mulDivRoundHalfEven(tenths, 1, 20));
}

} // namespace

bool SelfAdhesiveLayout(bool zfSwitch, quint8 kind, bool printHZF)
{
    return zfSwitch && (kind != lkCaseTop || printHZF);
}

QRect LabelRectOnSheet(const TLabelFormat &f, int position, const TLabelScale &s, bool calibrated,
                       const TZFSheetLayout &sheet)
{
    // In 64 bits throughout: a format is bounded when it is read, but a sum
    // of two lengths or a pitch times a column must not wrap for any value.
    const qint64 columns = std::max(1, f.SpaltenAnz);
    const qint64 row = position / columns, column = position % columns;
    const qint64 left = s.px(qint64(f.RandL) + (calibrated ? sheet.ZFKX : 0));
    const qint64 top = s.py(qint64(f.RandO) + (calibrated ? sheet.ZFKY : 0));
    const qint64 pitchX = s.px(qint64(f.Breite) + f.Ax), pitchY = s.py(qint64(f.Hoehe) + f.Ay);
    return QRect(SaturatedInt(left + column * pitchX), SaturatedInt(top + row * pitchY), s.px(f.Breite),
                 s.py(f.Hoehe));
}

QSize SheetPreviewSize(const TLabelFormat &f)
{
    const int w = twentieth(2100), h = twentieth(2970);
    return f.Quer ? QSize(h, w) : QSize(w, h);
}

void DrawSheetPreview(TLabelLayout &out, const TLabelFormat &f, int start, int count, const QColor &outline,
                      const QPoint &origin)
{
    out.rect(QRect(origin, SheetPreviewSize(f)), Qt::gray, Qt::white);
    const int total = std::min(LabelsPerSheet(f), 255);
    const int columns = std::max(1, f.SpaltenAnz);
    const std::optional<TRahmen> *frames[3] = {&f.R1, &f.R2, &f.R3};
    const QColor frameColours[3] = {QColor(0, 0, 128), QColor(0, 128, 0), QColor(128, 0, 0)};
    for (int p = 0; p < total; ++p) {
        const qint64 x = f.RandL + qint64(p % columns) * (qint64(f.Breite) + f.Ax);
        const qint64 y = f.RandO + qint64(p / columns) * (qint64(f.Hoehe) + f.Ay);
        const QRect r(origin.x() + twentieth(x), origin.y() + twentieth(y), std::max(1, twentieth(f.Breite)),
                      std::max(1, twentieth(f.Hoehe)));
        QColor fill = Qt::white;
        if (start >= 1 && p + 1 == start)
            fill = QColor(0, 0, 128);
        else if (start >= 1 && p + 1 > start && p + 1 < start + count)
            fill = QColor(192, 192, 192);
        out.roundRect(r, 3, outline, fill);
        for (int i = 0; i < 3; ++i) {
            if (!*frames[i])
                continue;
            const TRahmen &fr = **frames[i];
            const QRect in(origin.x() + twentieth(x + fr.l), origin.y() + twentieth(y + fr.o),
                           std::max(1, twentieth(qint64(f.Breite) - fr.l - fr.r)),
                           std::max(1, twentieth(qint64(f.Hoehe) - fr.o - fr.u)));
            out.rect(in, frameColours[i]);
        }
    }
}
