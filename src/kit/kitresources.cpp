#include "kit/kitresources.h"

#include "platform/progdir.h"
#include "platform/textfile.h"

#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>

namespace {

struct ResourceCache {
    QString dir;
    QHash<QString, QString> files; // lower-case file name -> path
    QHash<QString, QPixmap> plain;
    QHash<QString, QPixmap> transparent;
};

ResourceCache &cache()
{
    static ResourceCache c;
    const QString dir = platform::programDir() + QStringLiteral("Resources/");
    if (c.dir != dir) {
        c = ResourceCache{};
        c.dir = dir;
        const QDir d(dir);
        for (const QString &f : d.entryList(QDir::Files))
            c.files.insert(f.toLower(), d.filePath(f));
    }
    return c;
}

QString resourcePath(const QString &name, const QString &extension)
{
    return cache().files.value((name + u'.' + extension).toLower());
}

} // namespace

QPixmap LoadResourceBitmap(const QString &name)
{
    ResourceCache &c = cache();
    auto it = c.plain.constFind(name.toLower());
    if (it != c.plain.constEnd())
        return *it;
    QPixmap pm;
    for (const QString &ext : {QStringLiteral("png"), QStringLiteral("bmp")}) {
        const QString path = resourcePath(name, ext);
        if (!path.isEmpty() && pm.load(path))
            break;
    }
    c.plain.insert(name.toLower(), pm);
    return pm;
}

QPixmap LoadResourceBitmapTransparent(const QString &name)
{
    ResourceCache &c = cache();
    auto it = c.transparent.constFind(name.toLower());
    if (it != c.transparent.constEnd())
        return *it;
    QPixmap pm = LoadResourceBitmap(name);
    if (!pm.isNull()) {
        const QImage img = pm.toImage();
        const QColor key = img.pixelColor(0, img.height() - 1);
        pm.setMask(QBitmap::fromImage(img.createMaskFromColor(key.rgb(), Qt::MaskInColor)));
    }
    c.transparent.insert(name.toLower(), pm);
    return pm;
}

QByteArray LoadResourceData(const QString &name, const QString &extension)
{
    const QString path = resourcePath(name, extension);
    if (path.isEmpty())
        return {};
    return platform::readFileBytes(path).value_or(QByteArray());
}

void FlushResourceCache()
{
    cache() = ResourceCache{};
}
