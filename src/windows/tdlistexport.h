// "Liste in Textdatei exportieren": target file, character set, line
// length and the extra column of the list export.
#pragma once

#include "exchange/listexport.h"
#include "kit/oberformmetal.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDListExport : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDListExport(QWidget *parent = nullptr);

    void SetFileName(const QString &fileName);
    QString FileName() const { return FFileName; }
    bool DosCharset() const;
    int LineLength() const;
    int ExtraColumn() const; // ListExtraColumn
    ListExportOptions Options() const;

    TPZLabel *PZLabel1;
    QLabel *LabelFile;
    QLineEdit *EditFile;
    TOzoNewButton *ButtonFile;
    QGroupBox *GroupCharset;
    TOzoCheck *RadioAnsi, *RadioDos;
    QGroupBox *GroupWidth;  // "Spaltenzahl / Zeilenlänge"
    QLabel *LabelWidth;     // "Anzahl Zeichen pro Zeile:"
    QSpinBox *SpinWidth;
    QGroupBox *GroupExtra;  // "Weitere Angabe:"
    TOzoCheck *RadioNone, *RadioCategory, *RadioPlayTime;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    QString FFileName;
};

bool ExecListExportDialog(TDListExport &dialog);
