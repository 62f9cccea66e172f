#include "windows/main/mainform.h"
#include "windows/main/mainformparts.h"

#include "windows/main/mainquicksearch.h"
#include "app/settings.h"
#include "app/startup.h"
#include "data/database.h"
#include "data/mediumcard.h"
#include "data/mediumrecords.h"
#include "data/upwarddoors.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "dbui/errorsink.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/kitresources.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozodbcheck.h"
#include "kit/pzspeedbutton.h"
#include "windows/cards/filmcardhooks.h"
#include "windows/dialogs/dnetmode.h"
#include "windows/cards/freeareadialogs.h"
#include "windows/main/maincommands.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/main/introboxdoor.h"
#include "windows/main/mainmenus.h"
#include "windows/cards/mediumkind.h"
#include "windows/cards/personcardhooks.h"
#include "windows/queries/queryform.h"
#include "windows/main/tipofday.h"
#include "windows/main/whint.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wnotes.h"
#include "windows/cards/wpers.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

TMainform *Mainform = nullptr;

using namespace mainparts;

// ---- creation -------------------------------------------------------------------

TMainform::TMainform(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("Mainform"));
    BorderIcons = biSystemMenu | biMinimize;
    ShowZoomButton();
    resize(600, 534);
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
    Records = std::make_unique<MediumRecords>(DataSets());
    MediumRecords::DeclareMediaCalcFields(*Table1);
    MediumRecords::DeclareMediaCalcFields(*Table11);
    DataSource1 = new dbui::DataSource(Table1.get(), this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    for (const char *n : {"NONOTES", "NONOTESGRA", "NOMEMO", "NOMEMOGRA", "NOTES", "NOTESGRA"})
        m_notesPictures.insert(QLatin1String(n), LoadResourceBitmap(QLatin1String(n)));

    buildToolBar();
    buildCard();
    buildSlots();
    buildLending();
    QuickSearchPart = new TMainQuickSearch(this);

    Status1 = makeLabel(this, "Status1", QString(), QRect(8, 480, 200, 20));
    Status2 = makeLabel(this, "Status2", QString(), QRect(212, 480, 380, 20));
    for (QLabel *s : {Status1, Status2}) {
        s->setFrameShape(QFrame::Panel);
        s->setFrameShadow(QFrame::Sunken);
        s->setIndent(4);
    }

    PanelFilmListe = named(new QWidget(this), "PanelFilmListe");
    PanelFilmListe->setGeometry(8, 506, 584, 200);
    QueryFL = std::make_unique<engine::Query>();
    QueryFL->setName(QStringLiteral("QueryFL"));
    DataSourceFL = new dbui::DataSource(QueryFL.get(), this);
    DataSourceFL->setObjectName(QStringLiteral("DataSourceFL"));
    DBGridFL = named(new dbui::DbGrid(PanelFilmListe), "DBGridFL");
    DBGridFL->setGeometry(0, 0, 584, 200);
    DBGridFL->setDataSource(DataSourceFL);
    DBGridFL->setRowSelect(true);
    DBGridFL->setReadOnly(true);
    PanelFilmListe->hide();

    NetRefresh = named(new QTimer(this), "NetRefresh");
    connect(NetRefresh, &QTimer::timeout, this, [this] { NetRefreshTimer(); });

    LockButton1 = named(new TLockButton(this), "LockButton1");
    LockButton1->setGeometry(0, 0, 20, 18);
    connect(LockButton1, &TPZSpeedButton::Click, this, [this] { SpBReadOnlyClick(); });

    bindEvents();
    setFilmStripPictures();
    Commands = new TMainCommands(*this, *Menus);
    FillUpwardDoors();
}

TMainform::~TMainform()
{
    ReleaseRecordWindows();
    NetRefresh->stop();
    // The window's own handlers go first, then the data sets close while
    // everything a close may still reach is alive.
    m_events.clear();
    DataSource1->setDataSet(nullptr);
    DataSourceFL->setDataSet(nullptr);
    const std::initializer_list<engine::DataSet *> sets = {Table1.get(), Table11.get(), Table2.get(),
                                                           FilmTable.get(), PersTable.get(), QueryFL.get()};
    for (engine::DataSet *ds : sets)
        dbui::guarded([ds] { ds->close(); });
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
    EmptyUpwardDoors();
    if (engine::Session::instance().onPassword)
        engine::Session::instance().onPassword = nullptr;
    if (Mainform == this)
        Mainform = nullptr;
}

