#include "kit/textconv.h"
#include "platform/cp1252.h"

#include <QtTest>

namespace {
QString w(const char *cp1252) { return platform::fromCp1252(QByteArray(cp1252)); }
}

class TstTextConv : public QObject
{
    Q_OBJECT
private slots:
    void emptyStaysEmpty()
    {
        QVERIFY(AnsiToDos({}).isEmpty());
        QVERIFY(DosToAnsi({}).isEmpty());
        QVERIFY(AnsiToHtmlEntities({}).isEmpty());
        QVERIFY(HtmlEscape({}).isEmpty());
        QVERIFY(XmlEscape({}).isEmpty());
        QVERIFY(AnsiToUtf8({}).isEmpty());
        QVERIFY(UrlEncode({}).isEmpty());
        QVERIFY(EscapeAmpersands({}).isEmpty());
    }

    void dosCodePage()
    {
        QCOMPARE(AnsiToDos("Gr\xFC\xDF" "e"), QByteArray("Gr\x81\xE1" "e"));
        QCOMPARE(DosToAnsi("Gr\x81\xE1" "e"), QByteArray("Gr\xFC\xDF" "e"));
        // All fifteen letters, there and back; nothing else is touched.
        const QByteArray ansi("\xFC\xE9\xE2\xE4\xE0\xE7\xEA\xEB\xE8\xC4\xF6\xD6\xDC\xE1\xDF");
        const QByteArray dos("\x81\x82\x83\x84\x85\x87\x88\x89\x8A\x8E\x94\x99\x9A\xA0\xE1");
        QCOMPARE(AnsiToDos(ansi), dos);
        QCOMPARE(DosToAnsi(dos), ansi);
        QCOMPARE(AnsiToDos("&~\xF1\xC5"), QByteArray("&~\xF1\xC5"));
        QCOMPARE(DosToAnsi("\x86\x8F"), QByteArray("\x86\x8F"));
    }

    void htmlEntities()
    {
        QCOMPARE(AnsiToHtmlEntities(w("\xC0\xC1\xC2\xC4\xC7\xC8\xC9\xCA\xCB\xD6\xDC\xDF")),
                 QStringLiteral("&Agrave;&Aacute;&Acirc;&Auml;&Ccedil;&Egrave;&Eacute;&Ecirc;&Euml;&Ouml;&Uuml;&szlig;"));
        QCOMPARE(AnsiToHtmlEntities(w("\xE0\xE1\xE2\xE4\xE7\xE8\xE9\xEA\xEB\xF6\xFC")),
                 QStringLiteral("&agrave;&aacute;&acirc;&auml;&ccedil;&egrave;&eacute;&ecirc;&euml;&ouml;&uuml;"));
        QCOMPARE(AnsiToHtmlEntities(w("\xF1\xC5 <a>")), w("\xF1\xC5 <a>"));
    }

    void escapes()
    {
        QCOMPARE(HtmlEscape(QStringLiteral("a&b<c>\"d'e\xE4")), QStringLiteral("a&amp;b&lt;c&gt;&quot;d'e\xE4"));
        QCOMPARE(XmlEscape(QStringLiteral("Tom's & Jerry")), QStringLiteral("Tom&apos;s &amp; Jerry"));
        QCOMPARE(XmlEscape(QStringLiteral("<\">")), QStringLiteral("&lt;&quot;&gt;"));
        QCOMPARE(EscapeAmpersands(QStringLiteral("a&b&&c")), QStringLiteral("a&amp;b&amp;&amp;c"));
    }

    void utf8IsRealUtf8()
    {
        QCOMPARE(AnsiToUtf8(w("\xE4")), QByteArray("\xC3\xA4"));
        QCOMPARE(AnsiToUtf8(w("\xB0")), QByteArray("\xC2\xB0"));
        // The Euro sign and the low double quote are no control characters.
        QCOMPARE(AnsiToUtf8(w("\x80")), QByteArray("\xE2\x82\xAC"));
        QCOMPARE(AnsiToUtf8(w("\x84")), QByteArray("\xE2\x80\x9E"));
        QCOMPARE(AnsiToUtf8(QStringLiteral("abc")), QByteArray("abc"));
    }

    void urlEncoding()
    {
        QCOMPARE(UrlEncode(QStringLiteral("Der Pate II")), QStringLiteral("Der+Pate+II"));
        QCOMPARE(UrlEncode(w("Am\xE9lie")), QStringLiteral("Am%E9lie"));
        QCOMPARE(UrlEncode(QStringLiteral("a.b")), QStringLiteral("a%2Eb"));
        QCOMPARE(UrlEncode(QStringLiteral("\"#%&+./:;<=>?[\\]^_{|}~")),
                 QStringLiteral("%22%23%25%26%2B%2E%2F%3A%3B%3C%3D%3E%3F%5B%5C%5D%5E%5F%7B%7C%7D%7E"));
        QCOMPARE(UrlEncode(QStringLiteral("!$'()*,-@`x9")), QStringLiteral("!$'()*,-@`x9"));
        // Every character from 128 up is encoded by its byte, listed or not.
        QCOMPARE(UrlEncode(w("\xC0\xDF\xFC\xF1\x80")), QStringLiteral("%C0%DF%FC%F1%80"));
    }

    void noLengthLimit()
    {
        const QString longText(1000, u'\xE4');
        QCOMPARE(UrlEncode(longText).size(), 3000);
        QVERIFY(UrlEncode(longText).endsWith(QStringLiteral("%E4")));
        QCOMPARE(AnsiToDos(QByteArray(600, '\xE4')), QByteArray(600, '\x84'));
        QCOMPARE(XmlEscape(QString(500, u'&')).size(), 2500);
    }
};

QTEST_APPLESS_MAIN(TstTextConv)
#include "tst_textconv.moc"
