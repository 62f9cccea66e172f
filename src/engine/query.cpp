#include "engine/query.h"

#include "engine/session.h"
#include "engine/sqlfunctions.h"
#include "engine/sqlutil.h"
#include "engine/tablefile.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <limits>

namespace engine {

namespace {

// Rows of a result stepped over at open: a screen of the grid.
constexpr int FirstRows = 48;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

sql::ValueType valueType(FieldType t)
{
    switch (t) {
    case FieldType::String: return sql::ValueType::Text;
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: return sql::ValueType::Integer;
    case FieldType::Boolean: return sql::ValueType::Boolean;
    case FieldType::Float: return sql::ValueType::Float;
    case FieldType::Date: return sql::ValueType::Date;
    case FieldType::Memo: return sql::ValueType::Memo;
    case FieldType::Graphic: return sql::ValueType::Blob;
    }
    return sql::ValueType::Unknown;
}

sql::ValueType valueType(ParamType t)
{
    switch (t) {
    case ParamType::String: return sql::ValueType::Text;
    case ParamType::Integer: return sql::ValueType::Integer;
    case ParamType::Boolean: return sql::ValueType::Boolean;
    case ParamType::Date: return sql::ValueType::Date;
    case ParamType::Unknown: break;
    }
    return sql::ValueType::Unknown;
}

// Field definition of a result column whose value is computed.
FieldDef computedField(const sql::ResultColumn &c)
{
    switch (c.type) {
    case sql::ValueType::Text: return FieldDef(c.name, FieldType::String, c.size > 0 ? c.size : 255);
    case sql::ValueType::Memo: return FieldDef(c.name, FieldType::Memo);
    case sql::ValueType::Integer: return FieldDef(c.name, FieldType::LargeInt);
    case sql::ValueType::Float: return FieldDef(c.name, FieldType::Float);
    case sql::ValueType::Boolean: return FieldDef(c.name, FieldType::Boolean);
    case sql::ValueType::Date: return FieldDef(c.name, FieldType::Date);
    case sql::ValueType::Blob: return FieldDef(c.name, FieldType::Graphic);
    default: return FieldDef(c.name, FieldType::String, 255);
    }
}

FieldDef alterField(const sql::AlterColumn &c)
{
    switch (c.type) {
    case sql::ValueType::Text: return FieldDef(c.name, FieldType::String, c.size);
    case sql::ValueType::Integer: return FieldDef(c.name, c.size == 2 ? FieldType::SmallInt : FieldType::Integer);
    case sql::ValueType::Float: return FieldDef(c.name, FieldType::Float);
    case sql::ValueType::Boolean: return FieldDef(c.name, FieldType::Boolean);
    case sql::ValueType::Date: return FieldDef(c.name, FieldType::Date);
    case sql::ValueType::Memo: return FieldDef(c.name, FieldType::Memo);
    case sql::ValueType::Blob: return FieldDef(c.name, FieldType::Graphic);
    default: break;
    }
    throw EngineError(ErrSql, QStringLiteral("Der Datentyp des Feldes \"%1\" wird nicht unterstützt.").arg(c.name));
}

// While a query is prepared, only reading is allowed: a SELECT the user
// typed can read every table and change none.
// Set while a statement that may only read is prepared. The authorizer stays
// installed on the connection: installing it anew for each statement would
// expire every statement prepared on it, and each would be prepared once more
// at its first step.
thread_local bool readOnlyPrepare = false;

int readOnlyAuthorizer(void *, int action, const char *, const char *, const char *, const char *)
{
    if (!readOnlyPrepare)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
        return SQLITE_OK;
    default:
        return SQLITE_DENY;
    }
}

EngineError recordGone(const TableFile *file)
{
    return EngineError(ErrRecordGone, QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer gelöscht (Tabelle \"%1\"). Aktualisieren Sie die Anzeige.")
                                          .arg(native(file ? file->path() : QString())));
}

// The field rules a post keeps, applied to a value as a statement stored
// it: what the table cursor refuses, UPDATE and INSERT may not store either.
void checkStored(const FieldDef &f, sqlite3_stmt *st, int col)
{
    static const QString unchanged = QStringLiteral(" Die Anweisung wurde nicht ausgeführt; es wurde nichts geändert.");
    const int t = sqlite3_column_type(st, col);
    if (t == SQLITE_NULL || (t == SQLITE_TEXT && sqlite3_column_bytes(st, col) == 0)) {
        if (f.required)
            throw EngineError(ErrRequired, QStringLiteral("Das Feld \"%1\" muss einen Wert haben.").arg(f.name) + unchanged);
        return;
    }
    const QString shown = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, col)));
    const auto refuse = [&](const QString &why) {
        throw EngineError(ErrInvalidValue, QStringLiteral("\"%1\" ist kein gültiger Wert für das Feld \"%2\" (%3).")
                                               .arg(shown, f.name, why)
                                               + unchanged);
    };
    switch (f.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        if (t != SQLITE_INTEGER)
            refuse(QStringLiteral("erwartet: eine ganze Zahl"));
        const qint64 n = sqlite3_column_int64(st, col);
        const qint64 lo = f.type == FieldType::SmallInt ? -32768 : f.type == FieldType::Integer ? std::numeric_limits<int>::min() : std::numeric_limits<qint64>::min();
        const qint64 hi = f.type == FieldType::SmallInt ? 32767 : f.type == FieldType::Integer ? std::numeric_limits<int>::max() : std::numeric_limits<qint64>::max();
        if (n < lo || n > hi)
            throw EngineError(ErrInvalidValue, QStringLiteral("Der Wert %1 liegt außerhalb des zulässigen Bereichs des Feldes \"%2\" (%3 bis %4).")
                                                   .arg(n).arg(f.name).arg(lo).arg(hi)
                                                   + unchanged);
        break;
    }
    case FieldType::Boolean:
        if (t != SQLITE_INTEGER || (sqlite3_column_int64(st, col) != 0 && sqlite3_column_int64(st, col) != 1))
            refuse(QStringLiteral("erwartet: TRUE oder FALSE"));
        break;
    case FieldType::Float:
        if (t != SQLITE_INTEGER && t != SQLITE_FLOAT)
            refuse(QStringLiteral("erwartet: eine Zahl"));
        break;
    case FieldType::Date:
        if (t != SQLITE_TEXT || !QDate::fromString(shown, Qt::ISODate).isValid() || shown.size() != 10)
            refuse(QStringLiteral("erwartet: ein Datum"));
        break;
    case FieldType::String:
        if (t != SQLITE_TEXT)
            refuse(QStringLiteral("erwartet: ein Text"));
        if (f.size > 0 && shown.size() > f.size)
            refuse(QStringLiteral("länger als %1 Zeichen").arg(f.size));
        break;
    case FieldType::Memo:
    case FieldType::Graphic:
        break;
    }
}

