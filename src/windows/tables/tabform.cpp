#include "windows/tables/tabform.h"

#include "app/settings.h"
#include "data/categories.h"
#include "data/locate.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "dbui/dbnavigator.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/table.h"
#include "exchange/tableexport.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/exchange/exportcommands.h"
#include "data/database.h"
#include "windows/queries/dwebsuche.h"
#include "windows/main/mainform.h"
#include "windows/main/mainmenus.h"
#include "windows/printing/tableprintjob.h"
#include "windows/tables/viewswitch.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <cstdlib>

TTabForm *TabForm = nullptr;

namespace {

const char *const kCaption = "Tarvo -- \\bTabellenansicht der Datenbank";

QList<dbui::GridColumn> mediaColumns()
{
    using C = dbui::GridColumn;
    QList<C> c{C(QStringLiteral("Medium"), {}, 50), C(QStringLiteral("Nr"), {}, 43),
               C(QStringLiteral("Len"), QStringLiteral("Band-Länge")), C(QStringLiteral("bRest"), QStringLiteral("Restspielzeit")),
               C(QStringLiteral("bMaxFree"), QStringLiteral("MaxFrei")),
               C(QStringLiteral("Verliehen"), QStringLiteral("Verliehen an"), 145), C(QStringLiteral("Verleihdatum"), {}, 68),
               C(QStringLiteral("Rueckgabedatum"))};
    for (int i = 1; i <= 5; ++i)
        c << C(QStringLiteral("Free%1").arg(i));
    c << C(QStringLiteral("Gedruckt"));
    return c;
}

QList<dbui::GridColumn> filmColumns()
{
    using C = dbui::GridColumn;
    QList<C> c{C(QStringLiteral("Medium"), {}, 50), C(QStringLiteral("KassNr"), {}, 43), C(QStringLiteral("FilmNr"), {}, 43),
               C(QStringLiteral("Frei"), QStringLiteral("Frei ?")), C(QStringLiteral("Titel")), C(QStringLiteral("Untertitel")),
               C(QStringLiteral("Len"), QStringLiteral("Länge")), C(QStringLiteral("LP")), C(QStringLiteral("MW"), QStringLiteral("m.W.")),
               C(QStringLiteral("Ton")), C(QStringLiteral("Wide")), C(QStringLiteral("SW"), QStringLiteral("S/W")),
               C(QStringLiteral("Kateg")), C(QStringLiteral("Wertung"))};
    for (int i = 1; i <= 15; ++i)
        c << C(QStringLiteral("Free%1").arg(i));
    return c;
}

QList<dbui::GridColumn> personColumns()
{
    using C = dbui::GridColumn;
    QList<C> c{C(QStringLiteral("Name")), C(QStringLiteral("MF"), QStringLiteral("M/F"))};
    for (int i = 1; i <= 7; ++i)
        c << C(QStringLiteral("Free%1").arg(i), {}, 177);
    return c;
}

// A main-window command other windows share, when it is wired.
bool runMainEntry(const char *name)
{
    if (!Mainform || !Mainform->Menus || !Mainform->Menus->IsWired(QLatin1String(name)))
        return false;
    if (QAction *a = Mainform->Menus->Entry(QLatin1String(name)); a && a->isEnabled()) {
        a->trigger();
        return true;
    }
    return false;
}

bool mainEntryWired(const char *name)
{
    return Mainform && Mainform->Menus && Mainform->Menus->IsWired(QLatin1String(name));
}

void guardedStep(const std::function<void()> &f)
{
    try {
        f();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
    }
}

} // namespace

int CurrentFilmSort()
{
    const QString index = Mainform && Mainform->FilmTable ? Mainform->FilmTable->indexName() : QString();
    if (index.compare(QLatin1String("iTitel"), Qt::CaseInsensitive) == 0)
        return 0;
    return index.compare(QLatin1String("Kateg"), Qt::CaseInsensitive) == 0 ? 1 : 2;
}

TLabelCollectionDoor &LabelCollectionDoor()
{
    static TLabelCollectionDoor door;
    return door;
}

