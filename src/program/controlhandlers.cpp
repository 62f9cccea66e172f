#include "program/controlhandlers.h"

#include "dbui/dbnavigator.h"
#include "dbui/errorsink.h"
#include "kit/presenter.h"

void InstallControlHandlers()
{
    dbui::setErrorSink([](const QString &message) {
        kit::messageBox(message, QStringLiteral("Fehler"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
    });
    dbui::DbNavigator::setConfirmHandler([](const QString &question) {
        return kit::messageBox(question, QStringLiteral("Bestätigen"), kit::MsgButtons::YesNo,
                               kit::BoxIcon::Question)
               == mrYes;
    });
}
