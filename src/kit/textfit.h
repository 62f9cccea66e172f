// Texts that do not fit their controls: a window's labels, buttons, check
// and radio boxes and list entries measured in the fonts they show with.
#pragma once

#include <QStringList>

class QWidget;

namespace kit {

// "objectName: text" for every visible control of the window whose text is
// wider or taller than the room it has, and for every list that shows a
// part of a row at its bottom edge.
QStringList CutOffTexts(const QWidget *window);

} // namespace kit
