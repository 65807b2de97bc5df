#include "gridtablemodel.h"

#include <algorithm>

GridTableModel::GridTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void GridTableModel::beginReset()
{
    if (m_resetDepth++ == 0)
        beginResetModel();
}

void GridTableModel::endReset()
{
    if (m_resetDepth > 0 && --m_resetDepth == 0) {
        endResetModel();
        Q_EMIT patternChanged(GridChange{});
    }
}

void GridTableModel::changed(const GridChange &change)
{
    if (m_resetDepth > 0)
        return;   // the reset that is open tells of it
    switch (change.kind) {
    case GridChange::Kind::Cells: {
        const int first = sectionOfColumn(change.firstColumn);
        const int last = sectionOfColumn(change.lastColumn);
        if (first >= 0 && last >= 0)
            Q_EMIT dataChanged(index(change.row - 1, first), index(change.row - 1, last));
        break;
    }
    case GridChange::Kind::RowRemoved:
        // A row of a grid without columns has no cell to repaint.
        if (!m_columns.empty())
            Q_EMIT dataChanged(index(change.row - 1, 0), index(change.row - 1, columnCount() - 1));
        break;
    case GridChange::Kind::RowAdded:   // told by beginInsertRows and endInsertRows
    case GridChange::Kind::Reset:      // told by the model reset
        break;
    }
    Q_EMIT patternChanged(change);
}

bool GridTableModel::store(int row, int section, const QString &stored)
{
    QString &cell = m_cells[cellOffset(row, section)];
    if (cell == stored)
        return false;
    cell = stored;
    return true;
}

void GridTableModel::BeginUpdate()
{
    beginReset();
}

void GridTableModel::EndUpdate()
{
    endReset();
    Q_EMIT currentCellChanged(m_row, m_col);
}

void GridTableModel::ResetGrid()
{
    // The reset stays open until CompleteLayout, so a view sees the new layout
    // once, whole.
    if (!m_layoutOpen) {
        m_layoutOpen = true;
        beginReset();
    }
    m_columns.clear();
    m_sectionOf.clear();
    m_cells.clear();
    m_removed.clear();
    m_row = 0;
    m_col = 0;
}

void GridTableModel::DefineColumn(qint16 index, const QString &key, const QString &editorType,
                                  qint16, const QString &caption, qint16, const QString &, double,
                                  const QString &, double, qint16, qint16, qint16, qint16, qint16,
                                  qint16 width, qint16, qint16, const QString &listItems)
{
    if (index < 1)
        return;
    beginReset();
    Column column;
    column.index = index;
    column.key = key;
    column.caption = caption;
    column.isList = editorType.compare(QLatin1String("LABELLIST"), Qt::CaseInsensitive) == 0;
    if (column.isList)
        column.items = listItems.split(u',');
    column.width = width;

    const auto at = std::lower_bound(m_columns.begin(), m_columns.end(), int(index),
                                     [](const Column &c, int i) { return c.index < i; });
    if (at != m_columns.end() && at->index == index) {
        *at = column;   // a redefinition replaces the column's settings, keeps its cells
    } else {
        const auto section = at - m_columns.begin();
        const auto oldCount = qsizetype(m_columns.size());
        m_columns.insert(at, column);
        // Widen every row by one empty cell at the new section.
        QList<QString> cells;
        cells.reserve(m_cells.size() + RowCount());
        for (int r = 0; r < RowCount(); ++r) {
            const qsizetype base = qsizetype(r) * oldCount;
            for (qsizetype s = 0; s < oldCount; ++s) {
                if (s == section)
                    cells.append(QString());
                cells.append(m_cells.at(base + s));
            }
            if (section == oldCount)
                cells.append(QString());
        }
        m_cells = std::move(cells);
        m_sectionOf.assign(size_t(m_columns.back().index) + 1, -1);
        for (size_t s = 0; s < m_columns.size(); ++s)
            m_sectionOf[size_t(m_columns[s].index)] = int(s);
    }
    endReset();
}

void GridTableModel::CompleteLayout(const QString &, const QString &, const QString &,
                                    const QString &, const QString &)
{
    if (m_col == 0 && !m_columns.empty())
        m_col = m_columns.front().index;
    if (m_layoutOpen) {
        m_layoutOpen = false;
        endReset();
    }
}

int GridTableModel::sectionOfColumn(int col) const
{
    if (col < 0 || size_t(col) >= m_sectionOf.size())
        return -1;
    return m_sectionOf[size_t(col)];
}

int GridTableModel::columnOfSection(int section) const
{
    if (section < 0 || size_t(section) >= m_columns.size())
        return 0;
    return m_columns[size_t(section)].index;
}

bool GridTableModel::isListColumn(int col) const
{
    const int s = sectionOfColumn(col);
    return s >= 0 && m_columns[size_t(s)].isList;
}

