// The failure of an online step: a German text the caller shows (or keeps
// quiet about, as the update check at start does).
#pragma once

#include <QString>

struct TOnlineError
{
    QString message;
};
