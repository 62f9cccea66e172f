#include "data/persons.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "data/freefieldlabels.h"
#include "data/recordsql.h"
#include "data/tablerepair.h"
#include "data/tabletools.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/sqlfunctions.h"
#include "engine/sqlutil.h"
#include "engine/table.h"
#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>

namespace {
bool inEdit(const engine::DataSet &t)
{
    return t.active() && (t.state() == engine::DataSetState::Edit || t.state() == engine::DataSetState::Insert);
}


// The dialect's upper case (German letters) on the connection: a query
// registers it when it first runs, a rule may come first.
void ensureSqlFunctions(engine::Session &s)
{
    sqlite3_stmt *probe = nullptr;
    const bool known = sqlite3_prepare_v2(s.handle(), "SELECT tarvo_upper('')", -1, &probe, nullptr) == SQLITE_OK;
    sqlite3_finalize(probe);
    if (!known)
        engine::sql::registerSqlFunctions(s.handle());
}
} // namespace

// ---- the window's statements ----------------------------------------------------------

QStringList PersonListSql(const QString &personRef)
{
    return {QStringLiteral("SELECT Name"), QStringLiteral("FROM ") + personRef, QStringLiteral("WHERE"),
            QStringLiteral(" :Filter = false OR UPPER(Name) LIKE UPPER( :N )")};
}

QList<int> PersonFilmFields()
{
    QList<int> fields;
    for (int n = 1; n <= FilmFreeCount; ++n)
        if (GetFilmFreeIsPerson(n))
            fields << n;
    if (fields.isEmpty())
        for (int n = 1; n <= FilmFreeCount; ++n)
            if (!GetFilmFreeIsFileLink(n))
                fields << n;
    return fields;
}

QStringList PersonFilmsSql(const QString &filmRef, const QList<int> &fields)
{
    QStringList condition{QStringLiteral("AND"), QStringLiteral("(")};
    for (int i = 0; i < fields.size(); ++i)
        condition << (i ? QStringLiteral("OR ") : QString()) + QStringLiteral("UPPER(Free%1) LIKE UPPER( :N )").arg(fields[i]);
    condition << QStringLiteral(")");
    QStringList sql{QStringLiteral("SELECT Titel + \" - \" + Untertitel,Medium,KassNr,FilmNr"),
                    QStringLiteral("FROM ") + filmRef, QStringLiteral("WHERE"),
                    QStringLiteral("(Untertitel<>\"\" AND SUBSTRING ( Untertitel FROM 1 FOR 1) <> \">\")")};
    sql << condition << QStringLiteral("UNION")
        << QStringLiteral("SELECT CAST(Titel+SUBSTRING( Untertitel FROM 2 ) as CHAR(83)) , Medium, KassNr, FilmNr")
        << QStringLiteral("FROM ") + filmRef << QStringLiteral("WHERE")
        << QStringLiteral("( Untertitel IS NULL OR SUBSTRING(Untertitel FROM 1 FOR 1)=\">\")") << condition;
    return sql;
}

QString PersonLikeParam(const QString &text)
{
    return u'%' + text + u'%';
}

QString PersonExpandCaption(bool listOpen, bool female)
{
    if (listOpen)
        return QStringLiteral("<< &Liste schließen");
    return female ? QStringLiteral("Ihre &Filme >>") : QStringLiteral("Seine &Filme >>");
}

QString PersonFilmsHeading(bool female)
{
    return female ? QStringLiteral("Ihre Filme:") : QStringLiteral("Seine Filme:");
}

QString PersonListHeading(int mode)
{
    return mode == 2 ? QStringLiteral("Gefundene Personen:") : QStringLiteral("Alle Personen:");
}

// ---- names --------------------------------------------------------------------------

const QString DuplicatePersonMessage =
    QStringLiteral("Es existiert bereits eine Person mit diesem Namen in der Kartei!\rEin Name darf nicht doppelt vorkommen!");

bool PersonNameTaken(const engine::Table &persons, const QString &newName, const QString &oldName)
{
    // An equality in upper case: "%" and "_" are characters of the name, and
    // the person's own record (a change of letter case only) does not count.
    ensureSqlFunctions(persons.session());
    return recordsql::count(persons.session(),
                            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE tarvo_upper(Name) = tarvo_upper(?1) "
                                           "AND (?2 = '' OR Name <> ?2 COLLATE BINARY)")
                                .arg(recordsql::tableRef(persons)),
                            {newName, oldName})
        > 0;
}

int PropagatePersonRename(const engine::Table &films, const QString &oldName, const QString &newName)
{
    if (oldName.isEmpty() || oldName == newName || !films.active())
        return 0;
    int changed = 0;
    engine::Session::Transaction tx(films.session());
    for (int n = 1; n <= FilmFreeCount; ++n)
        if (GetFilmFreeIsPerson(n))
            changed += recordsql::change(films,
                                         QStringLiteral("UPDATE %1 SET Free%2 = ?1 WHERE Free%2 = ?2 COLLATE BINARY")
                                             .arg(recordsql::tableRef(films))
                                             .arg(n),
                                         {newName, oldName});
    tx.commit();
    return changed;
}

