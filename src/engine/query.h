// A query data set: an SQL statement of the local dialect, held as a list of
// lines, with named parameters. Open runs a SELECT on a read-only path and
// offers its rows through the same cursor interface as a table; ExecSQL runs
// UPDATE, DELETE, INSERT and ALTER TABLE in one transaction each. A SELECT
// over one table with plain field columns can be made live (RequestLive), so
// that its rows are edited in place.
#pragma once

#include "engine/dataset.h"
#include "engine/keptrows.h"
#include "engine/sqldialect.h"

#include <QDate>
#include <QHash>

#include <deque>
#include <limits>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace engine {

class TableFile;

enum class ParamType { Unknown, String, Integer, Boolean, Date };

class Param {
public:
    explicit Param(QString name = QString()) : m_name(std::move(name)) {}

    const QString &name() const { return m_name; }
    ParamType dataType() const { return m_type; }
    void setDataType(ParamType t) { m_type = t; }
    QVariant value() const { return m_value; }
    bool isNull() const { return m_value.isNull(); }

    // Each setter gives the parameter its type as well.
    void setAsString(const QString &v) { set(ParamType::String, v); }
    void setAsInteger(qint64 v) { set(ParamType::Integer, v); }
    void setAsBoolean(bool v) { set(ParamType::Boolean, v); }
    void setAsDate(const QDate &v) { set(ParamType::Date, v.isValid() ? QVariant(v) : QVariant()); }
    // The type follows the value (QString, integers, bool, QDate).
    void setValue(const QVariant &v);
    // Typed, without a value (NULL).
    void clear() { m_value = QVariant(); }

    QString asString() const { return m_value.toString(); }
    qint64 asInteger() const { return m_value.toLongLong(); }
    bool asBoolean() const { return m_value.toBool(); }

private:
    void set(ParamType t, const QVariant &v)
    {
        m_type = t;
        m_value = v;
    }

    QString m_name;
    ParamType m_type = ParamType::Unknown;
    QVariant m_value;
};

class Query : public DataSet {
public:
    explicit Query(Session *session = nullptr);
    ~Query() override;

    // The statement. Changing it closes the query; parameters are read from
    // the new text, and those of the same name keep their type and value.
    QStringList sql() const { return m_sql; }
    void setSql(const QStringList &lines);
    void clearSql() { setSql({}); }
    void addSqlLine(const QString &line);
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    // Folder against which relative table paths resolve.
    QString databaseFolder() const { return m_folder; }
    void setDatabaseFolder(const QString &folder) { m_folder = folder; }

    // Live result: a one-table SELECT of plain fields can be edited.
    bool requestLive() const { return m_requestLive; }
    void setRequestLive(bool on);
    bool isLive() const { return m_live; }

    int paramCount() const { return int(m_params.size()); }
    Param &param(int i) { return m_params[size_t(i)]; }
    const Param &param(int i) const { return m_params[size_t(i)]; }
    Param *findParam(const QString &name);
    Param &paramByName(const QString &name); // throws when there is none

    // Runs an UPDATE, DELETE, INSERT or ALTER TABLE (or a SELECT, whose rows
    // are dropped) in one transaction; returns the number of rows changed.
    int execSQL();
    int rowsAffected() const { return m_rowsAffected; }

    // The statement as translated at the last Open or ExecSQL.
    const sql::Translation &translation() const { return m_translation; }

    bool canModify() const override;
    bool uses(const TableFile &file) const override;

protected:
    void openSource() override;
    void closeSource() override;
    void refreshSource() override;
    void syncSource() override;
    int sourceCount() override;
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

private:
    sql::Translation translateNow();
    void checkLimits(const sql::Translation &t) const;
    const sql::TableInfo *resolve(const QString &path);
    void releaseFiles();
    void ensureFunctions();
    sqlite3_stmt *prepare(const QString &sql, bool readOnly);
    void bindParams(sqlite3_stmt *st);
    void runSelect();
    void openStream();
    void closeStream();
    bool streamCurrent(); // the statement open and its tables unchanged since it began
    bool fetchTo(int row, bool withValues); // false when there are fewer rows
    void fetchAll() { fetchTo(std::numeric_limits<int>::max() - BlockRows, false); }
    bool sameRowAsFetched(sqlite3_stmt *st, int row) const;
    void loadBlock(int start);
    void finalize();
    [[noreturn]] void failStep(sqlite3_stmt *st, const TableFile *file);
    TableFile *targetFile() const;
    void checkWrittenRows(const TableFile &file, const std::vector<qint64> &rows);
    const sql::TableInfo &slotInfo(int slot) const;
    const sql::TableInfo &liveInfo() const;
    TableFile *liveFile() const;

    QStringList m_sql;
    QString m_folder;
    bool m_requestLive = false;
    std::vector<Param> m_params;
    QHash<QString, int> m_paramIndex; // upper-case name -> index into m_params
    int m_rowsAffected = 0;

    // Tables the statement uses, attached while it runs or is open.
    std::vector<std::shared_ptr<TableFile>> m_files;
    std::deque<sql::TableInfo> m_infos;
    sql::Translation m_translation;

    // Rows: a result of plain fields keeps one row id per table of FROM
    // and reads the rows when they are shown; any other keeps the rows.
    static constexpr qint64 NoRow = std::numeric_limits<qint64>::min();
    bool m_live = false; // one table: editable on request
    int m_slots = 0;     // row ids per row
    std::vector<std::vector<int>> m_slotColumns;
    std::vector<sqlite3_stmt *> m_readStmts;
    // Rows are read in blocks: one statement per table for a block of rows,
    // not one per row.
    static constexpr int BlockRows = 128;
    int m_blockStart = -1;
    std::vector<std::vector<QVariant>> m_block;
    int m_streamRow = -1; // the row the open statement stands on (its values not kept)
    std::vector<qint64> m_rowIds;
    QHash<qint64, int> m_rowOfId;
    bool m_rowOfIdValid = false;
    KeptRows m_kept{0, BlockRows}; // the rows of a result not read again by row id
    std::vector<FieldType> m_types;
    // The result is produced as it is read: the statement stays open and is
    // stepped on as far as the row asked for (keeping the values of the rows
    // stepped over for the reader that reaches them; a count takes only the
    // row ids). It holds a read lock, so it is closed at the last row, on a
    // change of its tables, before a write through another session and when control
    // returns to the event loop; a later read runs it again, steps over the
    // rows fetched before and checks that the last of them is still there.
    sqlite3_stmt *m_stream = nullptr;
    int m_fetched = 0;           // rows of the result known so far
    bool m_fetchedAll = false;
    int m_hintRow = -1;          // the row whose key was asked for last
    std::vector<quint64> m_streamGens;   // generations of m_files when the statement began
    std::shared_ptr<bool> m_releasePending; // true while a release is posted; gone with the query
    // A one-table result follows committed changes of its table.
    TableFile *m_listened = nullptr;
    quint64 m_seenGen = 0;
    quint64 m_editGeneration = 0; // of the live file when the edit began
};

} // namespace engine
