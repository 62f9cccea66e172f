#include "exchange/oldimport.h"

#include "data/backup.h"

#include "app/appmessage.h"
#include "app/apppaths.h"
#include "app/settings.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/databasefiles.h"
#include "data/databaseplaces.h"
#include "data/freefieldlabels.h"
#include "data/tableschemas.h"
#include "engine/bulkappend.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "exchange/importrunning.h"
#include "exchange/paradoxtable.h"
#include "platform/cp1252.h"
#include "platform/textfile.h"

#include <QDateTime>
#include <functional>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using platform::MessageButtons;
using platform::MessageIcon;

namespace {

void showError(const QString &text, const QString &caption)
{
    AppMessage(text, caption, MessageIcon::Error);
}

TMessageSink messageSink()
{
    return [](const TUserMessage &m) {
        if (m.box == TUserMessage::SystemBox)
            AppMessage(m.text, m.caption, m.icon == TUserMessage::Error ? MessageIcon::Error : MessageIcon::Information);
        else
            AppNotice(m.caption, m.text);
    };
}

// Copies a file over the target and makes the copy an ordinary writable file.
bool copyOver(const QString &from, const QString &to)
{
    if (!QFile::exists(from))
        return false;
    QFile::remove(to);
    if (!QFile::copy(from, to))
        return false;
    return QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

engine::TableDef currentDef(const QString &tableName)
{
    if (tableName == QLatin1String("Med"))
        return MediaTableDef();
    if (tableName == QLatin1String("Film"))
        return FilmTableDef();
    if (tableName == QLatin1String("Pers"))
        return PersonTableDef();
    return CaptionTableDef();
}

// The target of an import: the database folder and main file. An existing
// database there is moved aside while the import runs, so that a failed
// import puts it back and a successful one replaces it as a whole.
class TImportTarget
{
public:
    // The new database is made beside its place (see InstallDatabaseCopy)
    // and put there only when the import succeeded: a failure or a crash
    // leaves the place as it was.
    explicit TImportTarget(const QString &newPath)
        : m_final(TDatabasePlaces::fromPath(newPath)), m_tag(NewDatabaseCopyTag()),
          places(TDatabasePlaces::fromPath(m_final.Name + m_tag))
    {
    }
    ~TImportTarget()
    {
        if (!m_done)
            removeCopy();
    }

    // False after the message when the user keeps the existing database or
    // it is the open one.
    bool claim()
    {
        if (!DBBase.isEmpty() && QDir::cleanPath(TDatabasePlaces::fromBase(DBBase).Name) == QDir::cleanPath(m_final.Name)) {
            showError(QStringLiteral("Die Datenbank \"%1\" ist gerade geöffnet und kann nicht durch einen Import ersetzt werden. "
                                     "Öffnen Sie zuerst eine andere Datenbank.")
                          .arg(m_final.MainFile),
                      QStringLiteral("Fehler beim Import"));
            return false;
        }
        const TSwapRecovery recovered = RecoverDatabaseSwap(m_final.Name);
        if (!recovered.error.isEmpty()) {
            showError(recovered.error, QStringLiteral("Fehler beim Import"));
            return false;
        }
        const bool exists = QFile::exists(m_final.MainFile) || QFileInfo::exists(m_final.Name);
        if (exists
            && AppMessage(QStringLiteral("Die Datenbank \"%1\" existiert bereits. Soll sie durch die importierten Daten ersetzt werden?")
                              .arg(m_final.MainFile),
                          QStringLiteral("Konflikt"), MessageIcon::Question, MessageButtons::YesNo)
                != mrYes)
            return false;
        return true;
    }

    // Puts the new database in place; its main file, or empty after the
    // message.
    QString commit()
    {
        QString error;
        m_done = true;
        if (!InstallDatabaseCopy(m_final.Name, m_tag, &error)) {
            showError(error, QStringLiteral("Fehler beim Import"));
            return QString();
        }
        return m_final.MainFile;
    }

private:
    void removeCopy()
    {
        QDir(places.Name).removeRecursively();
        QFile::remove(places.MainFile);
    }

    const TDatabasePlaces m_final;
    const QString m_tag;
    bool m_done = false;

public:
    // Where the import writes: beside the new database's place.
    const TDatabasePlaces places;
};

// The categories: the old file unchanged, else (after a message) the
// template's defaults.
void importCategories(const QString &oldBase, const TDatabasePlaces &places)
{
    if (copyOver(oldBase + QStringLiteral(".KAT"), places.Categories))
        return;
    showError(QStringLiteral("Die Definition der Kategorien konnte nicht fehlerfrei übernommen werden! Das sollte aber keinen "
                             "Einfluss auf die restlichen Daten haben, der Import wird nicht abgebrochen!"),
              QStringLiteral("Fehler"));
    copyOver(ProgDir + QStringLiteral("Def60.KAT"), places.Categories);
}

void closeTablesUsing(const QString &path)
{
    for (engine::Table *t : {DBTables.Table1, DBTables.Table11, DBTables.Table2, DBTables.FilmTable, DBTables.PersTable,
                             DBTables.TableLAB})
        if (t && t->active() && QFileInfo(t->tableName()) == QFileInfo(path))
            t->close();
}

void runSql(const QString &folder, const QStringList &lines)
{
    engine::Query q;
    q.setDatabaseFolder(folder);
    q.setSql(lines);
    q.execSQL();
}

bool hasAnyPrinted(const QString &mediaPath)
{
    engine::Table t;
    t.setTableName(mediaPath);
    t.setReadOnly(true);
    t.open();
    engine::Field *f = t.findField(QStringLiteral("Gedruckt"));
    if (!f)
        return true;
    for (t.first(); !t.eof(); t.next())
        if (f->value().toBool())
            return true;
    return false;
}

// Media of the old versions did not know the printed flag: every imported
// medium of the built-in kinds counts as "not known" (empty).
void ResetImportedPrintedFlags(const QString &mediaPath)
{
    if (hasAnyPrinted(mediaPath))
        return;
    try {
        engine::setTableFieldValidity(engine::Session::instance(), mediaPath, QStringLiteral("Gedruckt"), false, false, false);
    } catch (const engine::EngineError &) {
        AppMessage(QStringLiteral("Für das Feld \"Gedruckt\", welches angibt, ob für das aktuelle Medium bereits ein Etikett "
                                  "gedruckt wurde, konnte die Wertvorgabe \"false\" nicht geschrieben werden..."),
                   QStringLiteral("Problem beim Import"), MessageIcon::Information);
    }
    runSql(QFileInfo(mediaPath).path(),
           {QStringLiteral("UPDATE ") + SQLTableRef(QFileInfo(mediaPath).fileName()),
            QStringLiteral("SET Gedruckt=NULL "),
            QStringLiteral("WHERE Medium=\"VHS-SB\" or Medium=\"VHS-KK\" or Medium=\"DVD\"")});
}

void addRemainingFields(const QString &path, const engine::TableDef &ours)
{
    engine::TableDef have = engine::readTableDef(engine::Session::instance(), path);
    for (engine::FieldDef f : ours.fields) {
        if (have.fieldIndex(f.name) >= 0)
            continue;
        f.required = false;
        f.defaultValue = QVariant();
        closeTablesUsing(path);
        engine::addFieldToTable(engine::Session::instance(), path, f);
    }
}

} // namespace

QString ImportTargetPath(const QString &oldBase)
{
    return ExpandDBPath(QFileInfo(oldBase).fileName());
}

// ---------------------------------------------------------------- tables

void ConvertParadoxTable(TParadoxTable &source, const QString &targetPath, const QString &tableName)
{
    engine::TableDef def = source.tableDef(tableName);
    const engine::TableDef ours = currentDef(tableName);
    // The key and the indexes of our layout where the old table has their fields.
    if (def.primaryKeyFields == 0 && ours.primaryKeyFields > 0) {
        bool same = def.fields.size() >= ours.primaryKeyFields;
        for (int i = 0; same && i < ours.primaryKeyFields; ++i)
            same = def.fields[i].name.compare(ours.fields[i].name, Qt::CaseInsensitive) == 0;
        if (same)
            def.primaryKeyFields = ours.primaryKeyFields;
    }
    for (const engine::IndexDef &index : ours.indexes) {
        bool all = true;
        for (const QString &f : index.fields)
            all = all && def.fieldIndex(f) >= 0;
        if (all)
            def.indexes.append(index);
    }
    QFile::remove(targetPath);
    engine::createTableFile(targetPath, def);
    const int n = source.recordCount();
    int r = 0;
    engine::bulkAppend(engine::Session::instance(), targetPath, [&](QVariantList &row) {
        if (r >= n)
            return false;
        row = source.record(r++);
        return true;
    });
}

QStringList UpgradeStatementLines(TOldTable table, const QString &tablePath, const QStringList &fieldNames,
                                  bool *printedAdded)
{
    struct Add { QString field; QString type; };
    QList<Add> wanted;
    const auto chars = [](const QString &size) { return QStringLiteral(" CHARACTER(") + size + QStringLiteral(")"); };
    switch (table) {
    case TOldTable::Film:
        for (int i = 7; i <= 13; ++i)
            wanted.append({QStringLiteral("Free%1").arg(i), chars(QStringLiteral("40"))});
        wanted.append({QStringLiteral("Free14"), chars(QStringLiteral("100"))});
        wanted.append({QStringLiteral("Free15"), chars(QStringLiteral("100"))});
        wanted.append({QStringLiteral("Wertung"), QStringLiteral(" SMALLINT")});
        break;
    case TOldTable::Media:
        wanted.append({QStringLiteral("Free5"), chars(QStringLiteral("100"))});
        wanted.append({QStringLiteral("Gedruckt"), QStringLiteral(" BOOLEAN")});
        wanted.append({QStringLiteral("SN"), QStringLiteral(" INTEGER")});
        wanted.append({QStringLiteral("Rueckgabedatum"), QStringLiteral(" DATE")});
        break;
    case TOldTable::Persons:
        wanted.append({QStringLiteral("Free7"), chars(QStringLiteral("100"))});
        break;
    }
    if (printedAdded)
        *printedAdded = false;
    QStringList lines{QStringLiteral("ALTER TABLE ") + SQLTableRef(QFileInfo(tablePath).fileName())};
    for (const Add &a : wanted) {
        if (fieldNames.contains(a.field, Qt::CaseInsensitive))
            continue;
        lines << QStringLiteral("ADD ") + a.field + a.type << QStringLiteral(",");
        if (printedAdded && a.field == QLatin1String("Gedruckt"))
            *printedAdded = true;
    }
    lines.removeLast();
    return lines;
}

bool UpgradeOldTable(TOldTable table, const QString &tablePath, bool &printedAdded)
{
    QStringList names;
    {
        engine::Table t;
        t.setTableName(tablePath);
        t.setReadOnly(true);
        t.open();
        names = t.fieldNames();
    }
    const QStringList lines = UpgradeStatementLines(table, tablePath, names, &printedAdded);
    if (lines.isEmpty())
        return true;
    closeTablesUsing(tablePath);
    runSql(QFileInfo(tablePath).path(), lines);
    return true;
}

// ---------------------------------------------------------------- captions

TOldCaptions ParseOldCaptions(const QByteArray &bytes, bool oldest)
{
    const QStringList lines = platform::splitCp1252Lines(bytes);
    TOldCaptions c;
    c.filmCount = oldest ? 4 : (lines.size() >= 16 ? 10 : 6);
    int at = 0;
    const auto line = [&](int i) { return i < lines.size() ? lines[i] : QString(); };
    const auto has = [&](int i) { return i < lines.size(); };
    for (int i = 1; i <= c.filmCount; ++i, ++at)
        c.film << (has(at) ? line(at) : QStringLiteral("Frei%1").arg(i));
    for (int i = 1; i <= 4; ++i, ++at)
        c.medium << (has(at) ? line(at) : QStringLiteral("Frei%1").arg(i));
    // Bits of a flag character: fields 1..3 in bits 0..2, field 4 on in bits 4...
    const auto bit = [](int k) { return k < 3 ? k : k + 1; };
    // A missing line clears the flags; one of another length leaves them.
    c.mediumLinkLine = !has(at) || line(at).size() == 1;
    if (has(at) && line(at).size() == 1) {
        const int code = platform::toCp1252(line(at)).at(0) & 0xff;
        for (int k = 0; k < 4; ++k)
            c.mediumLink[k] = code & (1 << bit(k));
    }
    ++at;
    const auto twoChars = [&](int i, bool *flags) {
        if (!has(i))
            return;
        const QByteArray b = platform::toCp1252(line(i));
        if (b.size() >= 1)
            for (int k = 0; k < 7; ++k)
                flags[k] = (b.at(0) & 0xff) & (1 << bit(k));
        if (b.size() >= 2)
            for (int k = 0; k < 3; ++k)
                flags[7 + k] = (b.at(1) & 0xff) & (1 << k);
    };
    twoChars(at, c.filmLink);
    twoChars(at + 1, c.filmPerson);
    return c;
}

void ImportOldCaptions(bool oldest, const QString &oldBase, const QString &newPath)
{
    const TDatabasePlaces places = TDatabasePlaces::fromPath(newPath);
    const QString labTable = places.tablePath(QStringLiteral("LAB"));
    if (QFile::exists(labTable)
        && AppMessage(QStringLiteral("Es existiert bereits eine Label-Datenbank mit den Beschriftungen für die Anhänge, vielleicht "
                                     "von einem früheren Import. Soll diese überschrieben und die Beschriftungen neu importiert werden?"),
                      QStringLiteral("Konflikt"), MessageIcon::Question, MessageButtons::YesNo)
               != mrYes)
        return;
    const QString oldLab = oldBase + QStringLiteral(".LAB.DB");
    if (QFile::exists(oldLab)) {
        try {
            TParadoxTable source(oldLab, ParadoxPasswordPrompt());
            ConvertParadoxTable(source, labTable, QStringLiteral("LAB"));
        } catch (const std::exception &) {
            showError(QStringLiteral("Das Kopieren der alten Label-Datenbank für die Beschriftungen der Anhang-Felder ist "
                                     "fehlgeschlagen. Der eigentliche Import der Daten wird dadurch aber nicht beeinträchtigt."),
                      QStringLiteral("Fehler"));
        }
        return;
    }
    QFile::remove(labTable);
    if (!CopyTemplateTable(places.Name, QStringLiteral("LAB"))) {
        showError(QStringLiteral("Das Anlegen einer neuen Label-Datenbank für die Beschriftungen der Anhang-Felder ist "
                                 "fehlgeschlagen. Der eigentliche Import der Daten wird dadurch aber nicht beeinträchtigt."),
                  QStringLiteral("Fehler"));
        return;
    }
    QByteArray bytes;
    QFile file(oldBase + QStringLiteral(".LAB"));
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    } else {
        AppMessage(QStringLiteral("Die alte Datei mit den Beschriftungen der Anhang-Felder (\"%1\") fehlt. Die Felder erhalten "
                                  "die Standard-Beschriftungen.")
                       .arg(file.fileName()),
                   QStringLiteral("Hinweis"), MessageIcon::Information);
    }
    const TOldCaptions c = ParseOldCaptions(bytes, oldest);
    for (int i = 1; i <= c.filmCount; ++i)
        SetFreeFieldCaption(i, c.film[i - 1], false, false);
    for (int i = c.filmCount + 1; i <= 12; ++i) {
        SetFreeFieldCaption(i, QStringLiteral("Frei%1").arg(i), false, false);
        SetFilmFreeIsFileLink(i, false);
        SetFilmFreeIsPerson(i, false);
    }
    // The flag lines hold fields 1..10 whatever the number of captions, so
    // they come after the fields beyond the captions were cleared.
    for (int i = 1; i <= 10; ++i) {
        SetFilmFreeIsFileLink(i, c.filmLink[i - 1]);
        SetFilmFreeIsPerson(i, c.filmPerson[i - 1] && !c.filmLink[i - 1]);
    }
    for (int i = 1; i <= 4; ++i) {
        SetFreeFieldCaption(i, c.medium[i - 1], true, false);
        if (c.mediumLinkLine)
            SetMediumFreeIsFileLink(i, c.mediumLink[i - 1]);
    }
    engine::Table lab;
    const TMessageSink show = messageSink();
    SaveFreeFieldLabels(lab, places.Base, QStringLiteral("FILM"), QString(), show);
    SaveFreeFieldLabels(lab, places.Base, QStringLiteral("KASS"), QString(), show);
}

