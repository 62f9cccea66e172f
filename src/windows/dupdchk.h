// The settings dialog of the update check ("Online-Updateprüfung"), the check
// it runs by hand and the check at start by the stored mode.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class TOzoCheck;
class TOzoNewButton;

class TDUpdChk : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDUpdChk(QWidget *parent = nullptr);

    QLabel *Label1;
    TOzoCheck *ChkYes, *ChkNo, *ChkAsk;
    TOzoNewButton *BtnCheck, *BtnOK, *BtnCancel;

    // The radio button of a mode, and the mode of the chosen button.
    void SetMode(int mode);
    int Mode() const;

    void BtnCheckClick();
};

// Shows the dialog; OK stores the chosen mode and saves the settings.
void ExecUpdateCheckSettings();
// At start: mode 1 checks quietly, mode 0 lets the user decide, 2 nothing.
void AutoUpdateCheck(QWidget *owner);
// The check by hand: failures and the current version are reported.
void RunManualUpdateCheck(QWidget *owner);
