#include "windows/cards/flhint.h"

#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>

#include <memory>

TDFLHint::TDFLHint(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DFLHint"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 118;
    resize(430, 200);
    Label1 = MakeDialogLabel(this, QStringLiteral("Label1"),
                             QStringLiteral("Sie können im Datei-Verknüpfungs-Feld eine Verknüpfung zur Originaldatei, "
                                            "die Sie hier gerade \"gedroppt\" haben, eintragen, oder Sie können eine "
                                            "Kopie dieser Datei (im LNK-Ordner der geöffneten Datenbank) erstellen "
                                            "lassen."),
                             QRect(12, 10, 406, 64));
    Label1->setWordWrap(true);
    RadLNK = MakeDialogCheck(this, QStringLiteral("RadLNK"), QStringLiteral("Verknüpfung zur Originaldatei eintragen!"),
                             QRect(12, 84, 406, 20), 1);
    RadCOPY = MakeDialogCheck(this, QStringLiteral("RadCOPY"),
                              QStringLiteral("Kopie der Originaldatei in Datenbank aufnehmen!"), QRect(12, 110, 406, 20), 1);
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 152, 100, 25), QStringLiteral("Hilfe"));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(210, 152, 100, 25), QStringLiteral("OK"));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(318, 152, 100, 25), QStringLiteral("Abbruch"));
    connect(BitBtnHelp, &QPushButton::clicked, this, [this] { kit::showHelp(Tag); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Verknüpfung oder Kopie?"));
}

bool AskLinkOrCopy(bool &copy)
{
    auto dlg = std::unique_ptr<TDFLHint>(CreateForm<TDFLHint>());
    (copy ? dlg->RadCOPY : dlg->RadLNK)->SetChecked(true);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk)
        return false;
    copy = dlg->RadCOPY->Checked();
    return true;
}
