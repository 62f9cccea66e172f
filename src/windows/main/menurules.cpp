#include "windows/main/menurules.h"

#include "data/mediumnumbering.h"

#include <QFileInfo>

namespace {

MenuEntry cmd(const char *name, const QString &caption, MenuNeed need = MenuNeed::None,
              QKeySequence key = {})
{
    MenuEntry e;
    e.name = QLatin1String(name);
    e.caption = caption;
    e.need = need;
    e.key = key;
    return e;
}

MenuEntry check(const char *name, const QString &caption, MenuNeed need = MenuNeed::None,
                QKeySequence key = {})
{
    MenuEntry e = cmd(name, caption, need, key);
    e.checkable = true;
    return e;
}

MenuEntry same(const char *name, const QString &caption, const char *target)
{
    MenuEntry e = cmd(name, caption);
    e.target = QLatin1String(target);
    return e;
}

MenuEntry sub(const char *name, const QString &caption, const QList<MenuEntry> &items,
              MenuNeed need = MenuNeed::None, QKeySequence key = {})
{
    MenuEntry e = cmd(name, caption, need, key);
    e.items = items;
    return e;
}

MenuEntry sep()
{
    return MenuEntry();
}

MenuEntry querySlot(const char *prefix, int n)
{
    MenuEntry e;
    e.name = QLatin1String(prefix) + QString::number(n);
    e.querySlot = n;
    return e;
}

QList<MenuEntry> querySlots(const char *prefix)
{
    QList<MenuEntry> l;
    for (int n = 1; n <= FreeQueryMenuCount; ++n)
        l << querySlot(prefix, n);
    return l;
}

QList<MenuEntry> dateiItems()
{
    return {
        cmd("Neu1", QStringLiteral("&Neu ...")),
        cmd("ffnen1", QStringLiteral("Ö&ffnen ...")),
        sub("Personenkartei1", QStringLiteral("&Personenkartei"),
            {cmd("Auswhlenffnen1", QStringLiteral("Auswählen / Öffnen...")),
             cmd("Importieren1", QStringLiteral("Importieren..."))},
            MenuNeed::Editing),
        sep(),
        cmd("Datensicherung1", QStringLiteral("&Datensicherung...")),
        cmd("Flush1", QStringLiteral("Alle Daten speichern!"), MenuNeed::Editing),
        cmd("Packen1", QStringLiteral("Packen..."), MenuNeed::Editing),
        cmd("UngltigeGrafikenlschen1", QStringLiteral("Ungültige Grafiken löschen! ..."), MenuNeed::Editing),
        cmd("Passwortschutz1", QStringLiteral("Passwortschutz..."), MenuNeed::Database),
        sep(),
        check("MenEditieren", QStringLiteral("&Editieren (Bearbeiten)"), MenuNeed::Database, QKeySequence(Qt::Key_F12)),
        sep(),
        cmd("MenInfo", QStringLiteral("&Information"), MenuNeed::Database),
        sep(),
        cmd("MenBeenden", QStringLiteral("&Beenden")),
    };
}

QList<MenuEntry> filmEntries(const char *prefix, bool keys, bool attachments)
{
    QList<MenuEntry> l;
    for (int n = 1; n <= 5; ++n) {
        MenuEntry e = cmd("", QStringLiteral("Film &%1").arg(n));
        e.name = QLatin1String(prefix) + QString::number(n);
        if (keys)
            e.key = QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + n));
        if (attachments)
            e.filmSlot = n;
        l << e;
    }
    return l;
}

