// The figures of the database statistics: films and free areas with their
// lengths, persons by sex, media per kind.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace engine {
class Table;
}

struct TDatabaseInfo
{
    // Films: every entry of the film table, the real films and the free areas
    // (Frei set); a NULL Frei counts as a real film.
    int allFilms = 0;
    int realFilms = 0;
    int freeAreas = 0;
    int lenAll = 0, lenReal = 0, lenFree = 0;   // minutes
    int avgReal = 0, avgFree = 0;               // minutes, rounded half to even
    // Persons: "M" men, "F" women, the rest have no sex stated.
    int persons = 0, men = 0, women = 0, unstated = 0;
    // Media per kind, in the order of the query, and their sum.
    QList<QPair<QString, int>> kinds;
    int mediaSum = 0;
};

// The statements, each a list of lines (table paths in double quotes).
QStringList FilmInfoSql(const QString &filmPath, bool freeAreas);
QStringList PersonInfoSql(const QString &persPath, const QString &sex);
QStringList MediaKindInfoSql(const QString &mediaPath);

// The value axis of a chart of counts: 0 to max in steps of step, so that
// every tick is a whole number (at most ten steps of 1, 2 or 5 times a power
// of ten, max at least largest and at least 1).
struct TCountAxis
{
    qint64 max = 1;
    qint64 step = 1;
    int tickCount() const { return int(max / step) + 1; }
};
TCountAxis CountAxisFor(int largest);

// Runs the statements over the open tables; a closed or missing table leaves
// its figures 0. Throws engine::EngineError.
TDatabaseInfo ComputeDatabaseInfo(engine::Table *films, engine::Table *persons, engine::Table *media);
