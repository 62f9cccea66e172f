#include "data/database.h"

#include "app/appmessage.h"
#include "app/apppaths.h"
#include "app/settings.h"
#include "data/backup.h"
#include "data/databasefiles.h"
#include "data/databaseplaces.h"
#include "data/freefieldlabels.h"
#include "data/tablerepair.h"
#include "data/tableschemas.h"
#include "data/tabletools.h"
#include "data/upwarddoors.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/table.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

TDatabaseTables DBTables;

namespace {

// The last password prompt was left empty or cancelled.
bool g_passwordDeclined = false;

// The windows' part of a database switch.
TDatabaseDoors &doors()
{
    return UpwardDoors.Database;
}

QString nameOf(engine::Table *t)
{
    return t ? t->tableName() : QString();
}

void closeTable(engine::Table *t)
{
    if (t && t->active())
        t->close();
}

void setName(engine::Table *t, const QString &name)
{
    if (!t)
        return;
    closeTable(t);
    t->setTableName(name);
}

QStringList fieldNamesOf(const engine::TableDef &def)
{
    QStringList names;
    for (const engine::FieldDef &f : def.fields)
        names << f.name;
    return names;
}

// The windows bind every field of the program's layouts: a table that lacks
// one is refused when it opens, before anything reads it.
void requireLayoutFields(engine::Table *t)
{
    if (!t)
        return;
    if (t == DBTables.Table1 || t == DBTables.Table11)
        t->setRequiredFields(fieldNamesOf(MediaTableDef()));
    else if (t == DBTables.Table2 || t == DBTables.FilmTable)
        t->setRequiredFields(fieldNamesOf(FilmTableDef()));
    else if (t == DBTables.PersTable)
        t->setRequiredFields(fieldNamesOf(PersonTableDef()));
}

void openTable(engine::Table *t)
{
    if (t && !t->tableName().isEmpty() && !t->active()) {
        requireLayoutFields(t);
        t->open();
    }
}

// The record tables are writable exactly while editing is unlocked; the
// main window's film cursor and the second media cursor stay read-only.
void setRecordTablesReadOnly(bool readOnly)
{
    for (engine::Table *t : {DBTables.Table1, DBTables.FilmTable, DBTables.PersTable})
        if (t && !t->active())
            t->setReadOnly(readOnly);
    for (engine::Table *t : {DBTables.Table11, DBTables.Table2})
        if (t && !t->active())
            t->setReadOnly(true);
}

// What the open database was, so that a failed switch can go back to it.
struct TDatabaseSnapshot
{
    QString dbBase, persBase;
    QString names[6];
    bool active[6] = {};
    bool readOnly = true;

    static TDatabaseSnapshot take()
    {
        TDatabaseSnapshot s;
        s.dbBase = DBBase;
        s.persBase = PersBase;
        engine::Table *t[6] = {DBTables.Table1, DBTables.Table11, DBTables.Table2, DBTables.FilmTable,
                               DBTables.PersTable, DBTables.TableLAB};
        for (int i = 0; i < 6; ++i) {
            s.names[i] = nameOf(t[i]);
            s.active[i] = t[i] && t[i]->active();
        }
        s.readOnly = !DBTables.Table1 || DBTables.Table1->readOnly();
        return s;
    }

    bool hadDatabase() const { return active[0]; }