bool AddMediaToLabelCollection(const QList<QPair<QString, int>> &media)
{
    TLabelCollectionDoor &door = LabelCollectionDoor();
    if (!door.add)
        return false;
    if (media.isEmpty()) {
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("\\BEs sind keine Zeile(n) markiert!\\b\\lb\\lbDieser Befehl fügt die "
                                        "\\Umarkierte(n)\\u Zeile(n) in die Sammelliste ein!"));
        return false;
    }
    if (door.count && door.count() > 0) {
        const TModalResult r = kit::messageBox(QStringLiteral("Soll die Sammelliste zunächst geleert werden?"),
                                               QStringLiteral("Nachfrage"), kit::MsgButtons::YesNoCancel,
                                               kit::BoxIcon::Question);
        if (r == mrCancel)
            return false;
        if (r == mrYes && door.clear)
            door.clear();
    }
    for (const auto &m : media)
        door.add(m.first, m.second);
    if (door.labelsPerSheet && media.size() > door.labelsPerSheet())
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("\\BEs stehen nun mehr Etiketten in der Sammel-Liste, als \\b(bei der aktuell "
                                        "eingestellten Etiketten-Art)\\B auf eine Seite gedruckt werden können!\\b\\lb"
                                        "Löschen Sie einige Elemente der Sammel-Liste oder wählen Sie vor dem Druck "
                                        "eine passende Etiketten-Art aus."));
    return true;
}