QList<MenuEntry> ansichtItems()
{
    QList<MenuEntry> attachments = filmEntries("AnhFilm", false, true);
    attachments << cmd("AnhMedium1", QStringLiteral("&Medium"), MenuNeed::None, QKeySequence(Qt::Key_F6));
    return {
        cmd("PersonenKarteikarte1", QStringLiteral("&Personen-Karteikarte"), MenuNeed::None, QKeySequence(Qt::Key_F8)),
        sub("FilmKarteikarte1", QStringLiteral("Film-&Karteikarte"), filmEntries("FilmKarte", true, false),
            MenuNeed::None, QKeySequence(Qt::Key_F7)),
        sub("Anhnge1", QStringLiteral("&Anhänge"), attachments),
        sep(),
        sub("Tabellen1", QStringLiteral("&Tabellen"),
            {cmd("Medientabelle1", QStringLiteral("&Medientabelle")),
             cmd("Filmtabelle1", QStringLiteral("&Filmtabelle")),
             cmd("Personentabelle1", QStringLiteral("&Personentabelle"))}),
        sub("Listen1", QStringLiteral("&Listen"),
            {cmd("Medienliste1", QStringLiteral("&Medienliste")), cmd("Filmliste1", QStringLiteral("&Filmliste")),
             cmd("Etikettenliste1", QStringLiteral("&Etikettenliste"))}),
        sep(),
        cmd("EtikettenVorschau1", QStringLiteral("Etiketten-&Vorschau"), MenuNeed::Database),
        sep(),
        check("FilternnachRestspielzeit1", QStringLiteral("&Filtern nach Aufnahmelänge...")),
    };
}

QList<MenuEntry> druckItems()
{
    return {
        cmd("Etikettendrucken1", QStringLiteral("&Etikett(en) drucken..."), MenuNeed::Database),
        cmd("MedienListedrucken1", QStringLiteral("&Medien-Liste drucken ...")),
        cmd("FilmListedrucken1", QStringLiteral("&Film-Liste drucken ...")),
        sep(),
        cmd("Drucker1", QStringLiteral("&Drucker...")),
    };
}

QList<MenuEntry> einstellungenItems()
{
    return {
        cmd("SchriftartEtikettenText1", QStringLiteral("&Schriftart Etiketten-Text")),
        cmd("SchriftartNummernEtikett1", QStringLiteral("Schriftart &Nummern-Etikett")),
        cmd("ErweiterteDruckoptionen1", QStringLiteral("&Erweiterte Druckoptionen (Etiketten)")),
        cmd("FuSymbolGrafik1", QStringLiteral("Fuß-Symbol-&Grafik (Etiketten)")),
        sep(),
        cmd("Kategoriendefinieren1", QStringLiteral("&Kategorien definieren"), MenuNeed::Editing),
        sub("AnhngePersonenKarteieinrichten1", QStringLiteral("An&hänge / Personen-Kartei einrichten"),
            {cmd("FilmAnhang1", QStringLiteral("&Film-Anhang")), cmd("MedienAnhang1", QStringLiteral("&Medien-Anhang")),
             cmd("PersonenKartei1", QStringLiteral("&Personen-Kartei"))},
            MenuNeed::Editing),
        sep(),
        sub("NumerierungsModus1", QStringLiteral("Numerierungs-Modus"),
            {check("MenNumProMedTyp", QStringLiteral("Separate Numerierung für jeden Medientyp")),
             check("MenNumAlleMedien", QStringLiteral("Durchgehende Numerierung für alle Medien")), sep(),
             cmd("NumHilfe1", QStringLiteral("&Hilfe..."))},
            MenuNeed::Editing),
        sub("Restspielzeitberechnung1", QStringLiteral("&Restspielzeitberechnung"),
            {check("Filme1bis5bercksichtigen1", QStringLiteral("Filme 1 bis 5 berücksichtigen")),
             check("AlleFilmebercksichtigen1", QStringLiteral("Alle Filme berücksichtigen")), sep(),
             cmd("RestHilfe1", QStringLiteral("Hilfe..."))}),
        sub("Zhlwerksmodus1", QStringLiteral("&Zählwerksmodus (f. Bandpositions-Angaben)"),
            {check("ATTSZhlwerk1", QStringLiteral("ATTS-Zählwerk")),
             check("KumulativSPLP1", QStringLiteral("&Kumulativ SP+LP")), sep(),
             cmd("ZhlHilfe1", QStringLiteral("&Hilfe..."))}),
        check("Men_dvd_kk_nur1film", QStringLiteral("Nur &1 Film auf DVD oder Kaufkassette")),
        cmd("Verleiheinstellungen1", QStringLiteral("&Verleiheinstellungen")),
        sep(),
        cmd("SelbstklebeEtiketteneinrichten1", QStringLiteral("(Selbstklebe)-Etiketten einrichten")),
        cmd("VerwaltungEtikettgedruckt1", QStringLiteral("Verwaltung des \"Etikett gedruckt\"-Feldes")),
        cmd("EinstellungenListenDruck1", QStringLiteral("Einstellungen für &Listen-/Tabellen-Druck")),
        cmd("EinstellungenAnhangDruck1", QStringLiteral("Einstellungen für &Anhang-Druck")),
        same("Drucker2", QStringLiteral("&Drucker"), "Drucker1"),
        sep(),
        cmd("OnlineUpdateprfung1", QStringLiteral("Online-Updateprüfung")),
    };
}

