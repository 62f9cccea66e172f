#include "engine/sqltranslator.h"

namespace engine::sql {

// -- typing helpers -------------------------------------------------------

// The SQL of a value as the given type wants it: string constants become
// numbers, dates or truth values; parameters learn what they should be.
QString Translator::as(const Value &v, ValueType want)
{
    if (v.param >= 0) {
        ParamUse &p = m_out.params[v.param];
        if (p.expected == ValueType::Unknown)
            p.expected = want;
        if (want == ValueType::Date && p.declared == ValueType::Text)
            return cat({u"tarvo_date(", v.sql, u")"});
        return v.sql;
    }
    if (!v.literal || isTextType(want) || want == ValueType::Unknown)
        return v.sql;
    const QString &text = v.literal->text;
    switch (want) {
    case ValueType::Integer:
    case ValueType::Float: {
        bool ok = false;
        const QString t = text.trimmed();
        const qlonglong i = t.toLongLong(&ok);
        if (ok)
            return QString::number(i);
        const double d = t.toDouble(&ok);
        if (ok)
            return QString::number(d, 'g', 17);
        fail(QStringLiteral("\"%1\" ist keine Zahl").arg(text), v.literal->begin);
    }
    case ValueType::Date: {
        const QDate d = parseDateConstant(text);
        if (!d.isValid())
            fail(QStringLiteral("Ungültiges Datum \"%1\" (erwartet: MM/TT/JJJJ)").arg(text), v.literal->begin);
        return quoteText(dateToStorage(d));
    }
    case ValueType::Boolean: {
        const QString t = text.trimmed().toUpper();
        if (t == QLatin1String("TRUE") || t == QLatin1String("T") || t == QLatin1String("WAHR"))
            return QStringLiteral("1");
        if (t == QLatin1String("FALSE") || t == QLatin1String("F") || t == QLatin1String("FALSCH"))
            return QStringLiteral("0");
        fail(QStringLiteral("\"%1\" ist kein Wahrheitswert (TRUE oder FALSE)").arg(text), v.literal->begin);
    }
    default:
        return v.sql;
    }
}

bool Translator::comparable(ValueType a, ValueType b)
{
    if (a == ValueType::Unknown || b == ValueType::Unknown)
        return true;
    if (isTextType(a) && isTextType(b))
        return true;
    if (isNumericType(a) && isNumericType(b))
        return true;
    return a == b;
}

// The type two sides of a comparison meet in; string constants and
// parameters adapt to the other side.
ValueType Translator::meet(const Value &l, const Value &r, const Node *where)
{
    auto flexible = [](const Value &v) { return v.literal || v.param >= 0 || v.isNull; };
    if (flexible(l) && !flexible(r))
        return r.type;
    if (flexible(r) && !flexible(l))
        return l.type;
    const ValueType lt = l.param >= 0 ? m_out.params[l.param].declared : l.type;
    const ValueType rt = r.param >= 0 ? m_out.params[r.param].declared : r.type;
    if (!comparable(lt, rt))
        fail(QStringLiteral("Typkonflikt: %1 und %2 lassen sich nicht vergleichen")
                 .arg(typeName(lt), typeName(rt)),
             where->begin);
    if (lt == ValueType::Unknown)
        return rt;
    if (isNumericType(lt) && isNumericType(rt))
        return (lt == ValueType::Float || rt == ValueType::Float) ? ValueType::Float : ValueType::Integer;
    return lt;
}

void Translator::requireText(const Value &v, const Node *n, const QString &what)
{
    const ValueType t = v.param >= 0 ? m_out.params[v.param].declared : v.type;
    if (t != ValueType::Unknown && !isTextType(t))
        fail(QStringLiteral("%1 ist nur auf Texte anwendbar, nicht auf %2").arg(what, typeName(t)), n->begin);
}

Value Translator::paramValue(const Node *n)
{
    Value v;
    v.param = param(n);
    v.sql = u'?' + QString::number(m_out.params[v.param].sqlIndex);
    v.type = m_out.params[v.param].declared;
    return v;
}

Value Translator::make(const QString &sql, ValueType type, int size)
{
    Value v;
    v.sql = sql;
    v.type = type;
    v.size = size;
    return v;
}

// -- expressions -----------------------------------------------------------

Value Translator::expr(const Node *n, Scope *scope)
{
    // Below SQLite's limit of 1000 levels (chains count a level per term).
    if (m_exprDepth > MaxExprDepth)
        fail(QStringLiteral("Der Ausdruck ist zu umfangreich"), n->begin);
    ++m_exprDepth;
    if (m_exprDepth > m_deepest) {
        m_deepest = m_exprDepth;
        m_deepestOffset = n->begin;
    }
    struct Leave
    {
        int &d;
        ~Leave() { --d; }
    } leave{m_exprDepth};
    // Chains of "+" go straight to their own loop.
    if (n->kind == NK::Arith)
        return arith(n, scope);
    return exprInner(n, scope);
}

// Each kind's work runs in a lambda of its own: the frame of this
// function, which every level of a nested expression keeps on the
// stack, stays small.
Value Translator::exprInner(const Node *n, Scope *scope)
{
    switch (n->kind) {
    case NK::Column:
        return column(n, scope);
    case NK::StrLit: return [&]() -> Value {
        Value v = make(quoteText(n->text), ValueType::Text, n->text.size());
        v.literal = n;
        return v;
    }();
    case NK::NumLit: return [&]() -> Value {
        const bool isFloat = n->text.contains(u'.') || n->text.contains(u'e') || n->text.contains(u'E');
        if (!isFloat) {
            bool ok = false;
            n->text.toLongLong(&ok);
            if (!ok)
                fail(QStringLiteral("Zahl \"%1\" ist zu groß").arg(n->text), n->begin);
        }
        return make(n->text, isFloat ? ValueType::Float : ValueType::Integer);
    }();
    case NK::BoolLit:
        return make(n->text == QLatin1String("TRUE") ? QStringLiteral("1") : QStringLiteral("0"),
                    ValueType::Boolean);
    case NK::NullLit: return [&]() -> Value {
        Value v = make(QStringLiteral("NULL"), ValueType::Unknown);
        v.isNull = true;
        return v;
    }();
    case NK::Param:
        return paramValue(n);
    case NK::Neg: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        if (a.literal)
            return make(QStringLiteral("(-%1)").arg(as(a, ValueType::Float)), ValueType::Float);
        numeric(a, n->a, QStringLiteral("Das Minuszeichen"));
        Value v = make(QStringLiteral("(-%1)").arg(a.sql), a.type == ValueType::Unknown ? ValueType::Integer : a.type);
        v.aggregate = a.aggregate;
        return v;
    }();
    case NK::Not: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        condition(a, n->a);
        return make(cat({u"(NOT ", a.sql, u")"}), ValueType::Boolean);
    }();
    case NK::And:
    case NK::Or: return [&]() -> Value {
        std::vector<const Node *> rest(n->list.begin(), n->list.end());
        QStringList terms;
        if (n->kind == NK::Or && n->list.size() >= 8) {
            const QString set = keySet(n, scope, &rest);
            if (!set.isEmpty())
                terms << set;
        }
        for (const Node *x : rest) {
            const Value v = expr(x, scope);
            condition(v, x);
            terms << v.sql;
        }
        return make(balanced(terms, 0, terms.size(), n->kind == NK::And ? u" AND " : u" OR "),
                    ValueType::Boolean);
    }();
    case NK::Compare: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        const Value b = expr(n->b, scope);
        const ValueType t = meet(a, b, n);
        // Texts compare in the order they sort in; "=" and "<>" stay exact.
        const bool ordered = n->text != QLatin1String("=") && n->text != QLatin1String("<>");
        return make(cat({u"(", ordered ? collated(as(a, t), t) : as(a, t), u" ", n->text, u" ", as(b, t), u")"}),
                    ValueType::Boolean);
    }();
    case NK::IsNull: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        // A blank text is an empty field: the store keeps it as NULL,
        // and a text that arrived empty from elsewhere counts the same.
        if (isTextType(a.type) && !a.literal)
            return make(n->negated ? cat({u"(", a.sql, u" <> '')"})
                                   : cat({u"(", a.sql, u" IS NULL OR ", a.sql, u" = '')"}),
                        ValueType::Boolean);
        return make(cat({u"(", a.sql, n->negated ? u" IS NOT NULL)" : u" IS NULL)"}),
                    ValueType::Boolean);
    }();
    case NK::Like: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        const Value b = expr(n->b, scope);
        requireText(a, n->a, QStringLiteral("LIKE"));
        requireText(b, n->b, QStringLiteral("LIKE"));
        as(a, ValueType::Text);
        as(b, ValueType::Text);
        // UPPER(x) LIKE ...: x is matched upper-cased as it is read, not
        // made a value of its own for every row first.
        const bool upper = !a.upperOf.isEmpty();
        const QStringView fn = upper ? u"tarvo_like_upper(" : u"tarvo_like(";
        const QStringView value = upper ? QStringView(a.upperOf) : QStringView(a.sql);
        QString call;
        if (n->c) {
            const Value e = expr(n->c, scope);
            requireText(e, n->c, QStringLiteral("ESCAPE"));
            as(e, ValueType::Text);
            call = cat({fn, value, u", ", b.sql, u", ", e.sql, u")"});
        } else {
            call = cat({fn, value, u", ", b.sql, u")"});
        }
        if (n->negated)
            return make(cat({u"(NOT ", call, u")"}), ValueType::Boolean);
        if (isSearchTerm(n))
            return make(cat({u"likelihood(", call, u", 0.001)"}), ValueType::Boolean);
        return make(call, ValueType::Boolean);
    }();
    case NK::Between: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        const Value lo = expr(n->b, scope);
        const Value hi = expr(n->c, scope);
        const ValueType t1 = meet(a, lo, n);
        const ValueType t2 = meet(a, hi, n);
        return make(QStringLiteral("(%1 %2BETWEEN %3 AND %4)")
                        .arg(collated(as(a, t1), t1), n->negated ? QStringLiteral("NOT ") : QString(), as(lo, t1),
                             as(hi, t2)),
                    ValueType::Boolean);
    }();
    case NK::InList: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        QStringList items;
        ValueType t = a.type;
        for (const Node *e : n->list) {
            const Value v = expr(e, scope);
            t = meet(a, v, e);
            items << as(v, t);
        }
        return make(QStringLiteral("(%1 %2IN (%3))")
                        .arg(as(a, t), n->negated ? QStringLiteral("NOT ") : QString(), items.join(u',')),
                    ValueType::Boolean);
    }();
    case NK::InSelect: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        std::vector<ResultColumn> cols;
        const QString sub = select(*n->sub, scope, &cols, false);
        if (cols.size() != 1)
            fail(QStringLiteral("Die Unterabfrage nach IN muss genau eine Spalte liefern"), n->begin);
        Value sv = make(QString(), cols[0].type);
        const ValueType t = meet(a, sv, n);
        return make(QStringLiteral("(%1 %2IN (%3))")
                        .arg(as(a, t), n->negated ? QStringLiteral("NOT ") : QString(), sub),
                    ValueType::Boolean);
    }();
    case NK::Exists: return [&]() -> Value {
        std::vector<ResultColumn> cols;
        const QString sub = select(*n->sub, scope, &cols, false);
        return make(QStringLiteral("(%1EXISTS (%2))").arg(n->negated ? QStringLiteral("NOT ") : QString(), sub),
                    ValueType::Boolean);
    }();
    case NK::ScalarSelect: return [&]() -> Value {
        std::vector<ResultColumn> cols;
        const QString sub = select(*n->sub, scope, &cols, false);
        if (cols.size() != 1)
            fail(QStringLiteral("Die Unterabfrage muss genau eine Spalte liefern"), n->begin);
        // SQLite would take the first of several rows; the dialect refuses.
        return make(QStringLiteral("tarvo_single((%1), (SELECT COUNT(*) FROM (%1 LIMIT 2)))").arg(sub),
                    cols[0].type, cols[0].size);
    }();
    case NK::Arith:
        return arith(n, scope);
    case NK::Func:
        return function(n, scope);
    case NK::Aggregate:
        return aggregate(n, scope);
    case NK::Cast:
        return cast(n, scope);
    case NK::Substring: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        requireText(a, n->a, QStringLiteral("SUBSTRING"));
        const Value from = expr(n->b, scope);
        numeric(from, n->b, QStringLiteral("Die Startposition"));
        QString sql;
        int size = a.size;
        if (n->c) {
            const Value len = expr(n->c, scope);
            numeric(len, n->c, QStringLiteral("Die Länge"));
            sql = cat({u"substr(", as(a, ValueType::Text), u", ", as(from, ValueType::Integer), u", ",
                       as(len, ValueType::Integer), u")"});
            if (n->c->kind == NK::NumLit)
                size = n->c->text.toInt();
        } else {
            sql = cat({u"substr(", as(a, ValueType::Text), u", ", as(from, ValueType::Integer), u")"});
        }
        Value v = make(sql, ValueType::Text, size);
        v.aggregate = a.aggregate;
        return v;
    }();
    case NK::Trim: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        requireText(a, n->a, QStringLiteral("TRIM"));
        QString chars = QStringLiteral("' '");
        if (n->b) {
            const Value c = expr(n->b, scope);
            requireText(c, n->b, QStringLiteral("TRIM"));
            chars = as(c, ValueType::Text);
        }
        const QString fn = n->text == QLatin1String("LEADING")
                               ? QStringLiteral("ltrim")
                               : n->text == QLatin1String("TRAILING") ? QStringLiteral("rtrim")
                                                                       : QStringLiteral("trim");
        return make(QStringLiteral("%1(%2, %3)").arg(fn, as(a, ValueType::Text), chars), ValueType::Text, a.size);
    }();
    case NK::Extract: return [&]() -> Value {
        const Value a = expr(n->a, scope);
        if (a.type != ValueType::Date && a.type != ValueType::DateTime && !a.literal && a.param < 0)
            fail(QStringLiteral("EXTRACT ist nur auf Datumswerte anwendbar"), n->begin);
        const int from = n->text == QLatin1String("YEAR") ? 1 : n->text == QLatin1String("MONTH") ? 6 : 9;
        const int len = n->text == QLatin1String("YEAR") ? 4 : 2;
        return make(QStringLiteral("CAST(substr(%1, %2, %3) AS INTEGER)").arg(as(a, ValueType::Date)).arg(from).arg(len),
                    ValueType::Integer);
    }();
    }
    fail(QStringLiteral("Ausdruck nicht unterstützt"), n->begin);
}

