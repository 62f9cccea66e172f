// The controls and the grid over real tables of the store: the lock that
// reopens a table read-only, write-back when the cursor moves on, a table
// that goes away under its data source.
#include "data/tableschemas.h"
#include "dbui/dbedit.h"
#include "dbui/dbgrid.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using engine::DataSetState;

namespace {

QString makeMedia(const QTemporaryDir &dir, engine::Session &s, int count)
{
    const QString path = dir.filePath(MediaTableFile);
    engine::createTableFile(path, MediaTableDef());
    engine::Table t(&s);
    t.setTableName(path);
    t.open();
    for (int i = 1; i <= count; ++i) {
        t.append();
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(i);
        t.fieldByName(QStringLiteral("Len"))->setValue(240);
        t.post();
    }
    return path;
}

} // namespace

class TstTableBinding : public QObject
{
    Q_OBJECT
private slots:
    void typedTextIsPostedWhenTheCursorMoves()
    {
        QTemporaryDir dir;
        engine::Session s;
        engine::Table t(&s);
        t.setTableName(makeMedia(dir, s, 3));
        t.open();
        dbui::DataSource src(&t);
        dbui::DbEdit borrower;
        borrower.setDataSource(&src);
        borrower.setDataField(QStringLiteral("Verliehen"));
        QCOMPARE(borrower.maxLength(), t.fieldByName(QStringLiteral("Verliehen"))->size());

        QTest::keyClicks(&borrower, QStringLiteral("Erika"));
        QCOMPARE(t.state(), DataSetState::Edit);
        // Nothing was written to the field yet; moving on must post, not
        // cancel, the record.
        t.next();
        QCOMPARE(t.state(), DataSetState::Browse);
        t.first();
        QCOMPARE(t.fieldByName(QStringLiteral("Verliehen"))->asString(), QStringLiteral("Erika"));
        QCOMPARE(borrower.text(), QStringLiteral("Erika"));

        // A date typed German-style lands as a date.
        dbui::DbEdit lent;
        lent.setDataSource(&src);
        lent.setDataField(QStringLiteral("Verleihdatum"));
        QTest::keyClicks(&lent, QStringLiteral("24.12.2026"));
        t.post();
        QCOMPARE(t.fieldByName(QStringLiteral("Verleihdatum"))->asDate(), QDate(2026, 12, 24));
        QCOMPARE(lent.text(), QStringLiteral("24.12.2026"));
    }

    void theLockReopensTheTableReadOnly()
    {
        QTemporaryDir dir;
        engine::Session s;
        engine::Table t(&s);
        t.setTableName(makeMedia(dir, s, 4));
        t.setReadOnly(true);
        t.open();
        dbui::DataSource src(&t);
        dbui::DbEdit borrower;
        borrower.setDataSource(&src);
        borrower.setDataField(QStringLiteral("Verliehen"));
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        QSignalSpy editRefused(&borrower, &dbui::DbEdit::editRefused);
        QSignalSpy gridRefused(&grid, &dbui::DbGrid::editRefused);

        QVERIFY(borrower.isReadOnly());
        QTest::keyClicks(&borrower, QStringLiteral("x"));
        QCOMPARE(editRefused.count(), 1);
        QCOMPARE(t.state(), DataSetState::Browse);
        dbui::GridModel *model = grid.gridModel();
        const int col = model->columnOfField(QStringLiteral("Verliehen"));
        QVERIFY(!(model->flags(model->index(0, col)) & Qt::ItemIsEditable));
        grid.setCurrentIndex(model->index(2, col));
        QCOMPARE(t.recNo(), 3);
        QTest::keyClick(&grid, Qt::Key_F2);
        QCOMPARE(gridRefused.count(), 1);

        // Unlocking: close, writable, open, back to the same record.
        const engine::Bookmark here = t.bookmark();
        t.close();
        QCOMPARE(borrower.text(), QString());
        QCOMPARE(model->rowCount(), 0);
        t.setReadOnly(false);
        t.open();
        t.gotoBookmark(here);
        QCOMPARE(grid.currentIndex().row(), 2);
        QVERIFY(!borrower.isReadOnly());
        QVERIFY(model->flags(model->index(0, col)) & Qt::ItemIsEditable);
        QTest::keyClicks(&borrower, QStringLiteral("Otto"));
        QCOMPARE(t.state(), DataSetState::Edit);
        QCOMPARE(editRefused.count(), 1);
        t.post();
        QCOMPARE(model->data(model->index(2, col)).toString(), QStringLiteral("Otto"));
    }

