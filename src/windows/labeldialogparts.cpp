#include "windows/labeldialogparts.h"

#include "kit/ozocheck.h"

TOzoNewButton *LabelDialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QString &caption,
                                 const QRect &g)
{
    auto *b = new TOzoNewButton(parent);
    b->setObjectName(QLatin1String(name));
    b->SetKind(kind);
    if (!caption.isEmpty())
        b->setText(caption);
    b->setGeometry(g);
    return b;
}

TOzoCheck *LabelDialogCheck(QWidget *parent, const char *name, const QString &caption, const QRect &g, int group)
{
    auto *c = new TOzoCheck(parent);
    c->setObjectName(QLatin1String(name));
    c->SetCaption(caption);
    c->setGeometry(g);
    if (group) {
        c->SetIsRadioButton(true);
        c->SetRadioGroup(group);
        c->SetImageType(igCirce);
    }
    return c;
}
