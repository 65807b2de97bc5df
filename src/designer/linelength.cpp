#include "linelength.h"

#include "components/patterngrid.h"
#include "components/texttools.h"
#include "designer/gridlayout.h"
#include "field/fielddescriptor.h"

namespace LineLength {

int cellLength(const QString &cellText)
{
    // Read in place: the display adds up to 100 of these on every move of
    // the cursor, so no piece of the text is copied.
    const QStringView length = DescriptorView(cellText).length;
    return TextTools::ToInteger(QString::fromRawData(length.data(), length.size()), true).value_or(0);
}

LineLengths measure(const PatternGrid &grid)
{
    LineLengths lengths;
    const int row = grid.Row();
    const int col = grid.Col();
    if (grid.IsRowRemoved(row))
        return lengths;   // the cursor is on no line of the pattern
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
