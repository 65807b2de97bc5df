#pragma once

#include "patterngrid.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <vector>

// One change of the pattern the grid holds.
struct GridChange
{
    enum class Kind {
        Cells,        // cells firstColumn..lastColumn of row changed
        RowAdded,     // rows row..row+count-1 were inserted (appended or within)
        RowRemoved,   // row was removed from the pattern
        RowRestored,  // row, once removed, is part of the pattern again
        RowErased,    // rows row..row+count-1 were taken out; the rows after move up
        Reset,        // anything may have changed: a new layout, a bulk load
    };
    Kind kind = Kind::Reset;
    int row = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    int count = 1;

    friend bool operator==(const GridChange &, const GridChange &) = default;
};

// What changes of the content did, step by step, as a GridTableModel records
// them: enough to take them back and to make them again. Each step keeps only
// what it needs: a cell its stored text before and after, a shift the cell it
// dropped, an insertion its rows' cells.
class GridEdits
{
public:
    bool isEmpty() const { return m_steps.empty(); }
    void clear() { m_steps.clear(); }

private:
    friend class GridTableModel;
    struct Step
    {
        enum class Kind { Cell, ShiftOn, ShiftBack, Insert, Remove };
        Kind kind = Kind::Cell;
        int row = 0;
        int section = 0;       // Cell, Shift: the first model column
        int lastSection = 0;   // Shift
        int count = 0;         // Insert: rows
        QString before;        // Cell; Shift: the cell that was dropped
        QString after;         // Cell
        QList<QString> cells;  // Insert: the rows' cells, none when they were empty
    };
    std::vector<Step> m_steps;
};

// The grid's content: defined columns, data rows as one flat vector of cell
// texts, the removed flags and the current cell. Model row r is grid row r + 1;
// model column j is the j-th defined column in index order. List cells keep
// their item index; every other cell its text.
//
// Every change of the content goes through one door, which tells views
// (dataChanged and the row signals) and emits patternChanged once per
// change; a bulk load between BeginUpdate and EndUpdate is one Reset.
class GridTableModel final : public QAbstractTableModel, public PatternGrid
{
    Q_OBJECT

public:
    explicit GridTableModel(QObject *parent = nullptr);

    // PatternGrid
    void ResetGrid() override;
    void setEditMode(bool on) override { m_editMode = on; }
    void DefineColumn(qint16 index, const QString &key, const QString &editorType, qint16,
                      const QString &caption, qint16, const QString &, double, const QString &,
                      double, qint16, qint16, qint16, qint16, qint16, qint16 width, qint16,
                      qint16, const QString &listItems = QString()) override;
    void CompleteLayout(const QString &, const QString &, const QString &, const QString &,
                        const QString &) override;
    int Row() const override { return m_row; }
    int Col() const override { return m_col; }
    QString CellText(int row, int col) const override;
    void SetCellText(int row, int col, const QString &text) override;
    int CellListIndex(int row, int col) const override;
    void SetCellListIndex(int row, int col, double index) override;
    void AddRow() override;
    int RowCount() const override { return int(m_removed.size()); }
    bool IsRowRemoved(int row) const override;
    void BeginUpdate() override;
    void EndUpdate() override;

    bool editMode() const { return m_editMode; }
    // Whether views show text cells readably (readableText): the display
    // and what screen readers read change, the stored text does not.
    void setReadable(bool on);
    bool isReadable() const { return m_readable; }
    // Moves the current cell; emits currentCellChanged when it moved.
    void setCurrentCell(int row, int col);
    // Whether the current cell lies on a line of the pattern: a data row
    // that is not removed.
    bool hasCurrentLine() const { return isDataRow(m_row) && !IsRowRemoved(m_row); }
    // Marks a data row as removed (the grid's remove button).
    void removeRow(int row);
    // Cell `col` of `row` and the cells after it up to `lastCol` move one
    // column on: `col` becomes empty and what `lastCol` held is dropped.
    void insertCell(int row, int col, int lastCol);
    // The cells after `col` up to `lastCol` move one column back over it;
    // `lastCol` becomes empty.
    void removeCell(int row, int col, int lastCol);

    // Inserts `count` rows before `row` (RowCount() + 1 appends); their cells
    // are `cells`, row after row, or empty when `cells` is. The cursor moves to
    // the first of them.
    void insertRows(int row, int count, const QList<QString> &cells = {});
    // Every cell of a data row as stored (list cells as their item index).
    QList<QString> rowCells(int row) const;
    // Stores cells of `row` from grid column `col` on, as rowCells gives them;
    // cells past the last column are dropped. One change.
    void setRowCells(int row, int col, const QList<QString> &stored);

    // While recording, every change of the content is added to `edits`
    // (nullptr stops). Undo, redo, layouts and bulk loads are not recorded.
    void record(GridEdits *edits) { m_recording = edits; }
    void undo(const GridEdits &edits);
    void redo(const GridEdits &edits);

    // Between grid columns and model columns.
    int columnOfSection(int section) const;
    int sectionOfColumn(int col) const;
    bool isListColumn(int col) const;
    QStringList listItems(int col) const;
    int columnWidth(int col) const;

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    void currentCellChanged(int row, int col);
    void patternChanged(const GridChange &change);

private:
    struct Column
    {
        int index = 0;
        QString key;
        QString caption;
        bool isList = false;
        QStringList items;
        int width = 0;
    };

    qsizetype cellOffset(int row, int section) const
    {
        return qsizetype(row - 1) * qsizetype(m_columns.size()) + section;
    }
    bool isDataRow(int row) const { return row >= 1 && row <= RowCount(); }
    void beginReset();
    void endReset();
    // The one door: tells the views and the listeners what changed.
    void changed(const GridChange &change);
    // Cells col..lastCol of row move one column on (or back).
    void shiftCells(int row, int col, int lastCol, bool on);
    // Stores a cell's new content; false when it was the same already.
    bool store(int row, int section, const QString &stored);
    // Where changes are recorded: nowhere during a bulk load.
    GridEdits *recorder() const { return m_resetDepth == 0 ? m_recording : nullptr; }
    // Rows in and out, told to the views only.
    void putRows(int row, int count, const QList<QString> &cells);
    void takeRows(int row, int count);
    void setRemoved(int row, bool removed);
    // Replays one recorded step forwards or backwards, quietly: the caller
    // tells of it.
    void replay(const GridEdits::Step &step, bool forwards, std::vector<GridChange> &told);
    void replayAll(const GridEdits &edits, bool forwards);

    std::vector<Column> m_columns;   // sorted by index
    std::vector<int> m_sectionOf;    // grid column -> model column, -1 when undefined
    QList<QString> m_cells;          // RowCount() * m_columns.size()
    std::vector<char> m_removed;     // one per data row
    int m_row = 0;
    int m_col = 0;
    bool m_editMode = false;
    bool m_readable = false;
    int m_resetDepth = 0;
    bool m_layoutOpen = false;
    GridEdits *m_recording = nullptr;
};
