// The free-field captions against the caption table and the person file, the
// value lists and type-ahead, and storing file links.
#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "data/freefieldlinks.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Row
{
    QString set;
    int nr;
    QString label;
    bool fl = false;
    bool person = false;
};

} // namespace

class TestFreeFieldLabels : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString base;
    std::unique_ptr<engine::Session> session;
    std::unique_ptr<engine::Table> lab;
    QList<TUserMessage> messages;

    TMessageSink sink()
    {
        return [this](const TUserMessage &m) { messages << m; };
    }

    void addRows(const QList<Row> &rows)
    {
        QVERIFY(OpenCaptionTable(*lab, base));
        for (const Row &r : rows) {
            lab->append();
            lab->fieldByName("ANH")->setAsString(r.set);
            lab->fieldByName("FreeNr")->setAsInteger(r.nr);
            lab->fieldByName("Label")->setAsString(r.label);
            lab->fieldByName("FreeIsFL")->setAsBoolean(r.fl);
            lab->fieldByName("FreeIsPerson")->setAsBoolean(r.person);
            lab->post();
        }
    }

    // A fresh media table of the test's database, open in t.
    void openMedia(engine::Table &t)
    {
        const QString media = base + "DB/Med.DB";
        engine::createTableFile(media, MediaTableDef());
        t.setTableName(media);
        t.open();
    }

    // Every row of the table as "SET/nr=label" (with "+L" for a link, "+P" for a person field).
    QStringList rows()
    {
        QStringList out;
        for (lab->first(); !lab->eof(); lab->next()) {
            QString s = lab->fieldByName("ANH")->asString() + QLatin1Char('/')
                        + lab->fieldByName("FreeNr")->asString() + QLatin1Char('=')
                        + lab->fieldByName("Label")->asString();
            if (lab->fieldByName("FreeIsFL")->asBoolean())
                s += QStringLiteral("+L");
            if (lab->fieldByName("FreeIsPerson")->asBoolean())
                s += QStringLiteral("+P");
            out << s;
        }
        out.sort();
        return out;
    }

