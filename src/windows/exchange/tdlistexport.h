// "Liste in Textdatei exportieren": target file, character set, line
// length and the extra column of the list export.
#pragma once

#include "exchange/listexport.h"
#include "windows/exchange/exportdialog.h"

class QSpinBox;

class TDListExport : public TExportDialog
{
    Q_OBJECT
public:
    explicit TDListExport(QWidget *parent = nullptr);

    int LineLength() const;
    int ExtraColumn() const; // ListExtraColumn
    ListExportOptions Options() const;

    QGroupBox *GroupWidth;  // "Spaltenzahl / Zeilenlänge"
    QLabel *LabelWidth;     // "Anzahl Zeichen pro Zeile:"
    QSpinBox *SpinWidth;
    QGroupBox *GroupExtra;  // "Weitere Angabe:"
    TOzoCheck *RadioNone, *RadioCategory, *RadioPlayTime;
};

inline bool ExecListExportDialog(TDListExport &dialog)
{
    return ExecExportDialog(dialog);
}
