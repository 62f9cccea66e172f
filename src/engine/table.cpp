#include "engine/table.h"

#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/tablefile.h"

#include <QDir>

#include <algorithm>

namespace engine {

static QString nativeName(const QString &path) { return QDir::toNativeSeparators(path); }

Table::Table(Session *session) : DataSet(session) {}

Table::~Table()
{
    try {
        close();
    } catch (...) {
    }
    finalizeStatements();
}

void Table::setTableName(const QString &path)
{
    if (path == m_tableName)
        return;
    requireInactive();
    m_tableName = path;
}

void Table::setExclusive(bool on)
{
    if (on == m_exclusive)
        return;
    requireInactive();
    m_exclusive = on;
}

const TableDef &Table::definition() const
{
    static const TableDef none;
    return m_file ? m_file->def() : none;
}

QStringList Table::indexNames() const { return m_file ? m_file->indexNames() : QStringList(); }

QStringList Table::indexFieldNames() const { return m_index.fields; }

bool Table::hasPrimaryIndex() const
{
    if (m_file)
        return m_file->hasPrimaryIndex();
    return tableFileHasPrimaryIndex(session(), m_tableName);
}

bool Table::canModify() const { return DataSet::canModify(); }

bool Table::sourceWritable() const { return m_file && m_file->writable(); }

// ------------------------------------------------------------- open, close

void Table::resolveIndex(const QString &name, IndexDef &out, QList<int> &fields) const
{
    const TableDef &def = m_file->def();
    fields.clear();
    if (name.isEmpty()) {
        out = m_file->hasPrimaryIndex() ? def.primaryIndex() : IndexDef();
        out.primary = true;
    } else {
        const IndexDef *ix = m_file->findIndex(name);
        if (!ix)
            throw EngineError(ErrIndexNotFound, QStringLiteral("Der Index \"%1\" existiert in der Tabelle \"%2\" nicht.").arg(name, nativeName(m_tableName)));
        if (!m_file->indexUsable(ix->name))
            throw EngineError(ErrIndexDamaged, QStringLiteral("Der Index \"%1\" der Tabelle \"%2\" ist beschädigt oder veraltet und kann nicht verwendet werden.").arg(ix->name, nativeName(m_tableName)));
        out = *ix;
    }
    for (const QString &f : out.fields)
        fields << def.fieldIndex(f);
}

void Table::openSource()
{
    if (m_tableName.isEmpty())
        throw EngineError(ErrGeneral, QStringLiteral("Für die Datenmenge %1 ist kein Tabellenname angegeben.").arg(name()));
    m_file = session().attach(m_tableName);
    try {
        if (m_exclusive) {
            if (m_file->tableUsers > 0)
                throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" ist bereits geöffnet und kann nicht exklusiv geöffnet werden.").arg(nativeName(m_tableName)));
            if (!m_file->lockOpen(true))
                throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" wird von einem anderen Benutzer verwendet und kann nicht exklusiv geöffnet werden.").arg(nativeName(m_tableName)));
            m_file->exclusiveHeld = true;
        } else if (m_file->exclusiveHeld) {
            throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" ist exklusiv geöffnet.").arg(nativeName(m_tableName)));
        }
        ++m_file->tableUsers;
        m_countedUser = true;
        // Another cursor's (or a statement's) committed change: the controls
        // hear of it now, the rows are read again when next needed.
        m_file->addListener(this, [this] {
            if (m_file && m_file->generation != m_seenGen)
                notifyRowsChanged();
        });
        m_sqlTable = Session::sqlTableName(*m_file);
        const TableDef &def = m_file->def();
        for (const QString &need : std::as_const(m_requiredFields))
            if (def.fieldIndex(need) < 0)
                throw EngineError(ErrFieldNotFound,
                                  QStringLiteral("Der Tabelle \"%1\" fehlt das Feld \"%2\". Sie stammt nicht aus "
                                                 "dieser Tarvo-Version oder ist beschädigt.")
                                      .arg(nativeName(m_tableName), need));
        QStringList cols;
        for (const FieldDef &f : def.fields) {
            defineField(f);
            cols << quoteIdent(f.name);
        }
        resolveIndex(m_indexName, m_index, m_indexFields);
        m_keySql.clear();
        Stmt probe(session().handle(), QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(cols.join(QLatin1Char(',')), m_sqlTable));
        if (!probe.ok())
            throw EngineError(ErrNotATable, QStringLiteral("Die Tabelle \"%1\" ist beschädigt: %2").arg(nativeName(m_tableName), probe.error()));
        m_rangeOn = false;
        m_orderValid = false;
        m_posMapValid = false;
        m_hintPos = -1;
        m_seenGen = m_file->generation;
        ensureOrder();
    } catch (...) {
        closeSource();
        throw;
    }
}

void Table::closeSource()
{
    finalizeStatements();
    if (m_file) {
        while (m_lockCount > 0)
            unlockTable();
        m_file->removeListener(this);
        if (m_countedUser) {
            --m_file->tableUsers;
            if (m_exclusive && m_file->exclusiveHeld) {
                m_file->exclusiveHeld = false;
                m_file->lockOpen(false);
            }
        }
        m_countedUser = false;
        session().release(m_file);
        m_file.reset();
    }
    m_order.clear();
    m_order.shrink_to_fit();
    clearBlock();
    m_posMap.clear();
    m_orderValid = m_posMapValid = m_orderComplete = false;
    m_counted = -1;
    m_locateFirst.clear();
    m_rangeOn = false;
}

void Table::finalizeStatements()
{
    m_recordColumns.clear();
    clearBlock();
    closeWalk();
    if (m_walkStmt)
        sqlite3_finalize(m_walkStmt);
    m_walkStmt = nullptr;
    m_walkSql.clear();
    for (sqlite3_stmt **st : {&m_rowStmt, &m_blockStmt}) {
        if (*st)
            sqlite3_finalize(*st);
        *st = nullptr;
    }
    for (auto &s : m_stmts)
        sqlite3_finalize(s.second);
    m_stmts.clear();
}

