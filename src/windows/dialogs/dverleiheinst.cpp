#include "windows/dialogs/dverleiheinst.h"

#include "app/settings.h"
#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogbuttons.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>
#include <QSpinBox>

#include <memory>

namespace {
constexpr int hcVerleihEinst = 67;
}

TDVerleihEinst::TDVerleihEinst(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DVerleihEinst"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 130);
    auto *label = MakeDialogLabel(this, QStringLiteral("Label1"), QStringLiteral("&Regel-Verleihzeit:"),
                                  QRect(12, 14, 120, 20));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(0, 65535);
    SpinEdit1->setGeometry(136, 12, 80, 24);
    SpinEdit1->setValue(RegelVerleihzeit);
    label->setBuddy(SpinEdit1);
    MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("Tage"), QRect(224, 14, 60, 20));
    CheckBox1 = MakeDialogCheck(this, QStringLiteral("CheckBox1"),
                                QStringLiteral("Bei Programmstart automatisch eine Mahnliste anzeigen!"),
                                QRect(12, 48, 376, 20));
    CheckBox1->SetChecked(AutoMahnliste);
    const TDialogButtons row = MakeHelpOkCancel(this, hcVerleihEinst, 90, 388, 100);
    BitBtnHelp = row.help;
    BitBtnOK = row.ok;
    BitBtnCancel = row.cancel;
    Create();
    SetCaption(QStringLiteral("Verleih-Einstellungen"));
}

void ExecLendingSettings(QWidget *owner)
{
    auto d = std::unique_ptr<TDVerleihEinst>(CreateForm<TDVerleihEinst>(owner ? owner->window() : nullptr));
    if (ExecMetalModal(*d) != mrOk)
        return;
    RegelVerleihzeit = quint16(d->SpinEdit1->value());
    AutoMahnliste = d->CheckBox1->Checked();
    SaveSettings();
}
