// A provider of label art for tests: symbols are small solid pictures that
// carry their name, categories are set by the test, and the files that were
// asked for are recorded.
#pragma once

#include "print/labeldata.h"

#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QStringList>

class FakeArt : public TLabelArtProvider
{
public:
    QSet<QString> missing;          // symbols that cannot be loaded
    QMap<int, QString> names;       // category names
    QSet<int> withSymbol;           // categories that have a symbol file
    QMap<int, QFont> fonts;
    QSet<int> links;                // free fields holding file links
    QStringList asked;

    QImage symbol(const QString &fileName) override
    {
        asked << fileName;
        if (missing.contains(fileName))
            return QImage();
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(Qt::darkGray);
        img.setText(QStringLiteral("name"), fileName);
        return img;
    }
    QString categoryName(int index) override { return names.value(index); }
    QImage categorySymbol(int index) override
    {
        if (!withSymbol.contains(index))
            return QImage();
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(Qt::blue);
        img.setText(QStringLiteral("name"), QStringLiteral("kat%1").arg(index));
        return img;
    }
    std::optional<QFont> categoryFont(int index) override
    {
        if (fonts.contains(index))
            return fonts.value(index);
        return std::nullopt;
    }
    bool freeFieldIsFileLink(int freeNr) override { return links.contains(freeNr); }
    QString expandLinkPath(const QString &value) override { return value; }
    QImage loadPicture(const QString &path) override
    {
        QImage img(8, 6, QImage::Format_RGB32);
        img.fill(Qt::green);
        img.setText(QStringLiteral("name"), QFileInfo(path).fileName());
        return img;
    }
};
