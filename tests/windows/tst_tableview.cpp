// The table view and the list window over a database of the test: column
// layouts stored by field name and kept across a restart, "Standard", the
// list window's line modes; and tables and lists printed into a PDF at 254
// dpi (a pixel is a tenth of a millimetre), read back with pdftotext -bbox.
#include "cardfixture.h"

#include "dbui/dbgrid.h"
#include "engine/field.h"
#include "engine/query.h"
#include "dbui/datasource.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "platform/registry.h"
#include "windows/tables/columnlayouts.h"
#include "windows/main/mainmenus.h"
#include "windows/printing/printjob.h"
#include "windows/tables/tabform.h"
#include "windows/printing/tableprintdialogs.h"
#include "windows/printing/tableprintjob.h"
#include "windows/tables/wliste.h"

#include <QPrinter>
#include <QSpinBox>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Word {
    QString text;
    double x = 0, y = 0; // pixels at 254 dpi
};

// The words of each page.
QList<QList<Word>> pdfWords(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<QList<Word>> pages;
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    const QStringList parts = html.split(QStringLiteral("<page "));
    for (int i = 1; i < parts.size(); ++i) {
        QList<Word> words;
        for (auto it = re.globalMatch(parts[i]); it.hasNext();) {
            const auto m = it.next();
            words.append({m.captured(3), m.captured(1).toDouble() * 254.0 / 72.0, m.captured(2).toDouble() * 254.0 / 72.0});
        }
        pages.append(words);
    }
    return pages;
}

int countWords(const QList<Word> &page, const QString &prefix)
{
    int n = 0;
    for (const Word &w : page)
        if (w.text.startsWith(prefix))
            ++n;
    return n;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const Word *findWord(const QList<Word> &page, const QString &text)
{
    for (const Word &w : page)
        if (w.text == text)
            return &w;
    return nullptr;
}

bool registryHas(const char *name)
{
    platform::Registry r;
    if (!r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false))
        return false;
    return r.valueExists(QLatin1String(name));
}

