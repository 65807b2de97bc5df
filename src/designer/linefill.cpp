#include "linefill.h"

#include "components/patterngrid.h"
#include "designer/gridlayout.h"
#include "designer/patternpreview.h"
#include "field/fielddescriptor.h"

namespace LineFill {

QString fillerDescriptor(QChar character, int length)
{
    FieldSettings filler;
    filler.kind = FieldSettings::Kind::Constant;
    filler.constantText = QString(length, character);
    return formatDescriptor(filler);
}

Fill toRecordLength(const PatternGrid &grid, int row, int recordLength)
{
    Fill fill;
    if (row < 1 || row > grid.RowCount() || grid.IsRowRemoved(row))
        return fill;
    if (recordLength < 1 || recordLength > kMaxLength) {
        fill.status = Fill::Status::NoRecordLength;
        return fill;
    }
    int column = GridLayout::kFirstFieldColumn;
    while (column <= GridLayout::kLastFieldColumn && !grid.CellText(row, column).isEmpty())
        ++column;
    // Lengths only: no sample changes what a cell writes.
    const PatternPreview::RenderedRow rendered = PatternPreview::renderRow(grid, row, PatternPreview::Samples());
    // Where the empty cell writes, and the output line around that place.
    qsizetype at = rendered.text.size();
    for (const PatternPreview::Span &span : rendered.spans) {
        if (span.column > column) {
            at = span.begin;
            break;
        }
    }
    const qsizetype start = at == 0 ? 0 : rendered.text.lastIndexOf(u'\n', at - 1) + 1;
    const qsizetype end = rendered.text.indexOf(u'\n', at);
    fill.lineLength = int((end < 0 ? rendered.text.size() : end) - start);
    if (fill.lineLength == recordLength)
        fill.status = Fill::Status::AtLength;
    else if (fill.lineLength > recordLength)
        fill.status = Fill::Status::Longer;
    else if (column > GridLayout::kLastFieldColumn)
        fill.status = Fill::Status::NoEmptyCell;
    else
        fill = {Fill::Status::Fills, column, recordLength - fill.lineLength, fill.lineLength};
    return fill;
}

} // namespace LineFill
