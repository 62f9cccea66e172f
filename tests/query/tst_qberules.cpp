// Query by example as plain rules: the column kinds, the cell conditions
// with their mappings and errors, the built statement with its mends.
#include "query/qbe.h"
#include "query/querytext.h"

#include <QtTest>

using namespace query;

class TstQbeRules : public QObject
{
    Q_OBJECT

    static QbeCell cell(const QString &field, const QString &c, bool caseSensitive = false)
    {
        QStringList names(62);
        names[0] = QStringLiteral("Action");
        names[10] = QStringLiteral("Komödie"); // category 11: code 'a'
        names[36] = QStringLiteral("Western"); // category 37: code 'A'
        return CheckQBECell(field, c, 2, caseSensitive, names);
    }
    static QueryTables tables()
    {
        return {QStringLiteral("/db/DB/Film.DB"), QStringLiteral("/db/DB/Med.DB"), QStringLiteral("/db/DB/Pers.DB")};
    }
    static TQbeGrid filmGrid()
    {
        return NewQbeGrid(1, {"Medium", "KassNr", "Titel", "Len", "LP", "Ton", "Kateg", "Memo", "Grafik"});
    }
    static void onlySelect(TQbeGrid &g, const QMap<QString, QString> &sel)
    {
        for (int c = 0; c < g.fields.size(); ++c)
            g.selection[c] = sel.value(g.fields[c]);
    }

private slots:
    void newGrid()
    {
        const TQbeGrid g = filmGrid();
        QCOMPARE(g.rowCount(), 3);
        QCOMPARE(g.rowOps, QStringList({"", "OR", "OR"}));
        QCOMPARE(g.selection, QStringList({"X", "X", "X", "X", "X", "X", "X", "", ""}));
        QCOMPARE(QbeFields(3, {"Medium", "Nr"}, {"Medium", "Titel"}, {}),
                 QStringList({"F.Medium", "F.Titel", "M.Medium", "M.Nr"}));
    }

    void columnKinds()
    {
        QVERIFY(QbeKindOf("Untertitel").text);
        QVERIFY(QbeKindOf("F.Free3").text);
        QVERIFY(!QbeKindOf("Frei").text && QbeKindOf("Frei").boolean);
        QVERIFY(QbeKindOf("M.Verliehen").text);
        QVERIFY(QbeKindOf("Memo").memo && QbeKindOf("Memo").memoOrPicture);
        QVERIFY(!QbeKindOf("Grafik").memo && QbeKindOf("Grafik").memoOrPicture);
        QVERIFY(QbeKindOf("MF").sex);
        const QbeColumnKind nr = QbeKindOf("KassNr");
        QVERIFY(!nr.text && !nr.boolean && !nr.memoOrPicture && !nr.sound && !nr.category);
    }

    void cycling()
    {
        QCOMPARE(NextRowOperator(0, ""), QStringLiteral("NOT"));
        QCOMPARE(NextRowOperator(0, "NOT"), QString());
        QCOMPARE(NextRowOperator(1, "OR"), QStringLiteral("AND"));
        QCOMPARE(NextRowOperator(1, "AND NOT"), QStringLiteral("OR NOT"));
        QCOMPARE(NextRowOperator(1, "OR NOT"), QStringLiteral("OR"));
        QCOMPARE(NextRowOperator(1, "xy"), QStringLiteral("OR"));
        const QbeColumnKind plain = QbeKindOf("Len");
        QCOMPARE(NextSelectionValue("X", false, plain), QStringLiteral(">"));
        QCOMPARE(NextSelectionValue("<", false, plain), QString());
        QCOMPARE(NextSelectionValue("?", false, plain), QStringLiteral("X"));
        QCOMPARE(NextSelectionValue("X", false, QbeKindOf("Memo")), QString());
        QCOMPARE(NextSelectionValue("AVG", true, plain), QString());
        QCOMPARE(NextSelectionValue("", true, plain), QStringLiteral("COUNT"));
        QCOMPARE(NextCriteriaValue("", QbeKindOf("LP")), QStringLiteral("true"));
        QCOMPARE(NextCriteriaValue("false", QbeKindOf("LP")), QString());
        QCOMPARE(NextCriteriaValue("MPEG Audio", QbeKindOf("Ton")), QString());
        QCOMPARE(NextCriteriaValue("DVD", QbeKindOf("Medium")), QString());
        QCOMPARE(NextCriteriaValue("NOT NULL", QbeKindOf("Grafik")), QStringLiteral("NULL"));
        TQbeGrid g = filmGrid();
        ToggleQbeMode(g);
        QVERIFY(g.aggregate);
        QCOMPARE(g.selection.count(QString()), g.selection.size());
    }

