#pragma once

#include "designer/patternpreview.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class PatternGrid;
class QIODevice;

// Where each filled cell of a pattern lands in the lines the exporting
// program writes, laid out from the mode's samples: the records of
// `zn7pat layout` and of the designer's layout sheet. Needs no widget.
//
// Positions count from 1 on the output line as the file has it, the way the
// preview's ruler counts: a constant's {NL} ends a line and the next one
// starts again at 1. A cell therefore names the line of its row on which its
// first written character stands and the one on which its last stands
// (both 1 unless a break comes first), and the positions there. The length
// is what the line length counts: the characters a cell writes, breaks left
// out. A cell that writes nothing (a field of length 0, a cell that is
// neither field nor constant) has no line and no positions.
namespace PatternLayout {

struct CellLayout
{
    int row = 0;
    QString type;        // LINE, GROUP or LOOP
    int column = 0;      // the grid column
    QString cell;        // the grid's caption of its column: Field1 to Field100
    PatternPreview::Span::Kind kind = PatternPreview::Span::Kind::Other;   // written as field, constant or other
    QString field;       // a data field's identifier, without braces
    QString name;        // the field's (Thai) name in the design database
    int line = 0;        // first written character: line of the row, position
    int start = 0;
    int endLine = 0;     // last written character: line of the row, position
    int end = 0;
    qsizetype length = 0;
    QString alignment;   // a field's: left, center or right
    QString fill;        // a field's fill, prefix and suffix: one character or ""
    QString prefix;
    QString suffix;
    int multiLine = -1;  // a field's flag: 0 off, 1 on, 2 greyed; -1 for other cells
    QString sample;      // what the cell writes, "\n" at each break
    qsizetype rowLength = 0;

    bool writes() const { return start > 0; }
};

struct RowLayout
{
    int row = 0;
    QString type;
    qsizetype length = 0;   // the characters the row writes, breaks left out
    QList<CellLayout> cells;
};

// The layout of one row.
RowLayout layOutRow(const PatternGrid &grid, int row, const PatternPreview::Samples &samples);

// The layout of each row a pattern file holds, in order.
QList<RowLayout> rowLayouts(const PatternGrid &grid, const PatternPreview::Samples &samples);

// The records' keys in column order: the CSV header, the JSON keys, the
// text table's heading.
QStringList keys();

enum class Format { Text, Csv, Json };
std::optional<Format> formatNamed(QStringView name);

// Writes the layout of every written row: an aligned table in UTF-8 (a
// break shown as ↵, "-" for a value a cell has not), CSV after RFC 4180
// (header row, CRLF, quotes where needed, UTF-8) or a JSON array of one
// object per cell (null for a value a cell has not). Rows are laid out and
// written one at a time; the table, whose widths depend on every row, lays
// them out twice. False, with `error` set, when the device refuses a write.
bool write(QIODevice &device, Format format, const PatternGrid &grid, const PatternPreview::Samples &samples,
           QString *error = nullptr);

// What the layout sheet says above its tables.
struct SheetHeading
{
    QString fileName;
    QString mode;
    QString modeName;
    QDate date;
};

// The layout sheet as HTML: the heading, then per written row a title with
// its number, type and total length and a table of its cells with the
// columns of the records (row, type and row length are in the title).
QString sheetHtml(const SheetHeading &heading, const PatternGrid &grid, const PatternPreview::Samples &samples);

} // namespace PatternLayout
