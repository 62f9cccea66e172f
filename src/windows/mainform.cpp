#include "windows/mainform.h"
#include "windows/mainquicksearch.h"

#include "app/settings.h"
#include "app/startup.h"
#include "data/database.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "data/mediumrecords.h"
#include "data/recordsql.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "dbui/dbtext.h"
#include "dbui/errorsink.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/enterexitbutton.h"
#include "kit/framewidgets.h"
#include "kit/help.h"
#include "kit/kitresources.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/ozodbcheck.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/askwithremember.h"
#include "windows/printedflag.h"
#include "windows/freeareadialogs.h"
#include "windows/maincommands.h"
#include "windows/mainmenus.h"
#include "windows/freefieldcaptions.h"
#include "windows/introboxdoor.h"
#include "windows/mediumkind.h"

#include <QScopedValueRollback>
#include <QApplication>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

TMainform *Mainform = nullptr;

namespace {

// One shape of the percentage bar: solid for a film, cross-hatched for a
// free area.
class PercentShape : public QFrame
{
public:
    PercentShape(QWidget *parent, const char *name, const QColor &colour)
        : QFrame(parent), m_colour(colour)
    {
        setObjectName(QLatin1String(name));
        hide();
    }
    bool Hatched = false;
    QColor m_colour;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Hatched ? QColor(255, 255, 255) : m_colour);
        if (Hatched)
            p.fillRect(rect(), QBrush(m_colour, Qt::DiagCrossPattern));
        p.setPen(m_colour.darker(160));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

template <class T> T *named(T *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

// An edit bound to a field of the card's data source.
dbui::DbEdit *makeDbEdit(QWidget *parent, dbui::DataSource *source, const char *name, const char *field,
                         const QRect &g)
{
    auto *e = named(new dbui::DbEdit(parent), name);
    e->setGeometry(g);
    e->setDataSource(source);
    e->setDataField(QLatin1String(field));
    return e;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &g)
{
    auto *l = named(new QLabel(text, parent), name);
    l->setGeometry(g);
    return l;
}

TPZSpeedButton *makeSpeed(QWidget *parent, const char *name, const QRect &g, const QString &glyph,
                          const QString &hint)
{
    auto *b = named(new TPZSpeedButton(parent), name);
    b->setGeometry(g);
    if (!glyph.isEmpty())
        b->SetGlyph(LoadResourceBitmap(glyph));
    b->setToolTip(hint);
    return b;
}

void showEngineError(const engine::EngineError &e)
{
    ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
}

bool isBrowsing(const engine::Table *t)
{
    return t && t->active() && t->state() == engine::DataSetState::Browse;
}

void postPending(engine::DataSet *t)
{
    if (t && t->active()
        && (t->state() == engine::DataSetState::Edit || t->state() == engine::DataSetState::Insert))
        t->post();
}

bool anyFilled(engine::DataSet &ds, const char *prefix, int count)
{
    for (int i = 1; i <= count; ++i) {
        engine::Field *f = ds.findField(QLatin1String(prefix) + QString::number(i));
        if (f && !f->asString().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool blobFilled(engine::DataSet &ds, const char *name)
{
    engine::Field *f = ds.findField(QLatin1String(name));
    return f && !f->isNull() && !f->asBytes().isEmpty();
}

} // namespace

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
}

TMainform::~TMainform()
{
    if (ReleaseRecordWindows)
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
    if (DBHooks.SetEditing)
        DBHooks.SetEditing = nullptr;
    if (engine::Session::instance().onPassword)
        engine::Session::instance().onPassword = nullptr;
    if (Mainform == this)
        Mainform = nullptr;
}

MainDataSets TMainform::DataSets() const
{
    return MainDataSets{Table1.get(), Table11.get(), Table2.get(), FilmTable.get()};
}

void TMainform::buildToolBar()
{
    ToolBar1 = named(new QWidget(this), "ToolBar1");
    ToolBar1->setGeometry(0, 0, 600, 28);
    auto menuButton = [this](const char *name, const char *menuName, const QString &caption, int x,
                             int w, QMenu *&menu) {
        auto *b = makeSpeed(ToolBar1, name, QRect(x, 2, w, 24), QString(), QString());
        b->SetCaption(caption);
        b->SetLayout(blLeft);
        menu = named(new QMenu(this), menuName);
        b->SetPopupMenu(menu);
        return b;
    };
    TBDatei = menuButton("TBDatei", "PopupDatei", QStringLiteral("&Datei"), 2, 62, PopupDatei);
    TBAnsicht = menuButton("TBAnsicht", "PopupAnsicht", QStringLiteral("&Ansicht"), 66, 70, PopupAnsicht);
    TBDruck = menuButton("TBDruck", "PopupDruck", QStringLiteral("D&ruck"), 138, 62, PopupDruck);
    TBEinstellungen = menuButton("TBEinstellungen", "PopupEinstellungen", QStringLiteral("&Einstellungen"),
                                 202, 100, PopupEinstellungen);
    TBSuche = menuButton("TBSuche", "PopupSuche", QStringLiteral("&Suche"), 304, 62, PopupSuche);
    TBHilfe = menuButton("TBHilfe", "PopupHilfe", QStringLiteral("&Hilfe"), 368, 60, PopupHilfe);

    // Every entry of the six menus, with its rules and the small buttons.
    Menus = new TMainMenus(*this);

    SpBReadOnly = makeSpeed(ToolBar1, "SpBReadOnly", QRect(500, 2, 44, 24), QStringLiteral("SPBEDIT"),
                            QStringLiteral("Editieren ein/aus (F12)"));
    SpBReadOnly->SetGroupIndex(7);
    SpBReadOnly->SetAllowAllUp(true);
    connect(SpBReadOnly, &TPZSpeedButton::Click, this, [this] {
        // The button latches itself; the lock decides what it shows.
        SpBReadOnlyClick();
    });
    SpBRest = makeSpeed(ToolBar1, "SpBRest", QRect(548, 2, 44, 24), QStringLiteral("SPBREST"),
                        QStringLiteral("Filtern nach Aufnahmelänge"));
    SpBRest->SetGroupIndex(8);
    SpBRest->SetAllowAllUp(true);
    connect(SpBRest, &TPZSpeedButton::Click, this, [this] { FilternnachRestspielzeit1Click(); });

    DBNavigator1 = named(new QWidget(this), "DBNavigator1");
    DBNavigator1->setGeometry(8, 32, 9 * 26, 24);
    auto nav = [this](const char *name, const QString &text, const QString &hint, int i,
                      std::function<void()> act) {
        auto *b = named(new QToolButton(DBNavigator1), name);
        b->setText(text);
        b->setToolTip(hint);
        b->setGeometry(i * 26, 0, 25, 24);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [act] {
            try {
                act();
            } catch (const engine::Abort &) {
            } catch (const engine::EngineError &e) {
                showEngineError(e);
            }
        });
        return b;
    };
    NavFirst = nav("NavFirst", QStringLiteral("|◀"), QStringLiteral("Erstes Medium"), 0, [this] { Table1->first(); });
    NavPrior = nav("NavPrior", QStringLiteral("◀"), QStringLiteral("Voriges Medium"), 1, [this] { Table1->prior(); });
    NavNext = nav("NavNext", QStringLiteral("▶"), QStringLiteral("Nächstes Medium"), 2, [this] { Table1->next(); });
    NavLast = nav("NavLast", QStringLiteral("▶|"), QStringLiteral("Letztes Medium"), 3, [this] { Table1->last(); });
    NavInsert = nav("NavInsert", QStringLiteral("+"), QStringLiteral("Neues Medium"), 4, [this] {
        if (Table1->readOnly()) {
            LockButton1->BlinkIfLocked();
            return;
        }
        Table1->insert();
        if (InsertFocusField == QLatin1String("-"))
            InsertFocusField = Records->numberingMode() == NumberingMode::PerKind ? QStringLiteral("Medium")
                                                                                  : QString();
        if (InsertFocusField == QLatin1String("Medium"))
            DBMed->setFocus();
    });
    NavDelete = nav("NavDelete", QStringLiteral("−"), QStringLiteral("Medium löschen"), 5, [this] {
        if (Table1->readOnly())
            LockButton1->BlinkIfLocked();
        else
            ConfirmDelete(*Table1);
    });
    NavPost = nav("NavPost", QStringLiteral("✓"), QStringLiteral("Speichern"), 6, [this] { postPending(Table1.get()); });
    NavCancel = nav("NavCancel", QStringLiteral("✗"), QStringLiteral("Abbrechen"), 7, [this] {
        if (Table1->state() == engine::DataSetState::Edit || Table1->state() == engine::DataSetState::Insert)
            Table1->cancel();
    });
    NavRefresh = nav("NavRefresh", QStringLiteral("⟳"), QStringLiteral("Aktualisieren"), 8, [this] { NavRefreshClick(); });
}

void TMainform::buildCard()
{
    PanelKrt = named(new QWidget(this), "PanelKrt");
    PanelKrt->setGeometry(8, 60, 584, 414);
    PanelKrt->setAutoFillBackground(true);
    {
        QPalette pal = PanelKrt->palette();
        const QPixmap paper(SkinDir + QStringLiteral("Back/Paper.bmp"));
        if (!paper.isNull())
            pal.setBrush(QPalette::Window, QBrush(paper));
        else
            pal.setColor(QPalette::Window, QColor(250, 246, 232));
        PanelKrt->setPalette(pal);
    }
    auto edit = [this](const char *name, const char *field, const QRect &g) {
        return makeDbEdit(PanelKrt, DataSource1, name, field, g);
    };
    LabelMed = makeLabel(PanelKrt, "LabelMed", QStringLiteral("&Medium:"), QRect(12, 13, 56, 18));
    DBMed = edit("DBMed", "Medium", QRect(70, 10, 70, 23));
    LabelMed->setBuddy(DBMed);
    ButtPPPMed = named(new TOzoNewButton(PanelKrt), "ButtPPPMed");
    ButtPPPMed->SetKind(ibkPPP);
    ButtPPPMed->setGeometry(142, 10, 23, 23);
    ButtPPPMed->setToolTip(QStringLiteral("Medientyp wählen"));
    LabelNr = makeLabel(PanelKrt, "LabelNr", QStringLiteral("&Nr.:"), QRect(180, 13, 30, 18));
    DBNr = edit("DBNr", "Nr", QRect(212, 10, 64, 23));
    LabelNr->setBuddy(DBNr);
    ImgCD = makeLabel(PanelKrt, "ImgCD", QString(), QRect(290, 8, 26, 26));
    ImgCD->setPixmap(LoadResourceBitmap(QStringLiteral("CDDISC")));
    ImgCD->setToolTip(QStringLiteral("Seriennummer der Disc gespeichert"));
    ImgCDX = makeLabel(PanelKrt, "ImgCDX", QString(), QRect(290, 8, 26, 26));
    ImgCDX->setPixmap(LoadResourceBitmap(QStringLiteral("CDX")));
    ImgCDX->setToolTip(QStringLiteral("Keine Seriennummer gespeichert"));
    ButtPPPSN = named(new TOzoNewButton(PanelKrt), "ButtPPPSN");
    ButtPPPSN->SetKind(ibkPPP);
    ButtPPPSN->setGeometry(320, 10, 23, 23);
    ButtPPPSN->setToolTip(QStringLiteral("Seriennummer der eingelegten Disc lesen"));
    ButtPPPSN->setEnabled(false); // reading a disc's serial number comes with its dialog
    SpBNotesK = makeSpeed(PanelKrt, "SpBNotesK", QRect(544, 6, 30, 30), QStringLiteral("NONOTES"),
                          QStringLiteral("Anhänge des Mediums (F6)"));
    SpBNotesK->setEnabled(false); // the attachment window comes with its own part

    LabelLen = makeLabel(PanelKrt, "LabelLen", QStringLiteral("&Länge:"), QRect(12, 45, 56, 18));
    DBLen = edit("DBLen", "Len", QRect(70, 42, 52, 23));
    LabelLen->setBuddy(DBLen);
    // Number and length take digits only (a length is never negative).
    for (dbui::DbEdit *e : {DBNr, DBLen})
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    LabelMin = makeLabel(PanelKrt, "LabelMin", QStringLiteral("min"), QRect(126, 45, 26, 18));
    LabelRest = makeLabel(PanelKrt, "LabelRest", QStringLiteral("Rest:"), QRect(170, 45, 36, 18));
    DBTRest = named(new dbui::DbText(PanelKrt), "DBTRest");
    DBTRest->setGeometry(208, 45, 40, 18);
    DBTRest->setDataSource(DataSource1);
    DBTRest->setDataField(QStringLiteral("bRest"));
    LabelMaxFree = makeLabel(PanelKrt, "LabelMaxFree", QStringLiteral("größter freier Bereich:"),
                             QRect(262, 45, 140, 18));
    DBTMaxFree = named(new dbui::DbText(PanelKrt), "DBTMaxFree");
    DBTMaxFree->setGeometry(404, 45, 40, 18);
    DBTMaxFree->setDataSource(DataSource1);
    DBTMaxFree->setDataField(QStringLiteral("bMaxFree"));
    for (QLabel *l : {static_cast<QLabel *>(DBTRest), static_cast<QLabel *>(DBTMaxFree)}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    SpBFinalize = makeSpeed(PanelKrt, "SpBFinalize", QRect(452, 42, 26, 23), QStringLiteral("SPBFINALIZE"),
                            QStringLiteral("Medium abschließen (Restzeit von der Länge abziehen)"));
    connect(SpBFinalize, &TPZSpeedButton::Click, this, [this] { SpBFinalizeClick(); });

    auto coverPanel = [this](const char *name, const QString &text) {
        auto *p = named(new QWidget(PanelKrt), name);
        p->setGeometry(8, 40, 470, 27);
        p->setAutoFillBackground(true);
        auto *l = new QLabel(text, p);
        l->setGeometry(4, 0, 462, 27);
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
        p->hide();
        return p;
    };
    PanelKauf = coverPanel("PanelKauf", QStringLiteral("Kaufkassette – für gekaufte Kassetten wird keine Restspielzeit berechnet"));
    PanelDVD = coverPanel("PanelDVD", QStringLiteral("Video-DVD – für DVDs wird keine Restspielzeit berechnet"));

    PanelPercent = named(new QFrame(PanelKrt), "PanelPercent");
    PanelPercent->setGeometry(12, 74, 560, 14);
    static_cast<QFrame *>(PanelPercent)->setFrameShape(QFrame::Box);
    PanelPercent->setAutoFillBackground(true);
    {
        QPalette pal = PanelPercent->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 255));
        PanelPercent->setPalette(pal);
    }
    const char *names[5] = {"PercentFilm1", "PercentFilm2", "PercentFilm3", "PercentFilm4", "PercentFilm5"};
    for (int i = 0; i < 5; ++i)
        PercentFilm[i] = new PercentShape(PanelPercent, names[i], platform::toQColor(FilmNumberColor(i + 1)));
    PercentFilm6ff = new PercentShape(PanelPercent, "PercentFilm6ff", QColor(90, 90, 90));
    PercentUnknown = new PercentShape(PanelPercent, "PercentUnknown", QColor(200, 200, 200));
    PercentUnknown->setToolTip(QStringLiteral("Unbekannte Spielzeit!"));
}

void TMainform::buildSlots()
{
    static const char *filmNames[5] = {"Film1", "Film2", "Film3", "Film4", "Film5"};
    static const char *imageNames[5] = {"Image1", "Image2", "Image3", "Image4", "Image5"};
    static const char *notesNames[5] = {"SpbNotes1", "SpBNotes2", "SpBNotes3", "SpBNotes4", "SpBNotes5"};
    static const char *splitNames[4] = {"SpBSplitFree1", "SpBSplitFree2", "SpBSplitFree3", "SpBSplitFree4"};
    m_slotFont = font();
    m_slotFont.setPointSizeF(m_slotFont.pointSizeF() * 1.1);
    for (int s = 0; s < 5; ++s) {
        const int y = 98 + s * 36;
        Image[s] = makeLabel(PanelKrt, imageNames[s], QString::number(s + 1), QRect(12, y + 3, 26, 24));
        Image[s]->setAlignment(Qt::AlignCenter);
        QFont nf = Image[s]->font();
        nf.setBold(true);
        nf.setPointSizeF(nf.pointSizeF() * 1.3);
        Image[s]->setFont(nf);
        Image[s]->installEventFilter(this);
        Image[s]->setCursor(Qt::PointingHandCursor);
        Film[s] = makeSpeed(PanelKrt, filmNames[s], QRect(42, y, 440, 30), QString(), QString());
        Film[s]->SetLayout(blLeft);
        Film[s]->SetMargin(4);
        Film[s]->setFont(m_slotFont);
        connect(Film[s], &TPZSpeedButton::Click, this, [this, s] { ImageClick(s + 1); });
        SpBNotes[s] = makeSpeed(PanelKrt, notesNames[s], QRect(488, y + 3, 24, 24), QStringLiteral("NONOTES"),
                                QStringLiteral("Anhänge des Films"));
        SpBNotes[s]->setEnabled(false); // the film card's attachment pages come with the film card
        if (s < 4) {
            SpBSplitFree[s] = makeSpeed(PanelKrt, splitNames[s], QRect(516, y + 3, 24, 24),
                                        QStringLiteral("SPBSPLIT"), QStringLiteral("Freien Bereich aufteilen"));
            connect(SpBSplitFree[s], &TPZSpeedButton::Click, this, [this, s] { SpBSplitFreeClick(s + 1); });
        }
    }
    SpBFilmDel = makeSpeed(PanelKrt, "SpBFilmDel", QRect(516, 101, 24, 24), QStringLiteral("SPBMINUS"),
                           QStringLiteral("Letzten Film löschen"));
    connect(SpBFilmDel, &TPZSpeedButton::Click, this, [this] { SpBFilmDelClick(); });
    SpBJoinFree = makeSpeed(PanelKrt, "SpBJoinFree", QRect(456, 120, 24, 24), QStringLiteral("SPBJOIN"),
                            QStringLiteral("Freie Bereiche zusammenfassen"));
    connect(SpBJoinFree, &TPZSpeedButton::Click, this, [this] { SpBJoinFreeClick(); });
    SpB5PushDown = makeSpeed(PanelKrt, "SpB5PushDown", QRect(548, 98 + 4 * 36 + 3, 24, 24),
                             QStringLiteral("SPBSHIFTDOWN"), QStringLiteral("Filme ab Nr. 5 nach hinten schieben"));
    connect(SpB5PushDown, &TPZSpeedButton::Click, this, [this] { SpB5PushDownClick(); });
    BUp = makeSpeed(PanelKrt, "BUp", QRect(548, 101, 24, 24), QStringLiteral("SPBUP"),
                    QStringLiteral("Vorige Filme"));
    connect(BUp, &TPZSpeedButton::Click, this, [this] { BUpClick(); });
    BDown = makeSpeed(PanelKrt, "BDown", QRect(548, 129, 24, 24), QStringLiteral("SPBDOWN"),
                      QStringLiteral("Weitere Filme"));
    connect(BDown, &TPZSpeedButton::Click, this, [this] { BDownClick(); });
    ButtNewFilm = named(new TOzoNewButton(PanelKrt), "ButtNewFilm");
    ButtNewFilm->SetKind(ibkPlus);
    ButtNewFilm->setText(QStringLiteral("Neuen &Film erfassen..."));
    ButtNewFilm->setGeometry(42, 282, 190, 26);
    connect(ButtNewFilm, &QPushButton::clicked, this, [this] { ButtNewFilmClick(); });
    for (QWidget *w : {static_cast<QWidget *>(SpBFilmDel), static_cast<QWidget *>(SpBJoinFree),
                       static_cast<QWidget *>(SpB5PushDown), static_cast<QWidget *>(ButtNewFilm)})
        w->hide();
    for (TPZSpeedButton *b : SpBSplitFree)
        b->hide();
}

void TMainform::buildLending()
{
    LabelVerliehen = makeLabel(PanelKrt, "LabelVerliehen", QStringLiteral("&Verliehen an:"), QRect(12, 331, 84, 18));
    DBVerliehen = named(new dbui::DbComboBox(PanelKrt), "DBVerliehen");
    DBVerliehen->setGeometry(100, 328, 220, 23);
    DBVerliehen->setDataSource(DataSource1);
    DBVerliehen->setDataField(QStringLiteral("Verliehen"));
    LabelVerliehen->setBuddy(DBVerliehen);
    connect(DBVerliehen, &dbui::DbComboBox::dropDown, this, [this] { DBVerliehenDropDown(); });
    LabelVerleihdatum = makeLabel(PanelKrt, "LabelVerleihdatum", QStringLiteral("Verleih&datum:"),
                                  QRect(12, 363, 84, 18));
    DBVerleihdatum = makeDbEdit(PanelKrt, DataSource1, "DBVerleihdatum", "Verleihdatum", QRect(100, 360, 96, 23));
    LabelVerleihdatum->setBuddy(DBVerleihdatum);
    LabelRueckgabedatum = makeLabel(PanelKrt, "LabelRueckgabedatum", QStringLiteral("&Rückgabe bis:"),
                                    QRect(210, 363, 84, 18));
    DBRueckgabedatum = makeDbEdit(PanelKrt, DataSource1, "DBRueckgabedatum", "Rueckgabedatum", QRect(298, 360, 96, 23));
    LabelRueckgabedatum->setBuddy(DBRueckgabedatum);
    DBChkGedruckt = named(new TOzoDBCheck(PanelKrt), "DBChkGedruckt");
    DBChkGedruckt->SetCaption(QStringLiteral("Etikett gedruckt"));
    DBChkGedruckt->setGeometry(420, 362, 150, 20);
    DBChkGedruckt->SetDataSource(DataSource1);
    DBChkGedruckt->SetDataField(QStringLiteral("Gedruckt"));
    DBChkGedruckt->SetImageType(igHookBlue);
    DBChkGedruckt->SetTransparent(true);

    PanelKalender = named(new QFrame(PanelKrt), "PanelKalender");
    static_cast<QFrame *>(PanelKalender)->setFrameShape(QFrame::StyledPanel);
    PanelKalender->setGeometry(344, 150, 232, 200);
    PanelKalender->setAutoFillBackground(true);
    LabelKalender = makeLabel(PanelKalender, "LabelKalender", QString(), QRect(52, 4, 128, 20));
    LabelKalender->setAlignment(Qt::AlignCenter);
    SpBYearBack = makeSpeed(PanelKalender, "SpBYearBack", QRect(4, 3, 22, 22), QString(), QStringLiteral("Ein Jahr zurück"));
    SpBYearBack->SetCaption(QStringLiteral("«"));
    SpBMonthBack = makeSpeed(PanelKalender, "SpBMonthBack", QRect(28, 3, 22, 22), QString(), QStringLiteral("Ein Monat zurück"));
    SpBMonthBack->SetCaption(QStringLiteral("‹"));
    SpBMonthFwd = makeSpeed(PanelKalender, "SpBMonthFwd", QRect(182, 3, 22, 22), QString(), QStringLiteral("Ein Monat vor"));
    SpBMonthFwd->SetCaption(QStringLiteral("›"));
    SpBYearFwd = makeSpeed(PanelKalender, "SpBYearFwd", QRect(206, 3, 22, 22), QString(), QStringLiteral("Ein Jahr vor"));
    SpBYearFwd->SetCaption(QStringLiteral("»"));
    connect(SpBYearBack, &TPZSpeedButton::Click, this, [this] { CalendarStep(-1, 0); });
    connect(SpBMonthBack, &TPZSpeedButton::Click, this, [this] { CalendarStep(0, -1); });
    connect(SpBMonthFwd, &TPZSpeedButton::Click, this, [this] { CalendarStep(0, 1); });
    connect(SpBYearFwd, &TPZSpeedButton::Click, this, [this] { CalendarStep(1, 0); });
    Calendar1 = named(new QCalendarWidget(PanelKalender), "Calendar1");
    Calendar1->setGeometry(2, 28, 228, 170);
    Calendar1->setNavigationBarVisible(false);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Calendar1->setFirstDayOfWeek(Qt::Monday);
    connect(Calendar1, &QCalendarWidget::clicked, this, [this](const QDate &d) { Calendar1Pick(d); });
    connect(Calendar1, &QCalendarWidget::currentPageChanged, this, [this](int y, int m) {
        LabelKalender->setText(QLocale().standaloneMonthName(m) + QLatin1Char(' ') + QString::number(y));
    });
    LabelKalender->setText(QLocale().standaloneMonthName(Calendar1->monthShown()) + QLatin1Char(' ')
                           + QString::number(Calendar1->yearShown()));
    PanelKalender->hide();
}

void TMainform::bindEvents()
{
    connect(DataSource1, &dbui::DataSource::dataChange, this,
            [this](engine::Field *f) { DataSource1DataChange(f); });
    connect(DataSource1, &dbui::DataSource::stateChange, this, [this] {
        if (!Table1->active()) {
            DBNavigator1->setEnabled(false);
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
        try {
            Records->DBMedChange(t);
        } catch (const engine::Abort &) {
        } catch (const engine::EngineError &e) {
            showEngineError(e);
        }
        // The card follows the typed kind at once (panels, length, disc).
        updateKindControls();
        ShowMediumFilms();
    });
    connect(ButtPPPMed, &QPushButton::clicked, this, [this] { ButtPPPMedClick(); });

    Records->filmsChanged = [this] {
        ShowMediumFilms();
        UpdateStatusLine();
    };
    Records->afterPostRefresh = [this] {
        DBVerliehen->clear();
        UpdateStatusLine();
        UpdateMediumNotesGlyph();
        ShowMediumFilms();
    };
    Records->afterDeleteRefresh = [this] { UpdateStatusLine(); };
    Records->resetInsertFocus = [this] { InsertFocusField = QStringLiteral("-"); };
    Records->saveSettings = [] { SaveSettings(); };
    Records->oneFilmRuleChanged = [](bool on) { dvd_kk_nur1film = on; };
    Records->execSplitFreeDialog = [](int &minutes, bool &longPlay) { return ExecSplitFreeDialog(minutes, longPlay); };
    ExecFilterDialog = [](int &minRest, bool &onMaxFree) { return ExecFreeLengthFilter(minRest, onMaxFree); };
    InstallFreeFieldCaptions(); // captions and categories follow the open database

    m_events.clear();
    m_events.push_back(Table1->afterOpen.subscribe([](engine::DataSet &) { RepairMediaPrimaryIndex(); }));
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
    m_events.push_back(Table2->afterOpen.subscribe([this](engine::DataSet &) { ShowMediumFilms(); }));
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
    DBHooks.SetEditing = [this](bool on) { SetEditing(on); };
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
    if (AppTerminating)
        return;
    if (IntroboxDoor.ShowNow)
        IntroboxDoor.ShowNow();
    LoadSettings();
    if (AutoUpdateCheck)
        AutoUpdateCheck();
    Records->dvdKkNur1Film = dvd_kk_nur1film;
    Records->rest1to5 = bRest1bis4;
    Records->networkMode = NetworkMode;
    const TStartDatabase start = ChooseStartDatabase(CmdFirstArg, DBFile, PersDBFile);
    if (start.Use)
        OpenDatabaseTablesAtStart(start.Base, start.PersBase);
    LoadFreeQueryMenu();
    if (ShowFreeQueryMenu)
        ShowFreeQueryMenu();
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
    if (steps->ShowTip && ShowTipOfDay)
        ShowTipOfDay();
    if (steps->ShowNoDatabaseHint && ShowFileMenuHint)
        ShowFileMenuHint(NoDatabaseHintText());
    if (steps->RunOverdueList && RunOverdueList)
        RunOverdueList();
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
        try {
            postPending(Table1.get());
        } catch (const engine::Abort &) {
        } catch (const engine::EngineError &e) {
            showEngineError(e);
        }
    });
}

