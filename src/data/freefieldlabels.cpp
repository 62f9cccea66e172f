#include "data/freefieldlabels.h"

#include "data/database.h"
#include "data/databasefiles.h"
#include "data/tabletools.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/table.h"
#include "platform/cp1252.h"
#include "platform/textfile.h"

#include <QFileInfo>

#include <map>

namespace {

struct TFieldState
{
    QString caption;
    bool fileLink = false;
    bool person = false;
};

struct TLabelsState
{
    TFieldState medium[MediumFreeCount];
    TFieldState film[FilmFreeCount];
    TFieldState person[PersonFreeCount];
    std::map<int, std::function<void(TFreeKind, int)>> listeners;
    int nextId = 1;

    TLabelsState() { reset(); }
    void reset()
    {
        for (int i = 0; i < MediumFreeCount; ++i)
            medium[i] = {DefaultFreeCaption(i + 1), false, false};
        for (int i = 0; i < FilmFreeCount; ++i)
            film[i] = {DefaultFreeCaption(i + 1), false, false};
        for (int i = 0; i < PersonFreeCount; ++i)
            person[i] = {DefaultFreeCaption(i + 1), false, false};
    }
};

TLabelsState &state()
{
    static TLabelsState s;
    return s;
}

int countOf(TFreeKind kind)
{
    switch (kind) {
    case TFreeKind::Medium: return MediumFreeCount;
    case TFreeKind::Film: return FilmFreeCount;
    case TFreeKind::Person: return PersonFreeCount;
    }
    return 0;
}

// The field's state, or null outside the kind's range.
TFieldState *fieldOf(TFreeKind kind, int nr)
{
    if (nr < 1 || nr > countOf(kind))
        return nullptr;
    TLabelsState &s = state();
    switch (kind) {
    case TFreeKind::Medium: return &s.medium[nr - 1];
    case TFreeKind::Film: return &s.film[nr - 1];
    case TFreeKind::Person: return &s.person[nr - 1];
    }
    return nullptr;
}

void changed(TFreeKind kind, int nr)
{
    // A listener may unsubscribe while it runs: iterate over a copy.
    const auto listeners = state().listeners;
    for (const auto &l : listeners)
        l.second(kind, nr);
}

void setCaption(TFreeKind kind, int nr, const QString &caption)
{
    if (TFieldState *f = fieldOf(kind, nr)) {
        if (f->caption == caption)
            return;
        f->caption = caption;
        changed(kind, nr);
    }
}

void setFlags(TFreeKind kind, int nr, bool fileLink, bool person)
{
    if (TFieldState *f = fieldOf(kind, nr)) {
        if (f->fileLink == fileLink && f->person == person)
            return;
        f->fileLink = fileLink;
        f->person = person;
        changed(kind, nr);
    }
}

QString caption(TFreeKind kind, int nr)
{
    const TFieldState *f = fieldOf(kind, nr);
    return f ? f->caption : QString();
}

const QString kKass = QStringLiteral("KASS");
const QString kFilm = QStringLiteral("FILM");
const QString kPers = QStringLiteral("PERS");

QString labPathText(const QString &dbBase)
{
    // The message names the file as the user knows it.
    return dbBase + QStringLiteral("DB/LAB.DB");
}

engine::Field *field(engine::Table &lab, const char *name)
{
    return lab.fieldByName(QLatin1String(name));
}

} // namespace

QString DefaultFreeCaption(int nr)
{
    return QStringLiteral("Frei&") + QString::number(nr);
}

QString FreeNrToStr(int nr)
{
    if (nr < 1 || nr > 15)
        return QStringLiteral("1");
    return QString::number(nr);
}

QString StripAmpersands(const QString &text)
{
    return QString(text).remove(QLatin1Char('&'));
}

bool IsReservedCaptionSet(const QString &kind)
{
    const QString k = kind.trimmed().toUpper();
    return k == kKass || k == kFilm || k == kPers;
}