TTabForm::TTabForm(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("TabForm"));
    resize(780, 560);
    TToolRow tools(this);
    SpBMenu = tools.add("SpBMenu", QStringLiteral("Tabelle"), QStringLiteral("Befehle der Tabellenansicht"), 64);
    SpBEdit = tools.add("SpBEdit", QStringLiteral("\u270e"), QStringLiteral("Editieren"));
    SpBEdit->SetAllowAllUp(true);
    SpBEdit->SetGroupIndex(1);
    SpBCard = tools.add("SpBCard", QStringLiteral("\u2192"), QStringLiteral("Karteikartenansicht"));
    SpBPrint = tools.add("SpBPrint", QStringLiteral("\u25a4"), QStringLiteral("Tabelle/Liste drucken"));
    SpBList = tools.add("SpBList", QStringLiteral("\u2630"), QStringLiteral("Als Liste anzeigen"));
    SpBLabelList = tools.add("SpBLabelList", QStringLiteral("\u2637"), QStringLiteral("Etikettenliste"));
    SpBExport = tools.add("SpBExport", QStringLiteral("\u21e5"), QStringLiteral("Exportieren..."));
    SpBShowAll = tools.add("SpBShowAll", QStringLiteral("\u2194"), QStringLiteral("Alle Spalten einblenden"));
    SpBStandard = tools.add("SpBStandard", QStringLiteral("Standard"), QStringLiteral("Standard-Spalten"), 64);
    SpBClose = tools.add("SpBClose", QStringLiteral("\u2715"), QStringLiteral("Schließen"));

    TabSet1 = new QTabBar(this);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->addTab(QStringLiteral("M&edien"));
    TabSet1->addTab(QStringLiteral("&Filme"));
    TabSet1->addTab(QStringLiteral("&Personen"));
    TabSet1->setGeometry(4, 34, 400, 26);

    buildGrids();

    DBNavigator1 = new dbui::DbNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(4, 488, 280, 24);
    DBNavigator1->setDataSource(DataSourceK);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = AddMenuAction;
    MenEditieren = add(PopupMenu1, "MenEditieren", QStringLiteral("Editieren"));
    MenEditieren->setCheckable(true);
    MenKarte = add(PopupMenu1, "MenKarte", QStringLiteral("&Karteikartenansicht"));
    MenSuche = add(PopupMenu1, "MenSuche", QStringLiteral("Suche &Film (Lokalisieren) ..."));
    MenVorschau = add(PopupMenu1, "MenVorschau", QStringLiteral("Etiketten-&Vorschau"));
    PopupMenu1->addSeparator();
    MenPrintAll = add(PopupMenu1, "MenPrintAll", QStringLiteral("&Tabelle/Liste drucken (vollständig)"));
    MenPrintCursor = add(PopupMenu1, "MenPrintCursor", QStringLiteral("Tabelle/Liste ab &Cursor drucken"));
    MenPagePrint = add(PopupMenu1, "MenPagePrint", QStringLiteral("&Anhang-Druck (min. 1 A4-Seite pro Film)"));
    MenSammelliste = add(PopupMenu1, "MenSammelliste", QStringLiteral("&Etikettendruck: In Sammelliste einfügen"));
    PopupMenu1->addSeparator();
    MenListe = add(PopupMenu1, "MenListe", QStringLiteral("Als &Liste anzeigen"));
    MenEtikettenliste = add(PopupMenu1, "MenEtikettenliste", QStringLiteral("Eti&kettenliste"));
    MenExport = add(PopupMenu1, "MenExport", QStringLiteral("E&xportieren..."));
    PopupMenu1->addSeparator();
    PopupSort = PopupMenu1->addMenu(QStringLiteral("S&ortieren nach..."));
    PopupSort->setObjectName(QStringLiteral("PopupSort"));
    MenSortieren = PopupSort->menuAction();
    MenSortieren->setObjectName(QStringLiteral("MenSortieren"));
    MenSortTitel = add(PopupSort, "MenSortTitel", QStringLiteral("&Titel"));
    MenSortKateg = add(PopupSort, "MenSortKateg", QStringLiteral("&Kategorie"));
    MenSortNummern = add(PopupSort, "MenSortNummern", QStringLiteral("&Nummern"));
    for (QAction *a : {MenSortTitel, MenSortKateg, MenSortNummern})
        a->setCheckable(true);
    MenShowAll = add(PopupMenu1, "MenShowAll", QStringLiteral("Alle Spalten &einblenden"));
    MenStandard = add(PopupMenu1, "MenStandard", QStringLiteral("&Standard"));
    PopupMenu1->addSeparator();
    MenSchliessen = add(PopupMenu1, "MenSchliessen", QStringLiteral("&Schließen"));

    // The column tools over the title of the selected column.
    PanelColTools = new QWidget(this);
    PanelColTools->setObjectName(QStringLiteral("PanelColTools"));
    PanelColTools->resize(48, 16);
    auto colButton = [this](const char *name, const QString &caption, const QString &hint, int at) {
        auto *b = new TPZSpeedButton(PanelColTools);
        b->setObjectName(QLatin1String(name));
        b->SetCaption(caption);
        b->setToolTip(hint);
        b->setGeometry(at, 0, 16, 16);
        return b;
    };
    SpBColLeft = colButton("SpBColLeft", QStringLiteral("\u25c2"), QStringLiteral("Linke Nachbarspalte wieder einblenden"), 0);
    SpBColHide = colButton("SpBColHide", QStringLiteral("\u00d7"), QStringLiteral("Spalte ausblenden"), 16);
    SpBColRight = colButton("SpBColRight", QStringLiteral("\u25b8"), QStringLiteral("Rechte Nachbarspalte wieder einblenden"), 32);
    PanelColTools->hide();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer1->setSingleShot(true);

    connect(SpBMenu, &TPZSpeedButton::Click, this,
            [this] { kit::popupMenu(*PopupMenu1, SpBMenu->mapToGlobal(QPoint(0, SpBMenu->height()))); });
    connect(TabSet1, &QTabBar::currentChanged, this, &TTabForm::TabSet1Change);
    connect(SpBEdit, &TPZSpeedButton::Click, this, [this] { SetEditMode(SpBEdit->Down()); });
    connect(MenEditieren, &QAction::triggered, this, [this](bool on) { SetEditMode(on); });
    connect(SpBCard, &TPZSpeedButton::Click, this, &TTabForm::CardClick);
    connect(MenKarte, &QAction::triggered, this, &TTabForm::CardClick);
    connect(MenSuche, &QAction::triggered, this, [] { runMainEntry("SucheFilmLokalisieren1"); });
    connect(MenVorschau, &QAction::triggered, this, [] { runMainEntry("EtikettenVorschau1"); });
    connect(SpBPrint, &TPZSpeedButton::Click, this, [this] { PrintClick(true); });
    connect(MenPrintAll, &QAction::triggered, this, [this] { PrintClick(true); });
    connect(MenPrintCursor, &QAction::triggered, this, [this] { PrintClick(false); });
    connect(MenSammelliste, &QAction::triggered, this, &TTabForm::AddToLabelCollectionClick);
    connect(SpBList, &TPZSpeedButton::Click, this, &TTabForm::ListClick);
    connect(MenListe, &QAction::triggered, this, &TTabForm::ListClick);
    connect(SpBLabelList, &TPZSpeedButton::Click, this, [] { runMainEntry("Etikettenliste1"); });
    connect(MenEtikettenliste, &QAction::triggered, this, [] { runMainEntry("Etikettenliste1"); });
    connect(SpBExport, &TPZSpeedButton::Click, this, &TTabForm::ExportClick);
    connect(MenExport, &QAction::triggered, this, &TTabForm::ExportClick);
    connect(MenSortTitel, &QAction::triggered, this, [this] { SortClick(0); });
    connect(MenSortKateg, &QAction::triggered, this, [this] { SortClick(1); });
    connect(MenSortNummern, &QAction::triggered, this, [this] { SortClick(2); });
    connect(SpBShowAll, &TPZSpeedButton::Click, this, &TTabForm::ShowAllColumns);
    connect(MenShowAll, &QAction::triggered, this, &TTabForm::ShowAllColumns);
    connect(SpBStandard, &TPZSpeedButton::Click, this, &TTabForm::StandardClick);
    connect(MenStandard, &QAction::triggered, this, &TTabForm::StandardClick);
    connect(SpBClose, &TPZSpeedButton::Click, this, &TTabForm::close);
    connect(MenSchliessen, &QAction::triggered, this, &TTabForm::close);
    connect(SpBColHide, &TPZSpeedButton::Click, this, &TTabForm::HideSelectedColumn);
    connect(SpBColLeft, &TPZSpeedButton::Click, this, [this] { ShowNeighbourColumn(-1); });
    connect(SpBColRight, &TPZSpeedButton::Click, this, [this] { ShowNeighbourColumn(1); });
    connect(Timer1, &QTimer::timeout, PanelColTools, &QWidget::hide);

    // Creation: the sort menu shows the film table's order.
    const int sort = CurrentFilmSort();
    MenSortTitel->setChecked(sort == 0);
    MenSortKateg->setChecked(sort == 1);
    MenSortNummern->setChecked(sort == 2);
    Create();
    SetCaption(QLatin1String(kCaption));
    SetEditMode(false);
    TabSet1Change(PageMedia);
}

