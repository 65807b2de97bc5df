// The grid control as the user drives it: keys and clicks raise KeyDown and
// CellChange, the list cell edits through a combo box, and the add and remove
// buttons change the rows.

#include "components/grideditor.h"
#include "components/gridtablemodel.h"
#include "designer/gridlayout.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

using Action = std::function<void(GridEditor &)>;

QToolButton *buttonNamed(const GridEditor &grid, const QString &text)
{
    for (QToolButton *button : grid.findChildren<QToolButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QPoint centreOf(const GridEditor &grid, int row, int col)
{
    const QModelIndex at = grid.model()->index(row - 1, grid.model()->sectionOfColumn(col));
    return grid.view()->visualRect(at).center();
}

// A double-click as the window system delivers it: QTest::mouseDClick alone
// sends only the double-click event.
void doubleClickAt(QWidget *widget, QPoint at)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// The view's current cell in grid numbering, (0, 0) when it has none.
QPoint viewCurrent(const GridEditor &grid)
{
    const QModelIndex current = grid.view()->currentIndex();
    if (!current.isValid())
        return {};
    return {grid.model()->columnOfSection(current.column()), current.row() + 1};
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TstGridEditor final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void keyDown_data();
    void keyDown();
    void deleteKey_data();
    void deleteKey();
    void doubleClick_data();
    void doubleClick();
    void cellChange_data();
    void cellChange();
    void listCellEditor_data();
    void listCellEditor();
    void addButton();
    void removeButton_data();
    void removeButton();
    void newLayoutShowsEveryRow();

private:
    GridEditor *m_grid = nullptr;
};

void TstGridEditor::init()
{
    m_grid = new GridEditor;
    m_grid->resize(900, 400);
    GridLayout::layOut(*m_grid);
    for (int i = 0; i < 3; ++i)
        m_grid->AddRow();
    m_grid->show();
    m_grid->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_grid));
    m_grid->view()->setFocus();
    QTRY_VERIFY(m_grid->view()->hasFocus());
    m_grid->setCurrentCell(1, GridLayout::kFirstFieldColumn);
}

void TstGridEditor::cleanup()
{
    delete m_grid;
    m_grid = nullptr;
}

void TstGridEditor::keyDown_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");

    const Qt::KeyboardModifiers none;
    QTest::newRow("F2 on a field cell") << 11 << int(Qt::Key_F2) << none << 113 << 0;
    QTest::newRow("Shift+F2") << 11 << int(Qt::Key_F2) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                              << 113 << 1;
    QTest::newRow("Ctrl+F2") << 11 << int(Qt::Key_F2)
                             << Qt::KeyboardModifiers(Qt::ControlModifier) << 113 << 2;
    QTest::newRow("F2 on the type cell") << 1 << int(Qt::Key_F2) << none << 113 << 0;
    QTest::newRow("F1") << 11 << int(Qt::Key_F1) << none << 112 << 0;
    QTest::newRow("letter") << 11 << int(Qt::Key_A) << none << 65 << 0;
    QTest::newRow("shifted letter") << 11 << int(Qt::Key_Q)
                                    << Qt::KeyboardModifiers(Qt::ShiftModifier) << 81 << 1;
    QTest::newRow("digit") << 12 << int(Qt::Key_5) << none << 53 << 0;
    QTest::newRow("Delete") << 11 << int(Qt::Key_Delete) << none << 46 << 0;
    QTest::newRow("arrow right") << 11 << int(Qt::Key_Right) << none << 39 << 0;
}

void TstGridEditor::keyDown()
{
    QFETCH(int, col);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, keyCode);
    QFETCH(int, shift);

    const QString text = QStringLiteral("[F]:{DOCNO}:10:R:0:::0");
    m_grid->SetCellText(2, col, text);
    m_grid->SetCellListIndex(2, 1, 1);
    m_grid->setCurrentCell(2, col);
    QSignalSpy keys(m_grid, &GridEditor::KeyDown);

    QTest::keyClick(m_grid->view(), Qt::Key(key), modifiers);

    // Shift, Ctrl and Alt raise KeyDown of their own as they go down (16, 17,
    // 18); the key itself comes last, once.
    QVERIFY(!keys.isEmpty());
    for (qsizetype i = 0; i + 1 < keys.size(); ++i)
        QVERIFY(QList<int>({16, 17, 18}).contains(keys.at(i).at(0).toInt()));
    QCOMPARE(keys.size(), 1 + qPopulationCount(uint(modifiers.toInt())));
    QCOMPARE(keys.last().at(0).toInt(), keyCode);
    QCOMPARE(keys.last().at(1).toInt(), shift);
    // F2 on a field cell is the window's: the grid opens no editor of its own.
    if (keyCode == GridEditor::kKeyF2 && col != GridLayout::kTypeColumn)
        QCOMPARE(m_grid->view()->viewport()->findChildren<QWidget *>().size(), 0);
    // Only Delete changes a field cell.
    if (col != GridLayout::kTypeColumn && keyCode != 46)
        QCOMPARE(m_grid->CellText(2, col), text);
}

