#include "dbui/checkbinding.h"

#include "dbui/errorsink.h"
#include "engine/field.h"

namespace dbui {

CheckBinding::CheckBinding(QObject *parent)
    : QObject(parent)
    , FieldControl(this)
{
    connect(m_link, &FieldLink::dataChanged, this, &CheckBinding::stateChanged);
}

void CheckBinding::setStringForTrue(const QString &s)
{
    m_true = s;
    emit stateChanged();
}

void CheckBinding::setStringForFalse(const QString &s)
{
    m_false = s;
    emit stateChanged();
}

CheckBinding::State CheckBinding::readState() const
{
    const engine::Field *f = field();
    if (!f)
        return State::Unchecked;
    if (f->isNull())
        return State::Grayed;
    if (f->dataType() == engine::FieldType::Boolean)
        return f->asBoolean() ? State::Checked : State::Unchecked;
    if (!m_true.isEmpty() && f->asString() == m_true)
        return State::Checked;
    return State::Unchecked;
}

bool CheckBinding::beginChange()
{
    return m_link->beginEdit();
}

bool CheckBinding::writeState(State state)
{
    engine::Field *f = field();
    if (!f || isReadOnly() || !m_link->isEditing())
        return false;
    return guarded([&] {
        if (state == State::Grayed) {
            f->clear();
            return;
        }
        const bool checked = state == State::Checked;
        switch (f->dataType()) {
        case engine::FieldType::Boolean:
            f->setValue(checked);
            break;
        case engine::FieldType::String:
        case engine::FieldType::SmallInt:
        case engine::FieldType::Integer:
            f->setValue(checked ? m_true : m_false);
            break;
        default:
            break;
        }
    });
}

} // namespace dbui
