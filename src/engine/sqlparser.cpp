#include "engine/sqlstatement.h"

#include "engine/sqllexer.h"

#include <algorithm>
#include <cstring>

namespace engine::sql {

namespace {

bool isReserved(const QString &word)
{
    // Sorted, for a binary search without building an upper-case copy.
    static const char *const words[] = {
        "ADD", "ALL", "ALTER", "AND", "AS", "ASC", "ASCENDING", "BETWEEN", "BY", "CAST", "CROSS",
        "DELETE", "DESC", "DESCENDING", "DISTINCT", "DROP", "ESCAPE", "EXISTS", "FALSE", "FOR",
        "FROM", "FULL", "GROUP", "HAVING", "IN", "INNER", "INSERT", "INTO", "IS", "JOIN", "LEFT",
        "LIKE", "NOT", "NULL", "ON", "OR", "ORDER", "OUTER", "RIGHT", "SELECT", "SET", "SUBSTRING",
        "TABLE", "TRUE", "UNION", "UPDATE", "VALUES", "WHERE"};
    const qsizetype n = word.size();
    if (n < 2 || n > 10)
        return false;
    char up[11];
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = word[i].unicode();
        if (c >= u'a' && c <= u'z')
            up[i] = char(c - 32);
        else if ((c >= u'A' && c <= u'Z') || c == u'_' || (c >= u'0' && c <= u'9'))
            up[i] = char(c);
        else
            return false;
    }
    up[n] = 0;
    const auto end = std::end(words);
    const auto it = std::lower_bound(std::begin(words), end, up,
                                     [](const char *a, const char *b) { return std::strcmp(a, b) < 0; });
    return it != end && std::strcmp(*it, up) == 0;
}

class Parser
{
public:
    Parser(std::vector<Token> tokens, ParsedStatement &out)
        : m_t(std::move(tokens)), m_out(out)
    {
    }

    Statement parseStatement()
    {
        Statement st;
        const Token &first = cur();
        if (first.kind == Tok::End)
            throw SqlError(QStringLiteral("Die SQL-Anweisung ist leer"), 0, 0);
        if (isWord("SELECT")) {
            st.kind = StatementKind::Select;
            st.select = parseSelect();
        } else if (acceptWord("UPDATE")) {
            st.kind = StatementKind::Update;
            st.target = parseTableRef(true);
            expectWord("SET");
            do {
                Assignment a;
                a.begin = cur().begin;
                a.field = parseFieldName();
                expectSymbol("=");
                a.value = parseExpr();
                st.set.push_back(a);
            } while (acceptSymbol(","));
            if (acceptWord("WHERE"))
                st.where = parseExpr();
        } else if (acceptWord("DELETE")) {
            st.kind = StatementKind::Delete;
            expectWord("FROM");
            st.target = parseTableRef(true);
            if (acceptWord("WHERE"))
                st.where = parseExpr();
        } else if (acceptWord("INSERT")) {
            st.kind = StatementKind::Insert;
            expectWord("INTO");
            st.target = parseTableRef(false);
            if (acceptSymbol("(")) {
                do {
                    st.insertFieldPos.push_back(cur().begin);
                    st.insertFields.push_back(parseFieldName());
                } while (acceptSymbol(","));
                expectSymbol(")");
            }
            if (acceptWord("VALUES")) {
                expectSymbol("(");
                do {
                    st.insertValues.push_back(parseExpr());
                } while (acceptSymbol(","));
                expectSymbol(")");
            } else if (isWord("SELECT")) {
                st.select = parseSelect();
            } else {
                failHere(QStringLiteral("VALUES oder SELECT erwartet"));
            }
        } else if (acceptWord("ALTER")) {
            st.kind = StatementKind::AlterTable;
            expectWord("TABLE");
            st.target = parseTableRef(false);
            do {
                AlterItem it;
                if (acceptWord("ADD")) {
                    acceptWord("COLUMN");
                    it.begin = cur().begin;
                    it.field = parseFieldName();
                    parseType(&it.type, &it.size, false);
                } else if (isWord("DROP")) {
                    failHere(QStringLiteral("ALTER TABLE kann Felder nur hinzufügen (ADD), nicht entfernen"));
                } else {
                    expected(QStringLiteral("\"ADD\""));
                }
                st.alter.push_back(it);
            } while (acceptSymbol(","));
        } else {
            failHere(cur().kind == Tok::Ident
                         ? QStringLiteral("Unbekannte Anweisung \"%1\": SELECT, UPDATE, DELETE, INSERT oder ALTER TABLE erwartet")
                               .arg(cur().text.toUpper())
                         : QStringLiteral("Unbekannte Anweisung: SELECT, UPDATE, DELETE, INSERT oder ALTER TABLE erwartet"));
        }
        acceptSymbol(";");
        if (cur().kind != Tok::End)
            failHere(QStringLiteral("Unerwartetes %1 nach dem Ende der Anweisung").arg(describe(cur())));
        return st;
    }

private:
    // Nesting is limited, so that no statement can exhaust the stack: each
    // level of brackets, signs, NOT and function calls costs some twelve
    // frames here and more in the translator. Deeper than this no statement
    // could pass SQLite's own limit on brackets anyway.
    static constexpr int MaxNesting = 64;
    struct Deeper
    {
        Parser &p;
        explicit Deeper(Parser &parser) : p(parser)
        {
            if (++p.m_depth > MaxNesting)
                p.failHere(QStringLiteral("Der Ausdruck ist zu tief verschachtelt"));
        }
        ~Deeper() { --p.m_depth; }
    };

