// Backup and restore of a database's files: sizes, the age comparison, the
// targets refused, and the copy that replaces a target as a whole or leaves
// it untouched.
#include "data/backup.h"
#include "data/killchild.h"
#include "data/tableschemas.h"
#include "engine/tablefile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void setAge(const QString &path, const QDateTime &when)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// Every file below root with its content's hash, by relative name.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        out.insert(QDir(root).relativeFilePath(path), QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1));
    }
    return out;
}

// A database "Videos" below folder: main file, three tables, a linked file.
QString makeDatabase(const QString &folder, const QByteArray &tag)
{
    const QString base = folder + QStringLiteral("/Videos");
    writeFile(base + QStringLiteral(".tarvo"), "Tarvo " + tag);
    writeFile(base + QStringLiteral("/DB/Med.DB"), QByteArray(3000, 'm') + tag);
    writeFile(base + QStringLiteral("/DB/Film.DB"), QByteArray(5000, 'f') + tag);
    writeFile(base + QStringLiteral("/DB/Pers.DB"), QByteArray(700, 'p') + tag);
    writeFile(base + QStringLiteral("/LNK/kritik.pdf"), "%PDF " + tag);
    return base;
}

// The same with real tables, and a linked file of size bytes: main file and
// linked file tell the states apart.
QString makeRealDatabase(const QString &folder, const QByteArray &tag, int size)
{
    const QString base = folder + QStringLiteral("/Videos");
    writeFile(base + QStringLiteral(".tarvo"), "6.0 " + tag);
    QDir().mkpath(base + QStringLiteral("/DB"));
    engine::createTableFile(base + QStringLiteral("/DB/Med.DB"), MediaTableDef());
    engine::createTableFile(base + QStringLiteral("/DB/Film.DB"), FilmTableDef());
    engine::createTableFile(base + QStringLiteral("/DB/Pers.DB"), PersonTableDef());
    writeFile(base + QStringLiteral("/LNK/film.bin"), QByteArray(size, 'x') + tag);
    return base;
}

} // namespace

