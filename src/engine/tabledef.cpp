#include "engine/tabledef.h"

namespace engine {

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return QStringLiteral("String");
    case FieldType::SmallInt: return QStringLiteral("SmallInt");
    case FieldType::Integer: return QStringLiteral("Integer");
    case FieldType::LargeInt: return QStringLiteral("LargeInt");
    case FieldType::Boolean: return QStringLiteral("Boolean");
    case FieldType::Float: return QStringLiteral("Float");
    case FieldType::Date: return QStringLiteral("Date");
    case FieldType::Memo: return QStringLiteral("Memo");
    case FieldType::Graphic: return QStringLiteral("Graphic");
    }
    return QString();
}

int TableDef::fieldIndex(const QString &fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

IndexDef TableDef::primaryIndex() const
{
    IndexDef ix;
    ix.primary = true;
    ix.unique = true;
    for (int i = 0; i < primaryKeyFields && i < fields.size(); ++i)
        ix.fields << fields[i].name;
    return ix;
}

} // namespace engine
