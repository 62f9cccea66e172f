// Applying the look keywords of the command line and "tarvo.par" (app/startup.h
// reads them) to the kit's switches.
#pragma once

#include "app/startup.h"

#include <functional>

// Starts the program file again without arguments; replaceable by tests.
extern std::function<bool()> StartProgramAgain;

// Tests see the look actions here instead of the kit's switches.
extern std::function<void(TLookAction)> ApplyLookActionHook;
// Applies the actions in their order; "Restart" starts the program again and
// asks the application to quit (AppTerminating is set).
void ApplyLookActions(const QList<TLookAction> &actions);
