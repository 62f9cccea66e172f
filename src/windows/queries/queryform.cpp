#include "windows/queries/queryform.h"

#include "windows/queries/dwebsuche.h"

#include "app/settings.h"
#include "data/categories.h"
#include "data/database.h"
#include "data/databaseplaces.h"
#include "data/locate.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "dbui/dbnavigator.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "exchange/tableexport.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "query/cannedqueries.h"
#include "query/storedquery.h"
#include "query/chartdata.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/exchange/exportcommands.h"
#include "windows/labels/labellist.h"
#include "windows/labels/labelselect.h"
#include "windows/main/mainform.h"
#include "windows/queries/dabfragedef.h"
#include "windows/queries/dsqlparam.h"
#include "windows/printing/pageprint.h"
#include "windows/printing/tableprintjob.h"
#include "windows/queries/wdiagram.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/cards/wfilm.h"
#include "windows/tables/wliste.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>


TQueryForm *QueryForm = nullptr;

namespace {

const char *const kCaption = "Abfrageergebnisse \\b(Tabellenansicht)";

QString engineMessage(const QString &detail)
{
    return QStringLiteral("Die Abfrage konnte nicht ausgeführt werden:\\lb\\lb") + detail;
}

// A table the user names without a folder ("Med", "Film.DB", "PERS") is the
// one of that name where the open database keeps its tables; queries and
// data-changing statements look for it there alike.
QString userSqlFolder()
{
    return TDatabasePlaces::fromBase(DBBase).DBDir;
}

} // namespace

