#include "app/appmessage.h"

TModalResult AppMessage(const QString &text, const QString &caption, platform::MessageIcon icon,
                        platform::MessageButtons buttons, int defaultButton)
{
    return platform::userDialogs().message(text, caption, icon, buttons, defaultButton);
}

void AppNotice(const QString &caption, const QString &text)
{
    platform::userDialogs().notice(caption, text);
}
