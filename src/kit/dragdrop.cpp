#include "kit/dragdrop.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

static const QString OwnDragFormat = QStringLiteral("application/x-tarvo-own-drag");

int DragKeyState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    int k = 0;
    if (buttons & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        k |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        k |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        k |= MK_ALT;
    return k;
}

TDropEffectMask ComputeDropEffect(int keyState, TDropEffectMask targetEffects, TDropEffectMask allowedEffects)
{
    const bool shift = keyState & MK_SHIFT, ctrl = keyState & MK_CONTROL;
    if (shift && !ctrl && (targetEffects & DropEffectMove))
        return DropEffectMove;
    if (ctrl && shift && (targetEffects & DropEffectLink))
        return DropEffectLink;
    for (TDropEffectMask e : {DropEffectCopy, DropEffectMove, DropEffectLink})
        if ((targetEffects & e) && (allowedEffects & e))
            return e;
    return DropEffectNone;
}

QStringList DroppedLocalFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

static Qt::DropAction toAction(int effect)
{
    switch (effect) {
    case DropEffectMove:
        return Qt::MoveAction;
    case DropEffectLink:
        return Qt::LinkAction;
    case DropEffectCopy:
        return Qt::CopyAction;
    default:
        return Qt::IgnoreAction;
    }
}

static Qt::DropActions toActions(TDropEffectMask mask)
{
    Qt::DropActions a;
    if (mask & DropEffectCopy)
        a |= Qt::CopyAction;
    if (mask & DropEffectMove)
        a |= Qt::MoveAction;
    if (mask & DropEffectLink)
        a |= Qt::LinkAction;
    return a;
}

static TDropEffectMask fromActions(Qt::DropActions a)
{
    TDropEffectMask m = DropEffectNone;
    if (a & Qt::CopyAction)
        m |= DropEffectCopy;
    if (a & Qt::MoveAction)
        m |= DropEffectMove;
    if (a & Qt::LinkAction)
        m |= DropEffectLink;
    return m;
}

TDragDrop::TDragDrop(QObject *parent) : QObject(parent) {}

TDragDrop::~TDragDrop()
{
    if (!m_control)
        return;
    m_control->removeEventFilter(this);
    // Owned by the control, we usually go while the control itself is being
    // destroyed: its widget part is gone then, and changing an attribute would
    // send events into what is left of it.
    if (parent() != m_control)
        m_control->setAcceptDrops(false);
}

void TDragDrop::SetDragDropControl(QWidget *control)
{
    if (m_control == control)
        return;
    if (m_control) {
        m_control->removeEventFilter(this);
        m_control->setAcceptDrops(false);
    }
    m_control = control;
    if (m_control) {
        m_control->installEventFilter(this);
        m_control->setAcceptDrops(m_targetEffects != DropEffectNone);
    }
}

void TDragDrop::SetTargetEffects(TDropEffectMask effects)
{
    m_targetEffects = effects;
    if (m_control)
        m_control->setAcceptDrops(effects != DropEffectNone);
}

void TDragDrop::MarkOwnDrag(QMimeData &data) const
{
    data.setData(OwnDragFormat, QByteArray::number(quintptr(this)));
}

bool TDragDrop::IsOwnDrag(const QMimeData *data) const
{
    return m_dragging
        || (data && data->hasFormat(OwnDragFormat) && data->data(OwnDragFormat) == QByteArray::number(quintptr(this)));
}

TDropEffectMask TDragDrop::StartDrag(QMimeData *data)
{
    if (!data)
        return DropEffectNone;
    if (!m_control || m_sourceEffects == DropEffectNone) {
        delete data;
        return DropEffectNone;
    }
    m_dragging = true;
    MarkOwnDrag(*data);
    auto *drag = new QDrag(m_control);
    drag->setMimeData(data);
    const Qt::DropAction result = drag->exec(toActions(m_sourceEffects), Qt::CopyAction);
    m_dragging = false;
    return fromActions(result);
}

bool TDragDrop::AcceptData(const QMimeData *) const
{
    return true;
}

void TDragDrop::TakeData(const QMimeData *) {}

int TDragDrop::effectFor(const QDropEvent *e, bool accepted) const
{
    if (!accepted)
        return DropEffectNone;
    return ComputeDropEffect(DragKeyState(e->modifiers(), e->buttons()), m_targetEffects,
                             fromActions(e->possibleActions()));
}

void TDragDrop::dragEnter(QDropEvent *e)
{
    m_accepted = AcceptData(e->mimeData());
    int effect = effectFor(e, m_accepted);
    bool accept = m_accepted;
    if (OnDragEnter)
        OnDragEnter(e->mimeData(), DragKeyState(e->modifiers(), e->buttons()), e->position().toPoint(), effect, accept);
    m_accepted = accept;
    if (!m_accepted)
        effect = DropEffectNone;
    if (effect == DropEffectNone) {
        e->ignore();
        return;
    }
    e->setDropAction(toAction(effect));
    e->accept();
}

void TDragDrop::dragMove(QDropEvent *e)
{
    int effect = effectFor(e, m_accepted);
    if (OnDragOver)
        OnDragOver(DragKeyState(e->modifiers(), e->buttons()), e->position().toPoint(), effect);
    if (effect == DropEffectNone) {
        e->ignore();
        return;
    }
    e->setDropAction(toAction(effect));
    e->accept();
}

void TDragDrop::drop(QDropEvent *e)
{
    const bool accepted = AcceptData(e->mimeData());
    const int keyState = DragKeyState(e->modifiers(), e->buttons());
    const QPoint pt = e->position().toPoint();
    int effect = effectFor(e, accepted);
    if (OnDragOver)
        OnDragOver(keyState, pt, effect);
    if (effect == DropEffectNone) {
        e->ignore();
        return;
    }
    if (OnDrop)
        OnDrop(e->mimeData(), keyState, pt, effect);
    m_keyState = keyState;
    m_point = pt;
    m_effect = effect;
    if (!IsOwnDrag(e->mimeData()))
        TakeData(e->mimeData());
    e->setDropAction(toAction(effect));
    e->accept();
    // Handled after the drop has returned, from the event loop.
    QPointer<TDragDrop> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->OnProcessDropped)
            self->OnProcessDropped(self, self->m_keyState, self->m_point, self->m_effect);
    });
}

bool TDragDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_control && m_targetEffects != DropEffectNone) {
        switch (event->type()) {
        case QEvent::DragEnter:
            dragEnter(static_cast<QDropEvent *>(event));
            return true;
        case QEvent::DragMove:
            dragMove(static_cast<QDropEvent *>(event));
            return true;
        case QEvent::DragLeave:
            if (OnDragLeave)
                OnDragLeave();
            return true;
        case QEvent::Drop:
            drop(static_cast<QDropEvent *>(event));
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QMimeData *TDragDropFiles::CreateDragData() const
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &f : Files)
        urls << QUrl::fromLocalFile(f);
    data->setUrls(urls);
    MarkOwnDrag(*data);
    return data;
}

TDropEffectMask TDragDropFiles::StartDrag()
{
    if (Files.isEmpty())
        return DropEffectNone;
    return TDragDrop::StartDrag(CreateDragData());
}

bool TDragDropFiles::AcceptData(const QMimeData *data) const
{
    return !DroppedLocalFiles(data).isEmpty();
}

void TDragDropFiles::TakeData(const QMimeData *data)
{
    Files = DroppedLocalFiles(data);
}
