// The desktop's icons of the program and of its database files (".tarvo"),
// in the sizes of the hicolor theme: "Icons/hicolor/<n>x<n>/apps/<id>.png"
// and ".../mimetypes/application-x-tarvo.png" below the program folder, from
// where the install puts them into the desktop's icon folders. Each size is
// drawn afresh, so that the small ones stay sharp.
#include "generator.h"

#include "platform/version.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A video cassette seen from the front, in a square of side s at (x, y):
// the case, its label, the window and two reels.
void drawCassette(QPainter &p, const QRectF &r)
{
    const qreal s = r.width();
    const QRectF body(r.left(), r.top() + s * 0.18, s, s * 0.64);
    QLinearGradient caseFill(body.topLeft(), body.bottomLeft());
    caseFill.setColorAt(0, QColor(0x3a, 0x3f, 0x4a));
    caseFill.setColorAt(1, QColor(0x16, 0x18, 0x1e));
    p.setPen(QPen(QColor(0x0c, 0x0d, 0x10), qMax(1.0, s * 0.02)));
    p.setBrush(caseFill);
    p.drawRoundedRect(body, s * 0.06, s * 0.06);

    // The label across the top, in the colours of the program's card.
    const QRectF label(body.left() + s * 0.08, body.top() + s * 0.06, s * 0.84, s * 0.16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xe6, 0xc4));
    p.drawRoundedRect(label, s * 0.02, s * 0.02);
    if (s >= 32) {
        p.setBrush(QColor(0xc0, 0x3a, 0x2b));
        p.drawRect(QRectF(label.left(), label.bottom() - label.height() * 0.3, label.width(), label.height() * 0.3));
    }

    // The window with the two reels.
    const QRectF window(body.left() + s * 0.2, body.top() + s * 0.3, s * 0.6, s * 0.24);
    p.setBrush(QColor(0x9c, 0xa8, 0xb8));
    p.drawRoundedRect(window, s * 0.05, s * 0.05);
    const qreal reel = window.height() * 0.42;
    for (const qreal cx : {window.left() + window.width() * 0.25, window.left() + window.width() * 0.75}) {
        const QPointF c(cx, window.center().y());
        p.setBrush(QColor(0xf4, 0xf4, 0xf4));
        p.drawEllipse(c, reel, reel);
        p.setBrush(QColor(0x2a, 0x2d, 0x34));
        p.drawEllipse(c, reel * 0.45, reel * 0.45);
    }
}

QImage appIcon(int n)
{
    QImage img(n, n, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A rounded tile of brushed metal behind the cassette.
    const QRectF tile(n * 0.03, n * 0.03, n * 0.94, n * 0.94);
    QLinearGradient metal(tile.topLeft(), tile.bottomRight());
    metal.setColorAt(0, QColor(0xe8, 0xec, 0xf0));
    metal.setColorAt(0.5, QColor(0xa8, 0xb0, 0xba));
    metal.setColorAt(1, QColor(0x70, 0x78, 0x84));
    p.setPen(QPen(QColor(0x50, 0x56, 0x60), qMax(1.0, n * 0.015)));
    p.setBrush(metal);
    p.drawRoundedRect(tile, n * 0.18, n * 0.18);
    drawCassette(p, QRectF(n * 0.1, n * 0.08, n * 0.8, n * 0.8));
    return img;
}

QImage fileIcon(int n)
{
    QImage img(n, n, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet with a turned-down corner.
    const qreal l = n * 0.14, t = n * 0.04, r = n * 0.86, b = n * 0.96, fold = n * 0.22;
    QPainterPath sheet;
    sheet.moveTo(l, t);
    sheet.lineTo(r - fold, t);
    sheet.lineTo(r, t + fold);
    sheet.lineTo(r, b);
    sheet.lineTo(l, b);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x66, 0x70), qMax(1.0, n * 0.02)));
    p.setBrush(QColor(0xfb, 0xfb, 0xf8));
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r - fold, t);
    corner.lineTo(r - fold, t + fold);
    corner.lineTo(r, t + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xd8, 0xdc, 0xe2));
    p.drawPath(corner);
    drawCassette(p, QRectF(n * 0.2, n * 0.34, n * 0.6, n * 0.6));
    return img;
}

} // namespace

TARVO_GENERATOR(genDesktopIcons, "desktop icons")
{
    const QString id = platform::TarvoDesktopId();
    for (int n : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = progDir + QStringLiteral("/Icons/hicolor/%1x%1/").arg(n);
        if (!gen::saveImage(appIcon(n), dir + QStringLiteral("apps/") + id + QStringLiteral(".png"))
            || !gen::saveImage(fileIcon(n), dir + QStringLiteral("mimetypes/application-x-tarvo.png")))
            return false;
    }
    return true;
}