// A long OR of terms that each fix the same fields to constants, like
// the key sets the program builds ("(Medium = "DVD" AND Nr=3) OR ..."),
// becomes one IN over a list of values: SQLite plans a long OR slowly.
// Terms of another shape are left in *rest; empty when too few have it.
QString Translator::keySet(const Node *n, Scope *scope, std::vector<const Node *> *rest)
{
    auto isConstant = [](const Node *x) {
        return x->kind == NK::StrLit || x->kind == NK::NumLit || x->kind == NK::BoolLit;
    };
    auto equalities = [&](const Node *term, std::vector<const Node *> &out) {
        out.clear();
        std::vector<const Node *> parts;
        if (term->kind == NK::And)
            parts.assign(term->list.begin(), term->list.end());
        else
            parts.push_back(term);
        for (const Node *p : parts) {
            if (p->kind != NK::Compare || p->text != QLatin1String("="))
                return false;
            const bool colLeft = p->a->kind == NK::Column && isConstant(p->b);
            const bool colRight = p->b->kind == NK::Column && isConstant(p->a);
            if (!colLeft && !colRight)
                return false;
            out.push_back(p);
        }
        return true;
    };
    std::vector<const Node *> first;
    size_t start = 0;
    while (start < n->list.size() && !equalities(n->list[start], first))
        ++start;
    if (start == n->list.size())
        return QString();
    // The fields of the first term, in its order.
    QStringList fields;
    std::vector<ValueType> types;
    for (const Node *p : first) {
        const Node *col = p->a->kind == NK::Column ? p->a : p->b;
        const Value v = column(col, scope);
        if (fields.contains(v.sql))
            return QString();
        fields << v.sql;
        types.push_back(v.type);
    }
    QStringList rows;
    rows.reserve(qsizetype(n->list.size()));
    std::vector<const Node *> eqs;
    std::vector<const Node *> others;
    for (const Node *term : n->list) {
        QStringList values(fields.size());
        bool fits = equalities(term, eqs) && eqs.size() == first.size();
        for (size_t e = 0; fits && e < eqs.size(); ++e) {
            const Node *p = eqs[e];
            const bool colLeft = p->a->kind == NK::Column;
            const Value col = column(colLeft ? p->a : p->b, scope);
            const int k = int(fields.indexOf(col.sql));
            if (k < 0 || !values[k].isEmpty()) {
                fits = false;
                break;
            }
            const Value c = expr(colLeft ? p->b : p->a, scope);
            meet(col, c, p);
            values[k] = as(c, types[size_t(k)]);
        }
        if (!fits) {
            others.push_back(term);
            continue;
        }
        rows << (fields.size() == 1 ? values[0] : cat({u"(", values.join(u", "), u")"}));
    }
    if (rows.size() < 8)
        return QString();
    *rest = std::move(others);
    if (fields.size() == 1)
        return cat({u"(", fields[0], u" IN (", rows.join(u", "), u"))"});
    return cat({u"((", fields.join(u", "), u") IN (VALUES ", rows.join(u", "), u"))"});
}

