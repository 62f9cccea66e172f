#include "program/programdialogs.h"

#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/waitbox.h"
#include "windows/tables/tablemaintenancedialogs.h"

ProgramDialogs::ProgramDialogs() : m_previous(platform::setUserDialogs(this)) {}

ProgramDialogs::~ProgramDialogs()
{
    if (m_progress)
        CloseWaitBox(m_progress);
    platform::setUserDialogs(m_previous);
}

TModalResult ProgramDialogs::message(const QString &text, const QString &caption, platform::MessageIcon icon,
                                     platform::MessageButtons buttons, int defaultButton)
{
    return kit::messageBox(text, caption, kit::MsgButtons(int(buttons)), kit::BoxIcon(int(icon)), defaultButton);
}

void ProgramDialogs::notice(const QString &caption, const QString &text)
{
    ShowMetalMessage(caption, text);
}

QString ProgramDialogs::chooseFile(const platform::FileChoice &choice)
{
    kit::FileRequest req;
    req.mode = kit::FileMode(int(choice.mode));
    req.caption = choice.caption;
    req.folder = choice.folder;
    req.fileName = choice.fileName;
    req.filter = choice.filter;
    req.defaultSuffix = choice.defaultSuffix;
    return kit::chooseFile(req);
}

QString ProgramDialogs::askPassword()
{
    return AskTablePassword();
}

void ProgramDialogs::showHelp(int context)
{
    kit::showHelp(context);
}

void ProgramDialogs::beginProgress(const QString &line1, const QString &line2)
{
    m_progress = ShowWaitBox(line1, line2);
    m_progress->show();
}

void ProgramDialogs::progressText(const QString &line2)
{
    if (m_progress)
        SetWaitBoxText(m_progress, line2);
}

void ProgramDialogs::endProgress()
{
    if (m_progress)
        CloseWaitBox(m_progress);
    m_progress = nullptr;
}
