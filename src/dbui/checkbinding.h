// The binding of a check box to a field, for the kit's data-aware check
// box: how a field value reads as a box state, when a click may change it,
// and what a state writes. The box itself (drawing, clicks, radio groups)
// belongs to the kit; it calls these and listens to link()'s signals.
#pragma once

#include "dbui/fieldcontrol.h"

#include <QObject>

namespace dbui {

class CheckBinding : public QObject, public FieldControl
{
    Q_OBJECT

public:
    enum class State { Unchecked, Checked, Grayed };

    explicit CheckBinding(QObject *parent = nullptr);

    // The box's ReadOnly property: a read-only box never changes the field.
    void setReadOnly(bool on) { m_link->setReadOnly(on); }
    bool isReadOnly() const { return m_link->isReadOnly(); }

    // For string and integer fields: the texts written for checked and
    // unchecked; a field whose text equals stringForTrue reads as checked.
    QString stringForTrue() const { return m_true; }
    QString stringForFalse() const { return m_false; }
    void setStringForTrue(const QString &s);
    void setStringForFalse(const QString &s);

    // The state the field's value stands for: no field unchecked, null
    // grayed, a true Boolean checked, a text equal to stringForTrue checked,
    // anything else unchecked.
    State readState() const;

    // Before a click or key changes the box: whether it may. A browsed
    // record goes into edit state; on a write-protected set the change is
    // refused and link() emits editRefused().
    bool beginChange();

    // After the box changed: writes the state. Grayed clears the field; a
    // Boolean field takes the check; a string or integer field takes
    // stringForTrue or stringForFalse; other types are left alone. Errors
    // of the field go to the error sink; returns whether it was written.
    bool writeState(State state);

signals:
    // The box must show readState() again (record moved, field changed,
    // set opened or closed, strings changed).
    void stateChanged();

private:
    QString m_true;
    QString m_false;
};

} // namespace dbui
