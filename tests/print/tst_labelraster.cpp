// Labels drawn into images at a known resolution: at 254 dpi a pixel is a
// tenth of a millimetre, so every label edge must land on the pixel its
// geometry names (one pixel of slack for the pen); the number turned on the
// spine must read the right way up.
#include "app/settings.h"
#include "print/labelformat.h"
#include "print/labellayout.h"
#include "print/numberlabel.h"
#include "print/sheetlayout.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

bool dark(const QImage &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return false;
    return qGray(img.pixel(x, y)) < 128;
}

// A dark pixel within one pixel of (x, y) along the axis, and light pixels
// three pixels further out.
bool edgeAtX(const QImage &img, int x, int y)
{
    return (dark(img, x - 1, y) || dark(img, x, y) || dark(img, x + 1, y)) && !dark(img, x - 3, y) &&
           !dark(img, x + 3, y);
}
bool edgeAtY(const QImage &img, int x, int y)
{
    return (dark(img, x, y - 1) || dark(img, x, y) || dark(img, x, y + 1)) && !dark(img, x, y - 3) &&
           !dark(img, x, y + 3);
}

QImage sheetImage(const TLabelFormat &f, bool calibrated, const TZFSheetLayout &z)
{
    QImage img(2100, 2970, QImage::Format_RGB32); // A4 at 254 dpi
    img.setDotsPerMeterX(10000);
    img.setDotsPerMeterY(10000);
    img.fill(Qt::white);
    TLabelLayout out;
    const TLabelScale s = DpiLabelScale(254, 254);
    for (int p = 0; p < LabelsPerSheet(f); ++p)
        out.rect(LabelRectOnSheet(f, p, s, calibrated, z));
    QPainter painter(&img);
    PaintLabelLayout(painter, out);
    return img;
}

void checkEdges(const QImage &img, const TLabelFormat &f, int left, int top)
{
    for (int p = 0; p < LabelsPerSheet(f); ++p) {
        const int col = p % f.SpaltenAnz, row = p / f.SpaltenAnz;
        // Expected edges straight from the tenths of a millimetre.
        const int l = left + col * (f.Breite + f.Ax), t = top + row * (f.Hoehe + f.Ay);
        const int r = l + f.Breite - 1, b = t + f.Hoehe - 1;
        const int midY = t + f.Hoehe / 2, midX = l + f.Breite / 2;
        QVERIFY2(edgeAtX(img, l, midY), qPrintable(QStringLiteral("left edge of label %1").arg(p)));
        QVERIFY2(edgeAtX(img, r, midY), qPrintable(QStringLiteral("right edge of label %1").arg(p)));
        QVERIFY2(edgeAtY(img, midX, t), qPrintable(QStringLiteral("top edge of label %1").arg(p)));
        QVERIFY2(edgeAtY(img, midX, b), qPrintable(QStringLiteral("bottom edge of label %1").arg(p)));
    }
}

QRect inkBounds(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (dark(img, x, y))
                r |= QRect(x, y, 1, 1);
    return r;
}

int inkInRow(const QImage &img, int y)
{
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
        n += dark(img, x, y) ? 1 : 0;
    return n;
}

// The "7" upright: its bar on top is wider than its foot.
void checkUpright7(const QImage &upright)
{
    const QRect ink = inkBounds(upright);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.height() > ink.width()); // a digit stands taller than wide
    const QImage glyph = upright.copy(ink);
    QVERIFY2(inkInRow(glyph, 1) > 2 * inkInRow(glyph, glyph.height() - 2), "the 7 is upside down or mirrored");
    // The bar reaches further right than the foot: not mirrored.
    int footLeft = glyph.width();
    for (int x = 0; x < glyph.width(); ++x)
        if (dark(glyph, x, glyph.height() - 2)) {
            footLeft = x;
            break;
        }
    QVERIFY(footLeft < glyph.width() * 2 / 3);
}

} // namespace

class TestLabelRaster : public QObject
{
    Q_OBJECT
private slots:
    void spineSheetPlain()
    {
        TLabelFormat f;
        const TZFSheetLayout z;
        ApplyBuiltInLabelKind(f, lkSpine, false, z);
        checkEdges(sheetImage(f, false, z), f, 100, 100);
    }

    void spineSheetCalibrated()
    {
        TLabelFormat f;
        TZFSheetLayout z;
        z.ZFRA = 250;
        z.ZFRAnz = 11; // 13 labels of 25 mm would pass the page's foot
        z.ZFKX = 35;
        z.ZFKY = -15;
        ApplyBuiltInLabelKind(f, lkSpine, true, z);
        checkEdges(sheetImage(f, true, z), f, 313 + 35, 184 - 15);
        // Without calibration the same sheet sits at its bare margins.
        checkEdges(sheetImage(f, false, z), f, 313, 184);
    }

    void windowSheet()
    {
        TLabelFormat f;
        const TZFSheetLayout z;
        ApplyBuiltInLabelKind(f, lkWindow, false, z);
        checkEdges(sheetImage(f, false, z), f, 100, 100);
        ApplyBuiltInLabelKind(f, lkWindow, true, z);
        checkEdges(sheetImage(f, false, z), f, 250, 87);
    }

    void turnedNumberReadsUpright()
    {
        const TLabelScale s = DpiLabelScale(254, 254);
        for (bool down : {true, false}) {
            QImage img(1500, 200, QImage::Format_RGB32);
            img.fill(Qt::white);
            TNumberLabelInput in;
            in.label = QRect(0, 0, 1475, 200);
            in.number = 7;
            in.spineKind = true;
            in.readsDownwards = down;
            in.font = QFont(QStringLiteral("DejaVu Sans"));
            TLabelLayout out;
            DrawNumberLabel(out, in, 10, s);
            QPainter p(&img);
            PaintLabelLayout(p, out);
            p.end();
            const QRect ink = inkBounds(img);
            // Inside the label, from the offset on, centred on its middle.
            QVERIFY(ink.left() >= 5 && ink.right() < 200);
            QVERIFY(ink.top() > 0 && ink.bottom() < 199);
            QVERIFY(qAbs((ink.top() + ink.bottom()) / 2 - 100) < 25);
            QVERIFY(ink.width() > ink.height()); // lying on its side
            // Reading downwards is a clockwise turn: turn it back.
            const QImage upright = img.transformed(QTransform().rotate(down ? -90 : 90));
            checkUpright7(upright);
        }
    }
};

QTEST_MAIN(TestLabelRaster)
#include "tst_labelraster.moc"
