#include "windows/freefieldmenu.h"

#include "app/settings.h"
#include "data/freefieldlinks.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "kit/inpboxmetal.h"
#include "kit/dragdrop.h"
#include "kit/presenter.h"
#include "windows/flhint.h"
#include "windows/freefieldcaptions.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

namespace {

bool readOnly(const TFreeFieldLinkTarget &t)
{
    return !t.dataSet || !t.dataSet->active() || !t.dataSet->canModify();
}

void beginEdit(const TFreeFieldLinkTarget &t)
{
    if (t.linkEdit)
        t.linkEdit->setFocus();
    if (t.dataSet->state() != engine::DataSetState::Edit && t.dataSet->state() != engine::DataSetState::Insert)
        t.dataSet->edit();
}

QString chooseLinkedFile()
{
    kit::FileRequest req;
    req.mode = kit::FileMode::Open;
    req.filter = QStringLiteral("Alle Dateien (*)");
    return kit::chooseFile(req);
}

} // namespace

void PopupFreeFieldMenu(const QPoint &globalPos, const TFreeFieldLinkTarget &t)
{
    if (!t.field)
        return;
    QMenu menu;
    menu.setObjectName(QStringLiteral("PopupFreeField"));
    QAction *open = menu.addAction(QStringLiteral("Öffnen der eingetragenen Datei"));
    QAction *link = menu.addAction(QStringLiteral("Verknüpfung zu Datei einfügen..."));
    QAction *copy = menu.addAction(QStringLiteral("Kopie von Datei einfügen..."));
    QAction *folder = menu.addAction(QStringLiteral("Sammelordner erstellen..."));
    const bool locked = readOnly(t);
    for (QAction *a : {link, copy, folder})
        a->setEnabled(!locked);
    QAction *chosen = kit::popupMenu(menu, globalPos);
    if (!chosen)
        return;
    if (chosen == open) {
        OpenLinkedFile(t.field->asString());
        return;
    }
    if (locked)
        return;
    if (chosen == folder) {
        beginEdit(t);
        CreateCollectionFolder(*t.dataSet, *t.field, t.proposedFolder,
                               [](QString &name) {
                                   return MetalInputBox(CollectionFolderCaption(), CollectionFolderPrompt(), name);
                               },
                               UserMessageSink());
        return;
    }
    const QString file = chooseLinkedFile();
    if (file.isEmpty())
        return;
    beginEdit(t);
    if (chosen == link)
        StoreLinkPath(*t.field, file, UserMessageSink());
    else
        CopyFileIntoLinkFolder(*t.field, file, UserMessageSink());
}

bool DropFileOnFreeField(const TFreeFieldLinkTarget &t, const QString &path)
{
    if (!t.field || path.isEmpty())
        return false;
    if (readOnly(t)) {
        if (t.blinkLock)
            t.blinkLock();
        return false;
    }
    beginEdit(t);
    if (t.linkEdit && t.linkEdit->window())
        t.linkEdit->window()->activateWindow();
    if (QFileInfo(path).isDir() || IsInLinkFolder(DBBase, path))
        return StoreLinkPath(*t.field, path, UserMessageSink());
    bool copy = false;
    if (!AskLinkOrCopy(copy))
        return false;
    if (copy)
        return CopyFileIntoLinkFolder(*t.field, path, UserMessageSink());
    return StoreLinkPath(*t.field, path, UserMessageSink());
}

TDragDropFiles *AttachFreeFieldFileDrop(QWidget *linkEdit, std::function<TFreeFieldLinkTarget()> target)
{
    auto *dd = new TDragDropFiles(linkEdit);
    dd->setObjectName(linkEdit->objectName() + QStringLiteral("Drop"));
    dd->SetTargetEffects(DropEffectCopy | DropEffectMove | DropEffectLink);
    dd->SetSourceEffects(DropEffectCopy | DropEffectLink);
    dd->SetDragDropControl(linkEdit);
    dd->OnProcessDropped = [dd, target](QObject *, int, QPoint, int) {
        if (dd->Files.size() == 1 && target)
            DropFileOnFreeField(target(), dd->Files.constFirst());
    };
    return dd;
}
