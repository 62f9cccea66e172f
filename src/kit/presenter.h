// The presenter: the one door through which the program shows anything modal.
//
// Every message box, question, input box, modal dialog, file chooser and pop-up
// menu of the program is shown through kit::presenter(). In the program the
// presenter runs the window's modal loop; a test installs a ScriptedPresenter
// (kit/scriptedpresenter.h), which records what would have been shown and
// answers as the test scripted, so no test ever waits in a modal loop.
//
// Rules for code that shows something modal:
//   - A dialog:      TModalResult r = kit::execDialog(dlg);      (never dlg.exec())
//   - A menu:        QAction *a = kit::popupMenu(menu, globalPos); (never menu.exec())
//   - A file name:   QString f = kit::chooseFile({...});          (never QFileDialog::get...)
//   - A message:     ShowMetalMessage (kit/metalmessage.h) for the program's own boxes,
//                    kit::messageBox for the system-style boxes with Yes/No etc.
// A dialog ends its modal loop with done(result), the result being a
// TModalResult (kit/modalresult.h); accept() gives mrOk, reject() mrCancel.
#pragma once

#include "kit/modalresult.h"

#include <QPoint>
#include <QString>
#include <QStringList>

class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QWidget;

namespace kit {

enum class BoxIcon { None, Information, Warning, Error, Question };

// What a modal window shows, as far as a test needs to see it.
struct BoxInfo {
    QString kind;          // class of the window: "TWMsgBoxMetal", "TWiInputBox", "MessageBox", "QMenu", "FileDialog", or the dialog's class name
    QString objectName;    // the window's objectName (dialogs)
    QString caption;       // title (with its mark-up, as given)
    QString text;          // message, prompt or menu items, as given
    bool literal = false;  // the text shows exactly as given (no mark-up interpreted)
    BoxIcon icon = BoxIcon::None;
    QStringList buttons;   // captions of the buttons, left to right
    QString input;         // input boxes: the value the edit starts with; file choosers: the proposed name
    TModalResult defaultResult = mrCancel; // what an unscripted answer gives in a test
    QLineEdit *inputEdit = nullptr;        // input boxes: where a scripted input text goes
};

enum class FileMode { Open, Save, Folder };

struct FileRequest {
    FileMode mode = FileMode::Open;
    QString caption;
    QString folder;        // folder to start in
    QString fileName;      // proposed name (Save) or preselected file
    QString filter;        // Qt filter string, e.g. "Exportdateien (*.txt);;Alle Dateien (*)"
    QString defaultSuffix; // added to a saved name without one, e.g. "txt"
    QWidget *parent = nullptr;
};

class Presenter
{
public:
    virtual ~Presenter() = default;
    // Runs the dialog modally and returns its modal result.
    virtual TModalResult execModal(QDialog &dialog, const BoxInfo &info) = 0;
    // Pops the menu up at a global position; the action chosen, or null.
    virtual QAction *popupMenu(QMenu &menu, const QPoint &globalPos) = 0;
    // Asks for a file or folder; an empty string when the user cancelled.
    virtual QString chooseFile(const FileRequest &request) = 0;
};

// The presenter in force: the program's own unless a test installed another.
Presenter &presenter();
// Installs p (not owned) and returns the one it replaces; null puts the
// program's own presenter back.
Presenter *setPresenter(Presenter *p);

// The BoxInfo of a plain dialog: class name, objectName, window title and the
// captions of its push buttons.
BoxInfo describeDialog(const QDialog &dialog);

// Shorthands for the three kinds of requests.
TModalResult execDialog(QDialog &dialog);
TModalResult execDialog(QDialog &dialog, const BoxInfo &info);
QAction *popupMenu(QMenu &menu, const QPoint &globalPos);
QString chooseFile(const FileRequest &request);

// The system-style message box (plain text, no mark-up) with the platform's
// buttons; used where the design asks the system for a box (confirmations such
// as "Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?").
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
// defaultButton is the index of the button that Enter presses (0: the first).
TModalResult messageBox(const QString &text, const QString &caption,
                        MsgButtons buttons = MsgButtons::Ok, BoxIcon icon = BoxIcon::None,
                        int defaultButton = 0, QWidget *parent = nullptr);

} // namespace kit
