#include "windows/tdlistexport.h"

#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "windows/dialogparts.h"
#include "windows/exportdialogparts.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

TDListExport::TDListExport(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DListExport"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 107; // help topic
    resize(460, 330);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 436, 54);
    PZLabel1->SetCaption(QStringLiteral("Hiermit schreiben Sie die angezeigte Liste in eine Textdatei, die Sie z.B. auf "
                                        "einem PDA (Palm, Psion, WinCE) anzeigen können.\\lbLegen Sie hier die Optionen "
                                        "für diese Textdatei fest:"));
    const ExportFileRow row = MakeExportFileRow(this, 12, 68, 436, QString());
    LabelFile = row.label;
    EditFile = row.edit;
    ButtonFile = row.button;
    const ExportCharsetGroup cs = MakeExportCharsetGroup(this, 12, 120, 210, 1);
    GroupCharset = cs.group;
    RadioAnsi = cs.ansi;
    RadioDos = cs.dos;

    GroupWidth = new QGroupBox(QStringLiteral("Spaltenzahl / Zeilenlänge"), this);
    GroupWidth->setObjectName(QStringLiteral("GroupWidth"));
    GroupWidth->setGeometry(238, 120, 210, 68);
    LabelWidth = new QLabel(QStringLiteral("Anzahl Zeichen pro Zeile:"), GroupWidth);
    LabelWidth->setObjectName(QStringLiteral("LabelWidth"));
    LabelWidth->setGeometry(10, 22, 190, 18);
    SpinWidth = new QSpinBox(GroupWidth);
    SpinWidth->setObjectName(QStringLiteral("SpinWidth"));
    SpinWidth->setRange(30, 9999);
    SpinWidth->setValue(80);
    SpinWidth->setGeometry(10, 40, 80, 23);

    GroupExtra = new QGroupBox(QStringLiteral("Weitere Angabe:"), this);
    GroupExtra->setObjectName(QStringLiteral("GroupExtra"));
    GroupExtra->setGeometry(12, 196, 436, 46);
    RadioNone = DialogCheck(GroupExtra, "RadioNone", QStringLiteral("Keine"), QRect(10, 20, 120, 20), 2);
    RadioCategory = DialogCheck(GroupExtra, "RadioCategory", QStringLiteral("Kategorie"), QRect(150, 20, 120, 20), 2);
    RadioPlayTime = DialogCheck(GroupExtra, "RadioPlayTime", QStringLiteral("Spielzeit"), QRect(290, 20, 120, 20), 2);
    RadioNone->SetChecked(true);

    BitBtnHelp = DialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 290, 100, 25));
    BitBtnOK = DialogButton(this, "BitBtnOK", ibkOK, QRect(240, 290, 100, 25));
    BitBtnCancel = DialogButton(this, "BitBtnCancel", ibkCancel, QRect(348, 290, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnOK->setEnabled(false);
    connect(ButtonFile, &QPushButton::clicked, this, [this] {
        const QString f = ChooseExportFile(this, FFileName, QStringLiteral("Textdateien (*.TXT *.txt);;Alle Dateien (*)"),
                                           QStringLiteral("TXT"));
        if (!f.isEmpty())
            SetFileName(f);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtnHelp, &QPushButton::clicked, this, [this] { kit::showHelp(Tag); });
    SetCaption(QStringLiteral("Liste in Textdatei exportieren"));
}

void TDListExport::SetFileName(const QString &fileName)
{
    FFileName = fileName;
    EditFile->setText(QDir::toNativeSeparators(fileName));
    BitBtnOK->setEnabled(!fileName.isEmpty());
}

bool TDListExport::DosCharset() const
{
    return RadioDos->Checked();
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
    o.fileName = FFileName;
    o.dosCharset = DosCharset();
    o.lineLength = LineLength();
    o.extra = ExtraColumn();
    return o;
}

bool ExecListExportDialog(TDListExport &dialog)
{
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(dialog);
    ReactivateMetalForm();
    return r == mrOk && !dialog.FileName().isEmpty();
}