// ---------------------------------------------------------------- generations

namespace {

QString errorText(const std::exception &e)
{
    if (const auto *p = dynamic_cast<const TParadoxError *>(&e))
        return p->text();
    return QString::fromUtf8(e.what());
}

// Copies the old field's value into the new field of the same (or a given)
// name; false when either side lacks it.
bool CopyFieldValue(TParadoxTable &old, const QVariantList &values, engine::Table &target, const QString &from,
                    const QString &to)
{
    const int i = old.fieldIndex(from);
    engine::Field *f = target.findField(to);
    if (i < 0 || !f)
        return false;
    QVariant v = values[i];
    // The oldest versions kept stereo as a switch; the sound code says it.
    if (v.typeId() == QMetaType::Bool && f->definition().type == engine::FieldType::String)
        v = v.toBool() ? QStringLiteral("S") : QStringLiteral("M");
    f->setValue(v);
    return true;
}

QVariant valueOf(TParadoxTable &old, const QVariantList &values, const QString &field)
{
    const int i = old.fieldIndex(field);
    return i < 0 ? QVariant() : values[i];
}

// The medium of an old record: a new one, or the medium "VHS-SB" 1 that the
// new database holds (inserted when it is not there).
void placeMedium(engine::Table &media, int nr, bool bought)
{
    if (nr != 1 || bought || !media.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 1})) {
        media.append();
        media.fieldByName(QStringLiteral("Nr"))->setValue(nr);
        media.fieldByName(QStringLiteral("Medium"))->setValue(bought ? QStringLiteral("VHS-KK") : QStringLiteral("VHS-SB"));
    } else {
        media.edit();
    }
}

