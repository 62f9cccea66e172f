#include "query/querytext.h"

#include "engine/sqldialect.h"
#include "platform/textfile.h"

namespace query {

QChar CategoryCode(int n)
{
    if (n >= 1 && n <= 9)
        return QChar(u'0' + n);
    if (n == 10)
        return u'0';
    if (n >= 11 && n <= 36)
        return QChar(u'a' + (n - 11));
    if (n >= 37 && n <= 62)
        return QChar(u'A' + (n - 37));
    return u'1';
}

QStringList ReadCategoryNames(const QString &katPath)
{
    QStringList names;
    const auto lines = platform::readTextLines(katPath);
    for (int n = 0; n < 62; ++n)
        names << (lines && 2 * n < lines->size() ? lines->at(2 * n).trimmed() : QString());
    return names;
}

QString ReplaceQueryWord(const QString &line, const QString &word, const QString &replacement)
{
    if (word.isEmpty())
        return line;
    QString out;
    out.reserve(line.size() + replacement.size());
    QChar quote; // the quote character while inside quoted text
    int i = 0;
    const int n = int(line.size());
    const int w = int(word.size());
    while (i < n) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
            ++i;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            out += c;
            ++i;
            continue;
        }
        const bool startsWord = i == 0 || line[i - 1] == u' ';
        if (startsWord && i + w <= n && QStringView(line).mid(i, w).compare(word, Qt::CaseInsensitive) == 0
            && (i + w == n || line[i + w] == u' ' || line[i + w] == u',')) {
            out += replacement;
            i += w;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

QStringList ExpandQueryMacros(const QStringList &lines, const QueryTables &tables,
                              const QStringList &categoryNames)
{
    const QString film = SQLTableRef(tables.film);
    const QString media = SQLTableRef(tables.media);
    const QString person = SQLTableRef(tables.person);
    QStringList out;
    out.reserve(lines.size());
    for (QString line : lines) {
        line = ReplaceQueryWord(line, QStringLiteral("FILM"), film);
        line = ReplaceQueryWord(line, QStringLiteral("KASS"), QStringLiteral("MED"));
        line = ReplaceQueryWord(line, QStringLiteral("MED"), media);
        line = ReplaceQueryWord(line, QStringLiteral("PERS"), person);
        for (int c = 0; c < 62 && c < categoryNames.size(); ++c) {
            if (!categoryNames[c].isEmpty())
                line = ReplaceQueryWord(line, categoryNames[c], u'"' + QString(CategoryCode(c + 1)) + u'"');
        }
        out << line;
    }
    return out;
}

} // namespace query
