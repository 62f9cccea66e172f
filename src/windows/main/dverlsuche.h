// "Suche verliehene Medien": all lent media, those lent to a person, those
// lent or due before a date, or the reminder list.
#pragma once

#include "kit/oberformmetal.h"

#include <QComboBox>

class QCalendarWidget;
class QLineEdit;
class TOzoCheck;
class TOzoNewButton;
class TPZSpeedButton;

// A combo box that tells when its list is about to drop down.
class TDropDownCombo : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void()> OnDropDown;
    void showPopup() override;
};

class TDVerlSuche : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDVerlSuche(QWidget *parent = nullptr);

    TOzoCheck *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
    TDropDownCombo *ComboBox1;
    QLineEdit *Edit1;
    QComboBox *CBVerlOrRueck;
    QCalendarWidget *Calendar1;
    TPZSpeedButton *PZSpeedButton1, *PZSpeedButton2, *PZSpeedButton3, *PZSpeedButton4;
    TOzoNewButton *HelpBtn, *BitBtnOK, *BitBtnCancel;

    // The borrowers, read once when the list first drops down (at most 255).
    void ComboBox1DropDown();
    void MoveCalendar(int years, int months);
    // Runs the chosen search (the dialog was confirmed).
    void RunSearch(QWidget *owner);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// "&Verliehene Medien...".
void ExecLendingSearch(QWidget *caller);
// The borrower names of the media table, at most 255.
QStringList LendingBorrowers(const QString &mediaTablePath);
