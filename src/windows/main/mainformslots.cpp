// The main window's film slots, the film table under the card, the
// percentage bar, the status line, and the commands on the shown films.
#include "windows/main/mainform.h"
#include "windows/main/mainformparts.h"

#include "app/settings.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "data/mediumrecords.h"
#include "data/recordsql.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "dbui/dbtext.h"
#include "dbui/errorsink.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/lockbutton.h"
#include "kit/presenter.h"
#include "kit/enterexitbutton.h"
#include "kit/pzspeedbutton.h"
#include "windows/cards/filmcardhooks.h"
#include "windows/cards/mediumkind.h"

#include <QFrame>
#include <QLabel>

using namespace mainparts;

// ---- film slots ---------------------------------------------------------------------

namespace {

CardFilm readCardFilm(engine::DataSet &ds)
{
    CardFilm f;
    f.filmNr = ds.fieldByName(QStringLiteral("FilmNr"))->asInteger();
    f.titel = ds.fieldByName(QStringLiteral("Titel"))->asString();
    f.untertitel = ds.fieldByName(QStringLiteral("Untertitel"))->asString();
    f.len = ds.fieldByName(QStringLiteral("Len"))->asInteger();
    f.lp = ds.fieldByName(QStringLiteral("LP"))->asBoolean();
    f.mw = ds.fieldByName(QStringLiteral("MW"))->asBoolean();
    f.frei = ds.fieldByName(QStringLiteral("Frei"))->asBoolean();
    f.anyFreeField = anyFilled(ds, "Free", 15);
    f.hasMemo = blobFilled(ds, "Memo");
    f.hasPicture = blobFilled(ds, "Grafik");
    return f;
}

// The number of the medium's last film (0: none), also past a gap.
int highestFilmNr(const engine::Table &films, const QString &kind, int nr)
{
    int last = 0;
    for (const TapeFilm &f : recordsql::readFilms(films, kind, nr))
        last = std::max(last, f.filmNr);
    return last;
}

} // namespace

