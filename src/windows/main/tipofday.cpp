#include "windows/main/tipofday.h"

#include "app/settings.h"
#include "kit/tipdlg.h"

#include <QDir>

void ConfigureMainTipDialog(kit::TQurTipDlg &dlg)
{
    dlg.TipTitleFont = QFont(QStringLiteral("Arial"));
    dlg.TipTitleFont.setPixelSize(19);
    dlg.TipFont = QFont(QStringLiteral("Arial"));
    dlg.TipFont.setPixelSize(12);
    dlg.INIFile = QDir(ProgDir).filePath(QStringLiteral("TarvoTips.ini"));
    dlg.INISection = QStringLiteral("TipsOfTheDay");
    dlg.TipsLocation = kit::TTipLocation::locINIFile;
    dlg.CRLFSubstitute = QStringLiteral("\\lb");
    dlg.RandomTips = true;
    dlg.Position = kit::TQurShowPos::posScreenCenter;
}

void ShowTipOfTheDay(QWidget *mainWindow)
{
    kit::TQurTipDlg dlg;
    ConfigureMainTipDialog(dlg);
    dlg.ShowAtStartup = ShowTipODay;
    const bool before = ShowTipODay;
    ShowTipODay = dlg.Execute(mainWindow);
    // A setting is stored when it changes: the next start asks the store.
    if (ShowTipODay != before)
        SaveSettings();
}
