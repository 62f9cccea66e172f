// The settings dialog of the update check ("Online-Updateprüfung"), the check
// it runs by hand and the check at start by the stored mode.
#pragma once

#include "kit/oberformmetal.h"

#include <functional>

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

// Starts the check and returns at once; the program stays usable meanwhile,
// with a wait box that neither blocks nor stays on top. The result comes from
// the event loop: the box goes, then the offer (Yes calls openHomepage), the
// note of the current version or, when manual is set, the failure with its
// connection log. One check at a time; the check is the owner's and ends
// silently when the owner goes first.
void CheckForUpdate(bool manual, QWidget *owner, const std::function<void()> &openHomepage);
// Whether a check is running (its wait box is up).
bool UpdateCheckRunning();

// Shows the dialog; OK stores the chosen mode and saves the settings.
void ExecUpdateCheckSettings();
// At start: mode 1 checks quietly, mode 0 lets the user decide, 2 nothing.
void AutoUpdateCheck(QWidget *owner);
// The check by hand: failures and the current version are reported.
void RunManualUpdateCheck(QWidget *owner);
