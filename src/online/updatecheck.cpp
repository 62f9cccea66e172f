#include "online/updatecheck.h"

#include "online/httpget.h"
#include "online/httpresponse.h"

#include <optional>

namespace {

const QString kInvalid = QStringLiteral("Versionsinformation nicht gefunden oder ungültig!");

QString closing()
{
    return QStringLiteral("\r(Um diese Meldung nicht mehr zu erhalten, schalten Sie die automatische "
                          "Updateprüfung (Menü Einstellungen/Online-Update-Prüfung) aus.)\r\rWollen Sie direkt "
                          "die Tarvo-Homepage öffnen, um die neue Version herunterzuladen oder sich über die "
                          "neuen Features zu informieren?");
}

std::optional<int> versionNumber(const QString &line)
{
    bool ok = false;
    const int n = line.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace

TUpdateMessage UpdateMessage(int major, int minor, int release, bool manual)
{
    const QString text = QStringLiteral("Es ist eine neuere Version von Tarvo verfügbar: Version %1.%2.%3\r")
                             .arg(major)
                             .arg(minor)
                             .arg(release);
    if (major > ProgramVersionMajor || (major == ProgramVersionMajor && minor > ProgramVersionMinor))
        return {TUpdateVerdict::Newer, text + closing()};
    if (major == ProgramVersionMajor && minor == ProgramVersionMinor) {
        if (release > ProgramVersionRelease)
            return {TUpdateVerdict::Intermediate,
                    text + QStringLiteral("Es handelt sich um geringfügige Änderungen, z.B. ein BugFix oder eine "
                                          "sog. \"Zwischenversion\", in die ein neues Feature eingebaut wurde. ")
                        + closing()};
        if (manual)
            return {TUpdateVerdict::Current, QStringLiteral("Sie verwenden die aktuelle Tarvo-Version.")};
    }
    return {};
}

TUpdateCheckResult JudgeVersionResponse(const QString &response, bool manual)
{
    TUpdateCheckResult r;
    // A page of another status (404 "Nicht gefunden" and the like) is no
    // version file, whatever numbers it holds.
    const std::optional<QStringList> body = HttpResponseBody(response);
    std::optional<int> v[3];
    if (HttpResponseStatus(response) == 200 && body && body->size() == 3)
        for (int i = 0; i < 3; ++i)
            v[i] = versionNumber(body->at(i));
    if (!v[0] || !v[1] || !v[2]) {
        r.failed = true;
        r.error = kInvalid;
        return r;
    }
    r.message = UpdateMessage(*v[0], *v[1], *v[2], manual);
    return r;
}

QString UpdateFailureText(const TUpdateCheckResult &result)
{
    QString text = result.error;
    if (!result.log.isEmpty()) {
        text += QStringLiteral("\r\rVerbindungsprotokoll:");
        for (const QString &l : result.log)
            text += QLatin1Char('\r') + l;
    }
    return text;
}

void StartUpdateCheck(bool manual, QObject *owner, TUpdateCheckDone done)
{
    HttpGet(UpdateServerHost, UpdateVersionPath, 256, owner, [manual, done = std::move(done)](const THttpResult &h) {
        TUpdateCheckResult r;
        if (h.ok) {
            r = JudgeVersionResponse(h.response, manual);
        } else {
            r.failed = true;
            r.error = h.error;
        }
        r.log = h.log;
        done(r);
    });
}

TAutoUpdateAction AutoUpdateAction(int mode)
{
    switch (mode) {
    case 1: return TAutoUpdateAction::Check;
    case 2: return TAutoUpdateAction::None;
    default: return TAutoUpdateAction::Ask;
    }
}