void placeFilm(engine::Table &films, int kassNr, int filmNr, bool bought)
{
    if (kassNr == 1 && filmNr == 1 && !bought
        && films.locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, 1})) {
        films.edit();
        return;
    }
    films.append();
    films.fieldByName(QStringLiteral("Medium"))->setValue(bought ? QStringLiteral("VHS-KK") : QStringLiteral("VHS-SB"));
    films.fieldByName(QStringLiteral("KassNr"))->setValue(kassNr);
    films.fieldByName(QStringLiteral("FilmNr"))->setValue(filmNr);
}

void cancelPending(engine::Table &t)
{
    try {
        t.cancel();
    } catch (const engine::EngineError &) {
    }
}

void incompleteNotice(const QString &table)
{
    AppNotice(QStringLiteral("Information!"),
              QStringLiteral("Beim Import ist folgender Fehler aufgetreten: Es wurden nicht alle erwarteten Datenbankfelder der "
                             "%1 gefunden!\\lbDiese Felder wurden in der neuen Tabelle leer gelassen!\\IIhre alten Daten "
                             "existieren weiterhin!")
                  .arg(table));
}

bool makeEmptyDatabase(const TDatabasePlaces &places)
{
    if (CreateDatabaseFiles(places, false, false))
        return true;
    showError(QStringLiteral("Es war nicht möglich, eine neue, leere Datenbank unter ") + places.Name
                  + QStringLiteral(" zu erzeugen!") + QStringLiteral(" (In diese neue DB sollten dann die Daten der alten Version übernommen werden.)"),
              QStringLiteral("Fehler beim Import"));
    return false;
}

