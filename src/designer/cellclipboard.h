#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class GridTableModel;

// Cells of the pattern grid as clipboard text: a tab between the cells of a
// row, a line break after each row, the Type column as its word (LINE, GROUP
// or LOOP). A range pasted into a spreadsheet or a text editor shows the
// descriptors, and a range typed there pastes back.
namespace CellClipboard {

// A paste takes at most this many lines: patterns hold tens of lines, and a
// clipboard with more is something else.
inline constexpr qsizetype kMaxLines = 10000;

// The text of grid columns firstCol..lastCol of each of `rows`.
QString copy(const GridTableModel &grid, const QList<int> &rows, int firstCol, int lastCol);

// Clipboard text checked for the cells it would fill from grid column
// `firstCol` on: `rows` holds each line's cells as the grid stores them;
// `error` names the first cell that cannot be pasted and why, and then
// `rows` is empty. A field cell takes a well-formed descriptor as it is
// (descriptorForm); a constant gets its count made right; any other text
// becomes a constant of that text, as the field dialog's constant box
// would take it, or, when the box would refuse it, refuses the paste.
struct Paste
{
    QList<QStringList> rows;
    QString error;
    int madeConstants = 0;     // cells whose text became a constant
    int countsMadeRight = 0;   // constants whose count was missing or wrong

    // What the paste made of the cells, to tell the user; "" when it took
    // every cell as it was.
    QString notice() const;
};

Paste parse(const GridTableModel &grid, QStringView text, int firstCol);

} // namespace CellClipboard
