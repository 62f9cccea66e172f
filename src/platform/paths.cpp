#include "platform/paths.h"

namespace platform {

QString toNativeSeparators(const QString &storedPath)
{
    QString p = storedPath;
    p.replace(u'\\', u'/');
    return p;
}

QString toStoredSeparators(const QString &path)
{
    QString p = path;
    p.replace(u'/', u'\\');
    return p;
}

bool isAbsolutePath(const QString &path)
{
    if (path.startsWith(u'/') || path.startsWith(QLatin1String("\\\\")))
        return true;
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

QString joinPath(const QString &folder, const QString &name)
{
    const QString n = toNativeSeparators(name);
    if (folder.isEmpty())
        return n;
    QString f = toNativeSeparators(folder);
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    qsizetype skip = 0;
    while (skip < n.size() && n[skip] == u'/')
        ++skip;
    if (f == QLatin1String("/"))
        return f + n.mid(skip);
    return f + u'/' + n.mid(skip);
}

QString withTrailingSeparator(const QString &folder)
{
    QString f = toNativeSeparators(folder);
    if (!f.isEmpty() && !f.endsWith(u'/'))
        f += u'/';
    return f;
}

QString fileExtension(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash)
        return {};
    return path.mid(dot);
}

QString stripExtension(const QString &path)
{
    const QString ext = fileExtension(path);
    return path.left(path.size() - ext.size());
}

} // namespace platform
