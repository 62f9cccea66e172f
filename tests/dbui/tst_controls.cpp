#include "dbui/checkbinding.h"
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "dbui/dbedit.h"
#include "dbui/dbimage.h"
#include "dbui/dbmemo.h"
#include "dbui/dbtext.h"
#include "dbui/errorsink.h"
#include "dbui/pictureloader.h"
#include "jpegsample.h"
#include "memorydataset.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using engine::DataSetState;
using engine::FieldType;

namespace {

std::unique_ptr<MemoryDataSet> makeFilms(bool readOnly = false)
{
    auto ds = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{
        {"Titel", FieldType::String, 10},
        {"Len", FieldType::SmallInt},
        {"Datum", FieldType::Date},
        {"LP", FieldType::Boolean},
        {"Memo", FieldType::Memo},
        {"Grafik", FieldType::Graphic},
        {"Code", FieldType::String, 1},
    });
    ds->addRow({QStringLiteral("Alien"), 117, QDate(2024, 5, 1), true, QStringLiteral("Zeile 1\r\nZeile 2"),
                QVariant(), QStringLiteral("J")});
    ds->addRow({QStringLiteral("Brazil"), 142, QVariant(), false, QVariant(), QVariant(), QStringLiteral("j")});
    ds->addRow({QStringLiteral("Casablanca"), 102, QDate(1999, 1, 9), QVariant(), QVariant(), QVariant(),
                QVariant()});
    ds->setReadOnly(readOnly);
    ds->open();
    return ds;
}

// Errors the controls report, instead of a box.
struct ErrorLog
{
    QStringList texts;
    dbui::ErrorSink previous;
    ErrorLog()
    {
        previous = dbui::setErrorSink([this](const QString &t) { texts << t; });
    }
    ~ErrorLog() { dbui::setErrorSink(previous); }
};

} // namespace

class TstControls : public QObject
{
    Q_OBJECT
private slots:
    void dataSourceNotices()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        QList<engine::Field *> changes;
        connect(&src, &dbui::DataSource::dataChange, this, [&](engine::Field *f) { changes << f; });
        QSignalSpy states(&src, &dbui::DataSource::stateChange);

        ds->next();
        QVERIFY(!changes.isEmpty());
        QCOMPARE(changes.last(), nullptr); // the record moved: no field

        changes.clear();
        ds->edit();
        QVERIFY(states.count() >= 1);
        ds->fieldByName("Len")->setValue(99);
        QVERIFY(changes.contains(ds->fieldByName("Len")));
        ds->cancel();

