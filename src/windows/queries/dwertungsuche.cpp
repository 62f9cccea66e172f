#include "windows/queries/dwertungsuche.h"

#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "query/searchrules.h"
#include "windows/dialogs/dialogbuttons.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/queryform.h"

#include <QComboBox>
#include <QLabel>

#include <memory>

namespace {
constexpr int hcWertungSuche = 66;
}

TDWertungSuche::TDWertungSuche(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DWertungSuche"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(340, 200);
    MakeDialogLabel(this, QStringLiteral("Label1"), QStringLiteral("Suche alle Filme mit..."), QRect(12, 10, 316, 18));
    RadioButton1 = MakeDialogCheck(this, QStringLiteral("RadioButton1"), QStringLiteral("&mindestens"),
                                   QRect(24, 34, 110, 20), 1);
    RadioButton2 = MakeDialogCheck(this, QStringLiteral("RadioButton2"), QStringLiteral("ge&nau"),
                                   QRect(24, 58, 110, 20), 1);
    RadioButton1->SetChecked(true);
    auto *labelW = MakeDialogLabel(this, QStringLiteral("Label2"), QStringLiteral("der folgenden &Wertung:"),
                                   QRect(140, 34, 188, 18));
    ComboBoxWertung = new QComboBox(this);
    ComboBoxWertung->setObjectName(QStringLiteral("ComboBoxWertung"));
    ComboBoxWertung->setGeometry(140, 54, 188, 24);
    // The items "-" and "0" .. "5", shown as the film card shows ratings.
    ComboBoxWertung->addItem(QStringLiteral("-"), QStringLiteral("-"));
    for (int i = 0; i <= 5; ++i)
        ComboBoxWertung->addItem(QString(i, QChar(0x2605)) + QString(5 - i, QChar(0x2606)), QString::number(i));
    ComboBoxWertung->setCurrentIndex(4);
    labelW->setBuddy(ComboBoxWertung);
    auto *labelS = MakeDialogLabel(this, QStringLiteral("Label3"), QStringLiteral("&Sortiere Ergebnisliste nach:"),
                                   QRect(12, 92, 316, 18));
    ComboBoxSort = new QComboBox(this);
    ComboBoxSort->setObjectName(QStringLiteral("ComboBoxSort"));
    ComboBoxSort->setGeometry(12, 112, 316, 24);
    ComboBoxSort->addItems(query::RatingSortItems());
    ComboBoxSort->setCurrentText(QStringLiteral("Wertung / Nr"));
    labelS->setBuddy(ComboBoxSort);
    const TDialogButtons row = MakeHelpOkCancel(this, hcWertungSuche, 160, 328, 90);
    BitBtnHelp = row.help;
    BitBtnOK = row.ok;
    BitBtnCancel = row.cancel;
    Create();
    SetCaption(QStringLiteral("Wertungs-Suche"));
}

bool TDWertungSuche::AtLeast() const
{
    return RadioButton1->Checked();
}

int TDWertungSuche::Rating() const
{
    return ComboBoxWertung->currentIndex() - 1;
}

QString TDWertungSuche::OrderBy() const
{
    return query::RatingOrderBy(ComboBoxSort->currentText());
}

bool ExecRatingSearch(QWidget *owner)
{
    auto d = std::unique_ptr<TDWertungSuche>(CreateForm<TDWertungSuche>(owner ? owner->window() : nullptr));
    if (ExecMetalModal(*d) != mrOk)
        return false;
    ShowRatingQuery(d->AtLeast(), d->Rating(), d->OrderBy(), owner);
    return true;
}
