// The grid's model: the operations the designer relies on, and the signals a
// view needs to follow them.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <climits>
#include <functional>

namespace {

using Scenario = std::function<void(GridTableModel &)>;

void defineText(PatternGrid &grid, int index, const QString &caption)
{
    grid.DefineColumn(qint16(index), caption, QStringLiteral("TEXT"), 1, caption, 2, QString(), 0.0,
                      QString(), 0.0, 100, 1, 0, 2, 0, 2500, 0, 0);
}

void defineTypeColumn(PatternGrid &grid, const QString &caption = QStringLiteral("Type"))
{
    grid.DefineColumn(1, QStringLiteral("H"), QStringLiteral("LABELLIST"), 1, caption, 2, QString(),
                      0.0, QString(), 0.0, 100, 1, 0, 1, 0, 1000, 0, 0,
                      QStringLiteral("LINE,GROUP,LOOP"));
}

// Type column and three field columns, the grid's shape in small.
void smallLayout(PatternGrid &grid)
{
    grid.ResetGrid();
    grid.setEditMode(true);
    defineTypeColumn(grid);
    defineText(grid, 11, QStringLiteral("Field1"));
    defineText(grid, 12, QStringLiteral("Field2"));
    defineText(grid, 13, QStringLiteral("Field3"));
    grid.CompleteLayout({}, {}, {}, {}, {});
}

// Every cell of the data rows, row by row, for before/after comparisons.
QStringList allCells(const GridTableModel &model)
{
    QStringList cells;
    for (int row = 1; row <= model.RowCount(); ++row) {
        for (int section = 0; section < model.columnCount(); ++section)
            cells.append(model.CellText(row, model.columnOfSection(section)));
    }
    return cells;
}

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TstGridTableModel final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resetGridLeavesNothing_data();
    void resetGridLeavesNothing();
    void missingCellTakesNothing_data();
    void missingCellTakesNothing();
    void addRowMakesItCurrent();
    void listIndex_data();
    void listIndex();
    void removedRows_data();
    void removedRows();
    void defineColumnKeepsCells_data();
    void defineColumnKeepsCells();
    void batchedUpdateResetsOnce_data();
    void batchedUpdateResetsOnce();
    void singleEditSignals_data();
    void singleEditSignals();
    void modelContract_data();
    void modelContract();
};

void TstGridTableModel::resetGridLeavesNothing_data()
{
    QTest::addColumn<Scenario>("before");

    QTest::newRow("fresh grid") << Scenario([](GridTableModel &) {});
    QTest::newRow("laid out") << Scenario([](GridTableModel &m) { GridLayout::layOut(m); });
    QTest::newRow("rows with content") << Scenario([](GridTableModel &m) {
        GridLayout::layOut(m);
        m.AddRow();
        m.AddRow();
        m.SetCellText(1, 11, QStringLiteral("[F]:{DOCNO}:10:R:0:::0"));
        m.SetCellListIndex(2, 1, 2);
    });
    QTest::newRow("removed rows") << Scenario([](GridTableModel &m) {
        smallLayout(m);
        m.AddRow();
        m.AddRow();
        m.removeRow(1);
    });
}

void TstGridTableModel::resetGridLeavesNothing()
{
    QFETCH(Scenario, before);

    GridTableModel model;
    before(model);
    model.ResetGrid();

    QCOMPARE(model.RowCount(), 0);
    QCOMPARE(model.Row(), 0);
    for (int col : {1, 11, 12, 110}) {
        QCOMPARE(model.CellText(0, col), QString());
        QCOMPARE(model.CellText(1, col), QString());
    }
    QVERIFY(!model.IsRowRemoved(1));
    model.CompleteLayout({}, {}, {}, {}, {});
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);

    // A new pattern starts empty: nothing from before shows through, and
    // row 0 holds the new captions.
    GridLayout::layOut(model);
    model.AddRow();
    model.AddRow();
    QCOMPARE(model.RowCount(), 2);
    for (int row = 1; row <= 2; ++row) {
        QVERIFY(!model.IsRowRemoved(row));
        QCOMPARE(model.CellListIndex(row, 1), -1);
    }
    QCOMPARE(allCells(model), QStringList(2 * 101, QString()));
    QCOMPARE(model.CellText(0, 1), QStringLiteral("Type"));
    QCOMPARE(model.CellText(0, 11), QStringLiteral("Field1"));
    QCOMPARE(model.CellText(0, 110), QStringLiteral("Field100"));
    QCOMPARE(model.CellText(0, 5), QString());
}

