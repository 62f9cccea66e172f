#include "dbui/gridmodel.h"

#include "dbui/errorsink.h"
#include "dbui/fieldtext.h"
#include "engine/field.h"

#include <algorithm>
#include <limits>

namespace dbui {

namespace {

bool isNumeric(engine::FieldType t)
{
    switch (t) {
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer:
    case engine::FieldType::LargeInt:
    case engine::FieldType::Float:
        return true;
    default:
        return false;
    }
}

bool isEditingState(engine::DataSetState s)
{
    return s == engine::DataSetState::Edit || s == engine::DataSetState::Insert;
}

} // namespace

GridModel::GridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

GridModel::~GridModel() = default;

void GridModel::setDataSource(DataSource *source)
{
    if (relinkSource(m_source, source, this, &GridModel::onDataChange, &GridModel::onStateChange,
                     &GridModel::rebuild, &GridModel::rebuild))
        rebuild();
}

engine::DataSet *GridModel::dataSet() const
{
    return m_source && m_source->isActive() ? m_source->dataSet() : nullptr;
}

// ---- Columns ---------------------------------------------------------------

void GridModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_designed = true;
    resolveColumns();
    m_cache.clear();
    endResetModel();
    emit columnsChanged();
    updateCurrent(true);
}

void GridModel::resetColumns()
{
    beginResetModel();
    m_designed = false;
    m_columns.clear();
    buildDefaultColumns();
    m_cache.clear();
    endResetModel();
    emit columnsChanged();
    updateCurrent(true);
}

void GridModel::buildDefaultColumns()
{
    QStringList names;
    if (engine::DataSet *ds = dataSet()) {
        for (int i = 0; i < ds->fieldCount(); ++i) {
            const engine::Field *f = ds->field(i);
            if (f->visible())
                names << f->fieldName();
        }
    }
    // The same fields again (rows re-read, the set reopened): the columns
    // keep their widths, places and hidden state.
    QStringList current;
    for (const GridColumn &c : std::as_const(m_columns))
        current << c.fieldName;
    std::sort(current.begin(), current.end());
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    if (sorted != current || names.isEmpty()) {
        m_columns.clear();
        for (const QString &name : std::as_const(names))
            m_columns.append(GridColumn(name));
    }
    resolveColumns();
}

void GridModel::resolveColumns()
{
    m_fieldIndex.assign(size_t(m_columns.size()), -1);
    engine::DataSet *ds = dataSet();
    if (!ds)
        return;
    for (int c = 0; c < m_columns.size(); ++c) {
        if (const engine::Field *f = ds->findField(m_columns[c].fieldName))
            m_fieldIndex[size_t(c)] = f->index();
    }
}

void GridModel::moveColumn(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= m_columns.size() || to >= m_columns.size())
        return;
    beginMoveColumns({}, from, from, {}, to > from ? to + 1 : to);
    m_columns.move(from, to);
    const int idx = m_fieldIndex[size_t(from)];
    m_fieldIndex.erase(m_fieldIndex.begin() + from);
    m_fieldIndex.insert(m_fieldIndex.begin() + to, idx);
    m_cache.clear();
    endMoveColumns();
    emit columnsChanged();
}

void GridModel::setColumnVisible(int col, bool visible)
{
    if (col < 0 || col >= m_columns.size() || m_columns[col].visible == visible)
        return;
    m_columns[col].visible = visible;
    emit columnsChanged();
}

void GridModel::setColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_columns.size() || m_columns[col].width == width)
        return;
    m_columns[col].width = width;
    emit columnsChanged();
}