// Finalizes a statement when the scope ends, on errors as well.
struct StmtGuard {
    sqlite3_stmt *st;
    ~StmtGuard() { sqlite3_finalize(st); }
};

} // namespace

void Param::setValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool: m_type = ParamType::Boolean; break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: m_type = ParamType::Integer; break;
    case QMetaType::QDate: m_type = ParamType::Date; break;
    case QMetaType::UnknownType: break; // keeps the type
    default: m_type = ParamType::String; break;
    }
    m_value = v;
}

Query::Query(Session *session) : DataSet(session) {}

Query::~Query()
{
    try {
        close();
    } catch (...) {
        // A destructor must not throw; the connection cleans up with it.
    }
    if (m_listened)
        m_listened->removeListener(this);
    finalize();
    releaseFiles();
}

void Query::setSql(const QStringList &lines)
{
    if (active())
        close();
    m_sql = lines;
    std::vector<Param> params;
    QHash<QString, int> index;
    for (const QString &name : sql::parameterNames(lines)) {
        Param p(name);
        if (const Param *old = findParam(name)) {
            p.setValue(old->value());
            p.setDataType(old->dataType());
        }
        index.insert(name.toUpper(), int(params.size()));
        params.push_back(p);
    }
    m_params = std::move(params);
    m_paramIndex = std::move(index);
}

void Query::addSqlLine(const QString &line)
{
    QStringList lines = m_sql;
    lines << line;
    setSql(lines);
}

void Query::setRequestLive(bool on)
{
    requireInactive();
    m_requestLive = on;
}

Param *Query::findParam(const QString &name)
{
    const auto it = m_paramIndex.constFind(name.toUpper());
    return it == m_paramIndex.cend() ? nullptr : &m_params[size_t(*it)];
}

Param &Query::paramByName(const QString &name)
{
    if (Param *p = findParam(name))
        return *p;
    throw EngineError(ErrGeneral, QStringLiteral("Der Parameter \"%1\" kommt in der Abfrage nicht vor.").arg(name));
}

// ------------------------------------------------------------- translation

const sql::TableInfo *Query::resolve(const QString &path)
{
    for (const sql::TableInfo &t : m_infos)
        if (t.filePath == path)
            return &t;
    if (!QFileInfo::exists(path))
        return nullptr;
    std::shared_ptr<TableFile> file = session().attach(path);
    m_files.push_back(file);
    sql::TableInfo info;
    info.filePath = path;
    info.schema = file->alias();
    info.table = QStringLiteral("data");
    const TableDef &def = file->def();
    for (const FieldDef &f : def.fields)
        info.fields.append({f.name, valueType(f.type), f.type == FieldType::String ? f.size : 0});
    for (int i = 0; i < def.primaryKeyFields && i < def.fields.size(); ++i)
        info.primaryKey << def.fields[i].name;
    m_infos.push_back(info);
    return &m_infos.back();
}

bool Query::uses(const TableFile &file) const
{
    return std::any_of(m_files.begin(), m_files.end(), [&](const auto &f) { return f.get() == &file; });
}

void Query::releaseFiles()
{
    for (const auto &f : m_files)
        session().release(f);
    m_files.clear();
    m_infos.clear();
}

namespace {

bool sameTable(const sql::TableInfo &a, const sql::TableInfo &b)
{
    if (a.filePath != b.filePath || a.schema != b.schema || a.table != b.table || a.rowIdColumn != b.rowIdColumn
        || a.primaryKey != b.primaryKey || a.fields.size() != b.fields.size())
        return false;
    for (qsizetype i = 0; i < a.fields.size(); ++i) {
        const sql::FieldInfo &x = a.fields[i];
        const sql::FieldInfo &y = b.fields[i];
        if (x.name != y.name || x.type != y.type || x.size != y.size)
            return false;
    }
    return true;
}

// Translated statements, for opening the same text again. A translation
// depends only on the text, the database folder, the parameters' types and
// the tables the translator looked up; an entry keeps those tables as they
// were (attached name, fields, key) and serves only while each of them is
// looked up the same again, so a changed table structure, a table dropped
// and made anew, or one attached under another name translates afresh.
class TranslationCache {
public:
    struct Entry {
        QString key;
        std::vector<sql::TableInfo> tables;
        sql::Translation translation;
    };

