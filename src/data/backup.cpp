#include "data/backup.h"

#include "data/databaseplaces.h"
#include "engine/engineerror.h"
#include "engine/table.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUuid>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString withoutSeparator(QString base)
{
    while (base.size() > 1 && base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString mainFile(const QString &base)
{
    return withoutSeparator(base) + QStringLiteral(".tarvo");
}

// A test run names the step (counted from 1 over every copy) at which the
// process kills itself: "TARVO_KILL_AT_STEP". Nothing happens otherwise.
void crashPoint()
{
    static const int killAt = qEnvironmentVariableIntValue("TARVO_KILL_AT_STEP");
    static int passed = 0;
    if (killAt > 0 && ++passed == killAt)
        std::raise(SIGKILL);
}

// Writes what the system holds of the file or folder to the disc.
bool syncPath(const QString &path, bool folder)
{
    const int fd = ::open(QFile::encodeName(path).constData(), (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString parentOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// The marker of a swap under way at target: it names the copy's tag.
QString swapMarker(const QString &target)
{
    return target + QStringLiteral(".tarvo-tausch");
}

const QString CopyTagPrefix = QStringLiteral(".tarvo-kopie-");

bool removeEntry(const QString &path)
{
    const QFileInfo fi(path);
    if (fi.isDir() && !fi.isSymLink())
        return QDir(path).removeRecursively();
    return !fi.exists() && !fi.isSymLink() ? true : QFile::remove(path);
}

// Every file below folder, relative to it, with subfolders first created.
struct CopyJob {
    QStringList dirs;
    QStringList files;
    qint64 bytes = 0;
};

void collect(const QString &root, const QString &rel, CopyJob &job)
{
    const QDir dir(rel.isEmpty() ? root : root + QLatin1Char('/') + rel);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &fi : entries) {
        const QString name = rel.isEmpty() ? fi.fileName() : rel + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() && !fi.isSymLink()) {
            job.dirs << name;
            collect(root, name, job);
        } else if (fi.isFile() && !fi.fileName().endsWith(QLatin1String(".LCK"), Qt::CaseInsensitive)) {
            // A table's lock file holds no data, only the byte locks of the
            // programs that have the table open: it is made anew where needed.
            job.files << name;
            job.bytes += fi.size();
        }
    }
}

bool copyFile(const QString &from, const QString &to, qint64 &done, qint64 total, const BackupProgress &progress,
              QString *error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(from, in.errorString());
        return false;
    }
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2").arg(to, out.errorString());
        return false;
    }
    QByteArray buf;
    for (;;) {
        buf = in.read(1 << 20);
        if (buf.isEmpty())
            break;
        if (out.write(buf) != buf.size()) {
            *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(to, out.errorString());
            return false;
        }
        done += buf.size();
        if (progress && !progress(done, total)) {
            *error = QStringLiteral("Der Kopiervorgang wurde abgebrochen.");
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2").arg(from, in.errorString());
        return false;
    }
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(to, out.errorString());
        return false;
    }
    // The copy keeps the modification time, so a later comparison of ages
    // sees the data's age and not the time of the backup.
    out.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    out.close();
    crashPoint();
    return true;
}

std::function<qint64(const QString &)> &freeProbe()
{
    static std::function<qint64(const QString &)> probe;
    return probe;
}

} // namespace

void SetBackupFreeProbe(std::function<qint64(const QString &folder)> probe)
{
    freeProbe() = std::move(probe);
}

qint64 FolderSize(const QString &folder, bool withSubfolders)
{
    qint64 total = 0;
    const QDir dir(folder);
    if (!dir.exists())
        return 0;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &fi : entries) {
        if (fi.fileName().startsWith(QLatin1Char('.')))
            continue;
        if (fi.isDir()) {
            if (withSubfolders && !fi.isSymLink())
                total += FolderSize(fi.absoluteFilePath(), true);
        } else {
            total += fi.size();
        }
    }
    return total;
}

qint64 FileSizeOf(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return f.size();
}

