// The statements of the canned queries, as lines; every table is named by
// its reference (path in double quotes), every value the user typed is
// quoted by QuoteSQLString or handed as a date built from QDate.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace query {

// Films of one category (its code character).
QStringList CategoryQueryLines(const QString &filmRef, QChar code);

// Films of a rating; "at least" a negative rating has no condition, a
// rating of -1 without "at least" asks for films without rating.
QStringList RatingQueryLines(const QString &filmRef, bool atLeast, int rating, const QString &order);

// Media whose label is not printed, of the kinds set in the order
// VHS-SB, VHS-KK, DVD, other kinds.
QStringList NotPrintedQueryLines(const QString &mediaRef, const std::array<bool, 4> &kinds);

// A date typed as day.month.year (one or two digits, four-digit year);
// nothing when it is not a valid date of the calendar.
std::optional<QDate> ParseShortDate(const QString &text);
// The date as the dialect compares date strings: month/day/year.
QString SqlDateText(const QDate &date);

// Lent media: all lent (empty text), lent or due on or before a date, or by
// borrower name (part of it, letter case ignored). Nothing when a date was
// asked for and the text is no valid date.
std::optional<QStringList> LendingQueryLines(const QString &mediaRef, bool byLendDate, bool byReturnDate,
                                             const QString &text);
// Due today or earlier.
QStringList ReminderQueryLines(const QString &mediaRef, const QDate &today);

// The full-text film search over the fields Titel, Untertitel, Free1..Free15
// whose flags are set (17 flags in that order); parameters N1 and M.
QStringList FilmSearchLines(const QString &filmRef, const std::array<bool, 17> &fields, bool caseSensitive);
QString FilmSearchPattern(const QString &term);

} // namespace query
