#include "kit/ozohover.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

HoverColours::HoverColours(QWidget &control, Target target, bool takeCurrentColour)
    : m_control(control), m_target(target)
{
    if (takeCurrentColour) {
        const QColor c = control.palette().color(target == Target::Background ? QPalette::Base : QPalette::WindowText);
        m_normal = m_active = c;
    } else {
        m_normal = control.palette().color(QPalette::WindowText);
        m_active = m_normal;
    }
}

void HoverColours::SetColorNormal(const QColor &c)
{
    m_normal = c;
    apply(c);
}

void HoverColours::apply(const QColor &c)
{
    QPalette pal = m_control.palette();
    if (m_target == Target::FontColour) {
        pal.setColor(QPalette::WindowText, c);
    } else {
        pal.setColor(QPalette::Base, c);
        pal.setColor(QPalette::Button, c);
    }
    m_control.setPalette(pal);
    m_control.update();
}

QColor HoverColours::Shown() const
{
    return m_control.palette().color(m_target == Target::FontColour ? QPalette::WindowText : QPalette::Base);
}

void HoverColours::mouseEntered()
{
    if (OnMouseEnter)
        OnMouseEnter();
    apply(m_active);
}

void HoverColours::mouseLeft()
{
    if (OnMouseExit)
        OnMouseExit();
    // An edit that has the focus stays active.
    if (m_target == Target::FontColour || !m_focused)
        apply(m_normal);
}

void HoverColours::focusGained()
{
    m_focused = true;
    apply(m_active);
}

void HoverColours::focusLost()
{
    m_focused = false;
    apply(m_normal);
}

TOzoLabel::TOzoLabel(QWidget *parent) : QLabel(parent), Hover(*this, HoverColours::Target::FontColour, false)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void TOzoLabel::enterEvent(QEnterEvent *e)
{
    QLabel::enterEvent(e);
    Hover.mouseEntered();
}

void TOzoLabel::leaveEvent(QEvent *e)
{
    QLabel::leaveEvent(e);
    Hover.mouseLeft();
}

TOzoDBComboBox::TOzoDBComboBox(QWidget *parent) : THoverControl(parent)
{
    watchLineEdit();
}

void TOzoDBComboBox::watchLineEdit()
{
    if (QLineEdit *le = lineEdit())
        le->installEventFilter(this);
}

void TOzoDBComboBox::focusInEvent(QFocusEvent *e)
{
    watchLineEdit();
    THoverControl::focusInEvent(e);
}

void TOzoDBComboBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && OnEditClick) {
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        const QStyle::SubControl sc = style()->hitTestComplexControl(QStyle::CC_ComboBox, &opt, e->position().toPoint(), this);
        if (sc == QStyle::SC_ComboBoxEditField)
            OnEditClick();
    }
    dbui::DbComboBox::mousePressEvent(e);
}

bool TOzoDBComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && OnEditClick
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        OnEditClick();
    return dbui::DbComboBox::eventFilter(watched, event);
}
