// The grid control and its model: cell writes and the signals a view follows,
// then the widget as the user drives it with keys, clicks, the type cell's
// combo box and the remove button. A model tester watches every test.

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"

#include <QComboBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <climits>

namespace {

// The designer's layout (type column 1, fields 11 to 110) with empty rows.
void layOutWithRows(PatternGrid &grid, int rows)
{
    GridLayout::layOut(grid);
    for (int i = 0; i < rows; ++i)
        grid.AddRow();
}

QPoint centreOf(const GridEditor &grid, int row, int col)
{
    return grid.view()->visualRect(grid.model()->index(row - 1, grid.model()->sectionOfColumn(col))).center();
}

} // namespace

class TstGrid final : public QObject
{
    Q_OBJECT

    // Shown and focused, three rows, the current cell at row 1, column 11.
    GridEditor *m_grid = nullptr;
    qsizetype openEditors() const { return m_grid->view()->viewport()->findChildren<QWidget *>().size(); }

private Q_SLOTS:
    void init()
    {
        m_grid = new GridEditor;
        new QAbstractItemModelTester(m_grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     m_grid->model());
        m_grid->resize(900, 400);
        layOutWithRows(*m_grid, 3);
        m_grid->show();
        m_grid->activateWindow();
        m_grid->view()->setFocus();
        m_grid->setCurrentCell(1, GridLayout::kFirstFieldColumn);
        QVERIFY(QTest::qWaitForWindowActive(m_grid));
        QTRY_VERIFY(m_grid->view()->hasFocus());
    }
    void cleanup() { delete m_grid; }

    void resetGridLeavesNothing()
    {
        m_grid->SetCellText(1, 11, QStringLiteral("[F]:{DOCNO}:10:R:0:::0"));
        m_grid->SetCellListIndex(2, 1, 2);
        m_grid->removeCurrentRow();
        m_grid->ResetGrid();
        m_grid->CompleteLayout({}, {}, {}, {}, {});
        QCOMPARE(m_grid->RowCount(), 0);
        QCOMPARE(m_grid->Row(), 0);

        // The window's add and remove buttons work before the first layout.
        m_grid->AddRow();
        m_grid->removeCurrentRow();
        QVERIFY(m_grid->IsRowRemoved(1));

        // A new pattern starts empty, with the new captions in row 0; each
        // added row becomes the current one.
        QSignalSpy current(m_grid->model(), &GridTableModel::currentCellChanged);
        layOutWithRows(*m_grid, 2);
        QCOMPARE(current.count(), 2);
        QCOMPARE(m_grid->Row(), 2);
        QVERIFY(!m_grid->IsRowRemoved(1) && !m_grid->view()->isRowHidden(0));
        QCOMPARE(m_grid->CellText(1, 11), QString());
        QCOMPARE(m_grid->CellListIndex(2, 1), -1);
        QCOMPARE(m_grid->CellText(0, 110), QStringLiteral("Field100"));
    }

    // A write to one cell: what the cell reads back and the signal a view repaints on.
    void setCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QVariant>("value");   // double: list index, string: text
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("written");

