#include "kit/help.h"

#include "kit/kitfiles.h"
#include "kit/msgboxmetal.h"
#include "platform/help.h"

namespace kit {

namespace {

void programHelp(int context)
{
    // A test run starts no browser: the help is then "not openable".
    static const bool testRun = qEnvironmentVariableIsSet("TARVO_TEST_RUN");
    const QString why = testRun ? platform::openHelp(KitProgramFolder(), context, [](const QUrl &) { return false; })
                                : platform::openHelp(KitProgramFolder(), context);
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
