// The figures of the database statistics (free areas against films, NULL
// Frei and persons without a sex stated), the disc serial number as the
// signed field stores it, and the media found by a serial number.
#include "data/databaseinfo.h"
#include "data/mediumserial.h"
#include "data/tableschemas.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "platform/volumeserial.h"
#include "fakevolumereader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TstDatabaseInfo : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> tmp;
    engine::Table media, films, persons;

    QString path(const QString &file) const { return QDir(tmp->path()).filePath(file); }

    // frei: 1 set, 0 cleared, -1 NULL.
    void addFilm(const QString &kind, int nr, int filmNr, const QString &titel, int len, int frei)
    {
        films.append();
        films.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        films.fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
        films.fieldByName(QStringLiteral("FilmNr"))->setAsInteger(filmNr);
        films.fieldByName(QStringLiteral("Titel"))->setAsString(titel);
        films.fieldByName(QStringLiteral("Len"))->setAsInteger(len);
        if (frei < 0)
            films.fieldByName(QStringLiteral("Frei"))->clear();
        else
            films.fieldByName(QStringLiteral("Frei"))->setAsBoolean(frei == 1);
        films.post();
    }
    void addMedium(const QString &kind, int nr, std::optional<qint32> sn = std::nullopt)
    {
        media.append();
        media.fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        media.fieldByName(QStringLiteral("Nr"))->setAsInteger(nr);
        media.fieldByName(QStringLiteral("Len"))->setAsInteger(240);
        if (sn)
            media.fieldByName(QStringLiteral("SN"))->setAsInteger(*sn);
        media.post();
    }
    void addPerson(const QString &name, const QString &mf)
    {
        persons.append();
        persons.fieldByName(QStringLiteral("Name"))->setAsString(name);
        if (!mf.isEmpty())
            persons.fieldByName(QStringLiteral("MF"))->setAsString(mf);
        persons.post();
    }

