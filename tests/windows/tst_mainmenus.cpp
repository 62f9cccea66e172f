// The main window's menus walked headless: every entry in order with its
// caption and key, enabled by the rules in each state of the window, and the
// entries whose command is there reaching it; the user's query menu; the
// password protection and the picture check on a real database; the card's
// keys; the film table under the card.
#include "cardfixture.h"

#include "app/settings.h"
#include "data/upwarddoors.h"
#include "program/introbox.h"
#include "dbui/dbgrid.h"
#include "engine/query.h"
#include "engine/session.h"
#include "kit/help.h"
#include "kit/lockbutton.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "kit/waitbox.h"
#include "platform/registry.h"
#include "windows/main/maincommands.h"
#include "windows/main/mainmenus.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>

// Receives what the program opens with the desktop.
using card::UrlRecorder;

class TestMainMenus : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    QList<int> helpAsked;

    TMainform &noDatabase()
    {
        fx.form.reset(CreateForm<TMainform>());
        Mainform = fx.form.get();
        return *fx.form;
    }
    QAction *entry(const char *name) { return fx.form->Menus->Entry(QLatin1String(name)); }
    QMenu *popup(const char *name) { return fx.form->findChild<QMenu *>(QLatin1String(name)); }
    void trigger(const char *name)
    {
        QAction *a = entry(name);
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
    }
    // What a drop-down shows: caption and key of each visible entry, "—" for a
    // separator, submenus indented below their entry.
    static QStringList walk(QMenu *menu, int depth = 0)
    {
        QStringList out;
        const QString indent(depth * 2, QLatin1Char(' '));
        for (QAction *a : menu->actions()) {
            if (!a->isVisible())
                continue;
            if (a->isSeparator()) {
                out << indent + QStringLiteral("—");
                continue;
            }
            QString line = indent + a->text();
            if (!a->shortcut().isEmpty())
                line += QStringLiteral(" (") + a->shortcut().toString() + QLatin1Char(')');
            out << line;
            if (a->menu())
                out << walk(a->menu(), depth + 1);
        }
        return out;
    }
    // The names of the enabled entries, in walking order.
    static QStringList enabled(QMenu *menu)
    {
        QStringList out;
        for (QAction *a : menu->actions()) {
            if (!a->isVisible() || a->isSeparator())
                continue;
            if (a->isEnabled())
                out << a->objectName();
            if (a->menu())
                out << enabled(a->menu());
        }
        return out;
    }
    QStringList enabledIn(const char *popupName)
    {
        QMenu *m = popup(popupName);
        emit m->aboutToShow(); // the rules run as the menu drops down
        return enabled(m);
    }
    QStringList enabledButtons()
    {
        QStringList out;
        for (const char *n : {"TBDatei", "TBAnsicht", "TBDruck", "TBEinstellungen", "TBSuche", "TBHilfe", "SpBQuerySub",
                              "SpBLists", "SpBLocateSN", "SpBWeb", "SpBHelp", "SPBHelpIdx"})
            if (fx.child<TPZSpeedButton>(n)->isEnabled())
                out << QLatin1String(n);
        return out;
    }

    static const QStringList &settingsEnabledAlways()
    {
        static const QStringList l{QStringLiteral("SchriftartEtikettenText1"), QStringLiteral("SchriftartNummernEtikett1"),
                                   QStringLiteral("ErweiterteDruckoptionen1"), QStringLiteral("FuSymbolGrafik1"), QStringLiteral("Restspielzeitberechnung1"), QStringLiteral("Filme1bis5bercksichtigen1"),
                                   QStringLiteral("AlleFilmebercksichtigen1"), QStringLiteral("RestHilfe1"),
                                   QStringLiteral("Zhlwerksmodus1"), QStringLiteral("ATTSZhlwerk1"),
                                   QStringLiteral("KumulativSPLP1"), QStringLiteral("ZhlHilfe1"),
                                   QStringLiteral("Men_dvd_kk_nur1film"), QStringLiteral("Verleiheinstellungen1"),
                                   QStringLiteral("SelbstklebeEtiketteneinrichten1"), QStringLiteral("VerwaltungEtikettgedruckt1"),
                                   QStringLiteral("EinstellungenListenDruck1"), QStringLiteral("EinstellungenAnhangDruck1"),
                                   QStringLiteral("Drucker2"), QStringLiteral("OnlineUpdateprfung1")};
        return l;
    }
    static const QStringList &helpEnabled()
    {
        static const QStringList l{QStringLiteral("HauptfensterHilfe1"), QStringLiteral("WasistNeu1"),
                                   QStringLiteral("BekannteProbleme1"), QStringLiteral("HilfezurHilfe1"),
                                   QStringLiteral("Inhalt1"), QStringLiteral("BeschriftenPDF1"),
                                   QStringLiteral("TarvoHomepage1"), QStringLiteral("TarvoFORUM1"), QStringLiteral("TippdesTages1"),
                                   QStringLiteral("About1")};
        return l;
    }

    QByteArray pngBytes()
    {
        QImage img(8, 6, QImage::Format_RGB32);
        img.fill(Qt::red);
        QByteArray b;
        QBuffer buf(&b);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        return b;
    }
    void setPicture(const QString &path, const QString &key, const QVariant &value, const QByteArray &bytes)
    {
        engine::Table t;
        t.setTableName(path);
        t.open();
        QVERIFY(t.locate(key, value.toList()));
        t.edit();
        t.fieldByName(QStringLiteral("Grafik"))->setAsBytes(bytes);
        t.post();
        t.close();
    }
    void addPerson(const QString &name, const QByteArray &picture)
    {
        engine::Table t;
        t.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Name"))->setAsString(name);
        if (!picture.isEmpty())
            t.fieldByName(QStringLiteral("Grafik"))->setAsBytes(picture);
        t.post();
        t.close();
    }
    bool reopenDatabase()
    {
        CloseDatabaseTables();
        engine::Session::instance().removeAllPasswords();
        return OpenDatabaseTablesAtStart(fx.base, fx.base + QStringLiteral("DB/Pers"));
    }

