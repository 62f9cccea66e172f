#include "windows/tdanhexport.h"

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

TDAnhExport::TDAnhExport(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DAnhExport"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    Tag = 108; // help topic
    resize(460, 310);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(12, 10, 436, 54);
    PZLabel1->SetCaption(QStringLiteral("Der gewählte Anhang (bzw. Personenbeschreibung) wird in eine Textdatei "
                                        "exportiert.\\lbLegen Sie hier die Optionen für diese Textdatei fest:"));
    const ExportFileRow row = MakeExportFileRow(this, 12, 68, 436, QString());
    LabelFile = row.label;
    EditFile = row.edit;
    ButtonFile = row.button;
    const ExportCharsetGroup cs = MakeExportCharsetGroup(this, 12, 120, 210, 1);
    GroupCharset = cs.group;
    RadioAnsi = cs.ansi;
    RadioDos = cs.dos;

    CheckWrap = DialogCheck(this, "CheckWrap", QStringLiteral("Fixe Anzahl Zeichen pro Zeile:"), QRect(238, 128, 210, 20), 0);
    SpinWrap = new QSpinBox(this);
    SpinWrap->setObjectName(QStringLiteral("SpinWrap"));
    SpinWrap->setRange(30, 9999);
    SpinWrap->setValue(80);
    SpinWrap->setGeometry(258, 152, 80, 23);
    CheckPlayTimes = DialogCheck(this, "CheckPlayTimes", QStringLiteral("Spielzeitangaben mit ausgeben (Film-Anhang)"),
                                 QRect(12, 200, 436, 20), 0);
    CheckFilms = DialogCheck(this, "CheckFilms", QStringLiteral("Seine/Ihre Filme mit ausgeben (Personenbeschreibung)"),
                             QRect(12, 224, 436, 20), 0);

    BitBtnHelp = DialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 270, 100, 25));
    BitBtnOK = DialogButton(this, "BitBtnOK", ibkOK, QRect(240, 270, 100, 25));
    BitBtnCancel = DialogButton(this, "BitBtnCancel", ibkCancel, QRect(348, 270, 100, 25));
    BitBtnOK->setDefault(true);
    BitBtnOK->setEnabled(false);
    // Changing the number means the user wants the wrapping.
    connect(SpinWrap, &QSpinBox::valueChanged, this, [this] { CheckWrap->SetChecked(true); });
    connect(ButtonFile, &QPushButton::clicked, this, [this] {
        const QString f = ChooseExportFile(this, FFileName, QStringLiteral("Textdateien (*.TXT *.txt);;Alle Dateien (*)"),
                                           QStringLiteral("TXT"));
        if (!f.isEmpty())
            SetFileName(f);
    });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(BitBtnHelp, &QPushButton::clicked, this, [this] { kit::showHelp(Tag); });
    SetCaption(QStringLiteral("Anhang / Personenbeschr. exportieren"));
}

void TDAnhExport::SetFileName(const QString &fileName)
{
    FFileName = fileName;
    EditFile->setText(QDir::toNativeSeparators(fileName));
    BitBtnOK->setEnabled(!fileName.isEmpty());
}

bool TDAnhExport::DosCharset() const
{
    return RadioDos->Checked();
}

int TDAnhExport::WrapWidth() const
{
    return CheckWrap->Checked() ? SpinWrap->value() : 0;
}

bool TDAnhExport::PlayTimes() const
{
    return CheckPlayTimes->isEnabled() && CheckPlayTimes->Checked();
}

bool TDAnhExport::PersonFilms() const
{
    return CheckFilms->isEnabled() && CheckFilms->Checked();
}

AttachmentExportOptions TDAnhExport::Options() const
{
    AttachmentExportOptions o;
    o.fileName = FFileName;
    o.dosCharset = DosCharset();
    o.wrapWidth = WrapWidth();
    o.playTimes = PlayTimes();
    o.personFilms = PersonFilms();
    return o;
}

bool ExecAnhExportDialog(TDAnhExport &dialog, bool playTimesAllowed, bool filmsAllowed)
{
    dialog.CheckPlayTimes->setEnabled(playTimesAllowed);
    dialog.CheckFilms->setEnabled(filmsAllowed);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(dialog);
    ReactivateMetalForm();
    return r == mrOk && !dialog.FileName().isEmpty();
}
