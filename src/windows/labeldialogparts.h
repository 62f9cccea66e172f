// The buttons and check boxes the label dialogs build the same way.
#pragma once

#include "kit/enterexitbutton.h"

#include <QRect>
#include <QString>

class QWidget;
class TOzoCheck;

// A kit button of the kind; a caption only where the kind has none of its own.
TOzoNewButton *LabelDialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QString &caption,
                                 const QRect &geometry);
// A check box, or a radio button of the group when radioGroup is not 0.
TOzoCheck *LabelDialogCheck(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                            int radioGroup = 0);