class TstBackup : public QObject
{
    Q_OBJECT
private slots:
    void sizes()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("a"), QByteArray(10, 'a'));
        writeFile(dir.filePath("sub/b"), QByteArray(5, 'b'));
        writeFile(dir.filePath("sub/deeper/c"), QByteArray(3, 'c'));
        writeFile(dir.filePath(".versteckt"), QByteArray(7, 'x'));
        QCOMPARE(FolderSize(dir.path(), false), 10);
        QCOMPARE(FolderSize(dir.path(), true), 18);
        QCOMPARE(FolderSize(dir.filePath("fehlt"), true), 0);
        QCOMPARE(FileSizeOf(dir.filePath("a")), 10);
        QCOMPARE(FileSizeOf(dir.filePath("fehlt")), -1);
        const QString base = makeDatabase(dir.filePath("x"), "1");
        // Folder 3001 + 5001 + 701 + 6, main file 7.
        QCOMPARE(BackupNeed(base), 3001 + 5001 + 701 + 6 + 7);
        QCOMPARE(BackupNeed(base + QLatin1Char('/')), BackupNeed(base));
        QVERIFY(BackupFree(dir.filePath("noch/nicht/da/Videos")) > 0);
    }

    void newerTargetIsFound()
    {
        QTemporaryDir dir;
        const QString source = makeDatabase(dir.filePath("quelle"), "alt");
        const QString target = makeDatabase(dir.filePath("ziel"), "neu");
        const QDateTime t0 = QDateTime::currentDateTime().addDays(-10);
        for (const char *n : {"Med.DB", "Film.DB", "Pers.DB"}) {
            setAge(source + "/DB/" + n, t0);
            setAge(target + "/DB/" + n, t0);
        }
        QVERIFY(!BackupIsOlder(source, target));
        setAge(target + "/DB/Pers.DB", t0.addSecs(60));
        QVERIFY(BackupIsOlder(source, target));
        QVERIFY(!BackupIsOlder(target, source));
        setAge(target + "/DB/Pers.DB", t0.addSecs(-60));
        QVERIFY(!BackupIsOlder(source, target));
        // No target at all: nothing newer there.
        QVERIFY(!BackupIsOlder(source, dir.filePath("leer/Videos")));
    }

    void targetsRefused()
    {
        QVERIFY(!BackupTargetRefusal("/daten/Videos", "/daten/Videos/").isEmpty());
        QVERIFY(!BackupTargetRefusal("/daten/Videos", "/daten/Videos/sicherung/Videos").isEmpty());
        QVERIFY(!BackupTargetRefusal("/daten/Videos/", "/daten/./Videos/LNK/Videos").isEmpty());
        QVERIFY(BackupTargetRefusal("/daten/Videos", "/daten/Videos2").isEmpty());
        QVERIFY(BackupTargetRefusal("/daten/Videos", "/sicherung/Videos").isEmpty());
        QString error;
        QVERIFY(!CopyDatabaseFiles("/daten/Videos", "/daten/Videos/x/Videos", {}, &error));
        QVERIFY(!error.isEmpty());
    }

    void copyReplacesTheTargetWhole()
    {
        QTemporaryDir dir;
        const QString source = makeDatabase(dir.filePath("quelle"), "neu");
        const QString target = makeDatabase(dir.filePath("ziel"), "alt");
        writeFile(target + "/DB/Veraltet.DB", "liegt nur im alten Ziel");
        const QDateTime age = QDateTime::currentDateTime().addDays(-3);
        setAge(source + "/DB/Film.DB", age);
        const auto before = snapshot(dir.filePath("quelle"));
        QList<qint64> steps;
        qint64 lastTotal = 0;
        QString error;
        QVERIFY2(CopyDatabaseFiles(source, target,
                                   [&](qint64 done, qint64 total) {
                                       steps << done;
                                       lastTotal = total;
                                       return true;
                                   },
                                   &error),
                 qPrintable(error));
        QCOMPARE(snapshot(dir.filePath("ziel")), snapshot(dir.filePath("quelle")));
        QVERIFY(!QFileInfo::exists(target + "/DB/Veraltet.DB"));
        QCOMPARE(snapshot(dir.filePath("quelle")), before);
        QCOMPARE(steps.last(), lastTotal);
        QCOMPARE(lastTotal, BackupNeed(source));
        // The copy keeps the data's age.
        QCOMPARE(QFileInfo(target + "/DB/Film.DB").lastModified().toSecsSinceEpoch(), age.toSecsSinceEpoch());
        // Nothing else is left beside the target.
        QCOMPARE(QDir(dir.filePath("ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"Videos", "Videos.tarvo"}));
        // A new target folder is made.
        QVERIFY(CopyDatabaseFiles(source, dir.filePath("neu/tief/Videos"), {}, &error));
        QVERIFY(QFileInfo::exists(dir.filePath("neu/tief/Videos/LNK/kritik.pdf")));
        // A table's lock file stays behind: it holds no data.
        writeFile(source + "/DB/Film.LCK", "");
        QVERIFY(CopyDatabaseFiles(source, dir.filePath("ohnesperre/Videos"), {}, &error));
        QVERIFY(QFileInfo::exists(dir.filePath("ohnesperre/Videos/DB/Film.DB")));
        QVERIFY(!QFileInfo::exists(dir.filePath("ohnesperre/Videos/DB/Film.LCK")));
    }

    void copyStoppedHalfWayLeavesTheTarget()
    {
        QTemporaryDir dir;
        const QString source = makeDatabase(dir.filePath("quelle"), "neu");
        const QString target = makeDatabase(dir.filePath("ziel"), "alt");
        const auto before = snapshot(dir.filePath("ziel"));
        int calls = 0;
        QString error;
        QVERIFY(!CopyDatabaseFiles(source, target, [&](qint64, qint64) { return ++calls < 2; }, &error));
        QCOMPARE(error, QStringLiteral("Der Kopiervorgang wurde abgebrochen."));
        QCOMPARE(snapshot(dir.filePath("ziel")), before);
        QCOMPARE(QDir(dir.filePath("ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({"Videos", "Videos.tarvo"}));
        // A source without its main file is refused before anything is written.
        QFile::remove(source + ".tarvo");
        QVERIFY(!CopyDatabaseFiles(source, target, {}, &error));
        QVERIFY(error.contains("Videos.tarvo"));
        QCOMPARE(snapshot(dir.filePath("ziel")), before);
    }

    // A copy killed at every step of its own (each file, the marker, each
    // rename, the end) and at random moments: once the swap is finished
    // the target opens and is the whole old or the whole new database, and
    // nothing is left beside it.
    void killedCopyLeavesOldOrNew()
    {
        QTemporaryDir dir;
        const QString source = makeRealDatabase(dir.filePath("quelle"), "neu", 4 << 20);
        const QString pristine = makeRealDatabase(dir.filePath("vorher"), "alt", 1000);
        const QString target = dir.filePath("ziel/Videos");
        const auto oldState = snapshot(dir.filePath("vorher")), newState = snapshot(dir.filePath("quelle"));
        const auto reset = [&] {
            QString error;
            QVERIFY2(CopyDatabaseFiles(pristine, target, {}, &error), qPrintable(error));
            QCOMPARE(snapshot(dir.filePath("ziel")), oldState);
        };
        int olds = 0, news = 0;
        const auto check = [&](const TKillChildEnd &end, const QString &when) {
            QVERIFY2(end.killed || end.exitCode == 0, qPrintable(when));
            const TSwapRecovery r = RecoverDatabaseSwap(target);
            QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
            const auto state = snapshot(dir.filePath("ziel"));
            QVERIFY2(state == oldState || state == newState, qPrintable(when));
            (state == oldState ? olds : news)++;
            QCOMPARE(QDir(dir.filePath("ziel")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList({"Videos", "Videos.tarvo"}));
            const QString damage = CheckDatabaseSet(target);
            QVERIFY2(damage.isEmpty(), qPrintable(damage));
        };
        const QStringList args = {QStringLiteral("--copy"), source, target};
        // Five files, the marker, four renames, the marker's removal.
        QCOMPARE(KillAtEveryStepAndAtRandom(args, 6, 4131, reset, check), 11);
        QVERIFY(olds > 0 && news > 0);
    }

    void damagedSetsAreFound()
    {
        QTemporaryDir dir;
        const QString base = makeRealDatabase(dir.filePath("s"), "x", 10);
        QVERIFY2(CheckDatabaseSet(base).isEmpty(), qPrintable(CheckDatabaseSet(base)));
        QDir(base + "/DB").removeRecursively();
        QVERIFY(CheckDatabaseSet(base).contains(QStringLiteral("Tabellen fehlt")));
    }
};

int main(int argc, char **argv)
{
    // The child of the kill test: one copy, nothing else.
    if (argc == 4 && qstrcmp(argv[1], "--copy") == 0) {
        QCoreApplication app(argc, argv);
        KillChildGo();
        QString error;
        return CopyDatabaseFiles(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), {}, &error) ? 0 : 1;
    }
    QCoreApplication app(argc, argv);
    TstBackup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_backup.moc"
