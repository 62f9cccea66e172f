#include "dbui/boolsymbols.h"
#include "dbui/fieldtext.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "memorydataset.h"

#include <QtTest>

using dbui::BoolSymbolStyle;
using engine::FieldType;

class TstFieldText : public QObject
{
    Q_OBJECT
private slots:
    void boolSymbolModes_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        // bit 1 both symbols, bit 2 true only, bit 4 tick style
        QTest::newRow("both, tick") << 5 << QStringLiteral("\u2611") << QStringLiteral("\u2610");
        QTest::newRow("both, cross") << 1 << QStringLiteral("\u2612") << QStringLiteral("\u2610");
        QTest::newRow("true only, tick") << 6 << QStringLiteral("\u2713") << QString();
        QTest::newRow("true only, cross") << 2 << QStringLiteral("\u2717") << QString();
        QTest::newRow("neither: X") << 4 << QStringLiteral("X") << QString();
        QTest::newRow("both wins over true only") << 7 << QStringLiteral("\u2611") << QStringLiteral("\u2610");
    }
    void boolSymbolModes()
    {
        QFETCH(int, flags);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        const BoolSymbolStyle style = dbui::boolSymbolStyleFromFlags(flags);
        QCOMPARE(dbui::boolSymbolText(QVariant(true), style), yes);
        QCOMPARE(dbui::boolSymbolText(QVariant(false), style), no);
        QCOMPARE(dbui::boolSymbolText(QVariant(), style), QString());
        QCOMPARE(dbui::boolSymbolStyleToFlags(style), flags);
        QCOMPARE(style.usesSymbols(), (flags & 3) != 0);
    }

    void dates()
    {
        QCOMPARE(dbui::formatDate(QDate(2026, 3, 7)), QStringLiteral("07.03.2026"));
        QCOMPARE(dbui::formatDate(QDate()), QString());
        QCOMPARE(dbui::parseDate(QStringLiteral("7.3.2026")), QDate(2026, 3, 7));
        QCOMPARE(dbui::parseDate(QStringLiteral(" 07.03.26 ")), QDate(2026, 3, 7));
        QCOMPARE(dbui::parseDate(QStringLiteral("1.1.95")), QDate(1995, 1, 1));
        QVERIFY(!dbui::parseDate(QStringLiteral("31.02.2026")).isValid());
        QVERIFY(!dbui::parseDate(QStringLiteral("morgen")).isValid());
        QCOMPARE(dbui::editText(FieldType::Date, QDate(1999, 12, 31)), QStringLiteral("31.12.1999"));
    }

    void displayAndEditTexts()
    {
        QCOMPARE(dbui::editText(FieldType::Float, 3.5), QStringLiteral("3,5"));
        QCOMPARE(dbui::editText(FieldType::Boolean, true), QStringLiteral("Ja"));
        QCOMPARE(dbui::editText(FieldType::Integer, QVariant()), QString());
        QCOMPARE(dbui::displayText(FieldType::Memo, QStringLiteral("erste\r\nzweite")), QStringLiteral("erste"));
        QCOMPARE(dbui::displayText(FieldType::Graphic, QByteArray("BM..")), QStringLiteral("(Grafik)"));
        QCOMPARE(dbui::displayText(FieldType::Graphic, QVariant()), QString());
        QCOMPARE(dbui::displayText(FieldType::Graphic, QVariant(true)), QStringLiteral("(Grafik)"));
    }

    void parsing()
    {
        MemoryDataSet ds({{"Titel", FieldType::String, 40},
                          {"Len", FieldType::SmallInt},
                          {"Datum", FieldType::Date},
                          {"LP", FieldType::Boolean},
                          {"Schnitt", FieldType::Float}});
        ds.open();
        QCOMPARE(dbui::parseText(*ds.field(0), QStringLiteral(" a ")), QVariant(QStringLiteral(" a ")));
        QVERIFY(dbui::parseText(*ds.field(0), QString()).isNull());
        QCOMPARE(dbui::parseText(*ds.field(1), QStringLiteral(" 120 ")).toInt(), 120);
        QCOMPARE(dbui::parseText(*ds.field(2), QStringLiteral("24.12.2025")).toDate(), QDate(2025, 12, 24));
        QCOMPARE(dbui::parseText(*ds.field(3), QStringLiteral("ja")).toBool(), true);
        QCOMPARE(dbui::parseText(*ds.field(3), QStringLiteral("Nein")).toBool(), false);
        QCOMPARE(dbui::parseText(*ds.field(4), QStringLiteral("2,25")).toDouble(), 2.25);

        const auto refuses = [](const engine::Field &f, const QString &text, const QString &part) {
            try {
                dbui::parseText(f, text);
            } catch (const engine::EngineError &e) {
                return e.code() == engine::ErrInvalidValue && e.message().contains(part);
            }
            return false;
        };
        QVERIFY(refuses(*ds.field(1), QStringLiteral("12a"), QStringLiteral("Integerwert")));
        QVERIFY(refuses(*ds.field(1), QStringLiteral("40000"), QStringLiteral("-32768 bis 32767")));
        QVERIFY(refuses(*ds.field(2), QStringLiteral("32.1.2020"), QStringLiteral("kein gültiges Datum")));
        QVERIFY(refuses(*ds.field(3), QStringLiteral("vielleicht"), QStringLiteral("Wahrheitswert")));
        QVERIFY(refuses(*ds.field(4), QStringLiteral("x"), QStringLiteral("Gleitkommawert")));
    }
};

QTEST_GUILESS_MAIN(TstFieldText)
#include "tst_fieldtext.moc"