bool LocatePersonByName(engine::Table &persons, const QString &name)
{
    if (!persons.active() || name.isEmpty())
        return false;
    return persons.locate(QStringLiteral("Name"), name);
}

bool InsertPerson(engine::Table &persons, const QString &name)
{
    if (!persons.active() || persons.readOnly() || name.isEmpty())
        return false;
    if (inEdit(persons))
        persons.post();
    persons.insert();
    try {
        persons.fieldByName(QStringLiteral("Name"))->setAsString(name);
        persons.post();
    } catch (...) {
        persons.cancel();
        throw;
    }
    return true;
}

// ---- maintenance --------------------------------------------------------------------------

bool ScanPersonPictures(engine::Table &persons, const std::function<bool(const QByteArray &)> &decodes,
                        PictureScanResult *result)
{
    TPictureScanTexts texts;
    texts.waiting = QStringLiteral("Suche nach ungültigen Bitmaps in der Personen-Kartei...");
    texts.pictures = QStringLiteral("Personen-Grafiken");
    texts.openFailed = QStringLiteral("Suche nach Personen mit Grafik fehlgeschlagen, Abfrage lässt sich nicht öffnen!");
    texts.removeFailed = QStringLiteral("Problem beim Zugriff auf die Abfrage!");
    return ScanTablePictures(persons, {QStringLiteral("Name")}, texts, decodes, result);
}

void RepairPersonPrimaryIndex(engine::Table &persons)
{
    RepairPrimaryIndexOf(
        persons, 1,
        {QStringLiteral("Der Primärindex der Personentabelle scheint zu fehlen! Tarvo wird nun versuchen, ihn neu "
                        "zu erzeugen..."),
         QStringLiteral("Der Primärindex der Personentabelle wurde erfolgreich neu erzeugt!"),
         QStringLiteral("Der Primärindex der Personentabelle konnte leider nicht automatisch neu erzeugt werden!")});
}

// ---- the person file ----------------------------------------------------------------------

bool ApplyPersonFileChoice(bool own, const QString &fileName, QString &setting)
{
    if (own) {
        setting.clear();
        return true;
    }
    if (fileName.trimmed().isEmpty()) {
        AppMessage(QStringLiteral("Sie haben keine Personenkartei ausgewählt"), QStringLiteral("Hinweis"));
        return false;
    }
    if (!QFileInfo(fileName).isFile()) {
        AppMessage(QStringLiteral("Die angegebene Personen-Datei existiert nicht!"), QStringLiteral("Fehler"),
                   platform::MessageIcon::Error);
        return false;
    }
    setting = fileName.left(fileName.size() - 3);
    return true;
}

QString PersonBaseFor(const QString &dbBase, const QString &persDBFile)
{
    if (!persDBFile.isEmpty() && QFileInfo::exists(persDBFile + QStringLiteral(".DB")))
        return persDBFile;
    return dbBase + QStringLiteral("DB/Pers");
}

bool ReopenPersonTable(engine::Table &persons)
{
    const bool readOnly = persons.readOnly();
    if (inEdit(persons))
        persons.post();
    persons.close();
    PersBase = PersonBaseFor(DBBase, PersDBFile);
    persons.setTableName(PersBase + QStringLiteral(".DB"));
    persons.setReadOnly(readOnly);
    try {
        persons.open();
    } catch (const engine::EngineError &e) {
        AppMessage(e.message(), QStringLiteral("Datenbank-Fehler"), platform::MessageIcon::Error);
        return false;
    }
    return true;
}

// ---- import -------------------------------------------------------------------------------

bool PersonImportSourceValid(const QString &source, const QString &currentTable)
{
    if (source.isEmpty() || !QFileInfo(source).isFile())
        return false;
    const QString a = QFileInfo(source).absoluteFilePath();
    const QString b = currentTable.isEmpty() ? QString() : QFileInfo(currentTable).absoluteFilePath();
    return a.compare(b, Qt::CaseInsensitive) != 0;
}

QString PersonImportCaptionsPath(const QString &source)
{
    return source.left(source.size() - 2) + QStringLiteral("LAB");
}

