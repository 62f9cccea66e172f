#include "windows/printing/tableprintjob.h"

#include "app/settings.h"
#include "data/locate.h"
#include "dbui/dbgrid.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/query.h"
#include "engine/table.h"
#include "exchange/exportsource.h"
#include "exchange/listexport.h"
#include "kit/inpboxmetal.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "print/labelmedium.h"
#include "windows/labels/labelprint.h"
#include "windows/main/mainform.h"
#include "windows/main/mediafilterscope.h"
#include "windows/printing/printjob.h"
#include "windows/printing/tableprintdialogs.h"
#include "windows/printing/wprint.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>

#include <memory>
#include <optional>

bool PrintLock = false;

PrintLockGuard::PrintLockGuard()
{
    if (PrintLock)
        return;
    PrintLock = true;
    m_acquired = true;
}

PrintLockGuard::~PrintLockGuard()
{
    if (m_acquired)
        PrintLock = false;
}

namespace {

QVariant valueOf(engine::DataSet &set, int row, const QString &name)
{
    engine::Field *f = set.findField(name);
    if (!f)
        return {};
    return row < 0 ? f->value() : set.valueAt(row, f->index());
}

MainDataSets mainSets()
{
    return Mainform ? Mainform->DataSets() : MainDataSets{};
}

// Reads list rows: the medium key of the row and its films. A media list
// reads the films of each medium through one prepared query of its own.
class ListRowReader
{
public:
    ListRowReader(engine::DataSet &set, bool standard, bool films) : m_set(set), m_standard(standard), m_films(films)
    {
        const MainDataSets ds = mainSets();
        m_filmTable = ds.Table2 && ds.Table2->active() ? ds.Table2->tableName() : QString();
    }

    TListRow read(int row)
    {
        TListRow r;
        r.medium = valueOf(m_set, row, QStringLiteral("Medium")).toString().left(6);
        QVariant nr = valueOf(m_set, row, QStringLiteral("Nr"));
        if (!m_set.findField(QStringLiteral("Nr")))
            nr = valueOf(m_set, row, QStringLiteral("KassNr"));
        r.nr = nr.toInt();
        if (m_films) {
            TLabelFilm f;
            if (m_standard || !m_set.findField(QStringLiteral("FilmNr")))
                ReadLabelFilm(m_set, f, false, row);
            else
                f = film(r.medium, r.nr, valueOf(m_set, row, QStringLiteral("FilmNr")).toInt());
            r.films = {f};
            return r;
        }
        std::vector<TLabelFilm> all = filmsOf(r.medium, r.nr);
        const int n = ListFilmSlots(ListSpAnz, [&](int k) { return all[size_t(k - 1)].Exists; });
        all.resize(size_t(n));
        r.films = std::move(all);
        const QVariant len = valueOf(m_set, row, QStringLiteral("Len"));
        const QVariant rest = valueOf(m_set, row, QStringLiteral("bRest"));
        if (!len.isNull() && len.isValid())
            r.len = len.toInt();
        if (!rest.isNull() && rest.isValid())
            r.rest = rest.toInt();
        return r;
    }

private:
    std::vector<TLabelFilm> filmsOf(const QString &kind, int nr)
    {
        std::vector<TLabelFilm> out(5);
        for (TLabelFilm &f : out)
            f.Exists = false;
        if (!open(kind, nr, 1, 5))
            return out;
        for (m_query->first(); !m_query->eof(); m_query->next()) {
            const int n = m_query->fieldByName(QStringLiteral("FilmNr"))->asInteger();
            if (n >= 1 && n <= 5)
                ReadLabelFilm(*m_query, out[size_t(n - 1)], false);
        }
        m_query->close();
        return out;
    }

    TLabelFilm film(const QString &kind, int nr, int filmNr)
    {
        TLabelFilm f;
        f.Exists = false;
        if (open(kind, nr, filmNr, filmNr) && !m_query->isEmpty())
            ReadLabelFilm(*m_query, f, false);
        if (m_query)
            m_query->close();
        return f;
    }

