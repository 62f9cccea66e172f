// Makers for the buttons and check boxes the program's small dialogs lay
// out by hand: each control gets its name, kind and place in one call.
#pragma once

#include "kit/enterexitbutton.h"

#include <QRect>
#include <QString>

class QWidget;
class TOzoCheck;

TOzoNewButton *DialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &g);
// radioGroup 0 gives a check box, any other number a radio button of that group.
TOzoCheck *DialogCheck(QWidget *parent, const char *name, const QString &caption, const QRect &g, int radioGroup);
