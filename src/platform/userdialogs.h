// The one door through which the layers without windows (app, data) talk to
// the user: questions, messages, file choosers, password prompts, help and
// progress. They never open a window themselves; the program installs its
// implementation at start (program/programdialogs.h: the kit's presenter and
// boxes, the password dialog, the wait box), and a test installs a scripted
// one or that same implementation over the kit's scripted presenter.
//
// Line breaks in texts are written "\r" as in all the program's texts.
#pragma once

#include "platform/modalresult.h"

#include <QString>

namespace platform {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

enum class FileChoiceMode { Open, Save, Folder };
struct FileChoice {
    FileChoiceMode mode = FileChoiceMode::Open;
    QString caption;
    QString folder;        // folder to start in
    QString fileName;      // proposed name (Save) or preselected file
    QString filter;        // e.g. "Tarvo-Datenbanken (*.tarvo)"
    QString defaultSuffix; // added to a saved name without one
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // The system-style box with its buttons (defaultButton: the index Enter
    // presses); the button chosen.
    virtual TModalResult message(const QString &text, const QString &caption, MessageIcon icon,
                                 MessageButtons buttons, int defaultButton) = 0;
    // The program's own message box (caption and mark-up text, one OK).
    virtual void notice(const QString &caption, const QString &text) = 0;
    // A file or folder; empty when cancelled.
    virtual QString chooseFile(const FileChoice &choice) = 0;
    // The password of a protected table; empty when cancelled.
    virtual QString askPassword() = 0;
    // The help at a context (0: the start page).
    virtual void showHelp(int context) = 0;
    // A long step the user must not interrupt: begin with its two lines,
    // change the second line, end (nested begins are not used).
    virtual void beginProgress(const QString &line1, const QString &line2) = 0;
    virtual void progressText(const QString &line2) = 0;
    virtual void endProgress() = 0;
};

// The implementation in force. Until one is installed, texts go to the debug
// log and every question gets its first button's answer for a box with one
// button, Cancel or No otherwise, so nothing can block.
UserDialogs &userDialogs();
// Installs d (not owned) and returns the one it replaces; null puts the
// logging one back.
UserDialogs *setUserDialogs(UserDialogs *d);

// Shorthands.
TModalResult askUser(const QString &text, const QString &caption, MessageIcon icon = MessageIcon::Information,
                     MessageButtons buttons = MessageButtons::Ok, int defaultButton = 0);

} // namespace platform
