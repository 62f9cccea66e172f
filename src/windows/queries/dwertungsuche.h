// "Wertungs-Suche": films of at least or exactly one rating (or without
// rating), sorted by one of nine orders.
#pragma once

#include "kit/oberformmetal.h"

class QComboBox;
class TOzoCheck;
class TOzoNewButton;

class TDWertungSuche : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDWertungSuche(QWidget *parent = nullptr);

    TOzoCheck *RadioButton1, *RadioButton2;
    QComboBox *ComboBoxWertung, *ComboBoxSort;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

    bool AtLeast() const;
    int Rating() const; // -1 for "-"
    QString OrderBy() const;
};

// "&Wertungs-Suche...": true when the search ran.
bool ExecRatingSearch(QWidget *owner = nullptr);