// Terms joined in a balanced tree of brackets: SQLite limits how deep
// an expression may nest.
QString Translator::balanced(const QStringList &terms, qsizetype from, qsizetype to, QStringView op)
{
    if (to - from == 1)
        return terms[from];
    const qsizetype mid = from + (to - from) / 2;
    return cat({u"(", balanced(terms, from, mid, op), op, balanced(terms, mid, to, op), u")"});
}

void Translator::numeric(const Value &v, const Node *n, const QString &what)
{
    const ValueType t = v.param >= 0 ? m_out.params[v.param].declared : v.type;
    if (v.param >= 0 && t == ValueType::Unknown) {
        m_out.params[v.param].expected = ValueType::Integer;
        return;
    }
    if (t != ValueType::Unknown && !isNumericType(t) && !v.literal)
        fail(QStringLiteral("%1 verlangt eine Zahl, nicht %2").arg(what, typeName(t)), n->begin);
}

void Translator::condition(const Value &v, const Node *n)
{
    const ValueType t = v.param >= 0 ? m_out.params[v.param].declared : v.type;
    if (t != ValueType::Unknown && t != ValueType::Boolean)
        fail(QStringLiteral("Hier wird eine Bedingung erwartet, nicht %1").arg(typeName(t)), n->begin);
    if (v.param >= 0)
        m_out.params[v.param].expected = ValueType::Boolean;
}

