#include "engine/sqllexer.h"

#include "engine/sqldialect.h"

namespace engine::sql {

Lexer::Lexer(const QStringList &lines)
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

void Lexer::position(int offset, int *line, int *col) const
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

void Lexer::fail(const QString &problem, int offset) const
{
    int line = 0, col = 0;
    position(offset, &line, &col);
    throw SqlError(problem, line, col);
}

void Lexer::run(std::vector<Token> &out) const
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

} // namespace engine::sql
