// Statements of the record rules on the open tables: counts, look-ups and
// multi-row changes run on the session's connection against the table files
// the data sets have attached, with values bound as parameters (never spliced
// into the text). Text comparisons are exact: letter case counts, as in the
// primary keys.
#pragma once

#include "data/tapearithmetic.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3_stmt;

namespace engine {
class Session;
class Table;
class TableFile;
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
// The same without titles, for the calculated fields of every medium a grid
// or a filter looks at: the statement is prepared once per table file and kept.
// Many media asked for at once (the remaining-time filter, a grid's screen)
// are served by one pass over all films, kept until the films change or
// control returns to the event loop.
class FilmReader
{
public:
    FilmReader() = default;
    ~FilmReader();
    FilmReader(const FilmReader &) = delete;
    FilmReader &operator=(const FilmReader &) = delete;
    QList<TapeFilm> read(const engine::Table &films, const QString &kind, int mediumNr);

    // Media read one by one before the pass over all films takes over.
    static constexpr int ReadsBeforePass = 48;

private:
    void reset();
    void readAllFilms(const engine::Table &films);
    std::weak_ptr<engine::TableFile> m_file;
    sqlite3_stmt *m_stmt = nullptr;
    int m_reads = 0; // since control last returned to the event loop
    std::shared_ptr<bool> m_burst;
    // The pass: films per medium (kind and number) in film-number order.
    std::weak_ptr<engine::TableFile> m_allFile;
    quint64 m_allGeneration = 0;
    bool m_haveAll = false;
    QHash<QPair<QString, int>, QList<TapeFilm>> m_all;
};

// Applies the steps to the films of one medium (inside the caller's transaction).
void applyFilmSteps(const engine::Table &films, const QString &kind, int mediumNr,
                    const FilmSteps &steps);

} // namespace recordsql
