// The remaining-time calculation and the tape operations of MediumRecords.
#include "data/mediumrecords.h"

#include "data/filmtablelock.h"
#include "data/recordsql.h"
#include "engine/session.h"
#include "engine/table.h"
#include "app/appmessage.h"

RestAndMaxFree MediumRecords::CalcRestAndMaxFree(bool onCard)
{
    engine::Table *t = onCard ? m_sets.Table1 : m_sets.Table11;
    if (!t || !t->active())
        return {};
    return CalcRestAndMaxFreeOf(*t);
}

RestAndMaxFree MediumRecords::CalcRestAndMaxFreeOf(engine::DataSet &media)
{
    const QString kind = media.fieldByName(QStringLiteral("Medium"))->asString();
    if (!HasTapeArithmetic(kind) || !m_sets.Table2 || !m_sets.Table2->active())
        return {};
    const int nr = media.fieldByName(QStringLiteral("Nr"))->asInteger();
    const int capacity = media.fieldByName(QStringLiteral("Len"))->asInteger();
    // Read through a statement of its own: Table2 and the film window stay put.
    return ::CalcRestAndMaxFree(kind, capacity, m_filmReader.read(*m_sets.Table2, CutKind(kind), nr),
                                rest1to5);
}

void MediumRecords::Table1CalcFields(engine::DataSet &media)
{
    const RestAndMaxFree r = CalcRestAndMaxFreeOf(media);
    media.fieldByName(QStringLiteral("bRest"))->setAsInteger(ClampToInt16(r.rest));
    media.fieldByName(QStringLiteral("bMaxFree"))->setAsInteger(ClampToInt16(r.maxFree));
}

void MediumRecords::DeclareMediaCalcFields(engine::DataSet &media)
{
    if (!media.findField(QStringLiteral("bRest")))
        media.addCalcField(QStringLiteral("bRest"), engine::FieldType::SmallInt);
    if (!media.findField(QStringLiteral("bMaxFree")))
        media.addCalcField(QStringLiteral("bMaxFree"), engine::FieldType::SmallInt);
}

bool MediumRecords::shownMedium(QString *kind, int *nr) const
{
    engine::Table *t = m_sets.Table1;
    if (!t || !t->active() || t->isEmpty())
        return false;
    *kind = CutKind(t->fieldByName(QStringLiteral("Medium"))->asString());
    *nr = t->fieldByName(QStringLiteral("Nr"))->asInteger();
    return true;
}

void MediumRecords::refreshFilmSets()
{
    for (engine::Table *t : {m_sets.filmTable, m_sets.Table2}) {
        if (t && t->active()) {
            t->checkBrowseMode();
            t->refresh();
        }
    }
}

bool MediumRecords::beginTapeOperation(QString *kind, int *nr, std::optional<FilmTableLock> &lock)
{
    if (!shownMedium(kind, nr))
        return false;
    lock.emplace(filmLockTable(), networkMode, FilmLockPurpose::TapeOperation);
    return !lock->failed();
}

void MediumRecords::applyToShownMedium(const QString &kind, int nr, const FilmSteps &steps,
                                       bool redraw)
{
    // A pending edit of the film card goes to disk first, so the statements
    // below see it and the refresh afterwards does not lose it.
    if (m_sets.filmTable && m_sets.filmTable->active())
        m_sets.filmTable->checkBrowseMode();
    {
        engine::Session::Transaction tx(session());
        recordsql::applyFilmSteps(filmsTable(), kind, nr, steps);
        tx.commit();
    }
    refreshFilmSets();
    if (redraw) {
        m_sets.Table1->refresh();
        CallDoor(m_doors.filmsChanged);
    }
}

bool MediumRecords::SplitFreeArea(int filmNr, int area)
{
    QString kind;
    int nr = 0;
    std::optional<FilmTableLock> lock;
    if (!beginTapeOperation(&kind, &nr, lock))
        return false;
    int minutes = 90;
    bool longPlay = false;
    if (!m_doors.execSplitFreeDialog || !m_doors.execSplitFreeDialog(minutes, longPlay))
        return false;
    const QList<TapeFilm> films = recordsql::readFilms(filmsTable(), kind, nr);
    if (LastConsecutiveFilmNr(films, filmNr) < filmNr)
        return false;
    const std::optional<FilmSteps> steps = SplitFreeAreaSteps(films, filmNr, area, minutes, longPlay);
    if (!steps) {
        AppNotice(QString::fromUtf8(kSplitImpossibleCaption),
           QString::fromUtf8(kSplitImpossibleText));
        return false;
    }
    applyToShownMedium(kind, nr, *steps, true);
    // The card goes to the first part, which the message below names.
    if (m_doors.showFilmWindow)
        m_doors.showFilmWindow(filmNr);
    AppNotice(QString::fromUtf8(kSplitDoneCaption), QString::fromUtf8(kSplitDoneText));
    return true;
}

bool MediumRecords::JoinFreeArea(int filmNr)
{
    QString kind;
    int nr = 0;
    std::optional<FilmTableLock> lock;
    if (!beginTapeOperation(&kind, &nr, lock))
        return false;
    const std::optional<FilmSteps> steps =
        JoinFreeAreaSteps(recordsql::readFilms(filmsTable(), kind, nr), filmNr);
    if (!steps)
        return false;
    applyToShownMedium(kind, nr, *steps, true);
    return true;
}

bool MediumRecords::SpB5PushDownClick()
{
    QString kind;
    int nr = 0;
    std::optional<FilmTableLock> lock;
    if (!beginTapeOperation(&kind, &nr, lock))
        return false;
    if (AppMessage(PushDownQuestionText(), QString::fromUtf8(kPushDownCaption), platform::MessageIcon::Warning,
                   platform::MessageButtons::OkCancel, 1)
        != mrOk)
        return false;
    const FilmSteps steps = PushDownSteps(recordsql::readFilms(filmsTable(), kind, nr));
    if (steps.isEmpty())
        return false;
    applyToShownMedium(kind, nr, steps, true);
    return true;
}

bool MediumRecords::SpBFinalizeClick()
{
    engine::Table *t = m_sets.Table1;
    if (!t || !t->active() || t->isEmpty())
        return false;
    const bool beganHere = t->state() == engine::DataSetState::Browse;
    if (beganHere)
        t->edit();
    const RestAndMaxFree r = CalcRestAndMaxFreeOf(*t);
    engine::Field *len = t->fieldByName(QStringLiteral("Len"));
    len->setAsInteger(FinalisedCapacity(len->asInteger(), r.rest));
    if (beganHere)
        t->post();
    return true;
}

bool MediumRecords::moveFilm(int from, int to)
{
    QString kind;
    int nr = 0;
    if (!shownMedium(&kind, &nr))
        return false;
    const QList<TapeFilm> films = recordsql::readFilms(filmsTable(), kind, nr);
    if (LastConsecutiveFilmNr(films, from) < from)
        return false;
    applyToShownMedium(kind, nr, {FilmStep::renumber(from, to)}, false);
    return true;
}

bool MediumRecords::RenumberFilmUp(int filmNr)
{
    return moveFilm(filmNr, filmNr + 1);
}

bool MediumRecords::RenumberFilmDown(int filmNr)
{
    return moveFilm(filmNr, filmNr - 1);
}
