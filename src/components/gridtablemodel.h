#pragma once

#include "patterngrid.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <vector>

// The grid's content: defined columns, data rows as one flat vector of cell
// texts, the removed flags and the current cell. Model row r is grid row r + 1;
// model column j is the j-th defined column in index order. List cells keep
// their item index; every other cell its text.
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
    // Moves the current cell; emits currentCellChanged when it moved.
    void setCurrentCell(int row, int col);
    // Marks a data row as removed (the grid's remove button).
    void removeRow(int row);

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
    void cellChanged(int row, int section);

    std::vector<Column> m_columns;   // sorted by index
    std::vector<int> m_sectionOf;    // grid column -> model column, -1 when undefined
    QList<QString> m_cells;          // RowCount() * m_columns.size()
    std::vector<char> m_removed;     // one per data row
    int m_row = 0;
    int m_col = 0;
    bool m_editMode = false;
    int m_resetDepth = 0;
    bool m_layoutOpen = false;
};