sqlite3_stmt *Table::cached(const QString &sql)
{
    for (size_t i = 0; i < m_stmts.size(); ++i)
        if (m_stmts[i].first == sql) {
            sqlite3_stmt *st = m_stmts[i].second;
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            if (i > 0)
                std::swap(m_stmts[i], m_stmts[0]);
            return st;
        }
    sqlite3_stmt *st = nullptr;
    QByteArray u = sql.toUtf8();
    int rc = sqlite3_prepare_v2(session().handle(), u.constData(), int(u.size()), &st, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = QString::fromUtf8(sqlite3_errmsg(session().handle()));
        if (st)
            sqlite3_finalize(st);
        session().fail(sqlite3_extended_errcode(session().handle()), msg, m_file.get());
    }
    if (m_stmts.size() >= 24) {
        sqlite3_finalize(m_stmts.back().second);
        m_stmts.pop_back();
    }
    m_stmts.insert(m_stmts.begin(), {sql, st});
    return st;
}

EngineError Table::recordGone() const
{
    return EngineError(ErrRecordGone, QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht (Tabelle \"%1\"). Aktualisieren Sie die Anzeige.").arg(nativeName(m_tableName)));
}

void Table::failLast()
{
    sqlite3 *db = session().handle();
    session().fail(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)), m_file.get());
}

void Table::stepDone(sqlite3_stmt *st, const QVariant *values)
{
    int rc = sqlite3_step(st);
    sqlite3 *db = session().handle();
    int ext = sqlite3_extended_errcode(db);
    QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_reset(st);
    if (rc == SQLITE_DONE)
        return;
    const QStringList keys = values ? Session::keyViolationFields(msg) : QStringList();
    if ((ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY) && !keys.isEmpty()) {
        // The user is told which key is taken, in the values typed.
        QStringList shown;
        for (const QString &k : keys) {
            const int i = m_file->def().fieldIndex(k);
            const QVariant v = i >= 0 ? values[i] : QVariant();
            shown << QStringLiteral("%1 = %2").arg(k, v.typeId() == QMetaType::QString ? u'"' + v.toString() + u'"'
                                                                                        : v.toString());
        }
        throw EngineError(ErrKeyViolation, QStringLiteral("Schlüsselverletzung: Es gibt bereits einen Datensatz mit dem Schlüssel %1 (Tabelle \"%2\").")
                                               .arg(shown.join(QStringLiteral(", ")), nativeName(m_tableName)));
    }
    session().fail(ext, msg, m_file.get());
}

// ------------------------------------------------------------- order

QString Table::colRef(int fieldIndex) const
{
    const FieldDef &f = m_file->def().fields[fieldIndex];
    QString c = quoteIdent(f.name);
    if ((f.type == FieldType::String || f.type == FieldType::Memo) && m_index.collation != Collation::Binary)
        c += QLatin1String(" COLLATE ") + collationName(m_index.collation);
    return c;
}

QString Table::orderBy() const
{
    QStringList parts;
    for (int fi : m_indexFields)
        parts << colRef(fi) + (m_index.descending ? QLatin1String(" DESC") : QLatin1String(""));
    parts << QStringLiteral("rowid");
    return parts.join(QLatin1Char(','));
}

QVariant Table::bindable(int fieldIndex, const QVariant &v) const
{
    return storedForm(field(fieldIndex)->dataType(), field(fieldIndex)->convert(v));
}

QString Table::equalTerm(int fi, const QVariant &value, std::vector<QVariant> &binds) const
{
    QVariant b = bindable(fi, value);
    if (b.isNull())
        return quoteIdent(m_file->def().fields[fi].name) + QLatin1String(" IS NULL");
    binds.push_back(b);
    return colRef(fi) + QLatin1String(" = ?");
}

// Lexicographic bound over index fields from..from+values-1 (values holds
// the whole key, the first `from` already fixed by equality terms).
QString Table::lexTerm(int from, const QVariantList &values, bool greater, bool inclusive,
                       std::vector<QVariant> &binds) const
{
    QStringList ors;
    int n = int(values.size());
    for (int i = from; i < n; ++i) {
        QStringList ands;
        for (int j = from; j < i; ++j)
            ands << equalTerm(m_indexFields[j], values[j], binds);
        int fi = m_indexFields[i];
        QVariant b = bindable(fi, values[i]);
        bool last = i == n - 1;
        QString col = colRef(fi);
        QString raw = quoteIdent(m_file->def().fields[fi].name);
        bool gt = greater != m_index.descending;
        if (b.isNull()) {
            // Empty values sort first.
            if (gt)
                ands << (last && inclusive ? QStringLiteral("1") : raw + QLatin1String(" IS NOT NULL"));
            else
                ands << (last && inclusive ? raw + QLatin1String(" IS NULL") : QStringLiteral("0"));
        } else {
            binds.push_back(b);
            QString op = gt ? (last && inclusive ? QStringLiteral(">=") : QStringLiteral(">"))
                            : (last && inclusive ? QStringLiteral("<=") : QStringLiteral("<"));
            QString t = col + QLatin1Char(' ') + op + QLatin1String(" ?");
            if (!gt)
                t = QLatin1Char('(') + raw + QLatin1String(" IS NULL OR ") + t + QLatin1Char(')');
            ands << t;
        }
        ors << QLatin1Char('(') + ands.join(QLatin1String(" AND ")) + QLatin1Char(')');
    }
    if (ors.isEmpty())
        return QStringLiteral("1");
    return QLatin1Char('(') + ors.join(QLatin1String(" OR ")) + QLatin1Char(')');
}

QString Table::rangeWhere(std::vector<QVariant> &binds) const
{
    if (!m_rangeOn)
        return QString();
    QStringList terms;
    int common = 0;
    while (common < m_rangeStart.size() && common < m_rangeEnd.size()
           && bindable(m_indexFields[common], m_rangeStart[common]) == bindable(m_indexFields[common], m_rangeEnd[common]))
        ++common;
    for (int i = 0; i < common; ++i)
        terms << equalTerm(m_indexFields[i], m_rangeStart[i], binds);
    if (m_rangeStart.size() > common)
        terms << lexTerm(common, m_rangeStart, true, true, binds);
    if (m_rangeEnd.size() > common)
        terms << lexTerm(common, m_rangeEnd, false, true, binds);
    return terms.join(QLatin1String(" AND "));
}