    static TranslationCache &instance()
    {
        static TranslationCache cache;
        return cache;
    }

    // A copy of the entry for key (null when there is none).
    std::shared_ptr<const Entry> find(const QString &key)
    {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if ((*it)->key == key) {
                std::shared_ptr<const Entry> e = *it;
                if (it != m_entries.begin()) {
                    m_entries.erase(it);
                    m_entries.push_front(e); // most recently used first
                }
                return e;
            }
        return nullptr;
    }

    void store(std::shared_ptr<const Entry> e)
    {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if ((*it)->key == e->key) {
                m_entries.erase(it);
                break;
            }
        m_entries.push_front(std::move(e));
        if (m_entries.size() > Capacity)
            m_entries.pop_back();
    }

private:
    static constexpr size_t Capacity = 64;
    QMutex m_mutex;
    std::deque<std::shared_ptr<const Entry>> m_entries;
};

} // namespace

sql::Translation Query::translateNow()
{
    for (const Param &p : m_params)
        if (p.dataType() == ParamType::Unknown)
            throw EngineError(ErrSql, QStringLiteral("Dem Parameter \"%1\" wurde kein Wert zugewiesen.").arg(p.name()));
    const QString folder = m_folder.isEmpty() ? QDir::currentPath() : m_folder;
    QString key = folder;
    key += QChar(0);
    for (const Param &p : m_params)
        key += QChar(u'0' + int(p.dataType()));
    key += QChar(0);
    key += m_sql.join(QChar(1));
    TranslationCache &cache = TranslationCache::instance();
    if (const auto hit = cache.find(key)) {
        bool same = true;
        for (const sql::TableInfo &was : hit->tables) {
            const sql::TableInfo *now = resolve(was.filePath);
            if (!now || !sameTable(*now, was)) {
                same = false;
                break;
            }
        }
        if (same) {
            try {
                checkLimits(hit->translation);
            } catch (...) {
                releaseFiles();
                throw;
            }
            return hit->translation;
        }
    }
    std::vector<sql::TableInfo> looked; // the tables as the translator saw them
    sql::TranslateContext ctx;
    ctx.databaseFolder = folder;
    ctx.pathResolver = [&folder](const QString &written, bool *byLetterCase) {
        return sql::resolveTablePath(written, folder, byLetterCase);
    };
    ctx.resolver = [this, &looked](const QString &path) {
        const sql::TableInfo *info = resolve(path);
        if (info && std::none_of(looked.begin(), looked.end(), [&](const sql::TableInfo &t) { return t.filePath == info->filePath; }))
            looked.push_back(*info);
        return info;
    };
    ctx.paramType = [this](const QString &name) {
        const Param *p = findParam(name);
        return p ? valueType(p->dataType()) : sql::ValueType::Unknown;
    };
    ctx.textCollation = collationName(Collation::German);
    try {
        sql::Translation t = sql::translate(m_sql, ctx);
        checkLimits(t);
        if (t.pathsExact) {
            auto e = std::make_shared<TranslationCache::Entry>();
            e->key = std::move(key);
            e->tables = std::move(looked);
            e->translation = t;
            cache.store(std::move(e));
        }
        return t;
    } catch (const sql::SqlError &e) {
        releaseFiles();
        throw EngineError(ErrSql, e.message());
    } catch (...) {
        releaseFiles();
        throw;
    }
}

void Query::checkLimits(const sql::Translation &t) const
{
    // What SQLite would refuse with its own English words is refused here.
    sqlite3 *db = session().handle();
    if (!db)
        return;
    const auto limit = [db](int id) { return sqlite3_limit(db, id, -1); };
    if (t.params.size() > limit(SQLITE_LIMIT_VARIABLE_NUMBER))
        throw EngineError(ErrSql, QStringLiteral("Die Abfrage hat %1 verschiedene Parameter; mehr als %2 sind nicht möglich.")
                                      .arg(t.params.size())
                                      .arg(limit(SQLITE_LIMIT_VARIABLE_NUMBER)));
    if (t.columns.size() + t.slotTables.size() > limit(SQLITE_LIMIT_COLUMN))
        throw EngineError(ErrSql, QStringLiteral("Die Abfrage liefert %1 Spalten; mehr als %2 sind nicht möglich.")
                                      .arg(t.columns.size())
                                      .arg(limit(SQLITE_LIMIT_COLUMN) - t.slotTables.size()));
    if (t.compoundTerms > limit(SQLITE_LIMIT_COMPOUND_SELECT))
        throw EngineError(ErrSql, QStringLiteral("Die Abfrage verbindet %1 Teilabfragen mit UNION; mehr als %2 sind nicht möglich.")
                                      .arg(t.compoundTerms)
                                      .arg(limit(SQLITE_LIMIT_COMPOUND_SELECT)));
}

namespace {

// Connections known to have the SQL functions. A marker function on each
// takes its connection off the list when the connection closes, so a new
// connection at the same address is probed again.
QMutex functionsMutex;
QSet<sqlite3 *> connectionsWithFunctions;

void markerFunction(sqlite3_context *context, int, sqlite3_value **)
{
    sqlite3_result_null(context);
}

void forgetConnection(void *db)
{
    const QMutexLocker lock(&functionsMutex);
    connectionsWithFunctions.remove(static_cast<sqlite3 *>(db));
}

} // namespace

