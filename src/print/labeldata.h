// What a label shows, as values: the medium with its films, and the
// provider through which the drawing gets pictures, symbols and the
// categories; the settings it reads come as one TLabelSettings. No
// routine of the label drawing reads a table or a window.
#pragma once

#include "app/labelsettings.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <optional>
#include <vector>

struct TLabelFilm
{
    bool Exists = true; // false: the film slot has no record
    bool Frei = false;
    QString Titel;
    std::optional<QString> Untertitel; // none: the field is null
    QString Kateg;                     // first character = category code
    std::optional<int> Len;            // none: the field is empty
    bool LP = false, MW = false, SW = false, Wide = false;
    QString Ton;                       // first character = sound code
    QString Free[15];                  // Free1..Free15
    QString Memo;
    QImage Grafik;                     // the stored picture; null when empty
    std::optional<int> Wertung;        // none: empty
};

struct TLabelMedium
{
    QString Medium;               // kind code, at most 6 characters
    int Nr = 0;
    std::optional<int> bRest;     // none: the data set has no "brest"
    std::vector<TLabelFilm> Films; // film n at index n - 1
};

// Where the label drawing gets what is not in the medium's values.
class TLabelArtProvider
{
public:
    virtual ~TLabelArtProvider() = default;
    // A symbol picture of the program folder by file name ("ac3.bmp", or a
    // path below the folder or of its own: the foot symbol); null when it
    // cannot be loaded.
    virtual QImage symbol(const QString &fileName) = 0;
    // Category 1..62: its name, its symbol picture (null when it has none or
    // the file is missing) and its own font.
    virtual QString categoryName(int index) = 0;
    virtual QImage categorySymbol(int index) = 0;
    virtual std::optional<QFont> categoryFont(int index) = 0;
    // Film free field 1..15: holds a file link; the full path of a link.
    virtual bool freeFieldIsFileLink(int freeNr) = 0;
    virtual QString expandLinkPath(const QString &value) = 0;
    // A picture file; null when it cannot be loaded.
    virtual QImage loadPicture(const QString &path) = 0;
};

// Symbols and pictures from the program folder; linked files below the
// database's link folder. Categories are empty until set.
class TProgDirArtProvider : public TLabelArtProvider
{
public:
    struct Category
    {
        QString name;
        QString symbolPath; // relative to the program folder
        std::optional<QFont> font;
    };
    explicit TProgDirArtProvider(const QString &progDir);
    void setCategories(const std::vector<Category> &categories) { m_categories = categories; }
    void setFileLinkFields(const std::vector<bool> &links) { m_links = links; }

    QImage symbol(const QString &fileName) override;
    QString categoryName(int index) override;
    QImage categorySymbol(int index) override;
    std::optional<QFont> categoryFont(int index) override;
    bool freeFieldIsFileLink(int freeNr) override;
    QString expandLinkPath(const QString &value) override;
    QImage loadPicture(const QString &path) override;

private:
    QString m_progDir;
    QHash<QString, QImage> m_symbols;   // loaded once per provider
    std::vector<Category> m_categories; // index 1 at 0
    std::vector<bool> m_links;          // free field 1 at 0
};
