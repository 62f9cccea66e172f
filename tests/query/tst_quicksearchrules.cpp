// The quick search: its parameters, its four statements run over a small
// database, and where its hits lead.
#include "data/database.h"
#include "data/tableschemas.h"
#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "query/querytext.h"
#include "query/quicksearch.h"

#include <QtTest>

using namespace query;

namespace {

struct Db {
    QTemporaryDir dir;
    QString base = dir.path() + u'/';
    QString media = MediaTablePath(base);
    QString films = FilmTablePath(base);
    QString persons = base + QStringLiteral("DB/Pers.DB");

    Db()
    {
        QDir().mkpath(base + QStringLiteral("DB"));
        engine::createTableFile(media, MediaTableDef());
        engine::createTableFile(films, FilmTableDef());
        engine::createTableFile(persons, PersonTableDef());
    }
    void add(const QString &path, const QList<QPair<QString, QVariant>> &values)
    {
        engine::Table t;
        t.setTableName(path);
        t.open();
        t.append();
        for (const auto &v : values)
            t.fieldByName(v.first)->setValue(v.second);
        t.post();
        t.close();
    }
    QStringList run(const QStringList &lines, const QuickSearchParams &p, const QString &column)
    {
        engine::Query q;
        q.setSql(lines);
        ApplyQuickSearchParams(q, p);
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.fieldByName(column)->asString();
        q.close();
        out.sort();
        return out;
    }
};

QStringList categories()
{
    QStringList names(62);
    names[2] = QStringLiteral("Western"); // code "3"
    return names;
}

} // namespace

class TstQuickSearchRules : public QObject
{
    Q_OBJECT
private slots:
    void params()
    {
        QuickSearchParams p = QuickSearchParamsFor("7", categories());
        QVERIFY(p.AuchInt);
        QCOMPARE(p.W, 7);
        QCOMPARE(p.N1, QStringLiteral("%7%"));
        QVERIFY(!p.Kategsuche);
        p = QuickSearchParamsFor("wESTern", categories());
        QVERIFY(!p.AuchInt);
        QVERIFY(p.Kategsuche);
        QCOMPARE(p.Kateg, QStringLiteral("3"));
        QVERIFY(!QuickSearchParamsFor("7x", categories()).AuchInt);
        QVERIFY(!QuickSearchParamsFor("99999999999", categories()).AuchInt);
    }

