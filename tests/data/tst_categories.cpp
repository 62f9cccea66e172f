// The category codes, the "KAT" file, and the reordering of categories with
// the recoding of the films.
#include "app/settings.h"
#include "data/categories.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestCategories : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    std::unique_ptr<engine::Session> session;
    std::unique_ptr<engine::Table> films, media;
    int filmCount = 0;

    void addFilm(QChar code, const QString &kind = "DVD", int nr = 1)
    {
        films->append();
        films->fieldByName("Medium")->setAsString(kind);
        films->fieldByName("KassNr")->setAsInteger(nr);
        films->fieldByName("FilmNr")->setAsInteger(++filmCount);
        films->fieldByName("Kateg")->setAsString(QString(code));
        films->post();
    }

    // How many films carry each code, as "code:count" in code order.
    QMap<QChar, int> codes()
    {
        QMap<QChar, int> out;
        for (films->first(); !films->eof(); films->next())
            ++out[films->fieldByName("Kateg")->asString().at(0)];
        return out;
    }

    static TCategoryTable named(const QStringList &names)
    {
        TCategoryTable t;
        for (int i = 0; i < names.size(); ++i)
            t[size_t(i)].name = names[i];
        return t;
    }

private slots:
    void init()
    {
        const QString folder = QDir(tmp.path()).filePath(QTest::currentTestFunction());
        QDir().mkpath(folder);
        engine::createTableFile(folder + "/Film.DB", FilmTableDef());
        engine::createTableFile(folder + "/Med.DB", MediaTableDef());
        session = std::make_unique<engine::Session>();
        films = std::make_unique<engine::Table>(session.get());
        films->setTableName(folder + "/Film.DB");
        films->open();
        media = std::make_unique<engine::Table>(session.get());
        media->setTableName(folder + "/Med.DB");
        media->open();
        filmCount = 0;
        ProgDir = QDir(tmp.path()).filePath("prog/");
        QDir().mkpath(ProgDir + "Symbole");
    }
    void cleanup()
    {
        films.reset();
        media.reset();
        session.reset();
    }

    void codeMapping()
    {
        QCOMPARE(KategIndexToChar(1), QChar('1'));
        QCOMPARE(KategIndexToChar(9), QChar('9'));
        QCOMPARE(KategIndexToChar(10), QChar('0'));
        QCOMPARE(KategIndexToChar(11), QChar('a'));
        QCOMPARE(KategIndexToChar(36), QChar('z'));
        QCOMPARE(KategIndexToChar(37), QChar('A'));
        QCOMPARE(KategIndexToChar(62), QChar('Z'));
        QCOMPARE(KategIndexToChar(0), QChar('1'));
        QCOMPARE(KategIndexToChar(63), QChar('1'));
        for (int n = 1; n <= 62; ++n)
            QCOMPARE(KategCharToIndex(KategIndexToChar(n)), n);
        QCOMPARE(KategCharToIndex('0'), 10);
        QCOMPARE(KategCharToIndex('a'), 11);
        QCOMPARE(KategCharToIndex('A'), 37);
        QCOMPARE(KategCharToIndex('#'), 1);
        QCOMPARE(KategCharToIndex(QChar(0x00E4)), 1);
    }

    void shortFileGrowsToFullLayout()
    {
        // 124 lines: names and symbols only, one with a Windows-1252 umlaut.
        QFile sym(ProgDir + "Symbole/info.bmp");
        QVERIFY(sym.open(QIODevice::WriteOnly));
        sym.close();
        QByteArray in;
        for (int n = 1; n <= 62; ++n) {
            in += n == 1 ? QByteArray("B\xfchne") : n == 2 ? QByteArray("Reportage") : QByteArray();
            in += "\r\n";
            in += n == 2 ? "Symbole\\info.bmp" : "";
            in += "\r\n";
        }
        TCategoryTable t;
        t[4].font = TCategoryFont{"Arial", 255, 1}; // loading frees old fonts
        ParseCategories(in, t);
        QCOMPARE(t[0].name, QStringLiteral("Bühne"));
        QCOMPARE(t[1].symbol, QStringLiteral("Symbole\\info.bmp"));
        for (const TCategory &c : t)
            QVERIFY(!c.font);
        const QByteArray out = FormatCategories(t);
        QCOMPARE(out.count("\r\n"), 310);
        QCOMPARE(out.left(in.size()), in);
        QCOMPARE(out.mid(in.size()), QByteArray(186 * 2, '\0').replace(QByteArray(2, '\0'), "\r\n"));
    }

    void fontsRoundTrip()
    {
        TCategoryTable t;
        t[0].name = "Krimi";
        t[0].font = TCategoryFont{"Times New Roman", 0x0000FF, 0}; // style 0: a NUL character
        t[61].name = "Letzte";
        t[61].font = TCategoryFont{"Arial", 16777215, 1 | 2 | 8};
        const QByteArray bytes = FormatCategories(t);
        QVERIFY(bytes.contains(QByteArray("Times New Roman\r\n255\r\n") + QByteArray(1, '\0') + "\r\n"));
        QVERIFY(bytes.endsWith("Arial\r\n16777215\r\n\x0b\r\n"));
        TCategoryTable back;
        ParseCategories(bytes, back);
        QCOMPARE(back, t);
        QCOMPARE(FormatCategories(back), bytes);

        const QString path = QDir(tmp.path()).filePath("KAT");
        QVERIFY(SaveCategories(path, t));
        TCategoryTable loaded;
        QVERIFY(LoadCategories(path, loaded));
        QCOMPARE(loaded, t);
        // A missing file leaves the table as it was.
        QVERIFY(!LoadCategories(path + "x", loaded));
        QCOMPARE(loaded, t);
    }

    void symbolFallBacks()
    {
        for (const char *f : {"Symbole/teddy.bmp", "eigen.bmp"}) {
            QFile file(ProgDir + f);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(ResolveCategorySymbol("Symbole\\teddy.bmp"), QStringLiteral("Symbole\\teddy.bmp"));
        QCOMPARE(ResolveCategorySymbol("C:\\Programme\\Tarvo\\Symbole\\teddy.bmp"), QStringLiteral("Symbole\\teddy.bmp"));
        QCOMPARE(ResolveCategorySymbol("C:\\Alt\\eigen.bmp"), QStringLiteral("eigen.bmp"));
        QCOMPARE(ResolveCategorySymbol("C:\\Alt\\fehlt.bmp"), QStringLiteral("fehlt.bmp"));
        QCOMPARE(ResolveCategorySymbol(QString()), QString());
        QCOMPARE(StoredSymbolName(ProgDir + "eigen.bmp"), QStringLiteral("eigen.bmp"));
        // Below the program folder as the built-in symbols are stored.
        QCOMPARE(StoredSymbolName(ProgDir + "Symbole/teddy.bmp"), QStringLiteral("Symbole\\teddy.bmp"));
        QCOMPARE(StoredSymbolName("/anderswo/teddy.bmp"), QStringLiteral("/anderswo/teddy.bmp"));
    }

    void namesAndSearch()
    {
        const TCategoryTable t = named({"Keine", "", "Komödie"});
        QCOMPARE(NamedCategories(t), (QList<int>{1, 3}));
        QCOMPARE(FindCategoryByName("KOMÖDIE", t), 3);
        QCOMPARE(FindCategoryByName("Kom", t), 0);
        QCOMPARE(FindCategoryByName(QString(), t), 0);
    }

    void spareCodes()
    {
        TCategoryTable t;
        TCategoryReorder none(t, films.get(), {});
        for (int n = 2; n <= 62; ++n)
            addFilm(KategIndexToChar(n));
        QVERIFY(!none.hasSpare());
        QVERIFY(!none.canMoveUp(5));
        QVERIFY(!none.canMoveDown(5));

        // One spare (code of 40): both spares are 40.
        films->last();
        while (films->fieldByName("Kateg")->asString() != QString(KategIndexToChar(40)))
            films->prior();
        films->deleteRecord();
        TCategoryReorder one(t, films.get(), {});
        QCOMPARE(one.spare(), 40);
        QCOMPARE(one.secondSpare(), 40);
        QVERIFY(!one.canMoveUp(2));
        QVERIFY(one.canMoveUp(3));
        QVERIFY(one.canMoveUp(62));
        QVERIFY(one.canMoveDown(2));
        QVERIFY(!one.canMoveDown(62));
        QVERIFY(!one.canMoveDown(1));
    }

    void swapRecodesFilms()
    {
        TCategoryTable t = named({"Keine", "Krimi", "Western", "Doku"});
        addFilm('2');
        addFilm('2');
        addFilm('3');
        addFilm('1');
        TCategoryReorder r(t, films.get(), {});
        QCOMPARE(r.spare(), 62);
        QCOMPARE(r.secondSpare(), 61);
        r.swap(2, 3, r.spare());
        QCOMPARE(t[1].name, QStringLiteral("Western"));
        QCOMPARE(t[2].name, QStringLiteral("Krimi"));
        const QMap<QChar, int> after = codes();
        QCOMPARE(after.value('3'), 2);
        QCOMPARE(after.value('2'), 1);
        QCOMPARE(after.value('1'), 1);
        QVERIFY(!after.contains('Z'));
        QCOMPARE(after.size(), 3);
    }

    void arrowsJumpTheSpare()
    {
        // Every code used but 2: row 3 moving up would land on row 1.
        TCategoryTable t = named({"Keine", "frei", "Drei", "Vier"});
        addFilm('1');
        for (int n = 3; n <= 62; ++n)
            addFilm(KategIndexToChar(n));
        int asked = 0;
        TCategoryReorder r(t, films.get(), [&] { ++asked; return true; });
        QCOMPARE(r.spare(), 2);
        QCOMPARE(r.moveUp(3), 0);
        QCOMPARE(t[2].name, QStringLiteral("Drei"));
        // Down from row 1 never; row 4 up swaps with 3.
        QCOMPARE(r.moveUp(4), 3);
        QCOMPARE(t[2].name, QStringLiteral("Vier"));
        QCOMPARE(t[3].name, QStringLiteral("Drei"));
        QCOMPARE(codes().value('2'), 0);
        // Moving the spare row itself: the other row's films take its code.
        QCOMPARE(r.moveDown(2), 3);
        QCOMPARE(t[1].name, QStringLiteral("Vier"));
        QCOMPARE(codes().value('2'), 1);
        QCOMPARE(codes().value('3'), 0);
        QCOMPARE(r.spare(), 3); // searched again
        QCOMPARE(asked, 1);     // asked once per run
    }

    void refusedConfirmationChangesNothing()
    {
        TCategoryTable t = named({"Keine", "A", "B"});
        addFilm('2');
        TCategoryReorder r(t, films.get(), [] { return false; });
        QCOMPARE(r.moveUp(3), 0);
        QVERIFY(!r.sort());
        QCOMPARE(t[1].name, QStringLiteral("A"));
        QCOMPARE(codes().value('2'), 1);
    }

    void sortRules()
    {
        // Row 10 named, an empty row exists: "0" is kept free.
        QStringList names{"Keine", "Zoo", "", "Anime", "mittel", "Berge"};
        while (names.size() < 9)
            names << QString();
        names << "Zehn" << "Elf";
        TCategoryTable t = named(names);
        addFilm('2'); // Zoo
        addFilm('4'); // Anime
        addFilm('4');
        addFilm('0'); // Zehn
        addFilm('a'); // Elf
        TCategoryReorder r(t, films.get(), [] { return true; });
        QVERIFY(r.sort());
        // Empty rows never move; row 10 goes to the first empty row (3)
        // and stays free; rows after it are sorted among themselves.
        QCOMPARE(t[0].name, QStringLiteral("Keine"));
        QCOMPARE(t[1].name, QStringLiteral("Anime"));
        QCOMPARE(t[2].name, QStringLiteral("Zehn"));
        QCOMPARE(t[3].name, QStringLiteral("Berge"));
        QCOMPARE(t[4].name, QStringLiteral("Elf"));
        QCOMPARE(t[5].name, QStringLiteral("mittel"));
        QCOMPARE(t[6].name, QString());
        QCOMPARE(t[9].name, QString()); // code "0" free
        QCOMPARE(t[10].name, QStringLiteral("Zoo"));
        // The films followed their categories; the spare codes stay unused.
        const QMap<QChar, int> c = codes();
        QCOMPARE(c.value('2'), 2); // Anime
        QCOMPARE(c.value('3'), 1); // Zehn
        QCOMPARE(c.value('5'), 1); // Elf
        QCOMPARE(c.value('a'), 1); // Zoo
        QCOMPARE(c.size(), 4);
    }

    void sortTypicalTable()
    {
        // Names in rows 1..12: the name reaching row 10 moves to the first empty row, code "0" stays free.
        TCategoryTable t = named({"Keine", "L", "K", "J", "I", "H", "G", "F", "E", "D", "C", "B"});
        addFilm('0');
        TCategoryReorder r(t, films.get(), [] { return true; });
        QVERIFY(r.sort());
        QStringList got;
        for (int i = 0; i < 14; ++i)
            got << t[size_t(i)].name;
        QCOMPARE(got, (QStringList{"Keine", "B", "C", "D", "E", "F", "G", "H", "I", "", "J", "K", "L", ""}));
        QCOMPARE(codes().value('4'), 1); // D's film moved with it to row 4
        QCOMPARE(codes().value('0'), 0);
    }
};

QTEST_GUILESS_MAIN(TestCategories)
#include "tst_categories.moc"
