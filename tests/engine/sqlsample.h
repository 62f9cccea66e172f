// The four tables of a database as the translator sees them, for tests and
// the translator's fuzz target.
#pragma once

#include "engine/sqldialect.h"
#include "engine/sqlfunctions.h"

#include <sqlite3.h>

#include <QList>
#include <QStringList>

using engine::sql::ValueType;

// The four tables of a database, as the translator sees them.
inline QList<engine::sql::TableInfo> sampleTables(const QString &folder)
{
    using T = ValueType;
    QList<engine::sql::FieldInfo> med = {{"Medium", T::Text, 6}, {"Nr", T::Integer}, {"Len", T::Integer},
                                         {"Verliehen", T::Text, 30}, {"Verleihdatum", T::Date},
                                         {"Rueckgabedatum", T::Date}};
    for (int i = 1; i <= 5; ++i)
        med.append({QStringLiteral("Free%1").arg(i), T::Text, 100});
    med += QList<engine::sql::FieldInfo>{{"Memo", T::Memo}, {"Gedruckt", T::Boolean}, {"SN", T::Integer}};
    QList<engine::sql::FieldInfo> film = {{"Medium", T::Text, 6}, {"KassNr", T::Integer}, {"FilmNr", T::Integer},
                                          {"Titel", T::Text, 40}, {"Untertitel", T::Text, 60}, {"Len", T::Integer},
                                          {"LP", T::Boolean}, {"MW", T::Boolean}, {"SW", T::Boolean},
                                          {"Wide", T::Boolean}, {"Frei", T::Boolean}, {"Ton", T::Text, 1},
                                          {"Kateg", T::Text, 1}, {"Wertung", T::Integer}};
    for (int i = 1; i <= 15; ++i)
        film.append({QStringLiteral("Free%1").arg(i), T::Text, i > 13 ? 100 : 40});
    film += QList<engine::sql::FieldInfo>{{"Memo", T::Memo}, {"Grafik", T::Blob}};
    QList<engine::sql::FieldInfo> pers = {{"Name", T::Text, 40}, {"MF", T::Text, 1}};
    for (int i = 1; i <= 7; ++i)
        pers.append({QStringLiteral("Free%1").arg(i), T::Text, 100});
    pers += QList<engine::sql::FieldInfo>{{"Memo", T::Memo}, {"Grafik", T::Blob}};
    QList<engine::sql::FieldInfo> lab = {{"ANH", T::Text, 6}, {"FreeNr", T::Integer}, {"Label", T::Text, 40},
                                         {"FreeIsFL", T::Boolean}, {"FreeIsPerson", T::Boolean}};

    QList<engine::sql::TableInfo> out;
    auto add = [&](const QString &name, const QList<engine::sql::FieldInfo> &fields, const QStringList &key) {
        engine::sql::TableInfo t;
        t.filePath = folder + u'/' + name + QStringLiteral(".DB");
        t.schema = QStringLiteral("s") + name;
        t.table = QStringLiteral("data");
        t.fields = fields;
        t.primaryKey = key;
        out.append(t);
    };
    add(QStringLiteral("Med"), med, {"Medium", "Nr"});
    add(QStringLiteral("Film"), film, {"Medium", "KassNr", "FilmNr"});
    add(QStringLiteral("Pers"), pers, {"Name"});
    add(QStringLiteral("LAB"), lab, {"ANH", "FreeNr"});
    return out;
}

inline QString createTableSql(const engine::sql::TableInfo &t)
{
    QStringList cols;
    for (const auto &f : t.fields)
        cols << QStringLiteral("\"%1\"").arg(f.name);
    return QStringLiteral("CREATE TABLE %1.%2 (%3, PRIMARY KEY (%4))")
        .arg(t.schema, t.table, cols.join(u','), t.primaryKey.join(u','));
}


// Parameter types for statements of the sample corpus.
inline ValueType sampleParamType(const QString &name)
{
    static const QStringList flags = {"Filter", "M", "AuchInt", "Kategsuche"};
    if (name.endsWith(u'?') || flags.contains(name, Qt::CaseInsensitive))
        return ValueType::Boolean;
    if (name.compare(QLatin1String("W"), Qt::CaseInsensitive) == 0 || name.endsWith(u'%'))
        return ValueType::Integer;
    if (name.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0)
        return ValueType::Date;
    return ValueType::Text;
}

// A collation like the store's title order, good enough for tests: letters
// without regard to case, umlauts with their base letters, ties by code.
inline int sampleCollation(void *, int n1, const void *a, int n2, const void *b)
{
    auto fold = [](QString s) {
        s = s.toLower();
        s.replace(u'ä', u'a').replace(u'ö', u'o').replace(u'ü', u'u');
        return s.replace(QStringLiteral("ß"), QStringLiteral("ss"));
    };
    const QString x = QString::fromUtf8(static_cast<const char *>(a), n1);
    const QString y = QString::fromUtf8(static_cast<const char *>(b), n2);
    const int c = fold(x).compare(fold(y));
    return c != 0 ? c : x.compare(y);
}

// An in-memory connection with the sample tables attached (empty), the
// dialect's functions and the collation registered.
inline sqlite3 *openSampleDatabase(const QList<engine::sql::TableInfo> &tables)
{
    sqlite3 *db = nullptr;
    sqlite3_open(":memory:", &db);
    engine::sql::registerSqlFunctions(db);
    sqlite3_create_collation(db, "TARVO_DE", SQLITE_UTF8, nullptr, sampleCollation);
    for (const engine::sql::TableInfo &t : tables) {
        sqlite3_exec(db, QStringLiteral("ATTACH ':memory:' AS %1").arg(t.schema).toUtf8().constData(), nullptr,
                     nullptr, nullptr);
        sqlite3_exec(db, createTableSql(t).toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    return db;
}

// A translation context over the sample tables (which must outlive it).
inline engine::sql::TranslateContext sampleContext(const QList<engine::sql::TableInfo> &tables, const QString &folder)
{
    engine::sql::TranslateContext ctx;
    ctx.databaseFolder = folder;
    ctx.resolver = [&tables](const QString &p) -> const engine::sql::TableInfo * {
        for (const auto &t : tables)
            if (t.filePath == p)
                return &t;
        return nullptr;
    };
    ctx.paramType = sampleParamType;
    ctx.textCollation = QStringLiteral("TARVO_DE");
    return ctx;
}
