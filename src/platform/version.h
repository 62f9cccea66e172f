// The program's version. It is set in one place, the project() line of the
// top CMakeLists.txt; the update check, the About box and the desktop files
// read it from here.
#pragma once

#include <QString>

namespace platform {

struct TProgramVersion
{
    int Major;
    int Minor;
    int Release;
};

TProgramVersion TarvoVersion();

// "6.6.0".
QString TarvoVersionString();

// The desktop entry's name without ".desktop" (also the AppStream id).
QString TarvoDesktopId();

} // namespace platform