TQueryForm::TQueryForm(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("QueryForm"));
    setWindowTitle(QLatin1String(kCaption));
    resize(760, 480);

    Query1 = std::make_unique<engine::Query>();
    Query1->setRequestLive(true);
    DataSource2 = new dbui::DataSource(Query1.get(), this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));

    TToolRow tools(this);
    SpBMenu = tools.add("SpBMenu", QStringLiteral("Abfrage"), QStringLiteral("Befehle des Abfragefensters"), 64);
    SpBGoto = tools.add("SpBGoto", QStringLiteral("\u2192"), QStringLiteral("Band in Karteikartenansicht auswählen"));
    SpBPrint = tools.add("SpBPrint", QStringLiteral("\u25a4"), QStringLiteral("Drucken..."));
    SpBExport = tools.add("SpBExport", QStringLiteral("\u21e5"), QStringLiteral("Exportieren..."));
    SpBLists = tools.add("SpBLists", QStringLiteral("\u2630"), QStringLiteral("Ergebnisse als Liste anzeigen"));
    SpBPie = tools.add("SpBPie", QStringLiteral("\u25d4"), QStringLiteral("Tortendiagramm"));
    SpBBar = tools.add("SpBBar", QStringLiteral("\u2587"), QStringLiteral("Balkendiagramm"));
    SpBLine = tools.add("SpBLine", QStringLiteral("\u2571"), QStringLiteral("Liniendiagramm"));
    SpBEdit = tools.add("SpBEdit", QStringLiteral("\u270e"), QStringLiteral("Editieren"));
    SpBEdit->SetAllowAllUp(true);
    SpBEdit->SetGroupIndex(1);
    SpBClose = tools.add("SpBClose", QStringLiteral("\u2715"), QStringLiteral("Schließen"));

    DBGrid1 = new dbui::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(4, 34, 752, 400);
    DBGrid1->setDataSource(DataSource2);
    DBGrid1->installEventFilter(this);
    DBGrid1->viewport()->installEventFilter(this);

    DBNavigator1 = new dbui::DbNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(DataSource2);
    DBNavigator1->setVisibleButtons({dbui::DbNavigator::First, dbui::DbNavigator::Prior, dbui::DbNavigator::Next,
                                     dbui::DbNavigator::Last, dbui::DbNavigator::Post, dbui::DbNavigator::Cancel,
                                     dbui::DbNavigator::Refresh});
    DBNavigator1->setGeometry(4, 440, 240, 24);

    // The column tools over the title row of the selected column.
    SpBHideCol = new TPZSpeedButton(DBGrid1);
    SpBHideCol->setObjectName(QStringLiteral("SpBHideCol"));
    SpBHideCol->SetCaption(QStringLiteral("\u00d7"));
    SpBHideCol->setToolTip(QStringLiteral("Spalte ausblenden"));
    SpBShowLeft = new TPZSpeedButton(DBGrid1);
    SpBShowLeft->setObjectName(QStringLiteral("SpBShowLeft"));
    SpBShowLeft->SetCaption(QStringLiteral("\u25c2"));
    SpBShowLeft->setToolTip(QStringLiteral("Linke Nachbarspalte wieder einblenden"));
    SpBShowRight = new TPZSpeedButton(DBGrid1);
    SpBShowRight->setObjectName(QStringLiteral("SpBShowRight"));
    SpBShowRight->SetCaption(QStringLiteral("\u25b8"));
    SpBShowRight->setToolTip(QStringLiteral("Rechte Nachbarspalte wieder einblenden"));
    for (auto *b : {SpBHideCol, SpBShowLeft, SpBShowRight}) {
        b->resize(14, 14);
        b->hide();
    }
    TimerColButtons = new QTimer(this);
    TimerColButtons->setObjectName(QStringLiteral("TimerColButtons"));
    TimerColButtons->setInterval(500);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char *name, const QString &text) {
        QAction *a = PopupMenu1->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    MenGoto = add("MenGoto", QStringLiteral("&Band in Karteikartenansicht auswählen"));
    PopupMenu1->addSeparator();
    MenPrintMedia = add("MenPrintMedia", QStringLiteral("Als Tabelle oder &Medienliste drucken"));
    MenPrintFilms = add("MenPrintFilms", QStringLiteral("Als Tabelle oder &Filmliste drucken"));
    MenPagePrint = add("MenPagePrint", QStringLiteral("&Anhang-Druck (min. 1 A4-Seite pro Film)"));
    MenAddToCollection = add("MenAddToCollection", QStringLiteral("&Etikettendruck: In Sammelliste einfügen"));
    MenPrintPersons = add("MenPrintPersons", QStringLiteral("Personen-Tabelle drucken..."));
    MenPrint = add("MenPrint", QStringLiteral("Drucken..."));
    MenExport = add("MenExport", QStringLiteral("Exportieren..."));
    PopupMenu1->addSeparator();
    MenMediaList = add("MenMediaList", QStringLiteral("Ergebnisse als Medienliste anzeigen"));
    MenFilmList = add("MenFilmList", QStringLiteral("Ergebnisse als Filmliste anzeigen"));
    MenLabelList = add("MenLabelList", QStringLiteral("Ergebnisse als Eti&kettenliste anzeigen"));
    PopupMenu1->addSeparator();
    MenPie = add("MenPie", QStringLiteral("&Tortendiagramm"));
    MenBar = add("MenBar", QStringLiteral("&Balkendiagramm"));
    MenLine = add("MenLine", QStringLiteral("&Liniendiagramm"));
    PopupMenu1->addSeparator();
    MenEditieren = add("MenEditieren", QStringLiteral("&Editieren"));
    MenEditieren->setCheckable(true);
    MenSchliessen = add("MenSchliessen", QStringLiteral("&Schließen"));

    auto print = [this](TQueryPrintKind kind) { PrintQueryResult(*Query1, *DBGrid1, kind, this); };
    connect(MenPrintMedia, &QAction::triggered, this, [print] { print(TQueryPrintKind::MediaList); });
    connect(MenPrintFilms, &QAction::triggered, this, [print] { print(TQueryPrintKind::FilmList); });
    connect(MenPrintPersons, &QAction::triggered, this, [print] { print(TQueryPrintKind::Persons); });
    connect(MenPrint, &QAction::triggered, this, [print] { print(TQueryPrintKind::OneToOne); });
    connect(SpBPrint, &TPZSpeedButton::Click, this, [print] { print(TQueryPrintKind::OneToOne); });
    connect(MenMediaList, &QAction::triggered, this, [this] { ShowListWindow(DataSource2, false, false); });
    connect(MenFilmList, &QAction::triggered, this, [this] { ShowListWindow(DataSource2, false, true); });
    connect(SpBLists, &TPZSpeedButton::Click, this,
            [this] { ShowListWindow(DataSource2, false, Commands.filmList && !Commands.mediaList); });
    // Film pages of a film result, over the film card's table whether or not
    // the card was ever opened; person pages come with the person window.
    connect(MenPagePrint, &QAction::triggered, this, [this] {
        if (DBTables.FilmTable && DBTables.FilmTable->active())
            PrintFilmPages(*DBGrid1, *DBTables.FilmTable);
    });
    HookQueryLabelCommands(*this);

    connect(SpBMenu, &TPZSpeedButton::Click, this,
            [this] { kit::popupMenu(*PopupMenu1, SpBMenu->mapToGlobal(QPoint(0, SpBMenu->height()))); });
    connect(SpBGoto, &TPZSpeedButton::Click, this, &TQueryForm::SpBGotoClick);
    connect(MenGoto, &QAction::triggered, this, &TQueryForm::SpBGotoClick);
    connect(SpBExport, &TPZSpeedButton::Click, this, &TQueryForm::SpBExportClick);
    connect(MenExport, &QAction::triggered, this, &TQueryForm::SpBExportClick);
    connect(SpBPie, &TPZSpeedButton::Click, this, [this] { ChartClick(query::ChartKind::Pie); });
    connect(SpBBar, &TPZSpeedButton::Click, this, [this] { ChartClick(query::ChartKind::Bar); });
    connect(SpBLine, &TPZSpeedButton::Click, this, [this] { ChartClick(query::ChartKind::Line); });
    connect(MenPie, &QAction::triggered, this, [this] { ChartClick(query::ChartKind::Pie); });
    connect(MenBar, &QAction::triggered, this, [this] { ChartClick(query::ChartKind::Bar); });
    connect(MenLine, &QAction::triggered, this, [this] { ChartClick(query::ChartKind::Line); });
    connect(SpBEdit, &TPZSpeedButton::Click, this, [this] { SetEditMode(SpBEdit->Down()); });
    connect(MenEditieren, &QAction::triggered, this, [this](bool on) { SetEditMode(on); });
    connect(SpBClose, &TPZSpeedButton::Click, this, &TQueryForm::close);
    connect(MenSchliessen, &QAction::triggered, this, &TQueryForm::close);
    connect(SpBHideCol, &TPZSpeedButton::Click, this, &TQueryForm::HideSelectedColumn);
    connect(SpBShowLeft, &TPZSpeedButton::Click, this, [this] { ShowNeighbourColumn(-1); });
    connect(SpBShowRight, &TPZSpeedButton::Click, this, [this] { ShowNeighbourColumn(1); });
    connect(DBGrid1, &dbui::DbGrid::selectedColumnChanged, this, &TQueryForm::PlaceColumnButtons);
    connect(DBGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TQueryForm::PlaceColumnButtons);
    connect(DBGrid1, &dbui::DbGrid::columnMoved, this, [this](int from, int to) {
        query::MoveColInfo(ColInfo, from, to);
        UpdateChartButtons();
    });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TQueryForm::DBGrid1DblClick);
    connect(DataSource2, &dbui::DataSource::dataChange, this, [this](engine::Field *field) {
        if (!field)
            ApplyRowMediumCaptions();
    });
    connect(DBNavigator1, &dbui::DbNavigator::clicked, this, [](dbui::DbNavigator::Button b) {
        if (b == dbui::DbNavigator::Post && DBTables.Table1 && DBTables.Table1->active())
            DBTables.Table1->refresh();
    });
    connect(TimerColButtons, &QTimer::timeout, this, [this] {
        if (!DBGrid1->underMouse() && !DBGrid1->hasFocus()) {
            for (auto *b : {SpBHideCol, SpBShowLeft, SpBShowRight})
                b->hide();
            TimerColButtons->stop();
        }
    });
    SetEditMode(false);
    AfterOpen();
}

