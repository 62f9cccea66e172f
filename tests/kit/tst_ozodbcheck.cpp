// The data-aware check box over a real table, and the combo box's field-size
// guard.
#include "dbui/datasource.h"
#include "dbui/dbcombobox.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/ozodbcheck.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

TableDef flagsDef()
{
    TableDef def;
    def.name = QStringLiteral("Flags");
    def.fields = {FieldDef(QStringLiteral("Nr"), FieldType::Integer),
                  FieldDef(QStringLiteral("B"), FieldType::Boolean),
                  FieldDef(QStringLiteral("S"), FieldType::String, 6)};
    def.primaryKeyFields = 1;
    return def;
}

struct Fixture {
    QTemporaryDir dir;
    Session session;
    Table table{&session};
    dbui::DataSource source{&table};
    QString path;

    Fixture()
    {
        path = dir.filePath(QStringLiteral("Flags.DB"));
        createTableFile(path, flagsDef());
        table.setTableName(path);
        table.open();
        const QVariantList rows[] = {{1, true, QStringLiteral("J")},
                                     {2, false, QStringLiteral("j")},
                                     {3, QVariant(), QVariant()}};
        for (const auto &r : rows) {
            table.append();
            table.fieldByName(QStringLiteral("Nr"))->setValue(r[0]);
            table.fieldByName(QStringLiteral("B"))->setValue(r[1]);
            table.fieldByName(QStringLiteral("S"))->setValue(r[2]);
            table.post();
        }
        table.first();
    }
    void reopenReadOnly()
    {
        table.close();
        table.setReadOnly(true);
        table.open();
    }
};

} // namespace

class TstOzoDbCheck : public QObject
{
    Q_OBJECT
private slots:
    void booleanField()
    {
        Fixture f;
        TOzoDBCheck box;
        box.SetDataSource(&f.source);
        box.SetDataField(QStringLiteral("B"));
        QCOMPARE(box.State(), cbChecked);
        f.table.next();
        QCOMPARE(box.State(), cbUnchecked);
        f.table.next();
        QCOMPARE(box.State(), cbGrayed); // null shows grayed
        box.Click();                      // grayed -> unchecked, written
        QCOMPARE(f.table.state(), DataSetState::Edit);
        QCOMPARE(f.table.fieldByName(QStringLiteral("B"))->isNull(), false);
        box.Click();
        f.table.post();
        QCOMPARE(f.table.fieldByName(QStringLiteral("B"))->asBoolean(), true);
    }

    void stringFieldWithTexts()
    {
        Fixture f;
        TOzoDBCheck box;
        box.SetStringForTrue(QStringLiteral("J"));
        box.SetStringForFalse(QStringLiteral("N"));
        box.SetDataSource(&f.source);
        box.SetDataField(QStringLiteral("S"));
        QCOMPARE(box.State(), cbChecked);
        f.table.next();
        QCOMPARE(box.State(), cbUnchecked); // a small j is no J
        box.Click();
        QCOMPARE(f.table.fieldByName(QStringLiteral("S"))->asString(), QStringLiteral("J"));
        box.Click();
        QCOMPARE(f.table.fieldByName(QStringLiteral("S"))->asString(), QStringLiteral("N"));
        f.table.cancel();
        QCOMPARE(box.State(), cbUnchecked);
    }

    void readOnlyTableRefusesClicks()
    {
        Fixture f;
        f.reopenReadOnly();
        TOzoDBCheck box;
        box.SetDataSource(&f.source);
        box.SetDataField(QStringLiteral("B"));
        QSignalSpy refused(&box, &TOzoCustomDBCheck::editRefused);
        QCOMPARE(box.State(), cbChecked);
        box.Click();
        QCOMPARE(box.State(), cbChecked);
        QCOMPARE(f.table.state(), DataSetState::Browse);
        QCOMPARE(refused.count(), 1);
        // The next record still shows its value.
        f.table.next();
        QCOMPARE(box.State(), cbUnchecked);
    }

    void readOnlyControlNeverWrites()
    {
        Fixture f;
        TOzoDBCheck box;
        box.SetReadOnly(true);
        box.SetDataSource(&f.source);
        box.SetDataField(QStringLiteral("B"));
        box.Click();
        QCOMPARE(box.State(), cbChecked);
        QCOMPARE(f.table.state(), DataSetState::Browse);
    }

    void escapeShowsStoredValue()
    {
        Fixture f;
        QWidget w;
        auto *box = new TOzoDBCheck(&w);
        box->SetDataSource(&f.source);
        box->SetDataField(QStringLiteral("B"));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->State(), cbUnchecked);
        f.table.cancel();
        QCOMPARE(box->State(), cbChecked);
    }

    void comboFieldSize()
    {
        Fixture f;
        dbui::DbComboBox combo;
        combo.setDataSource(&f.source);
        combo.setDataField(QStringLiteral("S"));
        combo.setText(QStringLiteral("ABCDEF"));
        QChar key = u'G';
        QVERIFY(LimitComboToFieldSize(&combo, key));
        QCOMPARE(key, QChar(7));
        QChar back = u'\b';
        QVERIFY(!LimitComboToFieldSize(&combo, back));
        QCOMPARE(back, QChar(u'\b'));
        combo.setText(QStringLiteral("ABC"));
        key = u'D';
        QVERIFY(!LimitComboToFieldSize(&combo, key));
        QCOMPARE(key, QChar(u'D'));
        combo.setText(QStringLiteral("ABCDEFGH"));
        key = u'X';
        QVERIFY(LimitComboToFieldSize(&combo, key));
        QCOMPARE(combo.text(), QStringLiteral("ABCDEF"));
        // Other controls and fields are left alone.
        QLineEdit plain;
        key = u'Y';
        QVERIFY(!LimitComboToFieldSize(&plain, key));
        combo.setDataField(QStringLiteral("Nr"));
        QVERIFY(!LimitComboToFieldSize(&combo, key));
        QCOMPARE(key, QChar(u'Y'));
    }
};

QTEST_MAIN(TstOzoDbCheck)
#include "tst_ozodbcheck.moc"
