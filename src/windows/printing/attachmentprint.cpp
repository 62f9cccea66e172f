#include "windows/printing/attachmentprint.h"

#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/table.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "print/labelmedium.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/labelprint.h"
#include "windows/printing/pageprint.h"
#include "windows/printing/printjob.h"
#include "windows/cards/wfilm.h"
#include "windows/printing/wprint.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTabWidget>

// ---- "Anhang drucken" ---------------------------------------------------------------------

TDAnhDruck::TDAnhDruck(bool film, QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAnhDruck"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 190);
    CheckBox1 = MakeDialogCheck(this, QStringLiteral("CheckBox1"), QStringLiteral("Spielzeitangaben auf Anhang mit aufdrucken"),
                                QRect(12, 16, 376, 20));
    CheckBox1->SetChecked(film ? AnhPrintFlag1 : AnhPrintFlag2);
    LabelHint = new TPZLabel(this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelHint->setGeometry(34, 40, 354, 18);
    LabelHint->SetCaption(film ? QStringLiteral("z.B. \" ca. XX min LP m.W. \"")
                               : QStringLiteral("z.B. \"E-240, Restspielzeit ca. XX min\""));
    ButtOptions = MakeDialogButton(this, "ButtOptions", ibkOther, QRect(12, 76, 180, 25), QStringLiteral("Druck-Optionen..."));
    ButtPrinter = MakeDialogButton(this, "ButtPrinter", ibkOther, QRect(208, 76, 180, 25), QStringLiteral("Drucker wählen..."));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(180, 148, 100, 25), QStringLiteral("OK"));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(288, 148, 100, 25), QStringLiteral("Abbruch"));
    BitBtnOK->setDefault(true);
    connect(ButtOptions, &QPushButton::clicked, this, [] { ExecAttachmentPrintOptions(); });
    connect(ButtPrinter, &QPushButton::clicked, this, [this] { ChooseProgramPrinter(this); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    SetCaption(QStringLiteral("Anhang drucken"));
}

bool ExecAttachmentPrintDialog(bool film)
{
    TDAnhDruck dlg(film);
    const bool ok = ExecMetalModal(dlg) == mrOk;
    (film ? AnhPrintFlag1 : AnhPrintFlag2) = dlg.CheckBox1->Checked();
    SaveSettings();
    return ok;
}

// ---- "Anhang-Druck-Optionen" ----------------------------------------------------------------

TDAnhOpt::TDAnhOpt(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAnhOpt"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(380, 220);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(12, 12, 356, 150);
    auto *fontPage = new QWidget;
    fontPage->setObjectName(QStringLiteral("TabSheetFont"));
    EditFont = new QLineEdit(AnhFont.isEmpty() ? QStringLiteral("Arial") : AnhFont, fontPage);
    EditFont->setObjectName(QStringLiteral("EditFont"));
    EditFont->setGeometry(12, 20, 200, 23);
    ButtArial = MakeDialogButton(fontPage, "ButtArial", ibkOther, QRect(218, 20, 60, 23), QStringLiteral("Arial"));
    ButtFont = MakeDialogButton(fontPage, "ButtFont", ibkPPP, QRect(284, 20, 30, 23));
    PageControl1->addTab(fontPage, QStringLiteral("Schriftart"));
    auto *picturePage = new QWidget;
    picturePage->setObjectName(QStringLiteral("TabSheetPicture"));
    MakeDialogLabel(picturePage, "LabelScale", QStringLiteral("Grafik skalieren um: "), QRect(12, 22, 140, 18));
    ComboBoxScale = new QComboBox(picturePage);
    ComboBoxScale->setObjectName(QStringLiteral("ComboBoxScale"));
    ComboBoxScale->addItems({QStringLiteral("-20 %"), QStringLiteral("-10 %"), QStringLiteral("0 %"),
                             QStringLiteral("+10 %"), QStringLiteral("+20 %")});
    ComboBoxScale->setCurrentIndex(AnhGrScale >= 8 && AnhGrScale <= 12 ? AnhGrScale - 8 : 2);
    ComboBoxScale->setGeometry(156, 20, 100, 23);
    CheckBox1 = MakeDialogCheck(picturePage, QStringLiteral("CheckBox1"),
                                QStringLiteral("Bei langem Text Grafik automatisch verkleinern"), QRect(12, 56, 320, 20));
    CheckBox1->SetChecked(AnhShrinkPicture);
    PageControl1->addTab(picturePage, QStringLiteral("Grafik-Größe"));
    // The tab pages on the card's paper, as the skinned windows show them.
    const QString paper = SkinDir + QStringLiteral("Back/Paper.bmp");
    if (QFileInfo::exists(paper)) {
        const QString sheet = QStringLiteral("QWidget#TabSheetFont, QWidget#TabSheetPicture { background-image: url(%1); }")
                                  .arg(paper);
        for (QWidget *page : {fontPage, picturePage}) {
            page->setAttribute(Qt::WA_StyledBackground);
            page->setStyleSheet(sheet);
        }
    }
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(160, 178, 100, 25), QStringLiteral("OK"));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(268, 178, 100, 25), QStringLiteral("Abbruch"));
    BitBtnOK->setDefault(true);
    connect(ButtArial, &QPushButton::clicked, this, [this] { EditFont->setText(QStringLiteral("Arial")); });
    connect(ButtFont, &QPushButton::clicked, this, [this] {
        QFontDialog dlg(QFont(EditFont->text()), this);
        dlg.setOption(QFontDialog::ScalableFonts);
        if (kit::execDialog(dlg) == mrOk)
            EditFont->setText(dlg.selectedFont().family());
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    SetCaption(QStringLiteral("Anhang-Druck-Optionen"));
}

bool ExecAttachmentPrintOptions()
{
    TDAnhOpt dlg;
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    AnhFont = dlg.EditFont->text();
    AnhGrScale = quint8(dlg.ComboBoxScale->currentIndex() + 8);
    AnhShrinkPicture = dlg.CheckBox1->Checked();
    SaveSettings();
    return true;
}

TAttachmentOptions AttachmentOptionsFromSettings()
{
    TAttachmentOptions o;
    o.fontName = AnhFont;
    o.grScale = AnhGrScale;
    o.shrinkPicture = AnhShrinkPicture;
    o.filmTimes = AnhPrintFlag1;
    o.mediumTimes = AnhPrintFlag2;
    o.playTimeFormat = PlayTimeFormat;
    return o;
}

// ---- reading and printing ------------------------------------------------------------------

TAttachmentCardData ReadFilmCardData(engine::DataSet &films)
{
    TAttachmentCardData d;
    d.film = true;
    d.values = ReadLabelFilm(films);
    for (int i = 0; i < 15; ++i)
        AddCardField(d, StripAmpersands(GetFilmFreeLabel(i + 1)), d.values.Free[i], GetFilmFreeIsFileLink(i + 1));
    d.text = d.values.Memo;
    return d;
}

TAttachmentCardData ReadMediumCardData(engine::DataSet &media, const QString &memo)
{
    TAttachmentCardData d;
    d.film = false;
    auto text = [&media](const QString &name) { return FieldTextOf(media, name); };
    auto number = [&media](const QString &name) { return FieldNumberOf(media, name).value_or(0); };
    d.mediumKind = text(QStringLiteral("Medium")).trimmed();
    d.mediumNr = number(QStringLiteral("Nr"));
    d.tapeLength = text(QStringLiteral("Len"));
    d.mediumRest = number(QStringLiteral("bRest"));
    for (int i = 0; i < 5; ++i)
        AddCardField(d, StripAmpersands(GetMediumFreeLabel(i + 1)), text(QStringLiteral("Free%1").arg(i + 1)),
                     GetMediumFreeIsFileLink(i + 1));
    d.text = memo;
    return d;
}

bool AskCardQuestion(TCardQuestion q)
{
    if (q == TCardQuestion::BackHalf)
        return kit::messageBox(QStringLiteral("Der Text paßt nicht vollständig auf eine Seite einer Karte! Es wird eine "
                                              "zweite Seite (zum Umknicken als Rückseite) gedruckt."),
                               QStringLiteral("Hinweis"), kit::MsgButtons::OkCancel, kit::BoxIcon::Information)
            == mrOk;
    return kit::messageBox(QStringLiteral("Der Text paßt nicht vollständig auf die Karte! Es wird zusätzlich eine zweite "
                                          "Anhang-Karte gedruckt."),
                           QStringLiteral("Hinweis"), kit::MsgButtons::OkCancel, kit::BoxIcon::Warning)
        == mrOk;
}

bool PrintAttachmentCards(QPrinter &printer, const TAttachmentCardData &d)
{
    const TPageMetrics m = PrinterPageMetrics(printer);
    TProgDirArtProvider art = ProgramLabelArt();
    // Every question comes before the job starts: a cancelled card sends
    // nothing and leaves no file.
    const TCardResult cards =
        DrawAttachmentCard(d, AttachmentOptionsFromSettings(), m.scale, CurrentLabelSettings(), art, AskCardQuestion);
    if (cards.aborted)
        return false;
    return PrintPageDocument(printer, cards.doc,
                             {QStringLiteral("Anhang drucken"),
                              QStringLiteral("Der Druckauftrag für die Anhangseite \\Bwird erstellt..."),
                              QStringLiteral("Die Anhangseite\\lb\\Bwird gedruckt..."), QStringLiteral("Tarvo - Anhang")});
}

void PrintFilmAttachment(TWFilm &card)
{
    if (!card.Table1 || !card.Table1->active() || card.Table1->isEmpty())
        return;
    if (!ExecAttachmentPrintDialog(true) || !EnsurePrintTarget(&card))
        return;
    try {
        PrintAttachmentCards(ProgramPrinter(), ReadFilmCardData(*card.Table1));
    } catch (const engine::EngineError &e) {
        kit::messageBox(e.message(), QStringLiteral("Fehler beim Drucken:"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
    }
}

void PrintMediumAttachment(engine::DataSet &media, const QString &memo)
{
    if (!media.active() || media.isEmpty())
        return;
    if (!ExecAttachmentPrintDialog(false) || !EnsurePrintTarget(nullptr))
        return;
    try {
        PrintAttachmentCards(ProgramPrinter(), ReadMediumCardData(media, memo));
    } catch (const engine::EngineError &e) {
        kit::messageBox(e.message(), QStringLiteral("Fehler beim Drucken:"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
    }
}