        const QVariant x = QStringLiteral("x");
        QTest::newRow("text cell") << 1 << 11 << x << "x" << true;
        QTest::newRow("list item") << 1 << 1 << QVariant(1.0) << "GROUP" << true;
        QTest::newRow("list index past the items") << 1 << 1 << QVariant(3.0) << "" << true;
        QTest::newRow("unused column") << 1 << 5 << x << "" << false;
        QTest::newRow("largest column") << 1 << INT_MAX << x << "" << false;
        QTest::newRow("smallest column") << 1 << INT_MIN << QVariant(1.0) << "" << false;
        QTest::newRow("caption row") << 0 << 11 << x << "Field1" << false;
        QTest::newRow("row past the last") << 4 << 1 << QVariant(1.0) << "" << false;
    }
    void setCell()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QFETCH(bool, written);
        QSignalSpy changed(m_grid->model(), &QAbstractItemModel::dataChanged);
        if (value.typeId() == QMetaType::Double)
            m_grid->SetCellListIndex(row, col, value.toDouble());
        else
            m_grid->SetCellText(row, col, value.toString());

        QCOMPARE(m_grid->CellText(row, col), text);
        QCOMPARE(m_grid->CellListIndex(row, col), written && col == 1 ? value.toInt() : -1);
        QCOMPARE(changed.count(), written ? 1 : 0);
        if (written)
            QCOMPARE(changed.first().at(0).toModelIndex(), m_grid->model()->index(row - 1, col == 1 ? 0 : 1));
        QCOMPARE(m_grid->CellListIndex(2, 1), -1);
    }

    void batchResetsOnce()
    {
        GridTableModel &model = *m_grid->model();
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.BeginUpdate();
        model.AddRow();
        model.BeginUpdate();   // a load inside a load
        model.SetCellText(2, 11, QStringLiteral("x"));
        model.removeRow(3);
        model.EndUpdate();
        QCOMPARE(reset.count(), 0);
        model.EndUpdate();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(changed.count() + inserted.count(), 0);
    }

    void keyDown_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("shift");
        QTest::addColumn<int>("keyCode");

        QTest::newRow("F2") << int(Qt::Key_F2) << 0 << 113;
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << 1 << 113;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << 65;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << 46;
    }
    void keyDown()
    {
        QFETCH(int, key);
        QFETCH(int, shift);
        QFETCH(int, keyCode);
        const QString text = QStringLiteral("[C]:A:1");
        for (const QPoint cell : {QPoint(11, 1), QPoint(12, 1), QPoint(11, 2)})
            m_grid->SetCellText(cell.y(), cell.x(), text);
        QSignalSpy keys(m_grid, &GridEditor::KeyDown);
        QTest::keyClick(m_grid->view(), Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);

        // Shift raises a KeyDown of its own (16) as it goes down; the key comes last, once.
        QCOMPARE(keys.size(), 1 + shift);
        QCOMPARE(keys.first().at(0).toInt(), shift ? 16 : keyCode);
        QCOMPARE(keys.last(), QVariantList({keyCode, shift}));
        // F2 on a text cell is the window's: the grid opens no editor of its own.
        QCOMPARE(openEditors(), 0);
        // Delete empties the current cell (row 1, column 11) and no other.
        QCOMPARE(m_grid->CellText(1, 11), keyCode == 46 ? QString() : text);
        QCOMPARE(m_grid->CellText(1, 12), text);
        QCOMPARE(m_grid->CellText(2, 11), text);
    }

    void doubleClickOnTextCell()
    {
        QSignalSpy changed(m_grid, &GridEditor::CellChange);
        QSignalSpy keys(m_grid, &GridEditor::KeyDown);
        QWidget *viewport = m_grid->view()->viewport();
        const QPoint at = centreOf(*m_grid, 3, 13);
        // As the window system delivers it: QTest::mouseDClick alone sends only the second press.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);

        // One move, one F2: the window reads the cell under the pointer when it sees the key.
        QCOMPARE(changed.count(), 1);
        QCOMPARE(QList<QVariantList>(keys), QList<QVariantList>({{113, 0}}));
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(13, 3));
        QCOMPARE(openEditors(), 0);
        // A click on the current cell is no move.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QCOMPARE(changed.count(), 1);
    }

    void typeCellCombo()
    {
        m_grid->SetCellListIndex(2, GridLayout::kTypeColumn, 1);
        m_grid->setCurrentCell(2, GridLayout::kTypeColumn);
        QTest::keyClick(m_grid->view(), Qt::Key_F2);
        auto *combo = m_grid->view()->viewport()->findChild<QComboBox *>();
        QVERIFY(combo);
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0) + u',' + combo->itemText(1) + u',' + combo->itemText(2),
                 QStringLiteral("LINE,GROUP,LOOP"));
        QCOMPARE(combo->currentIndex(), 1);
        combo->setCurrentIndex(2);
        QTest::keyClick(combo, Qt::Key_Return);
        // The choice is written back as the editor closes, which is queued.
        QTRY_COMPARE(openEditors(), 0);
        QCOMPARE(m_grid->CellText(2, GridLayout::kTypeColumn), QStringLiteral("LOOP"));
    }

    void removeButton()
    {
        m_grid->setCurrentCell(2, 12);
        for (QToolButton *button : m_grid->findChildren<QToolButton *>()) {
            if (button->text() == u"Remove Row")
                QTest::mouseClick(button, Qt::LeftButton);
        }
        for (int row = 1; row <= 3; ++row) {
            QCOMPARE(m_grid->IsRowRemoved(row), row == 2);
            QCOMPARE(m_grid->view()->isRowHidden(row - 1), row == 2);
        }
        // The cursor moves to the next line still in the pattern.
        QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), QPoint(12, 3));
    }
};

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
