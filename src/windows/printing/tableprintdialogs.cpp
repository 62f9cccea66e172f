#include "windows/printing/tableprintdialogs.h"

#include "app/settings.h"
#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/labelprint.h"
#include "windows/printing/tableprintjob.h"

#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <memory>

bool ListPrintStars = false;

namespace {

QWidget *page(QTabWidget *tabs, const char *name, const QString &title)
{
    auto *w = new QWidget(tabs);
    w->setObjectName(QLatin1String(name));
    tabs->addTab(w, title);
    return w;
}

QSpinBox *spin(QWidget *parent, const char *name, int lo, int hi, const QRect &g)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setGeometry(g);
    return s;
}

} // namespace

// ---- TDTabDrckKind ------------------------------------------------------------------

TDTabDrckKind::TDTabDrckKind(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DTabDrckKind"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(500, 300);
    GroupKind = MakeDialogGroup(this, "GroupKind", QStringLiteral("Tabelle oder Liste?"), QRect(12, 10, 476, 72));
    RadioList = MakeDialogCheck(GroupKind, "RadioList", QStringLiteral("&Standard-Liste (im Normalfall empfohlen)"),
                                QRect(10, 20, 456, 20), 1);
    RadioTable = MakeDialogCheck(GroupKind, "RadioTable",
                                 QStringLiteral("&1-zu-1-Tabelle (Tabellenabbild mit den angezeigten Spalten)"),
                                 QRect(10, 44, 456, 20), 1);
    RadioList->SetChecked(true);
    GroupLines = MakeDialogGroup(this, "GroupLines", QStringLiteral("Art der Standard-Medienliste"), QRect(12, 92, 476, 72));
    RadioOneLine = MakeDialogCheck(GroupLines, "RadioOneLine",
                                   QStringLiteral("1 Zeile pro Medium (Nur Mediumnr und die Filmtitel)"),
                                   QRect(10, 20, 456, 20), 2);
    RadioTwoLines = MakeDialogCheck(
        GroupLines, "RadioTwoLines",
        QStringLiteral("2 Zeilen pro Medium (mit zusätzlichen Informationen in zweiter Zeile)"), QRect(10, 44, 456, 20), 2);
    RadioTwoLines->SetChecked(true);
    BtnPrinter = MakeDialogButton(this, "BtnPrinter", ibkOther, QRect(12, 180, 110, 25), QStringLiteral("Drucker..."));
    BtnOptions = MakeDialogButton(this, "BtnOptions", ibkOther, QRect(130, 180, 110, 25), QStringLiteral("Optionen..."));
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 240, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(280, 240, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(388, 240, 100, 25));
    connect(BtnPrinter, &QPushButton::clicked, this, [this] { ChooseProgramPrinter(this); });
    connect(BtnOptions, &QPushButton::clicked, this, [this] { ExecListPrintSettings(this); });
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(121); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    for (TOzoCheck *r : {RadioList, RadioTable})
        r->OnStateChange = [this](QObject *) { EnableLines(); };
    Create();
    SetCaption(QStringLiteral("Tabelle / Liste drucken"));
}

void TDTabDrckKind::Setup(bool tableAllowed, bool tableForced, bool filmList)
{
    FFilmList = filmList;
    if (tableForced) {
        RadioTable->SetChecked(true);
        RadioList->setEnabled(false);
    } else {
        RadioTable->setEnabled(tableAllowed);
    }
    if (filmList)
        RadioOneLine->SetChecked(true);
    EnableLines();
}

void TDTabDrckKind::EnableLines()
{
    const bool on = RadioList->Checked() && !FFilmList;
    GroupLines->setEnabled(on);
    RadioOneLine->setEnabled(on);
    RadioTwoLines->setEnabled(on);
}

bool TDTabDrckKind::TableChosen() const
{
    return RadioTable->Checked();
}

bool TDTabDrckKind::OneLine() const
{
    return FFilmList || RadioOneLine->Checked();
}

