#include "kit/pagecontroles.h"

#include "kit/gradient.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QWheelEvent>

// ---- bitmap holder ---------------------------------------------------------

TBitmapHolder::~TBitmapHolder()
{
    const auto clients = m_clients;
    m_clients.clear();
    for (const QPointer<QWidget> &c : clients)
        if (c)
            c->update();
}

void TBitmapHolder::SetBitmap(const QPixmap &bitmap)
{
    FBitmap = bitmap.copy();
    for (const QPointer<QWidget> &c : m_clients)
        if (c)
            c->update();
}

void TBitmapHolder::Link(QWidget *client)
{
    if (client && !m_clients.contains(client))
        m_clients.append(client);
}

void TBitmapHolder::Unlink(QWidget *client)
{
    m_clients.removeAll(client);
}

int TBitmapHolder::ClientCount() const
{
    int n = 0;
    for (const QPointer<QWidget> &c : m_clients)
        n += c ? 1 : 0;
    return n;
}

// ---- panel look ------------------------------------------------------------

static void frame3D(QPainter &p, QRect &r, const QColor &top, const QColor &bottom, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(top);
        p.drawLine(r.left(), r.bottom(), r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.setPen(bottom);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}

static void bevel(QPainter &p, QRect &r, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const QColor light = platform::toQColor(platform::clBtnHighlight);
    const QColor dark = platform::toQColor(platform::clBtnShadow);
    if (cut == bvRaised)
        frame3D(p, r, light, dark, width);
    else
        frame3D(p, r, dark, light, width);
}

void PaintPanelLook(QPainter &p, const QRect &client, const PanelLook &look)
{
    if (!look.bitmap.isNull())
        TileBitmap(p, client, look.bitmap);
    else if (look.holder && !look.holder->Bitmap().isNull())
        TileBitmap(p, client, look.holder->Bitmap());
    else if (look.color.isValid())
        p.fillRect(client, look.color);
    QRect r = client;
    bevel(p, r, look.bevelOuter, look.bevelWidth);
    frame3D(p, r, look.color, look.color, look.borderWidth);
    bevel(p, r, look.bevelInner, look.bevelWidth);
}

void SetPanelLookHolder(PanelLook &look, QWidget &owner, TBitmapHolder *holder)
{
    if (look.holder == holder)
        return;
    if (look.holder)
        look.holder->Unlink(&owner);
    look.holder = holder;
    if (holder)
        holder->Link(&owner);
    owner.update();
}

// ---- tab sheet -------------------------------------------------------------

TTabSheetes::TTabSheetes(QWidget *parent) : QWidget(parent)
{
    m_look.color = platform::toQColor(platform::clBtnFace);
}

TTabSheetes::~TTabSheetes()
{
    if (m_look.holder)
        m_look.holder->Unlink(this);
}

void TTabSheetes::changed()
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *pc = qobject_cast<TPageControles *>(w)) {
            pc->PageChanged(this);
            break;
        }
}

void TTabSheetes::SetTabColor(platform::TColor c)
{
    if (FTabColor == c)
        return;
    FTabColor = c;
    changed();
}

void TTabSheetes::SetTabFontColor(platform::TColor c)
{
    if (FTabFontColor == c)
        return;
    FTabFontColor = c;
    changed();
}

void TTabSheetes::SetCaption(const QString &c)
{
    if (FCaption == c)
        return;
    FCaption = c;
    changed();
}

void TTabSheetes::SetBitmap(const QPixmap &b)
{
    m_look.bitmap = b.copy();
    update();
}

void TTabSheetes::SetBitmapHolder(TBitmapHolder *h)
{
    SetPanelLookHolder(m_look, *this, h);
}

void TTabSheetes::SetBevels(TBevelCut inner, TBevelCut outer, int bevelWidth, int borderWidth)
{
    m_look.bevelInner = inner;
    m_look.bevelOuter = outer;
    m_look.bevelWidth = bevelWidth;
    m_look.borderWidth = borderWidth;
    update();
}

void TTabSheetes::SetColor(const QColor &c)
{
    m_look.color = c;
    update();
}

