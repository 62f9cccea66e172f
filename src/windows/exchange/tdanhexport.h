// "Anhang / Personenbeschr. exportieren": target file, character set, line
// wrapping and the play-time and person-film options of the attachment export.
#pragma once

#include "exchange/attachmentexport.h"
#include "windows/exchange/exportdialog.h"

class QSpinBox;

class TDAnhExport : public TExportDialog
{
    Q_OBJECT
public:
    explicit TDAnhExport(QWidget *parent = nullptr);

    int WrapWidth() const; // 0: no wrapping
    bool PlayTimes() const;
    bool PersonFilms() const;
    AttachmentExportOptions Options() const;

    TOzoCheck *CheckWrap;   // "Fixe Anzahl Zeichen pro Zeile:"
    QSpinBox *SpinWrap;
    TOzoCheck *CheckPlayTimes, *CheckFilms;
};

// The film window passes (true, false), the person window (false, true),
// the medium attachment window (false, false).
bool ExecAnhExportDialog(TDAnhExport &dialog, bool playTimesAllowed, bool filmsAllowed);
