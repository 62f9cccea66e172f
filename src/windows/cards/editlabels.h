// "Freie Felder einrichten": the captions and switches of the free fields of
// one caption set, applied at once to the captions in force (so the record
// windows show them while the user types); OK stores them, Cancel reloads
// the stored ones.
#pragma once

#include "kit/oberformmetal.h"

class QLabel;
class QLineEdit;
class TOzoCheck;
class TOzoNewButton;

class TDEditLabels : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDEditLabels(QWidget *parent = nullptr);

    // "FILM", "PERS", "KASS" or a medium kind: shows its rows, filled from
    // the captions in force.
    void SetKind(const QString &kind);
    QString Kind() const { return FKind; }

    QLabel *Label1; // the explanation
    QLabel *LabelFL, *LabelPers;
    QLabel *LabelNr[15];
    QLineEdit *Edit[15];
    TOzoCheck *CheckFL[15];
    TOzoCheck *CheckPers[15];
    TOzoNewButton *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

private:
    void EditChange(int nr);
    void CheckFLClick(int nr);
    void CheckPersClick(int nr);
    int count() const;

    QString FKind;
    bool FFilling = false;
};

// Runs the editor for the medium captions (isMedium; asks whether the general
// ones or those of the current kind), the person captions (isPerson) or the
// film captions. owner: the record window it is placed beside (may be null).
// Needs an open database (DBBase, PersBase, the caption table; the main
// window's media table for the current kind). True when saved.
bool ExecEditLabels(bool isMedium, bool isPerson, QWidget *owner = nullptr);

// The menu's three entries "&Film-Anhang", "&Medien-Anhang", "&Personen-Kartei".
bool ExecEditLabelsDialog(QWidget *owner, bool isMedium, bool isPerson);