void Table::invalidateOrder()
{
    clearBlock();
    closeWalk();
    m_orderValid = false;
    m_posMapValid = false;
    m_hintPos = -1;
    m_counted = -1;
}

// The first block covers a screen and a read-ahead; each further block is as
// large as all read before it, so reading every id costs at most twice one
// statement over all of them.
static constexpr int kFirstOrderBlock = 256;

void Table::ensureOrder()
{
    if (m_orderValid)
        return;
    m_order.clear();
    m_orderComplete = false;
    m_counted = -1;
    m_orderValid = true;
    m_posMapValid = false;
    m_hintPos = -1;
    loadOrderBlock(kFirstOrderBlock);
}

void Table::loadOrderBlock(int rows)
{
    if (m_orderComplete)
        return;
    // The block starts at the last id read: if that one has moved, another
    // program changed the rows before it, and the order is read whole anew.
    const size_t have = m_order.size();
    const qint64 offset = have > 0 ? qint64(have) - 1 : 0;
    if (rows < 0)
        reserveOrder();
    std::vector<QVariant> binds;
    QString where = rangeWhere(binds);
    QString sql = QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3 LIMIT ? OFFSET ?")
                      .arg(m_sqlTable, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where, orderBy());
    sqlite3_stmt *st = cached(sql);
    int p = 1;
    for (const QVariant &b : binds)
        bindValue(st, p++, b);
    const qint64 limit = rows < 0 ? -1 : qint64(rows) + (have > 0 ? 1 : 0);
    sqlite3_bind_int64(st, p++, limit);
    sqlite3_bind_int64(st, p++, offset);
    int rc;
    qint64 got = 0;
    bool moved = false;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const qint64 id = sqlite3_column_int64(st, 0);
        if (got++ == 0 && have > 0) {
            if (id != m_order.back()) {
                moved = true;
                break;
            }
            continue;
        }
        m_order.push_back(id);
        if (m_posMapValid)
            m_posMap.insert(id, int(m_order.size()) - 1);
    }
    sqlite3_reset(st);
    if (!moved && rc != SQLITE_DONE && rc != SQLITE_ROW)
        failLast();
    if (moved || (have > 0 && got == 0)) {
        // Read again from the start, all of it; the rows seen so far may
        // have other numbers now.
        clearBlock();
        m_order.clear();
        m_posMapValid = false;
        m_hintPos = -1;
        m_counted = -1;
        rowsInvalidated();
        loadOrderBlock(-1);
        return;
    }
    if (limit < 0 || got < limit)
        m_orderComplete = true;
}

void Table::reserveOrder()
{
    // The largest row id is at most a little more than the count of rows
    // (row ids are given in sequence), and it costs no pass over the table:
    // room for all ids at once spares growing the arrays step by step.
    sqlite3_stmt *st = cached(QStringLiteral("SELECT max(rowid) FROM %1").arg(m_sqlTable));
    qint64 largest = 0;
    if (sqlite3_step(st) == SQLITE_ROW)
        largest = sqlite3_column_int64(st, 0);
    sqlite3_reset(st);
    const size_t room = size_t(std::clamp<qint64>(largest, 0, 4 * 1024 * 1024));
    m_order.reserve(room);
    if (m_posMapValid)
        m_posMap.reserve(room);
}

bool Table::loadOrderTo(int row)
{
    ensureOrder();
    while (size_t(row) >= m_order.size() && !m_orderComplete)
        loadOrderBlock(std::max(kFirstOrderBlock, int(m_order.size())));
    return size_t(row) < m_order.size();
}

int Table::loadedPos(qint64 key)
{
    if (m_hintPos >= 0 && size_t(m_hintPos) < m_order.size() && m_order[size_t(m_hintPos)] == key)
        return m_hintPos;
    if (!m_posMapValid) {
        m_posMap.clear();
        m_posMap.reserve(m_order.size());
        for (size_t i = 0; i < m_order.size(); ++i)
            m_posMap.insert(m_order[i], int(i));
        m_posMapValid = true;
    }
    return m_posMap.find(key);
}

void Table::syncSource()
{
    if (m_file && m_file->generation != m_seenGen) {
        m_seenGen = m_file->generation;
        invalidateOrder();
        rowsInvalidated();
    }
}

void Table::refreshSource()
{
    invalidateOrder();
    clearBlock();
    if (m_file)
        m_seenGen = m_file->generation;
}

int Table::sourceCount()
{
    ensureOrder();
    loadOrderBlock(-1);
    return int(m_order.size());
}

