#include "program/introbox.h"
#include "app/startup.h"
#include "program/lookactions.h"
#include "app/settingsfixture.h"

#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

class TstStartup : public QObject
{
    Q_OBJECT
    SettingsFixture fx;

    void writePar(const QByteArray &bytes)
    {
        QFile f(ProgDir + QStringLiteral("tarvo.par"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void makeDatabase(const QString &base, bool withPers = true)
    {
        QDir().mkpath(base + QStringLiteral("DB"));
        QStringList tables{QStringLiteral("Med.DB"), QStringLiteral("Film.DB")};
        if (withPers)
            tables << QStringLiteral("Pers.DB");
        for (const QString &t : tables) {
            QFile f(base + QStringLiteral("DB/") + t);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }

private slots:
    void init()
    {
        fx.setUp();
        NetFileDir.clear();
        LookKeywords.clear();
    }

    void netSwitch()
    {
        // A valid folder: network mode; the folder is consumed, METAL is a keyword.
        QCOMPARE(ReadCommandLine({QStringLiteral("/net"), fx.path(QStringLiteral("prog")), QStringLiteral("METAL")}),
                 QStringList{QStringLiteral("METAL")});
        QVERIFY(NetworkMode);
        QCOMPARE(NetFileDir, fx.path(QStringLiteral("prog")));
        QCOMPARE(fx.presenter->shown().size(), 0);
        // An invalid folder: its box, no network mode; the folder is still consumed.
        NetworkMode = false;
        NetFileDir.clear();
        QCOMPARE(ReadCommandLine({QStringLiteral("/NET"), QStringLiteral("NOMETAL")}), QStringList());
        QVERIFY(!NetworkMode);
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Fehler"));
        QCOMPARE(fx.presenter->last().icon, kit::BoxIcon::Error);
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Der angegebene Netzwerkpfad ist ungültig! Tarvo läuft nicht im Netzwerkmodus!"));
        // "/NET" as the last argument: ignored without a box.
        fx.presenter->clear();
        QCOMPARE(ReadCommandLine({QStringLiteral("winborder"), QStringLiteral("/NET")}),
                 QStringList{QStringLiteral("WINBORDER")});
        QCOMPARE(fx.presenter->shown().size(), 0);
        QVERIFY(!NetworkMode);
        // Other arguments are ignored.
        QCOMPARE(ReadCommandLine({QStringLiteral("x.tarvo"), QStringLiteral("-foo"), QStringLiteral("NoRgn")}),
                 QStringList{QStringLiteral("NORGN")});
    }

    void parameterFile()
    {
        writePar("nometal\r\nWINBORDER \r\n NORGN\r\nASK\r\nnobuttbmps\r\nunbekannt\r\n");
        // Whole line against whole keyword, any case, no trimming; ASK only
        // counts on the command line.
        QCOMPARE(ReadStartParameters({}),
                 (QList<TLookAction>{TLookAction::FreeMetalSkins, TLookAction::NoButtonBitmaps}));
        QCOMPARE(LookKeywords, (QStringList{QStringLiteral("NOMETAL"), QStringLiteral("NOBUTTBMPS")}));
        // A look keyword on the command line: the file is not read at all.
        QCOMPARE(ReadStartParameters({QStringLiteral("metal")}), QList<TLookAction>());
        // "/NET" does not count as a keyword.
        QCOMPARE(ReadStartParameters({QStringLiteral("/NET"), fx.path(QStringLiteral("prog"))}).size(), 2);
        // A missing file: nothing, no box.
        QFile::remove(ProgDir + QStringLiteral("tarvo.par"));
        QCOMPARE(ReadStartParameters({}), QList<TLookAction>());
        QCOMPARE(fx.presenter->shown().size(), 0);
        // An unreadable one (a folder in its place): a box, and start goes on.
        QDir().mkpath(ProgDir + QStringLiteral("tarvo.par"));
        QCOMPARE(ReadStartParameters({}), QList<TLookAction>());
        QCOMPARE(fx.presenter->shown().size(), 1);
        QVERIFY(fx.presenter->last().text.contains(QStringLiteral("tarvo.par")));
    }

    void lookActionsInTheirOrder()
    {
        QCOMPARE(LookActions({QStringLiteral("NOBUTTBMPS"), QStringLiteral("NORGN"), QStringLiteral("NOMETAL"),
                              QStringLiteral("WINBORDER"), QStringLiteral("ASK")}),
                 (QList<TLookAction>{TLookAction::Restart, TLookAction::UseStandardFrames,
                                     TLookAction::FreeMetalSkins, TLookAction::NoRegions,
                                     TLookAction::NoButtonBitmaps}));
        // NOMETAL and METAL together: the metal look stays.
        QCOMPARE(LookActions({QStringLiteral("NOMETAL"), QStringLiteral("METAL")}), QList<TLookAction>());
        QCOMPARE(LookActions({QStringLiteral("METAL")}), QList<TLookAction>());
        QCOMPARE(ReadStartParameters({QStringLiteral("Metal"), QStringLiteral("noMetal")}), QList<TLookAction>());
    }

    void askRestartsOnceAndQuits()
    {
        int started = 0;
        StartProgramAgain = [&] { ++started; return true; };
        QList<TLookAction> applied;
        ApplyLookActionHook = [&](TLookAction a) { applied << a; };
        ApplyLookActions(ReadStartParameters({QStringLiteral("ask"), QStringLiteral("NORGN")}));
        QCOMPARE(started, 1);
        QVERIFY(AppTerminating);
        QCOMPARE(applied, QList<TLookAction>{TLookAction::NoRegions});
        ApplyLookActionHook = nullptr;
        StartProgramAgain = nullptr;
    }

    void databaseChosenAtStart()
    {
        const QString dbs = fx.path(QStringLiteral("dbs/"));
        makeDatabase(dbs + QStringLiteral("Sammlung/"));
        QFile main(dbs + QStringLiteral("Sammlung.TARVO"));
        QVERIFY(main.open(QIODevice::WriteOnly));
        main.close();
        // The first argument, extension in capitals.
        TStartDatabase s = ChooseStartDatabase(dbs + QStringLiteral("Sammlung.TARVO"), QString(), QString());
        QVERIFY(s.Use);
        QCOMPARE(s.Base, dbs + QStringLiteral("Sammlung/"));
        QCOMPARE(s.PersBase, dbs + QStringLiteral("Sammlung/DB/Pers"));
        // A relative first argument is taken against the working folder.
        QDir::setCurrent(dbs);
        QVERIFY(ChooseStartDatabase(QStringLiteral("Sammlung.TARVO"), QString(), QString()).Use);
        // Else DBFile; "Def" and empty mean none.
        QVERIFY(ChooseStartDatabase(QStringLiteral("NOMETAL"), dbs + QStringLiteral("Sammlung/"), QString()).Use);
        QVERIFY(!ChooseStartDatabase(QString(), QStringLiteral("Def"), QString()).Use);
        QVERIFY(!ChooseStartDatabase(QString(), QString(), QString()).Use);
        // A stored Windows-style path of older settings.
        QVERIFY(ChooseStartDatabase(QString(), QString(dbs + QStringLiteral("Sammlung")).replace(u'/', u'\\'),
                                    QString()).Use);
        // An incomplete database: not used.
        makeDatabase(dbs + QStringLiteral("OhnePers/"), false);
        QVERIFY(!ChooseStartDatabase(QString(), dbs + QStringLiteral("OhnePers/"), QString()).Use);
        // ...unless a shared person table is chosen and present.
        QFile pers(dbs + QStringLiteral("Gemeinsam.Pers.DB"));
        QVERIFY(pers.open(QIODevice::WriteOnly));
        pers.close();
        s = ChooseStartDatabase(QString(), dbs + QStringLiteral("OhnePers/"), dbs + QStringLiteral("Gemeinsam.Pers"));
        QVERIFY(s.Use);
        QCOMPARE(s.PersBase, dbs + QStringLiteral("Gemeinsam.Pers"));
        // A shared person table that is gone: the database's own is used.
        s = ChooseStartDatabase(QString(), dbs + QStringLiteral("Sammlung/"), dbs + QStringLiteral("Weg.Pers"));
        QCOMPARE(s.PersBase, dbs + QStringLiteral("Sammlung/DB/Pers"));
    }

    void firstActivationWaitsForTheIntroBox()
    {
        bool first = true;
        // The intro box is still visible: nothing runs, the steps wait.
        QVERIFY(!FirstActivationSteps(first, true, true, false, false));
        QVERIFY(first);
        auto steps = FirstActivationSteps(first, false, true, false, true);
        QVERIFY(steps);
        QVERIFY(!first);
        QVERIFY(steps->ShowTip && steps->ShowNoDatabaseHint && !steps->RunOverdueList);
        // Only once.
        QVERIFY(!FirstActivationSteps(first, false, true, false, false));
        first = true;
        steps = FirstActivationSteps(first, false, false, true, true);
        QVERIFY(!steps->ShowTip && !steps->ShowNoDatabaseHint && steps->RunOverdueList);
        first = true;
        steps = FirstActivationSteps(first, false, false, true, false);
        QVERIFY(!steps->RunOverdueList);
    }

    void introBoxClosesFiveSecondsAfterItsFirstActivation()
    {
        Introbox = new TIntrobox;
        QPointer<TIntrobox> box = Introbox;
        Introbox->show();
        QVERIFY(!Introbox->Timer1->isActive() || Introbox->Timer1->remainingTime() > 4000);
        Introbox->FormActivate();
        QCOMPARE(Introbox->Timer1->interval(), 5000);
        QVERIFY(Introbox->Timer1->isSingleShot());
        QVERIFY(Introbox->Timer1->isActive());
        // A second activation does not re-arm it.
        const int left = Introbox->Timer1->remainingTime();
        Introbox->FormActivate();
        QVERIFY(Introbox->Timer1->remainingTime() <= left);
        QMetaObject::invokeMethod(Introbox->Timer1, "timeout");
        QVERIFY(!Introbox);
        QTRY_VERIFY(!box);

        // A click on the picture closes it at once.
        Introbox = new TIntrobox;
        box = Introbox;
        Introbox->show();
        QTest::mouseClick(Introbox->Image1, Qt::LeftButton);
        QVERIFY(!Introbox);
        QTRY_VERIFY(!box);
        // So does any key.
        Introbox = new TIntrobox;
        box = Introbox;
        Introbox->show();
        QTest::keyClick(Introbox, Qt::Key_A);
        QVERIFY(!Introbox);
        QTRY_VERIFY(!box);
    }

    void aboutBoxIsModalWithoutTimer()
    {
        Introbox = new TIntrobox;
        QPointer<TIntrobox> old = Introbox;
        fx.presenter->answer(mrOk);
        ShowIntroboxAsAbout(nullptr);
        QVERIFY(!old);
        QVERIFY(!Introbox);
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("Introbox"));
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
