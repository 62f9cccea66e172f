#include "windows/cards/wpers.h"

#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "data/freefieldlinks.h"
#include "data/persons.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "dbui/dbimage.h"
#include "dbui/dbmemo.h"
#include "dbui/dbnavigator.h"
#include "dbui/gridmodel.h"
#include "dbui/pictureloader.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/dragdrop.h"
#include "kit/enterexitbutton.h"
#include "kit/inpboxmetal.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "windows/queries/dwebsuche.h"
#include "windows/cards/editlabels.h"
#include "windows/exchange/exportcommands.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/cards/freefieldmenu.h"
#include "windows/cards/freefieldrows.h"
#include "kit/wmemo.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/freefieldtypeahead.h"
#include "windows/queries/queryform.h"
#include "windows/cards/wgrafik.h"
#include "windows/cards/cardhead.h"
#include "windows/dialogs/windowparts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTabBar>

TWPers *WPers = nullptr;

TWPers *PersonCard()
{
    if (!WPers)
        WPers = CreateForm<TWPers>();
    return WPers;
}

using windowparts::named;
using windowparts::showEngineError;
using windowparts::editingState;

namespace {
constexpr int kCardWidth = 560;
constexpr int kListWidth = 260;
} // namespace

TWPers::TWPers(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WPers"));
    resize(kCardWidth, 520);
    DataSource1 = named(new dbui::DataSource(this), QStringLiteral("DataSource1"));
    DataSourceList = named(new dbui::DataSource(this), QStringLiteral("DataSourceList"));
    QueryNames = std::make_unique<engine::Query>();
    QueryNames->setName(QStringLiteral("QueryNames"));
    QueryFilms = std::make_unique<engine::Query>();
    QueryFilms->setName(QStringLiteral("QueryFilms"));
    buildCard();
    buildAttachments();
    buildList();
    connect(DataSource1, &dbui::DataSource::dataChange, this, [this](engine::Field *f) { DataSource1DataChange(f); });
    m_labelsId = SubscribeFreeFieldLabels([this](TFreeKind kind, int) {
        if (kind == TFreeKind::Person)
            applyCaptions();
    });
    Create();
    SetCaption(QStringLiteral("Personendaten"));
}

TWPers::~TWPers()
{
    UnsubscribeFreeFieldLabels(m_labelsId);
    m_events.clear(); // the person table outlives the card
    DataSource1->setDataSet(nullptr);
    DataSourceList->setDataSet(nullptr);
    if (WPers == this)
        WPers = nullptr;
}

