#include "program/introbox.h"
#include "app/settingsfixture.h"
#include "app/startup.h"
#include "program/lookactions.h"
#include "program/tarvomain.h"
#include "data/database.h"
#include "data/databasefiles.h"
#include "data/templatefixture.h"
#include "engine/table.h"
#include "kit/pzlabel.h"
#include "kit/scriptedpresenter.h"
#include "windows/main/mainform.h"
#include "windows/queries/queryform.h"

#include <QCheckBox>
#include <QFile>
#include <QtTest>

class TstMainformStart : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    QString base;

private slots:
    void init()
    {
        fx.setUp();
        WriteTestTemplates();
        QVERIFY(CreateDatabaseFiles(fx.path(QStringLiteral("dbs/A")), true, true));
        base = fx.path(QStringLiteral("dbs/A/"));
        StartProgramAgain = [] { return true; };
        NetworkMode = false;
    }

    void cleanup()
    {
        delete Introbox;
        delete Mainform;
    }

    void storedDatabaseOpensAndTheStepsWaitForTheIntroBox()
    {
        SettingsFixture::seedReturningUser();
        SettingsFixture::seed([&](platform::Registry &r) { r.writeString(QStringLiteral("DBFile"), base); });
        StartTarvo({});
        QVERIFY(Mainform && Introbox);
        QVERIFY(Introbox->isVisible());
        QVERIFY(Mainform->Table1->active());
        QCOMPARE(Mainform->Table1->tableName(), base + QStringLiteral("DB/Med.DB"));
        QVERIFY(Mainform->Table1->readOnly());
        QVERIFY(Mainform->Table2->active() && Mainform->FilmTable->active() && Mainform->PersTable->active());
        QCOMPARE(DBBase, base);
        // The tip of the day and the pointing hint are modal windows; the
        // overdue list is the query window.
        const auto count = [&](const char *name) {
            int n = 0;
            for (const kit::ShownBox &b : fx.presenter->shown())
                n += b.objectName == QLatin1String(name);
            return n;
        };
        // The intro box is still up: nothing yet.
        fx.presenter->clear();
        Mainform->FormActivate();
        QCOMPARE(count("TipsForm") + count("WHint"), 0);
        QVERIFY(!QueryForm);
        QVERIFY(Mainform->FirstActivation);
        // A window manager leaves the main window active while the box goes:
        // the box's going is the first activation.
        Mainform->activateWindow();
        QTRY_VERIFY(Mainform->isActiveWindow());
        QCOMPARE(count("TipsForm"), 0);
        // The user unticks "show at every start": the next start knows it.
        fx.presenter->answerDialog([](QDialog &d) { d.findChild<QCheckBox *>(QStringLiteral("ShowChk"))->setChecked(false); });
        Introbox->close();
        QVERIFY(!Introbox);
        QTRY_COMPARE(count("TipsForm"), 1);
        QCOMPARE(count("WHint"), 0);
        QVERIFY(!QueryForm); // AutoMahnliste is off
        Mainform->FormActivate();
        QCOMPARE(count("TipsForm"), 1);
        ShowTipODay = true;
        LoadSettings();
        QVERIFY(!ShowTipODay);
        // Closing posts and closes every table.
        Mainform->close();
        QVERIFY(!Mainform->Table1->active() && !Mainform->FilmTable->active());
    }

    void firstArgumentWinsAndNoDatabaseGivesTheHint()
    {
        SettingsFixture::seedReturningUser();
        StartTarvo({fx.path(QStringLiteral("dbs/A.tarvo"))});
        QVERIFY(Mainform->Table1->active());
        delete Introbox;
        delete Mainform;
        // No database at all: the tables stay closed, the hint comes.
        InitSettingsDefaults(fx.path(QStringLiteral("prog")));
        StartTarvo({QStringLiteral("METAL")});
        QVERIFY(!Mainform->Table1->active());
        QString hint;
        fx.presenter->answerDialog([](QDialog &) {}); // the tip of the day
        fx.presenter->answerDialog([&](QDialog &d) {
            hint = d.findChild<TPZLabel *>(QStringLiteral("LabelHint"))->Caption();
        });
        delete Introbox;
        Mainform->FormActivate();
        QCOMPARE(hint, NoDatabaseHintText());
        // The tip of the day comes first, then the hint at the file menu.
        QCOMPARE(fx.presenter->shown().size(), 2);
        QCOMPARE(fx.presenter->shown().at(0).objectName, QStringLiteral("TipsForm"));
        QCOMPARE(fx.presenter->shown().at(1).objectName, QStringLiteral("WHint"));
    }

    void askRestartsWithoutLoadingAnything()
    {
        int started = 0;
        StartProgramAgain = [&] { ++started; return true; };
        StartTarvo({QStringLiteral("ASK")});
        QCOMPARE(started, 1);
        QVERIFY(AppTerminating);
        QVERIFY(!Mainform->Table1->active());
        QVERIFY(!platform::Registry().keyExists(QStringLiteral("Software\\Ozo-Software\\TARVO")));
    }
};

QTEST_MAIN(TstMainformStart)
#include "tst_mainformstart.moc"
