// Stored queries and the search dialogs' rules: the preset statement and
// field list of a source, parameter types from names, the ".SQL" file
// round trip, the film search's master box, the rating sorts and the
// lending calendar.
#include "query/searchrules.h"
#include "query/storedquery.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace query;

class TstStoredQueryRules : public QObject
{
    Q_OBJECT
private slots:
    void queryKind()
    {
        QCOMPARE(QueryKindFromButtons(false, false, false), 1);
        QCOMPARE(QueryKindFromButtons(true, false, false), 2);
        QCOMPARE(QueryKindFromButtons(false, true, false), 3);
        QCOMPARE(QueryKindFromButtons(false, false, true), 4);
    }

    void newQuery()
    {
        QCOMPARE(NewQueryLines(1), QStringList({"SELECT * FROM", "Film", "WHERE", " "}));
        QCOMPARE(NewQueryLines(4), QStringList({"SELECT * FROM", "Pers", "WHERE", " "}));
        QCOMPARE(NewQueryLines(3), QStringList({"SELECT * FROM", "Film F, Med M", "WHERE",
                                                "M.Medium = F.Medium AND M.Nr = F.KassNr", " "}));
        QVERIFY(NewQueryLines(0).isEmpty());
        const QStringList media = {"Medium", "Nr", "bRest", "Memo", "bMaxFree"};
        const QStringList films = {"Medium", "Titel"};
        QCOMPARE(QueryFieldList(3, media, films, {}),
                 QStringList({"M.Medium", "M.Nr", "M.Memo", "F.Medium", "F.Titel"}));
        QCOMPARE(QueryFieldList(2, media, films, {}), QStringList({"Medium", "Nr", "Memo"}));
        QCOMPARE(QueryFieldList(4, media, films, {"Name", "MF"}), QStringList({"Name", "MF"}));
    }

    void editorInsertions()
    {
        // A field double clicked into an empty last line starts with a blank.
        QCOMPARE(AppendToLastLine({"SELECT * FROM", ""}, " Titel"), QStringList({"SELECT * FROM", " Titel"}));
        QCOMPARE(AppendLine({"A"}, "AND "), QStringList({"A", "AND "}));
        QCOMPARE(AppendToLastLine({}, "\""), QStringList{"\""});
    }

    void parameterTypes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind"); // -1 none, else ParamKind
        const int s = int(ParamKind::String), i = int(ParamKind::Integer), b = int(ParamKind::Boolean);
        QTest::newRow("Titel$") << "Titel$" << s;
        QTest::newRow("NAMESTR") << "NAMESTR" << s;
        QTest::newRow("namestring") << "namestring" << s;
        QTest::newRow("AktivJN") << "AktivJN" << b;
        QTest::newRow("Ok?") << "Ok?" << b;
        QTest::newRow("x01") << "x01" << b;
        QTest::newRow("JaNein") << "istjanein" << b;
        QTest::newRow("Jahr_Z") << "Jahr_Z" << i;
        QTest::newRow("Anzahl%") << "Anzahl%" << i;
        QTest::newRow("nr_i") << "nr_i" << i;
        QTest::newRow("Zahl") << "MeineZahl" << i;
        // The ending decides, not what the name holds elsewhere.
        QTest::newRow("Wert_int_str") << "wert_int_str" << s;
        QTest::newRow("zahl$") << "ZAHL$" << s;
        QTest::newRow("X") << "X" << -1;
        QTest::newRow("Titel") << "Titel" << -1;
    }
    void parameterTypes()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        const auto k = ParamKindFromName(name);
        QCOMPARE(k ? int(*k) : -1, kind);
    }

    void fileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("Größe.SQL");
        const QStringList lines = {"SELECT * FROM", "Film", "WHERE Titel = \"Schöne Grüße\" AND Kateg = \"Komödie\"",
                                   " ", ""};
        QVERIFY(WriteStoredQuery(path, lines));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        // Windows-1252 and CR LF after every line, nothing else.
        QCOMPARE(bytes.count("\r\n"), 5);
        QVERIFY(bytes.contains("Sch\xf6ne Gr\xfc\xdf" "e"));
        QVERIFY(bytes.endsWith("\r\n \r\n\r\n"));
        QCOMPARE(ReadStoredQuery(path).value(), lines);
        QString error;
        QVERIFY(!ReadStoredQuery(dir.filePath("fehlt.SQL"), &error));
        QVERIFY(!WriteStoredQuery(dir.filePath("kein/Ordner/x.SQL"), lines, &error));
    }

    void masterBox()
    {
        QList<bool> all(16, true);
        QCOMPARE(AttachmentMasterState(all), MasterState::Checked);
        all[4] = false;
        QCOMPARE(AttachmentMasterState(all), MasterState::Grayed);
        QCOMPARE(AttachmentMasterState(QList<bool>(16, false)), MasterState::Unchecked);
        QList<bool> fields(17, false);
        fields[0] = fields[4] = true;
        QCOMPARE(FindFilmFields(fields), QStringList({"Titel", "Free3"}));
    }

    void ratingSorts()
    {
        const QStringList items = RatingSortItems();
        QCOMPARE(items.size(), 9);
        const QStringList expected = {"Titel, Untertitel", "Wertung", "Wertung, Titel, Untertitel", "Wertung, Kateg",
                                      "Wertung, Kateg, Titel, Untertitel", "Kateg, Wertung",
                                      "Kateg, Wertung, Titel, Untertitel", "Kateg, Titel, Untertitel", "Kateg"};
        QCOMPARE(items[0], QStringLiteral("Titel"));
        QCOMPARE(items[3], QStringLiteral("Wertung / Kategorie / Nr"));
        QCOMPARE(items[8], QStringLiteral("Kategorie / Nr"));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(RatingOrderBy(items[i]), expected[i]);
        QCOMPARE(RatingOrderBy("unbekannt"), QString());
    }

    void lendingCalendar()
    {
        QCOMPARE(LendingDateText(QDate(2004, 3, 5)), QStringLiteral("5.3.2004"));
        QCOMPARE(LendingDateText(QDate(2004, 11, 15)), QStringLiteral("15.11.2004"));
        QCOMPARE(ShiftCalendar(QDate(2004, 12, 15), 0, 1), QDate(2005, 1, 15));
        QCOMPARE(ShiftCalendar(QDate(2004, 1, 31), 0, -1), QDate(2003, 12, 31));
        QCOMPARE(ShiftCalendar(QDate(2004, 2, 29), 1, 0), QDate(2005, 2, 28));
        QCOMPARE(ShiftCalendar(QDate(2004, 2, 29), -1, 0), QDate(2003, 2, 28));
    }
};

QTEST_GUILESS_MAIN(TstStoredQueryRules)
#include "tst_storedqueryrules.moc"
