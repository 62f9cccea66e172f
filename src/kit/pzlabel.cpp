#include "kit/pzlabel.h"

#include "kit/assignchanged.h"
#include "kit/presenter.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

TPZLabel::TPZLabel(QWidget *parent)
    : QWidget(parent), m_color(palette().color(QPalette::Window))
{
    resize(65, 17);
}

void TPZLabel::SetCaption(const QString &caption)
{
    if (AssignChanged(m_caption, caption))
        update();
}

void TPZLabel::SetHorzAlignment(TPZHorzAlignment a)
{
    if (AssignChanged(m_horz, a))
        update();
}

void TPZLabel::SetVertAlignment(TPZVertAlignment a)
{
    if (AssignChanged(m_vert, a))
        update();
}

void TPZLabel::SetTransparent(bool t)
{
    if (AssignChanged(m_transparent, t))
        update();
}

void TPZLabel::SetColor(const QColor &c)
{
    if (AssignChanged(m_color, c) && !m_transparent)
        update();
}

void TPZLabel::SetFontColor(const QColor &c)
{
    if (AssignChanged(m_fontColor, c))
        update();
}

MarkupLayout TPZLabel::Layout() const
{
    const MarkupStyle base = MarkupStyle::of(font(), m_fontColor);
    MarkupLayout layout = LayoutMarkup(m_caption, width(), base, FontMeasurer(font()));
    PlaceMarkup(layout, size(), m_horz, m_vert);
    return layout;
}

void TPZLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_transparent)
        p.fillRect(rect(), m_color);
    if (m_caption.isEmpty())
        return;
    // One layout, drawn as laid out: the lines cannot differ from the measured block.
    const MarkupLayout layout = Layout();
    const QFont base = font();
    for (const MarkupLine &line : layout.lines) {
        for (const MarkupRun &run : line.runs) {
            const QFont f = run.style.applied(base);
            p.setFont(f);
            p.setPen(run.style.color);
            p.drawText(line.x + run.x, line.top + QFontMetrics(f).ascent(), run.text);
        }
    }
}

void TPZLabel::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange || e->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(e);
}

void TPZLabel::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit Click();
    QWidget::mouseReleaseEvent(e);
}

void TPZLabel::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        emit DblClick();
    QWidget::mouseDoubleClickEvent(e);
}

void TPZLabel::contextMenuEvent(QContextMenuEvent *e)
{
    if (!m_menu) {
        QWidget::contextMenuEvent(e);
        return;
    }
    kit::popupMenu(*m_menu, e->globalPos());
}