    bool open(const QString &kind, int nr, int from, int to)
    {
        if (m_filmTable.isEmpty())
            return false;
        if (!m_query) {
            m_query = std::make_unique<engine::Query>(&m_set.session());
            m_query->setSql({QStringLiteral("SELECT * FROM"), SQLTableRef(m_filmTable),
                             QStringLiteral("WHERE Medium = :M AND KassNr = :N AND FilmNr >= :A AND FilmNr <= :B")});
        }
        m_query->paramByName(QStringLiteral("M")).setAsString(kind);
        m_query->paramByName(QStringLiteral("N")).setAsInteger(nr);
        m_query->paramByName(QStringLiteral("A")).setAsInteger(from);
        m_query->paramByName(QStringLiteral("B")).setAsInteger(to);
        m_query->open();
        return true;
    }

    engine::DataSet &m_set;
    bool m_standard, m_films;
    QString m_filmTable;
    std::unique_ptr<engine::Query> m_query;
};

TCellKind cellKindOf(const engine::Field *f)
{
    if (!f)
        return TCellKind::None;
    switch (f->dataType()) {
    case engine::FieldType::String:
    case engine::FieldType::Date:
        return TCellKind::Text;
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer:
    case engine::FieldType::LargeInt:
    case engine::FieldType::Float:
        return TCellKind::Number;
    case engine::FieldType::Boolean:
        return TCellKind::Boolean;
    default:
        return TCellKind::None;
    }
}

std::vector<TTableColumnSource> tableColumns(const dbui::DbGrid &grid, engine::DataSet &set)
{
    std::vector<TTableColumnSource> cols;
    for (int i = 0; i < grid.columnCount(); ++i) {
        const engine::Field *f = set.findField(grid.columns().at(i).fieldName);
        TTableColumnSource c;
        c.title = grid.gridModel()->columnTitle(i);
        c.screenWidth = grid.gridColumnWidth(i);
        c.blob = f && f->isBlob();
        c.kind = cellKindOf(f);
        cols.push_back(c);
    }
    return cols;
}

std::vector<TTableCell> tableCells(const dbui::DbGrid &grid, engine::DataSet &set)
{
    std::vector<TTableCell> cells;
    cells.reserve(size_t(grid.columnCount()));
    for (int i = 0; i < grid.columnCount(); ++i) {
        TTableCell c;
        if (const engine::Field *f = set.findField(grid.columns().at(i).fieldName)) {
            if (f->dataType() == engine::FieldType::Boolean) {
                if (!f->isNull())
                    c.flag = f->asBoolean();
            } else if (!f->isBlob()) {
                c.text = f->displayText();
            }
        }
        cells.push_back(std::move(c));
    }
    return cells;
}

// The film cursor takes the film window's sort order for the job and gets
// its primary index back afterwards.
class FilmIndexScope
{
public:
    FilmIndexScope(engine::Table *cursor, const engine::Table *filmWindow) : m_cursor(cursor)
    {
        if (m_cursor && filmWindow && filmWindow->active())
            m_cursor->setIndexName(filmWindow->indexName());
    }
    ~FilmIndexScope()
    {
        if (!m_cursor)
            return;
        try {
            m_cursor->setIndexName(QString());
        } catch (const engine::EngineError &) {
        }
    }

private:
    engine::Table *m_cursor;
};

const QString ConflictText = QStringLiteral(
    "Die Druckroutine ist bereits von einem anderen Druckvorgang blockiert! Probieren Sie es später nochmal. Wenn "
    "es dann auch nicht funktioniert, beenden Sie Tarvo und starten Sie es erneut!");

} // namespace

TTablePrintStyle TablePrintStyleFromSettings(int linesPerPage, bool twoLines, bool films)
{
    TTablePrintStyle s;
    s.fontName = FontNameOrArial(LFont);
    s.boolStyle.bothSymbols = GridBoolBothSymbols;
    s.boolStyle.trueSymbolOnly = GridBoolTrueSymbolOnly;
    s.boolStyle.tickStyle = GridBoolTickStyle;
    s.linesPerPage = linesPerPage;
    s.twoLines = twoLines && !films;
    s.filmList = films;
    s.useCategoryFonts = ListUseKategFont;
    s.printStars = ListPrintStars;
    s.symbols = CurrentLabelSettings();
    return s;
}

