// The help's forwarding pages: "Hilfe/thema-<n>.html" for every help topic
// that stands at an anchor of a page. The program opens these rather than
// "page.html#anchor", because the desktop's opener (xdg-open) drops the
// anchor of a file's address; the browser follows the forward with it.
#include "generator.h"

#include "platform/help.h"

#include <QFile>
#include <cstdio>

TARVO_GENERATOR(genHelpTopics, "help topic pages")
{
    for (int topic : platform::helpTopics()) {
        const platform::THelpPlace place = platform::helpPlace(topic);
        if (place.anchor.isEmpty())
            continue;
        const QString target = place.page + QLatin1Char('#') + place.anchor;
        const QString path = progDir + QStringLiteral("/Hilfe/") + platform::helpTopicFile(topic);
        if (!gen::ensureParent(path))
            return false;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "tarvo-gen: cannot write %s\n", qPrintable(path));
            return false;
        }
        f.write(QStringLiteral("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
                               "<meta http-equiv=\"refresh\" content=\"0; url=%1\">\n"
                               "<title>Tarvo-Hilfe</title>\n<link rel=\"stylesheet\" href=\"style.css\">\n"
                               "</head>\n<body>\n<p><a href=\"%1\">Weiter zur Hilfe</a></p>\n</body>\n</html>\n")
                    .arg(target)
                    .toUtf8());
    }
    return true;
}
