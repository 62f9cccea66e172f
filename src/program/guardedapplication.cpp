#include "program/guardedapplication.h"

#include "app/appmessage.h"
#include "engine/engineerror.h"

#include <exception>

bool RunGuarded(const std::function<bool()> &handler)
{
    try {
        return handler();
    } catch (const engine::Abort &) {
        // A refused change: its box, if any, was shown where it was refused.
    } catch (const engine::EngineError &e) {
        AppMessage(e.message(), QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
    } catch (const std::exception &e) {
        AppMessage(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Der Vorgang wurde abgebrochen.\r")
                       + QString::fromLocal8Bit(e.what()),
                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
    } catch (...) {
        AppMessage(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten. Der Vorgang wurde abgebrochen."),
                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
    }
    return false;
}

bool TGuardedApplication::notify(QObject *receiver, QEvent *event)
{
    return RunGuarded([&] { return QApplication::notify(receiver, event); });
}