// The record windows bound to the tables here go before the tables do.
void TMainform::ReleaseRecordWindows()
{
    ReleaseNotesWindow();
    ReleasePersonCard();
    ReleaseFilmCard();
}

MainDataSets TMainform::DataSets() const
{
    return MainDataSets{Table1.get(), Table11.get(), Table2.get(), FilmTable.get()};
}


void TMainform::bindEvents()
{
    connect(DataSource1, &dbui::DataSource::dataChange, this,
            [this](engine::Field *f) { DataSource1DataChange(f); });
    connect(DataSource1, &dbui::DataSource::stateChange, this, [this] {
        if (!Table1->active()) {
            DBNavigator1->setEnabled(false);
            PanelKrt->setEnabled(false);
            ShowMediumFilms();
            UpdateStatusLine();
            updateKindControls();
        }
    });
    // Edit attempts on the locked card blink the lock.
    for (dbui::DbEdit *e : {DBMed, DBNr, DBLen, DBVerleihdatum, DBRueckgabedatum}) {
        connect(e, &dbui::DbEdit::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
        e->installEventFilter(this);
    }
    connect(DBVerliehen, &dbui::DbComboBox::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
    connect(DBChkGedruckt, &TOzoCustomDBCheck::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
    DBVerliehen->link()->onKeyPress = [this](QChar &key) { LimitComboToFieldSize(DBVerliehen, key); };
    DBVerliehen->installEventFilter(this);
    if (DBVerliehen->lineEdit())
        DBVerliehen->lineEdit()->installEventFilter(this);
    connect(DBMed, &QLineEdit::textEdited, this, [this](const QString &t) {
        guardedStep([&] {
            Records->DBMedChange(t);
        });
        // The card follows the typed kind at once (panels, length, disc).
        updateKindControls();
        ShowMediumFilms();
    });
    connect(ButtPPPMed, &QPushButton::clicked, this, [this] { ButtPPPMedClick(); });

    InstallFreeFieldCaptions(); // the caption table follows the open database

    m_events.clear();
    m_events.push_back(Table1->afterOpen.subscribe([](engine::DataSet &) { RepairMediaPrimaryIndex(); }));
    m_events.push_back(FilmTable->afterOpen.subscribe([](engine::DataSet &) {
        RepairFilmPrimaryIndex();
        FollowMediaNumberingIndex();
    }));
    // The program's own writes during a post (a key put back, a lending date
    // cleared) are not the user's changes.
    // Input the card cannot store is refused before the record rules run.
    m_events.push_back(Table1->beforePost.subscribe([](engine::DataSet &ds) {
        engine::Field *len = ds.findField(QStringLiteral("Len"));
        engine::Field *lent = ds.findField(QStringLiteral("Verleihdatum"));
        engine::Field *back = ds.findField(QStringLiteral("Rueckgabedatum"));
        const QString problem = MediumInputProblem(len && !len->isNull() ? len->asInteger() : 0,
                                                   lent ? lent->asDate() : QDate(), back ? back->asDate() : QDate(),
                                                   len ? len->displayLabel() : QString(),
                                                   lent ? lent->displayLabel() : QString(),
                                                   back ? back->displayLabel() : QString());
        if (!problem.isEmpty())
            engine::raise(engine::ErrInvalidValue, problem);
    }));
    Records->programWrites = &m_programWrites;
    Records->installEvents();
    m_events.push_back(Table1->afterOpen.subscribe([this](engine::DataSet &ds) { afterOpenMedia(ds); }));
    m_events.push_back(Table1->afterClose.subscribe([this](engine::DataSet &) {
        ShowMediumFilms();
        UpdateStatusLine();
    }));
    for (engine::Table *t : {Table1.get(), Table11.get()})
        t->onFilterRecord = [this](engine::DataSet &ds) { return Table1FilterRecord(ds); };
    // Whoever closed and reopened the tables (a new database, the numbering
    // mode, a statement of the query window, a pack), the status line shows
    // the open database again.
    m_events.push_back(Table2->afterOpen.subscribe([this](engine::DataSet &) {
        ShowMediumFilms();
        UpdateStatusLine();
    }));
}

void TMainform::afterOpenMedia(engine::DataSet &ds)
{
    // Messages about a field name it by the caption the user sees.
    const std::pair<QLabel *, QString> captions[] = {
        {LabelMed, DBMed->dataField()},
        {LabelNr, DBNr->dataField()},
        {LabelLen, DBLen->dataField()},
        {LabelVerliehen, DBVerliehen->dataField()},
        {LabelVerleihdatum, DBVerleihdatum->dataField()},
        {LabelRueckgabedatum, DBRueckgabedatum->dataField()}};
    for (const auto &[label, name] : captions)
        if (engine::Field *f = ds.findField(name))
            f->setDisplayLabel(FieldCaptionOfLabel(label->text()));
    PanelKrt->setEnabled(true);
    DBNavigator1->setEnabled(true);
    for (QAction *a : {MenEditieren, FilternnachRestspielzeit1, MediumNrLokalisieren1})
        a->setEnabled(true);
    for (TPZSpeedButton *b : {TBAnsicht, TBDruck, TBSuche, SpBReadOnly, SpBRest})
        b->setEnabled(true);
    UpdateStatusLine();
}

void TMainform::FormCreate()
{
    tOzoFormMetal::FormCreate();
    // The window fits the card and its status line; the film table under the
    // card adds its own height when it is shown.
    LowestBottom = Status2->geometry().bottom() + 5;
    engine::Session::instance().onPassword = [this](const QString &path, QString &pwd) {
        return PwdAbfrage(path, pwd);
    };
    DBTables.Table1 = Table1.get();
    DBTables.Table11 = Table11.get();
    DBTables.Table2 = Table2.get();
    DBTables.FilmTable = FilmTable.get();
    DBTables.PersTable = PersTable.get();
    SetCaption(QStringLiteral("Tarvo"));
    placeLockButton();
    // Without a database the card and the commands that need one are off.
    for (QAction *a : {MenEditieren, FilternnachRestspielzeit1, MediumNrLokalisieren1})
        a->setEnabled(Table1->active());
    for (TPZSpeedButton *b : {SpBReadOnly, SpBRest})
        b->setEnabled(Table1->active());
    PanelKrt->setEnabled(Table1->active());
    DBNavigator1->setEnabled(Table1->active());
    SyncReadOnlyState();
    ShowMediumFilms();
    UpdateStatusLine();
}

void TMainform::placeLockButton()
{
    if (!PanelHead) {
        LockButton1->hide();
        return;
    }
    LockButton1->setParent(PanelHead);
    int left = PanelHead->width();
    for (QWidget *b : {static_cast<QWidget *>(WinZoomButt), static_cast<QWidget *>(WinDownButt),
                       static_cast<QWidget *>(WinUpButt), static_cast<QWidget *>(WinBigButt),
                       static_cast<QWidget *>(WinXButt)})
        if (b && b->isVisibleTo(PanelHead) && PanelHead->isAncestorOf(b))
            left = std::min(left, b->mapTo(PanelHead, QPoint(0, 0)).x());
    const int h = 18;
    LockButton1->setGeometry(left - 26, std::max(0, (PanelHead->height() - h) / 2), 20, h);
    LockButton1->show();
    LockButton1->raise();
}

void TMainform::FormShow()
{
    tOzoFormMetal::FormShow();
    placeLockButton();
    if (m_shown)
        return;
    m_shown = true;
    AddNetModeButton(Status2, NetworkMode);
    if (AppTerminating)
        return;
    if (IntroboxDoor.ShowNow)
        IntroboxDoor.ShowNow();
    LoadSettings();
    CallDoor(UpwardDoors.AutoUpdateCheck);
    Records->dvdKkNur1Film = dvd_kk_nur1film;
    Records->rest1to5 = bRest1bis4;
    Records->networkMode = NetworkMode;
    const TStartDatabase start = ChooseStartDatabase(CmdFirstArg, DBFile, PersDBFile);
    if (start.Use)
        OpenDatabaseTablesAtStart(start.Base, start.PersBase);
    LoadFreeQueryMenu();
    Menus->ShowFreeQueryMenu();
    if (NetworkMode) {
        NetRefresh->setInterval(NetRefreshInterval);
        NetRefresh->start();
    }
    SyncReadOnlyState();
    ShowMediumFilms();
    UpdateStatusLine();
}

void TMainform::FormActivate()
{
    tOzoFormMetal::FormActivate();
    const bool introVisible = IntroboxDoor.Visible && IntroboxDoor.Visible();
    if (introVisible && FirstActivation) {
        IntroboxDoor.Raise();
        return;
    }
    const auto steps = FirstActivationSteps(FirstActivation, introVisible, ShowTipODay, Table1->active(),
                                            AutoMahnliste);
    if (!steps)
        return;
    if (steps->ShowTip)
        ShowTipOfTheDay(this);
    if (steps->ShowNoDatabaseHint)
        ShowPointingHintAt(TBDatei, 22, TBDatei->height() + 1, NoDatabaseHintText());
    if (steps->RunOverdueList)
        ShowReminderList(false, this);
}

void TMainform::FormDeactivate()
{
    tOzoFormMetal::FormDeactivate();
    // Leaving the window posts a pending insert or edit of the card. A modal
    // dialog of the program (a question asked in the middle of a change, the
    // kind chooser) is part of that change and does not count as leaving.
    QTimer::singleShot(0, this, [this] {
        if (isActiveWindow() || QApplication::activeModalWidget() || m_inDataChange)
            return;
        guardedStep([&] {
            postPending(Table1.get());
        });
    });
}

void TMainform::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    // Closing the main window ends the program: the other windows close
    // first, the record windows posting their pending edits as on their own
    // close, so that the last window to close is this one and the event loop
    // ends. One that keeps itself open (a refused post, a film without a
    // title the user goes on editing) keeps the program running.
    if (!CloseOtherWindows()) {
        action = caNone;
        return;
    }
    NetRefresh->stop();
    // A refused post is given up; the tables close whatever happens.
    if (!guardedStep([this] { postPending(QueryFL.get()); }))
        QueryFL->cancel();
    if (QueryFL->active())
        QueryFL->close();
    CloseDatabaseTables();
}

bool TMainform::CloseOtherWindows()
{
    // The record windows first: their edits belong to tables that close here.
    QList<QWidget *> windows{WFilm, WPers, WNotes};
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!windows.contains(w))
            windows.append(w);
    for (QWidget *w : std::as_const(windows)) {
        if (!w || w == this || !w->isVisible())
            continue;
        w->close();
        if (w->isVisible())
            return false;
    }
    return true;
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
    MetalFormDeactivation away;
    if (IntroboxDoor.ShowAsAbout)
        IntroboxDoor.ShowAsAbout(this);
}

QPixmap TMainform::NotesPicture(const QString &name) const
{
    return m_notesPictures.value(name);
}

// ---- refresh -----------------------------------------------------------------------------------

void TMainform::NetRefreshTimer()
{
    for (engine::Table *t : {FilmTable.get(), Table2.get(), PersTable.get(), Table1.get(), Table11.get()}) {
        if (!isBrowsing(t))
            continue;
        try {
            t->refresh();
        } catch (const engine::EngineError &) {
            // The next tick tries again.
        }
    }
    ShowMediumFilms();
    UpdateStatusLine();
}

void TMainform::NavRefreshClick()
{
    for (engine::Table *t : {Table1.get(), Table11.get(), FilmTable.get(), Table2.get(), PersTable.get()})
        if (t->active())
            t->refresh();
    ShowMediumFilms();
    UpdateStatusLine();
}

// ---- zoom, keys, wheel ------------------------------------------------------------------------------

void TMainform::setFilmStripPictures()
{
    m_stripActive = LoadResourceBitmap(Zoomed ? QStringLiteral("FILMSTREIFENBLAU120") : QStringLiteral("FILMSTREIFENBLAU"));
    m_stripNormal = LoadResourceBitmap(Zoomed ? QStringLiteral("FILMSTREIFENGRAU120") : QStringLiteral("FILMSTREIFENGRAU"));
    // One strip with the active picture first (hot and pressed), the normal one second.
    QImage strip;
    if (!m_stripActive.isNull() && !m_stripNormal.isNull()) {
        const QSize sz = m_stripNormal.size();
        strip = QImage(sz.width() * 2, sz.height(), QImage::Format_ARGB32);
        strip.fill(Qt::transparent);
        QPainter p(&strip);
        p.drawPixmap(0, 0, m_stripActive);
        p.drawPixmap(sz.width(), 0, m_stripNormal);
    }
    for (TPZSpeedButton *f : Film) {
        f->SetGlyph(strip);
        if (!strip.isNull())
            f->SetNumGlyphs(2);
        f->setProperty("StripName", Zoomed ? QStringLiteral("FILMSTREIFENGRAU120") : QStringLiteral("FILMSTREIFENGRAU"));
    }
}

void TMainform::SetZoomed(bool z)
{
    tOzoFormMetal::SetZoomed(z);
    setFilmStripPictures();
    placeLockButton();
}

void TMainform::FormResize()
{
    tOzoFormMetal::FormResize();
    // The title's buttons moved with the new width; the lock goes with them.
    placeLockButton();
}

bool TMainform::eventFilter(QObject *watched, QEvent *event)
{
    for (int s = 0; s < 5; ++s) {
        if (watched != Image[size_t(s)])
            continue;
        QLabel *l = Image[size_t(s)];
        if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
            const bool enter = event->type() == QEvent::Enter;
            QFont f = l->font();
            f.setPointSizeF(f.pointSizeF() + (enter ? 3 : -3));
            l->setFont(f);
            l->move(l->x(), l->y() + (enter ? -2 : 2));
        } else if (event->type() == QEvent::MouseButtonRelease) {
            ImageClick(s + 1);
            return true;
        }
        return tOzoFormMetal::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == DBVerleihdatum || watched == DBRueckgabedatum)
            DateEditEnter(static_cast<dbui::DbEdit *>(watched));
        else if (PanelKalender->isVisible())
            OtherControlEnter();
    }
    if (event->type() == QEvent::KeyPress && Table1->active()) {
        auto *ke = static_cast<QKeyEvent *>(event);
        const int vk = VirtualKeyOf(*ke);
        if (Table1->readOnly() && (vk == VK_INSERT || vk == VK_DELETE || vk == VK_ADD || vk == VK_SUBTRACT)) {
            LockButton1->BlinkIfLocked();
            return true;
        }
        const bool combo = watched == DBVerliehen || (DBVerliehen->lineEdit() && watched == DBVerliehen->lineEdit());
        const int options = combo ? ComboNavOptions(*DBVerliehen) : 127;
        bool handled = false;
        const bool ran = guardedStep([&] {
            if (vk && HandleDataSetKey(*Table1, options, *ke)) {
                handled = true;
                if (Table1->state() == engine::DataSetState::Insert)
                    focusInsertField();
            }
        });
        if (handled || !ran)
            return true;
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

void TMainform::focusInsertField()
{
    // The first insert decides once where a new medium's input starts: at the
    // kind when each kind counts on its own.
    if (InsertFocusField == QLatin1String("-"))
        InsertFocusField = Records->numberingMode() == NumberingMode::PerKind ? QStringLiteral("Medium") : QString();
    if (InsertFocusField == QLatin1String("Medium"))
        DBMed->setFocus();
}

void TMainform::keyPressEvent(QKeyEvent *e)
{
    if (e->modifiers() == Qt::NoModifier && e->key() == Qt::Key_F12 && Table1->active()) {
        SpBReadOnlyClick();
        return;
    }
    tOzoFormMetal::keyPressEvent(e);
}

void TMainform::wheelEvent(QWheelEvent *e)
{
    if (!mediaBrowsing() || e->angleDelta().y() == 0 || DBGridFL->hasFocus()) {
        tOzoFormMetal::wheelEvent(e);
        return;
    }
    guardedStep([&] {
        if (e->angleDelta().y() < 0)
            Table1->next();
        else
            Table1->prior();
    });
    e->accept();
}
