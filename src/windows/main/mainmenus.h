// The main window's menus: the six tool-bar menus, the query pop-up and the
// list pop-up built from their values (windows/main/menurules.h), the small
// tool-bar buttons beside them, the enabling rules applied each time a menu
// drops down, the check marks of the settings and the user's query menu.
//
// Every entry is found by its objectName (Entry). A command reaches an entry
// through Wire(name, handler): the entry, and every entry running the same
// command, is connected and from then on enabled by the rules. An entry
// nobody wired stays disabled.
#pragma once

#include "data/upwarddoors.h"
#include "windows/main/menurules.h"

#include <QHash>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class TMainform;
class TPZSpeedButton;

class TMainMenus : public QObject
{
    Q_OBJECT
public:
    // Builds the entries into the form's six popups (already made with their
    // tool-bar buttons) and sets the form's entry members.
    explicit TMainMenus(TMainform &form);

    QAction *Entry(const QString &name) const;
    QMenu *Submenu(const QString &name) const;
    void Wire(const QString &name, std::function<void()> handler);
    bool IsWired(const QString &name) const { return m_wired.contains(name); }
    // Runs the command wired under name (the card's keys); false when none is.
    bool Run(const QString &name);

    QMenu *PopupMenuQuery;
    QMenu *PopupMenuLists;
    TPZSpeedButton *SpBQuerySub, *SpBLists;  // the two pop-ups
    TPZSpeedButton *SpBLocateSN;             // medium of the disc in the drive (F9)
    TPZSpeedButton *SpBWeb;                  // web search (F10)
    TPZSpeedButton *SpBHelp, *SPBHelpIdx;    // help topic, help contents

    // The state the rules see, taken from the form now.
    MenuState State() const;
    // Applies the rules to every entry and button (each menu's drop-down
    // calls it, so do opening and closing the media table).
    void UpdateStates();
    // The check marks of the numbering entries.
    void ShowNumberingMenu(NumberingMenuState s);

    // ---- the user's query menu ----
    // The stored-query dialog: the chosen file name and its SQL text; false
    // on Cancel. Without it "&Neuer Menüpunkt..." is off.
    std::function<bool(QString &fileName, QString &sql)> ExecStoredQueryDialog;
    // Runs a slot's SQL text; without it the slot entries are off.
    std::function<void(const QString &sql)> RunQuerySQL;
    // Slot entries' captions and visibility, separator, new and delete.
    void ShowFreeQueryMenu();
    void NeuerMenpunkt1Click();
    void FreeQueryClick(int slot);
    void FreeQueryDelClick(int slot);

private:
    void build(QMenu *menu, const QList<MenuEntry> &items);
    void apply(const QList<MenuEntry> &items, const MenuState &s, MenuNeed inherited);
    void updateChecks();
    TPZSpeedButton *toolButton(const char *name, const QString &caption, const QString &hint, int x);

    TMainform &m_form;
    QHash<QString, QAction *> m_entries;
    QHash<QString, QMenu *> m_submenus;
    QSet<QString> m_wired;
    QHash<QString, std::function<void()>> m_handlers;
    QList<std::pair<TPZSpeedButton *, MenuTree>> m_trees;
};
