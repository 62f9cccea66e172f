// The update check: the version file from the product's server against the
// program's own version, and the start-up rule of the stored mode. The check
// runs on the socket's signals and hands its result to the caller, which
// shows it; nothing here opens a window.
#pragma once

#include "platform/version.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

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

// The end of a check: the message, or the failure with its connection log.
struct TUpdateCheckResult
{
    bool failed = false;
    QString error;
    QStringList log;
    TUpdateMessage message;
};

// The verdict on a whole response (as HttpGet gives it): a status other than
// 200, a body of other than three lines or a line that is no number is
// "Versionsinformation nicht gefunden oder ungültig!".
TUpdateCheckResult JudgeVersionResponse(const QString &response, bool manual);

// A failure as the check by hand reports it: the error and, when there is a
// log, "Verbindungsprotokoll:" and every line of it.
QString UpdateFailureText(const TUpdateCheckResult &result);

// Fetches the version file and judges it; returns at once. done gets the
// result once, from the event loop; with an owner the check ends silently
// (done destroyed uncalled) when the owner goes first.
using TUpdateCheckDone = std::function<void(const TUpdateCheckResult &)>;
void StartUpdateCheck(bool manual, QObject *owner, TUpdateCheckDone done);

// The start-up rule of the mode "UpdChk": 0 ask, 1 check, 2 never.
enum class TAutoUpdateAction { None, Check, Ask };
TAutoUpdateAction AutoUpdateAction(int mode);
