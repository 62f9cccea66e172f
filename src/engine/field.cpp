#include "engine/field.h"

#include "engine/dataset.h"
#include "platform/cp1252.h"

#include <QDateTime>
#include <limits>

namespace engine {

Field::Field(DataSet *owner, int index, const FieldDef &def, bool calculated)
    : m_owner(owner), m_index(index), m_def(def), m_calculated(calculated)
{
    if (m_def.type == FieldType::Date)
        m_displayFormat = QStringLiteral("dd.MM.yyyy");
}

int Field::displayWidth() const
{
    if (m_displayWidth > 0)
        return m_displayWidth;
    switch (m_def.type) {
    case FieldType::String: return m_def.size > 0 ? m_def.size : 20;
    case FieldType::SmallInt: return 6;
    case FieldType::Integer: return 11;
    case FieldType::LargeInt: return 15;
    case FieldType::Boolean: return 5;
    case FieldType::Date: return 10;
    default: return 10;
    }
}

bool Field::isNull() const
{
    const QVariant &v = m_owner->slot(m_index);
    return !v.isValid() || v.isNull();
}

QVariant Field::value() const { return m_owner->slot(m_index); }

QVariant Field::oldValue() const
{
    const auto &old = m_owner->m_oldValues;
    if (size_t(m_index) < old.size() && (m_owner->state() == DataSetState::Edit))
        return old[size_t(m_index)];
    return value();
}

QString Field::asString() const
{
    const QVariant &v = m_owner->slot(m_index);
    // Text and whole numbers, what most fields hold, without the variant's
    // general conversion.
    switch (m_def.type) {
    case FieldType::Boolean:
    case FieldType::Date:
    case FieldType::Float:
    case FieldType::Graphic:
        break;
    default:
        if (v.metaType() == QMetaType::fromType<QString>())
            return *static_cast<const QString *>(v.constData());
        if (v.metaType() == QMetaType::fromType<int>())
            return QString::number(*static_cast<const int *>(v.constData()));
    }
    if (!v.isValid() || v.isNull())
        return QString();
    switch (m_def.type) {
    case FieldType::Boolean: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Date: return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case FieldType::Float: return QString::number(v.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    case FieldType::Graphic: return QString::fromLatin1(v.toByteArray());
    default: return v.toString();
    }
}

int Field::asInteger() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return 0;
    if (m_def.type == FieldType::String || m_def.type == FieldType::Memo)
        return v.toString().trimmed().toInt();
    if (m_def.type == FieldType::Float)
        return int(qRound64(v.toDouble()));
    return int(v.toLongLong());
}

qint64 Field::asLargeInt() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return 0;
    if (m_def.type == FieldType::Float)
        return qRound64(v.toDouble());
    return v.toString().trimmed().toLongLong();
}

double Field::asFloat() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return 0.0;
    if (m_def.type == FieldType::String || m_def.type == FieldType::Memo)
        return v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    return v.toDouble();
}

bool Field::asBoolean() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return false;
    if (m_def.type == FieldType::String || m_def.type == FieldType::Memo) {
        QString s = v.toString().trimmed().toUpper();
        return s == QLatin1String("TRUE") || s == QLatin1String("T") || s == QLatin1String("J")
            || s == QLatin1String("JA") || s == QLatin1String("1") || s == QLatin1String("Y");
    }
    return v.toBool();
}

QDate Field::asDate() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return QDate();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    return convert(v).toDate();
}

QByteArray Field::asBytes() const
{
    const QVariant &v = m_owner->slot(m_index);
    if (!v.isValid() || v.isNull())
        return QByteArray();
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return platform::toCp1252(v.toString());
}

QString Field::displayText() const
{
    switch (m_def.type) {
    case FieldType::Memo: return isNull() ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
    case FieldType::Graphic: return isNull() ? QStringLiteral("(graphic)") : QStringLiteral("(GRAPHIC)");
    case FieldType::Date: return isNull() ? QString() : asDate().toString(m_displayFormat);
    default: return asString();
    }
}

