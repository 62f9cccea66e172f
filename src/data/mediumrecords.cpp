#include "data/mediumrecords.h"

#include "data/filmtablelock.h"
#include "data/freefieldlabels.h"
#include "data/locate.h"
#include "data/recordsql.h"
#include "data/tableschemas.h"
#include "data/tabletools.h"
#include "engine/session.h"
#include "engine/table.h"
#include "app/appmessage.h"
#include "app/settings.h"

#include <QScopedValueRollback>

namespace {

void showError(const char *caption, const QString &text)
{
    AppMessage(text, QString::fromUtf8(caption), platform::MessageIcon::Error);
}

// The program's own message box (its text in the message mark-up).
void showMessage(const char *caption, const QString &text)
{
    AppNotice(QString::fromUtf8(caption), text);
}

// The media table through its own statements, for the gap search.
class SqlNumberSource : public MediumNumberSource
{
public:
    SqlNumberSource(engine::Session &s, QString media, NumberingMode mode)
        : m_s(s), m_media(std::move(media)), m_perKind(mode == NumberingMode::PerKind) {}

    bool hasNumberOne(const QString &kind) override
    {
        return recordsql::count(m_s,
                                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Nr = 1").arg(m_media)
                                    + kindClause(QString()),
                                binds(kind))
            > 0;
    }
    int maxNumber(const QString &kind) override
    {
        return int(recordsql::scalar(m_s,
                                     QStringLiteral("SELECT MAX(Nr) FROM %1 WHERE 1").arg(m_media)
                                         + kindClause(QString()),
                                     binds(kind))
                       .toLongLong());
    }
    std::optional<int> lowestNumberBeforeGap(const QString &kind) override
    {
        // The lowest number from 1 up after which the next number is free.
        QString sql = QStringLiteral("SELECT MIN(T1.Nr) FROM %1 T1 WHERE T1.Nr >= 1").arg(m_media)
            + kindClause(QStringLiteral("T1."))
            + QStringLiteral(" AND NOT EXISTS (SELECT * FROM %1 T2 WHERE T2.Nr = T1.Nr + 1")
                  .arg(m_media);
        if (m_perKind)
            sql += QStringLiteral(" AND T2.Medium = T1.Medium COLLATE BINARY");
        sql += QLatin1Char(')');
        const QVariant v = recordsql::scalar(m_s, sql, binds(kind));
        if (v.isNull())
            return std::nullopt;
        return int(v.toLongLong());
    }

private:
    QString kindClause(const QString &alias) const
    {
        return m_perKind ? QStringLiteral(" AND %1Medium = ?1 COLLATE BINARY").arg(alias) : QString();
    }
    QVariantList binds(const QString &kind) const
    {
        return m_perKind ? QVariantList{kind} : QVariantList{};
    }

    engine::Session &m_s;
    QString m_media;
    bool m_perKind;
};


} // namespace

MediumRecords::MediumRecords(const MainDataSets &sets, TMediumRecordDoors &doors) : m_sets(sets), m_doors(doors) {}

engine::Session &MediumRecords::session() const
{
    return mediaTable().session();
}

engine::Table *MediumRecords::filmLockTable() const
{
    return m_sets.filmTable ? m_sets.filmTable : m_sets.Table2;
}

engine::Table &MediumRecords::mediaTable() const
{
    if (m_sets.Table1 && m_sets.Table1->active())
        return *m_sets.Table1;
    if (m_sets.Table11 && m_sets.Table11->active())
        return *m_sets.Table11;
    engine::raise(engine::ErrClosed, QStringLiteral("Die Medientabelle ist nicht geöffnet."));
}

engine::Table &MediumRecords::filmsTable() const
{
    if (m_sets.filmTable && m_sets.filmTable->active())
        return *m_sets.filmTable;
    if (m_sets.Table2 && m_sets.Table2->active())
        return *m_sets.Table2;
    engine::raise(engine::ErrClosed, QStringLiteral("Die Filmtabelle ist nicht geöffnet."));
}

QString MediumRecords::mediaRef() const
{
    return recordsql::tableRef(mediaTable());
}

