// The program's own statements, line by line as the windows build them,
// translated and run on a small collection; then each rule of the dialect
// and the messages for malformed statements.
#include "sqlfixture.h"

#include <QtTest>

namespace {

QString M() { return SqlFixture::quoted(QStringLiteral("Med")); }
QString F() { return SqlFixture::quoted(QStringLiteral("Film")); }
QString P() { return SqlFixture::quoted(QStringLiteral("Pers")); }
QString L() { return SqlFixture::quoted(QStringLiteral("LAB")); }

void fill(SqlFixture &f)
{
    // Media, deliberately not in key order.
    auto med = [&](const QString &kind, int nr, int len, QVariantMap more = {}) {
        more.insert(QStringLiteral("Medium"), kind);
        more.insert(QStringLiteral("Nr"), nr);
        more.insert(QStringLiteral("Len"), len);
        f.insert(QStringLiteral("Med"), more);
    };
    med("DVD", 5, 0);
    med("DVD", 2, 0, {{"Gedruckt", true}});
    med("VHS-SB", 1, 240, {{"Verliehen", "Meier"}, {"Verleihdatum", QDate(2024, 1, 10)},
                           {"Rueckgabedatum", QDate(2024, 2, 1)}, {"Free1", "Regal A"}, {"SN", -12345}});
    med("DVD", 1, 0, {{"Gedruckt", false}, {"Free1", "Regal B"}});
    med("VHS-SB", 2, 180, {{"Verliehen", "Schmeichel"}, {"Verleihdatum", QDate(2024, 1, 20)},
                           {"Rueckgabedatum", QDate(2024, 3, 1)}, {"Gedruckt", true}, {"Free1", "Regal A"}});
    med("DVD", 3, 0, {{"Memo", "Geschenk von Oma"}});
    med("VHS-KK", 1, 95);

    auto film = [&](const QString &kind, int kass, int nr, const QString &titel, QVariantMap more = {}) {
        more.insert(QStringLiteral("Medium"), kind);
        more.insert(QStringLiteral("KassNr"), kass);
        more.insert(QStringLiteral("FilmNr"), nr);
        more.insert(QStringLiteral("Titel"), titel);
        if (!more.contains(QStringLiteral("Frei")))
            more.insert(QStringLiteral("Frei"), false);
        f.insert(QStringLiteral("Film"), more);
    };
    film("VHS-SB", 1, 2, "Ärger im Paradies", {{"Len", 100}, {"Kateg", "2"}, {"Wertung", 4}, {"Free1", "Heinz Rühmann"}});
    film("VHS-SB", 1, 1, "Casablanca", {{"Len", 102}, {"Kateg", "1"}, {"Wertung", 5}, {"Free1", "Humphrey Bogart"},
                                        {"Memo", "Ein Klassiker"}});
    film("VHS-SB", 1, 3, "FREIER BEREICH", {{"Len", 38}, {"Frei", true}});
    film("VHS-SB", 2, 1, "Der Pate", {{"Untertitel", "Teil 1"}, {"Len", 175}, {"Kateg", "a"}, {"Wertung", 5},
                                      {"Free2", "Marlon Brando"}});
    film("DVD", 1, 1, "Der Pate", {{"Untertitel", "Teil 2"}, {"Len", 200}, {"Kateg", "a"}, {"Wertung", 4}});
    film("DVD", 2, 1, "Abc", {{"Untertitel", ">und mehr"}, {"Len", 90}, {"Kateg", "A"}});
    film("DVD", 3, 1, "Abd", {{"Len", 7}, {"Free1", "Abdul"}});
    film("VHS-KK", 1, 1, "Straße der Ölsardinen", {{"Len", 95}, {"Kateg", "2"}, {"Wertung", 3}});

    f.insert(QStringLiteral("Pers"), {{"Name", "Humphrey Bogart"}, {"MF", "M"}});
    f.insert(QStringLiteral("Pers"), {{"Name", "Ingrid Bergman"}, {"MF", "F"}});
    f.insert(QStringLiteral("Pers"), {{"Name", "Marlon Brando"}, {"MF", "M"}, {"Memo", "Der Pate"}});

    f.insert(QStringLiteral("LAB"), {{"ANH", "DVD"}, {"FreeNr", 1}, {"Label", "Ort"}});
}

} // namespace

class TstSqlDialect : public QObject
{
    Q_OBJECT

private slots:
    // -- Medium numbering and record integrity -------------------------------

