// Questions the user can answer once or for good: "&Ja", "&Nein", "&Immer",
// "Ni&e", with a note under each pair.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class TPZLabel;
class TOzoNewButton;

// Modal results of the four answers.
enum : int { mrAskYes = 6, mrAskNo = 7, mrAskNever = 9, mrAskAlways = 10 };

class TDAsk : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAsk(QWidget *parent = nullptr);

    TPZLabel *PZLabel1;
    TOzoNewButton *ButtJa, *ButtNein, *ButtImmer, *ButtNie;
    QLabel *LabelOnce, *LabelForGood;
};

// Asks under caption with the mark-up text; "Nie" and "Immer" can be hidden.
// Returns 6 (Ja), 7 (Nein), 10 (Immer) or 9 (Nie); closing counts as Nein.
int AskWithRemember(const QString &caption, const QString &text, bool showNever, bool showAlways);

// The box after "Immer" or "Nie".
void ShowRememberedAnswerInfo();
