// The wait box: two lines of text shown while long work keeps the program
// busy. ShowWaitBox only makes the box and sets its lines; the caller shows
// it (and may first take away its stay-on-top flag), updates the second line
// with SetWaitBoxText as the work proceeds, and ends with CloseWaitBox.
#pragma once

#include "kit/oberformmetal.h"

class TOzoWindowSizeHook;
class TPZLabel;

class TWaitbox : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWaitbox(QWidget *parent = nullptr);

    TPZLabel *Text1;
    TPZLabel *Text2;
    TOzoWindowSizeHook *OzoWindowSizeHook1;

protected:
    void FormCreate() override;
};

// The wait box while it exists, else null.
extern TWaitbox *Waitbox;

// Makes the wait box (or reuses the one that exists) and sets its two lines.
TWaitbox *ShowWaitBox(const QString &line1, const QString &line2);
// Sets the second line and repaints the box at once.
void SetWaitBoxText(TWaitbox *box, const QString &text);
// Closes and frees the box; Waitbox becomes null.
void CloseWaitBox(TWaitbox *box);
