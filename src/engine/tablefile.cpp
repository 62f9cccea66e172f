#include "engine/tablefile.h"

#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/sqlutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace engine {

static const char kFormat[] = "Tarvo-Tabelle";

static QString nativeName(const QString &path) { return QDir::toNativeSeparators(path); }

// ---------------------------------------------------------------- inspection

static quint32 be(const QByteArray &b, int at, int n)
{
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}

FileKind inspectFile(const QString &path)
{
    QFileInfo fi(path);
    if (!fi.exists())
        return FileKind::Missing;
    if (!fi.isFile())
        return FileKind::NotAFile; // a folder, a device, a pipe
    qint64 size = fi.size();
    if (size == 0)
        return FileKind::Empty;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileKind::Unreadable;
    QByteArray h = f.read(100);
    if (h.startsWith(QByteArray("SQLite format 3\0", 16))) {
        if (h.size() < 100)
            return FileKind::Truncated;
        qint64 pageSize = be(h, 16, 2);
        if (pageSize == 1)
            pageSize = 65536;
        if (pageSize < 512 || (pageSize & (pageSize - 1)))
            return FileKind::Foreign;
        if (size < pageSize || size % pageSize)
            return FileKind::Truncated;
        quint32 pages = be(h, 28, 4);
        if (pages && be(h, 24, 4) == be(h, 92, 4) && size < qint64(pages) * pageSize)
            return FileKind::Truncated;
        return FileKind::Table;
    }
    if (h.size() >= 0x3A) {
        quint32 headerSize = quint8(h[2]) | (quint8(h[3]) << 8);
        quint8 type = quint8(h[4]);
        quint8 version = quint8(h[0x39]);
        if (headerSize && headerSize % 0x400 == 0 && (type == 0 || type == 2) && version >= 3
            && version <= 12)
            return FileKind::Paradox;
    }
    // An encrypted table looks like random bytes from its first byte on; a
    // text does not.
    bool text = true;
    for (char c : h)
        text = text && ((uchar(c) >= 0x20 && uchar(c) != 0x7F) || c == '\r' || c == '\n' || c == '\t');
    if (size >= 1024 && size % 1024 == 0 && !text)
        return FileKind::Protected;
    return FileKind::Foreign;
}

// ------------------------------------------------------------------- TableFile

TableFile::TableFile(Session *session, QString path, QString alias)
    : m_session(session), m_path(std::move(path)), m_alias(std::move(alias))
{
}

TableFile::~TableFile()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QStringList TableFile::indexNames() const
{
    QStringList names;
    for (const IndexDef &ix : m_def.indexes)
        names << ix.name;
    return names;
}

