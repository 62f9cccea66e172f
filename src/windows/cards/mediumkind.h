// The medium-kind chooser that drops down beside a kind field, and the
// go-to-medium dialog "Medium lokalisieren".
#pragma once

#include "data/maindatasets.h"
#include "data/mediumnumbering.h"
#include "kit/oberformmetal.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QLineEdit;
class QSpinBox;
class TOzoCheck;
class TOzoNewButton;

class TDMedienDropDown : public QDialog
{
    Q_OBJECT
public:
    explicit TDMedienDropDown(QWidget *parent = nullptr);

    QLabel *Label1;        // "Standard-Medientypen"
    TOzoCheck *RadSB;
    TOzoCheck *RadKK;
    TOzoCheck *RadDVD;
    QLabel *Label2;        // "Sonstige Medientypen"
    QListWidget *Listbox1;
    QLabel *LabelNewKind;  // "Gesuchter Typ nicht dabei? Neuen Typ anlegen"
    TOzoNewButton *BitBtnOK;
    TOzoNewButton *BitBtnCancel;

    // Fills the list: the stored kinds other than the built-in and standard
    // ones, then the ten standard kinds.
    void FillList();
    // Selects the current kind (cut to six characters).
    void Preselect(const QString &kind);
    // The kind chosen on OK: radio box, else list entry, else the current one.
    QString ChosenKind(const QString &current) const;
    void LabelNewKindClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void radioClicked();
    void FitToTexts();
};

// Shows the chooser with its top-left corner at the screen point (x, y) and
// returns the kind chosen on OK, else the current kind (at most 6 characters).
QString ChooseMediumKind(int x, int y, const QString &currentKind);
// Where the chooser goes: below the point, or above it when it would reach
// below the screen; never above the screen's top.
QPoint MediumDropDownPosition(int x, int y, int height, int screenHeight);

class TDLocateKass : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDLocateKass(QWidget *parent = nullptr);

    QLabel *Label1;         // "Welches Medium wollen Sie lokalisieren?"
    QLabel *LabelMed;       // "&Medium:"
    QLineEdit *EditMed;
    TOzoNewButton *ButtMedPPP;
    QLabel *LabelNr;        // "Medien-&Nr:"
    QSpinBox *SpinEdit1;
    TOzoNewButton *ButtLetzte;
    TOzoNewButton *BitBtnOK;
    TOzoNewButton *BitBtnCancel;

    // Media numbered across all kinds: the kind field shows "Alle" and is off.
    void SetAcrossAll(bool acrossAll, const QString &currentKind);
    void ButtMedPPPClick();
    void ButtLetzteClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_acrossAll = false;
};

// Shows TDLocateKass over owner and, on OK, moves the medium card of sets to
// the medium; the dialog asks for a kind unless numbers count across all.
void ShowLocateMediumDialog(QWidget *owner, const MainDataSets &sets, NumberingMode mode);
