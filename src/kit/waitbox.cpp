#include "kit/waitbox.h"

#include "kit/pzlabel.h"

#include <QGuiApplication>
#include <QScreen>

TWaitbox *Waitbox = nullptr;

TWaitbox::TWaitbox(QWidget *parent)
    : TMetalBoxBase(parent)
{
    setObjectName(QStringLiteral("Waitbox"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    SetCaption(QStringLiteral("Bitte warten..."));
    setFixedSize(320, 84);

    auto line = [this](const char *name, int top) {
        auto *l = new TPZLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(8, top, 304, 34);
        l->SetHorzAlignment(haCenter);
        l->SetVertAlignment(vaCenter);
        return l;
    };
    Text1 = line("Text1", 6);
    Text2 = line("Text2", 44);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TWaitbox *ShowWaitBox(const QString &line1, const QString &line2)
{
    if (!Waitbox)
        Waitbox = new TWaitbox;
    Waitbox->Text1->SetCaption(line1);
    Waitbox->Text2->SetCaption(line2);
    return Waitbox;
}

void SetWaitBoxText(TWaitbox *box, const QString &text)
{
    if (!box)
        return;
    box->Text2->SetCaption(text);
    // The caller keeps the event loop busy: paint now, not when it returns.
    if (box->isVisible())
        box->repaint();
}

void CloseWaitBox(TWaitbox *box)
{
    if (!box)
        return;
    box->close();
    if (box == Waitbox)
        Waitbox = nullptr;
    delete box;
}
