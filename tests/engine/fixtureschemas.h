// The program's tables as the engine's tests use them: media, films, persons
// and captions with their fields, keys and indexes. Kept with the tests, so
// that they need nothing above the engine.
#pragma once

#include "engine/tabledef.h"

#include <QStringList>

namespace enginetest {

// Fields from a list "Name:kind" separated by blanks. Kinds: s<n> text of n
// characters, i 16-bit, l 32-bit, b Boolean, d date, m memo, g picture; a
// trailing "!" makes the field required, "=0" gives a Boolean the default
// false. "Free<a>-<b>:s<n>" stands for the fields Free<a> to Free<b>.
inline QList<engine::FieldDef> fieldsOf(const QString &list)
{
    using engine::FieldType;
    QList<engine::FieldDef> out;
    for (const QString &item : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString name = item.section(QLatin1Char(':'), 0, 0), kind = item.section(QLatin1Char(':'), 1);
        const bool required = kind.endsWith(QLatin1Char('!'));
        const bool defaultFalse = kind.endsWith(QLatin1String("=0"));
        kind.remove(QLatin1Char('!')).remove(QLatin1String("=0"));
        const int size = kind.mid(1).toInt();
        FieldType type = FieldType::String;
        switch (kind.at(0).toLatin1()) {
        case 'i': type = FieldType::SmallInt; break;
        case 'l': type = FieldType::Integer; break;
        case 'b': type = FieldType::Boolean; break;
        case 'd': type = FieldType::Date; break;
        case 'm': type = FieldType::Memo; break;
        case 'g': type = FieldType::Graphic; break;
        default: break;
        }
        int first = 0, last = -1;
        if (name.contains(QLatin1Char('-'))) {
            first = name.section(QLatin1Char('-'), 0, 0).remove(QStringLiteral("Free")).toInt();
            last = name.section(QLatin1Char('-'), 1).toInt();
        }
        for (int n = first; n <= qMax(first, last); ++n)
            out << engine::FieldDef(last < 0 ? name : QStringLiteral("Free%1").arg(n), type, size, required,
                                    defaultFalse ? QVariant(false) : QVariant());
    }
    return out;
}

inline engine::IndexDef indexOn(const QString &name, const QStringList &fields,
                                engine::Collation collation = engine::Collation::Binary)
{
    engine::IndexDef ix;
    ix.name = name;
    ix.fields = fields;
    ix.collation = collation;
    return ix;
}

// "iNrExcl", the index of numbering across all media.
inline engine::IndexDef nrExclIndex(const QString &field)
{
    return indexOn(QStringLiteral("iNrExcl"), {field}, engine::Collation::NoCase);
}

inline engine::TableDef tableOf(const QString &name, const QString &fields, int keyFields)
{
    engine::TableDef t;
    t.name = name;
    t.fields = fieldsOf(fields);
    t.primaryKeyFields = keyFields;
    return t;
}

inline engine::TableDef mediaDef(bool numberedAcrossAll = false)
{
    engine::TableDef t = tableOf(QStringLiteral("Med"),
                                 QStringLiteral("Medium:s6 Nr:i! Len:i! Verliehen:s40 Verleihdatum:d Rueckgabedatum:d "
                                                "Free1-4:s40 Free5:s100 Memo:m Gedruckt:b=0 SN:l"),
                                 2);
    if (numberedAcrossAll)
        t.indexes << nrExclIndex(QStringLiteral("Nr"));
    return t;
}

inline engine::TableDef filmDef(bool numberedAcrossAll = false)
{
    engine::TableDef t = tableOf(QStringLiteral("Film"),
                                 QStringLiteral("Medium:s6 KassNr:i FilmNr:i Titel:s40 Untertitel:s44 Len:l LP:b MW:b "
                                                "SW:b Wide:b Frei:b Ton:s1 Kateg:s1 Wertung:i Free1-6:s60 Free7-13:s40 "
                                                "Free14-15:s100 Memo:m Grafik:g"),
                                 3);
    t.indexes << indexOn(QStringLiteral("iTitel"), {QStringLiteral("Titel"), QStringLiteral("Untertitel")},
                         engine::Collation::German)
              << indexOn(QStringLiteral("Kateg"), {QStringLiteral("Kateg")});
    if (numberedAcrossAll)
        t.indexes << nrExclIndex(QStringLiteral("KassNr"));
    return t;
}

inline engine::TableDef personDef()
{
    return tableOf(QStringLiteral("Pers"), QStringLiteral("Name:s60 MF:s1 Free1-7:s80 Memo:m Grafik:g"), 1);
}

inline engine::TableDef captionDef()
{
    return tableOf(QStringLiteral("LAB"), QStringLiteral("ANH:s6 FreeNr:i Label:s40 FreeIsFL:b FreeIsPerson:b"), 2);
}

} // namespace enginetest
