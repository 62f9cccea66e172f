#include "kit/msgboxmetal.h"

#include "kit/enterexitbutton.h"
#include "kit/ozowindowsizehook.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"

#include <QApplication>
#include <memory>

TWMsgBoxMetal *WMsgBoxMetal = nullptr;

TWMsgBoxMetal::TWMsgBoxMetal(QWidget *parent)
    : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WMsgBoxMetal"));
    BorderStyle = bsDialog;
    BorderIcons = 0;
    setModal(true);
    // The client area of the description is 420 x 147; the size hook keeps it.
    resize(424, 173);

    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(10, 6, 401, 105);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    PZLabel1->setFont(f);
    PZLabel1->SetHorzAlignment(haCenter);
    PZLabel1->SetVertAlignment(vaCenter);

    OzoNewButton1 = new TOzoNewButton(this);
    OzoNewButton1->setObjectName(QStringLiteral("OzoNewButton1"));
    OzoNewButton1->move(160, 118);
    OzoNewButton1->SetKind(ibkOK);

    OzoWindowSizeHook1 = new TOzoWindowSizeHook(this);
    OzoWindowSizeHook1->setObjectName(QStringLiteral("OzoWindowSizeHook1"));
    OzoWindowSizeHook1->move(401, 128);
}

QString DoubleBackslashes(const QString &s)
{
    QString out;
    out.reserve(s.size() + 8);
    for (const QChar c : s) {
        out.append(c);
        if (c == QLatin1Char('\\'))
            out.append(c);
    }
    return out;
}

void ShowMetalMessage(const QString &Caption, const QString &Text, bool escapeBackslashes)
{
    std::unique_ptr<TWMsgBoxMetal> box(CreateForm<TWMsgBoxMetal>(QApplication::activeWindow()));
    WMsgBoxMetal = box.get();
    box->SetCaption(Caption);
    box->PZLabel1->SetCaption(escapeBackslashes ? DoubleBackslashes(Text) : Text);

    kit::BoxInfo info;
    info.kind = QStringLiteral("TWMsgBoxMetal");
    info.objectName = box->objectName();
    info.caption = Caption;
    info.text = Text;
    info.literal = escapeBackslashes;
    info.buttons = QStringList{box->OzoNewButton1->text()};
    info.defaultResult = mrOk;
    kit::execDialog(*box, info);
    WMsgBoxMetal = nullptr;
}
