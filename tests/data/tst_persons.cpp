// The person card file's rules on real tables: the rename carried into the
// films (exact matches only), the duplicate check in upper case with "%"
// and "_" as characters, the person's films through the two halves of the
// UNION, the person list, the import's merge rules, the source check, the
// captions file of a source, the choice of the person file and the picture
// check.
#include "app/settingsfixture.h"
#include "data/freefieldlabels.h"
#include "data/persons.h"
#include "data/tableschemas.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/scriptedpresenter.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TstPersons : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    QString films, persons;

    void addFilm(int nr, const QString &title, const QString &sub, const QStringList &free)
    {
        engine::Table t;
        t.setTableName(films);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setAsString(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("KassNr"))->setAsInteger(1);
        t.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(nr);
        t.fieldByName(QStringLiteral("Titel"))->setAsString(title);
        if (!sub.isEmpty())
            t.fieldByName(QStringLiteral("Untertitel"))->setAsString(sub);
        for (int i = 0; i < free.size(); ++i)
            if (!free[i].isEmpty())
                t.fieldByName(QStringLiteral("Free%1").arg(i + 1))->setAsString(free[i]);
        t.post();
    }
    static void addPerson(const QString &table, const QString &name, const QString &mf = QString(),
                          const QStringList &free = {}, const QString &memo = QString(),
                          const QByteArray &picture = QByteArray())
    {
        engine::Table t;
        t.setTableName(table);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Name"))->setAsString(name);
        if (!mf.isEmpty())
            t.fieldByName(QStringLiteral("MF"))->setAsString(mf);
        for (int i = 0; i < free.size(); ++i)
            if (!free[i].isEmpty())
                t.fieldByName(QStringLiteral("Free%1").arg(i + 1))->setAsString(free[i]);
        if (!memo.isEmpty())
            t.fieldByName(QStringLiteral("Memo"))->setAsString(memo);
        if (!picture.isEmpty())
            t.fieldByName(QStringLiteral("Grafik"))->setAsBytes(picture);
        t.post();
    }
    static QString field(engine::Table &t, const QString &name, const QString &f)
    {
        t.refresh();
        if (!t.locate(QStringLiteral("Name"), name))
            return QStringLiteral("<none>");
        return t.fieldByName(f)->asString();
    }

