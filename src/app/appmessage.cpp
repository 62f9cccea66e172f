#include "app/appmessage.h"

TModalResult AppMessage(const QString &text, const QString &caption, kit::BoxIcon icon,
                        kit::MsgButtons buttons, int defaultButton)
{
    // The texts break their lines with a carriage return; Qt's plain text
    // breaks at line feeds.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return kit::messageBox(shown, caption, buttons, icon, defaultButton);
}
