// Tokens of the local SQL dialect: the statement's lines joined into one
// text, cut into words, strings, numbers, parameters and symbols, each with
// its place for messages.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace engine::sql {

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
    explicit Lexer(const QStringList &lines);

    const QString &source() const { return m_src; }

    // Line and column (1-based) of an offset in the joined statement.
    void position(int offset, int *line, int *col) const;

    // Throws SqlError with the place of offset.
    [[noreturn]] void fail(const QString &problem, int offset) const;

    // Tokenizes everything; throws on the first fault.
    std::vector<Token> run() const
    {
        std::vector<Token> out;
        run(out);
        return out;
    }

    // Tokenizes into out; on a fault, out keeps the tokens before it.
    void run(std::vector<Token> &out) const;

private:
    QString m_src;
    std::vector<int> m_lineStarts;
};

} // namespace engine::sql
