#include "windows/labels/dzfhint.h"

#include "app/settings.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/labels/dzfsetup.h"
#include "windows/dialogs/dialogparts.h"

#include <memory>

TDZFHint::TDZFHint(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DZFHint"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(440, 210);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 416, 96);
    PZLabel1->SetCaption(QStringLiteral(
        "Bevor Sie auf \\BSelbstklebeetiketten\\b drucken, muss Tarvo wissen, wo die Etiketten auf Ihrem "
        "Bogen liegen und wie genau Ihr Drucker druckt.\\lbRichten Sie dazu einmal die Etikettenbögen und die "
        "Drucker-Kalibrierung ein."));
    BtnSetup = MakeDialogButton(this, "BtnSetup", ibkOther,
                                 QRect(12, 112, 200, 25), QStringLiteral("Jetzt sofort einrichten..."));
    ChkDontShow = MakeDialogCheck(this, "ChkDontShow", QStringLiteral("Diese Meldung zukünftig nicht mehr anzeigen!"),
                                   QRect(12, 146, 416, 20));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(328, 176, 100, 25), QString());
    BitBtnOK->setDefault(true);
    connect(BtnSetup, &QPushButton::clicked, this, [this] {
        if (ExecSelfAdhesiveSetup(this))
            ChkDontShow->SetChecked(true);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    Create();
    SetCaption(QStringLiteral("Hinweis"));
}

void ExecZFHint()
{
    auto dlg = std::unique_ptr<TDZFHint>(CreateForm<TDZFHint>());
    kit::execDialog(*dlg);
    ZFShowHint = !dlg->ChkDontShow->Checked();
    SaveSettings();
}
