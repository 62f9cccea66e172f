#include "platform/cp1252.h"
#include "platform/paths.h"
#include "platform/textfile.h"

#include <QTemporaryDir>

#include <sys/stat.h>
#include <QtTest>

class TstTextFiles : public QObject
{
    Q_OBJECT
private slots:
    void codecHighTable()
    {
        // The 0x80..0x9F block is where Windows-1252 differs from Latin-1.
        QCOMPARE(platform::cp1252ToUnicode(0x80), char16_t(0x20AC));
        QCOMPARE(platform::cp1252ToUnicode(0x84), char16_t(0x201E));
        QCOMPARE(platform::cp1252ToUnicode(0x8A), char16_t(0x0160));
        QCOMPARE(platform::cp1252ToUnicode(0x96), char16_t(0x2013));
        QCOMPARE(platform::cp1252ToUnicode(0x9F), char16_t(0x0178));
        QCOMPARE(platform::cp1252ToUnicode(0xE4), char16_t(0xE4));
        QCOMPARE(platform::unicodeToCp1252(0x20AC), 0x80);
        QCOMPARE(platform::unicodeToCp1252(0x0100), -1);
    }

    void codecRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString s = platform::fromCp1252(all);
        QCOMPARE(s.size(), 256);
        bool lossless = false;
        QCOMPARE(platform::toCp1252(s, &lossless), all);
        QVERIFY(lossless);
    }

    void codecMarksLoss()
    {
        bool lossless = true;
        QCOMPARE(platform::toCp1252(QStringLiteral("a\u0101b"), &lossless), QByteArray("a?b"));
        QVERIFY(!lossless);
        QVERIFY(platform::isCp1252(QStringLiteral("Grüße €")));
        QVERIFY(!platform::isCp1252(QStringLiteral("\u4e2d")));
    }

    void linesByteExact()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        QByteArray bytes("first\r\nNUL\0inside \xE4\x80\x81\r\n\r\nlast\r\n", 31);
        QVERIFY(platform::writeFileBytes(path, bytes));
        auto lines = platform::readTextLines(path);
        QVERIFY(lines);
        QCOMPARE(lines->size(), 4);
        QCOMPARE(lines->at(1).size(), 14);
        QCOMPARE(lines->at(1).at(3), QChar(0));
        QCOMPARE(lines->at(1).at(12), QChar(0x20AC));
        QCOMPARE(lines->at(2), QString());
        const QString copy = dir.filePath(QStringLiteral("u.ini"));
        QVERIFY(platform::writeTextLines(copy, *lines));
        QCOMPARE(*platform::readFileBytes(copy), bytes);
    }

    void linesWithoutFinalBreakAndLoneLf()
    {
        const QStringList l = platform::splitCp1252Lines("a\nb\r\nc");
        QCOMPARE(l, (QStringList{"a", "b", "c"}));
        QCOMPARE(platform::splitCp1252Lines(QByteArray()), QStringList());
        QCOMPARE(platform::joinCp1252Lines({"x", "y"}), QByteArray("x\r\ny\r\n"));
    }

    void unreadableFileGivesGermanMessage()
    {
        QString err;
        QVERIFY(!platform::readTextLines(QStringLiteral("/nonexistent/dir/x.ini"), &err));
        QVERIFY(err.contains(QStringLiteral("konnte nicht gelesen werden")));
        QVERIFY(!platform::writeFileBytes(QStringLiteral("/nonexistent/dir/x.ini"), "x", &err));
        QVERIFY(err.contains(QStringLiteral("konnte nicht geschrieben werden")));
    }

    void onlySaneRegularFilesAreRead()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("user.reg"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QString err;
        // A FIFO without a writer would block a plain open for ever.
        QVERIFY(!platform::readFileBytes(fifo, &err));
        QVERIFY(err.contains(QStringLiteral("keine gewöhnliche Datei")));
        const QString zero = dir.filePath(QStringLiteral("zero.ini"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
        QVERIFY(!platform::readTextLines(zero, &err));
        QVERIFY(err.contains(QStringLiteral("keine gewöhnliche Datei")));
        QVERIFY(!platform::readFileBytes(QStringLiteral("/dev/zero"), &err));

        const QString big = dir.filePath(QStringLiteral("big.txt"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(platform::kMaxReadFileBytes + 1)); // sparse, takes no disk
        f.close();
        QVERIFY(!platform::readFileBytes(big, &err));
        QVERIFY(err.contains(QStringLiteral("zu groß")));
        QVERIFY(!platform::readFileBytes(big, &err, 10));
        QVERIFY(f.resize(10));
        QCOMPARE(platform::readFileBytes(big, &err, 10)->size(), 10);
        // A link to a regular file is read through.
        const QString link = dir.filePath(QStringLiteral("link.txt"));
        QVERIFY(QFile::link(big, link));
        QCOMPARE(*platform::readFileBytes(link), QByteArray(10, '\0'));
    }

    void paths()
    {
        QCOMPARE(platform::toNativeSeparators(QStringLiteral("Skins\\Metal\\x.bmp")),
                 QStringLiteral("Skins/Metal/x.bmp"));
        QCOMPARE(platform::joinPath(QStringLiteral("/a/b/"), QStringLiteral("DB\\Med.DB")),
                 QStringLiteral("/a/b/DB/Med.DB"));
        QCOMPARE(platform::joinPath(QStringLiteral("/"), QStringLiteral("x")), QStringLiteral("/x"));
        QCOMPARE(platform::joinPath(QString(), QStringLiteral("x\\y")), QStringLiteral("x/y"));
        QVERIFY(platform::isAbsolutePath(QStringLiteral("/home")));
        QVERIFY(platform::isAbsolutePath(QStringLiteral("C:\\x")));
        QVERIFY(platform::isAbsolutePath(QStringLiteral("\\\\srv\\x")));
        QVERIFY(!platform::isAbsolutePath(QStringLiteral("DBs\\x")));
        QCOMPARE(platform::withTrailingSeparator(QStringLiteral("/a")), QStringLiteral("/a/"));
        QCOMPARE(platform::fileExtension(QStringLiteral("/d.x/Film.DB")), QStringLiteral(".DB"));
        QCOMPARE(platform::fileExtension(QStringLiteral("/d.x/Film")), QString());
        QCOMPARE(platform::stripExtension(QStringLiteral("x.tarvo.tarvo")), QStringLiteral("x.tarvo"));
    }
};

QTEST_APPLESS_MAIN(TstTextFiles)
#include "tst_textfiles.moc"
