// The program's help. The design opens a Windows help file at a context
// number; here the help is an HTML file in the program folder, opened with the
// desktop's browser: "Hilfe/index.html", or "Tarvo.html" beside the program.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace platform {

// The help file below programFolder, or an empty string when there is none.
QString findHelpFile(const QString &programFolder);

using UrlOpener = std::function<bool(const QUrl &)>;

// Opens the help at the given context (0: its start page; otherwise the
// anchor "#kontext<n>"). Returns an empty string when the help was opened,
// otherwise the German message that says why not. open defaults to the
// desktop's handler of the URL.
QString openHelp(const QString &programFolder, int context, const UrlOpener &open = {});

} // namespace platform
