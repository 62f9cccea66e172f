// "Verleih-Einstellungen": the standard lending period and the reminder
// list at start.
#pragma once

#include "kit/oberformmetal.h"

class QSpinBox;
class TOzoCheck;
class TOzoNewButton;

class TDVerleihEinst : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDVerleihEinst(QWidget *parent = nullptr);

    QSpinBox *SpinEdit1;
    TOzoCheck *CheckBox1;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;
};

// "&Verleiheinstellungen": on OK both settings are stored and saved.
void ExecLendingSettings(QWidget *owner = nullptr);
