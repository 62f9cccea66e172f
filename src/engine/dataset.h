// The cursor base shared by tables and query results: a current record over
// an ordered set of rows, the browse/edit/insert states, the data-set events
// in their fixed order, calculated fields, a record filter, and notices to the
// data-aware controls. Subclasses supply the rows (see "Row source" below).
#pragma once

#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/signal.h"
#include "engine/tabledef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <limits>
#include <memory>
#include <unordered_map>
#include <vector>

namespace engine {

class Session;
class DataSet;
class TableFile;

enum class DataSetState { Inactive, Browse, Edit, Insert, SetKey, CalcFields };

// Notices for data-aware controls. While controls are disabled they are held
// back and one summary notice follows EnableControls.
class DataSetObserver {
public:
    virtual ~DataSetObserver();
    // A field's value changed (field set) or the current record changed or
    // moved (field null).
    virtual void dataChanged(DataSet &, Field * /*field*/) {}
    // The state changed (open, close, browse, edit, insert).
    virtual void stateChanged(DataSet &) {}
    // The set or order of rows changed (post, delete, refresh, range, filter,
    // index); row numbers read before are no longer valid.
    virtual void rowsChanged(DataSet &) {}
    // Before a post (and before checkBrowseMode decides between post and
    // cancel): bound controls write their pending text into the fields.
    virtual void updateRecord(DataSet &) {}
    // The data set is being destroyed; forget it.
    virtual void dataSetDestroyed(DataSet &) {}
};

using Bookmark = qint64;
constexpr Bookmark InvalidBookmark = std::numeric_limits<qint64>::min();

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false; // a text value matches the beginning of the field
};

// The session must outlive its data sets. A subclass closes itself in its
// own destructor (the base cannot reach the row source any more).
class DataSet {
public:
    // Subscribers are called in subscription order; see engine/signal.h.
    using Event = Signal<DataSet &>;

    explicit DataSet(Session *session = nullptr); // null: the program's session
    virtual ~DataSet();
    DataSet(const DataSet &) = delete;
    DataSet &operator=(const DataSet &) = delete;

    Session &session() const { return *m_session; }
    QString name() const { return m_name; }            // for messages and tests

    // The open data sets of the program that read or write the table file,
    // in the order they were made: work that needs a file to itself closes
    // them around it.
    static std::vector<DataSet *> openOn(const TableFile &file);
    // Whether the open data set reads or writes the file.
    virtual bool uses(const TableFile &) const { return false; }
    void setName(const QString &n) { m_name = n; }

    // Opening and closing (Before/AfterOpen, Before/AfterClose).
    void open();
    void close();
    bool active() const { return m_state != DataSetState::Inactive; }
    void setActive(bool on) { on ? open() : close(); }
    DataSetState state() const { return m_state; }

    // Fields. Names match without regard to letter case.
    int fieldCount() const { return int(m_fields.size()); }
    Field *field(int i) const { return m_fields.at(size_t(i)).get(); }
    Field *findField(const QString &name) const;
    Field *fieldByName(const QString &name) const;  // throws ErrFieldNotFound
    QStringList fieldNames() const;
    // Calculated fields are declared while closed and kept across opens.
    Field *addCalcField(const QString &name, FieldType type, int size = 0);

    // Navigation (each runs BeforeScroll and AfterScroll; a pending edit is
    // posted first).
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty();
    int recordCount();               // rows visible (range and filter applied)
    int recNo();                     // 1-based; -1 while inserting or empty
    void setRecNo(int recNo);
    Bookmark bookmark();
    bool bookmarkValid(Bookmark b);
    void gotoBookmark(Bookmark b);   // throws when the record no longer exists
    Bookmark bookmarkAt(int row);    // of row n (0-based) without moving; invalid outside
    // Asks the observers to write pending control text into the fields
    // (post and checkBrowseMode do this themselves).
    void updateRecord();

    // Reading row n (0-based, in the data set's order) without moving the
    // cursor: for grids and lists. Calculated fields are computed for it.
    QVariant valueAt(int row, int fieldIndex);

