// TPZBackground: the tiled face of bitmap panels and of the frame's title.
// Backgrounds that are given the same picture share it (and its brightness
// copies); tiles are aligned to the window's client origin, so neighbouring
// panels of one window show one seamless texture.
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QVector>
#include <memory>

class QPainter;
class QWidget;

enum TPZBackgroundStyle { bsTiled, bsCentered };

// One picture of the pool with its brightness copies.
class PZPooledBitmap;

class TPZBackground
{
public:
    // owner is the control that paints the background and is repainted when
    // it changes; levels are the brightness percentages the owner draws with.
    explicit TPZBackground(QWidget *owner, QVector<int> levels = {100});
    ~TPZBackground();
    TPZBackground(const TPZBackground &) = delete;
    TPZBackground &operator=(const TPZBackground &) = delete;

    QImage Bitmap() const;
    // Copies the picture (a null image removes it) and repaints the owner.
    void SetBitmap(const QImage &bitmap);
    bool HasBitmap() const { return m_pooled != nullptr; }

    // A transparent background shows the fill colour where the picture has
    // its transparent colour (that of its bottom-left pixel).
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t);
    TPZBackgroundStyle Style() const { return m_style; }
    void SetStyle(TPZBackgroundStyle s);

    // Paints rect of the owner (owner coordinates) with the picture at the
    // given brightness over fill.
    void Paint(QPainter &p, const QRect &rect, const QColor &fill, int brightness = 100) const;

    // The picture at a brightness: each component * percentage / 100, at most 255.
    QPixmap Brightness(int percentage) const;

    // How many backgrounds share this background's picture (0 without one).
    long ShareCount() const;

private:
    QWidget *m_owner;
    QVector<int> m_levels;
    std::shared_ptr<PZPooledBitmap> m_pooled;
    bool m_transparent = false;
    TPZBackgroundStyle m_style = bsTiled;
};

// The colour scaled by a brightness percentage, as the brightness copies are.
QColor ScaledColor(const QColor &c, int percentage);
// An image with every colour component scaled by percentage / 100, at most 255.
QImage ScaledImage(const QImage &image, int percentage);