void GridModel::setColumnTitle(int col, const QString &title)
{
    if (col < 0 || col >= m_columns.size() || m_columns[col].title == title)
        return;
    m_columns[col].title = title;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

engine::Field *GridModel::fieldOfColumn(int col) const
{
    engine::DataSet *ds = dataSet();
    if (!ds || col < 0 || col >= int(m_fieldIndex.size()) || m_fieldIndex[size_t(col)] < 0)
        return nullptr;
    return ds->field(m_fieldIndex[size_t(col)]);
}

int GridModel::fieldIndexOfColumn(int col) const
{
    return col >= 0 && col < int(m_fieldIndex.size()) ? m_fieldIndex[size_t(col)] : -1;
}

int GridModel::columnOfField(const QString &fieldName) const
{
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void GridModel::refreshTitles()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString GridModel::columnTitle(int col) const
{
    if (col < 0 || col >= m_columns.size())
        return {};
    if (!m_columns[col].title.isEmpty())
        return m_columns[col].title;
    if (const engine::Field *f = fieldOfColumn(col))
        return f->displayLabel();
    return m_columns[col].fieldName;
}

// ---- Settings --------------------------------------------------------------

void GridModel::setBoolSymbolStyle(const BoolSymbolStyle &style)
{
    if (style == m_boolStyle)
        return;
    m_boolStyle = style;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

void GridModel::setGridBoolBothSymbols(bool on)
{
    auto s = m_boolStyle;
    s.bothSymbols = on;
    setBoolSymbolStyle(s);
}

void GridModel::setGridBoolTrueSymbolOnly(bool on)
{
    auto s = m_boolStyle;
    s.trueSymbolOnly = on;
    setBoolSymbolStyle(s);
}

void GridModel::setGridBoolTickStyle(bool on)
{
    auto s = m_boolStyle;
    s.tickStyle = on;
    setBoolSymbolStyle(s);
}

void GridModel::setReadOnly(bool on)
{
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

// ---- Rows and the cursor ---------------------------------------------------

void GridModel::rebuild()
{
    const int before = m_currentRow;
    // Rows read anew keep the length the view had, so that it keeps its place.
    const int knownBefore = m_recordCount;
    beginResetModel();
    m_cache.clear();
    engine::DataSet *ds = dataSet();
    m_state = m_source ? m_source->state() : engine::DataSetState::Inactive;
    if (!m_designed)
        buildDefaultColumns();
    else
        resolveColumns();
    m_recordCount = 0;
    m_allKnown = true;
    m_insertRow = -1;
    m_currentRow = -1;
    if (ds) {
        if (m_state == engine::DataSetState::Insert) {
            placeInsertRow(*ds, before, knownBefore);
        } else {
            m_recordCount = knownRecords(*ds, std::max(kFirstRows, knownBefore), m_allKnown);
        }
    }
    endResetModel();
    emit columnsChanged();
    updateCurrent(true);
}

void GridModel::placeInsertRow(engine::DataSet &ds, int before, int knownBefore)
{
    if (ds.eof()) {
        // Appended: the new record comes after the last one.
        m_recordCount = std::max(0, ds.recordCount());
        m_allKnown = true;
        m_insertRow = m_recordCount;
        return;
    }
    // The new record stands where the cursor stood.
    m_recordCount = knownRecords(ds, std::max({kFirstRows, before + 1, knownBefore}), m_allKnown);
    m_insertRow = std::clamp(before >= 0 ? before : m_recordCount, 0, m_recordCount);
}

int GridModel::knownRecords(engine::DataSet &ds, int want, bool &all) const
{
    // That record `want` - 1 exists is enough; a set that has none there has
    // reached its end, and its count costs nothing more.
    if (want > 0 && ds.bookmarkAt(want - 1) != engine::InvalidBookmark) {
        all = false;
        return want;
    }
    all = true;
    return std::max(0, ds.recordCount());
}

void GridModel::learnRecords(int want)
{
    engine::DataSet *ds = dataSet();
    if (!ds || m_allKnown || want <= m_recordCount)
        return;
    int known = m_recordCount;
    bool all = true;
    // A read error stops the learning (it was reported); the rows known stay.
    if (!guarded([&] { known = knownRecords(*ds, want, all); }))
        all = true;
    m_allKnown = all;
    if (known > m_recordCount) {
        // New records go after the last known one (an inserted record stands
        // among the known ones, as the rows grow only while browsing there).
        const int first = rowCount();
        beginInsertRows({}, first, first + known - m_recordCount - 1);
        m_recordCount = known;
        endInsertRows();
    } else if (known < m_recordCount) {
        // Fewer than known: records went away meanwhile; the rows anew.
        rebuild();
    }
}

void GridModel::fetchRowsTo(int row)
{
    if (row >= m_recordCount)
        learnRecords(row + 1);
}

void GridModel::fetchAllRows()
{
    learnRecords(std::numeric_limits<int>::max());
}

bool GridModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_allKnown && dataSet();
}

void GridModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid())
        return;
    // Each block as large as all before it: a query result read on from the
    // event loop runs its statement again, so few growing steps cost least.
    learnRecords(m_recordCount + std::max(kFirstRows, m_recordCount));
}

void GridModel::updateCurrent(bool force)
{
    int row = -1;
    if (engine::DataSet *ds = dataSet()) {
        if (m_insertRow >= 0) {
            row = m_insertRow;
        } else if (!ds->isEmpty()) {
            const int recNo = ds->recNo();
            row = recNo > 0 ? recNo - 1 : -1;
        }
    }
    // The cursor went beyond the records known (to the last one, say): the
    // rows grow to it and a block past it.
    if (row >= m_recordCount && m_insertRow < 0)
        learnRecords(row + 1 + kFirstRows);
    if (row == m_currentRow && !force)
        return;
    const int old = m_currentRow;
    m_currentRow = row;
    if (old >= 0 && old < rowCount() && old != row)
        emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0)
        emit headerDataChanged(Qt::Vertical, row, row);
    if (!m_moving)
        emit currentRowChanged(row);
}

