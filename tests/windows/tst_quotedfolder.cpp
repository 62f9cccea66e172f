// A database in a folder whose name holds a double quote ('Sam"mlung'): every
// feature that names a table by its path in SQL text works there as anywhere
// else (the person card's lists, the category search, table and list
// printing, lending, labels, the label collection, the statistics, the film
// list of the card, the query window, the kinds and the serial numbers).
#include "cardfixture.h"

#include "data/databaseinfo.h"
#include "data/freefieldlabels.h"
#include "data/mediumcard.h"
#include "data/mediumserial.h"
#include "dbui/dbcombobox.h"
#include "engine/query.h"
#include "kit/scriptedpresenter.h"
#include "print/labelmedium.h"
#include "windows/cards/categorydialogs.h"
#include "windows/main/dverlsuche.h"
#include "windows/labels/labelselect.h"
#include "windows/cards/personcardhooks.h"
#include "windows/queries/queryform.h"
#include "windows/printing/tableprintjob.h"
#include "windows/cards/wpers.h"

#include <QComboBox>
#include <QListWidget>

class TstQuotedFolder : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    // The rows a statement gives.
    static int rowsOf(const QStringList &sql)
    {
        engine::Query q;
        q.setSql(sql);
        q.open();
        int n = 0;
        for (q.first(); !q.eof(); q.next())
            ++n;
        return n;
    }

private slots:
    void init()
    {
        fx.setUp(QStringLiteral("Sam\"mlung"));
        ResetFreeFieldLabels();
    }
    void cleanup()
    {
        fx.tearDown();
        ResetFreeFieldLabels();
    }

    void everyFeatureNamesItsTablesQuoted()
    {
        QVERIFY(fx.base.contains(u'"'));
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Alien"), 60, false, false, {}, false, QStringLiteral("Maier")},
                      {2, QStringLiteral("Blade"), 90}},
                     [](engine::Table &m) {
                         m.fieldByName(QStringLiteral("Verliehen"))->setAsString(QStringLiteral("Maier"));
                         m.fieldByName(QStringLiteral("SN"))->setAsInteger(42);
                     });
        {
            engine::Table films;
            films.setTableName(FilmTablePath(fx.base));
            films.open();
            QVERIFY(films.locate(QStringLiteral("FilmNr"), 1));
            films.edit();
            films.fieldByName(QStringLiteral("Kateg"))->setAsString(QStringLiteral("1"));
            films.post();
            engine::Table persons;
            persons.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
            persons.open();
            persons.append();
            persons.fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Maier"));
            persons.post();
        }
        TMainform &m = fx.open();
        const QString media = m.Table1->tableName();
        const QString films = FilmTablePath(fx.base);
        QVERIFY(media.contains(u'"'));

        // The person card's name list and the person's films.
        SetFilmFreeIsPerson(1, true);
        TWPers &card = *BoundPersonCard(m);
        card.ShowPerson(QStringLiteral("Maier"));
        card.ButtNamenClick();
        QCOMPARE(card.QueryNames->recordCount(), 1);
        card.ButtExpandClick();
        card.ButtExpandClick();
        QCOMPARE(card.QueryFilms->recordCount(), 1);
        card.close();

        // Categories: the search and the canned query.
        QCOMPARE(rowsOf(CategorySearchSql(films, 1)), 1);
        ShowCategoryQuery(1, &m);
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 1);
        // The table words of the user's own statement.
        ExecQueryStatement({QStringLiteral("SELECT * FROM FILM F, MED M"),
                            QStringLiteral("WHERE F.Medium = M.Medium AND F.KassNr = M.Nr")},
                           &m);
        QCOMPARE(QueryForm->Query1->recordCount(), 2);

        // Printing a media list reads each medium's films.
        const TListRow row = ReadListRow(*m.Table1, true, false);
        QVERIFY(row.films.size() >= 2);
        QCOMPARE(row.films[1].Titel, QStringLiteral("Blade"));

        // Lending: the borrowers of the card's drop-down and of the search,
        // and the lent media.
        m.DBVerliehenDropDown();
        auto *borrowers = m.Component<dbui::DbComboBox>(QStringLiteral("DBVerliehen"));
        QCOMPARE(borrowers->count(), 1);
        QCOMPARE(borrowers->itemText(0), QStringLiteral("Maier"));
        QCOMPARE(LendingBorrowers(media), QStringList{QStringLiteral("Maier")});
        ShowLendingQuery(false, false, true, QString(), &m);
        QCOMPARE(QueryForm->Query1->recordCount(), 1);

        // A medium's label, and the label collection.
        const TLabelMedium label = ReadLabelMedium(*m.Table1, &m.Table1->session(), films, 5);
        QCOMPARE(label.Films[0].Titel, QStringLiteral("Alien"));
        TDDrckSelect *select = EnsurePrintSelection(MainformLabelContext());
        select->SpaeterClick();
        QCOMPARE(select->ListBox1->count(), 1);
        QVERIFY(select->Query1->active());
        QCOMPARE(select->Query1->recordCount(), 1);
        select->ClearList();

        // The statistics.
        const TDatabaseInfo info = ComputeDatabaseInfo(m.FilmTable.get(), m.PersTable.get(), m.Table1.get());
        QCOMPARE(info.realFilms, 2);
        QCOMPARE(info.persons, 1);
        QCOMPARE(info.kinds.size(), 1);

        // The card's film list, the kinds and numbers, the serial numbers.
        m.ShowFilmList(true);
        QVERIFY(m.QueryFL->active());
        QCOMPARE(m.QueryFL->recordCount(), 2);
        QCOMPARE(rowsOf(StoredKindsQueryLines(media)), 0);
        QCOMPARE(rowsOf(LastMediumNrQueryLines(media, false)), 1);
        QCOMPARE(FindMediaBySerial(*m.Table1, films, 42).size(), 1);

        for (const kit::ShownBox &b : fx.settings.presenter->shown())
            QVERIFY2(!b.caption.contains(QStringLiteral("Fehler")), qPrintable(b.caption + u':' + b.text));
    }
};

QTEST_MAIN(TstQuotedFolder)
#include "tst_quotedfolder.moc"