void TstGridTableModel::missingCellTakesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    QTest::newRow("unused column") << 1 << 5;
    QTest::newRow("column zero") << 1 << 0;
    QTest::newRow("column past the last") << 1 << 14;
    QTest::newRow("largest column") << 1 << INT_MAX;
    QTest::newRow("smallest column") << 1 << INT_MIN;
    QTest::newRow("caption row") << 0 << 11;
    QTest::newRow("row past the last") << 3 << 11;
    QTest::newRow("negative row") << -1 << 11;
}

void TstGridTableModel::missingCellTakesNothing()
{
    QFETCH(int, row);
    QFETCH(int, col);

    GridTableModel model;
    smallLayout(model);
    model.AddRow();
    model.AddRow();
    const QStringList before = allCells(model);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    model.SetCellText(row, col, QStringLiteral("x"));
    model.SetCellListIndex(row, col, 1);

    if (row != 0)
        QCOMPARE(model.CellText(row, col), QString());
    QCOMPARE(model.CellText(0, 11), QStringLiteral("Field1"));
    QCOMPARE(model.CellListIndex(row, col), -1);
    QCOMPARE(model.RowCount(), 2);
    QCOMPARE(allCells(model), before);
    QCOMPARE(changed.count(), 0);
}

void TstGridTableModel::addRowMakesItCurrent()
{
    GridTableModel model;
    smallLayout(model);
    QCOMPARE(model.Row(), 0);
    QCOMPARE(model.RowCount(), 0);

    QSignalSpy current(&model, &GridTableModel::currentCellChanged);
    model.AddRow();
    QCOMPARE(model.RowCount(), 1);
    QCOMPARE(model.Row(), 1);
    model.SetCellText(1, 12, QStringLiteral("kept"));
    model.SetCellListIndex(1, 1, 1);
    model.setCurrentCell(1, 12);

    model.AddRow();
    QCOMPARE(model.RowCount(), 2);
    QCOMPARE(model.Row(), 2);
    QCOMPARE(model.CellText(2, 12), QString());
    QCOMPARE(model.CellListIndex(2, 1), -1);
    QCOMPARE(model.CellText(1, 12), QStringLiteral("kept"));
    QCOMPARE(model.CellText(1, 1), QStringLiteral("GROUP"));
    QCOMPARE(current.count(), 3);
    QCOMPARE(current.last().at(0).toInt(), 2);
}

void TstGridTableModel::listIndex_data()
{
    QTest::addColumn<double>("index");
    QTest::addColumn<int>("expectedIndex");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("first item") << 0.0 << 0 << "LINE";
    QTest::newRow("second item") << 1.0 << 1 << "GROUP";
    QTest::newRow("last item") << 2.0 << 2 << "LOOP";
    QTest::newRow("past the list") << 3.0 << 3 << "";
    QTest::newRow("no item") << -1.0 << -1 << "";
}

void TstGridTableModel::listIndex()
{
    QFETCH(double, index);
    QFETCH(int, expectedIndex);
    QFETCH(QString, expectedText);

    GridTableModel model;
    GridLayout::layOut(model);
    model.AddRow();
    model.AddRow();
    model.SetCellListIndex(2, 1, 1);

    model.SetCellListIndex(1, 1, index);
    QCOMPARE(model.CellListIndex(1, 1), expectedIndex);
    QCOMPARE(model.CellText(1, 1), expectedText);
    QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), expectedText);
    // The neighbouring row keeps its own selection.
    QCOMPARE(model.CellListIndex(2, 1), 1);
    QCOMPARE(model.CellText(2, 1), QStringLiteral("GROUP"));
}

void TstGridTableModel::removedRows_data()
{
    QTest::addColumn<int>("removed");
    QTest::addColumn<QList<bool>>("expected");   // rows 0 to 4

    QTest::newRow("first row") << 1 << QList<bool>{false, true, false, false, false};
    QTest::newRow("middle row") << 2 << QList<bool>{false, false, true, false, false};
    QTest::newRow("last row") << 3 << QList<bool>{false, false, false, true, false};
    QTest::newRow("caption row") << 0 << QList<bool>{false, false, false, false, false};
    QTest::newRow("row past the last") << 4 << QList<bool>{false, false, false, false, false};
}