    // Closes everything and reopens what was open before; silent.
    void restore() const
    {
        CallDoor(doors().FreeCategoryDialog);
        CloseDatabaseTables();
        DBBase = dbBase;
        PersBase = persBase;
        engine::Table *t[6] = {DBTables.Table1, DBTables.Table11, DBTables.Table2, DBTables.FilmTable,
                               DBTables.PersTable, DBTables.TableLAB};
        for (int i = 0; i < 6; ++i)
            if (t[i])
                t[i]->setTableName(names[i]);
        setRecordTablesReadOnly(readOnly);
        if (!hadDatabase()) {
            DBBase.clear();
            return;
        }
        CallDoor(doors().CreateCategoryDialog);
        for (int i : {0, 2, 3, 1, 4, 5}) {
            if (!active[i] || !t[i])
                continue;
            try {
                requireLayoutFields(t[i]);
                t[i]->open();
            } catch (const engine::EngineError &) {
                // The previous database is gone too: that table stays closed.
            }
        }
        if (DBTables.Table1 && DBTables.Table1->active())
            DBTables.Table1->first();
    }
};

void postPending(engine::Table *t)
{
    if (t && t->active()
        && (t->state() == engine::DataSetState::Edit || t->state() == engine::DataSetState::Insert))
        t->post();
}

void showEngineError(const engine::EngineError &e, const QString &caption)
{
    AppMessage(e.message(), caption, platform::MessageIcon::Error);
}

// Every data set pointed at the database (the person table at persBase),
// all closed.
void pointTablesAt(const TDatabasePlaces &places, const QString &persBase)
{
    setName(DBTables.Table1, places.MediaTable);
    setName(DBTables.Table11, places.MediaTable);
    setName(DBTables.Table2, places.FilmTable);
    setName(DBTables.FilmTable, places.FilmTable);
    setName(DBTables.PersTable, persBase + QStringLiteral(".DB"));
}

// Opens the data sets in the order the program needs them; throws.
void openAllTables()
{
    openTable(DBTables.Table1);
    openTable(DBTables.Table2);
    if (DBTables.Table1)
        DBTables.Table1->first();
    openTable(DBTables.FilmTable);
    openTable(DBTables.Table11);
    openTable(DBTables.PersTable);
}

// The folder that holds the database folder of base ("/a/b/Name/" -> "/a/b/").
QString parentOfBase(const QString &base)
{
    QString b = base;
    while (b.endsWith(u'/'))
        b.chop(1);
    return ExtractDirectory(b);
}

// A backup or restore into base that a crash interrupted is finished
// before the database opens; the user learns of it.
void finishInterruptedSwap(const QString &base)
{
    const TSwapRecovery r = RecoverDatabaseSwap(base);
    if (!r.error.isEmpty())
        AppMessage(r.error, QStringLiteral("Fehler"), platform::MessageIcon::Error);
    else if (r.completed)
        AppMessage(QStringLiteral("Eine Datensicherung bzw. Rücksicherung nach \"%1\" wurde unterbrochen; die "
                                  "vollständige neue Kopie ist jetzt an ihrem Platz.")
                       .arg(QDir::toNativeSeparators(TDatabasePlaces::fromBase(base).Name)),
                   QStringLiteral("Hinweis"), platform::MessageIcon::Information);
}

void askAutoOpen()
{
    if (AppMessage(QStringLiteral("Wollen Sie diese Datei beim Programmstart automatisch öffnen lassen?"),
                   QStringLiteral("Bestätigen"), platform::MessageIcon::Question, platform::MessageButtons::YesNo)
        == mrYes)
        DBFile = DBBase;
    const QString parent = parentOfBase(DBBase);
    if (!parent.isEmpty())
        DBsDir = parent;
    SaveSettings();
}

} // namespace

QString MediaTablePath(const QString &base)
{
    return TDatabasePlaces::fromBase(base).MediaTable;
}

QString FilmTablePath(const QString &base)
{
    return TDatabasePlaces::fromBase(base).FilmTable;
}

void CloseDatabaseTables()
{
    for (engine::Table *t : {DBTables.Table1, DBTables.FilmTable, DBTables.PersTable}) {
        // A refused post (a silent abort or an error) gives up that table's
        // change; the others are still posted and every table is closed.
        try {
            postPending(t);
        } catch (const engine::Abort &) {
            if (t->active() && t->state() != engine::DataSetState::Browse)
                t->cancel();
        } catch (const engine::EngineError &e) {
            showEngineError(e, QStringLiteral("Datenbank-Fehler"));
            if (t->active() && t->state() != engine::DataSetState::Browse)
                t->cancel();
        }
    }
    for (engine::Table *t : {DBTables.Table1, DBTables.FilmTable, DBTables.PersTable, DBTables.Table2,
                             DBTables.Table11, DBTables.TableLAB})
        closeTable(t);
}