// Counting the rows is one pass over an index; reading their ids in order
// for it would hold every id of a large table in memory before anyone needs
// them. The count holds until the order is read again; posts and deletes of
// this cursor keep it. Fewer rows counted than ids read: another program
// added rows meanwhile, and they are counted anew.
int Table::sourceCountOnly()
{
    ensureOrder();
    if (m_orderComplete)
        return int(m_order.size());
    if (m_counted < qint64(m_order.size())) {
        std::vector<QVariant> binds;
        const QString where = rangeWhere(binds);
        sqlite3_stmt *st = cached(QStringLiteral("SELECT count(*) FROM %1%2")
                                      .arg(m_sqlTable, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
        int p = 1;
        for (const QVariant &b : binds)
            bindValue(st, p++, b);
        const int rc = sqlite3_step(st);
        const qint64 n = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
        sqlite3_reset(st);
        if (rc != SQLITE_ROW)
            failLast();
        m_counted = std::max(n, qint64(m_order.size()));
    }
    return int(m_counted);
}

bool Table::sourceHasRow(int row)
{
    return row >= 0 && loadOrderTo(row);
}

qint64 Table::sourceKey(int row)
{
    // Beyond the last row (a count taken before another program removed
    // rows): no row.
    if (row < 0 || !loadOrderTo(row))
        return InvalidBookmark;
    return m_order[size_t(row)];
}

int Table::sourceFind(qint64 key)
{
    ensureOrder();
    // A row beyond the ids read so far: the next block, then all the rest
    // in one statement (a located row is anywhere in the table; blocks of
    // growing size would pass the rows before them again and again).
    int pos = loadedPos(key);
    if (pos < 0 && !m_orderComplete) {
        loadOrderBlock(std::max(kFirstOrderBlock, int(m_order.size())));
        pos = loadedPos(key);
    }
    while (pos < 0 && !m_orderComplete) {
        loadOrderBlock(-1);
        pos = loadedPos(key);
    }
    return pos;
}

static constexpr int kBlock = 64;

void Table::readBlock(int first, int count)
{
    clearBlock();
    fetchRows(first, count, m_block);
    m_blockStart = first;
}

QString Table::recordColumns()
{
    if (m_recordColumns.isEmpty()) {
        QStringList cols;
        for (const FieldDef &f : m_file->def().fields)
            cols << quoteIdent(f.name);
        m_recordColumns = QStringLiteral("rowid,") + cols.join(QLatin1Char(','));
    }
    return m_recordColumns;
}

void Table::readRecord(sqlite3_stmt *st, std::vector<QVariant> &values) const
{
    const TableDef &def = m_file->def();
    values.resize(size_t(def.fields.size()));
    for (int i = 0; i < def.fields.size(); ++i)
        values[size_t(i)] = readColumn(st, i + 1, def.fields[i].type);
}

void Table::fetchRows(int first, int count, std::vector<std::vector<QVariant>> &out)
{
    if (!m_rowStmt || !m_blockStmt) {
        const QString cols = recordColumns();
        QStringList q;
        for (int i = 0; i < kBlock; ++i)
            q << QStringLiteral("?");
        for (auto [stmt, sql] : {std::pair{&m_rowStmt, QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(cols, m_sqlTable)},
                                 std::pair{&m_blockStmt, QStringLiteral("SELECT %1 FROM %2 WHERE rowid IN (%3)").arg(cols, m_sqlTable, q.join(QLatin1Char(',')))}}) {
            if (*stmt)
                continue;
            QByteArray u = sql.toUtf8();
            if (sqlite3_prepare_v2(session().handle(), u.constData(), int(u.size()), stmt, nullptr) != SQLITE_OK)
                failLast();
        }
    }
    // Read ahead only over the ids read already: reading more of them could
    // renumber the rows under the record being read.
    const int n = std::min<int>(count, int(m_order.size()) - first);
    const int places = n == 1 ? 1 : kBlock;
    sqlite3_stmt *st = n == 1 ? m_rowStmt : m_blockStmt;
    // Row id and place in the block, sorted by row id: the rows come back in
    // that order, so each is found by a binary search without a hash table.
    std::pair<qint64, int> slot[kBlock];
    for (int i = 0; i < places; ++i) {
        if (i < n) {
            sqlite3_bind_int64(st, i + 1, m_order[size_t(first + i)]);
            slot[i] = {m_order[size_t(first + i)], i};
        } else {
            sqlite3_bind_null(st, i + 1);
        }
    }
    std::sort(slot, slot + std::max(n, 0));
    out.resize(size_t(n));
    for (auto &v : out)
        v.clear();
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const qint64 id = sqlite3_column_int64(st, 0);
        const auto it = std::lower_bound(slot, slot + std::max(n, 0), std::pair<qint64, int>(id, -1));
        if (it == slot + std::max(n, 0) || it->first != id)
            continue;
        readRecord(st, out[size_t(it->second)]);
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) {
        out.clear();
        failLast();
    }
}

void Table::sourceCheckExists(qint64 key)
{
    if (state() == DataSetState::Browse) // an edit begins
        m_editGeneration = m_file->generation;
    sqlite3_stmt *st = cached(QStringLiteral("SELECT 1 FROM %1 WHERE rowid=?").arg(m_sqlTable));
    sqlite3_bind_int64(st, 1, key);
    int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc == SQLITE_DONE)
        throw recordGone();
    if (rc != SQLITE_ROW)
        failLast();
}

void Table::sourceForget(qint64 key)
{
    if (m_blockStart < 0)
        return;
    for (size_t i = 0; i < m_block.size(); ++i)
        if (m_order[size_t(m_blockStart) + i] == key)
            m_block[i].clear();
}

void Table::sourceRead(int row, QVariant *values)
{
    if (row < 0 || !loadOrderTo(row)) { // no such row (any more): empty fields
        for (int i = 0; i < m_file->def().fields.size(); ++i)
            values[i] = QVariant();
        return;
    }
    m_hintKey = m_order[size_t(row)];
    m_hintPos = row;
    const bool forward = row == m_lastRead + 1;
    const bool backward = row == m_lastRead - 1;
    const bool inBlock = m_blockStart >= 0 && row >= m_blockStart && row < m_blockStart + int(m_block.size());
    // Rows read in sequence with no change of the file between them: a walk
    // that edits as it goes keeps to the block reads.
    if (m_creditGen != m_file->generation)
        m_walkCredit = 0;
    m_creditGen = m_file->generation;
    m_walkCredit = forward ? m_walkCredit + 1 : 0;
    m_lastRead = row;
    if (m_walkOpen && (m_walkGen != m_file->generation || m_walkRow + 1 != row || m_walkNeed != fieldsNeededStamp()))
        closeWalk();
    // A walk that has gone on for a block steps along its own statement.
    // Starting one skips the rows before it in the index, so it starts only
    // where the rows read in sequence outweigh that. It ends with the last
    // row, so that a finished walk holds no read lock.
    if (forward && !inBlock
        && (m_walkOpen || (m_walkCredit > kBlock && qint64(m_walkCredit) * 8 >= row && openWalk(row)))
        && stepWalk(row, values)) {
        // A long walk (a slow reader, such as a print) lets go of the file
        // now and then, so that other programs' changes get in within their
        // wait; the next row opens the walk again.
        if (!loadOrderTo(row + 1) || ((row & 63) == 0 && m_walkSince.elapsed() > kWalkHoldMs))
            closeWalk();
        return;
    }
    if (!inBlock) {
        // A walk reads ahead (backwards: the block that ends here); a jump
        // reads the one row.
        if (forward)
            readBlock(row, kBlock);
        else if (backward)
            readBlock(std::max(0, row - kBlock + 1), std::min(kBlock, row + 1));
        else
            readBlock(row, 1);
    }
    std::vector<QVariant> &v = m_block[size_t(row - m_blockStart)];
    if (v.empty()) { // forgotten after a change: this row again from disk
        std::vector<std::vector<QVariant>> one;
        fetchRows(row, 1, one);
        if (!one.empty())
            v = std::move(one[0]);
    }
    if (v.empty()) { // gone meanwhile: empty fields
        for (int i = 0; i < m_file->def().fields.size(); ++i)
            values[i] = QVariant();
        return;
    }
    for (size_t i = 0; i < v.size(); ++i)
        values[i] = v[i];
}

