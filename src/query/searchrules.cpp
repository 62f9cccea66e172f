#include "query/searchrules.h"

namespace query {

MasterState AttachmentMasterState(const QList<bool> &boxes)
{
    const qsizetype on = boxes.count(true);
    if (on == 0)
        return MasterState::Unchecked;
    if (on == boxes.size())
        return MasterState::Checked;
    return MasterState::Grayed;
}

QStringList FindFilmFields(const QList<bool> &checked)
{
    QStringList out;
    for (int i = 0; i < checked.size() && i < 17; ++i) {
        if (!checked[i])
            continue;
        out << (i == 0   ? QStringLiteral("Titel")
                : i == 1 ? QStringLiteral("Untertitel")
                         : QStringLiteral("Free%1").arg(i - 1));
    }
    return out;
}

namespace {
struct SortOrder {
    const char *item;
    const char *orderBy;
};
const SortOrder kSorts[] = {
    {"Titel", "Titel, Untertitel"},
    {"Wertung / Nr", "Wertung"},
    {"Wertung / Titel", "Wertung, Titel, Untertitel"},
    {"Wertung / Kategorie / Nr", "Wertung, Kateg"},
    {"Wertung / Kategorie / Titel", "Wertung, Kateg, Titel, Untertitel"},
    {"Kategorie / Wertung / Nr", "Kateg, Wertung"},
    {"Kategorie / Wertung / Titel", "Kateg, Wertung, Titel, Untertitel"},
    {"Kategorie / Titel", "Kateg, Titel, Untertitel"},
    {"Kategorie / Nr", "Kateg"},
};
} // namespace

QStringList RatingSortItems()
{
    QStringList out;
    for (const SortOrder &s : kSorts)
        out << QString::fromUtf8(s.item);
    return out;
}

QString RatingOrderBy(const QString &sortItem)
{
    for (const SortOrder &s : kSorts)
        if (sortItem == QString::fromUtf8(s.item))
            return QString::fromUtf8(s.orderBy);
    return QString();
}

QString LendingDateText(const QDate &date)
{
    return QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
}

QDate ShiftCalendar(const QDate &date, int years, int months)
{
    return date.addYears(years).addMonths(months);
}

} // namespace query
