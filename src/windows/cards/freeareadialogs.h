// The two small dialogs of the medium card's tape arithmetic: the filter by
// free recording space ("Datenbank filtern nach Aufnahmelänge") and the split
// of a free area ("Freien Bereich teilen").
#pragma once

#include "kit/oberformmetal.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDFilter : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDFilter(QWidget *parent = nullptr);

    QLabel *Label1;       // the explanation
    QLabel *Label2;       // the question
    QLineEdit *Edit1;     // minutes
    QLabel *Label3;       // "Min."
    TOzoCheck *CheckBox1; // "LP"
    TOzoCheck *RadioButton1, *RadioButton2;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
};

// Asks for the free space a medium must have. True on a valid OK with the
// minutes (halved for a long-play recording) and whether free areas count.
bool ExecFreeLengthFilter(int &minutes, bool &includeFree);

class TDSplitFree : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDSplitFree(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    QSpinBox *SpinEdit1;  // minutes of the first part
    QLabel *Label1;       // "Minuten"
    TOzoCheck *CheckBox1; // "&LP"
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;
};

// Asks how long the first part of a split free area stays; true on OK.
bool ExecSplitFreeDialog(int &minutes, bool &longPlay);
