#include "windows/dialogs/dialogbuttons.h"

#include "kit/help.h"
#include "kit/presenter.h"
#include "windows/dialogs/dialogparts.h"

#include <QDialog>

TDialogButtons MakeHelpOkCancel(QDialog *dialog, int helpContext, int y, int right, int w)
{
    TDialogButtons b;
    b.help = MakeDialogButton(dialog, "BitBtnHelp", ibkHelp, QRect(12, y, w, 25), QStringLiteral("Hilfe"));
    b.ok = MakeDialogButton(dialog, "BitBtnOK", ibkOK, QRect(right - 2 * w - 8, y, w, 25), QStringLiteral("OK"));
    b.ok->setDefault(true);
    b.cancel = MakeDialogButton(dialog, "BitBtnCancel", ibkCancel, QRect(right - w, y, w, 25),
                                QStringLiteral("Abbruch"));
    // A button of a kind keeps its face's width: the row ends at right all the same.
    b.cancel->move(right - b.cancel->width(), y);
    b.ok->move(b.cancel->x() - 8 - b.ok->width(), y);
    QObject::connect(b.help, &QPushButton::clicked, dialog, [helpContext] { kit::showHelp(helpContext); });
    QObject::connect(b.ok, &QPushButton::clicked, dialog, [dialog] { dialog->done(mrOk); });
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, [dialog] { dialog->done(mrCancel); });
    return b;
}
