#include "recordshape.h"

#include "designer/patternrows.h"
#include "designer/patternfile.h"

#include <QHash>
#include <QStringTokenizer>

namespace RecordShape {

using PatternPreview::Span;

qsizetype Row::fixedCount() const
{
    qsizetype count = 0;
    for (const Line &line : lines)
        count += line.fixed.size();
    return count;
}

Row shapeOf(const PatternLayout::RowLayout &layout)
{
    Row shape{layout.row, layout.type, {Line()}};
    for (const PatternLayout::CellLayout &cell : layout.cells) {
        if (!cell.writes())
            continue;
        // The cell's text from its first position on, a line of the row at
        // each break; a break at its end starts a line, empty unless a
        // later cell writes on it.
        int line = cell.line;
        int start = cell.start;
        for (const QStringView part : QStringTokenizer(cell.sample, u'\n')) {
            while (shape.lines.size() < line)
                shape.lines.append(Line());
            Line &on = shape.lines[line - 1];
            if (!part.isEmpty()) {
                on.pieces.append({cell.column, cell.kind, cell.field, start, start + int(part.size()) - 1});
                if (cell.kind == Span::Kind::Constant) {
                    for (qsizetype i = 0; i < part.size(); ++i)
                        on.fixed.append({start - 1 + int(i), part.at(i)});
                }
                on.length = start + int(part.size()) - 1;
            }
            ++line;
            start = 1;
        }
    }
    return shape;
}

QList<Row> shapesOf(const PatternGrid &grid, const PatternPreview::Samples &samples)
{
    // A long pattern repeats the same few rows (its details), so each
    // distinct row, by its type and its line in the file, is laid out once.
    QList<Row> shapes;
    QHash<QString, qsizetype> laidOut;
    for (const int row : PatternRows::writtenRows(grid)) {
        const QString key = PatternRows::word(grid, row) + u'\n' + PatternFile::rowLine(grid, row);
        const auto known = laidOut.constFind(key);
        if (known == laidOut.cend()) {
            laidOut.insert(key, shapes.size());
            shapes.append(shapeOf(PatternLayout::layOutRow(grid, row, samples)));
        } else {
            shapes.append(shapes.at(*known));
            shapes.last().row = row;
        }
    }
    return shapes;
}

} // namespace RecordShape
