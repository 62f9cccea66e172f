#include "data/recordsql.h"

#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

namespace recordsql {

static engine::TableFile &fileOf(const engine::Table &t)
{
    if (!t.active() || !t.file())
        engine::raise(engine::ErrClosed,
                      QStringLiteral("Die Tabelle \"%1\" ist nicht geöffnet.").arg(t.tableName()));
    return *t.file();
}

QString tableRef(const engine::Table &t)
{
    return engine::Session::sqlTableName(fileOf(t));
}

static void bindAll(engine::Stmt &st, const QVariantList &binds)
{
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
}

QVariant scalar(engine::Session &s, const QString &sql, const QVariantList &binds)
{
    engine::Stmt st(s.handle(), sql);
    bindAll(st, binds);
    const int rc = st.step();
    if (rc == SQLITE_ROW) {
        switch (sqlite3_column_type(st.get(), 0)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return st.integer(0);
        default:
            return st.text(0);
        }
    }
    if (rc != SQLITE_DONE)
        s.fail(rc, sql);
    return {};
}

qint64 count(engine::Session &s, const QString &sql, const QVariantList &binds)
{
    return scalar(s, sql, binds).toLongLong();
}

int change(const engine::Table &t, const QString &sql, const QVariantList &binds)
{
    engine::TableFile &file = fileOf(t);
    engine::Session &s = t.session();
    s.admitWrite(file);
    engine::Stmt st(s.handle(), sql);
    bindAll(st, binds);
    const int rc = st.step();
    if (rc != SQLITE_DONE)
        s.fail(rc, sql, &file);
    return sqlite3_changes(s.handle());
}

static const QString kFilmsOfMedium =
    QStringLiteral("SELECT FilmNr, Len, LP, Frei, Titel, Untertitel FROM %1 "
                   "WHERE Medium = ?1 COLLATE BINARY AND KassNr = ?2 ORDER BY FilmNr");

static QList<TapeFilm> stepFilms(engine::Session &s, sqlite3_stmt *st, bool withTitles)
{
    QList<TapeFilm> r;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        TapeFilm f;
        f.filmNr = sqlite3_column_int(st, 0);
        f.len = sqlite3_column_int(st, 1);
        f.lp = sqlite3_column_int(st, 2) != 0;
        f.frei = sqlite3_column_int(st, 3) != 0;
        if (!withTitles) {
            r.append(f);
            continue;
        }
        if (const auto *t = sqlite3_column_text(st, 4))
            f.titel = QString::fromUtf8(reinterpret_cast<const char *>(t));
        if (const auto *t = sqlite3_column_text(st, 5))
            f.untertitel = QString::fromUtf8(reinterpret_cast<const char *>(t));
        r.append(f);
    }
    const int ext = sqlite3_extended_errcode(s.handle());
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        s.fail(ext, QStringLiteral("Filme lesen"));
    return r;
}

QList<TapeFilm> readFilms(const engine::Table &films, const QString &kind, int mediumNr)
{
    engine::Session &s = films.session();
    engine::Stmt st(s.handle(), kFilmsOfMedium.arg(tableRef(films)));
    st.bind(1, kind);
    st.bind(2, mediumNr);
    return stepFilms(s, st.get(), true);
}

FilmReader::~FilmReader()
{
    reset();
}

void FilmReader::reset()
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_file.reset();
}

void FilmReader::readAllFilms(const engine::Table &films)
{
    engine::Session &s = films.session();
    const std::shared_ptr<engine::TableFile> file = films.file();
    m_all.clear();
    m_haveAll = false;
    // The rows the statement per medium finds: kind and number not null.
    engine::Stmt st(s.handle(), QStringLiteral("SELECT Medium, KassNr, FilmNr, Len, LP, Frei FROM %1 "
                                               "WHERE Medium IS NOT NULL AND KassNr IS NOT NULL")
                                    .arg(tableRef(films)));
    int rc;
    QPair<QString, int> key;
    QByteArray lastKind;
    QList<TapeFilm> *list = nullptr;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const char *k = reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0));
        const int kLen = sqlite3_column_bytes(st.get(), 0);
        const int nr = sqlite3_column_int(st.get(), 1);
        if (!list || nr != key.second || lastKind.size() != kLen || std::memcmp(lastKind.constData(), k, size_t(kLen)) != 0) {
            lastKind = QByteArray(k, kLen);
            key = {QString::fromUtf8(lastKind), nr};
            list = &m_all[key];
        }
        TapeFilm f;
        f.filmNr = sqlite3_column_int(st.get(), 2);
        f.len = sqlite3_column_int(st.get(), 3);
        f.lp = sqlite3_column_int(st.get(), 4) != 0;
        f.frei = sqlite3_column_int(st.get(), 5) != 0;
        list->append(f);
    }
    if (rc != SQLITE_DONE)
        s.fail(rc, QString::fromUtf8(sqlite3_errmsg(s.handle())));
    for (QList<TapeFilm> &l : m_all)
        std::stable_sort(l.begin(), l.end(), [](const TapeFilm &a, const TapeFilm &b) { return a.filmNr < b.filmNr; });
    m_allFile = file;
    m_allGeneration = file->generation;
    m_haveAll = true;
}