bool TransferOldMedia(TParadoxTable &old, engine::Table &media)
{
    bool incomplete = false;
    for (int r = 0; r < old.recordCount(); ++r) {
        QVariantList v;
        int nr = 0;
        bool bought = false;
        try {
            v = old.record(r);
            nr = valueOf(old, v, QStringLiteral("Nr")).toInt();
            bought = valueOf(old, v, QStringLiteral("Kaufkass")).toBool();
        } catch (const std::exception &) {
            showError(QStringLiteral("Fehler (2) bei der Übernahme der Kassettendaten! Die Datei istmöglicherweise unbrauchbar."),
                      QStringLiteral("Fehler!"));
            return false;
        }
        try {
            placeMedium(media, nr, bought);
            for (const char *f : {"Len", "Verliehen", "Free1", "Free2", "Free3", "Free4", "Memo"})
                incomplete = !CopyFieldValue(old, v, media, QLatin1String(f), QLatin1String(f)) || incomplete;
            media.fieldByName(QStringLiteral("Gedruckt"))->setValue(true);
            media.post();
        } catch (const std::exception &e) {
            showError(QStringLiteral("Beim Versuch, einen Kassetten-Datensatz zu kopieren (Knr:%1,KK:%2), ist folgende Exception "
                                     "aufgetreten: \r%3")
                          .arg(nr)
                          .arg(bought ? -1 : 0)
                          .arg(errorText(e)),
                      QStringLiteral("Fehler"));
            cancelPending(media);
            showError(QStringLiteral("Fehler (1) bei der Übernahme der Kassettendaten! Die Datei istmöglicherweise unbrauchbar."),
                      QStringLiteral("Fehler!"));
            return false;
        }
    }
    if (incomplete)
        incompleteNotice(QStringLiteral("Kassettentabelle"));
    return true;
}

