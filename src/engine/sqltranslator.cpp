#include "engine/sqltranslator.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <deque>

namespace engine::sql {

QString cat(std::initializer_list<QStringView> parts)
{
    qsizetype n = 0;
    for (QStringView p : parts)
        n += p.size();
    QString s;
    s.reserve(n);
    for (QStringView p : parts)
        s.append(p);
    return s;
}

QString quoteIdent(const QString &name)
{
    if (!name.contains(u'"'))
        return cat({u"\"", name, u"\""});
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return cat({u"\"", q, u"\""});
}

QString quoteText(const QString &text)
{
    QString q = text;
    q.replace(u'\'', QStringLiteral("''"));
    return u'\'' + q + u'\'';
}

QString typeName(ValueType t)
{
    switch (t) {
    case ValueType::Text: return QStringLiteral("Text");
    case ValueType::Memo: return QStringLiteral("Memo");
    case ValueType::Integer: return QStringLiteral("Ganzzahl");
    case ValueType::Float: return QStringLiteral("Zahl");
    case ValueType::Boolean: return QStringLiteral("Wahrheitswert");
    case ValueType::Date: return QStringLiteral("Datum");
    case ValueType::Time: return QStringLiteral("Uhrzeit");
    case ValueType::DateTime: return QStringLiteral("Zeitstempel");
    case ValueType::Blob: return QStringLiteral("Binärdaten");
    case ValueType::Unknown: break;
    }
    return QStringLiteral("unbestimmt");
}

void Translator::run(const Statement &st)
{
    m_out.kind = st.kind;
    switch (st.kind) {
    case StatementKind::Select: {
        std::vector<ResultColumn> cols;
        m_out.sql = select(*st.select, nullptr, &cols, true);
        m_out.columns = QList<ResultColumn>(cols.begin(), cols.end());
        break;
    }
    case StatementKind::Update: update(st); break;
    case StatementKind::Delete: remove(st); break;
    case StatementKind::Insert: insert(st); break;
    case StatementKind::AlterTable: alter(st); break;
    }
}

QString Translator::spanText(const Node *n) const
{
    return m_lex.source().mid(n->begin, n->end - n->begin).simplified();
}

const TableInfo *Translator::table(const TableRef &ref, int *index)
{
    QString &path = m_paths[ref.written];
    if (path.isEmpty()) {
        bool byLetterCase = false;
        path = m_ctx.pathResolver ? m_ctx.pathResolver(ref.written, &byLetterCase)
                                  : tablePathOf(ref.written, m_ctx.databaseFolder);
        if (byLetterCase)
            m_out.pathsExact = false;
    }
    const TableInfo *info = m_ctx.resolver ? m_ctx.resolver(path) : nullptr;
    if (!info)
        fail(QStringLiteral("Tabelle \"%1\" nicht gefunden").arg(ref.written), ref.begin);
    int i = m_out.tables.indexOf(info->filePath);
    if (i < 0) {
        m_out.tables.append(info->filePath);
        i = m_out.tables.size() - 1;
    }
    *index = i;
    return info;
}

ScopeTable Translator::scopeTable(const TableRef &ref, const QString &sqlAlias)
{
    ScopeTable t;
    t.info = table(ref, &t.index);
    t.alias = ref.alias;
    t.written = ref.written;
    t.baseName = QFileInfo(t.info->filePath).completeBaseName();
    t.sqlAlias = sqlAlias;
    return t;
}

QString Translator::tableSql(const TableInfo *info) const
{
    return quoteIdent(info->schema) + u'.' + quoteIdent(info->table);
}

// -- names ---------------------------------------------------------------

bool Translator::qualifierMatches(const ScopeTable &t, const QString &q)
{
    if (!t.alias.isEmpty())
        return t.alias.compare(q, Qt::CaseInsensitive) == 0;
    return t.baseName.compare(q, Qt::CaseInsensitive) == 0
        || t.written.compare(q, Qt::CaseInsensitive) == 0;
}

Value Translator::column(const Node *n, Scope *scope)
{
    for (Scope *s = scope; s; s = s->parent) {
        const ScopeTable *hit = nullptr;
        const FieldInfo *field = nullptr;
        for (const ScopeTable &t : s->tables) {
            if (!n->qualifier.isEmpty() && !qualifierMatches(t, n->qualifier))
                continue;
            const FieldInfo *f = t.info->field(n->text);
            if (!n->qualifier.isEmpty() && !f)
                fail(QStringLiteral("Feld \"%1\" gibt es in der Tabelle \"%2\" nicht")
                         .arg(n->text, n->qualifier),
                     n->begin);
            if (!f)
                continue;
            if (hit)
                fail(QStringLiteral("Feldname \"%1\" ist mehrdeutig; bitte den Tabellen-Alias davorsetzen")
                         .arg(n->text),
                     n->begin);
            hit = &t;
            field = f;
        }
        if (hit) {
            Value v;
            v.sql = hit->sqlAlias.isEmpty() ? quoteIdent(field->name)
                    : field->name.contains(u'"') ? hit->sqlAlias + u'.' + quoteIdent(field->name)
                                                  : cat({hit->sqlAlias, u".\"", field->name, u"\""});
            v.type = field->type;
            v.size = field->size;
            v.srcTable = hit;
            v.srcField = field->name;
            if (m_bareColumns && m_aggregateDepth == 0)
                m_bareColumns->push_back({n, v.sql});
            return v;
        }
    }
    if (!n->qualifier.isEmpty())
        fail(QStringLiteral("Tabelle oder Alias \"%1\" ist in dieser Abfrage nicht bekannt").arg(n->qualifier),
             n->begin);
    fail(QStringLiteral("Unbekanntes Feld \"%1\"").arg(n->text), n->begin);
}

int Translator::param(const Node *n)
{
    const QString key = n->text.toUpper();
    const auto known = m_paramIndex.constFind(key);
    if (known != m_paramIndex.cend())
        return *known;
    m_paramIndex.insert(key, int(m_out.params.size()));
    ParamUse p;
    p.name = n->text;
    p.sqlIndex = m_out.params.size() + 1;
    p.declared = m_ctx.paramType ? m_ctx.paramType(n->text) : ValueType::Unknown;
    m_out.params.append(p);
    return m_out.params.size() - 1;
}

// -- SELECT ---------------------------------------------------------------

bool Translator::hasAggregate(const Node *n, int depth)
{
    if (!n || depth > 2000)
        return false;
    if (n->kind == NK::Aggregate)
        return true;
    if (hasAggregate(n->a, depth + 1) || hasAggregate(n->b, depth + 1) || hasAggregate(n->c, depth + 1))
        return true;
    for (const Node *x : n->list)
        if (hasAggregate(x, depth + 1))
            return true;
    return false; // sub-queries aggregate on their own
}

QString Translator::orderTerm(const QString &sql, ValueType type, bool desc) const
{
    QString t = sql;
    if (isTextType(type) && !m_ctx.textCollation.isEmpty())
        t += QStringLiteral(" COLLATE ") + m_ctx.textCollation;
    if (desc)
        t += QStringLiteral(" DESC");
    return t;
}

QString Translator::core(const SelectCore &c, Scope *outer, std::vector<ResultColumn> *cols, bool top,
                         bool *liveOut, Scope *scopeOut, bool *aggregateOut)
{
    Scope &scope = *scopeOut;
    scope.parent = outer;
    QString from;
    m_lastItems.clear();
    for (const TableRef &ref : c.from) {
        const QString alias = u'q' + QString::number(m_aliasCounter++);
        ScopeTable t = scopeTable(ref, alias);
        for (const ScopeTable &other : scope.tables) {
            const QString a = t.alias.isEmpty() ? t.baseName : t.alias;
            const QString b = other.alias.isEmpty() ? other.baseName : other.alias;
            if (a.compare(b, Qt::CaseInsensitive) == 0)
                fail(QStringLiteral("Die Tabelle \"%1\" steht zweimal in der Abfrage; bitte Aliasnamen vergeben")
                         .arg(a),
                     ref.begin);
        }
        scope.tables.push_back(t);
    }
    // ON conditions see the tables joined so far; resolve them afterwards.
    {
        int i = 0;
        QString rebuilt;
        for (const TableRef &ref : c.from) {
            const ScopeTable &t = scope.tables[i];
            const QString item = tableSql(t.info) + QStringLiteral(" AS ") + t.sqlAlias;
            if (i == 0) {
                rebuilt = item;
            } else if (ref.join == JoinKind::Comma) {
                rebuilt += QStringLiteral(", ") + item;
            } else {
                const Value on = expr(ref.on, &scope);
                condition(on, ref.on);
                rebuilt += (ref.join == JoinKind::Left ? QStringLiteral(" LEFT JOIN ") : QStringLiteral(" JOIN "))
                           + item + QStringLiteral(" ON ") + on.sql;
            }
            ++i;
        }
        from = rebuilt;
    }

    bool isAggregate = !c.groupBy.empty() || hasAggregate(c.having);
    for (const SelectItem &it : c.items)
        if (it.expr && hasAggregate(it.expr))
            isAggregate = true;
    *aggregateOut = isAggregate;

    // GROUP BY first: the select list is checked against it.
    QStringList groupSql;
    std::vector<ValueType> groupTypes;
    for (const Node *g : c.groupBy) {
        const Value v = expr(g, &scope);
        if (v.aggregate)
            fail(QStringLiteral("Aggregatfunktionen sind in GROUP BY nicht erlaubt"), g->begin);
        groupSql << v.sql;
        groupTypes.push_back(v.type);
    }

    QStringList items;
    // A result of plain fields is read by row ids (one per table).
    bool lazy = top && !c.distinct && !isAggregate;
    std::vector<BareColumn> bare;
    auto checkGrouped = [&](const Value &v, std::vector<BareColumn> &cols) {
        if (!isAggregate || groupSql.contains(v.sql))
            return;
        for (const BareColumn &b : cols)
            if (!groupSql.contains(b.sql))
                fail(QStringLiteral("Das Feld \"%1\" muss in GROUP BY stehen oder in einer Aggregatfunktion")
                         .arg(b.node->text),
                     b.node->begin);
    };
    auto addColumn = [&](const QString &sql, const QString &name, ValueType type, int size,
                         const ScopeTable *src, const QString &srcField) {
        ResultColumn rc;
        rc.name = name;
        rc.type = type;
        rc.size = size;
        if (src) {
            rc.sourceTable = src->index;
            rc.sourceField = srcField;
            for (size_t k = 0; k < scope.tables.size(); ++k)
                if (&scope.tables[k] == src)
                    rc.sourceSlot = int(k);
        }
        cols->push_back(rc);
        items << sql;
        m_lastItems << sql;
    };
    for (const SelectItem &it : c.items) {
        if (it.star) {
            if (isAggregate)
                fail(QStringLiteral("\"*\" ist in einer Abfrage mit Aggregatfunktionen nicht erlaubt"), it.begin);
            bool any = false;
            for (const ScopeTable &t : scope.tables) {
                if (!it.starQualifier.isEmpty() && !qualifierMatches(t, it.starQualifier))
                    continue;
                any = true;
                for (const FieldInfo &f : t.info->fields)
                    addColumn(t.sqlAlias + u'.' + quoteIdent(f.name), f.name, f.type, f.size, &t, f.name);
            }
            if (!any)
                fail(QStringLiteral("Tabelle oder Alias \"%1\" ist in dieser Abfrage nicht bekannt")
                         .arg(it.starQualifier),
                     it.begin);
            continue;
        }
        bare.clear();
        m_bareColumns = &bare;
        m_aggregatesAllowed = true;
        const Value v = expr(it.expr, &scope);
        m_aggregatesAllowed = false;
        m_bareColumns = nullptr;
        checkGrouped(v, bare);
        QString name = it.alias;
        if (name.isEmpty())
            name = v.srcTable ? v.srcField : spanText(it.expr);
        if (it.expr->kind == NK::Aggregate && it.alias.isEmpty()) {
            // Aggregate columns are named by their function, in capitals,
            // so that the chart finds its COUNT column.
            const int paren = name.indexOf(u'(');
            if (paren > 0)
                name = name.left(paren).toUpper() + name.mid(paren);
        }
        if (!v.srcTable)
            lazy = false;
        addColumn(v.sql, name, v.type, v.size, v.srcTable, v.srcField);
    }
    if (top && liveOut)
        *liveOut = lazy;

    QString sql = QStringLiteral("SELECT ");
    if (c.distinct)
        sql += QStringLiteral("DISTINCT ");
    sql += items.join(QStringLiteral(", "));
    if (lazy) {
        m_out.slotTables.clear();
        for (const ScopeTable &t : scope.tables) {
            sql += cat({u", ", t.sqlAlias, u".", t.info->rowIdColumn});
            m_out.slotTables << t.index;
        }
    }
    sql += QStringLiteral(" FROM ") + from;
    // The conditions this WHERE requires, for searches among them (a
    // sub-query in it has its own).
    const std::vector<const Node *> outerTerms = std::move(m_searchTerms);
    m_searchTerms.clear();
    // Only where the rows come in an order of their own whatever plan
    // SQLite takes: the rows of one keyed table at the top (a sub-query
    // without ORDER BY gives its first row as the plan finds it).
    if (c.where && top && m_out.kind == StatementKind::Select && scope.tables.size() == 1
        && !scope.tables[0].info->primaryKey.isEmpty()) {
        if (c.where->kind == NK::And)
            m_searchTerms.assign(c.where->list.begin(), c.where->list.end());
        else
            m_searchTerms.push_back(c.where);
    }
    sql += whereClause(c.where, &scope);
    m_searchTerms = outerTerms;
    if (!groupSql.isEmpty())
        sql += QStringLiteral(" GROUP BY ") + groupSql.join(QStringLiteral(", "));
    if (c.having) {
        bare.clear();
        m_bareColumns = &bare;
        m_aggregatesAllowed = true;
        const Value h = expr(c.having, &scope);
        m_aggregatesAllowed = false;
        m_bareColumns = nullptr;
        condition(h, c.having);
        for (const BareColumn &b : bare)
            if (!groupSql.contains(b.sql))
                fail(QStringLiteral("Das Feld \"%1\" muss in GROUP BY stehen oder in einer Aggregatfunktion")
                         .arg(b.node->text),
                     b.node->begin);
        sql += QStringLiteral(" HAVING ") + h.sql;
    }
    // Groups come sorted by their keys, as the program's statistics expect.
    m_groupOrder.clear();
    for (int i = 0; i < groupSql.size(); ++i)
        m_groupOrder << orderTerm(groupSql[i], groupTypes[i], false);
    return sql;
}

void Translator::uniqueNames(std::vector<ResultColumn> &cols)
{
    // A name already taken (in any letter case) gets "_1", "_2", ...;
    // each base remembers the last number it gave, so that thousands of
    // equal columns take linear time.
    QSet<QString> taken;
    QHash<QString, int> lastSuffix;
    taken.reserve(qsizetype(cols.size()));
    for (ResultColumn &c : cols) {
        const QString key = c.name.toUpper();
        if (!taken.contains(key)) {
            taken.insert(key);
            continue;
        }
        int &k = lastSuffix[key];
        QString name;
        do {
            name = c.name + u'_' + QString::number(++k);
        } while (taken.contains(name.toUpper()));
        taken.insert(name.toUpper());
        c.name = name;
    }
}

QString Translator::select(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top)
{
    // A sub-query has its own aggregates and grouping.
    const auto savedBare = m_bareColumns;
    const bool savedAllowed = m_aggregatesAllowed;
    const int savedDepth = m_aggregateDepth;
    const QStringList savedItems = m_lastItems;
    const QStringList savedGroups = m_groupOrder;
    m_bareColumns = nullptr;
    m_aggregatesAllowed = false;
    m_aggregateDepth = 0;
    const QString sql = selectInner(s, outer, cols, top);
    m_bareColumns = savedBare;
    m_aggregatesAllowed = savedAllowed;
    m_aggregateDepth = savedDepth;
    m_lastItems = savedItems;
    m_groupOrder = savedGroups;
    return sql;
}

QString Translator::selectInner(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top)
{
    const bool compound = s.cores.size() > 1;
    m_out.compoundTerms = std::max(m_out.compoundTerms, int(s.cores.size()));
    std::deque<Scope> scopes;
    QStringList parts;
    bool live = false;
    bool aggregate = false;
    QStringList groupOrder;
    QStringList firstItems;
    for (size_t i = 0; i < s.cores.size(); ++i) {
        std::vector<ResultColumn> coreCols;
        scopes.emplace_back();
        bool coreLive = false;
        const QString part = core(*s.cores[i], outer, &coreCols, top && !compound, &coreLive, &scopes.back(),
                                  &aggregate);
        if (i == 0) {
            *cols = coreCols;
            live = coreLive;
            groupOrder = m_groupOrder;
            firstItems = m_lastItems;
        } else {
            if (coreCols.size() != cols->size())
                fail(QStringLiteral("Die Teile der UNION liefern unterschiedlich viele Spalten (%1 und %2)")
                         .arg(cols->size())
                         .arg(coreCols.size()),
                     s.cores[i]->begin);
            for (size_t k = 0; k < coreCols.size(); ++k) {
                ResultColumn &c = (*cols)[k];
                const ValueType a = c.type, b = coreCols[k].type;
                if (!comparable(a, b))
                    fail(QStringLiteral("Spalte %1 der UNION: %2 und %3 passen nicht zusammen")
                             .arg(k + 1)
                             .arg(typeName(a), typeName(b)),
                         s.cores[i]->begin);
                if (a == ValueType::Unknown)
                    c.type = b;
                c.size = qMax(c.size, coreCols[k].size);
                if (c.sourceTable != coreCols[k].sourceTable || c.sourceField != coreCols[k].sourceField) {
                    c.sourceTable = -1;
                    c.sourceField.clear();
                }
            }
            parts << (s.unionAll[i - 1] ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION "));
        }
        parts << part;
    }
    uniqueNames(*cols);

    // ORDER BY, then the order the rows would have anyway: key order for
    // one table, group keys, or all columns of a DISTINCT or UNION result.
    QStringList order;
    QSet<QString> ordered;
    auto addOrder = [&](const QString &term, const QString &key) {
        if (ordered.contains(key))
            return;
        ordered.insert(key);
        order << term;
    };
    const SelectCore &first = *s.cores[0];
    const bool positional = compound || first.distinct;
    for (const OrderItem &o : s.orderBy) {
        int pos = -1;
        if (o.expr->kind == NK::NumLit) {
            pos = o.expr->text.toInt();
            if (pos < 1 || pos > int(cols->size()))
                fail(QStringLiteral("ORDER BY %1: so viele Spalten hat das Ergebnis nicht").arg(o.expr->text),
                     o.expr->begin);
        } else if (o.expr->kind == NK::Column && o.expr->qualifier.isEmpty()) {
            for (size_t k = 0; k < first.items.size() && pos < 0; ++k)
                if (!first.items[k].alias.isEmpty()
                    && first.items[k].alias.compare(o.expr->text, Qt::CaseInsensitive) == 0)
                    pos = -2 - int(k); // placeholder, resolved below
            if (pos < 0 && positional) {
                for (size_t k = 0; k < cols->size(); ++k)
                    if ((*cols)[k].name.compare(o.expr->text, Qt::CaseInsensitive) == 0) {
                        pos = int(k) + 1;
                        break;
                    }
            }
        }
        if (pos <= -2) {
            // An alias of the select list: find its column position.
            int k = -2 - pos, column = 0;
            for (int j = 0; j < k; ++j)
                column += first.items[j].star ? 0 : 1;
            bool hasStar = false;
            for (int j = 0; j < k; ++j)
                hasStar = hasStar || first.items[j].star;
            if (hasStar) {
                for (size_t j = 0; j < cols->size(); ++j)
                    if ((*cols)[j].name.compare(o.expr->text, Qt::CaseInsensitive) == 0)
                        column = int(j);
            }
            pos = column + 1;
        }
        if (pos > 0) {
            const ResultColumn &rc = (*cols)[pos - 1];
            addOrder(orderTerm(QString::number(pos), rc.type, o.desc), QString::number(pos));
            continue;
        }
        m_aggregatesAllowed = aggregate;
        const Value v = expr(o.expr, &scopes.front());
        m_aggregatesAllowed = false;
        if (positional) {
            // DISTINCT and UNION sort by result columns only.
            const int k = firstItems.indexOf(v.sql);
            if (k < 0)
                fail(QStringLiteral("ORDER BY darf hier nur Spalten des Ergebnisses nennen"), o.expr->begin);
            addOrder(orderTerm(QString::number(k + 1), v.type, o.desc), QString::number(k + 1));
            continue;
        }
        addOrder(orderTerm(v.sql, v.type, o.desc), v.sql);
    }
    if (top || !s.orderBy.empty()) {
        if (positional) {
            for (size_t k = 0; k < cols->size(); ++k)
                addOrder(orderTerm(QString::number(k + 1), (*cols)[k].type, false), QString::number(k + 1));
        } else if (!groupOrder.isEmpty()) {
            for (const QString &g : groupOrder)
                addOrder(g, g);
        } else if (!aggregate && (scopes.front().tables.size() == 1 || !s.orderBy.empty())) {
            // One table keeps its key order (the gap search of the
            // numbering relies on it); a join without ORDER BY comes in
            // the order SQLite finds it, since sorting it would cost more
            // than reading it. With ORDER BY the keys only break ties.
            // The key order is the primary index's own, exact order (as
            // the table cursor shows the rows), so SQLite walks that
            // index instead of sorting every row.
            for (const ScopeTable &t : scopes.front().tables) {
                for (const QString &key : t.info->primaryKey) {
                    const FieldInfo *f = t.info->field(key);
                    const QString sql = t.sqlAlias + u'.' + quoteIdent(f ? f->name : key);
                    addOrder(sql, sql);
                }
            }
        }
    }
    QString sql = parts.join(QString());
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    if (top) {
        m_out.live = live && m_out.slotTables.size() == 1;
        if (!live)
            m_out.slotTables.clear();
    }
    return sql;
}

// A LIKE the WHERE requires is a search: it keeps few rows of many. SQLite
// knows no figures about the tables, and would walk the key index to have
// the rows in key order, reading every row on the way; told that the
// search keeps few, it reads the table straight through and sorts what it
// found. A pattern of nothing but "%" keeps every row.
bool Translator::isSearchTerm(const Node *like) const
{
    if (std::find(m_searchTerms.begin(), m_searchTerms.end(), like) == m_searchTerms.end())
        return false;
    const Node *pattern = like->b;
    if (pattern->kind == NK::StrLit)
        return std::any_of(pattern->text.begin(), pattern->text.end(), [](QChar c) { return c != u'%'; });
    return true;
}

// " WHERE" and the condition; empty without one.
QString Translator::whereClause(const Node *where, Scope *scope)
{
    if (!where)
        return QString();
    const Value w = expr(where, scope);
    condition(w, where);
    return QStringLiteral(" WHERE ") + w.sql;
}

// -- changes --------------------------------------------------------------

void Translator::targetScope(const Statement &st, Scope *scope)
{
    ScopeTable t = scopeTable(st.target, QString());
    // Columns of the changed table go unqualified: SQLite knows no alias
    // in UPDATE and DELETE, and sub-queries name their own tables t0, t1...
    t.sqlAlias = quoteIdent(t.info->table);
    scope->tables.push_back(t);
    m_out.targetTable = t.index;
}

const FieldInfo *Translator::targetField(const ScopeTable &t, const QString &name, int offset)
{
    const FieldInfo *f = t.info->field(name);
    if (!f)
        fail(QStringLiteral("Feld \"%1\" gibt es in der Tabelle \"%2\" nicht").arg(name, t.written), offset);
    return f;
}

QString Translator::valueFor(const FieldInfo *f, const Node *n, Scope *scope)
{
    const Value v = expr(n, scope);
    const ValueType src = v.param >= 0 ? m_out.params[v.param].declared : v.type;
    if (!v.literal && !v.isNull && v.param < 0 && !comparable(f->type, src))
        fail(QStringLiteral("Typkonflikt: %1 passt nicht in das Feld \"%2\" (%3)")
                 .arg(typeName(src), f->name, typeName(f->type)),
             n->begin);
    // An empty text is an empty field, as the table store keeps it.
    if (v.literal && v.literal->text.isEmpty() && isTextType(f->type))
        return QStringLiteral("NULL");
    QString sql = as(v, f->type);
    if (f->type == ValueType::Text && f->size > 0 && !v.isNull)
        sql = QStringLiteral("substr(%1, 1, %2)").arg(sql).arg(f->size);
    return sql;
}

void Translator::update(const Statement &st)
{
    Scope scope;
    targetScope(st, &scope);
    const ScopeTable &t = scope.tables[0];
    QStringList sets;
    for (const Assignment &a : st.set) {
        const FieldInfo *f = targetField(t, a.field, a.begin);
        sets << quoteIdent(f->name) + QStringLiteral(" = ") + valueFor(f, a.value, &scope);
        m_out.written << f->name;
    }
    m_out.sql = QStringLiteral("UPDATE ") + tableSql(t.info) + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
    m_out.sql += whereClause(st.where, &scope);
}

void Translator::remove(const Statement &st)
{
    Scope scope;
    targetScope(st, &scope);
    m_out.sql = QStringLiteral("DELETE FROM ") + tableSql(scope.tables[0].info);
    m_out.sql += whereClause(st.where, &scope);
}

void Translator::insert(const Statement &st)
{
    Scope scope;
    targetScope(st, &scope);
    const ScopeTable &t = scope.tables[0];
    std::vector<const FieldInfo *> fields;
    if (st.insertFields.empty()) {
        for (const FieldInfo &f : t.info->fields)
            fields.push_back(&f);
    } else {
        for (size_t i = 0; i < st.insertFields.size(); ++i)
            fields.push_back(targetField(t, st.insertFields[i], st.insertFieldPos[i]));
    }
    QStringList names;
    for (const FieldInfo *f : fields)
        names << quoteIdent(f->name);
    for (const FieldInfo &f : t.info->fields)
        m_out.written << f.name;
    QString sql = QStringLiteral("INSERT INTO ") + tableSql(t.info) + QStringLiteral(" (") + names.join(u',')
                  + QStringLiteral(") ");
    Scope empty; // VALUES see no table
    if (!st.select) {
        if (st.insertValues.size() != fields.size())
            fail(QStringLiteral("%1 Werte für %2 Felder").arg(st.insertValues.size()).arg(fields.size()),
                 st.target.begin);
        QStringList values;
        for (size_t i = 0; i < fields.size(); ++i)
            values << valueFor(fields[i], st.insertValues[i], &empty);
        sql += QStringLiteral("VALUES (") + values.join(u',') + u')';
    } else {
        std::vector<ResultColumn> cols;
        const QString sub = select(*st.select, nullptr, &cols, false);
        if (cols.size() != fields.size())
            fail(QStringLiteral("Die Abfrage liefert %1 Spalten für %2 Felder").arg(cols.size()).arg(fields.size()),
                 st.target.begin);
        for (size_t i = 0; i < fields.size(); ++i)
            if (!comparable(fields[i]->type, cols[i].type))
                fail(QStringLiteral("Typkonflikt: Spalte %1 passt nicht in das Feld \"%2\"")
                         .arg(i + 1)
                         .arg(fields[i]->name),
                     st.target.begin);
        sql += sub;
    }
    m_out.sql = sql;
}

void Translator::alter(const Statement &st)
{
    int index = -1;
    const TableInfo *info = table(st.target, &index);
    m_out.targetTable = index;
    QSet<QString> names;
    for (const FieldInfo &f : info->fields)
        names.insert(f.name.toUpper());
    for (const AlterItem &it : st.alter) {
        const QString key = it.field.toUpper();
        if (it.drop) {
            if (!names.contains(key))
                fail(QStringLiteral("Feld \"%1\" gibt es in der Tabelle nicht").arg(it.field), it.begin);
            if (info->primaryKey.contains(it.field, Qt::CaseInsensitive))
                fail(QStringLiteral("Das Schlüsselfeld \"%1\" lässt sich nicht entfernen").arg(it.field), it.begin);
            names.remove(key);
        } else {
            if (names.contains(key))
                fail(QStringLiteral("Feld \"%1\" gibt es in der Tabelle bereits").arg(it.field), it.begin);
            names.insert(key);
        }
        AlterColumn c;
        c.name = it.field;
        c.type = it.type;
        c.size = it.size;
        c.drop = it.drop;
        m_out.alter.append(c);
    }
}

} // namespace engine::sql
