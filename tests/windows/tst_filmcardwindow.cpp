// The film card driven headless through its components: opening from the
// slots, the duplicate question on insert and none on edit, the person
// branches, the delete guard, the empty-title close, the printed-label
// question, a picture from a file and the playing-time and filter dialogs.
#include "cardfixture.h"

#include "../data/tapefilmsample.h"
#include "../dbui/jpegsample.h"
#include "data/filmcard.h"
#include "data/freefieldlabels.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbimage.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/askwithremember.h"
#include "windows/freeareadialogs.h"
#include "windows/tdasknewperson.h"
#include "windows/tdlenenter.h"
#include "windows/wfilm.h"
#include "windows/wgrafik.h"

#include "kit/lockbutton.h"
#include "kit/ozodbcheck.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include "kit/pagecontroles.h"

class TstFilmCardWindow : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    TWFilm &openOn(int slot)
    {
        fx.form->ImageClick(slot);
        Q_ASSERT(WFilm);
        return *WFilm;
    }
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
    bool personExists(const QString &name)
    {
        fx.form->PersTable->refresh();
        return fx.form->PersTable->locate(QStringLiteral("Name"), name);
    }
    void setText(engine::Table *t, const char *field, const QString &v)
    {
        if (t->state() == engine::DataSetState::Browse)
            t->edit();
        t->fieldByName(QLatin1String(field))->setAsString(v);
    }

    // A post as the navigator runs it: a silent abort leaves the record.
    static void post(engine::Table *t)
    {
        try {
            t->post();
        } catch (const engine::Abort &) {
        }
    }
    static void del(engine::Table *t)
    {
        try {
            t->deleteRecord();
        } catch (const engine::Abort &) {
        }
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void slotsOpenTheCard()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}, {2, QStringLiteral("Aliens"), 90}});
        fx.open();
        TWFilm &w = openOn(2);
        QVERIFY(w.isVisible());
        QCOMPARE(w.DBETitel->text(), QStringLiteral("Aliens"));
        QCOMPARE(w.GetCaptionText(), QStringLiteral("Filmdaten \\b-- Band-Nr. 1, Film-Nr. 2"));
        QVERIFY(w.DBChkFrei->isVisibleTo(&w));
        QCOMPARE(w.ComboBoxTon->count(), 5);
        QVERIFY(w.LockButton1->LockedState());
        // The menu entry of slot 1 follows.
        fx.form->ShowFilmCard(1, true, false);
        QCOMPARE(w.DBETitel->text(), QStringLiteral("Alien"));
        // The lock mirrors the main window's.
        fx.unlock();
        QVERIFY(!w.LockButton1->LockedState());
        QCOMPARE(w.DBETitel->text(), QStringLiteral("Alien"));
    }

    void duplicateOnInsertNotOnEdit()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        fx.unlock();
        fx.form->ButtNewFilmClick();
        QVERIFY(WFilm && WFilm->isVisible());
        TWFilm &w = *WFilm;
        QCOMPARE(w.Table1->state(), engine::DataSetState::Insert);
        setText(w.Table1, "Titel", QStringLiteral("Alien"));
        p().answer(mrCancel);
        post(w.Table1);
        QCOMPARE(p().last().caption, QStringLiteral("Film doppelt?"));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Insert); // the user may go on
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Alien"));
        p().answer(mrOk);
        post(w.Table1);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(fx.form->Table2->recordCount(), 2);
        // Editing the film does not find it as its own duplicate.
        p().clear();
        w.Table1->edit();
        w.Table1->fieldByName(QStringLiteral("Len"))->setAsInteger(70);
        post(w.Table1);
        QVERIFY(p().shown().isEmpty());
        // The duplicate button after leaving the title.
        w.Table1->edit();
        w.TitleExit();
        QVERIFY(!w.SpBTitelDoppelt->isHidden()); // film 1 carries the title as well
        w.Table1->cancel();
    }

    void personBranches()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        addPersons({QStringLiteral("Kubrick, Stanley"), QStringLiteral("Scott, Ridley")});
        fx.open();
        fx.unlock();
        SetFilmFreeIsPerson(3, true);
        SetFilmFreeLabel(3, QStringLiteral("&Regie"));
        TWFilm &w = openOn(1);
        // Known: no question.
        setText(w.Table1, "Free3", QStringLiteral("Scott, Ridley"));
        post(w.Table1);
        QVERIFY(p().shown().isEmpty());
        // Unchanged (also when it is no person): no question.
        // Renamed: TDAskNewPerson, choice rename.
        setText(w.Table1, "Free3", QStringLiteral("Scott, R."));
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("Rad1"))->SetChecked(true); });
        post(w.Table1);
        QCOMPARE(p().last().kind, QStringLiteral("TDAskNewPerson"));
        QVERIFY(personExists(QStringLiteral("Scott, R.")));
        QVERIFY(!personExists(QStringLiteral("Scott, Ridley")));
        // Renamed, cancelled: the post stops, the input stays.
        setText(w.Table1, "Free3", QStringLiteral("Scott"));
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("Rad2"))->SetChecked(true); },
                         mrCancel);
        post(w.Table1);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Free3"))->asString(), QStringLiteral("Scott"));
        // Renamed, new person: both stay.
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("Rad2"))->SetChecked(true); });
        post(w.Table1);
        QVERIFY(personExists(QStringLiteral("Scott")));
        QVERIFY(personExists(QStringLiteral("Scott, R.")));
        // New name into an empty field: Yes / No / Cancel.
        setText(w.Table1, "Free3", QString());
        post(w.Table1);
        p().clear();
        setText(w.Table1, "Free3", QStringLiteral("Lynch"));
        p().answer(mrCancel);
        post(w.Table1);
        QCOMPARE(p().last().caption, QStringLiteral("Neue Person erfassen?"));
        QCOMPARE(p().last().text, NewPersonQuestion(QStringLiteral("Regie"), QStringLiteral("Lynch")));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        p().answer(mrNo);
        post(w.Table1);
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QVERIFY(!personExists(QStringLiteral("Lynch")));
        // The old name was no person: the plain question again, Yes adds it.
        setText(w.Table1, "Free3", QStringLiteral("Lynch, David"));
        p().answer(mrYes);
        post(w.Table1);
        QCOMPARE(p().last().caption, QStringLiteral("Neue Person erfassen?"));
        QVERIFY(personExists(QStringLiteral("Lynch, David")));
        // Unchanged: nothing asked.
        p().clear();
        w.Table1->edit();
        w.Table1->fieldByName(QStringLiteral("Len"))->setAsInteger(61);
        post(w.Table1);
        QVERIFY(p().shown().isEmpty());
    }

    void deleteGuardAndEmptyTitle()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        fx.unlock();
        TWFilm &w = openOn(1);
        del(w.Table1);
        QCOMPARE(p().last().text, OnlyFilmMessage);
        QCOMPARE(w.Table1->recordCount(), 1);
        // Inserting without a title: Yes keeps the card open, No drops the film.
        fx.form->ButtNewFilmClick();
        QCOMPARE(w.Table1->state(), engine::DataSetState::Insert);
        p().answer(mrYes);
        w.close();
        QCOMPARE(p().last().caption, QStringLiteral("Film-Titel fehlt!"));
        QCOMPARE(p().last().text, MissingTitleOnInsert);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Table1->state(), engine::DataSetState::Insert);
        p().answer(mrNo);
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QCOMPARE(w.Table1->recordCount(), 1);
        // Editing: the title cleared; Cancel keeps editing, No drops the change.
        openOn(1);
        setText(w.Table1, "Titel", QString());
        p().answer(mrCancel);
        w.close();
        QCOMPARE(p().last().text, MissingTitleOnEdit);
        QVERIFY(w.isVisible());
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        p().answer(mrNo);
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Titel"))->asString(), QStringLiteral("Alien"));
        // Yes deletes, but not the only film.
        openOn(1);
        setText(w.Table1, "Titel", QString());
        p().answer(mrYes);
        w.close();
        QCOMPARE(p().last().text, OnlyFilmMessage);
        QCOMPARE(w.Table1->recordCount(), 1);
    }

    void printedLabelQuestion()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}, {2, QStringLiteral("B"), 60}},
                     [](engine::Table &m) { m.fieldByName(QStringLiteral("Gedruckt"))->setAsBoolean(true); });
        fx.open();
        fx.unlock();
        PrintSterne = false;
        PFClearAlways = PFClearNever = false;
        TWFilm &w = openOn(1);
        // No stars on the label: a new rating asks nothing.
        w.ComboBoxWertungChange(4);
        QCOMPARE(w.Table1->fieldByName(QStringLiteral("Wertung"))->asInteger(), 3);
        post(w.Table1);
        QVERIFY(p().shown().isEmpty());
        // A new title always counts.
        setText(w.Table1, "Titel", QStringLiteral("Alien 2"));
        QVERIFY(w.LabelChanged);
        p().answer(TModalResult(mrAskYes));
        post(w.Table1);
        QCOMPARE(p().last().kind, QStringLiteral("TDAsk"));
        fx.form->Table1->refresh();
        QVERIFY(!fx.field("Gedruckt")->asBoolean());
    }

    void pictureFromFile()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        fx.unlock();
        TWFilm &w = openOn(1);
        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(64, 48));
        const QString good = fx.settings.path(QStringLiteral("cover.jpg"));
        const QString bad = fx.settings.path(QStringLiteral("cut.jpg"));
        QFile g(good);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write(jpeg);
        g.close();
        QFile b(bad);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write(jpeg.left(jpeg.size() / 3));
        b.close();
        p().answerFile(bad);
        QVERIFY(!LoadPictureFromFile(w.DBImage1, &w));
        QVERIFY(p().last().text.startsWith(QStringLiteral("Die ausgewählte Datei lässt sich nicht öffnen!")));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse); // nothing changed
        p().answerFile(good);
        QVERIFY(LoadPictureFromFile(w.DBImage1, &w));
        post(w.Table1);
        const QByteArray stored = w.Table1->fieldByName(QStringLiteral("Grafik"))->value().toByteArray();
        QVERIFY(stored.startsWith("BM")); // stored as a bitmap
        QVERIFY(w.DBImage1->hasPicture());
        QCOMPARE(w.DBImage1->picture().size(), QSize(64, 48));
    }

    void playingTimeDialog()
    {
        // 95 minutes show as 1 h 35; a DVD shows the first page only.
        bool lp = false;
        p().answerDialog([](QDialog &d) {
            auto *dlg = static_cast<TDLenEnter *>(&d);
            QCOMPARE(dlg->EH->value(), 1);
            QCOMPARE(dlg->EMin->value(), 35);
            QVERIFY(!dlg->PageControl1->isTabVisible(1));
            QVERIFY(!dlg->PageControl1->isTabVisible(2));
            QVERIFY(!dlg->ChkLP->isEnabled());
            dlg->EH->setValue(2);
            dlg->EMin->setValue(0);
        });
        QCOMPARE(ExecLenEnter(95, 0, QPoint(10, 10), 1, 1, QStringLiteral("DVD"), lp, {}), 120);
        // The third film of a 240-minute tape: the end before the start keeps the length.
        ATTS = false;
        p().answerDialog([](QDialog &d) {
            auto *dlg = static_cast<TDLenEnter *>(&d);
            QVERIFY(dlg->PageControl1->isTabVisible(1));
            QCOMPARE(dlg->LabSh->text(), QStringLiteral("3 h"));
            QCOMPARE(dlg->LabSmin->text(), QStringLiteral("0 min"));
            QCOMPARE(dlg->ERest->value(), 240 - (50 + 120));
            dlg->PageControl1->setCurrentIndex(1);
            dlg->EEpH->setValue(2);
            dlg->EEpMin->setValue(0);
        });
        const int len = ExecLenEnter(50, 240, QPoint(10, 10), 3, 1, QStringLiteral("VHS-SB"), lp,
                                     {tf(1, 60, false), tf(2, 120, true)});
        QCOMPARE(len, 50);
        QCOMPARE(p().last().caption, QStringLiteral("Falsche Eingabe!"));
        QCOMPARE(p().last().text, NegativeLengthMessage);
        // Cancel returns the old length and long play.
        lp = true;
        p().answer(mrCancel);
        QCOMPARE(ExecLenEnter(50, 240, QPoint(), 3, 1, QStringLiteral("VHS-SB"), lp, {}), 50);
        QVERIFY(lp);
    }

    void filterDialog()
    {
        int minutes = 0;
        bool includeFree = false;
        p().answerDialog([](QDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("90"));
            d.findChild<TOzoCheck *>(QStringLiteral("CheckBox1"))->SetChecked(true);
        });
        QVERIFY(ExecFreeLengthFilter(minutes, includeFree));
        QCOMPARE(minutes, 45);
        QVERIFY(includeFree);
        p().answerDialog([](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("abc")); });
        QVERIFY(!ExecFreeLengthFilter(minutes, includeFree));
        QCOMPARE(p().last().text, QStringLiteral("Keine gültige Nummer!"));
        QCOMPARE(p().last().caption, QStringLiteral("Fehler"));
        // The split dialog returns its minutes and long play.
        bool splitLp = false;
        p().answerDialog([](QDialog &d) {
            d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(45);
            d.findChild<TOzoCheck *>(QStringLiteral("CheckBox1"))->SetChecked(true);
        });
        QVERIFY(ExecSplitFreeDialog(minutes, splitLp));
        QCOMPARE(minutes, 45);
        QVERIFY(splitLp);
    }
};

QTEST_MAIN(TstFilmCardWindow)
#include "tst_filmcardwindow.moc"