bool TransferOldFilms(TParadoxTable &old, engine::Table &films)
{
    bool incomplete = false;
    for (int r = 0; r < old.recordCount(); ++r) {
        QVariantList v;
        int kassNr = 0, filmNr = 0;
        bool bought = false;
        try {
            v = old.record(r);
            kassNr = valueOf(old, v, QStringLiteral("KassNr")).toInt();
            filmNr = valueOf(old, v, QStringLiteral("FilmNr")).toInt();
            bought = valueOf(old, v, QStringLiteral("Kaufkass")).toBool();
        } catch (const std::exception &) {
            showError(QStringLiteral("Fehler (2) bei der Übernahme der Filmdaten! Die Datei istmöglicherweise unbrauchbar."),
                      QStringLiteral("Fehler!"));
            return false;
        }
        try {
            placeFilm(films, kassNr, filmNr, bought);
            for (const char *f : {"Titel", "Untertitel", "Len", "LP", "MW", "SW", "Wide", "Ton", "Kateg", "Frei", "Free1",
                                  "Free2", "Free3", "Free4", "Free5", "Free6", "Memo", "Grafik"})
                incomplete = !CopyFieldValue(old, v, films, QLatin1String(f), QLatin1String(f)) || incomplete;
            engine::Field *title = films.fieldByName(QStringLiteral("Titel"));
            if (title->asString().isEmpty())
                title->setValue(QStringLiteral("(ohne Titel)"));
            films.post();
        } catch (const std::exception &e) {
            showError(QStringLiteral("Beim Versuch, einen Film-Datensatz zu kopieren (Knr:%1,KK:%2,FNr:%3), ist folgende "
                                     "Exception aufgetreten: \r%4")
                          .arg(kassNr)
                          .arg(bought ? -1 : 0)
                          .arg(filmNr)
                          .arg(errorText(e)),
                      QStringLiteral("Fehler"));
            cancelPending(films);
            showError(QStringLiteral("Fehler (1) bei der Übernahme der Filmndaten! Die Datei istmöglicherweise unbrauchbar."),
                      QStringLiteral("Fehler!"));
            return false;
        }
    }
    if (incomplete)
        incompleteNotice(QStringLiteral("Filmtabelle"));
    return true;
}