    void search()
    {
        Db db;
        db.add(db.media, {{"Medium", "VHS-SB"}, {"Nr", 7}, {"Len", 240}});
        db.add(db.media, {{"Medium", "DVD"}, {"Nr", 1}, {"Len", 7}});
        db.add(db.media, {{"Medium", "DVD"}, {"Nr", 2}, {"Len", 120}, {"Free1", "Box 17"}});
        db.add(db.media, {{"Medium", "DVD"}, {"Nr", 3}, {"Len", 120}, {"Verliehen", "Erika"}});
        db.add(db.films, {{"Medium", "VHS-SB"}, {"KassNr", 7}, {"FilmNr", 1}, {"Titel", "Rio Bravo"}, {"Len", 140},
                          {"Kateg", "3"}});
        db.add(db.films, {{"Medium", "DVD"}, {"KassNr", 1}, {"FilmNr", 7}, {"Titel", "Casablanca"}, {"Len", 100}});
        db.add(db.films, {{"Medium", "DVD"}, {"KassNr", 2}, {"FilmNr", 1}, {"Titel", "Kurz"}, {"Len", 7}});
        db.add(db.films, {{"Medium", "DVD"}, {"KassNr", 2}, {"FilmNr", 2}, {"Titel", "Sieben"},
                          {"Untertitel", "Teil 7"}, {"Len", 125}});
        db.add(db.films, {{"Medium", "DVD"}, {"KassNr", 3}, {"FilmNr", 1}, {"Titel", "Der Pate"},
                          {"Untertitel", ">Teil 2"}, {"Len", 200}, {"Memo", "Mafia-Klassiker"}});
        db.add(db.persons, {{"Name", "Ingrid Bergman"}, {"MF", "F"}});
        db.add(db.persons, {{"Name", "Marlon Brando"}, {"MF", "M"}, {"Memo", "Der Pate"}});
        db.add(db.persons, {{"Name", "Fritz Lang"}, {"MF", "M"}, {"Free1", "Regie"}});
        const QString F = SQLTableRef(db.films), M = SQLTableRef(db.media), P = SQLTableRef(db.persons);

        // "7": media by number and length, films by medium number, film
        // number and length, besides the texts holding a 7.
        QuickSearchParams p = QuickSearchParamsFor("7", categories());
        QCOMPARE(db.run(QuerySSKassLines(M), p, "Nr"), QStringList({"1", "2", "7"}));
        QCOMPARE(db.run(QuerySSFilmLines(F), p, "Titel"),
                 QStringList({"Casablanca", "Kurz", "Rio Bravo", "Sieben - Teil 7"}));
        QCOMPARE(db.run(QuerySSFilmDetailLines(F), p, "Titel"), QStringList({"Casablanca", "Kurz", "Rio Bravo", "Sieben"}));
        // A subtitle starting with ">" continues the title.
        p = QuickSearchParamsFor("pate", categories());
        QCOMPARE(db.run(QuerySSFilmLines(F), p, "Titel"), QStringList({"Der PateTeil 2"}));
        // A category name in any letter case adds its films.
        p = QuickSearchParamsFor("WESTERN", categories());
        QCOMPARE(db.run(QuerySSFilmLines(F), p, "Titel"), QStringList({"Rio Bravo"}));
        // Memos keep the letter case.
        p = QuickSearchParamsFor("mafia", categories());
        QCOMPARE(db.run(QuerySSFilmLines(F), p, "Titel"), QStringList());
        p = QuickSearchParamsFor("Mafia", categories());
        QCOMPARE(db.run(QuerySSFilmLines(F), p, "Titel"), QStringList({"Der PateTeil 2"}));
        p = QuickSearchParamsFor("Pate", categories());
        QCOMPARE(db.run(QuerySSPersLines(P), p, "Name"), QStringList({"Marlon Brando"}));
        // The borrower.
        p = QuickSearchParamsFor("erika", categories());
        QCOMPARE(db.run(QuerySSKassLines(M), p, "Nr"), QStringList({"3"}));
        // MF by equality: "m" finds the men, though "%m%" in a name would not.
        p = QuickSearchParamsFor("m", categories());
        p.N1 = QStringLiteral("m");
        QCOMPARE(db.run(QuerySSPersLines(P), p, "Name"), QStringList({"Fritz Lang", "Marlon Brando"}));
        p = QuickSearchParamsFor("regie", categories());
        QCOMPARE(db.run(QuerySSPersLines(P), p, "Name"), QStringList({"Fritz Lang"}));
    }

    void routing()
    {
        QCOMPARE(RouteQuickSearch(0, 0, 0), QuickSearchRoute::Nothing);
        QCOMPARE(RouteQuickSearch(1, 0, 0), QuickSearchRoute::Film);
        QCOMPARE(RouteQuickSearch(0, 1, 0), QuickSearchRoute::Medium);
        QCOMPARE(RouteQuickSearch(0, 0, 1), QuickSearchRoute::Person);
        QCOMPARE(RouteQuickSearch(1, 5, 3), QuickSearchRoute::FilmList);
        QCOMPARE(RouteQuickSearch(0, 1, 1), QuickSearchRoute::MediaList);
        QCOMPARE(RouteQuickSearch(0, 0, 2), QuickSearchRoute::PersonList);
        QCOMPARE(QuickSearchMode(QuickSearchRoute::FilmList), 1);
        QCOMPARE(QuickSearchMode(QuickSearchRoute::MediaList), 2);
        QCOMPARE(QuickSearchMode(QuickSearchRoute::PersonList), 3);
        QCOMPARE(QuickSearchMode(QuickSearchRoute::Film), 0);
        QCOMPARE(NothingFoundText(),
                 QString::fromUtf8("Es wurden keine Medien, Filme oder Personen gefunden, die den Suchbegriff "
                                   "enthalten. (Beachten Sie: In Memo-Feldern  wird die Gro\xc3\x9f-/Kleinschreibung "
                                   "beachtet!)"));
        QCOMPARE(NothingFoundCaption(), QStringLiteral("Nichts gefunden"));
    }
};

QTEST_GUILESS_MAIN(TstQuickSearchRules)
#include "tst_quicksearchrules.moc"
