// The dialogs of table maintenance: packing (TDPack) and password protection
// (TDPwd), and the entries that drive them.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class TPZLabel;
class QLineEdit;
class QPushButton;

class TDPwd : public QDialog
{
    Q_OBJECT
public:
    explicit TDPwd(QWidget *parent = nullptr);

    QLabel *Image1;
    TPZLabel *PZLabel1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QCheckBox *CheckBox1; // "Klartext anzeigen!"
    QPushButton *BitBtn1; // OK
    QPushButton *BitBtn2; // Abbrechen

    // The lock (set a password) or the unlock picture (asked for one).
    void SetPicture(bool unlock);
    // The text above the fields, with its mark-up.
    void SetText(const QString &markup);
    // One field only (asked for a password) or both (a new one, twice).
    void SetSingleField(bool single);

    void FormShow();
    void CheckBox1Click();

protected:
    void showEvent(QShowEvent *e) override;
};

class TDPack : public QDialog
{
    Q_OBJECT
public:
    explicit TDPack(QWidget *parent = nullptr);

    QLabel *Label1;
    QCheckBox *CheckBox1; // media table
    QCheckBox *CheckBox2; // film table
    QCheckBox *CheckBox3; // person table
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};

// Asks for a new password twice until both entries agree; true with the
// password (empty = remove the protection), false when cancelled.
bool ExecSetPasswordDialog(QString *password);

// Asks for the password of a protected table; empty when cancelled.
QString AskTablePassword();