QStringList GridTableModel::listItems(int col) const
{
    const int s = sectionOfColumn(col);
    return s >= 0 ? m_columns[size_t(s)].items : QStringList();
}

int GridTableModel::columnWidth(int col) const
{
    const int s = sectionOfColumn(col);
    return s >= 0 ? m_columns[size_t(s)].width : 0;
}

QString GridTableModel::CellText(int row, int col) const
{
    const int s = sectionOfColumn(col);
    if (s < 0)
        return {};
    const Column &column = m_columns[size_t(s)];
    if (row == 0)
        return column.caption;
    if (!isDataRow(row))
        return {};
    const QString &stored = m_cells.at(cellOffset(row, s));
    if (!column.isList)
        return stored;
    const int item = stored.isEmpty() ? -1 : stored.toInt();
    return item >= 0 && item < column.items.size() ? column.items.at(item) : QString();
}

void GridTableModel::SetCellText(int row, int col, const QString &text)
{
    const int s = sectionOfColumn(col);
    if (s < 0 || !isDataRow(row) || m_columns[size_t(s)].isList)
        return;
    if (store(row, s, text))
        changed({GridChange::Kind::Cells, row, col, col});
}

int GridTableModel::CellListIndex(int row, int col) const
{
    const int s = sectionOfColumn(col);
    if (s < 0 || !isDataRow(row) || !m_columns[size_t(s)].isList)
        return -1;
    const QString &stored = m_cells.at(cellOffset(row, s));
    return stored.isEmpty() ? -1 : stored.toInt();
}

void GridTableModel::SetCellListIndex(int row, int col, double index)
{
    const int s = sectionOfColumn(col);
    if (s < 0 || !isDataRow(row) || !m_columns[size_t(s)].isList)
        return;
    if (!(index >= -2147483648.0 && index <= 2147483647.0))
        return;   // NaN and values no int can hold select nothing
    if (store(row, s, QString::number(int(index))))
        changed({GridChange::Kind::Cells, row, col, col});
}

void GridTableModel::AddRow()
{
    const int row = RowCount() + 1;
    const bool signal = m_resetDepth == 0;
    if (signal)
        beginInsertRows(QModelIndex(), row - 1, row - 1);
    m_cells.resize(m_cells.size() + qsizetype(m_columns.size()));
    m_removed.push_back(0);
    if (signal)
        endInsertRows();
    if (m_col == 0 && !m_columns.empty())
        m_col = m_columns.front().index;
    m_row = row;
    changed({GridChange::Kind::RowAdded, row, 0, 0});
    if (signal)
        Q_EMIT currentCellChanged(m_row, m_col);
}

bool GridTableModel::IsRowRemoved(int row) const
{
    return isDataRow(row) && m_removed[size_t(row - 1)] != 0;
}

void GridTableModel::removeRow(int row)
{
    if (!isDataRow(row) || m_removed[size_t(row - 1)])
        return;
    m_removed[size_t(row - 1)] = 1;
    changed({GridChange::Kind::RowRemoved, row, 0, 0});
}

void GridTableModel::insertCell(int row, int col, int lastCol)
{
    shiftCells(row, col, lastCol, true);
}

void GridTableModel::removeCell(int row, int col, int lastCol)
{
    shiftCells(row, col, lastCol, false);
}

void GridTableModel::shiftCells(int row, int col, int lastCol, bool on)
{
    const int first = sectionOfColumn(col);
    const int last = sectionOfColumn(lastCol);
    if (first < 0 || last < first || !isDataRow(row))
        return;
    const auto begin = m_cells.begin() + cellOffset(row, first);
    const auto end = begin + (last - first) + 1;
    // The cell that falls off one end comes back empty at the other.
    if (on) {
        std::rotate(begin, end - 1, end);
        *begin = QString();
    } else {
        std::rotate(begin, begin + 1, end);
        *(end - 1) = QString();
    }
    changed({GridChange::Kind::Cells, row, col, lastCol});
}

void GridTableModel::setCurrentCell(int row, int col)
{
    if (row == m_row && col == m_col)
        return;
    m_row = row;
    m_col = col;
    Q_EMIT currentCellChanged(m_row, m_col);
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const int col = columnOfSection(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return CellText(row, col);
    case Qt::EditRole:
        return isListColumn(col) ? QVariant(CellListIndex(row, col)) : QVariant(CellText(row, col));
    default:
        return {};
    }
}

bool GridTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row() + 1;
    const int col = columnOfSection(index.column());
    if (isListColumn(col))
        SetCellListIndex(row, col, value.toDouble());
    else
        SetCellText(row, col, value.toString());
    return true;
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return CellText(0, columnOfSection(section));
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editMode && isListColumn(columnOfSection(index.column())))
        f |= Qt::ItemIsEditable;
    return f;
}
