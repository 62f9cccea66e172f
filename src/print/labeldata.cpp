#include "print/labeldata.h"

#include "app/apppaths.h"
#include "app/settings.h"

#include "dbui/pictureloader.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

TProgDirArtProvider::TProgDirArtProvider(const QString &progDir) : m_progDir(progDir) {}

QImage TProgDirArtProvider::symbol(const QString &fileName)
{
    // One job or one paint draws the same few symbols on every label.
    const auto known = m_symbols.constFind(fileName);
    if (known != m_symbols.constEnd())
        return *known;
    // The names are those of a folder that ignores case ("Widescrn.bmp" is
    // "widescrn.bmp"), so a name that is not found as written is looked up
    // without regard to case. A path of its own (the foot symbol may be
    // one) is taken as it stands.
    const QString name = platform::toNativeSeparators(fileName); // "Symbole\x.bmp" as stored
    QString path = QDir::isAbsolutePath(name) ? name : m_progDir + name;
    if (!QFileInfo::exists(path) && !QDir::isAbsolutePath(name)) {
        const QFileInfo wanted(path);
        const QStringList any = wanted.dir().entryList(QDir::Files);
        for (const QString &f : any)
            if (f.compare(wanted.fileName(), Qt::CaseInsensitive) == 0) {
                path = wanted.dir().filePath(f);
                break;
            }
    }
    const QImage img = loadPicture(path);
    m_symbols.insert(fileName, img);
    return img;
}

QString TProgDirArtProvider::categoryName(int index)
{
    if (index < 1 || index > int(m_categories.size()))
        return QString();
    return m_categories[size_t(index - 1)].name;
}

QImage TProgDirArtProvider::categorySymbol(int index)
{
    if (index < 1 || index > int(m_categories.size()) || m_categories[size_t(index - 1)].symbolPath.isEmpty())
        return QImage();
    const QString path = ExpandProgramPath(m_categories[size_t(index - 1)].symbolPath);
    return QFileInfo::exists(path) ? loadPicture(path) : QImage();
}

std::optional<QFont> TProgDirArtProvider::categoryFont(int index)
{
    if (index < 1 || index > int(m_categories.size()))
        return std::nullopt;
    return m_categories[size_t(index - 1)].font;
}

bool TProgDirArtProvider::freeFieldIsFileLink(int freeNr)
{
    return freeNr >= 1 && freeNr <= int(m_links.size()) && m_links[size_t(freeNr - 1)];
}

QString TProgDirArtProvider::expandLinkPath(const QString &value)
{
    return ExpandLinkPath(value);
}

QImage TProgDirArtProvider::loadPicture(const QString &path)
{
    return dbui::PictureLoader::loadFile(path).image;
}
