#include "windows/tables/wliste.h"

#include "app/settings.h"
#include "data/categories.h"
#include "data/locate.h"
#include "dbui/datasource.h"
#include "dbui/dbnavigator.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "exchange/listexport.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/exchange/exportcommands.h"
#include "windows/labels/labelprint.h"
#include "windows/main/mainform.h"
#include "windows/queries/queryform.h"
#include "windows/tables/viewswitch.h"
#include "windows/printing/tableprintdialogs.h"
#include "windows/printing/tableprintjob.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QWheelEvent>

TWListe *WListe = nullptr;

namespace {

void moveSet(engine::DataSet *set, int by)
{
    if (!set || !set->active())
        return;
    try {
        set->moveBy(by);
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
    }
}

} // namespace

// ---- the rows -----------------------------------------------------------------------------

TListRowPanel::TListRowPanel(TWListe &owner, QWidget *parent) : QWidget(parent), m_owner(owner)
{
    setObjectName(QStringLiteral("PanelRows"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TListRowPanel::FollowCursor()
{
    engine::DataSet *set = m_owner.DataSet();
    if (!set || !set->active()) {
        m_top = 0;
        update();
        return;
    }
    const int current = set->recNo() - 1;
    const int rows = m_owner.RowsPerPage();
    if (current >= 0) {
        if (current < m_top)
            m_top = current;
        else if (current >= m_top + rows)
            m_top = current - rows + 1;
    }
    m_top = std::max(0, m_top);
    update();
}

void TListRowPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    engine::DataSet *set = m_owner.DataSet();
    if (!set || !set->active() || !Mainform || !Mainform->Table2 || !Mainform->Table2->active())
        return;
    const int h = m_owner.RowHeight();
    const int count = set->recordCount();
    const int current = set->recNo() - 1;
    TTablePrintStyle style = TablePrintStyleFromSettings(54, m_owner.TwoLines(), m_owner.FilmList());
    TProgDirArtProvider art = ProgramLabelArt();
    PrintLockGuard lock;
    if (!lock.acquired())
        return; // a job prints: the rows are drawn again afterwards
    try {
        for (int i = 0; i < m_owner.RowsPerPage() && m_top + i < count; ++i) {
            const int row = m_top + i;
            if (row == current)
                p.fillRect(QRect(0, i * h, width(), h), QColor(255, 255, 200));
            p.save();
            p.translate(0, i * h);
            const TListRow r = ReadListRowAt(*set, row, m_owner.StandardList(), m_owner.FilmList());
            PaintLabelLayout(p, LayoutListRowOnScreen(ScreenListGeometry(), style, r, art));
            p.restore();
        }
    } catch (const engine::EngineError &) {
        // A row that cannot be read stays empty.
    }
}

void TListRowPanel::mousePressEvent(QMouseEvent *e)
{
    setFocus();
    engine::DataSet *set = m_owner.DataSet();
    if (!set || !set->active())
        return;
    const int row = m_top + int(e->position().y()) / m_owner.RowHeight();
    if (row < set->recordCount())
        moveSet(set, row - (set->recNo() - 1));
}

void TListRowPanel::wheelEvent(QWheelEvent *e)
{
    const int steps = e->angleDelta().y() / 120;
    if (steps != 0)
        moveSet(m_owner.DataSet(), -steps);
    e->accept();
}

void TListRowPanel::keyPressEvent(QKeyEvent *e)
{
    engine::DataSet *set = m_owner.DataSet();
    switch (e->key()) {
    case Qt::Key_Down:
        moveSet(set, 1);
        break;
    case Qt::Key_Up:
        moveSet(set, -1);
        break;
    case Qt::Key_PageDown:
        moveSet(set, m_owner.RowsPerPage());
        break;
    case Qt::Key_PageUp:
        moveSet(set, -m_owner.RowsPerPage());
        break;
    case Qt::Key_Home:
        if (set && set->active())
            set->first();
        break;
    case Qt::Key_End:
        if (set && set->active())
            set->last();
        break;
    default:
        QWidget::keyPressEvent(e);
    }
}

// ---- the window ----------------------------------------------------------------------------

TWListe::TWListe(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WListe"));
    resize(660, 460);
    TToolRow tools(this);
    SpBMenu = tools.add("SpBMenu", QStringLiteral("Liste"), QStringLiteral("Befehle der Liste"), 64);
    SpBTable = tools.add("SpBTable", QStringLiteral("\u25a6"), QStringLiteral("Tabellenansicht"));
    SpBCard = tools.add("SpBCard", QStringLiteral("\u2192"), QStringLiteral("Karteikartenansicht"));
    SpBPrint = tools.add("SpBPrint", QStringLiteral("\u25a4"), QStringLiteral("Diese Liste drucken"));
    SpBExport = tools.add("SpBExport", QStringLiteral("\u21e5"), QStringLiteral("Liste exportieren..."));
    SpBSettings = tools.add("SpBSettings", QStringLiteral("\u2699"), QStringLiteral("Einstellungen für Listen-/Tabellen-Druck"));
    SpBClose = tools.add("SpBClose", QStringLiteral("\u2715"), QStringLiteral("Schließen"));

    PanelRows = new TListRowPanel(*this, this);
    PanelRows->setGeometry(4, 34, 652, 392);
    DBNavigator1 = new dbui::DbNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons({dbui::DbNavigator::First, dbui::DbNavigator::Prior, dbui::DbNavigator::Next,
                                     dbui::DbNavigator::Last, dbui::DbNavigator::Refresh});
    DBNavigator1->setGeometry(4, 430, 160, 24);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = AddMenuAction;
    MenPrintAll = add(PopupMenu1, "MenPrintAll", QStringLiteral("Liste drucken (&vollständig)"));
    MenPrintThis = add(PopupMenu1, "MenPrintThis", QStringLiteral("Diese Liste drucken"));
    MenPrintCursor = add(PopupMenu1, "MenPrintCursor", QStringLiteral("Liste ab &Cursor drucken"));
    MenExport = add(PopupMenu1, "MenExport", QStringLiteral("Liste exportieren..."));
    MenSettings = add(PopupMenu1, "MenSettings", QStringLiteral("Einstellungen für &Listen-/Tabellen-Druck"));
    PopupMenu1->addSeparator();
    MenTwoLines = add(PopupMenu1, "MenTwoLines", QStringLiteral("&Zwei Zeilen pro Medium"));
    MenTwoLines->setCheckable(true);
    PopupSort = PopupMenu1->addMenu(QStringLiteral("S&ortieren nach..."));
    PopupSort->setObjectName(QStringLiteral("PopupSort"));
    MenSortieren = PopupSort->menuAction();
    MenSortieren->setObjectName(QStringLiteral("MenSortieren"));
    MenSortTitel = add(PopupSort, "MenSortTitel", QStringLiteral("&Titel"));
    MenSortKateg = add(PopupSort, "MenSortKateg", QStringLiteral("&Kategorie"));
    MenSortNummern = add(PopupSort, "MenSortNummern", QStringLiteral("&Nummern"));
    for (QAction *a : {MenSortTitel, MenSortKateg, MenSortNummern})
        a->setCheckable(true);
    PopupMenu1->addSeparator();
    MenTable = add(PopupMenu1, "MenTable", QStringLiteral("&Tabellenansicht"));
    MenCard = add(PopupMenu1, "MenCard", QStringLiteral("&Karteikartenansicht"));
    MenClose = add(PopupMenu1, "MenClose", QStringLiteral("&Schließen"));

    connect(SpBMenu, &TPZSpeedButton::Click, this,
            [this] { kit::popupMenu(*PopupMenu1, SpBMenu->mapToGlobal(QPoint(0, SpBMenu->height()))); });
    connect(MenPrintAll, &QAction::triggered, this, [this] { PrintClick(true); });
    connect(MenPrintThis, &QAction::triggered, this, [this] { PrintClick(true); });
    connect(SpBPrint, &TPZSpeedButton::Click, this, [this] { PrintClick(true); });
    connect(MenPrintCursor, &QAction::triggered, this, [this] { PrintClick(false); });
    connect(MenExport, &QAction::triggered, this, &TWListe::ExportClick);
    connect(SpBExport, &TPZSpeedButton::Click, this, &TWListe::ExportClick);
    connect(MenSettings, &QAction::triggered, this, [this] {
        if (ExecListPrintSettings(this))
            PanelRows->update();
    });
    connect(SpBSettings, &TPZSpeedButton::Click, MenSettings, &QAction::trigger);
    connect(MenTwoLines, &QAction::triggered, this, [this](bool on) { SetTwoLines(on); });
    auto sort = [](int which) { SortFilmTable(which); };
    connect(MenSortTitel, &QAction::triggered, this, [sort] { sort(0); });
    connect(MenSortKateg, &QAction::triggered, this, [sort] { sort(1); });
    connect(MenSortNummern, &QAction::triggered, this, [sort] { sort(2); });
    connect(MenTable, &QAction::triggered, this, &TWListe::TableClick);
    connect(SpBTable, &TPZSpeedButton::Click, this, &TWListe::TableClick);
    connect(MenCard, &QAction::triggered, this, &TWListe::CardClick);
    connect(SpBCard, &TPZSpeedButton::Click, this, &TWListe::CardClick);
    connect(MenClose, &QAction::triggered, this, &TWListe::close);
    connect(SpBClose, &TPZSpeedButton::Click, this, &TWListe::close);
    Create();
}

TWListe::~TWListe()
{
    if (WListe == this)
        WListe = nullptr;
    DBNavigator1->setDataSource(nullptr);
}

engine::DataSet *TWListe::DataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

void TWListe::Setup(dbui::DataSource *source, bool standard, bool films)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_standard = standard;
    m_films = films;
    DBNavigator1->setDataSource(source);
    if (source) {
        connect(source, &dbui::DataSource::dataChange, this, [this](engine::Field *f) {
            if (!f)
                PanelRows->FollowCursor();
            else
                PanelRows->update();
        });
        connect(source, &dbui::DataSource::rowsChange, PanelRows, &TListRowPanel::FollowCursor);
        connect(source, &dbui::DataSource::stateChange, PanelRows, &TListRowPanel::FollowCursor);
    }
    // A film list is always single-line; the choice is only for media lists,
    // the sort order only for the database's own tables.
    MenTwoLines->setEnabled(!films);
    if (films)
        MenTwoLines->setChecked(false);
    MenSortieren->setEnabled(standard);
    SyncSortChecks(CurrentFilmSort());
    updateCaption();
    PanelRows->FollowCursor();
}

void TWListe::updateCaption()
{
    SetCaption(!m_standard ? QStringLiteral("Abfrageergebnisse \\b(Listenansicht)")
               : m_films   ? QStringLiteral("Standard-Filmliste")
                           : QStringLiteral("Standard-Medienliste"));
}

void TWListe::SetTwoLines(bool on)
{
    m_twoLines = on && !m_films;
    MenTwoLines->setChecked(m_twoLines);
    PanelRows->FollowCursor();
}

int TWListe::RowsPerPage() const
{
    const int h = RowHeight();
    if (h < 10 || h > 50)
        return 1;
    return std::max(1, PanelRows->height() / h);
}

void TWListe::SyncSortChecks(int which)
{
    MenSortTitel->setChecked(which == 0);
    MenSortKateg->setChecked(which == 1);
    MenSortNummern->setChecked(which == 2);
}

void TWListe::FormResize()
{
    // Below the rows the navigator, clear of the frame's bottom edge.
    const int rows = std::max(40, height() - 100);
    PanelRows->setGeometry(4, 34, std::max(100, width() - 8), rows);
    DBNavigator1->move(4, 34 + rows + 4);
    PanelRows->FollowCursor();
}

void TWListe::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    action = caFree;
    if (WListe == this)
        WListe = nullptr;
}

