#include "platform/rounding.h"
#include "platform/tcolor.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

using platform::mulDivRoundHalfEven;

class TstNumbers : public QObject
{
    Q_OBJECT
private slots:
    void halfToEven()
    {
        QCOMPARE(mulDivRoundHalfEven(5, 1, 2), 2);   // 2.5
        QCOMPARE(mulDivRoundHalfEven(7, 1, 2), 4);   // 3.5
        QCOMPARE(mulDivRoundHalfEven(-5, 1, 2), -2); // -2.5
        QCOMPARE(mulDivRoundHalfEven(-7, 1, 2), -4);
        QCOMPARE(mulDivRoundHalfEven(10, 1, 3), 3);
        QCOMPARE(mulDivRoundHalfEven(20, 1, 3), 7);
        QCOMPARE(mulDivRoundHalfEven(1, 1, 0), 0);
        QCOMPARE(mulDivRoundHalfEven(5, -1, -2), 2);
        QCOMPARE(mulDivRoundHalfEven(INT64_MAX / 2, 4, 4), INT64_MAX / 2);
        QCOMPARE(platform::roundHalfEven(2.5), 2);
        QCOMPARE(platform::roundHalfEven(3.5), 4);
        QCOMPARE(platform::roundHalfEven(-0.5), 0);
        QCOMPARE(platform::roundHalfEven(2.6), 3);
    }

    void decimalFactorsAreExact()
    {
        platform::Ratio r;
        QVERIFY(platform::parseDecimalRatio(QStringLiteral("0.833"), &r));
        QCOMPARE(r.num, 833);
        QCOMPARE(r.den, 1000);
        // 1249.5 exactly: half to even gives 1250 (floating point would give 1249).
        QCOMPARE(r.apply(1500), 1250);
        QVERIFY(platform::parseDecimalRatio(QStringLiteral("1,25"), &r));
        QCOMPARE(r.apply(10), 12); // 12.5 -> 12
        QVERIFY(platform::parseDecimalRatio(QStringLiteral("2"), &r));
        QCOMPARE(r.apply(7), 14);
        QVERIFY(!platform::parseDecimalRatio(QStringLiteral("x1"), &r));
        QVERIFY(!platform::parseDecimalRatio(QStringLiteral(""), &r));
        QVERIFY(!platform::parseDecimalRatio(QStringLiteral("."), &r));
    }

    void windowsColours()
    {
        using namespace platform;
        QCOMPARE(toQColor(clRed), QColor(255, 0, 0));
        QCOMPARE(toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
        QCOMPARE(fromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456);
        QCOMPARE(toQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
        TColor c = 0;
        QVERIFY(identToTColor(QStringLiteral("clbtnface"), &c));
        QCOMPARE(c, clBtnFace);
        QVERIFY(c < 0);
        QVERIFY(identToTColor(QStringLiteral("$00FF8000"), &c));
        QCOMPARE(c, 0x00FF8000);
        QVERIFY(identToTColor(QStringLiteral("-2147483633"), &c));
        QCOMPARE(c, clBtnFace);
        QVERIFY(!identToTColor(QStringLiteral("clNotAColour"), &c));
        QCOMPARE(tColorToIdent(clNavy), QStringLiteral("clNavy"));
        QCOMPARE(tColorToIdent(0x00102030), QStringLiteral("$00102030"));
    }
};

QTEST_MAIN(TstNumbers)
#include "tst_numbers.moc"
