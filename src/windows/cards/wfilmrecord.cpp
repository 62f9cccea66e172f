// The film card's record handling: the title list and the copy from an

// existing film, the duplicate check, the person fields, the post, edit and
// delete handlers, the printed-label question and the close.
#include "windows/cards/wfilm.h"
#include "windows/cards/freefieldtypeahead.h"

#include "app/settings.h"
#include "data/filmcard.h"
#include "data/filmpersons.h"
#include "data/freefieldlabels.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/msgboxmetal.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/labels/printedflag.h"
#include "windows/cards/tdasknewperson.h"
#include "windows/main/mainform.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wpers.h"
#include "windows/dialogs/windowparts.h"

#include <QApplication>
#include <QScopedValueRollback>

using windowparts::showEngineError;
using windowparts::editingState;

namespace {
QString text(const engine::DataSet &t, const QString &field)
{
    const engine::Field *f = t.findField(field);
    return f ? f->asString() : QString();
}

FilmAttachmentState attachmentState(const engine::DataSet &t)
{
    FilmAttachmentState s;
    s.memoEmpty = text(t, QStringLiteral("Memo")).isEmpty();
    const engine::Field *g = t.findField(QStringLiteral("Grafik"));
    s.pictureEmpty = !g || g->isNull() || g->value().toByteArray().isEmpty();
    for (int i = 0; i < 15; ++i)
        s.freeEmpty[i] = text(t, QStringLiteral("Free%1").arg(i + 1)).isEmpty();
    return s;
}
} // namespace

bool TWFilm::isPersonField(int nr) const
{
    return GetFilmFreeIsPerson(nr);
}

bool TWFilm::postPending()
{
    return windowparts::postRecord(Table1, QStringLiteral("Der Film"));
}

void TWFilm::clearFreeLists()
{
    for (dbui::DbComboBox *c : DBEF)
        EmptyValueList(c);
}

// ---- title, subtitle and duplicates -------------------------------------------------

