// The medium card, the film card and the person card as a new user meets
// them, driven through the components' names: quitting with record windows
// open, one question per new person name with nothing typed lost, the
// status line whoever reopened the tables, the slots of a medium being
// entered, a renamed person on the open film card and the film card's "+".
#include "cardfixture.h"

#include "data/templatefixture.h"
#include "data/database.h"
#include "data/freefieldlabels.h"
#include "data/locate.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbnavigator.h"
#include "engine/table.h"
#include "kit/help.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "windows/main/mainmenus.h"
#include "windows/cards/personcardhooks.h"
#include "windows/queries/queryform.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wpers.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

// What a film of the database holds, read by a cursor of its own.
QString storedFilmField(const QString &base, int kassNr, int filmNr, const char *field)
{
    engine::Table t;
    t.setTableName(FilmTablePath(base));
    t.open();
    const bool found = t.locate(QStringLiteral("Medium;KassNr;FilmNr"),
                                QVariantList{QStringLiteral("VHS-SB"), kassNr, filmNr});
    return found ? t.fieldByName(QLatin1String(field))->asString() : QStringLiteral("<fehlt>");
}

void leave(QWidget *w, Qt::FocusReason reason)
{
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(w, &out);
}

} // namespace

class TstCardUse : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    int shownCount(const QString &caption) const
    {
        int n = 0;
        for (const kit::ShownBox &b : fx.settings.presenter->shown())
            n += b.caption == caption;
        return n;
    }
    QString status(int part) { return fx.child<QLabel>(part == 1 ? "Status1" : "Status2")->text(); }

