#include "windows/dialogparts.h"

#include "kit/ozocheck.h"

#include <QLabel>

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
