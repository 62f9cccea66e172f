#include "kit/pzbackground.h"

#include "kit/pzimagelist.h"

#include <QHash>
#include <QPainter>
#include <QWidget>
#include <map>

QColor ScaledColor(const QColor &c, int percentage)
{
    auto s = [percentage](int v) { return qMin(255, v * percentage / 100); };
    return QColor(s(c.red()), s(c.green()), s(c.blue()), c.alpha());
}

QImage ScaledImage(const QImage &image, int percentage)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    if (percentage == 100)
        return out;
    uchar table[256];
    for (int v = 0; v < 256; ++v)
        table[v] = uchar(qMin(255, v * percentage / 100));
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(table[qRed(p)], table[qGreen(p)], table[qBlue(p)], qAlpha(p));
        }
    }
    return out;
}

class PZPooledBitmap
{
public:
    explicit PZPooledBitmap(const QImage &image) : image(image.convertToFormat(QImage::Format_RGB32)) {}

    QImage image;

    const QPixmap &copy(int percentage, bool masked)
    {
        const int key = masked ? -percentage - 1 : percentage;
        auto it = copies.find(key);
        if (it == copies.end()) {
            QImage scaled = ScaledImage(image, percentage);
            if (masked)
                scaled = MaskedImage(scaled, ScaledImage(image.copy(0, image.height() - 1, 1, 1), percentage).pixel(0, 0));
            it = copies.emplace(key, QPixmap::fromImage(scaled)).first;
        }
        return it->second;
    }

private:
    std::map<int, QPixmap> copies;
};

namespace {

// Pictures that are byte for byte the same are kept once.
QMultiHash<size_t, std::weak_ptr<PZPooledBitmap>> &pool()
{
    static QMultiHash<size_t, std::weak_ptr<PZPooledBitmap>> p;
    return p;
}

size_t imageHash(const QImage &img)
{
    return qHashBits(img.constBits(), size_t(img.sizeInBytes()), qHash(img.width()) ^ size_t(img.height()));
}

std::shared_ptr<PZPooledBitmap> pooled(const QImage &bitmap)
{
    const QImage img = bitmap.convertToFormat(QImage::Format_RGB32);
    const size_t h = imageHash(img);
    auto &p = pool();
    for (auto it = p.find(h); it != p.end() && it.key() == h;) {
        if (auto entry = it->lock()) {
            if (entry->image == img)
                return entry;
            ++it;
        } else {
            it = p.erase(it);
        }
    }
    auto entry = std::make_shared<PZPooledBitmap>(img);
    p.insert(h, entry);
    return entry;
}

} // namespace

TPZBackground::TPZBackground(QWidget *owner, QVector<int> levels)
    : m_owner(owner), m_levels(std::move(levels))
{
}

TPZBackground::~TPZBackground() = default;

QImage TPZBackground::Bitmap() const
{
    return m_pooled ? m_pooled->image : QImage();
}

void TPZBackground::SetBitmap(const QImage &bitmap)
{
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0)
        m_pooled.reset();
    else
        m_pooled = pooled(bitmap);
    if (m_pooled)
        for (int level : m_levels)
            m_pooled->copy(level, m_transparent);
    if (m_owner)
        m_owner->update();
}

void TPZBackground::SetTransparent(bool t)
{
    if (t == m_transparent)
        return;
    m_transparent = t;
    if (m_owner)
        m_owner->update();
}

void TPZBackground::SetStyle(TPZBackgroundStyle s)
{
    if (s == m_style)
        return;
    m_style = s;
    if (m_owner)
        m_owner->update();
}

QPixmap TPZBackground::Brightness(int percentage) const
{
    return m_pooled ? m_pooled->copy(percentage, false) : QPixmap();
}

long TPZBackground::ShareCount() const
{
    return m_pooled ? m_pooled.use_count() : 0;
}

void TPZBackground::Paint(QPainter &p, const QRect &rect, const QColor &fill, int brightness) const
{
    if (rect.isEmpty())
        return;
    if (m_transparent || m_style == bsCentered || !m_pooled)
        p.fillRect(rect, ScaledColor(fill, brightness));
    if (!m_pooled)
        return;
    const QPixmap &pix = m_pooled->copy(brightness, m_transparent);
    if (m_style == bsCentered) {
        const QRect area = m_owner ? m_owner->rect() : rect;
        const QPoint at(area.left() + (area.width() - pix.width()) / 2, area.top() + (area.height() - pix.height()) / 2);
        p.save();
        p.setClipRect(rect, Qt::IntersectClip);
        p.drawPixmap(at, pix);
        p.restore();
        return;
    }
    // Tiles start at the window's client origin, whatever control paints them.
    const QPoint origin = m_owner ? m_owner->mapTo(m_owner->window(), QPoint(0, 0)) : QPoint(0, 0);
    const QPoint saved = p.brushOrigin();
    p.setBrushOrigin(-origin);
    p.fillRect(rect, QBrush(pix));
    p.setBrushOrigin(saved);
}