QString ReservedKindText(const QString &kind)
{
    return QStringLiteral("Der Medientyp \"") + kind.trimmed()
           + QStringLiteral("\" ist nicht möglich: Die Namen \"FILM\", \"KASS\" und \"PERS\" sind für die "
                            "Beschriftungen der freien Felder reserviert. Bitte wählen Sie einen anderen Namen "
                            "für den Medientyp!");
}

QString GetMediumFreeLabel(int nr) { return caption(TFreeKind::Medium, nr); }
void SetMediumFreeLabel(int nr, const QString &c) { setCaption(TFreeKind::Medium, nr, c); }
QString GetFilmFreeLabel(int nr) { return caption(TFreeKind::Film, nr); }
void SetFilmFreeLabel(int nr, const QString &c) { setCaption(TFreeKind::Film, nr, c); }
QString GetPersonFreeLabel(int nr) { return caption(TFreeKind::Person, nr); }
void SetPersonFreeLabel(int nr, const QString &c) { setCaption(TFreeKind::Person, nr, c); }

bool GetMediumFreeIsFileLink(int nr)
{
    const TFieldState *f = fieldOf(TFreeKind::Medium, nr);
    return f && f->fileLink;
}

void SetMediumFreeIsFileLink(int nr, bool on) { setFlags(TFreeKind::Medium, nr, on, false); }

bool GetFilmFreeIsFileLink(int nr)
{
    const TFieldState *f = fieldOf(TFreeKind::Film, nr);
    return f && f->fileLink;
}

void SetFilmFreeIsFileLink(int nr, bool on)
{
    const TFieldState *f = fieldOf(TFreeKind::Film, nr);
    if (f)
        setFlags(TFreeKind::Film, nr, on, on ? false : f->person);
}

bool GetFilmFreeIsPerson(int nr)
{
    const TFieldState *f = fieldOf(TFreeKind::Film, nr);
    return f && f->person;
}

void SetFilmFreeIsPerson(int nr, bool on)
{
    const TFieldState *f = fieldOf(TFreeKind::Film, nr);
    if (f)
        setFlags(TFreeKind::Film, nr, on ? false : f->fileLink, on);
}

bool GetPersonFreeIsFileLink(int nr)
{
    const TFieldState *f = fieldOf(TFreeKind::Person, nr);
    return f && f->fileLink;
}

void SetPersonFreeIsFileLink(int nr, bool on) { setFlags(TFreeKind::Person, nr, on, false); }

void SetFreeFieldCaption(int nr, const QString &c, bool isMedium, bool isPerson)
{
    setCaption(isMedium ? TFreeKind::Medium : isPerson ? TFreeKind::Person : TFreeKind::Film, nr, c);
}

int SubscribeFreeFieldLabels(std::function<void(TFreeKind, int)> fn)
{
    TLabelsState &s = state();
    const int id = s.nextId++;
    s.listeners[id] = std::move(fn);
    return id;
}

void UnsubscribeFreeFieldLabels(int id)
{
    state().listeners.erase(id);
}

void ResetFreeFieldLabels()
{
    state().reset();
    for (TFreeKind k : {TFreeKind::Medium, TFreeKind::Film, TFreeKind::Person})
        for (int n = 1; n <= countOf(k); ++n)
            changed(k, n);
}

// ---- Person captions -------------------------------------------------------------

quint8 PersonFlagsToByte(const bool flags[PersonFreeCount])
{
    quint8 b = 0;
    for (int i = 0; i < PersonFreeCount; ++i) {
        // Field 4 and up sit one bit higher: bit 3 stays free.
        const int bit = i < 3 ? i : i + 1;
        if (flags[i])
            b |= quint8(1u << bit);
    }
    return b;
}

void PersonFlagsFromByte(quint8 byte, bool flags[PersonFreeCount])
{
    for (int i = 0; i < PersonFreeCount; ++i) {
        const int bit = i < 3 ? i : i + 1;
        flags[i] = (byte >> bit) & 1u;
    }
}

