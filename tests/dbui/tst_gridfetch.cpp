// The grid learns the records of its set as they are needed: the first
// screen without counting the set, growing blocks as the view scrolls, every
// record on Ctrl+End or when the cursor jumps to the last one.
#include "data/tableschemas.h"
#include "dbui/dbgrid.h"
#include "engine/field.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "memorydataset.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using engine::FieldType;

namespace {

// Answers whether a row exists without counting, as tables and query
// results do; counts how often it is asked for its count.
class LazyDataSet : public MemoryDataSet
{
public:
    using MemoryDataSet::MemoryDataSet;
    int counts = 0;

protected:
    int sourceCount() override
    {
        ++counts;
        return storedCount();
    }
    bool sourceHasRow(int row) override { return row < storedCount(); }
};

std::unique_ptr<LazyDataSet> makeFilms(int rows)
{
    auto ds = std::make_unique<LazyDataSet>(QList<engine::FieldDef>{
        {"Medium", FieldType::String, 6},
        {"KassNr", FieldType::Integer},
        {"Titel", FieldType::String, 40},
    });
    for (int i = 0; i < rows; ++i)
        ds->addRow({QStringLiteral("VHS-SB"), i + 1, QStringLiteral("Film %1").arg(i + 1)});
    ds->open();
    return ds;
}

// A grid over a set of films, shown on the screen.
struct ShownGrid {
    std::unique_ptr<LazyDataSet> ds;
    dbui::DataSource src;
    dbui::DbGrid grid;

    explicit ShownGrid(int rows)
        : ds(makeFilms(rows))
        , src(ds.get())
    {
        grid.resize(500, 300);
        grid.setDataSource(&src);
        grid.show();
    }
};

QString titleAt(dbui::GridModel *model, int row)
{
    return model->data(model->index(row, 2)).toString();
}

} // namespace

class TstGridFetch : public QObject
{
    Q_OBJECT
private slots:
    void firstScreenWithoutCount()
    {
        auto ds = makeFilms(10000);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.resize(500, 300);
        ds->counts = 0;
        grid.setDataSource(&src);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.repaint();
        QCoreApplication::processEvents();
        dbui::GridModel *model = grid.gridModel();
        QCOMPARE(ds->counts, 0);
        QCOMPARE(model->rowCount(), 128);
        QVERIFY(!model->allRowsKnown());
        QVERIFY(model->canFetchMore({}));
        QCOMPARE(titleAt(model, 127), QStringLiteral("Film 128"));
        QCOMPARE(model->currentRow(), 0);
    }

    void blocksGrowAsTheViewScrolls()
    {
        ShownGrid shown(10000);
        LazyDataSet *ds = shown.ds.get();
        dbui::DbGrid &grid = shown.grid;
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        dbui::GridModel *model = grid.gridModel();
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        // Each block is as large as all rows before it: 128, 256, 512.
        model->fetchMore({});
        QCOMPARE(model->rowCount(), 256);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 128);
        QCOMPARE(inserted.at(0).at(2).toInt(), 255);
        QCOMPARE(titleAt(model, 255), QStringLiteral("Film 256"));

        // The scroll bar pulled to its end asks for the next block.
        QScrollBar *bar = grid.verticalScrollBar();
        bar->setValue(bar->maximum());
        QCOMPARE(model->rowCount(), 512);
        QCOMPARE(ds->counts, 0);

