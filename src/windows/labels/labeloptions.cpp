#include "windows/labels/labeloptions.h"

#include "app/settings.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "print/labelsymbols.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/labellist.h"
#include "windows/main/mainform.h"
#include "windows/labels/prevform2.h"

#include <QLabel>
#include <QSpinBox>

#include <algorithm>
#include <memory>

TPlayTimeChoice StorePlayTimeChoice(bool radPrintLen, bool length, bool endPosition)
{
    if (!radPrintLen)
        return {};
    return {length || !endPosition, endPosition};
}

namespace {

QSpinBox *spin(QWidget *parent, const char *name, int lo, int hi, const QRect &g)
{
    auto *s = new QSpinBox(parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(lo, hi);
    s->setGeometry(g);
    return s;
}

TOzoCheck *check(QWidget *parent, const char *name, const QString &caption, int x, int y, int w = 250, int group = 0)
{
    return MakeDialogCheck(parent, QLatin1String(name), caption, QRect(x, y, w, 20), group);
}

void okCancel(tOzoFormMetal *f, TOzoNewButton *&ok, TOzoNewButton *&cancel, int y)
{
    const int w = f->width();
    ok = MakeDialogButton(f, "BitBtnOK", ibkOK, QRect(w - 220, y, 100, 25));
    ok->setDefault(true);
    cancel = MakeDialogButton(f, "BitBtnCancel", ibkCancel, QRect(w - 112, y, 100, 25), QStringLiteral("Abbruch"));
}

} // namespace

// ---- the options ---------------------------------------------------------------------

TDEtiEinst::TDEtiEinst(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DEtiEinst"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(640, 430);
    auto label = [this](const QString &text, int x, int y, int w = 230) {
        return MakeDialogLabel(this, QString(), text, QRect(x, y, w, 20));
    };
    QLabel *lTit = label(QStringLiteral("Maximalgröße des (Film)-&Titels:"), 12, 12);
    SpinEditTit = spin(this, "SpinEditTit", 4, 72, QRect(246, 10, 60, 22));
    lTit->setBuddy(SpinEditTit);
    QLabel *lSub = label(QStringLiteral("Maximalgröße des &Untertitels:"), 12, 38);
    SpinEditSub = spin(this, "SpinEditSub", 4, 72, QRect(246, 36, 60, 22));
    lSub->setBuddy(SpinEditSub);
    QLabel *lLen = label(QStringLiteral("Maximalgröße der &Spielzeit-Angabe :"), 12, 64);
    SpinEditLen = spin(this, "SpinEditLen", 4, 72, QRect(246, 62, 60, 22));
    lLen->setBuddy(SpinEditLen);
    QLabel *lSymb = label(QStringLiteral("Maximalgröße der &Symbole (in mm) :"), 12, 90);
    SpinEditSymb = spin(this, "SpinEditSymb", 3, 20, QRect(246, 88, 60, 22));
    lSymb->setBuddy(SpinEditSymb);
    CheckBox1 = check(this, "CheckBox1", QStringLiteral("Alle &Filmtitel gleich groß"), 12, 120);
    ChkVCenter = check(this, "ChkVCenter", QStringLiteral("Schriftzüge &vertikal zentrieren"), 12, 142);
    ChkNrSep = check(this, "ChkNrSep", QStringLiteral("Separates Nummernetikett"), 12, 164);
    ChkFreeStrikeOut = check(this, "ChkFreeStrikeOut", QStringLiteral("zu löschende Filmtitel durchstreichen"), 12, 186);
    ChkPrintRest = check(this, "ChkPrintRest", QStringLiteral("Restspielzeit (auf Nummernetikett)"), 12, 208);

    label(QStringLiteral("Symbole:"), 330, 12);
    ChkPrintTon = check(this, "ChkPrintTon", QStringLiteral("Ton-, Breitbild- und S/W-Symbole"), 330, 34, 240);
    BtnFormatSymb = MakeDialogButton(this, "BtnFormatSymb", ibkOther, QRect(574, 32, 54, 23), QStringLiteral("..."));
    ChkPrintKateg = check(this, "ChkPrintKateg", QStringLiteral("Kategorie-Symbol"), 330, 56);
    ChkPrintSterne = check(this, "ChkPrintSterne", QStringLiteral("Wertung (Sterne)"), 330, 78);
    ChkAnhSymb = check(this, "ChkAnhSymb", QStringLiteral("Anhang-Symbol"), 330, 100, 140);
    ChkAnhSymbMemo = check(this, "ChkAnhSymbMemo", QStringLiteral("nur bei Memo"), 474, 100, 150);

    label(QStringLiteral("Zusatzzeile (Fensteretikett):"), 330, 130);
    RadPrintLen = check(this, "RadPrintLen", QStringLiteral("Spielzeitangaben"), 330, 152, 180, 1);
    BtnPlayTime = MakeDialogButton(this, "BtnPlayTime", ibkOther, QRect(574, 150, 54, 23), QStringLiteral("..."));
    RadPrintFree = check(this, "RadPrintFree", QStringLiteral("Freies Anhang-Feld Nr."), 330, 174, 180, 1);
    SpinEdit1 = spin(this, "SpinEdit1", 1, 15, QRect(574, 173, 54, 22));
    RadPrintKat = check(this, "RadPrintKat", QStringLiteral("Kategorie"), 330, 196, 180, 1);
    RadWederNoch = check(this, "RadWederNoch", QStringLiteral("weder noch"), 330, 218, 180, 1);

    label(QStringLiteral("Hüllen-Oberkante:"), 12, 250);
    RadHTitel = check(this, "RadHTitel", QStringLiteral("Filmtitel und Untertitel"), 12, 272, 250, 2);
    RadHFree = check(this, "RadHFree", QStringLiteral("Freies Anhang-Feld Nr."), 12, 294, 200, 2);
    SpinHFree = spin(this, "SpinHFree", 1, 15, QRect(246, 293, 60, 22));
    RadHKateg = check(this, "RadHKateg", QStringLiteral("Kategorie"), 12, 316, 250, 2);
    ChkPrintHNr = check(this, "ChkPrintHNr", QStringLiteral("KassNr. dazu (wie auf Rückenetikett)"), 12, 342, 300);
    RadHNormal = check(this, "RadHNormal", QStringLiteral("Immer auf Normalpapier drucken"), 330, 272, 290, 3);
    RadHZF = check(this, "RadHZF", QStringLiteral("Selbstklebe-Rückenetiketten"), 330, 294, 240, 3);
    BtnZF = MakeDialogButton(this, "BtnZF", ibkOther, QRect(574, 292, 54, 23), QStringLiteral("..."));

    BtnPreview = MakeDialogButton(this, "BtnPreview", ibkOther, QRect(12, 392, 100, 25), QStringLiteral("Vorschau..."));
    BtnApply = MakeDialogButton(this, "BtnApply", ibkOther, QRect(312, 392, 100, 25), QStringLiteral("Über&nehmen"));
    okCancel(this, BitBtnOK, BitBtnCancel, 392);

    Load();
    for (TOzoCheck *c : findChildren<TOzoCheck *>())
        c->OnStateChange = [this](QObject *) { Changed(); };
    for (QSpinBox *s : findChildren<QSpinBox *>())
        connect(s, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(BtnPlayTime, &QPushButton::clicked, this, [this] { BtnPlayTimeClick(); });
    connect(BtnZF, &QPushButton::clicked, this, [this] { BtnZFClick(); });
    connect(BtnFormatSymb, &QPushButton::clicked, this, [this] { BtnFormatSymbClick(); });
    connect(BtnApply, &QPushButton::clicked, this, [this] { Store(); });
    connect(BtnPreview, &QPushButton::clicked, this, [] {
        if (Mainform && Mainform->Table1->active())
            ShowLabelPreview(Mainform->Table1.get(), Mainform->DataSource1, Mainform->Table2.get(), Mainform);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] {
        Store();
        done(mrOk);
    });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    BtnApply->setEnabled(false);
    UpdateEnabling();
    Create();
    SetCaption(QStringLiteral("Etiketten-Druckoptionen"));
}

void TDEtiEinst::Load()
{
    SpinEditTit->setValue(LabelFont.Size);
    SpinEditSub->setValue(MaxSizeSub);
    SpinEditLen->setValue(MaxSizeMin);
    SpinEditSymb->setValue(MaxSizeSymb);
    CheckBox1->SetChecked(FilmSizeIdent != 0);
    ChkVCenter->SetChecked(VCenter);
    ChkNrSep->SetChecked(NrEtiSeparate);
    ChkFreeStrikeOut->SetChecked(FreeStrikeOut);
    ChkPrintRest->SetChecked(PrintRest);
    ChkPrintTon->SetChecked(PrintTon);
    ChkPrintKateg->SetChecked(PrintKategSymb);
    ChkPrintSterne->SetChecked(PrintSterne);
    ChkAnhSymb->SetChecked(PrintAnhSymb);
    ChkAnhSymbMemo->SetChecked(PrintAnhSymbMemo);
    // One of the four extra-line choices; "Spielzeitangaben" wins over the others.
    TOzoCheck *extra = (PrintLen || PrintEndPos) ? RadPrintLen : PrintFree ? RadPrintFree : PrintKat ? RadPrintKat
                                                                                                  : RadWederNoch;
    extra->SetChecked(true);
    SpinEdit1->setValue(std::clamp(int(PrintFreeNr), 1, 15));
    (PrintHFree ? RadHFree : PrintHKateg ? RadHKateg : RadHTitel)->SetChecked(true);
    SpinHFree->setValue(std::clamp(int(PrintHFreeNr), 1, 15));
    ChkPrintHNr->SetChecked(PrintHNr);
    (PrintHZF ? RadHZF : RadHNormal)->SetChecked(true);
    Length = PrintLen || !PrintEndPos;
    EndPosition = PrintEndPos;
    Format = std::clamp(PlayTimeFormat, 0, 4) + 1;
    AlignMode = std::clamp(LabelAlignMode, 0, 2);
    Variant = std::clamp(FormatSymbMode, 0, 3) + 1;
}

void TDEtiEinst::Store()
{
    LabelFont.Size = SpinEditTit->value();
    MaxSizeSub = quint8(SpinEditSub->value());
    MaxSizeMin = quint8(SpinEditLen->value());
    MaxSizeSymb = quint8(SpinEditSymb->value());
    FilmSizeIdent = CheckBox1->Checked() ? 1 : 0;
    VCenter = ChkVCenter->Checked();
    NrEtiSeparate = ChkNrSep->Checked();
    FreeStrikeOut = ChkFreeStrikeOut->Checked();
    PrintRest = ChkPrintRest->Checked();
    PrintTon = ChkPrintTon->Checked();
    PrintKategSymb = ChkPrintKateg->Checked();
    PrintSterne = ChkPrintSterne->Checked();
    PrintAnhSymb = ChkAnhSymb->Checked();
    PrintAnhSymbMemo = ChkAnhSymbMemo->Checked();
    const TPlayTimeChoice play = StorePlayTimeChoice(RadPrintLen->Checked(), Length, EndPosition);
    PrintLen = play.PrintLen;
    PrintEndPos = play.PrintEndPos;
    PrintFree = RadPrintFree->Checked();
    PrintFreeNr = quint8(SpinEdit1->value());
    PrintKat = RadPrintKat->Checked();
    PrintHFree = RadHFree->Checked();
    PrintHFreeNr = quint8(SpinHFree->value());
    PrintHKateg = RadHKateg->Checked();
    PrintHNr = ChkPrintHNr->Checked();
    PrintHZF = RadHZF->Checked();
    PlayTimeFormat = Format - 1;
    FormatSymbMode = Variant - 1;
    LabelAlignMode = AlignMode;
    SaveSettings();
    BtnApply->setEnabled(false);
    ::UpdatePreviewSize();
    ArrangeLabelList();
}

void TDEtiEinst::UpdateEnabling()
{
    SpinEdit1->setEnabled(RadPrintFree->Checked());
    BtnPlayTime->setEnabled(RadPrintLen->Checked());
    SpinHFree->setEnabled(RadHFree->Checked());
    BtnZF->setEnabled(RadHZF->Checked());
    ChkAnhSymbMemo->setEnabled(ChkAnhSymb->Checked());
    BtnFormatSymb->setEnabled(ChkPrintTon->Checked());
}

void TDEtiEinst::Changed()
{
    BtnApply->setEnabled(true);
    UpdateEnabling();
}

void TDEtiEinst::BtnPlayTimeClick()
{
    if (ExecPlayTimeDetails(Length, EndPosition, Format))
        Changed();
}

void TDEtiEinst::BtnZFClick()
{
    if (ExecCaseTopOnSpineLabels(AlignMode))
        Changed();
}

void TDEtiEinst::BtnFormatSymbClick()
{
    if (ExecFormatSymbolVariant(Variant))
        Changed();
}

void ExecLabelOptions()
{
    TDEtiEinst dlg;
    ExecMetalModal(dlg);
}

// ---- play-time details ---------------------------------------------------------------

TDEtiEinst2::TDEtiEinst2(bool length, bool endPosition, int format, QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DEtiEinst2"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(470, 230);
    ChkLen = check(this, "ChkLen", QStringLiteral("&Spielzeit des Filmes"), 12, 12, 220);
    ChkEP = check(this, "ChkEP", QStringLiteral("Band&position des Filmendes"), 240, 12, 220);
    const QStringList captions{
        QStringLiteral("in Minuten: Format 1 (z.B. \" 25 min \" oder \" 95 min \")"),
        QStringLiteral("in Minuten: Format 2 (z.B. \" 25' \" oder \" 95'  \")"),
        QStringLiteral("in Stunden && Minuten: Format 1 (z.B. \" 25' \" oder \" 1h35' \")"),
        QStringLiteral("in Stunden && Minuten: Format 2 (z.B. \" 0h25' \" oder \" 1h35' \")"),
        QStringLiteral("in Stunden && Minuten: Format 3 (z.B. \" 0:25 \" oder \" 1:35 \")")};
    const char *names[] = {"RadMin1", "RadMin2", "RadHm1", "RadHm2", "RadHm3"};
    TOzoCheck **rads[] = {&RadMin1, &RadMin2, &RadHm1, &RadHm2, &RadHm3};
    for (int i = 0; i < 5; ++i)
        *rads[i] = check(this, names[i], captions[i], 12, 44 + 24 * i, 446, 1);
    ChkLen->SetChecked(length);
    ChkEP->SetChecked(endPosition);
    if (!length && !endPosition)
        ChkLen->SetChecked(true);
    (*rads[std::clamp(format, 1, 5) - 1])->SetChecked(true);
    // At least one of the two stays on.
    ChkLen->OnClick = [this](QObject *) {
        if (!ChkLen->Checked() && !ChkEP->Checked())
            ChkLen->SetChecked(true);
    };
    ChkEP->OnClick = [this](QObject *) {
        if (!ChkLen->Checked() && !ChkEP->Checked())
            ChkEP->SetChecked(true);
    };
    okCancel(this, BitBtnOK, BitBtnCancel, 190);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Spielzeitangaben auf Etikett..."));
}

int TDEtiEinst2::ChosenFormat() const
{
    const TOzoCheck *rads[] = {RadMin1, RadMin2, RadHm1, RadHm2, RadHm3};
    for (int i = 0; i < 5; ++i)
        if (rads[i]->Checked())
            return i + 1;
    return 1;
}

bool ExecPlayTimeDetails(bool &length, bool &endPosition, int &format)
{
    TDEtiEinst2 dlg(length, endPosition, format);
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    length = dlg.ChkLen->Checked();
    endPosition = dlg.ChkEP->Checked();
    format = dlg.ChosenFormat();
    return true;
}

// ---- case tops on spine labels ------------------------------------------------------------

TDEtiEinst3::TDEtiEinst3(int mode, QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DEtiEinst3"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(470, 200);
    auto *note = MakeDialogLabel(this, QStringLiteral("Label1"),
                                 QStringLiteral("Die Selbstklebe-Rückenetiketten sind länger als die Oberkante der "
                                                "Kassettenhülle. Wie soll das Hüllen-Etikett darauf gedruckt werden?"),
                                 QRect(12, 10, 446, 40));
    note->setWordWrap(true);
    RadMode0 = check(this, "RadMode0", QStringLiteral("1.) Linksbündig drucken, Rest freilassen"), 12, 58, 446, 1);
    RadMode1 = check(this, "RadMode1", QStringLiteral("2.) Linksbündig drucken, Rechts Kassettennummer aufdrucken"),
                     12, 82, 446, 1);
    RadMode2 = check(this, "RadMode2", QStringLiteral("3.) Linken Rand (zum Umknicken) freilassen"), 12, 106, 446, 1);
    (mode == 1 ? RadMode1 : mode == 2 ? RadMode2 : RadMode0)->SetChecked(true);
    okCancel(this, BitBtnOK, BitBtnCancel, 160);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Hüllen-Etiketten auf Selbstklebe-Rückenetiketten drucken..."));
}

int TDEtiEinst3::ChosenMode() const
{
    return RadMode1->Checked() ? 1 : RadMode2->Checked() ? 2 : 0;
}

bool ExecCaseTopOnSpineLabels(int &mode)
{
    TDEtiEinst3 dlg(mode);
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    mode = dlg.ChosenMode();
    return true;
}

// ---- picture-format symbols ----------------------------------------------------------------

TDEtiEinst4::TDEtiEinst4(int variant, QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DEtiEinst4"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(520, 330);
    const QStringList captions{
        QStringLiteral("Variante 1 (variable Symbolzahl: 0 bis 2 Symbole):"),
        QStringLiteral("Variante 2 (fixe Symbolzahl:  Immer 2 Symbole):"),
        QStringLiteral("Variante 3 (fixe Symbolzahl: Immer genau 1 Symbol):"),
        QStringLiteral("Variante 4 (fixe Symbolzahl: Immer genau 1 Symbol):")};
    const QStringList notes{
        QStringLiteral("Nur Abweichungen von Farbe und Vollbild bekommen ein Symbol."),
        QStringLiteral("Immer ein Farb- und ein Bildformat-Symbol."),
        QStringLiteral("Ein Symbol für die Kombination aus Farbe und Bildformat."),
        QStringLiteral("Ein Symbol für das Bildformat, Schwarz-Weiß als eigenes Symbol.")};
    const char *names[] = {"RadVar1", "RadVar2", "RadVar3", "RadVar4"};
    TOzoCheck **rads[] = {&RadVar1, &RadVar2, &RadVar3, &RadVar4};
    for (int i = 0; i < 4; ++i) {
        *rads[i] = check(this, names[i], captions[i], 12, 10 + 44 * i, 496, 1);
        MakeDialogLabel(this, QStringLiteral("LabelVar%1").arg(i + 1), notes[i], QRect(36, 32 + 44 * i, 470, 18));
        (*rads[i])->OnStateChange = [this](QObject *) { UpdateDemo(); };
    }
    LabelDemo = MakeDialogLabel(this, QStringLiteral("LabelDemo"), QString(), QRect(12, 190, 496, 90));
    LabelDemo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (*rads[std::clamp(variant, 1, 4) - 1])->SetChecked(true);
    okCancel(this, BitBtnOK, BitBtnCancel, 292);
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    UpdateDemo();
    Create();
    SetCaption(QStringLiteral("Einstellungen für Druck von Bildformat-Symbolen"));
}

int TDEtiEinst4::ChosenVariant() const
{
    return RadVar2->Checked() ? 2 : RadVar3->Checked() ? 3 : RadVar4->Checked() ? 4 : 1;
}

void TDEtiEinst4::UpdateDemo()
{
    if (!LabelDemo)
        return;
    const int mode = ChosenVariant() - 1;
    QStringList lines;
    const struct { const char *name; bool wide, bw; } cases[] = {{"Farbe Vollbild", false, false},
                                                                {"Schwarz-Weiß Vollbild", false, true},
                                                                {"Farbe Breitbild", true, false},
                                                                {"Schwarz-Weiß Breitbild", true, true}};
    for (const auto &c : cases) {
        const QStringList files = FormatSymbolFiles(mode, c.wide, c.bw);
        lines << QString::fromUtf8(c.name) + QStringLiteral(": ")
                     + (files.isEmpty() ? QStringLiteral("(kein Symbol)") : files.join(QStringLiteral(", ")));
    }
    LabelDemo->setText(lines.join(QLatin1Char('\n')));
}

bool ExecFormatSymbolVariant(int &variant)
{
    TDEtiEinst4 dlg(variant);
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    variant = dlg.ChosenVariant();
    return true;
}
