// Stored queries: the preset text of a new statement for a query source,
// the field list the editor offers, the type a parameter's name suggests,
// and the ".SQL" files (Windows-1252, CR LF after every line).
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace query {

// 0 cancelled, 1 film table, 2 media table, 3 films joined to media, 4 persons.
enum QuerySource { qsNone = 0, qsFilm = 1, qsMedia = 2, qsJoin = 3, qsPerson = 4 };

// The query source dialog's answer from its radio buttons: media, join and
// persons are tested in that order, else the film table.
int QueryKindFromButtons(bool media, bool join, bool person);

// The lines a new statement starts with.
QStringList NewQueryLines(int source);

// The editor's field list: media fields without the calculated ones (their
// names begin with a lower-case "b"), "M." before them for the join, then
// the film fields ("F." for the join); the person fields for source 4.
QStringList QueryFieldList(int source, const QStringList &mediaFields, const QStringList &filmFields,
                           const QStringList &personFields);

// The type a parameter's name suggests; nothing when no rule applies.
enum class ParamKind { String, Integer, Boolean };
std::optional<ParamKind> ParamKindFromName(const QString &name);

// The editor's insertions: they all work on the last line.
QStringList AppendToLastLine(QStringList lines, const QString &text);
QStringList AppendLine(QStringList lines, const QString &text);

// The editor's text as lines and back (the memo's line breaks are "\n").
QStringList EditorLines(const QString &text);
QString EditorText(const QStringList &lines);

// Reads or writes a stored statement; false (or nothing) with the reason
// in error.
std::optional<QStringList> ReadStoredQuery(const QString &path, QString *error = nullptr);
bool WriteStoredQuery(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace query
