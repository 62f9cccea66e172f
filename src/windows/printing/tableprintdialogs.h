// The two dialogs of table and list printing: the kind of printout
// ("Tabelle / Liste drucken") and the list print settings.
#pragma once

#include "kit/oberformmetal.h"

class QGroupBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class TOzoCheck;
class TOzoNewButton;

class TDTabDrckKind : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDTabDrckKind(QWidget *parent = nullptr);
    // Table allowed, table forced, film list.
    void Setup(bool tableAllowed, bool tableForced, bool filmList);
    bool TableChosen() const;
    bool OneLine() const;

    QGroupBox *GroupKind, *GroupLines;
    TOzoCheck *RadioList, *RadioTable, *RadioOneLine, *RadioTwoLines;
    TOzoNewButton *BtnPrinter, *BtnOptions, *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    void EnableLines();
    bool FFilmList = false;
};

class TDListDrckEinst : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDListDrckEinst(QWidget *parent = nullptr);
    // Copies the settings into the controls, and back (and saves) on OK.
    void LoadSettings();
    void StoreSettings() const;

    QTabWidget *PageControl1;
    QLineEdit *EditFont;
    TOzoNewButton *BtnBrowse, *BtnArial;
    TOzoCheck *CheckBoxKategFont;
    TOzoCheck *CheckAuto;
    QSpinBox *SpinEdit;
    TOzoNewButton *Btn54, *Btn36;
    TOzoCheck *RadVarSpAnz, *RadConstSpAnz;
    QSpinBox *SpinConstSpAnz;
    TOzoCheck *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5;
    TOzoCheck *ChkBoxSterne;
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    void EnableControls();
};

// Set by the settings dialog; the film list prints the rating stars. Kept
// until the program ends, not stored.
extern bool ListPrintStars;
