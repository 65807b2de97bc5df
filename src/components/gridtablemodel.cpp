#include "gridtablemodel.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The item index of a list cell as stored. Small indexes, what every loaded
// row's type is, share one string each instead of one per row.
QString listIndexText(int index)
{
    static const std::array<QString, 4> small{QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("1"),
                                              QStringLiteral("2")};
    return index >= -1 && index <= 2 ? small[size_t(index + 1)] : QString::number(index);
}

} // namespace

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
    case GridChange::Kind::RowRestored:
        // A row of a grid without columns has no cell to repaint.
        if (!m_columns.empty())
            Q_EMIT dataChanged(index(change.row - 1, 0), index(change.row - 1, columnCount() - 1));
        break;
    case GridChange::Kind::RowAdded:   // told by beginInsertRows and endInsertRows
    case GridChange::Kind::RowErased:  // told by beginRemoveRows and endRemoveRows
    case GridChange::Kind::Reset:      // told by the model reset
        break;
    }
    Q_EMIT patternChanged(change);
}

const QString GridTableModel::s_noCell;

QString &GridTableModel::cellRef(int row, int section)
{
    widen(row, section + 1);
    return m_cells[rowBegin(row) + section];
}

void GridTableModel::widen(int row, qsizetype width)
{
    const qsizetype more = width - rowWidth(row);
    if (more <= 0)
        return;
    // The last row, where a load adds its cells, grows at the end.
    if (row == RowCount())
        m_cells.resize(m_cells.size() + more);
    else
        m_cells.insert(m_rowEnd[size_t(row - 1)], more, QString());
    for (size_t r = size_t(row - 1); r < m_rowEnd.size(); ++r)
        m_rowEnd[r] += more;
}

