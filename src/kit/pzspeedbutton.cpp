#include "kit/pzspeedbutton.h"

#include "kit/assignchanged.h"
#include "kit/presenter.h"
#include "platform/tcolor.h"

#include <QCursor>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

TPZButtonState SpeedButtonNextState(TPZButtonState s, SpeedEvent event, const SpeedContext &ctx)
{
    switch (event) {
    case SpeedEvent::Enter:
        return ctx.enabled && s == bsUp ? bsHot : s;
    case SpeedEvent::Leave:
    case SpeedEvent::Disable:
        switch (s) {
        case bsHot:
        case bsPressed:
        case bsMenu: return bsUp;
        case bsPressedLatched: return bsLatched;
        default: return s;
        }
    case SpeedEvent::LeftDown:
        if (!ctx.enabled)
            return s;
        switch (s) {
        case bsHot: return ctx.hasMenu ? bsMenu : bsPressed;
        case bsLatched: return ctx.allowAllUp ? bsPressedLatched : s;
        case bsMenu: return bsPressed;
        default: return s;
        }
    case SpeedEvent::LeftUp:
        switch (s) {
        case bsPressed: return ctx.groupIndex != 0 ? bsLatched : bsHot;
        case bsPressedLatched: return bsHot;
        default: return s;
        }
    case SpeedEvent::Enable:
        return s == bsUp && ctx.pointerOver ? bsHot : s;
    case SpeedEvent::MenuClosed:
        return s == bsMenu ? (ctx.pointerOver ? bsHot : bsUp) : s;
    }
    return s;
}

SpeedButtonPlace SpeedButtonLayout(const QSize &client, const QSize &glyph, const QSize &textSize, bool hasCaption,
                                   TPZButtonLayout layout, int margin, int spacing)
{
    const int W = client.width();
    const int H = client.height();
    const int gw = glyph.width();
    const int gh = glyph.height();
    const int tw = hasCaption ? textSize.width() : 0;
    const int th = hasCaption ? textSize.height() : 0;
    const int s = hasCaption && gw > 0 && gh > 0 ? spacing : 0;
    SpeedButtonPlace place;
    int x = 0;
    int y = 0;
    switch (layout) {
    case blLeft: {
        const int extent = gw + s + tw;
        x = W / 2 - extent / 2;
        y = H / 2 - gh / 2;
        place.caption = QRect(QPoint(x + gw + s, H / 2 - th / 2), QPoint(x + gw + s + tw, H / 2 + th / 2));
        break;
    }
    case blRight: {
        const int extent = gw + s + tw;
        x = W / 2 + extent / 2 - gw;
        y = H / 2 - gh / 2;
        place.caption = QRect(QPoint(x - s - tw, H / 2 - th / 2), QPoint(x - s, H / 2 + th / 2));
        break;
    }
    case blTop: {
        const int extent = gh + s + th;
        x = W / 2 - gw / 2;
        y = H / 2 - extent / 2;
        place.caption = QRect(QPoint(2, y + gh + s), QPoint(W - 2, y + gh + s + th));
        break;
    }
    case blBottom: {
        const int extent = gh + s + th;
        x = W / 2 - gw / 2;
        y = H / 2 + extent / 2 - gh;
        place.caption = QRect(QPoint(2, y - s - th), QPoint(W - 2, y - s));
        break;
    }
    }
    // The rectangles above run from corner to corner exclusive of the far edge.
    place.caption.setRight(place.caption.right() - 1);
    place.caption.setBottom(place.caption.bottom() - 1);
    if (margin != -1) {
        int dx = 0;
        int dy = 0;
        switch (layout) {
        case blLeft: dx = margin - x; break;
        case blRight: dx = (W - margin) - (x + gw); break;
        case blTop: dy = margin - y; break;
        case blBottom: dy = (H - margin) - (y + gh); break;
        }
        x += dx;
        y += dy;
        place.caption.translate(dx, dy);
    }
    place.glyph = QPoint(x, y);
    return place;
}

