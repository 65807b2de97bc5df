#pragma once

#include "patterngrid.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <limits>
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

// The grid's content: defined columns, data rows, the removed flags and the
// current cell. Model row r is grid row r + 1; model column j is the j-th
// defined column in index order. List cells keep their item index, as a
// number; every other cell its text. A row keeps its text cells only up to
// the last one it was given, all rows' cells one after the other in one list,
// so a row of one cell costs one cell, not one per column: a file of a million
// short lines stays small.
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
    // One change for the cells that changed.
    void SetCellTexts(int row, int col, std::span<const QString> texts) override;
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
    void insertDataRows(int row, int count, const QList<QString> &cells = {});
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

    // Takes the layout, the rows and the current cell of `other` in one
    // reset, and leaves it this model's former content: a pattern is loaded
    // into a model of its own and taken over only once it is complete.
    void takeContent(GridTableModel &other);

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
        int slot = 0;   // among the text columns, or among the list columns
    };

    // No item of a list cell: one never set.
    static constexpr qint32 kNoItem = std::numeric_limits<qint32>::min();
    // Where a data row's text cells begin in m_cells, and how many it keeps.
    qsizetype rowBegin(int row) const { return row > 1 ? m_rowEnd[size_t(row - 2)] : 0; }
    qsizetype rowWidth(int row) const { return m_rowEnd[size_t(row - 1)] - rowBegin(row); }
    // Text cell `slot` of a data row; "" past the cells the row keeps.
    const QString &textAt(int row, int slot) const
    {
        const qsizetype begin = rowBegin(row);
        return slot < m_rowEnd[size_t(row - 1)] - begin ? m_cells.at(begin + slot) : s_noCell;
    }
    // The same for writing: the row first grows to hold it.
    QString &textRef(int row, int slot);
    // Grows a data row to keep `width` text cells.
    void widen(int row, qsizetype width);
    qsizetype listOffset(int row, int slot) const { return qsizetype(row - 1) * m_listCount + slot; }
    // Any cell of a data row as stored (a list cell's item as a number, ""
    // for none), and storing one, quietly.
    QString cellAt(int row, int section) const;
    void put(int row, int section, const QString &stored);
    // Cells first..last of a row move one on (or back); the cell freed takes
    // `freed`; the one that fell off is returned.
    QString rotate(int row, int first, int last, bool on, const QString &freed);
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

    static const QString s_noCell;
    std::vector<Column> m_columns;   // sorted by index
    std::vector<int> m_sectionOf;    // grid column -> model column, -1 when undefined
    QList<QString> m_cells;          // the rows' kept text cells, row after row
    // One per data row: where its cells end in m_cells. Four bytes a row, as
    // no pattern holds four billion cells (they would take 96 GB).
    std::vector<quint32> m_rowEnd;
    std::vector<qint32> m_lists;     // RowCount() * m_listCount list items, kNoItem for none
    qsizetype m_listCount = 0;
    std::vector<char> m_removed;     // one per data row
    int m_row = 0;
    int m_col = 0;
    bool m_editMode = false;
    bool m_readable = false;
    int m_resetDepth = 0;
    bool m_layoutOpen = false;
    GridEdits *m_recording = nullptr;
};
