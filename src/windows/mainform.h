// The main window. So far it holds what start-up and the database commands
// need: the media and film data sets, the password event, the first show
// (settings, the database chosen at start), the first-activation steps and
// the close. Its card, menus and tool bar come with the main window's own
// work; until the film and person cards exist, their tables live here too.
#pragma once

#include "kit/oberformmetal.h"

#include <functional>
#include <memory>

namespace engine {
class Table;
}

class TMainform : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TMainform(QWidget *parent = nullptr);
    ~TMainform() override;

    std::unique_ptr<engine::Table> Table1;   // the medium card
    std::unique_ptr<engine::Table> Table11;  // second media cursor
    std::unique_ptr<engine::Table> Table2;   // read-only film cursor
    // Held here until the film card and the person card take them over.
    std::unique_ptr<engine::Table> FilmTable;
    std::unique_ptr<engine::Table> PersTable;

    bool FirstActivation = true;

    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose(TCloseAction &action) override;

    // The engine's password event.
    bool PwdAbfrage(const QString &tablePath, QString &password);

    // Menu commands of this part.
    void Neu1Click();
    void ffnen1Click();
    void Info1Click();

    // The first-activation steps of other parts (the tip of the day, the
    // pointing hint at the file menu, the list of overdue lendings); each is
    // set by its part.
    std::function<void()> ShowTipOfDay;
    std::function<void(const QString &hint)> ShowFileMenuHint;
    std::function<void()> RunOverdueList;
    // Steps of the first show that other parts own: the update check at start
    // (after the settings are loaded) and showing the user's query menu
    // (after it is read).
    std::function<void()> AutoUpdateCheck;
    std::function<void()> ShowFreeQueryMenu;

private:
    bool m_shown = false;
};

extern TMainform *Mainform;