void TMainform::ShowMediumFilms()
{
    const bool open = Table1->active() && Table2->active() && !Table1->isEmpty();
    QString kind;
    int nr = 0;
    const bool hasFilms = filmsKey(kind, nr);
    const bool editing = Editing();
    // 1. The cover panels of bought cassettes and DVDs, by the kind as shown.
    const QString k6 = CutKind(shownKind());
    PanelKauf->setVisible(open && k6 == QLatin1String("VHS-KK"));
    PanelDVD->setVisible(open && k6 == QLatin1String("DVD"));
    const bool lengthShown = open && HasTapeArithmetic(k6);
    for (QWidget *w : {static_cast<QWidget *>(LabelLen), static_cast<QWidget *>(DBLen),
                       static_cast<QWidget *>(LabelMin), static_cast<QWidget *>(LabelRest),
                       static_cast<QWidget *>(DBTRest), static_cast<QWidget *>(LabelMaxFree),
                       static_cast<QWidget *>(DBTMaxFree)})
        w->setVisible(lengthShown || !open);
    for (TPZSpeedButton *b : SpBSplitFree)
        b->hide();
    SpBFilmDel->hide();
    SpBJoinFree->hide();
    SpB5PushDown->hide();
    SlotFilmNr.fill(0);
    if (!open) {
        if (QueryFL->active())
            QueryFL->close();
        for (int s = 0; s < 5; ++s) {
            Film[s]->hide();
            Image[s]->hide();
            SpBNotes[s]->hide();
        }
        ButtNewFilm->hide();
        BUp->hide();
        BDown->hide();
        UpdatePercentBar();
        MarkFilmSlot(0);
        return;
    }
    const MainDataSets sets = DataSets();
    // 2. An offset past the films falls back to 0.
    if (SlotOffset > 0 && !LocateFilm(sets, kind, nr, SlotOffset + 1, false))
        SlotOffset = 0;
    // 3. The slots from 5 down to 1.
    int lastFilmSlot = 0;
    int joinSlot = 0;
    bool nextIsFree = false;
    bool nextExists = false;
    for (int s = 5; s >= 1; --s) {
        const int i = s - 1;
        const int f = SlotOffset + s;
        if (!hasFilms || !LocateFilm(sets, kind, nr, f, false)) {
            Film[i]->hide();
            Image[i]->hide();
            SpBNotes[i]->hide();
            Image[i]->setProperty("Tag", 0);
            nextIsFree = false;
            nextExists = false;
            continue;
        }
        if (!lastFilmSlot)
            lastFilmSlot = s;
        SlotFilmNr[size_t(i)] = f;
        const CardFilm film = readCardFilm(*Table2);
        Image[i]->setText(QString::number(f));
        QPalette pal = Image[i]->palette();
        pal.setColor(QPalette::WindowText, platform::toQColor(FilmNumberColor(f)));
        Image[i]->setPalette(pal);
        Image[i]->show();
        Film[i]->setToolTip(FilmSlotHint(film));
        const SlotCaption cap = FilmSlotCaption(film, FreeStrikeOut);
        Film[i]->SetCaption(QString(cap.text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        Film[i]->setProperty("CaptionText", cap.text);
        QFont ff = m_slotFont;
        ff.setStrikeOut(cap.strikeOut);
        Film[i]->setFont(ff);
        Film[i]->show();
        const int tape = TapeMinutes(film.len, film.lp);
        Image[i]->setProperty("Tag", SlotOffset == 0 ? (film.frei ? -tape : tape) : 0);
        if (film.frei) {
            SpBNotes[i]->hide();
            if (s <= 4) {
                SpBSplitFree[size_t(i)]->setProperty("Tag", tape);
                SpBSplitFree[size_t(i)]->setVisible(editing && nextExists);
            }
            if (nextIsFree)
                joinSlot = s + 1; // the second of two neighbouring free areas
        } else {
            const QString glyph = FilmNotesGlyph(film);
            SpBNotes[i]->SetGlyph(NotesPicture(glyph));
            SpBNotes[i]->setProperty("GlyphName", glyph);
            SpBNotes[i]->show();
        }
        nextIsFree = film.frei;
        nextExists = true;
    }
    // 4. Only the medium's last film can be deleted here: the button stands
    // beside its slot and shows only while that slot is on screen.
    const int lastFilmNr = hasFilms ? highestFilmNr(*Table2, kind, nr) : 0;
    SpBFilmDel->setProperty("FilmNr", 0);
    const int delSlot = lastFilmSlot && SlotFilmNr[size_t(lastFilmSlot - 1)] == lastFilmNr ? lastFilmSlot : 0;
    if (editing && delSlot) {
        const QRect g = SpBNotes[size_t(delSlot - 1)]->geometry();
        int x = g.x() + 28;
        if (delSlot <= 4 && SpBSplitFree[size_t(delSlot - 1)]->isVisibleTo(PanelKrt))
            x += 28;
        SpBFilmDel->move(std::min(x, 516), g.y());
        SpBFilmDel->setProperty("FilmNr", lastFilmNr);
        SpBFilmDel->show();
        SpBFilmDel->raise();
    }
    // 5. Join and push-down buttons.
    if (editing && joinSlot >= 2 && joinSlot <= 5) {
        SpBJoinFree->move(SpBJoinFree->x(), Film[size_t(joinSlot - 1)]->y() - 15);
        SpBJoinFree->show();
        SpBJoinFree->raise();
    }
    SpB5PushDown->setVisible(editing && Film[4]->isVisibleTo(PanelKrt) && bRest1bis4);
    // 6. The new-film button and the one-film rule.
    ButtNewFilm->setVisible(NewFilmAllowed());
    BUp->setVisible(SlotOffset > 0);
    // Further films below the five slots (also past a gap, as after a push-down).
    BDown->setVisible(lastFilmNr > SlotOffset + 5);
    // 7. The film table under the card.
    LoadFilmList();
    // 8. The percentage bar.
    UpdatePercentBar();
    // 9. The film card's film keeps its mark only on its own medium.
    ShowCurrentFilmMarker();
}

void TMainform::ShowFilmList(bool on)
{
    if (on == PanelFilmListe->isVisibleTo(this))
        return;
    const int grow = PanelFilmListe->height() + 6;
    PanelFilmListe->setVisible(on);
    resize(width(), height() + (on ? grow : -grow));
    if (on)
        LoadFilmList();
    else if (QueryFL->active())
        QueryFL->close();
}

void TMainform::LoadFilmList()
{
    if (!PanelFilmListe->isVisibleTo(this))
        return;
    guardedStep([&] {
        postPending(QueryFL.get());
        QueryFL->close();
        QString kind;
        int nr = 0;
        if (mediumEmpty() || !Table2->active() || !filmsKey(kind, nr))
            return;
        const bool editing = Editing();
        QueryFL->setSql({QStringLiteral("SELECT * FROM ") + SQLTableRef(Table2->tableName()) + QStringLiteral(" WHERE"),
                         QStringLiteral("KassNr = :Nr AND"), QStringLiteral("Medium = :Kind")});
        QueryFL->paramByName(QStringLiteral("Nr")).setAsInteger(nr);
        QueryFL->paramByName(QStringLiteral("Kind")).setAsString(kind);
        QueryFL->setRequestLive(editing);
        QueryFL->open();
        DBGridFL->setRowSelect(!editing);
        DBGridFL->setReadOnly(!editing);
    });
}

void TMainform::UpdatePercentBar()
{
    for (QFrame *f : PercentFilm)
        f->hide();
    PercentFilm6ff->hide();
    PercentUnknown->hide();
    QString kind;
    int nr = 0;
    if (mediumEmpty() || !Table2->active())
        return;
    const bool hasFilms = filmsKey(kind, nr);
    const MainDataSets sets = DataSets();
    QList<CardFilm> films;
    for (int f = 1; f <= 5 && hasFilms && LocateFilm(sets, kind, nr, f, false); ++f)
        films.append(readCardFilm(*Table2));
    const int capacity = Table1->fieldByName(QStringLiteral("Len"))->asInteger();
    int rest = 0;
    if (engine::Field *f = Table1->findField(QStringLiteral("bRest")))
        rest = f->asInteger();
    const PercentBar bar = LayoutPercentBar(PanelPercent->width(), capacity, rest, films, ATTS);
    const int h = PanelPercent->height() - 2;
    for (const PercentSegment &s : bar.films) {
        auto *shape = static_cast<PercentShape *>(PercentFilm[s.slot - 1]);
        shape->Hatched = s.freeArea;
        shape->setGeometry(1 + s.left, 1, std::max(1, s.width), h);
        shape->setToolTip(s.hint);
        shape->setVisible(s.width > 0);
        shape->update();
    }
    if (bar.unknown) {
        PercentUnknown->setGeometry(1 + bar.unknownLeft, 1, std::max(1, PanelPercent->width() - 2 - bar.unknownLeft), h);
        PercentUnknown->show();
    }
    if (bar.beyond) {
        PercentFilm6ff->setGeometry(1 + bar.beyond->left, 1, std::max(1, bar.beyond->width), h);
        PercentFilm6ff->setToolTip(bar.beyond->hint);
        PercentFilm6ff->show();
    }
}

void TMainform::UpdateStatusLine()
{
    const bool open = Table1->active();
    const StatusLine s = StatusLineTexts(open, open && Table1->filtered(), open ? Table1->recordCount() : 0,
                                         Table2->active() ? Table2->recordCount() : 0,
                                         Table1->tableName());
    Status1->setText(s.left);
    // The counts keep the room their text needs; the right part takes the
    // rest, so the filter warning fits, and a long file path is shortened
    // in its middle (the hint shows it whole).
    const int end = Status2->geometry().right();
    const int countsWidth = std::min(Status1->sizeHint().width(), (end - Status1->x()) / 2);
    Status1->resize(std::max(countsWidth, 1), Status1->height());
    const int from = Status1->x() + countsWidth + 8;
    Status2->setGeometry(from, Status2->y(), end - from + 1, Status2->height());
    Status2->setText(s.hint.isEmpty() ? s.right
                                      : Status2->fontMetrics().elidedText(s.right, Qt::ElideMiddle, Status2->width()));
    Status2->setToolTip(s.hint);
    QPalette pal = Status2->palette();
    pal.setColor(QPalette::WindowText, s.alarm ? QColor(255, 0, 0) : palette().color(QPalette::WindowText));
    Status2->setPalette(pal);
}

void TMainform::UpdateMediumNotesGlyph()
{
    QString glyph = QStringLiteral("NONOTES");
    if (!mediumEmpty())
        glyph = MediumNotesGlyph(anyFilled(*Table1, "Free", 4), blobFilled(*Table1, "Memo"));
    SpBNotesK->SetGlyph(NotesPicture(glyph));
    SpBNotesK->setProperty("GlyphName", glyph);
}

bool TMainform::filmsKey(QString &kind, int &nr) const
{
    // A medium being entered has no films yet; one being changed keeps its
    // films under the key the edit began with until the post carries them
    // over to the new key.
    switch (Table1->active() ? Table1->state() : engine::DataSetState::Inactive) {
    case engine::DataSetState::Insert:
        return false;
    case engine::DataSetState::Edit:
        kind = Records->OldKind;
        nr = Records->OldNr;
        return true;
    default:
        kind = currentKind();
        nr = currentNr();
        return true;
    }
}

// ---- film commands ---------------------------------------------------------------------

bool TMainform::NewFilmAllowed() const
{
    if (!Editing() || mediumEmpty() || !Table2->active())
        return false;
    const QString kind = currentKind();
    return !(IsOneFilmKind(kind) && dvd_kk_nur1film && LocateFilm(DataSets(), kind, currentNr(), 1, false));
}

void TMainform::NewFilmOfShownFilm()
{
    // The card goes to the film's medium first: the new film is that
    // medium's next one.
    if (!guardedStep([&] {
            postPending(FilmTable.get());
            if (FilmTable->active() && !FilmTable->isEmpty())
                LocateMediumOfCurrentFilm(DataSets());
        }))
        return;
    if (!NewFilmAllowed()) {
        if (Editing())
            kit::messageBox(QStringLiteral("Auf einer DVD oder Kaufkassette wird nur ein Film erfasst (Einstellung "
                                           "\"Nur 1 Film auf DVD oder Kaufkassette\")."),
                            QStringLiteral("Hinweis"), kit::MsgButtons::Ok,
                            kit::BoxIcon::Information);
        return;
    }
    ButtNewFilmClick();
}

void TMainform::ButtNewFilmClick()
{
    if (mediumEmpty() || !FilmTable->active())
        return;
    dbui::guarded([&] {
        postPending(Table1.get());
        const QString kind = currentKind();
        const int nr = currentNr();
        const MainDataSets sets = DataSets();
        int n = 1;
        while (LocateFilm(sets, kind, nr, n, false))
            ++n;
        if (n > SlotOffset + 5)
            SlotOffset = quint8(std::min(n - 5, 255));
        postPending(FilmTable.get());
        FilmTable->append();
        FilmTable->fieldByName(QStringLiteral("KassNr"))->setAsInteger(nr);
        FilmTable->fieldByName(QStringLiteral("Medium"))->setAsString(kind);
        FilmTable->fieldByName(QStringLiteral("FilmNr"))->setAsInteger(n);
        if (kind.startsWith(QLatin1String("DVD")))
            FilmTable->fieldByName(QStringLiteral("Ton"))->setAsString(QStringLiteral("A"));
        // The film card takes the new film over and stores it.
        ShowMediumFilms();
        OpenFilmCard(*this, false);
    }, [this](const QString &message) {
        // The new film is given up before the error shows.
        if (FilmTable->state() == engine::DataSetState::Insert)
            FilmTable->cancel();
        showDatabaseError(message);
    });
}

void TMainform::SpBFilmDelClick()
{
    const int filmNr = SpBFilmDel->property("FilmNr").toInt();
    if (filmNr <= 0 || !FilmTable->active())
        return;
    if (kit::messageBox(QStringLiteral("Diesen Film wirklich löschen?"), QStringLiteral("Bestätigen"),
                        kit::MsgButtons::YesNo, kit::BoxIcon::Question)
        != mrYes)
        return;
    guardedStep([&] {
        // Only the medium's last film: the films may have changed since the
        // button was placed.
        if (filmNr == highestFilmNr(*Table2, currentKind(), currentNr())
            && LocateFilm(DataSets(), currentKind(), currentNr(), filmNr, true))
            FilmTable->deleteRecord();
        Table2->refresh();
        Table1->refresh();
        ShowMediumFilms();
        UpdateStatusLine();
    });
}

void TMainform::SpBSplitFreeClick(int slot)
{
    if (slot < 1 || slot > 4)
        return;
    guardedStep([&] {
        Records->SplitFreeArea(SlotOffset + slot, SpBSplitFree[size_t(slot - 1)]->property("Tag").toInt());
    });
}

void TMainform::SpBJoinFreeClick()
{
    QList<int> tops;
    for (TPZSpeedButton *f : Film)
        tops << f->y();
    guardedStep([&] {
        Records->JoinFreeArea(JoinFilmNr(SpBJoinFree->y(), tops, SlotOffset));
    });
}

void TMainform::SpB5PushDownClick()
{
    guardedStep([&] {
        Records->rest1to5 = bRest1bis4;
        Records->SpB5PushDownClick();
    });
}

void TMainform::SpBFinalizeClick()
{
    guardedStep([&] {
        Records->SpBFinalizeClick();
    });
}

void TMainform::BUpClick()
{
    if (SlotOffset > 0)
        --SlotOffset;
    ShowMediumFilms();
}

void TMainform::BDownClick()
{
    if (SlotOffset < 255)
        ++SlotOffset;
    ShowMediumFilms();
}

void TMainform::ImageClick(int slot)
{
    if (slot < 1 || slot > 5 || !SlotFilmNr[size_t(slot - 1)] || !FilmTable->active())
        return;
    Film[size_t(slot - 1)]->setFocus();
    ShowFilmCard(SlotFilmNr[size_t(slot - 1)], true, false);
}

void TMainform::ShowFilmCard(int filmNr, bool card, bool attachments)
{
    bool shown = false;
    if (!guardedStep([&] {
            postPending(Table1.get());
            shown = !mediumEmpty();
            if (shown && filmNr > 0 && FilmTable->active()) {
                postPending(FilmTable.get());
                LocateFilm(DataSets(), currentKind(), currentNr(), filmNr, true);
            }
        })
        || !shown)
        return;
    if (card || attachments)
        OpenFilmCard(*this, attachments);
}

void TMainform::ButtPPPMedClick()
{
    if (Table1->readOnly() || !Table1->active()) {
        LockButton1->BlinkIfLocked();
        return;
    }
    guardedStep([&] {
        if (Table1->state() == engine::DataSetState::Browse)
            Table1->edit();
        const QPoint below = DBMed->mapToGlobal(QPoint(0, DBMed->height()));
        const QString kind = ChooseMediumKind(below.x(), below.y(), DBMed->text());
        if (kind != currentKind()) {
            if (Table1->state() == engine::DataSetState::Browse)
                Table1->edit();
            Table1->fieldByName(QStringLiteral("Medium"))->setAsString(kind);
            Records->DBMedChange(kind);
        }
    });
}
