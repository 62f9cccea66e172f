#include "windows/mainform.h"

#include "app/introbox.h"
#include "app/settings.h"
#include "app/startup.h"
#include "data/database.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/help.h"

#include <QApplication>

TMainform *Mainform = nullptr;

TMainform::TMainform(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("Mainform"));
    resize(790, 560);
    auto make = [](const char *name, bool readOnly) {
        auto t = std::make_unique<engine::Table>();
        t->setName(QLatin1String(name));
        t->setReadOnly(readOnly);
        return t;
    };
    Table1 = make("Table1", true);
    Table11 = make("Table11", true);
    Table2 = make("Table2", true);
    FilmTable = make("FilmTable", true);
    PersTable = make("PersTable", true);
}

TMainform::~TMainform()
{
    for (engine::Table *t : {Table1.get(), Table11.get(), Table2.get(), FilmTable.get(), PersTable.get()}) {
        if (DBTables.Table1 == t)
            DBTables.Table1 = nullptr;
        if (DBTables.Table11 == t)
            DBTables.Table11 = nullptr;
        if (DBTables.Table2 == t)
            DBTables.Table2 = nullptr;
        if (DBTables.FilmTable == t)
            DBTables.FilmTable = nullptr;
        if (DBTables.PersTable == t)
            DBTables.PersTable = nullptr;
    }
    if (engine::Session::instance().onPassword)
        engine::Session::instance().onPassword = nullptr;
    if (Mainform == this)
        Mainform = nullptr;
}

void TMainform::FormCreate()
{
    tOzoFormMetal::FormCreate();
    engine::Session::instance().onPassword = [this](const QString &path, QString &pwd) {
        return PwdAbfrage(path, pwd);
    };
    DBTables.Table1 = Table1.get();
    DBTables.Table11 = Table11.get();
    DBTables.Table2 = Table2.get();
    DBTables.FilmTable = FilmTable.get();
    DBTables.PersTable = PersTable.get();
    // After the media table opens: the primary-index repair (the numbering
    // mode and the controls follow with the card).
    Table1->afterOpen = [](engine::DataSet &) { RepairMediaPrimaryIndex(); };
    SetCaption(QStringLiteral("Tarvo"));
}

void TMainform::FormShow()
{
    tOzoFormMetal::FormShow();
    if (m_shown)
        return;
    m_shown = true;
    if (AppTerminating)
        return;
    if (Introbox) {
        Introbox->show();
        Introbox->repaint();
    }
    LoadSettings();
    if (AutoUpdateCheck)
        AutoUpdateCheck();
    const TStartDatabase start = ChooseStartDatabase(CmdFirstArg, DBFile, PersDBFile);
    if (start.Use)
        OpenDatabaseTablesAtStart(start.Base, start.PersBase);
    LoadFreeQueryMenu();
    if (ShowFreeQueryMenu)
        ShowFreeQueryMenu();
}

void TMainform::FormActivate()
{
    tOzoFormMetal::FormActivate();
    const bool introVisible = Introbox && Introbox->isVisible();
    if (introVisible && FirstActivation) {
        Introbox->raise();
        return;
    }
    const auto steps = FirstActivationSteps(FirstActivation, introVisible, ShowTipODay, Table1->active(),
                                            AutoMahnliste);
    if (!steps)
        return;
    if (steps->ShowTip && ShowTipOfDay)
        ShowTipOfDay();
    if (steps->ShowNoDatabaseHint && ShowFileMenuHint)
        ShowFileMenuHint(NoDatabaseHintText());
    if (steps->RunOverdueList && RunOverdueList)
        RunOverdueList();
}

void TMainform::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    CloseDatabaseTables();
}

bool TMainform::PwdAbfrage(const QString &tablePath, QString &password)
{
    return AskEnginePassword(tablePath, password);
}

void TMainform::Neu1Click()
{
    NewDatabaseCommand();
}

void TMainform::ffnen1Click()
{
    OpenDatabaseCommand();
}

void TMainform::Info1Click()
{
    DeactivateMetalForm();
    ShowIntroboxAsAbout(this);
    ReactivateMetalForm();
}
