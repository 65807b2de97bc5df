#pragma once

#include "designer/patternlayout.h"

#include <QList>
#include <QString>

class PatternGrid;

// Where the cells of a pattern row land on the lines of an export file, and
// which characters there its constants fix: what a real export file is held
// against. A row writes one line, or more where a constant's {NL} breaks
// it. Positions count from 1 on each line, the way the preview's ruler and
// the layout records count.
namespace RecordShape {

// What one cell writes on one line: a field its fixed length, a constant
// its characters up to a break (a constant broken by {NL} gives one piece
// per line it writes on).
struct Piece
{
    int column = 0;   // grid column of the cell
    PatternPreview::Span::Kind kind = PatternPreview::Span::Kind::Other;
    QString field;    // a data field's identifier, without braces
    int start = 0;    // first and last position on the line
    int end = 0;

    int length() const { return end - start + 1; }
};

// One output line of a row: its length, its pieces in order and the
// characters its constants fix, position (from 0) and character.
struct Line
{
    int length = 0;
    QList<Piece> pieces;
    QList<std::pair<int, QChar>> fixed;
};

struct Row
{
    int row = 0;       // grid row
    QString type;      // LINE, GROUP or LOOP
    QList<Line> lines;

    // The characters the row's constants fix, on all its lines.
    qsizetype fixedCount() const;
};

// The shape of a row from its layout records.
Row shapeOf(const PatternLayout::RowLayout &layout);

// The shapes of the rows a pattern file holds, in order. The samples
// decide nothing of the positions: a field always takes its fixed length.
QList<Row> shapesOf(const PatternGrid &grid, const PatternPreview::Samples &samples);

} // namespace RecordShape