bool openNewTables(const TDatabasePlaces &places, engine::Table &media, engine::Table &films)
{
    try {
        media.setTableName(places.MediaTable);
        media.open();
        films.setTableName(places.FilmTable);
        films.open();
        return true;
    } catch (const engine::EngineError &e) {
        showError(QString::fromUtf8(e.what()), QStringLiteral("Fehler beim Import"));
        return false;
    }
}

// The record-by-record transfer of generations A and B: a new database from
// the templates, the transfer into its media and film tables as one
// transaction, then the categories and captions.
bool transferInto(const QString &oldBase, const TDatabasePlaces &places, bool oldest,
                  const std::function<bool(engine::Table &, engine::Table &)> &transfer)
{
    TImportRunningScope running;
    if (!makeEmptyDatabase(places))
        return false;
    {
        engine::Table media, films;
        if (!openNewTables(places, media, films))
            return false;
        engine::Session::Transaction tx(media.session());
        try {
            if (!transfer(media, films))
                return false;
        } catch (const TParadoxError &e) {
            showError(e.text(), QStringLiteral("Fehler!"));
            return false;
        }
        tx.commit();
    }
    importCategories(oldBase, places);
    ImportOldCaptions(oldest, oldBase, places.Name);
    return true;
}

bool ImportDatabaseByTransfer(const QString &oldBase, const TDatabasePlaces &places)
{
    return transferInto(oldBase, places, false, [&](engine::Table &media, engine::Table &films) {
        TParadoxTable oldMedia(oldBase + QStringLiteral(".Kass.DB"), ParadoxPasswordPrompt());
        if (!TransferOldMedia(oldMedia, media))
            return false;
        TParadoxTable oldFilms(oldBase + QStringLiteral(".Film.DB"), ParadoxPasswordPrompt());
        return TransferOldFilms(oldFilms, films);
    });
}

