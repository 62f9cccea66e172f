// Label art that has nothing: no symbols, categories or pictures, so that a
// benchmark measures the layout and the painting alone.
#pragma once

#include "print/labeldata.h"

class NoArt : public TLabelArtProvider
{
public:
    QImage symbol(const QString &) override { return QImage(); }
    QString categoryName(int) override { return QString(); }
    QImage categorySymbol(int) override { return QImage(); }
    std::optional<QFont> categoryFont(int) override { return std::nullopt; }
    bool freeFieldIsFileLink(int) override { return false; }
    QString expandLinkPath(const QString &v) override { return v; }
    QImage loadPicture(const QString &) override { return QImage(); }
};