QString MediumRecords::filmRef() const
{
    return recordsql::tableRef(filmsTable());
}

void MediumRecords::setMenu(NumberingMenuState s)
{
    m_acrossAll = (s == NumberingMenuState::AcrossAll);
    if (m_doors.onNumberingMenu)
        m_doors.onNumberingMenu(s);
}

void MediumRecords::installEvents()
{
    m_events.clear();
    auto chain = [this](engine::DataSet::Event &event, engine::DataSet::Event::Slot slot) {
        m_events.push_back(event.subscribe(std::move(slot)));
    };
    for (engine::Table *t : {m_sets.Table1, m_sets.Table11}) {
        if (!t)
            continue;
        // A media data set opens on its primary index; the numbering index is
        // set after the open, where a damaged one can be reported.
        chain(t->beforeOpen, [t](engine::DataSet &) { t->setIndexName(QString()); });
        chain(t->afterOpen, [this, t](engine::DataSet &) {
            if (t == m_sets.Table1) {
                if (engine::Field *f = t->findField(QStringLiteral("Medium")))
                    f->onValidate = [this](engine::Field &fld) { Table1MediumValidate(fld); };
            }
            DetectNumberingMode(*t);
        });
        chain(t->onCalcFields, [this](engine::DataSet &ds) { Table1CalcFields(ds); });
    }
    // The film cursors open on their primary index as well: the numbering
    // index of the database before may be missing from the one opened now
    // (the film window's table takes it again when the media table has it).
    for (engine::Table *t : {m_sets.Table2, m_sets.filmTable})
        if (t)
            chain(t->beforeOpen, [t](engine::DataSet &) { t->setIndexName(QString()); });
    if (engine::Table *t = m_sets.Table1) {
        chain(t->beforeInsert, [this](engine::DataSet &ds) { Table1BeforeInsert(ds); });
        chain(t->onNewRecord, [this](engine::DataSet &ds) { Table1NewRecord(ds); });
        chain(t->beforeEdit, [this](engine::DataSet &ds) { Table1BeforeEdit(ds); });
        chain(t->beforePost, [this](engine::DataSet &ds) {
            std::optional<QScopedValueRollback<bool>> own;
            if (programWrites)
                own.emplace(*programWrites, true);
            Table1BeforePost(ds);
        });
        chain(t->beforeCancel, [this](engine::DataSet &ds) { Table1BeforeCancel(ds); });
        chain(t->beforeDelete, [this](engine::DataSet &ds) { Table1BeforeDelete(ds); });
        chain(t->afterPost, [this](engine::DataSet &ds) { TableAfterPost(ds); });
        chain(t->afterDelete, [this](engine::DataSet &ds) { TableAfterDelete(ds); });
    }
    if (engine::Table *t = m_sets.Table2)
        chain(t->afterDelete, [this](engine::DataSet &) { gapCache.clear(); });
}

// ---- numbering ----

void MediumRecords::DetectNumberingMode(engine::Table &t)
{
    try {
        t.setIndexName(NrExclIndexName);
        setMenu(NumberingMenuState::AcrossAll);
        return;
    } catch (const engine::EngineError &e) {
        switch (::DetectNumberingMode(false, e.code(), &t == m_sets.Table1)) {
        case NumberingDetection::IndexError:
            showError(kIndexErrorCaption, IndexErrorText(e.message()));
            setMenu(NumberingMenuState::None);
            return;
        default:
            break;
        }
    }
    try {
        t.setIndexName(QString());
    } catch (const engine::EngineError &) {
        // The primary order is what the data set falls back to anyway.
    }
    setMenu(NumberingMenuState::PerKind);
}

NextNumber MediumRecords::NextFreeNumberOrError(const QString &kind)
{
    SqlNumberSource source(session(), mediaRef(), numberingMode());
    return ::NextFreeNumber(source, gapCache, numberingMode(), kind);
}

int MediumRecords::NextFreeNumber(const QString &kind)
{
    const NextNumber n = NextFreeNumberOrError(kind);
    if (!n.ok()) {
        showMessage(kErrorCaption, n.error);
        engine::abortSilently();
    }
    return n.number;
}

