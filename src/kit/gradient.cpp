#include "kit/gradient.h"

#include <QPainter>
#include <cmath>

QColor GradientStep(const QColor &from, const QColor &to, int i, int n)
{
    if (n == 0)
        return QColor(from.red(), from.green(), from.blue());
    auto ch = [&](int a, int b) { return a + i * (b - a) / n; };
    return QColor(ch(from.red(), to.red()), ch(from.green(), to.green()), ch(from.blue(), to.blue()));
}

QList<GradientBand> GradientBands(const QRect &rect, const QColor &from, const QColor &to, int style)
{
    QList<GradientBand> bands;
    if (rect.isEmpty())
        return bands;
    const int L = rect.left(), T = rect.top(), W = rect.width(), H = rect.height();
    const int R = L + W, B = T + H; // exclusive edges
    auto add = [&](GradientBand::Shape shape, const QRect &r, int i, int n) {
        bands.append({shape, r, GradientStep(from, to, i, n)});
    };
    switch (style) {
    case 0:
        for (int i = 0; i <= 255; ++i) {
            const int x0 = L + i * W / 256, x1 = L + (i + 1) * W / 256;
            if (x1 > x0)
                add(GradientBand::Shape::Rect, QRect(x0, T, x1 - x0, H), i, 255);
        }
        break;
    case 1:
        for (int i = 0; i <= 255; ++i) {
            const int y0 = T + i * H / 256, y1 = T + (i + 1) * H / 256;
            if (y1 > y0)
                add(GradientBand::Shape::Rect, QRect(L, y0, W, y1 - y0), i, 255);
        }
        break;
    case 2: {
        const int spanW = W + 2 * (W / 3), spanH = H + 2 * (H / 3);
        const int x0 = L - W / 3, y0 = T - H / 3;
        for (int i = 0; i <= 50; ++i) {
            const int dx = i * spanW / 100, dy = i * spanH / 100;
            const QRect r(QPoint(x0 + dx, y0 + dy), QPoint(x0 + spanW - dx - 1, y0 + spanH - dy - 1));
            if (r.width() > 0 && r.height() > 0)
                add(GradientBand::Shape::Ellipse, r, i, 50);
        }
        break;
    }
    case 3: {
        const double stepX = double(W) / 255.0 / 2.0, stepY = double(H) / 255.0 / 2.0;
        for (int i = 0; i <= 255; ++i) {
            const int l = int(std::lround(L + i * stepX)), t = int(std::lround(T + i * stepY));
            const int r = qMin(R, int(std::lround(R + 2 - i * stepX)));
            const int b = qMin(B, int(std::lround(B + 2 - i * stepY)));
            if (r > l && b > t)
                add(GradientBand::Shape::Rect, QRect(l, t, r - l, b - t), i, 255);
        }
        break;
    }
    case 4: {
        const int h = H / 2;
        for (int i = 0; i <= h; ++i) {
            add(GradientBand::Shape::Rect, QRect(L, T + i, W, 1), i, h);
            add(GradientBand::Shape::Rect, QRect(L, B - 1 - i, W, 1), i, h);
        }
        break;
    }
    case 5: {
        const int h = W / 2;
        for (int i = 0; i <= h; ++i) {
            add(GradientBand::Shape::Rect, QRect(L + i, T, 1, H), i, h);
            add(GradientBand::Shape::Rect, QRect(R - 1 - i, T, 1, H), i, h);
        }
        break;
    }
    default:
        break;
    }
    return bands;
}

void PaintGradient(QPainter &p, const QRect &rect, const QList<GradientBand> &bands)
{
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    for (const GradientBand &b : bands) {
        if (b.shape == GradientBand::Shape::Rect) {
            p.fillRect(b.rect, b.colour);
        } else {
            p.setBrush(b.colour);
            p.drawEllipse(b.rect);
        }
    }
    p.restore();
}

void FillGradient(QPainter &p, const QRect &rect, const QColor &from, const QColor &to, int style)
{
    PaintGradient(p, rect, GradientBands(rect, from, to, style));
}

void TileBitmap(QPainter &p, const QRect &rect, const QPixmap &bitmap)
{
    if (bitmap.isNull() || rect.isEmpty())
        return;
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    for (int y = rect.top(); y <= rect.bottom(); y += bitmap.height())
        for (int x = rect.left(); x <= rect.right(); x += bitmap.width())
            p.drawPixmap(x, y, bitmap);
    p.restore();
}
