#include "windows/dialogs/dialogparts.h"

#include "kit/ozocheck.h"
#include "kit/pzspeedbutton.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>

TOzoNewButton *MakeDialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &g,
                                const QString &caption)
{
    auto *b = new TOzoNewButton(parent);
    b->setObjectName(QLatin1String(name));
    b->SetKind(kind);
    b->setGeometry(g);
    if (!caption.isEmpty())
        b->SetCaption(caption);
    return b;
}

TOzoCheck *MakeDialogCheck(QWidget *parent, const QString &name, const QString &caption, const QRect &g,
                           int radioGroup)
{
    auto *c = new TOzoCheck(parent);
    c->setObjectName(name);
    c->SetCaption(caption);
    c->setGeometry(g);
    if (radioGroup) {
        c->SetIsRadioButton(true);
        c->SetRadioGroup(radioGroup);
        c->SetImageType(igCirce);
    }
    return c;
}

QLabel *MakeDialogLabel(QWidget *parent, const QString &name, const QString &text, const QRect &g)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(g);
    return l;
}

QGroupBox *MakeDialogGroup(QWidget *parent, const char *name, const QString &title, const QRect &g)
{
    auto *b = new QGroupBox(title, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(g);
    return b;
}

QAction *AddMenuAction(QMenu *menu, const char *name, const QString &text)
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

TPZSpeedButton *TToolRow::add(const char *name, const QString &caption, const QString &hint, int w)
{
    auto *b = new TPZSpeedButton(m_parent);
    b->setObjectName(QLatin1String(name));
    b->SetCaption(caption);
    b->setToolTip(hint);
    b->setGeometry(m_x, 4, w, 26);
    m_x += w + 2;
    return b;
}