void TstGridTableModel::removedRows()
{
    QFETCH(int, removed);
    QFETCH(QList<bool>, expected);

    GridTableModel model;
    smallLayout(model);
    for (int i = 0; i < 3; ++i)
        model.AddRow();
    model.SetCellText(2, 11, QStringLiteral("kept"));

    model.removeRow(removed);
    QCOMPARE(model.RowCount(), 3);
    for (int row = 0; row < expected.size(); ++row)
        QCOMPARE(model.IsRowRemoved(row), expected.at(row));
    // A removed row still holds its cells; the pattern writer skips it.
    QCOMPARE(model.CellText(2, 11), QStringLiteral("kept"));
}

void TstGridTableModel::defineColumnKeepsCells_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("editorType");
    QTest::addColumn<int>("expectedColumns");

    QTest::newRow("redefined text column") << 12 << "TEXT" << 4;
    QTest::newRow("redefined list column") << 1 << "LABELLIST" << 4;
    QTest::newRow("new column after the type column") << 10 << "TEXT" << 5;
    QTest::newRow("new column between fields") << 14 << "TEXT" << 5;
    QTest::newRow("new column last") << 30 << "TEXT" << 5;
}

void TstGridTableModel::defineColumnKeepsCells()
{
    QFETCH(int, index);
    QFETCH(QString, editorType);
    QFETCH(int, expectedColumns);

    // Columns 1, 11, 12 and 20, so there is room before, between and after.
    GridTableModel model;
    model.ResetGrid();
    defineTypeColumn(model);
    defineText(model, 11, QStringLiteral("Field1"));
    defineText(model, 12, QStringLiteral("Field2"));
    defineText(model, 20, QStringLiteral("Field10"));
    model.CompleteLayout({}, {}, {}, {}, {});
    for (int row = 1; row <= 3; ++row) {
        model.AddRow();
        model.SetCellListIndex(row, 1, row - 1);
        for (int col : {11, 12, 20})
            model.SetCellText(row, col, QStringLiteral("r%1c%2").arg(row).arg(col));
    }

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.DefineColumn(qint16(index), QStringLiteral("K"), editorType, 1, QStringLiteral("New"), 2,
                       QString(), 0.0, QString(), 0.0, 100, 1, 0, 2, 0, 900, 0, 0,
                       QStringLiteral("LINE,GROUP,LOOP"));

    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.columnCount(), expectedColumns);
    QCOMPARE(model.CellText(0, index), QStringLiteral("New"));
    QCOMPARE(model.columnWidth(index), 900);
    for (int row = 1; row <= 3; ++row) {
        QCOMPARE(model.CellListIndex(row, 1), row - 1);
        for (int col : {11, 12, 20})
            QCOMPARE(model.CellText(row, col), QStringLiteral("r%1c%2").arg(row).arg(col));
        if (expectedColumns == 5)
            QCOMPARE(model.CellText(row, index), QString());
    }
    // Sections stay in column order.
    for (int section = 1; section < model.columnCount(); ++section)
        QVERIFY(model.columnOfSection(section - 1) < model.columnOfSection(section));
}

void TstGridTableModel::batchedUpdateResetsOnce_data()
{
    QTest::addColumn<Scenario>("load");

    QTest::newRow("rows and cells") << Scenario([](GridTableModel &m) {
        m.BeginUpdate();
        for (int row = 1; row <= 5; ++row) {
            m.AddRow();
            m.SetCellListIndex(row, 1, row % 3);
            m.SetCellText(row, 11, QStringLiteral("[F]:{DOCNO}:10:R:0:::0"));
        }
        m.removeRow(2);
        m.EndUpdate();
    });
    QTest::newRow("nested brackets") << Scenario([](GridTableModel &m) {
        m.BeginUpdate();
        m.AddRow();
        m.BeginUpdate();
        m.AddRow();
        m.SetCellText(2, 12, QStringLiteral("x"));
        m.EndUpdate();
        m.AddRow();
        m.EndUpdate();
    });
    QTest::newRow("layout inside the load") << Scenario([](GridTableModel &m) {
        m.BeginUpdate();
        GridLayout::layOut(m);
        m.AddRow();
        m.SetCellText(1, 110, QStringLiteral("last"));
        m.EndUpdate();
    });
}

