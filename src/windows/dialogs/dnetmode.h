// "Netzwerkmodus": the network control folder in force, the refresh button
// and the interval of the automatic refresh.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class TPZSpeedButton;
class QSpinBox;
class QToolButton;
class TOzoNewButton;
class TPZLabel;

class TDNetMode : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDNetMode(QWidget *parent = nullptr);

    TPZLabel *LabelInfo;
    QLabel *LabelDir;      // the network control folder
    TPZLabel *LabelRefresh;
    QToolButton *NavRefresh;   // the navigator: only its refresh button
    QLabel *LabelAlle, *LabelSekunden;
    QSpinBox *SpinEdit1;       // seconds, 5..900
    TOzoNewButton *BitBtn1;

    void NavRefreshClick();
};

// Shows the dialog; a changed interval is set on the main window's network
// refresh and saved.
void ExecNetModeDialog();

// The status line's button "SpBNetmode", made beside the status panel: in
// network mode it shows, the panel narrows by its width, and a click opens
// the dialog; otherwise it stays hidden.
TPZSpeedButton *AddNetModeButton(QLabel *status, bool networkMode);
