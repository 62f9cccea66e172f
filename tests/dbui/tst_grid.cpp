#include "dbui/columnlayout.h"
#include "dbui/dbgrid.h"
#include "dbui/errorsink.h"
#include "engine/field.h"
#include "memorydataset.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using engine::DataSetState;
using engine::FieldType;

namespace {

std::unique_ptr<MemoryDataSet> makeFilms(int rows, bool readOnly = false)
{
    auto ds = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{
        {"Medium", FieldType::String, 6},
        {"KassNr", FieldType::Integer},
        {"Titel", FieldType::String, 40},
        {"LP", FieldType::Boolean},
        {"Datum", FieldType::Date},
    });
    for (int i = 0; i < rows; ++i)
        ds->addRow({QStringLiteral("VHS-SB"), i + 1, QStringLiteral("Film %1").arg(i + 1),
                    i % 3 == 0 ? QVariant() : QVariant(i % 3 == 1), QDate(2020, 1, 1).addDays(i)});
    ds->setReadOnly(readOnly);
    ds->open();
    return ds;
}

} // namespace

class TstGrid : public QObject
{
    Q_OBJECT
private slots:
    void cursorFollowsBothWays()
    {
        auto ds = makeFilms(50);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.resize(400, 300);
        grid.setDataSource(&src);
        grid.show();
        dbui::GridModel *model = grid.gridModel();
        QCOMPARE(model->rowCount(), 50);
        QCOMPARE(model->currentRow(), 0);
        QCOMPARE(grid.currentIndex().row(), 0);

        // Data set moves: the grid follows.
        ds->setRecNo(31);
        QCOMPARE(model->currentRow(), 30);
        QCOMPARE(grid.currentIndex().row(), 30);
        ds->last();
        QCOMPARE(grid.currentIndex().row(), 49);
        QCOMPARE(model->headerData(49, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
        QCOMPARE(model->headerData(30, Qt::Vertical).toString(), QString());

        // The grid moves: the data set follows.
        grid.setCurrentIndex(model->index(7, 2));
        QCOMPARE(ds->recNo(), 8);
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Film 8"));
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(ds->recNo(), 9);
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(ds->recNo(), 1);
    }

    void anUnreadableTableIsReportedOnceFromTheEventLoop()
    {
        QStringList errors;
        auto previous = dbui::setErrorSink([&](const QString &t) { errors << t; });
        auto ds = makeFilms(300);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.resize(500, 300);
        grid.setDataSource(&src);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.repaint();
        ds->failReads = true;
        grid.scrollToBottom();
        const int before = ds->reads;
        grid.repaint();
        QVERIFY(ds->reads - before > 5); // many rows failed in this paint
        QVERIFY(errors.isEmpty());        // and none opened a box inside it
        QCoreApplication::processEvents();
        QCOMPARE(errors, QStringList{QStringLiteral("Die Tabelle lässt sich nicht lesen.")});
        grid.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(errors.size(), 1); // the failed rows stay empty, unread again
        dbui::setErrorSink(previous);
    }

    void lazyRows()
    {
        auto ds = makeFilms(10000);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.resize(500, 300);
        ds->reads = 0;
        grid.setDataSource(&src);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.repaint();
        // One screen of rows, not the table.
        QVERIFY2(ds->reads < 200, qPrintable(QString::number(ds->reads)));
        ds->last();
        grid.repaint();
        QVERIFY2(ds->reads < 400, qPrintable(QString::number(ds->reads)));
        QVERIFY(grid.gridModel()->cachedRowCount() <= 512);
    }

    void editInPlace()
    {
        QStringList errors;
        auto previous = dbui::setErrorSink([&](const QString &t) { errors << t; });
        auto ds = makeFilms(5);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        dbui::GridModel *model = grid.gridModel();
        const int titel = model->columnOfField(QStringLiteral("Titel"));
        QVERIFY(model->flags(model->index(2, titel)) & Qt::ItemIsEditable);

        QVERIFY(model->setData(model->index(2, titel), QStringLiteral("Neu")));
        QCOMPARE(ds->recNo(), 3);
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(model->data(model->index(2, titel)).toString(), QStringLiteral("Neu"));
        QCOMPARE(model->headerData(2, Qt::Vertical).toString(), QStringLiteral("\u270E"));
        QCOMPARE(ds->stored(2, 2).toString(), QStringLiteral("Film 3"));

        // The cell editor keeps to the field's size.
        grid.show();
        const int medium = model->columnOfField(QStringLiteral("Medium"));
        grid.setCurrentIndex(model->index(2, medium));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(model->index(2, medium)));
        if (!editor)
            editor = grid.viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->maxLength(), 6);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(ds->fieldByName("Medium")->asString(), QStringLiteral("VHS-SB"));

        // Moving to another row posts the edit.
        QVERIFY(model->setCurrentRow(4));
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(ds->stored(2, 2).toString(), QStringLiteral("Neu"));
        QCOMPARE(grid.currentIndex().row(), 4);

        // Esc in the grid cancels an edit.
        QVERIFY(model->setData(model->index(4, titel), QStringLiteral("Weg")));
        QTest::keyClick(&grid, Qt::Key_Escape);
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(model->data(model->index(4, titel)).toString(), QStringLiteral("Film 5"));

        // Bad input is refused with its message; the row stays.
        const int datum = model->columnOfField(QStringLiteral("Datum"));
        QVERIFY(!model->setData(model->index(4, datum), QStringLiteral("31.31.2000")));
        QCOMPARE(errors.size(), 1);
        ds->cancel();

        // A Boolean cell toggles.
        const int lp = model->columnOfField(QStringLiteral("LP"));
        grid.setCurrentIndex(model->index(1, lp));
        QTest::keyClick(&grid, Qt::Key_Space);
        QCOMPARE(ds->fieldByName("LP")->asBoolean(), false);
        ds->post();
        QCOMPARE(ds->stored(1, 3).toBool(), false);

        // The grid's own read-only switch.
        grid.setReadOnly(true);
        QVERIFY(!(model->flags(model->index(2, titel)) & Qt::ItemIsEditable));
        dbui::setErrorSink(previous);
    }