// The next boxes: the kind dialog and the heading prompt with OK, then the
// file the job writes.
void answerKindAndHeading(kit::ScriptedPresenter &p, const QString &file,
                          const std::function<void(QDialog &)> &kind = {},
                          const QString &heading = QStringLiteral("Kopf"))
{
    p.answerDialog([kind](QDialog &d) {
        if (kind)
            kind(d);
    });
    p.answerInput(heading);
    p.answerFile(file);
}

} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

    card::Fixture fx;
    QString pdf;

    void closeWindows()
    {
        delete TabForm;
        delete WListe;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void usePdf()
    {
        pdf = fx.settings.path(QStringLiteral("out.pdf"));
        QPrinter &p = ProgramPrinter();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        p.setResolution(254);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageOrientation(QPageLayout::Portrait);
    }

    // A restart: the settings back to their defaults, then loaded.
    void restart()
    {
        closeWindows();
        InitSettingsDefaults(fx.settings.path(QStringLiteral("prog")));
        LoadSettings();
    }

private slots:
    void init()
    {
        fx.setUp();
        PrintLock = false;
    }
    void cleanup()
    {
        closeWindows();
        fx.tearDown();
    }

    void hiddenColumnSurvivesARestart()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        TTabForm *v = ShowTableView(TTabForm::PageMedia);
        dbui::DbGrid *g = v->DBGrid1;
        QCOMPARE(g->columns().at(2).fieldName, QStringLiteral("Len"));
        const int width = g->gridColumnWidth(2);
        QVERIFY(width > 0);
        g->setSelectedColumn(2);
        v->HideSelectedColumn();
        QCOMPARE(g->gridColumnWidth(2), 0);
        QCOMPARE(g->selectedColumn(), 1); // the nearest visible column to the left
        // Nothing is written before the layouts are stored once.
        QVERIFY(!LayoutsStored());
        SaveSettings();
        QVERIFY(!registryHas("SPBreitenK"));
        v->FormDeactivate();
        QVERIFY(LayoutsStored());
        QVERIFY(registryHas("SPBreitenK") && registryHas("SPReihenfolgeMF"));

        restart();
        QVERIFY(LayoutsStored());
        v = ShowTableView(TTabForm::PageMedia);
        g = v->DBGrid1;
        QCOMPARE(g->gridColumnWidth(2), 0);
        // The neighbour's tool shows it again, with its old width.
        g->setSelectedColumn(1);
        v->PlaceColumnTools();
        QVERIFY(v->SpBColRight->isEnabled());
        QVERIFY(!v->SpBColLeft->isEnabled());
        v->ShowNeighbourColumn(1);
        QCOMPARE(g->gridColumnWidth(2), width);
        QCOMPARE(SPBreitenK[2], width);
        // Show all after hiding two.
        g->setSelectedColumn(5);
        v->HideSelectedColumn();
        g->setSelectedColumn(6);
        v->HideSelectedColumn();
        QCOMPARE(SPBreitenK[5], -145);
        v->ShowAllColumns();
        QCOMPARE(g->gridColumnWidth(5), 145);
        QVERIFY(g->gridColumnWidth(6) > 0);
    }

    void standardResetsTheLayout()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        TTabForm *v = ShowTableView(TTabForm::PageFilms);
        v->DBGrid2->moveGridColumn(4, 0); // "Titel" first
        v->DBGrid2->setGridColumnWidth(1, 0);
        v->FormDeactivate();
        QCOMPARE(SPReihenfolgeF[0], FilmTableDef().fieldIndex(QStringLiteral("Titel")));
        v->StandardClick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!LayoutsStored());
        QVERIFY(TabForm && TabForm != v);
        QCOMPARE(TabForm->ActivePage(), int(TTabForm::PageFilms));
        QCOMPARE(TabForm->DBGrid2->columns().at(0).fieldName, QStringLiteral("Medium"));
        QVERIFY(TabForm->DBGrid2->gridColumnWidth(0) > 0);
        // A view shown now takes the designed columns, not the old arrays.
        closeWindows();
        v = ShowTableView(TTabForm::PageFilms);
        QCOMPARE(v->DBGrid2->columns().at(0).fieldName, QStringLiteral("Medium"));
    }

    void layoutSurvivesAChangedFieldOrder()
    {
        // The media table of an import: the same fields, another order.
        engine::TableDef def = MediaTableDef();
        const int g = def.fieldIndex(QStringLiteral("Gedruckt"));
        def.fields.move(g, 2);
        QFile::remove(MediaTablePath(fx.base));
        engine::createTableFile(MediaTablePath(fx.base), def);
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        QCOMPARE(fx.form->Table1->fieldByName(QStringLiteral("Gedruckt"))->index(), 2);
        TTabForm *v = ShowTableView(TTabForm::PageMedia);
        v->DBGrid1->moveGridColumn(5, 0); // "Verliehen" first
        v->DBGrid1->setGridColumnWidth(0, 99);
        v->FormDeactivate();
        // The order entry names the field in the table's own field list.
        QCOMPARE(SPReihenfolgeK[0], MediaTableDef().fieldIndex(QStringLiteral("Verliehen")));
        restart();
        v = ShowTableView(TTabForm::PageMedia);
        QCOMPARE(v->DBGrid1->columns().at(0).fieldName, QStringLiteral("Verliehen"));
        QCOMPARE(v->DBGrid1->gridColumnWidth(0), 99);
        QCOMPARE(v->DBGrid1->columns().at(1).fieldName, QStringLiteral("Medium"));

        // Entries that name no field are passed over.
        closeWindows();
        SPReihenfolgeK[0] = 999;
        SPReihenfolgeK[1] = -5;
        v = ShowTableView(TTabForm::PageMedia);
        QCOMPARE(v->DBGrid1->columns().at(0).fieldName, QStringLiteral("Medium"));
    }

    void listWindowLineModes()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(3, 60));
        TMainform &m = fx.open();
        TWListe *l = ShowListWindow(m.DataSource1, true, false);
        QCOMPARE(l->windowTitle().contains(QStringLiteral("Standard-Medienliste")), true);
        QVERIFY(l->MenTwoLines->isEnabled());
        l->SetTwoLines(true);
        QCOMPARE(l->RowHeight(), 35);
        QVERIFY(l->MenSortieren->isEnabled());
        // A film list cannot be switched to two lines.
        auto *films = new dbui::DataSource(m.FilmTable.get(), &m);
        l = ShowListWindow(films, true, true);
        QVERIFY(!l->MenTwoLines->isEnabled());
        l->SetTwoLines(true);
        QVERIFY(!l->TwoLines());
        QCOMPARE(l->RowHeight(), 18);
        QCOMPARE(l->windowTitle().contains(QStringLiteral("Standard-Filmliste")), true);
        QVERIFY(l->RowsPerPage() >= 1);
        l->PanelRows->repaint(); // the rows are drawn by the list layout
        QVERIFY(!PrintLock);
    }

    void menuEntriesAreWired()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        for (const char *n : {"Medientabelle1", "Filmtabelle1", "Personentabelle1", "Medienliste1", "Filmliste1",
                              "MedienListedrucken1", "FilmListedrucken1", "EinstellungenListenDruck1"})
            QVERIFY2(m.Menus->IsWired(QLatin1String(n)), n);
        m.Menus->Entry(QStringLiteral("Filmtabelle1"))->trigger();
        QVERIFY(TabForm && TabForm->isVisible());
        QCOMPARE(TabForm->ActivePage(), int(TTabForm::PageFilms));
        m.Menus->Entry(QStringLiteral("Filmliste1"))->trigger();
        QVERIFY(WListe && WListe->FilmList());
        // Sorting by title sets the index on both film cursors; the list's checks follow.
        TabForm->SortClick(0);
        QCOMPARE(m.FilmTable->indexName(), QStringLiteral("iTitel"));
        QCOMPARE(m.Table2->indexName(), QStringLiteral("iTitel"));
        QVERIFY(WListe->MenSortTitel->isChecked() && !WListe->MenSortNummern->isChecked());
        TabForm->SortClick(2); // no numbering across all media: the primary index
        QCOMPARE(m.FilmTable->indexName(), QString());
        QVERIFY(TabForm->MenSortNummern->isChecked());
        // The settings dialog stores on OK.
        fx.settings.presenter->answerDialog([](QDialog &d) {
            d.findChild<TOzoCheck *>(QStringLiteral("CheckAuto"))->SetChecked(false);
            d.findChild<QSpinBox *>(QStringLiteral("SpinEdit"))->setValue(36);
            d.findChild<TOzoCheck *>(QStringLiteral("RadioButton4"))->SetChecked(true);
        });
        m.Menus->Entry(QStringLiteral("EinstellungenListenDruck1"))->trigger();
        QCOMPARE(int(LPP), 36);
        QVERIFY(!GridBoolBothSymbols && GridBoolTrueSymbolOnly && !GridBoolTickStyle);
    }

    void filmListToPdf()
    {
        QList<card::Film> films;
        for (int i = 1; i <= 5; ++i)
            films.append({i, QStringLiteral("Titel%1").arg(i), 60});
        for (int k = 1; k <= 12; ++k)
            fx.addMedium(QStringLiteral("VHS-SB"), k, 300, films);
        TMainform &m = fx.open();
        usePdf();
        LPP = 0;
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        answerKindAndHeading(p, pdf, {}, QStringLiteral("Filmliste"));
        m.Menus->Entry(QStringLiteral("FilmListedrucken1"))->trigger();
        QVERIFY(!PrintLock);
        const auto pages = pdfWords(pdf);
        // 60 films; A4 portrait: (297 - 13) div 5 = 56 lines, the heading the first.
        QCOMPARE(pages.size(), 2);
        QCOMPARE(countWords(pages[0], QStringLiteral("Titel")), 55);
        QCOMPARE(countWords(pages[1], QStringLiteral("Titel")), 5);
        QVERIFY(findWord(pages[0], QStringLiteral("Filmliste")));
        QVERIFY(findWord(pages[1], QStringLiteral("2")));
        QCOMPARE(countWords(pages[0], QStringLiteral("Seite")), 1);
        QCOMPARE(countWords(pages[1], QStringLiteral("Seite")), 1);
        // The heading at x0 = 10 mm, the first title at B0 + 1 mm = 21 mm.
        QVERIFY(qAbs(findWord(pages[0], QStringLiteral("Filmliste"))->x - 100) < 4);
        QVERIFY(qAbs(findWord(pages[0], QStringLiteral("Titel1"))->x - 210) < 4);
    }

    void oneToOneTableToPdf()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Lang"), 90, true}, {2, QStringLiteral("Kurz"), 45, false}});
        fx.open();
        usePdf();
        GridBoolBothSymbols = true;
        GridBoolTrueSymbolOnly = false;
        GridBoolTickStyle = true;
        TTabForm *v = ShowTableView(TTabForm::PageFilms);
        dbui::DbGrid *g = v->DBGrid2;
        for (int i = 0; i < g->columnCount(); ++i)
            g->setGridColumnWidth(i, 0);
        auto widthOf = [g](const char *field, int w) { g->setGridColumnWidth(g->gridModel()->columnOfField(QLatin1String(field)), w); };
        widthOf("Titel", 200);
        widthOf("Len", 100);
        widthOf("Kateg", 14); // too narrow: not printed
        widthOf("LP", 50);
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        answerKindAndHeading(p, pdf, [](QDialog &d) {
            d.findChild<TOzoCheck *>(QStringLiteral("RadioTable"))->SetChecked(true);
        });
        v->PrintClick(true);
        QVERIFY(!PrintLock);
        const auto pages = pdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const QList<Word> &w = pages[0];
        // W = 210 mm - 15 mm = 1950 pixels over 350: Titel 1114, Länge 557, LP 279.
        const Word *titel = findWord(w, QStringLiteral("Titel"));
        const Word *len = findWord(w, QStringLiteral("Länge"));
        const Word *lp = findWord(w, QStringLiteral("LP"));
        QVERIFY(titel && len && lp);
        QVERIFY(qAbs(titel->x - 105) < 4);
        QVERIFY(qAbs(len->x - (100 + 1114 + 5)) < 4);
        QVERIFY(qAbs(lp->x - (100 + 1114 + 557 + 5)) < 4);
        QVERIFY(!findWord(w, QStringLiteral("Kateg")));
        // Numbers right-aligned, the Boolean symbols as text; one page: no number.
        QVERIFY(findWord(w, QStringLiteral("\u2611")));
        QVERIFY(findWord(w, QStringLiteral("\u2610")));
        QCOMPARE(countWords(w, QStringLiteral("Seite")), 0);
        const Word *ninety = findWord(w, QStringLiteral("90"));
        QVERIFY(ninety && ninety->x > 100 + 1114 + 557 / 2);
    }

    void queryResultAsFilmList()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 4, 240,
                     {{1, QStringLiteral("Erster"), 90}, {2, QStringLiteral("Zweiter"), 60, false, false, QStringLiteral(">teil")}});
        TMainform &m = fx.open();
        usePdf();
        engine::Query q(&m.Table2->session());
        q.setSql({QStringLiteral("SELECT Medium, KassNr, FilmNr FROM \"") + m.Table2->tableName()
                  + QStringLiteral("\" ORDER BY FilmNr")});
        q.open();
        dbui::DataSource src(&q);
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answerDialog([](QDialog &) {}); // the standard list
        p.answerInput(QStringLiteral("Abfrageergebnisse"));
        p.answerFile(pdf);
        PrintQueryResult(q, grid, TQueryPrintKind::FilmList);
        const auto pages = pdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        // The films are read by their keys; the query's own cursor stays.
        QVERIFY(findWord(pages[0], QStringLiteral("Erster")));
        QVERIFY(findWord(pages[0], QStringLiteral("Zweiterteil")));
        QVERIFY(findWord(pages[0], QStringLiteral("Abfrageergebnisse")));
        QCOMPARE(q.recNo(), 1);
    }

    void aFileIsChosenOrConfirmedForEveryJob()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(2, 60));
        TMainform &m = fx.open();
        usePdf(); // the file of an earlier job
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("alt") == 3);
        old.close();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        // The chooser proposes the earlier file; cancelling prints nothing
        // and leaves that file as it was.
        answerKindAndHeading(p, QString());
        m.Menus->Entry(QStringLiteral("MedienListedrucken1"))->trigger();
        QVERIFY(!PrintLock);
        QCOMPARE(p.last().kind, QStringLiteral("FileDialog"));
        QCOMPARE(p.last().input, QStringLiteral("out.pdf"));
        QCOMPARE(fileBytes(pdf), QByteArray("alt"));
        // Another file chosen: the list goes there and stays the proposal.
        const QString other = fx.settings.path(QStringLiteral("liste.pdf"));
        answerKindAndHeading(p, other);
        m.Menus->Entry(QStringLiteral("MedienListedrucken1"))->trigger();
        QCOMPARE(pdfWords(other).size(), 1);
        QCOMPARE(fileBytes(pdf), QByteArray("alt"));
        answerKindAndHeading(p, QString());
        m.Menus->Entry(QStringLiteral("FilmListedrucken1"))->trigger();
        QCOMPARE(p.last().input, QStringLiteral("liste.pdf"));
    }

    void theLockIsAlwaysReleased()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(2, 60));
        TMainform &m = fx.open();
        usePdf();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        // Cancel at the heading.
        p.answerDialog([](QDialog &) {});
        p.answerInput(QString(), mrCancel);
        m.Menus->Entry(QStringLiteral("MedienListedrucken1"))->trigger();
        QVERIFY(!PrintLock);
        QVERIFY(!QFile::exists(pdf));
        // A job whose file cannot be written.
        answerKindAndHeading(p, QStringLiteral("/nonexistent-folder/x.pdf"));
        m.Menus->Entry(QStringLiteral("MedienListedrucken1"))->trigger();
        QVERIFY(!PrintLock);
        QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
        // The next job prints.
        usePdf();
        answerKindAndHeading(p, pdf);
        m.Menus->Entry(QStringLiteral("MedienListedrucken1"))->trigger();
        QVERIFY(QFile::exists(pdf));
        const auto pages = pdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY(findWord(pages[0], QStringLiteral("Film")));
        // A job while one runs is refused.
        PrintLock = true;
        p.clear();
        QVERIFY(!PrintDataSetTable(*m.Table1, nullptr, true, false, false, true, true));
        QCOMPARE(p.last().caption, QStringLiteral("Konflikt!"));
        QVERIFY(PrintLock);
        PrintLock = false;
    }
};

QTEST_MAIN(TestTableView)
#include "tst_tableview.moc"