void Query::ensureFunctions()
{
    sqlite3 *db = session().handle();
    if (!db)
        throw EngineError(ErrGeneral, QStringLiteral("Die Abfrage nennt keine geöffnete Tabelle."));
    {
        const QMutexLocker lock(&functionsMutex);
        if (connectionsWithFunctions.contains(db))
            return;
    }
    sqlite3_stmt *probe = nullptr;
    const bool present = sqlite3_prepare_v2(db, "SELECT tarvo_upper('')", -1, &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    if (!present && sql::registerSqlFunctions(db) != SQLITE_OK)
        throw EngineError(ErrSql, QStringLiteral("Die SQL-Funktionen ließen sich nicht anmelden."));
    if (sqlite3_create_function_v2(db, "tarvo_query_mark", 0, SQLITE_UTF8, db, markerFunction, nullptr, nullptr,
                                   forgetConnection)
        == SQLITE_OK) {
        sqlite3_set_authorizer(db, readOnlyAuthorizer, nullptr);
        const QMutexLocker lock(&functionsMutex);
        connectionsWithFunctions.insert(db);
    }
}

sqlite3_stmt *Query::prepare(const QString &text, bool readOnly)
{
    sqlite3 *db = session().handle();
    ensureFunctions();
    const QByteArray u = text.toUtf8();
    sqlite3_stmt *st = nullptr;
    readOnlyPrepare = readOnly;
    const int rc = sqlite3_prepare_v2(db, u.constData(), int(u.size()), &st, nullptr);
    readOnlyPrepare = false;
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        if (rc == SQLITE_AUTH)
            throw EngineError(ErrReadOnly, QStringLiteral("Eine Abfrage darf keine Daten ändern."));
        session().fail(sqlite3_extended_errcode(db), msg);
    }
    if (readOnly && !sqlite3_stmt_readonly(st)) {
        sqlite3_finalize(st);
        throw EngineError(ErrReadOnly, QStringLiteral("Eine Abfrage darf keine Daten ändern."));
    }
    return st;
}

void Query::bindParams(sqlite3_stmt *st)
{
    for (const sql::ParamUse &use : m_translation.params) {
        const Param *p = findParam(use.name);
        QVariant v = p ? p->value() : QVariant();
        if (!v.isNull()) {
            bool ok = true;
            switch (use.expected) {
            case sql::ValueType::Integer:
                if (p->dataType() == ParamType::String) {
                    v = v.toString().trimmed().toLongLong(&ok);
                    if (!ok)
                        v = p->value().toString().trimmed().toDouble(&ok);
                }
                break;
            case sql::ValueType::Float:
                if (p->dataType() == ParamType::String)
                    v = v.toString().trimmed().toDouble(&ok);
                break;
            case sql::ValueType::Boolean:
                if (p->dataType() == ParamType::String) {
                    const QString t = v.toString().trimmed().toUpper();
                    ok = t == QLatin1String("TRUE") || t == QLatin1String("FALSE");
                    v = t == QLatin1String("TRUE");
                }
                break;
            default:
                break;
            }
            if (!ok)
                throw EngineError(ErrSql, QStringLiteral("Der Wert \"%1\" des Parameters \"%2\" passt nicht zu seinem Gebrauch in der Abfrage.")
                                              .arg(p->value().toString(), use.name));
            if (p->dataType() == ParamType::Date)
                v = v.toDate().toString(Qt::ISODate);
        }
        bindValue(st, use.sqlIndex, v);
    }
}

void Query::failStep(sqlite3_stmt *st, const TableFile *file)
{
    sqlite3 *db = session().handle();
    const int ext = sqlite3_extended_errcode(db);
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_reset(st);
    session().fail(ext, msg, file);
}

TableFile *Query::targetFile() const
{
    if (m_translation.targetTable < 0)
        return nullptr;
    const QString path = m_translation.tables.value(m_translation.targetTable);
    for (const auto &f : m_files)
        if (f->path() == QFileInfo(path).canonicalFilePath() || f->path() == path)
            return f.get();
    return nullptr;
}

// ------------------------------------------------------------- ExecSQL

int Query::execSQL()
{
    if (active())
        close();
    m_rowsAffected = 0;
    m_translation = translateNow();
    struct Release {
        Query *q;
        ~Release() { q->releaseFiles(); }
    } release{this};
    TableFile *target = targetFile();

    if (m_translation.kind == sql::StatementKind::AlterTable) {
        if (!target)
            throw EngineError(ErrNotFound, QStringLiteral("Die Tabelle der Anweisung wurde nicht gefunden."));
        const QString path = target->path();
        try {
            Session::Transaction tx(session());
            for (const sql::AlterColumn &c : m_translation.alter)
                addFieldToTable(session(), path, alterField(c));
            tx.commit();
        } catch (...) {
            target->reload(); // forget the fields that were taken back
            throw;
        }
        return 0;
    }

    sqlite3_stmt *st = nullptr;
    const bool select = m_translation.kind == sql::StatementKind::Select;
    if (target && !target->writable())
        throw EngineError(ErrReadOnly, QStringLiteral("Die Tabelle \"%1\" ist schreibgeschützt und kann nicht geändert werden.").arg(native(target->path())));
    st = prepare(m_translation.sql, select);
    StmtGuard guard{st};
    bindParams(st);
    if (select) {
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            failStep(st, nullptr);
        return 0;
    }
    Session::Transaction tx(session());
    if (target)
        session().admitWrite(*target);
    std::vector<qint64> changedRows;
    const bool checked = target && !m_translation.written.isEmpty();
    if (checked)
        session().collectChangedRows(target, &changedRows);
    const int rc = sqlite3_step(st);
    session().collectChangedRows(nullptr, nullptr);
    if (rc != SQLITE_DONE)
        failStep(st, target);
    m_rowsAffected = sqlite3_changes(session().handle());
    if (checked)
        checkWrittenRows(*target, changedRows);
    tx.commit();
    return m_rowsAffected;
}

