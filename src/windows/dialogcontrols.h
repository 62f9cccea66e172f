// The small controls every dialog of the online services makes the same
// way: a named label at its place and a named kit button of a kind.
#pragma once

#include "kit/enterexitbutton.h"

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

QLabel *DialogLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry);
// The caption replaces the kind's own when given.
TOzoNewButton *DialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &geometry,
                            const QString &caption = {});