TListRow ReadListRow(engine::DataSet &set, bool standard, bool films)
{
    return ListRowReader(set, standard, films).read(-1);
}

TListRow ReadListRowAt(engine::DataSet &set, int row, bool standard, bool films)
{
    return ListRowReader(set, standard, films).read(row);
}

bool PrintDataSetTable(engine::DataSet &set, const dbui::DbGrid *grid, bool standard, bool films, bool persons,
                       bool fromStart, bool oneLine)
{
    PrintLockGuard lock;
    if (!lock.acquired()) {
        kit::messageBox(ConflictText, QStringLiteral("Konflikt!"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
        return false;
    }
    const bool table = grid != nullptr;
    const QString K = table ? QStringLiteral("Tabelle") : QStringLiteral("Liste");
    const MainDataSets ds = mainSets();
    const bool media = standard && !films && !persons;

    // The data set the job reads.
    engine::DataSet *src = &set;
    std::unique_ptr<engine::Query> copy;
    std::optional<MediaFilterScope> filter;
    if (standard) {
        if (films && ds.Table2)
            src = ds.Table2;
        else if (persons && Mainform && Mainform->PersTable)
            src = Mainform->PersTable.get();
        else if (media && ds.Table11)
            src = ds.Table11;
        if (media && ds.Table1 && ds.Table1->filtered() && Mainform)
            filter.emplace(*src, [](engine::DataSet &d) { return Mainform->Table1FilterRecord(d); },
                           QStringLiteral("Wollen Sie die gefilterte Liste drucken (\"Ja\"), oder die vollständige "
                                          "Medienliste (\"Nein\")?"));
    } else {
        try {
            copy = ExportQueryCopy(set);
        } catch (const engine::EngineError &e) {
            ShowMetalMessage(QStringLiteral("Fehler"), e.message(), true);
            return false;
        }
        if (copy)
            src = copy.get();
    }
    if (!src->active()) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Die Tabelle ist nicht geöffnet."));
        return false;
    }

    QString heading;
    if (standard) {
        heading = K + (films ? QStringLiteral(" der Filme in ") : persons ? QStringLiteral(" der Personen in ")
                                                                          : QStringLiteral(" der Medien in "))
                  + DBBase;
        if (media && filter && filter->applied() && Mainform)
            heading += QStringLiteral(" mit mind. ") + QString::number(Mainform->FilterMinRest)
                       + QStringLiteral(" Minuten freiem Bereich");
    } else {
        heading = QStringLiteral("Abfrageergebnisse (Datei: ") + DBBase + QLatin1Char(')');
    }
    if (!MetalInputBox(K + QStringLiteral(" drucken"),
                       QStringLiteral("Der folgende Text wird als \\BÜberschrift\\b über die ") + K
                           + QStringLiteral(" gedruckt:"),
                       heading))
        return false;
    if (!EnsurePrintTarget(nullptr))
        return false;

    QPrinter &printer = ProgramPrinter();
    TPrintJob job(printer);
    ShowPrintProgress(&job, K + QStringLiteral(" drucken"),
                      QStringLiteral("Der Druckauftrag für die ") + K + QStringLiteral(" \\Bwird erstellt..."),
                      QStringLiteral("Die ") + K + QStringLiteral(" \\lb\\Bwird gedruckt..."));
    if (!job.begin(QStringLiteral("TarVO - ") + K)) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
        return false;
    }
    StartPrintProgress();

    const QPageLayout pl = printer.pageLayout();
    const QRect px = pl.fullRectPixels(printer.resolution());
    const QRectF mm = pl.fullRect(QPageLayout::Millimeter);
    const bool landscape = pl.orientation() == QPageLayout::Landscape;
    const TTablePrintGeometry g
        = PrinterTableGeometry(px.width(), qRound(mm.width()), px.height(), qRound(mm.height()), landscape);
    TTablePrintStyle style = TablePrintStyleFromSettings(TablePrintLinesPerPage(LPP, g.heightMm, landscape),
                                                         !oneLine && !table, films && !table);
    style.filmsHaveLen = true;
    style.filmsHaveKateg = true;
    TProgDirArtProvider art = ProgramLabelArt();
    bool firstPage = true;
    TTablePrinter printerPages(g, style, art, [&](const TLabelLayout &page) {
        if (!firstPage && !job.newPage())
            return false;
        firstPage = false;
        PaintLabelLayout(job.painter(), page);
        QApplication::processEvents(); // the progress window's cancel
        return !job.aborted();
    });

    bool ok = true;
    try {
        std::optional<FilmIndexScope> filmIndex;
        if (standard && films && !table)
            filmIndex.emplace(ds.Table2, ds.filmTable);
        printerPages.begin(heading);
        if (table)
            printerPages.setTable(tableColumns(*grid, *src));

        // Where the job starts, and the kind it stays in.
        QString kindLimit;
        if (!standard || fromStart) {
            src->first();
        } else if (media && ds.Table1 && !ds.Table1->isEmpty()) {
            const QString kind = ds.Table1->fieldByName(QStringLiteral("Medium"))->asString().left(6);
            if (ds.Table1->indexName().isEmpty())
                kindLimit = kind;
            LocateMedium(ds, kind, ds.Table1->fieldByName(QStringLiteral("Nr"))->asInteger(), false);
        } else if (films && ds.filmTable && ds.filmTable->active() && !ds.filmTable->isEmpty()) {
            const QString kind = ds.filmTable->fieldByName(QStringLiteral("Medium"))->asString().left(6);
            if (ds.filmTable->indexName().isEmpty())
                kindLimit = kind;
            LocateFilm(ds, kind, ds.filmTable->fieldByName(QStringLiteral("KassNr"))->asInteger(),
                       ds.filmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), false);
        }

        ListRowReader reader(*src, standard, films);
        engine::Field *kindField = src->findField(QStringLiteral("Medium"));
        while (!src->eof()) {
            if (!kindLimit.isEmpty() && kindField && kindField->asString().left(6) != kindLimit)
                break;
            const bool more = table ? printerPages.tableRow(tableCells(*grid, *src)) : printerPages.listRow(reader.read(-1));
            if (!more)
                break;
            src->next();
        }
        if (!printerPages.cancelled())
            printerPages.finish();
    } catch (const engine::EngineError &e) {
        ok = false;
        job.abort();
        ShowMetalMessage(QStringLiteral("Fehler"), e.message(), true);
    }
    filter.reset();
    if (!ok)
        return false;
    const bool cancelled = printerPages.cancelled() || job.aborted();
    if (cancelled)
        job.abort();
    if (!job.end()) {
        ShowMetalMessage(QStringLiteral("Fehler"), cancelled ? QStringLiteral("Der Druckauftrag wurde abgebrochen.")
                                                             : QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden."));
        return false;
    }
    return true;
}

void PrintMainList(bool films, QWidget *owner)
{
    if (!Mainform)
        return;
    bool tableChosen = false, oneLine = true;
    if (!ExecTablePrintKindDialog(false, false, films, tableChosen, oneLine, owner))
        return;
    engine::DataSet *set = films ? static_cast<engine::DataSet *>(Mainform->Table2.get())
                                 : static_cast<engine::DataSet *>(Mainform->Table1.get());
    if (!set || !set->active())
        return;
    PrintDataSetTable(*set, nullptr, true, films, false, true, oneLine);
}

void PrintQueryResult(engine::DataSet &result, const dbui::DbGrid &grid, TQueryPrintKind kind, QWidget *owner)
{
    if (!result.active())
        return;
    const bool films = kind == TQueryPrintKind::FilmList;
    const bool forced = kind == TQueryPrintKind::OneToOne || kind == TQueryPrintKind::Persons;
    bool tableChosen = false, oneLine = true;
    if (!ExecTablePrintKindDialog(true, forced, films || kind == TQueryPrintKind::OneToOne, tableChosen, oneLine, owner))
        return;
    PrintDataSetTable(result, tableChosen ? &grid : nullptr, false, films && !tableChosen, false, true,
                      tableChosen || oneLine);
}