    const Token &cur() const { return m_t[m_i]; }
    const Token &peek(int k = 1) const { return m_t[qMin<size_t>(m_i + k, m_t.size() - 1)]; }
    void next()
    {
        if (m_t[m_i].kind != Tok::End)
            ++m_i;
    }
    int prevEnd() const { return m_i > 0 ? m_t[m_i - 1].end : 0; }

    static QString describe(const Token &t)
    {
        switch (t.kind) {
        case Tok::End: return QStringLiteral("Ende der Anweisung");
        case Tok::DString: return QStringLiteral("\"%1\"").arg(t.text);
        case Tok::SString: return QStringLiteral("'%1'").arg(t.text);
        case Tok::Param: return QStringLiteral("Parameter :%1").arg(t.text);
        default: return QStringLiteral("\"%1\"").arg(t.text);
        }
    }

    [[noreturn]] void failHere(const QString &problem) const
    {
        const Token &t = cur();
        if (t.kind == Tok::End) {
            // expected() names what it found already.
            const bool named = problem.endsWith(QLatin1String("gefunden: Ende der Anweisung"));
            throw SqlError(named ? problem : problem + QStringLiteral(", gefunden: Ende der Anweisung"), t.line,
                           t.col + 1);
        }
        throw SqlError(problem, t.line, t.col);
    }
    [[noreturn]] void expected(const QString &what) const
    {
        failHere(QStringLiteral("%1 erwartet, gefunden: %2").arg(what, describe(cur())));
    }

