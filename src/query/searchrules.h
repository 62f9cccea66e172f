// The small rules of the film, lending and rating search dialogs.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace query {

// The master box of the attachment fields: all, none or some checked.
enum class MasterState { Unchecked, Checked, Grayed };
MasterState AttachmentMasterState(const QList<bool> &boxes);

// The quick find's fields in the order they are tried: Titel, Untertitel,
// Free1..Free15, for the boxes that are checked (17 flags in that order).
QStringList FindFilmFields(const QList<bool> &checked);

// The rating search's sort items and their ORDER BY lists.
QStringList RatingSortItems();
QString RatingOrderBy(const QString &sortItem);

// A calendar date as the lending search writes it: day.month.year without
// leading zeros.
QString LendingDateText(const QDate &date);
// The calendar's buttons: a year back or on, a month on or back (the month
// wraps into the next or previous year). The day is kept where the month
// has it, else the month's last day.
QDate ShiftCalendar(const QDate &date, int years, int months);

} // namespace query
