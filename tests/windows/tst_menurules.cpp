// The menus' rules as plain functions: what each need asks for, the film
// entries of the one-film kinds, submenus, and the user's query slots.
#include "windows/main/menurules.h"

#include <QtTest>

class TestMenuRules : public QObject
{
    Q_OBJECT

    static MenuState state(bool open, bool editing, const QString &kind = QStringLiteral("VHS-SB"),
                           bool oneFilm = true)
    {
        MenuState s;
        s.mediaOpen = open;
        s.editing = editing;
        s.kind = kind;
        s.dvdKkNur1Film = oneFilm;
        return s;
    }

    static const MenuEntry *find(const QList<MenuEntry> &items, const QString &name)
    {
        for (const MenuEntry &e : items) {
            if (e.name == name)
                return &e;
            if (const MenuEntry *c = find(e.items, name))
                return c;
        }
        return nullptr;
    }
    static const MenuEntry &entry(const QString &name)
    {
        for (const MenuTree &t : MainMenuTrees())
            if (const MenuEntry *e = find(t.items, name))
                return *e;
        for (const MenuTree *t : {&QueryPopupTree(), &ListPopupTree()})
            if (const MenuEntry *e = find(t->items, name))
                return *e;
        qFatal("no entry %s", qPrintable(name));
    }

private slots:
    void needs()
    {
        QVERIFY(MenuNeedMet(MenuNeed::None, state(false, false)));
        QVERIFY(!MenuNeedMet(MenuNeed::Database, state(false, false)));
        QVERIFY(MenuNeedMet(MenuNeed::Database, state(true, false)));
        QVERIFY(!MenuNeedMet(MenuNeed::Editing, state(true, false)));
        QVERIFY(MenuNeedMet(MenuNeed::Editing, state(true, true)));
        // Editing without an open table is no editing.
        QVERIFY(!MenuNeedMet(MenuNeed::Editing, state(false, true)));
        QCOMPARE(StrongerNeed(MenuNeed::Editing, MenuNeed::Database), MenuNeed::Editing);
        QCOMPARE(StrongerNeed(MenuNeed::None, MenuNeed::Database), MenuNeed::Database);
    }

