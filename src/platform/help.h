// The program's help: German HTML pages in the program folder's "Hilfe/",
// opened with the desktop's browser. Every help topic the program asks for
// (a dialog's Help button, the Hilfe menu) has its place: a page and an
// anchor on it.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

namespace platform {

struct THelpPlace
{
    QString page;   // file name in "Hilfe/"
    QString anchor; // id on that page; empty for the top of the page
};

// Where a topic stands; topic 0 is the contents ("index.html"), and so is a
// topic the help does not know (known false then).
THelpPlace helpPlace(int topic, bool *known = nullptr);

// Every topic the help knows.
QList<int> helpTopics();

// The page that forwards the browser to a topic's anchor ("thema-84.html"),
// for a topic that stands at an anchor: the desktop's opener drops the
// anchor of a file's address, so the program opens this page instead.
QString helpTopicFile(int topic);

// The help's start page below programFolder, or an empty string when there is none.
QString findHelpFile(const QString &programFolder);

using UrlOpener = std::function<bool(const QUrl &)>;

// Opens the help at the given topic: its forwarding page, else its page and
// anchor, else the start page. Returns an empty string when the help
// was opened, otherwise the German message that says why not and where the
// help file lies. open defaults to the desktop's handler of the URL.
QString openHelp(const QString &programFolder, int topic, const UrlOpener &open = {});

} // namespace platform