    bool isWord(const char *w, int k = 0) const
    {
        const Token &t = k ? peek(k) : cur();
        return t.kind == Tok::Ident && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool acceptWord(const char *w)
    {
        if (isWord(w)) {
            next();
            return true;
        }
        return false;
    }
    void expectWord(const char *w)
    {
        if (!acceptWord(w))
            expected(QStringLiteral("\"%1\"").arg(QLatin1String(w)));
    }
    bool isSymbol(const char *s, int k = 0) const
    {
        const Token &t = k ? peek(k) : cur();
        return t.kind == Tok::Symbol && t.text == QLatin1String(s);
    }
    bool acceptSymbol(const char *s)
    {
        if (isSymbol(s)) {
            next();
            return true;
        }
        return false;
    }
    void expectSymbol(const char *s)
    {
        if (!acceptSymbol(s))
            expected(QStringLiteral("\"%1\"").arg(QLatin1String(s)));
    }

    Node *node(NK kind, int begin)
    {
        m_out.nodes.emplace_back();
        Node *n = &m_out.nodes.back();
        n->kind = kind;
        n->begin = begin;
        n->end = begin;
        return n;
    }

    QString parseFieldName()
    {
        const Token &t = cur();
        if (t.kind == Tok::Ident && !isReserved(t.text)) {
            next();
            return t.text;
        }
        if (t.kind == Tok::DString) { // field names with blanks
            next();
            return t.text;
        }
        expected(QStringLiteral("Feldname"));
    }

    void parseType(ValueType *type, int *size, bool forCast)
    {
        const Token &t = cur();
        if (t.kind != Tok::Ident)
            expected(QStringLiteral("Datentyp"));
        const QString w = t.text.toUpper();
        next();
        *size = 0;
        auto readSize = [&](bool required) {
            if (acceptSymbol("(")) {
                if (cur().kind != Tok::Number)
                    expected(QStringLiteral("Feldlänge"));
                bool ok = false;
                *size = cur().text.toInt(&ok);
                if (!ok || *size < 1 || *size > 255)
                    failHere(QStringLiteral("Ungültige Feldlänge \"%1\" (erlaubt: 1 bis 255)").arg(cur().text));
                next();
                if (acceptSymbol(",")) { // precision, scale: accepted and ignored
                    if (cur().kind != Tok::Number)
                        expected(QStringLiteral("Zahl"));
                    next();
                }
                expectSymbol(")");
            } else if (required) {
                expected(QStringLiteral("\"(\" mit Feldlänge"));
            }
        };
        if (w == QLatin1String("CHARACTER") || w == QLatin1String("CHAR") || w == QLatin1String("VARCHAR")) {
            if (w != QLatin1String("VARCHAR"))
                acceptWord("VARYING");
            *type = ValueType::Text;
            readSize(!forCast);
            if (*size == 0)
                *size = 255;
        } else if (w == QLatin1String("SMALLINT") || w == QLatin1String("INTEGER") || w == QLatin1String("INT")) {
            *type = ValueType::Integer;
            *size = w == QLatin1String("SMALLINT") ? 2 : 4;
        } else if (w == QLatin1String("BOOLEAN")) {
            *type = ValueType::Boolean;
        } else if (w == QLatin1String("DATE")) {
            *type = ValueType::Date;
        } else if (w == QLatin1String("FLOAT") || w == QLatin1String("NUMERIC") || w == QLatin1String("DECIMAL")
                   || w == QLatin1String("MONEY") || w == QLatin1String("DOUBLE") || w == QLatin1String("REAL")) {
            if (w == QLatin1String("DOUBLE"))
                acceptWord("PRECISION");
            *type = ValueType::Float;
            readSize(false);
            *size = 0;
        } else if (w == QLatin1String("BLOB")) {
            *type = ValueType::Blob;
            if (acceptSymbol("(")) { // BLOB(n, subtype): 1 memo, 2 binary, 5 graphic
                int subtype = 2;
                if (cur().kind != Tok::Number)
                    expected(QStringLiteral("Zahl"));
                next();
                if (acceptSymbol(",")) {
                    if (cur().kind != Tok::Number)
                        expected(QStringLiteral("Zahl"));
                    subtype = cur().text.toInt();
                    next();
                }
                expectSymbol(")");
                if (subtype == 1 || subtype == 3)
                    *type = ValueType::Memo;
            }
        } else {
            m_i--; // point at the type word
            failHere(QStringLiteral("Unbekannter Datentyp \"%1\"").arg(t.text));
        }
    }

    TableRef parseTableRef(bool allowAlias)
    {
        TableRef r;
        const Token &t = cur();
        r.begin = t.begin;
        if (t.kind == Tok::DString || t.kind == Tok::SString || (t.kind == Tok::Ident && !isReserved(t.text))) {
            r.written = t.text;
            next();
        } else {
            expected(QStringLiteral("Tabellenname (Pfad in Anführungszeichen)"));
        }
        if (allowAlias) {
            if (acceptWord("AS")) {
                if (cur().kind != Tok::Ident || isReserved(cur().text))
                    expected(QStringLiteral("Aliasname"));
                r.alias = cur().text;
                next();
            } else if (cur().kind == Tok::Ident && !isReserved(cur().text)) {
                r.alias = cur().text;
                next();
            }
        }
        return r;
    }

    Select *parseSelect()
    {
        m_out.selects.emplace_back();
        Select *s = &m_out.selects.back();
        s->cores.push_back(parseCore());
        while (acceptWord("UNION")) {
            s->unionAll.push_back(acceptWord("ALL"));
            s->cores.push_back(parseCore());
        }
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do {
                OrderItem o;
                o.expr = parseExpr();
                if (acceptWord("DESC") || acceptWord("DESCENDING"))
                    o.desc = true;
                else if (acceptWord("ASC") || acceptWord("ASCENDING"))
                    o.desc = false;
                s->orderBy.push_back(o);
            } while (acceptSymbol(","));
        }
        return s;
    }

