// Helpers shared by the engine's tests: tables in a temporary folder and
// records of the program's tables.
#pragma once

#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTemporaryDir>
#include <functional>

namespace enginetest {

// The code of the EngineError f throws, 0 when it throws none.
inline int errorCode(const std::function<void()> &f)
{
    try {
        f();
    } catch (const engine::EngineError &e) {
        return e.code();
    }
    return 0;
}

// A new empty table file in dir; returns its path.
inline QString newTable(const QTemporaryDir &dir, const QString &file, const engine::TableDef &def)
{
    QString path = dir.filePath(file);
    engine::createTableFile(path, def);
    return path;
}

inline void openTable(engine::Table &t, const QString &path)
{
    t.setTableName(path);
    t.open();
}

inline void appendMedium(engine::Table &t, const QString &kind, int nr, int len,
                         const QString &memo = QString())
{
    t.append();
    t.fieldByName(QStringLiteral("Medium"))->setValue(kind);
    t.fieldByName(QStringLiteral("Nr"))->setValue(nr);
    t.fieldByName(QStringLiteral("Len"))->setValue(len);
    if (!memo.isEmpty())
        t.fieldByName(QStringLiteral("Memo"))->setValue(memo);
    t.post();
}

inline void appendFilm(engine::Table &t, const QString &kind, int nr, int film, const QString &title,
                       const QString &kateg = QString())
{
    t.append();
    t.fieldByName(QStringLiteral("Medium"))->setValue(kind);
    t.fieldByName(QStringLiteral("KassNr"))->setValue(nr);
    t.fieldByName(QStringLiteral("FilmNr"))->setValue(film);
    t.fieldByName(QStringLiteral("Titel"))->setValue(title);
    if (!kateg.isEmpty())
        t.fieldByName(QStringLiteral("Kateg"))->setValue(kateg);
    t.post();
}

} // namespace enginetest
