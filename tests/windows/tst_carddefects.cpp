// Faults found by using the medium card, each driven headless through the
// components' names: the film delete button, the status line after the lock,
// the navigator without a database, the one-film setting, values in the
// card's SQL, the kind typed over the card, the input checks, a reload while
// the user types, closing after a refused change, zoom and resize, and
// opening with a damaged person table.
#include "cardfixture.h"

#include "app/settings.h"
#include "data/locate.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "windows/mediumkind.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

class TestCardDefects : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    bool shown(QWidget *w) { return w->isVisibleTo(fx.form->PanelKrt); }
    kit::ScriptedPresenter &presenter() { return *fx.settings.presenter; }
    QList<int> filmNumbers(const QString &kind, int nr)
    {
        QList<int> out;
        for (int f = 1; f <= 20; ++f)
            if (LocateFilm(fx.form->DataSets(), kind, nr, f, false))
                out << f;
        return out;
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void filmDeleteTakesOnlyTheLastFilm()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 300, card::numberedFilms(7, 30));
        TMainform &m = fx.open();
        fx.unlock();
        auto *del = fx.child<TPZSpeedButton>("SpBFilmDel");
        // Slots 1..5 show films 1..5: the last film (7) is not on screen.
        QVERIFY(!shown(del));
        fx.child<TPZSpeedButton>("BDown")->Click();
        QVERIFY(!shown(del));
        fx.child<TPZSpeedButton>("BDown")->Click();
        QCOMPARE(fx.child<QLabel>("Image5")->text(), QStringLiteral("7"));
        QVERIFY(shown(del));
        QCOMPARE(del->y(), fx.child<TPZSpeedButton>("SpBNotes5")->y());
        presenter().answer(mrYes);
        del->Click();
        QCOMPARE(presenter().last().text, QStringLiteral("Diesen Film wirklich löschen?"));
        QCOMPARE(filmNumbers(QStringLiteral("VHS-SB"), 1), QList<int>({1, 2, 3, 4, 5, 6}));
        // Now film 6 is the last one, in slot 4.
        QVERIFY(shown(del));
        QCOMPARE(del->y(), fx.child<TPZSpeedButton>("SpBNotes4")->y());
        QCOMPARE(m.SlotFilmNr[3], 6);
    }

    void statusLineAfterLockAndUnlock()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("A")}});
        fx.addMedium(QStringLiteral("DVD"), 2, 0, {{1, QStringLiteral("B")}});
        TMainform &m = fx.open();
        const QString left = QStringLiteral("2 Medien, 2 Filme");
        const QString right = QStringLiteral("Datei: ") + m.Table1->tableName();
        QCOMPARE(fx.child<QLabel>("Status1")->text(), left);
        QCOMPARE(fx.child<QLabel>("Status2")->text(), right);
        fx.unlock();
        QCOMPARE(fx.child<QLabel>("Status1")->text(), left);
        QCOMPARE(fx.child<QLabel>("Status2")->text(), right);
        QCOMPARE(fx.child<QLabel>("Status2")->palette().color(QPalette::WindowText),
                 m.palette().color(QPalette::WindowText));
        m.SpBReadOnlyClick();
        QVERIFY(m.Table1->readOnly());
        QCOMPARE(fx.child<QLabel>("Status1")->text(), left);
        QCOMPARE(fx.child<QLabel>("Status2")->text(), right);
    }

    void navigatorIsOffWithoutADatabase()
    {
        fx.form.reset(CreateForm<TMainform>());
        Mainform = fx.form.get();
        for (const char *n : {"NavFirst", "NavPrior", "NavNext", "NavLast"}) {
            auto *b = fx.child<QToolButton>(n);
            QVERIFY2(!b->isEnabledTo(fx.form.get()), n);
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QVERIFY(presenter().shown().isEmpty());
        fx.form.reset();
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240);
        TMainform &m = fx.open();
        auto *last = fx.child<QToolButton>("NavLast");
        QVERIFY(last->isEnabledTo(&m));
        QTest::mouseClick(last, Qt::LeftButton);
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        CloseDatabaseTables();
        QVERIFY(!last->isEnabledTo(&m));
    }

    void oneFilmSettingFollowsEverywhere()
    {
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {{1, QStringLiteral("A")}});
        TMainform &m = fx.open();
        fx.unlock();
        QVERIFY(dvd_kk_nur1film);
        QVERIFY(!shown(m.ButtNewFilm));
        m.Records->Men_dvd_kk_nur1filmClick();
        QVERIFY(!m.Records->dvdKkNur1Film);
        QVERIFY(!dvd_kk_nur1film);
        QVERIFY(shown(m.ButtNewFilm)); // the slots follow
        dvd_kk_nur1film = true;
        LoadSettings();
        QVERIFY(!dvd_kk_nur1film); // and the saved settings
        m.Records->Men_dvd_kk_nur1filmClick();
        QVERIFY(dvd_kk_nur1film && m.Records->dvdKkNur1Film);
        QVERIFY(!shown(m.ButtNewFilm));
        dvd_kk_nur1film = false;
        LoadSettings();
        QVERIFY(dvd_kk_nur1film);
    }

    void reloadNeverMergesTheUsersKeys()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &m = fx.open();
        fx.unlock();
        auto *len = fx.child<dbui::DbEdit>("DBLen");
        QCOMPARE(len->text(), QStringLiteral("240"));
        // Another copy of the program changes the medium meanwhile.
        {
            engine::Table other;
            other.setTableName(MediaTablePath(fx.base));
            other.open();
            QVERIFY(other.locate(QStringLiteral("Medium;Nr"), QVariantList{QStringLiteral("VHS-SB"), 1}));
            other.edit();
            other.fieldByName(QStringLiteral("Len"))->setAsInteger(150);
            other.post();
            other.close();
        }
        len->setFocus();
        len->selectAll();
        QTest::keyClicks(len, QStringLiteral("90"));
        QCOMPARE(len->text(), QStringLiteral("90"));
        m.Table1->post();
        QCOMPARE(fx.field("Len")->asInteger(), 90);
    }

    void valuesInTheCardsSqlAreBound()
    {
        const QString odd = QStringLiteral("A\"B");
        fx.addMedium(odd, 1, 240, {{1, QStringLiteral("Eins")}, {2, QStringLiteral("Zwei")}});
        for (int n = 1; n <= 9; ++n)
            fx.addMedium(QStringLiteral("VHS-SB"), n, 240);
        fx.addMedium(QStringLiteral("DVD"), 12, 0);
        TMainform &m = fx.open();
        QVERIFY(fx.locate(odd, 1));
        // The film list under the card.
        m.ShowFilmList(true);
        QVERIFY(presenter().shown().isEmpty());
        QVERIFY(m.QueryFL->active());
        QCOMPARE(m.QueryFL->recordCount(), 2);
        // The chooser lists the odd kind among the stored ones.
        {
            TDMedienDropDown dd;
            auto *list = dd.findChild<QListWidget *>(QStringLiteral("Listbox1"));
            QVERIFY(!list->findItems(odd, Qt::MatchExactly).isEmpty());
        }
        // "Letzte!" in the go-to dialog: the highest number of the kind typed.
        QList<int> last;
        for (const QString &kind : {QStringLiteral("VHS-SB"), odd, QStringLiteral("DVD")}) {
            presenter().answerDialog([&last, kind](QDialog &d) {
                d.findChild<QLineEdit *>(QStringLiteral("EditMed"))->setText(kind);
                d.findChild<QPushButton *>(QStringLiteral("ButtLetzte"))->click();
                last << d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->value();
            }, mrCancel);
            ShowLocateMediumDialog();
        }
        QCOMPARE(last, QList<int>({9, 1, 12}));
    }
};

QTEST_MAIN(TestCardDefects)
#include "tst_carddefects.moc"
