#include "dbui/fieldtext.h"

#include "engine/engineerror.h"
#include "engine/field.h"

#include <QLocale>
#include <QRegularExpression>

namespace dbui {

namespace {

const QLocale &german()
{
    static const QLocale locale(QLocale::German, QLocale::Germany);
    return locale;
}

// Names the field by the caption the user sees.
[[noreturn]] void invalid(const engine::Field &field, const QString &text, const QString &what)
{
    engine::raise(engine::ErrInvalidValue,
                  QStringLiteral("'%1' ist im Feld \"%2\" %3.").arg(text, field.displayLabel(), what));
}

} // namespace

QString formatDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})\\s*[./-]\\s*(\\d{1,2})\\s*[./-]\\s*(\\d{2}|\\d{4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return {};
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 30 ? 2000 : 1900;
    return QDate(year, month, day);
}

QString editText(engine::FieldType type, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (type) {
    case engine::FieldType::Date:
        return formatDate(value.toDate());
    case engine::FieldType::Boolean:
        return value.toBool() ? QStringLiteral("Ja") : QStringLiteral("Nein");
    case engine::FieldType::Float:
        return german().toString(value.toDouble(), 'g', 15);
    case engine::FieldType::Graphic:
        return QString();
    default:
        return value.toString();
    }
}

QString displayText(engine::FieldType type, const QVariant &value)
{
    if (type == engine::FieldType::Memo) {
        const QString text = editText(type, value);
        const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
        return end < 0 ? text : text.left(end);
    }
    if (type == engine::FieldType::Graphic)
        return (!value.isValid() || value.isNull()
                || (value.typeId() != QMetaType::Bool && value.toByteArray().isEmpty()))
                   ? QString()
                   : QStringLiteral("(Grafik)");
    return editText(type, value);
}

QVariant parseText(const engine::Field &field, const QString &text)
{
    const QString t = field.dataType() == engine::FieldType::String
                              || field.dataType() == engine::FieldType::Memo
                          ? text
                          : text.trimmed();
    if (t.isEmpty())
        return QVariant();
    switch (field.dataType()) {
    case engine::FieldType::String:
    case engine::FieldType::Memo:
        return t;
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer:
    case engine::FieldType::LargeInt: {
        bool ok = false;
        const qlonglong v = t.toLongLong(&ok);
        if (!ok)
            invalid(field, t, QStringLiteral("kein gültiger Integerwert"));
        const qlonglong lo = field.dataType() == engine::FieldType::SmallInt ? -32768
                             : field.dataType() == engine::FieldType::Integer ? qlonglong(INT32_MIN)
                                                                               : LLONG_MIN;
        const qlonglong hi = field.dataType() == engine::FieldType::SmallInt ? 32767
                             : field.dataType() == engine::FieldType::Integer ? qlonglong(INT32_MAX)
                                                                               : LLONG_MAX;
        if (v < lo || v > hi)
            engine::raise(engine::ErrInvalidValue,
                          QStringLiteral("%1 ist kein gültiger Wert für das Feld '%2'. "
                                         "Der erlaubte Bereich ist %3 bis %4.")
                              .arg(t, field.displayLabel())
                              .arg(lo)
                              .arg(hi));
        return v;
    }
    case engine::FieldType::Float: {
        bool ok = false;
        double v = german().toDouble(t, &ok);
        if (!ok)
            v = t.toDouble(&ok);
        if (!ok)
            invalid(field, t, QStringLiteral("kein gültiger Gleitkommawert"));
        return v;
    }
    case engine::FieldType::Boolean: {
        const QString l = t.toLower();
        if (l == QLatin1String("ja") || l == QLatin1String("j") || l == QLatin1String("true")
            || l == QLatin1String("wahr") || l == QLatin1String("1") || l == QLatin1String("x"))
            return true;
        if (l == QLatin1String("nein") || l == QLatin1String("n") || l == QLatin1String("false")
            || l == QLatin1String("falsch") || l == QLatin1String("0"))
            return false;
        invalid(field, t, QStringLiteral("kein gültiger Wahrheitswert (Ja oder Nein)"));
    }
    case engine::FieldType::Date: {
        const QDate d = parseDate(t);
        if (!d.isValid())
            invalid(field, t, QStringLiteral("kein gültiges Datum (TT.MM.JJJJ)"));
        return d;
    }
    case engine::FieldType::Graphic:
        break;
    }
    return QVariant();
}

} // namespace dbui