    // Editing.
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    void checkBrowseMode();          // posts a modified edit, cancels an unmodified one
    bool modified() const { return m_modified; }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool on);       // only while closed
    virtual bool canModify() const;

    // Locate on one to three fields ("Medium;Nr"); a failed locate leaves the
    // cursor where it was.
    virtual bool locate(const QString &keyFields, const QVariantList &values,
                        LocateOptions options = {});
    bool locate(const QString &keyField, const QVariant &value, LocateOptions options = {})
    {
        return locate(keyField, QVariantList{value}, options);
    }

    // Re-reads the rows and keeps the position (Before/AfterRefresh).
    void refresh();

    // A reader that needs only some data fields of the records it steps
    // through (an export) names them by position: while named, a record the
    // cursor reaches may hold only these, the others reading as null. A set
    // with calculated fields reads whole records all the same; an edit or
    // insert, closing, and an empty list end it, and the current record is
    // read whole again.
    void limitReading(const QList<int> &dataFields);

    // Record filter: OnFilterRecord decides per record while Filtered is on.
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on);
    std::function<bool(DataSet &)> onFilterRecord;

    // Notices to data-aware controls.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    void addObserver(DataSetObserver *o);
    void removeObserver(DataSetObserver *o);

    // Events, in the order the operations run them. Subscribe with
    // event.subscribe(slot) and keep the handle as long as the slot may run.
    Event beforeOpen, afterOpen, beforeClose, afterClose;
    Event beforeInsert, afterInsert, onNewRecord;
    Event beforeEdit, afterEdit, beforePost, afterPost, beforeCancel, afterCancel;
    Event beforeDelete, afterDelete, beforeScroll, afterScroll;
    Event beforeRefresh, afterRefresh;
    Event onCalcFields;

protected:
    // ---- Row source, supplied by subclasses ----
    // Rows are numbered 0..rowCount()-1 in the data set's order (range
    // applied, filter not). A row has a stable key that survives re-reading.
    virtual void openSource() = 0;                   // define fields (defineField), prepare rows
    virtual void closeSource() = 0;
    virtual void refreshSource() {}                  // re-read rows (from disk)
    virtual void syncSource() {}                     // cheap check before navigation; calls rowsInvalidated() when rows changed
    virtual int sourceCount() = 0;
    // The same count for the one who only wants to know it (recordCount): a
    // source that reads its rows lazily may count them without reading them.
    virtual int sourceCountOnly() { return sourceCount(); }
    // Whether row n exists; a source that reads its rows lazily answers
    // without counting them all.
    virtual bool sourceHasRow(int row) { return row < sourceCount(); }
    virtual void sourceRead(int row, QVariant *values) = 0; // data fields only
    virtual qint64 sourceKey(int row) = 0;
    virtual int sourceFind(qint64 key) = 0;          // -1 when the row is gone
    virtual bool sourceWritable() const { return false; }
    virtual void sourceInitRecord(QVariant * /*values*/) {}   // validity defaults of a new record
    virtual void sourceForget(qint64 /*key*/) {}     // the next read of this row must come from disk
    virtual void sourceCheckExists(qint64 /*key*/) {} // throws when the row is gone from the store
    // Writes the record; returns the key of the written row. May throw.
    virtual qint64 sourceWrite(bool inserting, qint64 key, const QVariant *values,
                               const std::vector<bool> &changed);
    virtual void sourceDelete(qint64 key);
    // Fast locate: the first row (in order) matching; -1 when none; -2 when
    // the subclass cannot answer and the generic scan is to be used.
    virtual int sourceLocate(const QList<int> & /*fields*/, const QVariantList & /*values*/,
                             LocateOptions /*options*/, int /*fromRow*/) { return -2; }

    // ---- Helpers for subclasses ----
    Field *defineField(const FieldDef &def);         // during openSource
    void rowsInvalidated();                          // the subclass's rows changed
    void moveToKey(qint64 key, bool runScrollEvents = true); // make row with key current
    void moveToSourceRow(int row, bool runScrollEvents = true);
    bool hasCurrent() const { return m_hasCurrent; }
    qint64 currentKey() const { return m_curKey; }
    void notifyRowsChanged();
    void notifyDataChanged(Field *field);
    void notifyStateChanged();
    void requireActive() const;
    void requireInactive() const;
    const QVariant *recordValues() const { return m_values.data(); }
    // The record as shown when the edit began (empty while inserting): a
    // post writes a changed field only where the store still holds it.
    const std::vector<QVariant> &editStartValues() const { return m_oldValues; }
    int dataFieldCount() const { return m_dataFieldCount; }
    // While the cursor's record is read under limitReading: the data fields
    // it needs (true); null when it needs them all.
    const std::vector<bool> *fieldsNeeded() const { return m_readingLimited ? &m_needed : nullptr; }
    // ... and a number that tells one naming from another (0: every field).
    quint64 fieldsNeededStamp() const { return m_readingLimited ? m_neededStamp : 0; }
    int visibleRowOfSource(int sourceRow);           // -1 when filtered out
    void clearRowCache();