// One medium of the oldest layout with its four film slots.
void TransferOldCassette(TParadoxTable &old, const QVariantList &v, engine::Table &media, engine::Table &films)
{
    const int nr = valueOf(old, v, QStringLiteral("Nr")).toInt();
    const bool bought = valueOf(old, v, QStringLiteral("Kaufkass")).toBool();
    placeMedium(media, nr, bought);
    if (!CopyFieldValue(old, v, media, QStringLiteral("Len"), QStringLiteral("Len"))
        || !CopyFieldValue(old, v, media, QStringLiteral("Verliehen"), QStringLiteral("Verliehen")))
        throw TParadoxError(QStringLiteral("Die Felder \"Len\" und \"Verliehen\" fehlen in der alten Tabelle."));
    for (int i = 1; i <= 4; ++i)
        CopyFieldValue(old, v, media, QStringLiteral("Free%1K").arg(i), QStringLiteral("Free%1").arg(i));
    CopyFieldValue(old, v, media, QStringLiteral("MemoK"), QStringLiteral("Memo"));
    media.fieldByName(QStringLiteral("Gedruckt"))->setValue(true);
    media.post();
    for (int n = 1; n <= 4; ++n) {
        const QString title = QStringLiteral("Film%1").arg(n);
        if (valueOf(old, v, title).toString().isEmpty())
            continue;
        placeFilm(films, nr, n, bought);
        static const char *const from[] = {"Film", "Len", "LP", "Stereo", "Wide", "Kateg", "Free1", "Free2", "Free3", "Free4", "Memo", "Grafik"};
        static const char *const to[] = {"Titel", "Len", "LP", "Ton", "Wide", "Kateg", "Free1", "Free2", "Free3", "Free4", "Memo", "Grafik"};
        for (size_t k = 0; k < std::size(from); ++k)
            CopyFieldValue(old, v, films, QLatin1String(from[k]) + QString::number(n), QLatin1String(to[k]));
        films.post();
    }
}

bool TransferOldVersionFile(const QString &oldBase, const TDatabasePlaces &places)
{
    return transferInto(oldBase, places, true, [&](engine::Table &media, engine::Table &films) {
        TParadoxTable old(oldBase + QStringLiteral(".DB"), ParadoxPasswordPrompt());
        for (int r = 0; r < old.recordCount(); ++r) {
            const QVariantList v = old.record(r);
            try {
                TransferOldCassette(old, v, media, films);
            } catch (const std::exception &e) {
                cancelPending(media);
                cancelPending(films);
                showError(QStringLiteral("Fehler bei der Übernahme der Kassette Nr. %1 aus der alten Datei! Der Import wurde "
                                         "abgebrochen, Ihre alten Daten existieren weiterhin.\r%2")
                              .arg(valueOf(old, v, QStringLiteral("Nr")).toInt())
                              .arg(errorText(e)),
                          QStringLiteral("Fehler!"));
                return false;
            }
        }
        return true;
    });
}

