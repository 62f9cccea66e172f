// The web search: the sites of "search.ini", the search address, the links
// of the HTML export, and the two dialogs with the browser intercepted.
#include "app/apppaths.h"
#include "app/settingsfixture.h"
#include "urlcatcher.h"
#include "dbui/memorydataset.h"
#include "kit/enterexitbutton.h"
#include "online/websearch.h"
#include "platform/inifile.h"
#include "platform/textfile.h"
#include "windows/queries/dwebsuche.h"
#include "windows/queries/dwebsucheeinst.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

platform::IniFile iniOf(const QByteArray &text)
{
    platform::IniFile ini;
    ini.setBytes(text);
    return ini;
}

const QByteArray kSites = "[Search1]\r\nURI=http://www.example.org/suche?q=%s&typ=film\r\nName=Filmlexikon "
                          "(deutsch)\r\nDescription=Das Lexikon.\r\nHome=http://www.example.org/\r\n"
                          "[Search2]\r\nURI=http://find.example.com/?s=\r\nName=Finder\r\n"
                          "[Search4]\r\nURI=http://never.example.net/%s\r\nName=Nie\r\n"
                          "[Setup]\r\nDefault=2\r\nMed=Free1\r\nFilm=Titel\r\n";

std::unique_ptr<MemoryDataSet> films(const QString &title)
{
    engine::FieldDef f;
    f.name = QStringLiteral("Titel");
    f.size = 40;
    auto ds = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{f});
    ds->addRow({title});
    ds->open();
    ds->first();
    return ds;
}

} // namespace

