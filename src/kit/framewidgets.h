// The parts of the window frame that are not controls of their own kind: the
// frame's bitmap panels (a 1-pixel single border outside the bevel, as the
// title's 16-pixel button row needs), images and edge pieces.
#pragma once

#include "kit/pzbitmappanel.h"

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// Corners of a frame panel (bits).
enum TFrameCorner { FrameTopLeft = 1, FrameTopRight = 2, FrameBottomLeft = 4, FrameBottomRight = 8 };

// A bitmap panel of the frame: its face is the tiled background (aligned to
// the window's client origin) or its colour; a single border is one dark
// pixel; bevels are rings of the face at 140 % and 60 % brightness.
class TFramePanel : public TPZBitmapPanel
{
    Q_OBJECT
public:
    explicit TFramePanel(QWidget *parent = nullptr);

    QImage Tile() const { return Background().Bitmap(); }
    void SetTile(const QImage &tile);
    bool FrameBorder() const { return FBorder; }
    void SetFrameBorder(bool on);
    // Border plus bevel: where aligned children start.
    int Inset() const;
    // Corners the window's rounded region cuts here: an outline follows the
    // curve there.
    int RoundCorners() const { return FCorners; }
    void SetRoundCorners(int c);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    bool FBorder = false;
    int FCorners = 0;
    qint64 FTileKey = 0;
};

// A picture on the frame (icon, grip, rounded corners).
class TFrameImage : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameImage(QWidget *parent = nullptr);
    const QPixmap &Picture() const { return FPicture; }
    void SetPicture(const QPixmap &p, const QString &name = {});
    QString PictureName() const { return FName; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QPixmap FPicture;
    QString FName;
};

// An edge piece: a 2-pixel strip in a pen colour, the handle of a resize.
class TFrameShape : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameShape(QWidget *parent = nullptr);
    QColor PenColor{255, 255, 255};

protected:
    void paintEvent(QPaintEvent *e) override;
};
