// Definitions of a table: its fields with their validity checks, the primary
// key and the named secondary indexes. The program's tables are defined once
// in data/tableschemas; the store writes and reads these into each table file.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace engine {

enum class FieldType {
    String,   // text of at most size characters
    SmallInt, // 16-bit signed integer
    Integer,  // 32-bit signed integer
    LargeInt, // 64-bit signed integer (query results: counts, sums)
    Boolean,
    Float,    // query results: averages
    Date,
    Memo,     // unbounded text
    Graphic,  // picture bytes
};

QString fieldTypeName(FieldType type);

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;            // characters for String, else 0
    bool required = false;   // validity: a record must carry a value
    QVariant defaultValue;   // validity: given to a new record (null = none)

    FieldDef() = default;
    FieldDef(QString n, FieldType t, int s = 0, bool req = false, QVariant def = {})
        : name(std::move(n)), type(t), size(s), required(req), defaultValue(std::move(def)) {}
};

// Collation of the text fields of an index.
enum class Collation {
    Binary,  // exact, case-sensitive (the primary key's order)
    NoCase,  // letters compared without regard to case (umlauts included)
    German,  // title order: umlauts with their base letters, case breaks ties
};

struct IndexDef {
    QString name;            // "" for the primary index
    QStringList fields;
    bool primary = false;
    bool unique = false;
    bool descending = false;
    Collation collation = Collation::Binary;
};

struct TableDef {
    QString name;                    // for messages ("Med", "Film", ...)
    QList<FieldDef> fields;
    int primaryKeyFields = 0;        // the first n fields form the primary key; 0 = none
    QList<IndexDef> indexes;         // secondary indexes

    int fieldIndex(const QString &fieldName) const; // any letter case; -1 when absent
    IndexDef primaryIndex() const;
};

} // namespace engine
