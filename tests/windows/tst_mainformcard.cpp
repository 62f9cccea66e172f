// The medium card driven headless through its components: the edit lock and
// its mirroring, the film slots, the new-film command, the lending fields,
// the status line, the remaining-time filter, the label-printed question,
// the wheel, the zoom and the network refresh.
#include "cardfixture.h"

#include "app/settings.h"
#include "data/locate.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "engine/engineerror.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/pzspeedbutton.h"
#include "kit/ozodbcheck.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/cards/freeareadialogs.h"
#include "windows/cards/mediumkind.h"
#include "windows/cards/wfilm.h"
#include "kit/ozocheck.h"
#include "kit/pzlabel.h"
#include <QListWidget>
#include "dbui/dbgrid.h"
#include "engine/query.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QLineEdit>
#include <QSpinBox>
#include <QWheelEvent>

using card::Film;

class TestMainformCard : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    TPZSpeedButton *film(int s) { return fx.form->Component<TPZSpeedButton>(QStringLiteral("Film%1").arg(s)); }
    QLabel *image(int s) { return fx.form->Component<QLabel>(QStringLiteral("Image%1").arg(s)); }
    bool shown(QWidget *w) { return w->isVisibleTo(fx.form->Component<QWidget>("PanelKrt")); }
    QColor textColour(QWidget *w, QPalette::ColorRole role) { return w->palette().color(role); }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void lockReopensTablesAndKeepsPositions()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("B")}, {2, QStringLiteral("C")}});
        TMainform &m = fx.open();
        QVERIFY(m.Table1->readOnly() && m.FilmTable->readOnly() && m.PersTable->readOnly());
        QVERIFY(m.Component<TLockButton>("LockButton1")->LockedState());
        TLockButton recordLock;
        m.RegisterRecordWindowLock(&recordLock, m.FilmTable.get());
        QVERIFY(recordLock.LockedState());
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 2));
        QVERIFY(LocateFilm(m.DataSets(), QStringLiteral("VHS-SB"), 2, 2, true));

        QTest::keyClick(&m, Qt::Key_F12);
        QVERIFY(!m.Table1->readOnly());
        QVERIFY(!m.FilmTable->readOnly());
        QVERIFY(!m.PersTable->readOnly());
        QVERIFY(m.Table2->readOnly());
        QVERIFY(m.Table11->readOnly());
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);
        QVERIFY(m.Component<TPZSpeedButton>("SpBReadOnly")->Down());
        QVERIFY(m.Component<QAction>("MenEditieren")->isChecked());
        QVERIFY(!m.Component<TLockButton>("LockButton1")->LockedState());
        QVERIFY(!recordLock.LockedState());
        QVERIFY(shown(m.Component<TOzoNewButton>("ButtPPPMed")));

        m.SpBReadOnlyClick();
        QVERIFY(m.Table1->readOnly() && m.FilmTable->readOnly() && m.PersTable->readOnly());
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);
        QVERIFY(!m.Component<TPZSpeedButton>("SpBReadOnly")->Down());
        QVERIFY(!m.Component<QAction>("MenEditieren")->isChecked());
        QVERIFY(m.Component<TLockButton>("LockButton1")->LockedState());
        QVERIFY(recordLock.LockedState());
        QVERIFY(!shown(m.Component<TOzoNewButton>("ButtPPPMed")));
    }

    void lockedCardBlinksOnEditAttempts()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        QVERIFY(!m.Component<TLockButton>("LockButton1")->Blinking());
        QTest::keyClick(m.Component<dbui::DbEdit>("DBMed"), Qt::Key_X);
        QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        QCOMPARE(m.Component<TLockButton>("LockButton1")->GlyphName(), QStringLiteral("LOCKEDRED"));
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("VHS-SB"));
        m.Component<TLockButton>("LockButton1")->SetLocked(true);
        QVERIFY(!m.Component<TLockButton>("LockButton1")->Blinking());
        // Insert and delete keys and the kind button blink as well; nothing changes.
        QTest::keyClick(m.Component<dbui::DbEdit>("DBNr"), Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        m.Component<TLockButton>("LockButton1")->SetLocked(true);
        m.ButtPPPMedClick();
        QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        QCOMPARE(m.Table1->recordCount(), 1);
    }

    void slotCaptionsColoursAndHints()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Alien"), 117, false, false, QStringLiteral(">, die Rückkehr")},
                      {2, QStringLiteral("Brazil"), 120, true, false, QStringLiteral("Director's Cut"), true},
                      {3, QStringLiteral("FREIER BEREICH"), 30, false, true},
                      {4, QStringLiteral("Casablanca"), 0, false, false, {}, false, QStringLiteral("x")},
                      {5, QStringLiteral("Dune"), 50, false, false, {}, false, {}, QStringLiteral("Notiz")}});
        TMainform &m = fx.open();
        QCOMPARE(film(1)->Caption(), QStringLiteral("Alien, die Rückkehr"));
        QCOMPARE(film(2)->Caption(), QStringLiteral("Brazil - Director's Cut"));
        QCOMPARE(film(3)->Caption(), QStringLiteral("freier Bereich: ca. 30 min."));
        QVERIFY(!film(3)->font().strikeOut());
        QCOMPARE(film(1)->toolTip(), QStringLiteral("ca. 117 min (1h57')"));
        QCOMPARE(film(2)->toolTip(), QStringLiteral("ca. 120 min (2h00') LP m.W."));
        QCOMPARE(film(4)->toolTip(), QStringLiteral("Unbekannte Spielzeit!"));
        const QColor colours[5] = {QColor(0, 0, 128), QColor(0, 128, 128), QColor(0, 128, 0),
                                   QColor(128, 128, 0), QColor(128, 0, 0)};
        for (int s = 1; s <= 5; ++s) {
            QCOMPARE(image(s)->text(), QString::number(s));
            QCOMPARE(textColour(image(s), QPalette::WindowText), colours[s - 1]);
        }
        // Tape lengths in the number labels' tags, negative for a free area.
        QCOMPARE(image(1)->property("Tag").toInt(), 117);
        QCOMPARE(image(2)->property("Tag").toInt(), 60);
        QCOMPARE(image(3)->property("Tag").toInt(), -30);
        // Notes buttons: none for the free area; pictures by fields and memo.
        QVERIFY(!shown(m.Component<TPZSpeedButton>("SpBNotes3")));
        QCOMPARE(m.Component<TPZSpeedButton>("SpbNotes1")->property("GlyphName").toString(), QStringLiteral("NONOTES"));
        QCOMPARE(m.Component<TPZSpeedButton>("SpBNotes4")->property("GlyphName").toString(), QStringLiteral("NOMEMO"));
        QCOMPARE(m.Component<TPZSpeedButton>("SpBNotes5")->property("GlyphName").toString(), QStringLiteral("NOTES"));
        // The other free-area mode: the title, struck through, with its length.
        FreeStrikeOut = true;
        m.ShowMediumFilms();
        QCOMPARE(film(3)->Caption(), QStringLiteral("FREIER BEREICH (30 min.)"));
        QVERIFY(film(3)->font().strikeOut());
        QVERIFY(!film(1)->font().strikeOut());
    }

    void emptyMediumAndNewFilm()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        for (int s = 1; s <= 5; ++s)
            QVERIFY(!shown(film(s)) && !shown(image(s)));
        QVERIFY(!shown(m.Component<TOzoNewButton>("ButtNewFilm"))); // locked
        fx.unlock();
        QVERIFY(shown(m.Component<TOzoNewButton>("ButtNewFilm")));
        QTest::mouseClick(m.Component<TOzoNewButton>("ButtNewFilm"), Qt::LeftButton);
        m.FilmTable->post(); // the film card stores the new film
        QVERIFY(shown(film(1)));
        QCOMPARE(image(1)->text(), QStringLiteral("1"));
        QCOMPARE(m.Table2->recordCount(), 1);
    }

    void eightFilmsScrollAndNewFilmNine()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 300, card::numberedFilms(8, 30));
        TMainform &m = fx.open();
        QCOMPARE(image(5)->text(), QStringLiteral("5"));
        QVERIFY(shown(m.Component<TPZSpeedButton>("BDown")) && !shown(m.Component<TPZSpeedButton>("BUp")));
        m.BDownClick();
        QCOMPARE(m.SlotOffset, quint8(1));
        QCOMPARE(image(1)->text(), QStringLiteral("2"));
        QCOMPARE(image(1)->property("Tag").toInt(), 0); // tags only at offset 0
        m.BUpClick();
        QCOMPARE(m.SlotOffset, quint8(0));
        m.BUpClick();
        QCOMPARE(m.SlotOffset, quint8(0));
        // An offset past the last film falls back to 0.
        m.SlotOffset = 20;
        m.ShowMediumFilms();
        QCOMPARE(m.SlotOffset, quint8(0));
        fx.unlock();
        m.ButtNewFilmClick();
        m.FilmTable->post(); // the film card stores the new film
        QCOMPARE(m.SlotOffset, quint8(4));
        QCOMPARE(image(5)->text(), QStringLiteral("9"));
        QCOMPARE(m.Table2->recordCount(), 9);
        // Only the last film can be deleted: the button sits at its row.
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpBFilmDel")));
        QCOMPARE(m.Component<TPZSpeedButton>("SpBFilmDel")->property("FilmNr").toInt(), 9);
        QCOMPARE(m.Component<TPZSpeedButton>("SpBFilmDel")->y(), m.Component<TPZSpeedButton>("SpBNotes5")->y());
        fx.settings.presenter->answer(mrYes);
        m.SpBFilmDelClick();
        QCOMPARE(fx.settings.presenter->last().text, QStringLiteral("Diesen Film wirklich löschen?"));
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Bestätigen"));
        QCOMPARE(m.Table2->recordCount(), 8);
    }

    void newFilmFillsTheFirstGapAndDvdSound()
    {
        fx.addMedium(QStringLiteral("DVD-R"), 1, 0, {{1, QStringLiteral("A")}, {3, QStringLiteral("C")}});
        TMainform &m = fx.open();
        fx.unlock();
        m.ButtNewFilmClick();
        m.FilmTable->post(); // the film card stores the new film
        QVERIFY(LocateFilm(m.DataSets(), QStringLiteral("DVD-R"), 1, 2, false));
        QCOMPARE(m.Table2->fieldByName(QStringLiteral("Ton"))->asString(), QStringLiteral("A"));
    }

    void joinAndSplitButtons()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("A"), 60},
                      {2, QStringLiteral("FREIER BEREICH"), 30, false, true},
                      {3, QStringLiteral("FREIER BEREICH"), 20, false, true},
                      {4, QStringLiteral("D"), 60}});
        TMainform &m = fx.open();
        QVERIFY(!shown(m.Component<TPZSpeedButton>("SpBJoinFree")));
        fx.unlock();
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpBJoinFree")));
        QCOMPARE(m.Component<TPZSpeedButton>("SpBJoinFree")->y(), film(3)->y() - 15);
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpBSplitFree2")) && shown(m.Component<TPZSpeedButton>("SpBSplitFree3")));
        QVERIFY(!shown(m.Component<TPZSpeedButton>("SpBSplitFree1")));
        QCOMPARE(m.Component<TPZSpeedButton>("SpBSplitFree2")->property("Tag").toInt(), 30);
        m.SpBJoinFreeClick();
        QCOMPARE(m.Table2->recordCount(), 3);
        QCOMPARE(film(2)->Caption(), QStringLiteral("freier Bereich: ca. 50 min."));
        QVERIFY(!shown(m.Component<TPZSpeedButton>("SpBJoinFree")));
    }

    void oneFilmRuleHidesNewFilm()
    {
        fx.addMedium(QStringLiteral("VHS-KK"), 1, 0, {{1, QStringLiteral("Gekauft")}});
        TMainform &m = fx.open();
        fx.unlock();
        QVERIFY(!shown(m.Component<TOzoNewButton>("ButtNewFilm")));
        QVERIFY(shown(m.Component<QWidget>("PanelKauf")));
        QVERIFY(!shown(m.Component<QWidget>("PanelDVD")));
        dvd_kk_nur1film = false;
        m.ShowMediumFilms();
        QVERIFY(shown(m.Component<TOzoNewButton>("ButtNewFilm")));
    }

    void percentBarNeverDividesByZero()
    {
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {{1, QStringLiteral("Film"), 100}});
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A"), 120}});
        TMainform &m = fx.open();
        QVERIFY(fx.locate(QStringLiteral("DVD"), 1));
        QVERIFY(shown(m.Component<QWidget>("PanelDVD")));
        for (int i = 1; i <= 5; ++i)
            QVERIFY(!m.Component<QFrame>(QStringLiteral("PercentFilm%1").arg(i))->isVisibleTo(m.Component<QWidget>("PanelPercent")));
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        QVERIFY(m.Component<QFrame>("PercentFilm1")->isVisibleTo(m.Component<QWidget>("PanelPercent")));
        QCOMPARE(m.Component<QFrame>("PercentFilm1")->width(), (m.Component<QWidget>("PanelPercent")->width() - 2) / 2);
        QVERIFY(m.Component<QFrame>("PercentFilm1")->toolTip().startsWith(QStringLiteral("50,0%")));
    }

    void returnDateColours()
    {
        const QDate today = QDate::currentDate();
        int nr = 0;
        for (int d : {0, 1, -1}) {
            fx.addMedium(QStringLiteral("VHS-SB"), ++nr, 240, {}, [&](engine::Table &t) {
                t.fieldByName(QStringLiteral("Verliehen"))->setAsString(QStringLiteral("Anna"));
                t.fieldByName(QStringLiteral("Verleihdatum"))->setAsDate(today.addDays(-10));
                t.fieldByName(QStringLiteral("Rueckgabedatum"))->setAsDate(today.addDays(d));
            });
        }
        TMainform &m = fx.open();
        const QColor expected[3] = {QColor(128, 0, 0), QColor(0, 128, 0), QColor(255, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(fx.locate(QStringLiteral("VHS-SB"), i + 1));
            QCOMPARE(textColour(m.Component<dbui::DbEdit>("DBRueckgabedatum"), QPalette::Text), expected[i]);
        }
        // A changed return date is painted black.
        fx.unlock();
        m.Table1->edit();
        fx.field("Rueckgabedatum")->setAsDate(today.addDays(3));
        QCOMPARE(textColour(m.Component<dbui::DbEdit>("DBRueckgabedatum"), QPalette::Text), QColor(0, 0, 0));
        m.Table1->cancel();
    }

    void borrowerRuleAndCalendar()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        fx.unlock();
        const QDate today = QDate::currentDate();
        m.Table1->edit();
        fx.field("Verliehen")->setAsString(QStringLiteral("Bernd"));
        QCOMPARE(fx.field("Verleihdatum")->asDate(), today);
        QCOMPARE(fx.field("Rueckgabedatum")->asDate(), today.addDays(14));
        m.Table1->post();
        QCOMPARE(m.Component<dbui::DbComboBox>("DBVerliehen")->text(), QStringLiteral("Bernd"));
        QCOMPARE(m.Component<dbui::DbComboBox>("DBVerliehen")->count(), 0); // the list is filled again when it drops down
        m.Table1->edit();
        fx.field("Verliehen")->clear();
        QVERIFY(fx.field("Verleihdatum")->isNull());
        QVERIFY(fx.field("Rueckgabedatum")->isNull());
        m.Table1->post();

        // The calendar: entering a date edit shows it; a picked lending date
        // keeps the span.
        m.DateEditEnter(m.Component<dbui::DbEdit>("DBVerleihdatum"));
        QVERIFY(shown(m.Component<QWidget>("PanelKalender")));
        QCOMPARE(textColour(m.Component<QLabel>("LabelVerleihdatum"), QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(textColour(m.Component<QLabel>("LabelRueckgabedatum"), QPalette::WindowText), QColor(0, 0, 0));
        m.Calendar1Pick(QDate(2026, 5, 4));
        QCOMPARE(m.Table1->state(), engine::DataSetState::Edit);
        QCOMPARE(fx.field("Verleihdatum")->asDate(), QDate(2026, 5, 4));
        QCOMPARE(fx.field("Rueckgabedatum")->asDate(), QDate(2026, 5, 18));
        m.DateEditEnter(m.Component<dbui::DbEdit>("DBRueckgabedatum"));
        m.Calendar1Pick(QDate(2026, 5, 30));
        QCOMPARE(fx.field("Rueckgabedatum")->asDate(), QDate(2026, 5, 30));
        QCOMPARE(fx.field("Verleihdatum")->asDate(), QDate(2026, 5, 4));
        m.OtherControlEnter();
        QVERIFY(!shown(m.Component<QWidget>("PanelKalender")));
        QCOMPARE(textColour(m.Component<QLabel>("LabelRueckgabedatum"), QPalette::WindowText), QColor(0, 0, 0));
        m.Table1->cancel();

        // Month and year steps cross the year.
        m.Component<QCalendarWidget>("Calendar1")->setCurrentPage(2026, 1);
        m.CalendarStep(0, -1);
        QCOMPARE(m.Component<QCalendarWidget>("Calendar1")->yearShown(), 2025);
        QCOMPARE(m.Component<QCalendarWidget>("Calendar1")->monthShown(), 12);
        m.CalendarStep(0, 1);
        m.CalendarStep(1, 0);
        QCOMPARE(m.Component<QCalendarWidget>("Calendar1")->yearShown(), 2027);
        QCOMPARE(m.Component<QCalendarWidget>("Calendar1")->monthShown(), 1);
    }

    void borrowerDropDownListsStoredBorrowers()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("Verliehen"))->setAsString(QStringLiteral("Anna"));
        });
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        TMainform &m = fx.open();
        m.DBVerliehenDropDown();
        QCOMPARE(m.Component<dbui::DbComboBox>("DBVerliehen")->count(), 1);
        QCOMPARE(m.Component<dbui::DbComboBox>("DBVerliehen")->itemText(0), QStringLiteral("Anna"));
    }

    void statusLineAndFilter()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A"), 200}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("B"), 60}});
        fx.addMedium(QStringLiteral("VHS-SB"), 3, 240,
                     {{1, QStringLiteral("C"), 60}, {2, QStringLiteral("FREIER BEREICH"), 120, false, true},
                      {3, QStringLiteral("D"), 50}});
        TMainform &m = fx.open();
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QStringLiteral("3 Medien, 5 Filme"));
        QCOMPARE(m.Component<QLabel>("Status2")->text(), QStringLiteral("Datei: ") + MediaTablePath(fx.base));
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 3));

        // Cancel leaves everything as it was.
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answerDialog([](QDialog &) {}, mrCancel);
        m.FilternnachRestspielzeit1Click();
        QCOMPARE(p.last().objectName, QStringLiteral("DFilter"));
        QVERIFY(!m.Table1->filtered());
        // Remaining time of at least 100 minutes: medium 2 only.
        p.answerDialog([](QDialog &d) {
            auto &f = static_cast<TDFilter &>(d);
            f.Edit1->setText(QStringLiteral("100"));
            f.RadioButton2->Click();
        });
        m.FilternnachRestspielzeit1Click();
        QVERIFY(m.Table1->filtered());
        QCOMPARE(m.Table1->recordCount(), 1);
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        QVERIFY(m.Component<QAction>("FilternnachRestspielzeit1")->isChecked());
        QVERIFY(m.Component<TPZSpeedButton>("SpBRest")->Down());
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QStringLiteral("1 Medien gefunden"));
        QCOMPARE(m.Component<QLabel>("Status2")->text(), QStringLiteral("Die Datei ist momentan GEFILTERT, Sie sehen nicht alle Datensätze!"));
        QCOMPARE(textColour(m.Component<QLabel>("Status2"), QPalette::WindowText), QColor(255, 0, 0));
        m.FilternnachRestspielzeit1Click();
        QVERIFY(!m.Table1->filtered());
        QCOMPARE(fx.field("Nr")->asInteger(), 3); // back to the medium shown before
        QVERIFY(!m.Component<TPZSpeedButton>("SpBRest")->Down());
        // With the largest free area: medium 3 has a free area of 120.
        p.answerDialog([](QDialog &d) {
            auto &f = static_cast<TDFilter &>(d);
            f.Edit1->setText(QStringLiteral("100"));
            f.RadioButton1->Click();
            QVERIFY(f.RadioButton1->Checked() && !f.RadioButton2->Checked());
        });
        m.FilternnachRestspielzeit1Click();
        QCOMPARE(m.Table1->recordCount(), 2);
        m.FilternnachRestspielzeit1Click();

        CloseDatabaseTables();
        m.UpdateStatusLine();
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QString());
        QCOMPARE(m.Component<QLabel>("Status2")->text(), QStringLiteral("Keine Datei geöffnet."));
    }

    void labelPrintedQuestionOnlyForTheUsersChanges()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("Gedruckt"))->setAsBoolean(true);
        });
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("Gedruckt"))->setAsBoolean(true);
        });
        TMainform &m = fx.open();
        fx.unlock();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        // A change without bearing on the label asks nothing.
        m.Table1->edit();
        fx.field("Verliehen")->setAsString(QStringLiteral("Anna"));
        QCOMPARE(p.shown().size(), 0);
        // The number: asked; Yes clears the flag.
        p.answer(mrAskYes);
        fx.field("Nr")->setAsInteger(7);
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Neues Etikett drucken?"));
        QVERIFY(!fx.field("Gedruckt")->asBoolean());
        m.Table1->cancel();
        p.clear();

        // A key already taken: the program puts the old key back without a question.
        m.Table1->edit();
        p.answer(mrAskNo);
        fx.field("Nr")->setAsInteger(2);
        QCOMPARE(p.shown().size(), 1);
        QVERIFY(!fx.form->Table1->fieldByName(QStringLiteral("Gedruckt"))->isNull());
        try {
            m.Table1->post();
        } catch (const engine::Abort &) {
        }
        // The "key taken" box, and no second label question for the restore.
        int labelQuestions = 0;
        for (const kit::ShownBox &b : p.shown())
            if (b.caption == QLatin1String("Neues Etikett drucken?"))
                ++labelQuestions;
        QCOMPARE(labelQuestions, 1);
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        m.Table1->cancel();
        p.clear();

        // An insert writes kind and number itself: no question.
        m.Table1->insert();
        QCOMPARE(p.shown().size(), 0);
        m.Table1->cancel();

        // "Nie" is remembered.
        m.Table1->edit();
        p.answer(mrAskNever).answer(mrOk);
        fx.field("Medium")->setAsString(QStringLiteral("Hi8"));
        QVERIFY(PFClearNever);
        QCOMPARE(p.last().caption, QStringLiteral("Information"));
        p.clear();
        fx.field("Nr")->setAsInteger(5);
        QCOMPARE(p.shown().size(), 0);
        m.Table1->cancel();
        PFClearNever = false;
    }

    void wheelMovesTheCardWhileBrowsing()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        TMainform &m = fx.open();
        auto wheel = [&](int dy) {
            QWheelEvent e(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, dy), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&m, &e);
        };
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        wheel(-120);
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        wheel(120);
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        fx.unlock();
        m.Table1->edit();
        wheel(-120);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Edit);
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        m.Table1->cancel();
    }

    void zoomTakesTheLargeFilmStrips()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}});
        TMainform &m = fx.open();
        QCOMPARE(film(1)->property("StripName").toString(), QStringLiteral("FILMSTREIFENGRAU"));
        const int small = film(1)->GetGlyph().height();
        m.SetZoomed(true);
        QCOMPARE(film(1)->property("StripName").toString(), QStringLiteral("FILMSTREIFENGRAU120"));
        QVERIFY(film(1)->GetGlyph().height() > small);
        m.SetZoomed(false);
        QCOMPARE(film(1)->property("StripName").toString(), QStringLiteral("FILMSTREIFENGRAU"));
    }

    void networkRefreshShowsOtherClientsMedia()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QStringLiteral("1 Medien, 0 Filme"));
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("X")}});
        m.NetRefreshTimer();
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QStringLiteral("2 Medien, 1 Filme"));
        // A medium being edited is left alone.
        fx.unlock();
        m.Table1->edit();
        m.NetRefreshTimer();
        QCOMPARE(m.Table1->state(), engine::DataSetState::Edit);
        m.Table1->cancel();
    }

    void kindAndDiscControls()
    {
        fx.addMedium(QStringLiteral("DVD-R"), 1, 0, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("SN"))->setAsInteger(1234);
        });
        fx.addMedium(QStringLiteral("Hi8"), 1, 90);
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        QVERIFY(fx.locate(QStringLiteral("DVD-R"), 1));
        QVERIFY(shown(m.Component<QLabel>("ImgCD")));
        QVERIFY(!shown(m.Component<TOzoNewButton>("ButtPPPSN")));
        fx.unlock();
        QVERIFY(shown(m.Component<TOzoNewButton>("ButtPPPSN")));
        QVERIFY(!shown(m.Component<QLabel>("ImgCDX")));
        QVERIFY(fx.locate(QStringLiteral("Hi8"), 1));
        QVERIFY(!shown(m.Component<QLabel>("ImgCD")));
        QVERIFY(shown(m.Component<QLabel>("ImgCDX")));
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpBFinalize"))); // 90 minutes left on a tape-like medium
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        QVERIFY(!shown(m.Component<TOzoNewButton>("ButtPPPSN")) && !shown(m.Component<QLabel>("ImgCDX")) && !shown(m.Component<TPZSpeedButton>("SpBFinalize")));
    }
    void filterDialogAndSplitDialog()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("A"), 60}, {2, QStringLiteral("FREIER BEREICH"), 120, false, true},
                      {3, QStringLiteral("C"), 30}});
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        int minutes = 0;
        bool includeFree = false;
        p.answerDialog([](QDialog &d) {
            auto &f = static_cast<TDFilter &>(d);
            QCOMPARE(f.Edit1->text(), QStringLiteral("100"));
            QVERIFY(f.RadioButton1->Checked());
            f.Edit1->setText(QStringLiteral("90"));
            f.CheckBox1->SetChecked(true);
        });
        QVERIFY(ExecFreeLengthFilter(minutes, includeFree));
        QCOMPARE(minutes, 45);
        QVERIFY(includeFree);
        p.answerDialog([](QDialog &d) {
            auto &f = static_cast<TDFilter &>(d);
            f.Edit1->setText(QStringLiteral("abc"));
            f.RadioButton2->Click();
        });
        QVERIFY(!ExecFreeLengthFilter(minutes, includeFree));
        QCOMPARE(p.last().text, QStringLiteral("Keine gültige Nummer!"));
        // The card's filter command goes through the dialog.
        p.answerDialog([](QDialog &d) { static_cast<TDFilter &>(d).Edit1->setText(QStringLiteral("100")); });
        m.FilternnachRestspielzeit1Click();
        QVERIFY(m.Table1->filtered());
        QCOMPARE(m.Table1->recordCount(), 1); // the free area of 120 counts
        m.FilternnachRestspielzeit1Click();

        // Splitting the free area of film 2: 50 minutes stay, 70 follow.
        fx.unlock();
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpBSplitFree2")));
        p.answerDialog([](QDialog &d) {
            auto &s = static_cast<TDSplitFree &>(d);
            QCOMPARE(s.SpinEdit1->value(), 90);
            s.SpinEdit1->setValue(50);
        });
        p.answer(mrOk);
        m.SpBSplitFreeClick(2);
        QCOMPARE(m.Table2->recordCount(), 4);
        QCOMPARE(image(2)->property("Tag").toInt(), -50);
        QCOMPARE(image(3)->property("Tag").toInt(), -70);
        QCOMPARE(film(4)->Caption(), QStringLiteral("C"));
        // The film card shows the first part, which the message names.
        QVERIFY(WFilm && WFilm->isVisible());
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Freier Bereich 1"));
    }

    void printedCheckBoxFollowsTheField()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {}, [](engine::Table &t) {
            t.fieldByName(QStringLiteral("Gedruckt"))->setAsBoolean(true);
        });
        TMainform &m = fx.open();
        QVERIFY(m.Component<TOzoDBCheck>("DBChkGedruckt")->Checked());
        m.Component<TOzoDBCheck>("DBChkGedruckt")->Click();
        QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        QVERIFY(m.Component<TOzoDBCheck>("DBChkGedruckt")->Checked());
        QVERIFY(fx.field("Gedruckt")->asBoolean());
        m.Component<TLockButton>("LockButton1")->SetLocked(true);
        fx.unlock();
        m.Component<TOzoDBCheck>("DBChkGedruckt")->Click();
        QVERIFY(!m.Component<TOzoDBCheck>("DBChkGedruckt")->Checked());
        m.Table1->post();
        QVERIFY(!fx.field("Gedruckt")->asBoolean());
    }
    void recordKeysOnTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        fx.addMedium(QStringLiteral("VHS-SB"), 3, 240);
        TMainform &m = fx.open();
        QTest::keyClick(m.Component<dbui::DbEdit>("DBNr"), Qt::Key_PageDown);
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        QTest::keyClick(m.Component<dbui::DbEdit>("DBNr"), Qt::Key_End);
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
        QTest::keyClick(m.Component<dbui::DbEdit>("DBMed"), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        fx.unlock();
        // Ctrl+Ins inserts the next number of the kind; Esc cancels.
        QTest::keyClick(m.Component<dbui::DbEdit>("DBNr"), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Insert);
        QCOMPARE(fx.field("Nr")->asInteger(), 4);
        QCOMPARE(m.InsertFocusField, QStringLiteral("Medium"));
        QTest::keyClick(m.Component<dbui::DbEdit>("DBNr"), Qt::Key_Escape);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(m.Table1->recordCount(), 3);
        // Enter posts an edit.
        QTest::keyClick(m.Component<dbui::DbEdit>("DBLen"), Qt::Key_Backspace);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Edit);
        QTest::keyClick(m.Component<dbui::DbEdit>("DBLen"), Qt::Key_Return);
        QCOMPARE(m.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(fx.field("Len")->asInteger(), 24);
    }

    void firstLendingShowsTheTwoHints()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        // Each hint is a modal pointing window; its text is read as it shows.
        QStringList hints;
        for (int i = 0; i < 2; ++i)
            fx.settings.presenter->answerDialog([&](QDialog &d) {
                QCOMPARE(d.objectName(), QStringLiteral("WHint"));
                hints << d.findChild<TPZLabel *>(QStringLiteral("LabelHint"))->Caption();
            });
        ErsterVerleih = true;
        fx.unlock();
        m.Table1->edit();
        fx.field("Verliehen")->setAsString(QStringLiteral("Carla"));
        QCOMPARE(hints.size(), 2);
        QVERIFY(hints.at(0).startsWith(QStringLiteral("Sie erfassen anscheinend gerade Ihren ersten Verleih.")));
        QVERIFY(hints.at(1).startsWith(QStringLiteral("Mit diesem Symbol rechts von der Verliehen-Zeile")));
        QVERIFY(!ErsterVerleih);
        fx.field("Verliehen")->setAsString(QStringLiteral("Dora"));
        QCOMPARE(hints.size(), 2);
        int shownHints = 0;
        for (const kit::ShownBox &b : fx.settings.presenter->shown())
            shownHints += b.objectName == QLatin1String("WHint");
        QCOMPARE(shownHints, 2);
        m.Table1->post();
    }
    void kindButtonAndLeavingTheWindow()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("Hi8"), 1, 90);
        fx.addMedium(QStringLiteral("Hi8"), 2, 90);
        TMainform &m = fx.open();
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        fx.unlock();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        // A new medium takes the next number of the kind chosen.
        m.Table1->insert();
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        p.answerDialog([](QDialog &d) {
            auto &dd = static_cast<TDMedienDropDown &>(d);
            QVERIFY(dd.RadSB->Checked());
            const auto hits = dd.Listbox1->findItems(QStringLiteral("Hi8"), Qt::MatchExactly);
            dd.Listbox1->setCurrentItem(hits.first());
        });
        m.ButtPPPMedClick();
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("Hi8"));
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
        // Leaving the window posts the new medium.
        fx.field("Len")->setAsInteger(90);
        m.FormDeactivate();
        QTRY_COMPARE(m.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(m.Table1->recordCount(), 4);
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
    }
    void filmTableUnderTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}, {2, QStringLiteral("B")}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("C")}});
        TMainform &m = fx.open();
        const int h = m.height();
        m.ShowFilmList(true);
        QVERIFY(m.Component<QWidget>("PanelFilmListe")->isVisibleTo(&m));
        QVERIFY(m.height() > h);
        QCOMPARE(m.QueryFL->recordCount(), 2);
        QCOMPARE(m.QueryFL->fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("A"));
        QVERIFY(!m.QueryFL->requestLive() && !m.QueryFL->canModify());
        QVERIFY(m.Component<dbui::DbGrid>("DBGridFL")->rowSelect() && m.Component<dbui::DbGrid>("DBGridFL")->isReadOnly());
        m.Table1->next();
        QCOMPARE(m.QueryFL->recordCount(), 1);
        fx.unlock();
        QVERIFY(m.QueryFL->requestLive() && m.QueryFL->canModify());
        QVERIFY(!m.Component<dbui::DbGrid>("DBGridFL")->rowSelect() && !m.Component<dbui::DbGrid>("DBGridFL")->isReadOnly());
        m.ShowFilmList(false);
        QCOMPARE(m.height(), h);
        QVERIFY(!m.QueryFL->active());
    }
    void networkRefreshTimerRunsOnlyInNetworkMode()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        QVERIFY(!m.Component<QTimer>("NetRefresh")->isActive());
        SettingsFixture::seedReturningUser();
        NetworkMode = true;
        m.FormShow();
        QVERIFY(m.Component<QTimer>("NetRefresh")->isActive());
        QCOMPARE(m.Component<QTimer>("NetRefresh")->interval(), 30000);
        NetworkMode = false;
        m.Component<QTimer>("NetRefresh")->stop();
    }
    void deletingAMediumTakesItsFilms()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}, {2, QStringLiteral("B")}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("C")}});
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        // Locked: the lock blinks, nothing is asked.
        m.Component<QToolButton>("NavDelete")->click();
        QVERIFY(m.Component<TLockButton>("LockButton1")->Blinking());
        QCOMPARE(p.shown().size(), 0);
        m.Component<TLockButton>("LockButton1")->SetLocked(true);
        fx.unlock();
        p.answer(mrYes);
        m.Component<QToolButton>("NavDelete")->click();
        QCOMPARE(p.last().text, QStringLiteral("Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?"));
        QCOMPARE(m.Table1->recordCount(), 1);
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        QCOMPARE(m.Component<QLabel>("Status1")->text(), QStringLiteral("1 Medien, 1 Filme"));
        QCOMPARE(film(1)->Caption(), QStringLiteral("C"));
        // The last medium stays.
        p.answer(mrYes).answer(mrOk);
        m.Component<QToolButton>("NavDelete")->click();
        QCOMPARE(m.Table1->recordCount(), 1);
    }

    void pushDownAndNumberLabelHover()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(5, 30));
        TMainform &m = fx.open();
        bRest1bis4 = true;
        fx.unlock();
        QVERIFY(shown(m.Component<TPZSpeedButton>("SpB5PushDown")));
        fx.settings.presenter->answer(mrOk);
        m.SpB5PushDownClick();
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Achtung!"));
        QVERIFY(!shown(film(5)));
        QVERIFY(LocateFilm(m.DataSets(), QStringLiteral("VHS-SB"), 1, 6, false));
        QVERIFY(shown(m.Component<TPZSpeedButton>("BDown")));
        bRest1bis4 = false;
        m.ShowMediumFilms();
        QVERIFY(!shown(m.Component<TPZSpeedButton>("SpB5PushDown")));

        // The number label grows by 3 points and rises by 2 pixels under the mouse.
        const QFont before = image(1)->font();
        const int y = image(1)->y();
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QApplication::sendEvent(image(1), &enter);
        QCOMPARE(image(1)->font().pointSizeF(), before.pointSizeF() + 3);
        QCOMPARE(image(1)->y(), y - 2);
        QApplication::sendEvent(image(1), &leave);
        QCOMPARE(image(1)->font().pointSizeF(), before.pointSizeF());
        QCOMPARE(image(1)->y(), y);
        // A click on it moves the film window to that film.
        QTest::mouseClick(image(3), Qt::LeftButton);
        QCOMPARE(m.FilmTable->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 3);
    }
};

QTEST_MAIN(TestMainformCard)
#include "tst_mainformcard.moc"