const IndexDef *TableFile::findIndex(const QString &name) const
{
    for (const IndexDef &ix : m_def.indexes)
        if (ix.name.compare(name, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

bool TableFile::indexUsable(const QString &name) const
{
    return m_usable.contains(name, Qt::CaseInsensitive);
}

static QString indexSqlName(const IndexDef &ix) { return ix.primary ? QStringLiteral("pk") : QStringLiteral("ix_") + ix.name; }

// Reads the definition from a connection where the file is schema `schema`.
static void readDefinition(sqlite3 *db, const QString &schema, const QString &path, TableDef &def,
                           bool &hasPrimary, QStringList &usable)
{
    const QString s = quoteIdent(schema) + QLatin1Char('.');
    auto damaged = [&]() -> EngineError {
        return EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist keine Tarvo-Tabelle oder sie ist beschädigt.").arg(nativeName(path)));
    };
    {
        Stmt st(db, QStringLiteral("SELECT value FROM %1tarvo_meta WHERE key='format'").arg(s));
        if (!st.ok()) {
            if (st.error().contains(QLatin1String("not a database"), Qt::CaseInsensitive)
                || st.error().contains(QLatin1String("encrypted"), Qt::CaseInsensitive))
                throw EngineError(ErrPassword, QStringLiteral("Die Tabelle \"%1\" ist passwortgeschützt; ohne das richtige Passwort lässt sie sich nicht öffnen.").arg(nativeName(path)));
            throw damaged();
        }
        if (st.step() != SQLITE_ROW || st.text(0) != QLatin1String(kFormat))
            throw damaged();
    }
    {
        // A table file holds our tables and their indexes only. A trigger
        // would run on the user's edits, a view or virtual table could reach
        // anything: such a file is refused before any statement touches it.
        Stmt st(db, QStringLiteral("SELECT count(*) FROM %1sqlite_master WHERE NOT ("
                                   "(type='table' AND name IN ('data','tarvo_meta','tarvo_fields','tarvo_indexes') "
                                   "AND sql NOT LIKE 'CREATE VIRTUAL%%') "
                                   "OR (type='index' AND tbl_name IN ('data','tarvo_meta','tarvo_fields','tarvo_indexes')) "
                                   "OR (type='table' AND name LIKE 'sqlite\\_%%' ESCAPE '\\'))")
                        .arg(s));
        if (!st.ok() || st.step() != SQLITE_ROW)
            throw damaged();
        if (st.integer(0) != 0)
            throw EngineError(ErrNotATable, QStringLiteral("Die Tabelle \"%1\" ist beschädigt: die Datei enthält fremde Bestandteile (Trigger, Sichten oder fremde Tabellen) und wird nicht geöffnet.").arg(nativeName(path)));
    }
    def = TableDef();
    def.name = QFileInfo(path).completeBaseName();
    {
        Stmt st(db, QStringLiteral("SELECT name, type, size, required, defval FROM %1tarvo_fields ORDER BY pos").arg(s));
        if (!st.ok())
            throw damaged();
        while (st.step() == SQLITE_ROW) {
            FieldDef f;
            f.name = st.text(0);
            bool ok = false;
            f.type = fieldTypeFromName(st.text(1), &ok);
            if (!ok || f.name.isEmpty())
                throw damaged();
            f.size = int(st.integer(2));
            f.required = st.integer(3) != 0;
            f.defaultValue = st.column(4, f.type);
            def.fields << f;
        }
        if (st.rc() != SQLITE_DONE || def.fields.isEmpty())
            throw damaged();
    }
    QStringList built;
    {
        Stmt st(db, QStringLiteral("SELECT name FROM %1sqlite_master WHERE type='index'").arg(s));
        if (!st.ok())
            throw damaged();
        while (st.step() == SQLITE_ROW)
            built << st.text(0);
    }
    hasPrimary = false;
    usable.clear();
    {
        Stmt st(db, QStringLiteral("SELECT name, fields, isprimary, isunique, descending, collation FROM %1tarvo_indexes").arg(s));
        if (!st.ok())
            throw damaged();
        while (st.step() == SQLITE_ROW) {
            IndexDef ix;
            ix.name = st.text(0);
            ix.fields = st.text(1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
            ix.primary = st.integer(2) != 0;
            ix.unique = st.integer(3) != 0;
            ix.descending = st.integer(4) != 0;
            ix.collation = collationFromName(st.text(5));
            bool present = built.contains(indexSqlName(ix));
            for (const QString &f : ix.fields)
                if (def.fieldIndex(f) < 0)
                    present = false;
            if (ix.primary) {
                if (present) {
                    hasPrimary = true;
                    def.primaryKeyFields = int(ix.fields.size());
                }
                continue;
            }
            def.indexes << ix;
            if (present)
                usable << ix.name;
        }
    }
}

void TableFile::reload()
{
    readDefinition(m_session->handle(), m_alias, m_path, m_def, m_hasPrimary, m_usable);
}

void TableFile::addListener(const void *owner, std::function<void()> fn)
{
    m_listeners.emplace_back(owner, std::move(fn));
}

void TableFile::removeListener(const void *owner)
{
    m_listeners.erase(std::remove_if(m_listeners.begin(), m_listeners.end(),
                                     [owner](const auto &l) { return l.first == owner; }),
                      m_listeners.end());
}

void TableFile::announce()
{
    if (generation == m_announced)
        return;
    m_announced = generation;
    const auto listeners = m_listeners;
    for (const auto &l : listeners)
        l.second();
}

QString TableFile::lockFilePath(const QString &tablePath)
{
    QFileInfo fi(tablePath);
    QString base = fi.fileName();
    if (base.endsWith(QLatin1String(".DB"), Qt::CaseInsensitive))
        base.chop(3);
    return fi.absolutePath() + QLatin1Char('/') + base + QLatin1String(".LCK");
}

bool TableFile::ensureLockFd()
{
    if (m_lockFd >= 0)
        return true;
    if (m_lockFdTried)
        return false;
    m_lockFdTried = true;
    QByteArray p = QFile::encodeName(lockFilePath(m_path));
    m_lockFd = ::open(p.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_lockFd < 0)
        m_lockFd = ::open(p.constData(), O_RDONLY | O_CLOEXEC);
    return m_lockFd >= 0;
}

bool TableFile::setLock(int byte, int mode)
{
    if (!ensureLockFd())
        return true; // a folder without write access: nobody can lock, nobody can write
    struct flock fl = {};
    fl.l_type = short(mode == 0 ? F_UNLCK : mode == 1 ? F_RDLCK : F_WRLCK);
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    fl.l_pid = 0;
    if (::fcntl(m_lockFd, F_OFD_SETLK, &fl) == 0)
        return true;
    if (errno == EINVAL || errno == EBADF) { // read-only descriptor cannot take a write lock
        return mode != 2;
    }
    return false;
}

bool TableFile::lockOpen(bool exclusiveOpen)
{
    int mode = exclusiveOpen ? 2 : 1;
    if (m_openMode == mode)
        return true;
    if (!setLock(0, mode))
        return false;
    m_openMode = mode;
    return true;
}

void TableFile::unlockOpen()
{
    if (m_openMode) {
        setLock(0, 0);
        m_openMode = 0;
    }
}

bool TableFile::lockWrite(bool exclusiveLock, int waitMs)
{
    int mode = exclusiveLock ? 2 : 1;
    if (m_writeMode >= mode)
        return true;
    for (int waited = 0;; waited += 20) {
        if (setLock(1, mode)) {
            m_writeMode = mode;
            return true;
        }
        if (waited >= waitMs)
            return false;
        ::usleep(20000);
    }
}

void TableFile::unlockWrite()
{
    if (m_writeMode) {
        setLock(1, 0);
        m_writeMode = 0;
    }
}

// ------------------------------------------------------- private connections

namespace {

// A connection of its own to one table file, with nobody else using it:
// the maintenance operations work through it.
class PrivateDb {
public:
    PrivateDb(Session &session, const QString &path)
        : m_session(session), m_path(QFileInfo(path).absoluteFilePath())
    {
        if (session.attached(m_path))
            throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" ist noch geöffnet und kann nicht exklusiv bearbeitet werden.").arg(nativeName(m_path)));
        FileKind kind = inspectFile(m_path);
        checkKind(kind);
        // Exclusive against other processes for the whole operation.
        m_lockFile = std::make_unique<TableFile>(&session, m_path, QString());
        if (!m_lockFile->lockOpen(true))
            throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" wird von einem anderen Benutzer verwendet und kann nicht exklusiv geöffnet werden.").arg(nativeName(m_path)));
        m_password = session.unlock(m_path, kind == FileKind::Protected, [this](const QString &key) {
            return openWith(key);
        });
        readDefinition(m_db, QStringLiteral("main"), m_path, m_def, m_hasPrimary, m_usable);
    }
    ~PrivateDb() { closeDb(); }

    static void checkKind(FileKind kind, const QString &path);
    void checkKind(FileKind kind) { checkKind(kind, m_path); }

    sqlite3 *db() const { return m_db; }
    const QString &password() const { return m_password; }
    const TableDef &def() const { return m_def; }
    bool hasPrimary() const { return m_hasPrimary; }
    const QString &path() const { return m_path; }

    void exec(const QString &sql) { m_session.execOn(m_db, sql, m_lockFile.get()); }
    // Runs statements as one transaction.
    void execAll(const QStringList &statements)
    {
        exec(QStringLiteral("BEGIN"));
        try {
            for (const QString &sql : statements)
                exec(sql);
            exec(QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
    void closeDb()
    {
        if (m_db) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
        }
    }

private:
    bool openWith(const QString &key)
    {
        closeDb();
        QByteArray p = QFile::encodeName(m_path);
        configureSqlite();
        int rc = sqlite3_open_v2(p.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
        if (rc != SQLITE_OK) {
            closeDb();
            throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" lässt sich nicht zum Schreiben öffnen.").arg(nativeName(m_path)));
        }
        registerCollations(m_db);
        sqlite3_busy_timeout(m_db, 3000);
        if (!key.isEmpty()) {
            QByteArray k = key.toUtf8();
            sqlite3_key(m_db, k.constData(), int(k.size()));
        }
        rc = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc == SQLITE_NOTADB)
            return false;
        if (rc != SQLITE_OK)
            throw EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist keine Tarvo-Tabelle oder sie ist beschädigt.").arg(nativeName(m_path)));
        return true;
    }

    Session &m_session;
    QString m_path;
    sqlite3 *m_db = nullptr;
    QString m_password;
    TableDef m_def;
    bool m_hasPrimary = false;
    QStringList m_usable;
    std::unique_ptr<TableFile> m_lockFile;
};

void PrivateDb::checkKind(FileKind kind, const QString &path)
{
    const QString n = nativeName(path);
    switch (kind) {
    case FileKind::Missing:
        throw EngineError(ErrNotFound, QStringLiteral("Die Tabelle \"%1\" existiert nicht.").arg(n));
    case FileKind::Empty:
        throw EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist leer; sie ist keine Tarvo-Tabelle.").arg(n));
    case FileKind::Truncated:
        throw EngineError(ErrNotATable, QStringLiteral("Die Tabelle \"%1\" ist beschädigt: die Datei ist unvollständig.").arg(n));
    case FileKind::Paradox:
        throw EngineError(ErrOldParadox, QStringLiteral("Die Datei \"%1\" ist eine Paradox-Tabelle einer älteren Programmversion. Sie kann nur über den Import übernommen werden.").arg(n));
    case FileKind::Foreign:
        throw EngineError(ErrNotATable, QStringLiteral("Die Datei \"%1\" ist keine Tarvo-Tabelle.").arg(n));
    case FileKind::NotAFile:
        throw EngineError(ErrNotATable, QStringLiteral("\"%1\" ist keine gewöhnliche Datei (sondern ein Ordner oder ein Gerät) und damit keine Tarvo-Tabelle.").arg(n));
    case FileKind::Unreadable:
        throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" lässt sich nicht lesen: es fehlt die Leseberechtigung.").arg(n));
    default:
        break;
    }
}