private slots:
    void init()
    {
        tmp = std::make_unique<QTemporaryDir>();
        engine::createTableFile(path(MediaTableFile), MediaTableDef());
        engine::createTableFile(path(FilmTableFile), FilmTableDef());
        engine::createTableFile(path(PersonTableFile), PersonTableDef());
        media.setTableName(path(MediaTableFile));
        films.setTableName(path(FilmTableFile));
        persons.setTableName(path(PersonTableFile));
        media.open();
        films.open();
        persons.open();
    }
    void cleanup()
    {
        for (engine::Table *t : {&media, &films, &persons})
            t->close();
        platform::setVolumeSerialReader(nullptr);
    }

    void filmsFreeAreasPersonsAndKinds()
    {
        addFilm(QStringLiteral("VHS-SB"), 1, 1, QStringLiteral("Alien"), 90, 0);
        addFilm(QStringLiteral("VHS-SB"), 1, 2, QStringLiteral("Brazil"), 60, -1);  // NULL Frei: a film
        addFilm(QStringLiteral("VHS-SB"), 1, 3, QStringLiteral("FREIER BEREICH"), 30, 1);
        addFilm(QStringLiteral("VHS-SB"), 2, 1, QStringLiteral("FREIER BEREICH"), 45, 1);
        addPerson(QStringLiteral("Anna"), QStringLiteral("F"));
        addPerson(QStringLiteral("Bert"), QStringLiteral("M"));
        addPerson(QStringLiteral("Chris"), QString());
        addPerson(QStringLiteral("Dora"), QStringLiteral("F"));
        addMedium(QStringLiteral("VHS-SB"), 1);
        addMedium(QStringLiteral("VHS-SB"), 2);
        addMedium(QStringLiteral("DVD"), 1);
        const TDatabaseInfo i = ComputeDatabaseInfo(&films, &persons, &media);
        QCOMPARE(i.allFilms, 4);
        QCOMPARE(i.realFilms, 2);
        QCOMPARE(i.freeAreas, 2);
        QCOMPARE(i.lenReal, 150);
        QCOMPARE(i.lenFree, 75);
        QCOMPARE(i.lenAll, 225);
        QCOMPARE(i.avgReal, 75);
        QCOMPARE(i.avgFree, 38); // 37.5 rounded half to even
        // Only "F" counts as a woman; Chris has no sex stated.
        QCOMPARE(i.men, 1);
        QCOMPARE(i.women, 2);
        QCOMPARE(i.unstated, 1);
        QCOMPARE(i.persons, 4);
        QCOMPARE(i.kinds, (QList<QPair<QString, int>>{{QStringLiteral("DVD"), 1}, {QStringLiteral("VHS-SB"), 2}}));
        QCOMPARE(i.mediaSum, 3);
    }

    void noFreeAreasGiveZeroAndClosedTablesNothing()
    {
        addFilm(QStringLiteral("DVD"), 1, 1, QStringLiteral("Alien"), 117, 0);
        TDatabaseInfo i = ComputeDatabaseInfo(&films, &persons, &media);
        QCOMPARE(i.freeAreas, 0);
        QCOMPARE(i.lenFree, 0);
        QCOMPARE(i.avgFree, 0);
        QCOMPARE(i.lenAll, 117);
        QCOMPARE(i.persons, 0);
        QVERIFY(i.kinds.isEmpty());
        persons.close();
        i = ComputeDatabaseInfo(&films, &persons, nullptr);
        QCOMPARE(i.realFilms, 1);
        QCOMPARE(i.persons + i.men + i.women + i.unstated + i.mediaSum, 0);
    }

    void statementsNameTheTablesInQuotes()
    {
        QCOMPARE(PersonInfoSql(QStringLiteral("/db/Pers.DB"), QStringLiteral("M")),
                 (QStringList{"SELECT Count(*) FROM", "\"/db/Pers.DB\"", "WHERE MF=\"M\""}));
        QCOMPARE(MediaKindInfoSql(QStringLiteral("/db/Med.DB")),
                 (QStringList{"SELECT Medium, COUNT(Nr) FROM", "\"/db/Med.DB\"", "GROUP BY Medium"}));
    }

    void countAxisTicksAreWholeNumbers()
    {
        // (largest count, axis end, step): at most ten steps of 1, 2 or 5
        // times a power of ten.
        const struct { int largest; qint64 max, step; } cases[] = {
            {0, 1, 1}, {1, 1, 1}, {10, 10, 1}, {11, 12, 2}, {37, 40, 5}, {250, 250, 50}, {1001, 1200, 200}};
        for (const auto &c : cases) {
            const TCountAxis a = CountAxisFor(c.largest);
            QCOMPARE(a.max, c.max);
            QCOMPARE(a.step, c.step);
            QCOMPARE(a.tickCount(), int(c.max / c.step) + 1);
        }
    }

    void serialAboveTheSignedRangeIsStoredNegative()
    {
        QCOMPARE(SignedSerial(2147483647u), 2147483647);
        QCOMPARE(SignedSerial(2147483648u), qint32(-2147483647 - 1));
        QCOMPARE(SignedSerial(3000000000u), -1294967296);
        QCOMPARE(SignedSerial(4294967295u), -1);
        const QStringList sql =
            SerialMediaSql(QStringLiteral("/db/Med.DB"), QStringLiteral("/db/Film.DB"), SignedSerial(3000000000u));
        QCOMPARE(sql, (QStringList{"SELECT M.Medium, M.Nr, F.Titel AS Film1", "FROM \"/db/Med.DB\" M, ",
                                   "\"/db/Film.DB\" F", "WHERE M.Medium=F.Medium AND M.Nr=F.KassNr AND F.FilmNr=1",
                                   "AND M.SN=-1294967296"}));
    }

    void volumeFactsGiveTheNumber()
    {
        using platform::SerialFromVolumeFacts;
        // The FAT form is the volume serial number itself.
        QCOMPARE(SerialFromVolumeFacts({QStringLiteral("ABCD-1234"), {}, 0}), std::optional<quint32>(0xABCD1234u));
        QCOMPARE(SerialFromVolumeFacts({QStringLiteral("abcd-1234"), {}, 0}), std::optional<quint32>(0xABCD1234u));
        // Any other UUID is folded: the same disc gives the same number.
        const auto a = SerialFromVolumeFacts({QStringLiteral("2023-05-01-12-00-00-00"), {}, 0});
        const auto b = SerialFromVolumeFacts({QStringLiteral("2023-05-01-12-00-00-01"), {}, 0});
        QVERIFY(a && b && *a != *b);
        QCOMPARE(SerialFromVolumeFacts({QStringLiteral("2023-05-01-12-00-00-00"), QStringLiteral("X"), 9}), a);
        // Without one, label and size.
        const auto c = SerialFromVolumeFacts({{}, QStringLiteral("FILME"), 700000000});
        const auto d = SerialFromVolumeFacts({{}, QStringLiteral("FILME"), 700000001});
        QVERIFY(c && d && *c != *d);
        QCOMPARE(SerialFromVolumeFacts({}), std::nullopt);
    }

    void readingGoesThroughTheReader()
    {
        FakeVolumeReader r;
        platform::setVolumeSerialReader(&r);
        qint32 serial = 7;
        QVERIFY(!ReadVolumeSerial(QStringLiteral("/media/cdrom"), serial));
        QCOMPARE(serial, 7);
        r.facts = platform::VolumeFacts{QStringLiteral("ABCD-1234"), {}, 0};
        QVERIFY(ReadVolumeSerial(QStringLiteral("/dev/sr0"), serial));
        QCOMPARE(serial, -1412623820); // 0xABCD1234 - 2^32
        QCOMPARE(r.asked, (QStringList{"/media/cdrom", "/dev/sr0"}));
        // A folder that is no mount point is no drive for the system reader.
        platform::setVolumeSerialReader(nullptr);
        QVERIFY(!ReadVolumeSerial(tmp->path(), serial));
        QVERIFY(!ReadVolumeSerial(QString(), serial));
    }

    void mediaOfASerialNumber()
    {
        const qint32 sn = SignedSerial(3000000000u);
        addMedium(QStringLiteral("DVD"), 1, sn);
        addMedium(QStringLiteral("DVD-R"), 2, sn);
        addMedium(QStringLiteral("CD"), 3, 5);
        addMedium(QStringLiteral("DVD"), 4);
        addFilm(QStringLiteral("DVD"), 1, 1, QStringLiteral("Alien"), 117, 0);
        addFilm(QStringLiteral("DVD"), 1, 2, QStringLiteral("Aliens"), 137, 0);
        addFilm(QStringLiteral("DVD-R"), 2, 1, QStringLiteral("Brazil"), 132, 0);
        QList<TSerialMedium> found = FindMediaBySerial(media, films.tableName(), sn);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].kind + found[1].kind, QStringLiteral("DVDDVD-R"));
        QCOMPARE(found[0].film1 + "|" + found[1].film1, QStringLiteral("Alien|Brazil"));
        // A medium without a first film is found in the media table alone.
        found = FindMediaBySerial(media, films.tableName(), 5);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].kind, QStringLiteral("CD"));
        QCOMPARE(found[0].nr, 3);
        QVERIFY(found[0].film1.isEmpty());
        QVERIFY(FindMediaBySerial(media, films.tableName(), 6).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstDatabaseInfo)
#include "tst_databaseinfo.moc"
