// Small helpers around SQLite statements used inside the store.
#pragma once

#include "engine/tabledef.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <sqlite3.h>

namespace engine {

class Session;

// Identifier in double quotes, inner quotes doubled.
QString quoteIdent(const QString &name);
// String literal in single quotes.
QString quoteLiteral(const QString &text);
// Column type and collation name of a field and an index.
QString columnType(FieldType type);
QString collationName(Collation c);
Collation collationFromName(const QString &name);
FieldType fieldTypeFromName(const QString &name, bool *ok = nullptr);

// Runs `release` when control returns to the event loop (a statement left
// open between reads holds a read lock that keeps other programs from
// writing). One run posted serves every call before it; `pending` belongs to
// the owner, and gone with it, the run does nothing.
void releaseAtEventLoop(std::shared_ptr<bool> &pending, std::function<void()> release);

// A prepared statement that finalizes itself.
class Stmt {
public:
    Stmt(sqlite3 *db, const QString &sql);  // throws EngineError(ErrSql)
    ~Stmt();
    Stmt(const Stmt &) = delete;
    Stmt &operator=(const Stmt &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }
    int rc() const { return m_rc; }
    bool ok() const { return m_stmt != nullptr; }
    QString error() const { return m_error; }
    void bind(int i, const QVariant &v);
    int step();
    QVariant column(int i, FieldType type) const;
    QString text(int i) const;
    qint64 integer(int i) const;
private:
    sqlite3_stmt *m_stmt = nullptr;
    int m_rc = 0;
    QString m_error;
};

// Conditions that hold while each quoted column still has the value the
// edit began with (bound after the row id; texts: empty equals NULL): a post
// writes only over what the user saw. With orNew the column may hold the
// value to be written as well (two values bound per column): for a post
// whose own connection has changed the table since the edit began, such as
// a BeforePost that moves the record to its new key first.
QString unchangedTerms(const QStringList &quotedColumns, const QList<FieldType> &types, bool orNew);

// Binds a stored value (QString, integer, double, bytes, bool, date) to a parameter.
void bindValue(sqlite3_stmt *st, int i, const QVariant &v);
// Reads column i as a value of the given field type.
QVariant readColumn(sqlite3_stmt *st, int i, FieldType type);
// Value in the form the file stores it (dates as ISO text, Booleans as 0/1).
QVariant storedForm(FieldType type, const QVariant &v);

} // namespace engine