void Query::checkWrittenRows(const TableFile &file, const std::vector<qint64> &rows)
{
    if (rows.empty())
        return;
    const TableDef &def = file.def();
    QStringList cols;
    QList<int> fields;
    for (const QString &name : m_translation.written) {
        const int i = def.fieldIndex(name);
        if (i >= 0) {
            cols << quoteIdent(def.fields[i].name);
            fields << i;
        }
    }
    if (cols.isEmpty())
        return;
    sqlite3_stmt *st = prepare(QStringLiteral("SELECT %1 FROM %2.data WHERE rowid=?")
                                   .arg(cols.join(QLatin1Char(',')), quoteIdent(file.alias())),
                               true);
    StmtGuard guard{st};
    for (qint64 id : rows) {
        sqlite3_bind_int64(st, 1, id);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW)
            for (int k = 0; k < fields.size(); ++k)
                checkStored(def.fields[fields[k]], st, k);
        else if (rc != SQLITE_DONE)
            failStep(st, &file);
        sqlite3_reset(st);
    }
}

// ------------------------------------------------------------- Open

void Query::openSource()
{
    m_translation = translateNow();
    try {
        if (m_translation.kind != sql::StatementKind::Select)
            throw EngineError(ErrSql, QStringLiteral("Diese Anweisung ändert Daten und liefert keine Ergebnismenge; sie muss als Änderung ausgeführt werden, nicht als Abfrage."));
        m_types.clear();
        // Columns mostly follow their table's field order (SELECT *): each
        // is looked for first just after the one before it from its table.
        std::vector<std::pair<const TableFile *, int>> nextField;
        const auto fieldIndex = [&nextField](const TableFile &file, const QString &name) {
            auto it = std::find_if(nextField.begin(), nextField.end(), [&](const auto &e) { return e.first == &file; });
            if (it == nextField.end())
                it = nextField.insert(nextField.end(), {&file, 0});
            const auto &fields = file.def().fields;
            int idx = it->second;
            if (idx >= fields.size() || fields[idx].name.compare(name, Qt::CaseInsensitive) != 0)
                idx = file.def().fieldIndex(name);
            if (idx >= 0)
                it->second = idx + 1;
            return idx;
        };
        for (const sql::ResultColumn &c : m_translation.columns) {
            FieldDef def;
            const sql::TableInfo *src = nullptr;
            if (c.sourceTable >= 0 && !c.sourceField.isEmpty())
                src = resolve(m_translation.tables.value(c.sourceTable));
            const TableFile *file = nullptr;
            if (src)
                for (const auto &f : m_files)
                    if (f->alias() == src->schema)
                        file = f.get();
            const int idx = file ? fieldIndex(*file, c.sourceField) : -1;
            if (idx >= 0) {
                def = file->def().fields[idx];
                def.name = c.name;
                if (!m_translation.live) {
                    def.required = false;
                    def.defaultValue = QVariant();
                }
            } else {
                def = computedField(c);
            }
            m_types.push_back(def.type);
            defineField(def);
        }
        m_live = m_translation.live;
        m_slots = int(m_translation.slotTables.size());
        runSelect();
        if (m_live) {
            // Changes by other cursors and statements reach the controls at
            // once; the rows are read again at the next access.
            m_listened = liveFile();
            if (m_listened) {
                m_seenGen = m_listened->generation;
                m_listened->addListener(this, [this] {
                    if (m_listened && m_listened->generation != m_seenGen)
                        notifyRowsChanged();
                });
            }
        }
    } catch (...) {
        closeSource();
        throw;
    }
}

void Query::runSelect()
{
    closeStream();
    m_rowIds.clear();
    m_kept.reset(int(m_types.size()));
    m_rowOfId.clear();
    m_rowOfIdValid = false;
    m_fetched = 0;
    m_fetchedAll = false;
    m_blockStart = -1;
    m_block.clear();
    // The statement runs now (a sort or a grouping is done here, and its
    // errors show at once); its rows come as they are read.
    openStream();
    fetchTo(0, true);
}

void Query::openStream()
{
    m_stream = prepare(m_translation.sql, true);
    Session::addOpenReader(this, &session(), [this] { closeStream(); });
    try {
        bindParams(m_stream);
    } catch (...) {
        closeStream();
        throw;
    }
    m_streamGens.clear();
    for (const auto &f : m_files)
        m_streamGens.push_back(f->generation);
    releaseAtEventLoop(m_releasePending, [this] { closeStream(); });
}

void Query::closeStream()
{
    if (m_stream) {
        sqlite3_finalize(m_stream);
        Session::removeOpenReader(this);
    }
    m_stream = nullptr;
    m_streamRow = -1;
}

bool Query::streamCurrent()
{
    if (!m_stream)
        return false;
    bool changed = m_streamGens.size() != m_files.size();
    for (size_t i = 0; !changed && i < m_files.size(); ++i)
        changed = m_files[i]->generation != m_streamGens[i];
    if (changed)
        closeStream(); // the tables changed since it began: run again
    return m_stream != nullptr;
}

