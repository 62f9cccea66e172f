// A table data set: a cursor over one table file in the order of its primary
// or a named secondary index, with ranges, key searches, locate, a whole-table
// lock across processes, and index maintenance on exclusively opened tables.
#pragma once

#include "engine/dataset.h"
#include "engine/rowpositions.h"

#include <QElapsedTimer>
#include <memory>

struct sqlite3_stmt;

namespace engine {

class TableFile;

class Table : public DataSet {
public:
    explicit Table(Session *session = nullptr);
    ~Table() override;

    // Set while closed.
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &path);
    bool exclusive() const { return m_exclusive; }
    void setExclusive(bool on);
    // Fields the table must have, as the controls bound to it expect: a
    // file that lacks one of them does not open (ErrFieldNotFound), before
    // any afterOpen subscriber runs.
    QStringList requiredFields() const { return m_requiredFields; }
    void setRequiredFields(const QStringList &names) { m_requiredFields = names; }

    // "" = primary index. Setting it on an open table re-orders the rows,
    // cancels a range and keeps the current record. A name the table does
    // not have raises ErrIndexNotFound; a named index that exists but cannot
    // be used raises ErrIndexDamaged (0x2F02).
    QString indexName() const { return m_indexName; }
    void setIndexName(const QString &name);
    QStringList indexFieldNames() const;  // fields of the current index
    QStringList indexNames() const;       // secondary indexes of the open table
    bool hasPrimaryIndex() const;
    const TableDef &definition() const;   // of the open table

    // Ranges on the current index: the rows whose key lies between start and
    // end (each a prefix of the index's fields).
    void setRange(const QVariantList &start, const QVariantList &end);
    void cancelRange();
    bool hasRange() const { return m_rangeOn; }

    // Key searches on the current index.
    bool findKey(const QVariantList &values);     // exact; moves only on success
    void findNearest(const QVariantList &values); // first key >= values
    void setKey();                                // field writes go to the key buffer
    bool gotoKey();
    void gotoNearest();

    bool locate(const QString &keyFields, const QVariantList &values,
                LocateOptions options = {}) override;
    using DataSet::locate;

    // Whole-table write lock for this process; other processes cannot write
    // until it is released (or this process ends). Throws ErrLocked.
    void lockTable();
    void unlockTable();
    bool tableLocked() const { return m_lockCount > 0; }

    // Writes pending changes of the file to disk.
    void flushBuffers();

    // Index maintenance: the table must be open exclusively (or closed, then
    // it is done on the file with nobody else using it).
    void addIndex(const IndexDef &index);
    void deleteIndex(const QString &name);

    std::shared_ptr<TableFile> file() const { return m_file; }
    bool canModify() const override;
    bool uses(const TableFile &file) const override { return m_file.get() == &file; }

protected:
    void openSource() override;
    void closeSource() override;
    void refreshSource() override;
    void syncSource() override;
    int sourceCount() override;
    int sourceCountOnly() override;
    bool sourceHasRow(int row) override;
    void sourceRead(int row, QVariant *values) override;
    qint64 sourceKey(int row) override;
    int sourceFind(qint64 key) override;
    bool sourceWritable() const override;
    void sourceInitRecord(QVariant *values) override;
    void sourceForget(qint64 key) override;
    void sourceCheckExists(qint64 key) override;
    qint64 sourceWrite(bool inserting, qint64 key, const QVariant *values,
                       const std::vector<bool> &changed) override;
    void sourceDelete(qint64 key) override;
    int sourceLocate(const QList<int> &fields, const QVariantList &values,
                     LocateOptions options, int fromRow) override;

private:
    void ensureOrder();
    bool loadOrderTo(int row);         // row ids up to row; false when there are fewer rows
    void loadOrderBlock(int rows);     // the next rows in order (-1: all the rest)
    void reserveOrder();               // room for the row ids of the whole table
    int loadedPos(qint64 rowid);       // among the row ids read so far; -1 when not there
    void invalidateOrder();
    [[noreturn]] void failLast();
    EngineError recordGone() const;
    // values: the record written, named in a key violation.
    void stepDone(sqlite3_stmt *st, const QVariant *values = nullptr);
    // The file's count of this connection's changes when the edit began.
    quint64 m_editGeneration = 0; // runs a change statement to its end or throws
    void reorder();
    QString orderBy() const;
    QString rangeWhere(std::vector<QVariant> &binds) const;
    QString equalTerm(int fieldIndex, const QVariant &value, std::vector<QVariant> &binds) const;
    QString lexTerm(int from, const QVariantList &values, bool greater, bool inclusive,
                    std::vector<QVariant> &binds) const;
    QString colRef(int fieldIndex) const;
    void resolveIndex(const QString &name, IndexDef &out, QList<int> &fields) const;
    sqlite3_stmt *cached(const QString &sql);
    void finalizeStatements();
    QVariant bindable(int fieldIndex, const QVariant &v) const;
    qint64 firstRowid(const QString &where, const std::vector<QVariant> &binds);
    std::vector<QVariant> keyOf(qint64 rowid);
    int compareKeys(const std::vector<QVariant> &a, qint64 ra, const std::vector<QVariant> &b, qint64 rb) const;
    void placeRow(qint64 rowid);
    void removeRow(qint64 rowid);
    QVariantList keyFromBuffer();
    void searchKey(const QVariantList &values, bool exact, bool &found);