QString indexColumns(const TableDef &def, const IndexDef &ix)
{
    QStringList cols;
    for (const QString &f : ix.fields) {
        int fi = def.fieldIndex(f);
        if (fi < 0)
            throw EngineError(ErrFieldNotFound, QStringLiteral("Feld \"%1\" nicht gefunden.").arg(f));
        QString c = quoteIdent(def.fields[fi].name);
        FieldType t = def.fields[fi].type;
        if (t == FieldType::String || t == FieldType::Memo)
            c += QLatin1String(" COLLATE ") + collationName(ix.collation);
        if (ix.descending)
            c += QLatin1String(" DESC");
        cols << c;
    }
    return cols.join(QLatin1Char(','));
}

QString createIndexSql(const QString &schemaPrefix, const TableDef &def, const IndexDef &ix)
{
    return QStringLiteral("CREATE %1INDEX %2%3 ON data(%4)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), schemaPrefix,
             quoteIdent(indexSqlName(ix)), indexColumns(def, ix));
}

QString registerIndexSql(const QString &schemaPrefix, const IndexDef &ix)
{
    return QStringLiteral("INSERT OR REPLACE INTO %1tarvo_indexes(name, fields, isprimary, isunique, descending, collation) VALUES(%2, %3, %4, %5, %6, %7)")
        .arg(schemaPrefix, quoteLiteral(ix.primary ? QString() : ix.name), quoteLiteral(ix.fields.join(QLatin1Char(';'))))
        .arg(ix.primary ? 1 : 0).arg(ix.unique ? 1 : 0).arg(ix.descending ? 1 : 0)
        .arg(quoteLiteral(collationName(ix.collation)));
}