void GridModel::onDataChange(engine::Field *field)
{
    if (!field) {
        updateCurrent();
        // The current record may have been re-read (a cancelled edit).
        if (m_currentRow >= 0 && columnCount() > 0) {
            m_cache.remove(recordRowOf(m_currentRow));
            emit dataChanged(index(m_currentRow, 0), index(m_currentRow, columnCount() - 1));
        }
        return;
    }
    if (m_currentRow < 0)
        return;
    for (int c = 0; c < columnCount(); ++c)
        if (m_fieldIndex[size_t(c)] == field->index())
            emit dataChanged(index(m_currentRow, c), index(m_currentRow, c));
}

void GridModel::onStateChange()
{
    const engine::DataSetState s = m_source ? m_source->state() : engine::DataSetState::Inactive;
    const engine::DataSetState old = m_state;
    if (s == old)
        return;
    const bool rowsDiffer = s == engine::DataSetState::Insert || old == engine::DataSetState::Insert
                            || s == engine::DataSetState::Inactive
                            || old == engine::DataSetState::Inactive;
    if (rowsDiffer) {
        if (s == engine::DataSetState::Insert) {
            // Keep the row the cursor stood on for placing the new record.
            const int before = m_currentRow;
            const int knownBefore = m_recordCount;
            engine::DataSet *ds = dataSet();
            beginResetModel();
            m_state = s;
            m_cache.clear();
            m_recordCount = 0;
            m_allKnown = true;
            m_insertRow = -1;
            if (ds)
                placeInsertRow(*ds, before, knownBefore);
            m_currentRow = -1;
            endResetModel();
            updateCurrent(true);
        } else {
            rebuild();
        }
        return;
    }
    m_state = s;
    if (m_currentRow >= 0)
        emit headerDataChanged(Qt::Vertical, m_currentRow, m_currentRow);
    if (!isEditingState(s) && rowCount() > 0 && columnCount() > 0) {
        // A posted edit may have moved its record (a changed key), a
        // cancelled one shows the stored values again: read rows anew.
        m_cache.clear();
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

bool GridModel::setCurrentRow(int row)
{
    engine::DataSet *ds = dataSet();
    if (!ds || row < 0 || row >= rowCount())
        return false;
    if (row == m_currentRow)
        return true;
    int target = recordRowOf(row);
    m_moving = true;
    const bool ok = guarded([&] {
        if (isEditingState(ds->state())) {
            // Leaving an edited or new row posts it; the rows are
            // re-read and the target keeps its place among the old rows.
            ds->checkBrowseMode();
        }
        if (ds->bookmarkAt(target) == engine::InvalidBookmark)
            target = ds->recordCount() - 1;
        ds->setRecNo(target + 1);
    });
    m_moving = false;
    // Always tell the view where the cursor is, also when the move failed.
    updateCurrent(true);
    return ok;
}

int GridModel::recordRowOf(int row) const
{
    if (m_insertRow >= 0 && row > m_insertRow)
        return row - 1;
    return row;
}

bool GridModel::rowIsBuffer(int row) const
{
    return row == m_currentRow && isEditingState(m_state);
}

const std::vector<QVariant> &GridModel::rowValues(int row) const
{
    const int rec = recordRowOf(row);
    auto it = m_cache.find(rec);
    if (it != m_cache.end())
        return *it;
    if (m_cache.size() >= kCacheRows)
        m_cache.clear();
    std::vector<QVariant> values(m_fieldIndex.size());
    if (engine::DataSet *ds = dataSet()) {
        try {
            for (size_t c = 0; c < m_fieldIndex.size(); ++c) {
                if (m_fieldIndex[c] < 0)
                    continue;
                QVariant v = ds->valueAt(rec, m_fieldIndex[c]);
                // A cell shows only whether there is a picture: the cache
                // keeps that, not the picture's bytes.
                if (ds->field(m_fieldIndex[c])->dataType() == engine::FieldType::Graphic)
                    v = v.isNull() || v.toByteArray().isEmpty() ? QVariant() : QVariant(true);
                values[c] = std::move(v);
            }
        } catch (const engine::EngineError &e) {
            // A row that cannot be read shows empty; say why once, from
            // the event loop: this runs inside data(), mostly while the
            // view paints.
            reportErrorLater(e.message());
        }
    }
    return *m_cache.insert(rec, std::move(values));
}

QVariant GridModel::cellValue(int row, int col) const
{
    if (rowIsBuffer(row)) {
        const engine::Field *f = fieldOfColumn(col);
        return f ? f->value() : QVariant();
    }
    if (row == m_insertRow)
        return QVariant();
    return rowValues(row)[size_t(col)];
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_recordCount + (m_insertRow >= 0 ? 1 : 0);
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const engine::Field *f = fieldOfColumn(index.column());
    if (!f)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = cellValue(index.row(), index.column());
        if (f->dataType() == engine::FieldType::Boolean)
            return boolSymbolText(v, m_boolStyle);
        return displayText(f->dataType(), v);
    }
    case Qt::EditRole:
        return editText(f->dataType(), cellValue(index.row(), index.column()));
    case ValueRole:
        return cellValue(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (f->dataType() == engine::FieldType::Boolean)
            return int(Qt::AlignCenter);
        if (isNumeric(f->dataType()))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool GridModel::isLockedCell(const QModelIndex &index) const
{
    const engine::Field *f = fieldOfColumn(index.column());
    engine::DataSet *ds = dataSet();
    if (!f || !ds || m_readOnly || m_columns[index.column()].readOnly)
        return false;
    return !ds->canModify();
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    const engine::Field *f = fieldOfColumn(index.column());
    engine::DataSet *ds = dataSet();
    if (f && ds && !m_readOnly && !m_columns[index.column()].readOnly && !f->readOnly()
        && !f->isCalculated() && !f->isBlob() && ds->canModify())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (!setCurrentRow(index.row()) || !m_source->edit())
        return false;
    engine::Field *f = fieldOfColumn(index.column());
    if (!f)
        return false;
    return guarded([&] {
        if (value.typeId() == QMetaType::QString)
            f->setValue(parseText(*f, value.toString()));
        else
            f->setValue(value);
    });
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return columnTitle(section);
    if (section != m_currentRow)
        return QString();
    // The record indicator: the current row, being edited, being inserted.
    switch (m_state) {
    case engine::DataSetState::Edit:
        return QStringLiteral("\u270E");
    case engine::DataSetState::Insert:
        return QStringLiteral("\u2731");
    default:
        return QStringLiteral("\u25B6");
    }
}

} // namespace dbui
