// The head every record card starts with: its bold heading, the lock button
// at the top right and the navigator over the card's data source.
#pragma once

#include "dbui/datasource.h"
#include "dbui/dbnavigator.h"
#include "kit/lockbutton.h"
#include "kit/pzlabel.h"
#include "windows/dialogs/windowparts.h"

#include <QRect>

namespace windowparts {

struct TCardHead
{
    TPZLabel *heading;
    TLockButton *lock;
    dbui::DbNavigator *navigator;
};

inline TCardHead addCardHead(QWidget *card, dbui::DataSource *source, const QString &heading, int headingWidth,
                             int lockX, const QRect &navigator)
{
    TCardHead head;
    head.heading = named(new TPZLabel(card), QStringLiteral("PZLabelKrtB"));
    head.heading->setGeometry(12, 30, headingWidth, 18);
    head.heading->SetCaption(QStringLiteral("\\B") + heading);
    head.lock = named(new TLockButton(card), QStringLiteral("LockButton1"));
    head.lock->setGeometry(lockX, 4, 24, 20);
    head.navigator = named(new dbui::DbNavigator(card), QStringLiteral("DBNavigator1"));
    head.navigator->setGeometry(navigator);
    head.navigator->setDataSource(source);
    return head;
}

} // namespace windowparts