        // At the end of the set the count is taken once and the rows stop.
        while (model->canFetchMore({}))
            model->fetchMore({});
        QCOMPARE(model->rowCount(), 10000);
        QVERIFY(model->allRowsKnown());
        QCOMPARE(titleAt(model, 9999), QStringLiteral("Film 10000"));
    }

    void exactBlockEndsWithoutEmptyInsert()
    {
        auto ds = makeFilms(128);
        dbui::DataSource src(ds.get());
        dbui::GridModel model;
        model.setDataSource(&src);
        QCOMPARE(model.rowCount(), 128);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(model.rowCount(), 128);
        QVERIFY(model.allRowsKnown());
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(inserted.count(), 0);

        // A set smaller than the first block is known whole at once.
        auto small = makeFilms(50);
        dbui::DataSource smallSrc(small.get());
        model.setDataSource(&smallSrc);
        QCOMPARE(model.rowCount(), 50);
        QVERIFY(model.allRowsKnown());
        auto none = makeFilms(0);
        dbui::DataSource noneSrc(none.get());
        model.setDataSource(&noneSrc);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.currentRow(), -1);
        QVERIFY(!model.canFetchMore({}));
    }

    void keysReachBeyondTheKnownRows()
    {
        ShownGrid shown(10000);
        LazyDataSet *ds = shown.ds.get();
        dbui::DbGrid &grid = shown.grid;
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        dbui::GridModel *model = grid.gridModel();

        // Down from the last known row goes on to the next record.
        grid.setCurrentIndex(model->index(127, 0));
        QCOMPARE(ds->recNo(), 128);
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(ds->recNo(), 129);
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Film 129"));

        // A page down past the known rows moves a whole page.
        const int page = grid.viewport()->height() / grid.verticalHeader()->defaultSectionSize();
        grid.setCurrentIndex(model->index(model->rowCount() - 1, 0));
        const int from = ds->recNo();
        QTest::keyClick(&grid, Qt::Key_PageDown);
        QVERIFY2(ds->recNo() >= from + page - 1, qPrintable(QStringLiteral("%1 -> %2").arg(from).arg(ds->recNo())));

        // Ctrl+End goes to the last record; the scroll bar has its length.
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(ds->recNo(), 10000);
        QVERIFY(model->allRowsKnown());
        QCOMPARE(model->rowCount(), 10000);
        QCOMPARE(grid.currentIndex().row(), 9999);
        QCOMPARE(model->headerData(9999, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(ds->recNo(), 1);
    }

    void selectAllTakesEveryRecord()
    {
        auto ds = makeFilms(3000);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.setMultiSelect(true);
        grid.setDataSource(&src);
        QCOMPARE(grid.gridModel()->rowCount(), 128);
        grid.selectAll();
        QCOMPARE(grid.selectedRows().size(), 3000);
        QCOMPARE(grid.selectedBookmarks().size(), 3000);
    }

    void cursorJumpsTeachTheRows()
    {
        ShownGrid shown(10000);
        LazyDataSet *ds = shown.ds.get();
        dbui::DbGrid &grid = shown.grid;
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        dbui::GridModel *model = grid.gridModel();

        // A jump into the middle: the rows reach the record and a block past.
        ds->setRecNo(5000);
        QCOMPARE(model->currentRow(), 4999);
        QCOMPARE(grid.currentIndex().row(), 4999);
        QVERIFY(model->rowCount() > 5000);
        QVERIFY(!model->allRowsKnown());
        QCOMPARE(titleAt(model, 4999), QStringLiteral("Film 5000"));

        // The last record (the navigator's button): every row is known.
        ds->last();
        QCOMPARE(model->currentRow(), 9999);
        QCOMPARE(grid.currentIndex().row(), 9999);
        QCOMPARE(model->rowCount(), 10000);
        QVERIFY(model->allRowsKnown());

        // The grid moving the cursor to a known row far down.
        ds->first();
        QVERIFY(model->setCurrentRow(9998));
        QCOMPARE(ds->recNo(), 9999);
    }

    void queryResultInTheGrid()
    {
        // A result of the store's SQL, sorted, read as the grid goes.
        QTemporaryDir dir;
        engine::Session s;
        const QString path = dir.filePath(MediaTableFile);
        engine::createTableFile(path, MediaTableDef());
        {
            engine::Table t(&s);
            t.setTableName(path);
            t.open();
            s.startTransaction();
            for (int i = 1; i <= 300; ++i) {
                t.append();
                t.fieldByName(QStringLiteral("Medium"))->setValue(QStringLiteral("VHS-SB"));
                t.fieldByName(QStringLiteral("Nr"))->setValue(i);
                t.fieldByName(QStringLiteral("Len"))->setValue(240);
                t.post();
            }
            s.commit();
        }
        engine::Query q(&s);
        q.setSql({QStringLiteral("SELECT Medium, Nr FROM \"%1\" ORDER BY Nr DESC").arg(path)});
        q.open();
        dbui::DataSource src(&q);
        dbui::DbGrid grid;
        grid.resize(400, 300);
        grid.setDataSource(&src);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        dbui::GridModel *model = grid.gridModel();
        QCOMPARE(model->rowCount(), 128);
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("300"));
        // Back in the event loop the statement is let go; reading on runs it
        // again over the rows read before.
        QCoreApplication::processEvents();
        model->fetchMore({});
        QCOMPARE(model->rowCount(), 256);
        QCOMPARE(model->data(model->index(255, 1)).toString(), QStringLiteral("45"));
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(model->rowCount(), 300);
        QVERIFY(model->allRowsKnown());
        QCOMPARE(q.recNo(), 300);
        QCOMPARE(q.fieldByName(QStringLiteral("Nr"))->asInteger(), 1);
        QCOMPARE(model->data(model->index(299, 1)).toString(), QStringLiteral("1"));
    }

    void rowsReadAgainKeepTheirLength()
    {
        auto ds = makeFilms(10000);
        dbui::DataSource src(ds.get());
        dbui::GridModel model;
        model.setDataSource(&src);
        model.fetchRowsTo(600);
        QCOMPARE(model.rowCount(), 601);
        ds->setRecNo(300);
        ds->refresh();
        QCOMPARE(model.rowCount(), 601);
        QCOMPARE(model.currentRow(), 299);
        QCOMPARE(titleAt(&model, 600), QStringLiteral("Film 601"));
        // Reopened, the set starts with its first block again.
        ds->close();
        ds->open();
        QCOMPARE(model.rowCount(), 128);
        QCOMPARE(ds->counts, 0);
    }

    void insertedRecordAmongKnownRows()
    {
        auto ds = makeFilms(1000);
        dbui::DataSource src(ds.get());
        dbui::GridModel model;
        model.setDataSource(&src);
        model.fetchRowsTo(299);
        ds->setRecNo(50);
        ds->insert();
        QCOMPARE(model.insertRow(), 49);
        QCOMPARE(model.currentRow(), 49);
        // The rows known before stay (the view keeps its place).
        QCOMPARE(model.rowCount(), 301);
        const int known = model.rowCount() - 1;
        QVERIFY(!model.allRowsKnown());
        // Rows learnt meanwhile come after the known ones, past the new record.
        model.fetchMore({});
        QVERIFY(model.rowCount() > known + 1);
        QCOMPARE(titleAt(&model, 50), QStringLiteral("Film 50"));
        QCOMPARE(titleAt(&model, known + 1), QStringLiteral("Film %1").arg(known + 1));
        ds->cancel();
        QCOMPARE(model.insertRow(), -1);

        // Appended, the new record stands after the last one of all.
        ds->append();
        QVERIFY(model.allRowsKnown());
        QCOMPARE(model.insertRow(), 1000);
        QCOMPARE(model.rowCount(), 1001);
        ds->fieldByName("Titel")->setValue(QStringLiteral("Angehängt"));
        ds->post();
        QCOMPARE(model.rowCount(), 1001);
        QCOMPARE(titleAt(&model, 1000), QStringLiteral("Angehängt"));
    }
};

QTEST_MAIN(TstGridFetch)
#include "tst_gridfetch.moc"
