#include "query/quicksearch.h"

#include "query/querytext.h"

#include "engine/query.h"

#include <limits>

namespace query {

QuickSearchParams QuickSearchParamsFor(const QString &text, const QStringList &categoryNames)
{
    QuickSearchParams p;
    bool ok = false;
    const qint64 w = text.trimmed().toLongLong(&ok);
    p.AuchInt = ok && w >= std::numeric_limits<int>::min() && w <= std::numeric_limits<int>::max();
    p.W = p.AuchInt ? w : 0;
    p.N1 = u'%' + text + u'%';
    const QString upper = text.toUpper();
    for (int c = 0; c < 62 && c < categoryNames.size(); ++c) {
        if (!categoryNames[c].isEmpty() && categoryNames[c].toUpper() == upper) {
            p.Kategsuche = true;
            p.Kateg = CategoryCode(c + 1);
            break;
        }
    }
    return p;
}

void ApplyQuickSearchParams(engine::Query &q, const QuickSearchParams &p)
{
    if (auto *x = q.findParam(QStringLiteral("AuchInt")))
        x->setAsBoolean(p.AuchInt);
    if (auto *x = q.findParam(QStringLiteral("W")))
        x->setAsInteger(p.W);
    if (auto *x = q.findParam(QStringLiteral("N1")))
        x->setAsString(p.N1);
    if (auto *x = q.findParam(QStringLiteral("Kategsuche")))
        x->setAsBoolean(p.Kategsuche);
    if (auto *x = q.findParam(QStringLiteral("Kateg")))
        x->setAsString(p.Kateg);
}

namespace {

// The film condition, in brackets (AND binds closer than OR).
QStringList filmCondition(int freeFields)
{
    QStringList c = {QStringLiteral("WHERE (((:AuchInt = TRUE) AND (KassNr = :W OR FilmNr = :W OR Len = :W))"),
                     QStringLiteral("OR UPPER(Medium) LIKE UPPER(:N1) OR UPPER(Titel) LIKE UPPER(:N1)"),
                     QStringLiteral("OR UPPER(Untertitel) LIKE UPPER(:N1)")};
    for (int i = 1; i <= freeFields; ++i)
        c << QStringLiteral("OR UPPER(Free%1) LIKE UPPER(:N1)").arg(i);
    c << QStringLiteral("OR Memo LIKE :N1") << QStringLiteral("OR ((:Kategsuche = TRUE) AND (Kateg = :Kateg)))");
    return c;
}

} // namespace

QStringList QuerySSFilmLines(const QString &filmRef)
{
    const QStringList cond = filmCondition(15);
    QStringList q = {QStringLiteral("SELECT Titel + \" - \" + Untertitel AS Titel, Medium, KassNr, FilmNr"),
                     QStringLiteral("FROM ") + filmRef};
    q << cond << QStringLiteral("AND Untertitel IS NOT NULL AND SUBSTRING(Untertitel FROM 1 FOR 1) <> \">\"")
      << QStringLiteral("UNION")
      << QStringLiteral("SELECT CAST(Titel + SUBSTRING(Untertitel FROM 2) AS CHAR(83)), Medium, KassNr, FilmNr")
      << QStringLiteral("FROM ") + filmRef << cond
      << QStringLiteral("AND (Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1) = \">\")");
    return q;
}

QStringList QuerySSFilmDetailLines(const QString &filmRef)
{
    return QStringList{QStringLiteral("SELECT * FROM ") + filmRef} + filmCondition(12);
}

QStringList QuerySSKassLines(const QString &mediaRef)
{
    QStringList q = {QStringLiteral("SELECT * FROM ") + mediaRef,
                     QStringLiteral("WHERE ((:AuchInt = TRUE) AND (Nr = :W OR Len = :W))"),
                     QStringLiteral("OR UPPER(Medium) LIKE UPPER(:N1) OR UPPER(Verliehen) LIKE UPPER(:N1)")};
    for (int i = 1; i <= 5; ++i)
        q << QStringLiteral("OR UPPER(Free%1) LIKE UPPER(:N1)").arg(i);
    q << QStringLiteral("OR Memo LIKE :N1");
    return q;
}

QStringList QuerySSPersLines(const QString &personRef)
{
    QStringList q = {QStringLiteral("SELECT * FROM ") + personRef, QStringLiteral("WHERE UPPER(Name) LIKE UPPER(:N1)")};
    for (int i = 1; i <= 7; ++i)
        q << QStringLiteral("OR UPPER(Free%1) LIKE UPPER(:N1)").arg(i);
    q << QStringLiteral("OR UPPER( MF) = UPPER( :N1)") << QStringLiteral("OR Memo LIKE :N1");
    return q;
}

QuickSearchRoute RouteQuickSearch(int films, int media, int persons)
{
    const int total = films + media + persons;
    if (total == 0)
        return QuickSearchRoute::Nothing;
    if (total == 1)
        return films ? QuickSearchRoute::Film : media ? QuickSearchRoute::Medium : QuickSearchRoute::Person;
    return films ? QuickSearchRoute::FilmList : media ? QuickSearchRoute::MediaList : QuickSearchRoute::PersonList;
}

int QuickSearchMode(QuickSearchRoute route)
{
    switch (route) {
    case QuickSearchRoute::FilmList:
        return 1;
    case QuickSearchRoute::MediaList:
        return 2;
    case QuickSearchRoute::PersonList:
        return 3;
    default:
        return 0;
    }
}

QString NothingFoundCaption()
{
    return QStringLiteral("Nichts gefunden");
}

QString NothingFoundText()
{
    return QStringLiteral("Es wurden keine Medien, Filme oder Personen gefunden, die den Suchbegriff enthalten. "
                          "(Beachten Sie: In Memo-Feldern  wird die Groß-/Kleinschreibung beachtet!)");
}

} // namespace query