bool MediumRecords::MediumKeyUnused()
{
    engine::Table &t = *m_sets.Table1;
    const int nr = t.fieldByName(QStringLiteral("Nr"))->asInteger();
    const QString kind = t.fieldByName(QStringLiteral("Medium"))->asString();
    const QVariantList key{nr, kind};
    if (recordsql::count(session(),
                         QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Nr = ?1 AND Medium = ?2 "
                                        "COLLATE BINARY")
                             .arg(mediaRef()),
                         key)
        != 0)
        return false;
    return recordsql::count(session(),
                            QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KassNr = ?1 AND "
                                           "Medium = ?2 COLLATE BINARY")
                                .arg(filmRef()),
                            key)
        == 0;
}

void MediumRecords::RenameMediumFilms()
{
    engine::Table &t = *m_sets.Table1;
    recordsql::change(filmsTable(),
                      QStringLiteral("UPDATE %1 SET Medium = ?1, KassNr = ?2 WHERE Medium = ?3 "
                                     "COLLATE BINARY AND KassNr = ?4")
                          .arg(filmRef()),
                      {t.fieldByName(QStringLiteral("Medium"))->asString(),
                       t.fieldByName(QStringLiteral("Nr"))->asInteger(), OldKind, OldNr});
}

namespace {

// How the main window's tables were open before a numbering switch, to put
// them back when the switch fails half-way (another client has a table open,
// say): everything is closed, then reopened as before, media card first.
class OpenStates
{
public:
    explicit OpenStates(const MainDataSets &sets)
    {
        for (engine::Table *t : {sets.Table1, sets.Table2, sets.filmTable, sets.Table11})
            if (t)
                m_saved.append({t, t->active(), t->exclusive(), t->readOnly()});
    }
    bool readOnly(const engine::Table *t) const
    {
        for (const Saved &x : m_saved)
            if (x.table == t)
                return x.readOnly;
        return false;
    }
    void restore() const
    {
        for (const Saved &x : m_saved)
            x.table->close();
        for (const Saved &x : m_saved) {
            try {
                x.table->setExclusive(x.exclusive);
                x.table->setReadOnly(x.readOnly);
                if (x.active)
                    x.table->open();
            } catch (const engine::EngineError &) {
                // Stays closed; the box about the failure has been shown.
            }
        }
    }

private:
    struct Saved {
        engine::Table *table;
        bool active, exclusive, readOnly;
    };
    QList<Saved> m_saved;
};

void reopen(engine::Table &t, bool exclusive, bool readOnly)
{
    t.close();
    t.setExclusive(exclusive);
    t.setReadOnly(readOnly);
    t.open();
}

bool hasIndex(const engine::Table &t, const QString &name)
{
    return t.indexNames().contains(name, Qt::CaseInsensitive);
}

} // namespace

void MediumRecords::MenNumAlleMedienClick()
{
    CallDoor(m_doors.resetInsertFocus);
    engine::Table &t1 = *m_sets.Table1;
    engine::Table *t11 = m_sets.Table11;
    const OpenStates before(m_sets);
    try {
        try {
            t1.setIndexName(NrExclIndexName);
            setMenu(NumberingMenuState::AcrossAll);
        } catch (const engine::EngineError &) {
            const bool t11WasOpen = t11 && t11->active();
            if (t11)
                t11->close();
            reopen(t1, true, false);
            CreateNrExclIndex(t1);
            reopen(t1, false, before.readOnly(&t1)); // its after-open step sets the index
            if (t11WasOpen)
                t11->open();
        }
        engine::Table *film = m_sets.filmTable;
        engine::Table *t2 = m_sets.Table2;
        if (t2 && !hasIndex(film && film->active() ? *film : *t2, NrExclIndexName)) {
            const bool filmWasOpen = film && film->active();
            if (film)
                film->close();
            reopen(*t2, true, false);
            CreateNrExclIndex(*t2);
            reopen(*t2, false, before.readOnly(t2));
            if (filmWasOpen)
                film->open();
        }
    } catch (const engine::EngineError &e) {
        showError(kErrorCaption, e.message());
        before.restore();
    }
}

