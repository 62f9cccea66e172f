#include "windows/queries/dsuchefilm.h"

#include "data/database.h"
#include "data/freefieldlabels.h"
#include "data/locate.h"
#include "engine/table.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "query/searchrules.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/main/mainform.h"
#include "windows/queries/queryform.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <memory>

namespace {
constexpr int hcSucheFilm = 64;
constexpr int kNarrowWidth = 392;
constexpr int kWideWidth = 752;
} // namespace

QStringList &TDSucheFilm::History()
{
    static QStringList history;
    return history;
}

TDSucheFilm::TDSucheFilm(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DSucheFilm"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    auto *label = MakeDialogLabel(this, QStringLiteral("Label1"), QStringLiteral("Zu suchender &Filmtitel:"),
                                  QRect(12, 10, 376, 18));
    FilmName = new QComboBox(this);
    FilmName->setObjectName(QStringLiteral("FilmName"));
    FilmName->setEditable(true);
    FilmName->setGeometry(12, 30, 376, 24);
    FilmName->addItems(History());
    FilmName->setCurrentIndex(-1);
    label->setBuddy(FilmName);
    Titel = MakeDialogCheck(this, QStringLiteral("Titel"), QStringLiteral("&Titel"), QRect(12, 64, 140, 20));
    Untertitel = MakeDialogCheck(this, QStringLiteral("Untertitel"), QStringLiteral("&Untertitel"),
                                 QRect(12, 88, 140, 20));
    Titel->SetChecked(true);
    Untertitel->SetChecked(true);
    CheckBoxFree = MakeDialogCheck(this, QStringLiteral("CheckBoxFree"), QStringLiteral("&Anhang-Felder..."),
                                   QRect(12, 112, 140, 20));
    CheckBoxFree->SetAllowGrayed(true);
    CheckBoxFree->SetGrayedPermitted(true);
    CheckBoxFree->OnClick = [this](QObject *) { CheckBoxFreeClick(); };
    ChkTeil = MakeDialogCheck(this, QStringLiteral("ChkTeil"), QStringLiteral("&Teilübereinstimmung möglich"),
                              QRect(156, 64, 230, 20));
    ChkTeil->SetChecked(true);
    ChkGross = MakeDialogCheck(this, QStringLiteral("ChkGross"), QStringLiteral("&Groß-/Kleinschreibung beachten"),
                               QRect(156, 88, 230, 20));
    for (int i = 0; i < 16; ++i) {
        const int col = i / 8, row = i % 8;
        TOzoCheck *c = MakeDialogCheck(this, QStringLiteral("CheckBoxFree%1").arg(i + 1),
                                       i == 15 ? QStringLiteral("Memo") : DefaultFreeCaption(i + 1),
                                       QRect(404 + col * 172, 10 + row * 24, 166, 20));
        c->OnStateChange = [this](QObject *) {
            if (m_wide && !m_settingBoxes)
                UpdateMasterBox();
        };
        c->hide();
        FreeBoxes[size_t(i)] = c;
    }
    FreeBoxes[15]->setEnabled(false); // the quick find searches no memo
    BtnWide = new QPushButton(QStringLiteral(">>"), this);
    BtnWide->setObjectName(QStringLiteral("BtnWide"));
    BtnWide->setGeometry(12, 150, 40, 25);
    connect(BtnWide, &QPushButton::clicked, this, [this] { SetWide(!m_wide); });
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(60, 150, 100, 25), QStringLiteral("Hilfe"));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(172, 150, 100, 25), QStringLiteral("OK"));
    BitBtnOK->setDefault(true);
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(280, 150, 100, 25),
                                    QStringLiteral("Abbruch"));
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(hcSucheFilm); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    resize(kNarrowWidth, 186);
    Create();
    SetCaption(QStringLiteral("Film suchen"));
}