// A chain "a + b - c ..." is a left-deep tree, one level per term: it is
// walked down its left side here, not recursively, so that thousands of
// terms need no deeper stack than one.
Value Translator::arith(const Node *n, Scope *scope)
{
    std::vector<const Node *> spine;
    const Node *x = n;
    while (x->kind == NK::Arith) {
        spine.push_back(x);
        x = x->a;
    }
    // SQLite nests as deep as the chain is long.
    if (m_exprDepth + int(spine.size()) > MaxExprDepth)
        fail(QStringLiteral("Der Ausdruck ist zu umfangreich"), n->begin);
    Value acc = expr(x, scope);
    for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        const Value b = expr((*it)->b, scope);
        acc = combine(*it, acc, b);
    }
    return acc;
}

Value Translator::combine(const Node *n, const Value &a, const Value &b)
{
    const ValueType at = a.param >= 0 ? m_out.params[a.param].declared : a.type;
    const ValueType bt = b.param >= 0 ? m_out.params[b.param].declared : b.type;
    const QString op = n->text;
    Value v;
    v.aggregate = a.aggregate || b.aggregate;
    if (op == QLatin1String("||") || (op == QLatin1String("+") && (isTextType(at) || isTextType(bt)))) {
        if ((at == ValueType::Blob) || (bt == ValueType::Blob))
            fail(QStringLiteral("Binärdaten lassen sich nicht verketten"), n->begin);
        // Joining texts: an empty field adds nothing.
        auto pieces = [](const Value &x) {
            if (!x.concat.isEmpty())
                return x.concat;
            return QStringList{x.isNull ? QStringLiteral("''") : cat({u"coalesce(", x.sql, u", '')"})};
        };
        v.concat = pieces(a) + pieces(b);
        v.sql = cat({u"(", v.concat.join(u" || "), u")"});
        v.type = ValueType::Text;
        v.size = qMin(255, a.size + b.size);
        return v;
    }
    // Dates: date + days, date - days, date - date.
    if (at == ValueType::Date && (op == QLatin1String("+") || op == QLatin1String("-")) && isNumericType(bt)) {
        v.sql = QStringLiteral("date(%1, (%2) || ' days')")
                    .arg(a.sql, op == QLatin1String("-") ? QStringLiteral("-(%1)").arg(b.sql) : b.sql);
        v.type = ValueType::Date;
        return v;
    }
    if (at == ValueType::Date && bt == ValueType::Date && op == QLatin1String("-")) {
        v.sql = QStringLiteral("CAST(julianday(%1) - julianday(%2) AS INTEGER)").arg(a.sql, b.sql);
        v.type = ValueType::Integer;
        return v;
    }
    const QString what = u'"' + op + u'"';
    numeric(a, n->a, what);
    numeric(b, n->b, what);
    const bool isFloat = at == ValueType::Float || bt == ValueType::Float || op == QLatin1String("/");
    const QString left = as(a, isFloat ? ValueType::Float : ValueType::Integer);
    const QString right = as(b, isFloat ? ValueType::Float : ValueType::Integer);
    if (op == QLatin1String("/")) {
        v.sql = QStringLiteral("(CAST(%1 AS REAL) / %2)").arg(left, right);
    } else {
        // Left-associative: a chain goes on without brackets.
        const char kind = op == QLatin1String("*") ? '*' : '+';
        v.chainKind = kind;
        v.chain = cat({a.chainKind == kind ? QStringView(a.chain) : QStringView(left), u" ", op, u" ", right});
        v.sql = cat({u"(", v.chain, u")"});
    }
    v.type = isFloat ? ValueType::Float : ValueType::Integer;
    return v;
}

