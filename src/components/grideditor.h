#pragma once

#include <QWidget>

class GridTableModel;
class QTableView;
class QToolButton;
class QModelIndex;

// The grid editing control: a table of list and text cells over
// GridTableModel, with add-row and remove-row buttons.
//
// List cells edit through a combo box. Text cells are not typed into: F2 and
// a double-click raise KeyDown with F2's key code, Delete empties the cell.
// Every key reaches KeyDown first, as a Windows virtual-key code (F2 is 113).
// CellChange is raised whenever the current cell changes.
class GridEditor final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kKeyF2 = 113;

    explicit GridEditor(QWidget *parent = nullptr);

    // The pattern: every operation on the grid's content and current cell.
    GridTableModel *model() const { return m_model; }

Q_SIGNALS:
    void KeyDown(int keyCode, int shift);
    void CellChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The Windows virtual-key code of a Qt key; 0 when it has none.
    static int virtualKeyOf(int qtKey);
    void applyColumnLayout();
    void syncViewToModel();
    void onViewCurrentChanged(const QModelIndex &current);
    // Removes the current row as the remove button does.
    void removeCurrentRow();

    GridTableModel *m_model;
    QTableView *m_view;
    QToolButton *m_addButton;
    QToolButton *m_removeButton;
    bool m_syncing = false;
};
