#include "windows/labels/printedflag.h"

#include "app/settings.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/queryform.h"

#include <QLabel>

void SetPrintedFlagAndRefresh(engine::Table &media, const TMediumSelection &sel, bool value)
{
    SetPrintedFlag(media, sel, value);
    if (media.active() && media.state() == engine::DataSetState::Browse)
        media.refresh();
    if (QueryForm && QueryForm->Query1->active() && QueryForm->Query1->state() == engine::DataSetState::Browse)
        QueryForm->Query1->refresh();
}

namespace {

// "Immer" or "Nie" taken for good: the switch, the note, the settings saved.
void remember(bool &flag)
{
    flag = true;
    ShowRememberedAnswerInfo();
    SaveSettings();
}

} // namespace

bool AutoSetPrintedFlag(engine::Table &media, const TMediumSelection &sel, const QString &question)
{
    if (PFSetNever || sel.empty())
        return false;
    if (!PFSetAlways) {
        const int r = AskWithRemember(QStringLiteral("Etikett(en) als gedruckt markieren?"), question, true, true);
        if (r == mrAskAlways)
            remember(PFSetAlways);
        else if (r == mrAskNever)
            remember(PFSetNever);
        if (r != mrAskYes && r != mrAskAlways)
            return false;
    }
    if (media.readOnly() && !PFNoReadOnlyAsk) {
        const int r = AskWithRemember(
            QStringLiteral("Sicherheits-Nachfrage"),
            QStringLiteral("Sie haben eingestellt, dass Tarvo das \"Etikett gedruckt\"-Feld für bestimmte Medien nun "
                           "setzen soll.\\lbDie Datenbank ist zur Zeit aber \\Ischreibgeschützt!\\i\\lb\\BSoll "
                           "\"Etikett gedruckt\" trotz Schreibschutz gesetzt werden?"),
            false, true);
        if (r == mrAskAlways)
            remember(PFNoReadOnlyAsk);
        if (r != mrAskYes && r != mrAskAlways)
            return false;
    }
    SetPrintedFlagAndRefresh(media, sel, true);
    return true;
}

bool AskClearPrintedFlag(const QString &question)
{
    if (PFClearNever)
        return false;
    if (PFClearAlways)
        return true;
    const int r = AskWithRemember(QStringLiteral("Neues Etikett drucken?"), question, true, true);
    if (r == mrAskAlways)
        remember(PFClearAlways);
    else if (r == mrAskNever)
        remember(PFClearNever);
    return r == mrAskYes || r == mrAskAlways;
}

bool AutoClearPrintedFlag(engine::Table &media, const TMediumSelection &sel, const QString &question)
{
    if (sel.empty() || !AskClearPrintedFlag(question))
        return false;
    SetPrintedFlagAndRefresh(media, sel, false);
    return true;
}

TMediumNrPairCollection SingleMediumPairs(const QString &kind, int nr)
{
    TMediumNrPairCollection pairs;
    pairs.AddPair(kind, nr);
    return pairs;
}

// ---- the mode dialog -------------------------------------------------------------------

TDPrintedFlagAutoSetClearMode::TDPrintedFlagAutoSetClearMode(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPrintedFlagAutoSetClearMode"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(540, 300);
    MakeDialogLabel(this, QStringLiteral("GroupSet"), QStringLiteral("Automatisches Setzen nach Etikettendruck"),
                    QRect(12, 10, 440, 18));
    RadSetAsk = MakeDialogCheck(this, QStringLiteral("RadSetAsk"), QStringLiteral("Nachfrage"), QRect(24, 30, 420, 20), 1);
    RadSetAlways = MakeDialogCheck(this, QStringLiteral("RadSetAlways"), QStringLiteral("Immer automatisch setzen"),
                                   QRect(24, 52, 420, 20), 1);
    RadSetNever = MakeDialogCheck(this, QStringLiteral("RadSetNever"), QStringLiteral("Niemals automatisch setzen"),
                                  QRect(24, 74, 420, 20), 1);
    ChkNoReadOnlyAsk = MakeDialogCheck(
        this, QStringLiteral("ChkNoReadOnlyAsk"),
        QStringLiteral("Keine weitere Nachfrage beim Setzen bei eingeschaltetem Schreibschutz!"), QRect(24, 100, 504, 20));
    MakeDialogLabel(this, QStringLiteral("GroupClear"), QStringLiteral("Automatisches Löschen bei Änderungen"),
                    QRect(12, 136, 440, 18));
    RadClearAsk = MakeDialogCheck(this, QStringLiteral("RadClearAsk"), QStringLiteral("Nachfrage"),
                                  QRect(24, 156, 420, 20), 2);
    RadClearAlways = MakeDialogCheck(this, QStringLiteral("RadClearAlways"), QStringLiteral("Immer automatisch löschen"),
                                     QRect(24, 178, 420, 20), 2);
    RadClearNever = MakeDialogCheck(this, QStringLiteral("RadClearNever"),
                                    QStringLiteral("Niemals automatisch löschen"), QRect(24, 200, 420, 20), 2);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(320, 250, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(428, 250, 100, 25),
                                    QStringLiteral("Abbruch"));

    (PFSetAlways ? RadSetAlways : PFSetNever ? RadSetNever : RadSetAsk)->SetChecked(true);
    (PFClearAlways ? RadClearAlways : PFClearNever ? RadClearNever : RadClearAsk)->SetChecked(true);
    ChkNoReadOnlyAsk->SetChecked(PFNoReadOnlyAsk);
    for (TOzoCheck *c : {RadSetAsk, RadSetAlways, RadSetNever})
        c->OnStateChange = [this](QObject *) { UpdateEnabling(); };
    UpdateEnabling();
    Create();
    SetCaption(QStringLiteral("Einstellungen zur Verwaltung des \"Etikett gedruckt\"-Feldes"));
}

