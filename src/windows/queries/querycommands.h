// The main window's entries of the stored queries, query by example, the
// film, rating and lending searches and the lending settings, and the
// overdue list at start.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TMainform;
class TMainMenus;
class QWidget;

using TWireCommand = std::function<void(const char *name, std::function<void()> handler)>;
void WireQueryCommands(TMainform &form, TMainMenus &menus, const TWireCommand &wire);

// A query slot's text: the statement's lines, or (a slot holding only the
// path of a ".SQL" file) that file's lines. Empty when the file cannot be read.
QStringList QuerySlotLines(const QString &sql);
// "&Neuer Menüpunkt...": a stored query chosen in the per-user "SQL"
// folder; its file name and its text (lines joined by CR LF).
bool ChooseStoredQuery(QWidget *owner, QString &fileName, QString &sql);