    SelectCore *parseCore()
    {
        m_out.cores.emplace_back();
        SelectCore *c = &m_out.cores.back();
        c->begin = cur().begin;
        expectWord("SELECT");
        if (acceptWord("DISTINCT"))
            c->distinct = true;
        else
            acceptWord("ALL");
        do {
            SelectItem it;
            it.begin = cur().begin;
            if (acceptSymbol("*")) {
                it.star = true;
            } else if ((cur().kind == Tok::Ident || cur().kind == Tok::DString) && isSymbol(".", 1) && isSymbol("*", 2)) {
                it.star = true;
                it.starQualifier = cur().text;
                next();
                next();
                next();
            } else {
                it.expr = parseExpr();
                if (acceptWord("AS")) {
                    if (cur().kind == Tok::Ident || cur().kind == Tok::DString) {
                        it.alias = cur().text;
                        next();
                    } else {
                        expected(QStringLiteral("Spaltenname"));
                    }
                } else if (cur().kind == Tok::Ident && !isReserved(cur().text)) {
                    it.alias = cur().text;
                    next();
                }
            }
            c->items.push_back(it);
        } while (acceptSymbol(","));
        expectWord("FROM");
        c->from.push_back(parseTableRef(true));
        while (true) {
            if (acceptSymbol(",")) {
                c->from.push_back(parseTableRef(true));
                continue;
            }
            JoinKind kind;
            if (isWord("JOIN") || isWord("INNER")) {
                acceptWord("INNER");
                kind = JoinKind::Inner;
            } else if (isWord("LEFT")) {
                next();
                acceptWord("OUTER");
                kind = JoinKind::Left;
            } else if (isWord("RIGHT") || isWord("FULL") || isWord("CROSS") || isWord("NATURAL")) {
                failHere(QStringLiteral("%1 JOIN wird nicht unterstützt; bitte LEFT JOIN oder JOIN verwenden")
                             .arg(cur().text.toUpper()));
            } else {
                break;
            }
            expectWord("JOIN");
            TableRef r = parseTableRef(true);
            r.join = kind;
            expectWord("ON");
            r.on = parseExpr();
            c->from.push_back(r);
        }
        if (acceptWord("WHERE"))
            c->where = parseExpr();
        if (acceptWord("GROUP")) {
            expectWord("BY");
            do {
                c->groupBy.push_back(parseExpr());
            } while (acceptSymbol(","));
        }
        if (acceptWord("HAVING"))
            c->having = parseExpr();
        return c;
    }

public:
    Node *parseExpr()
    {
        Deeper d(*this);
        return parseOr();
    }

private:
    Node *finish(Node *n)
    {
        n->end = prevEnd();
        return n;
    }

    // One level of operators joined by a keyword (AND, OR).
    // Its operands form one list: key sets of thousands of terms must not
    // nest thousands deep.
    Node *parseJoined(NK kind, const char *word, Node *(Parser::*operand)())
    {
        Node *first = (this->*operand)();
        if (!isWord(word))
            return first;
        Node *n = node(kind, first->begin);
        n->list.push_back(first);
        while (isWord(word)) {
            next();
            n->list.push_back((this->*operand)());
        }
        return finish(n);
    }

    Node *parseOr() { return parseJoined(NK::Or, "OR", &Parser::parseAnd); }
    Node *parseAnd() { return parseJoined(NK::And, "AND", &Parser::parseNot); }

    Node *parseNot()
    {
        if (isWord("NOT")) {
            Deeper d(*this);
            const int begin = cur().begin;
            next();
            if (isWord("EXISTS")) {
                Node *e = parseExists();
                e->negated = true;
                e->begin = begin;
                return e;
            }
            Node *n = node(NK::Not, begin);
            n->a = parseNot();
            return finish(n);
        }
        if (isWord("EXISTS"))
            return parseExists();
        return parsePredicate();
    }

    Node *parseExists()
    {
        Node *n = node(NK::Exists, cur().begin);
        next();
        expectSymbol("(");
        if (!isWord("SELECT"))
            expected(QStringLiteral("SELECT"));
        n->sub = parseSelect();
        expectSymbol(")");
        return finish(n);
    }

