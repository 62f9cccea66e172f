#include "dbui/datasource.h"

#include "dbui/errorsink.h"
#include "dbui/fieldlink.h"

#include <QScopedValueRollback>

namespace dbui {

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
}

DataSource::DataSource(engine::DataSet *dataSet, QObject *parent)
    : QObject(parent)
{
    setDataSet(dataSet);
}

DataSource::~DataSource()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
}

void DataSource::setDataSet(engine::DataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeObserver(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addObserver(this);
    emit dataSetChange();
    emit stateChange();
    emit dataChange(nullptr);
}

void DataSource::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    emit stateChange();
    emit dataChange(nullptr);
}

engine::DataSetState DataSource::state() const
{
    if (!m_dataSet || !m_enabled)
        return engine::DataSetState::Inactive;
    return m_dataSet->state();
}

bool DataSource::isEditing() const
{
    const auto s = state();
    return s == engine::DataSetState::Edit || s == engine::DataSetState::Insert;
}

bool DataSource::canModify() const
{
    return isActive() && m_dataSet->canModify();
}

bool DataSource::edit()
{
    if (isEditing())
        return true;
    if (state() != engine::DataSetState::Browse || !m_autoEdit || !canModify())
        return false;
    guarded([this] { m_dataSet->edit(); });
    return isEditing();
}

void DataSource::updateRecord()
{
    // A control that writes a field triggers a data-change notice, which
    // must not start another round of writes.
    if (m_updating || !isEditing())
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    const QList<FieldLink *> links = m_links;
    for (FieldLink *link : links)
        link->writeBack();
}

void DataSource::addLink(FieldLink *link)
{
    if (!m_links.contains(link))
        m_links.append(link);
}

void DataSource::removeLink(FieldLink *link)
{
    m_links.removeAll(link);
}

void DataSource::dataChanged(engine::DataSet &, engine::Field *field)
{
    if (m_enabled)
        emit dataChange(field);
}

void DataSource::stateChanged(engine::DataSet &)
{
    emit stateChange();
}

void DataSource::rowsChanged(engine::DataSet &)
{
    if (m_enabled)
        emit rowsChange();
}

void DataSource::updateRecord(engine::DataSet &)
{
    updateRecord();
}

void DataSource::dataSetDestroyed(engine::DataSet &)
{
    // The set is going away: forget it without calling it again.
    m_dataSet = nullptr;
    emit dataSetChange();
    emit stateChange();
    emit dataChange(nullptr);
}

} // namespace dbui