    void gridOverATable()
    {
        QTemporaryDir dir;
        engine::Session s;
        engine::Table t(&s);
        t.setTableName(makeMedia(dir, s, 30));
        t.open();
        dbui::DataSource src(&t);
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        grid.setMultiSelect(true);
        dbui::GridModel *model = grid.gridModel();
        QCOMPARE(model->rowCount(), 30);
        QCOMPARE(model->headerData(model->columnOfField(QStringLiteral("Nr")), Qt::Horizontal).toString(),
                 QStringLiteral("Nr"));

        grid.selectionModel()->select(model->index(20, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid.selectionModel()->select(model->index(4, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const auto marks = grid.selectedBookmarks();
        QCOMPARE(marks.size(), 2);
        t.gotoBookmark(marks[1]);
        QCOMPARE(t.fieldByName(QStringLiteral("Nr"))->asInteger(), 21);
        QCOMPARE(grid.currentIndex().row(), 20);

        // A new medium posted from elsewhere appears in its place.
        t.append();
        QCOMPARE(model->rowCount(), 31);
        QCOMPARE(model->insertRow(), 30);
        t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("DVD"));
        t.fieldByName(QStringLiteral("Nr"))->setValue(1);
        t.fieldByName(QStringLiteral("Len"))->setValue(120);
        t.post();
        QCOMPARE(model->rowCount(), 31);
        QCOMPARE(model->data(model->index(t.recNo() - 1, 0)).toString(), QStringLiteral("DVD"));
        QCOMPARE(grid.currentIndex().row(), t.recNo() - 1);

        // Changing a key in the grid moves the record when it is posted;
        // the rows show the new order.
        grid.setMultiSelect(false);
        t.first(); // DVD 1
        t.next();  // VHS-SB 1
        const int nr = model->columnOfField(QStringLiteral("Nr"));
        QCOMPARE(model->data(model->index(1, nr)).toString(), QStringLiteral("1"));
        QVERIFY(model->setData(model->index(1, nr), QStringLiteral("99")));
        t.post();
        QCOMPARE(t.recNo(), 31);
        QCOMPARE(grid.currentIndex().row(), 30);
        QCOMPARE(model->data(model->index(1, nr)).toString(), QStringLiteral("2"));
        QCOMPARE(model->data(model->index(30, nr)).toString(), QStringLiteral("99"));

        // Captions given to fields later reach the titles.
        t.fieldByName(QStringLiteral("Free1"))->setDisplayLabel(QStringLiteral("Regal"));
        model->refreshTitles();
        QCOMPARE(model->headerData(model->columnOfField(QStringLiteral("Free1")), Qt::Horizontal).toString(),
                 QStringLiteral("Regal"));
    }

    void aTableGoingAwayLeavesTheControlsEmpty()
    {
        QTemporaryDir dir;
        engine::Session s;
        const QString path = makeMedia(dir, s, 2);
        dbui::DataSource src;
        dbui::DbEdit kind;
        kind.setDataSource(&src);
        kind.setDataField(QStringLiteral("Medium"));
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        {
            engine::Table t(&s);
            t.setTableName(path);
            t.open();
            src.setDataSet(&t);
            QCOMPARE(kind.text(), QStringLiteral("VHS-SB"));
            QCOMPARE(grid.gridModel()->rowCount(), 2);
        }
        QCOMPARE(src.dataSet(), nullptr);
        QCOMPARE(kind.text(), QString());
        QCOMPARE(grid.gridModel()->rowCount(), 0);
    }
};

QTEST_MAIN(TstTableBinding)
#include "tst_tablebinding.moc"
