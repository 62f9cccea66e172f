#include "platform/help.h"

#include "platform/paths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace platform {

QString findHelpFile(const QString &programFolder)
{
    for (const char *name : {"Hilfe/index.html", "Tarvo.html"}) {
        const QString path = joinPath(programFolder, QString::fromLatin1(name));
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    }
    return QString();
}

QString openHelp(const QString &programFolder, int context, const UrlOpener &open)
{
    const QString file = findHelpFile(programFolder);
    if (file.isEmpty())
        return QStringLiteral("Die Hilfe ist nicht installiert: Im Programmordner \"%1\" gibt es weder "
                              "\"Hilfe/index.html\" noch \"Tarvo.html\".")
            .arg(QDir::toNativeSeparators(programFolder));
    QUrl url = QUrl::fromLocalFile(file);
    if (context != 0)
        url.setFragment(QStringLiteral("kontext%1").arg(context));
    const bool ok = open ? open(url) : QDesktopServices::openUrl(url);
    if (!ok)
        return QStringLiteral("Die Hilfedatei \"%1\" konnte nicht geöffnet werden.").arg(file);
    return QString();
}

} // namespace platform