Value Translator::function(const Node *n, Scope *scope)
{
    auto arity = [&](int count) {
        if (int(n->list.size()) != count)
            fail(QStringLiteral("%1 erwartet %2 Argument(e)").arg(n->text).arg(count), n->begin);
    };
    const QString &f = n->text;
    if (f == QLatin1String("UPPER") || f == QLatin1String("LOWER")) {
        arity(1);
        const Value a = expr(n->list[0], scope);
        requireText(a, n->list[0], f);
        const QString arg = as(a, ValueType::Text);
        Value v = make(cat({f == QLatin1String("UPPER") ? u"tarvo_upper(" : u"tarvo_lower(", arg, u")"}),
                       a.type == ValueType::Memo ? ValueType::Memo : ValueType::Text, a.size);
        if (f == QLatin1String("UPPER"))
            v.upperOf = arg;
        v.aggregate = a.aggregate;
        if (a.param >= 0 && m_out.params[a.param].expected == ValueType::Unknown)
            m_out.params[a.param].expected = ValueType::Text;
        return v;
    }
    fail(QStringLiteral("Unbekannte Funktion \"%1\"").arg(f), n->begin);
}

Value Translator::aggregate(const Node *n, Scope *scope)
{
    if (m_aggregateDepth > 0)
        fail(QStringLiteral("Aggregatfunktionen lassen sich nicht verschachteln"), n->begin);
    if (!m_aggregatesAllowed)
        fail(QStringLiteral("%1 ist hier nicht erlaubt").arg(n->text), n->begin);
    Value v;
    v.aggregate = true;
    if (n->star) {
        v.sql = QStringLiteral("COUNT(*)");
        v.type = ValueType::Integer;
        return v;
    }
    ++m_aggregateDepth;
    const Value a = expr(n->a, scope);
    --m_aggregateDepth;
    const QString d = n->distinct ? QStringLiteral("DISTINCT ") : QString();
    const QString &f = n->text;
    if (f == QLatin1String("COUNT")) {
        v.sql = cat({u"COUNT(", d, a.sql, u")"});
        v.type = ValueType::Integer;
    } else if (f == QLatin1String("SUM") || f == QLatin1String("AVG")) {
        numeric(a, n->a, f);
        v.sql = QStringLiteral("%1(%2%3)").arg(f, d, a.sql);
        v.type = f == QLatin1String("AVG") || a.type == ValueType::Float ? ValueType::Float : ValueType::Integer;
    } else {
        // MIN and MAX of texts follow the sort order, as comparisons do.
        v.sql = QStringLiteral("%1(%2%3)").arg(f, d, collated(a.sql, a.type));
        v.type = a.type;
        v.size = a.size;
    }
    return v;
}

