#include "kit/framewidgets.h"

#include <QPainter>

// ---------------------------------------------------------------------------
// TFramePanel

TFramePanel::TFramePanel(QWidget *parent) : TPZBitmapPanel(parent)
{
    SetBevelOuter(bvNone);
    SetColor(QColor(192, 192, 192));
}

void TFramePanel::SetTile(const QImage &tile)
{
    if (tile.cacheKey() == FTileKey)
        return;
    FTileKey = tile.cacheKey();
    Background().SetBitmap(tile);
    update();
}

void TFramePanel::SetFrameBorder(bool on)
{
    if (FBorder == on)
        return;
    FBorder = on;
    update();
}

int TFramePanel::Inset() const
{
    return (FBorder ? 1 : 0) + (BevelOuter() != bvNone ? BevelWidth() : 0);
}

void TFramePanel::SetRoundCorners(int c)
{
    if (FCorners == c)
        return;
    FCorners = c;
    update();
}

void TFramePanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QRect r = rect();
    if (FBorder) {
        p.setPen(QColor(96, 98, 106));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    const TPZBackground &bg = Background();
    if (BevelOuter() != bvNone) {
        // Rings of 1-pixel strips of the face itself, lighter and darker.
        const int tl = BevelOuter() == bvRaised ? 140 : 60;
        const int br = BevelOuter() == bvRaised ? 60 : 140;
        for (int i = 0; i < BevelWidth() && r.width() > 1 && r.height() > 1; ++i) {
            bg.Paint(p, QRect(r.left(), r.top(), r.width() - 1, 1), Color(), tl);
            bg.Paint(p, QRect(r.left(), r.top() + 1, 1, r.height() - 2), Color(), tl);
            bg.Paint(p, QRect(r.right(), r.top(), 1, r.height()), Color(), br);
            bg.Paint(p, QRect(r.left(), r.bottom(), r.width() - 1, 1), Color(), br);
            r.adjust(1, 1, -1, -1);
        }
    }
    bg.Paint(p, r, Color(), 100);
    if (FCorners) {
        // The region's corner ellipse is 11 x 11; a soft outline on it.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(80, 82, 90, 200), 1.2));
        p.setBrush(Qt::NoBrush);
        const qreal d = 11, w = width(), h = height();
        if (FCorners & FrameTopLeft)
            p.drawArc(QRectF(0.5, 0.5, d, d), 90 * 16, 90 * 16);
        if (FCorners & FrameTopRight)
            p.drawArc(QRectF(w - d + 0.5, 0.5, d, d), 0, 90 * 16);
        if (FCorners & FrameBottomLeft)
            p.drawArc(QRectF(0.5, h - d + 0.5, d, d), 180 * 16, 90 * 16);
        if (FCorners & FrameBottomRight)
            p.drawArc(QRectF(w - d + 0.5, h - d + 0.5, d, d), 270 * 16, 90 * 16);
    }
}

// ---------------------------------------------------------------------------
// TFrameImage, TFrameShape

TFrameImage::TFrameImage(QWidget *parent) : QWidget(parent)
{
    resize(16, 16);
}

void TFrameImage::SetPicture(const QPixmap &pm, const QString &name)
{
    FPicture = pm;
    FName = name;
    update();
}

void TFrameImage::paintEvent(QPaintEvent *)
{
    if (FPicture.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, FPicture);
}

TFrameShape::TFrameShape(QWidget *parent) : QWidget(parent)
{
}

void TFrameShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), PenColor);
}
