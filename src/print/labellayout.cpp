#include "print/labellayout.h"

#include "platform/rounding.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

#include <algorithm>

void TLabelLayout::rect(const QRect &r, const QColor &pen, const QColor &brush, int penWidth)
{
    TLabelItem it;
    it.kind = TLabelItem::Rect;
    it.rect = r;
    it.pen = pen;
    it.brush = brush;
    it.penWidth = penWidth;
    items.push_back(std::move(it));
}

void TLabelLayout::roundRect(const QRect &r, int radius, const QColor &pen, const QColor &brush)
{
    TLabelItem it;
    it.kind = TLabelItem::RoundRect;
    it.rect = r;
    it.radius = radius;
    it.pen = pen;
    it.brush = brush;
    items.push_back(std::move(it));
}

void TLabelLayout::line(const QPoint &a, const QPoint &b, const QColor &pen, int penWidth)
{
    TLabelItem it;
    it.kind = TLabelItem::Line;
    it.p1 = a;
    it.p2 = b;
    it.pen = pen;
    it.penWidth = penWidth;
    items.push_back(std::move(it));
}

void TLabelLayout::ellipse(const QRect &r, const QColor &pen)
{
    TLabelItem it;
    it.kind = TLabelItem::Ellipse;
    it.rect = r;
    it.pen = pen;
    items.push_back(std::move(it));
}

void TLabelLayout::text(const QPoint &baselineStart, const QFont &font, const QString &s, int rotation,
                        const QColor &color)
{
    if (s.isEmpty())
        return;
    TLabelItem it;
    it.kind = TLabelItem::Text;
    it.p1 = baselineStart;
    it.font = font;
    it.text = s;
    it.rotation = rotation;
    it.pen = color;
    items.push_back(std::move(it));
}

void TLabelLayout::image(const QRect &target, const QImage &img)
{
    TLabelItem it;
    it.kind = TLabelItem::Image;
    it.rect = target;
    it.image = img;
    items.push_back(std::move(it));
}

void TLabelLayout::cross(const QRect &r)
{
    line(r.topLeft(), QPoint(r.left() + r.width(), r.top() + r.height()));
    line(QPoint(r.left(), r.top() + r.height()), QPoint(r.left() + r.width(), r.top()));
}

void TLabelLayout::append(const TLabelLayout &other)
{
    items.insert(items.end(), other.items.begin(), other.items.end());
}

void TLabelLayout::clipFrom(size_t first, const QRect &r)
{
    for (size_t i = first; i < items.size(); ++i)
        items[i].clip = r;
}

namespace {

void setPenAndBrush(QPainter &p, const TLabelItem &it)
{
    if (it.pen.isValid())
        p.setPen(QPen(it.pen, std::max(1, it.penWidth), it.penStyle, Qt::SquareCap, Qt::MiterJoin));
    else
        p.setPen(Qt::NoPen);
    if (it.brush.isValid())
        p.setBrush(it.brush);
    else
        p.setBrush(Qt::NoBrush);
}

} // namespace

void PaintLabelLayout(QPainter &p, const TLabelLayout &layout)
{
    p.save();
    // A run of items with one clip is drawn inside one save of the painter,
    // so that the caller's clip stays in force and is narrowed only there.
    QRect clip;
    for (const TLabelItem &it : layout.items) {
        if (it.clip != clip) {
            if (!clip.isNull())
                p.restore();
            clip = it.clip;
            if (!clip.isNull()) {
                p.save();
                p.setClipRect(clip, Qt::IntersectClip);
            }
        }
        switch (it.kind) {
        case TLabelItem::Rect:
            setPenAndBrush(p, it);
            // Edges on the first and last pixel of the rectangle, as a
            // device's rectangle call draws them.
            p.drawRect(QRect(it.rect.left(), it.rect.top(), it.rect.width() - 1, it.rect.height() - 1));
            break;
        case TLabelItem::RoundRect:
            setPenAndBrush(p, it);
            p.drawRoundedRect(QRect(it.rect.left(), it.rect.top(), it.rect.width() - 1, it.rect.height() - 1),
                              it.radius, it.radius);
            break;
        case TLabelItem::Line:
            setPenAndBrush(p, it);
            p.drawLine(it.p1, it.p2);
            break;
        case TLabelItem::Ellipse:
            setPenAndBrush(p, it);
            p.drawEllipse(QRect(it.rect.left(), it.rect.top(), it.rect.width() - 1, it.rect.height() - 1));
            break;
        case TLabelItem::Text:
            p.setPen(it.pen.isValid() ? it.pen : QColor(Qt::black));
            p.setFont(it.font);
            if (it.rotation == 0) {
                p.drawText(it.p1, it.text);
            } else {
                p.save();
                p.translate(it.p1);
                p.rotate(it.rotation);
                p.drawText(QPoint(0, 0), it.text);
                p.restore();
            }
            break;
        case TLabelItem::Image:
            if (!it.image.isNull())
                p.drawImage(it.rect, it.image);
            break;
        }
    }
    if (!clip.isNull())
        p.restore();
    p.restore();
}

QFont LabelFontAtPoints(const QFont &base, int points, double pixelsPerMmY)
{
    QFont f = base;
    // A point is 25.4 / 72 mm.
    f.setPixelSize(std::max(1, int(platform::roundHalfEven(points * 25.4 / 72.0 * pixelsPerMmY))));
    return f;
}

static QFontMetrics LabelFontMetrics(const QFont &font)
{
    // Layouts ask for the metrics of a handful of fonts again and again
    // (every label measures its lines at the sizes it tries), and finding a
    // font's engine costs more than the measuring: the metrics of a font of
    // a pixel size are kept. One of a point size depends on the screen's
    // resolution and is looked up each time.
    if (font.pixelSize() <= 0)
        return QFontMetrics(font);
    thread_local QHash<QFont, QFontMetrics> metrics;
    const auto it = metrics.constFind(font);
    if (it != metrics.constEnd())
        return *it;
    const QFontMetrics fm(font);
    if (metrics.size() >= 256)
        metrics.clear();
    metrics.insert(font, fm);
    return fm;
}

int TextHeightPp(const QFont &font)
{
    return LabelFontMetrics(font).height();
}

int TextWidth(const QFont &font, const QString &text)
{
    return LabelFontMetrics(font).horizontalAdvance(text);
}