TTabForm::~TTabForm()
{
    if (TabForm == this)
        TabForm = nullptr;
    for (dbui::DbGrid *g : {DBGrid1, DBGrid2, DBGrid3})
        g->setDataSource(nullptr);
    DBNavigator1->setDataSource(nullptr);
}

void TTabForm::buildGrids()
{
    engine::DataSet *media = Mainform ? Mainform->Table1.get() : nullptr;
    engine::DataSet *films = Mainform ? Mainform->FilmTable.get() : nullptr;
    engine::DataSet *persons = Mainform ? Mainform->PersTable.get() : nullptr;
    DataSourceK = new dbui::DataSource(media, this);
    DataSourceK->setObjectName(QStringLiteral("DataSourceK"));
    DataSourceF = new dbui::DataSource(films, this);
    DataSourceF->setObjectName(QStringLiteral("DataSourceF"));
    DataSourceP = new dbui::DataSource(persons, this);
    DataSourceP->setObjectName(QStringLiteral("DataSourceP"));
    auto grid = [this](const char *name, dbui::DataSource *src, const QList<dbui::GridColumn> &cols, TLayoutGrid which) {
        auto *g = new dbui::DbGrid(this);
        g->setObjectName(QLatin1String(name));
        g->setGeometry(4, 60, 772, 424);
        g->setDataSource(src);
        g->setColumns(cols);
        g->setMultiSelect(true);
        // Columns may be made narrow; the printout leaves out those below 15 pixels.
        g->horizontalHeader()->setMinimumSectionSize(4);
        g->setBoolSymbolStyle({GridBoolBothSymbols, GridBoolTrueSymbolOnly, GridBoolTickStyle});
        connect(g, &dbui::DbGrid::selectedColumnChanged, this, &TTabForm::PlaceColumnTools);
        connect(g->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TTabForm::PlaceColumnTools);
        connect(g, &dbui::DbGrid::columnMoved, this, [this, which](int from, int to) { ColumnMoved(which, from, to); });
        return g;
    };
    DBGrid1 = grid("DBGrid1", DataSourceK, mediaColumns(), TLayoutGrid::K);
    DBGrid2 = grid("DBGrid2", DataSourceF, filmColumns(), TLayoutGrid::F);
    DBGrid3 = grid("DBGrid3", DataSourceP, personColumns(), TLayoutGrid::P);
    DBGrid2->hide();
    DBGrid3->hide();
}

