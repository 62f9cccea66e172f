// The window "Import läuft..." shown while an old database is transferred
// record by record. The windows fill in the door; unset, nothing is shown.
#pragma once

#include <functional>

struct TImportRunningDoor
{
    std::function<void()> Show;
    std::function<void()> Hide;
};
extern TImportRunningDoor ImportRunningDoor;

void ShowImportRunning();
void HideImportRunning();

// Shows the window for its own lifetime.
class TImportRunningScope
{
public:
    TImportRunningScope() { ShowImportRunning(); }
    ~TImportRunningScope() { HideImportRunning(); }
    TImportRunningScope(const TImportRunningScope &) = delete;
    TImportRunningScope &operator=(const TImportRunningScope &) = delete;
};
