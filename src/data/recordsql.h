// Statements of the record rules on the open tables: counts, look-ups and
// multi-row changes run on the session's connection against the table files
// the data sets have attached, with values bound as parameters (never spliced
// into the text). Text comparisons are exact: letter case counts, as in the
// primary keys.
#pragma once

#include "data/tapearithmetic.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace engine {
class Session;
class Table;
}

namespace recordsql {

// The SQL name of the table file an open data set works on.
QString tableRef(const engine::Table &t);

// The first column of the first row (null when there is no row).
QVariant scalar(engine::Session &s, const QString &sql, const QVariantList &binds = {});
qint64 count(engine::Session &s, const QString &sql, const QVariantList &binds = {});
// A statement that changes the table file of t; returns the rows changed.
int change(const engine::Table &t, const QString &sql, const QVariantList &binds = {});

// The films of one medium in film-number order.
QList<TapeFilm> readFilms(const engine::Table &films, const QString &kind, int mediumNr);
// Applies the steps to the films of one medium (inside the caller's transaction).
void applyFilmSteps(const engine::Table &films, const QString &kind, int mediumNr,
                    const FilmSteps &steps);

} // namespace recordsql
