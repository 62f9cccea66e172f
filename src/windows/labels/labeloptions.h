// "Etiketten-Druckoptionen": the label print settings the label drawing
// reads, copied into the controls and back (then saved), with three small
// dialogs for the play-time details, case-top labels on self-adhesive spine
// labels and the picture-format symbols.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;

// The play-time choice as it is stored: with "Spielzeitangaben" at least the
// length is printed; without it neither.
struct TPlayTimeChoice
{
    bool PrintLen = false, PrintEndPos = false;
};
TPlayTimeChoice StorePlayTimeChoice(bool radPrintLen, bool length, bool endPosition);

class TDEtiEinst : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDEtiEinst(QWidget *parent = nullptr);

    QSpinBox *SpinEditTit, *SpinEditSub, *SpinEditLen, *SpinEditSymb, *SpinEdit1, *SpinHFree;
    TOzoCheck *CheckBox1, *ChkVCenter, *ChkNrSep, *ChkFreeStrikeOut, *ChkPrintRest, *ChkPrintTon, *ChkPrintKateg,
        *ChkPrintSterne, *ChkAnhSymb, *ChkAnhSymbMemo, *ChkPrintHNr;
    TOzoCheck *RadPrintLen, *RadPrintFree, *RadPrintKat, *RadWederNoch;
    TOzoCheck *RadHTitel, *RadHFree, *RadHKateg, *RadHNormal, *RadHZF;
    TOzoNewButton *BtnPlayTime, *BtnZF, *BtnFormatSymb;
    TOzoNewButton *BtnApply, *BtnPreview, *BitBtnOK, *BitBtnCancel;

    // The details the small dialogs chose (kept until the dialog closes).
    bool Length = true, EndPosition = false;
    int Format = 1;    // 1..5
    int AlignMode = 0; // 0..2
    int Variant = 1;   // 1..4

    void Load();
    // Every setting from its control, then saved; the preview and the label
    // list follow.
    void Store();
    void UpdateEnabling();
    void Changed();
    void BtnPlayTimeClick();
    void BtnZFClick();
    void BtnFormatSymbClick();
};
// "&Erweiterte Druckoptionen (Etiketten)".
void ExecLabelOptions();

class TDEtiEinst2 : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDEtiEinst2(bool length, bool endPosition, int format, QWidget *parent = nullptr);
    TOzoCheck *ChkLen, *ChkEP;
    TOzoCheck *RadMin1, *RadMin2, *RadHm1, *RadHm2, *RadHm3;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
    int ChosenFormat() const; // 1..5
};
// True on OK; the choice in the variables.
bool ExecPlayTimeDetails(bool &length, bool &endPosition, int &format);

class TDEtiEinst3 : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDEtiEinst3(int mode, QWidget *parent = nullptr);
    TOzoCheck *RadMode0, *RadMode1, *RadMode2;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
    int ChosenMode() const;
};
bool ExecCaseTopOnSpineLabels(int &mode);

class TDEtiEinst4 : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDEtiEinst4(int variant, QWidget *parent = nullptr);
    TOzoCheck *RadVar1, *RadVar2, *RadVar3, *RadVar4;
    QLabel *LabelDemo = nullptr; // the symbols the chosen variant prints for the four cases
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
    int ChosenVariant() const;
    void UpdateDemo();
};
bool ExecFormatSymbolVariant(int &variant);
