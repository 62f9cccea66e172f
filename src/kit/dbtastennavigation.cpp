#include "kit/dbtastennavigation.h"

#include "engine/dataset.h"
#include "kit/presenter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

int VirtualKeyOf(const QKeyEvent &e)
{
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Plus: return keypad ? VK_ADD : 0;
    case Qt::Key_Minus: return keypad ? VK_SUBTRACT : 0;
    default: return 0;
    }
}

namespace {

// Steps one way until the group field's text differs from where it started,
// or the end of the data is reached.
void stepToNextGroup(engine::DataSet &ds, engine::Field &field, bool forward)
{
    const QString start = field.asString();
    for (;;) {
        if (forward) {
            ds.next();
            if (ds.eof())
                return;
        } else {
            ds.prior();
            if (ds.bof())
                return;
        }
        if (field.asString() != start)
            return;
    }
}

bool pageStep(engine::DataSet &ds, int options, bool ctrl, const QString &groupField, bool forward)
{
    if (!ctrl) {
        if (!(options & dskPageStep))
            return false;
        forward ? ds.next() : ds.prior();
        return true;
    }
    if (!(options & dskCtrlPageJump))
        return false;
    if (groupField.isEmpty()) {
        for (int i = 0; i < 10; ++i)
            forward ? ds.next() : ds.prior();
        return true;
    }
    engine::Field *f = ds.findField(groupField);
    if (!f)
        return false;
    stepToNextGroup(ds, *f, forward);
    return true;
}

} // namespace

bool HandleDataSetKey(engine::DataSet &ds, int options, int key, bool ctrl, const QString &groupField)
{
    if (!ds.active())
        return false;
    switch (ds.state()) {
    case engine::DataSetState::Edit:
    case engine::DataSetState::Insert:
        if (key == VK_RETURN && (options & dskEnterPosts)) {
            ds.post();
            return true;
        }
        if (key == VK_ESCAPE && (options & dskEscCancels)) {
            ds.cancel();
            return true;
        }
        return false;
    case engine::DataSetState::Browse:
        break;
    default:
        return false;
    }

    const bool mayChange = ctrl && (options & dskInsertDelete) && ds.canModify();
    switch (key) {
    case VK_INSERT:
    case VK_ADD:
        if (!mayChange)
            return false;
        ds.insert();
        return true;
    case VK_DELETE:
    case VK_SUBTRACT:
        if (!mayChange)
            return false;
        ConfirmDelete(ds);
        return true;
    case VK_PRIOR: return pageStep(ds, options, ctrl, groupField, false);
    case VK_NEXT: return pageStep(ds, options, ctrl, groupField, true);
    case VK_END:
    case VK_HOME:
        if (!((options & dskHomeEnd) || (ctrl && (options & dskCtrlHomeEnd))))
            return false;
        key == VK_END ? ds.last() : ds.first();
        return true;
    default:
        return false;
    }
}

bool HandleDataSetKey(engine::DataSet &ds, int options, const QKeyEvent &e, const QString &groupField)
{
    const int key = VirtualKeyOf(e);
    return key && HandleDataSetKey(ds, options, key, e.modifiers() & Qt::ControlModifier, groupField);
}

int ComboNavOptions(const QComboBox &combo)
{
    const bool listOpen = combo.view() && combo.view()->isVisible();
    return (combo.count() == 0 || !listOpen) ? 101 : 5;
}

bool ConfirmDelete(engine::DataSet &ds)
{
    const TModalResult r = kit::messageBox(
        QStringLiteral("Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?"),
        QStringLiteral("Warnung!"), kit::MsgButtons::YesNo, kit::BoxIcon::Warning);
    if (r != mrYes)
        return false;
    ds.deleteRecord();
    return true;
}
