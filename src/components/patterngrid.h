#pragma once

#include <QString>

#include <span>

// The grid operations the designer relies on. Rows are numbered from 0 (row 0
// holds the column captions, rows 1..RowCount() the data); columns from 1, and
// only defined columns exist. The designer window works on GridEditor through
// this interface, and so do the pattern reader and writer, which keeps them
// free of widgets.
class PatternGrid
{
public:
    virtual ~PatternGrid();

    // No columns and no rows remain.
    virtual void ResetGrid() = 0;
    virtual void setEditMode(bool on) = 0;
    // Defines column `index`. The fixed values are accepted and kept for the
    // other programs of the family; `width` is in twips; `listItems` is the
    // comma-separated item list of a "LABELLIST" column.
    virtual void DefineColumn(qint16 index, const QString &key, const QString &editorType,
                              qint16 fixed1, const QString &caption, qint16 fixed2,
                              const QString &text1, double number1, const QString &text2,
                              double number2, qint16 fixed3, qint16 fixed4, qint16 fixed5,
                              qint16 fixed6, qint16 fixed7, qint16 width, qint16 fixed8,
                              qint16 fixed9, const QString &listItems = QString()) = 0;
    virtual void CompleteLayout(const QString &, const QString &, const QString &,
                                const QString &, const QString &) = 0;

    // The current cell; Row() is 0 while the grid has no data row.
    virtual int Row() const = 0;
    virtual int Col() const = 0;
    // "" for an empty cell, a missing row or an undefined column; the caption
    // for row 0.
    virtual QString CellText(int row, int col) const = 0;
    // Sets a data cell; a missing row or an undefined column takes nothing.
    virtual void SetCellText(int row, int col, const QString &text) = 0;
    virtual int CellListIndex(int row, int col) const = 0;
    virtual void SetCellListIndex(int row, int col, double index) = 0;
    // Appends an empty row and makes it the current row.
    virtual void AddRow() = 0;
    virtual int RowCount() const = 0;
    // A row the user removed: still counted, no longer part of the pattern.
    virtual bool IsRowRemoved(int row) const = 0;

    // Sets cells `col`, `col` + 1, ... of a data row to `texts`, as
    // SetCellText would one after the other; a bulk load fills a row so.
    virtual void SetCellTexts(int row, int col, std::span<const QString> texts)
    {
        for (size_t i = 0; i < texts.size(); ++i)
            SetCellText(row, col + int(i), texts[i]);
    }

    // Brackets a bulk load: what happens in between is shown once at the end.
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
};