int TTabForm::ActivePage() const
{
    return TabSet1->currentIndex();
}

void TTabForm::SetActivePage(int page)
{
    TabSet1->setCurrentIndex(std::clamp(page, 0, 2));
}

dbui::DbGrid *TTabForm::ActiveGrid() const
{
    return ActivePage() == PageFilms ? DBGrid2 : ActivePage() == PagePersons ? DBGrid3 : DBGrid1;
}

dbui::DbGrid *TTabForm::Grid(TLayoutGrid which) const
{
    return which == TLayoutGrid::F ? DBGrid2 : which == TLayoutGrid::P ? DBGrid3 : DBGrid1;
}

TLayoutGrid TTabForm::activeLayout() const
{
    return ActivePage() == PageFilms ? TLayoutGrid::F : ActivePage() == PagePersons ? TLayoutGrid::P : TLayoutGrid::K;
}

void TTabForm::FormShow()
{
    for (dbui::DbGrid *g : {DBGrid1, DBGrid2, DBGrid3})
        g->setFixedColor(MetalFaceColor);
    if (LayoutsStored())
        ApplyColumnLayouts();
}

void TTabForm::FormActivate()
{
    if (!Mainform)
        return;
    guardedStep([] {
        for (engine::DataSet *d : {static_cast<engine::DataSet *>(Mainform->Table1.get()),
                                   static_cast<engine::DataSet *>(Mainform->FilmTable.get())})
            if (d && d->active())
                d->checkBrowseMode();
    });
    updateCommands();
}

void TTabForm::FormDeactivate()
{
    if (!m_resetting)
        StoreAllLayouts();
}

void TTabForm::updateCommands()
{
    const bool locked = !Mainform || !Mainform->Table1 || Mainform->Table1->readOnly();
    if (locked) {
        SetEditMode(false);
        MenEditieren->setEnabled(false);
        SpBEdit->setEnabled(false);
    } else {
        MenEditieren->setEnabled(true);
        SpBEdit->setEnabled(true);
    }
    const int page = ActivePage();
    MenPagePrint->setText(page == PagePersons ? QStringLiteral("&Personen-Druck (min. 1 A4-Seite pro Person)")
                                              : QStringLiteral("&Anhang-Druck (min. 1 A4-Seite pro Film)"));
    MenPagePrint->setVisible(page != PageMedia);
    // Film and person pages are printed by their own windows' job; until it
    // exists the entry stays off.
    MenPagePrint->setEnabled(false);
    MenSammelliste->setEnabled(page == PageMedia && bool(LabelCollectionDoor().add));
    MenSuche->setEnabled(mainEntryWired("SucheFilmLokalisieren1"));
    MenVorschau->setEnabled(mainEntryWired("EtikettenVorschau1"));
    const bool labelList = mainEntryWired("Etikettenliste1");
    MenEtikettenliste->setEnabled(labelList);
    SpBLabelList->setEnabled(labelList);
    const bool cardOk = page != PagePersons || mainEntryWired("PersonenKarteikarte1");
    MenKarte->setEnabled(cardOk);
    SpBCard->setEnabled(cardOk);
    const bool listOk = page != PagePersons;
    MenListe->setEnabled(listOk);
    SpBList->setEnabled(listOk);
}