bool Query::sameRowAsFetched(sqlite3_stmt *st, int row) const
{
    const int n = int(m_types.size());
    if (m_slots > 0) {
        for (int k = 0; k < m_slots; ++k) {
            const qint64 id = sqlite3_column_type(st, n + k) == SQLITE_NULL ? NoRow : sqlite3_column_int64(st, n + k);
            if (id != m_rowIds[size_t(row) * size_t(m_slots) + size_t(k)])
                return false;
        }
        return true;
    }
    for (int i = 0; i < n; ++i)
        if (readColumn(st, i, m_types[size_t(i)]) != m_kept.value(row, i))
            return false;
    return true;
}

bool Query::fetchTo(int row, bool withValues)
{
    if (row < m_fetched)
        return true;
    if (m_fetchedAll)
        return false;
    const int n = int(m_types.size());
    const bool rerun = !streamCurrent();
    if (rerun) {
        // Run again: over the rows fetched before, the last of them checked.
        openStream();
        bool same = true;
        for (int r = 0; r < m_fetched && same; ++r) {
            const int rc = sqlite3_step(m_stream);
            if (rc != SQLITE_ROW) {
                if (rc != SQLITE_DONE)
                    failStep(m_stream, nullptr);
                same = false;
            } else if (r == m_fetched - 1) {
                same = sameRowAsFetched(m_stream, r);
            }
        }
        if (!same) {
            // The tables changed meanwhile: the result anew from its start.
            closeStream();
            m_rowIds.clear();
            m_kept.reset(n);
            m_fetched = 0;
            m_blockStart = -1;
            m_block.clear();
            rowsInvalidated();
            openStream();
        }
    }
    // While the statement is open it is stepped only as far as the row asked
    // for (opening reads one row; a walk takes each row as it comes). Run
    // again, it goes on to the end of a block (the first time over a screen of
    // rows), so that a reader coming back from the event loop row by row does
    // not run it again for each row.
    int end = row + 1;
    if (rerun) {
        end = (std::min(row, std::numeric_limits<int>::max() - BlockRows) / BlockRows + 1) * BlockRows;
        if (m_fetched < FirstRows && row < FirstRows)
            end = FirstRows;
    }
    const int keepFrom = withValues && m_slots > 0 ? std::max(end - BlockRows, m_fetched) : std::numeric_limits<int>::max();
    if (keepFrom < end)
        m_blockStart = -1; // its rows are overwritten in place
    size_t kept = 0;
    int rc = SQLITE_ROW;
    while (m_fetched < end && (rc = sqlite3_step(m_stream)) == SQLITE_ROW) {
        if (m_slots > 0) {
            for (int k = 0; k < m_slots; ++k)
                m_rowIds.push_back(sqlite3_column_type(m_stream, n + k) == SQLITE_NULL
                                       ? NoRow
                                       : sqlite3_column_int64(m_stream, n + k));
            // The last row stepped stays in the statement, read from there.
            if (m_fetched >= keepFrom && m_fetched < end - 1) {
                if (kept == m_block.size())
                    m_block.emplace_back(size_t(n));
                std::vector<QVariant> &values = m_block[kept++];
                values.resize(size_t(n));
                for (int i = 0; i < n; ++i)
                    values[size_t(i)] = readColumn(m_stream, i, m_types[size_t(i)]);
            }
        } else {
            m_kept.append(m_stream, m_types);
        }
        ++m_fetched;
        m_rowOfIdValid = false;
    }
    m_streamRow = m_slots > 0 && rc == SQLITE_ROW && m_fetched == end ? end - 1 : -1;
    if (keepFrom < end) {
        m_block.resize(kept);
        if (kept > 0)
            m_blockStart = keepFrom;
    }
    if (m_fetched < end) {
        if (rc != SQLITE_DONE)
            failStep(m_stream, nullptr);
        m_fetchedAll = true;
        closeStream();
    }
    return row < m_fetched;
}

const sql::TableInfo &Query::slotInfo(int slot) const
{
    const QString path = m_translation.tables.value(m_translation.slotTables.value(slot));
    for (const sql::TableInfo &t : m_infos)
        if (t.filePath == path)
            return t;
    return m_infos.front();
}

const sql::TableInfo &Query::liveInfo() const
{
    return slotInfo(0);
}

TableFile *Query::liveFile() const
{
    const QString schema = liveInfo().schema;
    for (const auto &f : m_files)
        if (f->alias() == schema)
            return f.get();
    return nullptr;
}

void Query::finalize()
{
    closeStream();
    for (sqlite3_stmt *st : m_readStmts)
        sqlite3_finalize(st);
    m_readStmts.clear();
    m_blockStart = -1;
    m_block.clear();
}

void Query::closeSource()
{
    if (m_listened) {
        m_listened->removeListener(this);
        m_listened = nullptr;
    }
    finalize();
    m_rowIds.clear();
    m_rowIds.shrink_to_fit();
    m_kept.clear();
    m_rowOfId.clear();
    m_rowOfIdValid = false;
    m_fetched = 0;
    m_fetchedAll = false;
    m_hintRow = -1;
    m_live = false;
    m_slots = 0;
    m_slotColumns.clear();
    releaseFiles();
}

void Query::refreshSource()
{
    finalize();
    runSelect();
    clearRowCache();
    if (m_listened)
        m_seenGen = m_listened->generation;
}

void Query::syncSource()
{
    if (!m_listened || m_listened->generation == m_seenGen)
        return;
    if (state() == DataSetState::Edit || state() == DataSetState::Insert)
        return; // the record being edited stays; caught up after its post
    m_seenGen = m_listened->generation;
    finalize();
    runSelect();
    rowsInvalidated();
}