bool Table::openWalk(int row)
{
    // A reader that needs only some fields gets only those: the fields left
    // out are neither read from the file nor converted.
    const std::vector<bool> *need = fieldsNeeded();
    const QList<FieldDef> &defs = m_file->def().fields;
    m_walkNeed = fieldsNeededStamp();
    m_walkFields.clear();
    m_walkSkipped.clear();
    QString columns = QStringLiteral("rowid");
    for (int i = 0; i < defs.size(); ++i) {
        if (need && !(size_t(i) < need->size() && (*need)[size_t(i)])) {
            m_walkSkipped.push_back(i);
            continue;
        }
        m_walkFields.push_back(i);
        columns += QLatin1Char(',') + quoteIdent(defs[i].name);
    }
    std::vector<QVariant> binds;
    const QString where = rangeWhere(binds);
    const QString sql = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT -1 OFFSET ?")
                            .arg(columns, m_sqlTable,
                                 where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where, orderBy());
    if (sql != m_walkSql || !m_walkStmt) {
        if (m_walkStmt)
            sqlite3_finalize(m_walkStmt);
        m_walkStmt = nullptr;
        m_walkSql.clear();
        const QByteArray u = sql.toUtf8();
        if (sqlite3_prepare_v2(session().handle(), u.constData(), int(u.size()), &m_walkStmt, nullptr) != SQLITE_OK) {
            if (m_walkStmt)
                sqlite3_finalize(m_walkStmt);
            m_walkStmt = nullptr;
            return false; // the block reads serve, and say what is wrong
        }
        m_walkSql = sql;
    }
    int p = 1;
    for (const QVariant &b : binds)
        bindValue(m_walkStmt, p++, b);
    sqlite3_bind_int64(m_walkStmt, p, row);
    m_walkOpen = true;
    m_walkRow = row - 1;
    m_walkGen = m_file->generation;
    m_walkCredit = 0;
    m_walkSince.start();
    // A write through another session ends it first: its read lock would
    // keep that write from committing.
    Session::addOpenReader(this, &session(), [this] { closeWalk(); });
    releaseAtEventLoop(m_walkRelease, [this] { closeWalk(); });
    return true;
}

// A column's value into a record's slot, the same value readColumn gives:
// a number in place, an ASCII text into the slot's own text where that is
// not shared, so that a walk does not allocate for every field of every row.
static void readColumnInto(sqlite3_stmt *st, int i, FieldType type, QVariant &out)
{
    sqlite3_value *v = sqlite3_column_value(st, i);
    if (sqlite3_value_type(v) == SQLITE_NULL) {
        if (out.isValid())
            out = QVariant();
        return;
    }
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer: {
        const int x = int(sqlite3_value_int64(v));
        if (out.typeId() == QMetaType::Int)
            *static_cast<int *>(out.data()) = x;
        else
            out = QVariant(x);
        return;
    }
    case FieldType::Boolean: {
        const bool x = sqlite3_value_int64(v) != 0;
        if (out.typeId() == QMetaType::Bool)
            *static_cast<bool *>(out.data()) = x;
        else
            out = QVariant(x);
        return;
    }
    case FieldType::String:
    case FieldType::Memo: {
        const auto *p = reinterpret_cast<const unsigned char *>(sqlite3_value_text(v));
        const int n = sqlite3_value_bytes(v);
        if (out.typeId() == QMetaType::QString) {
            int ascii = 0;
            while (ascii < n && p[ascii] < 0x80)
                ++ascii;
            if (ascii == n) {
                QString &s = *static_cast<QString *>(out.data());
                s.resize(n);
                QChar *d = s.data();
                for (int k = 0; k < n; ++k)
                    d[k] = QChar(char16_t(p[k]));
                return;
            }
        }
        out = QVariant(QString::fromUtf8(reinterpret_cast<const char *>(p), n));
        return;
    }
    default:
        out = readColumn(st, i, type);
    }
}

// The next row of the walk into the values; false (and the walk ended) when
// the statement cannot go on or gives another row than the order has there:
// the rows changed, and the block reads take over.
bool Table::stepWalk(int row, QVariant *values)
{
    const int rc = sqlite3_step(m_walkStmt);
    if (rc != SQLITE_ROW || sqlite3_column_int64(m_walkStmt, 0) != m_order[size_t(row)]) {
        closeWalk();
        m_walkCredit = 0;
        return false;
    }
    m_walkRow = row;
    const QList<FieldDef> &defs = m_file->def().fields;
    for (int i : m_walkSkipped)
        if (values[i].isValid())
            values[i] = QVariant();
    for (size_t k = 0; k < m_walkFields.size(); ++k) {
        const int i = m_walkFields[k];
        readColumnInto(m_walkStmt, int(k) + 1, defs[i].type, values[i]);
    }
    return true;
}

void Table::closeWalk()
{
    if (!m_walkOpen)
        return;
    m_walkOpen = false;
    sqlite3_reset(m_walkStmt);
    sqlite3_clear_bindings(m_walkStmt);
    Session::removeOpenReader(this);
}

void Table::sourceInitRecord(QVariant *values)
{
    const TableDef &def = m_file->def();
    for (int i = 0; i < def.fields.size(); ++i)
        if (!def.fields[i].defaultValue.isNull())
            values[i] = field(i)->convert(def.fields[i].defaultValue);
}

// ------------------------------------------------------------- writing

