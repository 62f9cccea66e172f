#include "platform/progdir.h"

#include "platform/paths.h"
#include "tarvo_config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString programDirOf(const QString &executableDir, const QString &installedFromBin)
{
    if (!installedFromBin.isEmpty()) {
        const QString installed = QDir::cleanPath(QDir(executableDir).filePath(installedFromBin));
        if (QFileInfo(installed).isDir())
            return withTrailingSeparator(installed);
    }
    return withTrailingSeparator(executableDir);
}

QString programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString env = qEnvironmentVariable("TARVO_PROGDIR");
    if (!env.isEmpty())
        return withTrailingSeparator(env);
    static const QString dir =
        programDirOf(QCoreApplication::applicationDirPath(), QStringLiteral(TARVO_DATA_FROM_BIN));
    return dir;
}

void setProgramDir(const QString &dir)
{
    overrideDir() = dir.isEmpty() ? QString() : withTrailingSeparator(dir);
}

} // namespace platform