void TTabSheetes::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    PaintPanelLook(p, rect(), m_look);
}

// ---- tab faces -------------------------------------------------------------

static bool sideTab(QTabBar::Shape s)
{
    return s == QTabBar::RoundedWest || s == QTabBar::TriangularWest || s == QTabBar::RoundedEast
        || s == QTabBar::TriangularEast;
}

TabFacePlan PlanTabFace(const QRect &tab, bool active, QTabBar::Shape shape, bool fillGradient,
                        const QColor &tabColor)
{
    const bool west = shape == QTabBar::RoundedWest || shape == QTabBar::TriangularWest;
    const bool east = shape == QTabBar::RoundedEast || shape == QTabBar::TriangularEast;
    const bool south = shape == QTabBar::RoundedSouth || shape == QTabBar::TriangularSouth;
    TabFacePlan plan;
    plan.fill = tab;
    plan.from = plan.to = tabColor;
    plan.style = sideTab(shape) ? 1 : 0;
    if (fillGradient) {
        plan.gradient = true;
        if (active) {
            plan.fill = tab.adjusted(1, 0, -1, 0);
            plan.from = QColor(255, 255, 255);
            plan.to = tabColor;
        } else {
            plan.from = tabColor;
            plan.to = QColor(0x88, 0x88, 0x88);
            if (west)
                plan.fill = tab.adjusted(-1, 0, 1, 0).translated(1, 0);
            else if (east)
                plan.fill = tab.adjusted(-1, 0, 1, 0).translated(-1, 0);
            else if (south)
                plan.fill = tab.adjusted(1, -1, -1, 1).translated(0, -1);
            else
                plan.fill = tab.adjusted(1, -1, -1, 1).translated(0, 1);
        }
    }
    plan.text = tab;
    if (west)
        plan.rotation = 90;
    else if (east)
        plan.rotation = 270;
    else if (!active)
        plan.text.translate(0, south ? -2 : 2);
    return plan;
}

// The raised edge of a tab: light above and on the left, dark on the right;
// the shown tab stands 2 pixels higher and stays open towards its page.
static void drawTabEdge(QPainter &p, const QRect &tab, bool active, QTabBar::Shape shape)
{
    const QColor light = platform::toQColor(platform::clBtnHighlight);
    const QColor dark = platform::toQColor(platform::clBtnShadow);
    const bool south = shape == QTabBar::RoundedSouth || shape == QTabBar::TriangularSouth;
    QRect r = tab.adjusted(0, 0, -1, -1);
    if (sideTab(shape)) {
        p.setPen(light);
        p.drawLine(r.topLeft(), r.topRight());
        p.setPen(dark);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        return;
    }
    if (!active)
        r.adjust(0, south ? 0 : 2, 0, south ? -2 : 0);
    const int edge = south ? r.bottom() : r.top();
    const int base = south ? r.top() : r.bottom();
    p.setPen(light);
    p.drawLine(r.left(), base, r.left(), edge);
    p.drawLine(r.left(), edge, r.right(), edge);
    p.setPen(dark);
    p.drawLine(r.right(), edge, r.right(), base);
    if (!active) {
        p.setPen(light);
        p.drawLine(tab.left(), south ? tab.top() : tab.bottom(), tab.right(), south ? tab.top() : tab.bottom());
    }
}

// ---- tab bar ---------------------------------------------------------------

TColorTabBar::TColorTabBar(TPageControles &owner) : QTabBar(&owner), m_owner(owner)
{
    setObjectName(QStringLiteral("TabBar"));
    setDrawBase(false);
    setFocusPolicy(Qt::TabFocus);
}

int TColorTabBar::NextEnabledTab(int offset) const
{
    for (int i = currentIndex() + offset; i >= 0 && i < count(); i += offset)
        if (isTabEnabled(i) && isTabVisible(i))
            return i;
    return -1;
}

void TColorTabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    for (int i = 0; i < count(); ++i) {
        TTabSheetes *page = m_owner.Page(i);
        const QColor colour = platform::toQColor(page ? page->TabColor() : platform::clBtnFace);
        const TabFacePlan plan = PlanTabFace(tabRect(i), i == currentIndex(), shape(), m_owner.TabFillGradient(), colour);
        if (plan.gradient)
            FillGradient(p, plan.fill, plan.from, plan.to, plan.style);
        else
            p.fillRect(plan.fill, colour);
        drawTabEdge(p, tabRect(i), i == currentIndex(), shape());
        p.setPen(platform::toQColor(page ? page->TabFontColor() : platform::clBlack));
        p.setFont(page ? page->font() : font());
        if (plan.rotation == 0) {
            p.drawText(plan.text, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
        } else {
            p.save();
            p.translate(plan.text.center());
            p.rotate(plan.rotation == 90 ? -90 : 90);
            const QRect r(-plan.text.height() / 2, -plan.text.width() / 2, plan.text.height(), plan.text.width());
            p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
            p.restore();
        }
    }
}

void TColorTabBar::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        QTabBar::mousePressEvent(e);
        return;
    }
    const int hit = tabAt(e->position().toPoint());
    m_owner.m_lastHit = hit;
    if (hit >= 0 && hit != currentIndex())
        m_owner.RequestPage(hit);
    e->accept();
}

void TColorTabBar::keyPressEvent(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Left && e->key() != Qt::Key_Right) {
        e->ignore();
        return;
    }
    const int offset = (e->key() == (isRightToLeft() ? Qt::Key_Right : Qt::Key_Left)) ? -1 : 1;
    const int target = NextEnabledTab(offset);
    if (target >= 0)
        m_owner.RequestPage(target);
    e->accept();
}

void TColorTabBar::wheelEvent(QWheelEvent *e)
{
    const QPoint d = e->angleDelta();
    const int delta = qAbs(d.x()) > qAbs(d.y()) ? d.x() : d.y();
    if (delta == 0) {
        e->ignore();
        return;
    }
    const int target = NextEnabledTab(delta > 0 ? -1 : 1);
    if (target >= 0)
        m_owner.RequestPage(target);
    e->accept();
}

// ---- page control ----------------------------------------------------------

TPageControles::TPageControles(QWidget *parent) : QWidget(parent)
{
    m_bar = new TColorTabBar(*this);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("Pages"));
    m_look.color = platform::toQColor(platform::clBtnFace);
    // The bar moves on by itself when the shown tab is hidden or removed.
    connect(m_bar, &QTabBar::currentChanged, this, [this](int i) {
        if (i >= 0 && i != m_stack->currentIndex()) {
            m_stack->setCurrentIndex(i);
            emit currentChanged(i);
        }
    });
    resize(289, 193);
}

int TPageControles::AddPage(TTabSheetes *page)
{
    return addTab(page, page->Caption());
}

int TPageControles::addTab(QWidget *page, const QString &caption)
{
    m_pages.append(page);
    m_stack->addWidget(page);
    int index;
    {
        const QSignalBlocker block(m_bar);
        index = m_bar->addTab(caption);
    }
    if (m_bar->count() == 1)
        SetActivePageIndex(0);
    layoutChildren();
    return index;
}

QWidget *TPageControles::widget(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index) : nullptr;
}

QString TPageControles::tabText(int index) const
{
    return m_bar->tabText(index);
}

bool TPageControles::isTabVisible(int index) const
{
    return m_bar->isTabVisible(index);
}

void TPageControles::setTabVisible(int index, bool visible)
{
    m_bar->setTabVisible(index, visible);
    layoutChildren();
}

void TPageControles::setTabEnabled(int index, bool enabled)
{
    m_bar->setTabEnabled(index, enabled);
}

int TPageControles::PageCount() const
{
    return int(m_pages.size());
}

TTabSheetes *TPageControles::Page(int index) const
{
    return qobject_cast<TTabSheetes *>(widget(index));
}

int TPageControles::ActivePageIndex() const
{
    return m_bar->currentIndex();
}

TTabSheetes *TPageControles::ActivePage() const
{
    return Page(ActivePageIndex());
}

