// The quick search of the main window's tool bar: one text searched at once
// in films, media and persons. Its parameters from the text, the four
// statements, and where the hits lead.
#pragma once

#include <QString>
#include <QStringList>

namespace engine {
class Query;
}

namespace query {

struct QuickSearchParams {
    bool AuchInt = false; // the text is a whole number
    qint64 W = 0;         // that number
    QString N1;           // "%" + text + "%"
    bool Kategsuche = false;
    QString Kateg;        // the code of the category named by the text
};
QuickSearchParams QuickSearchParamsFor(const QString &text, const QStringList &categoryNames);
// Gives the statement's parameters of these names their values.
void ApplyQuickSearchParams(engine::Query &q, const QuickSearchParams &p);

// The statements, over the table references (paths in double quotes).
QStringList QuerySSFilmLines(const QString &filmRef);       // display title, Medium, KassNr, FilmNr
QStringList QuerySSFilmDetailLines(const QString &filmRef); // all fields
QStringList QuerySSKassLines(const QString &mediaRef);
QStringList QuerySSPersLines(const QString &personRef);

// Where the hits lead: nothing, straight to the one hit, or the result
// panel on its films, media or persons list (mode 1..3).
enum class QuickSearchRoute { Nothing, Film, Medium, Person, FilmList, MediaList, PersonList };
QuickSearchRoute RouteQuickSearch(int films, int media, int persons);
// The panel mode a route opens (0 for the others).
int QuickSearchMode(QuickSearchRoute route);

QString NothingFoundCaption();
QString NothingFoundText();

} // namespace query