// Statements that (re)build an index and register it, or drop it.
QStringList addIndexStatements(const QString &schemaPrefix, const TableDef &def, const IndexDef &ix)
{
    return {QStringLiteral("DROP INDEX IF EXISTS %1%2").arg(schemaPrefix, quoteIdent(indexSqlName(ix))),
            createIndexSql(schemaPrefix, def, ix), registerIndexSql(schemaPrefix, ix)};
}

QStringList dropIndexStatements(const QString &schemaPrefix, const TableDef &def, const QString &name)
{
    const IndexDef *ix = nullptr;
    for (const IndexDef &i : def.indexes)
        if (i.name.compare(name, Qt::CaseInsensitive) == 0)
            ix = &i;
    if (!ix)
        throw EngineError(ErrIndexNotFound, QStringLiteral("Index \"%1\" nicht gefunden.").arg(name));
    return {QStringLiteral("DROP INDEX IF EXISTS %1%2").arg(schemaPrefix, quoteIdent(indexSqlName(*ix))),
            QStringLiteral("DELETE FROM %1tarvo_indexes WHERE name=%2").arg(schemaPrefix, quoteLiteral(ix->name))};
}

QString literalFor(FieldType type, const QVariant &v)
{
    QVariant s = storedForm(type, v);
    if (!s.isValid() || s.isNull())
        return QStringLiteral("NULL");
    switch (s.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return QString::number(s.toLongLong());
    case QMetaType::Double:
        return QString::number(s.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return QStringLiteral("X'") + QString::fromLatin1(s.toByteArray().toHex()) + QLatin1Char('\'');
    default:
        return quoteLiteral(s.toString());
    }
}

} // namespace