QString ReopenDatabaseTables()
{
    QStringList errors;
    auto reopen = [&](engine::Table *t) {
        if (!t || t->active() || t->tableName().isEmpty())
            return;
        try {
            requireLayoutFields(t);
            t->open();
        } catch (const engine::EngineError &e) {
            errors << e.message();
        }
    };
    for (engine::Table *t : {DBTables.Table11, DBTables.Table2, DBTables.Table1, DBTables.FilmTable,
                             DBTables.PersTable, DBTables.TableLAB})
        reopen(t);
    if (DBTables.Table1 && DBTables.Table1->active())
        DBTables.Table1->first();
    return errors.join(QLatin1Char('\n'));
}

bool OpenDatabaseTablesAtStart(const QString &base, const QString &persBase)
{
    finishInterruptedSwap(base);
    DBBase = base;
    PersBase = persBase;
    pointTablesAt(TDatabasePlaces::fromBase(base), persBase);
    setRecordTablesReadOnly(true);
    CallDoor(doors().CreateCategoryDialog);
    for (;;) {
        g_passwordDeclined = false;
        try {
            openAllTables();
            CallDoor(doors().LoadFreeFieldCaptions);
            return true;
        } catch (const engine::EngineError &e) {
            // A password that was given but is wrong is said, and may be
            // given again; a declined prompt needs no word.
            const bool retry = e.code() == engine::ErrPassword && !g_passwordDeclined
                && AppMessage(WrongPasswordAtStartText(base), QStringLiteral("Falsches Passwort"),
                              platform::MessageIcon::Warning, platform::MessageButtons::RetryCancel)
                       == mrRetry;
            for (engine::Table *t : {DBTables.Table1, DBTables.Table2, DBTables.FilmTable, DBTables.Table11,
                                     DBTables.PersTable})
                closeTable(t);
            if (retry)
                continue;
        }
        // The program runs with no database open; the first activation shows
        // the hint.
        for (engine::Table *t : {DBTables.Table1, DBTables.Table11, DBTables.Table2, DBTables.FilmTable,
                                 DBTables.PersTable})
            setName(t, QString());
        DBBase.clear();
        return false;
    }
}

QString WrongPasswordAtStartText(const QString &base)
{
    QString name = base;
    while (name.endsWith(u'/'))
        name.chop(1);
    return QStringLiteral("Die Datenbank \"") + platform::toNativeSeparators(name)
        + QStringLiteral("\" ist passwortgeschützt, und das eingegebene Passwort ist falsch. "
                         "Die Datenbank wurde daher nicht geöffnet.\r\rMöchten Sie das Passwort noch einmal eingeben?");
}