void TstGridEditor::deleteKey_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("expectedField");   // row 2, column 12 afterwards
    QTest::addColumn<int>("expectedType");         // row 2, type column afterwards

    QTest::newRow("field cell") << 12 << "" << 1;
    QTest::newRow("other field cell") << 13 << "[C]:ABC:3" << 1;
    QTest::newRow("type cell") << 1 << "[C]:ABC:3" << 1;
}

void TstGridEditor::deleteKey()
{
    QFETCH(int, col);
    QFETCH(QString, expectedField);
    QFETCH(int, expectedType);

    for (int row = 1; row <= 3; ++row) {
        m_grid->SetCellText(row, 12, QStringLiteral("[C]:ABC:3"));
        m_grid->SetCellListIndex(row, 1, 1);
    }
    m_grid->setCurrentCell(2, col);
    QSignalSpy keys(m_grid, &GridEditor::KeyDown);

    QTest::keyClick(m_grid->view(), Qt::Key_Delete);

    QCOMPARE(keys.count(), 1);
    QCOMPARE(m_grid->CellText(2, 12), expectedField);
    QCOMPARE(m_grid->CellListIndex(2, 1), expectedType);
    // Only the current cell is emptied.
    for (int row : {1, 3}) {
        QCOMPARE(m_grid->CellText(row, 12), QStringLiteral("[C]:ABC:3"));
        QCOMPARE(m_grid->CellListIndex(row, 1), 1);
    }
}

void TstGridEditor::doubleClick_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("f2Count");
    QTest::addColumn<bool>("comboOpens");

    QTest::newRow("field cell of the current row") << 1 << 11 << 1 << false;
    QTest::newRow("field cell elsewhere") << 3 << 13 << 1 << false;
    QTest::newRow("type cell") << 2 << 1 << 0 << true;
}

void TstGridEditor::doubleClick()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, f2Count);
    QFETCH(bool, comboOpens);

    QSignalSpy keys(m_grid, &GridEditor::KeyDown);
    doubleClickAt(m_grid->view()->viewport(), centreOf(*m_grid, row, col));

    int f2 = 0;
    for (const QList<QVariant> &args : std::as_const(keys)) {
        if (args.at(0).toInt() == GridEditor::kKeyF2) {
            ++f2;
            QCOMPARE(args.at(1).toInt(), 0);
        }
    }
    QCOMPARE(f2, f2Count);
    // The window reads the cell under the pointer when it sees the key.
    QCOMPARE(m_grid->Row(), row);
    QCOMPARE(m_grid->Col(), col);
    QCOMPARE(m_grid->view()->viewport()->findChildren<QComboBox *>().size(), comboOpens ? 1 : 0);
}

void TstGridEditor::cellChange_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QPoint>("cell");   // (column, row) afterwards

    QTest::newRow("arrow right") << Action([](GridEditor &g) {
        QTest::keyClick(g.view(), Qt::Key_Right);
    }) << 1 << QPoint(12, 1);
    QTest::newRow("arrow down") << Action([](GridEditor &g) {
        QTest::keyClick(g.view(), Qt::Key_Down);
    }) << 1 << QPoint(11, 2);
    QTest::newRow("click on another cell") << Action([](GridEditor &g) {
        QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, centreOf(g, 3, 14));
    }) << 1 << QPoint(14, 3);
    QTest::newRow("click on the current cell") << Action([](GridEditor &g) {
        QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, centreOf(g, 1, 11));
    }) << 0 << QPoint(11, 1);
    QTest::newRow("moved by the program") << Action([](GridEditor &g) {
        g.setCurrentCell(3, 110);
    }) << 1 << QPoint(110, 3);
    QTest::newRow("moved to the same cell") << Action([](GridEditor &g) {
        g.setCurrentCell(1, 11);
    }) << 0 << QPoint(11, 1);
    QTest::newRow("row added") << Action([](GridEditor &g) { g.AddRow(); }) << 1 << QPoint(11, 4);
}

void TstGridEditor::cellChange()
{
    QFETCH(Action, action);
    QFETCH(int, changes);
    QFETCH(QPoint, cell);

    QSignalSpy changed(m_grid, &GridEditor::CellChange);
    action(*m_grid);

    QCOMPARE(changed.count(), changes);
    QCOMPARE(QPoint(m_grid->Col(), m_grid->Row()), cell);
    QCOMPARE(viewCurrent(*m_grid), cell);
}

void TstGridEditor::listCellEditor_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");

    QTest::newRow("LOOP chosen over GROUP") << 1 << 2 << int(Qt::Key_Return) << 2;
    QTest::newRow("LINE chosen on a new row") << -1 << 0 << int(Qt::Key_Return) << 0;
    QTest::newRow("GROUP chosen over LINE") << 0 << 1 << int(Qt::Key_Enter) << 1;
    QTest::newRow("choice cancelled") << 1 << 2 << int(Qt::Key_Escape) << 1;
}