    void textCells()
    {
        // A word with a trailing star, case option off.
        QCOMPARE(cell("Titel", "alien*").condition, QStringLiteral("LIKE \"ALIEN%\""));
        QCOMPARE(cell("Titel", "a?c").condition, QStringLiteral("LIKE \"A_C\""));
        QCOMPARE(cell("Titel", "alien*", true).condition, QStringLiteral("LIKE \"alien%\""));
        QCOMPARE(cell("Titel", "Alien  ").condition, QStringLiteral("= \"ALIEN\""));
        QCOMPARE(cell("Titel", ">= M").condition, QStringLiteral(">= \"M\""));
        QCOMPARE(cell("Titel", "WIE Rio%").condition, QStringLiteral("LIKE \"RIO%\""));
        QCOMPARE(cell("Titel", "\"\"").condition, QStringLiteral("= \"\""));
        // A double quote inside is doubled, so it cannot end the text.
        QCOMPARE(cell("Titel", "Ab\"c", true).condition, QStringLiteral("= \"Ab\"\"c\""));
        QCOMPARE(cell("Titel", "null").condition, QStringLiteral("IS null"));
        QCOMPARE(cell("Titel", "IS NOT NULL").condition, QStringLiteral("IS NOT NULL"));
        QVERIFY(cell("Titel", "x").error.isEmpty());
    }

    void memoAndPictureCells()
    {
        // "=" without operator becomes LIKE with both wildcards.
        QCOMPARE(cell("Memo", "krimi").condition, QStringLiteral("LIKE \"%KRIMI%\""));
        QCOMPARE(cell("Memo", "krimi", true).condition, QStringLiteral("LIKE \"%krimi%\""));
        QVERIFY(cell("Memo", "krimi").error.isEmpty());
        const QbeCell bad = cell("Memo", "= krimi");
        QCOMPARE(bad.error, QStringLiteral("In Zeile 2 steht ein \\Bungültiger Wert\\b für die Spalte Memo : = krimi"
                                           "\\lb Auf Memo-Felder ist nur NULL, NOT NULL oder der LIKE (WIE)-Operator "
                                           "anwendbar!"));
        QCOMPARE(cell("Grafik", "NOT NULL").condition, QStringLiteral("IS NOT NULL"));
        QVERIFY(cell("Grafik", "x").error.endsWith("\\lb In Grafik-Feldern sind nur NULL (oder IS NULL) sowie NOT "
                                                   "NULL (oder IS NOT NULL) erlaubt!"));
        QVERIFY(cell("Len", "LIKE 9").error.endsWith(
            "\\lb Der LIKE-Operator ist nur auf Texte (Strings und Memos) anwendbar!"));
        QCOMPARE(cell("Len", "> 90").condition, QStringLiteral("> 90"));
        QCOMPARE(cell("Len", "90").condition, QStringLiteral("= 90"));
    }

