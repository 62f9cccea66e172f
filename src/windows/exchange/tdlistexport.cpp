#include "windows/exchange/tdlistexport.h"

#include "kit/ozocheck.h"
#include "windows/dialogs/dialogparts.h"

#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

TDListExport::TDListExport(QWidget *parent)
    : TExportDialog(parent, {"DListExport", 107, QSize(460, 300),
                             QStringLiteral("Hiermit schreiben Sie die angezeigte Liste in eine Textdatei, die Sie z.B. "
                                            "auf einem PDA (Palm, Psion, WinCE) anzeigen können.\\lbLegen Sie hier die "
                                            "Optionen für diese Textdatei fest:"),
                             QString(), QStringLiteral("Textdateien (*.TXT *.txt);;Alle Dateien (*)"),
                             QStringLiteral("TXT"), 210})
{
    GroupWidth = new QGroupBox(QStringLiteral("Spaltenzahl / Zeilenlänge"), this);
    GroupWidth->setObjectName(QStringLiteral("GroupWidth"));
    GroupWidth->setGeometry(238, 120, 210, 68);
    LabelWidth = new QLabel(QStringLiteral("Anzahl Zeichen pro Zeile:"), GroupWidth);
    LabelWidth->setObjectName(QStringLiteral("LabelWidth"));
    LabelWidth->setGeometry(10, 20, 190, 18);
    SpinWidth = new QSpinBox(GroupWidth);
    SpinWidth->setObjectName(QStringLiteral("SpinWidth"));
    SpinWidth->setRange(30, 9999);
    SpinWidth->setValue(80);
    SpinWidth->setGeometry(10, 40, 80, 23);

    GroupExtra = new QGroupBox(QStringLiteral("Weitere Angabe:"), this);
    GroupExtra->setObjectName(QStringLiteral("GroupExtra"));
    GroupExtra->setGeometry(12, 196, 436, 48);
    RadioNone = MakeDialogCheck(GroupExtra, "RadioNone", QStringLiteral("Keine"), QRect(10, 20, 120, 20), 2);
    RadioCategory = MakeDialogCheck(GroupExtra, "RadioCategory", QStringLiteral("Kategorie"), QRect(150, 20, 120, 20), 2);
    RadioPlayTime = MakeDialogCheck(GroupExtra, "RadioPlayTime", QStringLiteral("Spielzeit"), QRect(290, 20, 120, 20), 2);
    RadioNone->SetChecked(true);
    SetCaption(QStringLiteral("Liste in Textdatei exportieren"));
}

int TDListExport::LineLength() const
{
    return SpinWidth->value();
}

int TDListExport::ExtraColumn() const
{
    return RadioCategory->Checked() ? lecCategory : RadioPlayTime->Checked() ? lecPlayTime : lecNone;
}

ListExportOptions TDListExport::Options() const
{
    ListExportOptions o;
    o.fileName = FileName();
    o.dosCharset = DosCharset();
    o.lineLength = LineLength();
    o.extra = ExtraColumn();
    return o;
}
