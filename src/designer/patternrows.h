#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

class PatternGrid;

// The rows of a pattern: their types, and which rows a pattern file holds.
// A row's type is the list index of the grid's Type column: 0 LINE, 1
// GROUP, 2 LOOP; a pattern file tags it "[H]", "[G]" or "[D]", and any other
// index is written, and so read back, as LOOP. A row is written when it is
// not removed and a field cell of it is filled. The writer, the layout
// records and sheet, the checks, the recovery copy and both preview tabs
// take their rows from here.
namespace PatternRows {

enum class Type { Line = 0, Group = 1, Loop = 2 };

// The type of a Type column list index: 0 and 1 as they are, anything else LOOP.
Type typeOf(int listIndex);
// LINE, GROUP or LOOP.
QString word(Type type);
// "[H]", "[G]" or "[D]".
QString tag(Type type);
// The type of a pattern file line's tag: its first three characters,
// trimmed of spaces and compared in upper case; "[H]" LINE, "[G]" GROUP,
// anything else (an empty line too) LOOP.
Type typeOfLine(QStringView line);
// The Type column's list items, in index order: "LINE,GROUP,LOOP".
QString listItems();

// The type of a grid row, and its word.
Type typeOf(const PatternGrid &grid, int row);
QString word(const PatternGrid &grid, int row);

// Whether the file holds the row: not removed, a field cell filled.
bool isWritten(const PatternGrid &grid, int row);
// The rows the file holds, in order.
QList<int> writtenRows(const PatternGrid &grid);

} // namespace PatternRows
