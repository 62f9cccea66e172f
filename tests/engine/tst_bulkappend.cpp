// Appending many rows in one go: the field rules of a post, the indexes
// built afterwards, and a refused append that leaves the table as it was.
#include "enginetest.h"
#include "engine/bulkappend.h"

#include <QtTest>
#include <stdexcept>

using namespace engine;
using namespace enginetest;

namespace {

TableDef shelfDef()
{
    TableDef def;
    def.name = QStringLiteral("Regal");
    def.fields << FieldDef(QStringLiteral("Medium"), FieldType::String, 6, true)
               << FieldDef(QStringLiteral("Nr"), FieldType::SmallInt, 0, true)
               << FieldDef(QStringLiteral("Titel"), FieldType::String, 10)
               << FieldDef(QStringLiteral("Gedruckt"), FieldType::Boolean, 0, false, false)
               << FieldDef(QStringLiteral("Memo"), FieldType::Memo)
               << FieldDef(QStringLiteral("Datum"), FieldType::Date);
    def.primaryKeyFields = 2;
    IndexDef titel;
    titel.name = QStringLiteral("iTitel");
    titel.fields = QStringList{QStringLiteral("Titel")};
    titel.collation = Collation::German;
    def.indexes << titel;
    return def;
}

// A source over fixed rows.
BulkRowSource rowsOf(const QList<QVariantList> &rows)
{
    auto at = std::make_shared<int>(0);
    return [rows, at](QVariantList &row) {
        if (*at >= rows.size())
            return false;
        row = rows[(*at)++];
        return true;
    };
}

QStringList column(Table &t, const char *field)
{
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values << t.fieldByName(QLatin1String(field))->asString();
    return values;
}

} // namespace

class TstBulkAppend : public QObject
{
    Q_OBJECT
private slots:
    void appendsRowsByTheFieldRules()
    {
        QTemporaryDir dir;
        const QString path = newTable(dir, QStringLiteral("Regal.DB"), shelfDef());
        Session s;
        const int n = bulkAppend(s, path, rowsOf({
            {QStringLiteral("VHS-SB"), 2, QStringLiteral("Zorro"), {}, QStringLiteral("Notiz über Öl"), QDate(2001, 2, 3)},
            {QStringLiteral("DVD"), QStringLiteral(" 7 "), QStringLiteral("Ärger im Großen Haus"), true},
            {QStringLiteral("DVD"), 1, QString(), false, QString(), QStringLiteral("4.5.1999")},
            {QStringLiteral("VHS-KK"), 3, QStringLiteral("Bären")}, // fewer values than fields
        }));
        QCOMPARE(n, 4);
        Table t(&s);
        openTable(t, path);
        QVERIFY(t.hasPrimaryIndex());
        QCOMPARE(t.recordCount(), 4);
        // Primary order: Medium, then Nr.
        QCOMPARE(column(t, "Nr"), (QStringList{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("3"), QStringLiteral("2")}));
        // Text cut to the field's ten characters; an empty text is empty.
        QCOMPARE(column(t, "Titel"), (QStringList{QString(), QStringLiteral("Ärger im G"), QStringLiteral("Bären"), QStringLiteral("Zorro")}));
        // An empty Boolean takes the field's default; given values stay.
        QCOMPARE(column(t, "Gedruckt"), (QStringList{QStringLiteral("False"), QStringLiteral("True"), QStringLiteral("False"), QStringLiteral("False")}));
        QCOMPARE(column(t, "Datum"), (QStringList{QStringLiteral("04.05.1999"), QString(), QString(), QStringLiteral("03.02.2001")}));
        QVERIFY(t.locate(QStringLiteral("Medium;Nr"), {QStringLiteral("VHS-SB"), 2}));
        QCOMPARE(t.fieldByName(QStringLiteral("Memo"))->asString(), QStringLiteral("Notiz über Öl"));
        // The secondary index is built: the title order puts umlauts with their letters.
        t.setIndexName(QStringLiteral("iTitel"));
        QCOMPARE(column(t, "Titel"), (QStringList{QString(), QStringLiteral("Ärger im G"), QStringLiteral("Bären"), QStringLiteral("Zorro")}));
        QCOMPARE(t.indexNames(), QStringList{QStringLiteral("iTitel")});
    }

