#include "engine/sqldialect.h"

#include "engine/sqllexer.h"
#include "engine/sqlstatement.h"
#include "engine/sqltranslator.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

QString tablePathOf(const QString &written, const QString &databaseFolder)
{
    QString p = written.trimmed();
    p.replace(u'\\', u'/');
    if (!p.startsWith(u'/'))
        p = QDir(databaseFolder).filePath(p);
    p = QDir::cleanPath(p);
    if (QFileInfo(p).suffix().isEmpty())
        p += QStringLiteral(".DB");
    return p;
}

QString resolveTablePath(const QString &written, const QString &databaseFolder, bool *byLetterCase)
{
    const QString p = tablePathOf(written, databaseFolder);
    if (QFileInfo::exists(p))
        return p;
    // Names typed by hand need not match the file's letter case.
    const QFileInfo want(p);
    const QDir dir = want.dir();
    if (!dir.exists())
        return p;
    if (byLetterCase)
        *byLetterCase = true;
    const QStringList names = dir.entryList(QDir::Files);
    for (const QString &n : names)
        if (n.compare(want.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(n);
    return p;
}

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
    ParsedStatement parsed;
    parseStatement(lexer, parsed);
    Translation out;
    Translator translator(lexer, context, out);
    translator.run(parsed.statement);
    if (nestingCost(out.sql) > 80)
        lexer.fail(QStringLiteral("Der Ausdruck ist zu tief verschachtelt"), translator.deepestOffset());
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
