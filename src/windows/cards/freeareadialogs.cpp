#include "windows/cards/freeareadialogs.h"

#include "windows/dialogs/dialogparts.h"

#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/dialogparts.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <memory>

TDFilter::TDFilter(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DFilter"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 29;
    resize(420, 236);
    Label1 = new QLabel(QStringLiteral("Verwenden Sie diese Funktion, wenn Sie einen Film einer bekannten Länge "
                                       "aufnehmen wollen, um alle Bänder zu bestimmen, auf denen genügend Platz "
                                       "frei ist..."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(12, 10, 396, 48);
    Label2 = new QLabel(QStringLiteral("Wieviel Platz muß mindestens frei sein?"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 66, 396, 20);
    QFont f = Label2->font();
    f.setBold(true);
    Label2->setFont(f);
    Edit1 = new QLineEdit(QStringLiteral("100"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 92, 60, 23);
    Label3 = new QLabel(QStringLiteral("Min."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(78, 95, 36, 18);
    CheckBox1 = MakeDialogCheck(this, "CheckBox1", QStringLiteral("LP"), QRect(124, 94, 60, 20), 0);
    RadioButton1 = MakeDialogCheck(this, "RadioButton1", QStringLiteral("Auch freie Bereiche (zu löschende Filme) berücksichtigen"),
                         QRect(12, 126, 396, 20), 1);
    RadioButton2 = MakeDialogCheck(this, "RadioButton2", QStringLiteral("Aufnahme am Bandende: Nur Restspielzeit durchsuchen"),
                         QRect(12, 150, 396, 20), 1);
    RadioButton1->SetChecked(true);
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(200, 186, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(308, 186, 100, 25));
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Datenbank filtern nach Aufnahmelänge"));
}

bool ExecFreeLengthFilter(int &minutes, bool &includeFree)
{
    auto dlg = std::unique_ptr<TDFilter>(CreateForm<TDFilter>());
    const TModalResult r = ExecMetalModal(*dlg);
    if (r != mrOk)
        return false;
    bool ok = false;
    const int n = dlg->Edit1->text().trimmed().toInt(&ok);
    if (!ok || n < 0) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Keine gültige Nummer!"));
        return false;
    }
    minutes = dlg->CheckBox1->Checked() ? n / 2 : n;
    includeFree = dlg->RadioButton1->Checked();
    return true;
}

TDSplitFree::TDSplitFree(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DSplitFree"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 53;
    resize(380, 176);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 356, 50);
    PZLabel1->SetCaption(QStringLiteral("Hiermit wird der freie Bereich in \\Izwei\\i freie Bereiche geteilt. "
                                        "\\lbWie lang soll der erste freie Bereich bleiben?"));
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 500);
    SpinEdit1->setValue(90);
    SpinEdit1->setGeometry(12, 70, 70, 23);
    Label1 = new QLabel(QStringLiteral("Minuten"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(88, 73, 60, 18);
    CheckBox1 = MakeDialogCheck(this, "CheckBox1", QStringLiteral("&LP"), QRect(160, 72, 60, 20), 0);
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 120, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(160, 120, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(268, 120, 100, 25));
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(53); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Freien Bereich teilen"));
}

bool ExecSplitFreeDialog(int &minutes, bool &longPlay)
{
    auto dlg = std::unique_ptr<TDSplitFree>(CreateForm<TDSplitFree>());
    const TModalResult r = ExecMetalModal(*dlg);
    if (r != mrOk)
        return false;
    minutes = dlg->SpinEdit1->value();
    longPlay = dlg->CheckBox1->Checked();
    return true;
}