bool ExecTablePrintKindDialog(bool tableAllowed, bool tableForced, bool filmList, bool &tableChosen, bool &oneLine,
                              QWidget *owner)
{
    std::unique_ptr<TDTabDrckKind> dlg(CreateForm<TDTabDrckKind>(owner));
    dlg->Setup(tableAllowed, tableForced, filmList);
    if (ExecMetalModal(*dlg) != mrOk)
        return false;
    tableChosen = dlg->TableChosen();
    oneLine = dlg->OneLine();
    return true;
}

// ---- TDListDrckEinst ------------------------------------------------------------------

TDListDrckEinst::TDListDrckEinst(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DListDrckEinst"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(470, 300);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(12, 10, 446, 230);

    QWidget *p = page(PageControl1, "TabFont", QStringLiteral("Schriftart"));
    MakeDialogLabel(p, QStringLiteral("LabelFont"), QStringLiteral("Schriftart für Listen und Tabellen:"),
                    QRect(10, 12, 400, 18));
    EditFont = new QLineEdit(p);
    EditFont->setObjectName(QStringLiteral("EditFont"));
    EditFont->setGeometry(10, 36, 240, 23);
    BtnBrowse = MakeDialogButton(p, "BtnBrowse", ibkPPP, QRect(256, 35, 30, 25));
    BtnArial = MakeDialogButton(p, "BtnArial", ibkOther, QRect(294, 35, 80, 25), QStringLiteral("Arial"));
    CheckBoxKategFont = MakeDialogCheck(p, QStringLiteral("CheckBoxKategFont"),
                                        QStringLiteral("Sonderschriftarten der Film-Kategorien verwenden"),
                                        QRect(10, 76, 420, 20));
    connect(BtnArial, &QPushButton::clicked, this, [this] { EditFont->setText(QStringLiteral("Arial")); });
    connect(BtnBrowse, &QPushButton::clicked, this, [this] {
        QFontDialog dlg(QFont(EditFont->text()), this);
        dlg.setOption(QFontDialog::ScalableFonts);
        if (kit::execDialog(dlg) == mrOk)
            EditFont->setText(dlg.selectedFont().family());
    });

    p = page(PageControl1, "TabLines", QStringLiteral("Zeilenzahl"));
    CheckAuto = MakeDialogCheck(p, QStringLiteral("CheckAuto"), QStringLiteral("Automatisch wählen."), QRect(10, 12, 300, 20));
    SpinEdit = spin(p, "SpinEdit", 1, 255, QRect(10, 44, 70, 23));
    Btn54 = MakeDialogButton(p, "Btn54", ibkOther, QRect(90, 43, 50, 25), QStringLiteral("54"));
    Btn36 = MakeDialogButton(p, "Btn36", ibkOther, QRect(146, 43, 50, 25), QStringLiteral("36"));
    connect(Btn54, &QPushButton::clicked, this, [this] { SpinEdit->setValue(54); });
    connect(Btn36, &QPushButton::clicked, this, [this] { SpinEdit->setValue(36); });
    CheckAuto->OnStateChange = [this](QObject *) { EnableControls(); };

    p = page(PageControl1, "TabMedia", QStringLiteral("Medienliste"));
    RadVarSpAnz = MakeDialogCheck(p, QStringLiteral("RadVarSpAnz"),
                                  QStringLiteral("Soviele Spalten wie Filme auf dem Medium (max. 5)"),
                                  QRect(10, 12, 420, 20), 1);
    RadConstSpAnz = MakeDialogCheck(p, QStringLiteral("RadConstSpAnz"), QStringLiteral("Immer konstant"),
                                    QRect(10, 40, 150, 20), 1);
    SpinConstSpAnz = spin(p, "SpinConstSpAnz", 1, 5, QRect(166, 38, 60, 23));
    for (TOzoCheck *r : {RadVarSpAnz, RadConstSpAnz})
        r->OnStateChange = [this](QObject *) { EnableControls(); };

    p = page(PageControl1, "TabBool", QStringLiteral("Tab: Wahrheitswerte"));
    RadioButton1 = MakeDialogCheck(p, QStringLiteral("RadioButton1"), QStringLiteral("\u2611 / \u2610"), QRect(10, 12, 300, 20), 2);
    RadioButton2 = MakeDialogCheck(p, QStringLiteral("RadioButton2"), QStringLiteral("\u2713 /"), QRect(10, 36, 300, 20), 2);
    RadioButton3 = MakeDialogCheck(p, QStringLiteral("RadioButton3"), QStringLiteral("\u2612 / \u2610"), QRect(10, 60, 300, 20), 2);
    RadioButton4 = MakeDialogCheck(p, QStringLiteral("RadioButton4"), QStringLiteral("\u2717 /"), QRect(10, 84, 300, 20), 2);
    RadioButton5 = MakeDialogCheck(p, QStringLiteral("RadioButton5"), QStringLiteral("X /"), QRect(10, 108, 300, 20), 2);
    for (TOzoCheck *r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        r->setFont(QFont(QStringLiteral("DejaVu Sans")));

    p = page(PageControl1, "TabFilms", QStringLiteral("Filmliste"));
    ChkBoxSterne = MakeDialogCheck(p, QStringLiteral("ChkBoxSterne"),
                                   QStringLiteral("Wertungen (Sterne) in Filmliste mit ausdrucken"), QRect(10, 12, 420, 20));

    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 256, 100, 25));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(250, 256, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(358, 256, 100, 25));
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(121); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Einstellungen für Listen-/Tabellen-Druck"));
    LoadSettings();
}

