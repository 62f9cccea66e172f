#include "kit/inpboxmetal.h"

#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/ozoroundrectpanel.h"
#include "kit/ozowindowsizehook.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"

#include <QApplication>
#include <QLineEdit>
#include <memory>

TWiInputBox *WiInputBox = nullptr;

TWiInputBox::TWiInputBox(QWidget *parent)
    : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WiInputBox"));
    BorderStyle = bsDialog;
    BorderIcons = 0;
    setModal(true);
    resize(424, 153);

    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(10, 6, 401, 50);
    PZLabel1->SetHorzAlignment(haLeft);
    PZLabel1->SetVertAlignment(vaCenter);

    OzoRoundRectPanel1 = new TOzoRoundRectPanel(this);
    OzoRoundRectPanel1->setObjectName(QStringLiteral("OzoRoundRectPanel1"));
    OzoRoundRectPanel1->setGeometry(10, 62, 401, 21);
    OzoRoundRectPanel1->SetRndRadius(20);
    Edit1 = new QLineEdit(OzoRoundRectPanel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFrame(false);
    Edit1->setGeometry(6, 3, 389, 15);

    auto button = [this](const char *name, TOzoButtonKind kind, int x) {
        auto *b = new TOzoNewButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->move(x, 96);
        b->SetKind(kind);
        return b;
    };
    HelpButton = button("HelpButton", ibkHelp, 10);
    OzoNewButton2 = button("OzoNewButton2", ibkOK, 204);
    OzoNewButton3 = button("OzoNewButton3", ibkCancel, 311);
    connect(HelpButton, &QAbstractButton::clicked, this, &TWiInputBox::HelpButtonClick);

    OzoWindowSizeHook1 = new TOzoWindowSizeHook(this);
    OzoWindowSizeHook1->setObjectName(QStringLiteral("OzoWindowSizeHook1"));
    OzoWindowSizeHook1->move(401, 108);
    Edit1->setFocus();
}

void TWiInputBox::HelpButtonClick()
{
    kit::showHelp(HelpContext);
}

bool MetalInputBox(const QString &Caption, const QString &Prompt, QString &Value, int HelpContext)
{
    std::unique_ptr<TWiInputBox> box(CreateForm<TWiInputBox>(QApplication::activeWindow()));
    WiInputBox = box.get();
    box->SetCaption(Caption);
    box->PZLabel1->SetCaption(Prompt);
    box->Edit1->setText(Value);
    // The proposed value is selected, so that typing replaces it.
    box->Edit1->selectAll();
    box->HelpContext = HelpContext;
    box->HelpButton->setEnabled(HelpContext != 0);

    kit::BoxInfo info;
    info.kind = QStringLiteral("TWiInputBox");
    info.objectName = box->objectName();
    info.caption = Caption;
    info.text = Prompt;
    info.buttons = QStringList{box->HelpButton->text(), box->OzoNewButton2->text(), box->OzoNewButton3->text()};
    info.input = Value;
    info.inputEdit = box->Edit1;
    info.defaultResult = mrCancel;
    const bool ok = kit::execDialog(*box, info) == mrOk;
    if (ok)
        Value = box->Edit1->text();
    WiInputBox = nullptr;
    return ok;
}
