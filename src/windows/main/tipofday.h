// The main window's tip of the day: the tips of "TarvoTips.ini" in the
// program folder, at random, with "\lb" as line break.
#pragma once

class QWidget;

namespace kit {
class TQurTipDlg;
}

// Sets up the dialog as the main window uses it.
void ConfigureMainTipDialog(kit::TQurTipDlg &dlg);
// Shows a tip; the state of its check box goes into ShowTipODay, and into
// the settings store when it changed.
void ShowTipOfTheDay(QWidget *mainWindow);
