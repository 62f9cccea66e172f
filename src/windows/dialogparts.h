// Small makers for the components of the caption and category dialogs.
#pragma once

#include "kit/enterexitbutton.h"

#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class TOzoCheck;

TOzoNewButton *MakeDialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &g,
                                const QString &caption = QString());
// radioGroup 0: a plain check box.
TOzoCheck *MakeDialogCheck(QWidget *parent, const QString &name, const QString &caption, const QRect &g,
                           int radioGroup = 0);
QLabel *MakeDialogLabel(QWidget *parent, const QString &name, const QString &text, const QRect &g);
