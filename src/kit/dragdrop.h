// File drag and drop for a control: TDragDrop makes one control a drop
// target and a drag source; TDragDropFiles carries lists of local files.
// The dropped data is taken during the drop; OnProcessDropped runs after it,
// from the event loop, so the program that dragged is released before the
// files are handled.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <functional>

class QMimeData;
class QWidget;
class QDropEvent;

enum class TDropEffect { deCopy, deMove, deLink };
// A set of effects as the mask the drag and drop carries: copy 1, move 2, link 4.
using TDropEffectMask = int;
constexpr TDropEffectMask DropEffectNone = 0;
constexpr TDropEffectMask DropEffectCopy = 1;
constexpr TDropEffectMask DropEffectMove = 2;
constexpr TDropEffectMask DropEffectLink = 4;

// Key state bits of a drag: buttons and modifier keys.
constexpr int MK_LBUTTON = 0x01;
constexpr int MK_RBUTTON = 0x02;
constexpr int MK_SHIFT = 0x04;
constexpr int MK_CONTROL = 0x08;
constexpr int MK_MBUTTON = 0x10;
constexpr int MK_ALT = 0x20;

int DragKeyState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

// The effect of a drop: Shift alone with move allowed by the target moves;
// Ctrl+Shift with link links; else the first of copy, move, link that the
// target and the source both allow; else none.
TDropEffectMask ComputeDropEffect(int keyState, TDropEffectMask targetEffects, TDropEffectMask allowedEffects);

// The local files a drag carries; empty when it carries anything else.
QStringList DroppedLocalFiles(const QMimeData *data);

class TDragDrop : public QObject
{
    Q_OBJECT
public:
    explicit TDragDrop(QObject *parent = nullptr);
    ~TDragDrop() override;

    QWidget *DragDropControl() const { return m_control; }
    void SetDragDropControl(QWidget *control);
    TDropEffectMask TargetEffects() const { return m_targetEffects; }
    void SetTargetEffects(TDropEffectMask effects);
    TDropEffectMask SourceEffects() const { return m_sourceEffects; }
    void SetSourceEffects(TDropEffectMask effects) { m_sourceEffects = effects; }

    std::function<void(const QMimeData *data, int keyState, QPoint pt, int &effect, bool &accept)> OnDragEnter;
    std::function<void()> OnDragLeave;
    std::function<void(int keyState, QPoint pt, int &effect)> OnDragOver;
    std::function<void(const QMimeData *data, int keyState, QPoint pt, int &effect)> OnDrop;
    std::function<void(QObject *sender, int keyState, QPoint pt, int effect)> OnProcessDropped;

    // Runs a drag of the data (which it takes over) from the control with the
    // source effects; returns the effect of the drop, none when cancelled.
    TDropEffectMask StartDrag(QMimeData *data);
    bool Dragging() const { return m_dragging; }

    // The last drop.
    int LastKeyState() const { return m_keyState; }
    QPoint LastPoint() const { return m_point; }
    int LastEffect() const { return m_effect; }

    // Marks data as coming from this component's own drag.
    void MarkOwnDrag(QMimeData &data) const;
    bool IsOwnDrag(const QMimeData *data) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Whether a drag's data is taken at all.
    virtual bool AcceptData(const QMimeData *data) const;
    // Takes the dropped data (nothing here).
    virtual void TakeData(const QMimeData *data);

private:
    void dragEnter(QDropEvent *e);
    void dragMove(QDropEvent *e);
    void drop(QDropEvent *e);
    int effectFor(const QDropEvent *e, bool accepted) const;

    QPointer<QWidget> m_control;
    TDropEffectMask m_targetEffects = DropEffectCopy;
    TDropEffectMask m_sourceEffects = DropEffectCopy;
    bool m_accepted = false;
    bool m_dragging = false;
    int m_keyState = 0;
    QPoint m_point;
    int m_effect = 0;
};

class TDragDropFiles : public TDragDrop
{
    Q_OBJECT
public:
    explicit TDragDropFiles(QObject *parent = nullptr) : TDragDrop(parent) {}

    // Full paths, in the order dropped; duplicates kept.
    QStringList Files;

    // The drag data over Files (local file addresses, marked as ours).
    QMimeData *CreateDragData() const;
    // Drags Files out of the control; nothing when Files is empty.
    TDropEffectMask StartDrag();

protected:
    bool AcceptData(const QMimeData *data) const override;
    void TakeData(const QMimeData *data) override;
};
