// The person card's free fields: a file dropped onto a file-link field, and
// the caption click that opens the caption editor for the person fields.
#include "cardfixture.h"

#include "data/freefieldlabels.h"
#include "dbui/dbcombobox.h"
#include "engine/table.h"
#include "kit/enterexitbutton.h"
#include "kit/lockbutton.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/cards/editlabels.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wpers.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

class TstPersonCardFields : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }
    TWPers &card() { return *BoundPersonCard(*fx.form); }

    void addPerson(const QString &name)
    {
        engine::Table t;
        t.setTableName(fx.base + QStringLiteral("DB/Pers.DB"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Name"))->setAsString(name);
        t.post();
    }

    // Drags one file over the control and drops it; whether it was taken.
    static bool dropFile(QWidget *target, const QString &path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

private slots:
    void init()
    {
        fx.setUp();
        ResetFreeFieldLabels();
    }
    void cleanup()
    {
        if (WPers)
            WPers->hide();
        fx.tearDown();
        ResetFreeFieldLabels();
    }

    void aFileDroppedOnAFileLinkFieldIsLinked()
    {
        addPerson(QStringLiteral("Maier"));
        fx.open();
        QDir().mkpath(fx.base + QStringLiteral("LNK"));
        const QString file = fx.base + QStringLiteral("LNK/portrait.pdf");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TWPers &c = card();
        engine::Table *persons = c.Table1;
        QVERIFY(persons && persons->active());
        SetPersonFreeIsFileLink(3, true);
        QWidget *link = c.DBEF[2]->lineEdit();
        QWidget *plain = c.DBEF[1]->lineEdit();
        QVERIFY(link && plain);
        QVERIFY(link->findChild<QObject *>(QStringLiteral("DragDropFiles3")));

        // A locked card only blinks its lock.
        QVERIFY(dropFile(link, file));
        QTRY_VERIFY(c.LockButton1->Blinking());
        QCOMPARE(persons->fieldByName(QStringLiteral("Free3"))->asString(), QString());

        fx.unlock();
        QVERIFY(!persons->readOnly());
        // A field that is no file link takes no file.
        QVERIFY(!dropFile(plain, file));
        // A file of the database's own link folder is linked, no question asked.
        QVERIFY(dropFile(link, file));
        QTRY_COMPARE(persons->fieldByName(QStringLiteral("Free3"))->asString(), QStringLiteral("portrait.pdf"));
        QCOMPARE(persons->state(), engine::DataSetState::Edit);
        QVERIFY(p().shown().isEmpty());
        QCOMPARE(persons->fieldByName(QStringLiteral("Free2"))->asString(), QString());
        persons->cancel();
    }

    void theCaptionClickEditsThePersonCaptions()
    {
        addPerson(QStringLiteral("Maier"));
        fx.open();
        TWPers &c = card();
        c.show();
        // Locked: the lock blinks and no editor opens.
        QTest::mouseClick(c.DBEFL[0], Qt::LeftButton);
        QVERIFY(c.LockButton1->Blinking());
        QVERIFY(p().shown().isEmpty());

        fx.unlock();
        int rows = 0;
        bool fits = false;
        bool personBoxes = true;
        p().answerDialog(
            [&](QDialog &d) {
                auto &e = static_cast<TDEditLabels &>(d);
                QCOMPARE(e.Kind(), QStringLiteral("PERS"));
                d.show();
                for (int i = 0; i < 15; ++i)
                    if (e.Edit[i]->isVisible())
                        ++rows;
                personBoxes = e.LabelPers->isVisible();
                for (int i = 0; i < 15; ++i)
                    personBoxes = personBoxes || e.CheckPers[i]->isVisible();
                // The window ends below its buttons, with no room left for
                // the hidden rows, and every shown row lies above the buttons.
                const int buttonsBottom = e.BitBtnOK->mapTo(&d, QPoint(0, e.BitBtnOK->height())).y();
                const int lastRow = e.Edit[6]->mapTo(&d, QPoint(0, e.Edit[6]->height())).y();
                fits = buttonsBottom <= d.height() && d.height() - buttonsBottom <= 24 && lastRow < e.BitBtnOK->mapTo(&d, QPoint()).y();
                d.hide();
            },
            mrCancel);
        QTest::mouseClick(c.DBEFL[0], Qt::LeftButton);
        QCOMPARE(p().shown().size(), 1);
        QCOMPARE(p().last().caption, QStringLiteral("Freie Felder einrichten"));
        QCOMPARE(rows, 7);
        QVERIFY(!personBoxes);
        QVERIFY(fits);
    }
};

QTEST_MAIN(TstPersonCardFields)
#include "tst_personcardfields.moc"
