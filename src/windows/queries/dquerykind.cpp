#include "windows/queries/dquerykind.h"

#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "query/storedquery.h"
#include "windows/dialogs/dialogbuttons.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>

#include <memory>

namespace {
constexpr int hcQueryKind = 68;
}

TDQueryKind::TDQueryKind(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DQueryKind"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 210);
    auto *text = MakeDialogLabel(this, QStringLiteral("Label1"),
                                 QStringLiteral("Sie sind im Begriff, eine neue Abfrage zu erstellen. Auf welchen "
                                                "Daten soll die neue Abfrage arbeiten?"),
                                 QRect(12, 10, 376, 36));
    text->setWordWrap(true);
    RadioButton1 = MakeDialogCheck(this, QStringLiteral("RadioButton1"), QStringLiteral("Film-Tabelle"),
                                   QRect(24, 54, 360, 20), 1);
    RadioButton2 = MakeDialogCheck(this, QStringLiteral("RadioButton2"), QStringLiteral("Medien-Tabelle"),
                                   QRect(24, 78, 360, 20), 1);
    RadioButton3 = MakeDialogCheck(this, QStringLiteral("RadioButton3"),
                                   QStringLiteral("Join (Medien- und Film-Tabelle zusammengefasst)"),
                                   QRect(24, 102, 360, 20), 1);
    RadioButton4 = MakeDialogCheck(this, QStringLiteral("RadioButton4"), QStringLiteral("Personen-Tabelle"),
                                   QRect(24, 126, 360, 20), 1);
    RadioButton1->SetChecked(true);
    const TDialogButtons row = MakeHelpOkCancel(this, hcQueryKind, 168, 388, 100);
    BitBtnHelp = row.help;
    BitBtnOK = row.ok;
    BitBtnCancel = row.cancel;
    Create();
    SetCaption(QStringLiteral("Abfrage-Quelle"));
}

int TDQueryKind::Kind() const
{
    return query::QueryKindFromButtons(RadioButton2->Checked(), RadioButton3->Checked(), RadioButton4->Checked());
}

int AskQueryKind(QWidget *owner)
{
    auto dlg = std::unique_ptr<TDQueryKind>(CreateForm<TDQueryKind>(owner ? owner->window() : nullptr));
    if (ExecMetalModal(*dlg) != mrOk)
        return query::qsNone;
    return dlg->Kind();
}
