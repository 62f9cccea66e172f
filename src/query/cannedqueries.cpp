#include "query/cannedqueries.h"

#include "engine/sqldialect.h"

#include <QRegularExpression>

namespace query {

QStringList CategoryQueryLines(const QString &filmRef, QChar code)
{
    QString term = u'"' + QString(code) + u'"';
    if (code.isLower())
        term = QStringLiteral("LOWER(%1)").arg(term);
    else if (code.isUpper())
        term = QStringLiteral("UPPER(%1)").arg(term);
    return {QStringLiteral("SELECT * FROM ") + filmRef, QStringLiteral("WHERE Kateg = ") + term};
}

QStringList RatingQueryLines(const QString &filmRef, bool atLeast, int rating, const QString &order)
{
    QStringList lines = {QStringLiteral("SELECT * FROM ") + filmRef};
    if (!(atLeast && rating < 0)) {
        lines << QStringLiteral("WHERE Wertung ");
        if (!atLeast && rating == -1) {
            lines << QStringLiteral("IS NULL");
        } else {
            lines << (atLeast ? QStringLiteral(">= ") : QStringLiteral("= "));
            lines << QString::number(rating);
        }
    }
    if (!order.isEmpty())
        lines << QStringLiteral("ORDER BY ") + order;
    return lines;
}

QStringList NotPrintedQueryLines(const QString &mediaRef, const std::array<bool, 4> &kinds)
{
    QStringList lines = {QStringLiteral("SELECT * FROM ") + mediaRef, QStringLiteral("WHERE (")};
    if (kinds[0] && kinds[1] && kinds[2] && kinds[3]) {
        lines << QStringLiteral("Gedruckt=False)");
        return lines;
    }
    static const QStringList terms = {QStringLiteral("Medium=\"VHS-SB\""), QStringLiteral("Medium=\"VHS-KK\""),
                                      QStringLiteral("Medium=\"DVD\""),
                                      QStringLiteral("(Medium!=\"VHS-SB\" and Medium!=\"VHS-KK\" and Medium!=\"DVD\")")};
    bool first = true;
    for (int i = 0; i < 4; ++i) {
        if (!kinds[size_t(i)])
            continue;
        if (!first)
            lines << QStringLiteral("OR");
        lines << terms[i];
        first = false;
    }
    lines << QStringLiteral(") AND Gedruckt=False");
    return lines;
}

std::optional<QDate> ParseShortDate(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString SqlDateText(const QDate &date)
{
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

namespace {
QStringList lendingLines(const QString &mediaRef, const QString &condition)
{
    return {QStringLiteral("SELECT * FROM ") + mediaRef + QStringLiteral(" WHERE"), condition};
}
QString dueCondition(bool byLendDate, const QDate &date)
{
    return (byLendDate ? QStringLiteral("Verleihdatum <= \"") : QStringLiteral("Rueckgabedatum <= \""))
           + SqlDateText(date) + u'"';
}
} // namespace

std::optional<QStringList> LendingQueryLines(const QString &mediaRef, bool byLendDate, bool byReturnDate,
                                             const QString &text)
{
    if (text.isEmpty())
        return lendingLines(mediaRef, QStringLiteral("Verliehen<>\"\""));
    if (byLendDate || byReturnDate) {
        const auto date = ParseShortDate(text);
        if (!date)
            return std::nullopt;
        return lendingLines(mediaRef, dueCondition(byLendDate, *date));
    }
    return lendingLines(mediaRef, QStringLiteral("UPPER(Verliehen) LIKE UPPER(\"%") + QuoteSQLString(text)
                                      + QStringLiteral("%\")"));
}

QStringList ReminderQueryLines(const QString &mediaRef, const QDate &today)
{
    return lendingLines(mediaRef, dueCondition(false, today));
}

QStringList FilmSearchLines(const QString &filmRef, const std::array<bool, 17> &fields, bool caseSensitive)
{
    QStringList lines = {QStringLiteral("SELECT * FROM ") + filmRef + QStringLiteral(" WHERE")};
    for (int i = 0; i < 17; ++i) {
        if (!fields[size_t(i)])
            continue;
        const QString field = i == 0   ? QStringLiteral("Titel")
                              : i == 1 ? QStringLiteral("Untertitel")
                                       : QStringLiteral("Free%1").arg(i - 1);
        lines << (caseSensitive ? field + QStringLiteral(" LIKE :N1 OR")
                                : QStringLiteral("UPPER(") + field + QStringLiteral(") LIKE UPPER(:N1) OR"));
    }
    lines << QStringLiteral("(:M = true) AND (Memo LIKE :N1)");
    return lines;
}

QString FilmSearchPattern(const QString &term)
{
    return u'%' + term + u'%';
}

} // namespace query
