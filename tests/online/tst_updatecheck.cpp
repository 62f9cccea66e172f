// The update check against a server of the test's own on 127.0.0.1: the
// versions and their messages, chunked, drip-fed and cut responses, a page
// of another status, a server that never answers while the program goes on,
// an exception while the result is shown, the settings dialog and the check
// at start. The application object is the program's own, as in the program.
#include "loopbackserver.h"

#include "app/settingsfixture.h"
#include "urlcatcher.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/waitbox.h"
#include "online/httpget.h"
#include "online/updatecheck.h"
#include "program/guardedapplication.h"
#include "windows/queries/dupdchk.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QtTest>

namespace {

// The wait boxes on screen.
int waitBoxes()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<TWaitbox *>(w) && w->isVisible())
            ++n;
    return n;
}

} // namespace

class TstUpdateCheck : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    UrlCatcher urls;
    std::unique_ptr<LoopbackServer> server;
    int homepage = 0;

    void serve(const QList<QByteArray> &pieces, int delayMs = 0)
    {
        server = std::make_unique<LoopbackServer>();
        server->pieces = pieces;
        server->delayMs = delayMs;
        UpdateServerHost = QStringLiteral("127.0.0.1");
        UpdateServerPort = server->port();
    }
    // A check to its end: it returns at once, its result comes from the
    // event loop.
    void check(bool manual)
    {
        CheckForUpdate(manual, nullptr, [this] { ++homepage; });
        QVERIFY(UpdateCheckRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!UpdateCheckRunning(), 10000);
        QCOMPARE(waitBoxes(), 0);
    }
    const kit::ShownBox *onlyBox() const
    {
        return fx.presenter->shown().size() == 1 ? &fx.presenter->shown().first() : nullptr;
    }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &urls, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls, "open");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    void init()
    {
        fx.setUp();
        homepage = 0;
        HttpTimeoutMs = 5000;
    }
    void cleanup()
    {
        server.reset();
        HttpTimeoutMs = 60000;
    }

    void theRequestIsTheMinimalGet()
    {
        serve({LoopbackServer::plain("6\r\n6\r\n0\r\n")});
        std::optional<THttpResult> result;
        HttpGet(QStringLiteral("127.0.0.1"), QStringLiteral("/tarvoversion.txt"), 256, nullptr,
                [&](const THttpResult &r) { result = r; });
        QVERIFY(!result); // never before the call has returned
        QTRY_VERIFY(result);
        QVERIFY(result->ok);
        const QString response = result->response;
        const QStringList log = result->log;
        const QByteArray expected = "GET /tarvoversion.txt HTTP/1.1\r\nAccept: text/html; text/plain\r\nHost: 127.0.0.1:"
                                    + QByteArray::number(server->port()) + "\r\nConnection: Close\r\n\r\n";
        QCOMPARE(server->request, expected);
        QVERIFY(response.startsWith(QStringLiteral("%1 Bytes read\n\rHTTP/1.1 200 OK")
                                        .arg(LoopbackServer::plain("6\r\n6\r\n0\r\n").size())));
        QCOMPARE(log.first(), QStringLiteral("> GET /tarvoversion.txt HTTP/1.1"));
        QCOMPARE(log.at(1), QStringLiteral("| Accept: text/html; text/plain"));
        QCOMPARE(log.at(3), QStringLiteral("| Connection: Close"));
        QCOMPARE(log.at(4), QStringLiteral("|"));
        QCOMPARE(log.at(5), response);
        QCOMPARE(log.last(), QStringLiteral("Socket closed!"));
    }

    void versionsAndTheirMessages_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<QString>("expected"); // a part of the text; empty: nothing shown
        QTest::addColumn<bool>("question");
        const QString offer = QStringLiteral("Wollen Sie direkt die Tarvo-Homepage öffnen");
        QTest::newRow("6.6.1") << QByteArray("6\r\n6\r\n1\r\n") << false
                               << QStringLiteral("Version 6.6.1\rEs handelt sich um geringfügige Änderungen, z.B. ein "
                                                 "BugFix oder eine sog. \"Zwischenversion\"")
                               << true;
        QTest::newRow("6.7.0") << QByteArray("6\r\n7\r\n0\r\n") << false
                               << QStringLiteral("Version 6.7.0\r\r(Um diese Meldung nicht mehr zu erhalten") << true;
        QTest::newRow("7.0.0") << QByteArray("7\r\n0\r\n0") << true << offer << true;
        QTest::newRow("6.6.0 by hand") << QByteArray("6\r\n6\r\n0\r\n") << true
                                       << QStringLiteral("Sie verwenden die aktuelle Tarvo-Version.") << false;
        QTest::newRow("6.6.0 at start") << QByteArray("6\r\n6\r\n0\r\n") << false << QString() << false;
        QTest::newRow("5.9.9 by hand") << QByteArray("5\r\n9\r\n9\r\n") << true << QString() << false;
        QTest::newRow("6.5.9") << QByteArray("6\r\n5\r\n9\r\n") << true << QString() << false;
    }

    void versionsAndTheirMessages()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, manual);
        QFETCH(QString, expected);
        QFETCH(bool, question);
        serve({LoopbackServer::plain(body)});
        fx.presenter->answer(mrYes);
        check(manual);
        QCOMPARE(server->connections, 1);
        if (expected.isEmpty()) {
            QCOMPARE(fx.presenter->shown().size(), 0);
            return;
        }
        const kit::ShownBox *box = onlyBox();
        QVERIFY(box);
        QVERIFY2(box->text.contains(expected), qPrintable(box->text));
        QCOMPARE(box->caption, QStringLiteral("Online-Updateprüfung"));
        QCOMPARE(box->icon, question ? kit::BoxIcon::Question : kit::BoxIcon::Information);
        QCOMPARE(homepage, question ? 1 : 0);
        if (question)
            QVERIFY(box->text.startsWith(QStringLiteral("Es ist eine neuere Version von Tarvo verfügbar: Version ")));
    }

    void noOpensNothing()
    {
        serve({LoopbackServer::plain("7\r\n0\r\n0\r\n")});
        fx.presenter->answer(mrNo);
        check(false);
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(homepage, 0);
    }

    void chunkedAndDripFedResponsesAreRead()
    {
        serve({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "2\r\n6\n\r\n", "4\r\n6\n1\n\r\n", "0\r\n\r\n"},
              30);
        fx.presenter->answer(mrNo);
        check(false);
        QVERIFY(onlyBox() && onlyBox()->text.contains(QStringLiteral("Version 6.6.1")));

        // One byte at a time, no length: read to the end.
        QList<QByteArray> drip;
        for (char c : QByteArray("HTTP/1.0 200 OK\r\n\r\n6\r\n7\r\n0\r\n"))
            drip << QByteArray(1, c);
        serve(drip, 2);
        fx.presenter->clear();
        fx.presenter->answer(mrNo);
        check(false);
        QVERIFY(onlyBox() && onlyBox()->text.contains(QStringLiteral("Version 6.7.0")));
    }

    void oddResponsesAreReportedByHandOnly_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::newRow("cut short") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n6\r\n6\r\n1\r\n");
        QTest::newRow("cut chunks") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\n6\r\n");
        QTest::newRow("two lines") << LoopbackServer::plain("6\r\n6\r\n");
        QTest::newRow("four lines") << LoopbackServer::plain("6\r\n6\r\n1\r\n2\r\n");
        QTest::newRow("no number") << LoopbackServer::plain("6\r\nsechs\r\n1\r\n");
        QTest::newRow("junk only") << QByteArray("SSH-2.0-OpenSSH\r\n");
        QTest::newRow("web page") << LoopbackServer::plain("<html>\r\n<body>Nicht gefunden</body>\r\n</html>\r\n");
        // A page of another status is no version file, whatever it holds.
        QTest::newRow("404 of three numbers")
            << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\n6\r\n7\r\n0\r\n");
        QTest::newRow("no status code") << QByteArray("HTTP/1.1\r\nContent-Length: 9\r\n\r\n6\r\n7\r\n0\r\n");
    }

    void oddResponsesAreReportedByHandOnly()
    {
        QFETCH(QByteArray, response);
        serve({response});
        check(false);
        QCOMPARE(fx.presenter->shown().size(), 0);
        serve({response});
        check(true);
        const kit::ShownBox *box = onlyBox();
        QVERIFY(box);
        QCOMPARE(box->caption, QStringLiteral("Fehler bei Online-Versionsabfrage"));
        QCOMPARE(box->icon, kit::BoxIcon::Error);
        QVERIFY2(box->text.startsWith(QStringLiteral("Versionsinformation nicht gefunden oder ungültig!\r\r"
                                                     "Verbindungsprotokoll:\r> GET /tarvoversion.txt HTTP/1.1\r")),
                 qPrintable(box->text));
        QVERIFY(box->text.endsWith(QStringLiteral("\rSocket closed!")));
    }

    void aResponseOver64KiBIsRefused()
    {
        serve({"HTTP/1.1 200 OK\r\n\r\n" + QByteArray(70000, '6')});
        check(true);
        QVERIFY(onlyBox() && onlyBox()->text.startsWith(QStringLiteral("Die Antwort des Servers ist größer als 64 KiB")));
    }

    void theProgramGoesOnWhileASilentServerKeepsTheCheckWaiting()
    {
        server = std::make_unique<LoopbackServer>();
        server->silent = true;
        UpdateServerHost = QStringLiteral("127.0.0.1");
        UpdateServerPort = server->port();
        HttpTimeoutMs = 600;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(20);
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start();
        QElapsedTimer t;
        t.start();
        CheckForUpdate(true, nullptr, [this] { ++homepage; });
        QVERIFY(t.elapsed() < 200); // back at once
        QCOMPARE(waitBoxes(), 1);
        // The box waits beside the program, not over it.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TWaitbox *>(w))
                QVERIFY(!w->isModal() && !(w->windowFlags() & Qt::WindowStaysOnTopHint));
        QTRY_VERIFY(ticks >= 5 && server->connections == 1); // events go on while the check waits
        QVERIFY(UpdateCheckRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!UpdateCheckRunning(), 5000);
        const qint64 ms = t.elapsed();
        QVERIFY2(ms >= 550 && ms < 3000, qPrintable(QString::number(ms)));
        QCOMPARE(waitBoxes(), 0);
        QVERIFY(onlyBox() && onlyBox()->text.startsWith(QStringLiteral("Zeitüberschreitung")));
        QVERIFY(onlyBox()->text.contains(QStringLiteral("Verbindungsprotokoll:")));
    }

    void anyEndOfTheCheckClosesTheBoxAndClearsTheFlag()
    {
        // An exception while the result is shown (the homepage cannot be
        // opened): the program's error box, no wait box, and the next check
        // runs.
        serve({LoopbackServer::plain("7\r\n0\r\n0\r\n")});
        fx.presenter->answer(mrYes);
        CheckForUpdate(false, nullptr, [] { throw std::runtime_error("kein Browser"); });
        QTRY_VERIFY_WITH_TIMEOUT(fx.presenter->shown().size() == 2, 10000);
        QCOMPARE(fx.captions(), QStringList({QStringLiteral("Online-Updateprüfung"), QStringLiteral("Fehler")}));
        QVERIFY(fx.presenter->last().text.contains(QStringLiteral("kein Browser")));
        QVERIFY(!UpdateCheckRunning());
        QCOMPARE(waitBoxes(), 0);
        // The owner goes while the check waits: the check ends with it,
        // silently.
        server = std::make_unique<LoopbackServer>();
        server->silent = true;
        UpdateServerPort = server->port();
        fx.presenter->clear();
        auto owner = std::make_unique<QWidget>();
        CheckForUpdate(true, owner.get(), [this] { ++homepage; });
        QTRY_COMPARE(server->connections, 1);
        owner.reset();
        QVERIFY(!UpdateCheckRunning());
        QCOMPARE(waitBoxes(), 0);
        QTest::qWait(50);
        QCOMPARE(fx.presenter->shown().size(), 0);
        // And a check after them runs.
        serve({LoopbackServer::plain("6\r\n6\r\n0\r\n")});
        check(true);
        QCOMPARE(server->connections, 1);
        QVERIFY(onlyBox() && onlyBox()->text == QStringLiteral("Sie verwenden die aktuelle Tarvo-Version."));
    }

    void aClosedPortFailsAtOnce()
    {
        quint16 port;
        {
            LoopbackServer gone;
            port = gone.port();
        }
        UpdateServerHost = QStringLiteral("127.0.0.1");
        UpdateServerPort = port;
        check(false);
        QCOMPARE(fx.presenter->shown().size(), 0);
        check(true);
        QVERIFY(onlyBox() && onlyBox()->text.startsWith(QStringLiteral("Keine Verbindung zu 127.0.0.1: ")));
        // Nothing was sent, so there is no log.
        QVERIFY(!onlyBox()->text.contains(QStringLiteral("Verbindungsprotokoll:")));
    }

    void theDialogStoresTheModeAndChecksByHand()
    {
        UpdChkMode = 2;
        serve({LoopbackServer::plain("6\r\n6\r\n0\r\n")});
        fx.presenter->answerDialog([](QDialog &d) {
            auto *dlg = static_cast<TDUpdChk *>(&d);
            QVERIFY(dlg->ChkNo->Checked());
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Online-Updateprüfung"));
            dlg->BtnCheck->click();
            QTRY_VERIFY_WITH_TIMEOUT(!UpdateCheckRunning(), 10000); // the user waits in the dialog
            dlg->ChkYes->SetChecked(true);
        });
        ExecUpdateCheckSettings();
        QCOMPARE(server->connections, 1);
        // The note of the check by hand, shown while the dialog is up.
        QCOMPARE(fx.captions(), QStringList({QStringLiteral("Online-Updateprüfung"), QStringLiteral("Online-Updateprüfung")}));
        QCOMPARE(fx.presenter->shown().at(0).text, QStringLiteral("Sie verwenden die aktuelle Tarvo-Version."));
        QCOMPARE(fx.presenter->shown().at(1).objectName, QStringLiteral("DUpdChk"));
        QCOMPARE(UpdChkMode, 1);
        platform::Registry r;
        QVERIFY(r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), false));
        QCOMPARE(r.readString(QStringLiteral("UpdChk")).left(1).toLower(), QStringLiteral("y"));
        // Cancel keeps the mode.
        fx.presenter->answerDialog([](QDialog &d) { static_cast<TDUpdChk *>(&d)->ChkAsk->SetChecked(true); },
                                   mrCancel);
        ExecUpdateCheckSettings();
        QCOMPARE(UpdChkMode, 1);
    }

    void theCheckAtStartFollowsTheMode()
    {
        serve({LoopbackServer::plain("7\r\n0\r\n0\r\n")});
        UpdChkMode = 2;
        AutoUpdateCheck(nullptr);
        QCOMPARE(server->connections, 0);
        QCOMPARE(fx.presenter->shown().size(), 0);
        UpdChkMode = 0;
        AutoUpdateCheck(nullptr);
        QCOMPARE(server->connections, 0);
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->shown().at(0).objectName, QStringLiteral("DUpdChk"));
        UpdChkMode = 1;
        fx.presenter->answer(mrYes);
        AutoUpdateCheck(nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!UpdateCheckRunning(), 10000);
        QCOMPARE(server->connections, 1);
        QCOMPARE(fx.presenter->shown().size(), 2);
        QCOMPARE(urls.opened.size(), 1);
        QCOMPARE(urls.opened.first().host(), QStringLiteral("www.ozo-software.de"));
    }
};

int main(int argc, char **argv)
{
    TGuardedApplication app(argc, argv);
    TstUpdateCheck test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_updatecheck.moc"
