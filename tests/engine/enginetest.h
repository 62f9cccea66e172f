// Helpers shared by the engine's tests: tables in a temporary folder and
// records of the program's tables.
#pragma once

#include "fixtureschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <random>
#include <vector>

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

inline int nrOf(engine::DataSet &t) { return t.fieldByName(QStringLiteral("Nr"))->asInteger(); }

// The values of a walk from the current record to the end (the medium numbers
// unless another field is read).
inline QList<int> walkOn(engine::DataSet &t, int (*value)(engine::DataSet &) = nrOf)
{
    QList<int> out;
    for (; !t.eof(); t.next())
        out << value(t);
    return out;
}

// from, from + 2, ..., to.
inline QList<int> evens(int from, int to)
{
    QList<int> out;
    for (int n = from; n <= to; n += 2)
        out << n;
    return out;
}

// Media "DVD" 2, 4, ..., 2 * count with Len = 10 * Nr in a new media and film
// table in dir, each with its film 1 titled title(Nr) (and completed by
// more(films, Nr) when given), stored in an order shuffled by seed, so that
// row ids and key order differ.
inline void makeShuffledMedia(const QTemporaryDir &dir, QString &mediaPath, QString &filmPath, int count,
                              unsigned seed, const std::function<QString(int)> &title,
                              const std::function<void(engine::Table &, int)> &more = {})
{
    mediaPath = newTable(dir, QStringLiteral("Med.DB"), mediaDef());
    filmPath = newTable(dir, QStringLiteral("Film.DB"), filmDef());
    engine::Session s;
    engine::Table m(&s), f(&s);
    openTable(m, mediaPath);
    openTable(f, filmPath);
    std::vector<int> numbers;
    for (int i = 1; i <= count; ++i)
        numbers.push_back(2 * i);
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(seed));
    s.startTransaction();
    for (int nr : numbers) {
        appendMedium(m, QStringLiteral("DVD"), nr, 10 * nr);
        appendFilm(f, QStringLiteral("DVD"), nr, 1, title(nr));
        if (more)
            more(f, nr);
    }
    s.commit();
}

} // namespace enginetest
