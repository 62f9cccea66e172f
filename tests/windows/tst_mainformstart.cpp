#include "program/introbox.h"
#include "app/settingsfixture.h"
#include "app/startup.h"
#include "program/lookactions.h"
#include "program/tarvomain.h"
#include "data/database.h"
#include "data/databasefiles.h"
#include "data/templatefixture.h"
#include "engine/table.h"
#include "windows/mainform.h"

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
        int tips = 0, hints = 0, overdue = 0;
        Mainform->ShowTipOfDay = [&] { ++tips; };
        Mainform->ShowFileMenuHint = [&](const QString &) { ++hints; };
        Mainform->RunOverdueList = [&] { ++overdue; };
        // The intro box is still up: nothing yet.
        Mainform->FormActivate();
        QCOMPARE(tips + hints + overdue, 0);
        QVERIFY(Mainform->FirstActivation);
        Introbox->close();
        QVERIFY(!Introbox);
        Mainform->FormActivate();
        QCOMPARE(tips, 1);
        QCOMPARE(hints, 0);
        QCOMPARE(overdue, 0); // AutoMahnliste is off
        Mainform->FormActivate();
        QCOMPARE(tips, 1);
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
        Mainform->ShowFileMenuHint = [&](const QString &h) { hint = h; };
        delete Introbox;
        Mainform->FormActivate();
        QCOMPARE(hint, NoDatabaseHintText());
        // The tip of the day comes first, and nothing else.
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->shown().at(0).objectName, QStringLiteral("TipsForm"));
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