bool BackupIsOlder(const QString &sourceBase, const QString &targetBase)
{
    const QString s = withoutSeparator(sourceBase), t = withoutSeparator(targetBase);
    for (const char *name : {"Med.DB", "Film.DB", "Pers.DB"}) {
        const QFileInfo target(t + QStringLiteral("/DB/") + QLatin1String(name));
        const QFileInfo source(s + QStringLiteral("/DB/") + QLatin1String(name));
        if (target.exists() && target.lastModified() > source.lastModified())
            return true;
    }
    return false;
}

qint64 BackupNeed(const QString &sourceBase)
{
    return FolderSize(withoutSeparator(sourceBase), true) + qMax<qint64>(0, FileSizeOf(mainFile(sourceBase)));
}

qint64 BackupFree(const QString &targetBase)
{
    QFileInfo fi(withoutSeparator(targetBase));
    QString dir = fi.absolutePath();
    while (!QFileInfo::exists(dir) && dir.size() > 1)
        dir = QFileInfo(dir).absolutePath();
    if (freeProbe())
        return freeProbe()(dir);
    const QStorageInfo info(dir);
    return info.isValid() ? info.bytesAvailable() : 0;
}

QString BackupTargetRefusal(const QString &sourceBase, const QString &targetBase)
{
    const QString s = QDir::cleanPath(QFileInfo(withoutSeparator(sourceBase)).absoluteFilePath());
    const QString t = QDir::cleanPath(QFileInfo(withoutSeparator(targetBase)).absoluteFilePath());
    if (t == s)
        return QStringLiteral("Quelle und Ziel sind dieselbe Datenbank. Bitte wählen Sie einen anderen Ordner.");
    if (t.startsWith(s + QLatin1Char('/')))
        return QStringLiteral("Das Ziel liegt im Ordner der zu kopierenden Datenbank selbst. Bitte wählen Sie einen "
                              "anderen Ordner.");
    return QString();
}

TSwapRecovery RecoverDatabaseSwap(const QString &base)
{
    TSwapRecovery result;
    const QString target = withoutSeparator(base);
    if (target.isEmpty())
        return result;
    const QString parent = parentOf(target), name = QFileInfo(target).fileName();
    const QString marker = swapMarker(target);
    QFile m(marker);
    if (m.exists()) {
        const QString tag = m.open(QIODevice::ReadOnly) ? QString::fromUtf8(m.readAll()).trimmed() : QString();
        m.close();
        if (!tag.startsWith(CopyTagPrefix) || tag.contains(QLatin1Char('/'))) {
            result.error = QStringLiteral("Die Markierung \"%1\" einer unterbrochenen Sicherung ist unlesbar; die "
                                          "Datenbank \"%2\" wurde nicht verändert.")
                               .arg(QDir::toNativeSeparators(marker), QDir::toNativeSeparators(target));
            return result;
        }
        // The copy was complete and on the disc before the marker was
        // written: the swap is finished, folder and main file each on
        // their own, wherever it stopped.
        const auto finish = [&](const QString &now, const QString &copy, const QString &old) {
            if (!QFileInfo::exists(copy))
                return true; // already in place
            if (QFileInfo::exists(now) || QFileInfo(now).isSymLink()) {
                if (QFileInfo::exists(old) || !QDir().rename(now, old))
                    return false;
            }
            return QDir().rename(copy, now);
        };
        const QString copy = target + tag, old = target + tag + QStringLiteral("-alt");
        if (!finish(target, copy, old)
            || !finish(mainFile(target), copy + QStringLiteral(".tarvo"), old + QStringLiteral(".tarvo"))) {
            result.error = QStringLiteral("Eine unterbrochene Sicherung nach \"%1\" lässt sich nicht abschließen. Die "
                                          "neue Kopie liegt in \"%2\", die vorige in \"%3\".")
                               .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(copy),
                                    QDir::toNativeSeparators(old));
            return result;
        }
        syncPath(parent, true);
        QFile::remove(marker);
        syncPath(parent, true);
        result.completed = true;
    }
    // What an interrupted copy left beside the target: an unfinished copy
    // (no marker was written for it) or a previous state not yet removed.
    const QStringList leftovers = QDir(parent).entryList({name + CopyTagPrefix + QLatin1Char('*')},
                                                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : leftovers)
        removeEntry(parent + QLatin1Char('/') + entry);
    QFile::remove(marker + QStringLiteral(".neu"));
    return result;
}