void ParsePersonLabels(const QByteArray &bytes)
{
    // Byte by byte: the flag character may be NUL, CR-free or above 127, and
    // must not go through a text codec.
    qsizetype pos = 0;
    auto atEnd = [&] { return pos >= bytes.size(); };
    auto readLine = [&](QString *out) {
        if (atEnd())
            return false;
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(pos, end - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        pos = end + 1;
        if (out)
            *out = platform::fromCp1252(line);
        return true;
    };
    for (int n = 1; n <= 6; ++n) {
        QString c;
        SetPersonFreeLabel(n, readLine(&c) ? c : DefaultFreeCaption(n));
    }
    bool flags[PersonFreeCount] = {};
    if (!atEnd()) {
        PersonFlagsFromByte(quint8(bytes.at(pos)), flags);
        ++pos;
        readLine(nullptr); // the rest of the flag line
    }
    for (int n = 1; n <= PersonFreeCount; ++n)
        SetPersonFreeIsFileLink(n, flags[n - 1]);
    QString c7;
    SetPersonFreeLabel(7, readLine(&c7) ? c7 : QStringLiteral("Frei&7"));
}

QByteArray FormatPersonLabels()
{
    QByteArray out;
    for (int n = 1; n <= 6; ++n)
        out += platform::toCp1252(GetPersonFreeLabel(n)) + "\r\n";
    bool flags[PersonFreeCount];
    for (int n = 1; n <= PersonFreeCount; ++n)
        flags[n - 1] = GetPersonFreeIsFileLink(n);
    out += char(PersonFlagsToByte(flags));
    out += "\r\n";
    out += platform::toCp1252(GetPersonFreeLabel(7)) + "\r\n";
    return out;
}

QString PersonLabelsPath(const QString &persBase)
{
    // No person table, no person captions file (never a ".LAB" of its own).
    return persBase.isEmpty() ? QString() : persBase + QStringLiteral(".LAB");
}

// ---- Caption table ------------------------------------------------------------------

QString CaptionTablePath(const QString &dbBase)
{
    return dbBase + QStringLiteral("DB/LAB.DB");
}

bool LocateLabelRow(engine::Table &lab, const QString &set, int nr)
{
    if (!lab.active())
        return false;
    if (lab.state() == engine::DataSetState::Edit || lab.state() == engine::DataSetState::Insert)
        lab.post();
    return lab.locate(QStringLiteral("ANH;FreeNr"), QVariantList{set, nr});
}

bool OpenCaptionTable(engine::Table &lab, const QString &dbBase)
{
    if (lab.active())
        return true;
    try {
        lab.setTableName(CaptionTablePath(dbBase));
        lab.setReadOnly(false);
        lab.open();
    } catch (const engine::EngineError &) {
        return false;
    }
    return lab.active();
}

bool LoadMediumFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &kind,
                               const TMessageSink &show)
{
    const QString k = kind.left(6);
    if (!OpenCaptionTable(lab, dbBase)) {
        if (show)
            show({QStringLiteral("Fehler"),
                  QStringLiteral("Die Label-Datenbank ") + labPathText(dbBase)
                      + QStringLiteral(", die die Beschriftungen für die Anhang-Felder enthält, kann nicht "
                                       "geöffnet werden. Die Felder werden daher mit \"Frei x\" beschriftet!"),
                  TUserMessage::Error});
        for (int n = 1; n <= MediumFreeCount; ++n)
            SetMediumFreeLabel(n, DefaultFreeCaption(n));
        return false;
    }
    try {
        for (int n = 1; n <= MediumFreeCount; ++n) {
            if (LocateLabelRow(lab, k, n) || LocateLabelRow(lab, kKass, n)) {
                SetMediumFreeLabel(n, field(lab, "Label")->asString());
                SetMediumFreeIsFileLink(n, field(lab, "FreeIsFL")->asBoolean());
            } else {
                SetMediumFreeLabel(n, DefaultFreeCaption(n));
                SetMediumFreeIsFileLink(n, false);
            }
        }
    } catch (const engine::EngineError &e) {
        if (show)
            show({QStringLiteral("Datenbank-Fehler"), e.message(), TUserMessage::Error});
        return false;
    }
    return true;
}