TQueryForm::~TQueryForm()
{
    if (QueryForm == this)
        QueryForm = nullptr;
    DBGrid1->setDataSource(nullptr);
    DataSource2->setDataSet(nullptr);
}

query::QueryTables TQueryForm::Tables()
{
    query::QueryTables t;
    if (DBTables.Table2)
        t.film = DBTables.Table2->tableName();
    if (DBTables.Table1)
        t.media = DBTables.Table1->tableName();
    if (DBTables.PersTable)
        t.person = DBTables.PersTable->tableName();
    return t;
}

QStringList TQueryForm::CategoryNames()
{
    return query::ReadCategoryNames(DBBase + QStringLiteral("DB/KAT"));
}

void TQueryForm::showError(const QString &message)
{
    ShowMetalMessage(QStringLiteral("Fehler"), engineMessage(message));
}

bool TQueryForm::askParams()
{
    ShowInactiveCaption();
    const bool ok = AskQueryParams(*Query1, this);
    ShowActiveCaption();
    return ok;
}

bool TQueryForm::openQuery()
{
    // Whatever the window showed before (the reminder list names itself
    // after opening), a new result is the plain result again.
    SetCaption(QString::fromLatin1(kCaption));
    try {
        Query1->setDatabaseFolder(userSqlFolder());
        Query1->open();
    } catch (const engine::EngineError &e) {
        AfterOpen();
        showError(e.message());
        return false;
    }
    AfterOpen();
    return true;
}