static EngineError badValue(const Field &f, const QString &text)
{
    return EngineError(ErrInvalidValue, QStringLiteral("\"%1\" ist kein gültiger Wert für das Feld \"%2\".").arg(text, f.displayLabel()));
}

QVariant Field::convert(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const bool isText = v.typeId() == QMetaType::QString;
    const QString text = isText ? v.toString() : QString();
    if (isText && text.isEmpty())
        return QVariant();
    switch (m_def.type) {
    case FieldType::String: {
        QString s = v.toString();
        if (s.isEmpty())
            return QVariant();
        if (m_def.size > 0 && s.size() > m_def.size)
            s.truncate(m_def.size);
        return s;
    }
    case FieldType::Memo: {
        QString s = v.typeId() == QMetaType::QByteArray ? platform::fromCp1252(v.toByteArray()) : v.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        qint64 n = 0;
        bool ok = true;
        if (isText)
            n = text.trimmed().toLongLong(&ok);
        else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            double d = v.toDouble();
            ok = d >= -9.2e18 && d <= 9.2e18;
            n = qRound64(d);
        } else if (v.typeId() == QMetaType::QDate)
            ok = false;
        else
            n = v.toLongLong(&ok);
        if (!ok)
            throw badValue(*this, v.toString());
        qint64 lo = m_def.type == FieldType::SmallInt ? -32768 : m_def.type == FieldType::Integer ? std::numeric_limits<int>::min() : std::numeric_limits<qint64>::min();
        qint64 hi = m_def.type == FieldType::SmallInt ? 32767 : m_def.type == FieldType::Integer ? std::numeric_limits<int>::max() : std::numeric_limits<qint64>::max();
        if (n < lo || n > hi)
            throw EngineError(ErrInvalidValue, QStringLiteral("Der Wert %1 liegt außerhalb des zulässigen Bereichs des Feldes \"%2\" (%3 bis %4).").arg(n).arg(displayLabel()).arg(lo).arg(hi));
        if (m_def.type == FieldType::LargeInt)
            return QVariant(n);
        return QVariant(int(n));
    }
    case FieldType::Boolean: {
        if (isText) {
            QString s = text.trimmed().toUpper();
            if (s == QLatin1String("TRUE") || s == QLatin1String("T") || s == QLatin1String("JA") || s == QLatin1String("J") || s == QLatin1String("1") || s == QLatin1String("Y") || s == QLatin1String("YES"))
                return true;
            if (s == QLatin1String("FALSE") || s == QLatin1String("F") || s == QLatin1String("NEIN") || s == QLatin1String("N") || s == QLatin1String("0") || s == QLatin1String("NO"))
                return false;
            throw badValue(*this, text);
        }
        return QVariant(v.toBool());
    }
    case FieldType::Float: {
        bool ok = true;
        double d = isText ? QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok) : v.toDouble(&ok);
        if (!ok)
            throw badValue(*this, v.toString());
        return d;
    }
    case FieldType::Date: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else if (isText) {
            QString s = text.trimmed();
            d = QDate::fromString(s, QStringLiteral("d.M.yyyy"));
            if (!d.isValid())
                d = QDate::fromString(s, Qt::ISODate);
            if (!d.isValid()) {
                d = QDate::fromString(s, QStringLiteral("d.M.yy"));
                if (d.isValid() && d.year() < 1930)
                    d = d.addYears(100);
            }
        }
        if (!d.isValid() || d.year() < 1 || d.year() > 9999)
            throw EngineError(ErrInvalidValue, QStringLiteral("\"%1\" ist kein gültiges Datum für das Feld \"%2\".").arg(v.toString(), displayLabel()));
        return d;
    }
    case FieldType::Graphic: {
        QByteArray b = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : platform::toCp1252(v.toString());
        return b.isEmpty() ? QVariant() : QVariant(b);
    }
    }
    return v;
}

void Field::setValue(const QVariant &v)
{
    m_owner->fieldWritten(this, v);
}

} // namespace engine
