// The web-search sites that come with the program: "search.ini" in the
// program folder, copied into the per-user folder when that is made.
// Windows-1252 with CR LF like every INI file of the program.
#include "generator.h"

#include "platform/textfile.h"

#include <QStringList>
#include <cstdio>

TARVO_GENERATOR(genSearchIni, "web-search sites")
{
    struct Site {
        const char *name, *uri, *home, *description;
    };
    static const Site sites[] = {
        {"Internet Movie Database (englisch)", "https://www.imdb.com/find/?q=%s", "https://www.imdb.com/",
         "Die große englischsprachige Filmdatenbank mit Besetzung, Stab und Bewertungen."},
        {"The Movie Database (englisch)", "https://www.themoviedb.org/search?query=%s",
         "https://www.themoviedb.org/", "Eine freie, von Nutzern gepflegte Film- und Seriendatenbank."},
        {"Wikipedia (deutsch)", "https://de.wikipedia.org/w/index.php?search=%s", "https://de.wikipedia.org/",
         "Die freie Enzyklopädie: Artikel zu Filmen, Serien und Personen."},
        {"Wikipedia (englisch)", "https://en.wikipedia.org/w/index.php?search=%s", "https://en.wikipedia.org/",
         "Die englischsprachige Ausgabe der freien Enzyklopädie."},
    };
    QStringList lines;
    int n = 0;
    for (const Site &s : sites) {
        lines << QStringLiteral("[Search%1]").arg(++n);
        lines << QStringLiteral("Name=") + QString::fromUtf8(s.name);
        lines << QStringLiteral("URI=") + QString::fromUtf8(s.uri);
        lines << QStringLiteral("Home=") + QString::fromUtf8(s.home);
        lines << QStringLiteral("Description=") + QString::fromUtf8(s.description);
        lines << QString();
    }
    lines << QStringLiteral("[Setup]") << QStringLiteral("Default=1") << QStringLiteral("Film=Titel")
          << QStringLiteral("Pers=Name");
    const QString path = progDir + QStringLiteral("/search.ini");
    QString error;
    if (!gen::ensureParent(path) || !platform::writeFileBytes(path, platform::joinCp1252Lines(lines), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}
