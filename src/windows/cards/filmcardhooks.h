// The film card as the main window reaches it: it opens on the main window's
// film table, follows the write lock and redraws the slots after a post.
#pragma once

class TMainform;

// Shows the film window on the film the film table stands on, at its
// attachments page or with the title focused.
void OpenFilmCard(TMainform &form, bool attachments);
// The film window's part of the lock (its running-time and category buttons).
void SyncFilmCardLock(bool editing);
// Frees the film window and its picture window, before the tables go.
void ReleaseFilmCard();
