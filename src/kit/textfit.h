// Texts that do not fit their controls: a window's labels, buttons, check
// and radio boxes, group titles, column headings and list entries measured
// in the fonts they show with; and controls that lie outside their window.
#pragma once

#include <QFont>
#include <QStringList>

class QListWidget;
class QWidget;

namespace kit {

// "objectName: text" for every visible control of the window whose text is
// wider or taller than the room it has, whose "&" shows instead of marking
// its key, and for every list that shows a part of a row at its bottom edge.
QStringList CutOffTexts(const QWidget *window);

// "objectName" for every visible control of the window that reaches beyond
// the control it sits in, so that a part of it is never seen.
QStringList ControlsOutside(const QWidget *window);

// Gives the list the height of the whole rows that fit its height now, so
// that no row shows cut at its bottom edge (nothing while it is empty).
void ShowWholeRows(QListWidget *list);

// The font the program's controls show with unless they choose their own: a
// face installed with the program, so that every screen lays the windows out
// as they were measured.
QFont ProgramFont();
// Makes ProgramFont the application's font.
void UseProgramFont();

} // namespace kit
