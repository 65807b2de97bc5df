// Grid layout and the line lengths of the status bar.

#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"
#include "designer/linelength.h"

#include <QSignalSpy>
#include <QtTest>

class TestDesignerCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void layoutDefinesTypeAndFieldColumnsOnly();
    void layoutTwiceLeavesNoRowsAndSameColumns();
    void lineLengths_data();
    void lineLengths();
};

void TestDesignerCore::layoutDefinesTypeAndFieldColumnsOnly()
{
    GridTableModel grid;
    GridLayout::layOut(grid);
    QCOMPARE(grid.columnCount(), 101);
    QCOMPARE(grid.CellText(0, 1), QStringLiteral("Type"));
    QCOMPARE(grid.listItems(1), (QStringList{"LINE", "GROUP", "LOOP"}));
    QCOMPARE(grid.CellText(0, 11), QStringLiteral("Field1"));
    QCOMPARE(grid.CellText(0, 57), QStringLiteral("Field47"));
    QCOMPARE(grid.CellText(0, 110), QStringLiteral("Field100"));
    for (int c = 2; c <= 10; ++c)
        QCOMPARE(grid.sectionOfColumn(c), -1);
    QCOMPARE(grid.sectionOfColumn(111), -1);
    QCOMPARE(grid.columnWidth(1), 1000);
    QCOMPARE(grid.columnWidth(11), 2500);
    QVERIFY(grid.editMode());
}

void TestDesignerCore::layoutTwiceLeavesNoRowsAndSameColumns()
{
    GridTableModel grid;
    GridLayout::layOut(grid);
    grid.AddRow();
    grid.SetCellText(1, 11, QStringLiteral("[C]:A:1"));
    QSignalSpy resets(&grid, &QAbstractItemModel::modelReset);
    GridLayout::layOut(grid);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(grid.RowCount(), 0);
    QCOMPARE(grid.columnCount(), 101);
    QCOMPARE(grid.Row(), 0);
    QCOMPARE(grid.CellText(1, 11), QString());
}

void TestDesignerCore::lineLengths_data()
{
    QTest::addColumn<QStringList>("cells");   // "col=text"
    QTest::addColumn<int>("currentCol");
    QTest::addColumn<QString>("expected");

    const QStringList threeFields{"11=[F]:{A}:10:L::::0", "12=[C]:ABCDE:5", "13=[F]:{B}:20:R:0:::0"};
    QTest::newRow("cursor in the middle") << threeFields << 12 << "Total Length = 35 Colume Length = 15";
    QTest::newRow("cursor on the type column") << threeFields << 1 << "Total Length = 35 Colume Length = 0";
    QTest::newRow("no filled cell") << QStringList{} << 11 << "Total Length = 0 Colume Length = 0";
    QTest::newRow("gaps do not interrupt")
        << QStringList{"11=[C]:AB:2", "30=[C]:C:1", "110=[F]:{A}:7:L::::0"} << 30
        << "Total Length = 10 Colume Length = 3";
    QTest::newRow("constant counts its stored count")
        << QStringList{"11=[C]:AB{NL}C:3"} << 11 << "Total Length = 3 Colume Length = 3";
    QTest::newRow("cells without a number add nothing")
        << QStringList{"11=[C]", "12=free text", "13=[F]:{A}:x:L", "14=[F]:{A}:4:L"} << 14
        << "Total Length = 4 Colume Length = 4";
    QTest::newRow("grouped length of a thousand")
        << QStringList{"11=[F]:{A}:1,000:L::::0", "12=[F]:{B}:500:L::::0"} << 11
        << "Total Length = 1,500 Colume Length = 1,000";
    QTest::newRow("negative total shows as zero")
        << QStringList{"11=[F]:{A}:-5:L::::0"} << 11 << "Total Length = 0 Colume Length = -5";
}

void TestDesignerCore::lineLengths()
{
    QFETCH(QStringList, cells);
    QFETCH(int, currentCol);
    QFETCH(QString, expected);
    GridTableModel grid;
    GridLayout::layOut(grid);
    grid.AddRow();
    grid.SetCellText(1, 11, QStringLiteral("[C]:OTHER ROW:9"));   // never counts
    grid.AddRow();
    for (const QString &cell : cells)
        grid.SetCellText(2, cell.section(u'=', 0, 0).toInt(), cell.section(u'=', 1));
    grid.setCurrentCell(2, currentCol);
    QCOMPARE(LineLength::statusText(LineLength::measure(grid)), expected);
}

QTEST_GUILESS_MAIN(TestDesignerCore)
#include "tst_designercore.moc"
