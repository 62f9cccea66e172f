#include "windows/tables/tablemaintenancedialogs.h"

#include "app/appmessage.h"
#include "data/database.h"
#include "data/tabletools.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/waitbox.h"
#include "kit/enterexitbutton.h"
#include "kit/presenter.h"
#include "kit/kitresources.h"
#include "kit/pzlabel.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>

TDPwd::TDPwd(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPwd"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(400, 246);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(12, 12, 48, 48);
    Image1->setAlignment(Qt::AlignCenter);
    PZLabel1 = new TPZLabel(this);
    PZLabel1->setObjectName(QStringLiteral("PZLabel1"));
    PZLabel1->setGeometry(72, 12, 316, 80);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(72, 100, 180, 24);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(72, 130, 180, 24);
    CheckBox1 = new QCheckBox(QStringLiteral("Klartext anzeigen!"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(258, 100, 136, 24);
    BitBtn1 = new TOzoNewButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetKind(ibkOK);
    BitBtn1->setGeometry(180, 176, 100, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new TOzoNewButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetKind(ibkCancel);
    BitBtn2->setGeometry(288, 176, 100, 25);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    SetPicture(false);
    Create();
    SetCaption(QStringLiteral("Passwort"));
    CheckBox1Click();
}

void TDPwd::SetPicture(bool unlock)
{
    Image1->setPixmap(LoadResourceBitmap(unlock ? QStringLiteral("PWDUNLOCK") : QStringLiteral("PWDLOCK")));
}

void TDPwd::SetText(const QString &markup)
{
    PZLabel1->SetCaption(markup);
}

void TDPwd::SetSingleField(bool single)
{
    Edit2->setVisible(!single);
}

void TDPwd::FormShow()
{
    tOzoFormMetal::FormShow();
    // Masked on every show: the symbol font's filled circle is the
    // password echo of our style.
    CheckBox1->setChecked(false);
    CheckBox1Click();
}

void TDPwd::CheckBox1Click()
{
    if (CheckBox1->isChecked()) {
        Edit1->setEchoMode(QLineEdit::Normal);
        Edit1->setFont(QFont(QStringLiteral("Arial")));
    } else {
        Edit1->setEchoMode(QLineEdit::Password);
        Edit1->setFont(QFont());
    }
    Edit2->setEchoMode(Edit1->echoMode());
    Edit2->setFont(Edit1->font());
}

TDPack::TDPack(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPack"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(420, 262);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 12, 396, 100);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral(
        "Gelöschte Datensätze, Memos und Grafiken belegen weiterhin Platz in den Tabellendateien, bis die Tabellen "
        "gepackt werden. Beim Packen wird dieser Platz freigegeben.\nLegen Sie vorher unbedingt eine Sicherung der "
        "Datenbank an!"));
    CheckBox1 = new QCheckBox(QStringLiteral("&Medientabelle"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(24, 118, 300, 24);
    CheckBox2 = new QCheckBox(QStringLiteral("&Filmtabelle"), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(24, 144, 300, 24);
    CheckBox3 = new QCheckBox(QStringLiteral("&Personentabelle"), this);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setGeometry(24, 170, 300, 24);
    BitBtn1 = new TOzoNewButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->SetKind(ibkOK);
    BitBtn1->setGeometry(200, 204, 100, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new TOzoNewButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->SetKind(ibkCancel);
    BitBtn2->setGeometry(308, 204, 100, 25);
    Create();
    SetCaption(QStringLiteral("Tabellen Packen!"));
}

bool ExecSetPasswordDialog(QString *password)
{
    if (AppMessage(QStringLiteral(
                       "Wenn Sie Ihre Datenbank mit Passwort schützen, so wird sie verschlüsselt und ist ohne dieses "
                       "Passwort nicht mehr zu öffnen.\rMERKEN SIE SICH IHR PASSWORT ALSO GUT!\rWenn Sie das Passwort "
                       "vergessen, können Sie die Datenbank nicht mehr öffnen, auch der Autor des Programmes kann "
                       "Ihnen dann nicht mehr helfen, an Ihre Daten zu kommen!\rBitte geben Sie außerdem das Passwort "
                       "in beide Felder einzeln ein (nicht kopieren!). Das dient Ihrer Sicherheit, um Tippfehler zu "
                       "erkennen!"),
                   QStringLiteral("ACHTUNG!!!!!"), platform::MessageIcon::Warning, platform::MessageButtons::OkCancel)
        != mrOk)
        return false;
    TDPwd dlg;
    dlg.SetPicture(false);
    dlg.SetSingleField(false);
    dlg.SetText(QStringLiteral("Um die Datenbank mit Passwort zu schützen, geben Sie in beide Eingabefelder dasselbe "
                               "Passwort ein!\\lbWenn Sie einen bestehenden Passwortschutz abschalten wollen, lassen "
                               "Sie beide Felder leer."));
    for (;;) {
        dlg.Edit1->clear();
        dlg.Edit2->clear();
        const TModalResult r = ExecMetalModal(dlg);
        if (r != mrOk)
            return false;
        if (dlg.Edit1->text() == dlg.Edit2->text()) {
            *password = dlg.Edit1->text();
            return true;
        }
        AppMessage(QStringLiteral("Ihre Eingaben waren nicht identisch!"), QStringLiteral("Fehler"),
                   platform::MessageIcon::Error);
    }
}

QString AskTablePassword()
{
    TDPwd dlg;
    dlg.SetPicture(true);
    dlg.SetSingleField(true);
    dlg.SetText(QStringLiteral("Die Datenbank, die Sie zu öffnen versuchen, ist \\Bpasswortgeschützt\\b!\\lb\\lbBitte "
                               "geben Sie das Passwort ein:"));
    const TModalResult r = ExecMetalModal(dlg);
    if (r != mrOk)
        return QString();
    return dlg.Edit1->text();
}

void ExecPackDialog()
{
    TDPack dlg;
    const TModalResult r = ExecMetalModal(dlg);
    const bool media = dlg.CheckBox1->isChecked(), films = dlg.CheckBox2->isChecked(),
               persons = dlg.CheckBox3->isChecked();
    if (r != mrOk || (!media && !films && !persons))
        return;
    PackDatabaseTables(media, films, persons);
}
