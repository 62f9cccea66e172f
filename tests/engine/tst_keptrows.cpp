// Rows kept as they come from a statement, a block of rows to one buffer:
// each kind of value reads back as the value a field of its type holds,
// across the blocks, with empty values and values of no type in between.
#include "engine/keptrows.h"

#include <QDate>
#include <QtTest>

using namespace engine;

class TstKeptRows : public QObject
{
    Q_OBJECT

private slots:
    void everyKindOfValueAcrossBlocks()
    {
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        // Columns: text, small number, large number, Boolean, float, date,
        // picture bytes, memo; five rows, kept two to a block.
        const char *sql =
            "SELECT 'Ärger im Paradies', 7, 5000000000, 1, 2.5, '2024-01-02', x'00ff10', 'Zeile 1' || char(13,10) || 'Zeile 2' "
            "UNION ALL SELECT '', -40, -1, 0, -0.25, 'kein Datum', x'', NULL "
            "UNION ALL SELECT NULL, NULL, NULL, NULL, NULL, NULL, NULL, '€ und „Zitat“' "
            "UNION ALL SELECT 'Zorro', 0, 0, 2, 0, '1999-12-31', NULL, '' "
            "UNION ALL SELECT 42, '13', 7, 0, 3, NULL, NULL, 'Ende'";
        sqlite3_stmt *st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, sql, -1, &st, nullptr), SQLITE_OK);
        const std::vector<FieldType> types{FieldType::String, FieldType::SmallInt, FieldType::LargeInt,
                                           FieldType::Boolean, FieldType::Float, FieldType::Date,
                                           FieldType::Graphic, FieldType::Memo};
        KeptRows rows(int(types.size()), 2);
        while (sqlite3_step(st) == SQLITE_ROW)
            rows.append(st, types);
        sqlite3_finalize(st);
        sqlite3_close(db);
        QCOMPARE(rows.size(), 5);

        QCOMPARE(rows.value(0, 0), QVariant(QStringLiteral("Ärger im Paradies")));
        QCOMPARE(rows.value(0, 1), QVariant(7));
        QCOMPARE(rows.value(0, 1).metaType(), QMetaType::fromType<int>());
        QCOMPARE(rows.value(0, 2), QVariant(qint64(5000000000)));
        QCOMPARE(rows.value(0, 2).metaType(), QMetaType::fromType<qint64>());
        QCOMPARE(rows.value(0, 3), QVariant(true));
        QCOMPARE(rows.value(0, 4), QVariant(2.5));
        QCOMPARE(rows.value(0, 5), QVariant(QDate(2024, 1, 2)));
        QCOMPARE(rows.value(0, 6), QVariant(QByteArray("\x00\xff\x10", 3)));
        QCOMPARE(rows.value(0, 7), QVariant(QStringLiteral("Zeile 1\r\nZeile 2")));

        // Empty text stays text; a date that is none is no value.
        QCOMPARE(rows.value(1, 0).metaType(), QMetaType::fromType<QString>());
        QVERIFY(rows.value(1, 0).toString().isEmpty());
        QCOMPARE(rows.value(1, 1), QVariant(-40));
        QCOMPARE(rows.value(1, 2), QVariant(qint64(-1)));
        QCOMPARE(rows.value(1, 3), QVariant(false));
        QCOMPARE(rows.value(1, 4), QVariant(-0.25));
        QVERIFY(!rows.value(1, 5).isValid());
        QCOMPARE(rows.value(1, 6).toByteArray(), QByteArray());
        QVERIFY(!rows.value(1, 7).isValid());

        // A row of nothing but NULL, then the memo of the third block's row.
        for (int c = 0; c < 7; ++c)
            QVERIFY(!rows.value(2, c).isValid());
        QCOMPARE(rows.value(2, 7), QVariant(QStringLiteral("€ und „Zitat“")));

        // Values of another type become the column's: a number shown as
        // text, a text read as a number, 2 as true.
        QCOMPARE(rows.value(3, 3), QVariant(true));
        QCOMPARE(rows.value(3, 5), QVariant(QDate(1999, 12, 31)));
        QCOMPARE(rows.value(4, 0), QVariant(QStringLiteral("42")));
        QCOMPARE(rows.value(4, 1), QVariant(13));
        QCOMPARE(rows.value(4, 4), QVariant(3.0));

        // A whole row at once, as a result hands it to its record.
        QVariant values[8];
        rows.read(3, values);
        QCOMPARE(values[0], QVariant(QStringLiteral("Zorro")));
        QCOMPARE(values[1], QVariant(0));
        QVERIFY(!values[6].isValid());
        QCOMPARE(values[7].metaType(), QMetaType::fromType<QString>());

        rows.reset(2);
        QCOMPARE(rows.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TstKeptRows)
#include "tst_keptrows.moc"
