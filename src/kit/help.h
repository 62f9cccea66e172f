// The help hook: what every Help button (and F1) calls. In the program it
// opens the help file (platform/help.h) and, when there is none, says so in a
// message box; tests install their own hook to see which context was asked.
#pragma once

#include <functional>

namespace kit {

using HelpHook = std::function<void(int context)>;

// Installs hook and returns the one it replaces; an empty hook puts the
// program's own back.
HelpHook setHelpHook(HelpHook hook);

// Shows the help at the given help context (0: the start page).
void showHelp(int context);

} // namespace kit
