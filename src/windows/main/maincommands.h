// The main window's commands that hold logic of their own: the password
// protection, the check for unreadable pictures, the remaining-time and
// counter modes, the manual and the web pages, the help entries, the medium
// of a disc's serial number, the film table under the card and the card's
// keys. It wires them into the menus (TMainMenus::Wire) like any other part.
#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

namespace engine {
class Table;
}
class TMainform;
class TMainMenus;
class TPZSpeedButton;

// The help contexts of the main window's help entries.
enum MainHelpContext : int {
    hcMainWindow = 10,
    hcWhatsNew = 11,
    hcKnownProblems = 12,
    hcHelpOnHelp = 13,
    hcNumbering = 20,
    hcRemainingTime = 21,
    hcCounterMode = 22,
};

// The product's pages.
extern const QString TarvoHomepageUrl;
extern const QString TarvoForumUrl;

class TMainCommands : public QObject
{
    Q_OBJECT
public:
    TMainCommands(TMainform &form, TMainMenus &menus);

    // The film table under the card.
    TPZSpeedButton *ButtShowFilmtab, *ButtHideFilmtab, *SpbStd;

    void Passwortschutz1Click();
    void UngltigeGrafikenlschen1Click();
    // "Filme 1 bis 5 berücksichtigen" (true) / "Alle Filme berücksichtigen".
    void RestModeClick(bool firstFive);
    // "ATTS-Zählwerk" (true) / "&Kumulativ SP+LP".
    void CounterModeClick(bool atts);
    void OpenManualPdf();
    void OpenWebPage(const QString &url);

    // The application was activated or deactivated: the base windows show it.
    void AppOnActivate();
    void AppOnDeActivate();

    void ButtShowFilmtabClick();
    void ButtHideFilmtabClick();
    void SpbStdClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void storeFilmListLayout();
    TMainform &m_form;
    TMainMenus &m_menus;
};