private slots:
    void init()
    {
        fx.setUp();
        ResetFreeFieldLabels();
        const QString db = fx.path(QStringLiteral("db/DB"));
        QDir().mkpath(db);
        films = db + QStringLiteral("/Film.DB");
        persons = db + QStringLiteral("/Pers.DB");
        engine::createTableFile(films, FilmTableDef());
        engine::createTableFile(persons, PersonTableDef());
    }
    void cleanup() { ResetFreeFieldLabels(); }

    void renameChangesExactMatchesOfPersonFieldsOnly()
    {
        SetFilmFreeIsPerson(1, true);
        SetFilmFreeIsPerson(15, true);
        addFilm(1, QStringLiteral("A"), {}, {QStringLiteral("Meier"), QStringLiteral("Meier")});
        addFilm(2, QStringLiteral("B"), {},
                {QStringLiteral("Meier, Hans"), {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, QStringLiteral("Meier")});
        addFilm(3, QStringLiteral("C"), {}, {QStringLiteral("meier")});
        engine::Table t;
        t.setTableName(films);
        t.open();
        QCOMPARE(PropagatePersonRename(t, QStringLiteral("Meier"), QStringLiteral("Maier")), 2);
        t.refresh();
        auto at = [&](int nr, int f) {
            t.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, nr});
            return t.fieldByName(QStringLiteral("Free%1").arg(f))->asString();
        };
        QCOMPARE(at(1, 1), QStringLiteral("Maier"));
        QCOMPARE(at(1, 2), QStringLiteral("Meier"));       // not a person field
        QCOMPARE(at(2, 1), QStringLiteral("Meier, Hans")); // inside a longer text
        QCOMPARE(at(2, 15), QStringLiteral("Maier"));
        QCOMPARE(at(3, 1), QStringLiteral("meier"));       // letter case counts
        // Nothing to carry for a new record or an unchanged name.
        QCOMPARE(PropagatePersonRename(t, QString(), QStringLiteral("Maier")), 0);
        QCOMPARE(PropagatePersonRename(t, QStringLiteral("Maier"), QStringLiteral("Maier")), 0);
    }

    void duplicateCheckIsExactInUpperCase()
    {
        addPerson(persons, QStringLiteral("Maier"));
        addPerson(persons, QStringLiteral("A%B"));
        addPerson(persons, QStringLiteral("Müller"));
        engine::Table t;
        t.setTableName(persons);
        t.open();
        QVERIFY(PersonNameTaken(t, QStringLiteral("MAIER"), QString()));
        QVERIFY(PersonNameTaken(t, QStringLiteral("maier"), QStringLiteral("Schulz")));
        QVERIFY(PersonNameTaken(t, QStringLiteral("MÜLLER"), QString()));
        QVERIFY(!PersonNameTaken(t, QStringLiteral("Mai%"), QString()));
        QVERIFY(!PersonNameTaken(t, QStringLiteral("M_ier"), QString()));
        QVERIFY(!PersonNameTaken(t, QStringLiteral("A_B"), QString()));
        QVERIFY(PersonNameTaken(t, QStringLiteral("a%b"), QString()));
        // A person may change the letter case of its own name.
        QVERIFY(!PersonNameTaken(t, QStringLiteral("MAIER"), QStringLiteral("Maier")));
    }

    void filmsOfAPersonThroughBothHalves()
    {
        SetFilmFreeIsPerson(2, true);
        addFilm(1, QStringLiteral("Alien"), QStringLiteral("Director's Cut"), {{}, QStringLiteral("Ridley Scott")});
        addFilm(2, QStringLiteral("Blade"), QStringLiteral(">runner"), {{}, QStringLiteral("Ridley Scott")});
        addFilm(3, QStringLiteral("Gladiator"), {}, {{}, QStringLiteral("Scott, Ridley")});
        addFilm(4, QStringLiteral("Other"), {}, {QStringLiteral("Ridley Scott")}); // not a person field
        engine::Query q;
        q.setSql(PersonFilmsSql(u'"' + films + u'"', PersonFilmFields()));
        q.paramByName(QStringLiteral("N")).setAsString(PersonLikeParam(QStringLiteral("ridley scott")));
        q.open();
        QStringList titles;
        for (q.first(); !q.eof(); q.next())
            titles << q.field(0)->asString().trimmed();
        titles.sort();
        QCOMPARE(titles, (QStringList{QStringLiteral("Alien - Director's Cut"), QStringLiteral("Bladerunner")}));
        q.close();
        // Without person fields every non-link field is searched.
        SetFilmFreeIsPerson(2, false);
        SetFilmFreeIsFileLink(1, true);
        QCOMPARE(PersonFilmFields().size(), 14);
        QVERIFY(!PersonFilmFields().contains(1));
    }

    void personListWithAndWithoutFilter()
    {
        for (const char *n : {"Maier", "Meier", "Schulz"})
            addPerson(persons, QLatin1String(n));
        engine::Query q;
        q.setSql(PersonListSql(u'"' + persons + u'"'));
        q.paramByName(QStringLiteral("Filter")).setAsBoolean(false);
        q.paramByName(QStringLiteral("N")).setAsString(PersonLikeParam(QStringLiteral("EI")));
        q.open();
        QCOMPARE(q.recordCount(), 3);
        q.close();
        q.paramByName(QStringLiteral("Filter")).setAsBoolean(true);
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName(QStringLiteral("Name"))->asString(), QStringLiteral("Meier"));
        QCOMPARE(PersonExpandCaption(false, true), QStringLiteral("Ihre &Filme >>"));
        QCOMPARE(PersonExpandCaption(false, false), QStringLiteral("Seine &Filme >>"));
        QCOMPARE(PersonExpandCaption(true, true), QStringLiteral("<< &Liste schließen"));
    }

    void mergeCompletesOverwritesOrSkips()
    {
        const QString src = fx.path(QStringLiteral("other.Pers.DB"));
        engine::createTableFile(src, PersonTableDef());
        addPerson(src, QStringLiteral("Neu"), QStringLiteral("F"), {QStringLiteral("n1")}, QStringLiteral("m"));
        addPerson(src, QStringLiteral("Alt"), QStringLiteral("M"),
                  {QStringLiteral("same"), QStringLiteral("s2"), QStringLiteral("s3")}, QStringLiteral("neu"));
        addPerson(persons, QStringLiteral("Alt"), QString(), {QStringLiteral("same"), QString(), QStringLiteral("t3")},
                  QStringLiteral("alt"));
        PersonImportOptions o;
        o.memo = true;
        o.rowOn = {true, true, true, false, false, false, false};
        o.target = {0, 1, 2, 3, 4, 5, 6};
        o.caption = {QStringLiteral("Geburtstag"), QStringLiteral("Ort"), QStringLiteral("Beruf"), {}, {}, {}, {}};
        engine::Table s, t;
        s.setTableName(src);
        s.open();
        t.setTableName(persons);
        t.open();
        QCOMPARE(ImportPersons(s, t, o), 2);
        QCOMPARE(field(t, QStringLiteral("Neu"), QStringLiteral("Free1")), QStringLiteral("n1"));
        QCOMPARE(field(t, QStringLiteral("Neu"), QStringLiteral("MF")), QStringLiteral("F"));
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("MF")), QStringLiteral("M"));
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("Free2")), QStringLiteral("s2")); // was empty
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("Free3")), QStringLiteral("t3")); // kept
        // The differing value goes in front of the memo, the memo is completed.
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("Memo")),
                 QStringLiteral("Beruf: s3\ralt\r\rErgänzung durch Import:\rneu"));

        // Skip leaves an existing person alone.
        o.mode = PersonImportMode::Skip;
        QCOMPARE(ImportPersons(s, t, o), 0);
        // Overwrite takes the source's values; a row into the memo, in field order.
        o.mode = PersonImportMode::Overwrite;
        o.target = {7, 7, 2, 3, 4, 5, 6};
        QCOMPARE(ImportPersons(s, t, o), 2);
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("Free3")), QStringLiteral("s3"));
        QCOMPARE(field(t, QStringLiteral("Alt"), QStringLiteral("Memo")),
                 QStringLiteral("Geburtstag: same\rOrt: s2\rneu"));
    }

    void importSourceAndCaptions()
    {
        const QString src = fx.path(QStringLiteral("other.Pers.DB"));
        engine::createTableFile(src, PersonTableDef());
        QVERIFY(PersonImportSourceValid(src, persons));
        QVERIFY(!PersonImportSourceValid(persons, persons));
        QVERIFY(!PersonImportSourceValid(fx.path(QStringLiteral("missing.Pers.DB")), persons));
        const QString lab = PersonImportCaptionsPath(src);
        QCOMPARE(lab, fx.path(QStringLiteral("other.Pers.LAB")));
        QVERIFY(ReadPersonCaptions(lab).isEmpty());
        QVERIFY(MissingCaptionsMessage(lab).startsWith(QStringLiteral("Die Datei ") + lab));
        QFile f(lab);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Geburtstag\r\nFrei&2\r\nBeruf\r\nfree4\r\nOrt\r\nWebseite\r\n\x05\r\nRegie\r\n");
        f.close();
        const QStringList c = ReadPersonCaptions(lab);
        QCOMPARE(c.size(), 7);
        QCOMPARE(c[0], QStringLiteral("Geburtstag"));
        QCOMPARE(c[6], QStringLiteral("Regie"));
        QVERIFY(PersonImportRowChecked(c[0]));
        QVERIFY(!PersonImportRowChecked(c[1]));
        QVERIFY(!PersonImportRowChecked(c[3]));
    }

    void personFileChoice()
    {
        QString setting = QStringLiteral("/x/Shared.Pers");
        QVERIFY(ApplyPersonFileChoice(true, QString(), setting));
        QVERIFY(setting.isEmpty());
        setting = QStringLiteral("keep");
        QVERIFY(!ApplyPersonFileChoice(false, QString(), setting));
        QCOMPARE(setting, QStringLiteral("keep"));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Hinweis"));
        QVERIFY(!ApplyPersonFileChoice(false, fx.path(QStringLiteral("none.Pers.DB")), setting));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fehler"));
        QCOMPARE(setting, QStringLiteral("keep"));
        const QString shared = fx.path(QStringLiteral("Shared.Pers.DB"));
        engine::createTableFile(shared, PersonTableDef());
        QVERIFY(ApplyPersonFileChoice(false, shared, setting));
        QCOMPARE(setting, fx.path(QStringLiteral("Shared.Pers")));
        QCOMPARE(PersonBaseFor(QStringLiteral("/db/"), setting), setting);
        QCOMPARE(PersonBaseFor(QStringLiteral("/db/"), QStringLiteral("/gone/X.Pers")), QStringLiteral("/db/DB/Pers"));
    }

    void invalidPicturesAreRemoved()
    {
        addPerson(persons, QStringLiteral("A"), {}, {}, {}, QByteArray("good"));
        addPerson(persons, QStringLiteral("B"), {}, {}, {}, QByteArray("bad"));
        addPerson(persons, QStringLiteral("C"));
        engine::Table t;
        t.setTableName(persons);
        t.open();
        PictureScanResult r;
        QVERIFY(ScanPersonPictures(t, [](const QByteArray &b) { return b == "good"; }, &r));
        QCOMPARE(r.checked, 2);
        QCOMPARE(r.invalid, 1);
        QCOMPARE(r.removed, 1);
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fertig"));
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Es wurden 2 Personen-Grafiken überprüft, davon wurden 1 als ungültig erkannt und 1 "
                                "erfolgreich gelöscht!"));
        t.refresh();
        QVERIFY(t.locate(QStringLiteral("Name"), QStringLiteral("B")));
        QVERIFY(t.fieldByName(QStringLiteral("Grafik"))->isNull());
        QVERIFY(!ScanPersonPictures(t, [](const QByteArray &) { return true; }, &r));
    }

    void locateAndInsert()
    {
        addPerson(persons, QStringLiteral("Maier"));
        engine::Table t;
        t.setTableName(persons);
        t.open();
        QVERIFY(LocatePersonByName(t, QStringLiteral("Maier")));
        QVERIFY(!LocatePersonByName(t, QStringLiteral("maier")));
        QVERIFY(InsertPerson(t, QStringLiteral("Neu")));
        QCOMPARE(t.fieldByName(QStringLiteral("Name"))->asString(), QStringLiteral("Neu"));
        QCOMPARE(t.recordCount(), 2);
        t.close();
        t.setReadOnly(true);
        t.open();
        QVERIFY(!InsertPerson(t, QStringLiteral("Nie")));
        QCOMPARE(t.recordCount(), 2);
    }
};

QTEST_MAIN(TstPersons)
#include "tst_persons.moc"
