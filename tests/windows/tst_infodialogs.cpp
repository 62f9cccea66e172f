// The statistics box, the pointing hint, the network dialog and the disc
// serial-number dialogs over a small collection, answered through the
// scripted presenter.
#include "cardfixture.h"

#include "dbui/dbedit.h"
#include "engine/table.h"
#include "app/startup.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "platform/volumeserial.h"
#include "../data/fakevolumereader.h"
#include "windows/dialogs/dinfo.h"
#include "windows/dialogs/dnetmode.h"
#include "windows/cards/dsn.h"
#include "windows/main/mainmenus.h"
#include "windows/main/whint.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

namespace {

// A FAT-style UUID spells the number itself.
platform::VolumeFacts disc(const char *uuid)
{
    return {QLatin1String(uuid), {}, 0};
}

} // namespace

class TstInfoDialogs : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    FakeVolumeReader reader;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    static std::function<void(engine::Table &)> sn(qint32 v)
    {
        return [v](engine::Table &t) { t.fieldByName(QStringLiteral("SN"))->setAsInteger(v); };
    }

private slots:
    void init()
    {
        fx.setUp();
        reader = FakeVolumeReader();
        platform::setVolumeSerialReader(&reader);
        CDDrive = QStringLiteral("/media/cdrom");
    }
    void cleanup()
    {
        platform::setVolumeSerialReader(nullptr);
        fx.tearDown();
    }

    void statisticsBox()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240,
                     {{1, QStringLiteral("Alien"), 90}, {2, QStringLiteral("FREIER BEREICH"), 30, false, true}});
        fx.addMedium(QStringLiteral("DVD"), 2, 0, {{1, QStringLiteral("Brazil"), 130}});
        TMainform &m = fx.open();
        QVERIFY(m.Menus->Entry(QStringLiteral("MenInfo"))->isEnabled());
        p().answerDialog([](QDialog &d) {
            auto text = [&d](const char *n) { return d.findChild<QLabel *>(QLatin1String(n))->text(); };
            QCOMPARE(text("LabelFilmeAlle"), QStringLiteral("3"));
            QCOMPARE(text("LabelFilmeEcht"), QStringLiteral("2"));
            QCOMPARE(text("LabelFilmeFrei"), QStringLiteral("1"));
            QCOMPARE(text("LabelPersGesamt"), QStringLiteral("0"));
            QCOMPARE(text("LabelSumme"), QStringLiteral("2"));
            auto *grid = d.findChild<QTableWidget *>(QStringLiteral("DBGrid1"));
            QCOMPARE(grid->rowCount(), 2);
            QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("DVD"));
            QChart *chart = d.findChild<QChartView *>(QStringLiteral("DBChart1"))->chart();
            QCOMPARE(chart->series().size(), 1);
            // One medium of each kind: the count axis reads 0 and 1, every
            // tick a whole number (not 0, 0.25, ... printed as 0, 0, 0, 0, 1).
            auto *y = qobject_cast<QValueAxis *>(chart->axes(Qt::Vertical).value(0));
            QVERIFY(y);
            QCOMPARE(y->min(), 0.0);
            QCOMPARE(y->max(), 1.0);
            QCOMPARE(y->tickCount(), 2);
        });
        m.Menus->Entry(QStringLiteral("MenInfo"))->trigger();
        QCOMPARE(p().last().objectName, QStringLiteral("DInfo"));
        QCOMPARE(p().pending(), 0);
    }

    void theHintBlinksAt900ms()
    {
        TWHint h;
        QCOMPARE(h.TimerBlink->interval(), 900);
        h.PlaceArrow(80, THintArrow::Up);
        QVERIFY(h.TimerBlink->isActive());
        QCOMPARE(h.ArrowTipPoint(), QPoint(80, 0));
        QVERIFY(!h.ImageArrowLeft->isVisibleTo(&h));
        QVERIFY(h.ImageArrowUp->isVisibleTo(&h));
        h.TimerBlinkTimer();
        QVERIFY(!h.ImageArrowUp->isVisibleTo(&h));
        h.TimerBlinkTimer();
        QVERIFY(h.ImageArrowUp->isVisibleTo(&h));
        h.PlaceArrow(60, THintArrow::Left);
        QCOMPARE(h.ArrowTipPoint(), QPoint(0, 60));
        // Really blinking: the timer's own ticks change it.
        const bool before = h.ImageArrowLeft->isVisibleTo(&h);
        QTRY_VERIFY_WITH_TIMEOUT(h.ImageArrowLeft->isVisibleTo(&h) != before, 2000);
    }

    void withoutADatabaseTheHintPointsAtTheFileMenu()
    {
        ShowTipODay = false;
        fx.form.reset(CreateForm<TMainform>());
        Mainform = fx.form.get();
        TMainform &m = *fx.form;
        m.move(100, 50);
        QVERIFY(!m.Table1->active());
        QString text;
        QPoint tip;
        p().answerDialog([&](QDialog &d) {
            auto &h = static_cast<TWHint &>(d);
            text = h.LabelHint->Caption();
            tip = h.mapToGlobal(h.ArrowTipPoint());
            QVERIFY(h.TimerBlink->isActive());
        });
        m.FormActivate();
        QCOMPARE(p().last().kind, QStringLiteral("TWHint"));
        QCOMPARE(text, NoDatabaseHintText());
        const QRect datei(m.Component<TPZSpeedButton>("TBDatei")->mapToGlobal(QPoint(0, 0)), m.Component<TPZSpeedButton>("TBDatei")->size());
        QVERIFY2(tip.x() > datei.left() && tip.x() < datei.right() && tip.y() >= datei.bottom()
                     && tip.y() <= datei.bottom() + 3,
                 qPrintable(QStringLiteral("tip %1,%2").arg(tip.x()).arg(tip.y())));
    }

    void networkRefreshInterval()
    {
        TMainform &m = fx.open();
        m.Component<QTimer>("NetRefresh")->setInterval(30000);
        p().answerDialog([](QDialog &d) {
            QCOMPARE(d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->value(), 30);
            d.findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(120);
        });
        ExecNetModeDialog();
        QCOMPARE(p().last().caption, QStringLiteral("Netzwerkmodus"));
        QCOMPARE(m.Component<QTimer>("NetRefresh")->interval(), 120000);
        QCOMPARE(NetRefreshInterval, 120000);
        NetRefreshInterval = 5000;
        LoadSettings();
        QCOMPARE(NetRefreshInterval, 120000); // saved
    }

    void theDeleteChoiceNeverReadsTheDrive()
    {
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {}, sn(77));
        TMainform &m = fx.open();
        fx.unlock();
        reader.facts = disc("0000-0005");
        p().answerDialog([](QDialog &d) {
            auto *del = d.findChild<TOzoCheck *>(QStringLiteral("RadDelete"));
            QVERIFY(del->isVisibleTo(&d));
            del->Click();
            QVERIFY(!d.findChild<QComboBox *>(QStringLiteral("DriveComboBox1"))->isVisibleTo(&d));
        });
        m.Component<TOzoNewButton>("ButtPPPSN")->click();
        QCOMPARE(p().last().objectName, QStringLiteral("DSN"));
        QVERIFY(reader.asked.isEmpty());
        QVERIFY(fx.field("SN")->isNull());
        m.Table1->post();
        // Reading a new one stores it and keeps the drive chosen.
        p().answerDialog([](QDialog &d) {
            d.findChild<QComboBox *>(QStringLiteral("DriveComboBox1"))->setCurrentText(QStringLiteral("/media/dvd"));
        });
        m.Component<TOzoNewButton>("ButtPPPSN")->click();
        QCOMPARE(reader.asked, QStringList{"/media/dvd"});
        QCOMPARE(fx.field("SN")->asInteger(), 5);
        QCOMPARE(CDDrive, QStringLiteral("/media/dvd"));
        m.Table1->post();
        // Nothing to read: the message, the number stays.
        reader.facts.reset();
        p().answer(mrOk);
        m.Component<TOzoNewButton>("ButtPPPSN")->click();
        QCOMPARE(p().last().caption, QStringLiteral("Keine Seriennummer gefunden"));
        QCOMPARE(fx.field("SN")->asInteger(), 5);
    }

    void severalMatchesGoToTheChooser()
    {
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {{1, QStringLiteral("Alien")}}, sn(-1294967296));
        fx.addMedium(QStringLiteral("DVD-R"), 2, 0, {{1, QStringLiteral("Brazil")}}, sn(-1294967296));
        fx.addMedium(QStringLiteral("CD"), 3, 0, {}, sn(9));
        TMainform &m = fx.open();
        QVERIFY(fx.locate(QStringLiteral("CD"), 3));
        reader.facts = disc("B2D0-5E00"); // 3000000000, stored as -1294967296
        QStringList rows;
        p().answer(mrOk); // the drive box
        p().answerDialog([&rows](QDialog &d) {
            auto *g = d.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
            for (int r = 0; r < g->rowCount(); ++r)
                rows << g->item(r, 0)->text() + " " + g->item(r, 1)->text() + " " + g->item(r, 2)->text();
            g->selectRow(1);
        });
        emit m.Menus->SpBLocateSN->Click();
        QCOMPARE(rows, (QStringList{"DVD 1 Alien", "DVD-R 2 Brazil"}));
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("DVD-R"));
        // Cancelling the choice moves nothing and shows nothing more.
        bool cancelled = false;
        p().answer(mrCancel);
        QVERIFY(!LocateMediumBySerial(m, -1294967296, cancelled));
        QVERIFY(cancelled);
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("DVD-R"));
        // One medium without films is found directly.
        QVERIFY(LocateMediumBySerial(m, 9, cancelled));
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("CD"));
        // None: the message.
        reader.facts = disc("0000-0001");
        p().answer(mrOk);
        QTest::keyClick(&m, Qt::Key_F9);
        QCOMPARE(p().last().caption, QStringLiteral("Nicht gefunden"));
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("CD"));
    }
};

QTEST_MAIN(TstInfoDialogs)
#include "tst_infodialogs.moc"