void TstGridTableModel::batchedUpdateResetsOnce()
{
    QFETCH(Scenario, load);

    GridTableModel model;
    smallLayout(model);
    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy aboutToInsert(&model, &QAbstractItemModel::rowsAboutToBeInserted);

    load(model);

    QCOMPARE(aboutToReset.count(), 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(aboutToInsert.count(), 0);
    QVERIFY(model.RowCount() > 0);
    QCOMPARE(model.rowCount(), model.RowCount());
    QCOMPARE(model.Row(), model.RowCount());
}

void TstGridTableModel::singleEditSignals_data()
{
    QTest::addColumn<Scenario>("edit");
    QTest::addColumn<int>("signalCount");
    QTest::addColumn<int>("row");       // model row of the changed cell
    QTest::addColumn<int>("section");   // model column of the changed cell

    QTest::newRow("text cell") << Scenario([](GridTableModel &m) {
        m.SetCellText(2, 12, QStringLiteral("x"));
    }) << 1 << 1 << 2;
    QTest::newRow("list cell") << Scenario([](GridTableModel &m) {
        m.SetCellListIndex(2, 1, 2);
    }) << 1 << 1 << 0;
    QTest::newRow("same text again") << Scenario([](GridTableModel &m) {
        m.SetCellText(1, 11, QStringLiteral("old"));
    }) << 0 << -1 << -1;
    QTest::newRow("through setData") << Scenario([](GridTableModel &m) {
        m.setData(m.index(1, 3), QStringLiteral("y"));
    }) << 1 << 1 << 3;
}

void TstGridTableModel::singleEditSignals()
{
    QFETCH(Scenario, edit);
    QFETCH(int, signalCount);
    QFETCH(int, row);
    QFETCH(int, section);

    GridTableModel model;
    smallLayout(model);
    model.AddRow();
    model.AddRow();
    model.SetCellText(1, 11, QStringLiteral("old"));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    edit(model);

    QCOMPARE(reset.count(), 0);
    QCOMPARE(changed.count(), signalCount);
    if (signalCount == 1) {
        const QModelIndex expected = model.index(row, section);
        QCOMPARE(changed.first().at(0).toModelIndex(), expected);
        QCOMPARE(changed.first().at(1).toModelIndex(), expected);
    }
}

void TstGridTableModel::modelContract_data()
{
    QTest::addColumn<Scenario>("work");

    QTest::newRow("layout, rows and cells") << Scenario([](GridTableModel &m) {
        GridLayout::layOut(m);
        for (int row = 1; row <= 4; ++row) {
            m.AddRow();
            m.SetCellListIndex(row, 1, row % 3);
            m.SetCellText(row, 10 + row, QStringLiteral("cell %1").arg(row));
        }
        m.setCurrentCell(2, 12);
        m.removeRow(3);
        m.SetCellText(4, 110, QStringLiteral("last"));
    });
    QTest::newRow("columns defined around rows") << Scenario([](GridTableModel &m) {
        smallLayout(m);
        m.AddRow();
        m.AddRow();
        defineText(m, 5, QStringLiteral("Five"));
        defineText(m, 12, QStringLiteral("Twelve"));
        defineText(m, 40, QStringLiteral("Forty"));
    });
    QTest::newRow("bulk load") << Scenario([](GridTableModel &m) {
        smallLayout(m);
        m.BeginUpdate();
        GridLayout::layOut(m);
        for (int row = 1; row <= 20; ++row)
            m.AddRow();
        m.EndUpdate();
        m.SetCellText(20, 11, QStringLiteral("z"));
    });
    // The window's add and remove buttons work before the first layout.
    QTest::newRow("rows before any column") << Scenario([](GridTableModel &m) {
        m.AddRow();
        m.AddRow();
        m.removeRow(1);
    });
}

void TstGridTableModel::modelContract()
{
    QFETCH(Scenario, work);

    GridTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    work(model);
    QCOMPARE(model.rowCount(), model.RowCount());
}

QTEST_GUILESS_MAIN(TstGridTableModel)
#include "tst_gridtablemodel.moc"
