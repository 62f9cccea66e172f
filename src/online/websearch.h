// The web search: the sites of "search.ini" in the per-user folder, the
// search term proposed from a field of the current record, the search
// address of a site and the HTML links of the table export.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace engine {
class DataSet;
}
namespace platform {
class IniFile;
}

inline const QString WebSearchFileName = QStringLiteral("search.ini");

struct TWebSearchSite
{
    QString uri;         // the search address; the first "%s" takes the term
    QString description;
    QString home;        // start page, "-" when none
    QString name;
};

struct TWebSearchSites
{
    QString fileName;             // the file read
    QList<TWebSearchSite> sites;
    int selected = -1;            // index into sites
    QString term;                 // the proposed search term
    QString fieldName;            // the field it came from ("" for none)
};

// Sites read from the INI in section order ("Search1", "Search2", ... up
// to the first missing number; a URI of "-" adds nothing), "Default" of
// "Setup" selected (outside 1 to the count: the first), and the field the
// record kind ("Med", "Film", "Pers") proposes. False when no site was read.
bool ParseWebSearchSites(const platform::IniFile &ini, const QString &kind, TWebSearchSites &out);

// Why the sites could not be read: the caption and text of the error box the
// caller shows.
struct TWebSearchError
{
    QString caption;
    QString text;
};
using TWebSearchErrorReport = std::function<void(const TWebSearchError &)>;

// The same over "search.ini" of the per-user folder, with the term taken from
// the record's field when the data set has one. False for a missing file or
// one without sites; error (when given) then says why.
bool ReadWebSearchSites(TWebSearchSites &out, const QString &kind, const engine::DataSet *record,
                        TWebSearchError *error);

// The term from the record: the text of the named field, if it has one.
QString WebSearchTerm(const engine::DataSet *record, const QString &fieldName);

// The address for a site and a term: the encoded term (cut at 255
// characters) in place of the first "%s", or appended.
QString WebSearchUrl(const TWebSearchSite &site, const QString &term);
// For the selected site (the first when none is) and the term of the sites.
QString WebSearchUrl(const TWebSearchSites &s);

// A site's name in a link: "Filmlexikon (deutsch)" shows as "Filmlexikon".
QString WebSearchLinkName(const QString &name);
// That name as the link's HTML text: escaped, the letters named.
QString WebSearchLinkText(const QString &name);

// One HTML link per site for the term; none without a term.
QStringList WebSearchLinks(const TWebSearchSites &s, const QString &term);

// The links of a record of the given kind for the HTML export. The hook reads
// "search.ini" once, at its first call (one report when it is missing or
// faulty, then no links at all), and is meant to live for one export.
using TWebSearchLinksHook = std::function<QStringList(const QString &kind, engine::DataSet &record)>;
TWebSearchLinksHook WebSearchLinksHook(const TWebSearchErrorReport &report);
