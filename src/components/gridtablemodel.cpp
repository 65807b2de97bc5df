#include "gridtablemodel.h"

#include "field/fielddescriptor.h"

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

QString GridTableModel::cellAt(int row, int section) const
{
    const Column &column = m_columns[size_t(section)];
    if (!column.isList)
        return textAt(row, column.slot);
    const qint32 item = m_lists[listOffset(row, column.slot)];
    return item == kNoItem ? QString() : listIndexText(item);
}

void GridTableModel::put(int row, int section, const QString &stored)
{
    const Column &column = m_columns[size_t(section)];
    if (column.isList)
        m_lists[listOffset(row, column.slot)] = stored.isEmpty() ? kNoItem : stored.toInt();
    else if (column.slot < rowWidth(row))
        m_cells[rowBegin(row) + column.slot] = stored;
    else if (!stored.isEmpty())
        textRef(row, column.slot) = stored;
}

QString &GridTableModel::textRef(int row, int slot)
{
    widen(row, slot + 1);
    return m_cells[rowBegin(row) + slot];
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
        m_rowEnd[r] += quint32(more);
}

bool GridTableModel::store(int row, int section, const QString &stored)
{
    const Column &column = m_columns[size_t(section)];
    if (column.isList) {
        const QString before = cellAt(row, section);
        if (before == stored)
            return false;
        if (GridEdits *edits = recorder())
            edits->m_steps.push_back({GridEdits::Step::Kind::Cell, row, section, 0, 0, before, stored, {}});
        put(row, section, stored);
        return true;
    }
    const QString &cell = textAt(row, column.slot);
    if (cell == stored)
        return false;
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({GridEdits::Step::Kind::Cell, row, section, 0, 0, cell, stored, {}});
    put(row, section, stored);
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
    m_lists.clear();
    m_listCount = 0;
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
        // A redefinition replaces the column's settings and keeps its cells,
        // and so its kind: a list stays a list.
        if (column.isList != at->isList) {
            column.isList = at->isList;
            column.items = at->items;
        }
        column.slot = at->slot;
        *at = column;
    } else {
        const auto inserted = m_columns.insert(at, column);
        // Slots in order: the new column takes its place among the text or
        // the list columns, and every row gets an empty cell there.
        int texts = 0;
        int lists = 0;
        for (Column &c : m_columns)
            c.slot = c.isList ? lists++ : texts++;
        const int slot = inserted->slot;
        if (column.isList) {
            std::vector<qint32> widened;
            widened.reserve(size_t(RowCount()) * size_t(lists));
            for (int row = 1; row <= RowCount(); ++row) {
                const auto begin = m_lists.begin() + listOffset(row, 0);
                widened.insert(widened.end(), begin, begin + slot);
                widened.push_back(kNoItem);
                widened.insert(widened.end(), begin + slot, begin + m_listCount);
            }
            m_lists = std::move(widened);
            m_listCount = lists;
        } else {
            for (int row = 1; row <= RowCount(); ++row) {
                const qsizetype width = rowWidth(row);
                if (width <= slot)
                    continue;
                widen(row, width + 1);
                const auto begin = m_cells.begin() + rowBegin(row);
                std::rotate(begin + slot, begin + width, begin + width + 1);
            }
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
    if (!column.isList)
        return textAt(row, column.slot);
    const qint32 item = m_lists[listOffset(row, column.slot)];
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
    // The text columns of the run have slots one after the other too.
    widen(row, m_columns[size_t(first)].slot + filled);
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
    const qint32 item = m_lists[listOffset(row, m_columns[size_t(s)].slot)];
    return item == kNoItem ? -1 : item;
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
    insertDataRows(RowCount() + 1, 1);
}

void GridTableModel::insertDataRows(int row, int count, const QList<QString> &cells)
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
    // Each row keeps its text cells up to its last filled one, and a
    // number for each list cell.
    const qsizetype at = rowBegin(row);
    QList<QString> kept;
    std::vector<quint32> ends;
    ends.reserve(size_t(count));
    std::vector<qint32> items(size_t(count) * size_t(m_listCount), kNoItem);
    for (int r = 0; r < count; ++r) {
        qsizetype rowStart = kept.size();
        for (qsizetype s = 0; s < width && !cells.isEmpty(); ++s) {
            const QString &cell = cells.at(r * width + s);
            const Column &column = m_columns[size_t(s)];
            if (column.isList)
                items[size_t(r) * size_t(m_listCount) + size_t(column.slot)] = cell.isEmpty() ? kNoItem : cell.toInt();
            else
                kept.append(cell);
        }
        while (kept.size() > rowStart && kept.constLast().isEmpty())
            kept.removeLast();
        ends.push_back(quint32(at + kept.size()));
    }
    m_lists.insert(m_lists.begin() + listOffset(row, 0), items.begin(), items.end());
    m_cells.insert(at, kept.size(), QString());
    std::move(kept.begin(), kept.end(), m_cells.begin() + at);
    for (size_t r = size_t(row - 1); r < m_rowEnd.size(); ++r)
        m_rowEnd[r] += quint32(kept.size());
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
    m_lists.erase(m_lists.begin() + listOffset(row, 0), m_lists.begin() + listOffset(row + count, 0));
    m_rowEnd.erase(m_rowEnd.begin() + (row - 1), m_rowEnd.begin() + (row - 1 + count));
    for (size_t r = size_t(row - 1); r < m_rowEnd.size(); ++r)
        m_rowEnd[r] -= quint32(taken);
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
    QList<QString> cells;
    cells.reserve(qsizetype(m_columns.size()));
    for (int s = 0; s < int(m_columns.size()); ++s)
        cells.append(cellAt(row, s));
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
    // The cell that falls off one end comes back empty at the other.
    const QString dropped = rotate(row, first, last, on, QString());
    if (GridEdits *edits = recorder())
        edits->m_steps.push_back({on ? GridEdits::Step::Kind::ShiftOn : GridEdits::Step::Kind::ShiftBack, row, first,
                                  last, 0, dropped, {}, {}});
    changed({GridChange::Kind::Cells, row, col, lastCol});
}