void TDPrintedFlagAutoSetClearMode::UpdateEnabling()
{
    ChkNoReadOnlyAsk->setEnabled(!RadSetNever->Checked());
}

void TDPrintedFlagAutoSetClearMode::Store() const
{
    PFSetAlways = RadSetAlways->Checked();
    PFSetNever = RadSetNever->Checked();
    PFClearAlways = RadClearAlways->Checked();
    PFClearNever = RadClearNever->Checked();
    PFNoReadOnlyAsk = ChkNoReadOnlyAsk->Checked();
}

void ExecPrintedFlagSettings()
{
    TDPrintedFlagAutoSetClearMode dlg;
    if (ExecMetalModal(dlg) != mrOk)
        return;
    dlg.Store();
    SaveSettings();
}

// ---- media without printed labels ---------------------------------------------------------

TDFindNotPrinted::TDFindNotPrinted(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DFindNotPrinted"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(420, 250);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 396, 64);
    PZLabel1->SetCaption(QStringLiteral("Diese Funktion sucht alle Medien der markierten Typen, für die das Feld "
                                        "\"Etikett gedruckt\" nicht gesetzt ist.\\lbSie können für diese Medien dann "
                                        "Etiketten drucken."));
    ChkSB = MakeDialogCheck(this, QStringLiteral("ChkSB"), QStringLiteral("VHS &Selbstbespielt"), QRect(24, 84, 300, 20));
    ChkKK = MakeDialogCheck(this, QStringLiteral("ChkKK"), QStringLiteral("VHS &Kaufkassette"), QRect(24, 108, 300, 20));
    ChkDVD = MakeDialogCheck(this, QStringLiteral("ChkDVD"), QStringLiteral("&DVD Video"), QRect(24, 132, 300, 20));
    ChkOther = MakeDialogCheck(this, QStringLiteral("ChkOther"), QStringLiteral("Sonstige &Medien"),
                               QRect(24, 156, 300, 20));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(200, 200, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(308, 200, 100, 25),
                                    QStringLiteral("Abbruch"));
    for (TOzoCheck *c : {ChkSB, ChkKK, ChkDVD, ChkOther}) {
        c->SetChecked(true);
        c->OnStateChange = [this](QObject *) { UpdateEnabling(); };
    }
    UpdateEnabling();
    Create();
    SetCaption(QStringLiteral("Medien ohne gedruckte Etiketten suchen"));
}

void TDFindNotPrinted::UpdateEnabling()
{
    BitBtnOK->setEnabled(ChkSB->Checked() || ChkKK->Checked() || ChkDVD->Checked() || ChkOther->Checked());
}

void ExecFindNotPrinted(QWidget *owner)
{
    TDFindNotPrinted dlg;
    if (ExecMetalModal(dlg) != mrOk)
        return;
    const std::array<bool, 4> kinds{dlg.ChkSB->Checked(), dlg.ChkKK->Checked(), dlg.ChkDVD->Checked(),
                                    dlg.ChkOther->Checked()};
    if (!kinds[0] && !kinds[1] && !kinds[2] && !kinds[3])
        return;
    ShowNotPrintedQuery(kinds, owner);
}