void TTabForm::SetEditMode(bool on)
{
    if (on && (!Mainform || !Mainform->Table1 || Mainform->Table1->readOnly()))
        on = false;
    MenEditieren->setChecked(on);
    SpBEdit->SetDown(on);
    for (dbui::DbGrid *g : {DBGrid1, DBGrid2}) {
        g->setReadOnly(!on);
        g->setRowSelect(!on);
    }
    DBGrid3->setReadOnly(!on);
}

void TTabForm::TabSet1Change(int page)
{
    if (!Mainform)
        return;
    const MainDataSets ds = Mainform->DataSets();
    guardedStep([&] {
        if (page == PageFilms && ds.Table1 && ds.Table1->active() && !ds.Table1->isEmpty() && ds.filmTable
            && ds.filmTable->active()) {
            // The film table follows the medium when it stands on another one.
            const bool same = !ds.filmTable->isEmpty()
                              && ds.filmTable->fieldByName(QStringLiteral("Medium"))->asString()
                                     == ds.Table1->fieldByName(QStringLiteral("Medium"))->asString()
                              && ds.filmTable->fieldByName(QStringLiteral("KassNr"))->asInteger()
                                     == ds.Table1->fieldByName(QStringLiteral("Nr"))->asInteger();
            if (!same)
                LocateFilmOfCurrentMedium(ds, 1, true, true);
        } else if (page == PageMedia && ds.filmTable && ds.filmTable->active() && !ds.filmTable->isEmpty()) {
            LocateMediumOfCurrentFilm(ds);
        }
    });
    DBGrid1->setVisible(page == PageMedia);
    DBGrid2->setVisible(page == PageFilms);
    DBGrid3->setVisible(page == PagePersons);
    DBNavigator1->setDataSource(page == PageFilms ? DataSourceF : page == PagePersons ? DataSourceP : DataSourceK);
    PanelColTools->hide();
    updateCommands();
}

// ---- layouts -------------------------------------------------------------------------

void TTabForm::StoreAllLayouts()
{
    if (!LayoutsStored() && Mainform)
        StoreColumnLayout(TLayoutGrid::MF, *Mainform->Component<dbui::DbGrid>(QStringLiteral("DBGridFL")));
    StoreColumnLayout(TLayoutGrid::K, *DBGrid1);
    StoreColumnLayout(TLayoutGrid::F, *DBGrid2);
    StoreColumnLayout(TLayoutGrid::P, *DBGrid3);
    SetLayoutsStored(true);
    SaveSettings();
}

void TTabForm::ApplyColumnLayouts()
{
    ApplyColumnLayout(TLayoutGrid::K, *DBGrid1);
    ApplyColumnLayout(TLayoutGrid::F, *DBGrid2);
    ApplyColumnLayout(TLayoutGrid::P, *DBGrid3);
}

void TTabForm::ColumnMoved(TLayoutGrid which, int from, int to)
{
    dbui::ColumnLayout l = StoredColumnLayout(which);
    if (from < 0 || to < 0 || from >= l.widths.size() || to >= l.widths.size())
        return;
    const int w = l.widths.takeAt(from);
    l.widths.insert(to, w);
    SetStoredColumnLayout(which, l);
}

void TTabForm::HideSelectedColumn()
{
    dbui::DbGrid *g = ActiveGrid();
    const int col = g->selectedColumn();
    if (col < 0 || g->gridColumnWidth(col) == 0)
        return;
    dbui::ColumnLayout l = StoredColumnLayout(activeLayout());
    dbui::hideColumn(*g, l, col);
    SetStoredColumnLayout(activeLayout(), l);
    int sel = col - 1;
    while (sel >= 0 && g->gridColumnWidth(sel) == 0)
        --sel;
    if (sel < 0) {
        sel = col + 1;
        while (sel < g->columnCount() && g->gridColumnWidth(sel) == 0)
            ++sel;
    }
    if (sel >= 0 && sel < g->columnCount())
        g->setSelectedColumn(sel);
    PlaceColumnTools();
}

