#include "data/databasefiles.h"

#include "data/databaseplaces.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "platform/paths.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QFileDevice::Permissions kNormal = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                         | QFileDevice::ReadOther | QFileDevice::ReadUser | QFileDevice::WriteUser;

// Copies one file over its target and gives the copy normal rights.
bool copyNormal(const QString &from, const QString &to)
{
    if (!QFileInfo(from).isFile())
        return false;
    if (QFileInfo::exists(to)) {
        QFile::setPermissions(to, kNormal);
        if (!QFile::remove(to))
            return false;
    }
    return QFile::copy(from, to) && QFile::setPermissions(to, kNormal);
}

} // namespace

bool CopyTableFiles(const QString &sourcePrefix, const QString &targetFolder, const QString &sourceTable,
                    const QString &targetTable)
{
    const QString target = platform::withTrailingSeparator(targetFolder) + QStringLiteral("DB/") + targetTable;
    const QString source = platform::toNativeSeparators(sourcePrefix) + sourceTable;
    if (!copyNormal(source + QStringLiteral(".DB"), target + QStringLiteral(".DB")))
        return false;
    // Our tables keep index, checks and memos in the one file; side files are
    // copied only where a template still has them.
    for (const char *ext : {".PX", ".VAL", ".MB"}) {
        if (targetTable.compare(QLatin1String("LAB"), Qt::CaseInsensitive) == 0 && QLatin1String(ext) == QLatin1String(".MB"))
            continue;
        const QString src = source + QLatin1String(ext);
        if (QFileInfo::exists(src) && !copyNormal(src, target + QLatin1String(ext)))
            return false;
    }
    return true;
}

bool CopyTemplateTable(const QString &targetFolder, const QString &table)
{
    return CopyTableFiles(ProgDir + QStringLiteral("Def60."), targetFolder, table, table);
}

QString StripTarvoExtensions(const QString &name)
{
    QString n = name;
    while (n.toUpper().endsWith(QLatin1String(".TARVO")))
        n.chop(6);
    return n;
}

bool CreateDatabaseFiles(const QString &path, bool copyCategories, bool copyCaptions)
{
    return CreateDatabaseFiles(TDatabasePlaces::fromPath(path), copyCategories, copyCaptions);
}

bool CreateDatabaseFiles(const TDatabasePlaces &places, bool copyCategories, bool copyCaptions)
{
    const QString &p = places.Name;
    const QString &mainFile = places.MainFile;
    const QString dbDir = places.Base + QStringLiteral("DB");
    // A database already standing there would lose its tables to the
    // templates: refuse instead.
    for (const QString &f : {mainFile, places.MediaTable, places.FilmTable, places.PersBase + QStringLiteral(".DB")}) {
        if (QFileInfo::exists(f)) {
            AppMessage(QStringLiteral("Unter dem Namen \"%1\" besteht bereits eine Tarvo-Datenbank (\"%2\"). Sie wird "
                                      "nicht überschrieben; bitte wählen Sie einen anderen Namen.")
                           .arg(p, f),
                       QStringLiteral("Fehler"), platform::MessageIcon::Error);
            return false;
        }
    }
    QDir().mkpath(QFileInfo(mainFile).absolutePath());
    platform::writeTextLines(mainFile, {QStringLiteral("6.0")});
    QDir().mkpath(dbDir);
    QDir().mkpath(places.LinkDir);
    if (!QFileInfo(mainFile).isFile() || !QFileInfo(dbDir).isDir()) {
        AppMessage(QStringLiteral("Fehler beim Erzeugen des Verzeichnisses \"%1\" oder der Hauptdatei \"%2\".")
                       .arg(dbDir, mainFile),
                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
        return false;
    }
    bool ok = CopyTemplateTable(p, QStringLiteral("Film")) && CopyTemplateTable(p, QStringLiteral("Med"))
              && CopyTemplateTable(p, QStringLiteral("Pers"));
    if (ok && copyCategories)
        ok = copyNormal(ProgDir + QStringLiteral("Def60.KAT"), places.Categories);
    if (ok && copyCaptions)
        ok = CopyTemplateTable(p, QStringLiteral("LAB"))
             && copyNormal(ProgDir + QStringLiteral("Def60.Pers.LAB"), places.PersCaptions);
    if (!ok) {
        AppMessage(QStringLiteral("Fehler beim Schreiben der Dateien!"), QStringLiteral("Fehler!"), platform::MessageIcon::Error);
        return false;
    }
    return true;
}