void TstGridEditor::listCellEditor()
{
    QFETCH(int, initial);
    QFETCH(int, choice);
    QFETCH(int, key);
    QFETCH(int, expected);

    if (initial >= 0)
        m_grid->SetCellListIndex(2, GridLayout::kTypeColumn, initial);
    m_grid->setCurrentCell(2, GridLayout::kTypeColumn);
    QTest::keyClick(m_grid->view(), Qt::Key_F2);

    const QList<QComboBox *> editors = m_grid->view()->viewport()->findChildren<QComboBox *>();
    QCOMPARE(editors.size(), 1);
    QComboBox *combo = editors.first();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    QCOMPARE(items, QStringList({QStringLiteral("LINE"), QStringLiteral("GROUP"),
                                 QStringLiteral("LOOP")}));
    QCOMPARE(combo->currentIndex(), initial);

    combo->setCurrentIndex(choice);
    QTest::keyClick(combo, Qt::Key(key));

    // The choice is written back as the editor closes, which is queued.
    QTRY_COMPARE(m_grid->view()->viewport()->findChildren<QComboBox *>().size(), 0);
    QCOMPARE(m_grid->CellListIndex(2, GridLayout::kTypeColumn), expected);
    QCOMPARE(m_grid->CellText(2, GridLayout::kTypeColumn), items.at(expected));
    QCOMPARE(m_grid->CellListIndex(1, GridLayout::kTypeColumn), -1);
}

void TstGridEditor::addButton()
{
    QToolButton *add = buttonNamed(*m_grid, QStringLiteral("Add Row"));
    QVERIFY(add);
    QVERIFY(add->isVisible());
    m_grid->SetCellText(3, 11, QStringLiteral("kept"));
    QSignalSpy changed(m_grid, &GridEditor::CellChange);

    QTest::mouseClick(add, Qt::LeftButton);

    QCOMPARE(m_grid->RowCount(), 4);
    QCOMPARE(m_grid->Row(), 4);
    QCOMPARE(viewCurrent(*m_grid).y(), 4);
    QCOMPARE(m_grid->CellText(4, 11), QString());
    QCOMPARE(m_grid->CellText(3, 11), QStringLiteral("kept"));
    QVERIFY(!m_grid->IsRowRemoved(4));
    QCOMPARE(changed.count(), 1);

    m_grid->setShowAddButton(false);
    QVERIFY(!add->isVisible());
}

void TstGridEditor::removeButton_data()
{
    QTest::addColumn<QList<int>>("removedBefore");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<bool>>("removed");   // rows 1 to 3 afterwards
    QTest::addColumn<int>("currentAfter");

    QTest::newRow("first row") << QList<int>{} << 1 << QList<bool>{true, false, false} << 2;
    QTest::newRow("middle row") << QList<int>{} << 2 << QList<bool>{false, true, false} << 3;
    QTest::newRow("last row") << QList<int>{} << 3 << QList<bool>{false, false, true} << 2;
    QTest::newRow("next row already removed")
        << QList<int>{3} << 2 << QList<bool>{false, true, true} << 1;
    QTest::newRow("only row left") << QList<int>{1, 3} << 2 << QList<bool>{true, true, true} << 2;
}

void TstGridEditor::removeButton()
{
    QFETCH(QList<int>, removedBefore);
    QFETCH(int, current);
    QFETCH(QList<bool>, removed);
    QFETCH(int, currentAfter);

    for (int row : removedBefore) {
        m_grid->setCurrentCell(row, 12);
        m_grid->removeCurrentRow();
    }
    m_grid->setCurrentCell(current, 12);
    QToolButton *remove = buttonNamed(*m_grid, QStringLiteral("Remove Row"));
    QVERIFY(remove);

    QTest::mouseClick(remove, Qt::LeftButton);

    QCOMPARE(m_grid->RowCount(), 3);
    for (int row = 1; row <= 3; ++row) {
        QCOMPARE(m_grid->IsRowRemoved(row), removed.at(row - 1));
        QCOMPARE(m_grid->view()->isRowHidden(row - 1), removed.at(row - 1));
    }
    QCOMPARE(m_grid->Row(), currentAfter);
    QCOMPARE(m_grid->Col(), 12);
}

void TstGridEditor::newLayoutShowsEveryRow()
{
    m_grid->setCurrentCell(1, 11);
    m_grid->removeCurrentRow();
    QVERIFY(m_grid->view()->isRowHidden(0));

    GridLayout::layOut(*m_grid);
    m_grid->AddRow();
    m_grid->AddRow();

    QCOMPARE(m_grid->RowCount(), 2);
    for (int row = 1; row <= 2; ++row) {
        QVERIFY(!m_grid->IsRowRemoved(row));
        QVERIFY(!m_grid->view()->isRowHidden(row - 1));
    }
    QCOMPARE(m_grid->view()->horizontalHeader()->count(), 101);
}

QTEST_MAIN(TstGridEditor)
#include "tst_grideditor.moc"
