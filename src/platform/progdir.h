// The program folder: every file the program brings along (skins, resources,
// templates, tips, the help). In the build folder it is the executable's own
// folder; installed, the executable lies in "bin/" and the folder is
// "share/tarvo/" beside it.
#pragma once

#include <QString>

namespace platform {

// The program folder, ending in "/". The environment variable TARVO_PROGDIR
// (set by the test runner) or setProgramDir() point it elsewhere.
QString programDir();
void setProgramDir(const QString &dir);

// The program folder of an executable in executableDir: the installed one
// (installedFromBin, relative to executableDir) when that folder exists,
// else executableDir itself. Both end in "/".
QString programDirOf(const QString &executableDir, const QString &installedFromBin);

} // namespace platform
