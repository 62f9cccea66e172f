// The disc serial number of a medium: "Datenträger-Seriennummer" asks for the
// drive (and, for a medium, whether to read a new number or delete the
// stored one), "Seriennummer nicht eindeutig!" chooses among several media
// that carry the same number, and the main window is moved to the medium of
// a number.
#pragma once

#include "data/mediumserial.h"
#include "kit/oberformmetal.h"

class QComboBox;
class QTableWidget;
class TMainform;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDSN : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDSN(QWidget *parent = nullptr);

    TPZLabel *LabelText;
    TOzoCheck *RadRead, *RadDelete;
    QComboBox *DriveComboBox1;   // mount points (or a device typed in)
    TOzoNewButton *BitBtn1, *BitBtn2;

    // For reading only the two choices are hidden.
    void SetForMedium(bool forMedium, bool deleteChoice);
    void UpdateDriveBox();
};

class TDMultiSN : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDMultiSN(QWidget *parent = nullptr);

    TPZLabel *LabelText;
    QTableWidget *StringGrid1;   // medium, number, first film
    TOzoNewButton *BitBtn1, *BitBtn2;

    void SetMedia(const QList<TSerialMedium> &media);
    // The chosen row, -1 without one.
    int Chosen() const;
};

// TDSN for reading only: the drive in and out, the number read. False on
// Cancel or when nothing could be read (after the message).
bool AskVolumeSerial(QString &drive, qint32 &serial);
// TDSN for a medium: also whether the stored number is to be deleted (then
// the drive is not read and serial is left alone).
bool AskVolumeSerialForMedium(QString &drive, bool &deleteSerial, qint32 &serial);

// Moves the main window to the medium carrying serial, asking with TDMultiSN
// when several do. True when one was located; cancelled is set when the user
// cancelled the choice.
bool LocateMediumBySerial(TMainform &form, qint32 serial, bool &cancelled);

// The main window's commands: SpBLocateSN (F9) and ButtPPPSN.
void LocateMediumOfInsertedDisc(TMainform &form);
void ButtPPPSNClick(TMainform &form);
