#include "print/labeldata.h"

#include "app/apppaths.h"
#include "app/settings.h"

#include "dbui/pictureloader.h"

#include <QDir>
#include <QFileInfo>

TLabelOptions LabelOptionsFromSettings()
{
    TLabelOptions o;
    o.PrintLen = PrintLen;
    o.PrintEndPos = PrintEndPos;
    o.PlayTimeFormat = PlayTimeFormat;
    o.PrintFree = PrintFree;
    o.PrintFreeNr = PrintFreeNr;
    o.PrintHFree = PrintHFree;
    o.PrintHFreeNr = PrintHFreeNr;
    o.PrintHKateg = PrintHKateg;
    o.PrintKat = PrintKat;
    o.FreeStrikeOut = FreeStrikeOut;
    o.ATTS = ATTS;
    o.PrintTon = PrintTon;
    o.PrintKategSymb = PrintKategSymb;
    o.PrintAnhSymb = PrintAnhSymb;
    o.PrintAnhSymbMemo = PrintAnhSymbMemo;
    o.PrintSterne = PrintSterne;
    o.FormatSymbMode = FormatSymbMode;
    o.MaxSizeSymb = MaxSizeSymb;
    o.PrintRest = PrintRest;
    o.bRest1bis4 = bRest1bis4;
    return o;
}


TProgDirArtProvider::TProgDirArtProvider(const QString &progDir) : m_progDir(progDir) {}

QImage TProgDirArtProvider::symbol(const QString &fileName)
{
    // The names are those of a folder that ignores case ("Widescrn.bmp" is
    // "widescrn.bmp"), so a name that is not found as written is looked up
    // without regard to case.
    QString path = m_progDir + fileName;
    if (!QFileInfo::exists(path)) {
        const QStringList any = QDir(m_progDir).entryList(QDir::Files);
        for (const QString &f : any)
            if (f.compare(fileName, Qt::CaseInsensitive) == 0) {
                path = m_progDir + f;
                break;
            }
    }
    return loadPicture(path);
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
