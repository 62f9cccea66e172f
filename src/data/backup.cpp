#include "data/backup.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUuid>

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
        } else if (fi.isFile()) {
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
    if (!out.flush()) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(to, out.errorString());
        return false;
    }
    // The copy keeps the modification time, so a later comparison of ages
    // sees the data's age and not the time of the backup.
    out.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
    out.close();
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
    CopyJob job;
    if (QFileInfo(source).isDir())
        collect(source, QString(), job);
    const qint64 total = job.bytes + QFileInfo(mainFile(source)).size();

    // Everything goes beside the target under a name of its own first.
    const QString tag = QStringLiteral(".tarvo-kopie-") + QUuid::createUuid().toString(QUuid::Id128).left(8);
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

    // Swap: the old target steps aside, the copy takes its place, then the
    // old one goes. Should the second step fail, the old one comes back.
    const QString oldFolder = target + tag + QStringLiteral("-alt");
    const QString oldMain = target + tag + QStringLiteral("-alt.tarvo");
    const bool hadFolder = QFileInfo::exists(target), hadMain = QFileInfo::exists(mainFile(target));
    if ((hadFolder && !QDir().rename(target, oldFolder)) || (hadMain && !QFile::rename(mainFile(target), oldMain))) {
        if (hadFolder && QFileInfo::exists(oldFolder))
            QDir().rename(oldFolder, target);
        err = QStringLiteral("Die vorhandene Datenbank \"%1\" kann nicht ersetzt werden (wird sie gerade benutzt?).")
                  .arg(target);
        cleanUp();
        return false;
    }
    if (!QDir().rename(newFolder, target) || !QFile::rename(newMain, mainFile(target))) {
        QDir(target).removeRecursively();
        QFile::remove(mainFile(target));
        if (hadFolder)
            QDir().rename(oldFolder, target);
        if (hadMain)
            QFile::rename(oldMain, mainFile(target));
        err = QStringLiteral("Die Kopie kann nicht an ihren Platz \"%1\" gebracht werden.").arg(target);
        cleanUp();
        return false;
    }
    QDir(oldFolder).removeRecursively();
    QFile::remove(oldMain);
    return true;
}
