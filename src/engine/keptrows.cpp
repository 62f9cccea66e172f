#include "engine/keptrows.h"

#include <QDate>
#include <QString>

namespace engine {

KeptRows::KeptRows(int columns, int blockRows) : m_columns(columns), m_blockRows(blockRows) {}

void KeptRows::reset(int columns)
{
    clear();
    m_columns = columns;
}

void KeptRows::clear()
{
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_rows = 0;
}

void KeptRows::append(sqlite3_stmt *st, const std::vector<FieldType> &types)
{
    if (m_rows % m_blockRows == 0) {
        m_blocks.emplace_back();
        m_blocks.back().cells.reserve(size_t(m_blockRows) * size_t(m_columns));
    }
    Block &b = m_blocks.back();
    for (int i = 0; i < m_columns; ++i) {
        Cell c;
        sqlite3_value *v = sqlite3_column_value(st, i);
        if (sqlite3_value_type(v) != SQLITE_NULL) {
            switch (types[size_t(i)]) {
            case FieldType::SmallInt:
            case FieldType::Integer:
                c.kind = Kind::Int;
                c.number = int(sqlite3_value_int64(v));
                break;
            case FieldType::LargeInt:
                c.kind = Kind::LargeInt;
                c.number = sqlite3_value_int64(v);
                break;
            case FieldType::Boolean:
                c.kind = Kind::Bool;
                c.number = sqlite3_value_int64(v) != 0;
                break;
            case FieldType::Float:
                c.kind = Kind::Float;
                c.real = sqlite3_value_double(v);
                break;
            case FieldType::Date: {
                auto p = reinterpret_cast<const char *>(sqlite3_value_text(v));
                const QDate d = QDate::fromString(QString::fromLatin1(p, sqlite3_value_bytes(v)), Qt::ISODate);
                if (d.isValid()) {
                    c.kind = Kind::Date;
                    c.number = d.toJulianDay();
                }
                break;
            }
            case FieldType::Graphic:
            default: {
                const bool text = types[size_t(i)] != FieldType::Graphic;
                const char *p = text ? reinterpret_cast<const char *>(sqlite3_value_text(v))
                                     : static_cast<const char *>(sqlite3_value_blob(v));
                const int n = sqlite3_value_bytes(v);
                c.kind = text ? Kind::Text : Kind::Bytes;
                c.offset = quint32(b.bytes.size());
                c.length = quint32(n);
                b.bytes.append(p, n);
                break;
            }
            }
        }
        b.cells.push_back(c);
    }
    ++m_rows;
}

const KeptRows::Cell &KeptRows::cell(int row, int column) const
{
    return blockOf(row).cells[size_t(row % m_blockRows) * size_t(m_columns) + size_t(column)];
}

QVariant KeptRows::value(int row, int column) const
{
    const Cell &c = cell(row, column);
    switch (c.kind) {
    case Kind::Null: return QVariant();
    case Kind::Int: return QVariant(int(c.number));
    case Kind::LargeInt: return QVariant(qint64(c.number));
    case Kind::Bool: return QVariant(c.number != 0);
    case Kind::Float: return QVariant(c.real);
    case Kind::Date: return QVariant(QDate::fromJulianDay(c.number));
    case Kind::Bytes: return QVariant(blockOf(row).bytes.mid(qsizetype(c.offset), qsizetype(c.length)));
    case Kind::Text: {
        // Decoded into the variant's own string: no copy on the way.
        QVariant out{QString()};
        *static_cast<QString *>(out.data()) =
            QString::fromUtf8(blockOf(row).bytes.constData() + c.offset, qsizetype(c.length));
        return out;
    }
    }
    return QVariant();
}

void KeptRows::read(int row, QVariant *values) const
{
    for (int i = 0; i < m_columns; ++i)
        values[i] = value(row, i);
}

} // namespace engine
