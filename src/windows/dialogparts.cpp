#include "windows/dialogparts.h"

#include "kit/ozocheck.h"

TOzoNewButton *DialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &g)
{
    auto *b = new TOzoNewButton(parent);
    b->setObjectName(QLatin1String(name));
    b->SetKind(kind);
    b->setGeometry(g);
    return b;
}

TOzoCheck *DialogCheck(QWidget *parent, const char *name, const QString &caption, const QRect &g, int radioGroup)
{
    auto *c = new TOzoCheck(parent);
    c->setObjectName(QLatin1String(name));
    c->SetCaption(caption);
    c->setGeometry(g);
    if (radioGroup) {
        c->SetIsRadioButton(true);
        c->SetRadioGroup(radioGroup);
        c->SetImageType(igCirce);
    }
    return c;
}
