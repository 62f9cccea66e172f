#include "engine/session.h"

#include "engine/sqlfunctions.h"
#include "engine/sqlutil.h"
#include "engine/tablefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace engine {

static QString nativeName(const QString &path) { return QDir::toNativeSeparators(path); }

Session::Session() = default;

Session::~Session()
{
    for (auto &f : m_files)
        f->unlockWrite(), f->unlockOpen();
    if (m_db)
        sqlite3_close_v2(m_db);
    if (!m_mainPath.isEmpty()) {
        QFile::remove(m_mainPath);
        QFile::remove(m_mainPath + QLatin1String("-journal"));
    }
}

Session &Session::instance()
{
    static Session s;
    return s;
}

void Session::addPassword(const QString &password)
{
    if (!password.isEmpty() && !m_passwords.contains(password))
        m_passwords << password;
}

void Session::removePassword(const QString &password) { m_passwords.removeAll(password); }
void Session::removeAllPasswords() { m_passwords.clear(); }

void Session::setNetFileDir(const QString &dir) { m_netDir = dir; }

void Session::setBusyTimeout(int ms)
{
    m_busyTimeout = ms;
    if (m_db)
        sqlite3_busy_timeout(m_db, ms);
}

QString Session::sessionFolder(const QString &netDir)
{
    // Not the temporary folder: it may be emptied at the next start, and a
    // super-journal lost there would make an interrupted commit look done.
    if (!netDir.isEmpty() && QFileInfo(netDir).isDir())
        return netDir;
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tarvo/sessions");
    if (QDir().mkpath(dir)) {
        static std::once_flag cleaned;
        std::call_once(cleaned, [&dir] { removeStaleSessionFiles(dir); });
        return dir;
    }
    return QDir::tempPath();
}

namespace {

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

int Session::removeStaleSessionFiles(const QString &folder)
{
    // Files are named "tarvo-<process>-<n>-<session>.ses", with "-journal"
    // or a super-journal ("-mj...") beside them. A super-journal stays while
    // a table's journal still names it: that table's interrupted commit is
    // rolled back from it when the table is opened next.
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("tarvo-*.ses*")}, QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        bool ok = false;
        const qint64 pid = name.section(u'-', 1, 1).toLongLong(&ok);
        if (!ok || processAlive(pid))
            continue;
        const QString path = dir.absoluteFilePath(name);
        if (name.contains(QLatin1String(".ses-mj"))) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly) || f.size() > 1 << 20)
                continue;
            bool needed = false;
            for (const QByteArray &child : f.readAll().split('\0'))
                needed = needed || (!child.isEmpty() && QFileInfo::exists(QFile::decodeName(child)));
            if (needed)
                continue;
        }
        if (QFile::remove(path))
            ++removed;
    }
    return removed;
}

static sqlite3 *openMain(Session *self, const QString &netDir, QString &mainPath, int busy)
{
    // The main database only anchors the connection; it must be a real file
    // so that a transaction over several tables commits atomically (its
    // super-journal lives beside it). In network mode it lives in the shared
    // control folder so that every client sees an interrupted commit.
    static std::atomic<int> counter{0};
    QString dir = Session::sessionFolder(netDir);
    mainPath = QDir(dir).absoluteFilePath(QStringLiteral("tarvo-%1-%2-%3.ses")
                                              .arg(QString::number(::getpid()), QString::number(counter++),
                                                   QString::number(quintptr(self), 16)));
    QFile::remove(mainPath);
    sqlite3 *db = nullptr;
    QByteArray p = QFile::encodeName(mainPath);
    // The program uses its connections from one thread only: without
    // SQLite's own mutex, no lock is taken around each column read.
    configureSqlite();
    int rc = sqlite3_open_v2(p.constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (db)
            sqlite3_close_v2(db);
        throw EngineError(ErrIo, QStringLiteral("Die Datenbanksitzung konnte nicht angelegt werden (%1).").arg(nativeName(mainPath)));
    }
    registerCollations(db);
    sqlite3_busy_timeout(db, busy);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 125);
    sqlite3_update_hook(db, &Session::updateHook, self);
    return db;
}

std::shared_ptr<TableFile> Session::attached(const QString &path) const
{
    QFileInfo fi(path);
    QString key = fi.exists() ? fi.canonicalFilePath() : fi.absoluteFilePath();
    return m_files.value(key);
}

QString Session::sqlTableName(const TableFile &file)
{
    return quoteIdent(file.alias()) + QLatin1String(".data");
}

