// The link between a data set and the controls that show it. A data source
// watches one data set and passes its notices on as signals, so that a
// window's handler and every bound control learn of record moves, field
// changes and state changes in one place; it also asks the bound controls
// to write their pending text into the fields before a record is posted.
#pragma once

#include "engine/dataset.h"

#include <QObject>
#include <QPointer>

namespace dbui {

class FieldLink;

class DataSource : public QObject, private engine::DataSetObserver
{
    Q_OBJECT
    Q_PROPERTY(bool autoEdit READ autoEdit WRITE setAutoEdit)
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled)

public:
    explicit DataSource(QObject *parent = nullptr);
    explicit DataSource(engine::DataSet *dataSet, QObject *parent = nullptr);
    ~DataSource() override;

    void setDataSet(engine::DataSet *dataSet);
    engine::DataSet *dataSet() const { return m_dataSet; }

    // Typing into a bound control puts a browsed record into edit state.
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }

    // A disabled source shows its controls empty, as if the set were closed.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);

    // Inactive without a data set, while disabled or while the set is closed.
    engine::DataSetState state() const;
    bool isActive() const { return state() != engine::DataSetState::Inactive; }
    bool isEditing() const;    // edit or insert
    bool canModify() const;    // the data set takes changes

    // Puts the record into edit state for a control that is about to change
    // it: true when it is (or already was) in edit or insert state. Refusals
    // of the data set are reported through the error sink.
    bool edit();

    // Asks the bound controls to write their pending text into the fields.
    // The data set asks for this itself before it posts; windows call it
    // before they read a field the user may be typing into. A refused value
    // throws engine::EngineError, which stops the post.
    void updateRecord();

    // Controls bound through a FieldLink register here.
    void addLink(FieldLink *link);
    void removeLink(FieldLink *link);

signals:
    // A field's value changed (field given) or the record moved or was
    // re-read (field null): the handlers named ...DataChange.
    void dataChange(engine::Field *field);
    // Opened, closed, entered or left edit or insert state.
    void stateChange();
    // The rows of the set changed: posted, deleted, refreshed, filtered.
    void rowsChange();
    // The source now watches another data set (or none).
    void dataSetChange();

private:
    void dataChanged(engine::DataSet &, engine::Field *field) override;
    void stateChanged(engine::DataSet &) override;
    void rowsChanged(engine::DataSet &) override;
    void updateRecord(engine::DataSet &) override;
    void dataSetDestroyed(engine::DataSet &) override;

    engine::DataSet *m_dataSet = nullptr;
    bool m_autoEdit = true;
    bool m_enabled = true;
    bool m_updating = false;
    QList<FieldLink *> m_links;
};

// Points a receiver (grid model, navigator) at another source: its handlers
// for record and field notices, state notices, changed rows, and a new data
// set or the source's end. False when the source is the same.
template <class R, class OnData, class OnState, class OnRows, class OnReset>
bool relinkSource(QPointer<DataSource> &current, DataSource *source, R *receiver, OnData onData,
                  OnState onState, OnRows onRows, OnReset onReset)
{
    if (source == current)
        return false;
    if (current)
        QObject::disconnect(current, nullptr, receiver, nullptr);
    current = source;
    if (source) {
        QObject::connect(source, &DataSource::dataChange, receiver, onData);
        QObject::connect(source, &DataSource::stateChange, receiver, onState);
        QObject::connect(source, &DataSource::rowsChange, receiver, onRows);
        QObject::connect(source, &DataSource::dataSetChange, receiver, onReset);
        QObject::connect(source, &QObject::destroyed, receiver, onReset);
    }
    return true;
}

} // namespace dbui