void MediumRecords::MenNumProMedTypClick()
{
    CallDoor(m_doors.resetInsertFocus);
    engine::Table &t1 = *m_sets.Table1;
    engine::Table &t11 = *m_sets.Table11;
    const OpenStates before(m_sets);
    auto dropIndex = [&before](engine::Table &t) {
        reopen(t, true, false);
        t.setIndexName(QString());
        try {
            t.deleteIndex(NrExclIndexName);
        } catch (const engine::EngineError &) {
            // No such index: nothing to drop.
        }
        reopen(t, false, before.readOnly(&t));
    };
    try {
        t1.close();
        dropIndex(t11);
        t1.setIndexName(QString());
        t1.open(); // its after-open step checks "per kind"
        if (engine::Table *t2 = m_sets.Table2) {
            engine::Table *film = m_sets.filmTable;
            const bool filmWasOpen = film && film->active();
            if (film)
                film->close();
            dropIndex(*t2);
            if (film)
                film->setIndexName(QString());
            if (filmWasOpen)
                film->open();
        }
    } catch (const engine::EngineError &e) {
        showError(kErrorCaption, e.message());
        before.restore();
    }
    if (!m_acrossAll)
        setMenu(NumberingMenuState::PerKind);
}

void MediumRecords::Men_dvd_kk_nur1filmClick()
{
    dvdKkNur1Film = !dvdKkNur1Film;
    // The window's setting, which the film slots and the saved settings read,
    // follows before either is brought up to date.
    dvd_kk_nur1film = dvdKkNur1Film;
    CallDoor(m_doors.filmsChanged);
    SaveSettings();
}

// ---- events of Table1 ----

void MediumRecords::Table1BeforeInsert(engine::DataSet &ds)
{
    const QString shown = ds.isEmpty() ? QString() : ds.fieldByName(QStringLiteral("Medium"))->asString();
    NewKind = CutKind(shown);
    NewNr = NextFreeNumber(NewKind);
}

void MediumRecords::Table1NewRecord(engine::DataSet &ds)
{
    ds.fieldByName(QStringLiteral("Nr"))->setAsInteger(NewNr);
    ds.fieldByName(QStringLiteral("Medium"))->setAsString(NewKind);
}

void MediumRecords::DBMedChange(const QString &text)
{
    engine::Table *t = m_sets.Table1;
    if (!t || t->state() != engine::DataSetState::Insert)
        return;
    const NextNumber n = NextFreeNumberOrError(text);
    if (!n.ok()) {
        showMessage(kErrorCaption, n.error);
        return;
    }
    t->fieldByName(QStringLiteral("Nr"))->setAsInteger(n.number);
}

void MediumRecords::Table1BeforeEdit(engine::DataSet &ds)
{
    OldKind = ds.fieldByName(QStringLiteral("Medium"))->asString();
    OldNr = ds.fieldByName(QStringLiteral("Nr"))->asInteger();
    editing = true;
}

void MediumRecords::Table1BeforeCancel(engine::DataSet &)
{
    editing = false;
}

void MediumRecords::restoreOldKey(engine::DataSet &ds)
{
    // The old kind was valid when the edit began: no one-film check for it.
    const QScopedValueRollback<bool> restoring(m_restoringKey, true);
    ds.fieldByName(QStringLiteral("Medium"))->setAsString(OldKind);
    ds.fieldByName(QStringLiteral("Nr"))->setAsInteger(OldNr);
}

void MediumRecords::Table1MediumValidate(engine::Field &field)
{
    // "FILM", "KASS" and "PERS" name caption sets of their own: a kind of
    // that name would read and overwrite them.
    if (IsReservedCaptionSet(field.asString())) {
        showMessage(kErrorCaption, ReservedKindText(field.asString()));
        engine::abortSilently();
    }
    if (!editing || m_restoringKey || !dvdKkNur1Film || !IsOneFilmKind(field.asString()))
        return;
    const qint64 films = recordsql::count(
        session(),
        QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Medium = ?1 COLLATE BINARY AND KassNr = ?2")
            .arg(filmRef()),
        {OldKind, OldNr});
    if (KindChangeRefused(field.asString(), int(films), dvdKkNur1Film)) {
        showMessage(kErrorCaption, OneFilmRuleText());
        engine::abortSilently();
    }
}