        // A disabled source shows nothing and passes on no record notices.
        src.setEnabled(false);
        QCOMPARE(src.state(), DataSetState::Inactive);
        changes.clear();
        ds->next();
        QVERIFY(changes.isEmpty());
        src.setEnabled(true);
        QCOMPARE(src.state(), DataSetState::Browse);
    }

    void editWritesBackOnPostAndDiscardsOnCancel()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbEdit title;
        title.setDataSource(&src);
        title.setDataField(QStringLiteral("Titel"));
        QCOMPARE(title.text(), QStringLiteral("Alien"));

        // Typing puts the record into edit state; the field gets the text
        // only when the record is posted.
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Aliens"));
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Alien"));
        ds->post();
        QCOMPARE(ds->stored(0, 0).toString(), QStringLiteral("Aliens"));
        QCOMPARE(title.text(), QStringLiteral("Aliens"));

        // Cancel drops the typed text and shows the stored value again.
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Xyz"));
        QCOMPARE(title.text(), QStringLiteral("Xyz"));
        ds->cancel();
        QCOMPARE(title.text(), QStringLiteral("Aliens"));
        QCOMPARE(ds->stored(0, 0).toString(), QStringLiteral("Aliens"));

        // Written back on post or on moving on, each field is announced to
        // the data-change handler with its name, as if set by hand.
        QList<engine::Field *> changes;
        connect(&src, &dbui::DataSource::dataChange, this, [&](engine::Field *f) { changes << f; });
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Alien 3"));
        ds->post();
        QVERIFY(changes.contains(ds->fieldByName("Titel")));
        changes.clear();
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Alien 4"));
        ds->next();
        QVERIFY(changes.contains(ds->fieldByName("Titel")));
        QCOMPARE(ds->stored(0, 0).toString(), QStringLiteral("Alien 4"));
        ds->first();

        // The edit follows the record.
        ds->next();
        QCOMPARE(title.text(), QStringLiteral("Brazil"));
        ds->close();
        QCOMPARE(title.text(), QString());
    }

    void datesAndNumbers()
    {
        ErrorLog log;
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbEdit date;
        date.setDataSource(&src);
        date.setDataField(QStringLiteral("Datum"));
        dbui::DbEdit len;
        len.setDataSource(&src);
        len.setDataField(QStringLiteral("Len"));
        QCOMPARE(date.text(), QStringLiteral("01.05.2024"));
        QCOMPARE(len.text(), QStringLiteral("117"));

        date.selectAll();
        QTest::keyClicks(&date, QStringLiteral("3.10.90"));
        ds->post();
        QCOMPARE(ds->stored(0, 2).toDate(), QDate(1990, 10, 3));
        QCOMPARE(date.text(), QStringLiteral("03.10.1990"));

        // A value the field refuses stops the post; the record stays in edit
        // state with the text kept for correcting.
        len.selectAll();
        QTest::keyClicks(&len, QStringLiteral("zwei"));
        bool refused = false;
        try {
            ds->post();
        } catch (const engine::EngineError &e) {
            refused = e.message().contains(QStringLiteral("Integerwert"));
        }
        QVERIFY(refused);
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(len.text(), QStringLiteral("zwei"));
        ds->cancel();
        QCOMPARE(len.text(), QStringLiteral("117"));

        // Leaving the control reports a refused value through the sink.
        len.selectAll();
        QTest::keyClicks(&len, QStringLiteral("7x"));
        QVERIFY(!len.link()->writeBackReported());
        QCOMPARE(log.texts.size(), 1);
        QVERIFY(log.texts.first().contains(QStringLiteral("'7x'")));
        ds->cancel();
    }

    void fieldSizeLimits()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbEdit title;
        title.setDataSource(&src);
        title.setDataField(QStringLiteral("Titel"));
        QCOMPARE(title.maxLength(), 10);
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Zwoelf Zeichen"));
        QCOMPARE(title.text(), QStringLiteral("Zwoelf Zei"));

        dbui::DbComboBox combo;
        combo.setDataSource(&src);
        combo.setDataField(QStringLiteral("Titel"));
        QCOMPARE(combo.link()->fieldSize(), 10);
        QCOMPARE(combo.text(), QStringLiteral("Alien"));

        // The kit's guard refuses keys through the key-press hook; here one
        // that refuses once the text holds the field's size, as it does.
        int refusals = 0;
        combo.link()->onKeyPress = [&](QChar &key) {
            if (key != QLatin1Char('\b') && combo.text().size() >= combo.link()->fieldSize()) {
                key = QChar(7);
                ++refusals;
            }
        };
        combo.lineEdit()->setCursorPosition(5);
        QTest::keyClicks(&combo, QStringLiteral(" - Die Rueckkehr"));
        QCOMPARE(combo.text(), QStringLiteral("Alien - Di"));
        QCOMPARE(refusals, 11);
        QTest::keyClick(&combo, Qt::Key_Backspace);
        QCOMPARE(combo.text(), QStringLiteral("Alien - D"));
        ds->cancel();

        // Fields of other types have no size to keep to.
        dbui::DbEdit len;
        len.setDataSource(&src);
        len.setDataField(QStringLiteral("Len"));
        QCOMPARE(len.link()->fieldSize(), 0);
    }

    void readOnlySetRefusesAndReports()
    {
        auto ds = makeFilms(true);
        dbui::DataSource src(ds.get());
        dbui::DbEdit title;
        title.setDataSource(&src);
        title.setDataField(QStringLiteral("Titel"));
        dbui::DbMemo memo;
        memo.setDataSource(&src);
        memo.setDataField(QStringLiteral("Memo"));
        dbui::DbComboBox combo;
        combo.setDataSource(&src);
        combo.setDataField(QStringLiteral("Titel"));
        QSignalSpy titleRefused(&title, &dbui::DbEdit::editRefused);
        QSignalSpy memoRefused(&memo, &dbui::DbMemo::editRefused);
        QSignalSpy comboRefused(&combo, &dbui::DbComboBox::editRefused);

        QVERIFY(title.isReadOnly());
        QTest::keyClicks(&title, QStringLiteral("ab"));
        QCOMPARE(titleRefused.count(), 2);
        QCOMPARE(title.text(), QStringLiteral("Alien"));
        QTest::keyClick(&memo, Qt::Key_Return);
        QCOMPARE(memoRefused.count(), 1);
        QTest::keyClick(&combo, Qt::Key_X);
        QCOMPARE(comboRefused.count(), 1);
        QCOMPARE(combo.text(), QStringLiteral("Alien"));
        QCOMPARE(ds->state(), DataSetState::Browse);

        // Moving about is no edit attempt.
        QTest::keyClick(&title, Qt::Key_Left);
        QTest::keyClick(&title, Qt::Key_End);
        QCOMPARE(titleRefused.count(), 2);

        // The control's own read-only switch refuses without a notice (the
        // set is not the reason).
        auto writable = makeFilms();
        dbui::DataSource src2(writable.get());
        dbui::DbEdit fixed;
        fixed.setDataSource(&src2);
        fixed.setDataField(QStringLiteral("Titel"));
        fixed.setDataReadOnly(true);
        QSignalSpy fixedRefused(&fixed, &dbui::DbEdit::editRefused);
        QTest::keyClicks(&fixed, QStringLiteral("z"));
        QCOMPARE(fixedRefused.count(), 0);
        QCOMPARE(writable->state(), DataSetState::Browse);
        QVERIFY(fixed.isReadOnly());

        // A calculated field is never typed into.
        auto calc = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{{"Len", FieldType::SmallInt}});
        calc->addRow({100});
        calc->addCalcField(QStringLiteral("bRest"), FieldType::Integer);
        engine::Subscriptions subs;
        subs.push_back(calc->onCalcFields.subscribe([](engine::DataSet &d) {
            d.fieldByName(QStringLiteral("bRest"))->setValue(240 - d.fieldByName(QStringLiteral("Len"))->asInteger());
        }));
        calc->open();
        dbui::DataSource calcSrc(calc.get());
        dbui::DbEdit rest;
        rest.setDataSource(&calcSrc);
        rest.setDataField(QStringLiteral("bRest"));
        QCOMPARE(rest.text(), QStringLiteral("140"));
        QVERIFY(rest.isReadOnly());
        QTest::keyClicks(&rest, QStringLiteral("1"));
        QCOMPARE(calc->state(), DataSetState::Browse);

        // Without automatic edit the key is not taken either.
        src2.setAutoEdit(false);
        dbui::DbEdit manual;
        manual.setDataSource(&src2);
        manual.setDataField(QStringLiteral("Titel"));
        QTest::keyClicks(&manual, QStringLiteral("z"));
        QCOMPARE(manual.text(), QStringLiteral("Alien"));
        QCOMPARE(writable->state(), DataSetState::Browse);
    }

    void writesBackWhenTheFocusLeaves()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        QWidget window;
        auto *title = new dbui::DbEdit(&window);
        title->setDataSource(&src);
        title->setDataField(QStringLiteral("Titel"));
        auto *len = new dbui::DbEdit(&window);
        len->setDataSource(&src);
        len->setDataField(QStringLiteral("Len"));
        len->move(0, 40);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        title->setFocus();
        QTRY_VERIFY(title->hasFocus());
        title->selectAll();
        QTest::keyClicks(title, QStringLiteral("Aliens"));
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Alien"));
        len->setFocus();
        QTRY_VERIFY(len->hasFocus());
        // The field has the text; the record is still being edited.
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Aliens"));
        QCOMPARE(ds->state(), DataSetState::Edit);
        ds->cancel();
        QCOMPARE(title->text(), QStringLiteral("Alien"));
    }

    void memoKeepsCrLf()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbMemo memo;
        memo.setDataSource(&src);
        memo.setDataField(QStringLiteral("Memo"));
        QCOMPARE(memo.toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
        memo.moveCursor(QTextCursor::End);
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, QStringLiteral("Zeile 3"));
        QCOMPARE(ds->state(), DataSetState::Edit);
        ds->post();
        QCOMPARE(ds->stored(0, 4).toString(), QStringLiteral("Zeile 1\r\nZeile 2\r\nZeile 3"));
    }

    void comboPicksFromList()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbComboBox combo;
        combo.setDataSource(&src);
        combo.setDataField(QStringLiteral("Titel"));
        int drops = 0;
        connect(&combo, &dbui::DbComboBox::dropDown, this, [&] {
            ++drops;
            combo.clear();
            combo.addItems({QStringLiteral("Metropolis"), QStringLiteral("Nosferatu")});
        });
        combo.showPopup();
        QCOMPARE(drops, 1);
        QVERIFY(combo.droppedDown());
        QCOMPARE(combo.text(), QStringLiteral("Alien")); // filling kept the text
        combo.hidePopup();
        QVERIFY(!combo.droppedDown());

        emit combo.activated(1);
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(combo.text(), QStringLiteral("Nosferatu"));
        ds->post();
        QCOMPARE(ds->stored(0, 0).toString(), QStringLiteral("Nosferatu"));

        // Choose-only style: a stored value not in the list still shows.
        combo.setStyle(dbui::DbComboBox::DropDownList);
        ds->next();
        QCOMPARE(combo.text(), QStringLiteral("Brazil"));
    }

    void readOnlyText()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbText date;
        date.setDataSource(&src);
        date.setDataField(QStringLiteral("Datum"));
        QCOMPARE(date.text(), QStringLiteral("01.05.2024"));
        ds->next();
        QCOMPARE(date.text(), QString());
        ds->next();
        QCOMPARE(date.text(), QStringLiteral("09.01.1999"));
    }

    void checkBinding()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::CheckBinding lp;
        lp.setDataSource(&src);
        lp.setDataField(QStringLiteral("LP"));
        dbui::CheckBinding code;
        code.setDataSource(&src);
        code.setDataField(QStringLiteral("Code"));
        code.setStringForTrue(QStringLiteral("J"));
        code.setStringForFalse(QStringLiteral("N"));
        using S = dbui::CheckBinding::State;

        QCOMPARE(lp.readState(), S::Checked);
        QCOMPARE(code.readState(), S::Checked);
        QSignalSpy moved(&code, &dbui::CheckBinding::stateChanged);
        ds->next();
        QVERIFY(moved.count() >= 1);
        QCOMPARE(lp.readState(), S::Unchecked);
        QCOMPARE(code.readState(), S::Unchecked); // a small j is not J
        ds->next();
        QCOMPARE(lp.readState(), S::Grayed);      // null
        QCOMPARE(code.readState(), S::Grayed);

        QVERIFY(code.beginChange());
        QCOMPARE(ds->state(), DataSetState::Edit);
        QVERIFY(code.writeState(S::Checked));
        QVERIFY(lp.writeState(S::Checked));
        ds->post();
        QCOMPARE(ds->stored(2, 6).toString(), QStringLiteral("J"));
        QCOMPARE(ds->stored(2, 3).toBool(), true);
        QVERIFY(code.beginChange());
        QVERIFY(code.writeState(S::Unchecked));
        QVERIFY(lp.writeState(S::Grayed));
        ds->post();
        QCOMPARE(ds->stored(2, 6).toString(), QStringLiteral("N"));
        QVERIFY(ds->stored(2, 3).isNull());

        // Writing outside edit state does nothing.
        QVERIFY(!code.writeState(S::Checked));

        auto locked = makeFilms(true);
        dbui::DataSource lockedSrc(locked.get());
        dbui::CheckBinding box;
        box.setDataSource(&lockedSrc);
        box.setDataField(QStringLiteral("LP"));
        QSignalSpy refused(box.link(), &dbui::FieldLink::editRefused);
        QVERIFY(!box.beginChange());
        QCOMPARE(refused.count(), 1);
        QCOMPARE(locked->state(), DataSetState::Browse);

        dbui::CheckBinding readOnlyBox;
        readOnlyBox.setDataSource(&src);
        readOnlyBox.setDataField(QStringLiteral("LP"));
        readOnlyBox.setReadOnly(true);
        QVERIFY(!readOnlyBox.beginChange());
    }

    void pictureControl()
    {
        ErrorLog log;
        QTemporaryDir dir;
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbImage image;
        image.setDataSource(&src);
        image.setDataField(QStringLiteral("Grafik"));
        QVERIFY(!image.hasPicture());

        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(40, 30));
        const QString path = dir.filePath(QStringLiteral("cover.jpg"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(jpeg);
        }
        QVERIFY(image.loadFromFile(path));
        QCOMPARE(ds->state(), DataSetState::Edit);
        QVERIFY(image.hasPicture());
        QCOMPARE(image.picture().size(), QSize(40, 30));
        ds->post();
        QCOMPARE(ds->stored(0, 5).toByteArray(), jpeg); // the file's own bytes

        // A damaged picture in the field shows nothing and says why.
        ds->next();
        ds->edit();
        ds->fieldByName("Grafik")->setAsBytes(jpeg.left(jpeg.size() / 2));
        QVERIFY(!image.hasPicture());
        QVERIFY(image.pictureError().contains(QStringLiteral("unvollständig")));
        ds->cancel();

        // A file that is no picture is refused with its message.
        const QString text = dir.filePath(QStringLiteral("liesmich.txt"));
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("kein Bild");
        }
        QVERIFY(!image.loadFromFile(text));
        QCOMPARE(log.texts.size(), 1);
        QVERIFY(log.texts.first().contains(QStringLiteral("keine Grafik")));

        // Clipboard: copy from the first film, paste as a bitmap.
        ds->first();
        QVERIFY(image.copyToClipboard());
        ds->next();
        QVERIFY(image.pasteFromClipboard());
        QCOMPARE(dbui::PictureLoader::detect(ds->fieldByName("Grafik")->asBytes()), dbui::PictureFormat::Bmp);
        QVERIFY(image.cutToClipboard());
        QVERIFY(ds->fieldByName("Grafik")->isNull());
        ds->cancel();

        // Write-protected: every change is refused and reported.
        auto locked = makeFilms(true);
        dbui::DataSource lockedSrc(locked.get());
        dbui::DbImage lockedImage;
        lockedImage.setDataSource(&lockedSrc);
        lockedImage.setDataField(QStringLiteral("Grafik"));
        QSignalSpy refused(&lockedImage, &dbui::DbImage::editRefused);
        QVERIFY(!lockedImage.loadFromFile(path));
        QVERIFY(!lockedImage.pasteFromClipboard());
        QCOMPARE(refused.count(), 2);
        QCOMPARE(locked->state(), DataSetState::Browse);
    }

    void stretchedPictureDecodedAtShownSize()
    {
        auto ds = makeFilms();
        dbui::DataSource src(ds.get());
        dbui::DbImage image;
        image.setFrameShape(QFrame::NoFrame);
        image.setStretch(true);
        image.resize(80, 80);
        image.show(); // resize events reach only a shown control
        image.setDataSource(&src);
        image.setDataField(QStringLiteral("Grafik"));
        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(800, 600));
        ds->edit();
        ds->fieldByName("Grafik")->setAsBytes(jpeg);
        QCOMPARE(image.picture().size(), QSize(80, 60));
        // Larger control: decoded anew for it; unstretched: full size.
        image.resize(200, 160);
        QCOMPARE(image.picture().size(), QSize(200, 150));
        image.setStretch(false);
        QCOMPARE(image.picture().size(), QSize(800, 600));
        ds->cancel();
    }
};

QTEST_MAIN(TstControls)
#include "tst_controls.moc"