void TTabForm::ShowNeighbourColumn(int step)
{
    dbui::DbGrid *g = ActiveGrid();
    const int col = g->selectedColumn() + step;
    if (col < 0 || col >= g->columnCount() || g->gridColumnWidth(col) != 0)
        return;
    dbui::ColumnLayout l = StoredColumnLayout(activeLayout());
    dbui::showColumn(*g, l, col);
    SetStoredColumnLayout(activeLayout(), l);
    g->setSelectedColumn(col);
    PlaceColumnTools();
}

void TTabForm::ShowAllColumns()
{
    dbui::DbGrid *g = ActiveGrid();
    dbui::ColumnLayout l = StoredColumnLayout(activeLayout());
    for (int i = 0; i < g->columnCount(); ++i)
        if (g->gridColumnWidth(i) == 0)
            dbui::showColumn(*g, l, i);
    SetStoredColumnLayout(activeLayout(), l);
    PlaceColumnTools();
}

void TTabForm::PlaceColumnTools()
{
    dbui::DbGrid *g = ActiveGrid();
    const int col = g->selectedColumn();
    if (col < 0 || col >= g->columnCount()) {
        PanelColTools->hide();
        return;
    }
    QHeaderView *h = g->horizontalHeader();
    const int left = g->x() + h->sectionViewportPosition(col) + g->verticalHeader()->width() + g->frameWidth();
    const int width = h->sectionSize(col);
    PanelColTools->move(left + std::max(0, (width - PanelColTools->width()) / 2),
                        g->y() + g->frameWidth() + std::max(0, (h->height() - PanelColTools->height()) / 2));
    SpBColLeft->setEnabled(col > 0 && g->gridColumnWidth(col - 1) == 0);
    SpBColRight->setEnabled(col + 1 < g->columnCount() && g->gridColumnWidth(col + 1) == 0);
    SpBColHide->setEnabled(g->gridColumnWidth(col) > 0);
    PanelColTools->show();
    PanelColTools->raise();
    Timer1->start();
}

void TTabForm::StandardClick()
{
    const int page = ActivePage();
    m_resetting = true;
    SetLayoutsStored(false);
    hide();
    TabForm = nullptr;
    deleteLater();
    ShowTableView(page);
}

// ---- commands --------------------------------------------------------------------------

void TTabForm::SortClick(int which)
{
    if (!Mainform)
        return;
    QString index;
    if (which == 0)
        index = QStringLiteral("iTitel");
    else if (which == 1)
        index = QStringLiteral("Kateg");
    else if (Mainform->FilmTable && Mainform->FilmTable->active()
             && Mainform->FilmTable->indexNames().contains(QStringLiteral("iNrExcl"), Qt::CaseInsensitive))
        index = QStringLiteral("iNrExcl");
    guardedStep([&] {
        for (engine::Table *t : {Mainform->FilmTable.get(), Mainform->Table2.get()})
            if (t && t->active())
                t->setIndexName(index);
    });
    MenSortTitel->setChecked(which == 0);
    MenSortKateg->setChecked(which == 1);
    MenSortNummern->setChecked(which == 2);
    ShowFilmSortInList(which);
}

void TTabForm::CardClick()
{
    if (!Mainform)
        return;
    const int page = ActivePage();
    if (page == PageFilms) {
        guardedStep([] { LocateMediumOfCurrentFilm(Mainform->DataSets()); });
        Mainform->ShowFilmCard(0, true, false);
    } else if (page == PagePersons) {
        runMainEntry("PersonenKarteikarte1");
    } else {
        Mainform->show();
        Mainform->raise();
        Mainform->activateWindow();
    }
}

void TTabForm::PrintClick(bool fromStart)
{
    if (!Mainform)
        return;
    const int page = ActivePage();
    bool tableChosen = false, oneLine = true;
    if (!ExecTablePrintKindDialog(true, page == PagePersons, page == PageFilms, tableChosen, oneLine, this))
        return;
    engine::DataSet *set = page == PageFilms    ? static_cast<engine::DataSet *>(Mainform->Table2.get())
                           : page == PagePersons ? static_cast<engine::DataSet *>(Mainform->PersTable.get())
                                                 : static_cast<engine::DataSet *>(Mainform->Table1.get());
    if (!set || !set->active())
        return;
    PrintDataSetTable(*set, tableChosen ? ActiveGrid() : nullptr, true, page == PageFilms, page == PagePersons,
                      fromStart, tableChosen || oneLine);
}

