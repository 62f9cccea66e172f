#include "kit/dspanel.h"

#include <QFontMetrics>
#include <QPainter>

DsPanelLayoutResult DsPanelLayout(const QSize &size, int shadowWidth)
{
    const int w = qMax(0, shadowWidth);
    const int s = w / 2;
    const int W = size.width(), H = size.height();
    DsPanelLayoutResult r;
    // Shrunk by s on every side, then moved by s right and down.
    r.shadow = QRect(QPoint(2 * s, 2 * s), QPoint(W - 1, H - 1));
    // The same moved back by w.
    r.face = r.shadow.translated(-w, -w);
    r.upperBevel << QPoint(0, H - 1 - w) << QPoint(0, 0) << QPoint(W - 1 - w, 0);
    r.lowerBevel << QPoint(W - 1 - w, 0) << QPoint(W - 1 - w, H - 1 - w) << QPoint(0, H - 1 - w);
    return r;
}

TDsPanel::TDsPanel(QWidget *parent) : QFrame(parent)
{
    resize(185, 41);
}

void TDsPanel::SetShadowWidth(int w) { assign(FShadowWidth, w); }
void TDsPanel::SetShadowColor(platform::TColor c) { assign(FShadowColor, c); }
void TDsPanel::SetFaceColor(platform::TColor c) { assign(FFaceColor, c); }
void TDsPanel::SetColor_High(platform::TColor c) { assign(FColorHigh, c); }
void TDsPanel::SetColor_Low(platform::TColor c) { assign(FColorLow, c); }
void TDsPanel::SetBorderLine(TBorderLine b) { assign(FBorderLine, b); }
void TDsPanel::SetTextStyle(TTextStyle t) { assign(FTextStyle, t); }
void TDsPanel::SetCaption(const QString &c) { assign(FCaption, c); }
void TDsPanel::SetAlignment(Qt::Alignment a) { assign(FAlignment, a); }

void TDsPanel::PaintTo(QPainter &p) const
{
    const DsPanelLayoutResult l = DsPanelLayout(size(), FShadowWidth);
    p.setPen(Qt::NoPen);
    p.fillRect(l.shadow, platform::toQColor(FShadowColor));
    p.fillRect(l.face, platform::toQColor(FFaceColor));
    if (FBorderLine != TBorderLine::blNone) {
        const bool raised = FBorderLine == TBorderLine::blRaised;
        p.setPen(platform::toQColor(raised ? FColorHigh : FColorLow));
        p.drawPolyline(l.upperBevel);
        p.setPen(platform::toQColor(raised ? FColorLow : FColorHigh));
        p.drawPolyline(l.lowerBevel);
    }
    if (FCaption.isEmpty())
        return;
    p.setFont(font());
    const int band = QFontMetrics(font()).boundingRect(QStringLiteral("W")).height();
    const QRect area = l.face;
    const QRect text(area.left(), area.top() + (area.height() - band) / 2, area.width(), band);
    const int flags = int((FAlignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine);
    if (FTextStyle != TTextStyle::txNone) {
        const int d = FTextStyle == TTextStyle::txLowered ? 1 : -1;
        p.setPen(platform::toQColor(FColorHigh));
        p.drawText(text.translated(d, d), flags, FCaption);
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text, flags, FCaption);
}

void TDsPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    PaintTo(p);
}