bool LoadFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &kind,
                         const QString &persLabPath, const TMessageSink &show)
{
    const bool ok = LoadMediumFreeFieldLabels(lab, dbBase, kind, show);
    if (ok) {
        try {
            for (int n = 1; n <= FilmFreeCount; ++n) {
                if (LocateLabelRow(lab, kFilm, n)) {
                    SetFilmFreeLabel(n, field(lab, "Label")->asString());
                    // The link flag first: a row with both on ends as a person field.
                    SetFilmFreeIsFileLink(n, field(lab, "FreeIsFL")->asBoolean());
                    SetFilmFreeIsPerson(n, field(lab, "FreeIsPerson")->asBoolean());
                } else {
                    SetFilmFreeLabel(n, DefaultFreeCaption(n));
                    SetFilmFreeIsFileLink(n, false);
                    SetFilmFreeIsPerson(n, false);
                }
            }
        } catch (const engine::EngineError &e) {
            if (show)
                show({QStringLiteral("Datenbank-Fehler"), e.message(), TUserMessage::Error});
        }
    }
    if (!persLabPath.isEmpty() && QFileInfo::exists(persLabPath)) {
        if (const auto bytes = platform::readFileBytes(persLabPath))
            ParsePersonLabels(*bytes);
    }
    return ok;
}

namespace {

void writeRow(engine::Table &lab, const QString &caption, bool fileLink, bool person)
{
    field(lab, "Label")->setAsString(caption);
    field(lab, "FreeIsFL")->setAsBoolean(fileLink);
    field(lab, "FreeIsPerson")->setAsBoolean(person);
    lab.post();
}

void insertRow(engine::Table &lab, const QString &set, int nr)
{
    lab.append();
    field(lab, "ANH")->setAsString(set);
    field(lab, "FreeNr")->setAsInteger(nr);
}

void saveFilmRows(engine::Table &lab)
{
    for (int n = 1; n <= FilmFreeCount; ++n) {
        const QString c = GetFilmFreeLabel(n);
        if (c.isEmpty())
            continue;
        if (LocateLabelRow(lab, kFilm, n))
            lab.edit();
        else
            insertRow(lab, kFilm, n);
        writeRow(lab, c, GetFilmFreeIsFileLink(n), GetFilmFreeIsPerson(n));
    }
}

void saveMediumRows(engine::Table &lab, const QString &set)
{
    const bool general = set == kKass;
    for (int n = 1; n <= MediumFreeCount; ++n) {
        const QString c = GetMediumFreeLabel(n);
        const bool fl = GetMediumFreeIsFileLink(n);
        QString refCaption;
        bool refFl = false;
        if (!general && LocateLabelRow(lab, kKass, n)) {
            refCaption = field(lab, "Label")->asString();
            refFl = field(lab, "FreeIsFL")->asBoolean();
        }
        const bool asReference = c == refCaption && fl == refFl;
        if (!LocateLabelRow(lab, set, n)) {
            if (asReference)
                continue; // the kind inherits the general caption
            insertRow(lab, set, n);
        } else if (!general && (c.isEmpty() || asReference)) {
            lab.deleteRecord();
            continue;
        } else {
            lab.edit();
        }
        writeRow(lab, c, fl, false);
    }
}

} // namespace