void TDSucheFilm::SetWide(bool wide)
{
    m_wide = wide;
    if (wide)
        for (int i = 0; i < 15; ++i)
            FreeBoxes[size_t(i)]->SetCaption(StripAmpersands(GetFilmFreeLabel(i + 1)));
    for (TOzoCheck *c : FreeBoxes)
        c->setVisible(wide);
    BtnWide->setText(wide ? QStringLiteral("<<") : QStringLiteral(">>"));
    resize(wide ? kWideWidth : kNarrowWidth, height());
    if (wide)
        UpdateMasterBox();
}

void TDSucheFilm::CheckBoxFreeClick()
{
    // The master box as the user leaves it decides: checked takes all
    // sixteen and the wide layout, anything else none and the narrow one.
    const bool all = CheckBoxFree->State() == cbChecked;
    m_settingBoxes = true;
    for (TOzoCheck *c : FreeBoxes)
        c->SetChecked(all);
    m_settingBoxes = false;
    CheckBoxFree->SetState(all ? cbChecked : cbUnchecked);
    SetWide(all);
}

void TDSucheFilm::UpdateMasterBox()
{
    QList<bool> on;
    for (TOzoCheck *c : FreeBoxes)
        on << c->Checked();
    switch (query::AttachmentMasterState(on)) {
    case query::MasterState::Checked: CheckBoxFree->SetState(cbChecked); break;
    case query::MasterState::Unchecked: CheckBoxFree->SetState(cbUnchecked); break;
    case query::MasterState::Grayed: CheckBoxFree->SetState(cbGrayed); break;
    }
}

std::array<bool, 17> TDSucheFilm::Fields() const
{
    std::array<bool, 17> f{};
    f[0] = Titel->Checked();
    f[1] = Untertitel->Checked();
    for (int i = 0; i < 15; ++i)
        f[size_t(i + 2)] = FreeBoxes[size_t(i)]->Checked();
    return f;
}

QString TDSucheFilm::Term() const
{
    return FilmName->currentText();
}

namespace {

// Shows the dialog; the confirmed term goes into the history. False on
// Cancel or an empty term.
bool runDialog(TDSucheFilm &d)
{
    if (ExecMetalModal(d) != mrOk)
        return false;
    const QString term = d.Term();
    if (term.isEmpty())
        return false;
    TDSucheFilm::History() << term;
    return true;
}

} // namespace

bool FindFilm(const QString &term, const QStringList &fields, bool caseSensitive, bool partial)
{
    engine::Table *t = DBTables.FilmTable;
    if (!t || !t->active())
        return false;
    engine::LocateOptions o;
    o.caseInsensitive = !caseSensitive;
    o.partialKey = partial;
    for (const QString &field : fields) {
        if (!t->locate(field, term, o))
            continue;
        if (Mainform)
            LocateMediumOfCurrentFilm(Mainform->DataSets());
        return true;
    }
    return false;
}

void ExecFindFilm(QWidget *owner)
{
    auto d = std::unique_ptr<TDSucheFilm>(CreateForm<TDSucheFilm>(owner ? owner->window() : nullptr));
    if (!runDialog(*d))
        return;
    QList<bool> checked;
    for (bool b : d->Fields())
        checked << b;
    if (!FindFilm(d->Term(), query::FindFilmFields(checked), d->ChkGross->Checked(), d->ChkTeil->Checked()))
        kit::messageBox(QStringLiteral("Nicht gefunden!"), QStringLiteral("Information"), kit::MsgButtons::Ok,
                        kit::BoxIcon::Information);
}

void ExecQueryFilmSearch(QWidget *owner)
{
    auto d = std::unique_ptr<TDSucheFilm>(CreateForm<TDSucheFilm>(owner ? owner->window() : nullptr));
    d->ChkTeil->SetChecked(true);
    d->ChkTeil->setEnabled(false);
    d->FreeBoxes[15]->setEnabled(true);
    if (!runDialog(*d))
        return;
    QueryFilmSearch(d->Term(), d->Fields(), d->ChkGross->Checked(), d->FreeBoxes[15]->Checked(), owner);
}