bool TQueryForm::RunQuery()
{
    show();
    if (RolledUp())
        SetRolledUp(false);
    raise();
    Query1->close();
    Query1->setSql(query::ExpandQueryMacros(Query1->sql(), Tables(), CategoryNames()));
    if (!askParams()) {
        AfterOpen();
        return false;
    }
    return openQuery();
}

bool TQueryForm::OpenLines(const QStringList &lines)
{
    Query1->close();
    Query1->setSql(lines);
    return openQuery();
}

QStringList TQueryForm::shownFields() const
{
    QStringList out;
    const auto &cols = DBGrid1->columns();
    for (int i = 0; i < cols.size(); ++i)
        if (DBGrid1->gridColumnWidth(i) > 0)
            out << cols[i].fieldName;
    return out;
}

void TQueryForm::AfterOpen()
{
    const bool open = Query1->active();
    LastMediumKind.clear();
    if (open)
        ApplyResultCaptions();
    Commands = open ? query::CommandsForResult(Query1->fieldNames()) : query::ResultCommands{};
    MenGoto->setEnabled(Commands.gotoMedium);
    SpBGoto->setEnabled(Commands.gotoMedium);
    MenExport->setEnabled(open);
    SpBExport->setEnabled(open);
    MenPrintFilms->setVisible(Commands.printFilmList);
    MenPagePrint->setText(Commands.pagePrintCaption.isEmpty() ? MenPagePrint->text() : Commands.pagePrintCaption);
    MenPagePrint->setVisible(Commands.pagePrint);
    MenPagePrint->setEnabled(Commands.pagePrint && !Commands.printPersons);
    MenPrintMedia->setVisible(Commands.printMediaList);
    MenAddToCollection->setVisible(Commands.addToCollection);
    MenAddToCollection->setEnabled(Commands.addToCollection);
    MenLabelList->setEnabled(Commands.labelList);
    MenPrintPersons->setVisible(Commands.printPersons);
    MenPrint->setVisible(!Commands.printMenu);
    for (QAction *a : {MenPrintMedia, MenPrintFilms, MenPrintPersons, MenPrint})
        a->setEnabled(open);
    SpBPrint->setEnabled(open);
    MenMediaList->setEnabled(Commands.mediaList);
    MenFilmList->setEnabled(Commands.filmList);
    SpBLists->setEnabled(Commands.lists());
    ColInfo = QList<query::TColInfo>(open ? DBGrid1->columnCount() : 0);
    UpdateChartButtons();
    PlaceColumnButtons();
}

void TQueryForm::ApplyResultCaptions()
{
    // Film fields where the result holds films, person fields where it holds
    // persons; the medium fields follow the row (below).
    if (Query1->findField(QStringLiteral("KassNr")))
        for (int n = 1; n <= FilmFreeCount; ++n)
            SetFieldCaption(Query1.get(), QStringLiteral("Free%1").arg(n), GetFilmFreeLabel(n));
    if (Query1->findField(QStringLiteral("Name")))
        for (int n = 1; n <= PersonFreeCount; ++n)
            SetFieldCaption(Query1.get(), QStringLiteral("Free%1").arg(n), GetPersonFreeLabel(n));
    ApplyRowMediumCaptions();
    DBGrid1->gridModel()->refreshTitles();
}

void TQueryForm::ApplyRowMediumCaptions()
{
    if (!Query1->active() || Query1->state() != engine::DataSetState::Browse || Query1->isEmpty())
        return;
    engine::Field *kindField = Query1->findField(QStringLiteral("Medium"));
    if (!kindField || !Query1->findField(QStringLiteral("Nr")))
        return;
    const QString kind = kindField->asString().left(6);
    if (kind == LastMediumKind)
        return;
    LastMediumKind = kind;
    engine::Table *lab = CaptionTable();
    if (!lab)
        return;
    // The captions of the row's kind are loaded for a moment; the card's
    // kind has them back afterwards.
    LoadMediumFreeFieldLabels(*lab, DBBase, kind, UserMessageSink());
    for (int n = 1; n <= MediumFreeCount; ++n) {
        const QString joined = QStringLiteral("Free%1_1").arg(n);
        SetFieldCaption(Query1.get(), Query1->findField(joined) ? joined : QStringLiteral("Free%1").arg(n),
                     GetMediumFreeLabel(n));
    }
    LoadMediumFreeFieldLabels(*lab, DBBase, CurrentMediumKind(), UserMessageSink());
    DBGrid1->gridModel()->refreshTitles();
}

