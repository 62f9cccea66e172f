// The film card driven headless through its components: opening from the
// slots, the duplicate question on insert and none on edit, the person
// branches, the delete guard, the empty-title close, the printed-label
// question, a picture from a file and the playing-time and filter dialogs;
// the file-name edits of the link fields, the hover links while locked, the
// headings, the separate memo and picture windows, the web search, the
// repair of the film index and the picture check.
#include "cardfixture.h"
#include "data/tampertable.h"

#include "../data/tapefilmsample.h"
#include "../dbui/jpegsample.h"
#include "data/filmcard.h"
#include "data/mediumrecords.h"
#include "data/tablerepair.h"
#include "dbui/pictureloader.h"
#include "kit/waitbox.h"
#include "data/freefieldlabels.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbimage.h"
#include "engine/engineerror.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/cards/freeareadialogs.h"
#include "windows/cards/tdasknewperson.h"
#include "windows/cards/tdlenenter.h"
#include "windows/main/mainmenus.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wgrafik.h"

#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/ozodbcheck.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QLineEdit>
#include <QSpinBox>
#include "kit/pagecontroles.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"
#include "kit/wmemo.h"
#include "dbui/dbedit.h"
#include "dbui/dbmemo.h"
#include "windows/queries/dwebsuche.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wpers.h"
#include "platform/textfile.h"

#include <sqlite3.h>

namespace {
using card::UrlRecorder;


// A file dragged from elsewhere and dropped onto the widget.
void dropFile(QWidget *target, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void hover(QWidget *w, bool enter)
{
    if (enter) {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(w, &e);
    } else {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    }
}
} // namespace

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

    void fileLinkFieldsShowTheirFileNameEdit()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        TWFilm &w = openOn(1);
        auto shows = [&](int i, bool link) {
            return w.DBEF[size_t(i)]->isVisibleTo(&w) == !link && w.DBEFL[size_t(i)]->isVisibleTo(&w) == link
                && w.ButtF[size_t(i)]->isVisibleTo(&w) == link
                && w.LabelF[size_t(i)]->buddy()
                == (link ? static_cast<QWidget *>(w.DBEFL[size_t(i)]) : static_cast<QWidget *>(w.DBEF[size_t(i)]));
        };
        QVERIFY(shows(1, false));
        SetFilmFreeIsFileLink(2, true);
        QVERIFY(shows(1, true));
        QVERIFY(shows(0, false));
        QCOMPARE(w.DBEFL[1]->geometry(), w.DBEF[1]->geometry()); // in the drop-down's place
        QCOMPARE(w.DBEFL[1]->dataField(), QStringLiteral("Free2"));
        // A person field is never a link: the drop-down comes back.
        SetFilmFreeIsPerson(2, true);
        QVERIFY(shows(1, false));
        SetFilmFreeIsFileLink(2, true);
        QVERIFY(shows(1, true));
        // Captions follow the model at once.
        SetFilmFreeLabel(2, QStringLiteral("&Kritik"));
        QCOMPARE(w.LabelF[1]->text(), QStringLiteral("&Kritik"));

        // A file dropped while the film is locked only blinks the lock.
        QDir().mkpath(fx.base + QStringLiteral("LNK"));
        const QString inLnk = fx.base + QStringLiteral("LNK/kritik.pdf");
        QFile f(inLnk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        dropFile(w.DBEFL[1], inLnk);
        QApplication::processEvents();
        QVERIFY(w.LockButton1->Blinking());
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        QVERIFY(w.Table1->fieldByName(QStringLiteral("Free2"))->asString().isEmpty());
        // A caption opens the caption editor, only while unlocked.
        p().clear();
        QTest::mouseClick(w.LabelF[0], Qt::LeftButton);
        QVERIFY(p().shown().isEmpty());
        // Unlocked: a file of the LNK folder is linked by its bare name, no question.
        fx.unlock();
        p().answer(mrCancel);
        QTest::mouseClick(w.LabelF[0], Qt::LeftButton);
        QCOMPARE(p().last().objectName, QStringLiteral("DEditLabels"));
        p().clear();
        dropFile(w.DBEFL[1], inLnk);
        QTRY_COMPARE(w.Table1->fieldByName(QStringLiteral("Free2"))->asString(), QStringLiteral("kritik.pdf"));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Edit);
        QVERIFY(p().shown().isEmpty());
        post(w.Table1);
        QCOMPARE(w.DBEFL[1]->text(), QStringLiteral("kritik.pdf"));
        // An empty link edit's double click opens the field's menu while unlocked.
        SetFilmFreeIsFileLink(3, true);
        QTest::mouseDClick(w.DBEFL[2], Qt::LeftButton);
        QCOMPARE(p().last().kind, QStringLiteral("QMenu"));
        QCOMPARE(p().last().objectName, QStringLiteral("PopupFreeField"));

