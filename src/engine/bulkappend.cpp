#include "engine/bulkappend.h"

#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/tablefile.h"

#include <QDir>

#include <memory>
#include <vector>

namespace engine {

namespace {

QString nativeName(const QString &path) { return QDir::toNativeSeparators(path); }

// Holds the table file for the append: attached to the session and, against
// other processes, opened exclusively; given back however the append ends.
class ExclusiveUse {
public:
    ExclusiveUse(Session &session, const QString &path) : m_session(session), m_file(session.attach(path))
    {
        if (m_file->tableUsers > 0 || m_file->attachUsers > 1) {
            m_session.release(m_file);
            throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" ist noch geöffnet; es können keine Datensätze in einem Zug angefügt werden.")
                                            .arg(nativeName(path)));
        }
        if (!m_file->lockOpen(true)) {
            m_session.release(m_file);
            throw EngineError(ErrInUse, QStringLiteral("Die Tabelle \"%1\" wird von einem anderen Benutzer verwendet und kann nicht exklusiv geöffnet werden.")
                                            .arg(nativeName(path)));
        }
        m_file->exclusiveHeld = true;
    }
    ~ExclusiveUse()
    {
        m_file->exclusiveHeld = false;
        m_file->lockOpen(false);
        m_session.release(m_file);
    }
    ExclusiveUse(const ExclusiveUse &) = delete;
    ExclusiveUse &operator=(const ExclusiveUse &) = delete;

    TableFile &file() const { return *m_file; }

private:
    Session &m_session;
    std::shared_ptr<TableFile> m_file;
};

// The built indexes of the file, as the store names them in its schema.
QStringList builtIndexes(Session &session, const TableFile &file)
{
    Stmt st(session.handle(), QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type='index' AND tbl_name='data' AND sql IS NOT NULL")
                                  .arg(quoteIdent(file.alias())));
    if (!st.ok())
        session.fail(st.rc(), st.error(), &file);
    QStringList names;
    while (st.step() == SQLITE_ROW)
        names << st.text(0);
    return names;
}

// Drops the built indexes and inserts the rows; inside the caller's
// transaction.
int appendRows(Session &session, TableFile &file, const std::vector<std::unique_ptr<Field>> &fields,
               const std::vector<QVariant> &defaults, const BulkRowSource &next)
{
    session.admitWrite(file);
    const QString schema = quoteIdent(file.alias());
    for (const QString &index : builtIndexes(session, file))
        session.execOn(session.handle(), QStringLiteral("DROP INDEX %1.%2").arg(schema, quoteIdent(index)), &file);
    const int n = int(fields.size());
    QStringList cols, marks;
    for (const auto &f : fields) {
        cols << quoteIdent(f->fieldName());
        marks << QStringLiteral("?");
    }
    Stmt insert(session.handle(), QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                      .arg(Session::sqlTableName(file), cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    if (!insert.ok())
        session.fail(insert.rc(), insert.error(), &file);
    int count = 0;
    QVariantList row;
    while (next(row)) {
        for (int i = 0; i < n; ++i) {
            const Field &f = *fields[size_t(i)];
            QVariant v = i < row.size() ? f.convert(row[i]) : QVariant();
            if (v.isNull())
                v = defaults[size_t(i)];
            if (v.isNull() && f.required())
                throw EngineError(ErrRequired, QStringLiteral("Das Feld \"%1\" muss einen Wert haben (Datensatz %2 der Tabelle \"%3\").")
                                                   .arg(f.fieldName())
                                                   .arg(count + 1)
                                                   .arg(nativeName(file.path())));
            insert.bind(i + 1, storedForm(f.dataType(), v));
        }
        if (insert.step() != SQLITE_DONE) {
            const int ext = sqlite3_extended_errcode(session.handle());
            const QString message = QString::fromUtf8(sqlite3_errmsg(session.handle()));
            sqlite3_reset(insert.get());
            session.fail(ext, message, &file);
        }
        sqlite3_reset(insert.get());
        ++count;
        row.clear();
    }
    return count;
}

} // namespace

int bulkAppend(Session &session, const QString &path, const BulkRowSource &next)
{
    ExclusiveUse use(session, path);
    TableFile &file = use.file();
    // A copy: the definition is read again when the indexes are rebuilt.
    const TableDef def = file.def();
    const int n = int(def.fields.size());
    // The field rules of a post, without a data set around them.
    std::vector<std::unique_ptr<Field>> fields;
    for (int i = 0; i < n; ++i)
        fields.push_back(std::make_unique<Field>(nullptr, i, def.fields[i], false));
    std::vector<QVariant> defaults(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        defaults[size_t(i)] = def.fields[i].defaultValue.isNull() ? QVariant() : fields[size_t(i)]->convert(def.fields[i].defaultValue);
    std::vector<IndexDef> rebuild;
    if (file.hasPrimaryIndex())
        rebuild.push_back(def.primaryIndex());
    for (const IndexDef &ix : def.indexes)
        if (file.indexUsable(ix.name))
            rebuild.push_back(ix);

    session.startTransaction();
    int count = 0;
    try {
        count = appendRows(session, file, fields, defaults, next);
        // Building an index over the finished rows sorts them once; a
        // unique key taken twice shows here and refuses the whole append.
        for (const IndexDef &ix : rebuild) {
            try {
                addIndexAttached(session, file, ix);
            } catch (const EngineError &e) {
                if (e.code() != ErrKeyViolation)
                    throw;
                throw EngineError(ErrKeyViolation, e.message().chopped(e.message().endsWith(QLatin1Char('.')) ? 1 : 0)
                                                       + QStringLiteral(" (Tabelle \"%1\").").arg(nativeName(file.path())));
            }
        }
        session.commit();
    } catch (...) {
        // The error that stopped the append is the one the caller shows; a
        // failing rollback would only hide it.
        try {
            session.rollback();
            file.reload(); // the dropped indexes are back
        } catch (const EngineError &) {
        }
        throw;
    }
    return count;
}

} // namespace engine
