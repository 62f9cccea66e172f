// The "Gedruckt" flag over key sets on a real collection: which rows the
// test reads and the set changes, the null flag, kinds cut to six
// characters, values that must stay values, long key sets, and the media
// of a category.
#include "data/printedflag.h"
#include "data/recordsql.h"
#include "recordfixture.h"

#include <QtTest>

namespace {

// Gedruckt of every medium as "kind/nr=1|0|null", in key order.
QStringList flags(fixture::Collection &c)
{
    engine::Table m(&c.session);
    m.setTableName(c.mediaPath());
    m.open();
    QStringList r;
    for (m.first(); !m.eof(); m.next()) {
        engine::Field *g = m.fieldByName(QStringLiteral("Gedruckt"));
        r << QStringLiteral("%1/%2=%3")
                 .arg(m.fieldByName(QStringLiteral("Medium"))->asString())
                 .arg(m.fieldByName(QStringLiteral("Nr"))->asInteger())
                 .arg(g->isNull() ? QStringLiteral("null") : g->asBoolean() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return r;
}

void setFlag(fixture::Collection &c, const QString &kind, int nr, const QVariant &v)
{
    recordsql::change(c.Table1, QStringLiteral("UPDATE %1 SET Gedruckt = ?1 WHERE Medium = ?2 AND Nr = ?3")
                                    .arg(recordsql::tableRef(c.Table1)),
                      {v, kind, nr});
}

TMediumNrPairCollection pairs(const QList<QPair<QString, int>> &keys)
{
    TMediumNrPairCollection p;
    for (const auto &k : keys)
        p.AddPair(k.first, k.second);
    return p;
}

} // namespace

class TestPrintedFlagRules : public QObject
{
    Q_OBJECT
    std::unique_ptr<fixture::Collection> c;

private slots:
    void init()
    {
        c = std::make_unique<fixture::Collection>();
        c->addMedium(QStringLiteral("VHS-SB"), 1);
        c->addMedium(QStringLiteral("VHS-SB"), 2);
        c->addMedium(QStringLiteral("VHS-SB"), 3);
        c->addMedium(QStringLiteral("DVD"), 1);
        c->open();
        setFlag(*c, QStringLiteral("VHS-SB"), 1, 1);
        setFlag(*c, QStringLiteral("VHS-SB"), 2, 0);
        setFlag(*c, QStringLiteral("VHS-SB"), 3, QVariant());
        setFlag(*c, QStringLiteral("DVD"), 1, 1);
    }
    void cleanup() { c.reset(); }

    void truthTable()
    {
        const auto printed = pairs({{"VHS-SB", 1}}), notPrinted = pairs({{"VHS-SB", 2}}),
                   nullFlag = pairs({{"VHS-SB", 3}});
        for (bool all : {false, true}) {
            QVERIFY(TestPrintedFlag(c->Table1, {&printed, {}}, all));
            QVERIFY(!TestPrintedFlag(c->Table1, {&notPrinted, {}}, all, true));
            QVERIFY(!TestPrintedFlag(c->Table1, {&nullFlag, {}}, all, false));
            QVERIFY(TestPrintedFlag(c->Table1, {&nullFlag, {}}, all, true));
        }
        // Two media, one flagged and one not.
        const auto mixed = pairs({{"VHS-SB", 1}, {"VHS-SB", 2}});
        QVERIFY(TestPrintedFlag(c->Table1, {&mixed, {}}, false));
        QVERIFY(!TestPrintedFlag(c->Table1, {&mixed, {}}, true));
        // Not printed and NULL: only the null flag makes it count.
        const auto notAndNull = pairs({{"VHS-SB", 2}, {"VHS-SB", 3}});
        QVERIFY(!TestPrintedFlag(c->Table1, {&notAndNull, {}}, false, false));
        QVERIFY(TestPrintedFlag(c->Table1, {&notAndNull, {}}, false, true));
        QVERIFY(!TestPrintedFlag(c->Table1, {&notAndNull, {}}, true, true));
        // Two printed media are one distinct value.
        const auto both = pairs({{"VHS-SB", 1}, {"DVD", 1}});
        QVERIFY(TestPrintedFlag(c->Table1, {&both, {}}, true));
        // No row, and no key set at all.
        const auto none = pairs({{"VHS-KK", 9}});
        QVERIFY(!TestPrintedFlag(c->Table1, {&none, {}}, false, true));
        QVERIFY(!TestPrintedFlag(c->Table1, {}, false, true));
        // A ready condition instead of a key set.
        QVERIFY(TestPrintedFlag(c->Table1, {nullptr, QStringLiteral("WHERE Medium = 'DVD'")}, true));
    }

    void setChangesOnlyTheListedRows()
    {
        const auto p = pairs({{"VHS-SB", 2}, {"VHS-SB", 3}});
        QCOMPARE(SetPrintedFlag(c->Table1, {&p, {}}, true), 2);
        QCOMPARE(flags(*c), QStringList({"DVD/1=1", "VHS-SB/1=1", "VHS-SB/2=1", "VHS-SB/3=1"}));
        const auto dvd = pairs({{"DVD", 1}});
        QCOMPARE(SetPrintedFlag(c->Table1, {&dvd, {}}, false), 1);
        QCOMPARE(flags(*c), QStringList({"DVD/1=0", "VHS-SB/1=1", "VHS-SB/2=1", "VHS-SB/3=1"}));
        // An empty selection never reaches the whole table.
        QCOMPARE(SetPrintedFlag(c->Table1, {}, false), 0);
        QCOMPARE(flags(*c).count(QStringLiteral("VHS-SB/1=1")), 1);
    }

    void kindsAreValuesCutToSixCharacters()
    {
        TMediumNrPairCollection p;
        p.AddPair(QStringLiteral("VHS-SBX"), 2);
        QCOMPARE(p.at(0).Medium, QStringLiteral("VHS-SB"));
        QCOMPARE(SetPrintedFlag(c->Table1, {&p, {}}, true), 1);
        QVERIFY(flags(*c).contains(QStringLiteral("VHS-SB/2=1")));
        // A kind holding quotes is compared as a value: nothing matches.
        TMediumNrPairCollection odd;
        odd.AddPair(QStringLiteral("\" OR 1=1 OR \""), 1);
        odd.AddPair(QStringLiteral("Nr"), 1);
        QCOMPARE(SetPrintedFlag(c->Table1, {&odd, {}}, false), 0);
        QCOMPARE(flags(*c), QStringList({"DVD/1=1", "VHS-SB/1=1", "VHS-SB/2=1", "VHS-SB/3=null"}));
        // The condition carries placeholders only.
        QStringList lines;
        QVariantList binds;
        AppendMediumWhere(lines, binds, odd, 0, 2);
        QCOMPARE(lines, QStringList({"WHERE", "(Medium = ?1 COLLATE BINARY AND Nr = ?2)", "OR",
                                     "(Medium = ?3 COLLATE BINARY AND Nr = ?4)"}));
        QCOMPARE(binds, QVariantList({QStringLiteral("\" OR 1"), 1, QStringLiteral("Nr"), 1}));
    }

    void longKeySetsRunInSlices()
    {
        // More pairs than one statement takes, most of them not in the table.
        TMediumNrPairCollection p;
        for (int n = 1000; n < 1000 + 2 * MediumWhereSlice + 17; ++n)
            p.AddPair(QStringLiteral("VHS-KK"), n);
        p.AddPair(QStringLiteral("VHS-SB"), 3);
        QCOMPARE(SetPrintedFlag(c->Table1, {&p, {}}, true), 1);
        QVERIFY(TestPrintedFlag(c->Table1, {&p, {}}, true));
        QVERIFY(flags(*c).contains(QStringLiteral("VHS-SB/3=1")));
    }

    void categoryPairsOfCassettesOnly()
    {
        c.reset();
        c = std::make_unique<fixture::Collection>();
        c->addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, 90}, {2, 90}});
        c->addMedium(QStringLiteral("VHS-KK"), 4, 240, {{1, 90}});
        c->addMedium(QStringLiteral("DVD"), 1, 240, {{1, 90}});
        c->addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, 90}});
        c->open();
        recordsql::change(c->filmTable, QStringLiteral("UPDATE %1 SET Kateg = '2'").arg(recordsql::tableRef(c->filmTable)));
        recordsql::change(c->filmTable, QStringLiteral("UPDATE %1 SET Kateg = '3' WHERE Medium = 'VHS-SB' AND KassNr = 2")
                                            .arg(recordsql::tableRef(c->filmTable)));
        const TMediumNrPairCollection b = GetCategoryMediaPairs(c->filmTable, 2);
        QList<TMediumNrPair> got = b.items();
        std::sort(got.begin(), got.end(), [](const auto &x, const auto &y) {
            return std::tie(x.Medium, x.Nr) < std::tie(y.Medium, y.Nr);
        });
        QCOMPARE(got, (QList<TMediumNrPair>{{"VHS-KK", 4}, {"VHS-SB", 1}}));
        QCOMPARE(GetCategoryMediaPairs(c->filmTable, 3).items(), (QList<TMediumNrPair>{{"VHS-SB", 2}}));
        QVERIFY(GetCategoryMediaPairs(c->filmTable, 4).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrintedFlagRules)
#include "tst_printedflag.moc"
