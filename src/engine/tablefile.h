// One table file in use by a session: its definition as stored in the file,
// its place in the session's connection, and its lock file. Also the
// operations on table files that need nobody else using them: creating,
// packing, protecting, validity checks and primary index.
#pragma once

#include "engine/tabledef.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

struct sqlite3;

namespace engine {

class Session;

class TableFile {
public:
    TableFile(Session *session, QString path, QString alias);
    ~TableFile();

    const QString &path() const { return m_path; }
    const QString &alias() const { return m_alias; }
    const TableDef &def() const { return m_def; }
    bool hasPrimaryIndex() const { return m_hasPrimary; }
    bool writable() const { return m_writable; }
    // Secondary indexes: registered in the file, and usable (built).
    QStringList indexNames() const;
    const IndexDef *findIndex(const QString &name) const; // any letter case
    bool indexUsable(const QString &name) const;
    QString password() const { return m_password; }

    // Re-reads the definition after a change of the file's structure.
    void reload();

    // Users within the session: tables open on it, exclusive holder.
    int tableUsers = 0;
    bool exclusiveHeld = false;
    int attachUsers = 0;
    quint64 generation = 0;

    // Cross-process locks on the lock file beside the table.
    bool lockOpen(bool exclusiveOpen);  // false when another process refuses
    void unlockOpen();
    bool lockWrite(bool exclusiveLock, int waitMs);
    void unlockWrite();
    bool writeLockExclusive() const { return m_writeMode == 2; }
    bool writeLockHeld() const { return m_writeMode != 0; }
    int tableLockCount = 0;

    static QString lockFilePath(const QString &tablePath);

    // Told after a commit (or rollback) that changed the file's rows, so that
    // other cursors can tell their controls; keyed by their owner.
    void addListener(const void *owner, std::function<void()> fn);
    void removeListener(const void *owner);
    void announce();

private:
    friend class Session;
    bool setLock(int byte, int mode);   // 0 unlock, 1 shared, 2 exclusive
    bool ensureLockFd();

    Session *m_session;
    QString m_path;
    QString m_alias;
    QString m_password;
    TableDef m_def;
    bool m_hasPrimary = false;
    bool m_writable = true;
    QStringList m_usable;
    int m_lockFd = -1;
    bool m_lockFdTried = false;
    int m_openMode = 0;
    int m_writeMode = 0;
    quint64 m_announced = 0;
    std::vector<std::pair<const void *, std::function<void()>>> m_listeners;
};

// Kind of a file on disk, judged from its first bytes without changing it.
enum class FileKind { Missing, Empty, Table, Protected, Truncated, Paradox, Foreign, NotAFile, Unreadable };
FileKind inspectFile(const QString &path);

// Settings of the SQLite library itself, made once before the first
// connection is opened.
void configureSqlite();
// Registers the collations TARVO_DE and TARVO_NOCASE on a connection.
void registerCollations(sqlite3 *db);
// Compares two texts the way an index of that collation orders them.
int compareText(Collation collation, const QString &a, const QString &b);

// Creates a new table file (fails when one exists). With a password the file
// is encrypted.
void createTableFile(const QString &path, const TableDef &def, const QString &password = QString());

// Operations on a table file nobody uses (no data set of the session open on
// it, no other process). Passwords come from the session; each throws an
// EngineError and leaves the file unchanged on failure.
void packTableFile(Session &session, const QString &path);
void setTableFilePassword(Session &session, const QString &path, const QString &password);
void setTableFieldValidity(Session &session, const QString &path, const QString &field,
                           const QVariant &defaultValue, bool required, bool drop);
void rebuildPrimaryIndexFile(Session &session, const QString &path, int keyFields);
void addIndexToFile(Session &session, const QString &path, const IndexDef &index);
void dropIndexFromFile(Session &session, const QString &path, const QString &name);
bool tableFileHasPrimaryIndex(Session &session, const QString &path);
// Adds a field at the end of a table in use or not (ALTER TABLE ... ADD).
void addFieldToTable(Session &session, const QString &path, const FieldDef &field);
// Index changes on a file attached to the session (the caller holds it
// exclusively).
void addIndexAttached(Session &session, TableFile &file, const IndexDef &index);
void dropIndexAttached(Session &session, TableFile &file, const QString &name);
// Throws the German EngineError for a file that cannot be opened as a table
// (missing, empty, truncated, Paradox, foreign); returns for the others.
void checkFileKindForOpen(FileKind kind, const QString &path);
// Reads the definition stored in a table file.
TableDef readTableDef(Session &session, const QString &path);

} // namespace engine