    void booleanCells()
    {
        QCOMPARE(cell("LP", "wahr").condition, QStringLiteral("= true"));
        QCOMPARE(cell("LP", "TRUE").condition, QStringLiteral("= TRUE"));
        QCOMPARE(cell("LP", "f").condition, QStringLiteral("= false"));
        QCOMPARE(cell("LP", "falsch").condition, QStringLiteral("= false"));
        QCOMPARE(cell("LP", "<> fal").condition, QStringLiteral("<> false"));
        const QbeCell ja = cell("LP", "ja");
        QCOMPARE(ja.error,
                 QStringLiteral("In Zeile 2 steht ein \\Bungültiger Wahrheitswert\\b (true/false) für die Spalte LP : ja"));
        QVERIFY(!cell("LP", "wahrheit").error.isEmpty()); // longer than six characters
    }

    void soundCells()
    {
        QCOMPARE(cell("Ton", "dts ES 6.1").condition, QStringLiteral("= \"E\""));
        QCOMPARE(cell("Ton", "Dolby Digital EX 6.1").condition, QStringLiteral("= \"X\""));
        QCOMPARE(cell("Ton", "Dolby Digital 5.1").condition, QStringLiteral("= \"A\""));
        QCOMPARE(cell("Ton", "dts 5.1").condition, QStringLiteral("= \"T\""));
        QCOMPARE(cell("Ton", "Dolby Surround").condition, QStringLiteral("= \"D\""));
        QCOMPARE(cell("Ton", "MPEG Audio").condition, QStringLiteral("= \"P\""));
        QCOMPARE(cell("Ton", "Stereo").condition, QStringLiteral("= \"S\""));
        QCOMPARE(cell("Ton", "Hifi-Mono").condition, QStringLiteral("= \"H\""));
        QCOMPARE(cell("Ton", "\"Z\"").condition, QStringLiteral("= \"Z\""));
        QCOMPARE(cell("Ton", "quadro").error,
                 QStringLiteral("In Zeile 2 steht ein \\Bungültiger Wert\\b für die Spalte Ton : quadro"));
    }

    void categoryAndSexCells()
    {
        QCOMPARE(cell("Kateg", "komödie").condition, QStringLiteral("= LOWER(\"a\")"));
        QCOMPARE(cell("Kateg", "Western").condition, QStringLiteral("= UPPER(\"A\")"));
        QCOMPARE(cell("Kateg", "action").condition, QStringLiteral("= \"1\""));
        QCOMPARE(cell("Kateg", "\"7\"").condition, QStringLiteral("= \"7\""));
        QCOMPARE(cell("Kateg", "Oper").error,
                 QStringLiteral("In Zeile 2 steht ein \\Bungültiger Wert\\b für die Kategorie-Spalte Kateg : Oper"));
        QCOMPARE(cell("MF", "f").condition, QStringLiteral("= \"F\""));
        QCOMPARE(cell("MF", "X").error,
                 QStringLiteral("In Zeile 2 steht ein \\Bungültiger Wert\\b für die Spalte MF: X\\lbEs sind nur die "
                                "Werte \"M\" (männlich) oder \"F\" (weiblich) erlaubt!"));
    }

    void selectionAndSort()
    {
        TQbeGrid g = filmGrid();
        onlySelect(g, {{"Titel", "X"}, {"Len", ">"}});
        QbeStatement st = BuildQBESelect(g, false, tables(), {});
        QVERIFY(st.ok);
        QCOMPARE(st.lines, QStringList({"SELECT DISTINCT Titel, Len", "FROM Film", "", "ORDER BY Len"}));
        onlySelect(g, {{"Titel", "X"}, {"Len", "<"}});
        QCOMPARE(BuildQBESelect(g, false, tables(), {}).lines.last(), QStringLiteral("ORDER BY Len DESC"));
        // Paths in double quotes when the statement is to be run.
        QCOMPARE(BuildQBESelect(g, true, tables(), {}).lines[1], QStringLiteral("FROM \"/db/DB/Film.DB\""));
        // An aggregate and an invalid selection value.
        onlySelect(g, {{"Kateg", "COUNT"}, {"Len", "??"}});
        st = BuildQBESelect(g, false, tables(), {});
        QCOMPARE(st.lines[0], QStringLiteral("SELECT DISTINCT COUNT(Kateg)"));
        QCOMPARE(st.messages, QStringList{"Die Auswahlzeile enthält einen \\Bungültigen Wert\\b für die Spalte "
                                          "Len.\rDie Spalte wird nicht ausgewählt!"});
    }