    void entriesNeedTheirTarget()
    {
        MenuState s = state(true, true);
        const MenuEntry &pack = entry(QStringLiteral("Packen1"));
        QVERIFY(!MenuEntryEnabled(pack, s));
        s.wired << QStringLiteral("Packen1");
        QVERIFY(MenuEntryEnabled(pack, s));
        s.editing = false;
        QVERIFY(!MenuEntryEnabled(pack, s));
        // The second printer entry and the pop-ups' entries run the command of another.
        s.wired << QStringLiteral("Drucker1") << QStringLiteral("Medienliste1");
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("Drucker2")), s));
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("ListsMedienliste1")), s));
        QVERIFY(!MenuEntryEnabled(entry(QStringLiteral("ListsFilmliste1")), s));
        // A menu's need holds for its entries.
        s.mediaOpen = false;
        QVERIFY(!MenuEntryEnabled(entry(QStringLiteral("Drucker1")), s, MenuNeed::Database));
    }

    void submenusFollowTheirEntries()
    {
        MenuState s = state(true, false);
        const MenuEntry &persons = entry(QStringLiteral("Personenkartei1"));
        QVERIFY(!MenuEntryEnabled(persons, s));
        s.wired << QStringLiteral("Importieren1");
        QVERIFY(!MenuEntryEnabled(persons, s)); // only while editing
        s.editing = true;
        QVERIFY(MenuEntryEnabled(persons, s));
        // The set-up of the caption editor and the categories: only while editing.
        const MenuEntry &captions = entry(QStringLiteral("AnhngePersonenKarteieinrichten1"));
        s.wired << QStringLiteral("MedienAnhang1") << QStringLiteral("Kategoriendefinieren1");
        QVERIFY(MenuEntryEnabled(captions, s));
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("Kategoriendefinieren1")), s));
        s.editing = false;
        QVERIFY(!MenuEntryEnabled(captions, s));
        QVERIFY(!MenuEntryEnabled(entry(QStringLiteral("Kategoriendefinieren1")), s));
        // The numbering submenu's entries inherit its need.
        s.wired << QStringLiteral("MenNumAlleMedien");
        QVERIFY(!MenuEntryEnabled(entry(QStringLiteral("MenNumAlleMedien")), s, MenuNeed::Editing));
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("MenNumAlleMedien")), s, MenuNeed::None));
    }

    void attachmentFilmsOfOneFilmKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("oneFilm");
        QTest::addColumn<bool>("laterFilms");
        QTest::newRow("VHS-KK, one film") << "VHS-KK" << true << false;
        QTest::newRow("DVD, one film") << "DVD" << true << false;
        QTest::newRow("VHS-KK, rule off") << "VHS-KK" << false << true;
        QTest::newRow("DVD, rule off") << "DVD" << false << true;
        QTest::newRow("VHS-SB") << "VHS-SB" << true << true;
        QTest::newRow("DVD-R") << "DVD-R" << true << true;
        QTest::newRow("CD") << "CD" << true << true;
    }
    void attachmentFilmsOfOneFilmKinds()
    {
        QFETCH(QString, kind);
        QFETCH(bool, oneFilm);
        QFETCH(bool, laterFilms);
        MenuState s = state(true, false, kind, oneFilm);
        for (int n = 1; n <= 5; ++n)
            s.wired << QStringLiteral("AnhFilm%1").arg(n);
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("AnhFilm1")), s));
        for (int n = 2; n <= 5; ++n)
            QCOMPARE(MenuEntryEnabled(entry(QStringLiteral("AnhFilm%1").arg(n)), s), laterFilms);
        // The film card's entries know no such rule.
        s.wired << QStringLiteral("FilmKarte3");
        QVERIFY(MenuEntryEnabled(entry(QStringLiteral("FilmKarte3")), s));
    }

    void firstFreeSlot()
    {
        TFreeQueryMenuEntry slots_[5];
        QCOMPARE(FirstFreeQuerySlot(slots_), 1);
        slots_[0].Enabled = slots_[2].Enabled = true;
        QCOMPARE(FirstFreeQuerySlot(slots_), 2);
        slots_[1].Enabled = slots_[3].Enabled = true;
        QCOMPARE(FirstFreeQuerySlot(slots_), 5);
        slots_[4].Enabled = true;
        QCOMPARE(FirstFreeQuerySlot(slots_), 0);
        slots_[0].Enabled = false;
        QCOMPARE(FirstFreeQuerySlot(slots_), 1);
    }

    void captionOfAStoredQuery_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::newRow("lower case") << "/home/u/Abfragen/Krimis.sql" << "Krimis";
        QTest::newRow("upper case") << "Alle Filme.SQL" << "Alle Filme";
        QTest::newRow("mixed case") << "Doku.sQl" << "Doku";
        QTest::newRow("only the final one") << "Liste.sql.SQL" << "Liste.sql";
        QTest::newRow("not final") << "Neu.sql.txt" << "Neu.sql.txt";
        QTest::newRow("no extension") << "Serien" << "Serien";
    }
    void captionOfAStoredQuery()
    {
        QFETCH(QString, file);
        QFETCH(QString, caption);
        QCOMPARE(QueryCaptionFromFile(file), caption);
    }

    void queryMenuStates()
    {
        TFreeQueryMenuEntry slots_[5];
        QueryMenuStates st = QueryMenuStatesOf(slots_, true, false);
        QVERIFY(!st.separatorVisible && !st.deleteEnabled && st.newEnabled && !st.runEnabled);
        st = QueryMenuStatesOf(slots_, false, true);
        QVERIFY(!st.newEnabled && st.runEnabled); // no dialog, no new entry
        slots_[3].Enabled = true;
        st = QueryMenuStatesOf(slots_, true, true);
        QVERIFY(st.separatorVisible && st.deleteEnabled && st.newEnabled);
        for (auto &e : slots_)
            e.Enabled = true;
        st = QueryMenuStatesOf(slots_, true, true);
        QVERIFY(st.separatorVisible && st.deleteEnabled && !st.newEnabled);
    }
};

QTEST_APPLESS_MAIN(TestMenuRules)
#include "tst_menurules.moc"