std::vector<QVariant> Table::keyOf(qint64 rowid)
{
    std::vector<QVariant> key;
    if (m_indexFields.isEmpty())
        return key;
    if (m_keySql.isEmpty()) {
        QStringList cols;
        for (int fi : m_indexFields)
            cols << quoteIdent(m_file->def().fields[fi].name);
        m_keySql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(cols.join(QLatin1Char(',')), m_sqlTable);
    }
    sqlite3_stmt *st = cached(m_keySql);
    sqlite3_bind_int64(st, 1, rowid);
    if (sqlite3_step(st) == SQLITE_ROW)
        for (int k = 0; k < m_indexFields.size(); ++k)
            key.push_back(readColumn(st, k, m_file->def().fields[m_indexFields[k]].type));
    sqlite3_reset(st);
    key.resize(size_t(m_indexFields.size()));
    return key;
}

int Table::compareKeys(const std::vector<QVariant> &a, qint64 ra, const std::vector<QVariant> &b, qint64 rb) const
{
    for (int k = 0; k < m_indexFields.size(); ++k) {
        const QVariant &x = a[size_t(k)], &y = b[size_t(k)];
        int c = 0;
        if (x.isNull() || y.isNull()) {
            c = x.isNull() == y.isNull() ? 0 : (x.isNull() ? -1 : 1);
        } else {
            switch (m_file->def().fields[m_indexFields[k]].type) {
            case FieldType::String:
            case FieldType::Memo:
                c = compareText(m_index.collation, x.toString(), y.toString());
                break;
            case FieldType::Float:
                c = x.toDouble() < y.toDouble() ? -1 : x.toDouble() > y.toDouble() ? 1 : 0;
                break;
            case FieldType::Date:
                c = x.toDate() < y.toDate() ? -1 : x.toDate() > y.toDate() ? 1 : 0;
                break;
            case FieldType::Graphic:
                c = x.toByteArray() < y.toByteArray() ? -1 : x.toByteArray() > y.toByteArray() ? 1 : 0;
                break;
            default:
                c = x.toLongLong() < y.toLongLong() ? -1 : x.toLongLong() > y.toLongLong() ? 1 : 0;
            }
        }
        if (c != 0)
            return m_index.descending ? -c : c;
    }
    return ra < rb ? -1 : ra > rb ? 1 : 0;
}

// Puts a written row into the order by binary search on its key, instead of
// reading the whole order again.
void Table::placeRow(qint64 rowid)
{
    if (m_counted >= 0)
        ++m_counted;
    std::vector<QVariant> key = keyOf(rowid);
    size_t lo = 0, hi = m_order.size();
    // Beyond the ids read so far: it comes with a later block.
    if (!m_orderComplete && (hi == 0 || compareKeys(keyOf(m_order.back()), m_order.back(), key, rowid) < 0)) {
        clearBlock();
        m_posMapValid = false;
        m_hintPos = -1;
        return;
    }
    // Appending in key order (a bulk load) needs one comparison.
    if (hi > 0 && compareKeys(keyOf(m_order.back()), m_order.back(), key, rowid) < 0)
        lo = hi;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (compareKeys(keyOf(m_order[mid]), m_order[mid], key, rowid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    m_order.insert(m_order.begin() + std::ptrdiff_t(lo), rowid);
    clearBlock();
    m_posMapValid = false;
    m_hintKey = rowid;
    m_hintPos = int(lo);
}

void Table::removeRow(qint64 rowid)
{
    if (m_counted >= 0)
        --m_counted;
    int pos = loadedPos(rowid);
    if (pos >= 0)
        m_order.erase(m_order.begin() + pos);
    clearBlock();
    m_posMapValid = false;
    m_hintPos = -1;
}

qint64 Table::sourceWrite(bool inserting, qint64 key, const QVariant *values, const std::vector<bool> &changed)
{
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Tabelle \"%1\" ist schreibgeschützt und kann nicht geändert werden.").arg(nativeName(m_tableName)));
    const TableDef &def = m_file->def();
    const int n = int(def.fields.size());
    bool orderRelevant = inserting;
    QStringList cols;
    QList<int> written;
    for (int i = 0; i < n; ++i) {
        if (inserting || changed[size_t(i)]) {
            cols << quoteIdent(def.fields[i].name);
            written << i;
            if (m_indexFields.contains(i))
                orderRelevant = true;
        }
    }
    if (!inserting && written.isEmpty())
        return key;
    QString sql;
    if (inserting) {
        QStringList q;
        for (int k = 0; k < cols.size(); ++k)
            q << QStringLiteral("?");
        sql = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)").arg(m_sqlTable, cols.join(QLatin1Char(',')), q.join(QLatin1Char(',')));
    } else {
        QStringList sets;
        QList<FieldType> types;
        for (int k = 0; k < cols.size(); ++k) {
            sets << cols[k] + QLatin1String("=?");
            types << def.fields[written[k]].type;
        }
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(m_sqlTable, sets.join(QLatin1Char(',')));
        if (!editStartValues().empty())
            sql += unchangedTerms(cols, types, m_file->generation != m_editGeneration);
    }
    quint64 genBefore = m_file->generation;
    qint64 rowid = key;
    {
        Session::Transaction tx(session());
        session().admitWrite(*m_file);
        sqlite3_stmt *st = cached(sql);
        int p = 1;
        for (int i : written)
            bindValue(st, p++, storedForm(def.fields[i].type, values[i]));
        if (!inserting) {
            sqlite3_bind_int64(st, p++, key);
            if (!editStartValues().empty())
                for (int i : written) {
                    bindValue(st, p++, storedForm(def.fields[i].type, editStartValues()[size_t(i)]));
                    if (m_file->generation != m_editGeneration)
                        bindValue(st, p++, storedForm(def.fields[i].type, values[i]));
                }
        }
        stepDone(st, values);
        if (inserting) {
            rowid = sqlite3_last_insert_rowid(session().handle());
        } else if (sqlite3_changes(session().handle()) == 0) {
            sourceCheckExists(key); // throws when the record is gone
            throw recordChanged(nativeName(m_tableName));
        }
        clearRowCache();
        sourceForget(rowid);
        // The order is mended inside the transaction: its reads cost no locking.
        bool onlyOurs = m_file->generation == genBefore + 1 && m_seenGen == genBefore;
        m_seenGen = m_file->generation;
        if (!onlyOurs || m_rangeOn || !m_orderValid) {
            invalidateOrder();
            rowsInvalidated();
        } else if (orderRelevant) {
            if (!inserting)
                removeRow(rowid);
            placeRow(rowid);
            rowsInvalidated();
        }
        tx.commit();
    }
    return rowid;
}

