// The record windows' keyboard scheme over a real table.
#include "kit/dbtastennavigation.h"
#include "kit/scriptedpresenter.h"
#include "temptable.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace engine;

namespace {

// A table of (Nr, Grp) rows in Nr order.
struct Fixture : TempTable {
    explicit Fixture(const QStringList &groups, bool readOnly = false)
        : TempTable(keyedDef(QStringLiteral("Grp"), {FieldDef(QStringLiteral("Grp"), FieldType::String, 6)}),
                    rowsOf(groups))
    {
        if (readOnly)
            reopenReadOnly();
    }
    static QList<QVariantList> rowsOf(const QStringList &groups)
    {
        QList<QVariantList> rows;
        for (const QString &g : groups)
            rows.append({int(rows.size()) + 1, g});
        return rows;
    }
    int nr() { return table.fieldByName(QStringLiteral("Nr"))->asInteger(); }
};

} // namespace

class TstDbTastenNavigation : public QObject
{
    Q_OBJECT
private slots:
    void homeEndAndBits()
    {
        Fixture f({"A", "A", "B", "B", "C"});
        QVERIFY(!HandleDataSetKey(f.table, dskCtrlHomeEnd, VK_END, false));
        QCOMPARE(f.nr(), 1);
        QVERIFY(HandleDataSetKey(f.table, dskCtrlHomeEnd, VK_END, true));
        QCOMPARE(f.nr(), 5);
        QVERIFY(HandleDataSetKey(f.table, dskHomeEnd, VK_HOME, false));
        QCOMPARE(f.nr(), 1);
        QVERIFY(!HandleDataSetKey(f.table, 0, VK_NEXT, false));
        QVERIFY(HandleDataSetKey(f.table, dskPageStep, VK_NEXT, false));
        QCOMPARE(f.nr(), 2);
        QVERIFY(HandleDataSetKey(f.table, dskPageStep, VK_PRIOR, false));
        QCOMPARE(f.nr(), 1);
        QVERIFY(!HandleDataSetKey(f.table, 127, 65 /* 'A' */, true));
    }

    void ctrlPageJumps()
    {
        QStringList twelve;
        for (int i = 0; i < 12; ++i)
            twelve << QStringLiteral("X");
        Fixture f(twelve);
        QVERIFY(HandleDataSetKey(f.table, dskCtrlPageJump, VK_NEXT, true));
        QCOMPARE(f.nr(), 11);
        QVERIFY(HandleDataSetKey(f.table, dskCtrlPageJump, VK_NEXT, true));
        QCOMPARE(f.nr(), 12);
        QVERIFY(HandleDataSetKey(f.table, dskCtrlPageJump, VK_PRIOR, true));
        QCOMPARE(f.nr(), 2);
        QVERIFY(!HandleDataSetKey(f.table, dskPageStep, VK_PRIOR, true));
    }

    void ctrlPageByGroup()
    {
        Fixture f({"A", "A", "B", "B"});
        HandleDataSetKey(f.table, dskCtrlPageJump, VK_NEXT, true, QStringLiteral("Grp"));
        QCOMPARE(f.nr(), 3); // the first B
        HandleDataSetKey(f.table, dskCtrlPageJump, VK_NEXT, true, QStringLiteral("grp"));
        QCOMPARE(f.nr(), 4); // last group: stops at the end
        HandleDataSetKey(f.table, dskCtrlPageJump, VK_PRIOR, true, QStringLiteral("Grp"));
        QCOMPARE(f.nr(), 2); // the last A
        QVERIFY(!HandleDataSetKey(f.table, dskCtrlPageJump, VK_PRIOR, true, QStringLiteral("Nope")));
        QCOMPARE(f.nr(), 2);
    }

    void editKeys()
    {
        Fixture f({"A"});
        // Enter in browse state does nothing even with bit 6.
        QVERIFY(!HandleDataSetKey(f.table, dskEnterPosts, VK_RETURN, false));
        f.table.edit();
        f.table.fieldByName(QStringLiteral("Grp"))->setValue(QStringLiteral("Z"));
        QVERIFY(!HandleDataSetKey(f.table, dskEscCancels, VK_RETURN, false));
        QVERIFY(!HandleDataSetKey(f.table, dskEnterPosts, VK_NEXT, false)); // no move while editing
        QVERIFY(HandleDataSetKey(f.table, dskEnterPosts, VK_RETURN, false));
        QCOMPARE(f.table.state(), DataSetState::Browse);
        QCOMPARE(f.table.fieldByName(QStringLiteral("Grp"))->asString(), QStringLiteral("Z"));
        f.table.edit();
        f.table.fieldByName(QStringLiteral("Grp"))->setValue(QStringLiteral("Y"));
        QVERIFY(HandleDataSetKey(f.table, dskEscCancels, VK_ESCAPE, false));
        QCOMPARE(f.table.fieldByName(QStringLiteral("Grp"))->asString(), QStringLiteral("Z"));
    }

    void insertAndDelete()
    {
        kit::ScriptedPresenter p;
        Fixture f({"A", "B"});
        QVERIFY(!HandleDataSetKey(f.table, dskInsertDelete, VK_INSERT, false)); // Ctrl needed
        QVERIFY(!HandleDataSetKey(f.table, 0, VK_INSERT, true));              // bit 0 needed
        QVERIFY(HandleDataSetKey(f.table, dskInsertDelete, VK_ADD, true));
        QCOMPARE(f.table.state(), DataSetState::Insert);
        f.table.cancel();
        p.answer(mrNo);
        QVERIFY(HandleDataSetKey(f.table, dskInsertDelete, VK_DELETE, true));
        QCOMPARE(f.table.recordCount(), 2);
        QCOMPARE(p.last().text, QStringLiteral("Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?"));
        QCOMPARE(p.last().caption, QStringLiteral("Warnung!"));
        QCOMPARE(p.last().icon, kit::BoxIcon::Warning);
        p.answer(mrYes);
        QVERIFY(HandleDataSetKey(f.table, dskInsertDelete, VK_SUBTRACT, true));
        QCOMPARE(f.table.recordCount(), 1);
    }

    void readOnlyRefusesChanges()
    {
        kit::ScriptedPresenter p;
        Fixture f({"A"}, true);
        QVERIFY(!HandleDataSetKey(f.table, dskInsertDelete, VK_INSERT, true));
        QVERIFY(!HandleDataSetKey(f.table, dskInsertDelete, VK_DELETE, true));
        QCOMPARE(f.table.state(), DataSetState::Browse);
        QVERIFY(p.shown().isEmpty());
    }

    void qtKeysAndCombo()
    {
        QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier | Qt::ControlModifier);
        QCOMPARE(VirtualKeyOf(plus), int(VK_ADD));
        QKeyEvent plainPlus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier);
        QCOMPARE(VirtualKeyOf(plainPlus), 0);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(VirtualKeyOf(enter), int(VK_RETURN));
        QComboBox combo;
        QCOMPARE(ComboNavOptions(combo), 101);
        combo.addItem(QStringLiteral("x"));
        QCOMPARE(ComboNavOptions(combo), 101); // closed list
    }
};

QTEST_MAIN(TstDbTastenNavigation)
#include "tst_dbtastennavigation.moc"
