// The grid control as the user drives it: keys, a double-click, the type
// cell's combo box and the remove button; then the writes and updates its
// model takes. A model tester watches every test.

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"

#include <QComboBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <climits>

class TstGrid final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userActions_data()
    {
        QTest::addColumn<QPoint>("cell"); QTest::addColumn<QString>("action"); QTest::addColumn<QList<QVariantList>>("keyDown");
        QTest::addColumn<QString>("after");   // the current row and column, cells (1,11) and (1,12), the type of row 2, rows removed
        const QPoint text(11, 1), type(1, 2);
        QTest::newRow("F2 on a text cell is the window's") << text << "F2" << QList<QVariantList>{{113, 0}} << "1,11 x x GROUP";
        QTest::newRow("Shift goes down first") << text << "Shift+F2" << QList<QVariantList>{{16, 1}, {113, 1}} << "1,11 x x GROUP";
        QTest::newRow("Delete empties the current cell") << text << "Del" << QList<QVariantList>{{46, 0}} << "1,11  x GROUP";
        QTest::newRow("double-click: a move, then F2") << text << "double-click" << QList<QVariantList>{{113, 0}} << "3,13 x x GROUP";
        QTest::newRow("F2 on the type cell: its combo box") << type << "F2" << QList<QVariantList>{{113, 0}} << "2,1 x x LOOP";
        // The row stays counted; the cursor moves to the next line still in the pattern.
        QTest::newRow("remove button") << QPoint(12, 2) << "Remove Row" << QList<QVariantList>{} << "3,12 x x GROUP 2";
    }
    // On the designer's layout (type column 1, fields 11 to 110) with three
    // rows, row 2 a GROUP, "x" in (1,11) and (1,12).
    void userActions()
    {
        QFETCH(QPoint, cell); QFETCH(QString, action);
        GridEditor grid;
        new QAbstractItemModelTester(grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest, &grid);
        GridLayout::layOut(grid);
        for (int row = 1; row <= 3; ++row)
            grid.AddRow();
        grid.SetCellText(1, 11, "x");
        grid.SetCellText(1, 12, "x");
        grid.SetCellListIndex(2, GridLayout::kTypeColumn, 1);
        grid.setCurrentCell(cell.y(), cell.x());
        grid.resize(900, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));

        QSignalSpy keyDown(&grid, &GridEditor::KeyDown);
        QWidget *viewport = grid.view()->viewport();
        const QPoint at = grid.view()->visualRect(grid.model()->index(2, grid.model()->sectionOfColumn(13))).center();
        if (action == u"double-click") {   // as the window system sends it: QTest::mouseDClick alone is only the second press
            for (const QTest::MouseAction event : {QTest::MouseClick, QTest::MousePress, QTest::MouseDClick, QTest::MouseRelease})
                QTest::mouseEvent(event, viewport, Qt::LeftButton, {}, at);
        } else if (action == u"Remove Row") {
            for (QToolButton *button : grid.findChildren<QToolButton *>()) {
                if (button->text() == action)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        } else {
            QTest::keyClick(grid.view(), QKeySequence(action)[0].key(), QKeySequence(action)[0].keyboardModifiers());
        }
        if (auto *combo = viewport->findChild<QComboBox *>()) {   // the list cell's editor: LOOP picked
            QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2), combo->currentText()}),
                     QStringList({"LINE", "GROUP", "LOOP", "GROUP"}));
            combo->setCurrentIndex(2);
            QTest::keyClick(combo, Qt::Key_Return);
        }
        // Text cells are edited in the field dialog, never in the grid; a closing editor writes back queued.
        QTRY_COMPARE(viewport->findChildren<QWidget *>().size(), 0);
        QTEST(QList<QVariantList>(keyDown), "keyDown");
        QString after = QStringLiteral("%1,%2 %3 %4 %5").arg(grid.Row()).arg(grid.Col()).arg(grid.CellText(1, 11), grid.CellText(1, 12), grid.CellText(2, 1));
        for (int row = 1; row <= 3; ++row)
            after += grid.IsRowRemoved(row) && grid.view()->isRowHidden(row - 1) ? QStringLiteral(" %1").arg(row) : QString();
        QTEST(after, "after");
    }

    // Only a data cell of a defined column takes a write, and a view repaints
    // that one cell; a bulk update, nested or not, signals one reset at its end.
    void modelWrites()
    {
        GridTableModel model;
        new QAbstractItemModelTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest, &model);
        model.AddRow();   // before any layout, as the window's buttons may: no cell to repaint
        model.removeRow(1);
        QVERIFY(model.IsRowRemoved(1));
        GridLayout::layOut(model);   // a layout starts without rows
        QCOMPARE(model.RowCount(), 0);
        model.AddRow();
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged), reset(&model, &QAbstractItemModel::modelReset);
        for (const QPoint rowCol : {QPoint(0, 11), QPoint(2, 11), QPoint(1, 5), QPoint(1, 111), QPoint(1, INT_MAX), QPoint(1, INT_MIN)}) {
            model.SetCellText(rowCol.x(), rowCol.y(), "x");
            model.SetCellListIndex(rowCol.x(), rowCol.y(), 1);
        }
        model.SetCellText(1, 12, "x");
        model.SetCellListIndex(1, 1, 1);
        QCOMPARE(QList<QModelIndex>({changed.value(0).value(0).toModelIndex(), changed.value(1).value(0).toModelIndex()}),
                 QList<QModelIndex>({model.index(0, 2), model.index(0, 0)}));
        QCOMPARE(QStringList({model.CellText(0, 11), model.CellText(1, 12), model.CellText(1, 1), model.CellText(1, 5)}),
                 QStringList({"Field1", "x", "GROUP", ""}));
        model.BeginUpdate();
        model.BeginUpdate();
        model.AddRow();
        model.SetCellText(2, 11, "y");
        model.EndUpdate();
        QCOMPARE(reset.size(), 0);
        model.EndUpdate();
        QCOMPARE(QList<qsizetype>({changed.size(), reset.size()}), QList<qsizetype>({2, 1}));
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