void Table::sourceDelete(qint64 key)
{
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Tabelle \"%1\" ist schreibgeschützt und kann nicht geändert werden.").arg(nativeName(m_tableName)));
    quint64 genBefore = m_file->generation;
    {
        Session::Transaction tx(session());
        session().admitWrite(*m_file);
        sqlite3_stmt *st = cached(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(m_sqlTable));
        sqlite3_bind_int64(st, 1, key);
        stepDone(st);
        if (sqlite3_changes(session().handle()) == 0) {
            // The row is gone already (a statement of the same change removed
            // it, or another user did): what the delete wants holds, and the
            // view only has to follow.
            tx.commit();
            m_seenGen = m_file->generation;
            invalidateOrder();
            rowsInvalidated();
            return;
        }
        tx.commit();
    }
    bool onlyOurs = m_file->generation == genBefore + 1 && m_seenGen == genBefore;
    m_seenGen = m_file->generation;
    if (onlyOurs && m_orderValid)
        removeRow(key);
    else
        invalidateOrder();
    rowsInvalidated();
}

// ------------------------------------------------------------- index, range

void Table::setIndexName(const QString &name)
{
    if (!active()) {
        m_indexName = name;
        return;
    }
    if (name.compare(m_indexName, Qt::CaseInsensitive) == 0 && name == m_indexName)
        return;
    IndexDef ix;
    QList<int> fields;
    resolveIndex(name, ix, fields);
    checkBrowseMode();
    m_indexName = name;
    m_index = ix;
    m_indexFields = fields;
    m_keySql.clear();
    m_rangeOn = false;
    reorder();
}

// Rows in a new order or range: the current record stays current.
void Table::reorder()
{
    invalidateOrder();
    rowsInvalidated();
    if (hasCurrent())
        moveToKey(currentKey(), false);
    else
        first();
}

void Table::setRange(const QVariantList &start, const QVariantList &end)
{
    requireActive();
    checkBrowseMode();
    if (start.size() > m_indexFields.size() || end.size() > m_indexFields.size())
        throw EngineError(ErrGeneral, QStringLiteral("Der Bereich hat mehr Werte, als der Index Felder hat."));
    for (int i = 0; i < start.size(); ++i)
        bindable(m_indexFields[i], start[i]);
    for (int i = 0; i < end.size(); ++i)
        bindable(m_indexFields[i], end[i]);
    m_rangeStart = start;
    m_rangeEnd = end;
    m_rangeOn = true;
    invalidateOrder();
    rowsInvalidated();
    first();
}

void Table::cancelRange()
{
    requireActive();
    if (!m_rangeOn)
        return;
    checkBrowseMode();
    m_rangeOn = false;
    reorder();
}

// ------------------------------------------------------------- searching

qint64 Table::firstRowid(const QString &where, const std::vector<QVariant> &binds)
{
    std::vector<QVariant> all;
    QString range = rangeWhere(all);
    QStringList terms;
    if (!range.isEmpty())
        terms << range;
    if (!where.isEmpty())
        terms << where;
    all.insert(all.end(), binds.begin(), binds.end());
    QString sql = QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3 LIMIT 1")
                      .arg(m_sqlTable, terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QLatin1String(" AND ")), orderBy());
    sqlite3_stmt *st = cached(sql);
    for (size_t i = 0; i < all.size(); ++i)
        bindValue(st, int(i) + 1, all[i]);
    int rc = sqlite3_step(st);
    qint64 rowid = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : InvalidBookmark;
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        failLast();
    return rowid;
}

void Table::searchKey(const QVariantList &values, bool exact, bool &found)
{
    requireActive();
    checkBrowseMode();
    if (m_indexFields.isEmpty())
        throw EngineError(ErrNoPrimaryIndex, QStringLiteral("Die Tabelle \"%1\" hat keinen Index, über den gesucht werden kann.").arg(nativeName(m_tableName)));
    if (values.isEmpty() || values.size() > m_indexFields.size())
        throw EngineError(ErrGeneral, QStringLiteral("Die Suche braucht einen bis %1 Schlüsselwerte.").arg(m_indexFields.size()));
    std::vector<QVariant> binds;
    QString where;
    try {
        if (exact) {
            QStringList eq;
            for (int i = 0; i < values.size(); ++i)
                eq << equalTerm(m_indexFields[i], values[i], binds);
            where = eq.join(QLatin1String(" AND "));
        } else {
            where = lexTerm(0, values, true, true, binds);
        }
    } catch (const EngineError &) {
        if (exact) {
            found = false;
            return;
        }
        throw;
    }
    if (beforeScroll)
        beforeScroll(*this);
    qint64 rowid = firstRowid(where, binds);
    found = rowid != InvalidBookmark;
    int row = found ? sourceFind(rowid) : -1;
    if (row >= 0 && visibleRowOfSource(row) >= 0) {
        moveToSourceRow(row, false);
        if (afterScroll)
            afterScroll(*this);
        return;
    }
    found = false;
    if (!exact) {
        // Nothing at or after the key: the last record.
        int n = sourceCount();
        if (n > 0) {
            moveToSourceRow(n - 1, false);
            if (afterScroll)
                afterScroll(*this);
        }
    }
}

bool Table::findKey(const QVariantList &values)
{
    bool found = false;
    searchKey(values, true, found);
    return found;
}

void Table::findNearest(const QVariantList &values)
{
    bool found = false;
    searchKey(values, false, found);
}

void Table::setKey() { enterSetKey(); }

QVariantList Table::keyFromBuffer()
{
    QVariantList values;
    int last = -1;
    auto &buf = keyBuffer();
    for (int k = 0; k < m_indexFields.size(); ++k)
        if (!buf[size_t(m_indexFields[k])].isNull())
            last = k;
    for (int k = 0; k <= last; ++k)
        values << buf[size_t(m_indexFields[k])];
    leaveSetKey();
    return values;
}