void checkFileKindForOpen(FileKind kind, const QString &path) { PrivateDb::checkKind(kind, path); }

// ------------------------------------------------------------- file operations

void createTableFile(const QString &path, const TableDef &def, const QString &password)
{
    QFileInfo fi(path);
    if (fi.exists())
        throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" existiert bereits.").arg(nativeName(path)));
    if (def.fields.isEmpty())
        throw EngineError(ErrGeneral, QStringLiteral("Eine Tabelle braucht mindestens ein Feld."));
    QString tmp = fi.absolutePath() + QLatin1Char('/') + QLatin1Char('.') + fi.fileName() + QLatin1String(".new");
    QFile::remove(tmp);
    sqlite3 *db = nullptr;
    QByteArray p = QFile::encodeName(tmp);
    configureSqlite();
    int rc = sqlite3_open_v2(p.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto fail = [&](const QString &why) {
        if (db)
            sqlite3_close_v2(db);
        QFile::remove(tmp);
        throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" konnte nicht angelegt werden: %2").arg(nativeName(path), why));
    };
    if (rc != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errstr(rc)));
    registerCollations(db);
    if (!password.isEmpty()) {
        QByteArray k = password.toUtf8();
        sqlite3_key(db, k.constData(), int(k.size()));
    }
    QStringList sql;
    sql << QStringLiteral("BEGIN");
    sql << QStringLiteral("CREATE TABLE tarvo_meta(key TEXT PRIMARY KEY, value)");
    sql << QStringLiteral("INSERT INTO tarvo_meta VALUES('format', %1)").arg(quoteLiteral(QLatin1String(kFormat)));
    sql << QStringLiteral("INSERT INTO tarvo_meta VALUES('version', 1)");
    sql << QStringLiteral("CREATE TABLE tarvo_fields(pos INTEGER PRIMARY KEY, name TEXT NOT NULL, type TEXT NOT NULL, size INTEGER, required INTEGER, defval)");
    sql << QStringLiteral("CREATE TABLE tarvo_indexes(name TEXT PRIMARY KEY, fields TEXT, isprimary INTEGER, isunique INTEGER, descending INTEGER, collation TEXT)");
    QStringList cols;
    for (int i = 0; i < def.fields.size(); ++i) {
        const FieldDef &f = def.fields[i];
        for (int j = 0; j < i; ++j)
            if (def.fields[j].name.compare(f.name, Qt::CaseInsensitive) == 0)
                fail(QStringLiteral("Feld \"%1\" doppelt").arg(f.name));
        cols << quoteIdent(f.name) + QLatin1Char(' ') + columnType(f.type);
        sql << QStringLiteral("INSERT INTO tarvo_fields VALUES(%1, %2, %3, %4, %5, %6)")
                   .arg(i).arg(quoteLiteral(f.name), quoteLiteral(fieldTypeName(f.type)))
                   .arg(f.size).arg(f.required ? 1 : 0).arg(literalFor(f.type, f.defaultValue));
    }
    sql << QStringLiteral("CREATE TABLE data(%1)").arg(cols.join(QLatin1Char(',')));
    try {
        if (def.primaryKeyFields > 0) {
            IndexDef pk = def.primaryIndex();
            sql << createIndexSql(QString(), def, pk) << registerIndexSql(QString(), pk);
        }
        for (const IndexDef &ix : def.indexes)
            sql << createIndexSql(QString(), def, ix) << registerIndexSql(QString(), ix);
    } catch (const EngineError &e) {
        fail(e.message());
    }
    sql << QStringLiteral("COMMIT");
    for (const QString &s : sql) {
        QByteArray u = s.toUtf8();
        char *err = nullptr;
        if (sqlite3_exec(db, u.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            QString m = QString::fromUtf8(err ? err : "?");
            sqlite3_free(err);
            fail(m);
        }
    }
    sqlite3_close_v2(db);
    db = nullptr;
    if (!QFile::rename(tmp, path))
        fail(QStringLiteral("Umbenennen fehlgeschlagen"));
}

