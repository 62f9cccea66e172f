#include "kit/wmemo.h"

#include "dbui/datasource.h"
#include "dbui/dbmemo.h"
#include "dbui/dbtext.h"
#include "dbui/errorsink.h"
#include "kit/framewidgets.h"
#include "kit/kitfiles.h"
#include "kit/lockbutton.h"

#include <QKeyEvent>
#include <QMouseEvent>

TWMemo *WMemo = nullptr;

TWMemo::TWMemo(TWMemoLinks links, QWidget *parent)
    : tOzoFormMetal(parent), FLinks(std::move(links))
{
    setObjectName(QStringLiteral("WMemo"));
    SetCaption(QStringLiteral("Memo"));
    resize(696, 480);

    DBMemo1 = new dbui::DbMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setGeometry(5, 5, 680, 424);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setDataField(QStringLiteral("Memo"));
    DBMemo1->installEventFilter(this);
    DBMemo1->viewport()->installEventFilter(this);

    DBText1 = new dbui::DbText(this);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->setGeometry(5, 432, 680, 17);
    DBText1->setAttribute(Qt::WA_TranslucentBackground);
    DBText1->setAutoFillBackground(false);
}

TWMemo::~TWMemo()
{
    if (WMemo == this)
        WMemo = nullptr;
}

void TWMemo::FormCreate()
{
    tOzoFormMetal::FormCreate();
    ImgSysM->SetPicture(LoadResourceBitmap(QStringLiteral("NOTES")), QStringLiteral("NOTES"));

    // Room for the lock at the left of the title buttons.
    const int side = PanelX->height();
    const int extra = side + 2;
    PanelX->resize(PanelX->width() + extra, side);
    for (QWidget *b : {static_cast<QWidget *>(WinUpButt), static_cast<QWidget *>(WinBigButt),
                       static_cast<QWidget *>(WinXButt)})
        b->move(b->x() + extra, b->y());
    LockButton = new TLockButton(PanelX);
    LockButton->setObjectName(QStringLiteral("LockButton"));
    LockButton->setGeometry(0, 0, side, side);
    connect(LockButton, &TPZSpeedButton::Click, this, [this] {
        if (FLinks.lockClick)
            FLinks.lockClick();
    });
    LockButton->SetLocked(FLinks.mediaReadOnly && FLinks.mediaReadOnly());
    LayoutFrame();
}

void TWMemo::FormResize()
{
    tOzoFormMetal::FormResize();
    DBMemo1->resize(std::max(0, PanelClient->width() - 10), std::max(0, PanelClient->height() - 28));
    DBText1->setGeometry(DBMemo1->x(), DBMemo1->y() + DBMemo1->height() + 3, DBMemo1->width(), DBText1->height());
}

void TWMemo::FormDeactivate()
{
    tOzoFormMetal::FormDeactivate();
    dbui::DataSource *source = DBMemo1->dataSource();
    if (source && source->isEditing() && source->dataSet())
        dbui::guarded([source] { source->dataSet()->post(); });
}

void TWMemo::FormClose(TCloseAction &action)
{
    tOzoFormMetal::FormClose(action);
    action = caFree;
    if (WMemo == this)
        WMemo = nullptr;
}

void TWMemo::ShowFor(dbui::DataSource *source)
{
    DBText1->setDataField(QString());
    DBMemo1->setDataSource(source);
    DBText1->setDataSource(source);
    if (source && source == FLinks.filmSource)
        DBText1->setDataField(QStringLiteral("Titel"));
    else if (source && source == FLinks.personSource)
        DBText1->setDataField(QStringLiteral("Name"));
    show();
    SetRolledUp(false);
}

void TWMemo::DBMemo1KeyPress()
{
    if (LockButton)
        LockButton->BlinkIfLocked();
}

void TWMemo::DBMemo1MouseDown(QMouseEvent *event)
{
    if (FLinks.memoMouseDown)
        FLinks.memoMouseDown(DBMemo1, event);
}

bool TWMemo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBMemo1 && event->type() == QEvent::KeyPress
        && !static_cast<QKeyEvent *>(event)->text().isEmpty())
        DBMemo1KeyPress();
    else if (watched == DBMemo1->viewport() && event->type() == QEvent::MouseButtonPress)
        DBMemo1MouseDown(static_cast<QMouseEvent *>(event));
    return tOzoFormMetal::eventFilter(watched, event);
}
