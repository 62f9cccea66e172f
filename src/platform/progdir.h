// The program folder: where the executable lies and, beside it, every file
// the program brings along (skins, resources, templates).
#pragma once

#include <QString>

namespace platform {

// The folder of the running executable, ending in "/". The environment
// variable TARVO_PROGDIR (set by the test runner) or setProgramDir() point it
// elsewhere.
QString programDir();
void setProgramDir(const QString &dir);

} // namespace platform