    Node *parsePredicate()
    {
        Node *left = parseAdditive();
        static const char *const cmp[] = {"=", "<>", "!=", "<=", ">=", "<", ">"};
        for (const char *op : cmp) {
            if (isSymbol(op)) {
                next();
                Node *n = node(NK::Compare, left->begin);
                n->text = QLatin1String(op) == QLatin1String("!=") ? QStringLiteral("<>") : QString::fromLatin1(op);
                n->a = left;
                n->b = parseAdditive();
                return finish(n);
            }
        }
        if (isWord("IS")) {
            next();
            Node *n = node(NK::IsNull, left->begin);
            n->negated = acceptWord("NOT");
            expectWord("NULL");
            n->a = left;
            return finish(n);
        }
        bool negated = false;
        if (isWord("NOT") && (isWord("LIKE", 1) || isWord("IN", 1) || isWord("BETWEEN", 1))) {
            negated = true;
            next();
        }
        if (acceptWord("LIKE")) {
            Node *n = node(NK::Like, left->begin);
            n->negated = negated;
            n->a = left;
            n->b = parseAdditive();
            if (acceptWord("ESCAPE"))
                n->c = parseAdditive();
            return finish(n);
        }
        if (acceptWord("BETWEEN")) {
            Node *n = node(NK::Between, left->begin);
            n->negated = negated;
            n->a = left;
            n->b = parseAdditive();
            expectWord("AND");
            n->c = parseAdditive();
            return finish(n);
        }
        if (acceptWord("IN")) {
            expectSymbol("(");
            Node *n;
            if (isWord("SELECT")) {
                n = node(NK::InSelect, left->begin);
                n->sub = parseSelect();
            } else {
                n = node(NK::InList, left->begin);
                do {
                    n->list.push_back(parseAdditive());
                } while (acceptSymbol(","));
            }
            expectSymbol(")");
            n->negated = negated;
            n->a = left;
            return finish(n);
        }
        if (negated)
            expected(QStringLiteral("LIKE, IN oder BETWEEN"));
        return left;
    }

    // One level of left-associative symbol operators.
    Node *parseSymbols(std::initializer_list<const char *> ops, Node *(Parser::*operand)())
    {
        Node *left = (this->*operand)();
        while (true) {
            const char *hit = nullptr;
            for (const char *op : ops)
                if (isSymbol(op))
                    hit = op;
            if (!hit)
                return left;
            Node *n = node(NK::Arith, left->begin);
            n->text = QString::fromLatin1(hit);
            next();
            n->a = left;
            n->b = (this->*operand)();
            left = finish(n);
        }
    }

    Node *parseAdditive() { return parseSymbols({"+", "-", "||"}, &Parser::parseMultiplicative); }
    Node *parseMultiplicative() { return parseSymbols({"*", "/"}, &Parser::parseUnary); }

    Node *parseUnary()
    {
        if (isSymbol("-") || isSymbol("+")) {
            Deeper d(*this);
            if (acceptSymbol("+"))
                return parseUnary();
            Node *n = node(NK::Neg, cur().begin);
            next();
            n->a = parseUnary();
            return finish(n);
        }
        return parsePrimary();
    }

