#include "windows/queries/dwebsucheeinst.h"

#include "app/apppaths.h"
#include "data/tableschemas.h"
#include "kit/enterexitbutton.h"
#include "kit/presenter.h"
#include "online/websearch.h"
#include "platform/inifile.h"
#include "windows/dialogs/dialogparts.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>

#include <memory>

const QString NoWebSearchProposal = QStringLiteral("* kein Vorschlag *");

namespace {

const QString kSetup = QStringLiteral("Setup");

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &g)
{
    QLabel *l = MakeDialogLabel(parent, name, text, g);
    l->setWordWrap(true);
    return l;
}

QComboBox *fieldCombo(QWidget *parent, const char *name, const engine::TableDef &def, QLabel *buddy, int top)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setGeometry(150, top, 278, 24);
    c->addItem(NoWebSearchProposal);
    for (const engine::FieldDef &f : def.fields)
        c->addItem(f.name);
    buddy->setBuddy(c);
    return c;
}


struct Key
{
    const char *name;
    QComboBox *TDWebSucheEinst::*combo;
};
const Key kKeys[] = {{"Med", &TDWebSucheEinst::CBMed},
                     {"Film", &TDWebSucheEinst::CBFilm},
                     {"Pers", &TDWebSucheEinst::CBPers}};

} // namespace

TDWebSucheEinst::TDWebSucheEinst(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DWebSucheEinst"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(440, 310);
    Label1 = label(this, "Label1",
                   QStringLiteral("Sie können die Internet-Suche wahlweise vom Hauptfenster (Medien-Kartei), "
                                  "Filmdaten-Fenster oder Personenkartei-Fenster aus starten (per F10 oder "
                                  "Speedbutton)."),
                   QRect(12, 8, 416, 50));
    Label2 = label(this, "Label2",
                   QStringLiteral("Je nachdem, von welcher Kartei aus Sie die Suche starten, kann bereits ein "
                                  "Suchbegriff aus einem Feld der jeweiligen Karteikarte als Suchbegriff "
                                  "vorgeschlagen werden (z.B. Name der Person oder Titel des Filmes). Dieses Feld "
                                  "können Sie hier auswählen."),
                   QRect(12, 62, 416, 82));
    LabelMed = label(this, "LabelMed", QStringLiteral("&Medienkartei"), QRect(12, 154, 130, 20));
    LabelFilm = label(this, "LabelFilm", QStringLiteral("&Filmkartei"), QRect(12, 184, 130, 20));
    LabelPers = label(this, "LabelPers", QStringLiteral("&Personenkartei"), QRect(12, 214, 130, 20));
    CBMed = fieldCombo(this, "CBMed", MediaTableDef(), LabelMed, 152);
    CBFilm = fieldCombo(this, "CBFilm", FilmTableDef(), LabelFilm, 182);
    CBPers = fieldCombo(this, "CBPers", PersonTableDef(), LabelPers, 212);
    BtnOK = MakeDialogButton(this, "BtnOK", ibkOK, QRect(220, 260, 100, 25));
    BtnOK->setDefault(true);
    BtnCancel = MakeDialogButton(this, "BtnCancel", ibkCancel, QRect(328, 260, 100, 25), QStringLiteral("Abbruch"));
    connect(BtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Einstellungen zu Internet-Suche"));
}

void TDWebSucheEinst::Preset(const platform::IniFile &ini)
{
    for (const Key &k : kKeys) {
        QComboBox *c = this->*k.combo;
        const int i = c->findText(ini.readString(kSetup, QLatin1String(k.name)), Qt::MatchFixedString);
        c->setCurrentIndex(i > 0 ? i : 0);
    }
}

void TDWebSucheEinst::Store(platform::IniFile &ini) const
{
    for (const Key &k : kKeys) {
        const QComboBox *c = this->*k.combo;
        if (c->currentIndex() > 0)
            ini.writeString(kSetup, QLatin1String(k.name), c->currentText());
        else
            ini.deleteKey(kSetup, QLatin1String(k.name));
    }
}

void ExecWebSearchSettings()
{
    platform::IniFile ini(ExpandProfilePath(WebSearchFileName));
    const bool exists = QFileInfo(ini.fileName()).isFile();
    if (exists)
        ini.load();
    auto dlg = std::unique_ptr<TDWebSucheEinst>(CreateForm<TDWebSucheEinst>());
    dlg->Preset(ini);
    DeactivateMetalForm();
    const TModalResult r = kit::execDialog(*dlg);
    ReactivateMetalForm();
    if (r != mrOk || !exists)
        return;
    dlg->Store(ini);
    QString error;
    if (!ini.save(&error))
        kit::messageBox(error, QStringLiteral("Fehler"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
}
