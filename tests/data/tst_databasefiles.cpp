#include "app/settingsfixture.h"
#include "data/databasefiles.h"
#include "data/databaseplaces.h"
#include "app/settings.h"

#include <QFile>
#include <QtTest>

class TstDatabaseFiles : public QObject
{
    Q_OBJECT
    SettingsFixture fx;

    void put(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void init()
    {
        fx.setUp();
        for (const char *t : {"Film", "Med", "Pers", "LAB"})
            put(ProgDir + QStringLiteral("Def60.") + QLatin1String(t) + QStringLiteral(".DB"), QByteArray("T-") + t);
        put(ProgDir + QStringLiteral("Def60.KAT"), "kat");
        put(ProgDir + QStringLiteral("Def60.Pers.LAB"), "perslab");
    }

    void makesFilesAndFolders()
    {
        const QString p = fx.path(QStringLiteral("dbs/Neu"));
        QVERIFY(CreateDatabaseFiles(p, true, true));
        QCOMPARE(read(p + QStringLiteral(".tarvo")), QByteArray("6.0\r\n"));
        QVERIFY(QFileInfo(p + QStringLiteral("/LNK")).isDir());
        QCOMPARE(read(p + QStringLiteral("/DB/Med.DB")), QByteArray("T-Med"));
        QCOMPARE(read(p + QStringLiteral("/DB/Film.DB")), QByteArray("T-Film"));
        QCOMPARE(read(p + QStringLiteral("/DB/Pers.DB")), QByteArray("T-Pers"));
        QCOMPARE(read(p + QStringLiteral("/DB/LAB.DB")), QByteArray("T-LAB"));
        QCOMPARE(read(p + QStringLiteral("/DB/KAT")), QByteArray("kat"));
        QCOMPARE(read(p + QStringLiteral("/DB/Pers.LAB")), QByteArray("perslab"));
        QVERIFY(QFileInfo(p + QStringLiteral("/DB/Med.DB")).isWritable());
        QCOMPARE(fx.presenter->shown().size(), 0);
        // Without categories and captions.
        const QString q = fx.path(QStringLiteral("dbs/Roh"));
        QVERIFY(CreateDatabaseFiles(q, false, false));
        QVERIFY(!QFile::exists(q + QStringLiteral("/DB/KAT")));
        QVERIFY(!QFile::exists(q + QStringLiteral("/DB/LAB.DB")));
    }

    void existingDatabaseIsNotOverwritten()
    {
        const QString p = fx.path(QStringLiteral("dbs/Alt"));
        put(p + QStringLiteral("/DB/Med.DB"), "meine Daten");
        QVERIFY(!CreateDatabaseFiles(p, true, true));
        QCOMPARE(read(p + QStringLiteral("/DB/Med.DB")), QByteArray("meine Daten"));
        QVERIFY(!QFile::exists(p + QStringLiteral(".tarvo")));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fehler"));
    }

    void failures()
    {
        // The folder cannot be made: the main-file message.
        put(fx.path(QStringLiteral("blocker")), "x");
        QVERIFY(!CreateDatabaseFiles(fx.path(QStringLiteral("blocker/Neu")), true, true));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fehler"));
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Fehler beim Erzeugen des Verzeichnisses \"%1/DB\" oder der Hauptdatei \"%1.tarvo\".")
                     .arg(fx.path(QStringLiteral("blocker/Neu"))));
        // A template missing from the program folder: the write message.
        QFile::remove(ProgDir + QStringLiteral("Def60.Pers.DB"));
        const QString p = fx.path(QStringLiteral("dbs/Halb"));
        QVERIFY(!CreateDatabaseFiles(p, true, true));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fehler!"));
        QCOMPARE(fx.presenter->last().text, QStringLiteral("Fehler beim Schreiben der Dateien!"));
        QCOMPARE(fx.presenter->last().icon, kit::BoxIcon::Error);
        QVERIFY(QFile::exists(p + QStringLiteral("/DB/Med.DB"))); // what was copied stays
    }

    void tarvoExtensionsAreStripped()
    {
        QCOMPARE(StripTarvoExtensions(QStringLiteral("/a/x.tarvo.TARVO")), QStringLiteral("/a/x"));
        QCOMPARE(StripTarvoExtensions(QStringLiteral("x")), QStringLiteral("x"));
        QCOMPARE(StripTarvoExtensions(QStringLiteral("x.tarvo.db")), QStringLiteral("x.tarvo.db"));
    }

    void placesComeFromTheNameOnce()
    {
        const TDatabasePlaces p = TDatabasePlaces::fromPath(QStringLiteral("/c/Filme/"));
        QCOMPARE(p.Name, QStringLiteral("/c/Filme"));
        QCOMPARE(p.MainFile, QStringLiteral("/c/Filme.tarvo"));
        QCOMPARE(p.Base, QStringLiteral("/c/Filme/"));
        QCOMPARE(p.DBDir, QStringLiteral("/c/Filme/DB/"));
        QCOMPARE(p.LinkDir, QStringLiteral("/c/Filme/LNK/"));
        QCOMPARE(p.MediaTable, QStringLiteral("/c/Filme/DB/Med.DB"));
        QCOMPARE(p.FilmTable, QStringLiteral("/c/Filme/DB/Film.DB"));
        QCOMPARE(p.PersBase, QStringLiteral("/c/Filme/DB/Pers"));
        QCOMPARE(p.Categories, QStringLiteral("/c/Filme/DB/KAT"));
        QCOMPARE(p.PersCaptions, QStringLiteral("/c/Filme/DB/Pers.LAB"));
        QCOMPARE(p.tablePath(QStringLiteral("LAB")), QStringLiteral("/c/Filme/DB/LAB.DB"));
        QCOMPARE(TDatabasePlaces::fromBase(QStringLiteral("/c/Filme/")).MainFile, p.MainFile);
        QVERIFY(TDatabasePlaces::fromPath(QString()).isEmpty());
        // A chosen name: its ".tarvo" dropped, a relative one under the
        // databases' folder.
        DBsDir = fx.path(QStringLiteral("dbs/"));
        const TDatabasePlaces chosen = TDatabasePlaces::fromName(QStringLiteral("Neu.tarvo"));
        QCOMPARE(chosen.MainFile, fx.path(QStringLiteral("dbs/Neu.tarvo")));
        QCOMPARE(chosen.MediaTable, fx.path(QStringLiteral("dbs/Neu/DB/Med.DB")));
    }
};

QTEST_MAIN(TstDatabaseFiles)
#include "tst_databasefiles.moc"
