#include "windows/cards/tdasknewperson.h"

#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>

#include <memory>

TDAskNewPerson::TDAskNewPerson(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAskNewPerson"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(560, 300);
    Label1 = MakeDialogLabel(this, QStringLiteral("Label1"), QStringLiteral("Im Feld"), QRect(12, 10, 60, 18));
    LabelField = MakeDialogLabel(this, QStringLiteral("LabelField"), QString(), QRect(76, 10, 470, 18));
    Label2 = MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("haben Sie den ursprünglichen Namen"),
                             QRect(12, 32, 530, 18));
    LabelOld = MakeDialogLabel(this, QStringLiteral("LabelOld"), QString(), QRect(30, 54, 510, 18));
    Label3 = MakeDialogLabel(this, QStringLiteral("Label3"), QStringLiteral("in folgenden Namen geändert:"),
                             QRect(12, 76, 530, 18));
    LabelNew = MakeDialogLabel(this, QStringLiteral("LabelNew"), QString(), QRect(30, 98, 510, 18));
    Label4 = MakeDialogLabel(this, QStringLiteral("Label4"), QStringLiteral("Wie soll damit verfahren werden?"),
                             QRect(12, 124, 530, 18));
    for (QLabel *l : {LabelField, LabelOld, LabelNew}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    Rad1 = MakeDialogCheck(this, QStringLiteral("Rad1"),
                           QStringLiteral("Den Namen der Person einbessern (auch in der Personenkartei und allen "
                                          "anderen Filmen)!"),
                           QRect(12, 150, 536, 20), 1);
    Rad2 = MakeDialogCheck(this, QStringLiteral("Rad2"),
                           QStringLiteral("Eine neue Person dieses Namens in der Personenkartei erfassen (und nur in "
                                          "diesem Feld eintragen)."),
                           QRect(12, 174, 536, 20), 1);
    Rad3 = MakeDialogCheck(this, QStringLiteral("Rad3"),
                           QStringLiteral("Nur dieses Feld einbessern, ohne Auswirkungen auf die Personenkartei oder "
                                          "andere Filme."),
                           QRect(12, 198, 536, 20), 1);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(340, 240, 100, 25));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(448, 240, 100, 25),
                                    QStringLiteral("Abbruch"));
    BitBtnOK->setEnabled(false);
    for (TOzoCheck *r : {Rad1, Rad2, Rad3})
        r->OnStateChange = [this](QObject *) { chosen(); };
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Neue Person oder Person umbenennen?"));
}

int TDAskNewPerson::Choice() const
{
    if (Rad1->Checked())
        return 0;
    if (Rad2->Checked())
        return 1;
    if (Rad3->Checked())
        return 2;
    return -1;
}

void TDAskNewPerson::chosen()
{
    BitBtnOK->setEnabled(Choice() >= 0);
}

bool ExecAskNewPerson(const QString &caption, const QString &oldName, const QString &newName, int &choice)
{
    auto dlg = std::unique_ptr<TDAskNewPerson>(CreateForm<TDAskNewPerson>());
    dlg->LabelField->setText(caption);
    dlg->LabelOld->setText(oldName);
    dlg->LabelNew->setText(newName);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    choice = dlg->Choice();
    return r == mrOk && choice >= 0;
}