void packTableFile(Session &session, const QString &path)
{
    PrivateDb pdb(session, path);
    pdb.exec(QStringLiteral("VACUUM"));
}

void setTableFilePassword(Session &session, const QString &path, const QString &password)
{
    if (!password.isEmpty())
        session.addPassword(password);
    PrivateDb pdb(session, path);
    if (pdb.password() == password)
        return;
    QFileInfo fi(pdb.path());
    QString tmp = fi.absolutePath() + QLatin1Char('/') + QLatin1Char('.') + fi.fileName() + QLatin1String(".crypt");
    QFile::remove(tmp);
    QString attach = QStringLiteral("ATTACH DATABASE %1 AS crypt KEY %2")
                         .arg(quoteLiteral(QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(tmp, "/")) + QStringLiteral("?mode=rwc")),
                              quoteLiteral(password));
    try {
        pdb.exec(attach);
        pdb.exec(QStringLiteral("SELECT sqlcipher_export('crypt')"));
        pdb.exec(QStringLiteral("DETACH DATABASE crypt"));
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    pdb.closeDb();
    // The new file replaces the old one in one step: a crash leaves either.
    if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(pdb.path()).constData()) != 0) {
        QFile::remove(tmp);
        throw EngineError(ErrIo, QStringLiteral("Die Tabelle \"%1\" konnte nicht ersetzt werden.").arg(nativeName(path)));
    }
}

