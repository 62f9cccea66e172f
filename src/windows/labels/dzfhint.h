// "Hinweis": self-adhesive sheets must be set up before the first print on
// them; offers the set-up at once and can be told not to show again.
#pragma once

#include "kit/oberformmetal.h"

class TOzoCheck;
class TOzoNewButton;
class TPZLabel;

class TDZFHint : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDZFHint(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    TOzoNewButton *BtnSetup; // "Jetzt sofort einrichten..."
    TOzoCheck *ChkDontShow;  // "Diese Meldung zukünftig nicht mehr anzeigen!"
    TOzoNewButton *BitBtnOK;
};

// Shows TDZFHint; on close ZFShowHint := not the box.
void ExecZFHint();