private slots:
    void init()
    {
        base = QDir(tmp.path()).filePath(QStringLiteral("Samml%1/").arg(QTest::currentTestFunction()));
        QVERIFY(QDir().mkpath(base + "DB"));
        QVERIFY(QDir().mkpath(base + "LNK"));
        DBBase = base;
        engine::createTableFile(CaptionTablePath(base), CaptionTableDef());
        session = std::make_unique<engine::Session>();
        lab = std::make_unique<engine::Table>(session.get());
        messages.clear();
        ResetFreeFieldLabels();
    }
    void cleanup()
    {
        lab.reset();
        session.reset();
    }

    void reservedKinds()
    {
        for (const char *k : {"FILM", "kass", "Pers", " KASS "})
            QVERIFY2(IsReservedCaptionSet(QLatin1String(k)), k);
        for (const char *k : {"DVD", "VHS-SB", "FILMS", "KAS"})
            QVERIFY2(!IsReservedCaptionSet(QLatin1String(k)), k);
        QVERIFY(ReservedKindText("film").contains("\"film\""));
    }

    void numbersAndAmpersands()
    {
        QCOMPARE(DefaultFreeCaption(12), QStringLiteral("Frei&12"));
        QCOMPARE(FreeNrToStr(15), QStringLiteral("15"));
        QCOMPARE(FreeNrToStr(0), QStringLiteral("1"));
        QCOMPARE(FreeNrToStr(16), QStringLiteral("1"));
        QCOMPARE(StripAmpersands("&Regie && Buch"), QStringLiteral("Regie  Buch"));
        // Out of range: ignored, getters empty.
        SetMediumFreeLabel(6, "x");
        QCOMPARE(GetMediumFreeLabel(6), QString());
        QVERIFY(!GetFilmFreeIsPerson(0));
    }

    void filmFlagsExclude()
    {
        SetFilmFreeIsPerson(3, true);
        SetFilmFreeIsFileLink(3, true);
        QVERIFY(GetFilmFreeIsFileLink(3));
        QVERIFY(!GetFilmFreeIsPerson(3));
        SetFilmFreeIsPerson(3, true);
        QVERIFY(!GetFilmFreeIsFileLink(3));
        // Switching one off leaves the other as it was.
        SetFilmFreeIsFileLink(3, false);
        QVERIFY(GetFilmFreeIsPerson(3));
    }

    void listenersHearChanges()
    {
        QList<int> heard;
        const int id = SubscribeFreeFieldLabels([&](TFreeKind k, int n) {
            if (k == TFreeKind::Medium)
                heard << n;
        });
        SetMediumFreeLabel(2, "Preis");
        SetMediumFreeLabel(2, "Preis"); // unchanged: no notice
        SetMediumFreeIsFileLink(4, true);
        UnsubscribeFreeFieldLabels(id);
        SetMediumFreeLabel(1, "y");
        QCOMPARE(heard, (QList<int>{2, 4}));
    }

    void loadFallsBackToKassThenDefault()
    {
        addRows({{"KASS", 1, "&Regal", true}, {"KASS", 2, "&Preis"}, {"DVD", 2, "&Sprache"}});
        QVERIFY(LoadMediumFreeFieldLabels(*lab, base, "DVD", sink()));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("&Regal"));
        QVERIFY(GetMediumFreeIsFileLink(1));
        QCOMPARE(GetMediumFreeLabel(2), QStringLiteral("&Sprache"));
        QCOMPARE(GetMediumFreeLabel(3), QStringLiteral("Frei&3"));
        QVERIFY(!GetMediumFreeIsFileLink(3));
        // The kind is cut to six characters; letter case counts.
        QVERIFY(LoadMediumFreeFieldLabels(*lab, base, "dvd", sink()));
        QCOMPARE(GetMediumFreeLabel(2), QStringLiteral("&Preis"));
        QVERIFY(messages.isEmpty());
    }

    void loadWithoutTable()
    {
        SetMediumFreeIsFileLink(2, true);
        SetFilmFreeLabel(1, "Regie");
        QFile::remove(CaptionTablePath(base));
        QVERIFY(!LoadFreeFieldLabels(*lab, base, "DVD", QString(), sink()));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Fehler"));
        QVERIFY(messages[0].text.startsWith("Die Label-Datenbank " + base + "DB/LAB.DB, die die"));
        QCOMPARE(GetMediumFreeLabel(2), QStringLiteral("Frei&2"));
        QVERIFY(GetMediumFreeIsFileLink(2));                // flags stay
        QCOMPARE(GetFilmFreeLabel(1), QStringLiteral("Regie")); // film captions stay
    }

    void loadFilmRows()
    {
        addRows({{"FILM", 1, "&Regie", false, true}, {"FILM", 2, "Both", true, true}, {"FILM", 3, "Datei", true}});
        SetFilmFreeLabel(4, "stale");
        QVERIFY(LoadFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QVERIFY(GetFilmFreeIsPerson(1));
        QVERIFY(GetFilmFreeIsPerson(2));
        QVERIFY(!GetFilmFreeIsFileLink(2)); // both on: a person field
        QVERIFY(GetFilmFreeIsFileLink(3));
        QCOMPARE(GetFilmFreeLabel(4), QStringLiteral("Frei&4"));
    }

    void saveKindAgainstKass()
    {
        addRows({{"KASS", 1, "&Regal"}, {"KASS", 2, "&Preis", true}, {"KASS", 3, "Frei&3"},
                 {"KASS", 4, "Frei&4"}, {"KASS", 5, ""}});
        QVERIFY(LoadMediumFreeFieldLabels(*lab, base, "VHS-SB", sink()));
        const QStringList before = rows();

        // Unchanged: the kind inherits everything, no row is made.
        QVERIFY(SaveFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QCOMPARE(rows(), before);

        // One caption changed: exactly that row.
        SetMediumFreeLabel(2, "&Wert");
        QVERIFY(SaveFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QCOMPARE(rows(), QStringList(before) << "VHS-SB/2=&Wert+L");

        // Only the flag differs: a row too.
        SetMediumFreeIsFileLink(1, true);
        QVERIFY(SaveFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QVERIFY(rows().contains("VHS-SB/1=&Regal+L"));

        // Back to the general value: the rows go again.
        SetMediumFreeLabel(2, "&Preis");
        SetMediumFreeIsFileLink(1, false);
        QVERIFY(SaveFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QCOMPARE(rows(), before);

        // An own row whose caption is emptied is deleted.
        addRows({{"VHS-SB", 4, "&Ort"}});
        SetMediumFreeLabel(4, QString());
        QVERIFY(SaveFreeFieldLabels(*lab, base, "VHS-SB", QString(), sink()));
        QCOMPARE(rows(), before);
        QVERIFY(messages.isEmpty());
    }

    void saveKassWritesAllFive()
    {
        addRows({{"KASS", 1, "&Regal"}});
        for (int n = 1; n <= 5; ++n)
            SetMediumFreeLabel(n, DefaultFreeCaption(n));
        SetMediumFreeLabel(1, "Fach");
        SetMediumFreeLabel(3, QString());
        QVERIFY(SaveFreeFieldLabels(*lab, base, "KASS", QString(), sink()));
        // An empty caption without a row equals the empty reference: no row.
        QCOMPARE(rows(), (QStringList{"KASS/1=Fach", "KASS/2=Frei&2", "KASS/4=Frei&4", "KASS/5=Frei&5"}));
    }

    void saveFilmSkipsEmpty()
    {
        addRows({{"FILM", 2, "alt"}});
        for (int n = 1; n <= 15; ++n)
            SetFilmFreeLabel(n, QString());
        SetFilmFreeLabel(1, "&Regie");
        SetFilmFreeIsPerson(1, true);
        SetFilmFreeLabel(15, "Datei");
        SetFilmFreeIsFileLink(15, true);
        QVERIFY(SaveFreeFieldLabels(*lab, base, "FILM", QString(), sink()));
        QCOMPARE(rows(), (QStringList{"FILM/15=Datei+L", "FILM/1=&Regie+P", "FILM/2=alt"}));
    }

    void saveMakesMissingTable()
    {
        // The table file is gone: it is made from the template, then saved.
        WriteTemplate();
        QFile::remove(CaptionTablePath(base));
        SetMediumFreeLabel(1, "Fach");
        QVERIFY(SaveFreeFieldLabels(*lab, base, "KASS", QString(), sink()));
        QVERIFY(rows().contains("KASS/1=Fach"));
    }

    void saveRefusedWithoutTemplate()
    {
        ProgDir = QDir(tmp.path()).filePath("noprog/");
        QFile::remove(CaptionTablePath(base));
        QVERIFY(!SaveFreeFieldLabels(*lab, base, "KASS", QString(), sink()));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Speichern von Beschriftungen fehlgeschlagen!"));
        QVERIFY(messages[0].text.endsWith("existiert nicht und lässt sich auch nicht neu erzeugen!"));
    }

    void personFlagBits()
    {
        bool f[7];
        PersonFlagsFromByte(16, f);
        QCOMPARE(QList<bool>(f, f + 7), (QList<bool>{false, false, false, true, false, false, false}));
        PersonFlagsFromByte(8, f);
        QCOMPARE(QList<bool>(f, f + 7), (QList<bool>(7, false)));
        PersonFlagsFromByte(0x80 | 0x04 | 0x01, f);
        QCOMPARE(QList<bool>(f, f + 7), (QList<bool>{true, false, true, false, false, false, true}));
        bool all[7] = {true, true, true, true, true, true, true};
        QCOMPARE(int(PersonFlagsToByte(all)), 0xF7);
    }

    void personFileBytes()
    {
        // Field 7 a link: the flag byte is above 127 and must come back as is.
        const QByteArray bytes = "Geb&urtstag\r\nAdresse\r\nTel\r\nHomepage\r\nE-Mail\r\nNotiz\r\n\x90\r\nFoto\r\n";
        ParsePersonLabels(bytes);
        QCOMPARE(GetPersonFreeLabel(1), QStringLiteral("Geb&urtstag"));
        QCOMPARE(GetPersonFreeLabel(7), QStringLiteral("Foto"));
        QVERIFY(GetPersonFreeIsFileLink(4)); // 0x90: bits 4 and 7
        QVERIFY(GetPersonFreeIsFileLink(7));
        QVERIFY(!GetPersonFreeIsFileLink(1));
        QCOMPARE(FormatPersonLabels(), bytes);

        // A NUL flag byte and Windows-1252 text survive a write and read.
        const QString path = base + "DB/Pers.LAB";
        ParsePersonLabels(QByteArray("Gr\xf6\xdf" "e\r\n2\r\n3\r\n4\r\n5\r\n6\r\n") + QByteArray(1, '\0') + "\r\n7\r\n");
        QCOMPARE(GetPersonFreeLabel(1), QStringLiteral("Größe"));
        QVERIFY(SaveFreeFieldLabels(*lab, base, "PERS", path, sink()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Gr\xf6\xdf" "e\r\n2\r\n3\r\n4\r\n5\r\n6\r\n") + QByteArray(1, '\0') + "\r\n7\r\n");
        QVERIFY(!lab->active()); // the person captions never touch the table
        // Without a person table there is no file to write.
        QCOMPARE(PersonLabelsPath(QString()), QString());
        QVERIFY(!SaveFreeFieldLabels(*lab, base, "PERS", QString(), sink()));
        QCOMPARE(messages.size(), 1);
    }

    void personFileShort()
    {
        SetPersonFreeIsFileLink(2, true);
        ParsePersonLabels("Eins\r\nZwei\r\n");
        QCOMPARE(GetPersonFreeLabel(2), QStringLiteral("Zwei"));
        QCOMPARE(GetPersonFreeLabel(3), QStringLiteral("Frei&3"));
        QCOMPARE(GetPersonFreeLabel(7), QStringLiteral("Frei&7"));
        QVERIFY(!GetPersonFreeIsFileLink(2));
        // A missing file leaves the person captions alone.
        SetPersonFreeLabel(1, "bleibt");
        LoadFreeFieldLabels(*lab, base, "DVD", base + "DB/fehlt.LAB", sink());
        QCOMPARE(GetPersonFreeLabel(1), QStringLiteral("bleibt"));
    }

    void linkTexts()
    {
        QCOMPARE(LinkTextForPath(base, base + "LNK/a.pdf", 40), QStringLiteral("a.pdf"));
        QCOMPARE(LinkTextForPath(base, base + "x/a.pdf", 40), QStringLiteral("../x/a.pdf"));
        QCOMPARE(LinkTextForPath(base, "/home/u/a.pdf", 40), QStringLiteral("/home/u/a.pdf"));
        QCOMPARE(LinkTextForPath(base, "/home/u/a.pdf", 12), QString());
        QVERIFY(IsInLinkFolder(base, base + "lnk/a.pdf"));
        QVERIFY(!IsInLinkFolder(base, base + "x/a.pdf"));
    }

    void storeLinkInField()
    {
        engine::Table t(session.get());
        openMedia(t);
        t.append();
        engine::Field *f = t.fieldByName("Free1"); // 40 characters
        QVERIFY(StoreLinkPath(*f, base + "x/a.pdf", sink()));
        QCOMPARE(f->asString(), QStringLiteral("../x/a.pdf"));
        const QString longPath = "/" + QString(60, 'd') + "/a.pdf";
        QVERIFY(!StoreLinkPath(*f, longPath, sink()));
        QCOMPARE(f->asString(), QStringLiteral("../x/a.pdf"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Dateiverknüpfung nicht möglich!"));
        QVERIFY(messages[0].text.contains("fasst nur 40 Zeichen"));
        t.cancel();
    }

    void copyIntoLinkFolder()
    {
        engine::Table t(session.get());
        openMedia(t);
        t.append();
        engine::Field *f = t.fieldByName("Free5");
        QTemporaryDir outside;
        auto write = [](const QString &p, const QByteArray &b) {
            QFile file(p);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(b);
        };
        write(outside.filePath("a.txt"), "eins");
        QVERIFY(CopyFileIntoLinkFolder(*f, outside.filePath("a.txt"), sink()));
        QCOMPARE(f->asString(), QStringLiteral("a.txt"));
        // The same file again: the copy there is linked.
        QVERIFY(CopyFileIntoLinkFolder(*f, outside.filePath("a.txt"), sink()));
        QVERIFY(messages.isEmpty());
        // Another file of that name: never overwritten, the original linked.
        QTemporaryDir other;
        write(other.filePath("a.txt"), "zwei");
        QVERIFY(CopyFileIntoLinkFolder(*f, other.filePath("a.txt"), sink()));
        QCOMPARE(f->asString(), other.filePath("a.txt"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Datei konnte nicht kopiert werden!"));
        QFile kept(base + "LNK/a.txt");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("eins"));
        t.cancel();
    }

    void collectionFolder()
    {
        engine::Table t(session.get());
        openMedia(t);
        t.append();
        t.fieldByName("Medium")->setAsString("DVD");
        t.fieldByName("Nr")->setAsInteger(7);
        t.fieldByName("Len")->setAsInteger(0);
        // Cancelled: nothing happens.
        QVERIFY(!CreateCollectionFolder(t, *t.fieldByName("Free5"), "DVD-Nr7", [](QString &) { return false; },
                                        sink()));
        QVERIFY(!QFileInfo::exists(base + "LNK/DVD-Nr7"));
        QVERIFY(CreateCollectionFolder(t, *t.fieldByName("Free5"), "DVD-Nr7",
                                       [](QString &n) { n += "b"; return true; }, sink()));
        QVERIFY(QFileInfo(base + "LNK/DVD-Nr7b").isDir());
        QCOMPARE(t.state(), engine::DataSetState::Browse);
        QCOMPARE(t.fieldByName("Free5")->asString(), QStringLiteral("DVD-Nr7b"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Sammelorder erstellt"));
    }

    void valueListsAndTypeAhead()
    {
        const QString films = base + "DB/Film.DB";
        engine::createTableFile(films, FilmTableDef());
        engine::Table t(session.get());
        t.setTableName(films);
        t.open();
        for (int i = 0; i < 300; ++i) {
            t.append();
            t.fieldByName("Medium")->setAsString("DVD");
            t.fieldByName("KassNr")->setAsInteger(1);
            t.fieldByName("FilmNr")->setAsInteger(i + 1);
            t.fieldByName("Free1")->setAsString(QStringLiteral("Wert %1").arg(i, 3, 10, QLatin1Char('0')));
            t.fieldByName("Free2")->setAsString(i == 0 ? "Abd" : i == 1 ? "Abc" : i == 2 ? "Ab" : "x%y");
            t.post();
        }
        QStringList items;
        FillFreeFieldValueList(t, 1, false, QString(), nullptr, items);
        QCOMPARE(items.size(), 255);
        QCOMPARE(items.first(), QStringLiteral("Wert 000"));
        // Filled once until the list is cleared.
        items = QStringList{"alt"};
        FillFreeFieldValueList(t, 1, false, QString(), nullptr, items);
        QCOMPARE(items, QStringList{"alt"});
        QCOMPARE(FreeFieldValues(t, 2, false, QString(), nullptr), (QStringList{"Ab", "Abc", "Abd", "x%y"}));

        QCOMPARE(FindTypeAheadCompletion(t, 2, "Ab"), QStringLiteral("Abc"));
        QCOMPARE(FindTypeAheadCompletion(t, 2, "Abc"), QString());
        QCOMPARE(FindTypeAheadCompletion(t, 2, "ab"), QString()); // letter case counts
        QCOMPARE(FindTypeAheadCompletion(t, 2, "x%"), QStringLiteral("x%y"));
        QCOMPARE(FindTypeAheadCompletion(t, 2, "%"), QString()); // a typed % is no wildcard
        QCOMPARE(FindTypeAheadCompletion(t, 2, "\"'"), QString());

        TTypeAheadText typed{"Ab", 2};
        TTypeAheadText done = ApplyCompletion(typed, "Abc");
        QCOMPARE(done.text, QStringLiteral("Abc"));
        QCOMPARE(done.cursor, 2);
        QCOMPARE(done.selStart, 2);
        QCOMPARE(done.selLength, 1);
        QVERIFY(UndoCompletion(done));
        QCOMPARE(done.text, QStringLiteral("Ab"));
        QCOMPARE(done.cursor, 2);
        QVERIFY(!UndoCompletion(done)); // nothing more to undo
        TTypeAheadText mid{"Abc", 1, 0, 1}; // a selection not reaching the end
        QVERIFY(!UndoCompletion(mid));
    }

    void mediumValueListFollowsOwnRow()
    {
        engine::Table t(session.get());
        openMedia(t);
        const QList<std::pair<QString, QString>> rowsIn{{"DVD", "d1"}, {"VHS-SB", "v1"}, {"DVD", "d2"}};
        int nr = 1;
        for (const auto &r : rowsIn) {
            t.append();
            t.fieldByName("Medium")->setAsString(r.first);
            t.fieldByName("Nr")->setAsInteger(nr++);
            t.fieldByName("Len")->setAsInteger(0);
            t.fieldByName("Free3")->setAsString(r.second);
            t.post();
        }
        addRows({{"KASS", 3, "Ort"}});
        QCOMPARE(FreeFieldValues(t, 3, true, "DVD", lab.get()), (QStringList{"d1", "d2", "v1"}));
        addRows({{"DVD", 3, "Sprache"}});
        QCOMPARE(FreeFieldValues(t, 3, true, "DVD", lab.get()), (QStringList{"d1", "d2"}));
        // A kind with a double quote is bound, not spliced.
        QCOMPARE(FreeFieldValues(t, 3, true, "D\"V", lab.get()).size(), 3);
    }

private:
    void WriteTemplate()
    {
        ProgDir = QDir(tmp.path()).filePath("prog/");
        QDir().mkpath(ProgDir);
        CreateTemplateTables(ProgDir);
    }
};

QTEST_GUILESS_MAIN(TestFreeFieldLabels)
#include "tst_freefieldlabels.moc"