void TWFilm::DBETitelDropDown()
{
    if (!Table1 || !Table1->active())
        return;
    const QString typed = DBETitel->text();
    QStringList titles;
    try {
        titles = TitleProposals(*Table1, typed);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    DBETitel->blockSignals(true);
    DBETitel->clear();
    DBETitel->addItems(titles);
    DBETitel->setText(typed);
    DBETitel->blockSignals(false);
    TitleListOpen = !titles.isEmpty();
}

void TWFilm::DBETitelPicked()
{
    if (!TitleListOpen || !Table1 || !Table1->active())
        return;
    TitleListOpen = false;
    QStringList subs;
    try {
        subs = SubtitlesOfTitle(*Table1, DBETitel->text());
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return;
    }
    DBESub->blockSignals(true);
    DBESub->clear();
    DBESub->addItems(subs);
    DBESub->blockSignals(false);
    if (subs.isEmpty()) {
        if (editingState(Table1))
            Table1->fieldByName(QStringLiteral("Untertitel"))->clear();
        SubListOpen = false;
        CopyFilmDataFromExisting();
    } else {
        SubListOpen = true;
        DBESub->setText(QString());
    }
}

void TWFilm::DBESubPicked()
{
    if (!SubListOpen)
        return;
    SubListOpen = false;
    CopyFilmDataFromExisting();
}

void TWFilm::CopyFilmDataFromExisting()
{
    if (!Table1 || Table1->state() != engine::DataSetState::Insert)
        return;
    DataSource1->updateRecord();
    const QString title = text(*Table1, QStringLiteral("Titel"));
    const QString sub = text(*Table1, QStringLiteral("Untertitel"));
    if (title.isEmpty())
        return;
    if (kit::messageBox(QStringLiteral("Sie haben den Titel eines existierenden Films in diesen neuen Datensatz "
                                       "übernommen.\nSollen auch alle anderen Einträge des ausgewählten Films in "
                                       "diese Karteikarte kopiert werden?"),
                        QStringLiteral("Filmdaten kopieren?"), kit::MsgButtons::YesNo, kit::BoxIcon::Question)
        != mrYes)
        return;
    try {
        engine::Query q;
        QStringList sql{QStringLiteral("SELECT * FROM ") + SQLTableRef(Table1->tableName()) + QStringLiteral(" WHERE"),
                        QStringLiteral("Titel = :Titel")};
        if (!sub.isEmpty())
            sql << QStringLiteral("AND Untertitel = :Untertitel");
        q.setSql(sql);
        q.paramByName(QStringLiteral("Titel")).setAsString(title);
        if (!sub.isEmpty())
            q.paramByName(QStringLiteral("Untertitel")).setAsString(sub);
        q.open();
        if (q.isEmpty()) {
            q.close();
            ShowMetalMessage(QStringLiteral("Fehler"), QStringLiteral("Der Film wurde nicht gefunden..."), true);
            return;
        }
        const QString kind = text(*Table1, QStringLiteral("Medium")).trimmed();
        QStringList fields{QStringLiteral("Len")};
        if (kind != QLatin1String("DVD") && kind != QLatin1String("VHS-KK"))
            fields << QStringLiteral("LP") << QStringLiteral("MW");
        fields << QStringLiteral("Wide") << QStringLiteral("SW") << QStringLiteral("Wertung") << QStringLiteral("Ton")
               << QStringLiteral("Kateg");
        for (int i = 1; i <= 15; ++i)
            fields << QStringLiteral("Free%1").arg(i);
        fields << QStringLiteral("Memo") << QStringLiteral("Grafik");
        for (const QString &name : fields) {
            engine::Field *from = q.findField(name);
            engine::Field *to = Table1->findField(name);
            if (from && to)
                to->setValue(from->value());
        }
        q.close();
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

bool TWFilm::IsFilmUnique()
{
    if (!Table1 || !Table1->active())
        return true;
    DataSource1->updateRecord();
    FilmKey self;
    if (Table1->state() == engine::DataSetState::Edit)
        self = {text(*Table1, QStringLiteral("Medium")), Table1->fieldByName(QStringLiteral("KassNr"))->asInteger(),
                Table1->fieldByName(QStringLiteral("FilmNr"))->asInteger()};
    try {
        return ::IsFilmUnique(*Table1, text(*Table1, QStringLiteral("Titel")), text(*Table1, QStringLiteral("Untertitel")),
                              self);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        return true;
    }
}

void TWFilm::TitleExit()
{
    if (editingState(Table1))
        SpBTitelDoppelt->setVisible(!IsFilmUnique());
}

void TWFilm::SpBTitelDoppeltClick()
{
    kit::messageBox(DuplicateTitleMessage(DBESub->text()), QStringLiteral("Film doppelt?"), kit::MsgButtons::Ok,
                    kit::BoxIcon::Information);
}

// ---- person fields ----------------------------------------------------------------------

void TWFilm::PersonFieldDropDown(int nr)
{
    dbui::DbComboBox *c = DBEF[size_t(nr - 1)];
    if (!isPersonField(nr) || !PersTable || !PersTable->active())
        return;
    const QString current = c->text();
    bool listed = false;
    for (int i = 0; i < c->count(); ++i)
        listed = listed || c->itemText(i) == current;
    if (c->count() > 0 && listed && !IsJumpEntry(current))
        return;
    QStringList items;
    try {
        items = BuildPersonList(PersonNames(*PersTable), current);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
    c->blockSignals(true);
    c->clear();
    c->addItems(items);
    c->setText(IsJumpEntry(current) ? QString() : current);
    c->blockSignals(false);
}

void TWFilm::PersonFieldExit(int nr)
{
    // One question at a time: the box itself takes the focus from the field.
    if (m_askingPerson || !isPersonField(nr) || !editable() || !editingState(Table1) || !PersTable
        || !PersTable->active())
        return;
    const QString name = DBEF[size_t(nr - 1)]->text();
    if (name.isEmpty() || IsJumpEntry(name) || !OldPersonName[size_t(nr - 1)].isEmpty()
        || DeclinedPersonName[size_t(nr - 1)] == name)
        return;
    const QScopedValueRollback<bool> asking(m_askingPerson, true);
    try {
        if (PersonExists(*PersTable, name))
            return;
        if (kit::messageBox(QStringLiteral("Sie haben hier einen neuen Namen in ein Personen-Feld eingetragen: ") + name
                                + QStringLiteral("\nSoll in der Personenkartei eine neue Karteikarte für diesen Namen "
                                                 "angelegt werden?"),
                            QStringLiteral("Neue Person erfassen?"), kit::MsgButtons::YesNo, kit::BoxIcon::Question)
            != mrYes) {
            // The post does not ask about this name again.
            DeclinedPersonName[size_t(nr - 1)] = name;
            return;
        }
        if (!Mainform) {
            InsertPersonName(*PersTable, name);
            return;
        }
        // The new card shows beside the film card, which keeps the keyboard:
        // the user goes on typing the film.
        TWPers *card = BoundPersonCard(*Mainform);
        card->InsertPerson(name);
        card->ShowPerson(QString(), false);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

// ---- the record's events ----------------------------------------------------------------

void TWFilm::Table1BeforePost(engine::DataSet &ds)
{
    m_posting = true;
    struct Reset {
        bool &b;
        ~Reset() { b = false; }
    } reset{m_posting};
    if (ds.state() == engine::DataSetState::Insert && !IsFilmUnique()
        && kit::messageBox(QStringLiteral("Es existiert bereits ein Film mit diesem Titel und Untertitel in der "
                                          "Datenbank, Sie erfassen also anscheinend einen Film doppelt."),
                           QStringLiteral("Film doppelt?"), kit::MsgButtons::OkCancel, kit::BoxIcon::Information)
            != mrOk)
        engine::abortSilently();
    NewPersonRequested = false;
    if (!PersTable || !PersTable->active())
        return;
    QList<PersonFieldEntry> fields;
    for (int n = 1; n <= 15; ++n) {
        const QString name = text(ds, QStringLiteral("Free%1").arg(n));
        if (isPersonField(n) && !name.isEmpty())
            fields.append({n, StripAmpersands(GetFilmFreeLabel(n)), name, OldPersonName[size_t(n - 1)],
                           DeclinedPersonName[size_t(n - 1)] == name});
    }
    if (fields.isEmpty())
        return;
    const PersonPlan plan = PlanPersonChanges(
        fields, [this](const QString &n) { return PersonExists(*PersTable, n); },
        [](const QString &caption, const QString &oldName, const QString &newName) {
            int choice = -1;
            return ExecAskNewPerson(caption, oldName, newName, choice) ? choice : int(prcCancel);
        },
        [](const QString &caption, const QString &name) {
            return int(kit::messageBox(NewPersonQuestion(caption, name), QStringLiteral("Neue Person erfassen?"),
                                       kit::MsgButtons::YesNoCancel, kit::BoxIcon::Question));
        });
    if (plan.aborted)
        engine::abortSilently();
    // In the film's own transaction: a refused rename fails the whole post.
    ApplyPersonPlan(*PersTable, plan, Table1);
    NewPersonRequested = !plan.newPersons.isEmpty();
    NewPersonName = plan.newPersons.value(0);
}

void TWFilm::Table1AfterPost(engine::DataSet &ds)
{
    clearFreeLists();
    for (QString &n : DeclinedPersonName)
        n.clear();
    if (PersTable && PersTable->active())
        PersTable->refresh();
    if (NewPersonRequested && Mainform) {
        // The new person card, for the user to complete.
        NewPersonRequested = false;
        ShowPersonCard(*Mainform, NewPersonName);
    }
    if (LabelChanged) {
        LabelChanged = false;
        askLabelPrinted(text(ds, QStringLiteral("Medium")), ds.fieldByName(QStringLiteral("KassNr"))->asInteger(),
                        LabelChangedQuestion);
    }
    if (OnFilmsChanged)
        OnFilmsChanged();
}

void TWFilm::Table1BeforeEdit(engine::DataSet &ds)
{
    LabelChanged = false;
    const FilmAttachmentState s = attachmentState(ds);
    MemoWasEmpty = s.memoEmpty;
    NoAnhData = s.allEmpty();
    for (int n = 1; n <= 15; ++n) {
        OldPersonName[size_t(n - 1)] = text(ds, QStringLiteral("Free%1").arg(n));
        DeclinedPersonName[size_t(n - 1)].clear();
    }
}

void TWFilm::Table1AfterInsert(engine::DataSet &)
{
    LabelChanged = false;
    MemoWasEmpty = NoAnhData = true;
    for (QString &n : OldPersonName)
        n.clear();
    for (QString &n : DeclinedPersonName)
        n.clear();
}

void TWFilm::Table1BeforeDelete(engine::DataSet &ds)
{
    if (!FilmDeleteAllowed(ds.recordCount())) {
        ShowMetalMessage(QStringLiteral("Fehler"), OnlyFilmMessage, true);
        engine::abortSilently();
    }
    DelKind = text(ds, QStringLiteral("Medium")).left(6);
    DelNr = ds.fieldByName(QStringLiteral("KassNr"))->asInteger();
}

void TWFilm::Table1AfterDelete(engine::DataSet &)
{
    if (DelKind == QLatin1String("VHS-SB") || DelKind == QLatin1String("VHS-KK"))
        askLabelPrinted(DelKind, DelNr, FilmDeletedQuestion);
    if (OnFilmsChanged)
        OnFilmsChanged();
}

void TWFilm::askLabelPrinted(const QString &kind, int nr, const QString &question)
{
    if (PFClearNever || !MediaTable || !MediaTable->active())
        return;
    try {
        const TMediumNrPairCollection pairs = SingleMediumPairs(kind, nr);
        if (TestPrintedFlag(*MediaTable, {&pairs, {}}, true, true))
            AutoClearPrintedFlag(*MediaTable, {&pairs, {}}, question);
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

void TWFilm::DataSource1DataChange(engine::Field *field)
{
    if (!field) {
        SpBTitelDoppelt->hide();
        UpdateFilmWindowCaption();
        return;
    }
    if (LabelChanged || !editingState(Table1) || field->isCalculated())
        return;
    LabelChanged = LabelRelevantChange(field->fieldName(), CurrentLabelSettings(), MemoWasEmpty, NoAnhData,
                                       attachmentState(*Table1));
}

void TWFilm::FormDeactivate()
{
    tOzoFormMetal::FormDeactivate();
    // A box or dialog the card opens in the middle of a change (a person
    // question, the running-time dialog) is part of that change: the film is
    // posted when the user leaves the card, never behind the box.
    if (m_posting || m_askingPerson || QApplication::activeModalWidget() || DBETitel->text().isEmpty())
        return;
    postPending();
}

void TWFilm::FormClose(TCloseAction &action)
{
    if (!editingState(Table1)) {
        action = caHide;
        return;
    }
    DataSource1->updateRecord();
    if (!text(*Table1, QStringLiteral("Titel")).isEmpty()) {
        action = postPending() ? caHide : caNone;
        return;
    }
    const bool inserting = Table1->state() == engine::DataSetState::Insert;
    const int answer = inserting
        ? kit::messageBox(MissingTitleOnInsert, QStringLiteral("Film-Titel fehlt!"), kit::MsgButtons::YesNo,
                          kit::BoxIcon::Warning)
        : kit::messageBox(MissingTitleOnEdit, QStringLiteral("Film-Titel fehlt!"), kit::MsgButtons::YesNoCancel,
                          kit::BoxIcon::Question, 2);
    action = caNone;
    try {
        switch (EmptyTitleCloseAction(inserting, answer)) {
        case EmptyTitleClose::KeepOpen:
            return;
        case EmptyTitleClose::CancelInsertAndClose:
        case EmptyTitleClose::CancelEdit:
            Table1->cancel();
            action = caHide;
            return;
        case EmptyTitleClose::DeleteFilm:
            Table1->cancel();
            Table1->deleteRecord();
            action = caHide;
            return;
        case EmptyTitleClose::Close:
            action = caHide;
            return;
        }
    } catch (const engine::Abort &) {
        action = caHide; // the delete was refused; the film keeps its old title
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}
