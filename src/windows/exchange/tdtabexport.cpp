#include "windows/exchange/tdtabexport.h"

#include "exchange/exportfieldtext.h"
#include "exchange/exportoutput.h"
#include "kit/ozocheck.h"
#include "windows/dialogs/dialogparts.h"

#include <QGroupBox>
#include <QLineEdit>

TDTabExport::TDTabExport(QWidget *parent)
    : TExportDialog(parent, {"DTabExport", 106, QSize(560, 500),
                             QStringLiteral("Hiermit schreiben Sie die angezeigte Tabelle in eine Textdatei des "
                                            "auszuwählenden Formates, die Sie z.B. mit einem HTML-Browser oder einer "
                                            "Tabellenkalkulation anzeigen oder in eine andere Datenbank importieren "
                                            "können..."),
                             QStringLiteral("Klicken Sie rechts auf den Button, um eine Datei festzulegen..."),
                             QStringLiteral("Data Interchange Format (Tabellenkalkulationen) (*.DIF *.dif);;"
                                            "HTML-Datei (Webbrowser) (*.HTM *.HTML *.htm *.html);;"
                                            "Textdatei/CSV (*.TXT *.CSV *.txt *.csv);;"
                                            "XML-Datei (*.XML *.xml)"),
                             QStringLiteral("DIF"), 260})
{
    GroupSeparator = MakeDialogGroup(this, "GroupSeparator", QStringLiteral("Feldtrennzeichen (nur für Textdateien)"),
                           QRect(288, 120, 260, 68));
    RadioTab = MakeDialogCheck(GroupSeparator, "RadioTab", QStringLiteral("Tabulator"), QRect(10, 20, 240, 20), 2);
    RadioOther = MakeDialogCheck(GroupSeparator, "RadioOther", QStringLiteral("anderes Zeichen:"), QRect(10, 42, 150, 20), 2);
    RadioOther->SetChecked(true);
    EditSeparator = new QLineEdit(QStringLiteral(";"), GroupSeparator);
    EditSeparator->setObjectName(QStringLiteral("EditSeparator"));
    EditSeparator->setMaxLength(1);
    EditSeparator->setGeometry(166, 40, 30, 23);

    GroupLabels = MakeDialogGroup(this, "GroupLabels", QStringLiteral("Als Feldbeschriftungen verwenden:"), QRect(12, 196, 260, 68));
    RadioCaptions = MakeDialogCheck(GroupLabels, "RadioCaptions", QStringLiteral("Tabellenspalten-Überschriften"),
                                QRect(10, 20, 240, 20), 3);
    RadioFieldNames = MakeDialogCheck(GroupLabels, "RadioFieldNames", QStringLiteral("interne Datenbank-Feldbezeichner"),
                                  QRect(10, 42, 240, 20), 3);
    RadioCaptions->SetChecked(true);

    GroupBool = MakeDialogGroup(this, "GroupBool", QStringLiteral("Darstellung von Boolean-Feldern (Wahrheitswerten)"),
                      QRect(12, 272, 536, 48));
    RadioBool0 = MakeDialogCheck(GroupBool, "RadioBool0", QStringLiteral("Wahr / Falsch"), QRect(10, 20, 120, 20), 4);
    RadioBool1 = MakeDialogCheck(GroupBool, "RadioBool1", QStringLiteral("true / false"), QRect(140, 20, 120, 20), 4);
    RadioBool2 = MakeDialogCheck(GroupBool, "RadioBool2", QStringLiteral("X / -"), QRect(270, 20, 120, 20), 4);
    RadioBool3 = MakeDialogCheck(GroupBool, "RadioBool3", QStringLiteral("X /"), QRect(400, 20, 120, 20), 4);
    RadioBool0->SetChecked(true);

    CheckHtmlBr = MakeDialogCheck(this, "CheckHtmlBr",
                              QStringLiteral("Bei HTML: Leere Zellen mit <br> füllen (Erläuterung: Siehe Hilfe)"),
                              QRect(12, 330, 536, 20), 0);
    CheckDifText = MakeDialogCheck(this, "CheckDifText", QStringLiteral("Bei DIF: Boolean-Werte als Text speichern (siehe Hilfe)"),
                               QRect(12, 354, 536, 20), 0);
    CheckXmlCombined = MakeDialogCheck(this, "CheckXmlCombined",
                                   QStringLiteral("Bei XML: Filmtabelle und Medientabelle komplett in EINE XML-Datei"),
                                   QRect(12, 378, 536, 20), 0);
    CheckXmlMemos = MakeDialogCheck(this, "CheckXmlMemos", QStringLiteral("Bei XML: Memos mit einschließen"),
                                QRect(12, 402, 536, 20), 0);
    CheckXmlMemos->SetChecked(true);
    CheckWebSearch = MakeDialogCheck(this, "CheckWebSearch",
                                 QStringLiteral("Bei HTML: Hyperlinks zu Internet-Suchen mit einbinden."),
                                 QRect(12, 426, 536, 20), 0);

    for (TOzoCheck *r : {RadioBool0, RadioBool1, RadioBool2, RadioBool3})
        r->OnStateChange = [this](QObject *) { BoolStyleChange(); };
    CheckDifText->OnStateChange = [this](QObject *) { DifTextChange(); };
    SetCaption(QStringLiteral("Tabelle exportieren"));
    EnableGroups();
}