QString Session::unlock(const QString &path, bool isProtected,
                        const std::function<bool(const QString &)> &tryKey)
{
    if (!isProtected) {
        if (tryKey(QString()))
            return QString();
        throw EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist keine Tarvo-Tabelle oder sie ist beschädigt.").arg(nativeName(path)));
    }
    for (const QString &pw : std::as_const(m_passwords))
        if (tryKey(pw))
            return pw;
    QString pw;
    if (onPassword && onPassword(path, pw) && !pw.isEmpty()) {
        addPassword(pw);
        if (tryKey(pw))
            return pw;
        throw EngineError(ErrPassword, QStringLiteral("Das Passwort für die Tabelle \"%1\" ist falsch (oder die Datei ist keine Tarvo-Tabelle).").arg(nativeName(path)));
    }
    throw EngineError(ErrPassword, QStringLiteral("Die Tabelle \"%1\" ist passwortgeschützt (oder keine Tarvo-Tabelle); ohne das richtige Passwort lässt sie sich nicht öffnen.").arg(nativeName(path)));
}

std::shared_ptr<TableFile> Session::attach(const QString &path)
{
    // A table attached already under the path asked for is found without
    // resolving the path again (each statement over it asks).
    const auto known = m_keyOfPath.constFind(path);
    if (known != m_keyOfPath.constEnd()) {
        if (auto f = m_files.value(*known)) {
            ++f->attachUsers;
            m_toDetach.removeAll(f);
            return f;
        }
    }
    QFileInfo fi(path);
    QString key = fi.exists() ? fi.canonicalFilePath() : fi.absoluteFilePath();
    if (auto f = m_files.value(key)) {
        ++f->attachUsers;
        m_toDetach.removeAll(f);
        if (QDir::isAbsolutePath(path))
            m_keyOfPath.insert(path, key);
        return f;
    }
    FileKind kind = inspectFile(key);
    if (kind != FileKind::Table && kind != FileKind::Protected)
        checkFileKindForOpen(kind, key);
    if (!m_db)
        m_db = openMain(this, m_netDir, m_mainPath, m_busyTimeout);
    if (m_txDepth > 0)
        throw EngineError(ErrGeneral, QStringLiteral("Die Tabelle \"%1\" kann nicht während einer Transaktion geöffnet werden.").arg(nativeName(key)));

    QString alias = QStringLiteral("t%1").arg(m_nextAlias++);
    auto file = std::make_shared<TableFile>(this, key, alias);
    if (!file->lockOpen(false))
        throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" wird von einem anderen Benutzer exklusiv verwendet.").arg(nativeName(key)));

    QString uri = QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(key, "/"));
    bool attachedNow = false;
    QString lastError;
    auto detach = [&]() {
        if (attachedNow) {
            exec(QStringLiteral("DETACH DATABASE %1").arg(quoteIdent(alias)));
            attachedNow = false;
        }
    };
    auto tryKey = [&](const QString &pw) -> bool {
        detach();
        for (const char *mode : {"rw", "ro"}) {
            QString sql = QStringLiteral("ATTACH DATABASE %1 AS %2 KEY %3")
                              .arg(quoteLiteral(uri + QStringLiteral("?mode=") + QLatin1String(mode)),
                                   quoteIdent(alias), quoteLiteral(pw));
            QByteArray u = sql.toUtf8();
            char *err = nullptr;
            int arc = sqlite3_exec(m_db, u.constData(), nullptr, nullptr, &err);
            if (err) { lastError = QString::fromUtf8(err); sqlite3_free(err); }
            if (arc == SQLITE_NOTADB)
                return false; // wrong key: the file's first page does not decrypt
            if (arc == SQLITE_OK) {
                attachedNow = true;
                file->m_writable = (qstrcmp(mode, "rw") == 0);
                break;
            }
        }
        if (!attachedNow)
            throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" lässt sich nicht öffnen (%2).").arg(nativeName(key), lastError));
        QByteArray test = QStringLiteral("SELECT count(*) FROM %1.sqlite_master").arg(quoteIdent(alias)).toUtf8();
        int rc = sqlite3_exec(m_db, test.constData(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            return true;
        detach();
        if (rc == SQLITE_NOTADB)
            return false;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throw EngineError(ErrLocked, QStringLiteral("Die Tabelle \"%1\" ist gerade von einem anderen Benutzer gesperrt. Bitte versuchen Sie es später noch einmal.").arg(nativeName(key)));
        throw EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist keine Tarvo-Tabelle oder sie ist beschädigt.").arg(nativeName(key)));
    };
    try {
        file->m_password = unlock(key, kind == FileKind::Protected, tryKey);
        m_byAlias.insert(alias, file.get());
        file->reload();
    } catch (...) {
        m_byAlias.remove(alias);
        try { detach(); } catch (...) {}
        file->unlockOpen();
        throw;
    }
    file->attachUsers = 1;
    m_files.insert(key, file);
    if (QDir::isAbsolutePath(path))
        m_keyOfPath.insert(path, key);
    return file;
}