void TMainform::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    NetRefresh->stop();
    // A refused post is given up; the tables close whatever happens.
    try {
        postPending(QueryFL.get());
    } catch (const engine::Abort &) {
        QueryFL->cancel();
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        QueryFL->cancel();
    }
    if (QueryFL->active())
        QueryFL->close();
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
    MetalFormDeactivation away;
    if (IntroboxDoor.ShowAsAbout)
        IntroboxDoor.ShowAsAbout(this);
}

QPixmap TMainform::NotesPicture(const QString &name) const
{
    return m_notesPictures.value(name);
}

// ---- edit lock --------------------------------------------------------------------

bool TMainform::Editing() const
{
    return Table1->active() && !Table1->readOnly();
}

void TMainform::Flush1Click()
{
    for (engine::Table *t : {Table1.get(), FilmTable.get(), PersTable.get(), DBTables.TableLAB}) {
        if (!t || !t->active())
            continue;
        try {
            t->flushBuffers();
        } catch (const engine::EngineError &e) {
            showEngineError(e);
        }
    }
}

void TMainform::SpBReadOnlyClick()
{
    if (!Table1->active()) {
        SpBReadOnly->SetDown(false);
        return;
    }
    // 1. Pending changes are posted; a refused post keeps everything as it is.
    try {
        for (engine::Table *t : {Table1.get(), FilmTable.get(), PersTable.get()})
            postPending(t);
    } catch (const engine::Abort &) {
        SyncReadOnlyState();
        return;
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        SyncReadOnlyState();
        return;
    }
    const bool wasEditing = !Table1->readOnly();
    // 2. Switching editing off writes everything to disk first.
    if (wasEditing)
        Flush1Click();
    // 3. The positions.
    const QString kind = currentKind();
    const int nr = currentNr();
    QString filmKind, persName;
    int filmMedium = 0, filmNr = 0;
    if (FilmTable->active() && !FilmTable->isEmpty()) {
        filmKind = FilmTable->fieldByName(QStringLiteral("Medium"))->asString();
        filmMedium = FilmTable->fieldByName(QStringLiteral("KassNr"))->asInteger();
        filmNr = FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger();
    }
    if (PersTable->active() && !PersTable->isEmpty())
        persName = PersTable->fieldByName(QStringLiteral("Name"))->asString();
    // 4. Reopened with the other write flag.
    const bool readOnly = wasEditing;
    auto reopen = [readOnly](engine::Table *t) {
        const bool wasOpen = t->active();
        t->close();
        t->setReadOnly(readOnly);
        if (wasOpen)
            t->open();
    };
    try {
        reopen(FilmTable.get());
        reopen(Table1.get());
        reopen(PersTable.get());
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    // 5. Back to the same records.
    const MainDataSets sets = DataSets();
    if (Table1->active() && !kind.isEmpty())
        LocateMedium(sets, kind, nr, true);
    if (FilmTable->active() && filmNr > 0)
        LocateFilm(sets, filmKind, filmMedium, filmNr, true);
    if (PersTable->active() && !persName.isEmpty())
        PersTable->locate(QStringLiteral("Name"), persName);
    // 6. What shows the lock; the reopen went through a close, so the status
    // line shows the counts and the file again.
    SetEditing(!Table1->readOnly());
    UpdateStatusLine();
}

void TMainform::SetEditing(bool editing)
{
    SpBReadOnly->SetDown(editing);
    MenEditieren->setChecked(editing);
    SyncReadOnlyState();
}

void TMainform::RegisterRecordWindowLock(TLockButton *button, engine::Table *table)
{
    RecordWindowLocks.append({button, table});
    if (button && table)
        button->SetLocked(!table->active() || table->readOnly());
}

void TMainform::SyncReadOnlyState()
{
    const bool editing = Editing();
    LockButton1->SetLocked(!editing);
    SpBReadOnly->SetDown(editing);
    MenEditieren->setChecked(editing);
    ButtPPPMed->setVisible(editing);
    if (OnSyncFilmWindow)
        OnSyncFilmWindow(editing);
    for (const RecordWindowLock &l : RecordWindowLocks)
        if (l.button && l.table)
            l.button->SetLocked(!l.table->active() || l.table->readOnly());
    updateKindControls();
    ShowMediumFilms();
}

// ---- record and field changes -------------------------------------------------------

bool TMainform::mediumEmpty() const
{
    return !Table1->active() || Table1->isEmpty();
}

bool TMainform::mediaBrowsing() const
{
    return isBrowsing(Table1.get());
}

QString TMainform::currentKind() const
{
    if (!Table1->active())
        return QString();
    engine::Field *f = Table1->findField(QStringLiteral("Medium"));
    return f ? f->asString() : QString();
}

QString TMainform::shownKind() const
{
    // A kind being typed counts before it is written into the record.
    if (Table1->active() && DBMed->link()->isModified() && DBMed->link()->isEditing())
        return CutKind(DBMed->text());
    return currentKind();
}

int TMainform::currentNr() const
{
    if (!Table1->active())
        return 0;
    engine::Field *f = Table1->findField(QStringLiteral("Nr"));
    return f ? f->asInteger() : 0;
}

void TMainform::updateKindControls()
{
    const bool open = Table1->active();
    const QString kind = shownKind();
    const bool tape = IsTapeKind(kind);
    const bool hasSN = open && Table1->findField(QStringLiteral("SN")) && !Table1->fieldByName(QStringLiteral("SN"))->isNull();
    const bool editing = Editing();
    ImgCD->setVisible(open && !tape && hasSN);
    ButtPPPSN->setVisible(editing && !tape);
    ImgCDX->setVisible(ButtPPPSN->isVisibleTo(PanelKrt) && !hasSN);
    int rest = 0;
    if (open)
        if (engine::Field *f = Table1->findField(QStringLiteral("bRest")))
            rest = f->asInteger();
    SpBFinalize->setVisible(editing && rest >= 1 && CutKind(kind) != QLatin1String("DVD") && !tape);
}

void TMainform::DataSource1DataChange(engine::Field *field)
{
    if (m_inDataChange)
        return;
    m_inDataChange = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_inDataChange};
    const engine::DataSetState state = Table1->state();
    const QString fieldName = field ? field->fieldName() : QString();
    auto is = [&](const char *n) { return fieldName.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };

    // 1. Kind-dependent controls.
    if ((!field && (state == engine::DataSetState::Browse || state == engine::DataSetState::Insert))
        || is("Medium") || is("SN"))
        updateKindControls();
    // 2. The attachment window follows: it comes with its own part.
    // 3. A first lending.
    if (is("Verliehen") && !field->asString().trimmed().isEmpty() && ErsterVerleih && !m_programWrites)
        firstLendingHints();
    if (is("Verliehen") && !m_programWrites)
        DBVerliehenChange();
    // 4. The label-printed flag.
    if (field && !m_programWrites)
        askLabelPrinted(field);
    // 5. A new return date shows black until the record is shown again.
    if (is("Rueckgabedatum")) {
        QPalette pal = DBRueckgabedatum->palette();
        pal.setColor(QPalette::Text, Qt::black);
        DBRueckgabedatum->setPalette(pal);
    }
    // 6. A record change.
    if (!field)
        recordChanged();
}

