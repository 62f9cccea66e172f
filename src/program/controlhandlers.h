// The data-aware controls report errors and ask their delete question
// through replaceable handlers; the program points them at its own boxes.
#pragma once

void InstallControlHandlers();
