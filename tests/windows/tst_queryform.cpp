// The query window and the chart window over a database in a temporary
// folder: running a free statement, the DML path and its reopen, edit mode
// on a one-table result, the chart buttons and the chart series.
#include "cardfixture.h"

#include "data/categories.h"
#include "dbui/dbgrid.h"
#include "dbui/gridmodel.h"
#include "engine/query.h"
#include "engine/sqldialect.h"
#include "kit/pzspeedbutton.h"
#include "windows/queries/queryform.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/queries/dabfragedef.h"
#include "windows/exchange/tdtabexport.h"
#include "windows/queries/wdiagram.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QLineEdit>
#include <QPlainTextEdit>

class TstQueryForm : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    void fill()
    {
        fx.addMedium("VHS-SB", 1, 240, {{1, "Rio Bravo", 140}, {2, "Alien", 100}});
        fx.addMedium("DVD", 2, 120, {{1, "Casablanca", 100}});
        fx.open();
    }
    TQueryForm *run(const QStringList &lines)
    {
        TQueryForm *f = EnsureQueryForm(fx.form.get());
        f->Query1->close();
        f->Query1->setSql(lines);
        f->RunQuery();
        return f;
    }
    void closeQuery()
    {
        if (QueryForm) {
            QueryForm->close();
            delete QueryForm;
        }
        QVERIFY(!QueryForm);
        QVERIFY(!WDiagram);
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup()
    {
        closeQuery();
        fx.tearDown();
    }

    void freeStatement()
    {
        fill();
        // Table words in lower case, KASS for the media; a join.
        TQueryForm *f = run({"select F.Titel, M.Nr, M.Medium from film F, kass M",
                             "WHERE F.Medium = M.Medium AND F.KassNr = M.Nr AND M.Len > 200"});
        QVERIFY(f->Query1->active());
        QCOMPARE(f->Query1->recordCount(), 2);
        QCOMPARE(f->GetCaptionText(), QStringLiteral("Abfrageergebnisse \\b(Tabellenansicht)"));
        // A medium result: go-to works and moves the card.
        QVERIFY(f->SpBGoto->isEnabled());
        f->Query1->first();
        f->SpBGotoClick();
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        // A syntax error: a German message, the query stays closed.
        fx.settings.presenter->clear();
        run({"SELEKT * FROM FILM"});
        QVERIFY(!f->Query1->active());
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Fehler"));
        QVERIFY(fx.settings.presenter->last().text.startsWith("Die Abfrage konnte nicht ausgeführt werden"));
        // A user SELECT does not write: DML through the query path is refused.
        run({"DELETE FROM FILM"});
        QVERIFY(!f->Query1->active());
        engine::Query count;
        count.setSql({"SELECT COUNT(*) FROM \"" + FilmTablePath(fx.base) + "\""});
        count.open();
        QCOMPARE(count.field(0)->asInteger(), 3);
    }

    void resultCarriesTheFreeFieldCaptions()
    {
        fill();
        // The film captions as they stand; the medium captions by the kind of
        // the row, with the card's kind keeping its own.
        SetFilmFreeLabel(1, "&Regie");
        SetMediumFreeLabel(1, "Re&gal");
        QVERIFY(SaveFreeFieldLabelsNow("KASS"));
        SetMediumFreeLabel(1, "&Hülle");
        QVERIFY(SaveFreeFieldLabelsNow("DVD"));
        ReloadMediumFreeFieldLabels();
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("&Hülle")); // the card stands on the DVD
        auto title = [](TQueryForm *f, const QString &field) {
            const dbui::GridModel *m = f->DBGrid1->gridModel();
            return m->columnTitle(m->columnOfField(field));
        };
        TQueryForm *f = run({"SELECT * FROM FILM"});
        QCOMPARE(title(f, "Free1"), QStringLiteral("Regie"));
        f = run({"SELECT * FROM MED ORDER BY Medium"});
        QCOMPARE(title(f, "Free1"), QStringLiteral("Hülle"));
        f->Query1->next();
        QCOMPARE(title(f, "Free1"), QStringLiteral("Regal"));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("&Hülle"));
    }

    void parameters()
    {
        fill();
        fx.settings.presenter->answerDialog(
            [](QDialog &d) { d.findChild<QLineEdit *>("EditString")->setText("Alien"); });
        TQueryForm *f = run({"SELECT * FROM FILM WHERE Titel = :T"});
        QVERIFY(f->Query1->active());
        QCOMPARE(f->Query1->recordCount(), 1);
        // A cancelled parameter leaves the window empty.
        fx.settings.presenter->answer(mrCancel);
        run({"SELECT * FROM FILM WHERE Titel = :U"});
        QVERIFY(!f->Query1->active());
        QVERIFY(f->isVisible());
    }

    void dmlReopensTables()
    {
        fill();
        QStringList lines = {"UPDATE \"" + FilmTablePath(fx.base) + "\" SET Len = 99 WHERE Titel = \"Alien\""};
        QVERIFY(ExecDmlStatement(lines));
        QVERIFY(fx.form->Table1->active() && fx.form->Table2->active() && fx.form->FilmTable->active()
                && fx.form->Table11->active() && fx.form->PersTable->active());
        engine::Query q;
        q.setSql({"SELECT Len FROM \"" + FilmTablePath(fx.base) + "\" WHERE Titel = \"Alien\""});
        q.open();
        QCOMPARE(q.field(0)->asInteger(), 99);
        // A failing statement: the message names the error, every table is open again.
        fx.settings.presenter->clear();
        QVERIFY(!ExecDmlStatement({"ALTER TABLE \"" + FilmTablePath(fx.base) + "\" DROP Nonsense"}));
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Fehler"));
        QVERIFY(fx.settings.presenter->last().text.startsWith("Der SQL-Befehl konnte nicht ausgeführt werden"));
        QVERIFY(fx.form->Table1->active() && fx.form->Table2->active() && fx.form->FilmTable->active()
                && fx.form->Table11->active() && fx.form->PersTable->active());
        QVERIFY(!ExecDmlStatement({"UPDATE NoSuchTable SET x = 1"}));
        QVERIFY(fx.form->Table1->active() && fx.form->PersTable->active());
    }

    void tablesNamedWithoutFolder()
    {
        fill();
        // Bare, quoted, with and without ".DB", in any letter case, with an
        // alias and in a sub-query: each is the table of the open database.
        const auto failure = [this](const QString &line) {
            fx.settings.presenter->clear();
            return ExecDmlStatement({line}) ? QString() : fx.settings.presenter->last().text;
        };
        QCOMPARE(failure("UPDATE Med SET Len = 180 WHERE Nr = 1"), QString());
        QCOMPARE(failure("UPDATE \"Film.DB\" F SET Len = 90 WHERE F.Titel = \"Alien\""), QString());
        QCOMPARE(failure("DELETE FROM film WHERE KassNr IN (SELECT Nr FROM \"Med\" WHERE Medium = \"DVD\")"),
                 QString());
        QCOMPARE(failure("INSERT INTO \"MED.db\" (Medium, Nr, Len) VALUES (\"VHS-SB\", 3, 300)"), QString());
        const auto column = [](const QString &sql, const QString &table) {
            engine::Query q;
            q.setSql({sql.arg(SQLTableRef(table))});
            q.open();
            QStringList out;
            for (q.first(); !q.eof(); q.next())
                out << q.field(0)->asString();
            return out;
        };
        QCOMPARE(column("SELECT Len FROM %1 ORDER BY Nr", MediaTablePath(fx.base)), QStringList({"180", "120", "300"}));
        QCOMPARE(column("SELECT Len FROM %1 ORDER BY FilmNr", FilmTablePath(fx.base)), QStringList({"140", "90"}));
        // A query's sub-query after a bracket, where no table word is
        // replaced, finds the table the same way.
        TQueryForm *f = run({"SELECT Titel FROM FILM WHERE KassNr IN (SELECT Nr FROM Med)"});
        QVERIFY(f->Query1->active());
        QCOMPARE(f->Query1->recordCount(), 2);
    }

    void dmlThroughTheEditor()
    {
        fill();
        // The statement runs unchanged: the table word is the name of the
        // film table's file.
        fx.settings.presenter->answer(mrCancel); // the new editor's query source: left as it is
        fx.settings.presenter->answerDialog(
            [](QDialog &d) {
                d.findChild<QPlainTextEdit *>("Memo1")->setPlainText("DELETE FROM FILM WHERE Titel = \"Alien\"");
            },
            mrYes);
        fx.settings.presenter->answer(mrOk); // the warning
        ExecSqlQueryWindow(fx.form.get());
        QVERIFY(!QueryForm);
        const auto &shown = fx.settings.presenter->shown();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[2].caption, QStringLiteral("WARNUNG"));
        QVERIFY(fx.form->Table2->active());
        QCOMPARE(fx.form->Table2->recordCount(), 2);
        // OK runs the text as a query; the editor keeps it.
        fx.settings.presenter->answerDialog(
            [](QDialog &d) { d.findChild<QPlainTextEdit *>("Memo1")->setPlainText("SELECT * FROM FILM"); }, mrOk);
        ExecSqlQueryWindow(fx.form.get());
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QVERIFY(DAbfrageDef);
        QCOMPARE(DAbfrageDef->Lines(), QStringList{"SELECT * FROM FILM"});
    }

    void liveEdit()
    {
        fill();
        fx.unlock();
        TQueryForm *f = run({"SELECT * FROM FILM WHERE Titel = \"Alien\""});
        f->FormActivate();
        QVERIFY(f->MenEditieren->isEnabled());
        QVERIFY(f->Query1->isLive());
        f->SetEditMode(true);
        QVERIFY(!f->DBGrid1->isReadOnly());
        f->Query1->edit();
        f->Query1->fieldByName("Len")->setAsInteger(77);
        f->SetEditMode(false); // posts
        QVERIFY(f->DBGrid1->isReadOnly());
        engine::Query q;
        q.setSql({"SELECT Len FROM \"" + FilmTablePath(fx.base) + "\" WHERE Titel = \"Alien\""});
        q.open();
        QCOMPARE(q.field(0)->asInteger(), 77);
        // A join is no live result: edit mode leaves the grid read-only.
        run({"SELECT * FROM FILM F, MED M WHERE F.KassNr = M.Nr"});
        f->SetEditMode(true);
        QVERIFY(f->DBGrid1->isReadOnly());
    }

    void lockedEditing()
    {
        fill();
        TQueryForm *f = run({"SELECT * FROM FILM"});
        f->FormActivate();
        QVERIFY(!f->MenEditieren->isEnabled());
        QVERIFY(!f->SpBEdit->isEnabled());
    }

    void chartsOfCounts()
    {
        fill();
        TQueryForm *f = run({"SELECT Medium, COUNT(*) FROM FILM GROUP BY Medium"});
        QCOMPARE(f->Query1->recordCount(), 2);
        QVERIFY(f->SpBPie->isEnabled() && f->SpBBar->isEnabled() && f->SpBLine->isEnabled());
        QVERIFY(f->MenPie->isEnabled() && f->MenBar->isEnabled() && f->MenLine->isEnabled());
        QVERIFY(!f->SpBGoto->isEnabled());
        f->ChartClick(query::ChartKind::Pie);
        QVERIFY(WDiagram);
        QChart *c = WDiagram->Chart();
        QCOMPARE(c->series().size(), 1);
        auto *pie = qobject_cast<QPieSeries *>(c->series().first());
        QVERIFY(pie);
        QCOMPARE(pie->count(), 2);
        QCOMPARE(pie->slices()[0]->label(), QStringLiteral("DVD"));
        QCOMPARE(pie->slices()[0]->value(), 1.0);
        QCOMPARE(pie->slices()[1]->label(), QStringLiteral("VHS-SB"));
        QCOMPARE(pie->slices()[1]->value(), 2.0);
        QVERIFY(c->title().startsWith("Dargestelltes Feld:"));
        QVERIFY(c->title().contains(f->Query1->field(1)->fieldName()));
        // A new chart replaces the window.
        QPointer<TWDiagram> first = WDiagram;
        f->ChartClick(query::ChartKind::Bar);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        QVERIFY(WDiagram);
        auto *bars = qobject_cast<QBarSeries *>(WDiagram->Chart()->series().first());
        QVERIFY(bars);
        QCOMPARE(bars->count(), 1);
    }

    void barAndLineChartsShowEveryRow()
    {
        fill();
        // Three rows, two of them with the same label: three bars, three points.
        TQueryForm *f = run({"SELECT M.Medium, F.Len FROM film F, kass M",
                             "WHERE F.Medium = M.Medium AND F.KassNr = M.Nr ORDER BY F.Titel"});
        QCOMPARE(f->Query1->recordCount(), 3);
        const QStringList shown = {"VHS-SB", "DVD", "VHS-SB"}; // Alien, Casablanca, Rio Bravo
        auto plain = [](QStringList l) {
            for (QString &t : l)
                t.remove(QChar(0x200B));
            return l;
        };
        f->ChartClick(query::ChartKind::Bar);
        QVERIFY(WDiagram);
        auto *bars = qobject_cast<QBarSeries *>(WDiagram->Chart()->series().first());
        QVERIFY(bars);
        QCOMPARE(bars->barSets().size(), 1);
        QCOMPARE(bars->barSets()[0]->count(), 3);
        QCOMPARE(bars->barSets()[0]->at(2), 140.0);
        auto *barAxis = qobject_cast<QBarCategoryAxis *>(WDiagram->Chart()->axes(Qt::Horizontal).first());
        QVERIFY(barAxis);
        QCOMPARE(plain(barAxis->categories()), shown);

        f->ChartClick(query::ChartKind::Line);
        auto *line = qobject_cast<QLineSeries *>(WDiagram->Chart()->series().first());
        QVERIFY(line);
        QCOMPARE(line->count(), 3);
        QCOMPARE(line->at(0), QPointF(0, 100));
        QCOMPARE(line->at(2), QPointF(2, 140));
        auto *lineAxis = qobject_cast<QCategoryAxis *>(WDiagram->Chart()->axes(Qt::Horizontal).first());
        QVERIFY(lineAxis);
        QCOMPARE(plain(lineAxis->categoriesLabels()), shown);
    }

    void xmlExportNamesTheCategorySymbols()
    {
        fx.addMedium("VHS-SB", 1, 240, {{1, "Rio Bravo", 140}});
        engine::Table films;
        films.setTableName(FilmTablePath(fx.base));
        films.open();
        films.edit();
        films.fieldByName("Kateg")->setAsString("a");
        films.post();
        films.close();
        // The database's KAT file: category 11 (code "a") with its symbol.
        QByteArray kat;
        for (int n = 1; n <= 62; ++n)
            kat += n == 11 ? QByteArray("Western\r\nwestern.bmp\r\n") : QByteArray("\r\n\r\n");
        QFile file(CategoryFilePath(fx.base));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kat) == kat.size());
        file.close();
        fx.open();
        TQueryForm *f = run({"SELECT Titel, Kateg FROM FILM"});
        const QString xml = fx.settings.path(QStringLiteral("abfrage.xml"));
        fx.settings.presenter->answerDialog([&](QDialog &d) { static_cast<TDTabExport &>(d).SetFileName(xml); });
        f->SpBExportClick();
        QFile out(xml);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().contains("    <KATEG>\r\n      <ID>a</ID>\r\n      <BEZ>Western</BEZ>\r\n"
                                       "      <SYMBOL>western.bmp</SYMBOL>\r\n    </KATEG>\r\n"));
    }

    void chartsOfTwoColumns()
    {
        fill();
        TQueryForm *f = run({"SELECT Titel, Len, KassNr FROM FILM WHERE Titel = \"Alien\""});
        QCOMPARE(f->Query1->recordCount(), 1);
        QVERIFY(!f->SpBPie->isEnabled() && f->SpBBar->isEnabled() && !f->SpBLine->isEnabled());
        f->ChartClick(query::ChartKind::Bar);
        QVERIFY(WDiagram);
        auto *bars = qobject_cast<QBarSeries *>(WDiagram->Chart()->series().first());
        QVERIFY(bars);
        QCOMPARE(bars->count(), 2);
        QCOMPARE(bars->barSets()[0]->label(), QStringLiteral("Len"));
        QCOMPARE(bars->barSets()[1]->label(), QStringLiteral("KassNr"));
        QCOMPARE(bars->barSets()[0]->at(0), 100.0);
        // Hiding a numeric column takes away the bar chart.
        f->DBGrid1->setSelectedColumn(2);
        f->HideSelectedColumn();
        QCOMPARE(f->DBGrid1->selectedColumn(), 1);
        QCOMPARE(f->ColInfo[2].SavedWidth > 0, true);
        f->DBGrid1->setSelectedColumn(1);
        f->HideSelectedColumn();
        QVERIFY(!f->SpBBar->isEnabled());
        f->DBGrid1->setSelectedColumn(0);
        f->ShowNeighbourColumn(1);
        QCOMPARE(f->DBGrid1->selectedColumn(), 1);
        QVERIFY(f->DBGrid1->gridColumnWidth(1) > 0);
        // One row and one numeric column shown: still no bar chart.
        QVERIFY(!f->SpBBar->isEnabled());
        f->ShowNeighbourColumn(1);
        QCOMPARE(f->DBGrid1->selectedColumn(), 2);
        QVERIFY(f->SpBBar->isEnabled());
    }

    void cannedQueries()
    {
        fx.addMedium("VHS-SB", 1, 240, {{1, "Rio Bravo", 140}}, [](engine::Table &m) {
            m.fieldByName("Verliehen")->setAsString("Max \"Maxi\" M");
            m.fieldByName("Rueckgabedatum")->setAsDate(QDate(2024, 1, 20));
        });
        fx.addMedium("DVD", 2, 120, {}, [](engine::Table &m) {
            m.fieldByName("Verliehen")->setAsString("Erika");
            m.fieldByName("Rueckgabedatum")->setAsDate(QDate(2024, 3, 1));
        });
        fx.open();
        ShowLendingQuery(false, false, true, "maxi\" M", fx.form.get());
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 1);
        ShowLendingQuery(false, true, true, "1.2.2024", fx.form.get());
        QCOMPARE(QueryForm->Query1->recordCount(), 1);
        QCOMPARE(QueryForm->Query1->fieldByName("Nr")->asInteger(), 1);
        ShowLendingQuery(false, false, true, QString(), fx.form.get());
        QCOMPARE(QueryForm->Query1->recordCount(), 2);
        // A bad date: a message, nothing runs.
        fx.settings.presenter->clear();
        ShowLendingQuery(true, false, true, "30.2.2024", fx.form.get());
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Hinweis"));
        // Without showFirst an empty result takes the window away, silently.
        closeQuery();
        fx.settings.presenter->clear();
        ShowLendingQuery(false, true, false, "1.1.2000", fx.form.get());
        QVERIFY(!QueryForm);
        QVERIFY(fx.settings.presenter->shown().isEmpty());
        // The reminder list names itself; the next query in the window does not
        // keep that name.
        ShowReminderList(true, fx.form.get());
        QCOMPARE(QueryForm->GetCaptionText(), QStringLiteral("Mahnliste: \\bRückgabedatum erreicht oder überschritten!"));
        ShowRatingQuery(false, -1, "Titel", fx.form.get());
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 1);
        QCOMPARE(QueryForm->GetCaptionText(), QStringLiteral("Abfrageergebnisse \\b(Tabellenansicht)"));
    }
};

QTEST_MAIN(TstQueryForm)
#include "tst_queryform.moc"