void TTabForm::ListClick()
{
    const int page = ActivePage();
    if (page == PagePersons)
        return;
    ShowListWindowOf(page == PageFilms ? DataSourceF : DataSourceK, true, page == PageFilms);
}

void TTabForm::ExportClick()
{
    if (!Mainform)
        return;
    const int page = ActivePage();
    const MainDataSets ds = Mainform->DataSets();
    TableExportContext context;
    context.generator = Mainform->GetCaptionText();
    context.categories = ExportCategoriesOf(CategoryTable);
    context.captions = DBTables.TableLAB;
    context.webSearchLinks = WebSearchLinksHook(ShowWebSearchError); // reads "search.ini" once for this export
    if (page == PageFilms) {
        context.sourceTitle = ExportSourceTitle(ExportSource::FilmGrid, DBBase);
        if (ds.filmTable)
            context.filmIndex = ds.filmTable->indexName();
        if (ds.Table2)
            ExecTableExport(this, *ds.Table2, *DBGrid2, ExportSource::FilmGrid, context);
    } else if (page == PagePersons) {
        context.sourceTitle = ExportSourceTitle(ExportSource::PersonGrid, DBBase);
        if (Mainform->PersTable)
            ExecTableExport(this, *Mainform->PersTable, *DBGrid3, ExportSource::PersonGrid, context);
    } else {
        context.sourceTitle = ExportSourceTitle(ExportSource::MediaGrid, DBBase);
        context.films = ds.Table2;
        context.filmColumns = ExportColumnsOf(*DBGrid2);
        MediaFilter filter;
        if (ds.Table1 && ds.Table1->filtered())
            filter = [](engine::DataSet &d) { return Mainform->Table1FilterRecord(d); };
        if (ds.Table11)
            ExecTableExport(this, *ds.Table11, *DBGrid1, ExportSource::MediaGrid, context, filter);
    }
}

void TTabForm::AddToLabelCollectionClick()
{
    engine::DataSet *set = DBGrid1->dataSource() ? DBGrid1->dataSource()->dataSet() : nullptr;
    if (!set || !set->active())
        return;
    QList<QPair<QString, int>> media;
    engine::Field *kind = set->findField(QStringLiteral("Medium"));
    engine::Field *nr = set->findField(QStringLiteral("Nr"));
    for (int row : DBGrid1->selectedRows()) {
        if (kind && nr)
            media << qMakePair(set->valueAt(row, kind->index()).toString(), set->valueAt(row, nr->index()).toInt());
    }
    AddMediaToLabelCollection(media);
}

// ---- entries ---------------------------------------------------------------------------

TTabForm *ShowTableView(int page)
{
    if (!TabForm)
        TabForm = CreateForm<TTabForm>();
    TabForm->SetActivePage(page);
    TabForm->show();
    if (TabForm->RolledUp())
        TabForm->SetRolledUp(false);
    TabForm->raise();
    TabForm->activateWindow();
    return TabForm;
}

void ShowTableViewOf(bool films)
{
    ShowTableView(films ? TTabForm::PageFilms : TTabForm::PageMedia);
}

void SortFilmTable(int which)
{
    (TabForm ? TabForm : ShowTableView(TTabForm::PageFilms))->SortClick(which);
}

void StoreMainGridLayout()
{
    auto *grid = Mainform ? Mainform->Component<dbui::DbGrid>(QStringLiteral("DBGridFL")) : nullptr;
    if (!grid)
        return;
    if (LayoutsStored()) {
        StoreColumnLayout(TLayoutGrid::MF, *grid);
        SaveSettings();
        return;
    }
    // No layout yet: the designed ones of the table view are stored with it.
    if (TabForm) {
        TabForm->StoreAllLayouts();
        return;
    }
    std::unique_ptr<TTabForm> view(CreateForm<TTabForm>());
    view->StoreAllLayouts();
}
