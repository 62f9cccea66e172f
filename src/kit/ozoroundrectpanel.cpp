#include "kit/ozoroundrectpanel.h"

#include <QPainter>
#include <QPainterPath>

namespace {
bool panelRegions = true;

QRegion roundRegion(const QRect &r, int ellipse)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r), ellipse / 2.0, ellipse / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}
} // namespace

void TOzoRoundRectPanel::SetUseRegions(bool on) { panelRegions = on; }
bool TOzoRoundRectPanel::UseRegions() { return panelRegions; }

TOzoRoundRectPanel::TOzoRoundRectPanel(QWidget *parent)
    : QWidget(parent), FColor(palette().color(QPalette::Base))
{
    resize(185, 21);
}

TOzoRoundRectPanel::BorderGeometry TOzoRoundRectPanel::BorderFor(int b, const QSize &size)
{
    int pen, inset;
    if (b % 2) {
        pen = b;
        inset = b / 2;
    } else {
        pen = b + 1;
        inset = (b + 1) / 2 - 1;
    }
    const int far = pen % 2 + inset - 1;
    // The rectangle runs from (inset, inset) to (w - far, h - far), the
    // far corner not included.
    return {pen, QRect(QPoint(inset, inset), QPoint(size.width() - far - 1, size.height() - far - 1))};
}

void TOzoRoundRectPanel::SetBorderColor(const QColor &c)
{
    if (FBorderColor == c)
        return;
    FBorderColor = c;
    update();
}

void TOzoRoundRectPanel::SetColor(const QColor &c)
{
    if (FColor == c)
        return;
    FColor = c;
    update();
}

void TOzoRoundRectPanel::SetRndRadius(int r)
{
    if (r < 0 || r == FRndRadius)
        return;
    FRndRadius = r;
    FreeRegions();
    update();
}

void TOzoRoundRectPanel::SetBorderWidth(int w)
{
    if (w < 0 || w == FBorderWidth)
        return;
    FBorderWidth = w;
    update();
}

void TOzoRoundRectPanel::SetClipFirstControl(bool on)
{
    if (FClipFirstControl == on)
        return;
    FClipFirstControl = on;
    FreeRegions();
    update();
}

void TOzoRoundRectPanel::setClip(int i, int v)
{
    if (FClip[i] == v)
        return;
    FClip[i] = v;
    FreeRegions();
    update();
}

void TOzoRoundRectPanel::FreeRegions()
{
    if (FHasRegion)
        clearMask();
    if (FHasChildRegion) {
        if (QWidget *c = firstChild())
            c->clearMask();
    }
    FHasRegion = FHasChildRegion = false;
}

QWidget *TOzoRoundRectPanel::firstChild() const
{
    for (QObject *o : children())
        if (auto *w = qobject_cast<QWidget *>(o); w && !w->isWindow())
            return w;
    return nullptr;
}

void TOzoRoundRectPanel::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    FreeRegions();
}

void TOzoRoundRectPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), FColor);
    const BorderGeometry g = BorderFor(FBorderWidth, size());
    if (FBorderWidth > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(FBorderColor, g.penWidth));
        p.setBrush(Qt::NoBrush);
        const qreal half = FRndRadius / 2.0;
        p.drawRoundedRect(QRectF(g.rect).adjusted(0.5, 0.5, 0.5, 0.5), half, half);
    }
    if (panelRegions && !FHasRegion) {
        setMask(roundRegion(QRect(0, 0, width() + 1, height() + 1), FRndRadius));
        FHasRegion = true;
    }
    if (FClipFirstControl && !FHasChildRegion) {
        if (QWidget *c = firstChild()) {
            c->setMask(QRegion(QRect(QPoint(FClip[0], FClip[1]),
                                     QPoint(c->width() - FClip[2], c->height() - FClip[3]))));
            FHasChildRegion = true;
        }
    }
}
