// The functions the translated SQL calls: LIKE with letter case counting,
// UPPER and LOWER with German letters, on UTF-8 as SQLite hands it over.
#include "engine/sqlfunctions.h"

#include <QtTest>

#include <sqlite3.h>

class TstSqlFunctions : public QObject
{
    Q_OBJECT

private slots:
    void like_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("match");
        QTest::newRow("exact") << "Zorro" << "Zorro" << true;
        QTest::newRow("case counts") << "Zorro" << "zorro" << false;
        QTest::newRow("prefix") << "Zorro 7" << "Zor%" << true;
        QTest::newRow("suffix") << "Zorro 7" << "% 7" << true;
        QTest::newRow("inner") << "Der große Zorro" << "%große%" << true;
        QTest::newRow("inner miss") << "Der große Zorro" << "%grosse%" << false;
        QTest::newRow("only percent") << "" << "%" << true;
        QTest::newRow("empty pattern") << "x" << "" << false;
        QTest::newRow("underscore umlaut") << "Ärger" << "_rger" << true;
        QTest::newRow("underscore one char only") << "Ärger" << "__rger" << false;
        QTest::newRow("two wildcards") << "Straße der Ölsardinen" << "%der%sar%" << true;
        QTest::newRow("backtracking") << "aaab" << "%a%ab" << true;
        QTest::newRow("backtracking miss") << "aaab" << "%a%ba" << false;
        QTest::newRow("mixed") << "Casablanca" << "C_s%l_nc_" << true;
        QTest::newRow("trailing underscore") << "ab" << "a_%" << true;
        QTest::newRow("too short") << "a" << "a_%" << false;
    }

    void like()
    {
        QFETCH(QString, value);
        QFETCH(QString, pattern);
        QFETCH(bool, match);
        QCOMPARE(engine::sql::likeUtf8(value.toUtf8(), pattern.toUtf8()), match);
    }

    void likeEscape()
    {
        QVERIFY(engine::sql::likeUtf8("100%", "100!%", U'!'));
        QVERIFY(!engine::sql::likeUtf8("1000", "100!%", U'!'));
        QVERIFY(engine::sql::likeUtf8("a_b", "a!_b", U'!'));
        QVERIFY(!engine::sql::likeUtf8("axb", "a!_b", U'!'));
        QVERIFY(engine::sql::likeUtf8("Ölß", "%ß", U'ß')); // an escape at the end stands for itself
    }

    void likeOverUpperCase()
    {
        // tarvo_like_upper(v, p) is tarvo_like(tarvo_upper(v), p): short
        // ASCII, German letters and long values alike.
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        QCOMPARE(engine::sql::registerSqlFunctions(db), SQLITE_OK);
        sqlite3_stmt *st = nullptr;
        QCOMPARE(sqlite3_prepare_v2(db, "SELECT tarvo_like_upper(?1, ?2), tarvo_like_upper(?1, ?2, '!')", -1, &st,
                                    nullptr),
                 SQLITE_OK);
        auto like = [st](const QVariant &value, const QString &pattern) {
            sqlite3_reset(st);
            const QByteArray v = value.toString().toUtf8(), p = pattern.toUtf8();
            if (value.isNull())
                sqlite3_bind_null(st, 1);
            else
                sqlite3_bind_text(st, 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, p.constData(), int(p.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) != SQLITE_ROW)
                return QStringLiteral("error");
            auto text = [st](int i) {
                return sqlite3_column_type(st, i) == SQLITE_NULL ? QStringLiteral("NULL")
                                                                 : QString::number(sqlite3_column_int(st, i));
            };
            return text(0) + u'/' + text(1);
        };
        QCOMPARE(like("zorro 7", "ZORRO 7%"), QStringLiteral("1/1"));
        QCOMPARE(like("zorro 7", "zorro%"), QStringLiteral("0/0")); // the pattern stays as it is
        QCOMPARE(like("Der große Zorro", "%GROßE%"), QStringLiteral("1/1"));
        QCOMPARE(like("Straße", "%SS%"), QStringLiteral("0/0"));
        QCOMPARE(like("ärger", "Ä_GER"), QStringLiteral("1/1"));
        QCOMPARE(like(QString(300, u'a') + u'b', "%AB"), QStringLiteral("1/1"));
        QCOMPARE(like(QString(300, u'ö') + u'b', "%ÖB"), QStringLiteral("1/1"));
        QCOMPARE(like("100%x", "100!%X"), QStringLiteral("0/1"));
        QCOMPARE(like(QVariant(), "%"), QStringLiteral("NULL/NULL"));
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    void caseMapping()
    {
        QCOMPARE(QString::fromUtf8(engine::sql::upperUtf8("Straße der Ölsardinen äöü")),
                 QStringLiteral("STRAßE DER ÖLSARDINEN ÄÖÜ"));
        QCOMPARE(QString::fromUtf8(engine::sql::lowerUtf8("ÄRGER IM PARADIES ÖÜ")),
                 QStringLiteral("ärger im paradies öü"));
        QCOMPARE(QString::fromUtf8(engine::sql::upperUtf8("œuvre š ž ÿ €")), QStringLiteral("ŒUVRE Š Ž Ÿ €"));
        // Bytes that are no UTF-8 stay as they are.
        const QByteArray broken("a\xC3(b\xFF", 6);
        QCOMPARE(engine::sql::upperUtf8(broken), QByteArray("A\xC3(B\xFF", 6));
        QCOMPARE(engine::sql::upperUtf8(""), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TstSqlFunctions)
#include "tst_sqlfunctions.moc"
