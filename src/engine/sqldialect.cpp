#include "engine/sqldialect.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

namespace engine::sql {

bool isTextType(ValueType t)
{
    return t == ValueType::Text || t == ValueType::Memo;
}

bool isNumericType(ValueType t)
{
    return t == ValueType::Integer || t == ValueType::Float;
}

const FieldInfo *TableInfo::field(const QString &name) const
{
    for (const FieldInfo &f : fields)
        if (f.name.size() == name.size() && f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

static QString composeMessage(const QString &problem, int line, int column)
{
    if (line <= 0)
        return problem;
    return QStringLiteral("%1 (Zeile %2, Spalte %3)").arg(problem).arg(line).arg(column);
}

SqlError::SqlError(const QString &message, int line, int column)
    : std::runtime_error(composeMessage(message, line, column).toStdString())
    , m_message(composeMessage(message, line, column))
    , m_problem(message)
    , m_line(line)
    , m_column(column)
{
}

QString dateToStorage(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate parseDateConstant(const QString &text)
{
    const QString t = text.trimmed();
    auto number = [](QStringView s, int minLen, int maxLen, bool *ok) {
        *ok = s.size() >= minLen && s.size() <= maxLen;
        for (QChar c : s)
            if (c < u'0' || c > u'9')
                *ok = false;
        return *ok ? s.toInt() : 0;
    };
    bool ok1 = false, ok2 = false, ok3 = false;
    int d = 0, m = 0, y = 0;
    if (t.count(u'/') == 2) {
        const QStringList p = t.split(u'/');
        m = number(p[0], 1, 2, &ok1);
        d = number(p[1], 1, 2, &ok2);
        y = number(p[2], 4, 4, &ok3);
    } else if (t.count(u'.') == 2) {
        const QStringList p = t.split(u'.');
        d = number(p[0], 1, 2, &ok1);
        m = number(p[1], 1, 2, &ok2);
        y = number(p[2], 4, 4, &ok3);
    } else if (t.count(u'-') == 2) {
        const QStringList p = t.split(u'-');
        y = number(p[0], 4, 4, &ok1);
        m = number(p[1], 1, 2, &ok2);
        d = number(p[2], 1, 2, &ok3);
    }
    if (!(ok1 && ok2 && ok3))
        return {};
    return QDate(y, m, d);
}

namespace {

// As resolveTablePath; *byLetterCase tells that the file was found under a
// name of other letter case (a later look-up may find another file).
QString resolveTablePathFound(const QString &written, const QString &databaseFolder, bool *byLetterCase)
{
    QString p = written.trimmed();
    p.replace(u'\\', u'/');
    if (!p.startsWith(u'/'))
        p = QDir(databaseFolder).filePath(p);
    p = QDir::cleanPath(p);
    QFileInfo fi(p);
    if (fi.suffix().isEmpty())
        p += QStringLiteral(".DB");
    if (!QFileInfo::exists(p)) {
        // Names typed by hand need not match the file's letter case.
        QFileInfo want(p);
        const QDir dir = want.dir();
        if (!dir.exists())
            return p;
        const QStringList names = dir.entryList(QDir::Files);
        *byLetterCase = true;
        for (const QString &n : names)
            if (n.compare(want.fileName(), Qt::CaseInsensitive) == 0)
                return dir.filePath(n);
    }
    return p;
}

} // namespace

QString resolveTablePath(const QString &written, const QString &databaseFolder)
{
    bool byLetterCase = false;
    return resolveTablePathFound(written, databaseFolder, &byLetterCase);
}

// ---------------------------------------------------------------------------
// Tokens

namespace {

enum class Tok { End, Ident, DString, SString, Number, Param, Symbol };

struct Token
{
    Tok kind = Tok::End;
    QString text; // identifier, unescaped string, number, parameter name, symbol
    int begin = 0; // offset in the joined statement
    int end = 0;
    int line = 1;
    int col = 1;
};

class Lexer
{
public:
    explicit Lexer(const QStringList &lines)
    {
        int total = 0;
        for (const QString &l : lines)
            total += l.size() + 1;
        m_src.reserve(total);
        for (int i = 0; i < lines.size(); ++i) {
            m_lineStarts.push_back(m_src.size());
            m_src += lines[i];
            m_src += u'\n';
        }
        if (lines.isEmpty())
            m_lineStarts.push_back(0);
    }

    const QString &source() const { return m_src; }

    void position(int offset, int *line, int *col) const
    {
        int lo = 0, hi = int(m_lineStarts.size()) - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (m_lineStarts[mid] <= offset)
                lo = mid;
            else
                hi = mid - 1;
        }
        *line = lo + 1;
        *col = offset - m_lineStarts[lo] + 1;
    }

    [[noreturn]] void fail(const QString &problem, int offset) const
    {
        int line = 0, col = 0;
        position(offset, &line, &col);
        throw SqlError(problem, line, col);
    }

    // Tokenizes everything; throws on the first fault.
    std::vector<Token> run()
    {
        std::vector<Token> out;
        run(out);
        return out;
    }

    // Tokenizes into out; on a fault, out keeps the tokens before it.
    void run(std::vector<Token> &out)
    {
        out.reserve(m_src.size() / 4 + 4);
        const int n = m_src.size();
        const QChar *s = m_src.constData();
        int i = 0;
        while (true) {
            while (i < n && (s[i].isSpace() || s[i] == u'\0'))
                ++i;
            if (i + 1 < n && s[i] == u'/' && s[i + 1] == u'*') {
                const int close = m_src.indexOf(QStringLiteral("*/"), i + 2);
                if (close < 0)
                    fail(QStringLiteral("Kommentar ohne Ende \"*/\""), i);
                i = close + 2;
                continue;
            }
            Token t;
            t.begin = i;
            if (i >= n) {
                t.kind = Tok::End;
                t.end = i;
                position(qMax(0, n - 1), &t.line, &t.col);
                out.push_back(t);
                return;
            }
            position(i, &t.line, &t.col);
            const QChar c = s[i];
            if (c.isLetter() || c == u'_') {
                int j = i + 1;
                while (j < n && (s[j].isLetterOrNumber() || s[j] == u'_'))
                    ++j;
                t.kind = Tok::Ident;
                t.text = m_src.mid(i, j - i);
                i = j;
            } else if (c == u'"' || c == u'\'') {
                QString value;
                int j = i + 1;
                while (true) {
                    if (j >= n)
                        fail(c == u'"' ? QStringLiteral("Zeichenkette ohne schließendes Anführungszeichen (\")")
                                       : QStringLiteral("Zeichenkette ohne schließendes Hochkomma (')"),
                             i);
                    if (s[j] == c) {
                        if (j + 1 < n && s[j + 1] == c) {
                            value += c;
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    if (s[j] == u'\0')
                        fail(QStringLiteral("Ungültiges Zeichen (Code 0) in einer Zeichenkette"), j);
                    value += s[j];
                    ++j;
                }
                t.kind = c == u'"' ? Tok::DString : Tok::SString;
                t.text = value;
                i = j + 1;
            } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
                int j = i;
                while (j < n && s[j].isDigit())
                    ++j;
                if (j < n && s[j] == u'.') {
                    ++j;
                    while (j < n && s[j].isDigit())
                        ++j;
                }
                if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                    int k = j + 1;
                    if (k < n && (s[k] == u'+' || s[k] == u'-'))
                        ++k;
                    if (k < n && s[k].isDigit()) {
                        while (k < n && s[k].isDigit())
                            ++k;
                        j = k;
                    }
                }
                if (j < n && (s[j].isLetter() || s[j] == u'_'))
                    fail(QStringLiteral("Ungültige Zahl \"%1\"").arg(m_src.mid(i, j - i + 1)), i);
                t.kind = Tok::Number;
                t.text = m_src.mid(i, j - i);
                i = j;
            } else if (c == u':') {
                int j = i + 1;
                while (j < n && (s[j].isLetterOrNumber() || s[j] == u'_'))
                    ++j;
                if (j < n && (s[j] == u'$' || s[j] == u'?' || s[j] == u'%'))
                    ++j;
                if (j == i + 1)
                    fail(QStringLiteral("Parametername fehlt nach \":\""), i);
                t.kind = Tok::Param;
                t.text = m_src.mid(i + 1, j - i - 1);
                i = j;
            } else {
                // Symbols share their texts instead of allocating each.
                static const QString two[] = {QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<="),
                                              QStringLiteral(">="), QStringLiteral("||")};
                static const QString one = QStringLiteral("=<>+-*/(),.;");
                static const QString ones[] = {QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"),
                                               QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"),
                                               QStringLiteral("/"), QStringLiteral("("), QStringLiteral(")"),
                                               QStringLiteral(","), QStringLiteral("."), QStringLiteral(";")};
                t.kind = Tok::Symbol;
                bool found = false;
                if (i + 1 < n) {
                    for (const QString &op : two) {
                        if (s[i] == op[0] && s[i + 1] == op[1]) {
                            t.text = op;
                            i += 2;
                            found = true;
                            break;
                        }
                    }
                }
                if (!found) {
                    const qsizetype k = one.indexOf(c);
                    if (k < 0)
                        fail(QStringLiteral("Unerwartetes Zeichen \"%1\"").arg(c), i);
                    t.text = ones[k];
                    ++i;
                }
            }
            t.end = i;
            out.push_back(std::move(t));
        }
    }

private:
    QString m_src;
    std::vector<int> m_lineStarts;
};

// ---------------------------------------------------------------------------
// Syntax tree

enum class NK {
    Column, StrLit, NumLit, BoolLit, NullLit, Param, Neg, Not, And, Or, Compare,
    Arith, IsNull, Like, Between, InList, InSelect, Exists, ScalarSelect,
    Func, Aggregate, Cast, Substring, Trim, Extract
};

struct Select;

struct Node
{
    NK kind;
    int begin = 0; // source span, for messages and column names
    int end = 0;
    QString text;      // column name, literal, parameter, operator, function
    QString qualifier; // column's table or alias
    Node *a = nullptr;
    Node *b = nullptr;
    Node *c = nullptr;
    std::vector<Node *> list;
    Select *sub = nullptr;
    bool negated = false;  // NOT LIKE, NOT IN, NOT BETWEEN, IS NOT NULL, NOT EXISTS
    bool distinct = false; // aggregate DISTINCT
    bool star = false;     // COUNT(*)
    ValueType castType = ValueType::Unknown;
    int castSize = 0;
};

struct SelectItem
{
    Node *expr = nullptr; // null for * or T.*
    QString alias;
    QString starQualifier;
    bool star = false;
    int begin = 0;
};

enum class JoinKind { Comma, Inner, Left };

struct TableRef
{
    QString written;
    int begin = 0;
    QString alias;
    JoinKind join = JoinKind::Comma;
    Node *on = nullptr;
};

struct SelectCore
{
    bool distinct = false;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    Node *where = nullptr;
    std::vector<Node *> groupBy;
    Node *having = nullptr;
    int begin = 0;
};

struct OrderItem
{
    Node *expr = nullptr;
    bool desc = false;
};

struct Select
{
    std::vector<SelectCore *> cores;
    std::vector<bool> unionAll; // between cores[i] and cores[i+1]
    std::vector<OrderItem> orderBy;
};

struct Assignment
{
    QString field;
    int begin = 0;
    Node *value = nullptr;
};

struct AlterItem
{
    QString field;
    int begin = 0;
    ValueType type = ValueType::Unknown;
    int size = 0;
    bool drop = false;
};

struct Statement
{
    StatementKind kind = StatementKind::Select;
    Select *select = nullptr;
    TableRef target;
    std::vector<Assignment> set;
    Node *where = nullptr;
    std::vector<QString> insertFields;
    std::vector<int> insertFieldPos;
    std::vector<Node *> insertValues;
    std::vector<AlterItem> alter;
};

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
    Parser(const Lexer &lexer, std::vector<Token> tokens)
        : m_lex(lexer), m_t(std::move(tokens))
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
        m_nodes.emplace_back();
        Node *n = &m_nodes.back();
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
        m_selects.emplace_back();
        Select *s = &m_selects.back();
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
        m_cores.emplace_back();
        SelectCore *c = &m_cores.back();
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

    const Lexer &m_lex;
    std::vector<Token> m_t;
    size_t m_i = 0;
    std::deque<Node> m_nodes;
    std::deque<Select> m_selects;
    std::deque<SelectCore> m_cores;
    int m_depth = 0;
};

// ---------------------------------------------------------------------------
// Translation

struct ScopeTable
{
    QString alias;      // as written, may be empty
    QString baseName;   // file name without ".DB"
    QString written;    // the path as written
    const TableInfo *info = nullptr;
    QString sqlAlias;   // name used in the SQLite text
    int index = -1;     // into Translation::tables
};

struct Scope
{
    Scope *parent = nullptr;
    std::vector<ScopeTable> tables;
};

struct Value
{
    QString sql;
    ValueType type = ValueType::Unknown;
    int size = 0;
    const Node *literal = nullptr; // a string literal, re-rendered by context
    bool isNull = false;
    int param = -1; // index into Translation::params when the value is one parameter
    bool aggregate = false;
    const ScopeTable *srcTable = nullptr; // a plain column
    QString srcField;
    // Chains stay flat in the SQL text, since SQLite's parser nests only so
    // deep: the pieces of a text join, or "a + b - c" without its brackets.
    QStringList concat;
    QString chain;
    char chainKind = 0; // '+' for + and -, '*' for *
};

// Joins pieces with one allocation; the translator builds much text.
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

class Translator
{
public:
    Translator(const Lexer &lex, const TranslateContext &ctx, Translation &out)
        : m_lex(lex), m_ctx(ctx), m_out(out)
    {
    }

    void run(const Statement &st)
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

private:
    [[noreturn]] void fail(const QString &problem, int offset) const { m_lex.fail(problem, offset); }

    QString spanText(const Node *n) const
    {
        return m_lex.source().mid(n->begin, n->end - n->begin).simplified();
    }

    const TableInfo *table(const TableRef &ref, int *index)
    {
        QString &path = m_paths[ref.written];
        if (path.isEmpty()) {
            bool byLetterCase = false;
            path = resolveTablePathFound(ref.written, m_ctx.databaseFolder, &byLetterCase);
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

    ScopeTable scopeTable(const TableRef &ref, const QString &sqlAlias)
    {
        ScopeTable t;
        t.info = table(ref, &t.index);
        t.alias = ref.alias;
        t.written = ref.written;
        t.baseName = QFileInfo(t.info->filePath).completeBaseName();
        t.sqlAlias = sqlAlias;
        return t;
    }

    QString tableSql(const TableInfo *info) const
    {
        return quoteIdent(info->schema) + u'.' + quoteIdent(info->table);
    }

    // -- names ---------------------------------------------------------------

    static bool qualifierMatches(const ScopeTable &t, const QString &q)
    {
        if (!t.alias.isEmpty())
            return t.alias.compare(q, Qt::CaseInsensitive) == 0;
        return t.baseName.compare(q, Qt::CaseInsensitive) == 0
            || t.written.compare(q, Qt::CaseInsensitive) == 0;
    }

    Value column(const Node *n, Scope *scope)
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

    int param(const Node *n)
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

    // -- typing helpers -------------------------------------------------------

    // The SQL of a value as the given type wants it: string constants become
    // numbers, dates or truth values; parameters learn what they should be.
    QString as(const Value &v, ValueType want)
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

    static bool comparable(ValueType a, ValueType b)
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
    ValueType meet(const Value &l, const Value &r, const Node *where)
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

    void requireText(const Value &v, const Node *n, const QString &what)
    {
        const ValueType t = v.param >= 0 ? m_out.params[v.param].declared : v.type;
        if (t != ValueType::Unknown && !isTextType(t))
            fail(QStringLiteral("%1 ist nur auf Texte anwendbar, nicht auf %2").arg(what, typeName(t)), n->begin);
    }

    Value paramValue(const Node *n)
    {
        Value v;
        v.param = param(n);
        v.sql = u'?' + QString::number(m_out.params[v.param].sqlIndex);
        v.type = m_out.params[v.param].declared;
        return v;
    }

    static Value make(const QString &sql, ValueType type, int size = 0)
    {
        Value v;
        v.sql = sql;
        v.type = type;
        v.size = size;
        return v;
    }

    // -- expressions -----------------------------------------------------------

    Value expr(const Node *n, Scope *scope)
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
    Value exprInner(const Node *n, Scope *scope)
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
            QString call;
            if (n->c) {
                const Value e = expr(n->c, scope);
                requireText(e, n->c, QStringLiteral("ESCAPE"));
                as(e, ValueType::Text);
                call = cat({u"tarvo_like(", a.sql, u", ", b.sql, u", ", e.sql, u")"});
            } else {
                call = cat({u"tarvo_like(", a.sql, u", ", b.sql, u")"});
            }
            return make(n->negated ? cat({u"(NOT ", call, u")"}) : call, ValueType::Boolean);
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
    QString keySet(const Node *n, Scope *scope, std::vector<const Node *> *rest)
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
    static QString balanced(const QStringList &terms, qsizetype from, qsizetype to, QStringView op)
    {
        if (to - from == 1)
            return terms[from];
        const qsizetype mid = from + (to - from) / 2;
        return cat({u"(", balanced(terms, from, mid, op), op, balanced(terms, mid, to, op), u")"});
    }

    void numeric(const Value &v, const Node *n, const QString &what)
    {
        const ValueType t = v.param >= 0 ? m_out.params[v.param].declared : v.type;
        if (v.param >= 0 && t == ValueType::Unknown) {
            m_out.params[v.param].expected = ValueType::Integer;
            return;
        }
        if (t != ValueType::Unknown && !isNumericType(t) && !v.literal)
            fail(QStringLiteral("%1 verlangt eine Zahl, nicht %2").arg(what, typeName(t)), n->begin);
    }

    void condition(const Value &v, const Node *n)
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
    Value arith(const Node *n, Scope *scope)
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

    Value combine(const Node *n, const Value &a, const Value &b)
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

    Value function(const Node *n, Scope *scope)
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
            Value v = make(cat({f == QLatin1String("UPPER") ? u"tarvo_upper(" : u"tarvo_lower(", as(a, ValueType::Text), u")"}),
                           a.type == ValueType::Memo ? ValueType::Memo : ValueType::Text, a.size);
            v.aggregate = a.aggregate;
            if (a.param >= 0 && m_out.params[a.param].expected == ValueType::Unknown)
                m_out.params[a.param].expected = ValueType::Text;
            return v;
        }
        fail(QStringLiteral("Unbekannte Funktion \"%1\"").arg(f), n->begin);
    }

    Value aggregate(const Node *n, Scope *scope)
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
    QString collated(const QString &sql, ValueType type) const
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

    Value cast(const Node *n, Scope *scope)
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

    // -- SELECT ---------------------------------------------------------------

    static bool hasAggregate(const Node *n, int depth = 0)
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

    struct BareColumn
    {
        const Node *node;
        QString sql;
    };

    QString orderTerm(const QString &sql, ValueType type, bool desc) const
    {
        QString t = sql;
        if (isTextType(type) && !m_ctx.textCollation.isEmpty())
            t += QStringLiteral(" COLLATE ") + m_ctx.textCollation;
        if (desc)
            t += QStringLiteral(" DESC");
        return t;
    }

    QString core(const SelectCore &c, Scope *outer, std::vector<ResultColumn> *cols, bool top, bool *liveOut,
                 Scope *scopeOut, bool *aggregateOut)
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
        if (c.where) {
            const Value w = expr(c.where, &scope);
            condition(w, c.where);
            sql += QStringLiteral(" WHERE ") + w.sql;
        }
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

    static void uniqueNames(std::vector<ResultColumn> &cols)
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

    QString select(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top)
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

    QString selectInner(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top)
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

    // -- changes --------------------------------------------------------------

    void targetScope(const Statement &st, Scope *scope)
    {
        ScopeTable t = scopeTable(st.target, QString());
        // Columns of the changed table go unqualified: SQLite knows no alias
        // in UPDATE and DELETE, and sub-queries name their own tables t0, t1...
        t.sqlAlias = quoteIdent(t.info->table);
        scope->tables.push_back(t);
        m_out.targetTable = t.index;
    }

    const FieldInfo *targetField(const ScopeTable &t, const QString &name, int offset)
    {
        const FieldInfo *f = t.info->field(name);
        if (!f)
            fail(QStringLiteral("Feld \"%1\" gibt es in der Tabelle \"%2\" nicht").arg(name, t.written), offset);
        return f;
    }

    QString valueFor(const FieldInfo *f, const Node *n, Scope *scope)
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

    void update(const Statement &st)
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
        if (st.where) {
            const Value w = expr(st.where, &scope);
            condition(w, st.where);
            m_out.sql += QStringLiteral(" WHERE ") + w.sql;
        }
    }

    void remove(const Statement &st)
    {
        Scope scope;
        targetScope(st, &scope);
        m_out.sql = QStringLiteral("DELETE FROM ") + tableSql(scope.tables[0].info);
        if (st.where) {
            const Value w = expr(st.where, &scope);
            condition(w, st.where);
            m_out.sql += QStringLiteral(" WHERE ") + w.sql;
        }
    }

    void insert(const Statement &st)
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

    void alter(const Statement &st)
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

    const Lexer &m_lex;
    const TranslateContext &m_ctx;
    Translation &m_out;
    int m_aliasCounter = 0;
    int m_aggregateDepth = 0;
    QHash<QString, int> m_paramIndex; // upper-case name -> index into params
    bool m_aggregatesAllowed = false;
    std::vector<BareColumn> *m_bareColumns = nullptr;
    QStringList m_groupOrder;
    QStringList m_lastItems;
    QHash<QString, QString> m_paths; // table paths as written, resolved
    int m_exprDepth = 0;
    static constexpr int MaxExprDepth = 950; // SQLite refuses 1000
    int m_deepest = 0;

public:
    int m_deepestOffset = 0; // where the expressions nest deepest
};

} // namespace

namespace {

// How deep SQLite's parser has to nest for a text, weighted by what each
// bracket costs it (a function call or a sign more than a plain bracket).
// SQLite refuses a statement that nests too deep, so the translator refuses
// it first, with its own message.
int nestingCost(const QString &sql)
{
    std::vector<int> costs;
    int depth = 0, worst = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') { // literal or quoted name: skip it
            for (++i; i < n; ++i)
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c)
                        ++i;
                    else
                        break;
                }
            continue;
        }
        if (c == u'(') {
            int cost = 2;
            if (i > 0 && (sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_'))
                cost = 3; // a function call
            if (i + 1 < n && sql[i + 1] == u'-')
                cost = 3; // a sign
            if (QStringView(sql).mid(i + 1, 6) == u"SELECT")
                cost = 6;
            costs.push_back(cost);
            depth += cost;
            worst = qMax(worst, depth);
        } else if (c == u')' && !costs.empty()) {
            depth -= costs.back();
            costs.pop_back();
        }
    }
    return worst;
}

} // namespace

