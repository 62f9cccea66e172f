#include "platform/version.h"

#include "tarvo_config.h"

namespace platform {

TProgramVersion TarvoVersion()
{
    return {TARVO_VERSION_MAJOR, TARVO_VERSION_MINOR, TARVO_VERSION_RELEASE};
}

QString TarvoVersionString()
{
    const TProgramVersion v = TarvoVersion();
    return QStringLiteral("%1.%2.%3").arg(v.Major).arg(v.Minor).arg(v.Release);
}

QString TarvoDesktopId()
{
    return QStringLiteral(TARVO_APP_ID);
}

} // namespace platform