QString GridTableModel::rotate(int row, int first, int last, bool on, const QString &freed)
{
    QList<QString> cells;
    cells.reserve(last - first + 1);
    for (int s = first; s <= last; ++s)
        cells.append(cellAt(row, s));
    QString dropped;
    if (on) {
        std::rotate(cells.begin(), cells.end() - 1, cells.end());
        dropped = std::exchange(cells.first(), freed);
    } else {
        std::rotate(cells.begin(), cells.begin() + 1, cells.end());
        dropped = std::exchange(cells.last(), freed);
    }
    for (int s = first; s <= last; ++s)
        put(row, s, cells.at(s - first));
    return dropped;
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
        put(step.row, step.section, forwards ? step.after : step.before);
        cellsChanged(step.section, step.section);
        break;
    case Kind::ShiftOn:
    case Kind::ShiftBack: {
        // Shifting on drops the last cell, back the first; taking either back
        // shifts the other way and returns the dropped cell to its place.
        rotate(step.row, step.section, step.lastSection, (step.kind == Kind::ShiftOn) == forwards,
               forwards ? QString() : step.before);
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
    std::swap(m_lists, other.m_lists);
    std::swap(m_listCount, other.m_listCount);
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

void GridTableModel::setReadable(bool on)
{
    if (on == m_readable)
        return;
    m_readable = on;
    if (RowCount() > 0 && !m_columns.empty())
        Q_EMIT dataChanged(index(0, 0), index(RowCount() - 1, columnCount() - 1),
                           {Qt::DisplayRole, Qt::AccessibleTextRole});
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
    case Qt::AccessibleTextRole:
        if (m_readable && !isListColumn(col))
            return readableText(CellText(row, col));
        return role == Qt::DisplayRole ? QVariant(CellText(row, col)) : QVariant();
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