    void numbering()
    {
        SqlFixture f;
        fill(f);
        QCOMPARE(f.scalar({"SELECT MAX(Nr) FROM " + M(), "WHERE Medium = \"DVD\""}).toInt(), 5);
        QCOMPARE(f.scalar({"SELECT MAX(Nr) FROM " + M(), "WHERE Medium = \"Hi8\""}), QVariant());
        // Gap search per kind: DVD 1, 2, 3, 5: the first row is 3, so 4.
        const QStringList perKind = {"SELECT Nr FROM " + M() + " T1 WHERE", "\rT1.Medium = \"DVD\" ",
                                     "AND NOT EXISTS (SELECT * FROM " + M() + " T2 WHERE",
                                     "T2.Medium = T1.Medium", "AND T2.Nr = (T1.Nr + 1) )"};
        QCOMPARE(f.column(perKind), QStringList({"3", "5"}));
        // Across all media, rows come in key order: DVD 3 first.
        const QStringList across = {"SELECT Nr FROM " + M() + " T1 WHERE",
                                    "NOT EXISTS (SELECT * FROM " + M() + " T2 WHERE", "T2.Nr = (T1.Nr + 1) )"};
        QCOMPARE(f.column(across), QStringList({"3", "5"}));

        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + M() + " WHERE", "Nr = 2 AND", "Medium = \"DVD\""}).toInt(), 1);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + F() + " WHERE", "KassNr = 1 AND", "Medium = \"VHS-SB\""}).toInt(),
                 3);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + F() + " WHERE", "Medium = \"VHS-SB\" AND", "KassNr = 1"}).toInt(),
                 3);

        QCOMPARE(f.scalar({"UPDATE " + F(), "SET Medium = \"DVD\"", " , KassNr = 9", "WHERE Medium = \"VHS-SB\"",
                           "AND KassNr = 1"})
                     .toInt(),
                 3);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + F() + " WHERE", "KassNr = 9 AND", "Medium = \"DVD\""}).toInt(), 3);
        QCOMPARE(f.scalar({"DELETE FROM " + F() + " WHERE", "Medium = \"DVD\"", "AND KassNr = 9"}).toInt(), 3);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + F()}).toInt(), 5);
    }

    void filmListAndLending()
    {
        SqlFixture f;
        fill(f);
        // The main window's film list of one medium, in film order.
        const QStringList fl = {"SELECT * FROM " + F() + " WHERE", "KassNr = 1 AND", "Medium = \"VHS-SB\""};
        QCOMPARE(f.column(fl, 3), QStringList({"Casablanca", "Ärger im Paradies", "FREIER BEREICH"}));
        const auto t = f.translate(fl);
        QVERIFY(t.live);
        QCOMPARE(t.columns.size(), 31);
        QCOMPARE(t.columns[3].name, QStringLiteral("Titel"));
        QCOMPARE(t.columns[3].sourceField, QStringLiteral("Titel"));

        QCOMPARE(f.column({"SELECT DISTINCT Verliehen FROM " + M(), "WHERE Verliehen IS NOT NULL"}),
                 QStringList({"Meier", "Schmeichel"}));
        QCOMPARE(f.column({"SELECT DISTINCT Verliehen FROM", M(), "WHERE Verliehen IS NOT NULL"}),
                 QStringList({"Meier", "Schmeichel"}));
    }

    // -- Free-field value lists and type-ahead --------------------------------

    void valueLists()
    {
        SqlFixture f;
        fill(f);
        auto medList = [&](const QString &kind) {
            return f.column({"SELECT DISTINCT Free1 FROM", M() + " K", "WHERE FREE1 IS NOT NULL", "AND (",
                             "NOT EXISTS (SELECT * FROM " + L(), "WHERE ANH=\"" + kind + "\" AND FreeNr=1)",
                             "OR Medium=\"" + kind + "\")"});
        };
        // DVD has a caption row of its own: only DVD values.
        QCOMPARE(medList("DVD"), QStringList({"Regal B"}));
        QCOMPARE(medList("VHS-SB"), QStringList({"Regal A", "Regal B"}));
        QCOMPARE(f.column({"SELECT DISTINCT Free1 FROM", F(), "WHERE FREE1 IS NOT NULL"}),
                 QStringList({"Abdul", "Heinz Rühmann", "Humphrey Bogart"}));

        const QStringList typeAhead = {"SELECT Free1 FROM", F(), "WHERE Free1 LIKE \"Ab%\"", "AND Free1 <> \"Ab\"",
                                       "ORDER BY Free1"};
        QCOMPARE(f.column(typeAhead), QStringList({"Abdul"}));
        // Letter case counts in LIKE.
        QCOMPARE(f.column({"SELECT Free1 FROM", F(), "WHERE Free1 LIKE \"ab%\"", "AND Free1 <> \"ab\"",
                           "ORDER BY Free1"}),
                 QStringList());
        QCOMPARE(f.column({"SELECT Name FROM", P(), "WHERE Name LIKE \"M%\"", "AND Name <> \"M\"", "ORDER BY Name"}),
                 QStringList({"Marlon Brando"}));
    }

    // -- Film card -----------------------------------------------------------

    void filmCard()
    {
        SqlFixture f;
        fill(f);
        QCOMPARE(f.column({"SELECT DISTINCT Titel FROM " + F() + " WHERE", "UPPER(Titel) LIKE UPPER(\"der%\")"}),
                 QStringList({"Der Pate"}));
        QCOMPARE(f.column({"SELECT DISTINCT Titel FROM " + F() + " WHERE", "UPPER(Titel) LIKE UPPER(\"ä%\")"}),
                 QStringList({"Ärger im Paradies"}));
        QCOMPARE(f.column({"SELECT DISTINCT Titel FROM " + F() + " WHERE", "UPPER(Titel) LIKE UPPER(\"straße der ö%\")"}),
                 QStringList({"Straße der Ölsardinen"}));
        QCOMPARE(f.column({"SELECT Untertitel FROM " + F() + " WHERE", "Titel = \"Der Pate\" AND Untertitel IS NOT NULL"}),
                 QStringList({"Teil 2", "Teil 1"}));
        QCOMPARE(f.column({"SELECT * FROM " + F() + " WHERE", "Titel = \"Der Pate\"", "AND Untertitel = \"Teil 1\""}, 5),
                 QStringList({"175"}));
        QCOMPARE(f.column({"SELECT * FROM " + F() + " WHERE", "Titel = \"der pate\""}).size(), 0);
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Grafik IS NOT NULL"}).size(), 0);
        f.exec("UPDATE sFilm.data SET Grafik = x'0102' WHERE Titel = 'Abc'");
        QCOMPARE(f.column({"SELECT * FROM " + F() + "WHERE Grafik IS NOT NULL"}, 3), QStringList({"Abc"}));
        QCOMPARE(f.scalar({"UPDATE " + F(), "SET Grafik = NULL", "WHERE Medium = \"DVD\"", "AND KassNr = 2",
                           "AND FilmNr = 1"})
                     .toInt(),
                 1);
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Grafik IS NOT NULL"}).size(), 0);
    }

    // -- Person card file ----------------------------------------------------

    void personCard()
    {
        SqlFixture f;
        fill(f);
        const QStringList list = {"SELECT Name", "FROM " + P(), "WHERE", " :Filter = false OR UPPER(Name) LIKE UPPER( :N )"};
        f.params = {{"Filter", false}, {"N", "%bo%"}};
        QCOMPARE(f.column(list), QStringList({"Humphrey Bogart", "Ingrid Bergman", "Marlon Brando"}));
        f.params = {{"Filter", true}, {"N", "%bo%"}};
        QCOMPARE(f.column(list), QStringList({"Humphrey Bogart"}));

        const QStringList films = {
            "SELECT Titel + \" - \" + Untertitel,Medium,KassNr,FilmNr", "FROM " + F(), "WHERE",
            "(Untertitel<>\"\" AND SUBSTRING ( Untertitel FROM 1 FOR 1) <> \">\")", "AND", "(",
            "UPPER(Free1) LIKE UPPER( :N )", "OR", "UPPER(Free2) LIKE UPPER( :N )", ")", "UNION",
            "SELECT CAST(Titel+SUBSTRING( Untertitel FROM 2 ) as CHAR(83)) , Medium, KassNr, FilmNr", "FROM " + F(),
            "WHERE", "( Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1)=\">\")", "AND", "(",
            "UPPER(Free1) LIKE UPPER( :N )", "OR", "UPPER(Free2) LIKE UPPER( :N )", ")"};
        f.params = {{"N", "%Marlon Brando%"}};
        QCOMPARE(f.column(films), QStringList({"Der Pate - Teil 1"}));
        f.params = {{"N", "%bogart%"}};
        QCOMPARE(f.column(films), QStringList({"Casablanca"}));
        f.params = {{"N", "%a%"}};
        QCOMPARE(f.column(films), QStringList({"Abd", "Ärger im Paradies", "Casablanca", "Der Pate - Teil 1"}));
        const auto t = f.translate(films);
        QCOMPARE(t.columns[0].name, QStringLiteral("Titel + \" - \" + Untertitel"));
        QCOMPARE(t.columns[0].type, ValueType::Text);
        QCOMPARE(t.params.size(), 1);
        // "Abc" with subtitle ">und mehr" continues its title.
        f.params = {{"N", "%%"}};
        f.exec("UPDATE sFilm.data SET Free1 = 'x' WHERE Titel = 'Abc'");
        QVERIFY(f.column(films).contains("Abcund mehr"));

        QCOMPARE(f.scalar({"UPDATE " + F(), "SET Free1 = \"H. Bogart\"", "WHERE Free1 = \"Humphrey Bogart\""}).toInt(), 1);
        QCOMPARE(f.scalar({"UPDATE " + P(), "SET Grafik = NULL", "WHERE Name = \"Marlon Brando\""}).toInt(), 1);
    }

    // -- Categories, statistics, serial numbers --------------------------------

    void categoriesAndStatistics()
    {
        SqlFixture f;
        fill(f);
        f.params = {{"K", "a"}};
        QCOMPARE(f.run({"SELECT * FROM" + F() + "WHERE Kateg = :K"}).size(), 2);
        f.params = {{"K", "z"}};
        QCOMPARE(f.run({"SELECT * FROM" + F() + "WHERE Kateg = :K"}).size(), 0);
        f.params = {{"Neu", "z"}, {"Alt", "a"}};
        QCOMPARE(f.scalar({"UPDATE" + F(), "SET Kateg = :Neu", "WHERE Kateg = :Alt"}).toInt(), 2);

        const QList<QVariantList> stats = f.run({"SELECT COUNT(*),SUM(Len),AVG(Len) FROM" + F() + "GROUP BY Frei"});
        QCOMPARE(stats.size(), 2);
        QCOMPARE(stats[0][0].toInt(), 7); // real films first
        QCOMPARE(stats[0][1].toInt(), 102 + 100 + 175 + 200 + 90 + 7 + 95);
        QCOMPARE(stats[1][0].toInt(), 1);
        QCOMPARE(stats[1][1].toInt(), 38);
        QCOMPARE(stats[1][2].toDouble(), 38.0);
        QCOMPARE(f.scalar({"SELECT Count(*) FROM" + P() + "WHERE MF=\"M\""}).toInt(), 2);
        const QList<QVariantList> kinds = f.run({"SELECT Medium, COUNT(Nr) FROM" + M() + "GROUP BY Medium"});
        QCOMPARE(kinds, (QList<QVariantList>{{"DVD", 4LL}, {"VHS-KK", 1LL}, {"VHS-SB", 2LL}}));
        const auto t = f.translate({"SELECT Medium, COUNT(Nr) FROM" + M() + "GROUP BY Medium"});
        QCOMPARE(t.columns[1].name, QStringLiteral("COUNT(Nr)"));
        QCOMPARE(t.columns[1].type, ValueType::Integer);

        const QStringList serial = {"SELECT M.Medium, M.Nr, F.Titel AS Film1", "FROM " + M() + " M, ",
                                    F() + " F", "WHERE M.Medium=F.Medium AND M.Nr=F.KassNr AND F.FilmNr=1",
                                    "AND M.SN=-12345"};
        QCOMPARE(f.run(serial), (QList<QVariantList>{{"VHS-SB", 1LL, "Casablanca"}}));
        QCOMPARE(f.translate(serial).columns[2].name, QStringLiteral("Film1"));
    }

    // -- Labels and the label-printed flag -------------------------------------

    void labels()
    {
        SqlFixture f;
        fill(f);
        const QStringList list = {"SELECT * FROM", M(), "WHERE (", "Medium = \"DVD\" AND Nr=3)", "OR (",
                                  "Medium = \"VHS-SB\" AND Nr=1)"};
        QCOMPARE(f.column(list), QStringList({"DVD", "VHS-SB"}));

        auto keySet = [](QStringList lines) {
            lines << "WHERE" << "(Medium = \"DVD\" AND Nr=\"2\")" << "OR" << "(Medium = \"VHS-SB\" AND Nr=\"2\")";
            return lines;
        };
        QCOMPARE(f.column(keySet({"SELECT DISTINCT Gedruckt FROM " + M()})), QStringList({"1"}));
        QCOMPARE(f.run(keySet({"SELECT DISTINCT Gedruckt FROM " + M()})).size(), 1);
        QCOMPARE(f.scalar(keySet({"UPDATE " + M(), "SET Gedruckt = False"})).toInt(), 2);
        QCOMPARE(f.column(keySet({"SELECT DISTINCT Gedruckt FROM " + M()})), QStringList({"0"}));
        QCOMPARE(f.scalar(keySet({"UPDATE " + M(), "SET Gedruckt = True"})).toInt(), 2);

        const QList<QVariantList> pairs =
            f.run({"SELECT DISTINCT Medium, KassNr FROM " + F(), "WHERE Kateg = \"2\"",
                   "AND (Medium = \"VHS-SB\" OR Medium = \"VHS-KK\")"});
        QCOMPARE(pairs, (QList<QVariantList>{{"VHS-KK", 1LL}, {"VHS-SB", 1LL}}));
    }

    // -- Canned queries of the query window -------------------------------------

    void cannedQueries()
    {
        SqlFixture f;
        fill(f);
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Kateg = LOWER(\"a\")"}, 3), QStringList({"Der Pate", "Der Pate"}));
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Kateg = UPPER(\"A\")"}, 3), QStringList({"Abc"}));
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Kateg = \"1\""}, 3), QStringList({"Casablanca"}));

        // Rating: ties stay in key order.
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Wertung ", ">= ", "4", "ORDER BY Wertung"}, 3),
                 QStringList({"Der Pate", "Ärger im Paradies", "Casablanca", "Der Pate"}));
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Wertung ", "IS NULL"}, 3),
                 QStringList({"Abc", "Abd", "FREIER BEREICH"}));
        QCOMPARE(f.column({"SELECT * FROM " + F(), "WHERE Wertung ", "= ", "5", "ORDER BY Titel, Untertitel"}, 3),
                 QStringList({"Casablanca", "Der Pate"}));
        QCOMPARE(f.run({"SELECT * FROM " + F(), "ORDER BY Kateg, Wertung, Titel, Untertitel"}).size(), 8);

        // Not printed.
        QCOMPARE(f.run({"SELECT * FROM " + M(), "WHERE (", "Gedruckt=False)"}).size(), 1);
        QCOMPARE(f.column({"SELECT * FROM " + M(), "WHERE (", "Medium=\"DVD\"", "OR",
                           "(Medium!=\"VHS-SB\" and Medium!=\"VHS-KK\" and Medium!=\"DVD\")", ") AND Gedruckt=False"},
                          1),
                 QStringList({"1"}));

        // Lent media.
        QCOMPARE(f.column({"SELECT * FROM " + M() + " WHERE", "Verliehen<>\"\""}, 3), QStringList({"Meier", "Schmeichel"}));
        QCOMPARE(f.column({"SELECT * FROM " + M() + " WHERE", "Rueckgabedatum <= \"02/01/2024\""}, 3),
                 QStringList({"Meier"}));
        QCOMPARE(f.column({"SELECT * FROM " + M() + " WHERE", "Verleihdatum <= \"01/20/2024\""}, 3),
                 QStringList({"Meier", "Schmeichel"}));
        QCOMPARE(f.column({"SELECT * FROM " + M() + " WHERE", "UPPER(Verliehen) LIKE UPPER(\"%mei%\")"}, 3),
                 QStringList({"Meier", "Schmeichel"}));

        // Full-text film search.
        const QStringList search = {"SELECT * FROM " + F() + " WHERE", "UPPER(Titel) LIKE UPPER(:N1) OR",
                                    "UPPER(Untertitel) LIKE UPPER(:N1) OR", "Free1 LIKE :N1 OR",
                                    "(:M = true) AND (Memo LIKE :N1)"};
        f.params = {{"N1", "%klassiker%"}, {"M", true}};
        QCOMPARE(f.run(search).size(), 0);
        f.params = {{"N1", "%Klassiker%"}, {"M", true}};
        QCOMPARE(f.column(search, 3), QStringList({"Casablanca"}));
        f.params = {{"N1", "%Klassiker%"}, {"M", false}};
        QCOMPARE(f.run(search).size(), 0);
        f.params = {{"N1", "%teil%"}, {"M", false}};
        QCOMPARE(f.run(search).size(), 2);
        QCOMPARE(f.translate(search).params.size(), 2);
    }

    // -- Query by example ------------------------------------------------------

    void queryByExample()
    {
        SqlFixture f;
        fill(f);
        QCOMPARE(f.column({"SELECT DISTINCT Titel, Len", "FROM " + F(), "WHERE  (UPPER(Titel) LIKE \"AB%\")",
                           "OR (Len = 95)", "ORDER BY Len DESC"}),
                 QStringList({"Straße der Ölsardinen", "Abc", "Abd"}));
        QCOMPARE(f.column({"SELECT DISTINCT Titel, Len", "FROM " + F(), "WHERE NOT (Wide = true)", "ORDER BY Len"}).size(),
                 0); // Wide is empty everywhere: NOT (NULL) is no row
        const QStringList join = {"SELECT DISTINCT F.Titel, M.Verliehen", "FROM " + F() + " F , " + M() + " M", "WHERE",
                                  "F.Medium = M.Medium AND F.KassNr = M.Nr", "", "AND ( (UPPER(M.Verliehen) = \"MEIER\")",
                                  "OR (F.Len < 50)", ")", "ORDER BY F.Titel"};
        QCOMPARE(f.run(join), (QList<QVariantList>{{"Abd", QVariant()}, {"Ärger im Paradies", "Meier"},
                                                   {"Casablanca", "Meier"}, {"FREIER BEREICH", "Meier"}}));
        QCOMPARE(f.run({"SELECT DISTINCT COUNT(Titel), SUM(Len), MAX(Wertung), MIN(Titel), AVG(Len)", "FROM " + F()}),
                 (QList<QVariantList>{{8LL, 807LL, 5LL, "Abc", 807.0 / 8}}));
        // Join of the query source dialog: duplicate columns numbered.
        const auto t = f.translate({"SELECT * FROM", F() + " F, " + M() + " M", "WHERE",
                                    "M.Medium = F.Medium AND M.Nr = F.KassNr", " "});
        QCOMPARE(t.columns[4 + 27].name, QStringLiteral("Medium_1"));
        QVERIFY(std::any_of(t.columns.begin(), t.columns.end(),
                            [](const auto &c) { return c.name == QLatin1String("Free1_1"); }));
        QVERIFY(!t.live);
    }

    // -- Import of older databases -----------------------------------------------

    void alterTable()
    {
        SqlFixture f;
        const auto t = f.translate({"ALTER TABLE " + F(), "ADD Free16 CHARACTER(40)", ",", "ADD Note SMALLINT", ",",
                                    "ADD Seen BOOLEAN", ",", "ADD Since DATE", ",", "ADD Count2 INTEGER"});
        QCOMPARE(t.kind, engine::sql::StatementKind::AlterTable);
        QCOMPARE(t.alter.size(), 5);
        QCOMPARE(t.alter[0].type, ValueType::Text);
        QCOMPARE(t.alter[0].size, 40);
        QCOMPARE(t.alter[1].type, ValueType::Integer);
        QCOMPARE(t.alter[1].size, 2);
        QCOMPARE(t.alter[2].type, ValueType::Boolean);
        QCOMPARE(t.alter[3].type, ValueType::Date);
        QCOMPARE(t.alter[4].size, 4);
        QCOMPARE(t.tables.value(t.targetTable), SqlFixture::path("Film"));
        QVERIFY(f.errorOf({"ALTER TABLE " + F(), "ADD Wertung SMALLINT"}).contains("bereits"));
        QVERIFY(f.errorOf({"ALTER TABLE " + F(), "ADD X CHARACTER"}).contains("Feldlänge"));
        QVERIFY(f.errorOf({"ALTER TABLE " + F(), "ADD X TEXTBLOCK"}).contains("Unbekannter Datentyp \"TEXTBLOCK\""));

        fill(f);
        QCOMPARE(f.scalar({"UPDATE " + M() + " ", "SET Gedruckt=NULL ",
                           "WHERE Medium=\"VHS-SB\" or Medium=\"VHS-KK\" or Medium=\"DVD\""})
                     .toInt(),
                 7);
    }

    // -- Quick search ------------------------------------------------------------

    void quickSearch()
    {
        SqlFixture f;
        fill(f);
        QStringList cond = {"WHERE ((:AuchInt = TRUE) AND (KassNr = :W OR FilmNr = :W OR Len = :W))",
                            "OR UPPER(Medium) LIKE UPPER(:N1) OR UPPER(Titel) LIKE UPPER(:N1)",
                            "OR UPPER(Untertitel) LIKE UPPER(:N1)"};
        for (int i = 1; i <= 15; ++i)
            cond << QStringLiteral("OR UPPER(Free%1) LIKE UPPER(:N1)").arg(i);
        cond << "OR Memo LIKE :N1" << "OR ((:Kategsuche = TRUE) AND (Kateg = :Kateg))";
        QStringList q = {"SELECT Titel + \" - \" + Untertitel AS Titel, Medium, KassNr, FilmNr", "FROM", F()};
        q << cond << "AND Untertitel IS NOT NULL AND SUBSTRING(Untertitel FROM 1 FOR 1) <> \">\"" << "UNION"
          << "SELECT CAST(Titel + SUBSTRING(Untertitel FROM 2) AS CHAR(83)), Medium, KassNr, FilmNr" << "FROM" << F();
        // AND binds closer than OR: the halves put the condition in brackets.
        q[3] = "WHERE (" + q[3].mid(6);
        const int unionAt = q.indexOf("UNION");
        q[unionAt - 2] += ")";
        q << "WHERE (" + cond[0].mid(6);
        q << cond.mid(1);
        q.last() += ")";
        q << "AND (Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1) = \">\")";
        f.params = {{"AuchInt", true}, {"W", 7}, {"N1", "%7%"}, {"Kategsuche", false}, {"Kateg", ""}};
        QCOMPARE(f.column(q), QStringList({"Abd"}));
        f.params = {{"AuchInt", false}, {"W", 0}, {"N1", "%PATE%"}, {"Kategsuche", false}, {"Kateg", ""}};
        QCOMPARE(f.column(q), QStringList({"Der Pate - Teil 1", "Der Pate - Teil 2"}));
        f.params = {{"AuchInt", false}, {"W", 0}, {"N1", "%xyz%"}, {"Kategsuche", true}, {"Kateg", "1"}};
        QCOMPARE(f.column(q), QStringList({"Casablanca"}));

        QStringList persons = {"SELECT * FROM " + P(), "WHERE UPPER(Name) LIKE UPPER(:N1)",
                               "OR UPPER( MF) = UPPER( :N1)", "OR Memo LIKE :N1"};
        f.params = {{"N1", "f"}};
        QCOMPARE(f.column(persons), QStringList({"Ingrid Bergman"}));
        f.params = {{"N1", "%Pate%"}};
        QCOMPARE(f.column(persons), QStringList({"Marlon Brando"}));
        f.params = {{"N1", "%pate%"}};
        QCOMPARE(f.column(persons), QStringList());
    }

    // -- Rules of the dialect ------------------------------------------------------

    void tablePaths()
    {
        SqlFixture f;
        fill(f);
        // Relative, without ".DB", with an alias; single quotes as well.
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM \"Med\" X WHERE X.Nr = 1"}).toInt(), 3);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM \"Med.DB\" AS X WHERE X.Nr = 1"}).toInt(), 3);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM 'Med' WHERE Medium = 'DVD'"}).toInt(), 4);
        QCOMPARE(f.scalar({"select count(*) from " + M() + " where medium = \"DVD\""}).toInt(), 4);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + F() + " JOIN " + M() + " ON Film.Medium = Med.Medium AND KassNr = Nr"})
                     .toInt(),
                 8);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + M() + " M LEFT OUTER JOIN " + F() + " F",
                           "ON F.Medium = M.Medium AND F.KassNr = M.Nr WHERE F.Titel IS NULL"})
                     .toInt(),
                 1);
        QCOMPARE(f.translate({"SELECT * FROM \"Med\""}).tables, QStringList({SqlFixture::path("Med")}));
        QCOMPARE(engine::sql::resolveTablePath("a\\b.DB", "/x"), QStringLiteral("/x/a/b.DB"));
        QCOMPARE(engine::sql::resolveTablePath("/y/Film", "/x"), QStringLiteral("/y/Film.DB"));

        // The translator looks at no file: a name of other letter case than
        // the file on disk is found only through the context's path resolver.
        QTemporaryDir dir;
        QFile(dir.filePath("film.db")).open(QIODevice::WriteOnly);
        engine::sql::TranslateContext c = f.context();
        c.databaseFolder = dir.path();
        QStringList asked;
        c.resolver = [&](const QString &p) {
            asked << p;
            return &f.tables[SqlFixture::path("Film")];
        };
        QVERIFY(engine::sql::translate({"SELECT * FROM \"FILM\""}, c).pathsExact);
        c.pathResolver = [&](const QString &written, bool *byLetterCase) {
            return engine::sql::resolveTablePath(written, dir.path(), byLetterCase);
        };
        QVERIFY(!engine::sql::translate({"SELECT * FROM \"FILM\""}, c).pathsExact);
        QCOMPARE(asked, QStringList({dir.filePath("FILM.DB"), dir.filePath("film.db")}));
    }

    void stringsAndConstants()
    {
        SqlFixture f;
        fill(f);
        // A doubled quote inside a string is one quote; a colon in a string is
        // no parameter.
        f.exec("UPDATE sPers.data SET Free1 = 'Er sagt \"Hallo\": ja' WHERE Name = 'Ingrid Bergman'");
        QCOMPARE(f.column({"SELECT Name FROM " + P() + " WHERE Free1 = \"Er sagt \"\"Hallo\"\": ja\""}),
                 QStringList({"Ingrid Bergman"}));
        QCOMPARE(f.column({"SELECT Name FROM " + P() + " WHERE Free1 = 'Er sagt \"Hallo\": ja'"}),
                 QStringList({"Ingrid Bergman"}));
        QVERIFY(f.translate({"SELECT Name FROM " + P() + " WHERE Free1 = \"a :x\""}).params.isEmpty());
        // A value quoted for SQL cannot end its string.
        const QString evil = "x\" OR \"1\"=\"1";
        QCOMPARE(f.run({"SELECT * FROM " + P() + " WHERE Name = \"" + QuoteSQLString(evil) + "\""}).size(), 0);
        QCOMPARE(QuoteSQLString("a\"b\"\""), QStringLiteral("a\"\"b\"\"\"\""));
        // + joins texts, an empty field adds nothing; numbers still add.
        QCOMPARE(f.column({"SELECT Titel + \"/\" + Untertitel FROM " + F() + " WHERE FilmNr = 1 AND KassNr = 1",
                           "AND Medium = \"VHS-SB\""}),
                 QStringList({"Casablanca/"}));
        QCOMPARE(f.scalar({"SELECT Len + KassNr + 1 FROM " + F() + " WHERE Titel = \"Abd\""}).toInt(), 11);
        QCOMPARE(f.scalar({"SELECT Titel || \"!\" FROM " + F() + " WHERE Titel = \"Abd\""}).toString(), "Abd!");
        // SUBSTRING and CAST.
        QCOMPARE(f.scalar({"SELECT SUBSTRING(Titel FROM 2 FOR 3) FROM " + F() + " WHERE Titel = \"Casablanca\""}), "asa");
        QCOMPARE(f.scalar({"SELECT CAST(Titel AS CHAR(4)) FROM " + F() + " WHERE Titel = \"Casablanca\""}), "Casa");
        QCOMPARE(f.scalar({"SELECT CAST(Len AS CHAR(10)) FROM " + F() + " WHERE Titel = \"Casablanca\""}), "102");
        QCOMPARE(f.scalar({"SELECT CAST(\"42\" AS INTEGER) + 1 FROM " + F() + " WHERE Titel = \"Casablanca\""}).toInt(), 43);
        // UPPER and LOWER know German letters.
        QCOMPARE(f.scalar({"SELECT UPPER(Titel) FROM " + F() + " WHERE KassNr = 1 AND Medium = \"VHS-KK\""}),
                 "STRAßE DER ÖLSARDINEN");
        QCOMPARE(f.scalar({"SELECT LOWER(Titel) FROM " + F() + " WHERE Titel LIKE \"Ä%\""}), "ärger im paradies");
        // = and LIKE respect letter case; _ is one character.
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel = \"casablanca\""}).size(), 0);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel LIKE \"%BLANCA\""}).size(), 0);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel LIKE \"_rger%\""}).size(), 1);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel NOT LIKE \"%a%\""}).size(), 3);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel LIKE \"%100!%%\" ESCAPE \"!\""}).size(), 0);
        // TRUE and FALSE, <> and !=, IN, BETWEEN.
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Frei = TRUE"}).size(), 1);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Frei <> TRUE AND Len != 7"}).size(), 6);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Len IN (7, 90, \"95\")"}).size(), 3);
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Len NOT BETWEEN 90 AND 102"}).size(), 4);
        QCOMPARE(f.run({"SELECT * FROM " + M() + " WHERE Verleihdatum BETWEEN \"1/1/2024\" AND \"15.01.2024\""}).size(), 1);
        QCOMPARE(f.run({"SELECT * FROM " + M() + " WHERE Rueckgabedatum - Verleihdatum > 30"}).size(), 1);
        QCOMPARE(f.scalar({"SELECT EXTRACT(MONTH FROM Rueckgabedatum) FROM " + M() + " WHERE Nr = 2 AND Medium = \"VHS-SB\""})
                     .toInt(),
                 3);
        // HAVING, EXISTS, scalar sub-query, IN sub-query.
        QCOMPARE(f.run({"SELECT Medium, COUNT(*) FROM " + F() + " GROUP BY Medium HAVING COUNT(*) > 2"}).size(), 2);
        QCOMPARE(f.run({"SELECT * FROM " + M() + " M WHERE EXISTS (SELECT * FROM " + F() +
                        " F WHERE F.Medium = M.Medium AND F.KassNr = M.Nr)"})
                     .size(),
                 6);
        QCOMPARE(f.scalar({"SELECT (SELECT MAX(Len) FROM " + F() + ") FROM " + M() + " WHERE Nr = 5"}).toInt(), 200);
        QCOMPARE(f.run({"SELECT * FROM " + P() + " WHERE Name IN (SELECT Free1 FROM " + F() + ")"}).size(), 1);
        // UNION removes duplicates, UNION ALL keeps them.
        QCOMPARE(f.run({"SELECT Titel FROM " + F() + " UNION SELECT Titel FROM " + F()}).size(), 7);
        QCOMPARE(f.run({"SELECT Titel FROM " + F() + " UNION ALL SELECT Titel FROM " + F()}).size(), 16);
        // Comments and a closing semicolon.
        QCOMPARE(f.run({"SELECT * /* alle */ FROM " + P() + ";"}).size(), 3);
    }

    void parameters()
    {
        QCOMPARE(engine::sql::parameterNames({"SELECT * FROM \"x\" WHERE a = :Titel$ AND b = :Ok? OR c = :Anzahl%",
                                              "AND d = :titel$ AND e = \":Nein\" AND f = ':nein'", "AND g=:N1)"}),
                 QStringList({"Titel$", "Ok?", "Anzahl%", "N1"}));
        QCOMPARE(engine::sql::parameterNames({"SELECT :A FROM \"x\" WHERE \"unterminated :B", ":C"}),
                 QStringList({"A"}));
        SqlFixture f;
        fill(f);
        f.params = {{"Titel$", "Casablanca"}, {"Zahl%", 102}, {"Ok?", true}};
        QCOMPARE(f.run({"SELECT * FROM " + F() + " WHERE Titel = :Titel$ AND Len = :Zahl% AND :Ok? = TRUE"}).size(), 1);
        f.params = {{"D", "02/01/2024"}};
        const auto t = f.translate({"SELECT * FROM " + M() + " WHERE Rueckgabedatum <= :D"});
        QCOMPARE(t.params[0].expected, ValueType::Date);
        QCOMPARE(f.run({"SELECT * FROM " + M() + " WHERE Rueckgabedatum <= :D"}).size(), 1);
        f.params = {{"D", QDate(2024, 2, 1)}};
        QCOMPARE(f.run({"SELECT * FROM " + M() + " WHERE Rueckgabedatum <= :D"}).size(), 1);
    }

    void keyOrder()
    {
        SqlFixture f;
        fill(f);
        // One table without ORDER BY: key order, whatever the insert order.
        QCOMPARE(f.column({"SELECT Medium, Nr FROM " + M()}, 1), QStringList({"1", "2", "3", "5", "1", "1", "2"}));
        // ORDER BY on a text sorts as a German reader would.
        QCOMPARE(f.column({"SELECT Titel FROM " + F() + " ORDER BY Titel"}),
                 QStringList({"Abc", "Abd", "Ärger im Paradies", "Casablanca", "Der Pate", "Der Pate", "FREIER BEREICH",
                              "Straße der Ölsardinen"}));
        QCOMPARE(f.column({"SELECT Titel FROM " + F() + " ORDER BY 1 DESC"}).first(), "Straße der Ölsardinen");
        QCOMPARE(f.column({"SELECT Titel AS T, Len FROM " + F() + " ORDER BY T"}).first(), "Abc");
        QCOMPARE(f.column({"SELECT Titel, Len FROM " + F() + " UNION SELECT Name, 0 FROM " + P() + " ORDER BY Len, Titel"}).first(),
                 "Humphrey Bogart");
    }

    // -- Malformed statements --------------------------------------------------------

    void errors_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QString m = M();
        QTest::newRow("empty") << QStringList{"", "  "} << "Die SQL-Anweisung ist leer";
        QTest::newRow("unknown statement") << QStringList{"DROP TABLE " + m} << "Unbekannte Anweisung";
        QTest::newRow("unterminated string") << QStringList{"SELECT * FROM " + m, "WHERE Medium = \"DVD"}
                                             << "Zeichenkette ohne schließendes Anführungszeichen (\") (Zeile 2, Spalte 16)";
        QTest::newRow("bad character") << QStringList{"SELECT * FROM " + m + " WHERE Nr # 3"}
                                       << "Unerwartetes Zeichen \"#\"";
        QTest::newRow("missing FROM") << QStringList{"SELECT Nr", "WHERE Nr = 1"}
                                      << "\"FROM\" erwartet, gefunden: \"WHERE\" (Zeile 2, Spalte 1)";
        QTest::newRow("unknown field") << QStringList{"SELECT Nummer FROM " + m} << "Unbekanntes Feld \"Nummer\" (Zeile 1, Spalte 8)";
        QTest::newRow("unknown table") << QStringList{"SELECT * FROM \"Kassetten\""} << "Tabelle \"Kassetten\" nicht gefunden";
        QTest::newRow("unknown alias") << QStringList{"SELECT X.Nr FROM " + m + " M"} << "\"X\" ist in dieser Abfrage nicht bekannt";
        QTest::newRow("ambiguous") << QStringList{"SELECT Nr FROM " + m + " A, " + m + " B"} << "mehrdeutig";
        QTest::newRow("twice") << QStringList{"SELECT * FROM " + m + ", " + m} << "steht zweimal";
        QTest::newRow("trailing") << QStringList{"SELECT * FROM " + m + " WHERE Nr = 1 1"}
                                  << "nach dem Ende der Anweisung";
        QTest::newRow("open bracket") << QStringList{"SELECT * FROM " + m + " WHERE (Nr = 1"}
                                      << "\")\" erwartet, gefunden: Ende der Anweisung";
        QTest::newRow("bad date") << QStringList{"SELECT * FROM " + m + " WHERE Verleihdatum < \"13/45/2004\""}
                                  << "Ungültiges Datum \"13/45/2004\"";
        QTest::newRow("not a number") << QStringList{"SELECT * FROM " + m + " WHERE Nr = \"zwei\""}
                                      << "\"zwei\" ist keine Zahl";
        QTest::newRow("type mismatch") << QStringList{"SELECT * FROM " + m + " WHERE Nr = Medium"} << "Typkonflikt";
        QTest::newRow("like on number") << QStringList{"SELECT * FROM " + m + " WHERE Nr LIKE \"1%\""}
                                        << "LIKE ist nur auf Texte anwendbar";
        QTest::newRow("not grouped") << QStringList{"SELECT Medium, COUNT(*) FROM " + m}
                                     << "Das Feld \"Medium\" muss in GROUP BY stehen";
        QTest::newRow("aggregate in where") << QStringList{"SELECT * FROM " + m + " WHERE COUNT(*) > 1"}
                                            << "COUNT ist hier nicht erlaubt";
        QTest::newRow("unknown function") << QStringList{"SELECT FOO(Nr) FROM " + m} << "Unbekannte Funktion \"FOO\"";
        QTest::newRow("union width") << QStringList{"SELECT Nr FROM " + m, "UNION SELECT Nr, Len FROM " + m}
                                     << "unterschiedlich viele Spalten";
        QTest::newRow("distinct order") << QStringList{"SELECT DISTINCT Nr FROM " + m + " ORDER BY Len"}
                                        << "ORDER BY darf hier nur Spalten des Ergebnisses nennen";
        QTest::newRow("right join") << QStringList{"SELECT * FROM " + m + " A RIGHT JOIN " + m + " B ON A.Nr = B.Nr"}
                                    << "RIGHT JOIN wird nicht unterstützt";
        QTest::newRow("set unknown") << QStringList{"UPDATE " + m + " SET Nummer = 1"} << "Feld \"Nummer\" gibt es";
        QTest::newRow("condition") << QStringList{"SELECT * FROM " + m + " WHERE Nr"} << "Hier wird eine Bedingung erwartet";
        QTest::newRow("param colon") << QStringList{"SELECT * FROM " + m + " WHERE Nr = : 1"} << "Parametername fehlt";
        QTest::newRow("insert count") << QStringList{"INSERT INTO " + m + " (Medium, Nr) VALUES (\"DVD\")"}
                                      << "1 Werte für 2 Felder";
        QTest::newRow("keyword as field") << QStringList{"SELECT FROM FROM " + m} << "Ausdruck erwartet";
        QTest::newRow("bad number") << QStringList{"SELECT * FROM " + m + " WHERE Nr = 12abc"} << "Ungültige Zahl";
        QTest::newRow("nul in string") << QStringList{"SELECT * FROM " + m + " WHERE Medium = \"D" + QString(QChar(0)) + "\""}
                                       << "Ungültiges Zeichen (Code 0)";
        QTest::newRow("deep brackets") << QStringList{"SELECT * FROM " + m + " WHERE " + QString(5000, u'(') + "Nr = 1" + QString(5000, u')')}
                                       << "zu tief verschachtelt";
        QTest::newRow("deep minus") << QStringList{"SELECT * FROM " + m + " WHERE Nr = " + QString(5000, u'-') + "1"}
                                    << "zu tief verschachtelt";
        QStringList longSum{"SELECT * FROM " + m + " WHERE Nr = 0"};
        for (int i = 0; i < 5000; ++i)
            longSum << "+ 1";
        QTest::newRow("long sum") << longSum << "zu umfangreich";
        QString nested = "Titel";
        for (int i = 0; i < 30; ++i)
            nested = "UPPER(" + nested + ")";
        QTest::newRow("deep functions") << QStringList{"SELECT " + nested + " FROM " + F()} << "zu tief verschachtelt";
        QTest::newRow("comment") << QStringList{"SELECT * FROM " + m + " /* offen"} << "Kommentar ohne Ende";
    }

    void errors()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        SqlFixture f;
        const QString got = f.errorOf(lines);
        QVERIFY2(got.contains(message), qPrintable(QStringLiteral("got: ") + got));
    }

    void deepestAcceptedStatementRuns()
    {
        // Close to both limits at once: 60 brackets (of 64 levels) around a
        // sum of 901 terms (SQLite takes fewer than 1000). It translates and
        // runs, on a 1 MB stack under the address sanitizer too.
        SqlFixture f;
        fill(f);
        QStringList sum{"Len = 0"};
        for (int i = 0; i < 240; ++i)
            sum << "+ 1";
        for (int i = 0; i < 330; ++i)
            sum << "+ 1" << "- 1";
        QStringList lines{"SELECT Medium, Nr FROM " + M() + " WHERE " + QString(60, u'(')};
        lines << sum << QString(60, u')');
        const QList<QVariantList> rows = f.run(lines);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value(0).toString(), QStringLiteral("VHS-SB"));
        QCOMPARE(rows[0].value(1).toInt(), 1);
        // One term or one bracket more than that is refused in German.
        QStringList longer = lines;
        longer.insert(longer.size() - 1, QStringList(60, "+ 0").join(' '));
        QVERIFY(f.errorOf(longer).contains("Der Ausdruck ist zu umfangreich"));
        QStringList deeper{"SELECT Medium FROM " + M() + " WHERE " + QString(64, u'(') + "Len = 240" + QString(64, u')')};
        QVERIFY(f.errorOf(deeper).contains("zu tief verschachtelt"));
    }

    void longKeySets()
    {
        // A key set of thousands of media, one term each, joined by OR.
        SqlFixture f;
        fill(f);
        QStringList lines = {"SELECT * FROM " + M(), "WHERE"};
        for (int i = 0; i < 6000; ++i) {
            if (i)
                lines << "OR";
            lines << QStringLiteral("(Medium = \"DVD\" AND Nr=\"%1\")").arg(i);
        }
        QCOMPARE(f.run(lines).size(), 4);
        QVERIFY(f.lastSql.contains(" IN (VALUES "));
        // One field, or the constant first: the same.
        QStringList single = {"SELECT * FROM " + M(), "WHERE"};
        for (int i = 0; i < 3000; ++i)
            single << (i ? "OR " : "") + QStringLiteral("\"%1\" = Nr").arg(i);
        QCOMPARE(f.run(single).size(), 7);
        // Terms of another shape stay beside the list.
        lines << "OR Len > 200" << "OR (Medium = \"VHS-SB\" AND Len = 240)";
        QCOMPARE(f.run(lines).size(), 5);
        QVERIFY(f.lastSql.contains(" IN (VALUES "));
        lines.removeLast();
        lines.removeLast();
        lines[0] = "UPDATE " + M();
        lines.insert(1, "SET Gedruckt = True");
        QCOMPARE(f.scalar(lines).toInt(), 4);
    }

    void longChains()
    {
        // Long joins of texts and sums stay flat.
        SqlFixture f;
        fill(f);
        QStringList text = {"SELECT Titel"};
        QStringList sum = {"SELECT Len"};
        for (int i = 0; i < 300; ++i) {
            text << "+ \"-\" + Kateg";
            sum << "+ 1 - 1 + FilmNr";
        }
        text << "FROM " + F() + " WHERE Titel = \"Casablanca\"";
        sum << "FROM " + F() + " WHERE Titel = \"Casablanca\"";
        QCOMPARE(f.scalar(text).toString().size(), 10 + 300 * 2);
        QCOMPARE(f.scalar(sum).toInt(), 102 + 300);
    }

    void changes()
    {
        SqlFixture f;
        fill(f);
        QCOMPARE(f.scalar({"INSERT INTO " + M() + " (Medium, Nr, Verleihdatum, Gedruckt) VALUES (\"DVD\", 9, \"12/24/2026\", TRUE)"})
                     .toInt(),
                 1);
        QCOMPARE(f.scalar({"SELECT Verleihdatum FROM " + M() + " WHERE Nr = 9"}).toString(), "2026-12-24");
        QCOMPARE(f.scalar({"INSERT INTO " + P() + " (Name) SELECT DISTINCT Free1 FROM " + F() + " WHERE Free1 = \"Abdul\""})
                     .toInt(),
                 1);
        // A text longer than its field is cut to its size.
        QCOMPARE(f.scalar({"UPDATE " + M() + " SET Medium = \"ABCDEFGHIJ\" WHERE Nr = 9"}).toInt(), 1);
        QCOMPARE(f.scalar({"SELECT Medium FROM " + M() + " WHERE Nr = 9"}).toString(), "ABCDEF");
        QCOMPARE(f.scalar({"UPDATE " + M() + " SET Verleihdatum = Verleihdatum + 7 WHERE Nr = 9"}).toInt(), 1);
        QCOMPARE(f.scalar({"SELECT Verleihdatum FROM " + M() + " WHERE Nr = 9"}).toString(), "2026-12-31");
        QCOMPARE(f.scalar({"DELETE FROM " + M() + " WHERE NOT EXISTS (SELECT * FROM " + F() +
                           " F WHERE F.Medium = Med.Medium AND F.KassNr = Med.Nr)"})
                     .toInt(),
                 2);
        // An empty text constant stores an empty field.
        QCOMPARE(f.scalar({"UPDATE " + M() + " SET Verliehen = \"\" WHERE Verliehen = \"Meier\""}).toInt(), 1);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + M() + " WHERE Verliehen IS NULL"}).toInt(), 5);
        // A text that arrived empty from elsewhere counts the same.
        f.exec("UPDATE sMed.data SET Verliehen = '' WHERE Verliehen = 'Schmeichel'");
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + M() + " WHERE Verliehen IS NULL"}).toInt(), 6);
        QCOMPARE(f.scalar({"SELECT COUNT(*) FROM " + M() + " WHERE Verliehen IS NOT NULL"}).toInt(), 0);
        QCOMPARE(engine::sql::statementKind({"", "  update x"}), engine::sql::StatementKind::Update);
        QCOMPARE(engine::sql::statementKind({"ALTER TABLE x"}), engine::sql::StatementKind::AlterTable);
        QCOMPARE(engine::sql::statementKind({"/* neu */\tDELETE\"x\""}), engine::sql::StatementKind::Delete);
        QCOMPARE(engine::sql::statementKind({"\"unterminated"}), engine::sql::StatementKind::Select);
    }
};

QTEST_GUILESS_MAIN(TstSqlDialect)
#include "tst_sqldialect.moc"
