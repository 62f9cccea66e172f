#include "platform/inifile.h"

#include <QTemporaryDir>
#include <QtTest>

class TstIniFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTripKeepsEverything()
    {
        const QByteArray src =
            "; Tipps\r\n"
            "[Tipp1]\r\n"
            "Text=Erste Zeile\\lbzweite; mit Semikolon, und Komma\r\n"
            "Text=doppelt\r\n"
            "\r\n"
            "[Sites]\r\n"
            "Name = IMDb \r\n"
            "URL=http://x/?q=%s&a=1\r\n";
        platform::IniFile ini;
        ini.setBytes(src);
        QCOMPARE(ini.toBytes(), src);
        QCOMPARE(ini.sections(), (QStringList{"Tipp1", "Sites"}));
        QCOMPARE(ini.keys(QStringLiteral("tipp1")), (QStringList{"Text", "Text"}));
        QCOMPARE(ini.readString(QStringLiteral("TIPP1"), QStringLiteral("text")),
                 QStringLiteral("Erste Zeile\\lbzweite; mit Semikolon, und Komma"));
        QCOMPARE(ini.readString(QStringLiteral("Sites"), QStringLiteral("Name")), QStringLiteral("IMDb"));
        QCOMPARE(ini.readString(QStringLiteral("Sites"), QStringLiteral("URL")),
                 QStringLiteral("http://x/?q=%s&a=1"));
        QCOMPARE(ini.readString(QStringLiteral("None"), QStringLiteral("x"), QStringLiteral("d")),
                 QStringLiteral("d"));
    }

    void writesTouchOnlyTheirLine()
    {
        platform::IniFile ini;
        ini.setBytes("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
        ini.writeString(QStringLiteral("a"), QStringLiteral("X"), QStringLiteral("3"));
        ini.writeInteger(QStringLiteral("A"), QStringLiteral("z"), 4);
        ini.writeBool(QStringLiteral("C"), QStringLiteral("w"), true);
        QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nx=3\r\nz=4\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=1\r\n"));
        ini.deleteKey(QStringLiteral("A"), QStringLiteral("x"));
        ini.eraseSection(QStringLiteral("B"));
        QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nz=4\r\n\r\n[C]\r\nw=1\r\n"));
        QVERIFY(!ini.sectionExists(QStringLiteral("B")));
        QVERIFY(ini.valueExists(QStringLiteral("c"), QStringLiteral("W")));
    }

    void numbersAndBooleans()
    {
        platform::IniFile ini;
        ini.setBytes("[S]\r\nn=42\r\nh=$1F\r\nbad=4x\r\nb=0\r\n");
        QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("n"), -1), 42);
        QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("h"), -1), 31);
        QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("bad"), -1), -1);
        QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("b"), true), false);
        QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("missing"), true), true);
    }

    void linesThatAreNoEntries()
    {
        platform::IniFile ini;
        ini.setBytes("garbage before\r\n[S]\r\n=novalue\r\n;k=v\r\nk=v=w\r\n[broken\r\n");
        QCOMPARE(ini.keys(QStringLiteral("S")), QStringList{QStringLiteral("k")});
        QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("v=w"));
        QCOMPARE(ini.sections(), QStringList{QStringLiteral("S")});
    }

    void fileLoadAndSave()
    {
        QTemporaryDir dir;
        platform::IniFile ini(dir.filePath(QStringLiteral("s.ini")));
        QVERIFY(ini.load()); // missing file: empty
        QVERIFY(ini.lines().isEmpty());
        ini.writeString(QStringLiteral("Ä"), QStringLiteral("Größe"), QStringLiteral("€"));
        QVERIFY(ini.save());
        platform::IniFile back(ini.fileName());
        QVERIFY(back.load());
        QCOMPARE(back.readString(QStringLiteral("ä"), QStringLiteral("größe")), QStringLiteral("€"));
        QFile f(ini.fileName());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[\xC4]\r\nGr\xF6\xDF" "e=\x80\r\n"));
    }
};

QTEST_APPLESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