void Session::release(const std::shared_ptr<TableFile> &file)
{
    if (!file || --file->attachUsers > 0)
        return;
    file->attachUsers = 0;
    if (!m_toDetach.contains(file))
        m_toDetach << file;
    if (m_txDepth == 0)
        detachPending();
}

void Session::detachPending()
{
    const auto pending = m_toDetach;
    for (const auto &f : pending) {
        if (f->attachUsers > 0) {
            m_toDetach.removeAll(f);
            continue;
        }
        QByteArray sql = QStringLiteral("DETACH DATABASE %1").arg(quoteIdent(f->alias())).toUtf8();
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            continue; // a statement still runs on it; tried again later
        m_toDetach.removeAll(f);
        m_byAlias.remove(f->alias());
        m_files.remove(f->path());
        m_keyOfPath.removeIf([&](const auto &e) { return e.value() == f->path(); });
        f->unlockWrite();
        f->unlockOpen();
    }
}

void Session::startTransaction()
{
    if (!m_db)
        m_db = openMain(this, m_netDir, m_mainPath, m_busyTimeout);
    // Inner levels are savepoints: a failed inner step takes back only its
    // own changes, never the work of the outer transaction.
    exec(m_txDepth == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT tarvo%1").arg(m_txDepth));
    ++m_txDepth;
}

void Session::commit()
{
    if (m_txDepth <= 0)
        return;
    if (m_txDepth > 1) {
        --m_txDepth;
        exec(QStringLiteral("RELEASE tarvo%1").arg(m_txDepth));
        return;
    }
    int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        int ext = sqlite3_extended_errcode(m_db);
        QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
        rollback();
        fail(ext, msg);
    }
    m_txDepth = 0;
    finishTransactionLocks();
    detachPending();
    announceChanges();
}

void Session::announceChanges()
{
    const auto files = m_files.values();
    for (const auto &f : files)
        f->announce();
}

void Session::rollback()
{
    if (m_txDepth <= 0)
        return;
    // Rows seen by cursors may have been taken back.
    for (auto &f : m_files)
        ++f->generation;
    if (m_txDepth > 1) {
        --m_txDepth;
        QByteArray sql = QStringLiteral("ROLLBACK TO tarvo%1; RELEASE tarvo%1").arg(m_txDepth).toUtf8();
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
            return;
        // The savepoint is gone (SQLite ended the transaction itself): all of it.
    }
    m_txDepth = 0;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    finishTransactionLocks();
    detachPending();
    announceChanges();
}

void Session::finishTransactionLocks()
{
    for (TableFile *f : std::as_const(m_txWriteLocks))
        if (f->tableLockCount == 0)
            f->unlockWrite();
    m_txWriteLocks.clear();
}

namespace {
struct OpenReader {
    const void *owner;
    const Session *session;
    std::function<void()> close;
};

std::vector<OpenReader> &openReaders()
{
    static std::vector<OpenReader> readers;
    return readers;
}
} // namespace

void Session::addOpenReader(const void *owner, const Session *session, std::function<void()> close)
{
    removeOpenReader(owner);
    openReaders().push_back({owner, session, std::move(close)});
}

void Session::removeOpenReader(const void *owner)
{
    auto &r = openReaders();
    for (size_t i = 0; i < r.size(); ++i)
        if (r[i].owner == owner) {
            r.erase(r.begin() + std::ptrdiff_t(i));
            return;
        }
}

void Session::closeOthersOpenReaders() const
{
    // Each close takes its reader off the list.
    std::vector<std::function<void()>> closes;
    for (const OpenReader &r : openReaders())
        if (r.session != this)
            closes.push_back(r.close);
    for (const auto &close : closes)
        close();
}

void Session::admitWrite(TableFile &file)
{
    closeOthersOpenReaders();
    if (!file.writable())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Tabelle \"%1\" ist schreibgeschützt und kann nicht geändert werden.").arg(nativeName(file.path())));
    if (file.writeLockExclusive())
        return;
    if (!file.lockWrite(false, m_busyTimeout))
        throw EngineError(ErrLocked, QStringLiteral("Die Tabelle \"%1\" ist von einem anderen Benutzer gesperrt. Bitte versuchen Sie es später noch einmal.").arg(nativeName(file.path())));
    if (m_txDepth > 0) {
        if (!m_txWriteLocks.contains(&file))
            m_txWriteLocks << &file;
    } else if (file.tableLockCount == 0) {
        file.unlockWrite();
    }
}