void MediumRecords::Table1BeforePost(engine::DataSet &ds)
{
    engine::Field *nrField = ds.fieldByName(QStringLiteral("Nr"));
    engine::Field *kindField = ds.fieldByName(QStringLiteral("Medium"));
    if (editing) {
        const bool nrChanged = nrField->asInteger() != OldNr;
        const bool kindChanged = kindField->asString() != OldKind;
        if (nrChanged || kindChanged) {
            bool rename = true;
            if (!MediumKeyUnused()) {
                showMessage(kErrorCaption, KeyTakenText(kindChanged, nrChanged));
                restoreOldKey(ds);
                engine::abortSilently();
            }
            if (kindChanged
                && AppMessage(KindChangeQuestion(OldKind, kindField->asString()),
                              QString::fromUtf8(kKindChangeCaption), platform::MessageIcon::Warning,
                              platform::MessageButtons::YesNo)
                       != mrYes) {
                restoreOldKey(ds);
                rename = false;
            }
            if (rename) {
                FilmTableLock lock(filmLockTable(), networkMode, FilmLockPurpose::KeyChange);
                if (lock.failed())
                    engine::abortSilently();
                // The medium's new key and its films' in one transaction; the
                // data set's own write that follows updates the same row.
                engine::Session::Transaction tx(session());
                recordsql::change(mediaTable(),
                                  QStringLiteral("UPDATE %1 SET Medium = ?1, Nr = ?2 WHERE "
                                                 "Medium = ?3 COLLATE BINARY AND Nr = ?4")
                                      .arg(mediaRef()),
                                  {kindField->asString(), nrField->asInteger(), OldKind, OldNr});
                RenameMediumFilms();
                tx.commit();
            }
        }
    }
    editing = false;

    if (LendingDateNeedsCorrection(!ds.fieldByName(QStringLiteral("Verleihdatum"))->isNull(),
                                   ds.fieldByName(QStringLiteral("Verliehen"))->asString())) {
        showMessage(kLendingCorrectionCaption, QString::fromUtf8(kLendingCorrectionText));
        ds.fieldByName(QStringLiteral("Verleihdatum"))->clear();
    }
    if (!HasTapeArithmetic(kindField->asString()))
        ds.fieldByName(QStringLiteral("Len"))->setAsInteger(0);
}

void MediumRecords::Table1BeforeDelete(engine::DataSet &ds)
{
    // The whole table counts, not what a filter lets the card show.
    const qint64 media =
        recordsql::count(session(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(mediaRef()));
    if (LastMediumDeleteRefused(media))
        engine::raise(engine::ErrGeneral, QString::fromUtf8(kLastMediumText));

    FilmTableLock lock(filmLockTable(), networkMode, FilmLockPurpose::MediumDelete);
    if (lock.failed())
        engine::abortSilently();
    const QString kind = ds.fieldByName(QStringLiteral("Medium"))->asString();
    const int nr = ds.fieldByName(QStringLiteral("Nr"))->asInteger();
    // The films go here; the data set deletes the medium itself right after,
    // in the same transaction, so a failure leaves both in place.
    engine::Session::Transaction tx(session());
    recordsql::change(filmsTable(),
                      QStringLiteral("DELETE FROM %1 WHERE Medium = ?1 COLLATE BINARY AND "
                                     "KassNr = ?2")
                          .arg(filmRef()),
                      {kind, nr});
    tx.commit();
}

void MediumRecords::TableAfterPost(engine::DataSet &)
{
    if (m_doors.afterPostRefresh && m_sets.Table1 && m_sets.Table1->active() && m_sets.Table2
        && m_sets.Table2->active())
        m_doors.afterPostRefresh();
}

void MediumRecords::TableAfterDelete(engine::DataSet &)
{
    gapCache.clear();
    CallDoor(m_doors.afterDeleteRefresh);
}
