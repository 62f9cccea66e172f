// The main window's lending fields with their calendar, and the
// remaining-time filter.
#include "windows/main/mainform.h"
#include "windows/main/mainformparts.h"

#include "app/settings.h"
#include "data/locate.h"
#include "data/mediumcard.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/pzspeedbutton.h"
#include "windows/cards/freeareadialogs.h"

#include <QScopedValueRollback>
#include <QCalendarWidget>
#include <QLabel>

using namespace mainparts;

// ---- lending ------------------------------------------------------------------------------

void TMainform::DBVerliehenDropDown()
{
    const QString current = DBVerliehen->text();
    DBVerliehen->blockSignals(true);
    DBVerliehen->clear();
    if (Table1->active()) {
        guardedStep([&] {
            engine::Query q;
            q.setSql({QStringLiteral("SELECT DISTINCT Verliehen FROM"),
                      SQLTableRef(Table1->tableName()),
                      QStringLiteral("WHERE Verliehen IS NOT NULL")});
            q.open();
            for (q.first(); !q.eof(); q.next())
                DBVerliehen->addItem(q.field(0)->asString());
            q.close();
        });
    }
    DBVerliehen->setText(current);
    DBVerliehen->blockSignals(false);
}

void TMainform::DBVerliehenChange()
{
    const engine::DataSetState st = Table1->state();
    if (st != engine::DataSetState::Edit && st != engine::DataSetState::Insert)
        return;
    engine::Field *lent = Table1->fieldByName(QStringLiteral("Verleihdatum"));
    engine::Field *back = Table1->fieldByName(QStringLiteral("Rueckgabedatum"));
    const LendingDates now{lent->asDate(), back->asDate()};
    const LendingDates d = LendingAfterBorrowerChange(Table1->fieldByName(QStringLiteral("Verliehen"))->asString(),
                                                      now, Calendar1->selectedDate(), RegelVerleihzeit);
    const QScopedValueRollback<bool> own(m_programWrites, true);
    if (d.lent != now.lent)
        lent->setAsDate(d.lent);
    if (d.back != now.back)
        back->setAsDate(d.back);
}

void TMainform::paintDateLabels()
{
    auto paint = [](QLabel *l, bool active) {
        // Only the enabled look changes: without a database the labels are
        // greyed like all the others.
        QPalette pal = l->palette();
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            pal.setColor(g, QPalette::WindowText, active ? QColor(0, 0, 255) : QColor(0, 0, 0));
        l->setPalette(pal);
    };
    paint(LabelVerleihdatum, CalendarTarget == DBVerleihdatum);
    paint(LabelRueckgabedatum, CalendarTarget == DBRueckgabedatum);
}

void TMainform::DateEditEnter(dbui::DbEdit *edit)
{
    if (!Editing())
        return;
    CalendarTarget = edit;
    if (engine::Field *f = edit->field()) {
        const QDate d = f->asDate();
        if (d.isValid())
            Calendar1->setSelectedDate(d);
    }
    PanelKalender->show();
    PanelKalender->raise();
    paintDateLabels();
}

void TMainform::OtherControlEnter()
{
    CalendarTarget = nullptr;
    PanelKalender->hide();
    paintDateLabels();
}

void TMainform::Calendar1Pick(const QDate &day)
{
    if (!CalendarTarget || !Table1->active() || Table1->readOnly() || mediumEmpty())
        return;
    guardedStep([&] {
        if (Table1->state() == engine::DataSetState::Browse)
            Table1->edit();
        engine::Field *lent = Table1->fieldByName(QStringLiteral("Verleihdatum"));
        engine::Field *back = Table1->fieldByName(QStringLiteral("Rueckgabedatum"));
        const LendingDates now{lent->asDate(), back->asDate()};
        const LendingDates d = LendingAfterCalendarPick(CalendarTarget == DBVerleihdatum, day, now, RegelVerleihzeit);
        const QScopedValueRollback<bool> own(m_programWrites, true);
        lent->setAsDate(d.lent);
        back->setAsDate(d.back);
    });
}

void TMainform::CalendarStep(int years, int months)
{
    const QDate first(Calendar1->yearShown(), Calendar1->monthShown(), 1);
    const QDate to = first.addYears(years).addMonths(months);
    Calendar1->setCurrentPage(to.year(), to.month());
}

// ---- remaining-time filter -------------------------------------------------------------------

bool TMainform::Table1FilterRecord(engine::DataSet &ds)
{
    engine::Field *rest = ds.findField(QStringLiteral("bRest"));
    engine::Field *maxFree = ds.findField(QStringLiteral("bMaxFree"));
    return RemainingTimeFilterAccepts(rest ? rest->asInteger() : 0, maxFree ? maxFree->asInteger() : 0,
                                      FilterMinRest, FilterOnMaxFree);
}

void TMainform::FilternnachRestspielzeit1Click()
{
    if (!Table1->active())
        return;
    bool cancelled = false;
    guardedStep([&] {
        postPending(Table1.get());
        if (Table1->filtered()) {
            const QString kind = property("FilterKind").toString();
            const int nr = property("FilterNr").toInt();
            Table1->setFiltered(false);
            if (!kind.isEmpty())
                LocateMedium(DataSets(), kind, nr, true);
        } else {
            int minRest = FilterMinRest;
            bool onMaxFree = FilterOnMaxFree;
            if (!ExecFreeLengthFilter(minRest, onMaxFree)) {
                SpBRest->SetDown(false);
                cancelled = true;
                return;
            }
            FilterMinRest = minRest;
            FilterOnMaxFree = onMaxFree;
            setProperty("FilterKind", currentKind());
            setProperty("FilterNr", currentNr());
            Table1->setFiltered(true);
            Table1->first();
        }
    });
    if (cancelled)
        return;
    FilternnachRestspielzeit1->setChecked(Table1->filtered());
    SpBRest->SetDown(Table1->filtered());
    ShowMediumFilms();
    UpdateStatusLine();
}
