// "Abfrage-Quelle": which data a new query works on (film table, media
// table, their join or the person table).
#pragma once

#include "kit/oberformmetal.h"

class TOzoCheck;
class TOzoNewButton;

class TDQueryKind : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDQueryKind(QWidget *parent = nullptr);

    TOzoCheck *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

    // 1 film, 2 media, 3 join, 4 persons, from the buttons.
    int Kind() const;
};

// Shows the dialog modally; the query source, 0 on Cancel.
int AskQueryKind(QWidget *owner = nullptr);
