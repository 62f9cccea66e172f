#include "platform/help.h"

#include "platform/paths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <map>

namespace platform {

namespace {

struct TopicPlace
{
    const char *page;
    const char *anchor;
};

// The help topics of the windows and the Hilfe menu, and where the help
// answers them.
const std::map<int, TopicPlace> &topics()
{
    static const std::map<int, TopicPlace> t = {
        {0, {"index.html", ""}},
        // The Hilfe menu and the main window.
        {10, {"hauptfenster.html", "hauptfenster"}},
        {11, {"neu.html", ""}},
        {12, {"probleme.html", ""}},
        {13, {"hilfe.html", ""}},
        {84, {"hauptfenster.html", "erste-schritte"}},
        // Settings of the main window's menu.
        {20, {"einstellungen.html", "numerierung"}},
        {21, {"einstellungen.html", "restspielzeit"}},
        {22, {"einstellungen.html", "zaehlwerk"}},
        // Media, films and their free areas.
        {29, {"filme.html", "platz-suchen"}},
        {30, {"hauptfenster.html", "anhang"}},
        {53, {"filme.html", "bereich-teilen"}},
        {61, {"filme.html", "laenge"}},
        {89, {"abfragen.html", "medium-lokalisieren"}},
        // Captions, categories, file links.
        {36, {"kategorien.html", "anhangfelder"}},
        {44, {"kategorien.html", "kategorien"}},
        {118, {"kategorien.html", "verknuepfung"}},
        // Queries and searches.
        {60, {"abfragen.html", "sql"}},
        {62, {"abfragen.html", "parameter"}},
        {63, {"abfragen.html", "tabellarisch"}},
        {64, {"abfragen.html", "filmsuche"}},
        {66, {"abfragen.html", "wertung"}},
        {68, {"abfragen.html", "quelle"}},
        {69, {"abfragen.html", "diagramm"}},
        {80, {"abfragen.html", "internetsuche"}},
        // Lending.
        {65, {"verleih.html", "verleihsuche"}},
        {67, {"verleih.html", "einstellungen"}},
        // Export.
        {106, {"export.html", "tabelle"}},
        {107, {"export.html", "liste"}},
        {108, {"export.html", "anhang"}},
        // Printing.
        {121, {"drucken.html", "listen"}},
        {122, {"drucken.html", "filmseite"}},
        {123, {"drucken.html", "personenseite"}},
        // Backup.
        {150, {"datensicherung.html", ""}},
    };
    return t;
}

QString helpFolder(const QString &programFolder)
{
    return joinPath(programFolder, QStringLiteral("Hilfe"));
}

} // namespace

THelpPlace helpPlace(int topic, bool *known)
{
    const auto it = topics().find(topic);
    if (known)
        *known = it != topics().end();
    const TopicPlace &p = it != topics().end() ? it->second : topics().at(0);
    return {QString::fromLatin1(p.page), QString::fromLatin1(p.anchor)};
}

QList<int> helpTopics()
{
    QList<int> out;
    for (const auto &t : topics())
        out << t.first;
    return out;
}

QString helpTopicFile(int topic)
{
    return QStringLiteral("thema-%1.html").arg(topic);
}

QString findHelpFile(const QString &programFolder)
{
    const QString path = joinPath(helpFolder(programFolder), QStringLiteral("index.html"));
    return QFileInfo(path).isFile() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : QString();
}

QString openHelp(const QString &programFolder, int topic, const UrlOpener &open)
{
    const QString start = findHelpFile(programFolder);
    if (start.isEmpty())
        return QStringLiteral("Die Hilfe ist nicht installiert: Im Programmordner \"%1\" fehlt die Datei "
                              "\"Hilfe/index.html\".")
            .arg(QDir::toNativeSeparators(programFolder));
    // A page missing from the help falls back to its start page.
    const THelpPlace place = helpPlace(topic);
    const QString forward = joinPath(helpFolder(programFolder), helpTopicFile(topic));
    const QString page = QDir::cleanPath(joinPath(helpFolder(programFolder), place.page));
    const bool onPage = QFileInfo(page).isFile();
    const bool forwarded = onPage && !place.anchor.isEmpty() && QFileInfo(forward).isFile();
    const QString file = forwarded ? QDir::cleanPath(forward) : onPage ? page : start;
    QUrl url = QUrl::fromLocalFile(file);
    if (onPage && !forwarded && !place.anchor.isEmpty())
        url.setFragment(place.anchor);
    const bool ok = open ? open(url) : QDesktopServices::openUrl(url);
    if (!ok)
        return QStringLiteral("Tarvo konnte keinen Browser starten, der die Hilfe anzeigt. Sie finden die Hilfe in "
                              "der Datei \"%1\"; öffnen Sie sie bitte mit einem Browser.")
            .arg(QDir::toNativeSeparators(file));
    return QString();
}

} // namespace platform