        // Locked again: a filled link reads as a hyperlink, a click opens it.
        fx.form->SpBReadOnlyClick();
        QVERIFY(w.LockButton1->LockedState());
        hover(w.DBEFL[1], true);
        QVERIFY(w.DBEFL[1]->font().underline());
        QCOMPARE(w.DBEFL[1]->cursor().shape(), Qt::PointingHandCursor);
        hover(w.DBEFL[1], false);
        QVERIFY(!w.DBEFL[1]->font().underline());
        UrlRecorder rec;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &rec, "open");
        QTest::mouseClick(w.DBEFL[1], Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(rec.urls.size(), 1);
        QCOMPARE(rec.urls.first().toLocalFile(), QFileInfo(inLnk).absoluteFilePath());
        // An empty edit is no link.
        hover(w.DBEFL[2], true);
        QVERIFY(!w.DBEFL[2]->font().underline());
        SetFilmFreeIsFileLink(2, false);
        SetFilmFreeIsFileLink(3, false);
    }

    void lockedPersonFieldIsALinkToThePerson()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60, false, false, {}, false,
                                                         QStringLiteral("Scott, Ridley")}});
        addPersons({QStringLiteral("Kubrick, Stanley"), QStringLiteral("Scott, Ridley")});
        fx.open();
        SetFilmFreeIsPerson(1, true);
        TWFilm &w = openOn(1);
        QLineEdit *edit = w.DBEF[0]->lineEdit();
        QVERIFY(edit);
        QCOMPARE(w.DBEF[0]->text(), QStringLiteral("Scott, Ridley"));
        hover(edit, true);
        QVERIFY(w.DBEF[0]->font().underline());
        QCOMPARE(w.DBEF[0]->cursor().shape(), Qt::PointingHandCursor);
        hover(edit, false);
        QVERIFY(!w.DBEF[0]->font().underline());
        // A click on the link shows the person card on that person.
        hover(edit, true);
        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(WPers && WPers->isVisible());
        QCOMPARE(WPers->Table1->fieldByName(QStringLiteral("Name"))->asString(), QStringLiteral("Scott, Ridley"));
        WPers->close();
        // Unlocked the field is an ordinary drop-down.
        fx.unlock();
        hover(edit, true);
        QVERIFY(!w.DBEF[0]->font().underline());
        SetFilmFreeIsPerson(1, false);
    }

    void headingsFollowTheAreaInUse()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        TWFilm &w = openOn(1);
        QApplication::setActiveWindow(&w);
        const QColor navy(0, 0, 0x80), black(Qt::black);
        w.DBETitel->setFocus();
        QTRY_COMPARE(w.PZLabelKrtB->FontColor(), navy);
        QCOMPARE(w.PZLabelAnh->FontColor(), black);
        w.TabSet1->setCurrentIndex(1);
        w.DBMemo->setFocus();
        QTRY_COMPARE(w.PZLabelAnh->FontColor(), navy);
        QCOMPARE(w.PZLabelKrtB->FontColor(), black);
        // An inactive window shows both black; active again, the attachment
        // heading is navy once more.
        w.ShowInactiveCaption();
        QCOMPARE(w.PZLabelAnh->FontColor(), black);
        QCOMPARE(w.PZLabelKrtB->FontColor(), black);
        w.ShowActiveCaption();
        QCOMPARE(w.PZLabelAnh->FontColor(), navy);
        QCOMPARE(w.PZLabelKrtB->FontColor(), black);
    }

    void separateMemoAndPictureWindows()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60, false, false, {}, false, {},
                                                         QStringLiteral("Ein Memo.")}});
        fx.open();
        TWFilm &w = openOn(1);
        QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(w.SpBExp->isVisibleTo(&w), screen->geometry().width() > 1000);
        w.TabSet1->setCurrentIndex(2);
        w.SpBExpClick();
        const QRect avail = w.screen()->availableGeometry();
        QCOMPARE(w.frameGeometry().topLeft(), avail.topLeft());
        QVERIFY(WMemo && WMemo->isVisible());
        QCOMPARE(WMemo->geometry().left(), avail.left());
        QCOMPARE(WMemo->geometry().top(), avail.top() + w.frameGeometry().height());
        QCOMPARE(WMemo->geometry().width(), avail.width());
        QVERIFY(WGrafik && WGrafik->isVisible());
        QCOMPARE(WGrafik->geometry().left(), avail.left() + w.frameGeometry().width());
        QCOMPARE(WGrafik->geometry().top(), avail.top());
        QCOMPARE(w.TabSet1->currentIndex(), 0);
        WMemo->close();
        WGrafik->close();
    }

    void webSearchOfTheFilmAndThePerson()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        addPersons({QStringLiteral("Scott, Ridley")});
        const QString ini = fx.settings.path(QStringLiteral("data/Ozo-Software/Tarvo/search.ini"));
        QDir().mkpath(QFileInfo(ini).path());
        QVERIFY(platform::writeFileBytes(ini, "[Search1]\r\nURI=http://www.example.org/suche?q=%s\r\nName=Lexikon\r\n"
                                              "[Setup]\r\nDefault=1\r\nFilm=Titel\r\nPers=Name\r\n"));
        fx.open();
        fx.unlock();
        TWFilm &w = openOn(1);
        // F10: a pending change is stored first, then the title is proposed.
        setText(w.Table1, "Titel", QStringLiteral("Alien 2"));
        QString proposed;
        p().answerDialog([&](QDialog &d) { proposed = static_cast<TDWebSuche &>(d).EditSuchbegr->text(); }, mrCancel);
        QTest::keyClick(w.DBELen, Qt::Key_F10);
        QCOMPARE(p().last().kind, QStringLiteral("TDWebSuche"));
        QCOMPARE(proposed, QStringLiteral("Alien 2"));
        QCOMPARE(w.Table1->state(), engine::DataSetState::Browse);
        // The person card proposes the name.
        proposed.clear();
        TWPers *card = BoundPersonCard(*fx.form);
        card->ShowPerson(QStringLiteral("Scott, Ridley"));
        p().answerDialog([&](QDialog &d) { proposed = static_cast<TDWebSuche &>(d).EditSuchbegr->text(); }, mrCancel);
        emit card->SpBWeb->Click();
        QCOMPARE(proposed, QStringLiteral("Scott, Ridley"));
        card->close();
    }

    void missingFilmIndexIsRebuilt()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(3, 60));
        fx.addMedium(QStringLiteral("DVD"), 2, 0, {{1, QStringLiteral("Solo"), 100}});
        tamper(FilmTablePath(fx.base), "DROP INDEX pk");
        TMainform &m = fx.open();
        QCOMPARE(fx.settings.captions(), (QStringList{QStringLiteral("Nicht-schwerer Fehler"), QStringLiteral("Erfolg")}));
        QCOMPARE(p().shown().at(0).text,
                 QStringLiteral("Der Primärindex der Filmtabelle scheint zu fehlen! Tarvo wird nun versuchen, ihn neu "
                                "zu erzeugen..."));
        QCOMPARE(p().last().text, QStringLiteral("Der Primärindex der Filmtabelle wurde erfolgreich neu erzeugt!"));
        QVERIFY(m.FilmTable->active() && m.FilmTable->hasPrimaryIndex());
        QVERIFY(m.Table2->active());
        QCOMPARE(m.FilmTable->recordCount(), 4); // no film lost
        QVERIFY(m.FilmTable->locate(QStringLiteral("Medium;KassNr;FilmNr"), QVariantList{QStringLiteral("VHS-SB"), 1, 3}));
        // Two films with one key: the index cannot be made, nothing is lost,
        // and it is said once.
        CloseDatabaseTables();
        fx.form.reset();
        tamper(FilmTablePath(fx.base), "DROP INDEX pk");
        tamper(FilmTablePath(fx.base), "INSERT INTO data(Medium, KassNr, FilmNr, Titel) VALUES('DVD', 2, 1, 'Noch einmal')");
        p().clear();
        TMainform &again = fx.open();
        QCOMPARE(fx.settings.captions(),
                 (QStringList{QStringLiteral("Nicht-schwerer Fehler"), QStringLiteral("Datenbank-Fehler")}));
        QVERIFY(p().last().text.startsWith(
            QStringLiteral("Der Primärindex der Filmtabelle konnte leider nicht automatisch neu erzeugt werden!")));
        QCOMPARE(p().last().icon, kit::BoxIcon::Error);
        QVERIFY(again.FilmTable->active());
        QCOMPARE(again.FilmTable->recordCount(), 5);
    }

    void invalidFilmPicturesAreCleared()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(3, 60));
        const QByteArray good = testdata::encodeJpeg(testdata::samplePicture(16, 8));
        {
            engine::Table f;
            f.setTableName(FilmTablePath(fx.base));
            f.open();
            for (const auto &[nr, bytes] : {std::pair{1, good}, std::pair{2, QByteArray("kaputt")}}) {
                QVERIFY(f.locate(QStringLiteral("Medium;KassNr;FilmNr"), QVariantList{QStringLiteral("VHS-SB"), 1, nr}));
                f.edit();
                f.fieldByName(QStringLiteral("Grafik"))->setAsBytes(bytes);
                f.post();
            }
        }
        TMainform &m = fx.open();
        fx.unlock();
        PictureScanResult r;
        QStringList waitTexts;
        const bool removed = CheckFilmBitmaps(*m.FilmTable, [&](const QByteArray &b) {
            waitTexts << (Waitbox ? Waitbox->Text1->Caption() + u'|' + Waitbox->Text2->Caption() : QString());
            return dbui::PictureLoader::decode(b).ok();
        }, &r);
        QVERIFY(removed);
        QCOMPARE(r.checked, 2);
        QCOMPARE(r.invalid, 1);
        QCOMPARE(r.removed, 1);
        const QString waiting = QStringLiteral("Suche nach ungültigen Bitmaps in den Film-Anhängen...|");
        QCOMPARE(waitTexts, (QStringList{waiting, waiting + QStringLiteral("1 Grafiken geprüft.")}));
        QVERIFY(!Waitbox);
        QCOMPARE(p().last().caption, QStringLiteral("Fertig"));
        QCOMPARE(p().last().icon, kit::BoxIcon::Information);
        QCOMPARE(p().last().text, QStringLiteral("Es wurden 2 Film-Grafiken überprüft, davon wurden 1 als ungültig "
                                                 "erkannt und 1 erfolgreich gelöscht!"));
        auto picture = [&](int nr) {
            [&] { QVERIFY(m.FilmTable->locate(QStringLiteral("Medium;KassNr;FilmNr"), QVariantList{QStringLiteral("VHS-SB"), 1, nr})); }();
            return m.FilmTable->fieldByName(QStringLiteral("Grafik"))->asBytes();
        };
        QCOMPARE(picture(1), good);
        QVERIFY(picture(2).isEmpty());
        QVERIFY(m.FilmTable->fieldByName(QStringLiteral("Grafik"))->isNull());
        QCOMPARE(m.FilmTable->recordCount(), 3);
        // Again: nothing left to clear.
        QVERIFY(!CheckFilmBitmaps(*m.FilmTable, [](const QByteArray &b) { return dbui::PictureLoader::decode(b).ok(); }, &r));
        QCOMPARE(r.checked, 1);
        QCOMPARE(r.removed, 0);
    }

    void filmsFollowTheNumberingAcrossAllMedia()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.addMedium(QStringLiteral("DVD"), 2, 0, {{1, QStringLiteral("Solo"), 100}});
        TMainform &m = fx.open();
        fx.unlock();
        QVERIFY(m.FilmTable->indexName().isEmpty());
        m.Menus->Entry(QStringLiteral("MenNumAlleMedien"))->trigger();
        QCOMPARE(m.Records->numberingMode(), NumberingMode::AcrossAll);
        QCOMPARE(m.FilmTable->indexName(), NrExclIndexName);
        // Opened again, the films take the media's order at once.
        CloseDatabaseTables();
        QVERIFY(ReopenDatabaseTables().isEmpty());
        QCOMPARE(m.Table1->indexName(), NrExclIndexName);
        QCOMPARE(m.FilmTable->indexName(), NrExclIndexName);
        m.Menus->Entry(QStringLiteral("MenNumProMedTyp"))->trigger();
        QVERIFY(m.FilmTable->indexName().isEmpty());
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

    void playingTimeFromTheCardIsStored()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien"), 60}});
        fx.open();
        fx.unlock();
        TWFilm &w = openOn(1);
        p().answerDialog([&](QDialog &d) {
            // The dialog takes the focus from the card, which posts its edit.
            QEvent away(QEvent::ActivationChange);
            QApplication::sendEvent(&w, &away);
            auto *dlg = static_cast<TDLenEnter *>(&d);
            dlg->EH->setValue(2);
            dlg->EMin->setValue(0);
            dlg->ChkLP->SetChecked(true);
        });
        w.ButtLen->click();
        QCOMPARE(p().last().objectName, QStringLiteral("DLenEnter"));
        post(w.Table1);
        engine::Table films;
        films.setTableName(FilmTablePath(fx.base));
        films.open();
        QVERIFY(films.locate(QStringLiteral("Medium;KassNr;FilmNr"), QVariantList{QStringLiteral("VHS-SB"), 1, 1}));
        QCOMPARE(films.fieldByName(QStringLiteral("Len"))->asInteger(), 120);
        QVERIFY(films.fieldByName(QStringLiteral("LP"))->asBoolean());
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
