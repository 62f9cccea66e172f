#include "windows/cards/freefieldmenu.h"

#include "app/settings.h"
#include "data/freefieldlinks.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "kit/inpboxmetal.h"
#include "kit/dragdrop.h"
#include "kit/presenter.h"
#include "windows/cards/flhint.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/dialogs/windowparts.h"

#include "app/apppaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
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
        if (dd->Files.size() != 1 || !target)
            return;
        // From the event loop: nothing may escape from here.
        try {
            DropFileOnFreeField(target(), dd->Files.constFirst());
        } catch (const engine::Abort &) {
        } catch (const engine::EngineError &e) {
            windowparts::showEngineError(e);
        }
    };
    return dd;
}

void ShowFieldAsLink(QWidget *field, bool on)
{
    QFont f = field->font();
    f.setUnderline(on);
    field->setFont(f);
    field->setStyleSheet(on ? QStringLiteral("color: blue;") : QString());
    if (on)
        field->setCursor(Qt::PointingHandCursor);
    else
        field->unsetCursor();
}

namespace {

// The mouse of a file-link edit: opening, the hyperlink look while locked and
// the drag of the linked file out of the window.
class TLinkEditMouse : public QObject
{
public:
    TLinkEditMouse(QLineEdit *edit, TDragDropFiles *files, TFreeFieldLinkEditHooks hooks)
        : QObject(edit), m_edit(edit), m_files(files), m_hooks(std::move(hooks))
    {
        edit->setMouseTracking(true);
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_edit)
            return false;
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonDblClick && type != QEvent::Enter && type != QEvent::Leave
            && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
            return false;
        const QString link = m_edit->text();
        switch (type) {
        case QEvent::MouseButtonDblClick:
            if (!link.isEmpty())
                OpenLinkedFile(link);
            else if (!locked() && m_hooks.openMenu)
                m_hooks.openMenu();
            return true;
        case QEvent::Enter:
            if (locked() && !link.isEmpty())
                showAsLink(true);
            break;
        case QEvent::Leave:
            showAsLink(false);
            break;
        case QEvent::MouseButtonPress:
            m_pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
            if (m_pressed && locked() && !link.isEmpty()) {
                m_pressed = false;
                OpenLinkedFile(link);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            m_pressed = false;
            break;
        case QEvent::MouseMove:
            if (m_pressed && !link.isEmpty()
                && !m_edit->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
                m_pressed = false;
                m_files->Files = {ExpandLinkPath(link)};
                m_files->StartDrag();
                // A drop of our own file back onto the edit changes nothing.
                m_files->Files.clear();
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool locked() const { return !m_hooks.readOnly || m_hooks.readOnly(); }
    void showAsLink(bool on) { ShowFieldAsLink(m_edit, on); }

    QLineEdit *m_edit;
    TDragDropFiles *m_files;
    TFreeFieldLinkEditHooks m_hooks;
    bool m_pressed = false;
};

} // namespace

TDragDropFiles *AttachFreeFieldLinkEdit(QLineEdit *edit, TFreeFieldLinkEditHooks hooks)
{
    TDragDropFiles *files = AttachFreeFieldFileDrop(edit, hooks.target);
    new TLinkEditMouse(edit, files, std::move(hooks));
    return files;
}
