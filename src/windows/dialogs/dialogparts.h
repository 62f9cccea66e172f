// Small makers for the components of the caption and category dialogs.
#pragma once

#include "kit/enterexitbutton.h"

#include <QRect>
#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class TPZSpeedButton;
class QWidget;
class TOzoCheck;

TOzoNewButton *MakeDialogButton(QWidget *parent, const char *name, TOzoButtonKind kind, const QRect &g,
                                const QString &caption = QString());
// radioGroup 0: a plain check box.
TOzoCheck *MakeDialogCheck(QWidget *parent, const QString &name, const QString &caption, const QRect &g,
                           int radioGroup = 0);
QLabel *MakeDialogLabel(QWidget *parent, const QString &name, const QString &text, const QRect &g);
QGroupBox *MakeDialogGroup(QWidget *parent, const char *name, const QString &title, const QRect &g);
// A menu entry with its objectName.
QAction *AddMenuAction(QMenu *menu, const char *name, const QString &text);

// A window's row of tool buttons, 26 pixels high at y 4, each placed after
// the one before with a gap of 2.
class TToolRow
{
public:
    explicit TToolRow(QWidget *parent, int x = 4) : m_parent(parent), m_x(x) {}
    TPZSpeedButton *add(const char *name, const QString &caption, const QString &hint, int w = 28);

private:
    QWidget *m_parent;
    int m_x;
};
