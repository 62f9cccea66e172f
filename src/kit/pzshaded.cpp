#include "kit/pzshaded.h"

#include "kit/assignchanged.h"

#include <QEvent>
#include <QPainter>

namespace {

struct Rgb {
    int r, g, b;
    Rgb operator+(const Rgb &o) const { return {r + o.r, g + o.g, b + o.b}; }
    Rgb operator*(int k) const { return {r * k, g * k, b * k}; }
    QColor color() const { return QColor(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255)); }
};

Rgb rgbOf(const QColor &c)
{
    return {c.red(), c.green(), c.blue()};
}

// (end - start) div n per component, truncating toward zero.
Rgb stepOf(const Rgb &start, const Rgb &end, int n)
{
    return {(end.r - start.r) / n, (end.g - start.g) / n, (end.b - start.b) / n};
}

// Band i of a band size in 16.16 covers [from, to) pixels; the last band runs to the end.
int bandEdge(qint64 i, qint64 band)
{
    return int((i * band) >> 16);
}

} // namespace

QVector<ShadedBand> ShadedBands(const QSize &size, const QColor &startColor, const QColor &endColor,
                                TPZGraduation graduation, TPZDirection direction)
{
    QVector<ShadedBand> out;
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return out;
    const Rgb start = rgbOf(startColor);
    const Rgb end = rgbOf(endColor);
    const bool diagonal = direction == drDiagonalLeftRight || direction == drDiagonalRightLeft;
    const bool across = direction == drHorizontal || direction == drHorizontalInOut;
    const int extent = diagonal ? qMax(w, h) : (across ? w : h);
    const qint64 band = graduation ? (qint64(100) << 16) / graduation : qint64(extent) << 16;

    auto strip = [&](int from, int to) { return across ? QRect(from, 0, to - from, h) : QRect(0, from, w, to - from); };

    if (!diagonal) {
        const int n = int((qint64(extent) << 16) / band);
        const bool inOut = direction == drVerticalInOut || direction == drHorizontalInOut;
        const int half = inOut ? n / 2 : n;
        if (half <= 0) {
            out.append({strip(0, extent), startColor});
            return out;
        }
        const Rgb step = stepOf(start, end, half);
        for (int i = 0; i < n; ++i) {
            const int k = inOut ? qMin(i, n - 1 - i) : i;
            const int from = bandEdge(i, band);
            const int to = i == n - 1 ? extent : bandEdge(i + 1, band);
            if (to > from)
                out.append({strip(from, to), (start + step * k).color()});
        }
        return out;
    }

    const int cols = qMax(1, int((qint64(w) << 16) / band));
    const int rows = qMax(1, int((qint64(h) << 16) / band));
    const Rgb colStep = stepOf(start, end, 2 * cols);
    const Rgb rowStep = stepOf(start, end, 2 * rows);
    for (int r = 0; r < rows; ++r) {
        const int top = bandEdge(r, band);
        const int bottom = r == rows - 1 ? h : bandEdge(r + 1, band);
        if (bottom <= top)
            continue;
        for (int c = 0; c < cols; ++c) {
            int left = bandEdge(c, band);
            int right = c == cols - 1 ? w : bandEdge(c + 1, band);
            if (right <= left)
                continue;
            if (direction == drDiagonalRightLeft) {
                const int l = w - right;
                right = w - left;
                left = l;
            }
            out.append({QRect(left, top, right - left, bottom - top), (start + colStep * c + rowStep * r).color()});
        }
    }
    return out;
}

TPZShaded::TPZShaded(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(50, 50);
}

void TPZShaded::SetStartColor(const QColor &c)
{
    if (AssignChanged(m_start, c))
        update();
}

void TPZShaded::SetEndColor(const QColor &c)
{
    if (AssignChanged(m_end, c))
        update();
}

void TPZShaded::SetGraduation(TPZGraduation g)
{
    if (AssignChanged(m_graduation, g))
        update();
}

void TPZShaded::SetDirection(TPZDirection d)
{
    if (AssignChanged(m_direction, d))
        update();
}

void TPZShaded::SetCaption(const QString &c)
{
    if (AssignChanged(m_caption, c))
        update();
}

void TPZShaded::SetFontColor(const QColor &c)
{
    if (AssignChanged(m_fontColor, c) && !m_caption.isEmpty())
        update();
}

void TPZShaded::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (const ShadedBand &b : ShadedBands(size(), m_start, m_end, m_graduation, m_direction))
        p.fillRect(b.rect, b.color);
    if (!m_caption.isEmpty()) {
        p.setFont(font());
        p.setPen(m_fontColor);
        // One line, centred both ways; "&" is shown as it is.
        p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
    }
}

void TPZShaded::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange && !m_caption.isEmpty())
        update();
    QWidget::changeEvent(e);
}
