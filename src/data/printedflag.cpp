#include "data/printedflag.h"

#include "data/categories.h"
#include "data/recordsql.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"

#include <QSet>

#include <algorithm>
#include <utility>

void TMediumNrPairCollection::AddPair(const QString &medium, qint32 nr)
{
    m_items.append(TMediumNrPair{medium.left(6), nr});
}

void AppendMediumWhere(QStringList &lines, QVariantList &binds, const TMediumNrPairCollection &pairs, int first,
                       int count)
{
    lines << QStringLiteral("WHERE");
    const int last = std::min(pairs.count(), first + count);
    for (int i = first; i < last; ++i) {
        if (i > first)
            lines << QStringLiteral("OR");
        const int n = int(binds.size());
        lines << QStringLiteral("(Medium = ?%1 COLLATE BINARY AND Nr = ?%2)").arg(n + 1).arg(n + 2);
        binds << pairs.at(i).Medium << pairs.at(i).Nr;
    }
}

namespace {

// Runs body once per slice of the selection with the statement's condition.
template<typename Body>
void forEachSlice(const TMediumSelection &sel, Body body)
{
    if (sel.pairs && !sel.pairs->isEmpty()) {
        for (int first = 0; first < sel.pairs->count(); first += MediumWhereSlice) {
            QStringList lines;
            QVariantList binds;
            AppendMediumWhere(lines, binds, *sel.pairs, first, MediumWhereSlice);
            body(lines.join(QLatin1Char('\n')), binds);
        }
    } else if (!sel.whereText.trimmed().isEmpty()) {
        body(sel.whereText, QVariantList{});
    }
}

void bindAll(engine::Stmt &st, const QVariantList &binds)
{
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
}

} // namespace

bool TestPrintedFlag(const engine::Table &media, const TMediumSelection &sel, bool all, bool nullCounts)
{
    if (sel.empty())
        return false;
    engine::Session &s = media.session();
    const QString head = QStringLiteral("SELECT DISTINCT Gedruckt FROM %1\n").arg(recordsql::tableRef(media));
    bool seenTrue = false, seenFalse = false, seenNull = false;
    forEachSlice(sel, [&](const QString &where, const QVariantList &binds) {
        const QString sql = head + where;
        engine::Stmt st(s.handle(), sql);
        bindAll(st, binds);
        int rc;
        while ((rc = st.step()) == SQLITE_ROW) {
            if (sqlite3_column_type(st.get(), 0) == SQLITE_NULL)
                seenNull = true;
            else if (st.integer(0) != 0)
                seenTrue = true;
            else
                seenFalse = true;
        }
        if (rc != SQLITE_DONE)
            s.fail(rc, sql);
    });
    const int distinct = int(seenTrue) + int(seenFalse) + int(seenNull);
    if (distinct == 1)
        return seenTrue || (seenNull && nullCounts);
    if (distinct >= 2 && !all)
        return seenTrue || (seenNull && nullCounts);
    return false;
}

int SetPrintedFlag(const engine::Table &media, const TMediumSelection &sel, bool value)
{
    if (sel.empty())
        return 0;
    const QString flag = value ? QStringLiteral("1") : QStringLiteral("0");
    int changed = 0;
    engine::Session::Transaction tx(media.session());
    if (sel.pairs && !sel.pairs->isEmpty()) {
        // One prepared statement stepped per key: a medium listed twice is
        // changed (and counted) once.
        engine::Session &s = media.session();
        const QString sql = QStringLiteral("UPDATE %1\nSET Gedruckt = %2\nWHERE Medium = ?1 COLLATE BINARY AND Nr = ?2")
                                .arg(recordsql::tableRef(media), flag);
        s.admitWrite(*media.file());
        engine::Stmt st(s.handle(), sql);
        QSet<std::pair<QString, qint32>> seen;
        seen.reserve(sel.pairs->count());
        for (const TMediumNrPair &p : sel.pairs->items()) {
            if (seen.contains({p.Medium, p.Nr}))
                continue;
            seen.insert({p.Medium, p.Nr});
            const QByteArray kind = p.Medium.toUtf8();
            sqlite3_bind_text(st.get(), 1, kind.constData(), int(kind.size()), SQLITE_STATIC);
            sqlite3_bind_int(st.get(), 2, p.Nr);
            const int rc = st.step();
            sqlite3_reset(st.get());
            if (rc != SQLITE_DONE)
                s.fail(rc, sql, media.file().get());
            changed += sqlite3_changes(s.handle());
        }
    } else {
        forEachSlice(sel, [&](const QString &where, const QVariantList &binds) {
            changed += recordsql::change(media, QStringLiteral("UPDATE %1\nSET Gedruckt = %2\n")
                                                     .arg(recordsql::tableRef(media), flag) + where, binds);
        });
    }
    tx.commit();
    return changed;
}

TMediumNrPairCollection GetCategoryMediaPairs(const engine::Table &films, int category)
{
    TMediumNrPairCollection pairs;
    const QChar code = KategIndexToChar(category);
    if (code.isNull())
        return pairs;
    engine::Session &s = films.session();
    const QString sql = QStringLiteral("SELECT DISTINCT Medium, KassNr FROM %1\n"
                                       "WHERE Kateg = ?1 COLLATE BINARY\n"
                                       "AND (Medium = 'VHS-SB' COLLATE BINARY OR Medium = 'VHS-KK' COLLATE BINARY)")
                            .arg(recordsql::tableRef(films));
    engine::Stmt st(s.handle(), sql);
    st.bind(1, QString(code));
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        pairs.AddPair(st.text(0), qint32(st.integer(1)));
    if (rc != SQLITE_DONE)
        s.fail(rc, sql);
    return pairs;
}
