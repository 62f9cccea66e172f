#include "windows/dupdchk.h"

#include "app/settings.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "online/updatecheck.h"
#include "windows/dialogparts.h"
#include "windows/maincommands.h"
#include "windows/mainform.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

#include <memory>

namespace {

TOzoCheck *radio(QWidget *parent, const char *name, const QString &caption, int top)
{
    auto *c = new TOzoCheck(parent);
    c->setObjectName(QLatin1String(name));
    c->SetCaption(caption);
    c->setGeometry(12, top, 300, 20);
    c->SetIsRadioButton(true);
    c->SetRadioGroup(1);
    c->SetImageType(igCirce);
    return c;
}


// The main window's homepage command when the main window is there.
void openHomepage()
{
    if (Mainform && Mainform->Commands)
        Mainform->Commands->OpenWebPage(TarvoHomepageUrl);
    else
        QDesktopServices::openUrl(QUrl(TarvoHomepageUrl));
}

} // namespace

TDUpdChk::TDUpdChk(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DUpdChk"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 214);
    Label1 = MakeDialogLabel(this, "Label1", QStringLiteral("Soll Tarvo bei jedem Programmstart automatisch im Internet überprüfen, ob "
                                       "eine neuere Version verfügbar ist? (Prüfung erfolgt nur bei bestehender "
                                       "Internet-Verbindung)"),
                         QRect(12, 10, 376, 54));
    Label1->setWordWrap(true);
    ChkYes = radio(this, "ChkYes", QStringLiteral("Ja"), 72);
    ChkNo = radio(this, "ChkNo", QStringLiteral("Nein"), 96);
    ChkAsk = radio(this, "ChkAsk", QStringLiteral("Beim Start nachfragen!"), 120);
    BtnCheck = MakeDialogButton(this, "BtnCheck", ibkOther, QRect(12, 164, 120, 25), QStringLiteral("Jetzt prüfen..."));
    BtnOK = MakeDialogButton(this, "BtnOK", ibkOK, QRect(180, 164, 100, 25));
    BtnOK->setDefault(true);
    BtnCancel = MakeDialogButton(this, "BtnCancel", ibkCancel, QRect(288, 164, 100, 25), QStringLiteral("Abbruch"));
    connect(BtnCheck, &QPushButton::clicked, this, [this] { BtnCheckClick(); });
    connect(BtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Online-Updateprüfung"));
}

void TDUpdChk::SetMode(int mode)
{
    (mode == 1 ? ChkYes : mode == 2 ? ChkNo : ChkAsk)->SetChecked(true);
}

int TDUpdChk::Mode() const
{
    return ChkYes->Checked() ? 1 : ChkNo->Checked() ? 2 : 0;
}

void TDUpdChk::BtnCheckClick()
{
    RunManualUpdateCheck(this);
}

void ExecUpdateCheckSettings()
{
    auto dlg = std::unique_ptr<TDUpdChk>(CreateForm<TDUpdChk>());
    dlg->SetMode(UpdChkMode);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk)
        return;
    UpdChkMode = dlg->Mode();
    SaveSettings();
}

void RunManualUpdateCheck(QWidget *owner)
{
    CheckForUpdate(true, owner, openHomepage);
}

void AutoUpdateCheck(QWidget *owner)
{
    switch (AutoUpdateAction(UpdChkMode)) {
    case TAutoUpdateAction::Check: CheckForUpdate(false, owner, openHomepage); break;
    case TAutoUpdateAction::Ask: ExecUpdateCheckSettings(); break;
    case TAutoUpdateAction::None: break;
    }
}
