// The rules of the query window: table words and category names, the canned
// statements, which commands and charts a result allows, hidden columns.
#include "engine/sqldialect.h"
#include "query/cannedqueries.h"
#include "query/querytext.h"
#include "query/resultrules.h"

#include <QtTest>

using namespace query;

namespace {
QueryTables tables()
{
    return {QStringLiteral("/db/DB/Film.DB"), QStringLiteral("/db/DB/Med.DB"), QStringLiteral("/db/DB/Pers.DB")};
}
QStringList categories()
{
    QStringList names(62);
    names[0] = QStringLiteral("Krimi");           // code "1"
    names[10] = QStringLiteral("Science Fiction"); // code "a"
    names[36] = QStringLiteral("Western");         // code "A"
    return names;
}
const QString F = QStringLiteral("\"/db/DB/Film.DB\"");
const QString M = QStringLiteral("\"/db/DB/Med.DB\"");
const QString P = QStringLiteral("\"/db/DB/Pers.DB\"");
} // namespace

class TstQueryRules : public QObject
{
    Q_OBJECT
private slots:
    void replaceWord()
    {
        // At the start, after a blank, before a blank, a comma or the end.
        QCOMPARE(ReplaceQueryWord("FILM x", "FILM", "F"), QStringLiteral("F x"));
        QCOMPARE(ReplaceQueryWord("FROM FILM,PERS", "FILM", "F"), QStringLiteral("FROM F,PERS"));
        QCOMPARE(ReplaceQueryWord("FROM FILM,PERS", "PERS", "P"), QStringLiteral("FROM FILM,PERS"));
        QCOMPARE(ReplaceQueryWord("FROM (FILM)", "FILM", "F"), QStringLiteral("FROM (FILM)"));
        QCOMPARE(ReplaceQueryWord("FROM\tFILM", "FILM", "F"), QStringLiteral("FROM\tFILM"));
        // Any letter case; not inside a longer word.
        QCOMPARE(ReplaceQueryWord("select * from film", "FILM", "F"), QStringLiteral("select * from F"));
        QCOMPARE(ReplaceQueryWord("SELECT FILMNR FROM FILMS", "FILM", "F"), QStringLiteral("SELECT FILMNR FROM FILMS"));
        // Every occurrence, even after one that is no match.
        QCOMPARE(ReplaceQueryWord("SELECT Medium, Nr FROM Med", "MED", "X"), QStringLiteral("SELECT Medium, Nr FROM X"));
        QCOMPARE(ReplaceQueryWord("FILM A, FILM B", "FILM", "F"), QStringLiteral("F A, F B"));
        // Never in quoted text.
        QCOMPARE(ReplaceQueryWord("WHERE Titel = \" FILM \" OR 'a FILM'", "FILM", "F"),
                 QStringLiteral("WHERE Titel = \" FILM \" OR 'a FILM'"));
    }

    void expandMacros()
    {
        const QStringList out = ExpandQueryMacros(
            {"SELECT * FROM FILM F, KASS K WHERE F.KassNr = K.Nr", "UNION SELECT * FROM MED", "from pers",
             "WHERE Kateg = Krimi OR Kateg = science fiction OR Kateg = Western", "AND Titel = \"Krimi\""},
            tables(), categories());
        QCOMPARE(out[0], "SELECT * FROM " + F + " F, " + M + " K WHERE F.KassNr = K.Nr");
        QCOMPARE(out[1], "UNION SELECT * FROM " + M);
        QCOMPARE(out[2], "from " + P);
        QCOMPARE(out[3], QStringLiteral("WHERE Kateg = \"1\" OR Kateg = \"a\" OR Kateg = \"A\""));
        QCOMPARE(out[4], QStringLiteral("AND Titel = \"Krimi\""));
        // A path that holds a table word is not replaced again.
        const QStringList odd = ExpandQueryMacros({"SELECT * FROM MED"},
                                                  {"/x/ PERS /Film.DB", "/x/ FILM /Med.DB", "/p"}, {});
        QCOMPARE(odd[0], QStringLiteral("SELECT * FROM \"/x/ FILM /Med.DB\""));
    }

    void categoryCodes()
    {
        QCOMPARE(CategoryCode(1), QChar(u'1'));
        QCOMPARE(CategoryCode(9), QChar(u'9'));
        QCOMPARE(CategoryCode(10), QChar(u'0'));
        QCOMPARE(CategoryCode(11), QChar(u'a'));
        QCOMPARE(CategoryCode(36), QChar(u'z'));
        QCOMPARE(CategoryCode(37), QChar(u'A'));
        QCOMPARE(CategoryCode(62), QChar(u'Z'));
        QCOMPARE(CategoryCode(63), QChar(u'1'));
    }