QStringList ReadPersonCaptions(const QString &captionsPath)
{
    QFile f(captionsPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = f.readAll().split('\n');
    auto line = [&](int i) {
        QByteArray l = i < lines.size() ? lines[i] : QByteArray();
        if (l.endsWith('\r'))
            l.chop(1);
        return platform::fromCp1252(l);
    };
    QStringList captions;
    for (int i = 0; i < 6; ++i)
        captions << line(i);
    captions << line(7); // line 7 holds the file-link flags
    for (int i = 0; i < captions.size(); ++i)
        if (captions[i].isEmpty())
            captions[i] = DefaultFreeCaption(i + 1);
    return captions;
}

QString MissingCaptionsMessage(const QString &captionsPath)
{
    return QStringLiteral("Die Datei ") + captionsPath + QStringLiteral(" mit den Beschriftungen zu den freien ")
        + QStringLiteral("Feldern der Quelldatei fehlt, die Beschriftungen können hier daher nicht ")
        + QStringLiteral("angezeigt werden. Der Import ist aber dennoch möglich.");
}

bool PersonImportRowChecked(const QString &caption)
{
    const QString u = caption.toUpper();
    return !u.startsWith(QLatin1String("FREE")) && !u.startsWith(QLatin1String("FREI"));
}

PersonValues MergePerson(const PersonValues &source, const PersonValues &target, bool exists,
                         const PersonImportOptions &o)
{
    const bool overwrite = !exists || o.mode == PersonImportMode::Overwrite;
    PersonValues r = exists ? target : PersonValues{};
    r.mf = source.mf;
    if (o.grafik && (overwrite || r.grafik.isEmpty()))
        r.grafik = source.grafik;
    if (o.memo) {
        if (overwrite || r.memo.isEmpty())
            r.memo = source.memo;
        else if (r.memo != source.memo && !source.memo.isEmpty())
            r.memo = r.memo + QStringLiteral("\r\rErgänzung durch Import:\r") + source.memo;
    }
    for (int n = 6; n >= 0; --n) {
        const QString &value = source.free[size_t(n)];
        if (!o.rowOn[size_t(n)] || value.isEmpty())
            continue;
        const QString line = StripAmpersands(o.caption[size_t(n)]) + QStringLiteral(": ") + value + u'\r';
        const int m = o.target[size_t(n)];
        if (m == PersonImportMemoTarget) {
            r.memo = line + r.memo;
            continue;
        }
        if (m < 0 || m > 6)
            continue;
        QString &field = r.free[size_t(m)];
        if (field == value)
            continue;
        if (overwrite || field.isEmpty())
            field = value;
        else
            r.memo = line + r.memo;
    }
    return r;
}

namespace {
PersonValues readValues(const engine::DataSet &t)
{
    PersonValues v;
    auto text = [&](const QString &name) {
        const engine::Field *f = t.findField(name);
        return f ? f->asString() : QString();
    };
    v.mf = text(QStringLiteral("MF"));
    for (int n = 0; n < 7; ++n)
        v.free[size_t(n)] = text(QStringLiteral("Free%1").arg(n + 1));
    v.memo = text(QStringLiteral("Memo"));
    if (const engine::Field *g = t.findField(QStringLiteral("Grafik")))
        v.grafik = g->isNull() ? QByteArray() : g->asBytes();
    return v;
}

void writeText(engine::DataSet &t, const QString &name, const QString &value)
{
    engine::Field *f = t.findField(name);
    if (!f || f->asString() == value)
        return;
    if (value.isEmpty())
        f->clear();
    else
        f->setAsString(value);
}
} // namespace

int ImportPersons(engine::Table &source, engine::Table &target, const PersonImportOptions &o)
{
    if (inEdit(target))
        target.post();
    int written = 0;
    target.disableControls();
    try {
        engine::Session::Transaction tx(target.session());
        for (source.first(); !source.eof(); source.next()) {
            const QString name = source.fieldByName(QStringLiteral("Name"))->asString();
            if (name.isEmpty())
                continue;
            const bool exists = LocatePersonByName(target, name);
            if (exists && o.mode == PersonImportMode::Skip)
                continue;
            const PersonValues merged = MergePerson(readValues(source), exists ? readValues(target) : PersonValues{},
                                                    exists, o);
            if (exists) {
                target.edit();
            } else {
                target.insert();
                target.fieldByName(QStringLiteral("Name"))->setAsString(name);
            }
            writeText(target, QStringLiteral("MF"), merged.mf);
            for (int n = 0; n < 7; ++n)
                writeText(target, QStringLiteral("Free%1").arg(n + 1), merged.free[size_t(n)]);
            writeText(target, QStringLiteral("Memo"), merged.memo);
            if (engine::Field *g = target.findField(QStringLiteral("Grafik"))) {
                const QByteArray old = g->isNull() ? QByteArray() : g->asBytes();
                if (old != merged.grafik) {
                    if (merged.grafik.isEmpty())
                        g->clear();
                    else
                        g->setAsBytes(merged.grafik);
                }
            }
            target.post();
            ++written;
        }
        tx.commit();
    } catch (...) {
        if (inEdit(target))
            target.cancel();
        target.enableControls();
        throw;
    }
    target.enableControls();
    return written;
}
