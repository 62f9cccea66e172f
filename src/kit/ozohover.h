// Controls that change colour while the mouse is over them: a label (its
// font colour), an edit, a data-aware edit and a data-aware combo box (their
// background, which also stays active while they have the focus).
#pragma once

#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <functional>

// What a hover control does with its two colours; the controls only feed
// it their events.
class HoverColours
{
public:
    enum class Target { FontColour, Background };
    HoverColours(QWidget &control, Target target, bool takeCurrentColour);

    QColor ColorNormal() const { return m_normal; }
    void SetColorNormal(const QColor &c);
    QColor ColorActive() const { return m_active; }
    void SetColorActive(const QColor &c) { m_active = c; }
    bool Focused() const { return m_focused; }

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;

    void mouseEntered();
    void mouseLeft();
    void focusGained();
    void focusLost();
    // The colour the control shows now.
    QColor Shown() const;

private:
    void apply(const QColor &c);

    QWidget &m_control;
    Target m_target;
    QColor m_normal, m_active;
    bool m_focused = false;
};

class TOzoLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TOzoLabel(QWidget *parent = nullptr);
    HoverColours Hover;

protected:
    void enterEvent(QEnterEvent *e) override;
    void leaveEvent(QEvent *e) override;
};

// The events every hover edit and box feeds to its colours.
template <class Base>
class THoverControl : public Base
{
public:
    explicit THoverControl(QWidget *parent) : Base(parent), Hover(*this, HoverColours::Target::Background, true) {}
    HoverColours Hover;

protected:
    void enterEvent(QEnterEvent *e) override
    {
        Base::enterEvent(e);
        Hover.mouseEntered();
    }
    void leaveEvent(QEvent *e) override
    {
        Base::leaveEvent(e);
        Hover.mouseLeft();
    }
    void focusInEvent(QFocusEvent *e) override
    {
        Base::focusInEvent(e);
        Hover.focusGained();
    }
    void focusOutEvent(QFocusEvent *e) override
    {
        Base::focusOutEvent(e);
        Hover.focusLost();
    }
};

class TOzoEdit : public THoverControl<QLineEdit>
{
    Q_OBJECT
public:
    explicit TOzoEdit(QWidget *parent = nullptr) : THoverControl(parent) {}
};

class TOzoDBEdit : public THoverControl<dbui::DbEdit>
{
    Q_OBJECT
public:
    explicit TOzoDBEdit(QWidget *parent = nullptr) : THoverControl(parent) {}
};

class TOzoDBComboBox : public THoverControl<dbui::DbComboBox>
{
    Q_OBJECT
public:
    explicit TOzoDBComboBox(QWidget *parent = nullptr);
    // A left press in the edit part of the box.
    std::function<void()> OnEditClick;

protected:
    void focusInEvent(QFocusEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchLineEdit();
};