    QString m_tableName;
    QString m_indexName;
    QStringList m_requiredFields;
    bool m_exclusive = false;
    std::shared_ptr<TableFile> m_file;
    QString m_sqlTable;               // "tN".data
    IndexDef m_index;                 // current order
    QList<int> m_indexFields;         // field positions of the current index
    bool m_rangeOn = false;
    QVariantList m_rangeStart, m_rangeEnd;
    // Row ids in index order, read in growing blocks as rows are reached:
    // opening needs the first block only; counting reads them all.
    std::vector<qint64> m_order;
    bool m_orderValid = false;        // m_order is the start of the current order
    bool m_orderComplete = false;     // ... and all of it
    // The rows of the current order and range as counted before all their
    // ids were read; -1 when not counted.
    qint64 m_counted = -1;
    RowPositions m_posMap;
    bool m_posMapValid = false;
    qint64 m_hintKey = 0;
    int m_hintPos = -1;
    quint64 m_seenGen = 0;
    // Rows read ahead in one statement (one read transaction for many rows).
    int m_blockStart = -1;
    std::vector<std::vector<QVariant>> m_block;
    void clearBlock() { m_blockStart = -1; m_block.clear(); }
    void readBlock(int first, int count);
    void fetchRows(int first, int count, std::vector<std::vector<QVariant>> &out);
    QString recordColumns();          // "rowid," and every field, for reading records
    QString m_recordColumns;          // ... kept while the statements are
    void readRecord(sqlite3_stmt *st, std::vector<QVariant> &values) const; // from such a statement
    int m_lastRead = -2;
    // A forward walk reads its rows from one statement over the table in its
    // order and range, stepped row by row. It is released when control
    // returns to the event loop, at the walk's last row, on any change of
    // the rows, order or range, and before a write through another session.
    sqlite3_stmt *m_walkStmt = nullptr;
    QString m_walkSql;
    // The naming of the fields the walk reads (fieldsNeededStamp; 0: all of
    // them), the fields it reads in the statement's order after the row id,
    // and those it leaves null.
    quint64 m_walkNeed = 0;
    std::vector<int> m_walkFields;
    std::vector<int> m_walkSkipped;
    bool m_walkOpen = false;
    int m_walkRow = -1;               // the row the statement gave last
    quint64 m_walkGen = 0;            // the file's generation when it began
    int m_walkCredit = 0;             // rows read in sequence since the last walk began
    quint64 m_creditGen = 0;          // ... with the file at this generation
    std::shared_ptr<bool> m_walkRelease;
    QElapsedTimer m_walkSince;        // since the walk's statement began
    // The longest a walk holds its read lock without a pause: well within
    // the time another connection waits for a lock (3 s).
    static constexpr qint64 kWalkHoldMs = 250;
    bool openWalk(int row);
    bool stepWalk(int row, QVariant *values);
    void closeWalk();
    QString m_keySql;
    sqlite3_stmt *m_rowStmt = nullptr;
    sqlite3_stmt *m_blockStmt = nullptr;
    std::vector<std::pair<QString, sqlite3_stmt *>> m_stmts;
    int m_lockCount = 0;
    bool m_countedUser = false;
    // A locate's statements are built again only when its form changes:
    // the fields, the options, which values are empty, the order, the range.
    struct LocateForm {
        QList<int> fields;
        std::vector<int> terms;          // per field: -1 empty, 0 equal, n > 0 its first n letters
        bool caseInsensitive = false;
        QList<int> orderFields;
        bool descending = false;
        Collation collation = Collation::Binary;
        QString range;
        bool operator==(const LocateForm &) const = default;
    };
    LocateForm m_locateForm;
    QString m_locateFirst, m_locateAll; // the first match with its record; every match; empty: none kept
};

} // namespace engine
