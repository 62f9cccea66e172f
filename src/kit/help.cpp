#include "kit/help.h"

#include "kit/kitfiles.h"
#include "kit/msgboxmetal.h"
#include "platform/help.h"

namespace kit {

namespace {

void programHelp(int context)
{
    const QString why = platform::openHelp(KitProgramFolder(), context);
    if (!why.isEmpty())
        ShowMetalMessage(QStringLiteral("Hilfe"), why, true);
}

HelpHook &current()
{
    static HelpHook hook;
    return hook;
}

} // namespace

HelpHook setHelpHook(HelpHook hook)
{
    HelpHook old = std::move(current());
    current() = std::move(hook);
    return old;
}

void showHelp(int context)
{
    if (current())
        current()(context);
    else
        programHelp(context);
}

} // namespace kit
