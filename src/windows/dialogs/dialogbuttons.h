// The button row the small search and query dialogs share: "Hilfe" at the
// left, "OK" (default) and "Abbruch" at the right, OK and Cancel closing the
// dialog with their results.
#pragma once

class QDialog;
class TOzoNewButton;

struct TDialogButtons {
    TOzoNewButton *help = nullptr, *ok = nullptr, *cancel = nullptr;
};

// The row at height y, its right edge at right; buttons of width w (the
// width of their kind where that is fixed).
TDialogButtons MakeHelpOkCancel(QDialog *dialog, int helpContext, int y, int right, int w = 100);
