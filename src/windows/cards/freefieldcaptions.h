// The program's free-field captions and categories over the open database:
// the caption table's data set (until the attachment window owns it), the
// loaders the database switch calls, and the door through which the caption
// and category rules show their messages.
#pragma once

#include "data/freefieldlabels.h"

class QWidget;

// Registers the caption table in DBTables (when no window did). Called once
// by the main window.
void InstallFreeFieldCaptions();
// The categories of the open database's "KAT", as a database switch loads them.
void LoadDatabaseCategories();

// The caption table of the open database (opened on first use), or null.
engine::Table *CaptionTable();
// The current medium's kind (field "Medium" of the main window's media table).
QString CurrentMediumKind();

// Everything for the current medium's kind, then the display labels.
bool LoadFreeFieldLabelsNow();
// The medium captions of the current kind, then their display labels.
void ReloadMediumFreeFieldLabels();
// Saves one caption set of the open database.
bool SaveFreeFieldLabelsNow(const QString &set);

// Shows a rule's message in the box it asks for (through the kit's presenter).
void ShowUserMessage(const TUserMessage &m);
TMessageSink UserMessageSink();

// Opens a stored link (resolved against the LNK folder) with the desktop's
// program for it; the German message when that fails.
void OpenLinkedFile(const QString &storedLink);