// A text operand of an ordering comparison, in the sort order's collation.
QString Translator::collated(const QString &sql, ValueType type) const
{
    if (!isTextType(type) || m_ctx.textCollation.isEmpty())
        return sql;
    bool plain = true; // a column name needs no brackets
    for (QChar c : sql)
        plain = plain && (c.isLetterOrNumber() || c == u'"' || c == u'.' || c == u'_');
    if (plain)
        return cat({sql, u" COLLATE ", m_ctx.textCollation});
    return cat({u"(", sql, u") COLLATE ", m_ctx.textCollation});
}

Value Translator::cast(const Node *n, Scope *scope)
{
    const Value a = expr(n->a, scope);
    Value v;
    v.aggregate = a.aggregate;
    v.type = n->castType;
    switch (n->castType) {
    case ValueType::Text: {
        QString text = a.sql;
        if (a.type == ValueType::Boolean)
            text = QStringLiteral("CASE %1 WHEN 1 THEN 'TRUE' WHEN 0 THEN 'FALSE' END").arg(a.sql);
        else if (a.type == ValueType::Date)
            text = QStringLiteral("strftime('%m/%d/%Y', %1)").arg(a.sql);
        else if (!isTextType(a.type))
            text = QStringLiteral("CAST(%1 AS TEXT)").arg(a.sql);
        v.sql = QStringLiteral("substr(%1, 1, %2)").arg(text).arg(n->castSize);
        v.size = n->castSize;
        return v;
    }
    case ValueType::Integer:
    case ValueType::Float:
        if (a.literal) {
            v.sql = as(a, n->castType);
        } else if (a.type == ValueType::Date || a.type == ValueType::Blob) {
            fail(QStringLiteral("%1 lässt sich nicht in eine Zahl umwandeln").arg(typeName(a.type)), n->begin);
        } else {
            v.sql = QStringLiteral("CAST(%1 AS %2)")
                        .arg(a.sql, n->castType == ValueType::Integer ? QStringLiteral("INTEGER")
                                                                      : QStringLiteral("REAL"));
        }
        return v;
    case ValueType::Date:
        if (a.literal)
            v.sql = as(a, ValueType::Date);
        else if (a.type == ValueType::Date)
            v.sql = a.sql;
        else if (isTextType(a.type) || a.param >= 0)
            v.sql = QStringLiteral("tarvo_date(%1)").arg(a.sql);
        else
            fail(QStringLiteral("%1 lässt sich nicht in ein Datum umwandeln").arg(typeName(a.type)), n->begin);
        return v;
    case ValueType::Boolean:
        if (a.literal)
            v.sql = as(a, ValueType::Boolean);
        else if (a.type == ValueType::Boolean || isNumericType(a.type))
            v.sql = QStringLiteral("(%1 <> 0)").arg(a.sql);
        else
            fail(QStringLiteral("%1 lässt sich nicht in einen Wahrheitswert umwandeln").arg(typeName(a.type)),
                 n->begin);
        return v;
    default:
        v.sql = a.sql;
        return v;
    }
}

} // namespace engine::sql
