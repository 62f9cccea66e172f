#include "app/appmessage.h"

TModalResult AppMessage(const QString &text, const QString &caption, kit::BoxIcon icon,
                        kit::MsgButtons buttons, int defaultButton)
{
    return kit::messageBox(text, caption, buttons, icon, defaultButton);
}
