#include "kit/pzimagelist.h"

#include <QPainter>

QImage MaskedImage(const QImage &image, QRgb key)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    // A picture that brings its own transparency keeps it.
    if (qAlpha(key) == 0)
        return out;
    const QRgb k = key | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] | 0xFF000000u) == k && qAlpha(line[x]) != 0)
                line[x] = 0;
        }
    }
    return out;
}

void TPZImageList::AddMasked(const QImage &strip, QRgb maskColor)
{
    if (m_width <= 0 || m_height <= 0)
        return;
    const QImage masked = MaskedImage(strip, maskColor);
    for (int x = 0; x + m_width <= masked.width(); x += m_width)
        m_images.append(masked.copy(x, 0, m_width, m_height));
}

void TPZImageList::Add(const QImage &image)
{
    m_images.append(image);
}

QImage TPZImageList::Image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images.at(index) : QImage();
}

void TPZImageList::Draw(QPainter &p, int x, int y, int index) const
{
    if (index >= 0 && index < m_images.size())
        p.drawImage(x, y, m_images.at(index));
}