void TDListDrckEinst::EnableControls()
{
    const bool manual = !CheckAuto->Checked();
    SpinEdit->setEnabled(manual);
    Btn54->setEnabled(manual);
    Btn36->setEnabled(manual);
    SpinConstSpAnz->setEnabled(RadConstSpAnz->Checked());
}

void TDListDrckEinst::LoadSettings()
{
    EditFont->setText(LFont);
    CheckBoxKategFont->SetChecked(ListUseKategFont);
    CheckAuto->SetChecked(LPP == 0);
    SpinEdit->setValue(LPP == 0 ? 54 : LPP);
    const bool constant = ListSpAnz >= 1 && ListSpAnz <= 5;
    RadConstSpAnz->SetChecked(constant);
    RadVarSpAnz->SetChecked(!constant);
    SpinConstSpAnz->setValue(constant ? ListSpAnz : 1);
    if (GridBoolBothSymbols && GridBoolTickStyle)
        RadioButton1->SetChecked(true);
    else if (GridBoolTrueSymbolOnly && GridBoolTickStyle)
        RadioButton2->SetChecked(true);
    else if (GridBoolBothSymbols)
        RadioButton3->SetChecked(true);
    else if (GridBoolTrueSymbolOnly)
        RadioButton4->SetChecked(true);
    else
        RadioButton5->SetChecked(true);
    ChkBoxSterne->SetChecked(ListPrintStars);
    EnableControls();
}

void TDListDrckEinst::StoreSettings() const
{
    LFont = EditFont->text();
    ListUseKategFont = CheckBoxKategFont->Checked();
    LPP = CheckAuto->Checked() ? 0 : quint8(SpinEdit->value());
    GridBoolBothSymbols = RadioButton1->Checked() || RadioButton3->Checked();
    GridBoolTrueSymbolOnly = RadioButton2->Checked() || RadioButton4->Checked();
    GridBoolTickStyle = RadioButton1->Checked() || RadioButton2->Checked();
    ListSpAnz = RadConstSpAnz->Checked() ? quint8(SpinConstSpAnz->value()) : 0;
    ListPrintStars = ChkBoxSterne->Checked();
    SaveSettings();
}

bool ExecListPrintSettings(QWidget *owner)
{
    std::unique_ptr<TDListDrckEinst> dlg(CreateForm<TDListDrckEinst>(owner));
    if (ExecMetalModal(*dlg) != mrOk)
        return false;
    dlg->StoreSettings();
    return true;
}