QString CheckDatabaseSet(const QString &base)
{
    const TDatabasePlaces places = TDatabasePlaces::fromBase(withoutSeparator(base));
    if (!QFileInfo(places.MainFile).isFile())
        return QStringLiteral("Die Datei \"%1\" fehlt.").arg(QDir::toNativeSeparators(places.MainFile));
    if (!QFileInfo(places.DBDir).isDir())
        return QStringLiteral("Der Ordner \"%1\" mit den Tabellen fehlt.").arg(QDir::toNativeSeparators(withoutSeparator(places.DBDir)));
    // Without media or films the database does not open; the person and
    // caption tables, which it can make anew, are read where they are.
    QStringList tables = {places.MediaTable, places.FilmTable};
    for (const QString &optional : {places.PersBase + QStringLiteral(".DB"), places.tablePath(QStringLiteral("LAB"))})
        if (QFileInfo::exists(optional) || QFileInfo(optional).isSymLink())
            tables << optional;
    for (const QString &path : std::as_const(tables)) {
        if (!QFileInfo::exists(path))
            return QStringLiteral("Die Tabelle \"%1\" fehlt.").arg(QDir::toNativeSeparators(path));
        engine::Table t;
        try {
            t.setTableName(path);
            t.setReadOnly(true);
            t.open();
            // Every value of every record, memos and pictures too.
            for (t.first(); !t.eof(); t.next())
                for (int i = 0; i < t.fieldCount(); ++i)
                    t.field(i)->value();
            t.close();
        } catch (const engine::EngineError &e) {
            return e.message();
        } catch (const std::exception &e) {
            return QStringLiteral("Die Tabelle \"%1\" lässt sich nicht lesen: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(e.what()));
        }
    }
    return QString();
}

bool CopyDatabaseFiles(const QString &sourceBase, const QString &targetBase, const BackupProgress &progress,
                       QString *error)
{
    QString dummy;
    QString &err = error ? *error : dummy;
    err.clear();
    const QString source = withoutSeparator(sourceBase), target = withoutSeparator(targetBase);
    const QString refusal = BackupTargetRefusal(source, target);
    if (!refusal.isEmpty()) {
        err = refusal;
        return false;
    }
    if (!QFileInfo(mainFile(source)).isFile()) {
        err = QStringLiteral("Die Datei \"%1\" fehlt.").arg(mainFile(source));
        return false;
    }
    const QString parent = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(parent)) {
        err = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(parent);
        return false;
    }
    // A swap that a crash cut short is finished before anything else.
    for (const QString &base : {source, target}) {
        const TSwapRecovery r = RecoverDatabaseSwap(base);
        if (!r.error.isEmpty()) {
            err = r.error;
            return false;
        }
    }
    CopyJob job;
    if (QFileInfo(source).isDir())
        collect(source, QString(), job);
    const qint64 total = job.bytes + QFileInfo(mainFile(source)).size();

    // Everything goes beside the target under a name of its own first.
    const QString tag = NewDatabaseCopyTag();
    const QString newFolder = target + tag;
    const QString newMain = target + tag + QStringLiteral(".tarvo");
    auto cleanUp = [&] {
        QDir(newFolder).removeRecursively();
        QFile::remove(newMain);
    };
    qint64 done = 0;
    if (!QDir().mkpath(newFolder)) {
        err = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(newFolder);
        return false;
    }
    for (const QString &d : job.dirs)
        if (!QDir().mkpath(newFolder + QLatin1Char('/') + d)) {
            err = QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(newFolder + QLatin1Char('/') + d);
            cleanUp();
            return false;
        }
    for (const QString &f : job.files)
        if (!copyFile(source + QLatin1Char('/') + f, newFolder + QLatin1Char('/') + f, done, total, progress, &err)) {
            cleanUp();
            return false;
        }
    if (!copyFile(mainFile(source), newMain, done, total, progress, &err)) {
        cleanUp();
        return false;
    }
    return InstallDatabaseCopy(target, tag, &err);
}