QList<TapeFilm> FilmReader::read(const engine::Table &films, const QString &kind, int mediumNr)
{
    engine::Session &s = films.session();
    const std::shared_ptr<engine::TableFile> file = films.file();
    if (!m_burst) {
        // A burst of reads ends when control returns to the event loop;
        // what other programs changed meanwhile is read afresh after it.
        m_burst = std::make_shared<bool>(true);
        std::weak_ptr<bool> alive = m_burst;
        QTimer::singleShot(0, [this, alive] {
            if (!alive.lock())
                return;
            m_burst.reset();
            m_reads = 0;
            m_haveAll = false;
            m_all.clear();
        });
    }
    const bool allCurrent = m_haveAll && m_allFile.lock() == file && m_allGeneration == file->generation;
    if (!allCurrent && ++m_reads > ReadsBeforePass)
        readAllFilms(films);
    if (m_haveAll && m_allFile.lock() == file && m_allGeneration == file->generation)
        return m_all.value({kind, mediumNr});
    // A table file opened anew may carry the alias of an old one: compare the file.
    if (!m_stmt || m_file.lock() != file) {
        reset();
        const QByteArray sql = kFilmsOfMedium.arg(tableRef(films)).toUtf8();
        const int rc = sqlite3_prepare_v2(s.handle(), sql.constData(), int(sql.size()), &m_stmt, nullptr);
        if (rc != SQLITE_OK) {
            reset();
            s.fail(rc, QString::fromUtf8(sql));
        }
        m_file = file;
    }
    const QByteArray k = kind.toUtf8();
    sqlite3_bind_text(m_stmt, 1, k.constData(), int(k.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(m_stmt, 2, mediumNr);
    return stepFilms(s, m_stmt, false);
}

static const QString kFilmKey =
    QStringLiteral(" WHERE Medium = ?1 COLLATE BINARY AND KassNr = ?2 AND FilmNr = ?3");

void applyFilmSteps(const engine::Table &films, const QString &kind, int mediumNr,
                    const FilmSteps &steps)
{
    const QString ref = tableRef(films);
    const engine::TableDef &def = films.file()->def();
    for (const FilmStep &step : steps) {
        const QVariantList key{kind, mediumNr, step.filmNr};
        switch (step.kind) {
        case FilmStep::Renumber:
            change(films, QStringLiteral("UPDATE %1 SET FilmNr = ?4").arg(ref) + kFilmKey,
                   key + QVariantList{step.newFilmNr});
            break;
        case FilmStep::Delete:
            change(films, QStringLiteral("DELETE FROM %1").arg(ref) + kFilmKey, key);
            break;
        case FilmStep::Edit: {
            QStringList sets;
            QVariantList binds = key;
            auto set = [&](const char *field, const QVariant &v) {
                binds.append(v);
                sets.append(QStringLiteral("%1 = ?%2").arg(QLatin1String(field)).arg(binds.size()));
            };
            if (step.len)
                set("Len", *step.len);
            if (step.lp)
                set("LP", int(*step.lp));
            if (step.titel)
                set("Titel", step.titel->isEmpty() ? QVariant() : QVariant(*step.titel));
            if (step.untertitel)
                set("Untertitel", step.untertitel->isEmpty() ? QVariant() : QVariant(*step.untertitel));
            if (!sets.isEmpty())
                change(films, QStringLiteral("UPDATE %1 SET ").arg(ref) + sets.join(QStringLiteral(", "))
                                  + kFilmKey,
                       binds);
            break;
        }
        case FilmStep::Append: {
            // The new film gets the table's defaults for every field not set here.
            QStringList cols{QStringLiteral("Medium"), QStringLiteral("KassNr"),
                             QStringLiteral("FilmNr"), QStringLiteral("Titel"),
                             QStringLiteral("Len"), QStringLiteral("LP"), QStringLiteral("Frei")};
            QVariantList binds{kind, mediumNr, step.film.filmNr,
                               step.film.titel.isEmpty() ? QVariant() : QVariant(step.film.titel),
                               step.film.len, int(step.film.lp), int(step.film.frei)};
            if (!step.film.untertitel.isEmpty()) {
                cols.append(QStringLiteral("Untertitel"));
                binds.append(step.film.untertitel);
            }
            for (const engine::FieldDef &f : def.fields) {
                if (f.defaultValue.isNull() || cols.contains(f.name, Qt::CaseInsensitive))
                    continue;
                cols.append(f.name);
                binds.append(engine::storedForm(f.type, f.defaultValue));
            }
            QStringList marks;
            for (int i = 1; i <= cols.size(); ++i)
                marks.append(QStringLiteral("?%1").arg(i));
            QStringList quoted;
            for (const QString &c : cols)
                quoted.append(engine::quoteIdent(c));
            change(films,
                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(ref, quoted.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                   binds);
            break;
        }
        }
    }
}

} // namespace recordsql
