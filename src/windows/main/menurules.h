// The main window's menus as values: every entry of the six tool-bar menus,
// the query pop-up and the list pop-up with caption, key, separators and what
// it needs to be enabled; the enabling rules evaluated when a menu drops down;
// and the rules of the user's query menu (five slots). No widgets here: the
// window builds its menus from these values and asks these functions.
#pragma once

#include "app/settings.h"

#include <QKeySequence>
#include <QList>
#include <QSet>
#include <QString>

// What an entry needs besides its target.
enum class MenuNeed {
    None,
    Database, // the media table is open
    Editing,  // the media table is open and writable
};

struct MenuEntry
{
    QString name;            // objectName; empty: a separator
    QString caption;
    QKeySequence key;
    MenuNeed need = MenuNeed::None;
    bool checkable = false;
    int filmSlot = 0;        // "&Anhänge" › "Film &n": the slot n
    int querySlot = 0;       // an entry of a query slot (1..5)
    QString target;          // the entry whose command this one runs; empty: its own
    QList<MenuEntry> items;  // a submenu's entries

    bool isSeparator() const { return name.isEmpty(); }
    bool isSubmenu() const { return !items.isEmpty(); }
    // The name a command is wired under.
    QString targetName() const { return target.isEmpty() ? name : target; }
};

struct MenuTree
{
    QString button;          // the tool-bar button ("TBDatei")
    QString popup;           // its menu ("PopupDatei")
    QString caption;         // the button's caption
    MenuNeed need = MenuNeed::None;
    QList<MenuEntry> items;
};

// The six tool-bar menus in their order.
const QList<MenuTree> &MainMenuTrees();
// `PopupMenuQuery` (button `SpBQuerySub`) and `PopupMenuLists` (`SpBLists`).
const MenuTree &QueryPopupTree();
const MenuTree &ListPopupTree();

// The window's state as far as the rules need it.
struct MenuState
{
    bool mediaOpen = false;
    bool editing = false;
    QString kind;             // kind of the medium shown
    bool dvdKkNur1Film = true;
    QSet<QString> wired;      // names whose command is there (see targetName)
};

bool MenuNeedMet(MenuNeed need, const MenuState &s);
// "&Anhänge": for a medium of kind "VHS-KK" or "DVD" while one film is the
// rule, the entries of films 2 to 5 are off.
bool AttachmentFilmAllowed(int slot, const MenuState &s);
// A command: its need, its target and its slot rule. A submenu: its need and
// at least one enabled entry. Query-slot entries follow the query rules. An
// entry needs what its menu needs (inherited) as well.
bool MenuEntryEnabled(const MenuEntry &e, const MenuState &s, MenuNeed inherited = MenuNeed::None);
// The stronger of two needs.
MenuNeed StrongerNeed(MenuNeed a, MenuNeed b);

// ---- the user's query menu ----------------------------------------------------

// The first free slot from 1; 0 when all five are used.
int FirstFreeQuerySlot(const TFreeQueryMenuEntry *entries, int count = FreeQueryMenuCount);
// The caption of a new slot: the chosen file's name without a final ".SQL"
// (compared in upper case).
QString QueryCaptionFromFile(const QString &fileName);

struct QueryMenuStates
{
    bool separatorVisible = false; // and "Menüpunkt &löschen" enabled
    bool deleteEnabled = false;
    bool newEnabled = false;       // "&Neuer Menüpunkt...": a free slot and the dialog there
    bool runEnabled = false;       // the slot entries: the query runner there
};
QueryMenuStates QueryMenuStatesOf(const TFreeQueryMenuEntry *entries, bool dialogThere, bool runnerThere,
                                  int count = FreeQueryMenuCount);
