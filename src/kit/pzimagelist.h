// TPZImageList: a row of equally sized images, as the speed buttons keep the
// pictures of their glyph strip.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QVector>

class QPainter;

class TPZImageList
{
public:
    TPZImageList(int width = 0, int height = 0) : m_width(width), m_height(height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return int(m_images.size()); }

    // Cuts the strip into images of Width() and adds them; pixels of
    // maskColor become transparent.
    void AddMasked(const QImage &strip, QRgb maskColor);
    void Add(const QImage &image);
    QImage Image(int index) const;
    void Draw(QPainter &p, int x, int y, int index) const;
    void Clear() { m_images.clear(); }

private:
    int m_width;
    int m_height;
    QVector<QImage> m_images;
};

// A copy of image in which every pixel of the colour key is transparent; a
// transparent key (a picture with its own transparency) changes nothing.
QImage MaskedImage(const QImage &image, QRgb key);
