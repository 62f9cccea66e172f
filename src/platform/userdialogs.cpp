#include "platform/userdialogs.h"

#include <QDebug>

namespace platform {

namespace {

class LoggingDialogs : public UserDialogs {
public:
    TModalResult message(const QString &text, const QString &caption, MessageIcon, MessageButtons buttons,
                         int) override
    {
        qWarning().noquote() << "Tarvo:" << caption << text;
        switch (buttons) {
        case MessageButtons::Ok: return mrOk;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel: return mrNo;
        case MessageButtons::AbortRetryIgnore: return mrAbort;
        default: return mrCancel;
        }
    }
    void notice(const QString &caption, const QString &text) override
    {
        qWarning().noquote() << "Tarvo:" << caption << text;
    }
    QString chooseFile(const FileChoice &) override { return QString(); }
    QString askPassword() override { return QString(); }
    void showHelp(int) override {}
    void beginProgress(const QString &, const QString &) override {}
    void progressText(const QString &) override {}
    void endProgress() override {}
};

LoggingDialogs g_logging;
UserDialogs *g_current = &g_logging;

} // namespace

UserDialogs &userDialogs()
{
    return *g_current;
}

UserDialogs *setUserDialogs(UserDialogs *d)
{
    UserDialogs *old = g_current == &g_logging ? nullptr : g_current;
    g_current = d ? d : &g_logging;
    return old;
}

TModalResult askUser(const QString &text, const QString &caption, MessageIcon icon, MessageButtons buttons,
                     int defaultButton)
{
    return userDialogs().message(text, caption, icon, buttons, defaultButton);
}

} // namespace platform
