#include "online/websearch.h"

#include "app/apppaths.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "kit/textconv.h"
#include "platform/inifile.h"

#include <QFileInfo>

#include <memory>
#include <optional>

bool ParseWebSearchSites(const platform::IniFile &ini, const QString &kind, TWebSearchSites &out)
{
    out.sites.clear();
    out.selected = -1;
    for (int n = 1;; ++n) {
        const QString section = QStringLiteral("Search%1").arg(n);
        if (!ini.sectionExists(section))
            break;
        TWebSearchSite site;
        site.uri = ini.readString(section, QStringLiteral("URI"), QStringLiteral("-"));
        if (site.uri == QLatin1String("-"))
            continue;
        site.description = ini.readString(section, QStringLiteral("Description"),
                                          QStringLiteral("Keine Beschreibung verfügbar."));
        site.home = ini.readString(section, QStringLiteral("Home"), QStringLiteral("-"));
        site.name = ini.readString(section, QStringLiteral("Name"), QStringLiteral("*unbenannt*"));
        out.sites << site;
    }
    if (out.sites.isEmpty())
        return false;
    const int def = ini.readInteger(QStringLiteral("Setup"), QStringLiteral("Default"), 1);
    out.selected = def >= 1 && def <= out.sites.size() ? def - 1 : 0;
    out.fieldName = kind.isEmpty() ? QString() : ini.readString(QStringLiteral("Setup"), kind);
    return true;
}

QString WebSearchTerm(const engine::DataSet *record, const QString &fieldName)
{
    if (!record || fieldName.isEmpty() || !record->active())
        return {};
    const engine::Field *f = record->findField(fieldName);
    return f ? f->asString() : QString();
}

bool ReadWebSearchSites(TWebSearchSites &out, const QString &kind, const engine::DataSet *record,
                        TWebSearchError *error)
{
    out.fileName = ExpandProfilePath(WebSearchFileName);
    out.term.clear();
    const auto failed = [error](const QString &caption, const QString &text) {
        if (error)
            *error = {caption, text};
        return false;
    };
    if (!QFileInfo(out.fileName).isFile())
        return failed(QStringLiteral("Datei nicht gefunden:"),
                      out.fileName + QStringLiteral("\rDiese Datei definiert die angebotenen Internet-Suchen. Ohne sie "
                                                    "kann diese Funktion nicht genutzt werden."));
    platform::IniFile ini(out.fileName);
    QString why;
    if (!ini.load(&why))
        return failed(QStringLiteral("Datei search.ini feherhaft:"), why);
    if (!ParseWebSearchSites(ini, kind, out))
        return failed(QStringLiteral("Datei search.ini feherhaft:"),
                      QStringLiteral("Es fehlt die Sektion \"Search1\" oder die Angabe \"URI=\" darin."));
    out.term = WebSearchTerm(record, out.fieldName);
    return true;
}

QString WebSearchUrl(const TWebSearchSite &site, const QString &term)
{
    QString encoded = UrlEncode(term).left(255);
    // A cut must not leave half an escape behind.
    const qsizetype percent = encoded.lastIndexOf(u'%');
    if (percent >= 0 && percent > encoded.size() - 3)
        encoded.truncate(percent);
    QString address = site.uri;
    const qsizetype at = address.indexOf(QLatin1String("%s"));
    if (at >= 0)
        address.replace(at, 2, encoded);
    else
        address += encoded;
    return address;
}

QString WebSearchUrl(const TWebSearchSites &s)
{
    if (s.sites.isEmpty())
        return {};
    const int i = s.selected >= 0 && s.selected < s.sites.size() ? s.selected : 0;
    return WebSearchUrl(s.sites.at(i), s.term);
}

QString WebSearchLinkName(const QString &name)
{
    const qsizetype open = name.indexOf(u'(');
    if (!name.endsWith(u')') || open < 0)
        return name;
    QString cut = name.left(open);
    while (cut.endsWith(u' '))
        cut.chop(1);
    return cut;
}

QString WebSearchLinkText(const QString &name)
{
    // The name is the site's own text: its "&" and "<" must not become
    // mark-up. The letters above 127 are named afterwards; the escapes are
    // plain ASCII and stay as they are.
    return AnsiToHtmlEntities(HtmlEscape(WebSearchLinkName(name)));
}

QStringList WebSearchLinks(const TWebSearchSites &s, const QString &term)
{
    QStringList links;
    if (term.isEmpty())
        return links;
    for (const TWebSearchSite &site : s.sites)
        links << QStringLiteral("<a href=\"") + EscapeAmpersands(WebSearchUrl(site, term))
                     + QStringLiteral("\" target=\"_blank\">") + WebSearchLinkText(site.name)
                     + QStringLiteral("</a>");
    return links;
}

TWebSearchLinksHook WebSearchLinksHook(const TWebSearchErrorReport &report)
{
    struct State
    {
        bool read = false;
        bool ok = false;
        std::optional<platform::IniFile> ini;
        TWebSearchSites sites;
    };
    auto state = std::make_shared<State>();
    return [state, report](const QString &kind, engine::DataSet &record) -> QStringList {
        if (!state->read) {
            state->read = true;
            // Read with no kind: the field of each record's kind is looked up
            // per call below, from the same file.
            TWebSearchError error;
            state->ok = ReadWebSearchSites(state->sites, QString(), nullptr, &error);
            if (!state->ok && report)
                report(error);
            if (state->ok) {
                state->ini.emplace(state->sites.fileName);
                state->ini->load();
            }
        }
        if (!state->ok || kind.isEmpty() || kind == QLatin1String("-"))
            return {};
        const QString field = state->ini->readString(QStringLiteral("Setup"), kind);
        return WebSearchLinks(state->sites, WebSearchTerm(&record, field));
    };
}
