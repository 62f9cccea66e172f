#include "data/databaseinfo.h"

#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

bool usable(const engine::Table *t)
{
    return t && t->active() && !t->tableName().isEmpty();
}

// Count, sum and average of one film group.
void filmGroup(const QString &path, bool freeAreas, int &count, int &sum, int &avg)
{
    engine::Query q;
    q.setSql(FilmInfoSql(path, freeAreas));
    q.open();
    q.first();
    if (!q.eof()) {
        count = q.field(0)->asInteger();
        sum = q.field(1)->isNull() ? 0 : q.field(1)->asInteger();
        avg = q.field(2)->isNull() ? 0 : int(std::nearbyint(q.field(2)->asFloat()));
    }
    q.close();
}

int countOf(const QStringList &sql)
{
    engine::Query q;
    q.setSql(sql);
    q.open();
    q.first();
    const int n = q.eof() ? 0 : q.field(0)->asInteger();
    q.close();
    return n;
}

} // namespace

QStringList FilmInfoSql(const QString &filmPath, bool freeAreas)
{
    // Free areas are the films with Frei set; everything else, a NULL Frei
    // included, is a real film (grouping by Frei would make NULL a group).
    return {QStringLiteral("SELECT COUNT(*),SUM(Len),AVG(Len) FROM"), SQLTableRef(filmPath),
            freeAreas ? QStringLiteral("WHERE Frei = TRUE") : QStringLiteral("WHERE Frei IS NULL OR Frei <> TRUE")};
}

QStringList PersonInfoSql(const QString &persPath, const QString &sex)
{
    return {QStringLiteral("SELECT Count(*) FROM"), SQLTableRef(persPath), QStringLiteral("WHERE MF=\"") + QuoteSQLString(sex) + u'"'};
}

QStringList MediaKindInfoSql(const QString &mediaPath)
{
    return {QStringLiteral("SELECT Medium, COUNT(Nr) FROM"), SQLTableRef(mediaPath), QStringLiteral("GROUP BY Medium")};
}

TDatabaseInfo ComputeDatabaseInfo(engine::Table *films, engine::Table *persons, engine::Table *media)
{
    TDatabaseInfo info;
    if (usable(films)) {
        info.allFilms = films->recordCount();
        filmGroup(films->tableName(), false, info.realFilms, info.lenReal, info.avgReal);
        filmGroup(films->tableName(), true, info.freeAreas, info.lenFree, info.avgFree);
        info.lenAll = info.lenReal + info.lenFree;
    }
    if (usable(persons)) {
        info.persons = persons->recordCount();
        info.men = countOf(PersonInfoSql(persons->tableName(), QStringLiteral("M")));
        info.women = countOf(PersonInfoSql(persons->tableName(), QStringLiteral("F")));
        info.unstated = info.persons - info.men - info.women;
    }
    if (usable(media)) {
        engine::Query q;
        q.setSql(MediaKindInfoSql(media->tableName()));
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            const int n = q.field(1)->asInteger();
            info.kinds.append({q.field(0)->asString(), n});
            info.mediaSum += n;
        }
        q.close();
    }
    return info;
}

TCountAxis CountAxisFor(int largest)
{
    const qint64 top = std::max(largest, 1);
    qint64 step = 1;
    for (qint64 decade = 1;; decade *= 10) {
        const qint64 candidates[] = {decade, 2 * decade, 5 * decade};
        const auto fits = std::find_if(std::begin(candidates), std::end(candidates),
                                       [top](qint64 s) { return (top + s - 1) / s <= 10; });
        if (fits != std::end(candidates)) {
            step = *fits;
            break;
        }
    }
    TCountAxis axis;
    axis.step = step;
    axis.max = (top + step - 1) / step * step;
    return axis;
}