void TDTabExport::SetCombinedAllowed(bool on)
{
    FCombinedAllowed = on;
    EnableGroups();
}

void TDTabExport::SetWebSearchAvailable(bool on)
{
    FWebSearchAvailable = on;
    EnableGroups();
}

void TDTabExport::BoolStyleChange()
{
    if (RadioBool2->Checked() || RadioBool3->Checked())
        CheckDifText->SetChecked(true);
}

void TDTabExport::DifTextChange()
{
    if (!CheckDifText->Checked() && (RadioBool2->Checked() || RadioBool3->Checked()))
        RadioBool0->SetChecked(true);
}

void TDTabExport::EnableGroups()
{
    const bool chosen = !FileName().isEmpty();
    const int f = ExportFormatOf(FileName());
    const bool dif = chosen && f == efDif, html = chosen && f == efHtml, text = chosen && f == efText,
               xml = chosen && f == efXml;
    GroupCharset->setEnabled(dif || text);
    GroupSeparator->setEnabled(text);
    GroupLabels->setEnabled(dif || html || text);
    CheckHtmlBr->setEnabled(html);
    CheckDifText->setEnabled(dif);
    CheckXmlCombined->setEnabled(xml && FCombinedAllowed);
    CheckXmlMemos->setEnabled(xml);
    CheckWebSearch->setEnabled(FWebSearchAvailable);
}

bool TDTabExport::UseFieldNames() const
{
    return RadioFieldNames->Checked();
}

int TDTabExport::BoolStyle() const
{
    return RadioBool1->Checked() ? ebsTrueFalse : RadioBool2->Checked() ? ebsXDash : RadioBool3->Checked() ? ebsXEmpty : ebsWahrFalsch;
}

QChar TDTabExport::Separator() const
{
    const QString s = EditSeparator->text();
    return RadioTab->Checked() || s.isEmpty() ? QLatin1Char('\t') : s.at(0);
}

bool TDTabExport::HtmlEmptyBr() const
{
    return CheckHtmlBr->Checked();
}

bool TDTabExport::DifBoolAsText() const
{
    return CheckDifText->Checked();
}

bool TDTabExport::XmlCombined() const
{
    return FCombinedAllowed && CheckXmlCombined->Checked();
}

bool TDTabExport::XmlMemos() const
{
    return CheckXmlMemos->Checked();
}

bool TDTabExport::HtmlWebSearch() const
{
    return FWebSearchAvailable && CheckWebSearch->Checked();
}

TableExportOptions TDTabExport::Options() const
{
    TableExportOptions o;
    o.fileName = FileName();
    const int f = ExportFormatOf(FileName());
    // The character set counts where the dialog offers it.
    o.dosCharset = (f == efDif || f == efText) && DosCharset();
    o.useFieldNames = UseFieldNames();
    o.boolStyle = BoolStyle();
    o.separator = Separator();
    o.htmlEmptyBr = HtmlEmptyBr();
    o.difBoolAsText = DifBoolAsText();
    o.xmlCombined = XmlCombined();
    o.xmlMemos = XmlMemos();
    o.htmlWebSearch = HtmlWebSearch();
    return o;
}

bool ExecTabExportDialog(TDTabExport &dialog, bool combinedAllowed)
{
    dialog.SetCombinedAllowed(combinedAllowed);
    return ExecExportDialog(dialog);
}