    void insertedRow()
    {
        auto ds = makeFilms(3);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        dbui::GridModel *model = grid.gridModel();
        ds->setRecNo(2);
        ds->insert();
        QCOMPARE(model->rowCount(), 4);
        QVERIFY(model->insertRow() >= 0);
        QCOMPARE(model->currentRow(), model->insertRow());
        QCOMPARE(model->headerData(model->insertRow(), Qt::Vertical).toString(), QStringLiteral("\u2731"));
        ds->fieldByName("Titel")->setValue(QStringLiteral("Neuer Film"));
        QCOMPARE(model->data(model->index(model->insertRow(), 2)).toString(), QStringLiteral("Neuer Film"));
        ds->cancel();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->insertRow(), -1);

        ds->append();
        ds->fieldByName("Titel")->setValue(QStringLiteral("Angehängt"));
        ds->post();
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->data(model->index(3, 2)).toString(), QStringLiteral("Angehängt"));
        QCOMPARE(grid.currentIndex().row(), ds->recNo() - 1);
    }

    void readOnlyGridReportsEditAttempts()
    {
        auto ds = makeFilms(5, true);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        grid.show();
        QSignalSpy refused(&grid, &dbui::DbGrid::editRefused);
        dbui::GridModel *model = grid.gridModel();
        QVERIFY(!(model->flags(model->index(0, 2)) & Qt::ItemIsEditable));
        grid.setCurrentIndex(model->index(1, 2));
        QTest::keyClicks(&grid, QStringLiteral("a"));
        QCOMPARE(refused.count(), 1);
        QTest::keyClick(&grid, Qt::Key_F2);
        QCOMPARE(refused.count(), 2);
        QCOMPARE(ds->state(), DataSetState::Browse);

        // A grid switched read-only by its window is not a lock.
        grid.setReadOnly(true);
        QTest::keyClick(&grid, Qt::Key_F2);
        QCOMPARE(refused.count(), 2);
    }

    void boolColumnsFollowTheSettings()
    {
        auto ds = makeFilms(3);
        dbui::DataSource src(ds.get());
        dbui::GridModel model;
        model.setDataSource(&src);
        const int lp = model.columnOfField(QStringLiteral("LP"));
        // Rows: null, true, false.
        QCOMPARE(model.data(model.index(0, lp)).toString(), QString());
        QCOMPARE(model.data(model.index(1, lp)).toString(), QStringLiteral("\u2611"));
        QCOMPARE(model.data(model.index(2, lp)).toString(), QStringLiteral("\u2610"));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setProperty("gridBoolBothSymbols", false);
        model.setProperty("gridBoolTrueSymbolOnly", true);
        model.setProperty("gridBoolTickStyle", false);
        QVERIFY(changed.count() >= 1);
        QCOMPARE(model.data(model.index(1, lp)).toString(), QStringLiteral("\u2717"));
        QCOMPARE(model.data(model.index(2, lp)).toString(), QString());
        model.setBoolSymbolStyle(dbui::boolSymbolStyleFromFlags(0));
        QCOMPARE(model.data(model.index(1, lp)).toString(), QStringLiteral("X"));
        QCOMPARE(model.data(model.index(1, lp), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QCOMPARE(model.data(model.index(1, model.columnOfField(QStringLiteral("Datum")))).toString(),
                 QStringLiteral("02.01.2020"));
    }

    void hiddenAndReorderedColumns()
    {
        auto ds = makeFilms(4);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.resize(600, 200);
        grid.setDataSource(&src);
        grid.setColumns({dbui::GridColumn(QStringLiteral("Medium"), {}, 70),
                         dbui::GridColumn(QStringLiteral("KassNr"), {}, 63),
                         dbui::GridColumn(QStringLiteral("Titel"), QStringLiteral("Filmtitel")),
                         dbui::GridColumn(QStringLiteral("LP"))});
        grid.show();
        dbui::GridModel *model = grid.gridModel();
        QCOMPARE(model->columnCount(), 4);
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Filmtitel"));
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Medium"));
        QCOMPARE(grid.gridColumnWidth(0), 70);
        QCOMPARE(model->fieldIndexOfColumn(2), 2);

        // Width 0 hides the column; showing it again brings the old width.
        grid.setGridColumnWidth(1, 0);
        QVERIFY(grid.isColumnHidden(1));
        QCOMPARE(grid.gridColumnWidth(1), 0);
        QCOMPARE(model->column(1).width, 63);
        QVERIFY(!model->column(1).visible);
        grid.setGridColumnWidth(1, model->column(1).width);
        QVERIFY(!grid.isColumnHidden(1));
        QCOMPARE(grid.gridColumnWidth(1), 63);

        // Dragging a header moves the model's column, so positions and
        // field order read back the same.
        QSignalSpy moved(&grid, &dbui::DbGrid::columnMoved);
        grid.horizontalHeader()->moveSection(2, 0);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(model->column(0).fieldName, QStringLiteral("Titel"));
        QCOMPARE(model->fieldIndexOfColumn(0), 2);
        QCOMPARE(model->fieldIndexOfColumn(1), 0);
        QCOMPARE(grid.horizontalHeader()->visualIndex(0), 0);
        QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("Film 1"));
        QCOMPARE(model->data(model->index(0, 1)).toString(), QStringLiteral("VHS-SB"));

        // A user resize is kept in the column.
        grid.horizontalHeader()->resizeSection(0, 120);
        QCOMPARE(model->column(0).width, 120);

        // Without designed columns every visible field is a column; hiding
        // and moving them survives re-read rows.
        model->resetColumns();
        QCOMPARE(model->columnCount(), 5);
        grid.setGridColumnWidth(4, 0);
        model->moveColumn(2, 0);
        ds->refresh();
        QVERIFY(grid.isColumnHidden(4));
        QCOMPARE(model->column(0).fieldName, QStringLiteral("Titel"));

        ds->fieldByName("Datum")->setVisible(false);
        model->resetColumns();
        QCOMPARE(model->columnCount(), 4);
        QCOMPARE(model->columnOfField(QStringLiteral("Datum")), -1);
        // A designed column whose field the set does not have shows empty.
        grid.setColumns({dbui::GridColumn(QStringLiteral("Gibtsnicht"))});
        QCOMPARE(model->data(model->index(0, 0)), QVariant());
    }

    void storedLayouts()
    {
        auto ds = makeFilms(3);
        dbui::DataSource src(ds.get());
        const QList<dbui::GridColumn> designed{dbui::GridColumn(QStringLiteral("Medium"), {}, 70),
                                               dbui::GridColumn(QStringLiteral("KassNr"), {}, 63),
                                               dbui::GridColumn(QStringLiteral("Titel"), {}, 200),
                                               dbui::GridColumn(QStringLiteral("LP"), {}, 30)};
        dbui::ColumnLayout layout;
        {
            dbui::DbGrid grid;
            grid.setDataSource(&src);
            grid.setColumns(designed);
            dbui::storeColumnLayout(grid, layout);
            QCOMPARE(layout.widths, (QList<int>{70, 63, 200, 30}));
            QCOMPARE(layout.fields, (QStringList{"Medium", "KassNr", "Titel", "LP"}));
            dbui::hideColumn(grid, layout, 1);
            QCOMPARE(grid.gridColumnWidth(1), 0);
            QCOMPARE(layout.widths[1], -63);
            grid.moveGridColumn(3, 0);
            grid.setGridColumnWidth(2, 77); // "Titel" is now at 3; this is "KassNr"
            dbui::storeColumnLayout(grid, layout);
            QCOMPARE(layout.fields, (QStringList{"LP", "Medium", "KassNr", "Titel"}));
            QCOMPARE(layout.widths, (QList<int>{30, 70, 77, 200}));
        }
        {
            // A new grid from its design takes the stored layout.
            dbui::DbGrid grid;
            grid.setDataSource(&src);
            grid.setColumns(designed);
            dbui::applyColumnLayout(grid, layout);
            QCOMPARE(grid.gridModel()->column(0).fieldName, QStringLiteral("LP"));
            QCOMPARE(grid.gridModel()->column(3).fieldName, QStringLiteral("Titel"));
            QCOMPARE(grid.gridColumnWidth(2), 77);
            // Hidden across the restart, and back with its width.
            layout.widths[2] = -77;
            dbui::applyColumnLayout(grid, layout);
            QCOMPARE(grid.gridColumnWidth(2), 0);
            dbui::showColumn(grid, layout, 2);
            QCOMPARE(grid.gridColumnWidth(2), 77);
            QCOMPARE(layout.widths[2], 77);
            // A layout longer than the grid, or naming fields it lacks.
            dbui::ColumnLayout odd{{10, 20, 30, 40, 50, 60}, {"Gibtsnicht", "", "x", "y", "z", "w"}};
            dbui::applyColumnLayout(grid, odd);
            QCOMPARE(grid.gridModel()->column(0).fieldName, QStringLiteral("LP"));
            QCOMPARE(grid.gridColumnWidth(3), 40);
        }
    }

    void multiSelectionAsBookmarks()
    {
        auto ds = makeFilms(10);
        dbui::DataSource src(ds.get());
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        grid.setMultiSelect(true);
        grid.show();
        dbui::GridModel *model = grid.gridModel();
        grid.selectionModel()->select(model->index(6, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        grid.selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(grid.selectedRows(), (QList<int>{2, 6}));
        const QList<engine::Bookmark> marks = grid.selectedBookmarks();
        QCOMPARE(marks.size(), 2);
        ds->gotoBookmark(marks[1]);
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Film 7"));
        ds->gotoBookmark(marks[0]);
        QCOMPARE(ds->fieldByName("Titel")->asString(), QStringLiteral("Film 3"));

        grid.setMultiSelect(false);
        QVERIFY(grid.selectedRows().isEmpty());
    }

    void memoAndPictureCells()
    {
        MemoryDataSet ds({{"Name", FieldType::String, 20}, {"Memo", FieldType::Memo}, {"Grafik", FieldType::Graphic}});
        ds.addRow({QStringLiteral("Anna"), QStringLiteral("Regisseurin\r\naus Wien"), QByteArray(100000, 'x')});
        ds.addRow({QStringLiteral("Ben"), QVariant(), QVariant()});
        ds.open();
        dbui::DataSource src(&ds);
        dbui::GridModel model;
        model.setDataSource(&src);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("Regisseurin"));
        QCOMPARE(model.data(model.index(0, 2)).toString(), QStringLiteral("(Grafik)"));
        QCOMPARE(model.data(model.index(1, 2)).toString(), QString());
        // The cell knows there is a picture, not its bytes.
        QCOMPARE(model.data(model.index(0, 2), dbui::GridModel::ValueRole), QVariant(true));
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    }

    void fixedColour()
    {
        dbui::DbGrid grid;
        grid.setFixedColor(QColor(210, 210, 210));
        QCOMPARE(grid.fixedColor(), QColor(210, 210, 210));
        QVERIFY(grid.styleSheet().contains(QStringLiteral("#d2d2d2")));
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
