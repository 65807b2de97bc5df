#include "linelength.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"

namespace LineLength {

int cellLength(const QString &cellText)
{
    return TextTools::ToInteger(cellText.section(u':', 2, 2), true).value_or(0);
}

LineLengths measure(const PatternGrid &grid)
{
    LineLengths lengths;
    const int row = grid.Row();
    const int col = grid.Col();
    for (int c = GridLayout::kFirstFieldColumn; c <= GridLayout::kLastFieldColumn; ++c) {
        const QString text = grid.CellText(row, c);
        if (text.isEmpty())
            continue;
        const int length = cellLength(text);
        if (c <= col)
            lengths.column += length;
        lengths.total += length;
    }
    return lengths;
}

QString statusText(const LineLengths &lengths)
{
    return QStringLiteral("Total Length = ") + TextTools::FormatNumber(qMax(0, lengths.total))
        + QStringLiteral(" Colume Length = ") + TextTools::FormatNumber(lengths.column);
}

} // namespace LineLength
