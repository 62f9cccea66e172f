// The main window's edit lock and what follows a change of record or field.
#include "windows/main/mainform.h"
#include "windows/main/mainformparts.h"

#include "app/settings.h"
#include "data/database.h"
#include "windows/cards/freefieldcaptions.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "data/tapearithmetic.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/pzspeedbutton.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/cards/filmcardhooks.h"
#include "windows/cards/personcardhooks.h"
#include "windows/labels/printedflag.h"
#include "windows/main/whint.h"

#include <QScopedValueRollback>
#include <QLabel>

using namespace mainparts;

// ---- edit lock --------------------------------------------------------------------

bool TMainform::Editing() const
{
    return Table1->active() && !Table1->readOnly();
}

void TMainform::Flush1Click()
{
    for (engine::Table *t : {Table1.get(), FilmTable.get(), PersTable.get(), DBTables.TableLAB}) {
        if (!t || !t->active())
            continue;
        guardedStep([&] {
            t->flushBuffers();
        });
    }
}

void TMainform::SpBReadOnlyClick()
{
    if (!Table1->active()) {
        SpBReadOnly->SetDown(false);
        return;
    }
    // 1. Pending changes are posted; a refused post keeps everything as it is.
    if (!guardedStep([this] {
            for (engine::Table *t : {Table1.get(), FilmTable.get(), PersTable.get()})
                postPending(t);
        })) {
        SyncReadOnlyState();
        return;
    }
    const bool wasEditing = !Table1->readOnly();
    // 2. Switching editing off writes everything to disk first.
    if (wasEditing)
        Flush1Click();
    // 3. The positions.
    const QString kind = currentKind();
    const int nr = currentNr();
    QString filmKind, persName;
    int filmMedium = 0, filmNr = 0;
    if (FilmTable->active() && !FilmTable->isEmpty()) {
        filmKind = FilmTable->fieldByName(QStringLiteral("Medium"))->asString();
        filmMedium = FilmTable->fieldByName(QStringLiteral("KassNr"))->asInteger();
        filmNr = FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger();
    }
    if (PersTable->active() && !PersTable->isEmpty())
        persName = PersTable->fieldByName(QStringLiteral("Name"))->asString();
    // 4. Reopened with the other write flag.
    const bool readOnly = wasEditing;
    auto reopen = [readOnly](engine::Table *t) {
        const bool wasOpen = t->active();
        t->close();
        t->setReadOnly(readOnly);
        if (wasOpen)
            t->open();
    };
    guardedStep([&] {
        reopen(FilmTable.get());
        reopen(Table1.get());
        reopen(PersTable.get());
    });
    // 5. Back to the same records.
    const MainDataSets sets = DataSets();
    if (Table1->active() && !kind.isEmpty())
        LocateMedium(sets, kind, nr, true);
    if (FilmTable->active() && filmNr > 0)
        LocateFilm(sets, filmKind, filmMedium, filmNr, true);
    if (PersTable->active() && !persName.isEmpty())
        PersTable->locate(QStringLiteral("Name"), persName);
    // 6. What shows the lock; the reopen went through a close, so the status
    // line shows the counts and the file again.
    SetEditing(!Table1->readOnly());
    UpdateStatusLine();
}

void TMainform::SetEditing(bool editing)
{
    SpBReadOnly->SetDown(editing);
    MenEditieren->setChecked(editing);
    SyncReadOnlyState();
}

void TMainform::RegisterRecordWindowLock(TLockButton *button, engine::Table *table)
{
    RecordWindowLocks.append({button, table});
    if (button && table)
        button->SetLocked(!table->active() || table->readOnly());
}

void TMainform::SyncReadOnlyState()
{
    const bool editing = Editing();
    LockButton1->SetLocked(!editing);
    SpBReadOnly->SetDown(editing);
    MenEditieren->setChecked(editing);
    ButtPPPMed->setVisible(editing);
    SyncFilmCardLock(editing);
    SyncPersonCardLock(editing);
    for (const RecordWindowLock &l : RecordWindowLocks)
        if (l.button && l.table)
            l.button->SetLocked(!l.table->active() || l.table->readOnly());
    updateKindControls();
    ShowMediumFilms();
}

// ---- record and field changes -------------------------------------------------------

bool TMainform::mediumEmpty() const
{
    return !Table1->active() || Table1->isEmpty();
}

bool TMainform::mediaBrowsing() const
{
    return isBrowsing(Table1.get());
}

QString TMainform::currentKind() const
{
    if (!Table1->active())
        return QString();
    engine::Field *f = Table1->findField(QStringLiteral("Medium"));
    return f ? f->asString() : QString();
}

QString TMainform::shownKind() const
{
    // A kind being typed counts before it is written into the record.
    if (Table1->active() && DBMed->link()->isModified() && DBMed->link()->isEditing())
        return CutKind(DBMed->text());
    return currentKind();
}

int TMainform::currentNr() const
{
    if (!Table1->active())
        return 0;
    engine::Field *f = Table1->findField(QStringLiteral("Nr"));
    return f ? f->asInteger() : 0;
}