namespace {

QColor highlightColor()
{
    return platform::toQColor(platform::clBtnHighlight);
}

QColor shadowColor()
{
    return platform::toQColor(platform::clBtnShadow);
}

// The 8 x 8 pattern of latched buttons: highlight where x and y have the same
// parity, the button face elsewhere.
const QBrush &latchedBrush()
{
    static QBrush brush;
    static QColor madeFor;
    const QColor face = platform::toQColor(platform::clBtnFace);
    if (brush.style() == Qt::NoBrush || madeFor != face) {
        QImage img(8, 8, QImage::Format_RGB32);
        const QRgb hi = highlightColor().rgb();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                img.setPixel(x, y, (x % 2) == (y % 2) ? hi : face.rgb());
        brush = QBrush(img);
        madeFor = face;
    }
    return brush;
}

// The disabled glyph: the silhouette of the glyph's drawn pixels (all but the
// transparent ones and white), drawn in the highlight colour 1 pixel right and
// down, then in the shadow colour.
QImage embossed(const QImage &glyph)
{
    QImage out(glyph.width(), glyph.height(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    if (glyph.isNull())
        return out;
    const QImage src = glyph.convertToFormat(QImage::Format_ARGB32);
    auto drawn = [&](int x, int y) {
        const QRgb p = src.pixel(x, y);
        return qAlpha(p) != 0 && (p & 0xFFFFFFu) != 0xFFFFFFu;
    };
    const QRgb hi = highlightColor().rgb();
    const QRgb sh = shadowColor().rgb();
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (drawn(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, hi);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (drawn(x, y))
                out.setPixel(x, y, sh);
    return out;
}

void frame(QPainter &p, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(r.left(), r.bottom(), r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
}

} // namespace

TPZSpeedButton::TPZSpeedButton(QWidget *parent)
    : QWidget(parent)
{
    resize(25, 25);
    setMouseTracking(false);
}

void TPZSpeedButton::SetAllowAllUp(bool v)
{
    m_allowAllUp = v;
}

void TPZSpeedButton::SetGroupIndex(int v)
{
    if (v == m_groupIndex)
        return;
    m_groupIndex = v;
    if (v == 0 && (m_state == bsLatched || m_state == bsPressedLatched))
        setState(bsUp);
    else if (Down())
        releaseGroup();
}

void TPZSpeedButton::SetDown(bool down)
{
    if (m_groupIndex == 0 || down == Down())
        return;
    if (down) {
        setState(bsLatched);
        releaseGroup();
    } else if (m_allowAllUp) {
        setState(bsUp);
    }
}

void TPZSpeedButton::SetGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    if (!glyph.isNull() && glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
        int n = glyph.width() / glyph.height();
        if (n > 3)
            n = 1;
        m_numGlyphs = n;
    }
    rebuildImages();
    update();
}

void TPZSpeedButton::SetNumGlyphs(TPZNumGlyphs n)
{
    n = qBound(1, n, 4);
    if (n == m_numGlyphs)
        return;
    m_numGlyphs = n;
    rebuildImages();
    update();
}

void TPZSpeedButton::rebuildImages()
{
    if (m_glyph.isNull()) {
        m_images = TPZImageList();
        return;
    }
    const int gw = m_glyph.width() / m_numGlyphs;
    m_images = TPZImageList(gw, m_glyph.height());
    // The transparent colour of a bitmap is that of its bottom-left pixel.
    const QRgb key = m_glyph.pixel(0, m_glyph.height() - 1);
    TPZImageList all(gw, m_glyph.height());
    all.AddMasked(m_glyph, key);
    m_images.Add(all.Image(0));
    m_images.Add(m_numGlyphs >= 2 ? all.Image(1) : all.Image(0));
    m_images.Add(m_numGlyphs >= 3 ? all.Image(2) : embossed(all.Image(0)));
}

void TPZSpeedButton::SetLayout(TPZButtonLayout l)
{
    if (AssignChanged(m_layout, l))
        update();
}

void TPZSpeedButton::SetMargin(int m)
{
    if (m < -1 || m == m_margin)
        return;
    m_margin = m;
    update();
}

void TPZSpeedButton::SetSpacing(int s)
{
    if (AssignChanged(m_spacing, s))
        update();
}

void TPZSpeedButton::SetCaption(const QString &c)
{
    if (c == m_caption)
        return;
    m_caption = c;
    updateShortcut();
    update();
}

void TPZSpeedButton::updateShortcut()
{
    delete m_shortcut;
    m_shortcut = nullptr;
    const QKeySequence key = QKeySequence::mnemonic(m_caption);
    if (key.isEmpty())
        return;
    m_shortcut = new QShortcut(key, this);
    connect(m_shortcut, &QShortcut::activated, this, &TPZSpeedButton::accelerator);
}

void TPZSpeedButton::accelerator()
{
    if (!isEnabled() || !isVisible())
        return;
    if (m_menu)
        showMenu();
    else
        emit Click();
}

SpeedContext TPZSpeedButton::context() const
{
    SpeedContext c;
    c.hasMenu = !m_menu.isNull();
    c.allowAllUp = m_allowAllUp;
    c.groupIndex = m_groupIndex;
    c.enabled = isEnabled();
    c.pointerOver = pointerOver();
    return c;
}

bool TPZSpeedButton::pointerOver() const
{
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

void TPZSpeedButton::setState(TPZButtonState s)
{
    if (AssignChanged(m_state, s))
        update();
}

void TPZSpeedButton::apply(SpeedEvent e)
{
    setState(SpeedButtonNextState(m_state, e, context()));
}

void TPZSpeedButton::releaseGroup()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    for (TPZSpeedButton *b : parentWidget()->findChildren<TPZSpeedButton *>(Qt::FindDirectChildrenOnly)) {
        if (b != this && b->m_groupIndex == m_groupIndex
            && (b->m_state == bsLatched || b->m_state == bsPressedLatched))
            b->setState(bsUp);
    }
}

void TPZSpeedButton::MouseEnter()
{
    apply(SpeedEvent::Enter);
}

void TPZSpeedButton::MouseLeave()
{
    apply(SpeedEvent::Leave);
}

void TPZSpeedButton::MouseDownLeft()
{
    apply(SpeedEvent::LeftDown);
    if (m_state == bsMenu)
        showMenu();
}

void TPZSpeedButton::MouseUpLeft()
{
    const TPZButtonState before = m_state;
    apply(SpeedEvent::LeftUp);
    if (before == bsPressed && m_state == bsLatched)
        releaseGroup();
    if (before == bsPressed || before == bsPressedLatched)
        emit Click();
}

void TPZSpeedButton::showMenu()
{
    if (!m_menu)
        return;
    setState(bsMenu);
    kit::popupMenu(*m_menu, mapToGlobal(QPoint(0, height())));
    apply(SpeedEvent::MenuClosed);
}

void TPZSpeedButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange) {
        apply(isEnabled() ? SpeedEvent::Enable : SpeedEvent::Disable);
        update();
    } else if (e->type() == QEvent::FontChange && !m_caption.isEmpty()) {
        update();
    }
    QWidget::changeEvent(e);
}

void TPZSpeedButton::enterEvent(QEnterEvent *e)
{
    MouseEnter();
    QWidget::enterEvent(e);
}

void TPZSpeedButton::leaveEvent(QEvent *e)
{
    MouseLeave();
    QWidget::leaveEvent(e);
}

void TPZSpeedButton::mousePressEvent(QMouseEvent *e)
{
    // A button keeps its presses: passed on, a press on a title-bar button
    // would reach the title bar and start moving the window.
    if (e->button() == Qt::LeftButton) {
        m_insideWhilePressed = true;
        MouseDownLeft();
        e->accept();
        return;
    }
    QWidget::mousePressEvent(e);
}

void TPZSpeedButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        MouseUpLeft();
        e->accept();
        return;
    }
    QWidget::mouseReleaseEvent(e);
}

