// The question after a person's name was changed in a film's person field:
// rename the person, take the name as a new person, or change only the field.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class TOzoCheck;
class TOzoNewButton;

class TDAskNewPerson : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAskNewPerson(QWidget *parent = nullptr);

    QLabel *Label1, *LabelField, *Label2, *LabelOld, *Label3, *LabelNew, *Label4;
    TOzoCheck *Rad1, *Rad2, *Rad3;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;

    // 0 rename, 1 new person, 2 only this field; -1 none chosen.
    int Choice() const;

private:
    void chosen();
};

// True on OK with the choice.
bool ExecAskNewPerson(const QString &caption, const QString &oldName, const QString &newName, int &choice);
