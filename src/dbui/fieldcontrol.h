// The part every field-bound control shares: its data source, its field
// name and the link between them (the DataSource and DataField properties).
#pragma once

#include "dbui/fieldlink.h"

namespace dbui {

class FieldControl
{
public:
    DataSource *dataSource() const { return m_link->dataSource(); }
    void setDataSource(DataSource *source) { m_link->setDataSource(source); }
    QString dataField() const { return m_link->fieldName(); }
    void setDataField(const QString &name) { m_link->setFieldName(name); }
    engine::Field *field() const { return m_link->field(); }
    FieldLink *link() const { return m_link; }

    // The control's own ReadOnly property (the set's write lock is followed
    // without it).
    void setDataReadOnly(bool on) { m_link->setReadOnly(on); }
    bool dataReadOnly() const { return m_link->isReadOnly(); }

protected:
    explicit FieldControl(QObject *owner)
        : m_link(new FieldLink(owner))
    {
    }
    ~FieldControl() = default;

    // Connects the link's notices to a control's handlers: show the value
    // again, follow the writability, pass on a refused edit.
    template <class W, class Signal>
    void wireLink(W *control, void (W::*show)(), void (W::*editable)(), Signal refused)
    {
        QObject::connect(m_link, &FieldLink::dataChanged, control, show);
        QObject::connect(m_link, &FieldLink::activeChanged, control, editable);
        QObject::connect(m_link, &FieldLink::editingChanged, control, editable);
        QObject::connect(m_link, &FieldLink::editRefused, control, refused);
        (control->*editable)();
    }

    FieldLink *m_link;
};

} // namespace dbui
