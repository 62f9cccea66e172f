#include "windows/main/dverlsuche.h"

#include "app/settings.h"
#include "data/database.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "query/querytext.h"
#include "query/searchrules.h"
#include "windows/dialogs/dialogbuttons.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/queryform.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QLineEdit>

#include <memory>

namespace {
constexpr int hcVerlSuche = 65;
constexpr int kMaxBorrowers = 255;
} // namespace

void TDropDownCombo::showPopup()
{
    if (OnDropDown)
        OnDropDown();
    QComboBox::showPopup();
}

QStringList LendingBorrowers(const QString &mediaTablePath)
{
    QStringList out;
    engine::Query q;
    q.setDatabaseFolder(DBBase);
    q.setSql({QStringLiteral("SELECT DISTINCT Verliehen FROM"), SQLTableRef(mediaTablePath),
              QStringLiteral("WHERE Verliehen IS NOT NULL")});
    q.open();
    for (q.first(); !q.eof() && out.size() < kMaxBorrowers; q.next())
        out << q.field(0)->asString();
    return out;
}

TDVerlSuche::TDVerlSuche(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DVerlSuche"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(720, 300);
    RadioButton1 = MakeDialogCheck(this, QStringLiteral("RadioButton1"),
                                   QStringLiteral("ALLE verliehenen Medien suchen!"), QRect(12, 12, 440, 20), 1);
    RadioButton2 = MakeDialogCheck(this, QStringLiteral("RadioButton2"),
                                   QStringLiteral("Suche alle, die an folgende Person verliehenen wurden:"),
                                   QRect(12, 44, 440, 20), 1);
    ComboBox1 = new TDropDownCombo(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setGeometry(32, 68, 300, 24);
    ComboBox1->OnDropDown = [this] { ComboBox1DropDown(); };
    ComboBox1->installEventFilter(this);
    if (ComboBox1->lineEdit())
        ComboBox1->lineEdit()->installEventFilter(this);
    RadioButton3 = MakeDialogCheck(this, QStringLiteral("RadioButton3"),
                                   QStringLiteral("Suche alle, die vor folgendem Datum..."), QRect(12, 104, 440, 20),
                                   1);
    CBVerlOrRueck = new QComboBox(this);
    CBVerlOrRueck->setObjectName(QStringLiteral("CBVerlOrRueck"));
    CBVerlOrRueck->addItems({QStringLiteral("...verliehen wurden:"), QStringLiteral("...zurückgegeben werden sollen:")});
    CBVerlOrRueck->setGeometry(32, 128, 200, 24);
    CBVerlOrRueck->setCurrentIndex(0);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(240, 128, 92, 24);
    RadioButton4 = MakeDialogCheck(this, QStringLiteral("RadioButton4"),
                                   QStringLiteral("Erstelle &Mahnliste (Rückgabedatum erreicht o. überschritten)"),
                                   QRect(12, 168, 440, 36), 1);
    RadioButton1->SetChecked(true);

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setGeometry(462, 12, 238, 200);
    Calendar1->setNavigationBarVisible(false);
    auto calButton = [this](const char *name, const QString &caption, const QString &hint, int x) {
        auto *b = new TPZSpeedButton(this);
        b->setObjectName(QLatin1String(name));
        b->SetCaption(caption);
        b->setToolTip(hint);
        b->setGeometry(x, 216, 56, 22);
        return b;
    };
    PZSpeedButton1 = calButton("PZSpeedButton1", QStringLiteral("«"), QStringLiteral("Ein Jahr zurück"), 462);
    PZSpeedButton4 = calButton("PZSpeedButton4", QStringLiteral("‹"), QStringLiteral("Einen Monat zurück"), 522);
    PZSpeedButton3 = calButton("PZSpeedButton3", QStringLiteral("›"), QStringLiteral("Einen Monat weiter"), 584);
    PZSpeedButton2 = calButton("PZSpeedButton2", QStringLiteral("»"), QStringLiteral("Ein Jahr weiter"), 644);
    connect(PZSpeedButton1, &TPZSpeedButton::Click, this, [this] { MoveCalendar(-1, 0); });
    connect(PZSpeedButton2, &TPZSpeedButton::Click, this, [this] { MoveCalendar(1, 0); });
    connect(PZSpeedButton3, &TPZSpeedButton::Click, this, [this] { MoveCalendar(0, 1); });
    connect(PZSpeedButton4, &TPZSpeedButton::Click, this, [this] { MoveCalendar(0, -1); });
    const TDialogButtons row = MakeHelpOkCancel(this, hcVerlSuche, 260, 690, 100);
    HelpBtn = row.help;
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    BitBtnOK = row.ok;
    BitBtnCancel = row.cancel;

    Edit1->setText(query::LendingDateText(Calendar1->selectedDate()));
    connect(Calendar1, &QCalendarWidget::selectionChanged, this,
            [this] { Edit1->setText(query::LendingDateText(Calendar1->selectedDate())); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { RadioButton3->SetChecked(true); });
    connect(CBVerlOrRueck, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { RadioButton3->SetChecked(true); });
    Edit1->installEventFilter(this);
    CBVerlOrRueck->installEventFilter(this);
    Create();
    SetCaption(QStringLiteral("Suche verliehene Medien"));
}

bool TDVerlSuche::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == ComboBox1 || (ComboBox1->lineEdit() && watched == ComboBox1->lineEdit()))
            RadioButton2->SetChecked(true);
        else if (watched == Edit1 || watched == CBVerlOrRueck)
            RadioButton3->SetChecked(true);
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

void TDVerlSuche::ComboBox1DropDown()
{
    if (ComboBox1->count() > 0 || !DBTables.Table1)
        return;
    const QString typed = ComboBox1->currentText();
    try {
        ComboBox1->addItems(LendingBorrowers(DBTables.Table1->tableName()));
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message());
    }
    ComboBox1->setEditText(typed);
}

void TDVerlSuche::MoveCalendar(int years, int months)
{
    Calendar1->setSelectedDate(query::ShiftCalendar(Calendar1->selectedDate(), years, months));
}

void TDVerlSuche::RunSearch(QWidget *owner)
{
    if (RadioButton4->Checked()) {
        ShowReminderList(true, owner);
    } else if (RadioButton3->Checked()) {
        const bool byLend = CBVerlOrRueck->currentIndex() == 0;
        ShowLendingQuery(byLend, !byLend, true, Edit1->text().trimmed(), owner);
    } else {
        const QString name = RadioButton2->Checked() ? ComboBox1->currentText().trimmed() : QString();
        ShowLendingQuery(false, false, true, name, owner);
    }
}

void ExecLendingSearch(QWidget *caller)
{
    auto *metal = qobject_cast<tOzoFormMetal *>(caller ? caller->window() : nullptr);
    if (metal)
        metal->ShowInactiveCaption();
    auto d = std::unique_ptr<TDVerlSuche>(CreateForm<TDVerlSuche>(caller ? caller->window() : nullptr));
    if (ExecMetalModal(*d) != mrOk) {
        if (metal)
            metal->ShowActiveCaption();
        return;
    }
    d->RunSearch(caller);
}
