#include "kit/kitfiles.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString KitProgramFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

void SetKitProgramFolder(const QString &folder)
{
    folderOverride() = folder;
}

QPixmap LoadResourceBitmap(const QString &name)
{
    const QString path = platform::joinPath(KitProgramFolder(), QStringLiteral("Resources/") + name + QStringLiteral(".png"));
    const QImage img = LoadKitImage(path);
    return img.isNull() ? QPixmap() : QPixmap::fromImage(img);
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