void TMainform::recordChanged()
{
    if (Table2->active())
        ShowMediumFilms();
    updateReturnDateColour();
    const QString kind = currentKind();
    if (kind != PrevKind && DBTables.TableLAB && DBTables.TableLAB->active() && DBHooks.LoadFreeFieldCaptions)
        DBHooks.LoadFreeFieldCaptions();
    PrevKind = kind;
    UpdateMediumNotesGlyph();
}

void TMainform::updateReturnDateColour()
{
    QDate back;
    if (Table1->active())
        if (engine::Field *f = Table1->findField(QStringLiteral("Rueckgabedatum")))
            back = f->asDate();
    QPalette pal = DBRueckgabedatum->palette();
    pal.setColor(QPalette::Text, platform::toQColor(ReturnDateColor(back, QDate::currentDate())));
    DBRueckgabedatum->setPalette(pal);
}

void TMainform::askLabelPrinted(engine::Field *field)
{
    if (PFClearNever || Table1->state() != engine::DataSetState::Edit)
        return;
    const QString name = field->fieldName();
    if (name.compare(QLatin1String("Gedruckt"), Qt::CaseInsensitive) == 0 || field->isCalculated()
        || name.startsWith(QLatin1Char('b')))
        return;
    engine::Field *printed = Table1->findField(QStringLiteral("Gedruckt"));
    if (!printed || (!printed->isNull() && !printed->asBoolean()))
        return;
    if (!IsLabelRelevantChange(name, currentKind(), PrintRest))
        return;
    const bool clear = AskClearPrintedFlag(
        QStringLiteral("Es wurden Daten dieses Mediums geändert, die sich auf das Etikett auswirken.\\lb"
                       "\\BSoll daher das \\I\"Etikett gedruckt\"-Feld\\i gelöscht werden?"));
    if (clear) {
        const QScopedValueRollback<bool> own(m_programWrites, true);
        printed->setAsBoolean(false);
    }
}

