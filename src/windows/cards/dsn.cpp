#include "windows/cards/dsn.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "data/locate.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/pzlabel.h"
#include "platform/volumeserial.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/main/mainform.h"
#include "windows/dialogs/windowparts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

TDSN::TDSN(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DSN"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(520, 220);
    LabelText = new TPZLabel(this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setGeometry(12, 12, 496, 40);
    LabelText->SetCaption(QStringLiteral("Legen Sie das Medium in ein Laufwerk ein und wählen Sie hier das "
                                         "korrekte Laufwerk aus:"));
    RadRead = MakeDialogCheck(this, QStringLiteral("RadRead"),
                              QStringLiteral("Neue Seriennummer von Datenträger einlesen und in Datenbank speichern:"),
                              QRect(12, 58, 496, 22), 1);
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(36, 86, 250, 24);
    DriveComboBox1->setEditable(true);
    RadDelete = MakeDialogCheck(this, QStringLiteral("RadDelete"),
                                QStringLiteral("Gespeicherte Seriennummer ersatzlos aus Datenbank löschen!"),
                                QRect(12, 122, 496, 22), 1);
    RadRead->OnClick = [this](QObject *) { UpdateDriveBox(); };
    RadDelete->OnClick = [this](QObject *) { UpdateDriveBox(); };
    BitBtn1 = MakeDialogButton(this, "BitBtn1", ibkOK, QRect(300, 180, 100, 25));
    BitBtn1->setDefault(true);
    BitBtn2 = MakeDialogButton(this, "BitBtn2", ibkCancel, QRect(408, 180, 100, 25));
    SetForMedium(false, false);
    Create();
    SetCaption(QStringLiteral("Datenträger-Seriennummer"));
}

void TDSN::SetForMedium(bool forMedium, bool deleteChoice)
{
    RadRead->setVisible(forMedium);
    RadDelete->setVisible(forMedium);
    RadRead->SetChecked(!deleteChoice);
    RadDelete->SetChecked(deleteChoice);
    UpdateDriveBox();
}

void TDSN::UpdateDriveBox()
{
    DriveComboBox1->setVisible(!RadDelete->isVisibleTo(this) || !RadDelete->Checked());
}

TDMultiSN::TDMultiSN(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DMultiSN"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(460, 290);
    LabelText = new TPZLabel(this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setGeometry(12, 12, 436, 48);
    LabelText->SetCaption(QStringLiteral("Es sind \\Bmehrere Medien\\b erfasst, die \\Bdieselbe Seriennummer\\b "
                                         "aufweisen.\\lbWählen Sie das gewünschte Medium aus:"));
    StringGrid1 = new QTableWidget(0, 3, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(12, 66, 436, 170);
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Medium"), QStringLiteral("Nr"), QStringLiteral("Film 1")});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setColumnWidth(0, 80);
    StringGrid1->setColumnWidth(1, 60);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, [this](int, int) { accept(); });
    BitBtn1 = MakeDialogButton(this, "BitBtn1", ibkOK, QRect(240, 250, 100, 25));
    BitBtn1->setDefault(true);
    BitBtn2 = MakeDialogButton(this, "BitBtn2", ibkCancel, QRect(348, 250, 100, 25));
    Create();
    SetCaption(QStringLiteral("Seriennummer nicht eindeutig!"));
}

void TDMultiSN::SetMedia(const QList<TSerialMedium> &media)
{
    StringGrid1->setRowCount(int(media.size()));
    for (int r = 0; r < media.size(); ++r) {
        StringGrid1->setItem(r, 0, new QTableWidgetItem(media[r].kind));
        StringGrid1->setItem(r, 1, new QTableWidgetItem(QString::number(media[r].nr)));
        StringGrid1->setItem(r, 2, new QTableWidgetItem(media[r].film1));
    }
    if (!media.isEmpty())
        StringGrid1->selectRow(0);
}

int TDMultiSN::Chosen() const
{
    return StringGrid1->currentRow();
}

using windowparts::showEngineError;

namespace {

bool runSerialDialog(bool forMedium, QString &drive, bool &deleteSerial, qint32 &serial)
{
    TDSN dlg;
    QStringList drives = platform::CandidateDrives();
    if (!drive.isEmpty() && !drives.contains(drive))
        drives.prepend(drive);
    dlg.DriveComboBox1->addItems(drives);
    dlg.DriveComboBox1->setCurrentText(drive);
    dlg.SetForMedium(forMedium, forMedium && deleteSerial);
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    drive = dlg.DriveComboBox1->currentText().trimmed();
    deleteSerial = forMedium && dlg.RadDelete->Checked();
    if (deleteSerial)
        return true;
    if (ReadVolumeSerial(drive, serial))
        return true;
    ShowMetalMessage(QStringLiteral("Keine Seriennummer gefunden"),
                     QStringLiteral("\\BEs konnte auf dem ausgewählten Laufwerk keine Datenträger-Seriennummer gelesen "
                                    "werden.\\b\\lb\\lbVielleicht ist das Medium nicht eingelegt oder Sie haben das "
                                    "falsche Laufwerk ausgewählt?"));
    return false;
}

} // namespace

bool AskVolumeSerial(QString &drive, qint32 &serial)
{
    bool del = false;
    return runSerialDialog(false, drive, del, serial);
}

bool AskVolumeSerialForMedium(QString &drive, bool &deleteSerial, qint32 &serial)
{
    return runSerialDialog(true, drive, deleteSerial, serial);
}

bool LocateMediumBySerial(TMainform &form, qint32 serial, bool &cancelled)
{
    cancelled = false;
    if (!form.Table1->active())
        return false;
    QList<TSerialMedium> media;
    try {
        media = FindMediaBySerial(*form.Table1, form.Table2->active() ? form.Table2->tableName() : QString(), serial);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return false;
    }
    if (media.isEmpty())
        return false;
    int chosen = 0;
    if (media.size() > 1) {
        TDMultiSN dlg;
        dlg.SetMedia(media);
        if (ExecMetalModal(dlg) != mrOk) {
            cancelled = true;
            return false;
        }
        chosen = dlg.Chosen();
        if (chosen < 0 || chosen >= media.size())
            return false;
    }
    try {
        return LocateMedium(form.DataSets(), media[chosen].kind, media[chosen].nr, true);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return false;
    }
}

void LocateMediumOfInsertedDisc(TMainform &form)
{
    if (!form.Table1->active())
        return;
    QString drive = CDDrive;
    qint32 serial = 0;
    if (!AskVolumeSerial(drive, serial))
        return;
    if (drive != CDDrive) {
        CDDrive = drive;
        SaveSettings();
    }
    bool cancelled = false;
    if (LocateMediumBySerial(form, serial, cancelled) || cancelled)
        return;
    AppMessage(QStringLiteral("Es wurde kein Mediendatensatz gefunden, in dem bereits die Seriennummer des gerade "
                              "eingelegten Mediums gespeichert ist!"),
               QStringLiteral("Nicht gefunden"), platform::MessageIcon::Information);
}

void ButtPPPSNClick(TMainform &form)
{
    engine::Table &t = *form.Table1;
    if (!t.active())
        return;
    if (t.readOnly()) {
        form.Component<TLockButton>(QStringLiteral("LockButton1"))->BlinkIfLocked();
        return;
    }
    QString drive = CDDrive;
    bool del = false;
    qint32 serial = 0;
    if (!AskVolumeSerialForMedium(drive, del, serial))
        return;
    if (drive != CDDrive) {
        CDDrive = drive;
        SaveSettings();
    }
    try {
        if (t.state() == engine::DataSetState::Browse)
            t.edit();
        engine::Field *sn = t.fieldByName(QStringLiteral("SN"));
        if (del)
            sn->clear();
        else
            sn->setAsInteger(serial);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}