void setTableFieldValidity(Session &session, const QString &path, const QString &field,
                           const QVariant &defaultValue, bool required, bool drop)
{
    PrivateDb pdb(session, path);
    int fi = pdb.def().fieldIndex(field);
    if (fi < 0)
        throw EngineError(ErrFieldNotFound, QStringLiteral("Feld \"%1\" nicht gefunden.").arg(field));
    const FieldDef &f = pdb.def().fields[fi];
    QString def = drop ? QStringLiteral("NULL") : literalFor(f.type, defaultValue);
    pdb.exec(QStringLiteral("UPDATE tarvo_fields SET required=%1, defval=%2 WHERE pos=%3")
                 .arg(drop ? 0 : (required ? 1 : 0)).arg(def).arg(fi));
}

void rebuildPrimaryIndexFile(Session &session, const QString &path, int keyFields)
{
    PrivateDb pdb(session, path);
    TableDef def = pdb.def();
    if (keyFields < 1 || keyFields > def.fields.size())
        throw EngineError(ErrGeneral, QStringLiteral("Ungültige Anzahl von Schlüsselfeldern: %1").arg(keyFields));
    def.primaryKeyFields = keyFields;
    pdb.execAll(addIndexStatements(QString(), def, def.primaryIndex()));
}

void addIndexToFile(Session &session, const QString &path, const IndexDef &index)
{
    PrivateDb pdb(session, path);
    pdb.execAll(addIndexStatements(QString(), pdb.def(), index));
}

void dropIndexFromFile(Session &session, const QString &path, const QString &name)
{
    PrivateDb pdb(session, path);
    pdb.execAll(dropIndexStatements(QString(), pdb.def(), name));
}

bool tableFileHasPrimaryIndex(Session &session, const QString &path)
{
    if (auto f = session.attached(path))
        return f->hasPrimaryIndex();
    auto f = session.attach(path);
    bool has = f->hasPrimaryIndex();
    session.release(f);
    return has;
}

TableDef readTableDef(Session &session, const QString &path)
{
    if (auto f = session.attached(path))
        return f->def();
    auto f = session.attach(path);
    TableDef def = f->def();
    session.release(f);
    return def;
}

void addFieldToTable(Session &session, const QString &path, const FieldDef &field)
{
    auto f = session.attach(path);
    struct Releaser {
        Session &s;
        std::shared_ptr<TableFile> f;
        ~Releaser() { s.release(f); }
    } rel{session, f};
    if (f->def().fieldIndex(field.name) >= 0)
        throw EngineError(ErrGeneral, QStringLiteral("Das Feld \"%1\" existiert bereits.").arg(field.name));
    const QString s = quoteIdent(f->alias()) + QLatin1Char('.');
    Session::Transaction tx(session);
    session.admitWrite(*f);
    session.exec(QStringLiteral("ALTER TABLE %1data ADD COLUMN %2 %3").arg(s, quoteIdent(field.name), columnType(field.type)));
    session.exec(QStringLiteral("INSERT INTO %1tarvo_fields VALUES(%2, %3, %4, %5, %6, %7)")
                     .arg(s).arg(f->def().fields.size()).arg(quoteLiteral(field.name), quoteLiteral(fieldTypeName(field.type)))
                     .arg(field.size).arg(field.required ? 1 : 0).arg(literalFor(field.type, field.defaultValue)));
    tx.commit();
    f->reload();
}

} // namespace engine

namespace engine {

static void runAttached(Session &session, TableFile &file, const QStringList &statements)
{
    Session::Transaction tx(session);
    session.admitWrite(file);
    for (const QString &sql : statements)
        session.exec(sql);
    tx.commit();
    file.reload();
}

void addIndexAttached(Session &session, TableFile &file, const IndexDef &index)
{
    runAttached(session, file, addIndexStatements(quoteIdent(file.alias()) + QLatin1Char('.'), file.def(), index));
}

void dropIndexAttached(Session &session, TableFile &file, const QString &name)
{
    runAttached(session, file, dropIndexStatements(quoteIdent(file.alias()) + QLatin1Char('.'), file.def(), name));
}

} // namespace engine