bool ImportDatabaseByCopy(const QString &oldBase, const TDatabasePlaces &places)
{
    const bool noPersons = !QFile::exists(oldBase + QStringLiteral(".Pers.DB"));
    QDir().mkpath(places.DBDir.chopped(1));
    QDir().mkpath(places.LinkDir.chopped(1));
    if (!platform::writeTextLines(places.MainFile, {QStringLiteral("6.0")}) || !QFileInfo(places.DBDir).isDir()) {
        showError(QStringLiteral("Fehler beim Erzeugen des Verzeichnisses \"") + places.DBDir.chopped(1)
                      + QStringLiteral("\" oder der Hauptdatei \"") + places.MainFile + QStringLiteral("\"."),
                  QStringLiteral("Fehler"));
        return false;
    }
    try {
        {
            TParadoxTable films(oldBase + QStringLiteral(".Film.DB"), ParadoxPasswordPrompt());
            ConvertParadoxTable(films, places.FilmTable, QStringLiteral("Film"));
        }
        {
            TParadoxTable media(oldBase + QStringLiteral(".Kass.DB"), ParadoxPasswordPrompt());
            ConvertParadoxTable(media, places.MediaTable, QStringLiteral("Med"));
        }
        if (!noPersons) {
            TParadoxTable persons(oldBase + QStringLiteral(".Pers.DB"), ParadoxPasswordPrompt());
            ConvertParadoxTable(persons, places.tablePath(QStringLiteral("Pers")), QStringLiteral("Pers"));
        } else if (!CopyTemplateTable(places.Name, QStringLiteral("Pers"))) {
            throw TParadoxError(QStringLiteral("Die leere Personen-Tabelle lässt sich nicht anlegen."));
        }
    } catch (const std::exception &e) {
        showError(QStringLiteral("Fehler beim Kopieren der Datenbank-Dateien!\r") + errorText(e), QStringLiteral("Fehler!"));
        return false;
    }
    if (!noPersons && !copyOver(oldBase + QStringLiteral(".Pers.LAB"), places.PersCaptions)) {
        AppMessage(QStringLiteral("Zur alten Personen-Tabelle gibt es keine Datei mit den Beschriftungen ihrer Felder (\"%1\"). "
                                  "Die Personen-Felder erhalten die Standard-Beschriftungen.")
                       .arg(oldBase + QStringLiteral(".Pers.LAB")),
                   QStringLiteral("Hinweis"), MessageIcon::Information);
        copyOver(ProgDir + QStringLiteral("Def60.Pers.LAB"), places.PersCaptions);
    }
    importCategories(oldBase, places);
    try {
        bool printed = false, unused = false;
        UpgradeOldTable(TOldTable::Film, places.FilmTable, unused);
        UpgradeOldTable(TOldTable::Media, places.MediaTable, printed);
        UpgradeOldTable(TOldTable::Persons, places.tablePath(QStringLiteral("Pers")), unused);
        if (printed)
            ResetImportedPrintedFlags(places.MediaTable);
        // Tables of versions between the known layouts may lack further
        // fields that the windows rely on; they are added empty.
        addRemainingFields(places.FilmTable, FilmTableDef());
        addRemainingFields(places.MediaTable, MediaTableDef());
        addRemainingFields(places.tablePath(QStringLiteral("Pers")), PersonTableDef());
    } catch (const engine::EngineError &e) {
        showError(QStringLiteral("Die alten Tabellen ließen sich nicht um die neuen Felder erweitern:\r") + QString::fromUtf8(e.what()),
                  QStringLiteral("Datenbank-Fehler"));
        return false;
    }
    ImportOldCaptions(false, oldBase, places.Name);
    AppNotice(QStringLiteral("Hinweis"),
              QStringLiteral("Ihre Daten wurden alle übernommen. Als Numerierungsmodus ist nun \\ISeparate Numerierung pro "
                             "Medientyp\\i eingestellt. Sollten Sie vorher \\Idurchgehende Numerierung\\i verwendet haben, so "
                             "stellen Sie den Numerierungsmodus bitte erneut \\Bmanuell\\b ein!"));
    return true;
}

} // namespace

QString ImportOldDatabaseFile(const QString &oldBase, bool oldest)
{
    TImportTarget target(ImportTargetPath(oldBase));
    if (!target.claim())
        return QString();
    bool ok = false;
    if (oldest) {
        ok = TransferOldVersionFile(oldBase, target.places);
    } else {
        bool withKinds = false;
        try {
            TParadoxTable media(oldBase + QStringLiteral(".Kass.DB"), ParadoxPasswordPrompt());
            withKinds = media.hasField(QStringLiteral("Medium"));
        } catch (const TParadoxError &e) {
            showError(e.text(), QStringLiteral("Fehler!"));
            return QString();
        }
        ok = withKinds ? ImportDatabaseByCopy(oldBase, target.places) : ImportDatabaseByTransfer(oldBase, target.places);
    }
    if (!ok)
        return QString();
    return target.commit();
}

bool ImportOldDatabase(const QString &oldBase)
{
    return !ImportOldDatabaseFile(oldBase, false).isEmpty();
}

bool ImportOldVersionFile(const QString &oldBase)
{
    return !ImportOldDatabaseFile(oldBase, true).isEmpty();
}
