#include "kit/waitbox.h"

#include "kit/framewidgets.h"
#include "kit/ozowindowsizehook.h"
#include "kit/pzlabel.h"

#include <QGuiApplication>
#include <QScreen>

TWaitbox *Waitbox = nullptr;

TWaitbox::TWaitbox(QWidget *parent)
    : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("Waitbox"));
    BorderStyle = bsDialog;
    BorderIcons = 0;
    SetCaption(QStringLiteral("Bitte warten..."));
    resize(324, 110);

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

    OzoWindowSizeHook1 = new TOzoWindowSizeHook(this);
    OzoWindowSizeHook1->setObjectName(QStringLiteral("OzoWindowSizeHook1"));
    OzoWindowSizeHook1->move(304, 68);
}

void TWaitbox::FormCreate()
{
    tOzoFormMetal::FormCreate();
    // The user cannot close the wait box; the work it waits for does.
    if (WinXButt)
        WinXButt->hide();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TWaitbox *ShowWaitBox(const QString &line1, const QString &line2)
{
    if (!Waitbox)
        Waitbox = CreateForm<TWaitbox>();
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