int Query::sourceCount()
{
    fetchAll();
    return m_fetched;
}

bool Query::sourceHasRow(int row)
{
    return row >= 0 && fetchTo(row, true);
}

void Query::sourceRead(int row, QVariant *values)
{
    const int n = int(m_types.size());
    fetchTo(row, true);
    if (m_slots == 0) {
        m_kept.read(row, values);
        return;
    }
    if (row == m_streamRow && streamCurrent()) {
        // The row the statement stands on (a walk's next row): straight from
        // it into the record.
        for (int i = 0; i < n; ++i)
            values[i] = readColumn(m_stream, i, m_types[size_t(i)]);
        return;
    }
    const auto inBlock = [&] {
        return m_blockStart >= 0 && row >= m_blockStart && row < m_blockStart + int(m_block.size())
               && !m_block[size_t(row - m_blockStart)].empty();
    };
    if (!inBlock())
        loadBlock(row - row % BlockRows);
    // Each row of a block is handed out once, moved rather than copied (the
    // data set keeps what it reads); read again, it comes by its row ids.
    std::vector<QVariant> &r = m_block[size_t(row - m_blockStart)];
    std::move(r.begin(), r.end(), values);
    r.clear();
}

void Query::loadBlock(int start)
{
    const int n = int(m_types.size());
    // Only rows fetched already: fetching more could renumber the rows.
    const int count = std::min(BlockRows, m_fetched - start);
    m_blockStart = -1;
    m_block.assign(size_t(std::max(count, 0)), std::vector<QVariant>(size_t(n)));
    if (m_readStmts.empty()) {
        // Per table of FROM: its fields among the columns, read for a block
        // of rows by their row ids in one statement.
        m_readStmts.assign(size_t(m_slots), nullptr);
        m_slotColumns.assign(size_t(m_slots), {});
        for (int i = 0; i < n; ++i)
            m_slotColumns[size_t(m_translation.columns[i].sourceSlot)].push_back(i);
        QStringList marks;
        for (int k = 0; k < BlockRows; ++k)
            marks << QStringLiteral("?");
        for (int k = 0; k < m_slots; ++k) {
            if (m_slotColumns[size_t(k)].empty())
                continue;
            QStringList cols{QStringLiteral("rowid")};
            for (int i : m_slotColumns[size_t(k)])
                cols << quoteIdent(m_translation.columns[i].sourceField);
            const sql::TableInfo &t = slotInfo(k);
            m_readStmts[size_t(k)] = prepare(QStringLiteral("SELECT %1 FROM %2.%3 WHERE rowid IN (%4)")
                                                 .arg(cols.join(QLatin1Char(',')), quoteIdent(t.schema),
                                                      quoteIdent(t.table), marks.join(QLatin1Char(','))),
                                             true);
        }
    }
    std::vector<std::pair<qint64, int>> wanted; // row id, row within the block
    wanted.reserve(size_t(BlockRows));
    for (int k = 0; k < m_slots; ++k) {
        sqlite3_stmt *st = m_readStmts[size_t(k)];
        if (!st)
            continue;
        const std::vector<int> &cols = m_slotColumns[size_t(k)];
        wanted.clear();
        for (int r = 0; r < count; ++r) {
            const qint64 id = m_rowIds[size_t(start + r) * size_t(m_slots) + size_t(k)];
            // No row (the empty side of a LEFT JOIN) or one deleted
            // meanwhile: empty fields.
            if (id != NoRow)
                wanted.emplace_back(id, r);
        }
        std::sort(wanted.begin(), wanted.end());
        int mark = 1;
        for (size_t w = 0; w < wanted.size(); ++w)
            if (w == 0 || wanted[w].first != wanted[w - 1].first)
                sqlite3_bind_int64(st, mark++, wanted[w].first);
        for (; mark <= BlockRows; ++mark)
            sqlite3_bind_null(st, mark);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const qint64 id = sqlite3_column_int64(st, 0);
            auto it = std::lower_bound(wanted.begin(), wanted.end(), std::make_pair(id, -1));
            if (it == wanted.end() || it->first != id)
                continue;
            std::vector<QVariant> &first = m_block[size_t(it->second)];
            for (size_t j = 0; j < cols.size(); ++j)
                first[size_t(cols[j])] = readColumn(st, int(j) + 1, m_types[size_t(cols[j])]);
            // The same row of this table in further rows of the result (a
            // medium beside each of its films).
            for (auto more = it + 1; more != wanted.end() && more->first == id; ++more)
                for (int c : cols)
                    m_block[size_t(more->second)][size_t(c)] = first[size_t(c)];
        }
        if (rc != SQLITE_DONE)
            failStep(st, nullptr);
        sqlite3_reset(st);
    }
    m_blockStart = start;
}

void Query::sourceForget(qint64)
{
    m_blockStart = -1;
}

void Query::sourceCheckExists(qint64)
{
    // Called as an edit begins: the changes of this connection so far.
    if (state() == DataSetState::Browse && m_live)
        if (const TableFile *file = liveFile())
            m_editGeneration = file->generation;
}

qint64 Query::sourceKey(int row)
{
    fetchTo(row, true);
    m_hintRow = row;
    return m_live ? m_rowIds[size_t(row)] : qint64(row);
}

