#include "app/settings.h"
#include "app/settingsfixture.h"
#include "data/backup.h"
#include "data/killchild.h"
#include "data/freefieldlabels.h"
#include "data/templatefixture.h"
#include "engine/session.h"
#include "engine/table.h"
#include "exchange/oldimport.h"
#include "exchange/paradoxtable.h"
#include "exchange/paradoxwriter.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QtTest>

namespace {

const QList<PxColumn> FilmColumnsC = {
    {"Medium", pxfAlpha, 6},  {"KassNr", pxfShort, 2}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40},
    {"Untertitel", pxfAlpha, 60}, {"Len", pxfShort, 2}, {"LP", pxfLogical, 1}, {"MW", pxfLogical, 1},
    {"SW", pxfLogical, 1},    {"Wide", pxfLogical, 1}, {"Frei", pxfLogical, 1}, {"Ton", pxfAlpha, 1},
    {"Kateg", pxfAlpha, 1},   {"Free1", pxfAlpha, 40}, {"Free2", pxfAlpha, 40}, {"Free3", pxfAlpha, 40},
    {"Free4", pxfAlpha, 40},  {"Free5", pxfAlpha, 40}, {"Free6", pxfAlpha, 40}, {"Memo", pxfMemoBLOb, 11},
    {"Grafik", pxfBLOb, 10},
};
const QList<PxColumn> MediaColumnsC = {
    {"Medium", pxfAlpha, 6}, {"Nr", pxfShort, 2},      {"Len", pxfShort, 2},    {"Verliehen", pxfAlpha, 40},
    {"Verleihdatum", pxfDate, 4}, {"Free1", pxfAlpha, 40}, {"Free2", pxfAlpha, 40}, {"Free3", pxfAlpha, 40},
    {"Free4", pxfAlpha, 40}, {"Memo", pxfMemoBLOb, 11},
};
const QByteArray Picture = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(300, 'p');
const QString LongMemo = QStringLiteral("Notiz über Größe: ") + QString(200, QLatin1Char('x'));

