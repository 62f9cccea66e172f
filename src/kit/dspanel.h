// TDsPanel: a panel with a drop shadow, a bevel line and a caption in
// relief. The geometry is worked out by DsPanelLayout and painted by
// PaintDsPanel, so a test reads the rectangles without a window.
#pragma once

#include "platform/tcolor.h"

#include <QFrame>
#include <QPolygon>
#include <QRect>

enum class TBorderLine { blNone, blRaised, blLowered };
enum class TTextStyle { txNone, txLowered, txRaised };

struct DsPanelLayoutResult {
    QRect shadow;         // filled with the shadow colour
    QRect face;           // filled with the face colour, on top of the shadow
    QPolygon upperBevel;  // bottom-left → top-left → top-right
    QPolygon lowerBevel;  // top-right → bottom-right → bottom-left
};

// The panel's rectangles for a client size and a shadow width (negative
// widths count as 0).
DsPanelLayoutResult DsPanelLayout(const QSize &size, int shadowWidth);

class TDsPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TDsPanel(QWidget *parent = nullptr);

    int ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(int w);
    platform::TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(platform::TColor c);
    platform::TColor FaceColor() const { return FFaceColor; }
    void SetFaceColor(platform::TColor c);
    platform::TColor Color_High() const { return FColorHigh; }
    void SetColor_High(platform::TColor c);
    platform::TColor Color_Low() const { return FColorLow; }
    void SetColor_Low(platform::TColor c);
    TBorderLine BorderLine() const { return FBorderLine; }
    void SetBorderLine(TBorderLine b);
    TTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle t);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &c);
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment a);

    // Paints the whole panel onto any painter (the widget paints itself
    // with it).
    void PaintTo(QPainter &p) const;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    template <class T>
    void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        update();
    }

    int FShadowWidth = 2;
    platform::TColor FShadowColor = 0x808080;
    platform::TColor FFaceColor = platform::clBtnFace;
    platform::TColor FColorHigh = 0xE0E8E8;
    platform::TColor FColorLow = 0x688DA2;
    TBorderLine FBorderLine = TBorderLine::blRaised;
    TTextStyle FTextStyle = TTextStyle::txRaised;
    QString FCaption;
    Qt::Alignment FAlignment = Qt::AlignHCenter;
};
