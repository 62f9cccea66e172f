// The response reader: where the body starts, when it is complete, chunks,
// and the lines of the program's string lists.
#include "online/httpresponse.h"

#include <QtTest>

class TstHttpResponse : public QObject
{
    Q_OBJECT

private slots:
    void completionFollowsTheFraming()
    {
        const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n";
        QCOMPARE(ParseHttpResponse("HTTP/1.1 200").state, THttpBodyState::NeedMore);
        QCOMPARE(ParseHttpResponse(head).state, THttpBodyState::NeedMore);
        QCOMPARE(ParseHttpResponse(head + "6\r\n6\r\n").state, THttpBodyState::NeedMore);
        const THttpParse whole = ParseHttpResponse(head + "6\r\n6\r\n1\r\n");
        QCOMPARE(whole.state, THttpBodyState::Complete);
        QCOMPARE(whole.body, QByteArray("6\r\n6\r\n1\r\n"));
        // A header line cut after its CR is not yet the end of the headers.
        QCOMPARE(ParseHttpResponse("HTTP/1.1 200 OK\r\nContent-Length: 1\r").state, THttpBodyState::NeedMore);
        // Without a length the body runs to the end of the connection.
        const THttpParse open = ParseHttpResponse("HTTP/1.0 200 OK\r\n\r\n7\r\n");
        QCOMPARE(open.state, THttpBodyState::ToEnd);
        QCOMPARE(open.body, QByteArray("7\r\n"));
    }

    void chunksAreDecodedAcrossPieces()
    {
        const QByteArray all = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                               "3\r\n6\r\n\r\n6\r\n6\r\n1\r\n\r\n0\r\n\r\n";
        // Every cut before the last chunk's line leaves it incomplete.
        const qsizetype last = all.indexOf("0\r\n\r\n");
        for (qsizetype n = 0; n <= last + 1; ++n)
            QCOMPARE(ParseHttpResponse(all.left(n)).state, THttpBodyState::NeedMore);
        const THttpParse p = ParseHttpResponse(all);
        QCOMPARE(p.state, THttpBodyState::Complete);
        QCOMPARE(p.body, QByteArray("6\r\n6\r\n1\r\n"));
        QCOMPARE(p.status, 200);
        QCOMPARE(ParseHttpResponse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nG\r\nx\r\n0\r\n\r\n").state,
                 THttpBodyState::Invalid);
    }

    void tooLargeIsRefused()
    {
        const QByteArray head = "HTTP/1.1 200 OK\r\n\r\n";
        const QByteArray fits = head + QByteArray(HttpMaxResponseBytes - head.size(), 'x');
        QCOMPARE(ParseHttpResponse(fits).state, THttpBodyState::ToEnd);
        QCOMPARE(ParseHttpResponse(fits + "x").state, THttpBodyState::Invalid);
        QCOMPARE(ParseHttpResponse("HTTP/1.1 200 OK\r\nContent-Length: 65537\r\n\r\n").state, THttpBodyState::Invalid);
    }

    void linesEndAtCrLfLfOrCr()
    {
        QCOMPARE(SplitTextLines(QStringLiteral("a\r\nb\nc\rd")),
                 QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
        QCOMPARE(SplitTextLines(QStringLiteral("a\r\n")), QStringList({QStringLiteral("a")}));
        QCOMPARE(SplitTextLines(QStringLiteral("a\r\n\r\n")), QStringList({QStringLiteral("a"), QString()}));
        QCOMPARE(SplitTextLines(QString()), QStringList());
    }

    void theByteCountLineBeforeTheStatusLineIsSkipped()
    {
        const QString response = QStringLiteral("58 Bytes read\n\rHTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n7\r\n0\r\n0");
        QCOMPARE(*HttpResponseBody(response), QStringList({QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("0")}));
        QVERIFY(!HttpResponseBody(QStringLiteral("58 Bytes read\n\r<html>")));
        // The status line's code, for the caller to judge.
        QCOMPARE(HttpResponseStatus(response), 200);
        QCOMPARE(HttpResponseStatus(QStringLiteral("HTTP/1.1 404 Not Found\r\n\r\n6")), 404);
        QCOMPARE(HttpResponseStatus(QStringLiteral("HTTP/1.1 2000 OK\r\n\r\n")), 0);
        QCOMPARE(HttpResponseStatus(QStringLiteral("<html>")), 0);
    }
};

QTEST_GUILESS_MAIN(TstHttpResponse)
#include "tst_httpresponse.moc"