QByteArray captionFile(int lines)
{
    QStringList l;
    for (int i = 1; i <= lines; ++i)
        l << QStringLiteral("Zeile%1").arg(i);
    return platform::toCp1252(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A medium table of generation A: number, bought flag, length, borrower and
// the first film slot's title.
const QList<PxColumn> CassetteColumnsA = {
    {"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}, {"Verliehen", pxfAlpha, 40}, {"Film1", pxfAlpha, 40}};

} // namespace

class TstOldImport : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    QString oldDir;

    QString oldBase(const char *name = "Videos") const { return oldDir + QLatin1Char('/') + QLatin1String(name); }

    void writeGenerationC(const QString &base)
    {
        WriteParadoxTable(base + QStringLiteral(".Film.DB"), FilmColumnsC,
                          {{QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Der Bär im Großen Blauen Haus"), QString(), 90, true,
                            false, false, false, false, QStringLiteral("S"), QStringLiteral("2"), QStringLiteral("Müller"),
                            {}, {}, {}, {}, {}, LongMemo, Picture},
                           {QStringLiteral("DVD"), 3, 1, QStringLiteral("Ärger"), QStringLiteral("Teil 2"), 120}});
        WriteParadoxTable(base + QStringLiteral(".Kass.DB"), MediaColumnsC,
                          {{QStringLiteral("VHS-SB"), 1, 240, QStringLiteral("Jürgen"), QDate(2003, 4, 5)},
                           {QStringLiteral("DVD"), 3, 0, {}, {}, QStringLiteral("Fach ß")},
                           {QStringLiteral("Laserd"), 7, 60}});
        put(base + QStringLiteral(".KAT"), "alte Kategorien\r\n");
        put(base + QStringLiteral(".LAB"), captionFile(12));
    }

    static QVariant valueOf(engine::Table &t, const char *field) { return t.fieldByName(QLatin1String(field))->value(); }

private slots:
    void init()
    {
        fx.setUp();
        WriteTestTemplates();
        oldDir = fx.path(QStringLiteral("alt"));
        QDir().mkpath(oldDir);
        QDir().mkpath(DBsDir);
        DBBase.clear();
        ResetFreeFieldLabels();
        engine::Session::instance().removeAllPasswords();
    }

    void readsFieldsTextMemosAndPictures()
    {
        writeGenerationC(oldBase());
        TParadoxTable t(oldBase() + QStringLiteral(".Film.DB"));
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.fields().size(), FilmColumnsC.size());
        QVERIFY(t.hasField(QStringLiteral("titel")));
        QVERIFY(!t.hasField(QStringLiteral("Wertung")));
        const QVariantList r = t.record(0);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("Titel"))].toString(), QStringLiteral("Der Bär im Großen Blauen Haus"));
        QCOMPARE(r[t.fieldIndex(QStringLiteral("KassNr"))].toInt(), 1);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("Len"))].toInt(), 90);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("LP"))].toBool(), true);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("MW"))].toBool(), false);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("Memo"))].toString(), LongMemo);
        QCOMPARE(r[t.fieldIndex(QStringLiteral("Grafik"))].toByteArray(), Picture);
        QVERIFY(r[t.fieldIndex(QStringLiteral("Untertitel"))].isNull());
        const QVariantList r2 = t.record(1);
        QVERIFY(r2[t.fieldIndex(QStringLiteral("LP"))].isNull());
        QVERIFY(r2[t.fieldIndex(QStringLiteral("Memo"))].isNull());
        TParadoxTable m(oldBase() + QStringLiteral(".Kass.DB"));
        QCOMPARE(m.record(0)[m.fieldIndex(QStringLiteral("Verleihdatum"))].toDate(), QDate(2003, 4, 5));
    }

    void protectedTableAsksForItsPassword()
    {
        const QString path = oldBase() + QStringLiteral(".Pers.DB");
        WriteParadoxTable(path, {{"Name", pxfAlpha, 40}}, {{QStringLiteral("Jörg")}}, "geheim");
        QStringList answers{QStringLiteral("falsch"), QStringLiteral("geheim")};
        int asked = 0;
        TParadoxTable t(path, [&] { return answers.value(asked++); });
        QCOMPARE(asked, 2);
        QCOMPARE(t.record(0).at(0).toString(), QStringLiteral("Jörg"));
        // The password is kept for the run: the next table does not ask.
        TParadoxTable again(path, [&] { return answers.value(asked++); });
        QCOMPARE(asked, 2);
        // Cancelled: the table is not read.
        engine::Session::instance().removeAllPasswords();
        QVERIFY_THROWS_EXCEPTION(TParadoxError, TParadoxTable(path, [] { return QString(); }));
        QVERIFY_THROWS_EXCEPTION(TParadoxError, TParadoxTable(oldBase("fehlt") + QStringLiteral(".DB")));
        put(oldBase("fremd") + QStringLiteral(".DB"), "kein Paradox");
        QVERIFY_THROWS_EXCEPTION(TParadoxError, TParadoxTable(oldBase("fremd") + QStringLiteral(".DB")));
    }

    void protectedTableDecryptsItsBlobBlocks()
    {
        const QString path = oldBase() + QStringLiteral(".Film.DB");
        const QString shortMemo = QStringLiteral("Kurze Notiz über Öl und Äpfel");    // a shared block
        const QString longMemo = QStringLiteral("Größe ").repeated(900);               // a block of its own
        const QList<PxColumn> columns{{"Titel", pxfAlpha, 20}, {"Memo", pxfMemoBLOb, 11}, {"Grafik", pxfBLOb, 10}};
        WriteParadoxTable(path, columns,
                          {{QStringLiteral("Eins"), shortMemo, Picture}, {QStringLiteral("Zwei"), longMemo}, {QStringLiteral("Drei")}},
                          "geheim");
        // The blocks are encrypted: none of the texts stands in the file.
        const QByteArray blobs = readAll(PxBlobPath(path));
        QVERIFY(!blobs.contains(platform::toCp1252(QStringLiteral("Notiz über"))));
        QVERIFY(!blobs.contains(platform::toCp1252(QStringLiteral("Größe Größe"))));
        QVERIFY(!blobs.contains(QByteArray(40, 'p')));
        TParadoxTable t(path, [] { return QStringLiteral("geheim"); });
        QCOMPARE(t.record(0).at(0).toString(), QStringLiteral("Eins"));
        QCOMPARE(t.record(0).at(1).toString(), shortMemo);
        QCOMPARE(t.record(0).at(2).toByteArray(), Picture);
        QCOMPARE(t.record(1).at(1).toString(), longMemo);
        QVERIFY(t.record(1).at(2).isNull());
        QVERIFY(t.record(2).at(1).isNull());
    }

    void protectedTableReadsPlainBlobBlocks()
    {
        // pxlib's own writer leaves the blocks of a protected table plain.
        const QString path = oldBase() + QStringLiteral(".Film.DB");
        const QString longMemo = QStringLiteral("Größe ").repeated(900);
        WriteParadoxTableWithPxlib(path, {{"Titel", pxfAlpha, 20}, {"Memo", pxfMemoBLOb, 11}},
                                   {{QStringLiteral("Eins"), longMemo}}, "geheim");
        QVERIFY(readAll(PxBlobPath(path)).contains(platform::toCp1252(QStringLiteral("Größe Größe"))));
        TParadoxTable t(path, [] { return QStringLiteral("geheim"); });
        QCOMPARE(t.record(0).at(1).toString(), longMemo);
    }

    void damagedBlobFileIsReported()
    {
        const QString path = oldBase() + QStringLiteral(".Film.DB");
        WriteParadoxTable(path, {{"Titel", pxfAlpha, 20}, {"Memo", pxfMemoBLOb, 11}},
                          {{QStringLiteral("Eins"), QStringLiteral("Kurze Notiz über Öl und Äpfel")}}, "geheim");
        // Only the header block is left.
        QFile blobs(PxBlobPath(path));
        QVERIFY(blobs.resize(4096));
        TParadoxTable t(path, [] { return QStringLiteral("geheim"); });
        try {
            t.record(0);
            QFAIL("a damaged blob file was read");
        } catch (const TParadoxError &e) {
            QCOMPARE(e.text(), QStringLiteral("Die Memo- und Bilddatei (\".MB\") der Tabelle \"Videos.Film.DB\" ist beschädigt."));
        }
    }

    void upgradeStatements()
    {
        QStringList film;
        for (const auto &f : FilmTableDef().fields)
            film << f.name;
        bool printed = true;
        QCOMPARE(UpgradeStatementLines(TOldTable::Film, QStringLiteral("/x/Film.DB"), film, &printed), QStringList());
        QVERIFY(!printed);
        film.removeAll(QStringLiteral("Wertung"));
        QCOMPARE(UpgradeStatementLines(TOldTable::Film, QStringLiteral("/x/Film.DB"), film),
                 (QStringList{QStringLiteral("ALTER TABLE \"Film.DB\""), QStringLiteral("ADD Wertung SMALLINT")}));
        const QStringList media = UpgradeStatementLines(TOldTable::Media, QStringLiteral("/x/Med.DB"),
                                                        {QStringLiteral("Medium"), QStringLiteral("SN")}, &printed);
        QCOMPARE(media, (QStringList{QStringLiteral("ALTER TABLE \"Med.DB\""), QStringLiteral("ADD Free5 CHARACTER(100)"),
                                     QStringLiteral(","), QStringLiteral("ADD Gedruckt BOOLEAN"), QStringLiteral(","),
                                     QStringLiteral("ADD Rueckgabedatum DATE")}));
        QVERIFY(printed);
        QCOMPARE(UpgradeStatementLines(TOldTable::Persons, QStringLiteral("/x/Pers.DB"), {QStringLiteral("Name")}),
                 (QStringList{QStringLiteral("ALTER TABLE \"Pers.DB\""), QStringLiteral("ADD Free7 CHARACTER(100)")}));
    }

    void oldCaptionFiles()
    {
        TOldCaptions c = ParseOldCaptions(captionFile(12), false);
        QCOMPARE(c.filmCount, 6);
        QCOMPARE(c.film.last(), QStringLiteral("Zeile6"));
        QCOMPARE(c.medium, (QStringList{QStringLiteral("Zeile7"), QStringLiteral("Zeile8"), QStringLiteral("Zeile9"),
                                        QStringLiteral("Zeile10")}));
        c = ParseOldCaptions(captionFile(16), false);
        QCOMPARE(c.filmCount, 10);
        QCOMPARE(c.medium.first(), QStringLiteral("Zeile11"));
        QCOMPARE(ParseOldCaptions(captionFile(16), true).filmCount, 4);
        // Flags: medium 1 and 4 (bits 0 and 4); film links 2, 4 and 8; persons 7 and 10.
        QByteArray flags = "F1\r\nF2\r\nF3\r\nF4\r\nF5\r\nF6\r\nM1\r\nM2\r\nM3\r\nM4\r\n";
        flags += QByteArray(1, char(0x11)) + "\r\n" + QByteArray(1, char(0x12)) + QByteArray(1, char(0x01)) + "\r\n"
                 + QByteArray(1, char(0x80)) + QByteArray(1, char(0x04));
        c = ParseOldCaptions(flags, false);
        QVERIFY(c.mediumLinkLine);
        QCOMPARE(QList<bool>(c.mediumLink, c.mediumLink + 4), (QList<bool>{true, false, false, true}));
        QCOMPARE(QList<bool>(c.filmLink, c.filmLink + 10),
                 (QList<bool>{false, true, false, true, false, false, false, true, false, false}));
        QCOMPARE(QList<bool>(c.filmPerson, c.filmPerson + 10),
                 (QList<bool>{false, false, false, false, false, false, true, false, false, true}));
        // Short file: defaults "Frei" + number, flags cleared.
        c = ParseOldCaptions("Nur eine\r\n", false);
        QCOMPARE(c.film.at(1), QStringLiteral("Frei2"));
        QCOMPARE(c.medium.at(3), QStringLiteral("Frei4"));
        QVERIFY(c.mediumLinkLine);
    }

    void generationCConvertsAndAddsFields()
    {
        writeGenerationC(oldBase());
        const QByteArray before = FolderHash(oldDir);
        const QString made = ImportOldDatabaseFile(oldBase(), false);
        QCOMPARE(made, DBsDir + QStringLiteral("Videos.tarvo"));
        QCOMPARE(FolderHash(oldDir), before);
        QCOMPARE(fx.captions().last(), QStringLiteral("Hinweis"));
        const QString db = DBsDir + QStringLiteral("Videos/DB/");
        engine::Table films;
        films.setTableName(db + QStringLiteral("Film.DB"));
        films.setReadOnly(true);
        films.open();
        QCOMPARE(films.recordCount(), 2);
        QVERIFY(films.findField(QStringLiteral("Wertung")));
        QCOMPARE(films.fieldByName(QStringLiteral("Free14"))->definition().size, 100);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("Der Bär im Großen Blauen Haus"));
        QCOMPARE(valueOf(films, "Memo").toString(), LongMemo);
        QCOMPARE(valueOf(films, "Grafik").toByteArray(), Picture);
        QVERIFY(films.indexNames().contains(QStringLiteral("iTitel")));
        engine::Table media;
        media.setTableName(db + QStringLiteral("Med.DB"));
        media.setReadOnly(true);
        media.open();
        QCOMPARE(media.recordCount(), 3);
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
        QCOMPARE(valueOf(media, "Verliehen").toString(), QStringLiteral("Jürgen"));
        QCOMPARE(valueOf(media, "Verleihdatum").toDate(), QDate(2003, 4, 5));
        QVERIFY(valueOf(media, "Gedruckt").isNull());
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("Laserd"), 7}));
        QCOMPARE(valueOf(media, "Gedruckt").toBool(), false); // not a built-in kind: the default
        // No person table: the template's, and no person captions copied.
        QVERIFY(QFile::exists(db + QStringLiteral("Pers.DB")));
        QCOMPARE(readAll(db + QStringLiteral("KAT")), QByteArray("alte Kategorien\r\n"));
        // 12 caption lines: six film captions, then the media's.
        QCOMPARE(GetFilmFreeLabel(6), QStringLiteral("Zeile6"));
        QCOMPARE(GetFilmFreeLabel(7), QStringLiteral("Frei7"));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("Zeile7"));
        QVERIFY(QFile::exists(db + QStringLiteral("LAB.DB")));
    }

    void completeGenerationCRunsNoAlter()
    {
        QList<PxColumn> film = FilmColumnsC;
        for (const char *f : {"Free7", "Free8", "Free9", "Free10", "Free11", "Free12", "Free13"})
            film.append({f, pxfAlpha, 40});
        film.append({"Free14", pxfAlpha, 100});
        film.append({"Free15", pxfAlpha, 100});
        film.append({"Wertung", pxfShort, 2});
        QList<PxColumn> media = MediaColumnsC;
        media.append({"Free5", pxfAlpha, 100});
        media.append({"Gedruckt", pxfLogical, 1});
        media.append({"SN", pxfLong, 4});
        media.append({"Rueckgabedatum", pxfDate, 4});
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"), film, {{QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("T")}});
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"), media,
                          {{QStringLiteral("VHS-SB"), 1, 240, {}, {}, {}, {}, {}, {}, {}, {}, true}});
        WriteParadoxTable(oldBase() + QStringLiteral(".Pers.DB"), {{"Name", pxfAlpha, 40}, {"Free7", pxfAlpha, 100}},
                          {{QStringLiteral("Anna")}});
        put(oldBase() + QStringLiteral(".Pers.LAB"), "p\r\n");
        put(oldBase() + QStringLiteral(".KAT"), "k\r\n");
        put(oldBase() + QStringLiteral(".LAB"), captionFile(16));
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        const QString db = DBsDir + QStringLiteral("Videos/DB/");
        engine::Table media2;
        media2.setTableName(db + QStringLiteral("Med.DB"));
        media2.open();
        // The old fields in their order, nothing appended; the flag kept.
        QCOMPARE(media2.fieldCount(), media.size());
        QCOMPARE(valueOf(media2, "Gedruckt").toBool(), true);
        QCOMPARE(readAll(db + QStringLiteral("Pers.LAB")), QByteArray("p\r\n"));
        QCOMPARE(GetFilmFreeLabel(10), QStringLiteral("Zeile10"));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("Zeile11"));
    }

    void fieldsOfOtherVersionsAreAddedEmpty()
    {
        writeGenerationC(oldBase());
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"),
                          {{"Medium", pxfAlpha, 6}, {"KassNr", pxfShort, 2}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40}},
                          {{QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Kurz")}});
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        engine::Table films;
        films.setTableName(DBsDir + QStringLiteral("Videos/DB/Film.DB"));
        films.open();
        for (const auto &f : FilmTableDef().fields)
            QVERIFY2(films.findField(f.name), qPrintable(f.name));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("Kurz"));
        QVERIFY(valueOf(films, "Untertitel").isNull());
    }

    void protectedPersonTableAsksThroughThePresenter()
    {
        writeGenerationC(oldBase());
        WriteParadoxTable(oldBase() + QStringLiteral(".Pers.DB"), {{"Name", pxfAlpha, 40}}, {{QStringLiteral("Jörg")}}, "geheim");
        put(oldBase() + QStringLiteral(".Pers.LAB"), "p\r\n");
        fx.presenter->answerDialog(
            [](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("geheim")); });
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(fx.presenter->shown().first().kind, QStringLiteral("TDPwd"));
        engine::Table persons;
        persons.setTableName(DBsDir + QStringLiteral("Videos/DB/Pers.DB"));
        persons.open();
        QCOMPARE(valueOf(persons, "Name").toString(), QStringLiteral("Jörg"));
        QVERIFY(persons.findField(QStringLiteral("Free7")));
        // Cancelled: the import stops and leaves nothing behind.
        QDir(DBsDir).removeRecursively();
        QDir().mkpath(DBsDir);
        engine::Session::instance().removeAllPasswords();
        fx.presenter->clear();
        fx.presenter->answerDialog([](QDialog &) {}, mrCancel);
        QVERIFY(ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QVERIFY(!QFileInfo::exists(DBsDir + QStringLiteral("Videos")));
    }

    void protectedFilmTableKeepsItsMemosAndPictures()
    {
        writeGenerationC(oldBase());
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"), FilmColumnsC,
                          {{QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Der Bär"), {}, 90, {}, {}, {}, {}, {}, {}, {}, {},
                            {}, {}, {}, {}, {}, LongMemo, Picture},
                           {QStringLiteral("DVD"), 3, 1, QStringLiteral("Ärger"), {}, 120, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
                            {}, {}, {}, QStringLiteral("Kurz: Öl")}},
                          "geheim");
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"), MediaColumnsC,
                          {{QStringLiteral("VHS-SB"), 1, 240, {}, {}, {}, {}, {}, {}, QStringLiteral("Band-Notiz ß")},
                           {QStringLiteral("DVD"), 3, 0}},
                          "geheim");
        fx.presenter->answerDialog(
            [](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("geheim")); });
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        // Both tables are read with the password given once.
        int asked = 0;
        for (const auto &shown : fx.presenter->shown())
            asked += shown.kind == QStringLiteral("TDPwd") ? 1 : 0;
        QCOMPARE(asked, 1);
        engine::Table media;
        media.setTableName(DBsDir + QStringLiteral("Videos/DB/Med.DB"));
        media.open();
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
        QCOMPARE(valueOf(media, "Memo").toString(), QStringLiteral("Band-Notiz ß"));
        engine::Table films;
        films.setTableName(DBsDir + QStringLiteral("Videos/DB/Film.DB"));
        films.open();
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(valueOf(films, "Memo").toString(), LongMemo);
        QCOMPARE(valueOf(films, "Grafik").toByteArray(), Picture);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("DVD"), 3, 1}));
        QCOMPARE(valueOf(films, "Memo").toString(), QStringLiteral("Kurz: Öl"));
    }

    void missingSideFilesGiveMessagesAndDefaults()
    {
        writeGenerationC(oldBase());
        WriteParadoxTable(oldBase() + QStringLiteral(".Pers.DB"), {{"Name", pxfAlpha, 40}}, {{QStringLiteral("Anna")}});
        QFile::remove(oldBase() + QStringLiteral(".KAT"));
        QFile::remove(oldBase() + QStringLiteral(".LAB"));
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        const QString db = DBsDir + QStringLiteral("Videos/DB/");
        const QStringList caps = fx.captions();
        QCOMPARE(caps.count(QStringLiteral("Hinweis")), 3); // person captions, captions, the closing note
        QVERIFY(caps.contains(QStringLiteral("Fehler")));    // categories
        QVERIFY(QFile::exists(db + QStringLiteral("KAT")));  // the defaults
        QVERIFY(QFile::exists(db + QStringLiteral("Pers.LAB")));
        QCOMPARE(GetFilmFreeLabel(1), QStringLiteral("Frei1"));
    }

    void existingTargetIsKeptUnlessTheUserAgrees()
    {
        writeGenerationC(oldBase());
        QDir().mkpath(DBsDir + QStringLiteral("Videos/DB"));
        put(DBsDir + QStringLiteral("Videos.tarvo"), "6.0\r\n");
        put(DBsDir + QStringLiteral("Videos/DB/Med.DB"), "meine Daten");
        fx.presenter->answer(mrNo);
        QVERIFY(ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(readAll(DBsDir + QStringLiteral("Videos/DB/Med.DB")), QByteArray("meine Daten"));
        QCOMPARE(fx.captions().first(), QStringLiteral("Konflikt"));
        // The open database is refused outright.
        DBBase = DBsDir + QStringLiteral("Videos/");
        fx.presenter->clear();
        QVERIFY(ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(fx.captions(), QStringList{QStringLiteral("Fehler beim Import")});
        DBBase.clear();
        // A failed import puts the existing database back.
        fx.presenter->clear();
        put(oldBase() + QStringLiteral(".Film.DB"), "zerstört");
        fx.presenter->answer(mrYes);
        QVERIFY(ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(readAll(DBsDir + QStringLiteral("Videos/DB/Med.DB")), QByteArray("meine Daten"));
        QCOMPARE(QDir(DBsDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
        // Agreed: replaced as a whole.
        writeGenerationC(oldBase());
        fx.presenter->answer(mrYes);
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QVERIFY(readAll(DBsDir + QStringLiteral("Videos/DB/Med.DB")) != QByteArray("meine Daten"));
        QCOMPARE(QDir(DBsDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
    }

    void failedImportRemovesWhatItCreated()
    {
        writeGenerationC(oldBase());
        put(oldBase() + QStringLiteral(".Film.DB"), "zerstört");
        QVERIFY(ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(fx.captions(), QStringList{QStringLiteral("Fehler!")});
        QVERIFY(!QFile::exists(DBsDir + QStringLiteral("Videos.tarvo")));
        QVERIFY(!QFileInfo::exists(DBsDir + QStringLiteral("Videos")));
    }
    void generationBTransfersRecordByRecord()
    {
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"),
                          {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}, {"Verliehen", pxfAlpha, 40},
                           {"Free1", pxfAlpha, 40}, {"Memo", pxfMemoBLOb, 11}},
                          {{1, false, 180, QStringLiteral("Björn"), QStringLiteral("eins")},
                           {1, true, 0, {}, QStringLiteral("gekauft")},
                           {2, false, 240, {}, {}, LongMemo}});
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"),
                          {{"KassNr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40},
                           {"Len", pxfShort, 2}, {"LP", pxfLogical, 1}, {"Grafik", pxfBLOb, 10}},
                          {{1, false, 1, QStringLiteral("Überfall"), 100, true, Picture},
                           {1, false, 2, QString(), 20},
                           {1, true, 1, QStringLiteral("Gekauft"), 90}});
        put(oldBase() + QStringLiteral(".KAT"), "kat\r\n");
        put(oldBase() + QStringLiteral(".LAB"), captionFile(16));
        const QByteArray before = FolderHash(oldDir);
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        QCOMPARE(FolderHash(oldDir), before);
        const QString db = DBsDir + QStringLiteral("Videos/DB/");
        engine::Table media;
        media.setTableName(db + QStringLiteral("Med.DB"));
        media.open();
        // The template's medium "VHS-SB" 1 took the old medium 1.
        QCOMPARE(media.recordCount(), 3);
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
        QCOMPARE(valueOf(media, "Verliehen").toString(), QStringLiteral("Björn"));
        QCOMPARE(valueOf(media, "Len").toInt(), 180);
        QCOMPARE(valueOf(media, "Gedruckt").toBool(), true);
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-KK"), 1}));
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 2}));
        QCOMPARE(valueOf(media, "Memo").toString(), LongMemo);
        engine::Table films;
        films.setTableName(db + QStringLiteral("Film.DB"));
        films.open();
        QCOMPARE(films.recordCount(), 3);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("Überfall"));
        QCOMPARE(valueOf(films, "Grafik").toByteArray(), Picture);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 2}));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("(ohne Titel)"));
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-KK"), 1, 1}));
        // Fields the old tables lack: both tables reported incomplete.
        QCOMPARE(fx.captions().count(QStringLiteral("Information!")), 2);
        QCOMPARE(GetFilmFreeLabel(10), QStringLiteral("Zeile10"));
    }

    void generationBWithoutTheFirstMediumInserts()
    {
        // A template without medium "VHS-SB" 1: the old medium 1 is inserted.
        {
            engine::Table t;
            t.setTableName(ProgDir + QStringLiteral("Def60.Med.DB"));
            t.open();
            while (!t.isEmpty())
                t.deleteRecord();
        }
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"),
                          {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}},
                          {{1, false, 180}});
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"),
                          {{"KassNr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40}},
                          {{1, false, 1, QStringLiteral("A")}});
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        engine::Table media;
        media.setTableName(DBsDir + QStringLiteral("Videos/DB/Med.DB"));
        media.open();
        QCOMPARE(media.recordCount(), 1);
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
        QCOMPARE(valueOf(media, "Len").toInt(), 180);
        // No ".KAT": a message and the default categories.
        QVERIFY(fx.captions().contains(QStringLiteral("Fehler")));
        QVERIFY(QFile::exists(DBsDir + QStringLiteral("Videos/DB/KAT")));
    }

    void generationATakesTheFilmSlots()
    {
        QList<PxColumn> cols = {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}, {"Verliehen", pxfAlpha, 40},
                                {"Free1K", pxfAlpha, 40}, {"MemoK", pxfMemoBLOb, 11}};
        static const QList<QByteArray> slotNames = [] {
            QList<QByteArray> l;
            for (int n = 1; n <= 2; ++n)
                for (const char *f : {"Film", "Len", "Stereo", "Free3"})
                    l.append(QByteArray(f) + QByteArray::number(n));
            return l;
        }();
        for (int i = 0; i < slotNames.size(); ++i) {
            const int k = i % 4;
            cols.append({slotNames[i].constData(), k == 0 ? pxfAlpha : k == 1 ? pxfShort : k == 2 ? pxfLogical : pxfAlpha,
                         k == 0 ? 40 : k == 1 ? 2 : k == 2 ? 1 : 40});
        }
        WriteParadoxTable(oldBase() + QStringLiteral(".DB"), cols,
                          {{1, false, 180, QStringLiteral("Ute"), QStringLiteral("F1"), QStringLiteral("Notiz"),
                            QStringLiteral("Erster"), 90, true, QStringLiteral("drei"), QStringLiteral("Zweiter"), 60, false, {}},
                           {5, true, 0, {}, {}, {}, QString(), 0, false, {}, QStringLiteral("Nur Slot 2"), 45}});
        put(oldBase() + QStringLiteral(".KAT"), "kat\r\n");
        // Four film captions, four medium captions, the medium flags, then
        // film fields 1, 5 and 8 as links and 6 and 9 as persons.
        put(oldBase() + QStringLiteral(".LAB"), captionFile(8) + "\x01\r\n\x21\x01\r\n\x40\x02\r\n");
        const QByteArray before = FolderHash(oldDir);
        QVERIFY(!ImportOldDatabaseFile(oldBase(), true).isEmpty());
        QCOMPARE(FolderHash(oldDir), before);
        const QString db = DBsDir + QStringLiteral("Videos/DB/");
        engine::Table media;
        media.setTableName(db + QStringLiteral("Med.DB"));
        media.open();
        QCOMPARE(media.recordCount(), 2);
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1}));
        QCOMPARE(valueOf(media, "Free1").toString(), QStringLiteral("F1"));
        QCOMPARE(valueOf(media, "Memo").toString(), QStringLiteral("Notiz"));
        QVERIFY(media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-KK"), 5}));
        engine::Table films;
        films.setTableName(db + QStringLiteral("Film.DB"));
        films.open();
        QCOMPARE(films.recordCount(), 3);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("Erster"));
        QCOMPARE(valueOf(films, "Ton").toString(), QStringLiteral("S"));
        QCOMPARE(valueOf(films, "Free3").toString(), QStringLiteral("drei"));
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 2}));
        QCOMPARE(valueOf(films, "Len").toInt(), 60);
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-KK"), 5, 2}));
        // The oldest captions file: four film captions.
        QCOMPARE(GetFilmFreeLabel(4), QStringLiteral("Zeile4"));
        QCOMPARE(GetFilmFreeLabel(5), QStringLiteral("Frei5"));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("Zeile5"));
        for (int i = 1; i <= 10; ++i) {
            QCOMPARE(GetFilmFreeIsFileLink(i), i == 1 || i == 5 || i == 8);
            QCOMPARE(GetFilmFreeIsPerson(i), i == 6 || i == 9);
        }
    }

    void generationAWithoutLengthFails()
    {
        WriteParadoxTable(oldBase() + QStringLiteral(".DB"), {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}}, {{3, false}});
        QVERIFY(ImportOldDatabaseFile(oldBase(), true).isEmpty());
        QCOMPARE(fx.captions(), QStringList{QStringLiteral("Fehler!")});
        QVERIFY(!QFileInfo::exists(DBsDir + QStringLiteral("Videos")));
        QVERIFY(!QFile::exists(DBsDir + QStringLiteral("Videos.tarvo")));
    }

    void damagedTablesAreRefused()
    {
        // Fields of 250 bytes in a header that gives a record 8.
        const QString wide = oldBase("breit") + QStringLiteral(".DB");
        WriteParadoxTable(wide, {{"Titel", pxfAlpha, 240}, {"Len", pxfShort, 2}, {"Nr", pxfLong, 4}, {"Frei", pxfAlpha, 4}},
                          {{QStringLiteral("Lang"), 90, 1}});
        {
            QFile f(wide);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.write(QByteArray("\x08\x00", 2)); // the record size, first in the header
        }
        try {
            TParadoxTable t(wide);
            QFAIL("a table whose fields exceed its records was read");
        } catch (const TParadoxError &e) {
            QVERIFY2(e.text().contains(QStringLiteral("250 Bytes")), qPrintable(e.text()));
        }
        // A table of the oldest version cut inside the title of its last
        // record: refused with a message, nothing imported.
        const QString path = oldBase() + QStringLiteral(".DB");
        WriteParadoxTable(path, CassetteColumnsA,
                          {{1, false, 180, {}, QStringLiteral("Erster")}, {2, true, 90, {}, QStringLiteral("Kauf Nummer 1")}});
        const QByteArray bytes = readAll(path);
        const qsizetype title = bytes.indexOf("Kauf Nummer 1");
        QVERIFY(title > 0);
        {
            QFile f(path);
            QVERIFY(f.resize(title + 4));
        }
        const QByteArray before = FolderHash(oldDir);
        QVERIFY(ImportOldDatabaseFile(oldBase(), true).isEmpty());
        QVERIFY(fx.presenter->shown().last().text.contains(QStringLiteral("Datei endet")));
        QVERIFY(!QFileInfo::exists(DBsDir + QStringLiteral("Videos")));
        QVERIFY(!QFileInfo::exists(DBsDir + QStringLiteral("Videos.tarvo")));
        QCOMPARE(FolderHash(oldDir), before);
    }

    void emptyNumbersAndOtherCodePages()
    {
        // An empty long field is empty, not the smallest number.
        const QString numbers = oldBase("zahlen") + QStringLiteral(".DB");
        WriteParadoxTable(numbers, {{"Len", pxfLong, 4}, {"Nr", pxfShort, 2}, {"Datum", pxfDate, 4}},
                          {{QVariant(), QVariant(), QVariant()}, {0, 0, QDate(2001, 2, 3)}, {-5, -7, {}}});
        TParadoxTable t(numbers);
        QVERIFY(t.record(0).at(0).isNull());
        QVERIFY(t.record(0).at(1).isNull());
        QVERIFY(t.record(0).at(2).isNull());
        QCOMPARE(t.record(1), (QVariantList{0, 0, QDate(2001, 2, 3)}));
        QCOMPARE(t.record(2).mid(0, 2), (QVariantList{-5, -7}));
        // Text and field names read by the code page the header names.
        const QString dos = oldBase("dos") + QStringLiteral(".DB");
        WriteParadoxTableWithPxlib(dos, {{"Name", pxfAlpha, 20}}, {{QByteArray("Bj\x94rn \x9d")}}, {}, 850);
        QCOMPARE(TParadoxTable(dos).record(0).at(0).toString(), QStringLiteral("Björn Ø"));
        WriteParadoxTableWithPxlib(dos, {{"Name", pxfAlpha, 20}}, {{QByteArray("Gr\x81\xe1" "e \x9d")}}, {}, 437);
        QCOMPARE(TParadoxTable(dos).record(0).at(0).toString(), QStringLiteral("Grüße ¥"));
        WriteParadoxTableWithPxlib(dos, {{"Name", pxfAlpha, 20}}, {{QByteArray("Bj\xf6rn")}}, {}, 1252);
        QCOMPARE(TParadoxTable(dos).record(0).at(0).toString(), QStringLiteral("Björn"));
        // Through the import: an empty length of a film stays empty.
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"), {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}},
                          {{4, false, 60}});
        WriteParadoxTableWithPxlib(oldBase() + QStringLiteral(".Film.DB"),
                                   {{"KassNr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"FilmNr", pxfShort, 2},
                                    {"Titel", pxfAlpha, 40}, {"Len", pxfLong, 4}},
                                   {{4, false, 1, QByteArray("Sch\x94ne Gr\x81\xe1" "e"), QVariant()}}, {}, 850);
        QVERIFY(!ImportOldDatabaseFile(oldBase(), false).isEmpty());
        engine::Table films;
        films.setTableName(DBsDir + QStringLiteral("Videos/DB/Film.DB"));
        films.open();
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 4, 1}));
        QCOMPARE(valueOf(films, "Titel").toString(), QStringLiteral("Schöne Grüße"));
        QVERIFY(valueOf(films, "Len").isNull());
    }

    // An import killed at every step of putting the new database in place
    // and at random moments: the database is absent or whole, the old
    // files unchanged, nothing left beside.
    void killedImportLeavesNothingOrTheWhole()
    {
        QList<QVariantList> media, films;
        for (int nr = 2; nr <= 1500; ++nr) {
            media.append({nr, false, 90, QStringLiteral("Leihe %1").arg(nr)});
            films.append({nr, false, 1, QStringLiteral("Film %1").arg(nr), 90});
        }
        WriteParadoxTable(oldBase() + QStringLiteral(".Kass.DB"),
                          {{"Nr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"Len", pxfShort, 2}, {"Verliehen", pxfAlpha, 40}},
                          media);
        WriteParadoxTable(oldBase() + QStringLiteral(".Film.DB"),
                          {{"KassNr", pxfShort, 2}, {"Kaufkass", pxfLogical, 1}, {"FilmNr", pxfShort, 2}, {"Titel", pxfAlpha, 40},
                           {"Len", pxfShort, 2}},
                          films);
        put(oldBase() + QStringLiteral(".KAT"), "kat\r\n");
        put(oldBase() + QStringLiteral(".LAB"), captionFile(16));
        const QByteArray before = FolderHash(oldDir);
        const QString target = DBsDir + QStringLiteral("Videos");
        int wholes = 0, absents = 0;
        const auto check = [&](const TKillChildEnd &end, const QString &when) {
            QVERIFY2(end.killed || end.exitCode == 0, qPrintable(when));
            QCOMPARE(FolderHash(oldDir), before);
            QVERIFY(RecoverDatabaseSwap(target).error.isEmpty());
            const QStringList left = QDir(DBsDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
            if (left.isEmpty()) {
                ++absents;
                return;
            }
            QCOMPARE(left, QStringList({"Videos", "Videos.tarvo"}));
            const QString damage = CheckDatabaseSet(target);
            QVERIFY2(damage.isEmpty(), qPrintable(damage));
            engine::Table t;
            t.setTableName(target + QStringLiteral("/DB/Film.DB"));
            t.open();
            QCOMPARE(t.recordCount(), 1 + 1499); // the template's film and the old ones
            t.close();
            ++wholes;
            QDir(target).removeRecursively();
            QFile::remove(target + QStringLiteral(".tarvo"));
        };
        const QStringList args = {QStringLiteral("--import"), fx.path(QStringLiteral("prog")), DBsDir, oldBase()};
        // The marker, the folder and the main file moved, the marker gone.
        QCOMPARE(KillAtEveryStepAndAtRandom(args, 6, 4130, [] {}, check), 4);
        // Killed as soon as it works (random moments may all fall late on a
        // busy machine): nothing is there.
        check(RunKillChild(args, 0, 0), QStringLiteral("sofort"));
        QVERIFY(wholes > 0 && absents > 0);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The child of the kill test: one import of generation B into DBsDir.
    if (argc == 5 && qstrcmp(argv[1], "--import") == 0) {
        SettingsFixture fx;
        fx.setUp();
        InitSettingsDefaults(QString::fromLocal8Bit(argv[2]));
        DBsDir = QString::fromLocal8Bit(argv[3]);
        KillChildGo();
        return ImportOldDatabaseFile(QString::fromLocal8Bit(argv[4]), false).isEmpty() ? 1 : 0;
    }
    TstOldImport test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_oldimport.moc"
