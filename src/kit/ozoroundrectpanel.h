// A panel with a rounded border that clips itself, and optionally its first
// child, so that edit fields and lists sit in rounded frames.
#pragma once

#include <QColor>
#include <QWidget>

class TOzoRoundRectPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TOzoRoundRectPanel(QWidget *parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor &c);
    int RndRadius() const { return FRndRadius; }
    // Negative values are refused.
    void SetRndRadius(int r);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int w);
    bool ClipFirstControl() const { return FClipFirstControl; }
    void SetClipFirstControl(bool on);
    int ClipLeft() const { return FClip[0]; }
    int ClipTop() const { return FClip[1]; }
    int ClipRight() const { return FClip[2]; }
    int ClipBottom() const { return FClip[3]; }
    void SetClipLeft(int v) { setClip(0, v); }
    void SetClipTop(int v) { setClip(1, v); }
    void SetClipRight(int v) { setClip(2, v); }
    void SetClipBottom(int v) { setClip(3, v); }
    QColor Color() const { return FColor; }
    void SetColor(const QColor &c);

    // Drops both regions; they are rebuilt on the next paint.
    void FreeRegions();
    bool HasRegion() const { return FHasRegion; }
    bool HasChildRegion() const { return FHasChildRegion; }

    static void SetUseRegions(bool on);
    static bool UseRegions();

    // The border rectangle for a border width: pen width, and the inset of
    // the rectangle from (0, 0) and from the far corner.
    struct BorderGeometry {
        int penWidth;
        QRect rect;
    };
    static BorderGeometry BorderFor(int borderWidth, const QSize &size);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void setClip(int i, int v);
    QWidget *firstChild() const;

    QColor FBorderColor{128, 128, 128};
    QColor FColor;
    int FRndRadius = 20;
    int FBorderWidth = 1;
    bool FClipFirstControl = false;
    int FClip[4] = {2, 2, 3, 3};
    bool FHasRegion = false;
    bool FHasChildRegion = false;
};
