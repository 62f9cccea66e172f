#include "windows/cards/wgrafik.h"

#include "dbui/datasource.h"
#include "dbui/dbimage.h"
#include "dbui/dbtext.h"
#include "dbui/pictureloader.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"

#include <QEvent>
#include <QMenu>
#include <QMouseEvent>

TWGrafik *WGrafik = nullptr;

TWGrafik *PictureWindow()
{
    if (!WGrafik)
        WGrafik = CreateForm<TWGrafik>();
    return WGrafik;
}

bool LoadPictureFromFile(dbui::DbImage *image, QWidget *parent)
{
    dbui::DataSource *source = image->dataSource();
    if (!source || !source->dataSet())
        return false;
    kit::FileRequest req;
    req.mode = kit::FileMode::Open;
    req.filter = dbui::PictureLoader::fileDialogFilter();
    req.parent = parent;
    const QString path = kit::chooseFile(req);
    if (path.isEmpty())
        return false;
    const dbui::PictureResult pic = dbui::PictureLoader::loadFile(path);
    if (!pic.ok()) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Die ausgewählte Datei lässt sich nicht öffnen!")
                                                        + (pic.error.isEmpty() ? QString() : QStringLiteral("\n") + pic.error),
                         true);
        return false;
    }
    if (!source->edit()) {
        ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Die Datenbank konnte nicht bearbeitet werden!"), true);
        return false;
    }
    // Stored as a bitmap, made in memory: the clipboard is the user's.
    return image->setPictureBytes(dbui::PictureLoader::fieldBytesFromImage(pic.image));
}

PictureEntries AddPictureEntries(QMenu *menu, dbui::DbImage *image, QWidget *owner)
{
    PictureEntries e;
    e.paste = menu->addAction(QStringLiteral("&Einfügen (Umsch+Einfg / Strg+V)"));
    e.copy = menu->addAction(QStringLiteral("&Kopieren (Strg+Einfg / Strg+C)"));
    e.cut = menu->addAction(QStringLiteral("&Ausschneiden (Umsch+Entf / Strg+X)"));
    e.load = menu->addAction(QStringLiteral("Grafik aus &Datei laden..."));
    QObject::connect(e.paste, &QAction::triggered, image, [image] { image->pasteFromClipboard(); });
    QObject::connect(e.copy, &QAction::triggered, image, [image] { image->copyToClipboard(); });
    QObject::connect(e.cut, &QAction::triggered, image, [image] { image->cutToClipboard(); });
    QObject::connect(e.load, &QAction::triggered, image, [image, owner] { LoadPictureFromFile(image, owner); });
    return e;
}

TWGrafik::TWGrafik(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WGrafik"));
    resize(420, 360);
    DBTitle = new dbui::DbText(this);
    DBTitle->setObjectName(QStringLiteral("DBTitle"));
    DBImage1 = new dbui::DbImage(this);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setStretch(true);
    DBImage1->installEventFilter(this);
    LockButton1 = new TLockButton(this);
    LockButton1->setObjectName(QStringLiteral("LockButton1"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const PictureEntries e = AddPictureEntries(PopupMenu1, DBImage1, this);
    Einfgen1 = e.paste;
    Kopieren1 = e.copy;
    Ausschneiden1 = e.cut;
    Laden1 = e.load;
    connect(DBImage1, &dbui::DbImage::editRefused, LockButton1, &TLockButton::BlinkIfLocked);
    Create();
    SetCaption(QStringLiteral("Grafik"));
}

void TWGrafik::ShowFor(dbui::DataSource *source, const QString &titleField)
{
    DBTitle->setDataSource(source);
    DBTitle->setDataField(titleField);
    DBImage1->setDataSource(source);
    DBImage1->setDataField(QStringLiteral("Grafik"));
    updateEntries();
    show();
    raise();
}

void TWGrafik::updateEntries()
{
    const bool writable = DBImage1->dataSource() && DBImage1->dataSource()->canModify();
    LockButton1->SetLocked(!writable);
    Ausschneiden1->setEnabled(writable);
    Einfgen1->setEnabled(writable);
    Laden1->setEnabled(writable);
}

void TWGrafik::FormDeactivate()
{
    tOzoFormMetal::FormDeactivate();
    if (dbui::DataSource *s = DBImage1->dataSource())
        if (s->isEditing()) {
            try {
                s->dataSet()->post();
            } catch (const engine::EngineError &e) {
                ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
            }
        }
}

void TWGrafik::resizeEvent(QResizeEvent *e)
{
    tOzoFormMetal::resizeEvent(e);
    const QRect c = rect().adjusted(8, 30, -8, -8);
    DBTitle->setGeometry(c.left(), c.top(), c.width() - 30, 20);
    LockButton1->setGeometry(c.right() - 24, c.top(), 24, 20);
    DBImage1->setGeometry(c.left(), c.top() + 24, c.width(), c.height() - 24);
}

bool TWGrafik::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBImage1 && (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::ContextMenu)) {
        updateEntries();
        kit::popupMenu(*PopupMenu1, QCursor::pos());
        return true;
    }
    return tOzoFormMetal::eventFilter(watched, event);
}

RecordPicturePage AddRecordPicturePage(QWidget *owner, const QRect &area, dbui::DataSource *source,
                                       TLockButton *lock, const QString &titleField)
{
    RecordPicturePage page;
    page.panel = new QWidget(owner);
    page.panel->setObjectName(QStringLiteral("PanelGrafik"));
    page.panel->setGeometry(area);
    page.image = new dbui::DbImage(page.panel);
    page.image->setObjectName(QStringLiteral("DBImage1"));
    page.image->setGeometry(0, 0, area.width(), area.height());
    page.image->setStretch(true);
    page.image->setDataSource(source);
    page.image->setDataField(QStringLiteral("Grafik"));
    page.image->installEventFilter(owner);
    QObject::connect(page.image, &dbui::DbImage::editRefused, lock, &TLockButton::BlinkIfLocked);
    page.popup = new QMenu(owner);
    page.popup->setObjectName(QStringLiteral("PopupGrafik"));
    page.entries = AddPictureEntries(page.popup, page.image, owner);
    page.window = page.popup->addAction(QStringLiteral("Separates Grafik-&Fenster"));
    QObject::connect(page.window, &QAction::triggered, owner,
                     [source, titleField] { PictureWindow()->ShowFor(source, titleField); });
    return page;
}
