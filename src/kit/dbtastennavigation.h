// The keyboard scheme of the record windows: keys pressed in a record window
// become data-set moves, insertions, deletions, posts and cancels, as far as
// the window's option bits allow.
#pragma once

#include <QString>

class QComboBox;
class QKeyEvent;

namespace engine {
class DataSet;
}

// Option bits of HandleDataSetKey.
enum : int {
    dskInsertDelete = 1,   // Ctrl+Ins / Ctrl+num-pad plus, Ctrl+Del / Ctrl+num-pad minus
    dskHomeEnd = 2,        // Home and End: first and last record
    dskCtrlHomeEnd = 4,    // Ctrl+Home and Ctrl+End
    dskPageStep = 8,       // PgUp and PgDn: one record
    dskCtrlPageJump = 16,  // Ctrl+PgUp and Ctrl+PgDn: ten records or to the next group
    dskEscCancels = 32,    // Esc cancels the edit
    dskEnterPosts = 64,    // Enter posts the edit
};

// Virtual key codes the scheme knows.
enum : int {
    VK_RETURN = 13, VK_ESCAPE = 27, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
    VK_INSERT = 45, VK_DELETE = 46, VK_ADD = 107, VK_SUBTRACT = 109,
};

// The virtual key code of a Qt key event (0 for keys the scheme ignores).
int VirtualKeyOf(const QKeyEvent &e);

// Applies the scheme to a key; true when it acted.
bool HandleDataSetKey(engine::DataSet &ds, int options, int key, bool ctrl,
                      const QString &groupField = QString());

// Convenience for key-press handlers.
bool HandleDataSetKey(engine::DataSet &ds, int options, const QKeyEvent &e,
                      const QString &groupField = QString());

// 101 while the combo box's list is empty or closed, else 5, so an open list
// keeps its own keys.
int ComboNavOptions(const QComboBox &combo);

// Asks "Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?" and
// deletes the current record on Yes; true when it deleted.
bool ConfirmDelete(engine::DataSet &ds);
