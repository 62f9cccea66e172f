// Hooks the person card into the main window: the card opens on the person
// table of the open database, follows the write lock, and the film card's
// person fields, the quick search and the menus reach it.
#pragma once

#include <QString>

class TMainform;
class TWPers;

// The person card's part of the lock, and its end before the tables go.
void SyncPersonCardLock(bool editing);
void ReleasePersonCard();
// The card bound to the main window's tables (created on first use).
TWPers *BoundPersonCard(TMainform &form);
// Shows the card rolled down, on the person of that name when given.
void ShowPersonCard(TMainform &form, const QString &name = QString());
