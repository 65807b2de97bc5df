// The grid control as the user drives it: keys, a double-click, the type
// cell's combo box and the remove button; then the writes and updates its
// model takes. A model tester watches every test.

#include "testsupport.h"

#include "components/gui/dialogprompts.h"
#include "components/gui/grideditor.h"
#include "components/gui/selectionlist.h"
#include "components/gridtablemodel.h"

#include <QComboBox>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
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
        // With no line left the cursor is on none: Delete changes nothing.
        QTest::newRow("remove every row, then Delete") << QPoint(11, 1) << "Remove Row*3, Del" << QList<QVariantList>{{46, 0}}
                                                       << "3,11 x x GROUP 1 2 3";
    }
    // On the designer's layout (type column 1, fields 11 to 110) with three
    // rows, row 2 a GROUP, "x" in (1,11) and (1,12).
    void userActions()
    {
        QFETCH(QPoint, cell); QFETCH(QString, action);
        QUndoStack history;
        GridEditor grid(&history);
        GridTableModel &model = *grid.model();
        auto *view = grid.findChild<QTableView *>("gridView");
        new QAbstractItemModelTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest, &grid);
        GridLayout::layOut(model);
        for (int row = 1; row <= 3; ++row)
            model.AddRow();
        model.SetCellText(1, 11, "x");
        model.SetCellText(1, 12, "x");
        model.SetCellListIndex(2, GridLayout::kTypeColumn, 1);
        model.setCurrentCell(cell.y(), cell.x());
        grid.resize(900, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));

        QSignalSpy keyDown(&grid, &GridEditor::KeyDown);
        QWidget *viewport = view->viewport();
        const QPoint at = view->visualRect(model.index(2, model.sectionOfColumn(13))).center();
        if (action == u"double-click") {   // as the window system sends it: QTest::mouseDClick alone is only the second press
            for (const QTest::MouseAction event : {QTest::MouseClick, QTest::MousePress, QTest::MouseDClick, QTest::MouseRelease})
                QTest::mouseEvent(event, viewport, Qt::LeftButton, {}, at);
        } else if (action.startsWith(u"Remove Row")) {
            for (int click = action.contains(u"*3") ? 3 : 1; click > 0; --click)
                QTest::mouseClick(grid.findChild<QToolButton *>("removeRowButton"), Qt::LeftButton);
            if (action.endsWith(u"Del"))
                QTest::keyClick(view, Qt::Key_Delete);
        } else {
            QTest::keyClick(view, QKeySequence(action)[0].key(), QKeySequence(action)[0].keyboardModifiers());
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
        QString after = QStringLiteral("%1,%2 %3 %4 %5").arg(model.Row()).arg(model.Col()).arg(model.CellText(1, 11), model.CellText(1, 12), model.CellText(2, 1));
        for (int row = 1; row <= 3; ++row)
            after += model.IsRowRemoved(row) && view->isRowHidden(row - 1) ? QStringLiteral(" %1").arg(row) : QString();
        QTEST(after, "after");
    }

    // Only a data cell of a defined column takes a write. Every change of
    // the pattern comes out of one door, once, saying what changed, and a
    // view repaints only what changed; writing what a cell holds already is
    // no change; a bulk update, nested or not, is one reset at its end. (What
    // Insert and Remove Column do to the cells: tst_frmcreatepattern.)
    void modelChanges()
    {
        GridTableModel model;
        new QAbstractItemModelTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest, &model);
        model.AddRow();   // before any layout, as the window's buttons may: no cell to repaint
        model.removeRow(1);
        QVERIFY(model.IsRowRemoved(1));
        GridLayout::layOut(model);   // a layout starts without rows
        QCOMPARE(model.RowCount(), 0);
        model.AddRow();
        model.AddRow();
        for (int c = 11; c <= 110; ++c)
            model.SetCellText(1, c, QString::number(c - 10));
        QSignalSpy spy(&model, &GridTableModel::patternChanged), repaint(&model, &QAbstractItemModel::dataChanged),
            reset(&model, &QAbstractItemModel::modelReset);
        for (const QPoint rowCol : {QPoint(0, 11), QPoint(3, 11), QPoint(1, 5), QPoint(1, 111), QPoint(1, INT_MAX), QPoint(1, INT_MIN)}) {
            model.SetCellText(rowCol.x(), rowCol.y(), "x");
            model.SetCellListIndex(rowCol.x(), rowCol.y(), 1);
        }
        model.SetCellText(1, 12, "2");
        model.SetCellListIndex(2, 1, 1);
        model.insertCell(1, 12, 110);
        model.removeCell(1, 11, 110);
        model.removeRow(2);
        model.removeRow(2);
        model.AddRow();
        model.BeginUpdate();
        model.BeginUpdate();
        model.SetCellText(3, 11, "y");
        model.AddRow();
        model.EndUpdate();
        QCOMPARE(reset.size(), 0);
        model.EndUpdate();
        using K = GridChange::Kind;
        QList<GridChange> changes;
        for (const QList<QVariant> &signal : spy)
            changes.append(signal.at(0).value<GridChange>());
        QCOMPARE(changes, (QList<GridChange>{{K::Cells, 2, 1, 1}, {K::Cells, 1, 12, 110}, {K::Cells, 1, 11, 110},
                                             {K::RowRemoved, 2, 0, 0}, {K::RowAdded, 3, 0, 0}, {K::Reset, 0, 0, 0}}));
        QCOMPARE(repaint.value(0).value(0).toModelIndex(), model.index(1, 0));
        QCOMPARE(repaint.value(1).value(1).toModelIndex(), model.index(0, 100));
        QCOMPARE(QList<qsizetype>({repaint.size(), reset.size()}), QList<qsizetype>({4, 1}));
    }

    // The mode list shows the names, its code column of width 0 hidden, and
    // gives the code of the row picked; cancelled, none.
    void modeList()
    {
        DialogPrompts prompts;
        for (const bool accept : {true, false}) {
            QString picked = "-";
            onModal<SelectionListDialog>([&] { picked = prompts.pickMode({{"A", "First"}, {"B", "Second"}}); },
                                         [&](SelectionListDialog *list) {
                                             auto *tree = list->findChild<QTreeWidget *>("list");
                                             QVERIFY(tree->isColumnHidden(0) && !tree->isColumnHidden(1));
                                             tree->setCurrentItem(tree->topLevelItem(1));
                                             accept ? list->accept() : list->reject();
                                         });
            QCOMPARE(picked, accept ? "B" : "");
        }
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