void TWPers::buildCard()
{
    const windowparts::TCardHead head = windowparts::addCardHead(this, DataSource1, QStringLiteral("Personen-Karteikarte"), 260,
                                                                 kCardWidth - 40, QRect(280, 28, 268, 24));
    PZLabelKrtB = head.heading;
    LockButton1 = head.lock;
    DBNavigator1 = head.navigator;

    auto *labelName = new QLabel(QStringLiteral("&Name:"), this);
    labelName->setGeometry(12, 62, 70, 18);
    DBEName = named(new dbui::DbEdit(this), QStringLiteral("DBEName"));
    DBEName->setGeometry(86, 60, 300, 23);
    DBEName->setDataSource(DataSource1);
    DBEName->setDataField(QStringLiteral("Name"));
    labelName->setBuddy(DBEName);
    connect(DBEName, &dbui::DbEdit::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
    ChkM = named(new TOzoCheck(this), QStringLiteral("ChkM"));
    ChkM->SetCaption(QStringLiteral("M"));
    ChkM->setGeometry(400, 62, 50, 20);
    ChkF = named(new TOzoCheck(this), QStringLiteral("ChkF"));
    ChkF->SetCaption(QStringLiteral("F"));
    ChkF->setGeometry(456, 62, 50, 20);
    ChkM->OnClick = [this](QObject *) { SexClick(false); };
    ChkF->OnClick = [this](QObject *) { SexClick(true); };

    auto *labelSuche = new QLabel(QStringLiteral("&Suche:"), this);
    labelSuche->setGeometry(12, 96, 70, 18);
    EditSuche = named(new QLineEdit(this), QStringLiteral("EditSuche"));
    EditSuche->setGeometry(86, 94, 200, 23);
    labelSuche->setBuddy(EditSuche);
    ButtNamen = named(new TOzoNewButton(this), QStringLiteral("ButtNamen"));
    ButtNamen->setText(QStringLiteral("&Namen..."));
    ButtNamen->setGeometry(292, 94, 94, 23);
    ButtExpand = named(new TOzoNewButton(this), QStringLiteral("ButtExpand"));
    ButtExpand->setText(PersonExpandCaption(false, false));
    ButtExpand->setGeometry(392, 94, 156, 23);

    auto speed = [this](const char *name, const QString &caption, const QString &hint, int x) {
        auto *b = named(new TPZSpeedButton(this), QLatin1String(name));
        b->setGeometry(x, 126, 26, 24);
        b->SetCaption(caption);
        b->setToolTip(hint);
        return b;
    };
    SpBDetails = speed("SpBDetails", QStringLiteral("SQL"), QStringLiteral("Liste als Abfrage anzeigen"), 86);
    SpBWeb = speed("SpBWeb", QStringLiteral("@"), QStringLiteral("Internet-Suche (F10)"), 116);
    SpBExport = speed("SpBExport", QStringLiteral("⇪"), QStringLiteral("Anhang exportieren..."), 146);
    SpBPrint = speed("SpBPrint", QStringLiteral("≡"), QStringLiteral("Personen-Seite drucken..."), 176);
    connect(SpBPrint, &TPZSpeedButton::Click, this, [this] {
        if (Table1 && Table1->active() && !Table1->isEmpty() && postPending())
            PrintPersonPage(PageSource());
    });

    ButtOK = named(new TOzoNewButton(this), QStringLiteral("ButtOK"));
    ButtOK->setText(QStringLiteral("OK"));
    ButtOK->setGeometry(330, 126, 100, 25);
    ButtCancel = named(new TOzoNewButton(this), QStringLiteral("ButtCancel"));
    ButtCancel->setText(QStringLiteral("Abbrechen"));
    ButtCancel->setGeometry(440, 126, 108, 25);
    ButtClose = named(new TOzoNewButton(this), QStringLiteral("ButtClose"));
    ButtClose->setText(QStringLiteral("Schließen"));
    ButtClose->setGeometry(440, 126, 108, 25);
    ButtOK->hide();
    ButtCancel->hide();

    connect(ButtNamen, &QPushButton::clicked, this, [this] { ButtNamenClick(); });
    connect(ButtExpand, &QPushButton::clicked, this, [this] { ButtExpandClick(); });
    connect(EditSuche, &QLineEdit::returnPressed, this, [this] {
        ButtNamenClick();
        DBGridList->setFocus();
    });
    connect(EditSuche, &QLineEdit::textEdited, this, [this] {
        if (ListMode == 2)
            ShowPersonSidePanel(1);
    });
    connect(SpBDetails, &TPZSpeedButton::Click, this, [this] { SpBDetailsClick(); });
    connect(SpBWeb, &TPZSpeedButton::Click, this, [this] {
        postPending();
        ExecWebSearch(QStringLiteral("Pers"), Table1);
    });
    connect(SpBExport, &TPZSpeedButton::Click, this, [this] {
        if (!Table1 || !Table1->active() || Table1->isEmpty())
            return;
        postPending();
        AttachmentExportContext ctx;
        for (int n = 1; n <= PersonFreeCount; ++n)
            ctx.freeCaptions << GetPersonFreeLabel(n);
        ExecAttachmentExport(this, AttachmentKind::Person, *Table1, ctx, [this](QString &caption, QStringList &films) {
            caption = PersonFilmsHeading(female());
            films.clear();
            const int mode = ListMode;
            try {
                ShowPersonSidePanel(3);
                for (QueryFilms->first(); !QueryFilms->eof(); QueryFilms->next())
                    films << QueryFilms->field(0)->asString();
            } catch (const engine::EngineError &e) {
                showEngineError(e);
            }
            ShowPersonSidePanel(mode);
        });
    });
    connect(ButtOK, &QPushButton::clicked, this, [this] {
        if (postPending())
            done(mrOk);
    });
    connect(ButtCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(ButtClose, &QPushButton::clicked, this, [this] { close(); });
}

TFreeFieldLinkTarget TWPers::linkTarget(int nr)
{
    TFreeFieldLinkTarget t;
    t.dataSet = Table1;
    t.field = Table1->fieldByName(QStringLiteral("Free%1").arg(nr));
    t.linkEdit = DBEF[size_t(nr - 1)];
    t.proposedFolder = Table1->fieldByName(QStringLiteral("Name"))->asString().left(qMax(1, t.field->size() - 1));
    t.blinkLock = [this] { LockButton1->BlinkIfLocked(); };
    return t;
}

void TWPers::buildAttachments()
{
    TabSet1 = named(new QTabBar(this), QStringLiteral("TabSet1"));
    TabSet1->setGeometry(12, 162, 536, 24);
    TabSet1->addTab(QStringLiteral("Frei verwendbare Felder:"));
    TabSet1->addTab(QStringLiteral("Notizen, Beschreibung..."));
    TabSet1->addTab(QStringLiteral("Foto, Grafik..."));
    const QRect area(12, 188, 536, 320);
    PanelFree = named(new QWidget(this), QStringLiteral("PanelFree"));
    PanelFree->setGeometry(area);
    TypeAhead = new TFreeFieldTypeAhead(
        [this](int nr, const QString &typed) {
            try {
                return Table1 && Table1->active() ? FindTypeAheadCompletion(*Table1, nr, typed) : QString();
            } catch (const engine::EngineError &) {
                return QString();
            }
        },
        this);
    TypeAhead->beforeKey = [this] { LockButton1->BlinkIfLocked(); };
    TFreeFieldRowLayout layout;
    layout.count = PersonFreeCount;
    layout.rowHeight = 32;
    layout.caption = QRect(0, 3, 130, 18);
    layout.combo = QRect(134, 0, 360, 24);
    layout.button = QRect(498, 0, 24, 24);
    layout.captionName = QStringLiteral("DBEFL");
    const std::vector<TFreeFieldRow> rows = AddFreeFieldRows(PanelFree, DataSource1, layout);
    for (int i = 0; i < PersonFreeCount; ++i) {
        const int nr = i + 1;
        DBEFL[size_t(i)] = rows[size_t(i)].caption;
        DBEF[size_t(i)] = rows[size_t(i)].combo;
        ButtF[size_t(i)] = rows[size_t(i)].button;
        DBEFL[size_t(i)]->setCursor(Qt::PointingHandCursor);
        DBEFL[size_t(i)]->installEventFilter(this);
        TypeAhead->attach(DBEF[size_t(i)], nr);
        connect(DBEF[size_t(i)], &dbui::DbComboBox::dropDown, this,
                [this, nr] { FillFreeFieldCombo(DBEF[size_t(nr - 1)], Table1, nr); });
        connect(DBEF[size_t(i)], &dbui::DbComboBox::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
        connect(ButtF[size_t(i)], &TPZSpeedButton::Click, this, [this, nr] {
            dbui::DbComboBox *c = DBEF[size_t(nr - 1)];
            if (!GetPersonFreeIsFileLink(nr) || !Table1 || !Table1->active()) {
                c->setFocus();
                c->showPopup();
                return;
            }
            PopupFreeFieldMenu(ButtF[size_t(nr - 1)]->mapToGlobal(QPoint(0, 0)), linkTarget(nr));
        });
        // A file dropped onto a file-link field is linked or copied; other
        // fields take no files.
        dbui::DbComboBox *c = DBEF[size_t(i)];
        TDragDropFiles *drop = AttachFreeFieldFileDrop(c->lineEdit() ? static_cast<QWidget *>(c->lineEdit()) : c,
                                                       [this, nr] { return linkTarget(nr); });
        drop->setObjectName(QStringLiteral("DragDropFiles%1").arg(nr));
        drop->OnDragEnter = [this, nr](const QMimeData *, int, QPoint, int &, bool &accept) {
            accept = accept && GetPersonFreeIsFileLink(nr) && Table1 && Table1->active();
        };
    }
    PanelMemo = named(new QWidget(this), QStringLiteral("PanelMemo"));
    PanelMemo->setGeometry(area);
    DBMemo = named(new dbui::DbMemo(PanelMemo), QStringLiteral("DBMemo"));
    DBMemo->setGeometry(0, 0, area.width(), area.height());
    DBMemo->setDataSource(DataSource1);
    DBMemo->setDataField(QStringLiteral("Memo"));
    DBMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    DBMemo->installEventFilter(this);
    connect(DBMemo, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("PopupMemo"));
        QAction *find = menu.addAction(QStringLiteral("Memotext durchsuchen"));
        QAction *next = menu.addAction(QStringLiteral("Weitersuchen"));
        QAction *chosen = kit::popupMenu(menu, DBMemo->mapToGlobal(pos));
        if (chosen == find)
            MemoSearch.find(*DBMemo);
        else if (chosen == next)
            MemoSearch.findNext(*DBMemo);
    });
    const RecordPicturePage picture = AddRecordPicturePage(this, area, DataSource1, LockButton1, QStringLiteral("Name"));
    PanelGrafik = picture.panel;
    DBImage1 = picture.image;
    PopupGrafik = picture.popup;
    Einfgen1 = picture.entries.paste;
    Kopieren1 = picture.entries.copy;
    Ausschneiden1 = picture.entries.cut;
    GrafikLaden1 = picture.entries.load;
    GrafikFenster1 = picture.window;
    connect(TabSet1, &QTabBar::currentChanged, this, [this](int i) {
        PanelFree->setVisible(i == 0);
        PanelMemo->setVisible(i == 1);
        PanelGrafik->setVisible(i == 2);
    });
    PanelMemo->hide();
    PanelGrafik->hide();
    applyCaptions();
}

void TWPers::buildList()
{
    PanelList = named(new QWidget(this), QStringLiteral("PanelList"));
    PanelList->setGeometry(kCardWidth, 30, kListWidth - 12, 478);
    LabelList = named(new QLabel(PanelList), QStringLiteral("LabelList"));
    LabelList->setGeometry(0, 0, kListWidth - 12, 18);
    QFont f = LabelList->font();
    f.setBold(true);
    LabelList->setFont(f);
    DBGridList = named(new dbui::DbGrid(PanelList), QStringLiteral("DBGridList"));
    DBGridList->setGeometry(0, 22, kListWidth - 12, 456);
    DBGridList->setDataSource(DataSourceList);
    DBGridList->setReadOnly(true);
    DBGridList->setRowSelect(true);
    connect(DBGridList, &QAbstractItemView::clicked, this, [this] { ListClick(); });
    connect(DBGridList, &QAbstractItemView::doubleClicked, this, [this] { ListDblClick(); });
    PanelList->hide();
}

void TWPers::applyCaptions()
{
    for (int n = 1; n <= PersonFreeCount; ++n)
        DBEFL[size_t(n - 1)]->setText(GetPersonFreeLabel(n));
}

void TWPers::SetTables(engine::Table *persons, engine::Table *films)
{
    Table1 = persons;
    FilmTable = films;
    DataSource1->setDataSet(persons);
    m_events.clear();
    if (persons) {
        m_events.push_back(persons->beforePost.subscribe([this](engine::DataSet &ds) { Table1BeforePost(ds); }));
        m_events.push_back(persons->afterPost.subscribe([this](engine::DataSet &ds) { Table1AfterPost(ds); }));
        m_events.push_back(persons->beforeEdit.subscribe([this](engine::DataSet &ds) { Table1BeforeEdit(ds); }));
        m_events.push_back(persons->afterInsert.subscribe([this](engine::DataSet &ds) { Table1AfterInsert(ds); }));
        m_events.push_back(persons->afterOpen.subscribe([this](engine::DataSet &ds) { Table1AfterOpen(ds); }));
        m_events.push_back(persons->afterClose.subscribe([this](engine::DataSet &) { ShowPersonSidePanel(0); }));
    }
    SyncLock(persons && persons->active() && !persons->readOnly());
    showRecord();
}

void TWPers::SyncLock(bool editing)
{
    LockButton1->SetLocked(!editing);
    const bool writable = editing && Table1 && Table1->active() && !Table1->readOnly();
    Ausschneiden1->setEnabled(writable);
    Einfgen1->setEnabled(writable);
    GrafikLaden1->setEnabled(writable);
}

bool TWPers::female() const
{
    return Table1 && Table1->active() && !Table1->isEmpty()
        && Table1->fieldByName(QStringLiteral("MF"))->asString() == QLatin1String("F");
}

void TWPers::showRecord()
{
    const bool f = female();
    const bool m = Table1 && Table1->active() && !Table1->isEmpty()
        && Table1->fieldByName(QStringLiteral("MF"))->asString() == QLatin1String("M");
    ChkM->SetChecked(m);
    ChkF->SetChecked(f);
    ButtExpand->setText(PersonExpandCaption(ListMode != 0, f));
}

void TWPers::SexClick(bool isFemale)
{
    if (!Table1 || !Table1->active() || Table1->readOnly()) {
        LockButton1->BlinkIfLocked();
        showRecord();
        return;
    }
    if (!DataSource1->edit()) {
        showRecord();
        return;
    }
    Table1->fieldByName(QStringLiteral("MF"))->setAsString(isFemale ? QStringLiteral("F") : QStringLiteral("M"));
    showRecord();
}

bool TWPers::postPending()
{
    return windowparts::postRecord(Table1, QStringLiteral("Die Person"));
}

// ---- the side list ----------------------------------------------------------------------

void TWPers::rebuildQueries()
{
    QueryNames->close();
    QueryFilms->close();
    if (Table1 && !Table1->tableName().isEmpty())
        QueryNames->setSql(PersonListSql(SQLTableRef(Table1->tableName())));
    if (FilmTable && !FilmTable->tableName().isEmpty())
        QueryFilms->setSql(PersonFilmsSql(SQLTableRef(FilmTable->tableName()), PersonFilmFields()));
}

void TWPers::ShowPersonSidePanel(int mode)
{
    ListMode = mode;
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    if (m_plainWidth == 0)
        m_plainWidth = width();
    if (mode == 0) {
        PanelList->hide();
        DataSourceList->setDataSet(nullptr);
        QueryNames->close();
        QueryFilms->close();
        resize(m_plainWidth, height());
        if (x() < avail.left())
            move(avail.left(), y());
    } else {
        PanelList->show();
        resize(m_plainWidth + kListWidth, height());
        if (x() + width() > avail.right())
            move(qMax(avail.left(), avail.right() - width()), y());
        DataSourceList->setDataSet(mode == 3 ? QueryFilms.get() : QueryNames.get());
        RefreshList();
    }
    showRecord();
}

TPersonPageSource TWPers::PageSource()
{
    TPersonPageSource source;
    source.current = [this] {
        std::vector<TPersonFilmRow> films;
        if (ListMode == 3 && QueryFilms->active()) {
            engine::Field *kind = QueryFilms->findField(QStringLiteral("Medium"));
            engine::Field *nr = QueryFilms->findField(QStringLiteral("KassNr"));
            for (QueryFilms->first(); !QueryFilms->eof(); QueryFilms->next())
                films.push_back({QueryFilms->field(0)->asString(), kind ? kind->asString() : QString(),
                                 nr ? nr->asInteger() : 0});
            QueryFilms->first();
        }
        return ReadPersonPageData(*Table1, PersDruckListFilms, LabelList->text(), films, PersDruckMedIndex);
    };
    source.locate = [this](const QString &name) { return LocatePersonByName(name); };
    source.filmsPanel = [this](bool on) {
        if (on) {
            show();
            ShowPersonSidePanel(3);
        }
    };
    return source;
}

void TWPers::RefreshList()
{
    if (ListMode == 0)
        return;
    try {
        if (ListMode == 3) {
            QueryFilms->close();
            if (QueryFilms->sql().isEmpty())
                return;
            const QString name = Table1 && Table1->active() && !Table1->isEmpty()
                ? Table1->fieldByName(QStringLiteral("Name"))->asString()
                : QString();
            QueryFilms->paramByName(QStringLiteral("N")).setAsString(PersonLikeParam(name));
            QueryFilms->open();
            DBGridList->setColumns({dbui::GridColumn(QueryFilms->field(0)->fieldName(),
                                                     QStringLiteral("Titel / Untertitel"), DBGridList->width() - 18)});
            LabelList->setText(PersonFilmsHeading(female()));
        } else {
            QueryNames->close();
            if (QueryNames->sql().isEmpty())
                return;
            QueryNames->paramByName(QStringLiteral("Filter")).setAsBoolean(ListMode == 2);
            QueryNames->paramByName(QStringLiteral("N")).setAsString(PersonLikeParam(EditSuche->text()));
            QueryNames->open();
            DBGridList->setColumns({dbui::GridColumn(QStringLiteral("Name"), QStringLiteral("Namen"),
                                                     DBGridList->width() - 18)});
            LabelList->setText(PersonListHeading(ListMode));
            if (ListMode == 1 && Table1 && Table1->active() && !Table1->isEmpty())
                QueryNames->locate(QStringLiteral("Name"), Table1->fieldByName(QStringLiteral("Name"))->asString());
        }
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TWPers::ButtNamenClick()
{
    ShowPersonSidePanel(EditSuche->text().isEmpty() ? 1 : 2);
}

void TWPers::ButtExpandClick()
{
    ShowPersonSidePanel(ListMode == 0 ? 3 : 0);
}

void TWPers::ListClick()
{
    if ((ListMode != 1 && ListMode != 2) || !QueryNames->active() || QueryNames->isEmpty())
        return;
    if (!postPending())
        return;
    const QString name = QueryNames->fieldByName(QStringLiteral("Name"))->asString();
    try {
        ::LocatePersonByName(*Table1, name);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TWPers::ListDblClick()
{
    if (ListMode != 3 || !QueryFilms->active() || QueryFilms->isEmpty())
        return;
    if (OnShowFilm)
        OnShowFilm(QueryFilms->fieldByName(QStringLiteral("Medium"))->asString(),
                   QueryFilms->fieldByName(QStringLiteral("KassNr"))->asInteger(),
                   QueryFilms->fieldByName(QStringLiteral("FilmNr"))->asInteger());
}

void TWPers::SpBDetailsClick()
{
    if (ListMode == 1 || (ListMode == 0 && QueryNames->sql().isEmpty()))
        return; // the table view shows the person page in mode 1: a window of its own
    engine::Query *q = ListMode == 3 || ListMode == 0 ? QueryFilms.get() : QueryNames.get();
    if (ListMode == 0) {
        const QString name = Table1 && Table1->active() && !Table1->isEmpty()
            ? Table1->fieldByName(QStringLiteral("Name"))->asString()
            : QString();
        q->paramByName(QStringLiteral("N")).setAsString(PersonLikeParam(name));
    }
    const QStringList source = q->sql();
    QStringList lines{QStringLiteral("SELECT *")};
    bool union_ = false;
    for (int i = 1; i < source.size(); ++i) {
        if (source[i].trimmed().compare(QLatin1String("UNION"), Qt::CaseInsensitive) == 0) {
            union_ = true;
            break;
        }
        lines << source[i];
    }
    // Without the subtitle condition and the "AND" after it: every film of
    // the person, whatever its subtitle.
    if (union_ && lines.size() > 4) {
        lines.removeAt(4);
        lines.removeAt(3);
    }
    QList<QPair<QString, QVariant>> params;
    for (int i = 0; i < q->paramCount(); ++i)
        params.append({q->param(i).name(), q->param(i).value()});
    ShowQueryResult(lines, params, this);
}

// ---- the record's events ------------------------------------------------------------------

void TWPers::Table1BeforeEdit(engine::DataSet &ds)
{
    OldName = ds.fieldByName(QStringLiteral("Name"))->asString();
}

void TWPers::Table1AfterInsert(engine::DataSet &)
{
    OldName.clear();
}

void TWPers::Table1BeforePost(engine::DataSet &ds)
{
    const QString name = ds.fieldByName(QStringLiteral("Name"))->asString();
    if (name == OldName && ds.state() == engine::DataSetState::Edit)
        return;
    m_renamedFilms = 0;
    if (PersonNameTaken(*Table1, name, ds.state() == engine::DataSetState::Edit ? OldName : QString())) {
        kit::messageBox(DuplicatePersonMessage, QStringLiteral("Indexfehler"), kit::MsgButtons::Ok,
                        kit::BoxIcon::Warning);
        engine::abortSilently();
    }
    // Inside the person's post: the films and the person commit together.
    if (ds.state() == engine::DataSetState::Edit && FilmTable && FilmTable->active() && !OldName.isEmpty())
        m_renamedFilms = PropagatePersonRename(*FilmTable, OldName, name);
}

void TWPers::Table1AfterPost(engine::DataSet &)
{
    // The films that carried the old name show the new one at once.
    const bool renamed = m_renamedFilms > 0;
    m_renamedFilms = 0;
    if (!renamed)
        return;
    if (FilmTable && FilmTable->active() && FilmTable->state() == engine::DataSetState::Browse)
        FilmTable->refresh();
    if (OnFilmsChanged)
        OnFilmsChanged();
}

void TWPers::Table1AfterOpen(engine::DataSet &)
{
    const bool writable = Table1 && !Table1->readOnly();
    Ausschneiden1->setEnabled(writable);
    Einfgen1->setEnabled(writable);
    GrafikLaden1->setEnabled(writable);
    RepairPersonPrimaryIndex(*Table1);
}

void TWPers::DataSource1DataChange(engine::Field *field)
{
    if (field && field->fieldName().compare(QLatin1String("MF"), Qt::CaseInsensitive) != 0)
        return;
    showRecord();
    if (!field && ListMode != 0 && !editingState(Table1))
        RefreshList();
}

// ---- interfaces ------------------------------------------------------------------------------

bool TWPers::LocatePersonByName(const QString &name)
{
    if (!Table1 || !postPending())
        return false;
    try {
        return ::LocatePersonByName(*Table1, name);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return false;
    }
}

bool TWPers::InsertPerson(const QString &name)
{
    if (!Table1)
        return false;
    try {
        return ::InsertPerson(*Table1, name);
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    return false;
}

bool TWPers::ScanPersonPictures()
{
    if (!Table1)
        return false;
    try {
        return ::ScanPersonPictures(*Table1,
                                    [](const QByteArray &b) { return dbui::PictureLoader::decode(b).ok(); });
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return false;
    }
}

void TWPers::ShowPerson(const QString &name, bool activate)
{
    if (!name.isEmpty())
        LocatePersonByName(name);
    if (RolledUp())
        SetRolledUp(false);
    setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    show();
    raise();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    if (activate)
        activateWindow();
}

TModalResult TWPers::ShowModal()
{
    if (isVisible())
        hide();
    ButtClose->hide();
    ButtOK->show();
    ButtCancel->show();
    const QString caption = GetCaptionText();
    SetCaption(QStringLiteral("Person zum Eintrag in Film-Anhang auswählen:"));
    m_modal = true;
    const TModalResult r = ExecMetalModal(*this);
    m_modal = false;
    SetCaption(caption);
    ButtOK->hide();
    ButtCancel->hide();
    ButtClose->show();
    return r;
}

void TWPers::FormShow()
{
    tOzoFormMetal::FormShow();
    rebuildQueries();
    if (Table1 && Table1->active() && Table1->readOnly())
        EditSuche->setFocus();
    else
        DBEName->setFocus();
    showRecord();
}

void TWPers::FormClose(TCloseAction &action)
{
    if (!postPending()) {
        action = caNone;
        return;
    }
    ShowPersonSidePanel(0);
    action = m_modal ? caHide : caHide;
}

void TWPers::FormDeactivate()
{
    tOzoFormMetal::FormDeactivate();
    if (!m_modal)
        postPending();
}

void TWPers::keyPressEvent(QKeyEvent *e)
{
    if (e->modifiers() == Qt::NoModifier) {
        switch (e->key()) {
        case Qt::Key_F5:
            if (OnActivateMain)
                OnActivateMain();
            return;
        case Qt::Key_F7:
            if (OnShowFilmCard)
                OnShowFilmCard();
            return;
        case Qt::Key_F8:
            close();
            return;
        case Qt::Key_F10:
            emit SpBWeb->Click();
            return;
        case Qt::Key_F12:
            emit LockButton1->Click();
            return;
        default:
            break;
        }
    }
    tOzoFormMetal::keyPressEvent(e);
}

bool TWPers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBMemo && event->type() == QEvent::MouseButtonDblClick) {
        if (!WMemo) {
            TWMemoLinks links;
            links.personSource = DataSource1;
            links.filmSource = WFilm ? WFilm->DataSource1 : nullptr;
            links.lockClick = [this] { emit LockButton1->Click(); };
            links.mediaReadOnly = [this] { return !Table1 || !Table1->active() || Table1->readOnly(); };
            WMemo = CreateForm<TWMemo>(links);
        }
        WMemo->ShowFor(DataSource1);
        return true;
    }
    if (watched == DBImage1 && (event->type() == QEvent::ContextMenu || event->type() == QEvent::MouseButtonDblClick)) {
        if (event->type() == QEvent::MouseButtonDblClick)
            PictureWindow()->ShowFor(DataSource1, QStringLiteral("Name"));
        else
            kit::popupMenu(*PopupGrafik, QCursor::pos());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        for (int i = 0; i < PersonFreeCount; ++i)
            if (watched == DBEFL[size_t(i)]) {
                if (!Table1 || !Table1->active() || Table1->readOnly())
                    LockButton1->BlinkIfLocked();
                else
                    ExecEditLabels(false, true, this);
                return true;
            }
    return tOzoFormMetal::eventFilter(watched, event);
}