int Query::sourceFind(qint64 key)
{
    if (!m_live)
        return key >= 0 && key < std::numeric_limits<int>::max() && sourceHasRow(int(key)) ? int(key) : -1;
    // A live result has one table: its row ids are its keys.
    if (m_hintRow >= 0 && size_t(m_hintRow) < m_rowIds.size() && m_rowIds[size_t(m_hintRow)] == key)
        return m_hintRow;
    for (;;) {
        if (!m_rowOfIdValid) {
            m_rowOfId.clear();
            m_rowOfId.reserve(int(m_rowIds.size()));
            for (size_t i = 0; i < m_rowIds.size(); ++i)
                m_rowOfId.insert(m_rowIds[i], int(i));
            m_rowOfIdValid = true;
        }
        const int row = m_rowOfId.value(key, -1);
        if (row >= 0 || m_fetchedAll)
            return row;
        fetchTo(m_fetched, false); // not among the rows fetched so far: the next block
    }
}

// ------------------------------------------------------------- live editing

bool Query::sourceWritable() const
{
    if (!m_live || !m_requestLive || m_files.empty())
        return false;
    const TableFile *file = liveFile();
    return file && file->writable();
}

bool Query::canModify() const
{
    return DataSet::canModify();
}

void Query::sourceInitRecord(QVariant *values)
{
    for (int i = 0; i < int(m_types.size()); ++i) {
        const QVariant d = field(i)->defaultValue();
        if (!d.isNull())
            values[i] = field(i)->convert(d);
    }
}

qint64 Query::sourceWrite(bool inserting, qint64 key, const QVariant *values, const std::vector<bool> &changed)
{
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Das Abfrageergebnis kann nicht geändert werden."));
    const sql::TableInfo &t = liveInfo();
    TableFile *file = liveFile();
    QStringList cols;
    QList<int> written;
    for (int i = 0; i < int(m_types.size()); ++i) {
        if (inserting ? !values[i].isNull() : changed[size_t(i)]) {
            cols << quoteIdent(m_translation.columns[i].sourceField);
            written << i;
        }
    }
    if (!inserting && written.isEmpty())
        return key;
    fetchAll(); // a new row goes after all rows of the result
    const QString table = quoteIdent(t.schema) + QLatin1Char('.') + quoteIdent(t.table);
    QString text;
    if (inserting) {
        QStringList marks;
        for (int k = 0; k < cols.size(); ++k)
            marks << QStringLiteral("?");
        text = cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                              : QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                    .arg(table, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    } else {
        QStringList sets;
        QList<FieldType> types;
        for (int k = 0; k < cols.size(); ++k) {
            sets << cols[k] + QLatin1String("=?");
            types << m_types[size_t(written[k])];
        }
        text = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table, sets.join(QLatin1Char(',')));
        if (!editStartValues().empty())
            text += unchangedTerms(cols, types, file && file->generation != m_editGeneration);
    }
    finalize(); // the read statement would hold the table
    sqlite3_stmt *st = prepare(text, false);
    StmtGuard guard{st};
    int p = 1;
    for (int i : written)
        bindValue(st, p++, storedForm(m_types[size_t(i)], values[i]));
    if (!inserting) {
        sqlite3_bind_int64(st, p++, key);
        if (!editStartValues().empty())
            for (int i : written) {
                bindValue(st, p++, storedForm(m_types[size_t(i)], editStartValues()[size_t(i)]));
                if (file && file->generation != m_editGeneration)
                    bindValue(st, p++, storedForm(m_types[size_t(i)], values[i]));
            }
    }
    qint64 rowid = key;
    Session::Transaction tx(session());
    if (file)
        session().admitWrite(*file);
    if (sqlite3_step(st) != SQLITE_DONE)
        failStep(st, file);
    if (inserting) {
        rowid = sqlite3_last_insert_rowid(session().handle());
    } else if (sqlite3_changes(session().handle()) == 0) {
        sqlite3_stmt *probe = prepare(QStringLiteral("SELECT 1 FROM %1 WHERE rowid=?").arg(table), true);
        StmtGuard probeGuard{probe};
        sqlite3_bind_int64(probe, 1, key);
        if (sqlite3_step(probe) != SQLITE_ROW)
            throw recordGone(file);
        throw recordChanged(native(file ? file->path() : QString()));
    }
    tx.commit();
    if (inserting) {
        m_rowIds.push_back(rowid);
        ++m_fetched;
        m_rowOfIdValid = false;
        rowsInvalidated();
    }
    clearRowCache();
    if (m_listened)
        m_seenGen = m_listened->generation; // our own change is in the rows already
    return rowid;
}

void Query::sourceDelete(qint64 key)
{
    if (!canModify())
        throw EngineError(ErrReadOnly, QStringLiteral("Das Abfrageergebnis kann nicht geändert werden."));
    const sql::TableInfo &t = liveInfo();
    TableFile *file = liveFile();
    fetchAll();
    finalize();
    sqlite3_stmt *st = prepare(QStringLiteral("DELETE FROM %1.%2 WHERE rowid=?").arg(quoteIdent(t.schema), quoteIdent(t.table)),
                               false);
    StmtGuard guard{st};
    sqlite3_bind_int64(st, 1, key);
    Session::Transaction tx(session());
    if (file)
        session().admitWrite(*file);
    if (sqlite3_step(st) != SQLITE_DONE)
        failStep(st, file);
    if (sqlite3_changes(session().handle()) == 0)
        throw recordGone(file);
    tx.commit();
    const int row = sourceFind(key);
    if (row >= 0) {
        m_rowIds.erase(m_rowIds.begin() + row);
        --m_fetched;
    }
    m_rowOfIdValid = false;
    if (m_listened)
        m_seenGen = m_listened->generation;
    rowsInvalidated();
}

} // namespace engine
