// The tip of the day: TQurTipDlg holds where the tips come from and how they
// are shown; Execute opens TTipsForm modally with one tip at a time and
// gives back the state of its show-at-start check box.
#pragma once

#include "platform/registry.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kit {

// A random source: a number from 0 to n - 1, and 0 for n <= 0.
using TipRandom = std::function<int(int n)>;
TipRandom DefaultTipRandom();

// The index the window starts with before its first step: a random one of
// 0..count - 2 in random mode, else -1 (so the first step shows tip 0).
int TipStartIndex(int count, bool random, const TipRandom &rnd);
// The next tip: in random mode a draw of 0..count - 2 that moves on by one
// when it hits the shown tip (with more than one tip); else one further,
// wrapping from the last to the first. -1 when there are no tips.
int TipNextIndex(int count, int current, bool random, const TipRandom &rnd);
// One back, wrapping from the first to the last (sequential order only).
int TipPrevIndex(int count, int current);
// The tip as shown: every occurrence of the substitute becomes a line break.
QString TipShownText(const QString &tip, const QString &substitute);

// Every value of the section, in the order of the file; empty when the
// file or the section is missing or a name is empty.
QStringList ReadTipsFromIni(const QString &fileName, const QString &section);
// The data of every string value of the key, in the store's order.
QStringList ReadTipsFromRegistry(platform::RegistryRoot root, const QString &key);

enum class TTipLocation { locEmbeded, locRegistry, locINIFile };
enum class TQurShowPos { posScreenCenter, posFormCenter };

class TTipsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TTipsForm(QWidget *parent = nullptr);

    // Takes the tips and shows the first one as the options say.
    void Start(const QStringList &tips, const QString &substitute, bool random, const TipRandom &rnd);
    void NextTip();
    void PrevTip();
    int CurrentIndex() const { return m_current; }
    QString ShownText() const;

    QWidget *TipPanel = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *TipTitleLbl = nullptr;
    QLabel *TipLbl = nullptr;
    QCheckBox *ShowChk = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *NextBtn = nullptr;
    QPushButton *PrevBtn = nullptr;

private:
    void showCurrent();

    QStringList m_tips;
    QString m_substitute;
    bool m_random = false;
    TipRandom m_rnd;
    int m_current = -1;
};

class TQurTipDlg
{
public:
    QString DlgCaption;
    QString TipTitle;
    QStringList Tips;
    QFont TipTitleFont;
    QFont TipFont;
    TTipLocation TipsLocation = TTipLocation::locEmbeded;
    platform::RegistryRoot RegistryRoot = platform::RegistryRoot::CurrentUser;
    QString RegistryKey;
    QString INIFile;
    QString INISection;
    QColor PanelColor;           // invalid: the system's tool-tip background
    QString CRLFSubstitute;
    bool RandomTips = false;
    bool ShowAtStartup = true;
    TQurShowPos Position = TQurShowPos::posScreenCenter;
    TipRandom Random;            // empty: the default source

    TQurTipDlg();
    // Shows the window modally (through the presenter); returns the final
    // state of its check box, which is also kept in ShowAtStartup.
    bool Execute(QWidget *mainWindow = nullptr);
};

} // namespace kit
