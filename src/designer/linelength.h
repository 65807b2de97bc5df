#pragma once

#include <QString>

class PatternGrid;

// The lengths the status bar shows for the line under the cursor.
struct LineLengths
{
    int total = 0;    // every filled field cell of the current row
    int column = 0;   // the filled field cells up to and including the current column

    friend bool operator==(const LineLengths &, const LineLengths &) = default;
};

namespace LineLength {

// The output length of one cell: its third ":"-separated component read as a
// 16-bit number; nothing when the cell has no such component or it is no number.
int cellLength(const QString &cellText);

// The lengths of the current row; none when it was removed.
LineLengths measure(const PatternGrid &grid);

// "Total Length = 35 Colume Length = 15", numbers in the locale's grouping;
// a total of 0 or below shows as 0.
QString statusText(const LineLengths &lengths);

} // namespace LineLength