void TPageControles::SetActivePageIndex(int index)
{
    if (index < 0 || index >= m_pages.size())
        return;
    const bool changed = index != m_stack->currentIndex() || index != m_bar->currentIndex();
    {
        const QSignalBlocker block(m_bar);
        m_bar->setCurrentIndex(index);
    }
    m_stack->setCurrentIndex(index);
    m_bar->update();
    if (changed)
        emit currentChanged(index);
}

void TPageControles::SetActivePage(TTabSheetes *page)
{
    SetActivePageIndex(int(m_pages.indexOf(page)));
}

bool TPageControles::RequestPage(int index)
{
    if (index < 0 || index >= m_pages.size() || index == ActivePageIndex())
        return false;
    bool allow = true;
    if (OnChangingToTab)
        OnChangingToTab(this, index, allow);
    if (!allow)
        return false;
    SetActivePageIndex(index);
    if (OnChange)
        OnChange(this);
    return true;
}

void TPageControles::SetTabFillGradient(bool on)
{
    if (FTabFillGradient == on)
        return;
    FTabFillGradient = on;
    m_bar->update();
}

void TPageControles::SetTabPosition(QTabBar::Shape shape)
{
    m_bar->setShape(shape);
    layoutChildren();
}

void TPageControles::SetBitmap(const QPixmap &b)
{
    m_look.bitmap = b.copy();
    update();
}

void TPageControles::SetBitmapHolder(TBitmapHolder *h)
{
    SetPanelLookHolder(m_look, *this, h);
}

void TPageControles::SetBevels(TBevelCut inner, TBevelCut outer, int bevelWidth)
{
    m_look.bevelInner = inner;
    m_look.bevelOuter = outer;
    m_look.bevelWidth = bevelWidth;
    update();
}

void TPageControles::PageChanged(TTabSheetes *page)
{
    const int i = int(m_pages.indexOf(static_cast<QWidget *>(page)));
    if (i >= 0)
        m_bar->setTabText(i, page->Caption());
    m_bar->update();
}

void TPageControles::layoutChildren()
{
    const QSize hint = m_bar->sizeHint();
    const QRect r = rect();
    switch (m_bar->shape()) {
    case QTabBar::RoundedSouth:
    case QTabBar::TriangularSouth:
        m_bar->setGeometry(0, r.height() - hint.height(), r.width(), hint.height());
        m_stack->setGeometry(0, 0, r.width(), r.height() - hint.height());
        break;
    case QTabBar::RoundedWest:
    case QTabBar::TriangularWest:
        m_bar->setGeometry(0, 0, hint.width(), r.height());
        m_stack->setGeometry(hint.width(), 0, r.width() - hint.width(), r.height());
        break;
    case QTabBar::RoundedEast:
    case QTabBar::TriangularEast:
        m_bar->setGeometry(r.width() - hint.width(), 0, hint.width(), r.height());
        m_stack->setGeometry(0, 0, r.width() - hint.width(), r.height());
        break;
    default:
        m_bar->setGeometry(0, 0, r.width(), hint.height());
        m_stack->setGeometry(0, hint.height(), r.width(), r.height() - hint.height());
        break;
    }
}

void TPageControles::resizeEvent(QResizeEvent *)
{
    layoutChildren();
}

void TPageControles::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    PaintPanelLook(p, rect(), m_look);
}

void TPageControles::keyPressEvent(QKeyEvent *e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    int dx = 0;
    if (ctrl && (e->key() == Qt::Key_Tab || e->key() == Qt::Key_PageDown))
        dx = (e->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    else if (ctrl && (e->key() == Qt::Key_Backtab || e->key() == Qt::Key_PageUp))
        dx = -1;
    if (!dx || m_pages.isEmpty()) {
        QWidget::keyPressEvent(e);
        return;
    }
    // Ctrl+Tab goes round the pages.
    const int n = int(m_pages.size());
    int page = ActivePageIndex();
    for (int pass = 0; pass < n; ++pass) {
        page = (page + dx + n) % n;
        if (m_bar->isTabEnabled(page) && m_bar->isTabVisible(page))
            break;
    }
    if (page != ActivePageIndex())
        RequestPage(page);
    e->accept();
}
