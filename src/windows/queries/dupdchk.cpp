#include "windows/queries/dupdchk.h"

#include "app/settings.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "kit/waitbox.h"
#include "online/httpget.h"
#include "online/updatecheck.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/main/maincommands.h"
#include "windows/main/mainform.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
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

const QString kCaption = QStringLiteral("Online-Updateprüfung");

bool g_checking = false;

// The wait box and the flag of a running check. Whatever ends the check
// (its result, a failure of any kind, the owner going first) ends this, and
// the box closes and the flag clears.
class TUpdateCheckWait
{
public:
    TUpdateCheckWait()
    {
        // A box of its own, not the shared one: other work may show that
        // while the check runs.
        std::unique_ptr<TWaitbox> box(CreateForm<TWaitbox>());
        box->Text1->SetCaption(kCaption);
        box->Text2->SetCaption(QStringLiteral("Verbindung zu %1...").arg(UpdateServerHost));
        box->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        box->show();
        m_box = box.release();
        g_checking = true;
    }
    ~TUpdateCheckWait()
    {
        // Hidden now, destroyed from the event loop: a window destroyed
        // while the window manager still maps it (a check that fails at
        // once) left the result's box unpainted.
        if (m_box) {
            m_box->hide();
            m_box->deleteLater();
        }
        g_checking = false;
    }
    TUpdateCheckWait(const TUpdateCheckWait &) = delete;
    TUpdateCheckWait &operator=(const TUpdateCheckWait &) = delete;

private:
    QPointer<TWaitbox> m_box;
};

void showResult(const TUpdateCheckResult &r, bool manual, QWidget *parent, const std::function<void()> &openHomepage)
{
    if (r.failed) {
        if (manual)
            kit::messageBox(UpdateFailureText(r), QStringLiteral("Fehler bei Online-Versionsabfrage"),
                            kit::MsgButtons::Ok, kit::BoxIcon::Error, 0, parent);
        return;
    }
    switch (r.message.verdict) {
    case TUpdateVerdict::Nothing:
        return;
    case TUpdateVerdict::Current:
        kit::messageBox(r.message.text, kCaption, kit::MsgButtons::Ok, kit::BoxIcon::Information, 0, parent);
        return;
    case TUpdateVerdict::Newer:
    case TUpdateVerdict::Intermediate:
        if (kit::messageBox(r.message.text, kCaption, kit::MsgButtons::YesNo, kit::BoxIcon::Question, 0, parent)
                == mrYes
            && openHomepage)
            openHomepage();
        return;
    }
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

void CheckForUpdate(bool manual, QWidget *owner, const std::function<void()> &openHomepage)
{
    if (g_checking)
        return;
    auto wait = std::make_shared<TUpdateCheckWait>();
    const QPointer<QWidget> parent(owner);
    StartUpdateCheck(manual, owner, [wait, manual, parent, openHomepage](const TUpdateCheckResult &r) mutable {
        wait.reset(); // the box goes before anything is shown
        showResult(r, manual, parent.data(), openHomepage);
    });
}

bool UpdateCheckRunning()
{
    return g_checking;
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
