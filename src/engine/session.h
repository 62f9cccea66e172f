// The engine context of one program run: one SQLite (SQLCipher) connection
// with every table file attached by its path, so that SQL can join tables and
// a change spanning tables commits atomically; the password list with its
// callback; the network control folder; cross-process table locks.
#pragma once

#include "engine/engineerror.h"
#include "engine/tabledef.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>
#include <memory>

struct sqlite3;

namespace engine {

class TableFile;

class Session {
public:
    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // The program's own session (the data sets' default).
    static Session &instance();

    sqlite3 *handle() const { return m_db; }

    // Passwords tried on protected tables, and the callback asked when none
    // fits: it returns whether to go on and sets the password; a non-empty
    // password is added to the list.
    void addPassword(const QString &password);
    void removePassword(const QString &password);
    void removeAllPasswords();
    QStringList passwords() const { return m_passwords; }
    std::function<bool(const QString &tablePath, QString &password)> onPassword;

    // Network control folder ("/NET"): shared by every client of a database.
    void setNetFileDir(const QString &dir);
    QString netFileDir() const { return m_netDir; }

    // How long a busy table is waited for before an EngineError (ms).
    void setBusyTimeout(int ms);
    int busyTimeout() const { return m_busyTimeout; }

    // Table files in use. attach() opens the file on first use (checking
    // that it is one of our tables, asking for a password when protected)
    // and counts users; release() drops one use and detaches at the last.
    std::shared_ptr<TableFile> attach(const QString &path);
    void release(const std::shared_ptr<TableFile> &file);
    std::shared_ptr<TableFile> attached(const QString &path) const; // null when not in use
    // SQL name of an attached table ("t3"."data"), for statements.
    static QString sqlTableName(const TableFile &file);

    // Transactions spanning every attached table. Nested calls count; the
    // outermost commit writes. A killed process leaves all or nothing.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_txDepth > 0; }

    class Transaction {
    public:
        explicit Transaction(Session &s) : m_s(s) { m_s.startTransaction(); }
        ~Transaction() { if (!m_done) { try { m_s.rollback(); } catch (...) {} } }
        void commit() { m_done = true; m_s.commit(); }
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
    private:
        Session &m_s;
        bool m_done = false;
    };

    // Runs a statement that returns no rows (no parameters); throws on error.
    void exec(const QString &sql);
    // The same on another connection (maintenance), errors named after file.
    void execOn(sqlite3 *db, const QString &sql, const TableFile *file = nullptr) const;
    // Throws the EngineError that fits SQLite result rc for the table file.
    [[noreturn]] void fail(int rc, const QString &context, const TableFile *file = nullptr) const;
    // The fields SQLite names in its message on a key violation.
    static QStringList keyViolationFields(const QString &sqliteMessage);

    // Write admission: before a change of a table file, called by tables and
    // by queries. Waits briefly while another process holds the table's lock.
    void admitWrite(TableFile &file);

    // Statements left open between reads (a result read as it is walked)
    // hold a read lock, which keeps every other connection from committing a
    // change. Their owners register them here with their session; a write
    // through one session closes those of the others first (within one
    // thread, waiting for them would never end), and the owners run them
    // again at their next read. The writer's own stay open: its change
    // commits beside them.
    static void addOpenReader(const void *owner, const Session *session, std::function<void()> close);
    static void removeOpenReader(const void *owner);
    void closeOthersOpenReaders() const;

    // Bumped on every row change of a file through this connection.
    quint64 generation(const TableFile &file) const;

    // Finds the key of a protected file: tries the known passwords, then asks
    // the callback once. tryKey(password) returns false for a wrong key.
    // Returns the key that worked ("" for an unprotected file); throws
    // ErrPassword when none did.
    QString unlock(const QString &path, bool isProtected,
                   const std::function<bool(const QString &)> &tryKey);

    // Where sessions keep their anchor database (and a commit over several
    // tables its super-journal): the network control folder, else a folder
    // of the user's that survives a restart.
    static QString sessionFolder(const QString &netDir);
    // Removes the files that sessions of processes no longer running left in
    // the folder (called once per process for the user's own folder, whose
    // sessions all run on this machine); returns how many went.
    static int removeStaleSessionFiles(const QString &folder);

    // Number of files attached now (for tests).
    int attachedCount() const { return int(m_files.size()); }

    static void updateHook(void *ctx, int op, const char *db, const char *table, qint64 rowid);

    // While set, the row ids of rows of that file inserted or updated through
    // this connection are added to the list (a statement's changes, checked
    // against the field rules before its commit).
    void collectChangedRows(const TableFile *file, std::vector<qint64> *rows)
    {
        m_collectFile = file;
        m_collectRows = rows;
    }

private:
    friend class TableFile;
    void finishTransactionLocks();
    void announceChanges();
    void detachPending();

    sqlite3 *m_db = nullptr;
    QString m_mainPath;
    QStringList m_passwords;
    QString m_netDir;
    int m_busyTimeout = 3000;
    int m_txDepth = 0;
    int m_nextAlias = 1;
    QHash<QString, std::shared_ptr<TableFile>> m_files; // by canonical path
    QHash<QString, QString> m_keyOfPath; // absolute path as asked for -> canonical path, while attached
    QHash<QString, TableFile *> m_byAlias;
    QList<std::shared_ptr<TableFile>> m_toDetach;
    const TableFile *m_collectFile = nullptr;
    std::vector<qint64> *m_collectRows = nullptr;
    QList<TableFile *> m_txWriteLocks;
};

} // namespace engine
