#include "platform/progdir.h"

#include "platform/paths.h"

#include <QCoreApplication>

namespace platform {

namespace {
QString &overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    const QString env = qEnvironmentVariable("TARVO_PROGDIR");
    if (!env.isEmpty())
        return withTrailingSeparator(env);
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

void setProgramDir(const QString &dir)
{
    overrideDir() = dir.isEmpty() ? QString() : withTrailingSeparator(dir);
}

} // namespace platform
