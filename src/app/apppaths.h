// Path rules: relative names resolve against the program folder, the per-user
// folder, the database folder or the open database's "LNK" folder. A name is
// absolute when it starts with "/" (or is a stored Windows drive or share
// name); web addresses ("HTTP:" or "HTTPS:", any case) are never paths.
#pragma once

#include <QString>

bool IsAbsolutePath(const QString &s);
// True for a web address: "HTTP:" or "HTTPS:" at the start, in any case.
bool IsWebAddress(const QString &s);
QString ExpandProgramPath(const QString &s);
// Short (8.3) names have no meaning on this platform; the flag is kept
// so callers read as they were written.
QString ExpandProfilePath(const QString &s, bool shortForm = false);
QString ExpandDBPath(const QString &s);
QString ExpandLinkPath(const QString &s);
// s cut after its last separator (the separator kept).
QString ExtractDirectory(const QString &s);
// The program folder (platform/progdir.h), with a trailing separator.
QString GetProgramDir();
// The folder proposed for new databases: "DBs/" in the program folder when
// the user may write there (the folder, or the program folder while it is
// missing); else, as for an installed program, "Ozo-Software/Tarvo/DBs/"
// below the user's data folder userDataBase ($XDG_DATA_HOME).
QString DefaultDatabaseFolder(const QString &progDir, const QString &userDataBase);