QList<MenuEntry> sucheItems()
{
    QList<MenuEntry> own = querySlots("FreeQueryMen");
    MenuEntry slotSep;
    slotSep.name = QStringLiteral("FreeQuerySep");
    slotSep.querySlot = -1; // a separator that the query rules show
    own << slotSep << cmd("NeuerMenpunkt1", QStringLiteral("&Neuer Menüpunkt..."))
        << sub("Menpunktlschen1", QStringLiteral("Menüpunkt &löschen"), querySlots("FreeQueryDel"));
    return {
        cmd("MediumNrLokalisieren1", QStringLiteral("Medium-&Nr lokalisieren ...")),
        cmd("MediumzureingelegtenCDDVD1", QStringLiteral("Medium zur eingelegten &CD/DVD lokalisieren"),
            MenuNeed::None, QKeySequence(Qt::Key_F9)),
        sep(),
        cmd("SucheFilmLokalisieren1", QStringLiteral("Suche &Film (Lokalisieren) ...")),
        cmd("SucheFilmeAbfrage1", QStringLiteral("Suche Film(e) (&Abfrage) ...")),
        cmd("KategorieSuche1", QStringLiteral("&Kategorie-Suche...")),
        cmd("WertungsSuche1", QStringLiteral("&Wertungs-Suche...")),
        cmd("VerlieheneMedien1", QStringLiteral("&Verliehene Medien...")),
        cmd("Medienohnegedruckte1", QStringLiteral("Medien ohne ge&druckte Etiketten...")),
        sep(),
        sub("EigeneAbfragen1", QStringLiteral("&Eigene Abfragen"), own),
        cmd("GespeicherteAbfrage1", QStringLiteral("&Gespeicherte Abfrage ausführen...")),
        sep(),
        cmd("AbfragedefinierenSQL1", QStringLiteral("Abfrage definieren (S&QL)...")),
        cmd("Abfragedefinierentabellarisch1", QStringLiteral("Abfrage definieren (&tabellarisch)...")),
        sep(),
        cmd("InternetSuche1", QStringLiteral("Internet-Suche..."), MenuNeed::None, QKeySequence(Qt::Key_F10)),
    };
}

QList<MenuEntry> hilfeItems()
{
    return {
        cmd("HauptfensterHilfe1", QStringLiteral("&Hauptfenster-Hilfe")),
        cmd("WasistNeu1", QStringLiteral("&Was ist neu?")),
        cmd("BekannteProbleme1", QStringLiteral("Bekannte &Probleme")),
        cmd("HilfezurHilfe1", QStringLiteral("Hilfe &zur Hilfe")),
        cmd("Inhalt1", QStringLiteral("&Inhalt")),
        sep(),
        cmd("BeschriftenPDF1", QStringLiteral("Beschriften von CDs && DVDs (PDF)")),
        sep(),
        cmd("TarvoHomepage1", QStringLiteral("Tarvo-Homepage (Internet)")),
        cmd("TarvoFORUM1", QStringLiteral("Tarvo-FORUM (Internet)")),
        sep(),
        cmd("TippdesTages1", QStringLiteral("&Tipp des Tages")),
        sep(),
        cmd("About1", QStringLiteral("&About")),
    };
}

} // namespace

const QList<MenuTree> &MainMenuTrees()
{
    static const QList<MenuTree> trees{
        {QStringLiteral("TBDatei"), QStringLiteral("PopupDatei"), QStringLiteral("&Datei"), MenuNeed::None, dateiItems()},
        {QStringLiteral("TBAnsicht"), QStringLiteral("PopupAnsicht"), QStringLiteral("&Ansicht"), MenuNeed::Database,
         ansichtItems()},
        {QStringLiteral("TBDruck"), QStringLiteral("PopupDruck"), QStringLiteral("D&ruck"), MenuNeed::Database,
         druckItems()},
        {QStringLiteral("TBEinstellungen"), QStringLiteral("PopupEinstellungen"), QStringLiteral("&Einstellungen"),
         MenuNeed::None, einstellungenItems()},
        {QStringLiteral("TBSuche"), QStringLiteral("PopupSuche"), QStringLiteral("&Suche"), MenuNeed::Database,
         sucheItems()},
        {QStringLiteral("TBHilfe"), QStringLiteral("PopupHilfe"), QStringLiteral("&Hilfe"), MenuNeed::None, hilfeItems()},
    };
    return trees;
}