void TMainform::firstLendingHints()
{
    if (!ShowPointingHint)
        return; // the pointing hint window comes with its own part
    ShowPointingHint(ToolBar1, 160, 1,
                     QStringLiteral("Sie erfassen anscheinend gerade Ihren ersten Verleih.\\lb\\UDazu folgender "
                                    "Hinweis:\\u\\lbUnter Menü \\BEinstellungen | Verleih-Einstellungen\\b können "
                                    "Sie eine \\IRegel-Verleihzeit\\i einstellen, aufgrund derer eine \\IMahnliste\\i "
                                    "erstellt werden kann, auf Wunsch auch automatisch bei Programmstart."));
    ShowPointingHint(DBVerliehen, DBVerliehen->width() + 4, DBVerliehen->height() / 2,
                     QStringLiteral("Mit diesem Symbol rechts von der Verliehen-Zeile können Sie jederzeit nach "
                                    "verliehenen Medien suchen. Es stehen verschiedene Suchmöglichkeiten zur "
                                    "Verfügung, darunter auch die besagte Mahnliste."));
    ErsterVerleih = false;
    SaveSettings();
}

// ---- film slots ---------------------------------------------------------------------

namespace {

CardFilm readCardFilm(engine::DataSet &ds)
{
    CardFilm f;
    f.filmNr = ds.fieldByName(QStringLiteral("FilmNr"))->asInteger();
    f.titel = ds.fieldByName(QStringLiteral("Titel"))->asString();
    f.untertitel = ds.fieldByName(QStringLiteral("Untertitel"))->asString();
    f.len = ds.fieldByName(QStringLiteral("Len"))->asInteger();
    f.lp = ds.fieldByName(QStringLiteral("LP"))->asBoolean();
    f.mw = ds.fieldByName(QStringLiteral("MW"))->asBoolean();
    f.frei = ds.fieldByName(QStringLiteral("Frei"))->asBoolean();
    f.anyFreeField = anyFilled(ds, "Free", 15);
    f.hasMemo = blobFilled(ds, "Memo");
    f.hasPicture = blobFilled(ds, "Grafik");
    return f;
}

// The number of the medium's last film (0: none), also past a gap.
int highestFilmNr(const engine::Table &films, const QString &kind, int nr)
{
    int last = 0;
    for (const TapeFilm &f : recordsql::readFilms(films, kind, nr))
        last = std::max(last, f.filmNr);
    return last;
}

} // namespace

