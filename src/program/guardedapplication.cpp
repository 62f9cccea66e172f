#include "program/guardedapplication.h"

#include "app/appmessage.h"
#include "engine/engineerror.h"
#include "platform/deferredreports.h"

#include <exception>

namespace {

// Inside notify a box would run its loop in the middle of the event's work
// (a paint, a key, a timer): the box comes from the event loop instead, once
// for repeats of the same error.
void showLater(const QString &text, const QString &caption)
{
    platform::reportLater(caption + u'\n' + text,
                          [text, caption] { AppMessage(text, caption, platform::MessageIcon::Error); });
}

} // namespace

bool RunGuarded(const std::function<bool()> &handler)
{
    try {
        return handler();
    } catch (const engine::Abort &) {
        // A refused change: its box, if any, was shown where it was refused.
    } catch (const engine::EngineError &e) {
        showLater(e.message(), QStringLiteral("Datenbank-Fehler"));
    } catch (const std::exception &e) {
        showLater(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Der Vorgang wurde abgebrochen.\r")
                      + QString::fromLocal8Bit(e.what()),
                  QStringLiteral("Fehler"));
    } catch (...) {
        showLater(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Der Vorgang wurde abgebrochen."),
                  QStringLiteral("Fehler"));
    }
    return false;
}

bool TGuardedApplication::notify(QObject *receiver, QEvent *event)
{
    return RunGuarded([&] { return QApplication::notify(receiver, event); });
}
