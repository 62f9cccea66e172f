// The person card driven headless: opened from the menu and from the film
// card, the rename carried into the films in the person's post, a new card
// that carries nothing, a name that differs only in letter case refused,
// the list modes, the picker of the film card, the quick search's hit and
// the import dialog that stays closed for the current person table, and the
// memo menu's search.
#include "cardfixture.h"

#include "data/freefieldlabels.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbmemo.h"
#include "kit/lockbutton.h"
#include "dbui/dbgrid.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/main/mainmenus.h"
#include "windows/cards/persondialogs.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wpers.h"

#include <QLineEdit>
#include <QTabBar>

class TstPersonCard : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    void addPersons(const QStringList &names)
    {
        engine::Table t;
        t.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
        t.open();
        for (const QString &n : names) {
            t.append();
            t.fieldByName(QStringLiteral("Name"))->setAsString(n);
            t.post();
        }
    }
    QString filmField(int filmNr, int f)
    {
        engine::Table *t = fx.form->FilmTable.get();
        t->refresh();
        t->locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, filmNr});
        return t->fieldByName(QStringLiteral("Free%1").arg(f))->asString();
    }
    static void post(engine::Table *t)
    {
        try {
            t->post();
        } catch (const engine::Abort &) {
        }
    }
    TWPers &card() { return *BoundPersonCard(*fx.form); }

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

    void menuAndKeysOpenTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        addPersons({QStringLiteral("Maier")});
        fx.open();
        QVERIFY(fx.form->Menus->Entry(QStringLiteral("PersonenKarteikarte1"))->isEnabled());
        QVERIFY(fx.form->Menus->Run(QStringLiteral("PersonenKarteikarte1")));
        QVERIFY(WPers && WPers->isVisible());
        QCOMPARE(WPers->DBEName->text(), QStringLiteral("Maier"));
        QVERIFY(WPers->LockButton1->LockedState());
        // F8 on the card closes it, F8 on the film card shows it again.
        QTest::keyClick(WPers, Qt::Key_F8);
        QVERIFY(!WPers->isVisible());
        fx.form->ImageClick(1);
        QTest::keyClick(WFilm, Qt::Key_F8);
        QVERIFY(WPers->isVisible());
        // The lock follows the main window's.
        fx.unlock();
        QVERIFY(!WPers->LockButton1->LockedState());
    }

    void renameCarriesIntoFilmsInOnePost()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("A"), 60, false, false, {}, false, QStringLiteral("Meier")},
                      {2, QStringLiteral("B"), 60, false, false, {}, false, QStringLiteral("Meier, Hans")}});
        addPersons({QStringLiteral("Meier"), QStringLiteral("Schulz")});
        fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(1, true);
        SetFilmFreeIsPerson(2, true);
        TWPers &w = card();
        QVERIFY(w.LocatePersonByName(QStringLiteral("Meier")));
        w.Table1->edit();
        QCOMPARE(w.OldName, QStringLiteral("Meier"));
        w.Table1->fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Maier"));
        post(w.Table1);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(filmField(1, 1), QStringLiteral("Maier"));
        QCOMPARE(filmField(2, 1), QStringLiteral("Meier, Hans"));
        // A new record carries nothing, even with a name a film holds.
        w.Table1->insert();
        w.Table1->fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Meier, Hans"));
        post(w.Table1);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(filmField(2, 1), QStringLiteral("Meier, Hans"));
        // Only the letter case differs from another person: refused, nothing carried.
        QVERIFY(w.LocatePersonByName(QStringLiteral("Schulz")));
        w.Table1->edit();
        w.Table1->fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("MAIER"));
        p().clear();
        post(w.Table1);
        QCOMPARE(p().last().caption, QStringLiteral("Indexfehler"));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        w.Table1->cancel();
        QCOMPARE(filmField(1, 1), QStringLiteral("Maier"));
    }

    void listModes()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Alien"), 60, false, false, QStringLiteral("Teil 1"), false, QStringLiteral("Maier")},
                      {2, QStringLiteral("Blade"), 60, false, false, {}, false, QStringLiteral("Schulz")}});
        addPersons({QStringLiteral("Maier"), QStringLiteral("Meier"), QStringLiteral("Schulz")});
        fx.open();
        SetFilmFreeIsPerson(1, true);
        TWPers &w = card();
        w.ShowPerson(QStringLiteral("Maier"));
        const int plain = w.width();
        w.ButtNamenClick();
        QCOMPARE(w.ListMode, 1);
        QVERIFY(w.PanelList->isVisibleTo(&w));
        QVERIFY(w.width() > plain);
        QCOMPARE(w.QueryNames->recordCount(), 3);
        QCOMPARE(w.QueryNames->fieldByName(QStringLiteral("Name"))->asString(), QStringLiteral("Maier"));
        w.EditSuche->setText(QStringLiteral("ei"));
        w.ButtNamenClick();
        QCOMPARE(w.ListMode, 2);
        QCOMPARE(w.QueryNames->recordCount(), 1);
        w.ListClick();
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Name"))->asString(), QStringLiteral("Meier"));
        QVERIFY(w.LocatePersonByName(QStringLiteral("Maier")));
        w.ButtExpandClick(); // open: closes
        QCOMPARE(w.ListMode, 0);
        QCOMPARE(w.width(), plain);
        QCOMPARE(w.ButtExpand->text(), QStringLiteral("Seine &Filme >>"));
        w.ButtExpandClick();
        QCOMPARE(w.ListMode, 3);
        QCOMPARE(w.QueryFilms->recordCount(), 1);
        QCOMPARE(w.QueryFilms->field(0)->asString().trimmed(), QStringLiteral("Alien - Teil 1"));
        QCOMPARE(w.ButtExpand->text(), QStringLiteral("<< &Liste schließen"));
        // A double click shows the film on the film card.
        w.ListDblClick();
        QVERIFY(WFilm && WFilm->isVisible());
        QCOMPARE(WFilm->DBETitel->text(), QStringLiteral("Alien"));
        w.close();
        QCOMPARE(w.ListMode, 0);
    }

    void filmCardPicksAndShowsPersons()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        addPersons({QStringLiteral("Maier"), QStringLiteral("Scott, Ridley")});
        fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(2, true);
        fx.form->ImageClick(1);
        TWFilm &f = *WFilm;
        // An empty person field: the person card picks.
        p().answerDialog([](QDialog &d) {
            auto &w = static_cast<TWPers &>(d);
            QCOMPARE(w.GetCaptionText(), QStringLiteral("Person zum Eintrag in Film-Anhang auswählen:"));
            QVERIFY(w.ButtOK->isVisibleTo(&w));
            w.LocatePersonByName(QStringLiteral("Scott, Ridley"));
        });
        f.PersonFieldDblClick(2);
        QCOMPARE(p().last().kind, QStringLiteral("TWPers"));
        QCOMPARE(f.Table1->state(), engine::DataSetState::Edit);
        QCOMPARE(f.Table1->fieldByName(QStringLiteral("Free2"))->asString(), QStringLiteral("Scott, Ridley"));
        QVERIFY(!WPers->ButtOK->isVisibleTo(WPers));
        post(f.Table1);
        // A name: the card on that person; an unknown name becomes a person.
        f.PersonFieldDblClick(2);
        QVERIFY(WPers->isVisible());
        QCOMPARE(WPers->DBEName->text(), QStringLiteral("Scott, Ridley"));
        f.Table1->edit();
        f.Table1->fieldByName(QStringLiteral("Free2"))->setAsString(QStringLiteral("Lynch"));
        f.PersonFieldDblClick(2);
        QCOMPARE(WPers->DBEName->text(), QStringLiteral("Lynch"));
        QVERIFY(fx.form->PersTable->locate(QStringLiteral("Name"), QStringLiteral("Lynch")));
    }

    void filmCardRenameTitleGuardAndKeys()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Alien"), 60}, {2, QStringLiteral("Blade Runner"), 60}});
        addPersons({QStringLiteral("Scott, Ridley")});
        fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(3, true);
        for (int nr : {1, 2}) {
            fx.form->FilmTable->locate(QStringLiteral("Medium;KassNr;FilmNr"), {QStringLiteral("VHS-SB"), 1, nr});
            fx.form->FilmTable->edit();
            fx.form->FilmTable->fieldByName(QStringLiteral("Free3"))->setAsString(QStringLiteral("Scott, Ridley"));
            fx.form->FilmTable->post();
        }
        fx.form->ImageClick(1);
        TWFilm &f = *WFilm;
        QCOMPARE(f.DBETitel->text(), QStringLiteral("Alien"));
        // A rename on the film card reaches the other film and the person card file.
        f.Table1->edit();
        f.Table1->fieldByName(QStringLiteral("Free3"))->setAsString(QStringLiteral("Scott, R."));
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("Rad1"))->SetChecked(true); });
        post(f.Table1);
        QCOMPARE(f.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(filmField(2, 3), QStringLiteral("Scott, R."));
        QVERIFY(fx.form->PersTable->locate(QStringLiteral("Name"), QStringLiteral("Scott, R.")));
        fx.form->ImageClick(1);
        // The title holds 40 characters: the 41st is refused with the explanation.
        f.DBETitel->setFocus();
        f.DBETitel->setText(QString(40, QLatin1Char('x')));
        p().clear();
        QTest::keyClick(f.DBETitel->lineEdit(), Qt::Key_Y);
        QCOMPARE(p().last().caption, QStringLiteral("Titel zu lang..."));
        QVERIFY(p().last().text.startsWith(QStringLiteral("Das Feld ")));
        QCOMPARE(f.DBETitel->text().size(), 40);
        f.Table1->cancel();
        // Page down in a card control moves to the next film.
        f.DBELen->setFocus();
        QTest::keyClick(f.DBELen, Qt::Key_PageDown);
        QCOMPARE(f.Table1->fieldByName(QStringLiteral("FilmNr"))->asInteger(), 2);
    }

    void quickSearchHitShowsTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        addPersons({QStringLiteral("Zappa, Frank")});
        fx.open();
        auto *edit = fx.form->findChild<QLineEdit *>(QStringLiteral("EditSchnellsuche"));
        QVERIFY(edit);
        edit->setText(QStringLiteral("Zappa"));
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(WPers && WPers->isVisible());
        QCOMPARE(WPers->DBEName->text(), QStringLiteral("Zappa, Frank"));
    }

    void importOfTheCurrentTableKeepsOkOff()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        fx.unlock();
        const QString current = fx.form->PersTable->tableName();
        bool okEnabled = true;
        p().answerDialog(
            [&](QDialog &d) {
                auto &dlg = static_cast<TDPersImport &>(d);
                dlg.EditSource->setText(current);
                dlg.CheckSource();
                okEnabled = dlg.BitBtnOK->isEnabled();
            },
            mrCancel);
        QVERIFY(fx.form->Menus->Run(QStringLiteral("Importieren1")));
        QVERIFY(!okEnabled);
    }

    void memoMenuSearchesTheMemo()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        {
            engine::Table t;
            t.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
            t.open();
            t.append();
            t.fieldByName(QStringLiteral("Name"))->setAsString(QStringLiteral("Maier"));
            t.fieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("Ein Hund und noch ein HUND."));
            t.post();
        }
        fx.open();
        TWPers &w = card();
        w.ShowPerson(QStringLiteral("Maier"));
        w.TabSet1->setCurrentIndex(1);
        auto menu = [&](const char *entry, const QString &term = QString()) {
            p().answerMenu(QString::fromUtf8(entry));
            if (!term.isEmpty())
                p().answerInput(term);
            emit w.DBMemo->customContextMenuRequested(QPoint(4, 4));
        };
        menu("Memotext durchsuchen", QStringLiteral("hund"));
        // The menu came first, then the question for the term.
        QCOMPARE(p().shown().at(p().shown().size() - 2).objectName, QStringLiteral("PopupMemo"));
        QCOMPARE(p().last().caption, QStringLiteral("Memotext durchsuchen"));
        QCOMPARE(w.DBMemo->textCursor().selectionStart(), 4);
        QCOMPARE(w.DBMemo->textCursor().selectedText(), QStringLiteral("Hund"));
        menu("Weitersuchen");
        QCOMPARE(w.DBMemo->textCursor().selectionStart(), 22);
        QCOMPARE(w.DBMemo->textCursor().selectedText(), QStringLiteral("HUND"));
        menu("Weitersuchen");
        QCOMPARE(p().last().caption, QStringLiteral("Nicht gefunden!"));
        QCOMPARE(p().last().text, QStringLiteral("Kein weiteres Vorkommen gefunden."));
        QCOMPARE(w.DBMemo->textCursor().selectionStart(), 22);
        menu("Memotext durchsuchen", QStringLiteral("Katze"));
        QCOMPARE(p().last().text, QStringLiteral("Der Suchbegriff \"Katze\" kommt im Memo nicht vor."));
        // Nothing to search on after a miss.
        const int shown = int(p().shown().size());
        menu("Weitersuchen");
        QCOMPARE(int(p().shown().size()), shown + 1); // the menu alone
        w.close();
    }
};

QTEST_MAIN(TstPersonCard)
#include "tst_personcard.moc"