bool SaveFreeFieldLabels(engine::Table &lab, const QString &dbBase, const QString &set,
                         const QString &persLabPath, const TMessageSink &show)
{
    if (set == kPers) {
        QString error = QStringLiteral("Es ist keine Personen-Tabelle geöffnet.");
        if (persLabPath.isEmpty() || !platform::writeFileBytes(persLabPath, FormatPersonLabels(), &error)) {
            if (show)
                show({QStringLiteral("Speichern von Beschriftungen fehlgeschlagen!"), error, TUserMessage::Error});
            return false;
        }
        return true;
    }
    const QString failCaption = QStringLiteral("Speichern von Beschriftungen fehlgeschlagen!");
    if (!OpenCaptionTable(lab, dbBase)) {
        QString text;
        const QString path = CaptionTablePath(dbBase);
        if (QFileInfo::exists(path)) {
            text = QStringLiteral("Die Datenbank ") + labPathText(dbBase)
                   + QStringLiteral(" lässt sich nicht öffnen (obwohl sie existiert!).");
        } else if (!CopyTemplateTable(dbBase, QStringLiteral("LAB"))) {
            text = QStringLiteral("Die Datenbank ") + labPathText(dbBase)
                   + QStringLiteral(" existiert nicht und lässt sich auch nicht neu erzeugen!");
        } else if (!OpenCaptionTable(lab, dbBase)) {
            text = QStringLiteral("Die Datenbank ") + labPathText(dbBase)
                   + QStringLiteral(" existierte nicht. Sie wurde zwar neu erzeugt, lässt sich aber dennoch "
                                    "nicht öffnen!");
        }
        if (!text.isEmpty()) {
            if (show)
                show({failCaption, text, TUserMessage::Error});
            return false;
        }
    }
    try {
        engine::Session::Transaction tx(lab.session());
        if (set == kFilm)
            saveFilmRows(lab);
        else
            saveMediumRows(lab, set.left(6));
        tx.commit();
    } catch (const engine::EngineError &e) {
        if (lab.state() == engine::DataSetState::Edit || lab.state() == engine::DataSetState::Insert)
            lab.cancel();
        lab.refresh();
        if (show)
            show({failCaption, e.message(), TUserMessage::Error});
        return false;
    }
    return true;
}

void RepairLabelPrimaryIndex(engine::Table &lab, const TMessageSink &show)
{
    static bool repairing = false;
    // The rebuild reopens the table, which runs this step again: never twice.
    if (repairing || HasPrimaryIndex(lab))
        return;
    repairing = true;
    if (show)
        show({QStringLiteral("Nicht-schwerer Fehler"),
              QStringLiteral("Der Primärindex der Labeltabelle scheint zu fehlen! Tarvo wird nun versuchen, ihn neu "
                             "zu erzeugen..."),
              TUserMessage::Information});
    bool ok = true;
    try {
        RebuildPrimaryIndex(lab, 2);
    } catch (const engine::EngineError &) {
        ok = false;
    }
    if (show) {
        if (ok && HasPrimaryIndex(lab))
            show({QStringLiteral("Erfolg"), QStringLiteral("Der Primärindex der Labeltabelle wurde erfolgreich neu erzeugt!"),
                  TUserMessage::Information});
        else
            show({QStringLiteral("Datenbank-Fehler"),
                  QStringLiteral("Der Primärindex der Labeltabelle konnte leider nicht automatisch neu erzeugt werden!"),
                  TUserMessage::Error});
    }
    repairing = false;
}

// ---- Display labels ----------------------------------------------------------------

void SetFieldCaption(engine::DataSet *set, const QString &name, const QString &caption)
{
    if (!set || !set->active())
        return;
    if (engine::Field *f = set->findField(name))
        f->setDisplayLabel(StripAmpersands(caption));
}

void ApplyFreeFieldDisplayLabel(int nr, const QString &caption, bool isMedium, bool isPerson)
{
    const QString name = QStringLiteral("Free") + QString::number(nr);
    if (isMedium) {
        SetFieldCaption(DBTables.Table1, name, caption);
    } else if (isPerson) {
        SetFieldCaption(DBTables.PersTable, name, caption);
    } else {
        SetFieldCaption(DBTables.FilmTable, name, caption);
        SetFieldCaption(DBTables.Table2, name, caption);
    }
}

void ApplyMediumFreeFieldLabels()
{
    for (int n = 1; n <= MediumFreeCount; ++n)
        ApplyFreeFieldDisplayLabel(n, GetMediumFreeLabel(n), true, false);
}

void ApplyAllFreeFieldLabels()
{
    ApplyMediumFreeFieldLabels();
    for (int n = 1; n <= FilmFreeCount; ++n)
        ApplyFreeFieldDisplayLabel(n, GetFilmFreeLabel(n), false, false);
    for (int n = 1; n <= PersonFreeCount; ++n)
        ApplyFreeFieldDisplayLabel(n, GetPersonFreeLabel(n), false, true);
}