const MenuTree &QueryPopupTree()
{
    static const MenuTree tree = [] {
        MenuTree t;
        t.button = QStringLiteral("SpBQuerySub");
        t.popup = QStringLiteral("PopupMenuQuery");
        t.need = MenuNeed::Database;
        t.items = querySlots("FreeQueryPop");
        MenuEntry slotSep;
        slotSep.name = QStringLiteral("FreeQueryPopSep");
        slotSep.querySlot = -1;
        t.items << slotSep
                << same("QueryGespeicherteAbfrage1", QStringLiteral("Gespeicherte Abfrage ausführen..."),
                        "GespeicherteAbfrage1")
                << same("QuerySQLAbfragetext1", QStringLiteral("SQL-Abfragetext erstellen..."), "AbfragedefinierenSQL1")
                << same("QueryTabellarisch1", QStringLiteral("Abfrage tabellarisch definieren..."),
                        "Abfragedefinierentabellarisch1");
        return t;
    }();
    return tree;
}

const MenuTree &ListPopupTree()
{
    static const MenuTree tree{QStringLiteral("SpBLists"), QStringLiteral("PopupMenuLists"), QString(),
                               MenuNeed::Database,
                               {same("ListsMedienliste1", QStringLiteral("&Medienliste"), "Medienliste1"),
                                same("ListsFilmliste1", QStringLiteral("&Filmliste"), "Filmliste1"),
                                same("ListsEtikettenliste1", QStringLiteral("&Etikettenliste"), "Etikettenliste1")}};
    return tree;
}

bool MenuNeedMet(MenuNeed need, const MenuState &s)
{
    switch (need) {
    case MenuNeed::None:
        return true;
    case MenuNeed::Database:
        return s.mediaOpen;
    case MenuNeed::Editing:
        return s.mediaOpen && s.editing;
    }
    return false;
}

bool AttachmentFilmAllowed(int slot, const MenuState &s)
{
    return slot <= 1 || !(s.dvdKkNur1Film && IsOneFilmKind(s.kind));
}

MenuNeed StrongerNeed(MenuNeed a, MenuNeed b)
{
    return int(a) > int(b) ? a : b;
}

bool MenuEntryEnabled(const MenuEntry &e, const MenuState &s, MenuNeed inherited)
{
    const MenuNeed need = StrongerNeed(e.need, inherited);
    if (!MenuNeedMet(need, s))
        return false;
    if (e.isSubmenu()) {
        for (const MenuEntry &c : e.items)
            if (!c.isSeparator() && c.querySlot == 0 && MenuEntryEnabled(c, s, need))
                return true;
        // The query menu's own entries decide for themselves.
        for (const MenuEntry &c : e.items)
            if (c.querySlot != 0)
                return true;
        return false;
    }
    if (!s.wired.contains(e.targetName()))
        return false;
    return e.filmSlot == 0 || AttachmentFilmAllowed(e.filmSlot, s);
}

int FirstFreeQuerySlot(const TFreeQueryMenuEntry *entries, int count)
{
    for (int n = 1; n <= count; ++n)
        if (!entries[n - 1].Enabled)
            return n;
    return 0;
}

QString QueryCaptionFromFile(const QString &fileName)
{
    QString name = QFileInfo(fileName).fileName();
    if (name.toUpper().endsWith(QLatin1String(".SQL")))
        name.chop(4);
    return name;
}

QueryMenuStates QueryMenuStatesOf(const TFreeQueryMenuEntry *entries, bool dialogThere, bool runnerThere, int count)
{
    QueryMenuStates st;
    bool anyFree = false;
    for (int n = 0; n < count; ++n) {
        st.separatorVisible = st.separatorVisible || entries[n].Enabled;
        anyFree = anyFree || !entries[n].Enabled;
    }
    st.deleteEnabled = st.separatorVisible;
    st.newEnabled = anyFree && dialogThere;
    st.runEnabled = runnerThere;
    return st;
}