Translation translate(const QStringList &lines, const TranslateContext &context)
{
    Lexer lexer(lines);
    Parser parser(lexer, lexer.run());
    const Statement st = parser.parseStatement();
    Translation out;
    Translator translator(lexer, context, out);
    translator.run(st);
    if (nestingCost(out.sql) > 80)
        lexer.fail(QStringLiteral("Der Ausdruck ist zu tief verschachtelt"), translator.m_deepestOffset);
    return out;
}

QStringList parameterNames(const QStringList &lines)
{
    QStringList names;
    QSet<QString> seen;
    Lexer lexer(lines);
    std::vector<Token> tokens;
    try {
        lexer.run(tokens);
    } catch (const SqlError &) {
        // The parameters before the fault still count.
    }
    for (const Token &t : tokens) {
        if (t.kind != Tok::Param)
            continue;
        const QString key = t.text.toUpper();
        if (!seen.contains(key)) {
            seen.insert(key);
            names << t.text;
        }
    }
    return names;
}

StatementKind statementKind(const QStringList &lines)
{
    Lexer lexer(lines);
    std::vector<Token> tokens;
    try {
        lexer.run(tokens);
    } catch (const SqlError &) {
        // The first word is all that counts.
    }
    if (tokens.empty() || tokens.front().kind != Tok::Ident)
        return StatementKind::Select;
    const QString &word = tokens.front().text;
    if (word.compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) == 0)
        return StatementKind::Update;
    if (word.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0)
        return StatementKind::Delete;
    if (word.compare(QLatin1String("INSERT"), Qt::CaseInsensitive) == 0)
        return StatementKind::Insert;
    if (word.compare(QLatin1String("ALTER"), Qt::CaseInsensitive) == 0)
        return StatementKind::AlterTable;
    return StatementKind::Select;
}

} // namespace engine::sql

QString QuoteSQLString(const QString &text)
{
    QString q = text;
    q.replace(u'"', QStringLiteral("\"\""));
    return q;
}

QString SQLTableRef(const QString &path)
{
    return u'"' + QuoteSQLString(path) + u'"';
}