quint64 Session::generation(const TableFile &file) const { return file.generation; }

void Session::exec(const QString &sql)
{
    if (!m_db)
        m_db = openMain(this, m_netDir, m_mainPath, m_busyTimeout);
    execOn(m_db, sql);
}

void Session::execOn(sqlite3 *db, const QString &sql, const TableFile *file) const
{
    QByteArray u = sql.toUtf8();
    char *err = nullptr;
    int rc = sqlite3_exec(db, u.constData(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        QString msg = QString::fromUtf8(err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        fail(sqlite3_extended_errcode(db), msg, file);
    }
}

void Session::fail(int rc, const QString &context, const TableFile *file) const
{
    QString name = file ? nativeName(file->path()) : QString();
    QString where = file ? QStringLiteral(" (Tabelle \"%1\")").arg(name) : QString();
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw EngineError(ErrLocked, QStringLiteral("Die Tabelle%1 ist gerade von einem anderen Benutzer gesperrt. Bitte versuchen Sie es später noch einmal.").arg(file ? QStringLiteral(" \"%1\"").arg(name) : QString()));
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
            const QStringList fields = keyViolationFields(context);
            throw EngineError(ErrKeyViolation, QStringLiteral("Schlüsselverletzung: Es gibt bereits einen Datensatz mit diesem Schlüssel%1%2.")
                                                   .arg(fields.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(fields.join(QStringLiteral(", "))), where));
        }
        break;
    case SQLITE_READONLY:
        throw EngineError(ErrReadOnly, QStringLiteral("Die Tabelle%1 ist schreibgeschützt und kann nicht geändert werden.").arg(file ? QStringLiteral(" \"%1\"").arg(name) : QString()));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw EngineError(ErrNotATable, QStringLiteral("Die Tabelle ist beschädigt%1.").arg(where));
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        throw EngineError(ErrIo, QStringLiteral("Fehler beim Zugriff auf die Datei%1: %2").arg(where, context));
    default:
        break;
    }
    if (context.startsWith(QLatin1String(sql::OwnErrorMark)))
        throw EngineError(ErrSql, context.mid(qsizetype(std::strlen(sql::OwnErrorMark))));
    // What SQLite says of a damaged file's structure, in German.
    for (const char *damaged : {"malformed", "no such collation", "unsupported file format", "no such table",
                                "no such column", "corrupt", "not a database"})
        if (context.contains(QLatin1String(damaged), Qt::CaseInsensitive))
            throw EngineError(ErrNotATable, QStringLiteral("Die Tabelle%1 ist beschädigt: ihr Aufbau lässt sich nicht lesen.")
                                                .arg(file ? QStringLiteral(" \"%1\"").arg(name) : QString()));
    if (context.contains(QLatin1String("too many"), Qt::CaseInsensitive)
        || context.contains(QLatin1String("too large"), Qt::CaseInsensitive)
        || context.contains(QLatin1String("too big"), Qt::CaseInsensitive))
        throw EngineError(ErrSql, QStringLiteral("Die Anweisung ist für die Datenbank zu umfangreich%1.").arg(where));
    throw EngineError(ErrSql, QStringLiteral("Datenbankfehler%1: %2").arg(where, context));
}

QStringList Session::keyViolationFields(const QString &sqliteMessage)
{
    // "UNIQUE constraint failed: data.Medium, data.Nr"
    const qsizetype colon = sqliteMessage.indexOf(QLatin1String("failed: "));
    if (colon < 0)
        return {};
    QStringList fields;
    for (const QString &part : sqliteMessage.mid(colon + 8).split(u','))
        fields << part.trimmed().section(u'.', -1);
    fields.removeAll(QString());
    return fields;
}

void Session::updateHook(void *ctx, int op, const char *db, const char *table, qint64 rowid)
{
    if (std::strcmp(table, "data") != 0)
        return;
    auto self = static_cast<Session *>(ctx);
    if (TableFile *f = self->m_byAlias.value(QLatin1String(db))) {
        ++f->generation;
        if (f == self->m_collectFile && self->m_collectRows && op != SQLITE_DELETE)
            self->m_collectRows->push_back(rowid);
    }
}

} // namespace engine