void TQueryForm::UpdateChartButtons()
{
    if (!Query1->active()) {
        Chart = query::ChartPlan{};
    } else {
        // The plan is over the grid's columns, as they stand.
        QList<query::ChartColumn> cols;
        const QList<query::ChartColumn> fields = query::ChartColumnsOf(*Query1, shownFields());
        for (const auto &gc : DBGrid1->columns()) {
            for (const auto &f : fields)
                if (f.name.compare(gc.fieldName, Qt::CaseInsensitive) == 0)
                    cols << f;
        }
        // The rule asks only whether there are two rows: the result is not
        // counted for it.
        const int rows = Query1->isEmpty() ? 0 : Query1->bookmarkAt(1) != engine::InvalidBookmark ? 2 : 1;
        Chart = query::PlanChart(cols, rows);
        // Back from grid columns to the set's fields.
        auto fieldIndex = [this](int gridCol) {
            return gridCol < 0 ? -1 : Query1->fieldNames().indexOf(DBGrid1->columns()[gridCol].fieldName);
        };
        Chart.labelColumn = fieldIndex(Chart.labelColumn);
        Chart.valueColumn = fieldIndex(Chart.valueColumn);
        Chart.pieColumn = fieldIndex(Chart.pieColumn);
        for (int &c : Chart.valueColumns)
            c = fieldIndex(c);
    }
    SpBPie->setEnabled(Chart.pie);
    MenPie->setEnabled(Chart.pie);
    SpBBar->setEnabled(Chart.bar);
    MenBar->setEnabled(Chart.bar);
    SpBLine->setEnabled(Chart.line);
    MenLine->setEnabled(Chart.line);
}

void TQueryForm::ChartClick(query::ChartKind kind)
{
    if (!Query1->active())
        return;
    const bool allowed = kind == query::ChartKind::Pie ? Chart.pie : kind == query::ChartKind::Bar ? Chart.bar : Chart.line;
    if (!allowed)
        return;
    ShowChartWindow(this, kind, query::BuildChartSeries(*Query1, Chart, kind));
}

void TQueryForm::SpBGotoClick()
{
    if (!Query1->active() || Query1->isEmpty() || !Mainform)
        return;
    engine::Field *nr = Query1->findField(QStringLiteral("Nr"));
    if (!nr)
        nr = Query1->findField(QStringLiteral("KassNr"));
    engine::Field *kind = Query1->findField(QStringLiteral("Medium"));
    if (!nr || !kind)
        return;
    const MainDataSets ds = Mainform->DataSets();
    if (!LocateMedium(ds, kind->asString(), int(nr->asInteger()), true))
        return;
    if (engine::Field *film = Query1->findField(QStringLiteral("FilmNr")))
        LocateFilmOfCurrentMedium(ds, int(film->asInteger()), true, true);
    Mainform->raise();
    Mainform->activateWindow();
}

void TQueryForm::DBGrid1DblClick()
{
    if (!Query1->active() || Query1->isEmpty())
        return;
    if (engine::Field *name = Query1->findField(QStringLiteral("Name"))) {
        // The person card's table follows; the person window shows it.
        if (DBTables.PersTable && DBTables.PersTable->active())
            DBTables.PersTable->locate(QStringLiteral("Name"), name->asString());
        return;
    }
    SpBGotoClick();
}

void TQueryForm::SpBExportClick()
{
    if (!Query1->active())
        return;
    TableExportContext context;
    context.sourceTitle = ExportSourceTitle(ExportSource::QueryResult, DBBase);
    if (Mainform)
        context.generator = Mainform->GetCaptionText();
    // The database's own categories with their symbol files, as the file
    // holds them now.
    TCategoryTable categories;
    LoadCategories(CategoryFilePath(DBBase), categories);
    context.categories = ExportCategoriesOf(categories);
    context.captions = DBTables.TableLAB;
    context.webSearchLinks = WebSearchLinksHook(ShowWebSearchError); // reads "search.ini" once for this export
    ExecTableExport(this, *Query1, *DBGrid1, ExportSource::QueryResult, context);
}

