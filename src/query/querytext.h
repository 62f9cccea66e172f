// The text of a free query before it runs: the table words FILM, KASS, MED
// and PERS become the open database's table paths, category names become
// their codes. A word is replaced where it stands as a word of its own after
// a blank (or at the line's start) and before a blank, a comma or the line's
// end; never inside quoted text.
#pragma once

#include <QString>
#include <QStringList>

namespace query {

// The three table files a statement can name.
struct QueryTables {
    QString film;
    QString media;
    QString person;
};

// Category n (1..62) as its one-character code: 1..9, 0, a..z, A..Z;
// any other number gives "1".
QChar CategoryCode(int n);

// The names of categories 1..62 (index 0 is category 1) from the database's
// category file ("KAT"); missing lines give empty names.
QStringList ReadCategoryNames(const QString &katPath);

// Every whole-word occurrence of word in line (letter case ignored) becomes
// replacement; the replacement itself is not searched again.
QString ReplaceQueryWord(const QString &line, const QString &word, const QString &replacement);

// The macro step over every line, in the order FILM, KASS -> MED, MED, PERS,
// then the category names (empty names skipped).
QStringList ExpandQueryMacros(const QStringList &lines, const QueryTables &tables,
                              const QStringList &categoryNames);

} // namespace query