QString NewDatabaseCopyTag()
{
    return CopyTagPrefix + QUuid::createUuid().toString(QUuid::Id128).left(8);
}

bool InstallDatabaseCopy(const QString &targetBase, const QString &tag, QString *error)
{
    QString dummy;
    QString &err = error ? *error : dummy;
    const QString target = withoutSeparator(targetBase), parent = parentOf(target);
    const QString newFolder = target + tag;
    const QString newMain = target + tag + QStringLiteral(".tarvo");
    auto cleanUp = [&] {
        QDir(newFolder).removeRecursively();
        QFile::remove(newMain);
    };
    // Every file and folder of the copy reaches the disc, deepest first.
    CopyJob job;
    collect(newFolder, QString(), job);
    bool synced = syncPath(newMain, false);
    for (const QString &f : std::as_const(job.files))
        synced = syncPath(newFolder + QLatin1Char('/') + f, false) && synced;
    for (auto d = job.dirs.crbegin(); d != job.dirs.crend(); ++d)
        synced = syncPath(newFolder + QLatin1Char('/') + *d, true) && synced;
    synced = syncPath(newFolder, true) && syncPath(parent, true) && synced;

    // The marker says the copy is whole: from here a crash finishes the
    // swap (RecoverDatabaseSwap) instead of losing the copy.
    const QString marker = swapMarker(target);
    {
        QFile m(marker + QStringLiteral(".neu"));
        synced = synced && m.open(QIODevice::WriteOnly | QIODevice::Truncate) && m.write(tag.toUtf8()) == tag.size()
            && m.flush() && ::fsync(m.handle()) == 0;
    }
    if (!synced || !QFile::rename(marker + QStringLiteral(".neu"), marker) || !syncPath(parent, true)) {
        QFile::remove(marker + QStringLiteral(".neu"));
        QFile::remove(marker);
        err = QStringLiteral("Die Kopie in \"%1\" lässt sich nicht sicher auf den Datenträger schreiben.").arg(newFolder);
        cleanUp();
        return false;
    }
    crashPoint();

    // Swap: the old target steps aside, the copy takes its place, then the
    // old one goes. Should a step fail, the old one comes back.
    const QString oldFolder = target + tag + QStringLiteral("-alt");
    const QString oldMain = target + tag + QStringLiteral("-alt.tarvo");
    const bool hadFolder = QFileInfo::exists(target), hadMain = QFileInfo::exists(mainFile(target));
    const auto step = [](bool ok) {
        if (ok)
            crashPoint();
        return ok;
    };
    if ((hadFolder && !step(QDir().rename(target, oldFolder)))
        || (hadMain && !step(QFile::rename(mainFile(target), oldMain)))) {
        if (hadFolder && QFileInfo::exists(oldFolder))
            QDir().rename(oldFolder, target);
        QFile::remove(marker);
        err = QStringLiteral("Die vorhandene Datenbank \"%1\" kann nicht ersetzt werden (wird sie gerade benutzt?).")
                  .arg(target);
        cleanUp();
        return false;
    }
    if (!step(QDir().rename(newFolder, target)) || !step(QFile::rename(newMain, mainFile(target)))) {
        QDir(target).removeRecursively();
        QFile::remove(mainFile(target));
        if (hadFolder)
            QDir().rename(oldFolder, target);
        if (hadMain)
            QFile::rename(oldMain, mainFile(target));
        QFile::remove(marker);
        err = QStringLiteral("Die Kopie kann nicht an ihren Platz \"%1\" gebracht werden.").arg(target);
        cleanUp();
        return false;
    }
    // The previous state goes only once the new one is on the disc.
    syncPath(parent, true);
    QFile::remove(marker);
    syncPath(parent, true);
    crashPoint();
    QDir(oldFolder).removeRecursively();
    QFile::remove(oldMain);
    return true;
}