private slots:
    void init()
    {
        fx.setUp();
        helpAsked.clear();
        kit::setHelpHook([this](int c) { helpAsked << c; });
    }
    void cleanup()
    {
        kit::setHelpHook({});
        fx.tearDown();
        engine::Session::instance().removeAllPasswords();
    }

    void everyEntryInItsOrderWithCaptionAndKey()
    {
        TMainform &m = noDatabase();
        const QList<std::pair<const char *, QString>> buttons{
            {"TBDatei", QStringLiteral("&Datei")},       {"TBAnsicht", QStringLiteral("&Ansicht")},
            {"TBDruck", QStringLiteral("D&ruck")},       {"TBEinstellungen", QStringLiteral("&Einstellungen")},
            {"TBSuche", QStringLiteral("&Suche")},       {"TBHilfe", QStringLiteral("&Hilfe")}};
        for (const auto &[name, caption] : buttons)
            QCOMPARE(fx.child<TPZSpeedButton>(name)->Caption(), caption);
        QCOMPARE(fx.child<TPZSpeedButton>("TBDatei")->PopupMenu(), m.Component<QMenu>("PopupDatei"));

        QCOMPARE(walk(m.Component<QMenu>("PopupDatei")),
                 QStringList({"&Neu ...", "Ö&ffnen ...", "&Personenkartei", "  Auswählen / Öffnen...",
                              "  Importieren...", "—", "&Datensicherung...", "Alle Daten speichern!", "Packen...",
                              "Ungültige Grafiken löschen! ...", "Passwortschutz...", "—",
                              "&Editieren (Bearbeiten) (F12)", "—", "&Information", "—", "&Beenden"}));
        QCOMPARE(walk(m.Component<QMenu>("PopupAnsicht")),
                 QStringList({"&Personen-Karteikarte (F8)", "Film-&Karteikarte (F7)", "  Film &1 (Ctrl+1)",
                              "  Film &2 (Ctrl+2)", "  Film &3 (Ctrl+3)", "  Film &4 (Ctrl+4)", "  Film &5 (Ctrl+5)",
                              "&Anhänge", "  Film &1", "  Film &2", "  Film &3", "  Film &4", "  Film &5",
                              "  &Medium (F6)", "—", "&Tabellen", "  &Medientabelle", "  &Filmtabelle",
                              "  &Personentabelle", "&Listen", "  &Medienliste", "  &Filmliste", "  &Etikettenliste",
                              "—", "Etiketten-&Vorschau", "—", "&Filtern nach Aufnahmelänge..."}));
        QCOMPARE(walk(m.Component<QMenu>("PopupDruck")),
                 QStringList({"&Etikett(en) drucken...", "&Medien-Liste drucken ...", "&Film-Liste drucken ...", "—",
                              "&Drucker..."}));
        QCOMPARE(walk(m.Component<QMenu>("PopupEinstellungen")),
                 QStringList({"&Schriftart Etiketten-Text",
                              "Schriftart &Nummern-Etikett",
                              "&Erweiterte Druckoptionen (Etiketten)",
                              "Fuß-Symbol-&Grafik (Etiketten)",
                              "—",
                              "&Kategorien definieren",
                              "An&hänge / Personen-Kartei einrichten",
                              "  &Film-Anhang",
                              "  &Medien-Anhang",
                              "  &Personen-Kartei",
                              "—",
                              "Numerierungs-Modus",
                              "  Separate Numerierung für jeden Medientyp",
                              "  Durchgehende Numerierung für alle Medien",
                              "  —",
                              "  &Hilfe...",
                              "&Restspielzeitberechnung",
                              "  Filme 1 bis 5 berücksichtigen",
                              "  Alle Filme berücksichtigen",
                              "  —",
                              "  Hilfe...",
                              "&Zählwerksmodus (f. Bandpositions-Angaben)",
                              "  ATTS-Zählwerk",
                              "  &Kumulativ SP+LP",
                              "  —",
                              "  &Hilfe...",
                              "Nur &1 Film auf DVD oder Kaufkassette",
                              "&Verleiheinstellungen",
                              "—",
                              "(Selbstklebe)-Etiketten einrichten",
                              "Verwaltung des \"Etikett gedruckt\"-Feldes",
                              "Einstellungen für &Listen-/Tabellen-Druck",
                              "Einstellungen für &Anhang-Druck",
                              "&Drucker",
                              "—",
                              "Online-Updateprüfung"}));
        // No query slot is used yet: neither slots nor their separator show.
        QCOMPARE(walk(m.Component<QMenu>("PopupSuche")),
                 QStringList({"Medium-&Nr lokalisieren ...", "Medium zur eingelegten &CD/DVD lokalisieren (F9)", "—",
                              "Suche &Film (Lokalisieren) ...", "Suche Film(e) (&Abfrage) ...", "&Kategorie-Suche...",
                              "&Wertungs-Suche...", "&Verliehene Medien...", "Medien ohne ge&druckte Etiketten...",
                              "—", "&Eigene Abfragen", "  &Neuer Menüpunkt...", "  Menüpunkt &löschen",
                              "&Gespeicherte Abfrage ausführen...", "—", "Abfrage definieren (S&QL)...",
                              "Abfrage definieren (&tabellarisch)...", "—", "Internet-Suche... (F10)"}));
        QCOMPARE(walk(m.Component<QMenu>("PopupHilfe")),
                 QStringList({"&Hauptfenster-Hilfe", "&Was ist neu?", "Bekannte &Probleme", "Hilfe &zur Hilfe",
                              "&Inhalt", "—", "Beschriften von CDs && DVDs (PDF)", "—", "Tarvo-Homepage (Internet)",
                              "Tarvo-FORUM (Internet)", "—", "&Tipp des Tages", "—", "&About"}));
        QCOMPARE(walk(m.Menus->PopupMenuQuery),
                 QStringList({"Gespeicherte Abfrage ausführen...", "SQL-Abfragetext erstellen...",
                              "Abfrage tabellarisch definieren..."}));
        QCOMPARE(walk(m.Menus->PopupMenuLists), QStringList({"&Medienliste", "&Filmliste", "&Etikettenliste"}));
        QCOMPARE(m.Menus->SpBQuerySub->PopupMenu(), m.Menus->PopupMenuQuery);
        QCOMPARE(m.Menus->SpBLists->PopupMenu(), m.Menus->PopupMenuLists);
        // The form's own members are the entries.
        QCOMPARE(m.Component<QAction>("MenEditieren"), entry("MenEditieren"));
        QCOMPARE(m.Component<QAction>("MenBeenden"), entry("MenBeenden"));
        QVERIFY(m.Component<QAction>("MenEditieren")->isCheckable());
    }

    void secondRowControlsDoNotOverlap()
    {
        TMainform &m = noDatabase();
        QList<QWidget *> row;
        for (const char *n : {"DBNavigator1", "SpBQuerySub", "SpBLists", "SpBLocateSN", "SpBWeb", "LabSchnellSuche",
                              "EditSchnellsuche", "SpBHelp", "SPBHelpIdx"}) {
            auto *w = m.findChild<QWidget *>(QLatin1String(n));
            QVERIFY2(w, n);
            row << w;
        }
        auto onForm = [&m](QWidget *w) { return QRect(w->mapTo(&m, QPoint(0, 0)), w->size()); };
        for (int i = 0; i < row.size(); ++i) {
            QVERIFY2(onForm(row[i]).right() < m.width(), qPrintable(row[i]->objectName()));
            for (int j = i + 1; j < row.size(); ++j)
                QVERIFY2(!onForm(row[i]).intersects(onForm(row[j])),
                         qPrintable(row[i]->objectName() + QStringLiteral(" / ") + row[j]->objectName()));
        }
    }

    void withoutDatabase()
    {
        noDatabase();
        QCOMPARE(enabledIn("PopupDatei"), QStringList({"Neu1", "ffnen1", "Datensicherung1", "MenBeenden"}));
        QCOMPARE(enabledIn("PopupAnsicht"), QStringList());
        QCOMPARE(enabledIn("PopupDruck"), QStringList());
        QCOMPARE(enabledIn("PopupEinstellungen"), settingsEnabledAlways());
        // "&Neuer Menüpunkt..." sits in the disabled "&Eigene Abfragen".
        QCOMPARE(enabledIn("PopupSuche"), QStringList{"NeuerMenpunkt1"});
        QCOMPARE(enabledIn("PopupHilfe"), helpEnabled());
        QCOMPARE(enabledIn("PopupMenuQuery"), QStringList());
        QCOMPARE(enabledButtons(),
                 QStringList({"TBDatei", "TBEinstellungen", "TBHilfe", "SpBHelp", "SPBHelpIdx"}));
    }

    void databaseReadOnlyAndEditing()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        QCOMPARE(enabledIn("PopupDatei"), QStringList({"Neu1", "ffnen1", "Datensicherung1", "Passwortschutz1", "MenEditieren", "MenInfo", "MenBeenden"}));
        // The film card's, the attachment window's and the labels' entries are wired.
        QCOMPARE(enabledIn("PopupAnsicht"),
                 QStringList({"PersonenKarteikarte1", "FilmKarteikarte1", "FilmKarte1", "FilmKarte2", "FilmKarte3",
                              "FilmKarte4", "FilmKarte5", "Anhnge1", "AnhFilm1", "AnhFilm2", "AnhFilm3", "AnhFilm4", "AnhFilm5",
                              "AnhMedium1", "Tabellen1", "Medientabelle1", "Filmtabelle1", "Personentabelle1", "Listen1",
                              "Medienliste1", "Filmliste1", "Etikettenliste1", "EtikettenVorschau1", "FilternnachRestspielzeit1"}));
        QCOMPARE(enabledIn("PopupDruck"),
                 QStringList({"Etikettendrucken1", "MedienListedrucken1", "FilmListedrucken1", "Drucker1"}));
        QCOMPARE(enabledIn("PopupEinstellungen"), settingsEnabledAlways());
        QCOMPARE(enabledIn("PopupSuche"), QStringList({"MediumNrLokalisieren1", "MediumzureingelegtenCDDVD1",
                                                       "SucheFilmLokalisieren1", "SucheFilmeAbfrage1", "KategorieSuche1",
                                                       "WertungsSuche1", "VerlieheneMedien1", "Medienohnegedruckte1",
                                                       "EigeneAbfragen1", "NeuerMenpunkt1", "GespeicherteAbfrage1",
                                                       "AbfragedefinierenSQL1", "Abfragedefinierentabellarisch1",
                                                       "InternetSuche1"}));
        QCOMPARE(enabledIn("PopupHilfe"), helpEnabled());
        QCOMPARE(enabledIn("PopupMenuLists"), QStringList({"ListsMedienliste1", "ListsFilmliste1", "ListsEtikettenliste1"}));
        QCOMPARE(enabledButtons(), QStringList({"TBDatei", "TBAnsicht", "TBDruck", "TBEinstellungen", "TBSuche",
                                                "TBHilfe", "SpBQuerySub", "SpBLists", "SpBLocateSN", "SpBWeb", "SpBHelp", "SPBHelpIdx"}));
        QVERIFY(!entry("MenEditieren")->isChecked());

        fx.unlock();
        QCOMPARE(enabledIn("PopupDatei"),
                 QStringList({"Neu1", "ffnen1", "Personenkartei1", "Auswhlenffnen1", "Importieren1", "Datensicherung1",
                              "Flush1", "Packen1", "UngltigeGrafikenlschen1", "Passwortschutz1", "MenEditieren", "MenInfo",
                              "MenBeenden"}));
        QVERIFY(entry("MenEditieren")->isChecked());
        // The label font and symbol entries come first.
        QCOMPARE(enabledIn("PopupEinstellungen"),
                 settingsEnabledAlways().mid(0, 4)
                     + QStringList({"Kategoriendefinieren1", "AnhngePersonenKarteieinrichten1", "FilmAnhang1",
                                    "MedienAnhang1", "PersonenKartei1", "NumerierungsModus1", "MenNumProMedTyp",
                                    "MenNumAlleMedien", "NumHilfe1"})
                     + settingsEnabledAlways().mid(4));

        // Closing the database switches everything that needs one off again.
        CloseDatabaseTables();
        QCOMPARE(enabledButtons(), QStringList({"TBDatei", "TBEinstellungen", "TBHilfe", "SpBHelp", "SPBHelpIdx"}));
    }

    void wiredTargetsFollowTheRules()
    {
        fx.addMedium(QStringLiteral("VHS-KK"), 1, 0, {{1, QStringLiteral("Alien")}});
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        for (const char *n : {"Auswhlenffnen1", "Kategoriendefinieren1", "FilmAnhang1", "AnhFilm1", "AnhFilm2",
                              "AnhFilm3", "AnhFilm4", "AnhFilm5", "AnhMedium1", "Drucker1", "Medienliste1"})
            m.Menus->Wire(QLatin1String(n), [] {});
        QVERIFY(fx.locate(QStringLiteral("VHS-KK"), 1));
        const QStringList filmCards{"PersonenKarteikarte1", "FilmKarteikarte1", "FilmKarte1", "FilmKarte2", "FilmKarte3", "FilmKarte4",
                                    "FilmKarte5"};
        const QStringList one = filmCards + QStringList{"Anhnge1", "AnhFilm1", "AnhMedium1", "Tabellen1", "Medientabelle1",
                              "Filmtabelle1", "Personentabelle1", "Listen1", "Medienliste1", "Filmliste1",
                              "Etikettenliste1", "EtikettenVorschau1", "FilternnachRestspielzeit1"};
        QCOMPARE(enabledIn("PopupAnsicht"), one);
        QCOMPARE(enabledIn("PopupDruck"),
                 QStringList({"Etikettendrucken1", "MedienListedrucken1", "FilmListedrucken1", "Drucker1"}));
        QVERIFY(enabledIn("PopupEinstellungen").contains(QStringLiteral("Drucker2")));
        QCOMPARE(enabledIn("PopupMenuLists"), QStringList({"ListsMedienliste1", "ListsFilmliste1", "ListsEtikettenliste1"}));
        QVERIFY(!enabledIn("PopupDatei").contains(QStringLiteral("Personenkartei1")));
        QVERIFY(!enabledIn("PopupEinstellungen").contains(QStringLiteral("Kategoriendefinieren1")));
        dvd_kk_nur1film = false;
        const QStringList all = filmCards + QStringList{"Anhnge1",    "AnhFilm1", "AnhFilm2",     "AnhFilm3", "AnhFilm4",
                              "AnhFilm5",   "AnhMedium1", "Tabellen1", "Medientabelle1", "Filmtabelle1",
                              "Personentabelle1", "Listen1", "Medienliste1", "Filmliste1", "Etikettenliste1",
                              "EtikettenVorschau1", "FilternnachRestspielzeit1"};
        QCOMPARE(enabledIn("PopupAnsicht"), all);
        dvd_kk_nur1film = true;
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        QCOMPARE(enabledIn("PopupAnsicht"), all);

        fx.unlock();
        const QStringList datei = enabledIn("PopupDatei");
        QVERIFY(datei.contains(QStringLiteral("Personenkartei1")) && datei.contains(QStringLiteral("Auswhlenffnen1")));
        QVERIFY(datei.contains(QStringLiteral("Importieren1")));
        const QStringList settings = enabledIn("PopupEinstellungen");
        for (const char *n : {"Kategoriendefinieren1", "AnhngePersonenKarteieinrichten1", "FilmAnhang1"})
            QVERIFY2(settings.contains(QLatin1String(n)), n);
        QVERIFY(settings.contains(QStringLiteral("MedienAnhang1")));
    }

    void entriesReachTheirCommands()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.clear();
        trigger("Neu1");
        QCOMPARE(p.last().kind, QStringLiteral("FileDialog"));
        QCOMPARE(p.last().caption, QStringLiteral("Neue Datenbank"));
        trigger("ffnen1");
        QCOMPARE(p.last().caption, QStringLiteral("Datei öffnen"));
        trigger("Passwortschutz1");
        QCOMPARE(p.last().caption, QStringLiteral("ACHTUNG!!!!!"));
        trigger("FilternnachRestspielzeit1"); // the filter dialog, unanswered: Cancel
        QCOMPARE(p.last().objectName, QStringLiteral("DFilter"));
        QVERIFY(!m.Table1->filtered());
        const int before = p.shown().size();
        trigger("MediumNrLokalisieren1");
        QCOMPARE(p.shown().size(), before + 1);
        InstallIntroboxDoor(); // as the program does at start
        trigger("About1");
        QCOMPARE(p.last().kind, QStringLiteral("TIntrobox"));

        trigger("MenEditieren");
        QVERIFY(!m.Table1->readOnly());
        for (const char *n : {"HauptfensterHilfe1", "WasistNeu1", "BekannteProbleme1", "HilfezurHilfe1", "Inhalt1",
                              "NumHilfe1", "RestHilfe1", "ZhlHilfe1"})
            trigger(n);
        emit m.Menus->SpBHelp->Click();
        emit m.Menus->SPBHelpIdx->Click();
        QCOMPARE(helpAsked, QList<int>({10, 11, 12, 13, 0, 20, 21, 22, 10, 0}));
        trigger("Packen1");
        QCOMPARE(p.last().kind, QStringLiteral("TDPack"));
        trigger("UngltigeGrafikenlschen1");
        QCOMPARE(p.last().caption, QStringLiteral("Löschen ungültiger Grafiken!"));
        QCOMPARE(p.last().buttons.size(), 2);
        trigger("Flush1");
        QCOMPARE(p.unscripted(), p.shown().size()); // every box above went unanswered: nothing else asked

        trigger("MenNumAlleMedien");
        QCOMPARE(m.Records->numberingMode(), NumberingMode::AcrossAll);
        QVERIFY(entry("MenNumAlleMedien")->isChecked() && !entry("MenNumProMedTyp")->isChecked());
        trigger("MenNumProMedTyp");
        QCOMPARE(m.Records->numberingMode(), NumberingMode::PerKind);
        QVERIFY(!entry("MenNumAlleMedien")->isChecked() && entry("MenNumProMedTyp")->isChecked());

        m.show();
        trigger("MenBeenden");
        QVERIFY(!m.isVisible());
        QVERIFY(!m.Table1->active());
    }

    void checkPairsAreSavedSettings()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(5, 30));
        TMainform &m = fx.open();
        fx.unlock();
        bRest1bis4 = true;
        ATTS = false;
        m.ShowMediumFilms();
        emit m.Component<QMenu>("PopupEinstellungen")->aboutToShow();
        QVERIFY(entry("Filme1bis5bercksichtigen1")->isChecked() && !entry("AlleFilmebercksichtigen1")->isChecked());
        QVERIFY(!entry("ATTSZhlwerk1")->isChecked() && entry("KumulativSPLP1")->isChecked());
        QVERIFY(m.Component<TPZSpeedButton>("SpB5PushDown")->isVisibleTo(m.Component<QWidget>("PanelKrt")));

        trigger("AlleFilmebercksichtigen1");
        QVERIFY(!bRest1bis4 && !m.Records->rest1to5);
        QVERIFY(!entry("Filme1bis5bercksichtigen1")->isChecked() && entry("AlleFilmebercksichtigen1")->isChecked());
        QVERIFY(!m.Component<TPZSpeedButton>("SpB5PushDown")->isVisibleTo(m.Component<QWidget>("PanelKrt"))); // the card follows at once
        trigger("ATTSZhlwerk1");
        QVERIFY(ATTS);
        QVERIFY(entry("ATTSZhlwerk1")->isChecked() && !entry("KumulativSPLP1")->isChecked());
        platform::Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readBinary(QStringLiteral("bRest1bis4")), QByteArray(1, '\0'));
        QVERIFY(r.readBool(QStringLiteral("ATTS")));
        trigger("Filme1bis5bercksichtigen1");
        trigger("KumulativSPLP1");
        QVERIFY(bRest1bis4 && !ATTS);
        QCOMPARE(r.readBinary(QStringLiteral("bRest1bis4")), QByteArray(1, '\1'));
        QVERIFY(!r.readBool(QStringLiteral("ATTS")));

        // The one-film entry shows the setting.
        dvd_kk_nur1film = false;
        emit m.Component<QMenu>("PopupEinstellungen")->aboutToShow();
        QVERIFY(!entry("Men_dvd_kk_nur1film")->isChecked());
        dvd_kk_nur1film = true;
        emit m.Component<QMenu>("PopupEinstellungen")->aboutToShow();
        QVERIFY(entry("Men_dvd_kk_nur1film")->isChecked());
        // The entry runs the card's switch of the rule.
        const bool before = m.Records->dvdKkNur1Film;
        trigger("Men_dvd_kk_nur1film");
        QCOMPARE(m.Records->dvdKkNur1Film, !before);
    }

    void querySlots()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        QStringList files{"/home/u/Abfragen/Krimis.sql", "Alle Filme.SQL", "Neu.sql.txt", "Serien", "Doku.sQl"};
        int asked = 0;
        m.Menus->ExecStoredQueryDialog = [&](QString &file, QString &sql) {
            file = files.value(asked);
            sql = QStringLiteral("SELECT * FROM Film WHERE FilmNr = %1").arg(++asked);
            return true;
        };
        m.Menus->ShowFreeQueryMenu();
        QVERIFY(!entry("FreeQuerySep")->isVisible() && !entry("FreeQueryPopSep")->isVisible());
        QVERIFY(!entry("Menpunktlschen1")->isEnabled());
        trigger("NeuerMenpunkt1");
        QCOMPARE(FreeQueryMenu[0].Caption, QStringLiteral("Krimis"));
        QVERIFY(FreeQueryMenu[0].Enabled);
        QCOMPARE(walk(m.Menus->Submenu(QStringLiteral("EigeneAbfragen1"))),
                 QStringList({"Krimis", "—", "&Neuer Menüpunkt...", "Menüpunkt &löschen", "  Krimis"}));
        QCOMPARE(walk(m.Menus->PopupMenuQuery),
                 QStringList({"Krimis", "—", "Gespeicherte Abfrage ausführen...", "SQL-Abfragetext erstellen...",
                              "Abfrage tabellarisch definieren..."}));
        QVERIFY(entry("Menpunktlschen1")->isEnabled());
        // Without the query runner the slots cannot run.
        m.Menus->RunQuerySQL = nullptr;
        m.Menus->ShowFreeQueryMenu();
        QVERIFY(!entry("FreeQueryMen1")->isEnabled() && !entry("FreeQueryPop1")->isEnabled());
        QStringList ran;
        m.Menus->RunQuerySQL = [&](const QString &sql) { ran << sql; };
        m.Menus->ShowFreeQueryMenu();
        trigger("FreeQueryMen1");
        trigger("FreeQueryPop1");
        QCOMPARE(ran, QStringList({"SELECT * FROM Film WHERE FilmNr = 1", "SELECT * FROM Film WHERE FilmNr = 1"}));

        for (int i = 0; i < 4; ++i)
            trigger("NeuerMenpunkt1");
        QCOMPARE(FreeQueryMenu[1].Caption, QStringLiteral("Alle Filme"));
        QCOMPARE(FreeQueryMenu[2].Caption, QStringLiteral("Neu.sql.txt"));
        QCOMPARE(FreeQueryMenu[3].Caption, QStringLiteral("Serien"));
        QCOMPARE(FreeQueryMenu[4].Caption, QStringLiteral("Doku"));
        QVERIFY(!entry("NeuerMenpunkt1")->isEnabled());

        trigger("FreeQueryDel2");
        QVERIFY(!FreeQueryMenu[1].Enabled);
        QVERIFY(!entry("FreeQueryMen2")->isVisible() && !entry("FreeQueryPop2")->isVisible()
                && !entry("FreeQueryDel2")->isVisible());
        QVERIFY(entry("NeuerMenpunkt1")->isEnabled());
        files << QStringLiteral("Western.sql");
        trigger("NeuerMenpunkt1");
        QCOMPARE(FreeQueryMenu[1].Caption, QStringLiteral("Western"));
        QCOMPARE(FreeQueryMenu[1].SQL, QStringLiteral("SELECT * FROM Film WHERE FilmNr = 6"));
        for (const char *n : {"FreeQueryDel1", "FreeQueryDel3", "FreeQueryDel4"})
            trigger(n);

        // A new start reads the slots back from the settings.
        fx.form.reset();
        for (auto &e : FreeQueryMenu)
            e = TFreeQueryMenuEntry();
        TMainform &again = fx.open();
        LoadFreeQueryMenu();
        again.Menus->ShowFreeQueryMenu();
        QCOMPARE(walk(again.Menus->Submenu(QStringLiteral("EigeneAbfragen1"))),
                 QStringList({"Western", "Doku", "—", "&Neuer Menüpunkt...", "Menüpunkt &löschen", "  Western",
                              "  Doku"}));
        QCOMPARE(FreeQueryMenu[4].SQL, QStringLiteral("SELECT * FROM Film WHERE FilmNr = 5"));
        QVERIFY(!FreeQueryMenu[0].Enabled && !FreeQueryMenu[2].Enabled && !FreeQueryMenu[3].Enabled);
    }

    void passwordProtectionRoundTrip()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien")}});
        addPerson(QStringLiteral("Ridley Scott"), {});
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        auto password = [](const QString &pwd) {
            return [pwd](QDialog &d) {
                d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(pwd);
                if (auto *e2 = d.findChild<QLineEdit *>(QStringLiteral("Edit2")))
                    e2->setText(pwd);
            };
        };
        p.clear();
        p.answer(mrOk).answerDialog(password(QStringLiteral("geheim"))).answer(mrYes);
        m.Commands->Passwortschutz1Click();
        QCOMPARE(p.shown().size(), 3);
        QCOMPARE(p.shown().at(0).caption, QStringLiteral("ACHTUNG!!!!!"));
        QCOMPARE(p.shown().at(1).kind, QStringLiteral("TDPwd"));
        QCOMPARE(p.shown().at(2).caption, QStringLiteral("Personenkartei auch schützen?"));
        QVERIFY(p.shown().at(2).text.startsWith(
            QStringLiteral("Soll die Personenkartei auch verschlüsselt werden?\nHintergrund der Frage:\nBenutzen nur Sie")));
        QVERIFY(p.shown().at(2).text.endsWith(QStringLiteral("(Die Reihenfolge bei der Eingabe der Passwörter spielt "
                                                             "dabei keine Rolle.)")));
        QVERIFY(m.Table1->active() && m.Table11->active() && m.Table2->active());
        QCOMPARE(m.Component<TPZSpeedButton>("Film1")->Caption(), QStringLiteral("Alien"));

        // Reopened, the database asks; without the password it stays closed.
        p.clear();
        p.answer(mrCancel);
        QVERIFY(!reopenDatabase());
        QVERIFY(!m.Table1->active());
        p.clear();
        p.answerDialog(password(QStringLiteral("geheim")));
        QVERIFY(reopenDatabase());
        QCOMPARE(p.shown().size(), 1); // one password opens all three tables
        QCOMPARE(p.shown().at(0).kind, QStringLiteral("TDPwd"));
        QVERIFY(m.Table1->active() && m.FilmTable->active() && m.PersTable->active());

        // An empty password removes the protection, of the person table too.
        fx.unlock();
        p.clear();
        p.answer(mrOk).answerDialog(password(QString())).answer(mrYes);
        m.Commands->Passwortschutz1Click();
        QCOMPARE(p.shown().size(), 3);
        QCOMPARE(p.shown().at(2).caption, QStringLiteral("Auch Personenkartei?"));
        QCOMPARE(p.shown().at(2).text, QStringLiteral("Soll auch der Passwortschutz der Personenkartei entfernt werden?"));
        p.clear();
        QVERIFY(reopenDatabase());
        QCOMPARE(p.shown().size(), 0);
        QVERIFY(m.PersTable->active());
    }

    void personTableKeepsItsProtectionOnNo()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answer(mrOk)
            .answerDialog([](QDialog &d) {
                d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("x1"));
                d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("x1"));
            })
            .answer(mrNo);
        m.Commands->Passwortschutz1Click();
        CloseDatabaseTables();
        engine::Session::instance().removeAllPasswords();
        // The person table is still open to everyone.
        engine::Table pers;
        pers.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
        p.clear();
        pers.open();
        QVERIFY(pers.active());
        QCOMPARE(p.shown().size(), 0);
        pers.close();
    }

    void unreadablePicturesAreClearedThenPackingOffered()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Gut")}, {2, QStringLiteral("Kaputt")}});
        const QByteArray good = pngBytes();
        const QByteArray bad = QByteArray("BM") + QByteArray(40, '\x7f');
        setPicture(FilmTablePath(fx.base), QStringLiteral("Medium;KassNr;FilmNr"),
                   QVariantList{QStringLiteral("VHS-SB"), 1, 1}, good);
        setPicture(FilmTablePath(fx.base), QStringLiteral("Medium;KassNr;FilmNr"),
                   QVariantList{QStringLiteral("VHS-SB"), 1, 2}, bad);
        addPerson(QStringLiteral("Anna"), bad);
        addPerson(QStringLiteral("Bert"), good);
        TMainform &m = fx.open();
        fx.unlock();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.clear();
        // The wait box is gone before each report shows.
        int waitBoxOverReport = 0;
        const auto report = [&](QDialog &) { waitBoxOverReport += Waitbox != nullptr; };
        p.answer(mrOk).answerDialog(report).answerDialog(report).answer(mrNo);
        trigger("UngltigeGrafikenlschen1");
        QCOMPARE(waitBoxOverReport, 0);
        // Each check reports what it found.
        QCOMPARE(fx.settings.captions(),
                 QStringList({"Löschen ungültiger Grafiken!", "Fertig", "Fertig", "Datenbank packen?"}));
        QCOMPARE(p.shown().at(1).text, QStringLiteral("Es wurden 2 Film-Grafiken überprüft, davon wurden 1 als ungültig "
                                                      "erkannt und 1 erfolgreich gelöscht!"));
        QCOMPARE(p.shown().at(2).text, QStringLiteral("Es wurden 2 Personen-Grafiken überprüft, davon wurden 1 als "
                                                      "ungültig erkannt und 1 erfolgreich gelöscht!"));
        QCOMPARE(p.shown().at(0).text,
                 QStringLiteral("Diese Funktion durchsucht die Film-Anhänge und die Personen-Kartei nach ungültigen "
                                "Grafiken, die Fehlermeldungen verursachen. \nDiese werden gelöscht, damit Tarvo "
                                "wieder ordnungsgemäß funktioniert!"));
        QCOMPARE(p.shown().at(0).icon, kit::BoxIcon::Information);
        QCOMPARE(p.shown().at(3).text,
                 QStringLiteral("Die ungültigen Bitmaps wurden bisher nur \"gestrichen\". Um sie auch physikalisch aus "
                                "den Datenbankdateien zu entfernen, muss die Datenbank \"gepackt\" werden. Soll das "
                                "nun geschehen?"));
        auto picture = [&](engine::Table &t, const QString &key, const QVariant &v) {
            [&] { QVERIFY(v.typeId() == QMetaType::QVariantList ? t.locate(key, v.toList()) : t.locate(key, v)); }();
            return t.fieldByName(QStringLiteral("Grafik"))->asBytes();
        };
        const QString filmKey = QStringLiteral("Medium;KassNr;FilmNr");
        QCOMPARE(picture(*m.FilmTable, filmKey, QVariantList{QStringLiteral("VHS-SB"), 1, 1}), good);
        QVERIFY(picture(*m.FilmTable, filmKey, QVariantList{QStringLiteral("VHS-SB"), 1, 2}).isEmpty());
        QVERIFY(m.FilmTable->fieldByName(QStringLiteral("Grafik"))->isNull());
        QCOMPARE(picture(*m.PersTable, QStringLiteral("Name"), QStringLiteral("Bert")), good);
        QVERIFY(picture(*m.PersTable, QStringLiteral("Name"), QStringLiteral("Anna")).isEmpty());

        // Nothing left to clear: no pack question. Yes to it opens the pack dialog.
        p.clear();
        p.answer(mrOk);
        trigger("UngltigeGrafikenlschen1");
        QCOMPARE(fx.settings.captions(), QStringList({"Löschen ungültiger Grafiken!", "Fertig", "Fertig"}));
        addPerson(QStringLiteral("Carl"), bad);
        m.PersTable->refresh();
        p.clear();
        p.answer(mrOk).answer(mrOk).answer(mrOk).answer(mrYes).answer(mrCancel);
        trigger("UngltigeGrafikenlschen1");
        QCOMPARE(p.shown().size(), 5);
        QCOMPARE(p.last().kind, QStringLiteral("TDPack"));
    }

    void packingPacksTheThreeTablesOfTheOpenDatabase()
    {
        // Deleted films keep their room in the file until the table is packed.
        QList<card::Film> films;
        for (int i = 1; i <= 6; ++i)
            films.append({i, QStringLiteral("Film %1").arg(i), 30, false, false, {}, false, {}, QString(20000, u'x')});
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, films);
        {
            engine::Table t;
            t.setTableName(FilmTablePath(fx.base));
            t.open();
            for (int nr = 2; nr <= 6; ++nr) {
                QVERIFY(t.locate(QStringLiteral("Medium;KassNr;FilmNr"), QVariantList{QStringLiteral("VHS-SB"), 1, nr}));
                t.deleteRecord();
            }
        }
        addPerson(QStringLiteral("Anna"), QByteArray());
        const qint64 before = QFileInfo(FilmTablePath(fx.base)).size();
        TMainform &m = fx.open();
        fx.unlock();
        m.show();
        // The film and person cards are open and a quick search shows its finds.
        m.ImageClick(1);
        trigger("PersonenKarteikarte1");
        m.QuickSearch(QStringLiteral("Film"));
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.clear();
        p.answerDialog([](QDialog &d) {
            for (const char *box : {"CheckBox1", "CheckBox2", "CheckBox3"})
                d.findChild<QCheckBox *>(QLatin1String(box))->setChecked(true);
        });
        trigger("Packen1");
        QCOMPARE(fx.settings.captions(), QStringList{QStringLiteral("Tabellen Packen!")});
        QVERIFY(QFileInfo(FilmTablePath(fx.base)).size() < before - 50000);
        for (engine::Table *t : {m.Table1.get(), m.Table2.get(), m.FilmTable.get(), m.PersTable.get()})
            QVERIFY(t->active());
        QVERIFY(!m.Table1->readOnly());
        QCOMPARE(m.FilmTable->recordCount(), 1);
        QCOMPARE(m.findChild<QLabel *>(QStringLiteral("Status1"))->text(), QStringLiteral("1 Medien, 1 Filme"));
    }

    void manualAndWebPagesOpenWithTheDesktop()
    {
        noDatabase();
        UrlRecorder rec;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &rec, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &rec, "open");
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        trigger("BeschriftenPDF1");
        QCOMPARE(p.last().caption, QStringLiteral("Fehler!"));
        QCOMPARE(p.last().text, QStringLiteral("Fehler beim Öffnen der PDF-Datei!"));
        QVERIFY(rec.urls.isEmpty());
        QFile pdf(ProgDir + QStringLiteral("Etikettendruck.pdf"));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write("%PDF-1.4\n");
        pdf.close();
        p.clear();
        trigger("BeschriftenPDF1");
        trigger("TarvoHomepage1");
        trigger("TarvoFORUM1");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(p.shown().size(), 0);
        QCOMPARE(rec.urls, QList<QUrl>({QUrl::fromLocalFile(ProgDir + QStringLiteral("Etikettendruck.pdf")),
                                        QUrl(TarvoHomepageUrl), QUrl(TarvoForumUrl)}));
    }

    void cardKeys()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}, {2, QStringLiteral("B")}});
        TMainform &m = fx.open();
        QTest::keyClick(&m, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);
        QTest::keyClick(&m, Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 1);
        // Keys of windows that are not wired do nothing; once wired they run.
        QMap<QString, int> ran;
        for (int k : {Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10})
            QTest::keyClick(&m, Qt::Key(k));
        for (const char *n : {"AnhMedium1", "FilmKarteikarte1", "PersonenKarteikarte1", "MediumzureingelegtenCDDVD1",
                              "InternetSuche1"}) {
            const QString name = QLatin1String(n);
            m.Menus->Wire(name, [&ran, name] { ++ran[name]; });
        }
        QVERIFY(m.Menus->SpBLocateSN->isEnabled() && m.Menus->SpBWeb->isEnabled());
        for (int k : {Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10})
            QTest::keyClick(&m, Qt::Key(k));
        QTest::keyClick(&m, Qt::Key_F6, Qt::ShiftModifier); // only without modifier keys
        QCOMPARE(ran, (QMap<QString, int>{{"AnhMedium1", 1}, {"FilmKarteikarte1", 1}, {"PersonenKarteikarte1", 1},
                                          {"MediumzureingelegtenCDDVD1", 1}, {"InternetSuche1", 1}}));
        // Insert, Delete and the keypad's plus and minus blink the lock while locked.
        for (auto [key, mod] : {std::pair{Qt::Key_Insert, Qt::NoModifier}, std::pair{Qt::Key_Delete, Qt::NoModifier},
                                std::pair{Qt::Key_Plus, Qt::KeypadModifier}, std::pair{Qt::Key_Minus, Qt::KeypadModifier}}) {
            m.Component<TLockButton>("LockButton1")->SetLocked(true);
            QVERIFY(!m.Component<TLockButton>("LockButton1")->Blinking());
            QTest::keyClick(&m, key, mod);
            QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        }
        QCOMPARE(m.Table1->recordCount(), 1);
    }

    void applicationActivationReachesTheWindows()
    {
        TMainform &m = noDatabase();
        m.FormIsActive = true;
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        const QColor active = m.LabelBl->FontColor();
        emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
        QVERIFY(m.LabelBl->FontColor() != active); // the caption takes the inactive look
        emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
        QCOMPARE(m.LabelBl->FontColor(), active);
    }

    void filmTableUnderTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}, {2, QStringLiteral("B")}});
        TMainform &m = fx.open();
        TMainCommands &c = *m.Commands;
        QVERIFY(c.ButtShowFilmtab->isVisibleTo(m.Component<QWidget>("PanelKrt")) && !c.ButtHideFilmtab->isVisibleTo(m.Component<QWidget>("PanelKrt")));
        const int h = m.height();
        emit c.ButtShowFilmtab->Click();
        QVERIFY(m.Component<QWidget>("PanelFilmListe")->isVisibleTo(&m));
        QVERIFY(m.height() > h);
        QVERIFY(m.QueryFL->active());
        QCOMPARE(m.QueryFL->recordCount(), 2);
        QVERIFY(!c.ButtShowFilmtab->isVisibleTo(m.Component<QWidget>("PanelKrt")) && c.ButtHideFilmtab->isVisibleTo(m.Component<QWidget>("PanelKrt")));
        QVERIFY(c.SpbStd->isVisibleTo(m.Component<QWidget>("PanelKrt")));
        const QString first = m.Component<dbui::DbGrid>("DBGridFL")->columns().at(0).fieldName;
        m.Component<dbui::DbGrid>("DBGridFL")->moveGridColumn(0, 3);
        QVERIFY(m.Component<dbui::DbGrid>("DBGridFL")->columns().at(0).fieldName != first);
        emit c.SpbStd->Click();
        QCOMPARE(m.Component<dbui::DbGrid>("DBGridFL")->columns().at(0).fieldName, first);
        emit c.ButtHideFilmtab->Click();
        QVERIFY(!m.Component<QWidget>("PanelFilmListe")->isVisibleTo(&m));
        QCOMPARE(m.height(), h);
        QVERIFY(c.ButtShowFilmtab->isVisibleTo(m.Component<QWidget>("PanelKrt")));
    }
    void theWindowFillsTheDoorsFromBelowAndEmptiesItsOwn()
    {
        noDatabase();
        const TDatabaseDoors &db = UpwardDoors.Database;
        const TMediumRecordDoors &rec = UpwardDoors.Records;
        QVERIFY(&fx.form->Records->doors() == &rec);
        // Every door is filled: one left empty is a step that silently never
        // happens. The list of doors is the one the declarations keep.
        QStringList empty;
        int doors = 0;
        ForEachUpwardDoor(UpwardDoors, [&](const char *name, TDoorFiller by, const auto &door) {
            ++doors;
            if (by == TDoorFiller::MainWindow && !door)
                empty << QLatin1String(name);
        });
        QCOMPARE(doors, UpwardDoorCount);
        QCOMPARE(empty, QStringList());
        // The numbering door sets the check marks of the menu.
        rec.onNumberingMenu(NumberingMenuState::PerKind);
        QVERIFY(entry("MenNumProMedTyp")->isChecked());
        QVERIFY(!entry("MenNumAlleMedien")->isChecked());
        rec.onNumberingMenu(NumberingMenuState::None);
        QVERIFY(!entry("MenNumProMedTyp")->isChecked());
        QVERIFY(!entry("MenNumAlleMedien")->isChecked());
        // Gone with the window: every door that reaches it; the others stay.
        fx.form.reset();
        Mainform = nullptr;
        for (bool set : {bool(db.SetEditing), bool(db.BeforeDatabaseCommand), bool(db.NewDatabaseTour),
                         bool(db.ImportTour), bool(db.LockButtonHint), bool(rec.onNumberingMenu),
                         bool(rec.resetInsertFocus), bool(rec.afterPostRefresh), bool(rec.afterDeleteRefresh),
                         bool(rec.filmsChanged), bool(rec.showFilmWindow), bool(rec.execSplitFreeDialog)})
            QVERIFY(!set);
        QVERIFY(db.ImportOldDatabase);
        QVERIFY(db.LoadFreeFieldCaptions);
    }
};

QTEST_MAIN(TestMainMenus)
#include "tst_mainmenus.moc"
