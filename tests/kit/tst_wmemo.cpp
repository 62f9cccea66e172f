#include "dbui/datasource.h"
#include "dbui/dbmemo.h"
#include "dbui/dbtext.h"
#include "dbui/memorydataset.h"
#include "kit/framewidgets.h"
#include "kit/kitfiles.h"
#include "kit/lockbutton.h"
#include "kit/wmemo.h"

#include <QMouseEvent>
#include <QtTest>
#include <memory>

using engine::FieldType;

namespace {

std::unique_ptr<MemoryDataSet> table(const QString &keyField, const QString &key, const QString &memo)
{
    auto ds = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{
        {keyField, FieldType::String, 40},
        {"Memo", FieldType::Memo},
    });
    ds->addRow({key, memo});
    ds->open();
    return ds;
}

} // namespace

class TstWMemo : public QObject
{
    Q_OBJECT

    std::unique_ptr<MemoryDataSet> media, films, persons;
    std::unique_ptr<dbui::DataSource> mediaSrc, filmSrc, persSrc;
    int lockClicks = 0;
    QList<QWidget *> mouseDowns;
    bool readOnly = true;

    TWMemoLinks links()
    {
        TWMemoLinks l;
        l.filmSource = filmSrc.get();
        l.personSource = persSrc.get();
        l.lockClick = [this] { ++lockClicks; };
        l.mediaReadOnly = [this] { return readOnly; };
        l.memoMouseDown = [this](QWidget *memo, QMouseEvent *) { mouseDowns << memo; };
        return l;
    }

private slots:
    void init()
    {
        SetKitProgramFolder(qEnvironmentVariable("TARVO_PROGDIR"));
        media = table("Medium", "VHS-SB", "Kassette vom Flohmarkt");
        films = table("Titel", "Casablanca", "Zeile 1\r\nZeile 2");
        persons = table("Name", "Bogart, Humphrey", "Schauspieler");
        mediaSrc = std::make_unique<dbui::DataSource>(media.get());
        filmSrc = std::make_unique<dbui::DataSource>(films.get());
        persSrc = std::make_unique<dbui::DataSource>(persons.get());
        lockClicks = 0;
        mouseDowns.clear();
        readOnly = true;
    }

    void cleanup()
    {
        delete WMemo;
        QCOMPARE(WMemo, nullptr);
        mediaSrc.reset();
        filmSrc.reset();
        persSrc.reset();
    }

    void createdWithTheLockInItsTitle()
    {
        WMemo = CreateForm<TWMemo>(links());
        QCOMPARE(WMemo->objectName(), QStringLiteral("WMemo"));
        QCOMPARE(WMemo->GetCaptionText(), QStringLiteral("Memo"));
        QCOMPARE(WMemo->ImgSysM->PictureName(), QStringLiteral("NOTES"));
        QVERIFY(WMemo->LockButton);
        QCOMPARE(WMemo->LockButton->parentWidget(), WMemo->PanelX);
        const int side = WMemo->PanelX->height();
        QCOMPARE(WMemo->LockButton->geometry(), QRect(0, 0, side, side));
        QVERIFY(WMemo->WinXButt->x() >= side + 2);
        QVERIFY(WMemo->LockButton->LockedState()); // the media table is read-only

        readOnly = false;
        TWMemo *unlocked = CreateForm<TWMemo>(links());
        QVERIFY(!unlocked->LockButton->LockedState());
        delete unlocked;

        // Its click is the main window's lock click.
        WMemo->LockButton->MouseEnter();
        WMemo->LockButton->MouseDownLeft();
        WMemo->LockButton->MouseUpLeft();
        QCOMPARE(lockClicks, 1);
    }

    void titleLineByDataSource()
    {
        WMemo = CreateForm<TWMemo>(links());
        WMemo->ShowFor(mediaSrc.get());
        QVERIFY(WMemo->isVisible());
        QVERIFY(!WMemo->RolledUp());
        QCOMPARE(WMemo->DBMemo1->toPlainText(), QStringLiteral("Kassette vom Flohmarkt"));
        QCOMPARE(WMemo->DBText1->dataField(), QString());
        QCOMPARE(WMemo->DBText1->text(), QString());

        WMemo->ShowFor(filmSrc.get());
        QCOMPARE(WMemo->DBText1->dataField(), QStringLiteral("Titel"));
        QCOMPARE(WMemo->DBText1->text(), QStringLiteral("Casablanca"));
        QCOMPARE(WMemo->DBMemo1->fieldText(), QStringLiteral("Zeile 1\r\nZeile 2"));

        WMemo->ShowFor(persSrc.get());
        QCOMPARE(WMemo->DBText1->text(), QStringLiteral("Bogart, Humphrey"));
        WMemo->ShowFor(mediaSrc.get());
        QCOMPARE(WMemo->DBText1->text(), QString());
    }

    void typingIntoAProtectedMemoBlinks()
    {
        WMemo = CreateForm<TWMemo>(links());
        WMemo->ShowFor(filmSrc.get());
        QTest::keyClick(WMemo->DBMemo1, Qt::Key_A);
        QVERIFY(WMemo->LockButton->Blinking());
        WMemo->LockButton->SetLocked(false);
        QTest::keyClick(WMemo->DBMemo1, Qt::Key_B);
        QVERIFY(!WMemo->LockButton->Blinking());
        // A mouse press goes to the notes window's handler.
        QTest::mousePress(WMemo->DBMemo1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(mouseDowns, QList<QWidget *>{WMemo->DBMemo1});
    }

    void resizeAndDeactivation()
    {
        WMemo = CreateForm<TWMemo>(links());
        WMemo->ShowFor(filmSrc.get());
        WMemo->resize(500, 400);
        WMemo->FormResize();
        QCOMPARE(WMemo->DBMemo1->width(), WMemo->PanelClient->width() - 10);
        QCOMPARE(WMemo->DBMemo1->height(), WMemo->PanelClient->height() - 28);
        QCOMPARE(WMemo->DBText1->y(), WMemo->DBMemo1->geometry().bottom() + 1 + 3);

        // Leaving the window posts a pending edit of the memo.
        films->edit();
        films->fieldByName(QStringLiteral("Memo"))->setAsString(QStringLiteral("neu"));
        WMemo->FormDeactivate();
        QCOMPARE(films->state(), engine::DataSetState::Browse);
        QCOMPARE(films->stored(0, 1).toString(), QStringLiteral("neu"));
    }

    void closingFreesTheWindow()
    {
        WMemo = CreateForm<TWMemo>(links());
        WMemo->ShowFor(mediaSrc.get());
        QPointer<TWMemo> watch(WMemo);
        WMemo->close();
        QCOMPARE(WMemo, nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watch.isNull());
    }
};

QTEST_MAIN(TstWMemo)
#include "tst_wmemo.moc"
