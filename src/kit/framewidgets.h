// The small widgets the window frame is built from: a bevelled panel with a
// tiled skin, a banded gradient, a flat title button with two glyphs, the
// caption label, an image and an edge piece.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "kit/controltypes.h"

// A panel whose face is its colour, or a bitmap tiled with its origin at the
// window's client origin (so neighbouring panels show one seamless texture),
// framed by an optional single border and outer bevel.
class TFramePanel : public QWidget
{
    Q_OBJECT
public:
    explicit TFramePanel(QWidget *parent = nullptr);

    QColor Color() const { return FColor; }
    void SetColor(const QColor &c);
    const QImage &Tile() const { return FTile; }
    void SetTile(const QImage &tile);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int w);
    bool BorderSingle() const { return FBorderSingle; }
    void SetBorderSingle(bool on);
    // Border plus bevel: where aligned children start.
    int Inset() const;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QColor FColor{192, 192, 192};
    QImage FTile;
    TBevelCut FBevelOuter = bvNone;
    int FBevelWidth = 1;
    bool FBorderSingle = false;
};

// A gradient in bands: Graduation bands per 100 pixels, across or down.
class TFrameShaded : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameShaded(QWidget *parent = nullptr);
    QColor StartColor{0, 0, 255};
    QColor EndColor{0, 0, 0};
    int Graduation = 25;
    bool Horizontal = false;
    void SetStartColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *e) override;
};

// A flat title button: a bitmap of two glyphs, the hot one first, the normal
// one second. Hot shows a raised frame, pressed a sunken one.
class TFrameTitleButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TFrameTitleButton(QWidget *parent = nullptr);
    void SetGlyph(const QPixmap &twoGlyphs, const QString &name = {});
    // Name of the picture the glyph was loaded from ("X_M", ...).
    QString GlyphName() const { return FGlyphName; }

protected:
    void paintEvent(QPaintEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    QPixmap FGlyph;
    QString FGlyphName;
    bool FHot = false;
};

// The caption of a frame: one line of the caption text (its mark-up of bold
// and colour switches applied), transparent, in a fixed colour.
class TFrameCaption : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameCaption(QWidget *parent = nullptr);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &s);
    QColor FontColor() const { return FColor; }
    void SetFontColor(const QColor &c);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QString FCaption;
    QColor FColor{0, 0, 0};
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

// Draws a caption with the mark-up switches "\B" "\b" "\I" "\i" "\U" "\u"
// "\N", colour escapes "\cName" and "\\" applied, on one line at (x, baseline).
void DrawCaptionMarkup(class QPainter &p, int x, int baseline, const QString &caption,
                       const QFont &baseFont, const QColor &baseColor, bool keepColour = false);