void TMainform::ShowMediumFilms()
{
    const bool open = Table1->active() && Table2->active() && !Table1->isEmpty();
    const QString kind = currentKind();
    const int nr = currentNr();
    const bool editing = Editing();
    // 1. The cover panels of bought cassettes and DVDs, by the kind as shown.
    const QString k6 = CutKind(shownKind());
    PanelKauf->setVisible(open && k6 == QLatin1String("VHS-KK"));
    PanelDVD->setVisible(open && k6 == QLatin1String("DVD"));
    const bool lengthShown = open && HasTapeArithmetic(k6);
    for (QWidget *w : {static_cast<QWidget *>(LabelLen), static_cast<QWidget *>(DBLen),
                       static_cast<QWidget *>(LabelMin), static_cast<QWidget *>(LabelRest),
                       static_cast<QWidget *>(DBTRest), static_cast<QWidget *>(LabelMaxFree),
                       static_cast<QWidget *>(DBTMaxFree)})
        w->setVisible(lengthShown || !open);
    for (TPZSpeedButton *b : SpBSplitFree)
        b->hide();
    SpBFilmDel->hide();
    SpBJoinFree->hide();
    SpB5PushDown->hide();
    SlotFilmNr.fill(0);
    if (!open) {
        if (QueryFL->active())
            QueryFL->close();
        for (int s = 0; s < 5; ++s) {
            Film[s]->hide();
            Image[s]->hide();
            SpBNotes[s]->hide();
        }
        ButtNewFilm->hide();
        BUp->hide();
        BDown->hide();
        UpdatePercentBar();
        return;
    }
    const MainDataSets sets = DataSets();
    // 2. An offset past the films falls back to 0.
    if (SlotOffset > 0 && !LocateFilm(sets, kind, nr, SlotOffset + 1, false))
        SlotOffset = 0;
    // 3. The slots from 5 down to 1.
    int lastFilmSlot = 0;
    int joinSlot = 0;
    bool nextIsFree = false;
    bool nextExists = false;
    for (int s = 5; s >= 1; --s) {
        const int i = s - 1;
        const int f = SlotOffset + s;
        if (!LocateFilm(sets, kind, nr, f, false)) {
            Film[i]->hide();
            Image[i]->hide();
            SpBNotes[i]->hide();
            Image[i]->setProperty("Tag", 0);
            nextIsFree = false;
            nextExists = false;
            continue;
        }
        if (!lastFilmSlot)
            lastFilmSlot = s;
        SlotFilmNr[size_t(i)] = f;
        const CardFilm film = readCardFilm(*Table2);
        Image[i]->setText(QString::number(f));
        QPalette pal = Image[i]->palette();
        pal.setColor(QPalette::WindowText, platform::toQColor(FilmNumberColor(f)));
        Image[i]->setPalette(pal);
        Image[i]->show();
        Film[i]->setToolTip(FilmSlotHint(film));
        const SlotCaption cap = FilmSlotCaption(film, FreeStrikeOut);
        Film[i]->SetCaption(QString(cap.text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        Film[i]->setProperty("CaptionText", cap.text);
        QFont ff = m_slotFont;
        ff.setStrikeOut(cap.strikeOut);
        Film[i]->setFont(ff);
        Film[i]->show();
        const int tape = TapeMinutes(film.len, film.lp);
        Image[i]->setProperty("Tag", SlotOffset == 0 ? (film.frei ? -tape : tape) : 0);
        if (film.frei) {
            SpBNotes[i]->hide();
            if (s <= 4) {
                SpBSplitFree[size_t(i)]->setProperty("Tag", tape);
                SpBSplitFree[size_t(i)]->setVisible(editing && nextExists);
            }
            if (nextIsFree)
                joinSlot = s + 1; // the second of two neighbouring free areas
        } else {
            const QString glyph = FilmNotesGlyph(film);
            SpBNotes[i]->SetGlyph(NotesPicture(glyph));
            SpBNotes[i]->setProperty("GlyphName", glyph);
            SpBNotes[i]->show();
        }
        nextIsFree = film.frei;
        nextExists = true;
    }
    // 4. Only the medium's last film can be deleted here: the button stands
    // beside its slot and shows only while that slot is on screen.
    const int lastFilmNr = highestFilmNr(*Table2, kind, nr);
    SpBFilmDel->setProperty("FilmNr", 0);
    const int delSlot = lastFilmSlot && SlotFilmNr[size_t(lastFilmSlot - 1)] == lastFilmNr ? lastFilmSlot : 0;
    if (editing && delSlot) {
        const QRect g = SpBNotes[size_t(delSlot - 1)]->geometry();
        int x = g.x() + 28;
        if (delSlot <= 4 && SpBSplitFree[size_t(delSlot - 1)]->isVisibleTo(PanelKrt))
            x += 28;
        SpBFilmDel->move(std::min(x, 516), g.y());
        SpBFilmDel->setProperty("FilmNr", lastFilmNr);
        SpBFilmDel->show();
        SpBFilmDel->raise();
    }
    // 5. Join and push-down buttons.
    if (editing && joinSlot >= 2 && joinSlot <= 5) {
        SpBJoinFree->move(SpBJoinFree->x(), Film[size_t(joinSlot - 1)]->y() - 15);
        SpBJoinFree->show();
        SpBJoinFree->raise();
    }
    SpB5PushDown->setVisible(editing && Film[4]->isVisibleTo(PanelKrt) && bRest1bis4);
    // 6. The new-film button and the one-film rule.
    bool canAdd = editing;
    if (canAdd && IsOneFilmKind(kind) && dvd_kk_nur1film && LocateFilm(sets, kind, nr, 1, false))
        canAdd = false;
    ButtNewFilm->setVisible(canAdd);
    BUp->setVisible(SlotOffset > 0);
    // Further films below the five slots (also past a gap, as after a push-down).
    BDown->setVisible(lastFilmNr > SlotOffset + 5);
    // 7. The film table under the card.
    LoadFilmList();
    // 8. The percentage bar.
    UpdatePercentBar();
}

void TMainform::ShowFilmList(bool on)
{
    if (on == PanelFilmListe->isVisibleTo(this))
        return;
    const int grow = PanelFilmListe->height() + 6;
    PanelFilmListe->setVisible(on);
    resize(width(), height() + (on ? grow : -grow));
    if (on)
        LoadFilmList();
    else if (QueryFL->active())
        QueryFL->close();
}

void TMainform::LoadFilmList()
{
    if (!PanelFilmListe->isVisibleTo(this))
        return;
    try {
        postPending(QueryFL.get());
        QueryFL->close();
        if (mediumEmpty() || !Table2->active())
            return;
        const bool editing = Editing();
        QueryFL->setSql({QStringLiteral("SELECT * FROM \"") + Table2->tableName() + QStringLiteral("\" WHERE"),
                         QStringLiteral("KassNr = :Nr AND"), QStringLiteral("Medium = :Kind")});
        QueryFL->paramByName(QStringLiteral("Nr")).setAsInteger(currentNr());
        QueryFL->paramByName(QStringLiteral("Kind")).setAsString(currentKind());
        QueryFL->setRequestLive(editing);
        QueryFL->open();
        DBGridFL->setRowSelect(!editing);
        DBGridFL->setReadOnly(!editing);
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::UpdatePercentBar()
{
    for (QFrame *f : PercentFilm)
        f->hide();
    PercentFilm6ff->hide();
    PercentUnknown->hide();
    if (mediumEmpty() || !Table2->active())
        return;
    const QString kind = currentKind();
    const int nr = currentNr();
    const MainDataSets sets = DataSets();
    QList<CardFilm> films;
    for (int f = 1; f <= 5 && LocateFilm(sets, kind, nr, f, false); ++f)
        films.append(readCardFilm(*Table2));
    const int capacity = Table1->fieldByName(QStringLiteral("Len"))->asInteger();
    int rest = 0;
    if (engine::Field *f = Table1->findField(QStringLiteral("bRest")))
        rest = f->asInteger();
    const PercentBar bar = LayoutPercentBar(PanelPercent->width(), capacity, rest, films, ATTS);
    const int h = PanelPercent->height() - 2;
    for (const PercentSegment &s : bar.films) {
        auto *shape = static_cast<PercentShape *>(PercentFilm[s.slot - 1]);
        shape->Hatched = s.freeArea;
        shape->setGeometry(1 + s.left, 1, std::max(1, s.width), h);
        shape->setToolTip(s.hint);
        shape->setVisible(s.width > 0);
        shape->update();
    }
    if (bar.unknown) {
        PercentUnknown->setGeometry(1 + bar.unknownLeft, 1, std::max(1, PanelPercent->width() - 2 - bar.unknownLeft), h);
        PercentUnknown->show();
    }
    if (bar.beyond) {
        PercentFilm6ff->setGeometry(1 + bar.beyond->left, 1, std::max(1, bar.beyond->width), h);
        PercentFilm6ff->setToolTip(bar.beyond->hint);
        PercentFilm6ff->show();
    }
}

void TMainform::UpdateStatusLine()
{
    const bool open = Table1->active();
    const StatusLine s = StatusLineTexts(open, open && Table1->filtered(), open ? Table1->recordCount() : 0,
                                         Table2->active() ? Table2->recordCount() : 0,
                                         Table1->tableName());
    Status1->setText(s.left);
    // The counts keep the room their text needs; the right part takes the
    // rest, so the filter warning fits, and a long file path is shortened
    // in its middle (the hint shows it whole).
    const int end = Status2->geometry().right();
    const int countsWidth = std::min(Status1->sizeHint().width(), (end - Status1->x()) / 2);
    Status1->resize(std::max(countsWidth, 1), Status1->height());
    const int from = Status1->x() + countsWidth + 8;
    Status2->setGeometry(from, Status2->y(), end - from + 1, Status2->height());
    Status2->setText(s.hint.isEmpty() ? s.right
                                      : Status2->fontMetrics().elidedText(s.right, Qt::ElideMiddle, Status2->width()));
    Status2->setToolTip(s.hint);
    QPalette pal = Status2->palette();
    pal.setColor(QPalette::WindowText, s.alarm ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    Status2->setPalette(pal);
}

void TMainform::UpdateMediumNotesGlyph()
{
    QString glyph = QStringLiteral("NONOTES");
    if (!mediumEmpty())
        glyph = MediumNotesGlyph(anyFilled(*Table1, "Free", 4), blobFilled(*Table1, "Memo"));
    SpBNotesK->SetGlyph(NotesPicture(glyph));
    SpBNotesK->setProperty("GlyphName", glyph);
}

// ---- film commands ---------------------------------------------------------------------

void TMainform::ButtNewFilmClick()
{
    if (mediumEmpty() || !FilmTable->active())
        return;
    try {
        postPending(Table1.get());
        const QString kind = currentKind();
        const int nr = currentNr();
        const MainDataSets sets = DataSets();
        int n = 1;
        while (LocateFilm(sets, kind, nr, n, false))
            ++n;
        if (n > SlotOffset + 5)
            SlotOffset = quint8(std::min(n - 5, 255));
        postPending(FilmTable.get());
        FilmTable->append();
        FilmTable->fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
        FilmTable->fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        FilmTable->fieldByName(QStringLiteral("FilmNr"))->setAsInteger(n);
        if (kind.startsWith(QLatin1String("DVD")))
            FilmTable->fieldByName(QStringLiteral("Ton"))->setAsString(QStringLiteral("A"));
        if (OpenFilmWindow) {
            // The film card takes the new film over and stores it.
            ShowMediumFilms();
            OpenFilmWindow(false);
            return;
        }
        FilmTable->post();
        Table2->refresh();
        Table1->refresh();
        ShowMediumFilms();
        UpdateStatusLine();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        if (FilmTable->state() == engine::DataSetState::Insert)
            FilmTable->cancel();
        showEngineError(e);
    }
}

void TMainform::SpBFilmDelClick()
{
    const int filmNr = SpBFilmDel->property("FilmNr").toInt();
    if (filmNr <= 0 || !FilmTable->active())
        return;
    if (kit::messageBox(QStringLiteral("Diesen Film wirklich löschen?"), QStringLiteral("Bestätigen"),
                        kit::MsgButtons::YesNo, kit::BoxIcon::Question)
        != mrYes)
        return;
    try {
        // Only the medium's last film: the films may have changed since the
        // button was placed.
        if (filmNr == highestFilmNr(*Table2, currentKind(), currentNr())
            && LocateFilm(DataSets(), currentKind(), currentNr(), filmNr, true))
            FilmTable->deleteRecord();
        Table2->refresh();
        Table1->refresh();
        ShowMediumFilms();
        UpdateStatusLine();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::SpBSplitFreeClick(int slot)
{
    if (slot < 1 || slot > 4)
        return;
    try {
        Records->SplitFreeArea(SlotOffset + slot, SpBSplitFree[size_t(slot - 1)]->property("Tag").toInt());
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::SpBJoinFreeClick()
{
    QList<int> tops;
    for (TPZSpeedButton *f : Film)
        tops << f->y();
    try {
        Records->JoinFreeArea(JoinFilmNr(SpBJoinFree->y(), tops, SlotOffset));
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::SpB5PushDownClick()
{
    try {
        Records->rest1to5 = bRest1bis4;
        Records->SpB5PushDownClick();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::SpBFinalizeClick()
{
    try {
        Records->SpBFinalizeClick();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::BUpClick()
{
    if (SlotOffset > 0)
        --SlotOffset;
    ShowMediumFilms();
}

void TMainform::BDownClick()
{
    if (SlotOffset < 255)
        ++SlotOffset;
    ShowMediumFilms();
}

void TMainform::ImageClick(int slot)
{
    if (slot < 1 || slot > 5 || !SlotFilmNr[size_t(slot - 1)] || !FilmTable->active())
        return;
    Film[size_t(slot - 1)]->setFocus();
    ShowFilmCard(SlotFilmNr[size_t(slot - 1)], bool(OpenFilmWindow), false);
}

void TMainform::ShowFilmCard(int filmNr, bool card, bool attachments)
{
    try {
        postPending(Table1.get());
        if (mediumEmpty())
            return;
        if (filmNr > 0 && FilmTable->active()) {
            postPending(FilmTable.get());
            LocateFilm(DataSets(), currentKind(), currentNr(), filmNr, true);
        }
    } catch (const engine::Abort &) {
        return;
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return;
    }
    if ((card || attachments) && OpenFilmWindow)
        OpenFilmWindow(attachments);
}

void TMainform::ButtPPPMedClick()
{
    if (Table1->readOnly() || !Table1->active()) {
        LockButton1->BlinkIfLocked();
        return;
    }
    try {
        if (Table1->state() == engine::DataSetState::Browse)
            Table1->edit();
        const QPoint below = DBMed->mapToGlobal(QPoint(0, DBMed->height()));
        const QString kind = ChooseMediumKind(below.x(), below.y(), DBMed->text());
        if (kind != currentKind()) {
            if (Table1->state() == engine::DataSetState::Browse)
                Table1->edit();
            Table1->fieldByName(QStringLiteral("Medium"))->setAsString(kind);
            Records->DBMedChange(kind);
        }
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

// ---- lending ------------------------------------------------------------------------------

void TMainform::DBVerliehenDropDown()
{
    const QString current = DBVerliehen->text();
    DBVerliehen->blockSignals(true);
    DBVerliehen->clear();
    if (Table1->active()) {
        try {
            engine::Query q;
            q.setSql({QStringLiteral("SELECT DISTINCT Verliehen FROM"),
                      QLatin1Char('"') + Table1->tableName() + QLatin1Char('"'),
                      QStringLiteral("WHERE Verliehen IS NOT NULL")});
            q.open();
            for (q.first(); !q.eof(); q.next())
                DBVerliehen->addItem(q.field(0)->asString());
            q.close();
        } catch (const engine::EngineError &e) {
            showEngineError(e);
        }
    }
    DBVerliehen->setText(current);
    DBVerliehen->blockSignals(false);
}

void TMainform::DBVerliehenChange()
{
    const engine::DataSetState st = Table1->state();
    if (st != engine::DataSetState::Edit && st != engine::DataSetState::Insert)
        return;
    engine::Field *lent = Table1->fieldByName(QStringLiteral("Verleihdatum"));
    engine::Field *back = Table1->fieldByName(QStringLiteral("Rueckgabedatum"));
    const LendingDates now{lent->asDate(), back->asDate()};
    const LendingDates d = LendingAfterBorrowerChange(Table1->fieldByName(QStringLiteral("Verliehen"))->asString(),
                                                      now, Calendar1->selectedDate(), RegelVerleihzeit);
    const QScopedValueRollback<bool> own(m_programWrites, true);
    if (d.lent != now.lent)
        lent->setAsDate(d.lent);
    if (d.back != now.back)
        back->setAsDate(d.back);
}

void TMainform::paintDateLabels()
{
    auto paint = [](QLabel *l, bool active) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, active ? QColor(0, 0, 255) : QColor(0, 0, 0));
        l->setPalette(pal);
    };
    paint(LabelVerleihdatum, CalendarTarget == DBVerleihdatum);
    paint(LabelRueckgabedatum, CalendarTarget == DBRueckgabedatum);
}

void TMainform::DateEditEnter(dbui::DbEdit *edit)
{
    if (!Editing())
        return;
    CalendarTarget = edit;
    if (engine::Field *f = edit->field()) {
        const QDate d = f->asDate();
        if (d.isValid())
            Calendar1->setSelectedDate(d);
    }
    PanelKalender->show();
    PanelKalender->raise();
    paintDateLabels();
}

void TMainform::OtherControlEnter()
{
    CalendarTarget = nullptr;
    PanelKalender->hide();
    paintDateLabels();
}

void TMainform::Calendar1Pick(const QDate &day)
{
    if (!CalendarTarget || !Table1->active() || Table1->readOnly() || mediumEmpty())
        return;
    try {
        if (Table1->state() == engine::DataSetState::Browse)
            Table1->edit();
        engine::Field *lent = Table1->fieldByName(QStringLiteral("Verleihdatum"));
        engine::Field *back = Table1->fieldByName(QStringLiteral("Rueckgabedatum"));
        const LendingDates now{lent->asDate(), back->asDate()};
        const LendingDates d = LendingAfterCalendarPick(CalendarTarget == DBVerleihdatum, day, now, RegelVerleihzeit);
        const QScopedValueRollback<bool> own(m_programWrites, true);
        lent->setAsDate(d.lent);
        back->setAsDate(d.back);
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TMainform::CalendarStep(int years, int months)
{
    const QDate first(Calendar1->yearShown(), Calendar1->monthShown(), 1);
    const QDate to = first.addYears(years).addMonths(months);
    Calendar1->setCurrentPage(to.year(), to.month());
}

// ---- remaining-time filter -------------------------------------------------------------------

bool TMainform::Table1FilterRecord(engine::DataSet &ds)
{
    engine::Field *rest = ds.findField(QStringLiteral("bRest"));
    engine::Field *maxFree = ds.findField(QStringLiteral("bMaxFree"));
    return RemainingTimeFilterAccepts(rest ? rest->asInteger() : 0, maxFree ? maxFree->asInteger() : 0,
                                      FilterMinRest, FilterOnMaxFree);
}

void TMainform::FilternnachRestspielzeit1Click()
{
    if (!Table1->active())
        return;
    try {
        postPending(Table1.get());
        if (Table1->filtered()) {
            const QString kind = property("FilterKind").toString();
            const int nr = property("FilterNr").toInt();
            Table1->setFiltered(false);
            if (!kind.isEmpty())
                LocateMedium(DataSets(), kind, nr, true);
        } else {
            int minRest = FilterMinRest;
            bool onMaxFree = FilterOnMaxFree;
            if (!ExecFilterDialog || !ExecFilterDialog(minRest, onMaxFree)) {
                SpBRest->SetDown(false);
                return;
            }
            FilterMinRest = minRest;
            FilterOnMaxFree = onMaxFree;
            setProperty("FilterKind", currentKind());
            setProperty("FilterNr", currentNr());
            Table1->setFiltered(true);
            Table1->first();
        }
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    FilternnachRestspielzeit1->setChecked(Table1->filtered());
    SpBRest->SetDown(Table1->filtered());
    ShowMediumFilms();
    UpdateStatusLine();
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
        try {
            if (vk && HandleDataSetKey(*Table1, options, *ke)) {
                if (Table1->state() == engine::DataSetState::Insert) {
                    if (InsertFocusField == QLatin1String("-"))
                        InsertFocusField = Records->numberingMode() == NumberingMode::PerKind
                            ? QStringLiteral("Medium")
                            : QString();
                    if (InsertFocusField == QLatin1String("Medium"))
                        DBMed->setFocus();
                }
                return true;
            }
        } catch (const engine::Abort &) {
            return true;
        } catch (const engine::EngineError &e) {
            showEngineError(e);
            return true;
        }
    }
    return tOzoFormMetal::eventFilter(watched, event);
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
    try {
        if (e->angleDelta().y() < 0)
            Table1->next();
        else
            Table1->prior();
    } catch (const engine::EngineError &err) {
        showEngineError(err);
    }
    e->accept();
}