void TWListe::PrintClick(bool fromStart)
{
    engine::DataSet *set = DataSet();
    if (!set || !set->active())
        return;
    PrintDataSetTable(*set, nullptr, m_standard, m_films, false, fromStart, !TwoLines());
}

void TWListe::ExportClick()
{
    engine::DataSet *set = DataSet();
    if (!set || !set->active() || !Mainform)
        return;
    const MainDataSets ds = Mainform->DataSets();
    ListExportContext context;
    context.films = ds.Table2;
    context.listColumns = ListSpAnz;
    context.playTimeFormat = PlayTimeFormat;
    context.categories = ExportCategoriesOf(CategoryTable);
    // The standard lists read the main window's cursors, as the printout does.
    engine::DataSet *source = set;
    if (m_standard)
        source = m_films ? static_cast<engine::DataSet *>(ds.Table2) : static_cast<engine::DataSet *>(ds.Table11);
    if (!source)
        return;
    MediaFilter filter;
    if (m_standard && !m_films && ds.Table1 && ds.Table1->filtered())
        filter = [](engine::DataSet &d) { return Mainform->Table1FilterRecord(d); };
    ExecListExport(this, *source, m_standard, m_films, !TwoLines(), context, filter, Mainform->FilterMinRest);
}

void TWListe::TableClick()
{
    if (!m_standard) {
        if (QueryForm) {
            QueryForm->show();
            QueryForm->raise();
        }
        return;
    }
    ShowTableViewOf(m_films);
}

void TWListe::CardClick()
{
    if (!Mainform)
        return;
    if (!m_standard) {
        if (QueryForm)
            QueryForm->SpBGotoClick();
        return;
    }
    if (m_films) {
        try {
            LocateMediumOfCurrentFilm(Mainform->DataSets());
        } catch (const engine::EngineError &e) {
            ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
        }
        Mainform->ShowFilmCard(0, true, false);
        return;
    }
    Mainform->show();
    Mainform->raise();
    Mainform->activateWindow();
}

void ShowListWindowOf(dbui::DataSource *source, bool standard, bool films)
{
    ShowListWindow(source, standard, films);
}

void ShowFilmSortInList(int which)
{
    if (WListe)
        WListe->SyncSortChecks(which);
}

TWListe *ShowListWindow(dbui::DataSource *source, bool standard, bool films)
{
    if (WListe && WListe->isVisible())
        WListe->hide();
    if (!WListe)
        WListe = CreateForm<TWListe>();
    WListe->Setup(source, standard, films);
    WListe->show();
    WListe->raise();
    WListe->activateWindow();
    return WListe;
}