void TPZSpeedButton::mouseMoveEvent(QMouseEvent *e)
{
    // While the button is held the mouse is grabbed; leaving and coming back
    // are seen here.
    if (e->buttons() & Qt::LeftButton) {
        const bool inside = rect().contains(e->position().toPoint());
        if (inside != m_insideWhilePressed) {
            m_insideWhilePressed = inside;
            inside ? MouseEnter() : MouseLeave();
        }
        e->accept();
        return;
    }
    QWidget::mouseMoveEvent(e);
}

QSize TPZSpeedButton::captionSize() const
{
    if (m_caption.isEmpty())
        return QSize(0, 0);
    const QFontMetrics fm(font());
    if (m_layout == blLeft || m_layout == blRight) {
        const QRect r = fm.boundingRect(QRect(0, 0, 100000, 100000), Qt::TextShowMnemonic | Qt::TextSingleLine,
                                        m_caption);
        return QSize(r.width(), fm.height());
    }
    const QRect r = fm.boundingRect(QRect(2, 0, qMax(1, width() - 4), 100000),
                                    Qt::AlignHCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, m_caption);
    return r.size();
}

SpeedButtonPlace TPZSpeedButton::Place() const
{
    const QSize glyph = m_images.Count() ? QSize(m_images.Width(), m_images.Height()) : QSize(0, 0);
    return SpeedButtonLayout(size(), glyph, captionSize(), !m_caption.isEmpty(), m_layout, m_margin, m_spacing);
}

void TPZSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    SpeedButtonPlace place = Place();
    const QRect r = rect();
    int image = 1;
    int shift = 0;
    if (!isEnabled()) {
        image = 2;
    } else {
        switch (m_state) {
        case bsUp: image = 1; break;
        case bsHot:
            frame(p, r, highlightColor(), shadowColor());
            image = 0;
            break;
        case bsLatched:
            p.fillRect(r.adjusted(1, 1, -1, -1), latchedBrush());
            frame(p, r, shadowColor(), highlightColor());
            image = 0;
            shift = 1;
            break;
        case bsPressed:
        case bsPressedLatched:
        case bsMenu:
            frame(p, r, shadowColor(), highlightColor());
            image = 0;
            shift = 1;
            break;
        }
    }
    m_images.Draw(p, place.glyph.x() + shift, place.glyph.y() + shift, image);
    if (m_caption.isEmpty())
        return;
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRect text = place.caption.translated(shift, shift);
    p.setFont(font());
    if (!isEnabled()) {
        p.setPen(highlightColor());
        p.drawText(text.translated(1, 1), flags, m_caption);
        p.setPen(shadowColor());
    } else {
        p.setPen(palette().color(QPalette::ButtonText));
    }
    p.drawText(text, flags, m_caption);
}
