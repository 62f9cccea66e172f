// The program's implementation of the user dialogs (platform/userdialogs.h):
// boxes and file choosers through the kit's presenter, the metal message
// box, the help hook, the password dialog and the wait box. TarvoMain
// installs one for the program's life; tests install one over a
// kit::ScriptedPresenter and see every box there.
#pragma once

#include "platform/userdialogs.h"

class TWaitbox;

class ProgramDialogs : public platform::UserDialogs
{
public:
    ProgramDialogs();   // installs itself
    ~ProgramDialogs() override; // puts the one before back

    TModalResult message(const QString &text, const QString &caption, platform::MessageIcon icon,
                         platform::MessageButtons buttons, int defaultButton) override;
    void notice(const QString &caption, const QString &text) override;
    QString chooseFile(const platform::FileChoice &choice) override;
    QString askPassword() override;
    void showHelp(int context) override;
    void beginProgress(const QString &line1, const QString &line2) override;
    void progressText(const QString &line2) override;
    void endProgress() override;

private:
    platform::UserDialogs *m_previous = nullptr;
    TWaitbox *m_progress = nullptr;
};
