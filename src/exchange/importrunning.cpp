#include "exchange/importrunning.h"

TImportRunningDoor ImportRunningDoor;

void ShowImportRunning()
{
    if (ImportRunningDoor.Show)
        ImportRunningDoor.Show();
}

void HideImportRunning()
{
    if (ImportRunningDoor.Hide)
        ImportRunningDoor.Hide();
}
