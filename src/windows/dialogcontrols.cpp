#include "windows/dialogcontrols.h"

#include <QLabel>

QLabel *DialogLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

TOzoNewButton *DialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &geometry,
                            const QString &caption)
{
    auto *b = new TOzoNewButton(parent);
    b->setObjectName(QLatin1String(name));
    b->SetKind(kind);
    if (!caption.isEmpty())
        b->SetCaption(caption);
    b->setGeometry(geometry);
    return b;
}