    void refusedAppendLeavesTheTableAsItWas_data()
    {
        QTest::addColumn<QVariantList>("bad");
        QTest::addColumn<int>("code");
        QTest::newRow("required field empty") << QVariantList{QStringLiteral("DVD"), {}} << int(ErrRequired);
        QTest::newRow("number out of range") << QVariantList{QStringLiteral("DVD"), 70000} << int(ErrInvalidValue);
        QTest::newRow("no date") << QVariantList{QStringLiteral("DVD"), 9, {}, {}, {}, QStringLiteral("31.2.2001")} << int(ErrInvalidValue);
        QTest::newRow("key taken") << QVariantList{QStringLiteral("VHS-SB"), 1} << int(ErrKeyViolation);
    }
    void refusedAppendLeavesTheTableAsItWas()
    {
        QFETCH(QVariantList, bad);
        QFETCH(int, code);
        QTemporaryDir dir;
        const QString path = newTable(dir, QStringLiteral("Regal.DB"), shelfDef());
        Session s;
        {
            Table t(&s);
            openTable(t, path);
            t.append();
            t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
            t.fieldByName(QStringLiteral("Nr"))->setValue(1);
            t.fieldByName(QStringLiteral("Titel"))->setValue(QStringLiteral("Alt"));
            t.post();
        }
        const QList<QVariantList> rows{{QStringLiteral("DVD"), 5, QStringLiteral("Neu")}, bad, {QStringLiteral("DVD"), 6}};
        try {
            bulkAppend(s, path, rowsOf(rows));
            QFAIL("the append went through");
        } catch (const EngineError &e) {
            QCOMPARE(e.code(), code);
            if (code == ErrKeyViolation)
                QVERIFY2(e.message().contains(QStringLiteral("Regal.DB")), qPrintable(e.message()));
        }
        Table t(&s);
        openTable(t, path);
        QCOMPARE(t.recordCount(), 1);
        QVERIFY(t.hasPrimaryIndex());
        t.setIndexName(QStringLiteral("iTitel"));
        QCOMPARE(column(t, "Titel"), QStringList{QStringLiteral("Alt")});
        t.close();
        // The table takes the good rows afterwards.
        QCOMPARE(bulkAppend(s, path, rowsOf({rows[0], rows[2]})), 2);
        openTable(t, path);
        QCOMPARE(t.recordCount(), 3);
    }

    void failingSourceTakesBackItsRows()
    {
        QTemporaryDir dir;
        const QString path = newTable(dir, QStringLiteral("Regal.DB"), shelfDef());
        Session s;
        int given = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, bulkAppend(s, path, [&](QVariantList &row) {
            if (given == 3)
                throw std::runtime_error("damaged source");
            row = {QStringLiteral("DVD"), ++given};
            return true;
        }));
        Table t(&s);
        openTable(t, path);
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.hasPrimaryIndex());
    }

    void refusesATableInUse()
    {
        QTemporaryDir dir;
        const QString path = newTable(dir, QStringLiteral("Regal.DB"), shelfDef());
        Session s;
        Table t(&s);
        openTable(t, path);
        QCOMPARE(errorCode([&] { bulkAppend(s, path, rowsOf({{QStringLiteral("DVD"), 1}})); }), int(ErrInUse));
        t.close();
        QCOMPARE(bulkAppend(s, path, rowsOf({{QStringLiteral("DVD"), 1}})), 1);
        openTable(t, path);
        QCOMPARE(t.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TstBulkAppend)
#include "tst_bulkappend.moc"