bool Table::gotoKey()
{
    QVariantList v = keyFromBuffer();
    return findKey(v);
}

void Table::gotoNearest()
{
    QVariantList v = keyFromBuffer();
    findNearest(v);
}

int Table::sourceLocate(const QList<int> &fields, const QVariantList &values, LocateOptions options, int)
{
    LocateForm form;
    form.fields = fields;
    form.caseInsensitive = options.caseInsensitive;
    form.orderFields = m_indexFields;
    form.descending = m_index.descending;
    form.collation = m_index.collation;
    std::vector<QVariant> binds;
    for (int k = 0; k < fields.size(); ++k) {
        const FieldDef &f = m_file->def().fields[fields[k]];
        const QVariant &v = values[k];
        if (f.type == FieldType::String || f.type == FieldType::Memo) {
            QString s = v.isNull() ? QString() : v.toString();
            if (s.isEmpty()) {
                form.terms.push_back(-1);
                continue;
            }
            form.terms.push_back(options.partialKey ? int(s.size()) : 0);
            binds.push_back(s);
            continue;
        }
        QVariant b;
        try {
            b = bindable(fields[k], v);
        } catch (const EngineError &) {
            return -1;
        }
        form.terms.push_back(b.isNull() ? -1 : 0);
        if (!b.isNull())
            binds.push_back(b);
    }
    std::vector<QVariant> all;
    form.range = rangeWhere(all);
    all.insert(all.end(), binds.begin(), binds.end());
    if (m_locateFirst.isEmpty() || !(form == m_locateForm)) {
        QStringList terms;
        if (!form.range.isEmpty())
            terms << form.range;
        for (int k = 0; k < fields.size(); ++k) {
            const FieldDef &f = m_file->def().fields[fields[k]];
            const QString col = quoteIdent(f.name);
            const int term = form.terms[size_t(k)];
            if (term < 0) {
                terms << col + QLatin1String(" IS NULL");
                continue;
            }
            QString lhs = term > 0 ? QStringLiteral("substr(%1,1,%2)").arg(col).arg(term) : col;
            if (options.caseInsensitive && (f.type == FieldType::String || f.type == FieldType::Memo))
                lhs += QLatin1String(" COLLATE TARVO_NOCASE");
            terms << lhs + QLatin1String(" = ?");
        }
        const QString where = terms.join(QLatin1String(" AND "));
        m_locateFirst = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
                            .arg(recordColumns(), m_sqlTable, where, orderBy());
        m_locateAll = QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3").arg(m_sqlTable, where, orderBy());
        m_locateForm = std::move(form);
    }
    auto bindAll = [&](sqlite3_stmt *st) {
        for (size_t i = 0; i < all.size(); ++i)
            bindValue(st, int(i) + 1, all[i]);
    };

    // The first match in order, with its record: one statement, which
    // SQLite may run as one pass over the table keeping the first row,
    // instead of walking the index and reading every row it passes.
    std::vector<QVariant> record;
    qint64 firstId = 0;
    {
        sqlite3_stmt *st = cached(m_locateFirst);
        bindAll(st);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            firstId = sqlite3_column_int64(st, 0);
            readRecord(st, record);
        }
        sqlite3_reset(st);
        if (rc == SQLITE_DONE)
            return -1;
        if (rc != SQLITE_ROW)
            failLast();
    }
    int result = sourceFind(firstId);
    if (result >= 0 && visibleRowOfSource(result) >= 0) {
        // The record is the one the cursor reads next.
        clearBlock();
        m_blockStart = result;
        m_block.push_back(std::move(record));
        return result;
    }

    // Filtered out, or not among the rows the cursor has: the next match.
    sqlite3_stmt *st = cached(m_locateAll);
    bindAll(st);
    result = -1;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        int row = sourceFind(sqlite3_column_int64(st, 0));
        if (row >= 0 && visibleRowOfSource(row) >= 0) {
            result = row;
            break;
        }
    }
    sqlite3_reset(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        failLast();
    return result;
}

bool Table::locate(const QString &keyFields, const QVariantList &values, LocateOptions options)
{
    return DataSet::locate(keyFields, values, options);
}

// ------------------------------------------------------------- locks, indexes

void Table::lockTable()
{
    requireActive();
    if (m_lockCount == 0 && m_file->tableLockCount == 0) {
        if (!m_file->lockWrite(true, session().busyTimeout()))
            throw EngineError(ErrLocked, QStringLiteral("Die Tabelle \"%1\" konnte nicht gesperrt werden, weil ein anderer Benutzer sie gerade bearbeitet.").arg(nativeName(m_tableName)));
    }
    ++m_lockCount;
    ++m_file->tableLockCount;
}

void Table::unlockTable()
{
    if (m_lockCount == 0 || !m_file)
        return;
    --m_lockCount;
    if (--m_file->tableLockCount == 0)
        m_file->unlockWrite();
}

void Table::flushBuffers()
{
    // Every post is committed with the file synced; nothing is held back.
    requireActive();
}

void Table::addIndex(const IndexDef &index)
{
    if (active()) {
        if (!m_exclusive)
            throw EngineError(ErrNeedExclusive, QStringLiteral("TTable.Exclusive must be set to true in order to add an index to the table"));
        checkBrowseMode();
        finalizeStatements();
        addIndexAttached(session(), *m_file, index);
        return;
    }
    addIndexToFile(session(), m_tableName, index);
}

void Table::deleteIndex(const QString &name)
{
    if (active()) {
        if (!m_exclusive)
            throw EngineError(ErrNeedExclusive, QStringLiteral("TTable.Exclusive must be set to true in order to delete an index from the table"));
        if (!m_indexName.isEmpty() && name.compare(m_indexName, Qt::CaseInsensitive) == 0)
            throw EngineError(ErrGeneral, QStringLiteral("Der gerade verwendete Index \"%1\" kann nicht gelöscht werden.").arg(name));
        checkBrowseMode();
        finalizeStatements();
        dropIndexAttached(session(), *m_file, name);
        QStringList cols;
        for (const FieldDef &f : m_file->def().fields)
            cols << quoteIdent(f.name);
        return;
    }
    dropIndexFromFile(session(), m_tableName, name);
}

} // namespace engine