    void categoryFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("KAT");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Krimi\r\nkrimi.bmp\r\nKom\xf6" "die\r\n\r\n");
        f.close();
        const QStringList names = ReadCategoryNames(path);
        QCOMPARE(names.size(), 62);
        QCOMPARE(names[0], QStringLiteral("Krimi"));
        QCOMPARE(names[1], QStringLiteral("Komödie"));
        QCOMPARE(names[2], QString());
        QCOMPARE(ReadCategoryNames(dir.filePath("none")).size(), 62);
    }

    void cannedCategory()
    {
        QCOMPARE(CategoryQueryLines(F, u'3'), QStringList({"SELECT * FROM " + F, "WHERE Kateg = \"3\""}));
        QCOMPARE(CategoryQueryLines(F, u'b'), QStringList({"SELECT * FROM " + F, "WHERE Kateg = LOWER(\"b\")"}));
        QCOMPARE(CategoryQueryLines(F, u'B'), QStringList({"SELECT * FROM " + F, "WHERE Kateg = UPPER(\"B\")"}));
    }

    void cannedRating()
    {
        QCOMPARE(RatingQueryLines(F, true, -1, {}), QStringList({"SELECT * FROM " + F}));
        QCOMPARE(RatingQueryLines(F, false, -1, {}), QStringList({"SELECT * FROM " + F, "WHERE Wertung ", "IS NULL"}));
        QCOMPARE(RatingQueryLines(F, true, 3, "Titel"),
                 QStringList({"SELECT * FROM " + F, "WHERE Wertung ", ">= ", "3", "ORDER BY Titel"}));
        QCOMPARE(RatingQueryLines(F, false, 5, {}), QStringList({"SELECT * FROM " + F, "WHERE Wertung ", "= ", "5"}));
    }

    void cannedNotPrinted()
    {
        QCOMPARE(NotPrintedQueryLines(M, {true, true, true, true}),
                 QStringList({"SELECT * FROM " + M, "WHERE (", "Gedruckt=False)"}));
        QCOMPARE(NotPrintedQueryLines(M, {true, false, true, false}),
                 QStringList({"SELECT * FROM " + M, "WHERE (", "Medium=\"VHS-SB\"", "OR", "Medium=\"DVD\"",
                              ") AND Gedruckt=False"}));
        QCOMPARE(NotPrintedQueryLines(M, {false, false, false, true}),
                 QStringList({"SELECT * FROM " + M, "WHERE (",
                              "(Medium!=\"VHS-SB\" and Medium!=\"VHS-KK\" and Medium!=\"DVD\")",
                              ") AND Gedruckt=False"}));
    }

    void cannedLending()
    {
        QCOMPARE(*LendingQueryLines(M, false, false, {}), QStringList({"SELECT * FROM " + M + " WHERE", "Verliehen<>\"\""}));
        // The reminder list of 1 February 2024.
        QCOMPARE(*LendingQueryLines(M, false, true, "1.2.2024"),
                 QStringList({"SELECT * FROM " + M + " WHERE", "Rueckgabedatum <= \"02/01/2024\""}));
        QCOMPARE(ReminderQueryLines(M, QDate(2024, 2, 1)),
                 QStringList({"SELECT * FROM " + M + " WHERE", "Rueckgabedatum <= \"02/01/2024\""}));
        QCOMPARE(*LendingQueryLines(M, true, false, "24.12.2023"),
                 QStringList({"SELECT * FROM " + M + " WHERE", "Verleihdatum <= \"12/24/2023\""}));
        // Dates that are none.
        QVERIFY(!LendingQueryLines(M, true, false, "31.2.2024"));
        QVERIFY(!LendingQueryLines(M, true, false, "2024-02-01"));
        QVERIFY(!LendingQueryLines(M, false, true, "1.2.24"));
        // A borrower with a double quote stays one string.
        QCOMPARE(*LendingQueryLines(M, false, false, "Max \"Maxi\" M"),
                 QStringList({"SELECT * FROM " + M + " WHERE",
                              "UPPER(Verliehen) LIKE UPPER(\"%Max \"\"Maxi\"\" M%\")"}));
    }

    void cannedFilmSearch()
    {
        std::array<bool, 17> fields{};
        fields[0] = true;
        fields[16] = true;
        QCOMPARE(FilmSearchLines(F, fields, false),
                 QStringList({"SELECT * FROM " + F + " WHERE", "UPPER(Titel) LIKE UPPER(:N1) OR",
                              "UPPER(Free15) LIKE UPPER(:N1) OR", "(:M = true) AND (Memo LIKE :N1)"}));
        fields[16] = false;
        fields[1] = true;
        QCOMPARE(FilmSearchLines(F, fields, true),
                 QStringList({"SELECT * FROM " + F + " WHERE", "Titel LIKE :N1 OR", "Untertitel LIKE :N1 OR",
                              "(:M = true) AND (Memo LIKE :N1)"}));
        QCOMPARE(FilmSearchPattern("Pate"), QStringLiteral("%Pate%"));
    }

    void resultCommands()
    {
        QCOMPARE(ClassifyResult({"Medium", "Nr", "Len"}), ResultKind::Medium);
        QCOMPARE(ClassifyResult({"Medium", "KassNr", "FilmNr"}), ResultKind::Medium);
        QCOMPARE(ClassifyResult({"Nr", "Name"}), ResultKind::Person);
        QCOMPARE(ClassifyResult({"Kateg", "COUNT(*)"}), ResultKind::Other);

        ResultCommands media = CommandsForResult({"Medium", "Nr"});
        QVERIFY(media.printMenu && media.printMediaList && !media.printFilmList && !media.pagePrint);
        QVERIFY(media.gotoMedium && media.mediaList && !media.filmList && media.labelList && media.lists());
        ResultCommands films = CommandsForResult({"Medium", "KassNr", "FilmNr"});
        QVERIFY(films.printFilmList && films.pagePrint && films.filmList);
        QCOMPARE(films.pagePrintCaption, QStringLiteral("&Anhang-Druck (min. 1 A4-Seite pro Film)"));
        ResultCommands persons = CommandsForResult({"Name", "MF"});
        QVERIFY(persons.printMenu && persons.printPersons && persons.pagePrint);
        QVERIFY(!persons.gotoMedium && !persons.lists() && !persons.labelList);
        QCOMPARE(persons.pagePrintCaption, QStringLiteral("&Personen-Druck (min. 1 A4-Seite pro Person)"));
        ResultCommands other = CommandsForResult({"Kateg"});
        QVERIFY(!other.printMenu && !other.gotoMedium && !other.lists());
    }

    void chartRule()
    {
        const ChartColumn kateg{"Kateg", false, true};
        const ChartColumn count{"COUNT(*)", true, false};
        const ChartColumn len{"Len", true, false};
        const ChartColumn nr{"Nr", true, false};
        // Kateg and COUNT(*) over two rows: all three.
        ChartPlan p = PlanChart({kateg, count}, 2);
        QVERIFY(p.pie && p.bar && p.line);
        QCOMPARE(p.labelColumn, 0);
        QCOMPARE(p.pieColumn, 1);
        // One row with two numeric columns: bar only.
        p = PlanChart({len, nr}, 1);
        QVERIFY(!p.pie && p.bar && !p.line);
        QCOMPARE(p.valueColumns, QList<int>({0, 1}));
        QCOMPARE(p.labelColumn, -1);
        // Two numeric columns, one of them a count: the pie takes the count.
        p = PlanChart({kateg, len, count}, 5);
        QVERIFY(p.pie);
        QCOMPARE(p.valueColumn, 1);
        QCOMPARE(p.pieColumn, 2);
        // Two numeric columns without a count: no pie.
        QVERIFY(!PlanChart({kateg, len, nr}, 5).pie);
        // A hidden numeric column does not count; none left: nothing.
        ChartColumn hidden = count;
        hidden.shown = false;
        p = PlanChart({kateg, hidden}, 5);
        QVERIFY(!p.pie && !p.bar && !p.line);
        QCOMPARE(p.valueColumn, -1);
        // A single row with one numeric column: bar needs two rows or two columns.
        QVERIFY(!PlanChart({kateg, count}, 1).bar);
    }

    void columnHiding()
    {
        QList<int> widths = {50, 60, 70, 80};
        QList<TColInfo> info(4);
        // Hiding columns from the left: the selection stops at 0.
        QCOMPARE(HideColumn(widths, info, 0), 0);
        QCOMPARE(HideColumn(widths, info, 1), 0);
        QCOMPARE(widths, QList<int>({0, 0, 70, 80}));
        QCOMPARE(info[1].SavedWidth, 60);
        // Hiding column 3 moves to column 2, which is shown.
        QCOMPARE(HideColumn(widths, info, 3), 2);
        ShowColumn(widths, info, 1);
        QCOMPARE(widths[1], 60);
        QCOMPARE(info[1].SavedWidth, -1);
        // Moving column 3 (hidden) to 0: the saved widths follow their columns,
        // the moved one is shown.
        MoveColInfo(info, 3, 0);
        QCOMPARE(info[0].SavedWidth, -1);
        QCOMPARE(info[1].SavedWidth, 50);
        QCOMPARE(info[2].SavedWidth, -1);
        QCOMPARE(info[3].SavedWidth, -1);
        MoveColInfo(info, 1, 3);
        QCOMPARE(info[3].SavedWidth, -1);
        QCOMPARE(info[1].SavedWidth, -1);
    }
};

QTEST_GUILESS_MAIN(TstQueryRules)
#include "tst_queryrules.moc"
