#include "exchange/exportfieldtext.h"

#include "dbui/fieldtext.h"
#include "engine/field.h"

QString ExportBoolText(bool value, int boolStyle)
{
    switch (boolStyle) {
    case ebsTrueFalse: return value ? QStringLiteral("true") : QStringLiteral("false");
    case ebsXDash: return value ? QStringLiteral("X") : QStringLiteral("-");
    case ebsXEmpty: return value ? QStringLiteral("X") : QString();
    default: return value ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    }
}

ExportValue ExportFieldText(const engine::Field &field, int boolStyle)
{
    ExportValue v;
    switch (field.dataType()) {
    case engine::FieldType::String:
        v.text = field.asString();
        break;
    case engine::FieldType::Date:
        v.text = dbui::formatDate(field.asDate());
        break;
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer:
    case engine::FieldType::LargeInt:
        v.numeric = true;
        if (!field.isNull()) {
            // A stored number is written as it is; anything else takes the
            // field's own reading.
            const QVariant value = field.value();
            switch (value.typeId()) {
            case QMetaType::Int:
                v.text = QString::number(*static_cast<const int *>(value.constData()));
                break;
            case QMetaType::LongLong:
                v.text = QString::number(*static_cast<const qlonglong *>(value.constData()));
                break;
            case QMetaType::Short:
                v.text = QString::number(*static_cast<const short *>(value.constData()));
                break;
            default:
                v.text = QString::number(field.asLargeInt());
            }
        }
        break;
    case engine::FieldType::Float:
        v.numeric = true;
        v.text = dbui::editText(engine::FieldType::Float, field.value());
        break;
    case engine::FieldType::Boolean:
        v.boolean = true;
        v.text = ExportBoolText(field.asBoolean(), boolStyle);
        break;
    case engine::FieldType::Memo:
    case engine::FieldType::Graphic:
        break;
    }
    return v;
}
