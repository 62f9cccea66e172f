// The dialogs of table maintenance: packing (TDPack) and password protection
// (TDPwd), and the entries that drive them.
#pragma once

#include "kit/oberformmetal.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class TOzoNewButton;
class TPZLabel;

class TDPwd : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDPwd(QWidget *parent = nullptr);

    QLabel *Image1;
    TPZLabel *PZLabel1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QCheckBox *CheckBox1; // "Klartext anzeigen!"
    TOzoNewButton *BitBtn1; // OK
    TOzoNewButton *BitBtn2; // Abbruch

    // The lock (set a password) or the unlock picture (asked for one).
    void SetPicture(bool unlock);
    // The text above the fields, with its mark-up.
    void SetText(const QString &markup);
    // One field only (asked for a password) or both (a new one, twice).
    void SetSingleField(bool single);

    // Every show starts masked.
    void FormShow() override;
    void CheckBox1Click();
};

class TDPack : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDPack(QWidget *parent = nullptr);

    QLabel *Label1;
    QCheckBox *CheckBox1; // media table
    QCheckBox *CheckBox2; // film table
    QCheckBox *CheckBox3; // person table
    TOzoNewButton *BitBtn1;
    TOzoNewButton *BitBtn2;
};

// Packs the tables the user checks, with the wait box; engine errors are
// shown once the table is open again.
void ExecPackDialog();

// Asks for a new password twice until both entries agree; true with the
// password (empty = remove the protection), false when cancelled.
bool ExecSetPasswordDialog(QString *password);

// Asks for the password of a protected table; empty when cancelled.
QString AskTablePassword();