void TMainform::updateKindControls()
{
    const bool open = Table1->active();
    const QString kind = shownKind();
    const bool tape = IsTapeKind(kind);
    const bool hasSN = open && Table1->findField(QStringLiteral("SN")) && !Table1->fieldByName(QStringLiteral("SN"))->isNull();
    const bool editing = Editing();
    ImgCD->setVisible(open && !tape && hasSN);
    ButtPPPSN->setVisible(editing && !tape);
    ImgCDX->setVisible(ButtPPPSN->isVisibleTo(PanelKrt) && !hasSN);
    int rest = 0;
    if (open)
        if (engine::Field *f = Table1->findField(QStringLiteral("bRest")))
            rest = f->asInteger();
    SpBFinalize->setVisible(editing && rest >= 1 && CutKind(kind) != QLatin1String("DVD") && !tape);
}

void TMainform::DataSource1DataChange(engine::Field *field)
{
    if (m_inDataChange)
        return;
    m_inDataChange = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_inDataChange};
    const engine::DataSetState state = Table1->state();
    const QString fieldName = field ? field->fieldName() : QString();
    auto is = [&](const char *n) { return fieldName.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };

    // 1. Kind-dependent controls.
    if ((!field && (state == engine::DataSetState::Browse || state == engine::DataSetState::Insert))
        || is("Medium") || is("SN"))
        updateKindControls();
    // 2. The attachment window follows: it comes with its own part.
    // 3. A first lending.
    if (is("Verliehen") && !field->asString().trimmed().isEmpty() && ErsterVerleih && !m_programWrites)
        firstLendingHints();
    if (is("Verliehen") && !m_programWrites)
        DBVerliehenChange();
    // 4. The label-printed flag.
    if (field && !m_programWrites)
        askLabelPrinted(field);
    // 5. A new return date shows black until the record is shown again.
    if (is("Rueckgabedatum")) {
        QPalette pal = DBRueckgabedatum->palette();
        pal.setColor(QPalette::Text, Qt::black);
        DBRueckgabedatum->setPalette(pal);
    }
    // 6. A record change.
    if (!field)
        recordChanged();
}

void TMainform::recordChanged()
{
    if (Table2->active())
        ShowMediumFilms();
    updateReturnDateColour();
    const QString kind = currentKind();
    if (kind != PrevKind && DBTables.TableLAB && DBTables.TableLAB->active())
        LoadFreeFieldLabelsNow();
    PrevKind = kind;
    UpdateMediumNotesGlyph();
}

void TMainform::updateReturnDateColour()
{
    QDate back;
    if (Table1->active())
        if (engine::Field *f = Table1->findField(QStringLiteral("Rueckgabedatum")))
            back = f->asDate();
    QPalette pal = DBRueckgabedatum->palette();
    pal.setColor(QPalette::Text, platform::toQColor(ReturnDateColor(back, QDate::currentDate())));
    DBRueckgabedatum->setPalette(pal);
}

void TMainform::askLabelPrinted(engine::Field *field)
{
    if (PFClearNever || Table1->state() != engine::DataSetState::Edit)
        return;
    const QString name = field->fieldName();
    if (name.compare(QLatin1String("Gedruckt"), Qt::CaseInsensitive) == 0 || field->isCalculated()
        || name.startsWith(QLatin1Char('b')))
        return;
    engine::Field *printed = Table1->findField(QStringLiteral("Gedruckt"));
    if (!printed || (!printed->isNull() && !printed->asBoolean()))
        return;
    if (!IsLabelRelevantChange(name, currentKind(), PrintRest))
        return;
    const bool clear = AskClearPrintedFlag(
        QStringLiteral("Es wurden Daten dieses Mediums geändert, die sich auf das Etikett auswirken.\\lb"
                       "\\BSoll daher das \\I\"Etikett gedruckt\"-Feld\\i gelöscht werden?"));
    if (clear) {
        const QScopedValueRollback<bool> own(m_programWrites, true);
        printed->setAsBoolean(false);
    }
}

void TMainform::firstLendingHints()
{
    ShowPointingHintAt(ToolBar1, 160, 1,
                     QStringLiteral("Sie erfassen anscheinend gerade Ihren ersten Verleih.\\lb\\UDazu folgender "
                                    "Hinweis:\\u\\lbUnter Menü \\BEinstellungen | Verleih-Einstellungen\\b können "
                                    "Sie eine \\IRegel-Verleihzeit\\i einstellen, aufgrund derer eine \\IMahnliste\\i "
                                    "erstellt werden kann, auf Wunsch auch automatisch bei Programmstart."));
    ShowPointingHintAt(DBVerliehen, DBVerliehen->width() + 4, DBVerliehen->height() / 2,
                     QStringLiteral("Mit diesem Symbol rechts von der Verliehen-Zeile können Sie jederzeit nach "
                                    "verliehenen Medien suchen. Es stehen verschiedene Suchmöglichkeiten zur "
                                    "Verfügung, darunter auch die besagte Mahnliste."));
    ErsterVerleih = false;
    SaveSettings();
}
