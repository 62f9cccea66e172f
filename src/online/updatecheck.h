// The update check: the version file from the product's server against the
// program's own version, and the start-up rule of the stored mode.
#pragma once

#include "platform/version.h"

#include <QString>

#include <functional>

class QWidget;

// The program's version.
inline const int ProgramVersionMajor = platform::TarvoVersion().Major;
inline const int ProgramVersionMinor = platform::TarvoVersion().Minor;
inline const int ProgramVersionRelease = platform::TarvoVersion().Release;

// The version file's path on the product's server.
inline const QString UpdateVersionPath = QStringLiteral("/tarvoversion.txt");

// What a version found means for the user.
enum class TUpdateVerdict {
    Nothing,      // older than ours, or ours at start
    Newer,        // a newer minor or major version: the offer
    Intermediate, // 6.6.x with x > 0: the offer, as minor changes
    Current,      // ours, asked by hand
};

struct TUpdateMessage
{
    TUpdateVerdict verdict = TUpdateVerdict::Nothing;
    QString text; // the question or the note; empty for Nothing
};

TUpdateMessage UpdateMessage(int major, int minor, int release, bool manual);

// Fetches the version file, compares and asks; Yes calls openHomepage. A
// failure is shown (with the connection log) only when manual is set.
void CheckForUpdate(bool manual, QWidget *owner, const std::function<void()> &openHomepage);

// The start-up rule of the mode "UpdChk": 0 ask, 1 check, 2 never.
enum class TAutoUpdateAction { None, Check, Ask };
TAutoUpdateAction AutoUpdateAction(int mode);