bool GridTableModel::store(int row, int section, const QString &stored)
{
    const QString &cell = cellAt(row, section);
    if (cell == stored)
        return false;
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({GridEdits::Step::Kind::Cell, row, section, 0, 0, cell, stored, {}});
    if (section < rowWidth(row))
        m_cells[rowBegin(row) + section] = stored;
    else
        cellRef(row, section) = stored;
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
    m_rowEnd.clear();
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
        m_columns.insert(at, column);
        // Rows that keep cells past the new section get an empty one there.
        for (int row = 1; row <= RowCount(); ++row) {
            const qsizetype width = rowWidth(row);
            if (width <= section)
                continue;
            widen(row, width + 1);
            const auto begin = m_cells.begin() + rowBegin(row);
            std::rotate(begin + section, begin + width, begin + width + 1);
        }
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
    const QString &stored = cellAt(row, s);
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

void GridTableModel::SetCellTexts(int row, int col, std::span<const QString> texts)
{
    const int first = sectionOfColumn(col);
    const int count = int(texts.size());
    // Defined text columns one after the other are stored in one go; any
    // other run of columns as SetCellText stores each.
    bool run = count > 0 && first >= 0 && isDataRow(row) && sectionOfColumn(col + count - 1) == first + count - 1;
    for (int s = first; run && s < first + count; ++s)
        run = !m_columns[size_t(s)].isList;
    if (!run) {
        PatternGrid::SetCellTexts(row, col, texts);
        return;
    }
    int filled = count;
    while (filled > 0 && texts[size_t(filled - 1)].isEmpty())
        --filled;
    widen(row, first + filled);
    int changedFirst = -1;
    int changedLast = -1;
    for (int i = 0; i < count; ++i) {
        if (store(row, first + i, texts[size_t(i)])) {
            changedFirst = changedFirst < 0 ? first + i : changedFirst;
            changedLast = first + i;
        }
    }
    if (changedFirst >= 0)
        changed({GridChange::Kind::Cells, row, columnOfSection(changedFirst), columnOfSection(changedLast)});
}

int GridTableModel::CellListIndex(int row, int col) const
{
    const int s = sectionOfColumn(col);
    if (s < 0 || !isDataRow(row) || !m_columns[size_t(s)].isList)
        return -1;
    const QString &stored = cellAt(row, s);
    return stored.isEmpty() ? -1 : stored.toInt();
}

void GridTableModel::SetCellListIndex(int row, int col, double index)
{
    const int s = sectionOfColumn(col);
    if (s < 0 || !isDataRow(row) || !m_columns[size_t(s)].isList)
        return;
    if (!(index >= -2147483648.0 && index <= 2147483647.0))
        return;   // NaN and values no int can hold select nothing
    if (store(row, s, listIndexText(int(index))))
        changed({GridChange::Kind::Cells, row, col, col});
}

void GridTableModel::AddRow()
{
    insertRows(RowCount() + 1, 1);
}

void GridTableModel::insertRows(int row, int count, const QList<QString> &cells)
{
    if (row < 1 || row > RowCount() + 1 || count < 1
        || (!cells.isEmpty() && cells.size() != qsizetype(m_columns.size()) * count))
        return;
    putRows(row, count, cells);
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({GridEdits::Step::Kind::Insert, row, 0, 0, count, {}, {}, cells});
    if (m_col == 0 && !m_columns.empty())
        m_col = m_columns.front().index;
    m_row = row;
    changed({GridChange::Kind::RowAdded, row, 0, 0, count});
    if (m_resetDepth == 0)
        Q_EMIT currentCellChanged(m_row, m_col);
}

void GridTableModel::putRows(int row, int count, const QList<QString> &cells)
{
    const auto width = qsizetype(m_columns.size());
    const bool signal = m_resetDepth == 0;
    if (signal)
        beginInsertRows(QModelIndex(), row - 1, row + count - 2);
    // Each row keeps its cells up to its last filled one.
    const qsizetype at = rowBegin(row);
    QList<QString> kept;
    std::vector<qsizetype> ends;
    ends.reserve(size_t(count));
    for (int r = 0; r < count; ++r) {
        if (!cells.isEmpty()) {
            const auto first = cells.cbegin() + r * width;
            auto last = first + width;
            while (last != first && (last - 1)->isEmpty())
                --last;
            for (auto cell = first; cell != last; ++cell)
                kept.append(*cell);
        }
        ends.push_back(at + kept.size());
    }
    m_cells.insert(at, kept.size(), QString());
    std::move(kept.begin(), kept.end(), m_cells.begin() + at);
    for (size_t r = size_t(row - 1); r < m_rowEnd.size(); ++r)
        m_rowEnd[r] += kept.size();
    m_rowEnd.insert(m_rowEnd.begin() + (row - 1), ends.begin(), ends.end());
    m_removed.insert(m_removed.begin() + (row - 1), size_t(count), 0);
    if (signal)
        endInsertRows();
    if (m_row >= row)
        m_row += count;
}

void GridTableModel::takeRows(int row, int count)
{
    beginRemoveRows(QModelIndex(), row - 1, row + count - 2);
    const qsizetype begin = rowBegin(row);
    const qsizetype taken = m_rowEnd[size_t(row + count - 2)] - begin;
    m_cells.remove(begin, taken);
    m_rowEnd.erase(m_rowEnd.begin() + (row - 1), m_rowEnd.begin() + (row - 1 + count));
    for (size_t r = size_t(row - 1); r < m_rowEnd.size(); ++r)
        m_rowEnd[r] -= taken;
    m_removed.erase(m_removed.begin() + (row - 1), m_removed.begin() + (row - 1 + count));
    endRemoveRows();
    if (m_row >= row + count)
        m_row -= count;
    else if (m_row >= row)
        m_row = std::min(row, RowCount());
}

QList<QString> GridTableModel::rowCells(int row) const
{
    if (!isDataRow(row))
        return {};
    QList<QString> cells = m_cells.mid(rowBegin(row), std::min(rowWidth(row), qsizetype(m_columns.size())));
    cells.resize(qsizetype(m_columns.size()));
    return cells;
}

void GridTableModel::setRowCells(int row, int col, const QList<QString> &stored)
{
    const int first = sectionOfColumn(col);
    if (first < 0 || !isDataRow(row))
        return;
    int last = -1;
    const int end = std::min(int(m_columns.size()), first + int(stored.size()));
    for (int s = first; s < end; ++s) {
        if (store(row, s, stored.at(s - first)))
            last = s;
    }
    if (last >= 0)
        changed({GridChange::Kind::Cells, row, col, columnOfSection(last)});
}

bool GridTableModel::IsRowRemoved(int row) const
{
    return isDataRow(row) && m_removed[size_t(row - 1)] != 0;
}

void GridTableModel::removeRow(int row)
{
    if (!isDataRow(row) || m_removed[size_t(row - 1)])
        return;
    setRemoved(row, true);
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({GridEdits::Step::Kind::Remove, row, 0, 0, 0, {}, {}, {}});
    changed({GridChange::Kind::RowRemoved, row, 0, 0});
}

void GridTableModel::setRemoved(int row, bool removed)
{
    m_removed[size_t(row - 1)] = removed ? 1 : 0;
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
    widen(row, last + 1);
    const auto begin = m_cells.begin() + rowBegin(row) + first;
    const auto end = begin + (last - first) + 1;
    // The cell that falls off one end comes back empty at the other.
    QString dropped;
    if (on) {
        std::rotate(begin, end - 1, end);
        dropped = std::exchange(*begin, QString());
    } else {
        std::rotate(begin, begin + 1, end);
        dropped = std::exchange(*(end - 1), QString());
    }
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({on ? GridEdits::Step::Kind::ShiftOn : GridEdits::Step::Kind::ShiftBack, row, first,
                                  last, 0, std::move(dropped), {}, {}});
    changed({GridChange::Kind::Cells, row, col, lastCol});
}

void GridTableModel::replay(const GridEdits::Step &step, bool forwards, std::vector<GridChange> &told)
{
    using Kind = GridEdits::Step::Kind;
    const auto cellsChanged = [&](int firstSection, int lastSection) {
        const int first = columnOfSection(firstSection);
        const int last = columnOfSection(lastSection);
        // Neighbouring cells of one row are told of as one change.
        if (!told.empty() && told.back().kind == GridChange::Kind::Cells && told.back().row == step.row) {
            GridChange &change = told.back();
            change.firstColumn = std::min(change.firstColumn, first);
            change.lastColumn = std::max(change.lastColumn, last);
            return;
        }
        told.push_back({GridChange::Kind::Cells, step.row, first, last});
    };
    switch (step.kind) {
    case Kind::Cell:
        cellRef(step.row, step.section) = forwards ? step.after : step.before;
        cellsChanged(step.section, step.section);
        break;
    case Kind::ShiftOn:
    case Kind::ShiftBack: {
        widen(step.row, step.lastSection + 1);
        const auto begin = m_cells.begin() + rowBegin(step.row) + step.section;
        const auto end = begin + (step.lastSection - step.section) + 1;
        // Shifting on drops the last cell, back the first; taking either back
        // shifts the other way and returns the dropped cell to its place.
        const bool on = (step.kind == Kind::ShiftOn) == forwards;
        if (on)
            std::rotate(begin, end - 1, end);
        else
            std::rotate(begin, begin + 1, end);
        QString &freed = on ? *begin : *(end - 1);
        freed = forwards ? QString() : step.before;
        cellsChanged(step.section, step.lastSection);
        break;
    }
    case Kind::Insert:
        if (forwards) {
            putRows(step.row, step.count, step.cells);
        } else {
            takeRows(step.row, step.count);
        }
        told.push_back({forwards ? GridChange::Kind::RowAdded : GridChange::Kind::RowErased,
                        step.row, 0, 0, step.count});
        break;
    case Kind::Remove:
        setRemoved(step.row, forwards);
        told.push_back({forwards ? GridChange::Kind::RowRemoved : GridChange::Kind::RowRestored,
                        step.row, 0, 0});
        break;
    }
}

void GridTableModel::replayAll(const GridEdits &edits, bool forwards)
{
    GridEdits *const recording = std::exchange(m_recording, nullptr);
    std::vector<GridChange> told;
    const auto tell = [&] {
        for (const GridChange &change : told)
            changed(change);
        told.clear();
    };
    const auto replayStep = [&](const GridEdits::Step &step) {
        // Rows come and go in order with the cells around them.
        if (step.kind == GridEdits::Step::Kind::Insert)
            tell();
        replay(step, forwards, told);
        if (step.kind == GridEdits::Step::Kind::Insert)
            tell();
    };
    if (forwards) {
        for (const GridEdits::Step &step : edits.m_steps)
            replayStep(step);
    } else {
        for (auto it = edits.m_steps.rbegin(); it != edits.m_steps.rend(); ++it)
            replayStep(*it);
    }
    tell();
    m_recording = recording;
}

void GridTableModel::undo(const GridEdits &edits)
{
    replayAll(edits, false);
}

void GridTableModel::redo(const GridEdits &edits)
{
    replayAll(edits, true);
}

void GridTableModel::takeContent(GridTableModel &other)
{
    beginReset();
    std::swap(m_columns, other.m_columns);
    std::swap(m_sectionOf, other.m_sectionOf);
    m_cells.swap(other.m_cells);
    std::swap(m_rowEnd, other.m_rowEnd);
    std::swap(m_removed, other.m_removed);
    std::swap(m_row, other.m_row);
    std::swap(m_col, other.m_col);
    std::swap(m_editMode, other.m_editMode);
    endReset();
    Q_EMIT currentCellChanged(m_row, m_col);
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
