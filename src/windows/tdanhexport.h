// "Anhang / Personenbeschr. exportieren": target file, character set, line
// wrapping and the play-time and person-film options of the attachment export.
#pragma once

#include "exchange/attachmentexport.h"
#include "kit/oberformmetal.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDAnhExport : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAnhExport(QWidget *parent = nullptr);

    void SetFileName(const QString &fileName);
    QString FileName() const { return FFileName; }
    bool DosCharset() const;
    int WrapWidth() const; // 0: no wrapping
    bool PlayTimes() const;
    bool PersonFilms() const;
    AttachmentExportOptions Options() const;

    TPZLabel *PZLabel1;
    QLabel *LabelFile;
    QLineEdit *EditFile;
    TOzoNewButton *ButtonFile;
    QGroupBox *GroupCharset;
    TOzoCheck *RadioAnsi, *RadioDos;
    TOzoCheck *CheckWrap;   // "Fixe Anzahl Zeichen pro Zeile:"
    QSpinBox *SpinWrap;
    TOzoCheck *CheckPlayTimes, *CheckFilms;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    QString FFileName;
};

// The film window passes (true, false), the person window (false, true),
// the medium attachment window (false, false).
bool ExecAnhExportDialog(TDAnhExport &dialog, bool playTimesAllowed, bool filmsAllowed);
