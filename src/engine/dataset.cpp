#include "engine/dataset.h"

#include "engine/session.h"

#include <algorithm>

namespace engine {

DataSetObserver::~DataSetObserver() = default;

QString stateName(DataSetState s)
{
    switch (s) {
    case DataSetState::Inactive: return QStringLiteral("Inactive");
    case DataSetState::Browse: return QStringLiteral("Browse");
    case DataSetState::Edit: return QStringLiteral("Edit");
    case DataSetState::Insert: return QStringLiteral("Insert");
    case DataSetState::SetKey: return QStringLiteral("SetKey");
    case DataSetState::CalcFields: return QStringLiteral("CalcFields");
    }
    return QString();
}

// Holds notices back while an operation runs; delivers them at its end.
struct BusyGuard {
    DataSet &ds;
    explicit BusyGuard(DataSet &d) : ds(d) { ++ds.m_busy; }
    ~BusyGuard()
    {
        if (--ds.m_busy == 0)
            ds.deliverNotices();
    }
};

namespace {
std::vector<DataSet *> &everyDataSet()
{
    static std::vector<DataSet *> sets;
    return sets;
}
} // namespace

DataSet::DataSet(Session *session) : m_session(session ? session : &Session::instance())
{
    everyDataSet().push_back(this);
}

std::vector<DataSet *> DataSet::openOn(const TableFile &file)
{
    std::vector<DataSet *> out;
    for (DataSet *d : everyDataSet())
        if (d->active() && d->uses(file))
            out.push_back(d);
    return out;
}

DataSet::~DataSet()
{
    auto &sets = everyDataSet();
    sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
    const auto observers = m_observers;
    for (auto *o : observers)
        o->dataSetDestroyed(*this);
}

void DataSet::updateRecord()
{
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        return;
    // Each field the controls write is announced on its own, as if set by
    // hand, even inside the operation that asked for the text.
    struct BusyPause {
        int &busy;
        int saved;
        ~BusyPause() { busy = saved; }
    } pause{m_busy, std::exchange(m_busy, 0)};
    const auto observers = m_observers;
    for (auto *o : observers)
        o->updateRecord(*this);
}

void DataSet::requireActive() const
{
    if (!active())
        throw EngineError(ErrClosed, QStringLiteral("Diese Operation kann nicht mit einer geschlossenen Datenmenge ausgeführt werden%1.")
                                         .arg(m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
}

void DataSet::requireInactive() const
{
    if (active())
        throw EngineError(ErrOpen, QStringLiteral("Diese Operation kann nicht mit einer geöffneten Datenmenge ausgeführt werden%1.")
                                       .arg(m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
}

// ------------------------------------------------------------------ fields

Field *DataSet::findField(const QString &name) const
{
    // Callers mostly spell the name as defined: an exact comparison (length
    // first) finds it without folding the case of every name before it.
    for (const auto &f : m_fields)
        if (f->fieldName() == name)
            return f.get();
    for (const auto &f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field *DataSet::fieldByName(const QString &name) const
{
    if (Field *f = findField(name))
        return f;
    throw EngineError(ErrFieldNotFound, QStringLiteral("Feld \"%1\" nicht gefunden%2.")
                                            .arg(name, m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
}

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (const auto &f : m_fields)
        names << f->fieldName();
    return names;
}

Field *DataSet::addCalcField(const QString &name, FieldType type, int size)
{
    requireInactive();
    FieldDef def(name, type, size);
    m_calcDefs.push_back(def);
    auto f = std::make_unique<Field>(this, int(m_fields.size()), def, true);
    Field *raw = f.get();
    m_fields.push_back(std::move(f));
    return raw;
}

Field *DataSet::defineField(const FieldDef &def)
{
    // Field objects survive closing and reopening, so that pointers and
    // event handlers taken once stay valid.
    int index = m_dataFieldCount++;
    for (auto it = m_retired.begin(); it != m_retired.end(); ++it) {
        Field &old = **it;
        if (!old.isCalculated() && old.fieldName().compare(def.name, Qt::CaseInsensitive) == 0
            && old.dataType() == def.type) {
            std::unique_ptr<Field> f = std::move(*it);
            m_retired.erase(it);
            f->m_index = index;
            f->m_def = def;
            Field *raw = f.get();
            m_fields.insert(m_fields.begin() + index, std::move(f));
            return raw;
        }
    }
    auto f = std::make_unique<Field>(this, index, def, false);
    Field *raw = f.get();
    m_fields.insert(m_fields.begin() + index, std::move(f));
    return raw;
}

QVariant &DataSet::slot(int i)
{
    if (m_active)
        return (*m_active)[size_t(i)];
    if (m_state == DataSetState::SetKey)
        return m_keyValues[size_t(i)];
    return m_values[size_t(i)];
}

const QVariant &DataSet::slot(int i) const
{
    static const QVariant none;
    if (m_active)
        return (*m_active)[size_t(i)];
    if (m_state == DataSetState::SetKey)
        return size_t(i) < m_keyValues.size() ? m_keyValues[size_t(i)] : none;
    return size_t(i) < m_values.size() ? m_values[size_t(i)] : none;
}

void DataSet::fieldWritten(Field *f, const QVariant &value)
{
    if (f->isCalculated()) {
        if (m_state != DataSetState::CalcFields)
            throw EngineError(ErrReadOnly, QStringLiteral("Das berechnete Feld \"%1\" kann nicht geändert werden.").arg(f->fieldName()));
        slot(f->index()) = f->convert(value);
        return;
    }
    if (m_state == DataSetState::SetKey) {
        slot(f->index()) = f->convert(value);
        return;
    }
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        throw EngineError(ErrNotEditing, QStringLiteral("Die Datenmenge befindet sich nicht im Bearbeitungs- oder Einfügemodus (Feld \"%1\").").arg(f->fieldName()));
    if (f->readOnly())
        throw EngineError(ErrReadOnly, QStringLiteral("Das Feld \"%1\" kann nicht geändert werden.").arg(f->fieldName()));
    QVariant converted = f->convert(value);
    QVariant &s = m_values[size_t(f->index())];
    QVariant old = s;
    s = converted;
    if (f->onValidate) {
        try {
            f->onValidate(*f);
        } catch (...) {
            m_values[size_t(f->index())] = old;
            throw;
        }
    }
    m_changed[size_t(f->index())] = true;
    m_modified = true;
    if (f->onChange)
        f->onChange(*f);
    calculate(m_values);
    notifyDataChanged(f);
}

// ------------------------------------------------------------ notices

void DataSet::addObserver(DataSetObserver *o)
{
    if (std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end())
        m_observers.push_back(o);
}

void DataSet::removeObserver(DataSetObserver *o)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
}

void DataSet::disableControls() { ++m_disableCount; }

void DataSet::enableControls()
{
    if (m_disableCount > 0 && --m_disableCount == 0 && m_busy == 0)
        deliverNotices();
}

void DataSet::deliverNotices()
{
    if (m_disableCount > 0 || m_busy > 0)
        return;
    bool rows = m_pendingRows, state = m_pendingState, data = m_pendingData;
    m_pendingRows = m_pendingState = m_pendingData = false;
    const auto observers = m_observers;
    if (state)
        for (auto *o : observers)
            o->stateChanged(*this);
    if (rows)
        for (auto *o : observers)
            o->rowsChanged(*this);
    if (data || rows)
        for (auto *o : observers)
            o->dataChanged(*this, nullptr);
}

void DataSet::notifyDataChanged(Field *field)
{
    if (m_disableCount > 0 || m_busy > 0 || !field) {
        m_pendingData = true;
        deliverNotices();
        return;
    }
    const auto observers = m_observers;
    for (auto *o : observers)
        o->dataChanged(*this, field);
}

void DataSet::notifyStateChanged()
{
    m_pendingState = true;
    deliverNotices();
}

void DataSet::notifyRowsChanged()
{
    m_pendingRows = true;
    deliverNotices();
}

void DataSet::setState(DataSetState s)
{
    if (m_state == s)
        return;
    m_state = s;
    notifyStateChanged();
}

// ------------------------------------------------------------- open, close

void DataSet::open()
{
    if (active())
        return;
    BusyGuard busy(*this);
    if (beforeOpen)
        beforeOpen(*this);
    // Data fields are defined anew by the source; calculated ones stay.
    for (auto &f : m_fields)
        if (!f->isCalculated())
            m_retired.push_back(std::move(f));
    m_fields.erase(std::remove(m_fields.begin(), m_fields.end(), nullptr), m_fields.end());
    m_dataFieldCount = 0;
    try {
        openSource();
    } catch (...) {
        for (auto &f : m_fields)
            if (!f->isCalculated())
                m_retired.push_back(std::move(f));
        m_fields.erase(std::remove(m_fields.begin(), m_fields.end(), nullptr), m_fields.end());
        m_dataFieldCount = 0;
        for (size_t i = 0; i < m_fields.size(); ++i)
            m_fields[i]->m_index = int(i);
        throw;
    }
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->m_index = int(i);
    m_values.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    m_oldValues.clear();
    m_rowCache.clear();
    m_filterMapValid = false;
    m_hasCurrent = false;
    m_curPos = -1;
    m_modified = false;
    m_state = DataSetState::Browse;
    m_pendingState = true;
    ensureRows();
    const bool any = hasVisibleRow(0);
    if (any)
        loadVisible(0);
    else
        loadEmpty();
    m_bof = true;
    m_eof = !any;
    m_pendingRows = true;
    if (afterOpen)
        afterOpen(*this);
    if (any && afterScroll)
        afterScroll(*this);
}

void DataSet::close()
{
    if (!active())
        return;
    BusyGuard busy(*this);
    if (beforeClose)
        beforeClose(*this);
    m_state = DataSetState::Inactive;
    m_pendingState = true;
    m_needed.clear();
    m_partialRecord = false;
    closeSource();
    m_rowCache.clear();
    m_filterMap.clear();
    m_filterMapValid = false;
    m_hasCurrent = false;
    m_curPos = -1;
    m_modified = false;
    m_bof = m_eof = true;
    std::fill(m_values.begin(), m_values.end(), QVariant());
    m_pendingRows = true;
    if (afterClose)
        afterClose(*this);
}

void DataSet::setReadOnly(bool on)
{
    if (on == m_readOnly)
        return;
    requireInactive();
    m_readOnly = on;
}

bool DataSet::canModify() const { return !m_readOnly && sourceWritable(); }

// ------------------------------------------------------------- rows

void DataSet::rowsInvalidated()
{
    ++m_rowsEpoch;
    m_filterMapValid = false;
    m_rowCache.clear();
    m_pendingRows = true;
}

void DataSet::clearRowCache() { m_rowCache.clear(); }

void DataSet::ensureRows()
{
    syncSource();
    if (!m_filtered || !onFilterRecord) {
        m_filterMapValid = false;
        return;
    }
    if (m_filterMapValid)
        return;
    m_filterMap.clear();
    std::vector<QVariant> tmp(m_fields.size());
    int n = sourceCount();
    for (int i = 0; i < n; ++i) {
        readInto(i, tmp);
        if (passesFilter(tmp))
            m_filterMap.push_back(i);
    }
    m_filterMapValid = true;
}

int DataSet::visibleCount()
{
    if (m_filtered && onFilterRecord)
        return int(m_filterMap.size());
    return sourceCount();
}

bool DataSet::hasVisibleRow(int pos)
{
    if (pos < 0)
        return false;
    if (m_filtered && onFilterRecord)
        return size_t(pos) < m_filterMap.size();
    return sourceHasRow(pos);
}

int DataSet::clampVisible(int pos)
{
    if (!hasVisibleRow(0))
        return -1;
    if (pos <= 0)
        return 0;
    return hasVisibleRow(pos) ? pos : visibleCount() - 1;
}

int DataSet::sourceRowOfVisible(int pos)
{
    if (m_filtered && onFilterRecord)
        return m_filterMap[size_t(pos)];
    return pos;
}

int DataSet::visibleRowOfSource(int sourceRow)
{
    if (sourceRow < 0)
        return -1;
    if (!(m_filtered && onFilterRecord))
        return sourceRow;
    auto it = std::lower_bound(m_filterMap.begin(), m_filterMap.end(), sourceRow);
    if (it == m_filterMap.end() || *it != sourceRow)
        return -1;
    return int(it - m_filterMap.begin());
}

void DataSet::readInto(int sourceRow, std::vector<QVariant> &values)
{
    // The source writes every data field; the calculated ones start empty.
    if (values.size() != m_fields.size())
        values.assign(m_fields.size(), QVariant());
    else
        for (size_t i = size_t(m_dataFieldCount); i < values.size(); ++i)
            values[i] = QVariant();
    sourceRead(sourceRow, values.data());
    calculate(values);
}

void DataSet::calculate(std::vector<QVariant> &values)
{
    if (!onCalcFields || m_calcDefs.empty() || m_calcDepth > 0)
        return;
    for (size_t i = size_t(m_dataFieldCount); i < values.size(); ++i)
        values[i] = QVariant();
    auto *prevActive = m_active;
    DataSetState prevState = m_state;
    ++m_calcDepth;
    m_active = &values;
    m_state = DataSetState::CalcFields;
    try {
        onCalcFields(*this);
    } catch (...) {
        m_state = prevState;
        m_active = prevActive;
        --m_calcDepth;
        throw;
    }
    m_state = prevState;
    m_active = prevActive;
    --m_calcDepth;
}

bool DataSet::passesFilter(std::vector<QVariant> &values)
{
    auto *prevActive = m_active;
    m_active = &values;
    bool ok = true;
    try {
        ok = onFilterRecord(*this);
    } catch (...) {
        m_active = prevActive;
        throw;
    }
    m_active = prevActive;
    return ok;
}

void DataSet::loadVisible(int pos)
{
    int src = sourceRowOfVisible(pos);
    m_curKey = sourceKey(src);
    m_curPos = pos;
    m_hasCurrent = true;
    m_partialRecord = false;
    auto it = m_rowCache.find(m_curKey);
    if (it != m_rowCache.end() && it->second.values.size() == m_fields.size()) {
        m_values = it->second.values;
    } else {
        // Calculated fields may read any field of the record.
        m_readingLimited = !m_needed.empty() && !(onCalcFields && !m_calcDefs.empty());
        try {
            readInto(src, m_values);
        } catch (...) {
            m_readingLimited = false;
            throw;
        }
        m_partialRecord = m_readingLimited;
        m_readingLimited = false;
    }
    m_changed.assign(m_fields.size(), false);
    m_modified = false;
}

void DataSet::loadEmpty()
{
    m_values.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    m_hasCurrent = false;
    m_curPos = -1;
    m_modified = false;
}

int DataSet::resolvePos()
{
    ensureRows();
    if (!m_hasCurrent) {
        if (m_state == DataSetState::Browse && hasVisibleRow(0)) {
            loadVisible(clampVisible(m_curPos));
            return m_curPos;
        }
        return -1;
    }
    int vis = visibleRowOfSource(sourceFind(m_curKey));
    if (vis >= 0) {
        m_curPos = vis;
        return vis;
    }
    // The record is gone (deleted elsewhere) or filtered out: its neighbour.
    const int pos = clampVisible(m_curPos);
    if (pos < 0) {
        loadEmpty();
        m_bof = m_eof = true;
        return -1;
    }
    loadVisible(pos);
    return m_curPos;
}

bool DataSet::isEmpty()
{
    requireActive();
    if (m_state == DataSetState::Insert)
        return false;
    ensureRows();
    return !hasVisibleRow(0);
}

int DataSet::recordCount()
{
    requireActive();
    ensureRows();
    if (m_filtered && onFilterRecord)
        return visibleCount();
    return sourceCountOnly();
}

int DataSet::recNo()
{
    requireActive();
    if (m_state == DataSetState::Insert)
        return -1;
    int pos = resolvePos();
    return pos < 0 ? 0 : pos + 1;
}

QVariant DataSet::valueAt(int row, int fieldIndex)
{
    if (!active() || fieldIndex < 0 || fieldIndex >= fieldCount())
        return QVariant();
    ensureRows();
    if (!hasVisibleRow(row))
        return QVariant();
    int src = sourceRowOfVisible(row);
    qint64 key = sourceKey(src);
    if ((m_state == DataSetState::Edit) && m_hasCurrent && key == m_curKey)
        return m_values[size_t(fieldIndex)];
    auto it = m_rowCache.find(key);
    if (it == m_rowCache.end()) {
        if (m_rowCache.size() >= 2048)
            m_rowCache.clear();
        CachedRow r;
        readInto(src, r.values);
        it = m_rowCache.emplace(key, std::move(r)).first;
    }
    return it->second.values[size_t(fieldIndex)];
}

void DataSet::limitReading(const QList<int> &dataFields)
{
    m_needed.clear();
    if (!dataFields.isEmpty()) {
        ++m_neededStamp;
        m_needed.assign(size_t(m_dataFieldCount), false);
        for (int i : dataFields)
            if (i >= 0 && i < m_dataFieldCount)
                m_needed[size_t(i)] = true;
        return;
    }
    if (!m_partialRecord)
        return;
    m_partialRecord = false;
    if (m_state != DataSetState::Browse || !m_hasCurrent)
        return;
    // The record shown is read whole again, in its place.
    BusyGuard busy(*this);
    const int pos = resolvePos();
    if (pos >= 0 && m_hasCurrent)
        loadVisible(pos);
    m_pendingData = true;
}

// ------------------------------------------------------------- navigation

void DataSet::doScroll(const std::function<void()> &move)
{
    requireActive();
    BusyGuard busy(*this);
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    move();
    m_pendingData = true;
    if (afterScroll)
        afterScroll(*this);
}

void DataSet::first()
{
    doScroll([this] {
        ensureRows();
        if (!hasVisibleRow(0)) {
            loadEmpty();
            m_eof = true;
        } else {
            loadVisible(0);
            m_eof = false;
        }
        m_bof = true;
    });
}

void DataSet::last()
{
    doScroll([this] {
        ensureRows();
        int n = visibleCount();
        if (n == 0) {
            loadEmpty();
            m_bof = true;
        } else {
            loadVisible(n - 1);
            m_bof = false;
        }
        m_eof = true;
    });
}

void DataSet::next() { moveBy(1); }
void DataSet::prior() { moveBy(-1); }

int DataSet::moveBy(int distance)
{
    requireActive();
    BusyGuard busy(*this);
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    int moved = 0;
    if ((distance > 0 && !m_eof) || (distance < 0 && !m_bof)) {
        int pos = resolvePos();
        m_bof = m_eof = false;
        if (!hasVisibleRow(0)) {
            m_bof = m_eof = true;
        } else {
            if (pos < 0)
                pos = 0;
            long long target = (long long)pos + distance;
            const auto beyond = [this](long long row) {
                return row > std::numeric_limits<int>::max() || (row > 0 && !hasVisibleRow(int(row)));
            };
            const unsigned epoch = m_rowsEpoch;
            bool past = beyond(target);
            if (epoch != m_rowsEpoch) {
                // Reading on renumbered the rows (another user's change): from
                // the current record's new place.
                pos = std::max(resolvePos(), 0);
                target = (long long)pos + distance;
                past = beyond(target);
            }
            if (past) {
                target = visibleCount() - 1;
                m_eof = true;
            } else if (target < 0) {
                target = 0;
                m_bof = true;
            }
            moved = int(target - pos);
            if (moved != 0 || !m_hasCurrent)
                loadVisible(int(target));
        }
        m_pendingData = true;
        if (afterScroll)
            afterScroll(*this);
    }
    return moved;
}

void DataSet::setRecNo(int recNo)
{
    doScroll([this, recNo] {
        ensureRows();
        const int pos = clampVisible(recNo - 1);
        if (pos < 0)
            return;
        loadVisible(pos);
        m_bof = m_eof = false;
    });
}

Bookmark DataSet::bookmarkAt(int row)
{
    requireActive();
    ensureRows();
    if (!hasVisibleRow(row))
        return InvalidBookmark;
    return sourceKey(sourceRowOfVisible(row));
}

Bookmark DataSet::bookmark()
{
    requireActive();
    if (m_state == DataSetState::Insert || resolvePos() < 0)
        return InvalidBookmark;
    return m_curKey;
}

bool DataSet::bookmarkValid(Bookmark b)
{
    if (!active() || b == InvalidBookmark)
        return false;
    ensureRows();
    return visibleRowOfSource(sourceFind(b)) >= 0;
}

void DataSet::gotoBookmark(Bookmark b)
{
    requireActive();
    if (!bookmarkValid(b))
        throw EngineError(ErrGeneral, QStringLiteral("Der Datensatz wurde nicht gefunden (möglicherweise wurde er gelöscht)."));
    doScroll([this, b] {
        ensureRows();
        loadVisible(visibleRowOfSource(sourceFind(b)));
        m_bof = m_eof = false;
    });
}

void DataSet::moveToSourceRow(int row, bool runScrollEvents)
{
    auto move = [this, row] {
        ensureRows();
        int vis = visibleRowOfSource(row);
        if (vis >= 0)
            loadVisible(vis);
        m_bof = m_eof = false;
    };
    if (runScrollEvents) {
        doScroll(move);
    } else {
        BusyGuard busy(*this);
        move();
        m_pendingData = true;
    }
}

void DataSet::moveToKey(qint64 key, bool runScrollEvents)
{
    ensureRows();
    moveToSourceRow(sourceFind(key), runScrollEvents);
}

// ------------------------------------------------------------- editing

void DataSet::checkBrowseMode()
{
    requireActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert) {
        updateRecord();
        if (m_modified)
            post();
        else
            cancel();
    } else if (m_state == DataSetState::SetKey) {
        leaveSetKey();
    }
}

void DataSet::edit()
{
    requireActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        return;
    BusyGuard busy(*this);
    if (m_state == DataSetState::SetKey)
        leaveSetKey();
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Datenmenge ist schreibgeschützt und kann nicht geändert werden%1.")
                                           .arg(m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
    limitReading({});
    if (isEmpty()) {
        insert();
        return;
    }
    int pos = resolvePos();
    if (beforeEdit)
        beforeEdit(*this);
    // Editing starts from the record as it is stored now, but the post
    // compares with the record as it was shown: a field another program
    // changed since is not overwritten by a value typed over its old one.
    std::vector<QVariant> shown = m_values;
    m_rowCache.erase(m_curKey);
    sourceForget(m_curKey);
    sourceCheckExists(m_curKey);
    if (pos >= 0)
        loadVisible(pos);
    m_oldValues = shown.size() == m_values.size() ? std::move(shown) : m_values;
    m_changed.assign(m_fields.size(), false);
    m_modified = false;
    setState(DataSetState::Edit);
    m_pendingData = true;
    if (afterEdit)
        afterEdit(*this);
}

void DataSet::insert() { beginInsert(false); }
void DataSet::append() { beginInsert(true); }

void DataSet::beginInsert(bool appendAtEnd)
{
    requireActive();
    BusyGuard busy(*this);
    checkBrowseMode();
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Datenmenge ist schreibgeschützt und kann nicht geändert werden%1.")
                                           .arg(m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
    limitReading({});
    if (beforeInsert)
        beforeInsert(*this);
    if (beforeScroll)
        beforeScroll(*this);
    m_insertHadCurrent = m_hasCurrent;
    m_insertReturnKey = m_curKey;
    m_insertReturnPos = m_curPos;
    m_values.assign(m_fields.size(), QVariant());
    sourceInitRecord(m_values.data());
    m_changed.assign(m_fields.size(), false);
    for (int i = 0; i < m_dataFieldCount; ++i)
        m_changed[size_t(i)] = !m_values[size_t(i)].isNull();
    m_oldValues.assign(m_fields.size(), QVariant());
    m_state = DataSetState::Insert;
    m_pendingState = true;
    if (appendAtEnd) {
        m_eof = true;
        m_bof = false;
    } else {
        m_bof = m_eof = false;
    }
    if (onNewRecord) {
        try {
            onNewRecord(*this);
        } catch (...) {
            // A refused new record leaves the data set as it was.
            m_state = DataSetState::Browse;
            m_hasCurrent = m_insertHadCurrent;
            m_curKey = m_insertReturnKey;
            m_curPos = m_insertReturnPos;
            int pos = resolvePos();
            if (pos >= 0)
                loadVisible(pos);
            else
                loadEmpty();
            throw;
        }
    }
    m_modified = false;
    calculate(m_values);
    m_pendingData = true;
    if (afterInsert)
        afterInsert(*this);
    if (afterScroll)
        afterScroll(*this);
}

bool DataSet::endingEdit()
{
    requireActive();
    if (m_state == DataSetState::SetKey) {
        leaveSetKey();
        return false;
    }
    return m_state == DataSetState::Edit || m_state == DataSetState::Insert;
}

void DataSet::post()
{
    if (!endingEdit())
        return;
    BusyGuard busy(*this);
    updateRecord();
    // BeforePost may change other tables (a medium's films follow its new
    // key); those changes and the record commit together or not at all.
    Session::Transaction tx(session());
    if (beforePost)
        beforePost(*this);
    for (int i = 0; i < m_dataFieldCount; ++i) {
        const Field &f = *m_fields[size_t(i)];
        if (f.required() && m_values[size_t(i)].isNull())
            throw EngineError(ErrRequired, QStringLiteral("Das Feld \"%1\" muss einen Wert haben.").arg(f.displayLabel()));
    }
    bool inserting = m_state == DataSetState::Insert;
    qint64 key;
    try {
        key = sourceWrite(inserting, m_curKey, m_values.data(), m_changed);
    } catch (const EngineError &e) {
        if (e.code() == ErrRecordChanged)
            takeOtherUsersValues();
        throw;
    }
    tx.commit();
    m_rowCache.erase(key);
    m_filterMapValid = false;
    m_curKey = key;
    m_hasCurrent = true;
    m_state = DataSetState::Browse;
    m_pendingState = true;
    m_bof = m_eof = false;
    // Shows what the store keeps (and the neighbour when the new record is
    // outside the range or the filter).
    ensureRows();
    int src = sourceFind(key);
    int vis = visibleRowOfSource(src);
    if (vis >= 0) {
        readInto(src, m_values);
        m_curPos = vis;
    } else {
        resolvePos();
    }
    m_changed.assign(m_fields.size(), false);
    m_modified = false;
    m_oldValues.clear();
    if (inserting)
        m_pendingRows = true;
    m_pendingData = true;
    if (afterPost)
        afterPost(*this);
}

void DataSet::takeOtherUsersValues()
{
    // The record as stored now, the user's changed fields kept over it: a
    // second post writes them, a cancel shows the other user's record.
    m_rowCache.erase(m_curKey);
    sourceForget(m_curKey);
    const int src = sourceFind(m_curKey);
    if (src < 0)
        return;
    std::vector<QVariant> stored;
    stored.assign(m_fields.size(), QVariant());
    sourceRead(src, stored.data());
    for (int i = 0; i < m_dataFieldCount; ++i)
        if (!m_changed[size_t(i)])
            m_values[size_t(i)] = stored[size_t(i)];
    m_oldValues = stored;
    m_pendingData = true;
}

void DataSet::cancel()
{
    if (!endingEdit())
        return;
    BusyGuard busy(*this);
    if (beforeCancel)
        beforeCancel(*this);
    if (m_state == DataSetState::Insert) {
        m_hasCurrent = m_insertHadCurrent;
        m_curKey = m_insertReturnKey;
        m_curPos = m_insertReturnPos;
    }
    m_state = DataSetState::Browse;
    m_pendingState = true;
    m_rowCache.erase(m_curKey);
    int pos = resolvePos();
    if (pos >= 0)
        loadVisible(pos);
    else
        loadEmpty();
    m_bof = m_eof = false;
    if (pos < 0)
        m_bof = m_eof = true;
    m_oldValues.clear();
    m_pendingData = true;
    if (afterCancel)
        afterCancel(*this);
}

void DataSet::deleteRecord()
{
    requireActive();
    if (m_state == DataSetState::Insert || m_state == DataSetState::SetKey) {
        cancel();
        return;
    }
    BusyGuard busy(*this);
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Datenmenge ist schreibgeschützt und kann nicht geändert werden%1.")
                                           .arg(m_name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_name)));
    int pos = resolvePos();
    if (pos < 0)
        throw EngineError(ErrEmpty, QStringLiteral("Die Datenmenge ist leer; es gibt keinen Datensatz zum Löschen."));
    qint64 key = m_curKey;
    {
        // What BeforeDelete changes elsewhere (a medium's films) goes in one
        // transaction with the record itself: all of it or none.
        Session::Transaction tx(session());
        if (beforeDelete)
            beforeDelete(*this);
        if (beforeScroll)
            beforeScroll(*this);
        key = m_curKey;
        sourceDelete(key);
        tx.commit();
    }
    m_rowCache.erase(key);
    m_filterMapValid = false;
    m_state = DataSetState::Browse;
    m_pendingState = true;
    ensureRows();
    const int at = clampVisible(pos);
    if (at < 0) {
        loadEmpty();
        m_bof = m_eof = true;
    } else {
        loadVisible(at);
        m_bof = m_eof = false;
    }
    m_oldValues.clear();
    m_pendingRows = true;
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

qint64 DataSet::sourceWrite(bool, qint64, const QVariant *, const std::vector<bool> &)
{
    throw EngineError(ErrReadOnly, QStringLiteral("Die Datenmenge ist schreibgeschützt und kann nicht geändert werden."));
}

void DataSet::sourceDelete(qint64)
{
    throw EngineError(ErrReadOnly, QStringLiteral("Die Datenmenge ist schreibgeschützt und kann nicht geändert werden."));
}

void DataSet::enterSetKey()
{
    requireActive();
    checkBrowseMode();
    m_keyValues.assign(m_fields.size(), QVariant());
    m_keyReturnState = DataSetState::Browse;
    setState(DataSetState::SetKey);
}

void DataSet::leaveSetKey()
{
    if (m_state == DataSetState::SetKey)
        setState(m_keyReturnState);
}

// ------------------------------------------------------------- refresh, filter

void DataSet::refresh()
{
    requireActive();
    BusyGuard busy(*this);
    checkBrowseMode();
    if (beforeRefresh)
        beforeRefresh(*this);
    refreshSource();
    rowsInvalidated();
    int pos = resolvePos();
    if (pos >= 0) {
        readInto(sourceRowOfVisible(pos), m_values);
        m_bof = m_eof = false;
    } else {
        loadEmpty();
        m_bof = m_eof = true;
    }
    m_pendingRows = true;
    if (afterRefresh)
        afterRefresh(*this);
}

void DataSet::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    m_filterMapValid = false;
    if (active()) {
        m_pendingRows = true;
        first();
    }
}

// ------------------------------------------------------------- locate

bool DataSet::matches(const Field &f, const QVariant &stored, const QVariant &wanted, LocateOptions o) const
{
    QVariant w;
    try {
        w = (f.dataType() == FieldType::String || f.dataType() == FieldType::Memo)
                ? (wanted.isNull() ? QVariant() : QVariant(wanted.toString()))
                : f.convert(wanted);
    } catch (const EngineError &) {
        return false;
    }
    if (w.isNull() || (w.typeId() == QMetaType::QString && w.toString().isEmpty()))
        return stored.isNull();
    if (stored.isNull())
        return false;
    if (f.dataType() == FieldType::String || f.dataType() == FieldType::Memo) {
        QString s = stored.toString(), x = w.toString();
        Qt::CaseSensitivity cs = o.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return o.partialKey ? s.startsWith(x, cs) : s.compare(x, cs) == 0;
    }
    return stored == w;
}

bool DataSet::locate(const QString &keyFields, const QVariantList &values, LocateOptions options)
{
    requireActive();
    BusyGuard busy(*this);
    checkBrowseMode();
    QList<int> fields;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        fields << fieldByName(name.trimmed())->index();
    if (fields.isEmpty() || fields.size() != values.size())
        throw EngineError(ErrGeneral, QStringLiteral("Die Suche braucht zu jedem Feld einen Wert (%1).").arg(keyFields));
    if (beforeScroll)
        beforeScroll(*this);
    ensureRows();
    int found = sourceLocate(fields, values, options, 0);
    int vis = -1;
    if (found == -2) {
        for (int pos = 0; vis < 0 && hasVisibleRow(pos); ++pos) {
            bool all = true;
            for (int k = 0; k < fields.size() && all; ++k)
                all = matches(*m_fields[size_t(fields[k])], valueAt(pos, fields[k]), values[k], options);
            if (all)
                vis = pos;
        }
    } else {
        vis = visibleRowOfSource(found);
    }
    if (vis < 0)
        return false;
    loadVisible(vis);
    m_bof = m_eof = false;
    m_pendingData = true;
    if (afterScroll)
        afterScroll(*this);
    return true;
}

} // namespace engine