    Node *parsePrimary()
    {
        const Token &t = cur();
        switch (t.kind) {
        case Tok::End:
            expected(QStringLiteral("Ausdruck"));
        case Tok::Number: {
            Node *n = node(NK::NumLit, t.begin);
            n->text = t.text;
            next();
            return finish(n);
        }
        case Tok::DString:
        case Tok::SString: {
            // "Table"."Field" names a field of a table whose name needs quotes.
            if (isSymbol(".", 1) && (peek(2).kind == Tok::Ident || peek(2).kind == Tok::DString)) {
                Node *n = node(NK::Column, t.begin);
                n->qualifier = t.text;
                next();
                next();
                n->text = cur().text;
                next();
                return finish(n);
            }
            Node *n = node(NK::StrLit, t.begin);
            n->text = t.text;
            next();
            return finish(n);
        }
        case Tok::Param: {
            Node *n = node(NK::Param, t.begin);
            n->text = t.text;
            next();
            return finish(n);
        }
        case Tok::Symbol:
            if (t.text == QLatin1String("(")) {
                const int begin = t.begin;
                next();
                if (isWord("SELECT")) {
                    Node *n = node(NK::ScalarSelect, begin);
                    n->sub = parseSelect();
                    expectSymbol(")");
                    return finish(n);
                }
                Node *inner = parseExpr();
                expectSymbol(")");
                return inner;
            }
            expected(QStringLiteral("Ausdruck"));
        case Tok::Ident:
            break;
        }
        if (isWord("NULL")) {
            Node *n = node(NK::NullLit, t.begin);
            next();
            return finish(n);
        }
        if (isWord("TRUE") || isWord("FALSE")) {
            Node *n = node(NK::BoolLit, t.begin);
            n->text = t.text.toUpper();
            next();
            return finish(n);
        }
        if (isSymbol("(", 1)) {
            const QString word = t.text.toUpper();
            const int begin = t.begin;
            next();
            next();
            if (word == QLatin1String("CAST")) {
                Node *n = node(NK::Cast, begin);
                n->a = parseExpr();
                expectWord("AS");
                parseType(&n->castType, &n->castSize, true);
                expectSymbol(")");
                return finish(n);
            }
            if (word == QLatin1String("SUBSTRING")) {
                Node *n = node(NK::Substring, begin);
                n->a = parseExpr();
                if (acceptWord("FROM") || acceptSymbol(",")) {
                    n->b = parseExpr();
                    if (acceptWord("FOR") || acceptSymbol(","))
                        n->c = parseExpr();
                } else {
                    expected(QStringLiteral("\"FROM\""));
                }
                expectSymbol(")");
                return finish(n);
            }
            if (word == QLatin1String("TRIM")) {
                Node *n = node(NK::Trim, begin);
                n->text = QStringLiteral("BOTH");
                if (isWord("LEADING") || isWord("TRAILING") || isWord("BOTH")) {
                    n->text = cur().text.toUpper();
                    next();
                }
                if (!isWord("FROM"))
                    n->b = parseExpr(); // the character to remove, or the value
                if (acceptWord("FROM")) {
                    n->a = parseExpr();
                } else {
                    n->a = n->b;
                    n->b = nullptr;
                }
                if (!n->a)
                    expected(QStringLiteral("Ausdruck"));
                expectSymbol(")");
                return finish(n);
            }
            if (word == QLatin1String("EXTRACT")) {
                Node *n = node(NK::Extract, begin);
                if (cur().kind != Tok::Ident)
                    expected(QStringLiteral("YEAR, MONTH oder DAY"));
                n->text = cur().text.toUpper();
                if (n->text != QLatin1String("YEAR") && n->text != QLatin1String("MONTH")
                    && n->text != QLatin1String("DAY"))
                    expected(QStringLiteral("YEAR, MONTH oder DAY"));
                next();
                expectWord("FROM");
                n->a = parseExpr();
                expectSymbol(")");
                return finish(n);
            }
            if (word == QLatin1String("COUNT") || word == QLatin1String("SUM") || word == QLatin1String("AVG")
                || word == QLatin1String("MIN") || word == QLatin1String("MAX")) {
                Node *n = node(NK::Aggregate, begin);
                n->text = word;
                if (word == QLatin1String("COUNT") && acceptSymbol("*")) {
                    n->star = true;
                } else {
                    if (acceptWord("DISTINCT"))
                        n->distinct = true;
                    else
                        acceptWord("ALL");
                    n->a = parseExpr();
                }
                expectSymbol(")");
                return finish(n);
            }
            Node *n = node(NK::Func, begin);
            n->text = word;
            if (!isSymbol(")")) {
                do {
                    n->list.push_back(parseExpr());
                } while (acceptSymbol(","));
            }
            expectSymbol(")");
            return finish(n);
        }
        if (isReserved(t.text))
            expected(QStringLiteral("Ausdruck"));
        Node *n = node(NK::Column, t.begin);
        next();
        if (isSymbol(".") && (peek(1).kind == Tok::Ident || peek(1).kind == Tok::DString)) {
            n->qualifier = t.text;
            next();
            n->text = cur().text;
            next();
        } else {
            n->text = t.text;
        }
        return finish(n);
    }

    std::vector<Token> m_t;
    size_t m_i = 0;
    ParsedStatement &m_out;
    int m_depth = 0;
};

} // namespace

void parseStatement(const Lexer &lexer, ParsedStatement &out)
{
    Parser parser(lexer.run(), out);
    out.statement = parser.parseStatement();
}

} // namespace engine::sql
