#include "app/apppaths.h"

#include "app/settings.h"
#include "platform/paths.h"
#include "platform/progdir.h"

#include <QFileInfo>


bool IsAbsolutePath(const QString &s)
{
    return platform::isAbsolutePath(s);
}

bool IsWebAddress(const QString &s)
{
    return s.startsWith(QLatin1String("HTTP:"), Qt::CaseInsensitive)
           || s.startsWith(QLatin1String("HTTPS:"), Qt::CaseInsensitive);
}

static QString expandAgainst(const QString &folder, const QString &s)
{
    if (IsAbsolutePath(s) || IsWebAddress(s))
        return platform::toNativeSeparators(s);
    return platform::withTrailingSeparator(folder) + platform::toNativeSeparators(s);
}

QString ExpandProgramPath(const QString &s)
{
    return expandAgainst(ProgDir, s);
}

QString ExpandProfilePath(const QString &s, bool)
{
    if (IsAbsolutePath(s) || IsWebAddress(s))
        return platform::toNativeSeparators(s);
    return expandAgainst(GetProfileDir(), s);
}

QString ExpandDBPath(const QString &s)
{
    return expandAgainst(DBsDir, s);
}

QString ExpandLinkPath(const QString &s)
{
    if (IsAbsolutePath(s) || IsWebAddress(s))
        return s;
    return expandAgainst(DBBase + QStringLiteral("LNK/"), s);
}

QString ExtractDirectory(const QString &s)
{
    const qsizetype i = std::max(s.lastIndexOf(u'/'), s.lastIndexOf(u'\\'));
    return i < 0 ? QString() : s.left(i + 1);
}

QString GetProgramDir()
{
    // The folder of the program's files: the executable's own in the build
    // folder, "share/tarvo/" when installed.
    return platform::programDir();
}

QString DefaultDatabaseFolder(const QString &progDir, const QString &userDataBase)
{
    const QString inProgram = platform::withTrailingSeparator(progDir) + QStringLiteral("DBs/");
    const QFileInfo dbs(inProgram), prog(progDir);
    if (dbs.isDir() ? dbs.isWritable() : prog.isDir() && prog.isWritable())
        return inProgram;
    return platform::withTrailingSeparator(userDataBase) + QStringLiteral("Ozo-Software/Tarvo/DBs/");
}
