#include "patternrows.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"

namespace PatternRows {

Type typeOf(int listIndex)
{
    return listIndex == 0 ? Type::Line : listIndex == 1 ? Type::Group : Type::Loop;
}

QString word(Type type)
{
    switch (type) {
    case Type::Line: return QStringLiteral("LINE");
    case Type::Group: return QStringLiteral("GROUP");
    case Type::Loop: break;
    }
    return QStringLiteral("LOOP");
}

QString tag(Type type)
{
    switch (type) {
    case Type::Line: return QStringLiteral("[H]");
    case Type::Group: return QStringLiteral("[G]");
    case Type::Loop: break;
    }
    return QStringLiteral("[D]");
}

Type typeOfLine(QStringView line)
{
    const QString found = TextTools::trimSpaces(line.left(3)).toString().toUpper();
    return found == tag(Type::Line) ? Type::Line : found == tag(Type::Group) ? Type::Group : Type::Loop;
}

QString listItems()
{
    return word(Type::Line) + u',' + word(Type::Group) + u',' + word(Type::Loop);
}

Type typeOf(const PatternGrid &grid, int row)
{
    return typeOf(grid.CellListIndex(row, GridLayout::kTypeColumn));
}

QString word(const PatternGrid &grid, int row)
{
    return word(typeOf(grid, row));
}

bool isWritten(const PatternGrid &grid, int row)
{
    if (grid.IsRowRemoved(row))
        return false;
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        if (!grid.CellText(row, c).isEmpty())
            return true;
    }
    return false;
}

QList<int> writtenRows(const PatternGrid &grid)
{
    QList<int> rows;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (isWritten(grid, row))
            rows.append(row);
    }
    return rows;
}

} // namespace PatternRows