private slots:
    void init()
    {
        fx.setUp();
        ResetFreeFieldLabels();
    }
    void cleanup()
    {
        fx.tearDown();
        ResetFreeFieldLabels();
    }

    void quittingEndsTheProgramWhateverWindowsAreOpen()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        TMainform &m = fx.open();
        m.show();
        fx.unlock();
        // A film card with a pending change and a minimised person card.
        m.ImageClick(1);
        QVERIFY(WFilm && WFilm->isVisible());
        WFilm->Table1->edit();
        WFilm->Table1->fieldByName(QStringLiteral("Len"))->setAsInteger(75);
        ShowPersonCard(m, QString());
        WPers->showMinimized();
        // A film without a title the user goes on editing keeps it running.
        m.ButtNewFilmClick();
        QCOMPARE(WFilm->Table1->state(), engine::DataSetState::Insert);
        p().answer(mrYes); // "Film-Titel fehlt!": go on editing
        m.Menus->Entry(QStringLiteral("MenBeenden"))->trigger();
        QCOMPARE(p().last().caption, QStringLiteral("Film-Titel fehlt!"));
        QVERIFY(m.isVisible() && WFilm->isVisible() && m.Table1->active());
        // Given a title, the film is posted and every window goes; the event
        // loop ends.
        WFilm->Table1->fieldByName(QStringLiteral("Titel"))->setAsString(QStringLiteral("Aliens"));
        bool aboutToQuit = false;
        connect(qApp, &QCoreApplication::aboutToQuit, this, [&] { aboutToQuit = true; });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        watchdog.start(10000);
        QTimer::singleShot(0, &m, [&m] { m.Menus->Entry(QStringLiteral("MenBeenden"))->trigger(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        watchdog.stop();
        QVERIFY(aboutToQuit);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(!m.Table1->active() && !m.FilmTable->active());
        QCOMPARE(storedFilmField(fx.base, 1, 2, "Titel"), QStringLiteral("Aliens"));
    }

    void onePersonQuestionPerNameAndNothingTypedIsLost()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}, {2, QStringLiteral("Brazil"), 90}});
        TMainform &m = fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(1, true);
        SetFilmFreeLabel(1, QStringLiteral("&Regie"));
        m.ImageClick(1);
        TWFilm &w = *WFilm;
        auto *regie = w.findChild<dbui::DbComboBox *>(QStringLiteral("DBEF1"));
        auto *frei2 = w.findChild<dbui::DbComboBox *>(QStringLiteral("DBEF2"));
        // A new name, then a click into the next field: one question. While
        // it is open the box takes the focus and the card goes inactive;
        // neither asks again nor posts behind it.
        QTest::keyClicks(regie, QStringLiteral("Gilliam"));
        p().answerDialog([&](QDialog &) {
            leave(regie, Qt::ActiveWindowFocusReason);
            w.FormDeactivate();
        }, mrYes);
        leave(regie, Qt::MouseFocusReason);
        QCOMPARE(p().shown().size(), 1);
        QCOMPARE(p().last().caption, QStringLiteral("Neue Person erfassen?"));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        QVERIFY(WPers && WPers->isVisible()); // the new card, to complete later
        // The user goes on typing; the post asks nothing more and keeps both.
        QTest::keyClicks(frei2, QStringLiteral("Englisch"));
        leave(frei2, Qt::MouseFocusReason);
        w.DBNavigator1->press(dbui::DbNavigator::Post);
        QCOMPARE(p().shown().size(), 1);
        QCOMPARE(storedFilmField(fx.base, 1, 1, "Free1"), QStringLiteral("Gilliam"));
        QCOMPARE(storedFilmField(fx.base, 1, 1, "Free2"), QStringLiteral("Englisch"));
        m.PersTable->refresh();
        QVERIFY(m.PersTable->locate(QStringLiteral("Name"), QStringLiteral("Gilliam")));
        // "No" on leaving the field is the answer for that name: the post
        // does not ask again.
        w.Table1->next();
        p().clear();
        QTest::keyClicks(regie, QStringLiteral("Lang"));
        p().answer(mrNo);
        leave(regie, Qt::MouseFocusReason);
        w.DBNavigator1->press(dbui::DbNavigator::Post);
        QCOMPARE(shownCount(QStringLiteral("Neue Person erfassen?")), 1);
        QCOMPARE(storedFilmField(fx.base, 1, 2, "Free1"), QStringLiteral("Lang"));
    }

    void statusLineShowsTheOpenDatabaseAfterEveryReopen()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("Brazil"), 60}});
        TMainform &m = fx.open();
        const auto normal = [&] {
            return fx.child<QLabel>("Status2")->palette().color(QPalette::WindowText)
                == m.palette().color(QPalette::WindowText);
        };
        // A statement of the query window closes and reopens every table.
        QVERIFY(ExecDmlStatement({QStringLiteral("DELETE FROM \"") + MediaTablePath(fx.base) + QStringLiteral("\" WHERE Nr = 2")}));
        QCOMPARE(status(1), QStringLiteral("1 Medien, 2 Filme"));
        QCOMPARE(status(2), QStringLiteral("Datei: ") + m.Table1->tableName());
        QVERIFY(normal());
        // The numbering mode reopens them too, and "+" follows.
        fx.unlock();
        m.Menus->Entry(QStringLiteral("MenNumAlleMedien"))->trigger();
        QTest::mouseClick(fx.child<QToolButton>("NavInsert"), Qt::LeftButton);
        QVERIFY(status(2).startsWith(QStringLiteral("Datei: ")));
        QVERIFY(normal());
        m.Table1->cancel();
        // A new database from the file menu.
        const kit::HelpHook oldHelp = kit::setHelpHook([](int) {});
        WriteTestTemplates();
        p().answerFile(fx.settings.path(QStringLiteral("Neu.tarvo"))).answer(mrNo);
        m.Menus->Entry(QStringLiteral("Neu1"))->trigger();
        QVERIFY(m.Table1->tableName().contains(QStringLiteral("Neu")));
        QCOMPARE(status(2), QStringLiteral("Datei: ") + m.Table1->tableName());
        QVERIFY(status(1).endsWith(QStringLiteral(" Filme")));
        QVERIFY(normal());
        kit::setHelpHook(oldHelp);
    }

    void slotsShowTheMediumBeingEntered()
    {
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {{1, QStringLiteral("Alien"), 120}});
        TMainform &m = fx.open();
        fx.unlock();
        auto *film1 = m.Component<TPZSpeedButton>("Film1");
        auto *del = m.Component<TPZSpeedButton>("SpBFilmDel");
        auto *panel = m.Component<QWidget>("PanelKrt");
        QVERIFY(film1->isVisibleTo(panel) && del->isVisibleTo(panel));
        QTest::mouseClick(fx.child<QToolButton>("NavInsert"), Qt::LeftButton);
        QTest::keyClicks(m.Component<dbui::DbEdit>("DBMed"), QStringLiteral("VHS-SB"));
        QVERIFY(!film1->isVisibleTo(panel));
        QVERIFY(!del->isVisibleTo(panel));
        // Given up, the card shows the DVD and its film again.
        m.Table1->cancel();
        QVERIFY(film1->isVisibleTo(panel));
    }

    void aRenamedPersonShowsOnTheOpenFilmCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60, false, false, {}, false,
                                                       QStringLiteral("Scott")}});
        {
            engine::Table t;
            t.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
            t.open();
            t.append();
            t.fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Scott"));
            t.post();
        }
        TMainform &m = fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(1, true);
        m.ImageClick(1);
        auto *regie = WFilm->findChild<dbui::DbComboBox *>(QStringLiteral("DBEF1"));
        QCOMPARE(regie->text(), QStringLiteral("Scott"));
        ShowPersonCard(m, QStringLiteral("Scott"));
        m.PersTable->edit();
        m.PersTable->fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Scott, Ridley"));
        m.PersTable->post();
        QCOMPARE(regie->text(), QStringLiteral("Scott, Ridley"));
    }

    void filmCardPlusAddsTheNextFilmOfItsMedium()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}, {2, QStringLiteral("Brazil"), 60}});
        fx.addMedium(QStringLiteral("DVD"), 2, 0, {{1, QStringLiteral("Casino"), 120}});
        TMainform &m = fx.open();
        fx.unlock();
        QVERIFY(fx.locate(QStringLiteral("VHS-SB"), 1));
        m.ImageClick(1);
        TWFilm &w = *WFilm;
        w.DBNavigator1->press(dbui::DbNavigator::Insert);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Insert);
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Medium"))->asString(), QStringLiteral("VHS-SB"));
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("KassNr"))->asInteger(), 1);
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 3);
        QCOMPARE(w.GetCaptionText(), QStringLiteral("Filmdaten \\b-- Band-Nr. 1, Film-Nr. 3"));
        w.Table1->cancel();
        // A DVD holds one film: "+" says so and adds none.
        LocateFilm(m.DataSets(), QStringLiteral("DVD"), 2, 1, true);
        p().clear();
        w.DBNavigator1->press(dbui::DbNavigator::Insert);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(p().last().caption, QStringLiteral("Hinweis"));
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
    }
};

QTEST_MAIN(TstCardUse)
#include "tst_carduse.moc"