private:
    friend class Field;
    struct CachedRow {
        std::vector<QVariant> values;
    };

    void setState(DataSetState s);
    void ensureRows();                   // filter map up to date
    int visibleCount();
    bool hasVisibleRow(int pos);         // without counting every row
    int clampVisible(int pos);           // pos within the visible rows; -1 when there are none
    int sourceRowOfVisible(int pos);
    int resolvePos();                    // visible position of the current record, -1 none
    void loadVisible(int pos);           // make visible row pos current (no events)
    void loadEmpty();
    void readInto(int sourceRow, std::vector<QVariant> &values);
    void calculate(std::vector<QVariant> &values);
    bool passesFilter(std::vector<QVariant> &values);
    void fieldWritten(Field *f, const QVariant &value);
    void deliverNotices();
    bool matches(const Field &f, const QVariant &stored, const QVariant &wanted, LocateOptions o) const;
    QVariant &slot(int fieldIndex);
    const QVariant &slot(int fieldIndex) const;
    void resetFieldsAfterClose();
    void doScroll(const std::function<void()> &move);
    void beginInsert(bool appendAtEnd);
    bool endingEdit();                   // leaves set-key; true in edit or insert
    void takeOtherUsersValues();         // after a post refused over another user's change

    Session *m_session;
    QString m_name;
    DataSetState m_state = DataSetState::Inactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    std::vector<FieldDef> m_calcDefs;
    int m_dataFieldCount = 0;
    std::vector<QVariant> m_values;      // current record: data fields, then calculated
    std::vector<QVariant> m_oldValues;
    std::vector<QVariant> m_keyValues;   // SetKey buffer
    std::vector<QVariant> *m_active = nullptr; // buffer fields read while calculating other rows
    std::vector<bool> m_changed;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_bof = true;
    bool m_eof = true;
    bool m_hasCurrent = false;
    qint64 m_curKey = 0;
    int m_curPos = -1;                   // last known visible position
    bool m_filtered = false;
    bool m_filterMapValid = false;
    std::vector<int> m_filterMap;        // visible position -> source row
    unsigned m_rowsEpoch = 0;            // counts rowsInvalidated(): rows renumbered
    int m_disableCount = 0;
    bool m_pendingData = false, m_pendingRows = false, m_pendingState = false;
    std::vector<DataSetObserver *> m_observers;
    std::unordered_map<qint64, CachedRow> m_rowCache;
    int m_calcDepth = 0;
    int m_busy = 0;                      // notices held back while > 0
    qint64 m_insertReturnKey = 0;
    bool m_insertHadCurrent = false;
    int m_insertReturnPos = -1;
    std::vector<std::unique_ptr<Field>> m_retired; // fields of earlier opens, kept for held pointers
    std::vector<bool> m_needed;          // limitReading; empty: every field
    quint64 m_neededStamp = 0;           // counts its namings
    bool m_readingLimited = false;       // the cursor's record is being read under it
    bool m_partialRecord = false;        // the current record was read under it
    friend struct BusyGuard;

protected:
    DataSetState m_keyReturnState = DataSetState::Browse;
    std::vector<QVariant> &keyBuffer() { return m_keyValues; }
    void enterSetKey();
    void leaveSetKey();
};

QString stateName(DataSetState s);

} // namespace engine
