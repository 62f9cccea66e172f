#include "windows/exchange/tdanhexport.h"

#include "kit/ozocheck.h"
#include "windows/dialogs/dialogparts.h"

#include <QSpinBox>

TDAnhExport::TDAnhExport(QWidget *parent)
    : TExportDialog(parent, {"DAnhExport", 108, QSize(460, 300),
                             QStringLiteral("Der gewählte Anhang (bzw. Personenbeschreibung) wird in eine Textdatei "
                                            "exportiert.\\lbLegen Sie hier die Optionen für diese Textdatei fest:"),
                             QString(), QStringLiteral("Textdateien (*.TXT *.txt);;Alle Dateien (*)"),
                             QStringLiteral("TXT"), 210})
{
    CheckWrap = MakeDialogCheck(this, "CheckWrap", QStringLiteral("Fixe Anzahl Zeichen pro Zeile:"), QRect(238, 128, 210, 20), 0);
    SpinWrap = new QSpinBox(this);
    SpinWrap->setObjectName(QStringLiteral("SpinWrap"));
    SpinWrap->setRange(30, 9999);
    SpinWrap->setValue(80);
    SpinWrap->setGeometry(258, 152, 80, 23);
    CheckPlayTimes = MakeDialogCheck(this, "CheckPlayTimes", QStringLiteral("Spielzeitangaben mit ausgeben (Film-Anhang)"),
                                 QRect(12, 200, 436, 20), 0);
    CheckFilms = MakeDialogCheck(this, "CheckFilms", QStringLiteral("Seine/Ihre Filme mit ausgeben (Personenbeschreibung)"),
                             QRect(12, 224, 436, 20), 0);
    // Changing the number means the user wants the wrapping.
    connect(SpinWrap, &QSpinBox::valueChanged, this, [this] { CheckWrap->SetChecked(true); });
    SetCaption(QStringLiteral("Anhang / Personenbeschr. exportieren"));
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
    o.fileName = FileName();
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
    return ExecExportDialog(dialog);
}