void TQueryForm::SetEditMode(bool on)
{
    const bool editable = on && Query1->isLive();
    if (!on && Query1->active()) {
        try {
            Query1->checkBrowseMode();
        } catch (const engine::EngineError &e) {
            showError(e.message());
        }
    }
    DBGrid1->setReadOnly(!editable);
    DBGrid1->setMultiSelect(!on);
    MenEditieren->setChecked(on);
    SpBEdit->SetDown(on);
}

void TQueryForm::HideSelectedColumn()
{
    const int col = DBGrid1->selectedColumn();
    if (col < 0 || col >= ColInfo.size())
        return;
    QList<int> widths;
    for (int i = 0; i < DBGrid1->columnCount(); ++i)
        widths << DBGrid1->gridColumnWidth(i);
    const int sel = query::HideColumn(widths, ColInfo, col);
    DBGrid1->setGridColumnWidth(col, 0);
    DBGrid1->setSelectedColumn(sel);
    UpdateChartButtons();
    PlaceColumnButtons();
}

void TQueryForm::ShowNeighbourColumn(int step)
{
    const int col = DBGrid1->selectedColumn() + step;
    if (col < 0 || col >= ColInfo.size() || ColInfo[col].SavedWidth < 0)
        return;
    QList<int> widths;
    for (int i = 0; i < DBGrid1->columnCount(); ++i)
        widths << DBGrid1->gridColumnWidth(i);
    query::ShowColumn(widths, ColInfo, col);
    DBGrid1->setGridColumnWidth(col, widths[col]);
    DBGrid1->setSelectedColumn(col);
    UpdateChartButtons();
    PlaceColumnButtons();
}

void TQueryForm::PlaceColumnButtons()
{
    const int col = DBGrid1->selectedColumn();
    if (!Query1->active() || col < 0 || col >= ColInfo.size()) {
        for (auto *b : {SpBHideCol, SpBShowLeft, SpBShowRight})
            b->hide();
        return;
    }
    QHeaderView *h = DBGrid1->horizontalHeader();
    const int left = h->sectionViewportPosition(col) + DBGrid1->verticalHeader()->width() + DBGrid1->frameWidth();
    const int width = h->sectionSize(col);
    const int y = DBGrid1->frameWidth() + std::max(0, (h->height() - 14) / 2);
    SpBShowLeft->setVisible(col > 0);
    SpBShowLeft->setEnabled(col > 0 && ColInfo[col - 1].SavedWidth >= 0);
    SpBShowLeft->move(left, y);
    SpBShowRight->setVisible(col + 1 < ColInfo.size());
    SpBShowRight->setEnabled(col + 1 < ColInfo.size() && ColInfo[col + 1].SavedWidth >= 0);
    SpBShowRight->move(left + width - 14, y);
    SpBHideCol->setVisible(DBGrid1->gridColumnWidth(col) > 0);
    SpBHideCol->move(left + (width - 14) / 2, y);
    for (auto *b : {SpBHideCol, SpBShowLeft, SpBShowRight})
        b->raise();
    TimerColButtons->start();
}

void TQueryForm::FormShow()
{
    tOzoFormMetal::FormShow();
    FormResize();
}

void TQueryForm::FormActivate()
{
    tOzoFormMetal::FormActivate();
    // With editing locked, results stay in selection mode.
    const bool locked = !DBTables.Table1 || !DBTables.Table1->active() || DBTables.Table1->readOnly();
    if (locked && MenEditieren->isChecked())
        SetEditMode(false);
    MenEditieren->setEnabled(!locked);
    SpBEdit->setEnabled(!locked);
}

void TQueryForm::FormResize()
{
    tOzoFormMetal::FormResize();
    QWidget *area = DBGrid1->parentWidget();
    if (!area)
        return;
    const int w = area->width(), h = area->height();
    DBGrid1->setGeometry(4, 34, std::max(100, w - 8), std::max(60, h - 34 - 32));
    DBNavigator1->move(4, std::max(100, h - 28));
    PlaceColumnButtons();
}

void TQueryForm::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    CloseLabelListOf(DataSource2);
    Query1->close();
    CloseChartWindow();
    action = caFree;
    if (QueryForm == this)
        QueryForm = nullptr;
}

