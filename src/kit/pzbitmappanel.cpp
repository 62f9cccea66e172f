#include "kit/pzbitmappanel.h"

#include "kit/assignchanged.h"
#include "platform/tcolor.h"

#include <QEvent>
#include <QPainter>

TPZBitmapPanel::TPZBitmapPanel(QWidget *parent)
    : QWidget(parent), m_background(this, {100, 60, 140}), m_color(platform::toQColor(platform::clBtnFace))
{
    // The paint covers the whole area; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
}

TPZBitmapPanel::~TPZBitmapPanel() = default;

void TPZBitmapPanel::SetCaption(const QString &c)
{
    if (AssignChanged(m_caption, c))
        update();
}

void TPZBitmapPanel::SetColor(const QColor &c)
{
    if (AssignChanged(m_color, c))
        update();
}

void TPZBitmapPanel::SetFontColor(const QColor &c)
{
    if (AssignChanged(m_fontColor, c) && !m_caption.isEmpty())
        update();
}

void TPZBitmapPanel::SetAlignment(TAlignment a)
{
    if (AssignChanged(m_alignment, a) && !m_caption.isEmpty())
        update();
}

void TPZBitmapPanel::SetBevelOuter(TBevelCut b)
{
    if (AssignChanged(m_bevelOuter, b))
        update();
}

void TPZBitmapPanel::SetBevelInner(TBevelCut b)
{
    if (AssignChanged(m_bevelInner, b))
        update();
}

void TPZBitmapPanel::SetBevelWidth(int w)
{
    if (w >= 1 && AssignChanged(m_bevelWidth, w))
        update();
}

void TPZBitmapPanel::SetBorderWidth(int w)
{
    if (w >= 0 && AssignChanged(m_borderWidth, w))
        update();
}

void TPZBitmapPanel::SetBorderSingle(bool on)
{
    if (AssignChanged(m_borderSingle, on))
        update();
}

QRect TPZBitmapPanel::InsideRect() const
{
    QRect r = rect();
    if (m_borderSingle)
        r.adjust(2, 2, -2, -2);
    if (m_bevelOuter != bvNone)
        r.adjust(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    r.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    if (m_bevelInner != bvNone)
        r.adjust(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    return r;
}

// BevelWidth rings of 1-pixel strips, painted with the background: a lowered
// bevel dark (60 %) on the left and top and light (140 %) on the right and
// bottom, a raised one the reverse. r shrinks by the bevel.
void TPZBitmapPanel::bevel(QPainter &p, QRect &r, TBevelCut kind) const
{
    if (kind == bvNone)
        return;
    const int topLeft = kind == bvLowered ? 60 : 140;
    const int bottomRight = kind == bvLowered ? 140 : 60;
    for (int i = 0; i < m_bevelWidth && r.width() > 0 && r.height() > 0; ++i) {
        const int L = r.left(), T = r.top(), R = r.right(), B = r.bottom();
        m_background.Paint(p, QRect(QPoint(L, T), QPoint(L, B)), m_color, topLeft);
        m_background.Paint(p, QRect(QPoint(L, T), QPoint(R - 1, T)), m_color, topLeft);
        m_background.Paint(p, QRect(QPoint(R, T), QPoint(R, B - 1)), m_color, bottomRight);
        m_background.Paint(p, QRect(QPoint(L + 1, B), QPoint(R, B)), m_color, bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

void TPZBitmapPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QRect r = rect();
    if (m_borderSingle) {
        // The sunken edge of a single border: outer shadow/highlight, inner dark/light.
        const QColor shadow = platform::toQColor(platform::clBtnShadow);
        const QColor light = platform::toQColor(platform::clBtnHighlight);
        const QColor dark = platform::toQColor(platform::cl3DDkShadow);
        const QColor face = platform::toQColor(platform::cl3DLight);
        for (int i = 0; i < 2; ++i) {
            const QColor tl = i == 0 ? shadow : dark;
            const QColor br = i == 0 ? light : face;
            p.setPen(tl);
            p.drawLine(r.left(), r.bottom(), r.left(), r.top());
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.setPen(br);
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
            r.adjust(1, 1, -1, -1);
        }
    }
    bevel(p, r, m_bevelOuter);
    if (m_borderWidth > 0) {
        const QRect inner = r.adjusted(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
        const int b = m_borderWidth;
        m_background.Paint(p, QRect(r.left(), r.top(), r.width(), b), m_color);
        m_background.Paint(p, QRect(r.left(), r.bottom() - b + 1, r.width(), b), m_color);
        m_background.Paint(p, QRect(r.left(), r.top() + b, b, r.height() - 2 * b), m_color);
        m_background.Paint(p, QRect(r.right() - b + 1, r.top() + b, b, r.height() - 2 * b), m_color);
        r = inner;
    }
    bevel(p, r, m_bevelInner);
    m_background.Paint(p, r, m_color);
    if (!m_caption.isEmpty()) {
        Qt::Alignment a = Qt::AlignVCenter;
        a |= m_alignment == taLeftJustify ? Qt::AlignLeft : m_alignment == taRightJustify ? Qt::AlignRight : Qt::AlignHCenter;
        p.setFont(font());
        p.setPen(m_fontColor);
        p.drawText(r, int(a) | Qt::TextSingleLine, m_caption);
    }
}

void TPZBitmapPanel::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange && !m_caption.isEmpty())
        update();
    QWidget::changeEvent(e);
}
