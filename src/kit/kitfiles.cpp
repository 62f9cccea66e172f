#include "kit/kitfiles.h"

#include "kit/kitresources.h"
#include "platform/progdir.h"

#include <QFileInfo>
#include <QImageReader>

QString KitProgramFolder()
{
    return platform::programDir();
}

void SetKitProgramFolder(const QString &folder)
{
    platform::setProgramDir(folder);
    FlushResourceCache();
}

QImage LoadKitImage(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull())
        return {};
    return img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                 : img.convertToFormat(QImage::Format_RGB32);
}
