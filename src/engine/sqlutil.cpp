#include "engine/sqlutil.h"

#include "engine/engineerror.h"

#include <QCoreApplication>
#include <QDate>
#include <QTimer>

namespace engine {

QString quoteIdent(const QString &name)
{
    QString s = name;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString quoteLiteral(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString columnType(FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Boolean:
        return QStringLiteral("INTEGER");
    case FieldType::Float:
        return QStringLiteral("REAL");
    case FieldType::Graphic:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("TEXT");
    }
}

QString collationName(Collation c)
{
    switch (c) {
    case Collation::German: return QStringLiteral("TARVO_DE");
    case Collation::NoCase: return QStringLiteral("TARVO_NOCASE");
    default: return QStringLiteral("BINARY");
    }
}

Collation collationFromName(const QString &name)
{
    if (name == QLatin1String("TARVO_DE"))
        return Collation::German;
    if (name == QLatin1String("TARVO_NOCASE"))
        return Collation::NoCase;
    return Collation::Binary;
}

FieldType fieldTypeFromName(const QString &name, bool *ok)
{
    static const FieldType all[] = {FieldType::String, FieldType::SmallInt, FieldType::Integer,
                                    FieldType::LargeInt, FieldType::Boolean, FieldType::Float,
                                    FieldType::Date, FieldType::Memo, FieldType::Graphic};
    for (FieldType t : all)
        if (fieldTypeName(t) == name) {
            if (ok) *ok = true;
            return t;
        }
    if (ok) *ok = false;
    return FieldType::String;
}

Stmt::Stmt(sqlite3 *db, const QString &sql)
{
    QByteArray u = sql.toUtf8();
    m_rc = sqlite3_prepare_v2(db, u.constData(), int(u.size()), &m_stmt, nullptr);
    if (m_rc != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(db));
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Stmt::~Stmt()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

void Stmt::bind(int i, const QVariant &v) { bindValue(m_stmt, i, v); }

int Stmt::step()
{
    m_rc = sqlite3_step(m_stmt);
    return m_rc;
}

QVariant Stmt::column(int i, FieldType type) const { return readColumn(m_stmt, i, type); }

QString Stmt::text(int i) const
{
    auto p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, i)) : QString();
}

qint64 Stmt::integer(int i) const { return sqlite3_column_int64(m_stmt, i); }

void bindValue(sqlite3_stmt *st, int i, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
        sqlite3_bind_int64(st, i, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, i, v.toDouble());
        break;
    case QMetaType::QByteArray: {
        QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDate: {
        QByteArray s = v.toDate().toString(Qt::ISODate).toUtf8();
        sqlite3_bind_text(st, i, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        QByteArray s = v.toString().toUtf8();
        sqlite3_bind_text(st, i, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

void releaseAtEventLoop(std::shared_ptr<bool> &pending, std::function<void()> release)
{
    if (!QCoreApplication::instance() || (pending && *pending))
        return;
    if (!pending)
        pending = std::make_shared<bool>(false);
    *pending = true;
    std::weak_ptr<bool> owner = pending;
    QTimer::singleShot(0, QCoreApplication::instance(), [owner, release = std::move(release)] {
        if (const auto p = owner.lock()) {
            *p = false;
            release();
        }
    });
}

QVariant readColumn(sqlite3_stmt *st, int i, FieldType type)
{
    // The column's value read through one call (each sqlite3_column_* call
    // takes the connection's mutex); a connection is used by one thread.
    sqlite3_value *v = sqlite3_column_value(st, i);
    int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return QVariant(int(sqlite3_value_int64(v)));
    case FieldType::LargeInt:
        return QVariant(qint64(sqlite3_value_int64(v)));
    case FieldType::Boolean:
        return QVariant(sqlite3_value_int64(v) != 0);
    case FieldType::Float:
        return QVariant(sqlite3_value_double(v));
    case FieldType::Date: {
        auto p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        QDate d = QDate::fromString(QString::fromLatin1(p, sqlite3_value_bytes(v)), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case FieldType::Graphic: {
        auto p = static_cast<const char *>(sqlite3_value_blob(v));
        return QVariant(QByteArray(p, sqlite3_value_bytes(v)));
    }
    default: {
        auto p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        // Decoded into the variant's own string: no copy of the text and no
        // reference counting on the way.
        QVariant out{QString()};
        *static_cast<QString *>(out.data()) = QString::fromUtf8(p, sqlite3_value_bytes(v));
        return out;
    }
    }
}

QString unchangedTerms(const QStringList &quotedColumns, const QList<FieldType> &types, bool orNew)
{
    QString terms;
    for (qsizetype i = 0; i < quotedColumns.size(); ++i) {
        const FieldType t = types.value(i);
        const bool text = t == FieldType::String || t == FieldType::Memo;
        if (orNew)
            terms += text ? QStringLiteral(" AND coalesce(%1,'') IN (coalesce(?,''), coalesce(?,''))").arg(quotedColumns[i])
                          : QStringLiteral(" AND (%1 IS ? OR %1 IS ?)").arg(quotedColumns[i]);
        else
            terms += text ? QStringLiteral(" AND coalesce(%1,'') IS coalesce(?,'')").arg(quotedColumns[i])
                          : QStringLiteral(" AND %1 IS ?").arg(quotedColumns[i]);
    }
    return terms;
}

QVariant storedForm(FieldType type, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (type) {
    case FieldType::Boolean: return QVariant(v.toBool() ? 1 : 0);
    case FieldType::Date: return QVariant(v.toDate().toString(Qt::ISODate));
    default: return v;
    }
}

} // namespace engine