void TQueryForm::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape && Query1->state() == engine::DataSetState::Browse) {
        close();
        return;
    }
    tOzoFormMetal::keyPressEvent(e);
}

bool TQueryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Escape
            && (!Query1->active() || Query1->state() == engine::DataSetState::Browse)) {
            close();
            return true;
        }
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

// ---- entries --------------------------------------------------------------------

TQueryForm *EnsureQueryForm(QWidget *owner)
{
    if (!QueryForm) {
        QueryForm = CreateForm<TQueryForm>(owner ? owner->window() : nullptr);
        QueryForm->setWindowFlag(Qt::Window, true);
    }
    return QueryForm;
}

namespace {

// Closes the tables of the open database in the order their cursors hang
// together and opens them again in reverse, whatever happens between.
class TablesClosed
{
public:
    TablesClosed() = default;
    // A pending edit that cannot be posted stops here; what was closed
    // before it opens again with the guard.
    void closeAll()
    {
        for (engine::Table *t : {DBTables.Table1, DBTables.Table11, DBTables.FilmTable, DBTables.Table2,
                                 DBTables.PersTable}) {
            if (t && t->active()) {
                t->checkBrowseMode();
                t->close();
                m_closed.push_back(t);
            }
        }
    }
    ~TablesClosed()
    {
        QStringList failed;
        for (auto it = m_closed.rbegin(); it != m_closed.rend(); ++it) {
            try {
                (*it)->open();
            } catch (const engine::EngineError &e) {
                failed << e.message();
            }
        }
        if (!failed.isEmpty())
            ShowMetalMessage(QStringLiteral("Fehler"),
                             QStringLiteral("Eine Tabelle konnte nicht wieder geöffnet werden:\\lb\\lb")
                                 + failed.join(QStringLiteral("\\lb")));
    }
    TablesClosed(const TablesClosed &) = delete;
    TablesClosed &operator=(const TablesClosed &) = delete;

private:
    std::vector<engine::Table *> m_closed;
};

void showIn(TQueryForm *f)
{
    f->show();
    if (f->RolledUp())
        f->SetRolledUp(false);
    f->raise();
}

} // namespace

bool ExecDmlStatement(const QStringList &lines)
{
    QString error;
    {
        try {
            TablesClosed closed;
            closed.closeAll();
            engine::Query q;
            q.setDatabaseFolder(userSqlFolder());
            q.setSql(lines);
            q.execSQL();
        } catch (const engine::EngineError &e) {
            error = e.message();
        }
    }
    if (error.isEmpty())
        return true;
    ShowMetalMessage(QStringLiteral("Fehler"),
                     QStringLiteral("Der SQL-Befehl konnte nicht ausgeführt werden:\\lb\\lb") + error);
    return false;
}

void ExecSqlQueryWindow(QWidget *owner)
{
    ExecQueryDefinition(false, QString(), owner);
}

void ExecQueryStatement(const QStringList &lines, QWidget *owner)
{
    TQueryForm *f = EnsureQueryForm(owner);
    f->Query1->close();
    f->Query1->setSql(lines);
    f->RunQuery();
}

void ExecQueryDefinition(bool fromFile, const QString &fileName, QWidget *owner)
{
    if (!fromFile) {
        TDAbfrageDef *editor = EnsureAbfrageDef(owner);
        const TModalResult r = ExecMetalModal(*editor);
        const QStringList lines = editor->Lines();
        if (r == mrOk) {
            ExecQueryStatement(lines, owner);
        } else if (r == mrYes) {
            const TModalResult ok = kit::messageBox(
                QStringLiteral("Dieser Befehl führt eine SQL-Anweisung aus, die keine Ergebnistabelle liefert "
                               "(DML-Anweisung, nicht SELECT). Solche Befehle dienen der Datenmanipulation. Benutzen "
                               "Sie sie nur, wenn Sie wissen was Sie tun, sonst könnten Datenverluste die Folge "
                               "sein!!"),
                QStringLiteral("WARNUNG"), kit::MsgButtons::OkCancel, kit::BoxIcon::Warning);
            if (ok == mrOk)
                ExecDmlStatement(lines);
        }
        return;
    }
    QString name = fileName;
    if (name.isEmpty()) {
        kit::FileRequest req;
        req.caption = QStringLiteral("Gespeicherte Abfrage öffnen");
        req.folder = DAbfrageDef && !DAbfrageDef->LastFolder.isEmpty() ? DAbfrageDef->LastFolder : StoredQueryFolder();
        req.filter = QStringLiteral("Local SQL Abfragetext (*.SQL *.sql)");
        req.parent = owner;
        name = kit::chooseFile(req);
        if (name.isEmpty())
            return;
    }
    QString error;
    const auto lines = query::ReadStoredQuery(name, &error);
    if (!lines) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Die Abfragedatei \"%1\" konnte nicht gelesen werden.").arg(name));
        return;
    }
    ExecQueryStatement(*lines, owner);
}

