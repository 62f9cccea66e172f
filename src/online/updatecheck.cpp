#include "online/updatecheck.h"

#include "kit/presenter.h"
#include "kit/waitbox.h"
#include "online/httpget.h"
#include "online/httpresponse.h"
#include "online/onlineerror.h"

#include <QPointer>
#include <QWidget>

namespace {

const QString kCaption = QStringLiteral("Online-Updateprüfung");
const QString kInvalid = QStringLiteral("Versionsinformation nicht gefunden oder ungültig!");

QString closing()
{
    return QStringLiteral("\r(Um diese Meldung nicht mehr zu erhalten, schalten Sie die automatische "
                          "Updateprüfung (Menü Einstellungen/Online-Update-Prüfung) aus.)\r\rWollen Sie direkt "
                          "die Tarvo-Homepage öffnen, um die neue Version herunterzuladen oder sich über die "
                          "neuen Features zu informieren?");
}

int versionNumber(const QString &line)
{
    bool ok = false;
    const int n = line.trimmed().toInt(&ok);
    if (!ok)
        throw TOnlineError{kInvalid};
    return n;
}

// One check at a time: the waits run the event loop, and a second check
// started from it would share the wait box.
bool g_checking = false;

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

void CheckForUpdate(bool manual, QWidget *owner, const std::function<void()> &openHomepage)
{
    if (g_checking)
        return;
    g_checking = true;
    QStringList log;
    TUpdateMessage msg;
    bool failed = false;
    QString error;
    TWaitbox *box = ShowWaitBox(QStringLiteral("Online-Updateprüfung"),
                                QStringLiteral("Verbindung zu %1...").arg(UpdateServerHost));
    // The box waits with the user: the other windows take no input meanwhile.
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    const QPointer<QWidget> guard(owner);
    try {
        QString response;
        HttpGet(UpdateServerHost, UpdateVersionPath, 256, response, &log, owner);
        const std::optional<QStringList> body = HttpResponseBody(response);
        if (!body || body->size() != 3)
            throw TOnlineError{kInvalid};
        const int major = versionNumber(body->at(0));
        const int minor = versionNumber(body->at(1));
        const int release = versionNumber(body->at(2));
        msg = UpdateMessage(major, minor, release, manual);
    } catch (const TOnlineError &e) {
        failed = true;
        error = e.message;
    }
    CloseWaitBox(box);
    g_checking = false;
    QWidget *parent = guard.data();
    if (failed) {
        if (!manual)
            return;
        QString text = error;
        if (!log.isEmpty()) {
            text += QStringLiteral("\r\rVerbindungsprotokoll:");
            for (const QString &l : log)
                text += QLatin1Char('\r') + l;
        }
        kit::messageBox(text, QStringLiteral("Fehler bei Online-Versionsabfrage"), kit::MsgButtons::Ok,
                        kit::BoxIcon::Error, 0, parent);
        return;
    }
    switch (msg.verdict) {
    case TUpdateVerdict::Nothing:
        return;
    case TUpdateVerdict::Current:
        kit::messageBox(msg.text, kCaption, kit::MsgButtons::Ok, kit::BoxIcon::Information, 0, parent);
        return;
    case TUpdateVerdict::Newer:
    case TUpdateVerdict::Intermediate:
        if (kit::messageBox(msg.text, kCaption, kit::MsgButtons::YesNo, kit::BoxIcon::Question, 0, parent) == mrYes
            && openHomepage)
            openHomepage();
        return;
    }
}

TAutoUpdateAction AutoUpdateAction(int mode)
{
    switch (mode) {
    case 1: return TAutoUpdateAction::Check;
    case 2: return TAutoUpdateAction::None;
    default: return TAutoUpdateAction::Ask;
    }
}