class TstWebSearch : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    UrlCatcher urls;

    QString iniPath() const { return fx.path(QStringLiteral("data/Ozo-Software/Tarvo/search.ini")); }
    void writeIni(const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(iniPath()).path());
        QVERIFY(platform::writeFileBytes(iniPath(), bytes));
    }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls, "open");
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    void init()
    {
        fx.setUp();
        urls.opened.clear();
        // The per-user folder exists: no question about making it.
        QDir().mkpath(fx.path(QStringLiteral("data/Ozo-Software/Tarvo")));
    }

    void sitesEndAtTheFirstMissingNumber()
    {
        TWebSearchSites s;
        QVERIFY(ParseWebSearchSites(iniOf(kSites), QStringLiteral("Film"), s));
        QCOMPARE(s.sites.size(), 2);
        QCOMPARE(s.sites.at(1).name, QStringLiteral("Finder"));
        QCOMPARE(s.sites.at(1).description, QStringLiteral("Keine Beschreibung verfügbar."));
        QCOMPARE(s.sites.at(1).home, QStringLiteral("-"));
        QCOMPARE(s.selected, 1);
        QCOMPARE(s.fieldName, QStringLiteral("Titel"));
        // A site without URI adds nothing, but the list goes on.
        QVERIFY(ParseWebSearchSites(iniOf("[Search1]\r\nName=leer\r\n[Search2]\r\nURI=x\r\n"), QString(), s));
        QCOMPARE(s.sites.size(), 1);
        QCOMPARE(s.sites.at(0).name, QStringLiteral("*unbenannt*"));
        QVERIFY(!ParseWebSearchSites(iniOf("[Search2]\r\nURI=x\r\n"), QString(), s));
    }

    void aDefaultOutOfRangeSelectsTheFirst_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("selected");
        QTest::newRow("0") << QByteArray("0") << 0;
        QTest::newRow("3") << QByteArray("3") << 0;
        QTest::newRow("-1") << QByteArray("-1") << 0;
        QTest::newRow("junk") << QByteArray("zwei") << 0;
        QTest::newRow("2") << QByteArray("2") << 1;
    }
    void aDefaultOutOfRangeSelectsTheFirst()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, selected);
        TWebSearchSites s;
        QVERIFY(ParseWebSearchSites(iniOf("[Search1]\r\nURI=a\r\n[Search2]\r\nURI=b\r\n[Setup]\r\nDefault=" + value
                                          + "\r\n"),
                                    QString(), s));
        QCOMPARE(s.selected, selected);
    }

    void theTermGoesWhereTheUriSays()
    {
        TWebSearchSite site;
        site.uri = QStringLiteral("http://x.de/find?q=%s&lang=de");
        QCOMPARE(WebSearchUrl(site, QStringLiteral("Der Pate")), QStringLiteral("http://x.de/find?q=Der+Pate&lang=de"));
        site.uri = QStringLiteral("http://x.de/%s/%s");
        QCOMPARE(WebSearchUrl(site, QStringLiteral("a.b")), QStringLiteral("http://x.de/a%2Eb/%s"));
        site.uri = QStringLiteral("http://x.de/?s=");
        QCOMPARE(WebSearchUrl(site, QStringLiteral("Amélie")), QStringLiteral("http://x.de/?s=Am%E9lie"));
        // Cut at 255 characters, but never inside an escape.
        site.uri = QString();
        QCOMPARE(WebSearchUrl(site, QString(300, u'x')).size(), 255);
        QCOMPARE(WebSearchUrl(site, QString(254, u'x') + QStringLiteral("é")), QString(254, u'x'));
    }

    void linksOfTheExport()
    {
        QCOMPARE(WebSearchLinkName(QStringLiteral("Filmlexikon (deutsch)")), QStringLiteral("Filmlexikon"));
        QCOMPARE(WebSearchLinkName(QStringLiteral("IMDb (englisch) Suche")), QStringLiteral("IMDb (englisch) Suche"));
        QCOMPARE(WebSearchLinkName(QStringLiteral("(alles)")), QString());
        TWebSearchSites s;
        QVERIFY(ParseWebSearchSites(iniOf(kSites), QStringLiteral("Film"), s));
        const QStringList links = WebSearchLinks(s, QStringLiteral("Der Pate"));
        QCOMPARE(links,
                 QStringList({QStringLiteral("<a href=\"http://www.example.org/suche?q=Der+Pate&amp;typ=film\" "
                                             "target=\"_blank\">Filmlexikon</a>"),
                              QStringLiteral("<a href=\"http://find.example.com/?s=Der+Pate\" "
                                             "target=\"_blank\">Finder</a>")}));
        QVERIFY(WebSearchLinks(s, QString()).isEmpty());
        // The name is text, never mark-up: escaped, its letters named.
        QCOMPARE(WebSearchLinkText(QStringLiteral("Kino & <Co> für Groß (alt)")),
                 QStringLiteral("Kino &amp; &lt;Co&gt; f&uuml;r Gro&szlig;"));
    }

    void theExportHookReadsOnceAndWarnsOnce()
    {
        // No file: one message for the whole export, no links.
        TWebSearchLinksHook hook = WebSearchLinksHook(ShowWebSearchError);
        auto ds = films(QStringLiteral("Der Pate"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(hook(QStringLiteral("Film"), *ds).isEmpty());
        QCOMPARE(fx.captions(), QStringList({QStringLiteral("Datei nicht gefunden:")}));
        QCOMPARE(fx.presenter->shown().at(0).text,
                 iniPath() + QStringLiteral("\rDiese Datei definiert die angebotenen Internet-Suchen. Ohne sie kann "
                                            "diese Funktion nicht genutzt werden."));
        QCOMPARE(fx.presenter->shown().at(0).icon, kit::BoxIcon::Error);

        writeIni(kSites);
        fx.presenter->clear();
        hook = WebSearchLinksHook(ShowWebSearchError);
        QCOMPARE(hook(QStringLiteral("Film"), *ds).size(), 2);
        // The file is not read again within the export.
        QFile::remove(iniPath());
        QVERIFY(hook(QStringLiteral("Film"), *ds).first().contains(QStringLiteral("Der+Pate")));
        QVERIFY(hook(QStringLiteral("Pers"), *ds).isEmpty()); // no field for persons
        QVERIFY(hook(QStringLiteral("-"), *ds).isEmpty());
        QCOMPARE(fx.presenter->shown().size(), 0);
    }

    void theSitesThatComeWithTheProgram()
    {
        platform::IniFile ini(QStringLiteral(TARVO_PROGDIR "/search.ini"));
        QVERIFY(ini.load());
        const QByteArray bytes = platform::readFileBytes(ini.fileName()).value();
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n')); // CR LF throughout
        TWebSearchSites s;
        QVERIFY(ParseWebSearchSites(ini, QStringLiteral("Film"), s));
        QVERIFY(s.sites.size() >= 3);
        for (const TWebSearchSite &site : s.sites) {
            QVERIFY(site.uri.startsWith(QLatin1String("https://")) && site.uri.contains(QLatin1String("%s")));
            QVERIFY(IsWebAddress(site.home));
        }
        QCOMPARE(s.fieldName, QStringLiteral("Titel"));
    }

    void aFileWithoutSitesIsReported()
    {
        writeIni("[Setup]\r\nDefault=1\r\n");
        TWebSearchSites s;
        TWebSearchError error;
        QVERIFY(!ReadWebSearchSites(s, QStringLiteral("Film"), nullptr, &error));
        QCOMPARE(error.caption, QStringLiteral("Datei search.ini feherhaft:"));
        QCOMPARE(error.text, QStringLiteral("Es fehlt die Sektion \"Search1\" oder die Angabe \"URI=\" darin."));
        QCOMPARE(fx.presenter->shown().size(), 0); // the caller shows it
    }

    void theDialogSearchesAndRemembersTheSite()
    {
        writeIni(kSites);
        auto ds = films(QStringLiteral("Der Pate"));
        fx.presenter->answerDialog(
            [](QDialog &d) {
                auto &dlg = static_cast<TDWebSuche &>(d);
                QCOMPARE(dlg.windowTitle(), QStringLiteral("Internet-Suche"));
                QCOMPARE(dlg.CBSite->count(), 2);
                QCOMPARE(dlg.CBSite->currentIndex(), 1);
                QVERIFY(dlg.KeinHome->isVisibleTo(&dlg));
                QVERIFY(!dlg.WebLinkStart->isVisibleTo(&dlg));
                QCOMPARE(dlg.EditSuchbegr->text(), QStringLiteral("Der Pate"));
                dlg.CBSite->setCurrentIndex(0);
                QCOMPARE(dlg.Memo1->toPlainText(), QStringLiteral("Das Lexikon."));
                QVERIFY(dlg.WebLinkStart->isVisibleTo(&dlg) && !dlg.KeinHome->isVisibleTo(&dlg));
                dlg.EditSuchbegr->clear();
                QVERIFY(!dlg.OKButt->isEnabled());
                dlg.EditSuchbegr->setText(QStringLiteral("Der Pate"));
                QVERIFY(dlg.OKButt->isEnabled());
                dlg.OKButt->click();
            },
            mrCancel);
        ExecWebSearch(QStringLiteral("Film"), ds.get());
        QCOMPARE(urls.opened.size(), 1);
        QCOMPARE(urls.opened.first().toString(QUrl::FullyEncoded),
                 QStringLiteral("http://www.example.org/suche?q=Der+Pate&typ=film"));
        platform::IniFile ini(iniPath());
        QVERIFY(ini.load());
        QCOMPARE(ini.readInteger(QStringLiteral("Setup"), QStringLiteral("Default"), 0), 1);
        // The rest of the file stays as it was.
        QCOMPARE(ini.readString(QStringLiteral("Search1"), QStringLiteral("Name")), QStringLiteral("Filmlexikon (deutsch)"));

        // From elsewhere no term is proposed; without a file no dialog.
        fx.presenter->clear();
        fx.presenter->answerDialog([](QDialog &d) {
            QVERIFY(static_cast<TDWebSuche &>(d).EditSuchbegr->text().isEmpty());
        }, mrCancel);
        ExecWebSearch(QStringLiteral("-"), nullptr);
        QFile::remove(iniPath());
        ExecWebSearch(QStringLiteral("Film"), ds.get());
        QCOMPARE(fx.captions().last(), QStringLiteral("Datei nicht gefunden:"));
        QCOMPARE(fx.presenter->shown().size(), 2);
    }

    void withoutABrowserTheAddressIsShown()
    {
        writeIni(kSites);
        auto ds = films(QStringLiteral("Der Pate"));
        // No handler for http: on the tests' platform no browser starts.
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        fx.presenter->answerDialog([](QDialog &d) { static_cast<TDWebSuche &>(d).OKButt->click(); }, mrCancel);
        ExecWebSearch(QStringLiteral("Film"), ds.get());
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls, "open");
        QCOMPARE(fx.presenter->shown().size(), 2);
        const kit::ShownBox &box = fx.presenter->shown().at(0);
        QCOMPARE(box.icon, kit::BoxIcon::Warning);
        QVERIFY2(box.text.startsWith(QStringLiteral("Die Seite konnte nicht geöffnet werden")), qPrintable(box.text));
        QVERIFY(box.text.endsWith(QStringLiteral("\r\rhttp://find.example.com/?s=Der+Pate")));
    }

    void theSettingsWriteTheProposingFields()
    {
        writeIni(kSites);
        fx.presenter->answerDialog([](QDialog &d) {
            auto &dlg = static_cast<TDWebSucheEinst &>(d);
            QCOMPARE(dlg.CBFilm->currentText(), QStringLiteral("Titel"));
            QCOMPARE(dlg.CBMed->currentText(), QStringLiteral("Free1"));
            QCOMPARE(dlg.CBPers->currentText(), NoWebSearchProposal);
            dlg.CBMed->setCurrentIndex(0);
            dlg.CBPers->setCurrentText(QStringLiteral("Name"));
        });
        ExecWebSearchSettings();
        platform::IniFile ini(iniPath());
        QVERIFY(ini.load());
        QVERIFY(!ini.valueExists(QStringLiteral("Setup"), QStringLiteral("Med")));
        QCOMPARE(ini.readString(QStringLiteral("Setup"), QStringLiteral("Pers")), QStringLiteral("Name"));
        QCOMPARE(ini.readString(QStringLiteral("Setup"), QStringLiteral("Film")), QStringLiteral("Titel"));
        // Cancel, or no file: nothing written.
        fx.presenter->answerDialog([](QDialog &d) { static_cast<TDWebSucheEinst &>(d).CBFilm->setCurrentIndex(0); },
                                   mrCancel);
        ExecWebSearchSettings();
        QVERIFY(ini.load());
        QCOMPARE(ini.readString(QStringLiteral("Setup"), QStringLiteral("Film")), QStringLiteral("Titel"));
        QFile::remove(iniPath());
        fx.presenter->answerDialog([](QDialog &d) { static_cast<TDWebSucheEinst &>(d).CBFilm->setCurrentIndex(0); });
        ExecWebSearchSettings();
        QVERIFY(!QFile::exists(iniPath()));
    }
};

QTEST_MAIN(TstWebSearch)
#include "tst_websearch.moc"
