#pragma once

#include "components/gridtablemodel.h"

#include <QMimeData>
#include <QWidget>

#include <functional>

class QUndoStack;
class QTableView;
class QToolButton;
class QDropEvent;
class QModelIndex;

// The grid editing control: a table of list and text cells over
// GridTableModel, with add-row and remove-row buttons.
//
// List cells edit through a combo box. Text cells are not typed into: F2 and
// a double-click raise KeyDown with F2's key code, Delete empties the cell.
// Every key reaches KeyDown first, as a Windows virtual-key code (F2 is 113).
// CellChange is raised whenever the current cell changes. Tab moves from
// cell to cell; Ctrl+Tab and Ctrl+Shift+Tab leave the grid for the next or
// the previous control.
//
// Every change of the content made here, and every one made through
// perform(), is a step of the history: undone, it puts the cells and the
// cursor back as they were before it. A new layout or a bulk load starts an
// empty history.
class GridEditor final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kKeyF2 = 113;

    // Records the changes into `history`, which outlives the control.
    explicit GridEditor(QUndoStack *history, QWidget *parent = nullptr);

    // The pattern: every operation on the grid's content and current cell.
    GridTableModel *model() const { return m_model; }
    QUndoStack *history() const { return m_history; }

    // Makes what `change` does to the model one step of the history, named
    // `name`; a change that changed nothing is no step.
    void perform(const QString &name, const std::function<void()> &change);

    // The selected cells: rows of the pattern (removed rows left out) and a
    // range of grid columns; the current cell when nothing is selected.
    struct Selection
    {
        QList<int> rows;
        int firstColumn = 0;
        int lastColumn = 0;
    };
    Selection selection() const;
    // Selects rows firstRow..lastRow of grid columns firstColumn..lastColumn,
    // the current cell at their top left.
    void select(int firstRow, int lastRow, int firstColumn, int lastColumn);
    // Empties the selected text cells, as Delete does: one step named `name`.
    void clearSelection(const QString &name);
    // Removes the current row as the remove button does, the cursor going
    // to the nearest line left; no step of its own (see perform()).
    void removeCurrentRow();
    // Drags that carry data of `mimeType` may be dropped onto text cells:
    // CellDrop tells of each drop. Nothing is dropped anywhere else.
    void setDropType(const QString &mimeType);

Q_SIGNALS:
    void KeyDown(int keyCode, int shift);
    void CellChange();
    void CellDrop(int row, int col, const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The Windows virtual-key code of a Qt key; 0 when it has none.
    static int virtualKeyOf(int qtKey);
    void applyColumnLayout();
    void syncViewToModel();
    void onViewCurrentChanged(const QModelIndex &current);
    // Whether a drag over `event`'s place may drop there; the cell it is over.
    bool acceptsDrop(const QDropEvent *event, int *row, int *col) const;
    // Keeps the view's hidden rows and the history in step with the content.
    void onPatternChanged(const GridChange &change);
    // Pushes what was recorded as one step of the history.
    void pushRecorded(const QString &name, int rowBefore, int colBefore);

    GridTableModel *m_model;
    QTableView *m_view;
    QToolButton *m_addButton;
    QToolButton *m_removeButton;
    QUndoStack *m_history;
    GridEdits m_recorded;
    QString m_dropType;
    bool m_syncing = false;
    bool m_performing = false;
};
