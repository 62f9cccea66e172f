// The quick search of the main window: where one hit leads, which list
// several hits open, the message when nothing is found, the details in the
// query window and the film slot marker.
#include "data/upwarddoors.h"
#include "cardfixture.h"

#include "data/database.h"

#include "dbui/dbgrid.h"
#include "engine/query.h"
#include "kit/pzspeedbutton.h"
#include "query/quicksearch.h"
#include "windows/main/mainquicksearch.h"
#include "windows/queries/queryform.h"

#include <QLabel>
#include <QLineEdit>

class TstMainQuickSearch : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    TMainQuickSearch &qs() { return *fx.form->QuickSearchPart; }

    void person(const QString &name)
    {
        engine::Table t;
        t.setTableName(fx.base + "DB/Pers.DB");
        t.open();
        t.append();
        t.fieldByName("Name")->setAsString(name);
        t.post();
        t.close();
    }

private slots:
    void init()
    {
        fx.setUp();
        fx.addMedium("VHS-SB", 1, 240, {{1, "Rio Bravo", 140}, {2, "Alien", 100}});
        fx.addMedium("DVD", 2, 120, {{1, "Casablanca", 100}});
        fx.addMedium("DVD", 3, 120, {}, [](engine::Table &m) { m.fieldByName("Free1")->setAsString("Kiste Bravo"); });
        person("Ingrid Bergman");
        person("Humphrey Bogart");
        fx.open();
        fx.form->show();
    }
    void cleanup()
    {
        if (QueryForm) {
            QueryForm->close();
            delete QueryForm;
        }
        fx.tearDown();
    }

    void oneHit()
    {
        // A film: the card moves to its medium, its slot marked.
        fx.locate("DVD", 2);
        fx.form->QuickSearch("alien");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::Film);
        QCOMPARE(qs().Mode, 0);
        QCOMPARE(fx.field("Nr")->asInteger(), 1);
        QCOMPARE(fx.form->FilmTable->fieldByName("Titel")->asString(), QStringLiteral("Alien"));
        QVERIFY(qs().KassCursor->isVisibleTo(fx.form.get()));
        QCOMPARE(qs().KassCursor->y(), fx.form->Component<TPZSpeedButton>("Film2")->y() + 1);
        // Paging to another medium takes the mark away; back on the film's
        // medium it stands on the film again.
        fx.locate("DVD", 2);
        QVERIFY(!qs().KassCursor->isVisibleTo(fx.form.get()));
        fx.locate("VHS-SB", 1);
        QVERIFY(qs().KassCursor->isVisibleTo(fx.form.get()));
        QCOMPARE(qs().KassCursor->y(), fx.form->Component<TPZSpeedButton>("Film2")->y() + 1);
        // A medium.
        fx.form->QuickSearch("kiste");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::Medium);
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
        QVERIFY(!qs().KassCursor->isVisibleTo(fx.form.get()));
        // A person: the person card's table.
        fx.form->QuickSearch("bogart");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::Person);
        QCOMPARE(fx.form->PersTable->fieldByName("Name")->asString(), QStringLiteral("Humphrey Bogart"));
    }

    void manyHits()
    {
        const int height = fx.form->height();
        const int cardTop = fx.form->Component<QWidget>("PanelKrt")->y();
        // "Bravo": a film and a medium; the films list opens first.
        fx.form->QuickSearch("BRAVO");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::FilmList);
        QCOMPARE(qs().Mode, 1);
        QVERIFY(qs().PanelExpanded->isVisibleTo(fx.form.get()));
        QVERIFY(qs().SpBExpDetails->isVisibleTo(fx.form.get()));
        QVERIFY(qs().PanelTops[0]->font().bold());
        QVERIFY(!qs().PanelTops[1]->font().bold());
        QVERIFY(fx.form->height() > height);
        QVERIFY(fx.form->Component<QWidget>("PanelKrt")->y() > cardTop);
        QCOMPARE(qs().QuerySSFilm->recordCount(), 1);
        QCOMPARE(qs().QuerySSKass->recordCount(), 1);
        // The media heading switches lists; a click moves the card.
        qs().SetQuickSearchMode(2);
        QVERIFY(qs().PanelTops[1]->font().bold());
        qs().RowClick(1);
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
        // Collapse: the window and the card are back.
        qs().SpBShrink->Click();
        QCOMPARE(qs().Mode, 0);
        QVERIFY(!qs().PanelExpanded->isVisibleTo(fx.form.get()));
        QCOMPARE(fx.form->height(), height);
        QCOMPARE(fx.form->Component<QWidget>("PanelKrt")->y(), cardTop);
        // Media and persons, no films: the media list.
        fx.form->QuickSearch("DVD");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::FilmList); // Casablanca is on a DVD
        fx.form->QuickSearch("ri");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::FilmList);
        fx.form->QuickSearch("g");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::PersonList);
        QCOMPARE(qs().Mode, 3);
        // Ctrl+M, Ctrl+F and Ctrl+P switch the open panel's list.
        QTest::keyClick(fx.form.get(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(qs().Mode, 2);
        QTest::keyClick(fx.form.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(qs().Mode, 1);
        QTest::keyClick(fx.form.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(qs().Mode, 3);
        // A database command closes the panel before the files change.
        QVERIFY(UpwardDoors.Database.BeforeDatabaseCommand);
        UpwardDoors.Database.BeforeDatabaseCommand();
        QCOMPARE(qs().Mode, 0);
        QTest::keyClick(fx.form.get(), Qt::Key_M, Qt::ControlModifier);
        QCOMPARE(qs().Mode, 0);
    }

    void nothingFound()
    {
        fx.settings.presenter->clear();
        fx.form->QuickSearch("xyzzy");
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::Nothing);
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Nichts gefunden"));
        QCOMPARE(fx.settings.presenter->last().text, query::NothingFoundText());
        QCOMPARE(qs().Mode, 0);
    }

    void details()
    {
        fx.form->QuickSearch("a");
        QCOMPARE(qs().Mode, 1);
        qs().SpBExpDetailsClick();
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 3);
        QVERIFY(QueryForm->Query1->findField("Untertitel"));
        qs().SetQuickSearchMode(3);
        qs().SpBExpDetailsClick();
        QCOMPARE(QueryForm->Query1->recordCount(), 2);
        QVERIFY(QueryForm->Query1->findField("MF"));
    }

    void searchField()
    {
        fx.form->Component<QWidget>("PanelKalender")->show();
        qs().EditSchnellsuche->setText("alien");
        qs().EditSchnellsuche->setFocus();
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(qs().EditSchnellsuche, &focusIn);
        QVERIFY(!fx.form->Component<QWidget>("PanelKalender")->isVisibleTo(fx.form.get()));
        QTest::keyClick(qs().EditSchnellsuche, Qt::Key_Return);
        QCOMPARE(qs().LastRoute, query::QuickSearchRoute::Film);
    }
};

QTEST_MAIN(TstMainQuickSearch)
#include "tst_mainquicksearch.moc"