bool CreateAndOpenDatabase(const QString &name, bool copyCategories, bool copyCaptions)
{
    const TDatabasePlaces places = TDatabasePlaces::fromName(name);
    if (!CreateDatabaseFiles(places, copyCategories, copyCaptions))
        return false;
    const TDatabaseSnapshot before = TDatabaseSnapshot::take();
    DBBase = places.Base;
    if (PersDBFile.isEmpty())
        PersBase = places.PersBase;
    CallDoor(doors().FreeCategoryDialog);
    CloseDatabaseTables();
    setRecordTablesReadOnly(false);
    pointTablesAt(places, PersBase);
    CallDoor(doors().CreateCategoryDialog);
    try {
        openAllTables();
    } catch (const engine::EngineError &e) {
        AppMessage(QStringLiteral("Die neue Datenbank lässt sich nicht öffnen!\rMeldung des Datenbanksystems:\r")
                       + e.message(),
                   QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
        before.restore();
        return false;
    }
    if (doors().SetEditing)
        doors().SetEditing(true);
    if (copyCaptions)
        CallDoor(doors().LoadFreeFieldCaptions);
    return true;
}

TOpenResult OpenDatabaseFile(const QString &fileName)
{
    const QString upper = fileName.toUpper();
    const bool kassDb = upper.endsWith(QLatin1String(".KASS.DB"));
    const bool oldestDb = !kassDb && upper.endsWith(QLatin1String(".DB"));
    const bool tarvo = upper.endsWith(QLatin1String(".TARVO"));
    // Any other ending ends the command with the open database untouched.
    if (!kassDb && !oldestDb && !tarvo)
        return TOpenResult::Cancelled;

    const TDatabaseSnapshot before = TDatabaseSnapshot::take();
    const QString oldName = nameOf(DBTables.Table1);
    CallDoor(doors().FreeCategoryDialog);
    closeTable(DBTables.TableLAB);

    QString name = fileName;
    bool imported = false;
    if (kassDb || oldestDb) {
        const QString stem = fileName.left(fileName.size() - (kassDb ? 8 : 3));
        const QString made = doors().ImportOldDatabase ? doors().ImportOldDatabase(stem, oldestDb) : QString();
        if (made.isEmpty()) {
            // The import failed: the open database keeps its category dialog
            // and caption table.
            if (before.hadDatabase()) {
                CallDoor(doors().CreateCategoryDialog);
                try {
                    openTable(DBTables.TableLAB);
                } catch (const engine::EngineError &) {
                }
            }
            return TOpenResult::Failed;
        }
        name = made;
        imported = true;
    }

    closeTable(DBTables.Table1);
    const QString full = ExpandDBPath(name);
    const TDatabasePlaces places = TDatabasePlaces::fromPath(full.left(full.size() - 6));
    finishInterruptedSwap(places.Base);
    DBBase = places.Base;
    setName(DBTables.Table1, places.MediaTable);
    CallDoor(doors().CreateCategoryDialog);
    try {
        openTable(DBTables.Table1);
    } catch (const engine::EngineError &e) {
        AppMessage(QStringLiteral("Die Datei lässt sich nicht öffnen. Möglicherweise ist sie beschädigt oder es handelt "
                                  "sich nicht um eine Tarvo 6.0 - Tabelle!\rMeldung des Datenbanksystems:\r")
                       + e.message(),
                   QStringLiteral("Fehler!"), platform::MessageIcon::Error);
        if (!before.hadDatabase()) {
            // Nothing to go back to: no database, and no question about one.
            before.restore();
            return TOpenResult::Failed;
        }
        CallDoor(doors().FreeCategoryDialog);
        DBBase = oldName.left(oldName.size() - 9);
        setName(DBTables.Table1, oldName);
        CallDoor(doors().CreateCategoryDialog);
        try {
            openTable(DBTables.Table1);
            openTable(DBTables.TableLAB);
        } catch (const engine::EngineError &) {
        }
    }

    const bool same = nameOf(DBTables.Table1) == oldName;
    if (!same) {
        // The film tables.
        closeTable(DBTables.Table2);
        const TDatabasePlaces shown = TDatabasePlaces::fromBase(DBBase);
        setName(DBTables.FilmTable, shown.FilmTable);
        try {
            openTable(DBTables.FilmTable);
        } catch (const engine::EngineError &e) {
            const QString film = shown.FilmTable;
            if (QFileInfo::exists(film))
                // The user learns why, as for the media and person tables.
                AppMessage(QStringLiteral("Die Film-Datenbankdatei ") + film
                               + QStringLiteral(" lässt sich nicht öffnen!!\rMeldung des Datenbanksystems:\r")
                               + e.message(),
                           QStringLiteral("Fehler"), platform::MessageIcon::Error);
            else
                AppMessage(QStringLiteral("Zu der Medien-Datenbankdatei ") + shown.MediaTable
                               + QStringLiteral(" existiert keine Film-Datenbankdatei!!"),
                           QStringLiteral("Fehler"), platform::MessageIcon::Error);
            if (!imported || !before.hadDatabase())
                before.restore();
            return TOpenResult::Failed;
        }
        // The person table, unless the user keeps one for all databases.
        if (PersDBFile.isEmpty()) {
            closeTable(DBTables.PersTable);
            PersBase = shown.PersBase;
            setName(DBTables.PersTable, PersBase + QStringLiteral(".DB"));
            try {
                openTable(DBTables.PersTable);
            } catch (const engine::EngineError &e) {
                bool ok = false;
                if (QFileInfo::exists(PersBase + QStringLiteral(".DB"))) {
                    // The media and films open without it; the user learns
                    // which table failed and why.
                    AppMessage(QStringLiteral("Die Personen-Tabelle ") + PersBase + QStringLiteral(".DB")
                                   + QStringLiteral(" lässt sich nicht öffnen! Möglicherweise ist sie beschädigt.\r"
                                                    "Meldung des Datenbanksystems:\r")
                                   + e.message(),
                               QStringLiteral("Fehler"), platform::MessageIcon::Error);
                    ok = true;
                } else if (!QFileInfo::exists(PersBase + QStringLiteral(".DB"))
                    && AppMessage(QStringLiteral("Medien- und Film-Tabelle von ") + DBBase
                                      + QStringLiteral(" wurden erfolgreich geöffnet, aber die Personen-Tabelle fehlt!\r"
                                                       "Wenn Sie OK wählen, wird eine neue (leere) Personen-Tabelle "
                                                       "angelegt!"),
                                  QStringLiteral("WICHTIG!!!"), platform::MessageIcon::Warning, platform::MessageButtons::OkCancel)
                           == mrOk) {
                    try {
                        if (CopyTemplateTable(DBBase, QStringLiteral("Pers"))) {
                            openTable(DBTables.PersTable);
                            ok = true;
                        }
                    } catch (const engine::EngineError &) {
                    }
                    if (!ok)
                        AppMessage(QStringLiteral("Die neue Personen-Tabelle läßt sich nicht öffnen!"),
                                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
                }
                if (!ok) {
                    if (!imported || !before.hadDatabase())
                        before.restore();
                    return TOpenResult::Failed;
                }
            }
        }
        try {
            setName(DBTables.Table2, nameOf(DBTables.FilmTable));
            openTable(DBTables.Table2);
            setName(DBTables.Table11, nameOf(DBTables.Table1));
            openTable(DBTables.Table11);
            // The caption table of the new database, not of the one before.
            setName(DBTables.TableLAB, CaptionTablePath(DBBase));
            openTable(DBTables.TableLAB);
        } catch (const engine::EngineError &e) {
            showEngineError(e, QStringLiteral("Datenbank-Fehler"));
        }
        CallDoor(doors().LoadFreeFieldCaptions);
    } else {
        try {
            openTable(DBTables.TableLAB);
        } catch (const engine::EngineError &) {
        }
    }

    if (DBTables.Table1 && DBTables.Table1->active())
        DBTables.Table1->first();
    CallDoor(doors().AdjustLabelPreview);
    askAutoOpen();
    if (imported)
        CallDoor(doors().ImportTour);
    else if (!before.hadDatabase())
        CallDoor(doors().LockButtonHint);
    if (same)
        return TOpenResult::SameAgain;
    return imported ? TOpenResult::Imported : TOpenResult::Opened;
}

void NewDatabaseCommand()
{
    CallDoor(doors().BeforeDatabaseCommand);
    if (!DBTables.Table1 || !DBTables.Table1->active())
        AppMessage(QStringLiteral(
                       "Bevor Sie die neue Datenbank anlegen, überlegen Sie, an welchem Ort (Verzeichnis/Ordner) auf der "
                       "Festplatte Sie diese und ggf. weitere Datenbanken speichern möchten. Der Standard-Vorschlag ist das "
                       "Unterverzeichnis \"DBs\" im Tarvo-Programmordner. Dieses ist aber i.d.R. ungeeignet, falls Sie "
                       "(unter Windows NT/2000/XP oder neuer) mit eingeschränkten Benutzerrechten arbeiten. Legen Sie "
                       "dann im Zweifel ein spezielles Verzeichnis an, auf dem Sie alle Lese- und Schreibrechte "
                       "besitzen.\rWählen Sie im folgenden Dialog zunächst das Zielverzeichnis aus und geben Sie dann "
                       "den gewünschten Dateinamen ein."),
                   QStringLiteral("Hinweis"), platform::MessageIcon::Information);
    // The proposed folder may not exist yet (the user's data folder, when the
    // program folder is not writable).
    QDir().mkpath(DBsDir);
    platform::FileChoice req;
    req.mode = platform::FileChoiceMode::Save;
    req.caption = QStringLiteral("Neue Datenbank");
    req.folder = DBsDir;
    req.filter = QStringLiteral("Tarvo 6 - Datenbank (*.tarvo)");
    const QString chosen = platform::userDialogs().chooseFile(req);
    if (chosen.isEmpty())
        return;
    if (!CreateAndOpenDatabase(StripTarvoExtensions(chosen), true, true))
        return;
    askAutoOpen();
    CallDoor(doors().NewDatabaseTour);
    platform::userDialogs().showHelp(84);
}

void OpenDatabaseCommand()
{
    CallDoor(doors().BeforeDatabaseCommand);
    platform::FileChoice req;
    req.mode = platform::FileChoiceMode::Open;
    req.caption = QStringLiteral("Datei öffnen");
    req.folder = DBsDir;
    req.defaultSuffix = QStringLiteral("tarvo");
    req.filter = QStringLiteral("Tarvo 6 - Datenbank (*.tarvo)");
    if (doors().ImportOldDatabase)
        req.filter += QStringLiteral(";;Import von älteren Tarvo-Dateien (V3.x - V5.x) (*.Kass.DB)"
                                     ";;Import von älteren Tarvo-Dateien (V1.x / V2.x) (*.DB)");
    const QString chosen = platform::userDialogs().chooseFile(req);
    if (chosen.isEmpty())
        return;
    OpenDatabaseFile(chosen);
}

void RepairMediaPrimaryIndex()
{
    if (!DBTables.Table1)
        return;
    RepairPrimaryIndexOf(
        *DBTables.Table1, 2,
        {QStringLiteral("Der Primärindex der Medienkartei scheint zu fehlen! Tarvo wird nun versuchen, ihn neu zu "
                        "erzeugen..."),
         QStringLiteral("Der Primärindex der Medientabelle wurde erfolgreich neu erzeugt!"),
         QStringLiteral("Der Primärindex der Medientabelle konnte leider nicht automatisch neu erzeugt werden!")},
        DBTables.Table11);
}

void RepairFilmPrimaryIndex()
{
    if (!DBTables.FilmTable)
        return;
    RepairPrimaryIndexOf(
        *DBTables.FilmTable, 3,
        {QStringLiteral("Der Primärindex der Filmtabelle scheint zu fehlen! Tarvo wird nun versuchen, ihn neu zu "
                        "erzeugen..."),
         QStringLiteral("Der Primärindex der Filmtabelle wurde erfolgreich neu erzeugt!"),
         QStringLiteral("Der Primärindex der Filmtabelle konnte leider nicht automatisch neu erzeugt werden!")},
        DBTables.Table2);
}

void FollowMediaNumberingIndex()
{
    engine::Table *media = DBTables.Table1, *films = DBTables.FilmTable;
    if (!media || !films || !media->active() || !films->active()
        || media->indexName().compare(NrExclIndexName, Qt::CaseInsensitive) != 0
        || !films->indexNames().contains(NrExclIndexName, Qt::CaseInsensitive))
        return;
    try {
        films->setIndexName(NrExclIndexName);
    } catch (const engine::EngineError &) {
        // A damaged numbering index: the films stay in their key order, the
        // media table's own open has reported it.
    }
}

bool AskEnginePassword(const QString &, QString &password)
{
    password = platform::userDialogs().askPassword();
    g_passwordDeclined = password.isEmpty();
    return !password.isEmpty();
}

void PackDatabaseTables(bool media, bool films, bool persons)
{
    platform::UserDialogs &user = platform::userDialogs();
    user.beginProgress(
        QStringLiteral("Packen der Tabelle(n) läuft\\lb\\BDiese Aktion darf nicht unterbrochen werden!"), QString());
    QStringList errors;
    // The table's second cursor is closed around the pack, so that nobody
    // else uses the file meanwhile.
    auto pack = [&](const QString &line, engine::Table *table, engine::Table *second) {
        if (!table || !table->active())
            return;
        user.progressText(line);
        const bool reopen = second && second->active();
        if (reopen)
            second->close();
        try {
            PackTable(*table);
        } catch (const engine::EngineError &e) {
            errors << e.message();
        }
        if (reopen) {
            try {
                second->open();
            } catch (const engine::EngineError &e) {
                errors << e.message();
            }
        }
    };
    if (media)
        pack(QStringLiteral("Medientabelle..."), DBTables.Table1, DBTables.Table11);
    if (films)
        pack(QStringLiteral("Filmtabelle..."), DBTables.FilmTable, DBTables.Table2);
    if (persons)
        pack(QStringLiteral("Personentabelle..."), DBTables.PersTable, nullptr);
    user.endProgress();
    for (const QString &e : errors)
        AppMessage(e, QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
}