    void emptySelectionIsRefused()
    {
        TQbeGrid g = filmGrid();
        onlySelect(g, {});
        const QbeStatement st = BuildQBESelect(g, false, tables(), {});
        QVERIFY(!st.ok);
        QVERIFY(st.lines.isEmpty());
        QCOMPARE(st.messages.size(), 1);
    }

    void criteriaRows()
    {
        TQbeGrid g = filmGrid();
        onlySelect(g, {{"Titel", "X"}});
        g.rows[0][2] = "alien*";
        g.rows[0][3] = "> 90";
        g.rows[1][4] = "wahr";
        const QbeStatement st = BuildQBESelect(g, false, tables(), {});
        QCOMPARE(st.lines, QStringList({"SELECT DISTINCT Titel", "FROM Film",
                                        "WHERE  (UPPER(Titel) LIKE \"ALIEN%\" AND Len > 90)", "OR (LP = true)", ""}));
        // The memo compares upper-cased on both sides without the case option.
        TQbeGrid m = filmGrid();
        m.rows[0][7] = "krimi";
        QCOMPARE(BuildQBESelect(m, false, tables(), {}).lines[2],
                 QStringLiteral("WHERE  (UPPER(Memo) LIKE \"%KRIMI%\")"));
        m.caseSensitive = true;
        QCOMPARE(BuildQBESelect(m, false, tables(), {}).lines[2], QStringLiteral("WHERE  (Memo LIKE \"%krimi%\")"));
    }

    void firstRowEmpty()
    {
        // The first filled row opens the condition: no "OR" without WHERE.
        TQbeGrid g = filmGrid();
        g.rows[1][2] = "Alien";
        g.rows[2][3] = "100";
        QCOMPARE(BuildQBESelect(g, false, tables(), {}).lines.mid(2),
                 QStringList({"WHERE  (UPPER(Titel) = \"ALIEN\")", "OR (Len = 100)", ""}));
        // A NOT of the later row stays.
        g.rowOps[1] = "AND NOT";
        QCOMPARE(BuildQBESelect(g, false, tables(), {}).lines[2], QStringLiteral("WHERE NOT (UPPER(Titel) = \"ALIEN\")"));
    }

    void joinRows()
    {
        TQbeGrid g = NewQbeGrid(3, {"F.Titel", "M.Nr"});
        g.rows[0][1] = "1";
        g.rows[1][1] = "2";
        QCOMPARE(BuildQBESelect(g, false, tables(), {}).lines,
                 QStringList({"SELECT DISTINCT F.Titel, M.Nr", "FROM Film F , Med M", "WHERE",
                              "F.Medium = M.Medium AND F.KassNr = M.Nr", "", "AND ( (M.Nr = 1)", "OR (M.Nr = 2)", ")"}));
        // An empty first row: the OR stays inside the join's parenthesis.
        g.rows[0][1].clear();
        g.rows[2][1] = "3";
        QCOMPARE(BuildQBESelect(g, false, tables(), {}).lines.mid(5),
                 QStringList({"AND ( (M.Nr = 2)", "OR (M.Nr = 3)", ")"}));
        // No criteria at all: the join alone.
        TQbeGrid none = NewQbeGrid(3, {"F.Titel", "M.Nr"});
        QCOMPARE(BuildQBESelect(none, false, tables(), {}).lines.mid(4), QStringList({"", ""}));
    }
};

QTEST_GUILESS_MAIN(TstQbeRules)
#include "tst_qberules.moc"