void ShowQueryResult(const QStringList &lines, const QList<QPair<QString, QVariant>> &params, QWidget *owner)
{
    TQueryForm *f = EnsureQueryForm(owner);
    showIn(f);
    f->Query1->close();
    f->Query1->setSql(lines);
    for (const auto &p : params)
        if (engine::Param *x = f->Query1->findParam(p.first))
            x->setValue(p.second);
    f->RunQuery();
}

namespace {
void canned(const QStringList &lines, QWidget *owner)
{
    TQueryForm *f = EnsureQueryForm(owner);
    f->OpenLines(lines);
    showIn(f);
}
} // namespace

void ShowStatementResult(const QStringList &lines, QWidget *owner)
{
    canned(lines, owner);
}

void ShowCategoryQuery(int category, QWidget *owner)
{
    canned(query::CategoryQueryLines(SQLTableRef(TQueryForm::Tables().film), query::CategoryCode(category)),
           owner);
}

void ShowRatingQuery(bool atLeast, int rating, const QString &order, QWidget *owner)
{
    canned(query::RatingQueryLines(SQLTableRef(TQueryForm::Tables().film), atLeast, rating, order), owner);
}

void ShowNotPrintedQuery(const std::array<bool, 4> &kinds, QWidget *owner)
{
    canned(query::NotPrintedQueryLines(SQLTableRef(TQueryForm::Tables().media), kinds), owner);
    if (QueryForm && QueryForm->Query1->active())
        ShowQueryLabelList(*QueryForm);
}

namespace {
void lending(const QStringList &lines, bool showFirst, QWidget *owner)
{
    TQueryForm *f = EnsureQueryForm(owner);
    if (showFirst)
        showIn(f);
    const bool opened = f->OpenLines(lines);
    if (showFirst)
        return;
    if (opened && !f->Query1->isEmpty()) {
        showIn(f);
        return;
    }
    if (!opened)
        return; // the message is shown; the window stays for the user to close
    // Nothing due: the window goes without a word.
    f->Query1->close();
    QueryForm = nullptr;
    delete f;
}
} // namespace

void ShowLendingQuery(bool byLendDate, bool byReturnDate, bool showFirst, const QString &text, QWidget *owner)
{
    const auto lines =
        query::LendingQueryLines(SQLTableRef(TQueryForm::Tables().media), byLendDate, byReturnDate, text);
    if (!lines) {
        ShowMetalMessage(QStringLiteral("Hinweis"),
                         QStringLiteral("\"%1\" ist kein gültiges Datum (Tag.Monat.Jahr, z.B. 1.2.2024).")
                             .arg(text));
        return;
    }
    lending(*lines, showFirst, owner);
}

void ShowReminderList(bool showFirst, QWidget *owner)
{
    lending(query::ReminderQueryLines(SQLTableRef(TQueryForm::Tables().media), QDate::currentDate()),
            showFirst, owner);
    if (QueryForm)
        QueryForm->SetCaption(QStringLiteral("Mahnliste: \\bRückgabedatum erreicht oder überschritten!"));
}

void QueryFilmSearch(const QString &term, const std::array<bool, 17> &fields, bool caseSensitive, bool memo,
                     QWidget *owner)
{
    if (term.isEmpty())
        return;
    TQueryForm *f = EnsureQueryForm(owner);
    f->Query1->close();
    f->Query1->setSql(query::FilmSearchLines(SQLTableRef(TQueryForm::Tables().film), fields, caseSensitive));
    f->Query1->paramByName(QStringLiteral("N1")).setAsString(query::FilmSearchPattern(term));
    f->Query1->paramByName(QStringLiteral("M")).setAsBoolean(memo);
    f->OpenLines(f->Query1->sql());
    showIn(f);
}
